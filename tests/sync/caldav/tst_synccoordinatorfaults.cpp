#include "memorytokenstore.h"
#include "scriptedcaldav.h"
#include "scriptedhttpserver.h"
#include "syncbackoff.h"
#include "synccoordinator.h"
#include "syncharness.h"
#include "syncresult.h"
#include "testcertificate.h"
#include "timeutil.h"

#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The three discovery steps of an account whose URL is its one calendar,
// "/cal/": no principal, no home set, then the calendar itself.
void expectDiscovery(ScriptedHttpServer &server)
{
    server.expect("PROPFIND", "/cal/").bodyContains("current-user-principal").reply(207, multistatus({}));
    server.expect("PROPFIND", "/cal/").bodyContains("calendar-home-set").reply(207, multistatus({}));
    server.expect("PROPFIND", "/cal/")
        .header("Depth", "1")
        .reply(207,
               multistatus("<d:response><d:href>/cal/</d:href><d:propstat><d:prop><d:resourcetype><d:collection/>"
                           "<c:calendar/></d:resourcetype></d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat>"
                           "</d:response>"));
}

} // namespace

// The coordinator against servers that keep failing: every failed run ends
// in one message and a pause, never in a run of runs; a first sync that
// fails says so and is not recorded as done.
class TestSyncCoordinatorFaults : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_fixture = std::make_unique<AppStateFixture>();
        QVERIFY(m_fixture->start());
        m_state = m_fixture->state();
        m_server = std::make_unique<ScriptedHttpServer>();
        QVERIFY(m_server->start());
    }

    void cleanup()
    {
        m_coordinator.reset();
        m_fixture.reset();
        m_server.reset();
    }

    void pauses_data()
    {
        QTest::addColumn<int>("failures");
        QTest::addColumn<int>("minutes");
        QTest::newRow("none") << 0 << 0;
        QTest::newRow("first failure") << 1 << 1;
        QTest::newRow("second") << 2 << 2;
        QTest::newRow("fifth") << 5 << 16;
        QTest::newRow("sixth reaches the longest") << 6 << 30;
        QTest::newRow("a hundredth stays there") << 100 << 30;
    }

    void pauses()
    {
        QFETCH(int, failures);
        QFETCH(int, minutes);
        QCOMPARE(SyncBackoff::pauseSecs(failures), qint64(minutes) * 60);
        SyncBackoff backoff;
        const QDateTime now = TimeUtil::utc(QDate(2026, 3, 1), QTime(12, 0));
        for (int i = 0; i < failures; ++i)
            backoff.failed(u"cal"_s, now);
        QCOMPARE(backoff.isPaused(u"cal"_s, now.addSecs(qint64(minutes) * 60 - 1)), failures > 0);
        QCOMPARE(backoff.isDue(u"cal"_s, now.addSecs(qint64(minutes) * 60)), failures > 0);
        backoff.succeeded(u"cal"_s);
        QVERIFY(!backoff.isPaused(u"cal"_s, now));
    }

    void answers_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("error");
        QTest::addColumn<bool>("refusal");
        QTest::addColumn<bool>("retryLater");
        QTest::newRow("403 refuses the item") << 403 << QString() << true << false;
        QTest::newRow("400 refuses the item") << 400 << QString() << true << false;
        QTest::newRow("413 refuses the item") << 413 << QString() << true << false;
        QTest::newRow("415 refuses the item") << 415 << QString() << true << false;
        QTest::newRow("412 is a conflict, neither") << 412 << QString() << false << false;
        QTest::newRow("401 waits for new credentials") << 401 << QString() << false << true;
        QTest::newRow("429 slows down") << 429 << QString() << false << true;
        QTest::newRow("503 is the server's") << 503 << QString() << false << true;
        QTest::newRow("no answer") << 0 << u"Connection refused"_s << false << true;
    }

    void answers()
    {
        QFETCH(int, status);
        QFETCH(QString, error);
        QFETCH(bool, refusal);
        QFETCH(bool, retryLater);
        const SyncResult result = SyncResult::fromHttp(status, error,
                                                       "<d:error><d:need-privileges/></d:error> read-only");
        QCOMPARE(result.isRefusal(), refusal);
        QCOMPARE(result.canRetryLater(), retryLater);
        QCOMPARE(result.describe(), error.isEmpty() ? u"HTTP %1: read-only"_s.arg(status) : error);
    }

    void failingPushRunsOncePerRequest_data()
    {
        QTest::addColumn<int>("status");
        QTest::newRow("412 on every PUT") << 412;
        QTest::newRow("500 on every PUT") << 500;
    }

    // The run's own writes (the server copy fetched after a 412) start no
    // second run, nor does an edit while the calendar pauses; the user's
    // Sync Now does, once.
    void failingPushRunsOncePerRequest()
    {
        QFETCH(int, status);
        const Calendar calendar = addCalendar();
        const QString id = storeEvent(calendar.id, u"a"_s, u"/cal/a.ics"_s, u"v1"_s);
        QSignalSpy messages(m_coordinator.get(), &SyncCoordinator::calendarSyncFailed);
        const auto expectRun = [&] {
            expectDiscovery(*m_server);
            m_server->expect("PROPFIND", "/cal/").reply(207, markers("c1"));
            m_server->expect("PUT", "/cal/a.ics").reply(status);
            if (status == 412) {
                m_server->expect("REPORT", "/cal/")
                    .reply(207, objects({{"/cal/a.ics", "v2", vevent(u"a"_s, u"There"_s)}}));
                m_server->expect("PUT", "/cal/a.ics").header("If-Match", "\"v2\"").reply(status);
            }
        };
        SyncResult failure = SyncResult::failure(SyncResult::Kind::Answer, SyncResult::Step::EventPush);
        failure.status = status;
        failure.subject = u"Here"_s;
        const auto reported = [](const QList<QVariant> &report) {
            SyncResult result = report.at(1).value<SyncResult>();
            result.serverText.clear();
            return result;
        };

        QTest::qWait(400); // the insert's change signal has gone by
        expectRun();
        m_coordinator->start(); // the start-up sync
        QVERIFY(QTest::qWaitFor([&] { return !messages.isEmpty(); }, 10000));
        QTest::qWait(1000); // a loop would have run again by now
        QVERIFY2(m_server->problems().isEmpty(), qPrintable(m_server->problems().join(u'\n')));
        QCOMPARE(messages.size(), 1);
        QCOMPARE(reported(messages.first()), failure);
        QCOMPARE(m_state->events()->getById(id)->sync_status, u"pending"_s);

        Event edited = *m_state->events()->getById(id);
        edited.title = u"Here"_s;
        edited.location = u"Room 1"_s;
        QVERIFY(m_state->events()->update(edited));
        m_coordinator->syncDueAccounts(); // interval not over, pause not over
        QTest::qWait(800);
        QVERIFY2(m_server->problems().isEmpty(), qPrintable(m_server->problems().join(u'\n')));
        QCOMPARE(messages.size(), 1);

        expectRun();
        m_coordinator->syncNow();
        QVERIFY(QTest::qWaitFor([&] { return messages.size() == 2; }, 10000));
        QTest::qWait(800);
        QVERIFY2(m_server->problems().isEmpty(), qPrintable(m_server->problems().join(u'\n')));
        QCOMPARE(messages.size(), 2);
        QCOMPARE(reported(messages.last()), failure);
    }

    // A failed calendar is tried again by the first tick after its pause,
    // and the pause grows with each failure in a row.
    void tickRetriesAfterThePause()
    {
        const Calendar calendar = addCalendar();
        storeEvent(calendar.id, u"a"_s, u"/cal/a.ics"_s, u"v1"_s);
        QDateTime now = TimeUtil::utc(QDate(2026, 3, 1), QTime(12, 0));
        m_coordinator->setClock([&now] { return now; });
        QSignalSpy messages(m_coordinator.get(), &SyncCoordinator::calendarSyncFailed);
        const auto expectRun = [&](bool discovery) {
            if (discovery)
                expectDiscovery(*m_server);
            m_server->expect("PROPFIND", "/cal/").reply(207, markers("c1"));
            m_server->expect("PUT", "/cal/a.ics").reply(503);
        };
        const QDateTime start = now;
        // A run started by the tick reports well within the wait.
        const auto tickAt = [&](int secs, int reports) {
            now = start.addSecs(secs);
            m_coordinator->syncDueAccounts();
            QVERIFY(QTest::qWaitFor([&] { return messages.size() == reports; }, 10000));
            QTest::qWait(300);
        };
        const auto problems = [this] { return m_server->problems().join(u'\n').toUtf8(); };

        expectRun(true);
        m_coordinator->syncNow();
        QVERIFY(QTest::qWaitFor([&] { return messages.size() == 1; }, 10000));
        tickAt(59, 1);
        QVERIFY2(m_server->problems().isEmpty(), problems().constData());
        QCOMPARE(messages.size(), 1);
        expectRun(false);
        tickAt(60, 2);
        QVERIFY2(m_server->problems().isEmpty(), problems().constData());
        QCOMPARE(messages.size(), 2);
        // Two failures in a row: two minutes from the second.
        tickAt(60 + 119, 2);
        QVERIFY2(m_server->problems().isEmpty(), problems().constData());
        QCOMPARE(messages.size(), 2);
        expectRun(false);
        tickAt(60 + 120, 3);
        QVERIFY2(m_server->problems().isEmpty(), problems().constData());
        QCOMPARE(messages.size(), 3);
        const SyncResult last = messages.last().at(1).value<SyncResult>();
        QCOMPARE(last.step, SyncResult::Step::EventPush);
        QCOMPARE(last.status, 503);
        QCOMPARE(last.subject, u"Here"_s);
    }

    // A run that synced all the server listed, though the listing was cut
    // short, says so and pauses nothing: an edit right after goes out.
    void cutShortListingPausesNothing()
    {
        const Calendar calendar = addCalendar();
        const QString id = storeEvent(calendar.id, u"a"_s, u"/cal/a.ics"_s, u"v1"_s);
        QSignalSpy messages(m_coordinator.get(), &SyncCoordinator::calendarSyncFailed);
        expectDiscovery(*m_server);
        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c2"));
        m_server->expect("REPORT", "/cal/")
            .reply(207,
                   multistatus("<d:response><d:href>/cal/</d:href>"
                               "<d:status>HTTP/1.1 507 Insufficient Storage</d:status></d:response>"));
        m_server->expect("PUT", "/cal/a.ics").header("If-Match", "\"v1\"").reply(204, {}, {{"ETag", "\"v2\""}});
        QTest::qWait(400); // the insert's change signal has gone by
        m_coordinator->start(); // the start-up sync; local changes followed from now on
        QVERIFY(QTest::qWaitFor([&] { return !messages.isEmpty(); }, 10000));
        QCOMPARE(messages.first().at(1).value<SyncResult>(),
                 SyncResult::failure(SyncResult::Kind::IncompleteListing, SyncResult::Step::EventListing));
        QCOMPARE(m_state->events()->getById(id)->sync_status, u"synced"_s);

        m_server->expect("PROPFIND", "/cal/").reply(207, markers("c2"));
        m_server->expect("REPORT", "/cal/").reply(207, objects({{"/cal/a.ics", "v2", {}}}));
        m_server->expect("PUT", "/cal/a.ics").header("If-Match", "\"v2\"").reply(204, {}, {{"ETag", "\"v3\""}});
        Event edited = *m_state->events()->getById(id);
        edited.title = u"Edited"_s;
        edited.sync_status = u"pending"_s;
        QVERIFY(m_state->events()->update(edited));
        QVERIFY(QTest::qWaitFor([&] { return m_state->events()->getById(id)->etag == u"v3"_s; }, 10000));
        QVERIFY2(m_server->problems().isEmpty(), qPrintable(m_server->problems().join(u'\n')));
        QCOMPARE(messages.size(), 1);
    }

    void firstSyncFailureIsNoSuccess_data()
    {
        QTest::addColumn<QString>("server");
        QTest::addColumn<SyncResult::Kind>("kind");
        QTest::addColumn<QNetworkReply::NetworkError>("networkError");
        QTest::newRow("401 on discovery") << u"401"_s << SyncResult::Kind::SignInNeeded << QNetworkReply::NoError;
        QTest::newRow("a server that never answers")
            << u"silent"_s << SyncResult::Kind::Network << QNetworkReply::OperationCanceledError;
        QTest::newRow("a certificate nobody trusts")
            << u"tls"_s << SyncResult::Kind::UntrustedCertificate << QNetworkReply::SslHandshakeFailedError;
    }

    // The account has no calendar yet: the failure is the account's, shown
    // once, and its last sync time stays unset. A tick meanwhile starts no
    // second discovery.
    void firstSyncFailureIsNoSuccess()
    {
        QFETCH(QString, server);
        QFETCH(SyncResult::Kind, kind);
        QFETCH(QNetworkReply::NetworkError, networkError);
        const bool silent = server == u"silent"_s;
        QTemporaryDir dir;
        if (server == u"tls"_s) {
            const TestCertificate certificate(dir.path(), u"untrusted"_s);
            QVERIFY2(certificate.isValid(), qPrintable(certificate.errorString()));
            m_server = std::make_unique<ScriptedHttpServer>();
            QVERIFY(m_server->startTls(certificate.certificate(), certificate.key()));
        }
        QTcpServer quiet;
        QVERIFY(quiet.listen(QHostAddress::LocalHost));
        int connections = 0;
        connect(&quiet, &QTcpServer::newConnection, &quiet, [&] {
            while (quiet.nextPendingConnection())
                ++connections;
        });
        const QUrl url = silent ? QUrl(u"http://127.0.0.1:%1/cal/"_s.arg(quiet.serverPort()))
                                : m_server->url(u"/cal/"_s);
        const QString accountId = addAccount(url);
        if (server == u"401"_s)
            m_server->expect("PROPFIND", "/cal/").reply(401);
        QSignalSpy messages(m_coordinator.get(), &SyncCoordinator::accountSyncFailed);
        m_coordinator->syncNow();
        m_coordinator->syncDueAccounts();
        QVERIFY(QTest::qWaitFor([&] { return !messages.isEmpty(); }, 10000));
        QTest::qWait(300);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.first().at(0).toString(), accountId);
        const SyncResult result = messages.first().at(1).value<SyncResult>();
        QCOMPARE(result.kind, kind);
        QCOMPARE(result.step, SyncResult::Step::Principal);
        QCOMPARE(result.networkError, networkError);
        const Account account = *m_state->accounts()->getById(accountId);
        QCOMPARE(account.last_sync_error, result.describe());
        QVERIFY(!account.last_sync_time || !account.last_sync_time->isValid());
        QVERIFY2(m_server->problems().isEmpty(), qPrintable(m_server->problems().join(u'\n')));
        QCOMPARE(connections, silent ? 1 : 0);
        QCOMPARE(m_state->syncBusyCount(), 0);
    }

