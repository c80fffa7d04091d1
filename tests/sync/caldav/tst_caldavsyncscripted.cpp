#include "icalendar.h"
#include "scriptedcaldav.h"
#include "scriptedhttpserver.h"
#include "syncharness.h"
#include "timeutil.h"

#include <QTest>
#include <QTimer>

#include <algorithm>

using namespace Qt::StringLiterals;
using Headers = ScriptedHttpServer::Headers;

namespace {

QDateTime at(int day, int hour)
{
    return TimeUtil::utc(QDate(2026, 3, day), QTime(hour, 0));
}

// What a run that failed at `step` with the server's `status` reports, the
// server's words aside.
SyncResult failedAt(SyncResult::Step step, int status, const QString &subject = {})
{
    SyncResult result = SyncResult::failure(SyncResult::Kind::Answer, step);
    result.status = status;
    result.subject = subject;
    return result;
}

// One resource of `series` series "s0", "s1", …; the first one weekly with `extra`.
QString seriesResource(int series, const QString &extra = {})
{
    QString ics = vevent(u"s0"_s, u"Series 0"_s, u"RRULE:FREQ=WEEKLY\r\n"_s + extra);
    const QString end = u"END:VCALENDAR\r\n"_s;
    ics.chop(end.size());
    for (int i = 1; i < series; ++i) {
        ics += u"BEGIN:VEVENT\r\nUID:s%1\r\nDTSTAMP:20260301T090000Z\r\nDTSTART:20260303T100000Z\r\n"
               "SUMMARY:Series %1\r\nEND:VEVENT\r\n"_s.arg(i);
    }
    return ics + end;
}

// The run's failure without the server's words: a default result when it
// completed, and one that says so when the server saw requests it did not
// expect.
SyncResult reported(const SyncOutcome &outcome)
{
    if (outcome.failure.contains(u"the server saw"_s)) {
        SyncResult unexpected = SyncResult::failure(SyncResult::Kind::Unreadable);
        unexpected.serverText = outcome.failure; // no expected row carries it
        return unexpected;
    }
    SyncResult result = outcome.completed ? SyncResult() : outcome.result;
    result.serverText.clear();
    return result;
}

} // namespace

// What real servers will not do on demand, against a scripted peer: 412,
// 403 on the to-do query, 301, 207 to a write, a cut-off listing; and the
// shape of every request a run sends.
class TestCalDavSyncScripted : public ScriptedCalDavTest
{
    Q_OBJECT
private Q_SLOTS:
    void init() { QVERIFY(startCalendar()); }
    void cleanup() { stop(); }

    // The server's copy changed since the stored ETag: it is fetched, and the
    // local version written once more against its ETag. A second conflict
    // fails the run and keeps the edit waiting.
    void conflictOnUpdateFetchesTheServerCopy_data()
    {
        QTest::addColumn<int>("secondAnswer");
        QTest::addColumn<SyncResult>("failure"); // a default one: none
        QTest::addColumn<QString>("status");
        QTest::newRow("written over the server copy") << 204 << SyncResult() << u"synced"_s;
        QTest::newRow("a second conflict fails")
            << 412 << failedAt(SyncResult::Step::EventPush, 412, u"Local title"_s) << u"pending"_s;
    }

    void conflictOnUpdateFetchesTheServerCopy()
    {
        QFETCH(int, secondAnswer);
        QFETCH(SyncResult, failure);
        QFETCH(QString, status);
        const QString id = storeEvent(u"a"_s, u"Local title"_s, u"/cal/a.ics"_s, u"v1"_s, true);
        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c1"));
        m_server->expect("PUT", "/cal/a.ics").header("If-Match", "\"v1\"").reply(412);
        m_server->expect("REPORT", "/cal/")
            .bodyContains("calendar-multiget")
            .bodyContains("/cal/a.ics")
            .reply(207, objects({{"/cal/a.ics", "v2", vevent(u"a"_s, u"Server title"_s)}}));
        m_server->expect("PUT", "/cal/a.ics")
            .header("If-Match", "\"v2\"")
            .bodyContains("SUMMARY:Local title")
            .reply(secondAnswer, {}, {{"ETag", "\"v3\""}});
        QCOMPARE(reported(sync()), failure);
        const Event row = *m_state->events()->getById(id);
        QCOMPARE(row.title, u"Local title"_s);
        QCOMPARE(row.sync_status, status);
    }

