#include "timelinelayout.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// "A 09:00-12:00" gives event A on a fixed day; "A 09:00" has no end time.
Event occurrence(const QString &spec)
{
    const QStringList parts = spec.split(u' ');
    const QStringList times = parts.at(1).split(u'-');
    const QDate day(2026, 3, 29);
    Event e;
    e.id = parts.at(0);
    e.title = parts.at(0);
    e.start_time = QDateTime(day, QTime::fromString(times.at(0), u"HH:mm"_s));
    if (times.size() > 1)
        e.end_time = QDateTime(day, QTime::fromString(times.at(1), u"HH:mm"_s));
    return e;
}

} // namespace

class TestTimelineLayout : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void layout_data()
    {
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QStringList>("expected"); // "id column/columnCount" in result order

        QTest::newRow("touching events are separate clusters")
            << QStringList{u"B 10:00-11:00"_s, u"A 09:00-10:00"_s} << QStringList{u"A 0/1"_s, u"B 0/1"_s};
        QTest::newRow("earlier end first; a freed lane is reused")
            << QStringList{u"A 09:00-12:00"_s, u"B 09:00-10:00"_s, u"C 10:30-11:30"_s}
            << QStringList{u"B 0/2"_s, u"A 1/2"_s, u"C 0/2"_s};
        QTest::newRow("a chain links events that never meet into one cluster")
            << QStringList{u"A 09:00-10:00"_s, u"B 09:30-11:00"_s, u"C 10:30-12:00"_s}
            << QStringList{u"A 0/2"_s, u"B 1/2"_s, u"C 0/2"_s};
        QTest::newRow("the whole cluster shares the widest count")
            << QStringList{u"A 09:00-10:00"_s, u"B 09:00-10:00"_s, u"C 09:00-10:00"_s,
                           u"D 09:45-13:00"_s, u"E 12:00-12:30"_s, u"F 13:00-14:00"_s}
            << QStringList{u"A 0/4"_s, u"B 1/4"_s, u"C 2/4"_s, u"D 3/4"_s, u"E 0/4"_s, u"F 0/1"_s};
        QTest::newRow("equal start and end keep the input order")
            << QStringList{u"Z 09:00-10:00"_s, u"Y 09:00-10:00"_s, u"X 09:00-10:00"_s}
            << QStringList{u"Z 0/3"_s, u"Y 1/3"_s, u"X 2/3"_s};
        QStringList same, sameLanes;
        for (int i = 0; i < 40; ++i) {
            same.append(u"E%1 09:00-10:00"_s.arg(i));
            sameLanes.append(u"E%1 %1/40"_s.arg(i));
        }
        QTest::newRow("many equal events keep the input order") << same << sameLanes;
        QTest::newRow("no end: overlaps nothing starting at or after it")
            << QStringList{u"A 09:00"_s, u"B 09:00-10:00"_s} << QStringList{u"A 0/1"_s, u"B 0/1"_s};
        QTest::newRow("no end: still takes a lane inside a longer event")
            << QStringList{u"L 08:00-12:00"_s, u"P 09:00"_s, u"Q 09:30-10:00"_s}
            << QStringList{u"L 0/2"_s, u"P 1/2"_s, u"Q 1/2"_s};
    }

    void layout()
    {
        QFETCH(QStringList, events);
        QList<Event> input;
        for (const QString &spec : events)
            input.append(occurrence(spec));
        QStringList actual;
        const QList<TimelineItem> items = layoutTimedEvents(input);
        for (const TimelineItem &item : items)
            actual.append(u"%1 %2/%3"_s.arg(item.event.id).arg(item.column).arg(item.columnCount));
        QTEST(actual, "expected");
    }
};

QTEST_GUILESS_MAIN(TestTimelineLayout)
#include "tst_timelinelayout.moc"
