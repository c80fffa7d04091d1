#include "awaitresponse.h"
#include "caldavclient.h"
#include "caldavparse.h"
#include "conflictresolutionservice.h"
#include "radicaleserver.h"
#include "syncharness.h"
#include "timeutil.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString kUser = u"alice"_s;
const QString kPassword = u"horse battery"_s;
const QString kPeer = u"caldavseriespeer.py"_s;
const QString kMoved = u"20260309T090000Z"_s; // the occurrence every series starts with an override for

// A weekly series of six, with an alarm, a location and one moved occurrence.
QString seriesText(const QString &uid)
{
    return u"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Peer//EN\r\n"
           "BEGIN:VEVENT\r\nUID:%1\r\nDTSTAMP:20260301T090000Z\r\nDTSTART:20260302T090000Z\r\n"
           "DTEND:20260302T093000Z\r\nRRULE:FREQ=WEEKLY;COUNT=6\r\nSUMMARY:Standup\r\nLOCATION:Room 1\r\n"
           "BEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:Reminder\r\nTRIGGER:-PT15M\r\nEND:VALARM\r\n"
           "END:VEVENT\r\n"
           "BEGIN:VEVENT\r\nUID:%1\r\nDTSTAMP:20260301T090000Z\r\nRECURRENCE-ID:20260309T090000Z\r\n"
           "DTSTART:20260309T100000Z\r\nDTEND:20260309T103000Z\r\nSUMMARY:Moved standup\r\nEND:VEVENT\r\n"
           "END:VCALENDAR\r\n"_s.arg(uid);
}

// What one side holds of a series.
struct Series
{
    bool exists = false;
    QString summary;
    QString start;
    QString location;
    QStringList exdates;
    QList<int> alarms;
    QStringList overrides; // recurrence id = summary, sorted
    QString duplicate; // an object held twice

    QStringList overrideIds() const
    {
        QStringList ids;
        for (const QString &o : overrides)
            ids.append(o.section(u'=', 0, 0));
        return ids;
    }
    friend bool operator==(const Series &a, const Series &b)
    {
        return a.exists == b.exists && a.summary == b.summary && a.start == b.start && a.location == b.location
            && a.exdates == b.exdates && a.alarms == b.alarms && a.overrides == b.overrides
            && a.duplicate == b.duplicate;
    }
};

QString describe(const Series &s)
{
    QStringList alarms;
    for (int a : s.alarms)
        alarms.append(QString::number(a));
    return u"exists=%1 summary=%2 start=%3 location=%4 exdates=[%5] alarms=[%6] overrides=[%7] %8"_s.arg(s.exists).arg(
        s.summary, s.start, s.location, s.exdates.join(u','), alarms.join(u','), s.overrides.join(u','), s.duplicate);
}

char *toString(const Series &s)
{
    return qstrdup(describe(s).toUtf8().constData());
}

QStringList jsonList(const QString &json)
{
    QStringList out;
    for (const QJsonValue &v : QJsonDocument::fromJson(json.toUtf8()).array())
        out.append(v.toString());
    out.sort();
    return out;
}

} // namespace

