#include "caldavseriesmerge.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// One side of a series in short: "title=Standup; ex=A,B; o=RID:Title,RID:Title; gone=RID"
// (gone: an override deleted here, a tombstone). Ids are the side's name and
// the recurrence id, so that local rows keep theirs.
QList<Event> side(const QString &name, const QString &spec)
{
    Event master;
    master.id = name + u"-master"_s;
    master.uid = u"series"_s;
    master.start_time = QDateTime(QDate(2026, 3, 2), QTime(9, 0), Qt::UTC);
    master.recurrence_rule = u"FREQ=WEEKLY;COUNT=6"_s;
    QList<Event> rows;
    for (const QString &part : spec.split(u';', Qt::SkipEmptyParts)) {
        const QString key = part.section(u'=', 0, 0).trimmed();
        const QStringList values = part.section(u'=', 1).trimmed().split(u',', Qt::SkipEmptyParts);
        if (key == "title"_L1)
            master.title = values.value(0);
        else if (key == "ex"_L1)
            master.exception_dates = QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(values)).toJson());
        for (const QString &value : values) {
            if (key != "o"_L1 && key != "gone"_L1)
                continue;
            Event override = master;
            override.recurrence_id = value.section(u':', 0, 0);
            override.id = name + u'-' + override.recurrence_id;
            override.master_event_uid = master.uid;
            override.recurrence_rule.clear();
            override.exception_dates.clear();
            override.title = value.section(u':', 1);
            if (key == "gone"_L1)
                override.deleted_at = master.start_time;
            rows.append(override);
        }
    }
    rows.prepend(master);
    return rows;
}

// The series once the result is written and pushed, as `side` reads it: a
// deleted override leaves an exception date.
QString written(const QList<Event> &local, const CalDavSeriesMerge::Result &result)
{
    QList<Event> rows;
    QStringList dates;
    for (const Event &row : local) {
        if (row.deleted_at)
            dates.append(row.recurrence_id);
        if (row.deleted_at || result.removedIds.contains(row.id))
            continue;
        const auto changed = std::find_if(result.changed.cbegin(), result.changed.cend(),
                                          [&row](const Event &e) { return e.id == row.id; });
        rows.append(changed == result.changed.cend() ? row : *changed);
    }
    rows.append(result.added);
    QStringList overrides;
    QString text;
    for (const Event &row : std::as_const(rows)) {
        if (!row.recurrence_id.isEmpty()) {
            overrides.append(row.recurrence_id + u':' + row.title);
            continue;
        }
        for (const QJsonValue &date : QJsonDocument::fromJson(row.exception_dates.toUtf8()).array())
            dates.append(date.toString());
        dates.sort();
        dates.removeDuplicates();
        text = u"title=%1; ex=%2"_s.arg(row.title, dates.join(u','));
    }
    overrides.sort();
    return text + u"; o="_s + overrides.join(u',');
}

} // namespace

// The rules of merging a series the server changed while local changes
// waited, one object and one property at a time.
class TestCalDavSeriesMerge : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void merge_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("local");
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("merged");
        QTest::addColumn<int>("conflicts");

        const QString base = u"title=Standup; o=0309:Moved"_s;
        QTest::newRow("renamed here, cancelled there")
            << base << u"title=Here; o=0309:Moved"_s << u"title=Standup; ex=0316; o=0309:Moved"_s
            << u"title=Here; ex=0316; o=0309:Moved"_s << 0;
        QTest::newRow("occurrence restored there: the exception goes")
            << u"title=Standup; ex=0316,0323"_s << u"title=Here; ex=0316,0323"_s << u"title=Standup; ex=0316"_s
            << u"title=Here; ex=0316; o="_s << 0;
        QTest::newRow("override changed here, reverted there: the local one stays")
            << base << u"title=Standup; o=0309:Moved here"_s << u"title=Standup"_s
            << u"title=Standup; ex=; o=0309:Moved here"_s << 0;
        QTest::newRow("override untouched here, reverted there: it goes")
            << base << base << u"title=Standup"_s << u"title=Standup; ex=; o="_s << 0;
        QTest::newRow("override deleted here, changed there: the deletion stands")
            << base << u"title=Standup; gone=0309:Moved"_s << u"title=Standup; o=0309:Moved there"_s
            << u"title=Standup; ex=0309; o="_s << 1;
        QTest::newRow("override made on both sides alike: no conflict")
            << u"title=Standup"_s << u"title=Standup; o=0330:Party"_s << u"title=Standup; o=0330:Party"_s
            << u"title=Standup; ex=; o=0330:Party"_s << 0;
        QTest::newRow("override made on both sides differently: the local one stays")
            << u"title=Standup"_s << u"title=Standup; o=0330:Here"_s << u"title=Standup; o=0330:There"_s
            << u"title=Standup; ex=; o=0330:Here"_s << 1;
        QTest::newRow("override made there for an occurrence cancelled here: it stays away")
            << u"title=Standup"_s << u"title=Standup; ex=0330"_s << u"title=Standup; o=0330:There"_s
            << u"title=Standup; ex=0330; o="_s << 0;
        QTest::newRow("no text both agreed on: the local series stays, new overrides come")
            << QString() << u"title=Here; o=0309:Moved"_s << u"title=There; o=0309:Moved,0330:Party"_s
            << u"title=Here; ex=; o=0309:Moved,0330:Party"_s << 1;
    }
    void merge()
    {
        QFETCH(QString, base);
        QFETCH(QString, local);
        QFETCH(QString, server);
        const QList<Event> here = side(u"local"_s, local);
        const CalDavSeriesMerge::Result result = CalDavSeriesMerge::merge(base.isNull() ? QList<Event>()
                                                                                        : side(u"base"_s, base),
                                                                          here, side(u"server"_s, server));
        QTEST(written(here, result), "merged");
        QTEST(int(result.conflicts.size()), "conflicts");
        for (const auto &[mine, theirs] : result.conflicts)
            QCOMPARE(mine.recurrence_id, theirs.recurrence_id);
    }
};

QTEST_GUILESS_MAIN(TestCalDavSeriesMerge)
#include "tst_caldavseriesmerge.moc"