    // A create whose earlier answer was lost: the resource is there already.
    void conflictOnCreateTakesOverTheServerResource()
    {
        const QString id = storeEvent(u"new"_s, u"Made here"_s, {}, {}, true);
        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c1"));
        m_server->expect("PUT", "/cal/new.ics").header("If-None-Match", "*").noHeader("If-Match").reply(412);
        m_server->expect("REPORT", "/cal/")
            .reply(207, objects({{"/cal/new.ics", "s1", vevent(u"new"_s, u"Made here"_s)}}));
        m_server->expect("PUT", "/cal/new.ics").header("If-Match", "\"s1\"").reply(201, {}, {{"etag", "\"s2\""}});
        QCOMPARE(sync().failure, QString());
        QCOMPARE(m_state->events()->getById(id)->etag, u"s2"_s);
        QCOMPARE(m_state->events()->getByCalendar(m_calendar.id).size(), 1);
    }

    void failuresOfOneRequest_data()
    {
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<int>("status");
        QTest::addColumn<SyncResult>("failure");
        QTest::newRow("301 on the ctag check is not followed")
            << QByteArray("PROPFIND") << 301 << failedAt(SyncResult::Step::Markers, 301);
        QTest::newRow("207 to a PUT is a failure inside")
            << QByteArray("PUT") << 207 << failedAt(SyncResult::Step::EventPush, 207, u"Made here"_s);
        QTest::newRow("500 on the listing")
            << QByteArray("REPORT") << 500 << failedAt(SyncResult::Step::EventListing, 500);
    }

    void failuresOfOneRequest()
    {
        QFETCH(QByteArray, method);
        QFETCH(int, status);
        QFETCH(SyncResult, failure);
        ScriptedHttpServer elsewhere;
        QVERIFY(elsewhere.start());
        const Headers location{{"Location", elsewhere.url(u"/cal/"_s).toEncoded()}};
        const QString id = storeEvent(u"new"_s, u"Made here"_s, {}, {}, true);
        m_server->expect("PROPFIND", "/cal/")
            .reply(method == "PROPFIND" ? status : 207, markers(method == "REPORT" ? "c2" : "c1"), location);
        if (method == "REPORT")
            m_server->expect("REPORT", "/cal/").reply(status);
        if (method == "PUT")
            m_server->expect("PUT", "/cal/new.ics").reply(status, "<d:multistatus xmlns:d=\"DAV:\"/>", location);
        QCOMPARE(reported(sync()), failure);
        QCOMPARE(elsewhere.requests().size(), 0);
        const Event row = *m_state->events()->getById(id);
        QCOMPARE(row.sync_status, u"pending"_s);
        QCOMPARE(row.href, QString());
    }

    // Only new and changed objects are fetched; unchanged rows are not touched.
    void listingFetchesOnlyWhatChanged()
    {
        storeEvent(u"same"_s, u"Same"_s, u"/cal/same.ics"_s, u"e1"_s, false);
        const QString changed = storeEvent(u"old"_s, u"Old"_s, u"/cal/old.ics"_s, u"e1"_s, false);
        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c2"));
        m_server->expect("REPORT", "/cal/")
            .bodyContains("calendar-query")
            .check(bodyLacks("calendar-data"))
            .reply(207,
                   objects(
                       {{"/cal/same.ics", "e1", {}}, {"/cal/old.ics", "e2", {}}, {"/cal/new%20one.ics", "e3", {}}}));
        m_server->expect("REPORT", "/cal/")
            .bodyContains("<d:href>/cal/old.ics</d:href>")
            .bodyContains("<d:href>/cal/new%20one.ics</d:href>")
            .check(bodyLacks("same.ics"))
            .reply(207,
                   objects({{"/cal/old.ics", "e2", vevent(u"old"_s, u"Renamed there"_s)},
                            {"/cal/new%20one.ics", "e3", vevent(u"fresh"_s, u"Fresh"_s)}}));
        const SyncOutcome outcome = sync();
        QCOMPARE(outcome.failure, QString());
        QCOMPARE(outcome.count, 2);
        QCOMPARE(m_state->events()->getById(changed)->title, u"Renamed there"_s);
        const auto fresh = m_state->events()->getByUid(u"fresh"_s, m_calendar.id);
        QVERIFY(fresh);
        QCOMPARE(fresh->href, u"/cal/new one.ics"_s);
        QCOMPARE(m_state->calendars()->getById(m_calendar.id)->ctag, u"c2"_s);
    }