// Two devices change one repeating event between two syncs: this program
// against Radicale, and Debian's python3-caldav as the other device. What
// each changed survives on both sides; where both changed one property the
// local value wins and a conflict is recorded.
class TestCalDavMerge : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        if (!RadicaleServer::isAvailable())
            QSKIP("Debian's python3-radicale is not installed");
        QVERIFY2(m_radicale.start(), qPrintable(m_radicale.errorString()));
        m_collection = m_radicale.url(u"/alice/merge/"_s);
        CalDavClient client;
        client.setCredentials(kUser, kPassword);
        QVERIFY(makeCalendar(client, m_collection, u"Merge"_s));
        QVERIFY(m_fixture.start());
        m_state = m_fixture.state();
        m_calendarId = addCalDavCalendar(m_state, m_collection, kUser).id;
    }

    void concurrentChanges_data()
    {
        QTest::addColumn<QString>("here");
        QTest::addColumn<QString>("there");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("location");
        QTest::addColumn<QList<int>>("alarms");
        QTest::addColumn<QStringList>("exdates");
        QTest::addColumn<QStringList>("overrides");
        QTest::addColumn<bool>("conflict");

        const QString standup = u"Standup"_s;
        const QString nine = u"20260302T090000Z"_s;
        const QString room = u"Room 1"_s;
        const QList<int> quarter{15};
        const QStringList none;
        const QStringList moved{kMoved};
        auto row = [](const char *name, const char *here, const char *there) -> QTestData & {
            return QTest::newRow(name) << QString::fromLatin1(here) << QString::fromLatin1(there) << true;
        };
        row("renamed here, occurrence cancelled there", "rename", "exdate")
            << u"Here"_s << nine << room << quarter << QStringList{u"20260323T090000Z"_s} << moved << false;
        row("occurrence cancelled here, renamed there", "exdate", "rename")
            << u"There"_s << nine << room << quarter << QStringList{u"20260316T090000Z"_s} << moved << false;
        row("renamed on both sides: the local name wins", "rename", "rename")
            << u"Here"_s << nine << room << quarter << none << moved << true;
        row("moved here, occurrence changed there", "start", "add")
            << standup << u"20260302T080000Z"_s << room << quarter << none << QStringList{kMoved, u"20260330T090000Z"_s}
            << false;
        row("moved on both sides: the local time wins", "start", "start")
            << standup << u"20260302T080000Z"_s << room << quarter << none << moved << true;
        row("cancelled on both sides", "exdate", "exdate")
            << standup << nine << room << quarter << QStringList{u"20260316T090000Z"_s, u"20260323T090000Z"_s} << moved
            << false;
        row("occurrence changed here, moved occurrence reverted there", "add", "revert")
            << standup << nine << room << quarter << none << QStringList{u"20260406T090000Z"_s} << false;
        row("moved occurrence deleted here, renamed there", "revert", "rename")
            << u"There"_s << nine << room << quarter << moved << none << false;
        row("moved occurrence deleted here, occurrence changed there", "revert", "add")
            << standup << nine << room << quarter << moved << QStringList{u"20260330T090000Z"_s} << false;
        row("reminder here, location there", "alarm", "location")
            << standup << nine << u"Room there"_s << QList<int>{30} << none << moved << false;
        row("location here, reminder there", "location", "alarm")
            << standup << nine << u"Room here"_s << QList<int>{45} << none << moved << false;
        row("reminder changed on both sides: the local one wins", "alarm", "alarm")
            << standup << nine << room << QList<int>{30} << none << moved << true;
        row("occurrence changed here, cancelled there", "add", "exdate")
            << standup << nine << room << quarter << QStringList{u"20260323T090000Z"_s}
            << QStringList{kMoved, u"20260406T090000Z"_s} << false;
        row("renamed here, moved occurrence reverted there", "rename", "revert")
            << u"Here"_s << nine << room << quarter << none << none << false;
        // The edit made here brings the series back, without what only the server held.
        row("renamed here, deleted there", "rename", "delete")
            << u"Here"_s << nine << room << quarter << none << none << false;
        QTest::newRow("deleted here, renamed there: the deletion stands")
            << u"delete"_s << u"rename"_s << false << QString() << QString() << QString() << QList<int>() << none
            << none << true;
    }
    void concurrentChanges()
    {
        QFETCH(QString, here);
        QFETCH(QString, there);
        const QString uid = u"series-%1@merge"_s.arg(++m_series);
        QVERIFY(!runPeer(m_collection, kUser, kPassword, {peerOp(u"save"_s, {{u"ics"_s, seriesText(uid)}})}, kPeer)
                     .isEmpty());
        QCOMPARE(sync(), QString());
        QCOMPARE(localSeries(uid), serverSeries(uid)); // the starting point, the same on both sides

        changeHere(uid, here, u"Here"_s, 0);
        changeThere(uid, there, u"There"_s, 0);
        QCOMPARE(sync(), QString());
        QCOMPARE(sync(), QString()); // settled: a second run changes nothing

        Series expected;
        QFETCH(bool, exists);
        expected.exists = exists;
        if (exists) {
            QFETCH(QString, summary);
            QFETCH(QString, start);
            QFETCH(QString, location);
            QFETCH(QList<int>, alarms);
            QFETCH(QStringList, exdates);
            expected.summary = summary;
            expected.start = start;
            expected.location = location;
            expected.alarms = alarms;
            expected.exdates = exdates;
        }
        const Series local = localSeries(uid);
        const Series server = serverSeries(uid);
        QCOMPARE(server, local);
        QFETCH(QStringList, overrides);
        QCOMPARE(local.overrideIds(), overrides);
        Series localProperties = local;
        localProperties.overrides.clear();
        QCOMPARE(localProperties, expected);
        QFETCH(bool, conflict);
        QCOMPARE(conflicted(uid), conflict);
        QCOMPARE(m_state->events()->getPending(m_calendarId), QList<Event>());
    }

    void concurrentTaskChanges_data()
    {
        QTest::addColumn<QString>("title"); // set here, when not empty
        QTest::addColumn<QString>("status"); // set here, when not empty
        QTest::addColumn<QDate>("dueHere"); // set here as the task form sets it, and pushed, the round before
        QTest::addColumn<QJsonObject>("there"); // properties set there
        QTest::addColumn<QString>("summary");
        QTest::addColumn<int>("priority");
        QTest::addColumn<QString>("finalStatus");
        QTest::addColumn<QDate>("due");

        const QDate due(2026, 3, 10);
        QTest::newRow("renamed here, priority set there") << u"Here"_s << QString() << QDate()
                                                          << QJsonObject{{u"PRIORITY"_s, 1}} << u"Here"_s << 1
                                                          << u"NEEDS-ACTION"_s << due;
        QTest::newRow("completed here, renamed there")
            << QString() << u"completed"_s << QDate() << QJsonObject{{u"SUMMARY"_s, u"There"_s}} << u"There"_s << 5
            << u"COMPLETED"_s << due;
        QTest::newRow("renamed on both sides: the local name wins")
            << u"Here"_s << QString() << QDate() << QJsonObject{{u"SUMMARY"_s, u"There"_s}, {u"PRIORITY"_s, 1}}
            << u"Here"_s << 1 << u"NEEDS-ACTION"_s << due;
        QTest::newRow("due moved here before, renamed here, due moved there: the date there comes in")
            << u"Here"_s << QString() << QDate(2026, 3, 12) << QJsonObject{{u"DUE"_s, u"20260315"_s}} << u"Here"_s
            << 5 << u"NEEDS-ACTION"_s << QDate(2026, 3, 15);
    }
    void concurrentTaskChanges()
    {
        QFETCH(QString, title);
        QFETCH(QString, status);
        QFETCH(QDate, dueHere);
        QFETCH(QJsonObject, there);
        const QString uid = u"todo-%1@merge"_s.arg(++m_series);
        const QString text = u"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Peer//EN\r\nBEGIN:VTODO\r\nUID:%1\r\n"
                             "DTSTAMP:20260301T090000Z\r\nSUMMARY:Report\r\nPRIORITY:5\r\nSTATUS:NEEDS-ACTION\r\n"
                             "DUE;VALUE=DATE:20260310\r\nEND:VTODO\r\nEND:VCALENDAR\r\n"_s.arg(uid);
        QVERIFY(!runPeer(m_collection, kUser, kPassword, {peerOp(u"save"_s, {{u"ics"_s, text}})}, kPeer).isEmpty());
        QCOMPARE(sync(), QString());

        std::optional<Task> task = m_state->tasks()->getByUid(uid, m_calendarId);
        QVERIFY(task);
        if (dueHere.isValid()) {
            task->due_date = TimeUtil::inZone(dueHere, QTime(0, 0), QTimeZone());
            task->sync_status = u"pending"_s;
            QVERIFY(m_state->tasks()->update(*task));
            QCOMPARE(sync(), QString());
            task = m_state->tasks()->getByUid(uid, m_calendarId);
        }
        if (!title.isEmpty())
            task->title = title;
        if (!status.isEmpty())
            task->status = status;
        task->sync_status = u"pending"_s;
        QVERIFY(m_state->tasks()->update(*task));
        runPeer(m_collection, kUser, kPassword, {peerOp(u"todo"_s, {{u"uid"_s, uid}, {u"set"_s, there}})}, kPeer);
        QCOMPARE(sync(), QString());

        QFETCH(QString, summary);
        QFETCH(int, priority);
        QFETCH(QString, finalStatus);
        QFETCH(QDate, due);
        const QJsonObject server =
            runPeer(m_collection, kUser, kPassword, {peerOp(u"get_todo"_s, {{u"uid"_s, uid}})}, kPeer).at(0).toObject();
        QCOMPARE(server[u"summary"_s].toString(), summary);
        QCOMPARE(server[u"priority"_s].toInt(), priority);
        QCOMPARE(server[u"status"_s].toString(), finalStatus);
        QCOMPARE(server[u"due"_s].toString(), due.toString(Qt::ISODate));
        const Task local = *m_state->tasks()->getByUid(uid, m_calendarId);
        QCOMPARE(local.title, summary);
        QCOMPARE(local.priority, priority);
        QCOMPARE(local.status.toUpper(), finalStatus);
        QCOMPARE(local.due_date->date(), due);
        QCOMPARE(local.sync_status, u"synced"_s);
    }

    // The other device changes the series after this side looked: the write
    // meets a 412, and the server's copy is merged in before it goes again.
    void staleWriteMergesTheServerCopy()
    {
        const QString uid = u"stale-write@merge"_s;
        QVERIFY(!runPeer(m_collection, kUser, kPassword, {peerOp(u"save"_s, {{u"ics"_s, seriesText(uid)}})}, kPeer)
                     .isEmpty());
        QCOMPARE(sync(), QString());
        changeHere(uid, u"rename"_s, u"Here"_s, 0);
        changeThere(uid, u"exdate"_s, u"There"_s, 0);
        takeServerMarkers(); // the run sees no change and goes straight to the push
        QCOMPARE(sync(), QString());

        const Series local = localSeries(uid);
        QCOMPARE(serverSeries(uid), local);
        QCOMPARE(local.summary, u"Here"_s);
        QCOMPARE(local.exdates, QStringList{u"20260323T090000Z"_s});
        QVERIFY(!conflicted(uid));
    }

    // Seeded rounds of changes on both sides; after each sync both hold the same.
    void randomRoundsEndEqual()
    {
        const QString uid = u"random-series@merge"_s;
        QVERIFY(!runPeer(m_collection, kUser, kPassword, {peerOp(u"save"_s, {{u"ics"_s, seriesText(uid)}})}, kPeer)
                     .isEmpty());
        QCOMPARE(sync(), QString());
        static const QStringList kinds{u"rename"_s, u"start"_s, u"exdate"_s,  u"add"_s,
                                       u"revert"_s, u"alarm"_s, u"location"_s};
        QRandomGenerator random(20261207);
        for (int round = 1; round <= 8; ++round) {
            // Two changes on each side.
            QStringList done;
            QJsonArray there;
            for (int change = 0; change < 2; ++change) {
                const QString kind = kinds.at(random.bounded(kinds.size()));
                changeHere(uid, kind, u"Here %1"_s.arg(round), int(random.bounded(6)));
                done.append(kind + u" here"_s);
            }
            for (int change = 0; change < 2; ++change) {
                const QString kind = kinds.at(random.bounded(kinds.size()));
                there.append(thereOp(uid, kind, u"There %1"_s.arg(round), int(random.bounded(6))));
                done.append(kind + u" there"_s);
            }
            QCOMPARE(runPeer(m_collection, kUser, kPassword, there, kPeer).size(), 2);
            QCOMPARE(sync(), QString());
            const Series local = localSeries(uid);
            const Series server = serverSeries(uid);
            const QByteArray state = u"round %1 (%2): here %3, there %4"_s.arg(round)
                                         .arg(done.join(u", "_s), describe(local), describe(server))
                                         .toUtf8();
            QVERIFY2(local.exists && local == server && local.duplicate.isEmpty(), state.constData());
        }
        QCOMPARE(m_state->events()->getPending(m_calendarId), QList<Event>());
    }

