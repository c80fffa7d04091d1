#include "icalendar.h"
#include "scriptedcaldav.h"
#include "scriptedhttpserver.h"
#include "syncharness.h"
#include "timeutil.h"

#include <QSqlQuery>
#include <QTest>

namespace {

const QByteArray kListingEnd = "</d:multistatus>";

// The server's listing stops early and says so in one of the two ways a
// multistatus can.
QByteArray truncated(const QByteArray &listing, const QByteArray &how)
{
    QByteArray out = listing;
    out.insert(out.size() - kListingEnd.size(), how);
    return out;
}

} // namespace

// One calendar's run against a scripted server that misbehaves in one
// item: weak ETags, a listing cut short, an object nobody can read, a write
// refused, a control character in an answer. The other items sync.
class TestCalDavSyncFaults : public ScriptedCalDavTest
{
    Q_OBJECT
private Q_SLOTS:
    void init() { QVERIFY(startCalendar()); }
    void cleanup() { stop(); }

    // A weak tag is repeated in If-Match exactly as the server gave it, and
    // a listing with the same weak tag fetches nothing.
    void weakEtagsSyncBothWays()
    {
        const QString id = storeEvent(u"a"_s, u"Edited here"_s, u"/cal/a.ics"_s, u"W/\"v1\""_s, true);
        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c1"));
        m_server->expect("PUT", "/cal/a.ics").header("If-Match", "W/\"v1\"").reply(204, {}, {{"ETag", "W/\"v2\""}});
        QCOMPARE(sync().failure, QString());
        QCOMPARE(m_state->events()->getById(id)->etag, u"W/\"v2\""_s);
        QCOMPARE(m_state->events()->getById(id)->sync_status, u"synced"_s);

        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c2"));
        m_server->expect("REPORT", "/cal/")
            .reply(207, objects({{"/cal/a.ics", "W/\"v2\"", {}}, {"/cal/b.ics", "W/\"w1\"", {}}}));
        m_server->expect("REPORT", "/cal/")
            .check(bodyLacks("a.ics"))
            .reply(207, objects({{"/cal/b.ics", "W/\"w1\"", vevent(u"b"_s, u"Edited there"_s)}}));
        QCOMPARE(sync().failure, QString());
        QCOMPARE(m_state->events()->getByUid(u"b"_s, m_calendar.id)->etag, u"W/\"w1\""_s);
    }

    void cutShortListingRemovesNothing_data()
    {
        QTest::addColumn<QByteArray>("mark");
        QTest::newRow("507 inside the multistatus")
            << QByteArray("<d:response><d:href>/cal/</d:href><d:status>HTTP/1.1 507 Insufficient Storage</d:status>"
                          "</d:response>");
        QTest::newRow("number-of-matches-within-limits")
            << QByteArray("<d:response><d:href>/cal/</d:href><d:status>HTTP/1.1 507 Insufficient Storage</d:status>"
                          "<d:error><d:number-of-matches-within-limits/></d:error></d:response>");
        QTest::newRow("the condition alone")
            << QByteArray("<d:response><d:href>/cal/</d:href><d:error><d:number-of-matches-within-limits/>"
                          "</d:error></d:response>");
    }

    // Rows beyond the server's limit are not gone from the server; the
    // markers stay, so the next run lists again, and the run says the
    // listing was incomplete.
    void cutShortListingRemovesNothing()
    {
        QFETCH(QByteArray, mark);
        const QString beyond = storeEvent(u"beyond"_s, u"Beyond the limit"_s, u"/cal/beyond.ics"_s, u"b1"_s, false);
        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c2"));
        m_server->expect("REPORT", "/cal/").reply(207, truncated(objects({{"/cal/first.ics", "f1", {}}}), mark));
        m_server->expect("REPORT", "/cal/")
            .reply(207, objects({{"/cal/first.ics", "f1", vevent(u"first"_s, u"First"_s)}}));
        QCOMPARE(sync().result,
                 SyncResult::failure(SyncResult::Kind::IncompleteListing, SyncResult::Step::EventListing));
        QVERIFY(m_state->events()->getById(beyond));
        QVERIFY(m_state->events()->getByUid(u"first"_s, m_calendar.id));
        QCOMPARE(m_state->calendars()->getById(m_calendar.id)->ctag, u"c1"_s);
    }