    // Another device deleted it: gone here too, unless it waits to be pushed.
    void unlistedRowsGoOnlyAfterAWholeListing_data()
    {
        QTest::addColumn<bool>("whole");
        QTest::newRow("whole listing") << true;
        QTest::newRow("listing broken off") << false;
    }

    void unlistedRowsGoOnlyAfterAWholeListing()
    {
        QFETCH(bool, whole);
        const QString gone = storeEvent(u"gone"_s, u"Gone there"_s, u"/cal/gone.ics"_s, u"g1"_s, false);
        const QString edited = storeEvent(u"edited"_s, u"Edited here"_s, u"/cal/edited.ics"_s, u"d1"_s, true);
        QByteArray listing = objects({{"/cal/kept.ics", "k1", {}}});
        if (!whole)
            listing.chop(int(qstrlen("</d:multistatus>")));
        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c2"));
        m_server->expect("REPORT", "/cal/").reply(207, listing);
        m_server->expect("REPORT", "/cal/")
            .reply(207, objects({{"/cal/kept.ics", "k1", vevent(u"kept"_s, u"Kept"_s)}}));
        if (whole) // the edit goes out as a new resource
            m_server->expect("PUT", "/cal/edited.ics").header("If-None-Match", "*").reply(201);
        else
            m_server->expect("PUT", "/cal/edited.ics").header("If-Match", "\"d1\"").reply(204);
        // A broken listing is synced as far as it goes, and then told.
        QCOMPARE(sync().failure, whole ? QString() : u"listing cut short by the server"_s);
        QCOMPARE(m_state->events()->getById(gone).has_value(), !whole);
        QCOMPARE(m_state->events()->getById(edited)->title, u"Edited here"_s);
        // Markers stay unknown after a broken listing, so the next run lists again.
        QCOMPARE(m_state->calendars()->getById(m_calendar.id)->ctag, whole ? u"c2"_s : u"c1"_s);
    }

    void largeObjectArrivesWhileTheLoopTurns_data()
    {
        QTest::addColumn<int>("series"); // in the one resource
        QTest::addColumn<int>("descriptionBytes");
        QTest::newRow("one event with a 4 MB description") << 1 << (4 << 20);
        QTest::newRow("a resource of 1500 series") << 1500 << 0;
    }

