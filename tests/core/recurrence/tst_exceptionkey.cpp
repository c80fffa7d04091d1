#include "exceptionkey.h"
#include "timeutil.h"

#include <QTest>

namespace {

const QDate kDay(2025, 6, 9);
const QTimeZone kBerlin("Europe/Berlin");

// A weekly series from a week before kDay, in one of the forms rows hold.
Event series(const QString &kind)
{
    Event e;
    e.uid = QStringLiteral("series");
    e.recurrence_rule = QStringLiteral("FREQ=WEEKLY");
    const QDate first = kDay.addDays(-7);
    if (kind == u"all-day") {
        e.is_all_day = true;
        e.start_time = TimeUtil::utc(first);
    } else if (kind == u"all-day at local midnight") { // as provider rows held them
        e.is_all_day = true;
        e.start_time = QDateTime(first, QTime(0, 0));
    } else if (kind == u"zoned") {
        e.timezone = QStringLiteral("Europe/Berlin");
        e.start_time = QDateTime(first, QTime(9, 0), kBerlin);
    } else { // held in UTC, its zone named
        e.timezone = QStringLiteral("Europe/Berlin");
        e.start_time = QDateTime(first, QTime(9, 0), kBerlin).toUTC();
    }
    e.end_time = e.start_time.addSecs(e.is_all_day ? 86400 : 3600);
    return e;
}

QDateTime occurrenceOn(const Event &s, QDate day)
{
    return TimeUtil::inZoneOf(day, s.start_time.toTimeZone(TimeUtil::representation(s.start_time)).time(),
                              s.start_time);
}

} // namespace

class TestExceptionKey : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keyNamesItsOccurrence_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QDate>("day"); // of the occurrence asked about
        QTest::addColumn<bool>("names");
        QTest::addColumn<QString>("normalized");

        const QString legacy = TimeUtil::toIcalUtc(QDateTime(kDay, QTime(0, 0)));
        // All-day series: dates on both sides, whatever the machine's zone.
        QTest::newRow("all-day, date key") << "all-day" << "20250609" << kDay << true << "20250609";
        QTest::newRow("all-day, UTC midnight key") << "all-day" << "20250609T000000Z" << kDay << true << "20250609";
        QTest::newRow("all-day, floating midnight key") << "all-day" << "20250609T000000" << kDay << true << "20250609";
        QTest::newRow("all-day, floating key late in the day")
            << "all-day" << "20250609T230000" << kDay << true << "20250609";
        QTest::newRow("all-day, key of the day before") << "all-day" << "20250608" << kDay << false << "20250608";
        QTest::newRow("all-day, UTC key at the machine's midnight (earlier versions)")
            << "all-day" << legacy << kDay << true << "20250609";
        QTest::newRow("all-day at local midnight, date key")
            << "all-day at local midnight" << "20250609" << kDay << true << "20250609";
        QTest::newRow("all-day at local midnight, UTC midnight key")
            << "all-day at local midnight" << "20250609T000000Z" << kDay << true << "20250609";
        QTest::newRow("all-day at local midnight, key at that midnight")
            << "all-day at local midnight" << legacy << kDay << true << "20250609";
        // Timed series: instants, a floating key in the series' zone, a date
        // on the series' calendar.
        QTest::newRow("timed, UTC key") << "zoned" << "20250609T070000Z" << kDay << true << "20250609T070000Z";
        QTest::newRow("timed, UTC key of another instant")
            << "zoned" << "20250609T090000Z" << kDay << false << "20250609T090000Z";
        QTest::newRow("timed, floating key in the series' zone")
            << "zoned" << "20250609T090000" << kDay << true << "20250609T070000Z";
        QTest::newRow("timed held in UTC, floating key in its named zone")
            << "utc with zone" << "20250609T090000" << kDay << true << "20250609T070000Z";
        QTest::newRow("timed, date key") << "zoned" << "20250609" << kDay << true << "20250609T070000Z";
        QTest::newRow("timed held in UTC, date key") << "utc with zone" << "20250609" << kDay << true
                                                     << "20250609T070000Z";
        QTest::newRow("timed, date key of another day") << "zoned" << "20250610" << kDay << false
                                                        << "20250610T070000Z";
        QTest::newRow("unreadable key") << "zoned" << "2025-06-09" << kDay << false << "2025-06-09";
    }

    void keyNamesItsOccurrence()
    {
        QFETCH(QString, kind);
        QFETCH(QString, key);
        QFETCH(QDate, day);
        QFETCH(bool, names);
        QFETCH(QString, normalized);
        const Event s = series(kind);
        const QDateTime start = occurrenceOn(s, day);
        QCOMPARE(ExceptionKey::names(s, key, start), names);
        QCOMPARE(ExceptionKey::normalized(s, key), normalized);
        if (names) {
            QCOMPARE(ExceptionKey::startOf(s, key), start);
            QCOMPARE(ExceptionKey::of(s, start), normalized);
        }
    }
};

QTEST_GUILESS_MAIN(TestExceptionKey)
#include "tst_exceptionkey.moc"