    // An object nobody can read is counted, left until its ETag moves, and
    // keeps the others from nothing.
    void unreadableObjectIsLeftUntilItChanges()
    {
        const QByteArray listing = objects({{"/cal/a.ics", "e1", {}}, {"/cal/bad.ics", "e1", {}}});
        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c2"));
        m_server->expect("REPORT", "/cal/").reply(207, listing);
        m_server->expect("REPORT", "/cal/")
            .reply(207,
                   objects({{"/cal/a.ics", "e1", vevent(u"a"_s, u"Fine"_s)},
                            {"/cal/bad.ics", "e1", u"<html>Gateway</html>"_s}}));
        QCOMPARE(sync().failure, QString());
        QCOMPARE(m_state->events()->getByUid(u"a"_s, m_calendar.id)->title, u"Fine"_s);
        QCOMPARE(lastSyncError(), u"1 item(s) could not be synced"_s);

        // Listed again in the same version: not fetched, still counted.
        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c3"));
        m_server->expect("REPORT", "/cal/").reply(207, listing);
        QCOMPARE(sync().failure, QString());
        QCOMPARE(lastSyncError(), u"1 item(s) could not be synced"_s);

        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c4"));
        m_server->expect("REPORT", "/cal/").reply(207, objects({{"/cal/a.ics", "e1", {}}, {"/cal/bad.ics", "e2", {}}}));
        m_server->expect("REPORT", "/cal/")
            .check(bodyLacks("a.ics"))
            .reply(207, objects({{"/cal/bad.ics", "e2", vevent(u"bad"_s, u"Mended"_s)}}));
        QCOMPARE(sync().failure, QString());
        QCOMPARE(m_state->events()->getByUid(u"bad"_s, m_calendar.id)->title, u"Mended"_s);
        QCOMPARE(lastSyncError(), QString());
    }

    void unreadableServerCopyOfAnEditBlocksNoOther_data()
    {
        QTest::addColumn<bool>("listed"); // the pull met the new version first
        QTest::newRow("met by the write's conflict") << false;
        QTest::newRow("met by the pull, then by the write's conflict") << true;
    }

    // Another client left the server copy of an item edited here unreadable:
    // the edit waits, counted, for a version that can be merged with, and
    // the other items are written.
    void unreadableServerCopyOfAnEditBlocksNoOther()
    {
        QFETCH(bool, listed);
        m_server->setAnyOrder(true);
        const QString edited = storeEvent(u"a"_s, u"Edited here"_s, u"/cal/a.ics"_s, u"e1"_s, true);
        const QString added = storeEvent(u"z"_s, u"New here"_s, {}, {}, true);
        const QString garbage = u"<html>Gateway</html>"_s;
        m_server->expect("PROPFIND", "/cal/").reply(207, markers(listed ? "c2" : "c1"));
        if (listed) {
            m_server->expect("REPORT", "/cal/")
                .check(bodyLacks("multiget"))
                .reply(207, objects({{"/cal/a.ics", "e2", {}}}));
            m_server->expect("REPORT", "/cal/")
                .bodyContains("multiget")
                .reply(207, objects({{"/cal/a.ics", "e2", garbage}}));
        }
        m_server->expect("PUT", "/cal/a.ics").header("If-Match", "\"e1\"").reply(412);
        m_server->expect("REPORT", "/cal/")
            .bodyContains("multiget")
            .reply(207, objects({{"/cal/a.ics", "e2", garbage}}));
        m_server->expect("PUT", "/cal/z.ics").reply(201, {}, {{"ETag", "\"z1\""}});
        QCOMPARE(sync().failure, QString());
        QCOMPARE(m_server->problems(), QStringList());
        QCOMPARE(m_state->events()->getById(added)->sync_status, u"synced"_s);
        const Event waiting = *m_state->events()->getById(edited);
        QCOMPARE(waiting.title, u"Edited here"_s);
        QCOMPARE(waiting.sync_status, u"pending"_s);
        QCOMPARE(lastSyncError(), u"1 item(s) could not be synced"_s);
    }

    void refusedWriteMarksOnlyThatItem_data()
    {
        QTest::addColumn<int>("status");
        QTest::newRow("403 forbidden") << 403;
        QTest::newRow("400 bad request") << 400;
        QTest::newRow("413 too large") << 413;
        QTest::newRow("415 unsupported type") << 415;
    }