    // A large answer is read off the window's thread and written over several
    // turns of the event loop: all of it arrives, and an override the
    // server's copy no longer holds still goes.
    void largeObjectArrivesWhileTheLoopTurns()
    {
        QFETCH(int, series);
        QFETCH(int, descriptionBytes);
        Event stale = event(u"s0"_s, u"Moved here"_s, u"/cal/big.ics"_s, u"b1"_s, false);
        stale.recurrence_id = u"20260309T100000Z"_s;
        stale.master_event_uid = u"s0"_s;
        QVERIFY(m_state->events()->insert(stale));
        const QString description(descriptionBytes, u'x');
        const QString ics = seriesResource(series, u"DESCRIPTION:"_s + description + u"\r\n"_s);
        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c2"));
        m_server->expect("REPORT", "/cal/").reply(207, objects({{"/cal/big.ics", "b2", {}}}));
        m_server->expect("REPORT", "/cal/").reply(207, objects({{"/cal/big.ics", "b2", ics}}));
        int turns = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&turns] { ++turns; });
        ticker.start(0);
        const SyncOutcome outcome = sync();
        ticker.stop();
        QCOMPARE(outcome.failure, QString());
        QCOMPARE(outcome.count, series);
        QVERIFY(turns > 0);
        QVERIFY(!m_state->events()->getById(stale.id));
        const QList<Event> rows = m_state->events()->getByCalendar(m_calendar.id);
        QCOMPARE(rows.size(), series);
        for (const Event &row : rows) {
            QCOMPARE(row.etag, u"b2"_s);
            QCOMPARE(row.title, u"Series "_s + row.uid.mid(1));
        }
        QCOMPARE(m_state->events()->getByUid(u"s0"_s, m_calendar.id)->description, description);
        QCOMPARE(m_state->calendars()->getById(m_calendar.id)->ctag, u"c2"_s);
    }

    void windowLearnsWhatThePullWrote_data()
    {
        QTest::addColumn<QString>("kind"); // of the object the run writes or drops
        QTest::addColumn<bool>("dropped");
        QTest::newRow("an event written") << u"VEVENT"_s << false;
        QTest::newRow("a to-do written") << u"VTODO"_s << false;
        QTest::newRow("an unlisted event dropped") << u"VEVENT"_s << true;
    }

    // The pull writes over a connection of its own: the window's connection
    // reads its rows, and its repositories say the calendar changed.
    void windowLearnsWhatThePullWrote()
    {
        QFETCH(QString, kind);
        QFETCH(bool, dropped);
        const bool task = kind == u"VTODO"_s;
        syncTasksToo(task ? u"[\"VTODO\"]"_s : u"[\"VEVENT\"]"_s);
        const QString gone = dropped ? storeEvent(u"gone"_s, u"Gone"_s, u"/cal/gone.ics"_s, u"g1"_s, false) : QString();
        QTest::qWait(200); // the store's own change signal goes first
        QSignalSpy events(m_state->events(), &EventRepository::eventsChanged);
        QSignalSpy tasks(m_state->tasks(), &TaskRepository::tasksChanged);
        const QString ics = task ? u"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:x\r\nBEGIN:VTODO\r\nUID:new\r\n"
                                   "SUMMARY:There\r\nEND:VTODO\r\nEND:VCALENDAR\r\n"_s
                                 : vevent(u"new"_s, u"There"_s);
        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c2"));
        if (task)
            m_server->expect("REPORT", "/cal/").bodyContains("name=\"VEVENT\"").reply(207, objects({}));
        if (dropped) {
            m_server->expect("REPORT", "/cal/").reply(207, objects({}));
        } else {
            m_server->expect("REPORT", "/cal/").reply(207, objects({{"/cal/new.ics", "n1", {}}}));
            m_server->expect("REPORT", "/cal/").reply(207, objects({{"/cal/new.ics", "n1", ics}}));
        }
        QCOMPARE(sync().failure, QString());
        QSignalSpy &changed = task ? tasks : events;
        QTRY_VERIFY(!changed.isEmpty());
        QCOMPARE(changed.last().at(0).toString(), m_calendar.id);
        if (dropped)
            QVERIFY(!m_state->events()->getById(gone));
        else if (task)
            QCOMPARE(m_state->tasks()->getByUid(u"new"_s, m_calendar.id)->etag, u"n1"_s);
        else
            QCOMPARE(m_state->events()->getByUid(u"new"_s, m_calendar.id)->etag, u"n1"_s);
    }

    // The window keeps writing while the pull writes a large resource: no
    // write of either waits past its lock time-out.
    void windowWritesBesideThePull()
    {
        const int series = 3000;
        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c2"));
        m_server->expect("REPORT", "/cal/").reply(207, objects({{"/cal/big.ics", "b2", {}}}));
        m_server->expect("REPORT", "/cal/").reply(207, objects({{"/cal/big.ics", "b2", seriesResource(series)}}));
        int written = 0;
        int refused = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&] {
            // Kept here: a synced row without href is neither pushed nor dropped.
            ++(m_state->events()->insert(event(newId(), u"Here"_s, {}, {}, false)) ? written : refused);
        });
        ticker.start(0);
        const SyncOutcome outcome = sync();
        ticker.stop();
        QCOMPARE(outcome.failure, QString());
        QCOMPARE(outcome.count, series);
        QCOMPARE(refused, 0);
        QVERIFY(written > 0);
        QCOMPARE(m_state->events()->getByCalendar(m_calendar.id).size(), series + written);
    }

    // A run that goes while it writes a resource leaves its markers, and the
    // rows it wrote do not pass for the whole resource: the next run fetches
    // it again. A row edited here keeps the version it knew meanwhile, so
    // its push asks for a version and cannot write over the server's.
    void runGoneMidResourceFetchesItAgain()
    {
        const int series = 3000;
        QVERIFY(m_state->events()->insert(event(u"s0"_s, u"Mine"_s, u"/cal/big.ics"_s, u"b1"_s, true)));
        const QByteArray listing = objects({{"/cal/big.ics", "b2", {}}});
        const QByteArray answer = objects({{"/cal/big.ics", "b2", seriesResource(series)}});
        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c2"));
        m_server->expect("REPORT", "/cal/").reply(207, listing);
        m_server->expect("REPORT", "/cal/").reply(207, answer);
        {
            CalDavSyncClient client(m_state);
            client.syncCalendar(*m_state->calendars()->getById(m_calendar.id), {}, {}, {});
            QVERIFY(QTest::qWaitFor([this] { return m_state->events()->getByUid(u"s1"_s, m_calendar.id).has_value(); }, 20000));
        }
        QVERIFY(m_state->events()->getByCalendar(m_calendar.id).size() < series);
        QCOMPARE(m_state->calendars()->getById(m_calendar.id)->ctag, u"c1"_s);
        const Event mine = *m_state->events()->getByUid(u"s0"_s, m_calendar.id);
        QCOMPARE(QStringList({mine.etag, mine.sync_status}), QStringList({u"b1"_s, SyncStatus::Pending}));

        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c2"));
        m_server->expect("REPORT", "/cal/").reply(207, listing);
        m_server->expect("REPORT", "/cal/").reply(207, answer);
        m_server->expect("PUT", "/cal/big.ics").header("If-Match", "\"b2\"").reply(204, {}, {{"etag", "\"b3\""}});
        QCOMPARE(sync().failure, QString());
        const QList<Event> rows = m_state->events()->getByCalendar(m_calendar.id);
        QCOMPARE(rows.size(), series);
        QVERIFY(std::all_of(rows.cbegin(), rows.cend(), [](const Event &row) {
            return row.etag == (row.uid == u"s0"_s ? u"b3"_s : u"b2"_s) && row.sync_status == SyncStatus::Synced;
        }));
        QCOMPARE(m_state->calendars()->getById(m_calendar.id)->ctag, u"c2"_s);
    }

    // A server copy without alarms or attendees does not erase them here.
    void pullKeepsRemindersAndAttendees()
    {
        Event row = event(u"meet"_s, u"Meeting"_s, u"/cal/meet.ics"_s, u"m1"_s, false);
        row.reminders.append(Reminder{});
        row.reminders.first().minutes_before = 30;
        Attendee ann;
        ann.email = u"ann@example.org"_s;
        row.attendees.append(ann);
        QVERIFY(m_state->events()->insert(row));
        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c2"));
        m_server->expect("REPORT", "/cal/").reply(207, objects({{"/cal/meet.ics", "m2", {}}}));
        m_server->expect("REPORT", "/cal/")
            .reply(207, objects({{"/cal/meet.ics", "m2", vevent(u"meet"_s, u"Meeting, moved"_s)}}));
        QCOMPARE(sync().failure, QString());
        const Event pulled = *m_state->events()->getById(row.id);
        QCOMPARE(pulled.title, u"Meeting, moved"_s);
        QCOMPARE(pulled.reminders.size(), 1);
        QCOMPARE(pulled.reminders.first().minutes_before, 30);
        QCOMPARE(pulled.attendees.size(), 1);
    }

    // One resource per series: a deleted override becomes an EXDATE of the
    // master, an override made here goes out under the series UID.
    void seriesGoesOutAsOneResource()
    {
        Event master = event(u"s"_s, u"Weekly"_s, u"/cal/s.ics"_s, u"w1"_s, false);
        master.recurrence_rule = u"FREQ=WEEKLY;COUNT=5"_s;
        QVERIFY(m_state->events()->insert(master));
        Event removed = event(u"s"_s, u"Second"_s, u"/cal/s.ics"_s, u"w1"_s, false);
        removed.recurrence_id = u"20260309T100000Z"_s;
        removed.master_event_uid = u"s"_s;
        removed.start_time = at(9, 12);
        QVERIFY(m_state->events()->insert(removed));
        QVERIFY(m_state->events()->remove(removed.id));
        Event madeHere = event(newId(), u"Third moved here"_s, {}, {}, true);
        madeHere.uid = madeHere.id; // as a recurring edit makes it
        madeHere.recurrence_id = u"20260316T100000Z"_s;
        madeHere.master_event_uid = u"s"_s;
        madeHere.start_time = at(16, 14);
        madeHere.end_time = at(16, 15);
        QVERIFY(m_state->events()->insert(madeHere));

        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c1"));
        m_server->expect("PUT", "/cal/s.ics")
            .header("If-Match", "\"w1\"")
            .bodyContains("EXDATE:20260309T100000Z")
            .bodyContains("RECURRENCE-ID:20260316T100000Z")
            .bodyContains("SUMMARY:Third moved here")
            .check(bodyLacks("SUMMARY:Second"))
            .check([](const ScriptedHttpServer::Request &request) {
                const QList<Event> objects = ICalendar::parseEvents(QString::fromUtf8(request.body));
                for (const Event &object : objects) {
                    if (object.uid != u"s"_s)
                        return u"an object with the UID "_s + object.uid;
                }
                return objects.size() == 2 ? QString() : u"%1 objects"_s.arg(objects.size());
            })
            .reply(204, {}, {{"ETag", "\"w2\""}});
        QCOMPARE(sync().failure, QString());
        QVERIFY(!m_state->events()->getById(removed.id));
        const Event stored = *m_state->events()->getById(master.id);
        QCOMPARE(stored.sync_status, u"synced"_s);
        QVERIFY(stored.exception_dates.contains(u"20260309T100000Z"_s));
        const Event override = *m_state->events()->getById(madeHere.id);
        QCOMPARE(override.href, u"/cal/s.ics"_s);
        QCOMPARE(override.etag, u"w2"_s);

        // The master deleted: one DELETE takes the whole series.
        QVERIFY(m_state->events()->remove(master.id));
        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c1"));
        m_server->expect("DELETE", "/cal/s.ics").header("If-Match", "\"w2\"").reply(404);
        QCOMPARE(sync().failure, QString());
        QCOMPARE(m_state->events()->getPending(m_calendar.id), QList<Event>());
        QVERIFY(!m_state->events()->getById(madeHere.id));
    }

    void newResourceNames_data()
    {
        QTest::addColumn<QString>("uid");
        QTest::addColumn<QByteArray>("target");
        QTest::newRow("reserved characters stay inside one segment")
            << u"a b?c#d%"_s << QByteArray("/cal/a%20b%3Fc%23d%25.ics");
        QTest::newRow("a slash no file store accepts: named by the uid's SHA-1")
            << u"x/y"_s << "/cal/" + QCryptographicHash::hash("x/y", QCryptographicHash::Sha1).toHex() + ".ics";
    }

    void newResourceNames()
    {
        QFETCH(QString, uid);
        QFETCH(QByteArray, target);
        const QString id = storeEvent(uid, u"Named"_s, {}, {}, true);
        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c1"));
        m_server->expect("PUT", target).reply(201, {}, {{"ETag", "\"n1\""}});
        QCOMPARE(sync().failure, QString());
        const Event row = *m_state->events()->getById(id);
        QCOMPARE(row.href, QUrl::fromPercentEncoding(target));
        QCOMPARE(row.etag, u"n1"_s);

        // The stored (decoded) href is encoded again when it is used.
        Event edited = row;
        edited.title = u"Named again"_s;
        edited.sync_status = u"pending"_s;
        QVERIFY(m_state->events()->update(edited));
        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c1"));
        m_server->expect("PUT", target).header("If-Match", "\"n1\"").reply(204);
        QCOMPARE(sync().failure, QString());
    }

    // An edit made while its PUT is under way is not lost to the "synced" mark.
    void editDuringThePushStaysPending()
    {
        const QString id = storeEvent(u"a"_s, u"First"_s, u"/cal/a.ics"_s, u"v1"_s, true);
        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c1"));
        m_server->expect("PUT", "/cal/a.ics")
            .check([this, id](const ScriptedHttpServer::Request &) {
                Event row = *m_state->events()->getById(id);
                row.title = u"Second"_s;
                return m_state->events()->update(row) ? QString() : u"update failed"_s;
            })
            .reply(204, {}, {{"ETag", "\"v2\""}});
        QCOMPARE(sync().failure, QString());
        const Event row = *m_state->events()->getById(id);
        QCOMPARE(row.title, u"Second"_s);
        QCOMPARE(row.sync_status, u"pending"_s);
        QCOMPARE(row.etag, u"v2"_s);
    }

    // To-dos: 403 on their query means the calendar holds none; 404 to a
    // DELETE means the server has it no more; a 412 fetches the server copy.
    void tasks()
    {
        syncTasksToo(u"[\"VEVENT\",\"vtodo\"]"_s);
        const QString gone = storeTask(u"gone"_s, u"/cal/gone.ics"_s, u"t1"_s);
        QVERIFY(m_state->tasks()->remove(gone));
        const QString edited = storeTask(u"edited"_s, u"/cal/edited.ics"_s, u"t1"_s);
        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c2"));
        m_server->expect("REPORT", "/cal/").bodyContains("name=\"VEVENT\"").reply(207, objects({}));
        m_server->expect("REPORT", "/cal/").bodyContains("name=\"VTODO\"").reply(403);
        m_server->expect("DELETE", "/cal/gone.ics").reply(404);
        m_server->expect("PUT", "/cal/edited.ics").header("If-Match", "\"t1\"").reply(412);
        m_server->expect("REPORT", "/cal/")
            .reply(
                207,
                objects(
                    {{"/cal/edited.ics", "t2",
                      u"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:x\r\nBEGIN:VTODO\r\nUID:edited\r\nSUMMARY:There\r\nEND:VTODO\r\nEND:VCALENDAR\r\n"_s}}));
        m_server->expect("PUT", "/cal/edited.ics")
            .header("If-Match", "\"t2\"")
            .bodyContains("BEGIN:VCALENDAR")
            .bodyContains("SUMMARY:edited here")
            .reply(204, {}, {{"ETag", "\"t3\""}});
        const SyncOutcome outcome = sync();
        QCOMPARE(outcome.failure, QString());
        QCOMPARE(outcome.count, 0);
        QVERIFY(!m_state->tasks()->getById(gone));
        const Task task = *m_state->tasks()->getById(edited);
        QCOMPARE(task.sync_status, u"synced"_s);
        QCOMPARE(task.etag, u"t3"_s);
        // 403 tells the calendar has no to-dos: the markers are kept.
        QCOMPARE(m_state->calendars()->getById(m_calendar.id)->ctag, u"c2"_s);
    }

    // SUMMARY is optional: an object without one is still stored, untitled,
    // and its ETag kept, so the next run does not fetch it again.
    void objectsWithoutSummaryArrive()
    {
        syncTasksToo(u"[\"VEVENT\",\"VTODO\"]"_s);
        const QString untitledEvent = u"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:x\r\nBEGIN:VEVENT\r\nUID:bare\r\n"
                                      "DTSTART:20260302T100000Z\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"_s;
        const QString untitledTask = u"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:x\r\nBEGIN:VTODO\r\nUID:chore\r\n"
                                     "END:VTODO\r\nEND:VCALENDAR\r\n"_s;
        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c2"));
        m_server->expect("REPORT", "/cal/").reply(207, objects({{"/cal/bare.ics", "e1", {}}}));
        m_server->expect("REPORT", "/cal/").reply(207, objects({{"/cal/bare.ics", "e1", untitledEvent}}));
        m_server->expect("REPORT", "/cal/").reply(207, objects({{"/cal/chore.ics", "t1", {}}}));
        m_server->expect("REPORT", "/cal/").reply(207, objects({{"/cal/chore.ics", "t1", untitledTask}}));
        const SyncOutcome outcome = sync();
        QCOMPARE(outcome.failure, QString());
        const std::optional<Event> event = m_state->events()->getByUid(u"bare"_s, m_calendar.id);
        QVERIFY(event);
        QCOMPARE(event->title, QString());
        QCOMPARE(event->etag, u"e1"_s);
        const std::optional<Task> task = m_state->tasks()->getByUid(u"chore"_s, m_calendar.id);
        QVERIFY(task);
        QCOMPARE(task->etag, u"t1"_s);
        QCOMPARE(m_state->calendars()->getById(m_calendar.id)->ctag, u"c2"_s);
    }

    // Objects that did not come in leave the run complete but say so: the
    // markers stay, so the next run lists the collection again and fetches
    // them, and the calendar's last sync error names how many are missing.
    void objectsLeftBehind_data()
    {
        const QString startless = u"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:x\r\nBEGIN:VEVENT\r\nUID:b\r\n"
                                  "SUMMARY:No start\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"_s;
        const Object a{"/cal/a.ics", "e1", vevent(u"a"_s, u"Fine"_s)};
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("multiget");
        QTest::addColumn<QString>("problem"); // empty: the run is complete
        QTest::addColumn<int>("writtenLater");
        QTest::newRow("an object the store refuses (no start)")
            << 207 << objects({a, {"/cal/b.ics", "e1", startless}}) << u"1 item(s) could not be synced"_s << 1;
        QTest::newRow("a body the multiget leaves out")
            << 207 << objects({a}) << u"1 item(s) could not be synced"_s << 1;
        QTest::newRow("a multiget the server refuses")
            << 403 << QByteArray() << u"2 item(s) could not be synced"_s << 2;
        // A server that lists every kind: a to-do among the events is not missing.
        QTest::newRow("a to-do among the events")
            << 207
            << objects({a,
                        {"/cal/b.ics", "e1",
                         u"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:x\r\nBEGIN:VTODO\r\n"
                         "UID:chore\r\nEND:VTODO\r\nEND:VCALENDAR\r\n"_s}})
            << QString() << 0;
    }

    void objectsLeftBehind()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, multiget);
        QFETCH(QString, problem);
        QFETCH(int, writtenLater);
        const QByteArray listing = objects({{"/cal/a.ics", "e1", {}}, {"/cal/b.ics", "e1", {}}});
        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c2"));
        m_server->expect("REPORT", "/cal/").reply(207, listing);
        m_server->expect("REPORT", "/cal/").reply(status, multiget);
        SyncOutcome outcome = sync();
        QCOMPARE(outcome.failure, QString());
        QVERIFY(outcome.completed);
        Calendar stored = *m_state->calendars()->getById(m_calendar.id);
        QCOMPARE(stored.last_sync_error, problem);
        QCOMPARE(stored.ctag, problem.isEmpty() ? u"c2"_s : u"c1"_s);
        if (problem.isEmpty())
            return;

        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c2"));
        m_server->expect("REPORT", "/cal/").reply(207, listing);
        m_server->expect("REPORT", "/cal/")
            .reply(207,
                   objects({{"/cal/a.ics", "e1", vevent(u"a"_s, u"Fine"_s)},
                            {"/cal/b.ics", "e1", vevent(u"b"_s, u"Mended"_s)}}));
        outcome = sync();
        QCOMPARE(outcome.failure, QString());
        QCOMPARE(outcome.count, writtenLater); // what came in the first time is not written again
        stored = *m_state->calendars()->getById(m_calendar.id);
        QCOMPARE(stored.last_sync_error, QString());
        QCOMPARE(stored.ctag, u"c2"_s);
        QCOMPARE(m_state->events()->getByUid(u"b"_s, m_calendar.id)->title, u"Mended"_s);
    }
};

QTEST_GUILESS_MAIN(TestCalDavSyncScripted)
#include "tst_caldavsyncscripted.moc"