private:
    QString addAccount(const QUrl &url)
    {
        Account account;
        account.id = newId();
        account.name = u"Scripted"_s;
        account.type = u"caldav"_s;
        account.server_url = url.toString();
        account.sync_interval_minutes = 15;
        account.created_at = account.updated_at = QDateTime::currentDateTimeUtc();
        if (!m_state->accounts()->insert(account))
            qFatal("account not stored");
        m_coordinator = std::make_unique<SyncCoordinator>(m_state, std::make_unique<TolmAccount::MemoryTokenStore>());
        m_coordinator->setTimeouts(300, 2000);
        return account.id;
    }

    // An account whose one calendar, "/cal/", synced before (ctag "c1").
    Calendar addCalendar()
    {
        Calendar calendar = addCalDavCalendar(m_state, m_server->url(u"/cal/"_s), {}, u"[\"VEVENT\"]"_s);
        calendar.ctag = u"c1"_s;
        if (!m_state->calendars()->update(calendar))
            qFatal("calendar not stored");
        Account account = *m_state->accounts()->getById(calendar.account_id);
        account.sync_interval_minutes = 15;
        account.last_sync_time = QDateTime::currentDateTimeUtc();
        if (!m_state->accounts()->update(account))
            qFatal("account not stored");
        m_coordinator = std::make_unique<SyncCoordinator>(m_state, std::make_unique<TolmAccount::MemoryTokenStore>());
        return calendar;
    }

    QString storeEvent(const QString &calendarId, const QString &uid, const QString &href, const QString &etag)
    {
        Event e;
        e.id = newId();
        e.uid = uid;
        e.calendar_id = calendarId;
        e.title = u"Here"_s;
        e.href = href;
        e.etag = etag;
        e.start_time = TimeUtil::utc(QDate(2026, 3, 2), QTime(10, 0));
        e.end_time = e.start_time.addSecs(3600);
        e.created = e.last_modified = QDateTime::currentDateTimeUtc();
        e.sync_status = u"pending"_s;
        e.raw_icalendar = ICalendar::serializeNewEvent(e);
        if (!m_state->events()->insert(e))
            qFatal("event not stored");
        return e.id;
    }

    std::unique_ptr<AppStateFixture> m_fixture;
    AppState *m_state = nullptr;
    std::unique_ptr<ScriptedHttpServer> m_server;
    std::unique_ptr<SyncCoordinator> m_coordinator;
};

QTEST_GUILESS_MAIN(TestSyncCoordinatorFaults)
#include "tst_synccoordinatorfaults.moc"