    // The others arrive; the refused one is not sent again until it changes.
    void refusedWriteMarksOnlyThatItem()
    {
        QFETCH(int, status);
        m_server->setAnyOrder(true);
        const QString refused = storeEvent(u"refused"_s, u"Refused"_s, {}, {}, true);
        const QString first = storeEvent(u"first"_s, u"First"_s, {}, {}, true);
        const QString last = storeEvent(u"last"_s, u"Last"_s, {}, {}, true);
        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c1"));
        m_server->expect("PUT", "/cal/first.ics").reply(201, {}, {{"ETag", "\"f1\""}});
        m_server->expect("PUT", "/cal/refused.ics")
            .reply(status, "<d:error xmlns:d=\"DAV:\"><d:need-privileges/></d:error>");
        m_server->expect("PUT", "/cal/last.ics").reply(201, {}, {{"ETag", "\"l1\""}});
        QCOMPARE(sync().failure, QString());
        QCOMPARE(m_state->events()->getById(first)->sync_status, u"synced"_s);
        QCOMPARE(m_state->events()->getById(last)->sync_status, u"synced"_s);
        QCOMPARE(m_state->events()->getById(refused)->sync_status, u"pending"_s);
        QCOMPARE(lastSyncError(), u"1 item(s) could not be synced"_s);

        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c1"));
        QCOMPARE(sync().failure, QString());

        Event edited = *m_state->events()->getById(refused);
        edited.title = u"Refused, edited"_s;
        edited.last_modified = edited.last_modified.addSecs(60);
        QVERIFY(m_state->events()->update(edited));
        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c1"));
        m_server->expect("PUT", "/cal/refused.ics").bodyContains("SUMMARY:Refused\\, edited").reply(201);
        QCOMPARE(sync().failure, QString());
        QCOMPARE(m_state->events()->getById(refused)->sync_status, u"synced"_s);
        QCOMPARE(lastSyncError(), QString());
    }

    // A to-do goes the same way: refused once, not sent again unchanged.
    void refusedTaskIsNotSentAgain()
    {
        syncTasksToo(u"[\"VEVENT\",\"VTODO\"]"_s);
        const QString task = storeTask(u"chore"_s, {}, {});
        const QString event = storeEvent(u"meet"_s, u"Meeting"_s, {}, {}, true);
        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c1"));
        m_server->expect("PUT", "/cal/meet.ics").reply(201);
        m_server->expect("PUT", "/cal/chore.ics").reply(403);
        QCOMPARE(sync().failure, QString());
        QCOMPARE(m_state->events()->getById(event)->sync_status, u"synced"_s);
        QCOMPARE(m_state->tasks()->getById(task)->sync_status, u"pending"_s);
        QCOMPARE(lastSyncError(), u"1 item(s) could not be synced"_s);

        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c1"));
        QCOMPARE(sync().failure, QString());
        QCOMPARE(lastSyncError(), u"1 item(s) could not be synced"_s);
    }

    // Not the item's fault: the run ends and the rest waits for the next.
    void serverFailureEndsTheRun_data()
    {
        QTest::addColumn<int>("status");
        QTest::newRow("500") << 500;
        QTest::newRow("503") << 503;
        QTest::newRow("401") << 401;
    }

    void serverFailureEndsTheRun()
    {
        QFETCH(int, status);
        const QString id = storeEvent(u"a"_s, u"A"_s, {}, {}, true);
        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c1"));
        m_server->expect("PUT", "/cal/a.ics").reply(status);
        const SyncResult result = sync().result;
        QCOMPARE(result.kind, SyncResult::Kind::Answer);
        QCOMPARE(result.step, SyncResult::Step::EventPush);
        QCOMPARE(result.status, status);
        QCOMPARE(result.subject, u"A"_s);
        QCOMPARE(m_state->events()->getById(id)->sync_status, u"pending"_s);
    }

    // The server took the write, or sent its changes, and the store could
    // not record that: the run fails, and what it could not record is done
    // again next time.
    void writeTheStoreCannotRecordEndsTheRun_data()
    {
        QTest::addColumn<QString>("refused"); // a table, and when its update is refused
        QTest::addColumn<int>("pushAnswer"); // to the pending event's PUT; 0: the server changed instead
        QTest::newRow("the pushed event marked synced") << u"events WHEN NEW.sync_status = 'synced'"_s << 201;
        QTest::newRow("the calendar's new ctag") << u"calendars WHEN NEW.ctag = 'c2'"_s << 0;
        QTest::newRow("the calendar's problem after a refused push")
            << u"calendars WHEN NEW.last_sync_error <> ''"_s << 403;
    }