private:
    QString sync()
    {
        const SyncOutcome outcome = syncOnce(m_state, m_calendarId, kUser, kPassword);
        return outcome.completed ? QString() : outcome.failure + u" (did not complete)"_s;
    }

    // The collection's change markers as the server has them now.
    void takeServerMarkers()
    {
        CalDavClient client;
        client.setCredentials(kUser, kPassword);
        const CalDavClient::Response markers = awaitResponse([&](CalDavClient::Callback done) {
            client.propfind(m_collection, CalDavXml::ctagPropfindBody(), 0, done);
        });
        QVERIFY(markers.isSuccess());
        Calendar calendar = *m_state->calendars()->getById(m_calendarId);
        calendar.ctag = CalDavParse::parseCtag(markers.body).value_or(QString());
        calendar.sync_token = CalDavParse::parseSyncToken(markers.body).value_or(QString());
        QVERIFY(m_state->calendars()->update(calendar));
    }

    // The occurrence `week` weeks after the first, at the series' first time.
    static QString occurrence(int week)
    {
        return TimeUtil::toIcalUtc(TimeUtil::utc(QDate(2026, 3, 2).addDays(7 * week), QTime(9, 0)));
    }

    Event master(const QString &uid) const
    {
        const auto row = m_state->events()->getByUidAndRecurrenceId(uid, m_calendarId, QString());
        return row ? m_state->events()->getById(row->id).value_or(Event()) : Event();
    }

    QList<Event> overrides(const QString &uid) const
    {
        QList<Event> found;
        for (const Event &e : m_state->events()->getByCalendar(m_calendarId)) {
            if (!e.recurrence_id.isEmpty() && (e.uid == uid || e.master_event_uid == uid))
                found.append(e);
        }
        return found;
    }

    // The change as a user makes it here; `week` picks an occurrence.
    void changeHere(const QString &uid, const QString &kind, const QString &text, int week)
    {
        Event series = master(uid);
        QVERIFY(!series.id.isEmpty());
        series.sync_status = u"pending"_s;
        if (kind == "delete"_L1) {
            QVERIFY(m_state->events()->remove(series.id));
            return;
        }
        if (kind == "revert"_L1) {
            // Deleting the moved occurrence cancels it.
            const QList<Event> moved = overrides(uid);
            if (!moved.isEmpty())
                QVERIFY(m_state->events()->remove(moved.first().id));
            return;
        }
        if (kind == "add"_L1) {
            const QString rid = week == 0 ? u"20260406T090000Z"_s : occurrence(week);
            for (Event existing : overrides(uid)) {
                if (existing.recurrence_id == rid) {
                    existing.title = text + u" override"_s;
                    existing.sync_status = u"pending"_s;
                    QVERIFY(m_state->events()->update(existing));
                    return;
                }
            }
            const QDateTime start = TimeUtil::fromIcalUtc(rid).addSecs(1800);
            Event override = insertNewEvent(m_state, m_calendarId, newId(), text + u" override"_s, start,
                                            start.addSecs(1800));
            override.recurrence_id = rid;
            override.master_event_uid = uid;
            QVERIFY(m_state->events()->update(override));
            return;
        }
        if (kind == "rename"_L1) {
            series.title = text;
        } else if (kind == "location"_L1) {
            series.location = u"Room "_s + text.toLower();
        } else if (kind == "start"_L1) {
            const qint64 length = series.start_time.secsTo(series.end_time.value_or(series.start_time));
            series.start_time = TimeUtil::utc(QDate(2026, 3, 2), QTime(week == 0 ? 8 : 5 + week, 0));
            series.end_time = series.start_time.addSecs(length);
        } else if (kind == "exdate"_L1) {
            QStringList dates = jsonList(series.exception_dates);
            dates.append(week == 0 ? u"20260316T090000Z"_s : occurrence(week));
            series.exception_dates = QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(dates)).toJson());
        } else if (kind == "alarm"_L1) {
            Reminder reminder;
            reminder.minutes_before = 30 + week;
            series.reminders = {reminder};
        }
        QVERIFY(m_state->events()->update(series));
    }

    // The same kinds of change made by the other device.
    void changeThere(const QString &uid, const QString &kind, const QString &text, int week)
    {
        QCOMPARE(runPeer(m_collection, kUser, kPassword, {thereOp(uid, kind, text, week)}, kPeer).size(), 1);
    }

    static QJsonObject thereOp(const QString &uid, const QString &kind, const QString &text, int week)
    {
        QJsonObject edit{{u"uid"_s, uid}, {u"change"_s, kind}};
        if (kind == "rename"_L1)
            edit.insert(u"value"_s, text);
        else if (kind == "location"_L1)
            edit.insert(u"value"_s, u"Room "_s + text.toLower());
        else if (kind == "start"_L1)
            edit.insert(u"value"_s, week == 0 ? u"20260302T100000Z"_s : u"20260302T1%10000Z"_s.arg(week));
        else if (kind == "exdate"_L1)
            edit.insert(u"value"_s, week == 0 ? u"20260323T090000Z"_s : occurrence(week));
        else if (kind == "add"_L1)
            edit.insert(u"value"_s, week == 0 ? u"20260330T090000Z"_s : occurrence(week));
        else if (kind == "revert"_L1)
            edit.insert(u"value"_s, kMoved);
        else if (kind == "alarm"_L1)
            edit.insert(u"value"_s, 45 + week);
        return peerOp(u"edit"_s, edit);
    }

    Series localSeries(const QString &uid) const
    {
        Series series;
        const Event row = master(uid);
        if (row.id.isEmpty() || row.deleted_at)
            return series;
        series.exists = true;
        series.summary = row.title;
        series.start = TimeUtil::toIcalUtc(row.start_time);
        series.location = row.location;
        series.exdates = jsonList(row.exception_dates);
        for (const Reminder &reminder : row.reminders)
            series.alarms.append(reminder.minutes_before);
        std::sort(series.alarms.begin(), series.alarms.end());
        for (const Event &o : overrides(uid)) {
            const QString entry = o.recurrence_id + u'=' + o.title;
            if (series.overrides.contains(entry))
                series.duplicate = entry;
            series.overrides.append(entry);
        }
        series.overrides.sort();
        return series;
    }

    Series serverSeries(const QString &uid) const
    {
        Series series;
        const QJsonArray resources =
            runPeer(m_collection, kUser, kPassword, {peerOp(u"get"_s, {{u"uid"_s, uid}})}, kPeer).at(0).toArray();
        if (resources.size() > 1)
            series.duplicate = u"%1 resources"_s.arg(resources.size());
        if (resources.isEmpty())
            return series;
        for (const QJsonValue &value : resources.first().toArray()) {
            const QJsonObject component = value.toObject();
            const QString rid = component[u"recurrence_id"_s].toString();
            if (!rid.isEmpty()) {
                const QString entry = rid + u'=' + component[u"summary"_s].toString();
                if (series.overrides.contains(entry))
                    series.duplicate = entry;
                series.overrides.append(entry);
                continue;
            }
            series.exists = true;
            series.summary = component[u"summary"_s].toString();
            series.start = component[u"start"_s].toString();
            series.location = component[u"location"_s].toString();
            for (const QJsonValue &date : component[u"exdates"_s].toArray())
                series.exdates.append(date.toString());
            for (const QJsonValue &alarm : component[u"alarms"_s].toArray())
                series.alarms.append(alarm.toInt());
        }
        series.overrides.sort();
        return series;
    }

    bool conflicted(const QString &uid) const
    {
        const QList<SyncConflict> conflicts = m_state->conflicts()->conflicts();
        return std::any_of(conflicts.cbegin(), conflicts.cend(), [&uid](const SyncConflict &c) {
            return (c.local.uid == uid || c.local.master_event_uid == uid) && c.remote.id == c.local.id;
        });
    }

    RadicaleServer m_radicale;
    AppStateFixture m_fixture;
    AppState *m_state = nullptr;
    QUrl m_collection;
    QString m_calendarId;
    int m_series = 0;
};

QTEST_GUILESS_MAIN(TestCalDavMerge)
#include "tst_caldavmerge.moc"