    void writeTheStoreCannotRecordEndsTheRun()
    {
        QFETCH(QString, refused);
        QFETCH(int, pushAnswer);
        const QString id = pushAnswer ? storeEvent(u"a"_s, u"A"_s, {}, {}, true) : QString();
        QVERIFY(QSqlQuery(m_state->database()->database())
                    .exec(u"CREATE TRIGGER refuse BEFORE UPDATE ON %1 BEGIN SELECT RAISE(ABORT, 'no'); END"_s.arg(
                        refused)));
        if (pushAnswer) {
            m_server->expect("PROPFIND", "/cal/").reply(207, markers("c1"));
            m_server->expect("PUT", "/cal/a.ics").reply(pushAnswer, {}, {{"ETag", "\"a1\""}});
        } else {
            m_server->expect("PROPFIND", "/cal/").reply(207, markers("c2"));
            m_server->expect("REPORT", "/cal/").reply(207, objects({{"/cal/b.ics", "e1", {}}}));
            m_server->expect("REPORT", "/cal/").reply(207, objects({{"/cal/b.ics", "e1", vevent(u"b"_s, u"B"_s)}}));
        }
        QCOMPARE(sync().result.storeFailure, StoreFailure::Refused); // a LocalStore failure
        if (pushAnswer)
            QCOMPARE(m_state->events()->getById(id)->sync_status, u"pending"_s);
        QCOMPARE(m_state->calendars()->getById(m_calendar.id)->ctag, u"c1"_s);
    }

    // The server's copy of an item edited here is merged before the item
    // goes again; a store that will not take the merge sends nothing over
    // what changed there.
    void mergeTheStoreRefusesSendsNothing()
    {
        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c2"));
        m_server->expect("REPORT", "/cal/").reply(207, objects({{"/cal/a.ics", "e1", {}}}));
        m_server->expect("REPORT", "/cal/")
            .reply(207, objects({{"/cal/a.ics", "e1", vevent(u"a"_s, u"A"_s, u"LOCATION:Room 1\r\n"_s)}}));
        QCOMPARE(sync().failure, QString());
        Event edited = *m_state->events()->getByUid(u"a"_s, m_calendar.id);
        edited.title = u"Edited here"_s;
        edited.sync_status = u"pending"_s;
        QVERIFY(m_state->events()->update(edited));
        QVERIFY(QSqlQuery(m_state->database()->database())
                    .exec(u"CREATE TRIGGER refuse BEFORE UPDATE ON events WHEN NEW.location = 'Room 2' "
                          "BEGIN SELECT RAISE(ABORT, 'no'); END"_s));
        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c2"));
        m_server->expect("PUT", "/cal/a.ics").header("If-Match", "\"e1\"").reply(412);
        m_server->expect("REPORT", "/cal/")
            .bodyContains("multiget")
            .reply(207, objects({{"/cal/a.ics", "e2", vevent(u"a"_s, u"A"_s, u"LOCATION:Room 2\r\n"_s)}}));
        const SyncOutcome outcome = sync();
        QCOMPARE(outcome.result.storeFailure, StoreFailure::Refused); // a LocalStore failure
        QVERIFY2(!outcome.failure.contains(u"the server saw"_s), qPrintable(outcome.failure));
        QCOMPARE(m_state->events()->getById(edited.id)->sync_status, u"pending"_s);
    }

    // Another client's NUL inside a title makes the answer ill-formed XML;
    // every object in it is still read.
    void answerWithControlCharactersStillArrives()
    {
        QByteArray answer = objects({{"/cal/a.ics", "e1", vevent(u"a"_s, u"Before"_s)},
                                     {"/cal/nul.ics", "e1", vevent(u"nul"_s, u"Bad\u0001title"_s)},
                                     {"/cal/z.ics", "e1", vevent(u"z"_s, u"After"_s)}});
        answer.replace("Bad\x01title", QByteArray("Bad\0title", 9));
        QVERIFY(answer.contains('\0'));
        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c2"));
        m_server->expect("REPORT", "/cal/")
            .reply(207, objects({{"/cal/a.ics", "e1", {}}, {"/cal/nul.ics", "e1", {}}, {"/cal/z.ics", "e1", {}}}));
        m_server->expect("REPORT", "/cal/").reply(207, answer);
        const SyncOutcome outcome = sync();
        QCOMPARE(outcome.failure, QString());
        QCOMPARE(outcome.count, 3);
        QCOMPARE(m_state->events()->getByUid(u"a"_s, m_calendar.id)->title, u"Before"_s);
        QCOMPARE(m_state->events()->getByUid(u"nul"_s, m_calendar.id)->title, u"Badtitle"_s);
        QCOMPARE(m_state->events()->getByUid(u"z"_s, m_calendar.id)->title, u"After"_s);
        QCOMPARE(lastSyncError(), QString());
    }

private:
    QString lastSyncError() const { return m_state->calendars()->getById(m_calendar.id)->last_sync_error; }
};

QTEST_GUILESS_MAIN(TestCalDavSyncFaults)
#include "tst_caldavsyncfaults.moc"
