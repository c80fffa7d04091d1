#include "accountrepository.h"
#include "apiclient.h"
#include "calendarrepository.h"
#include "canonicalcalendarkey.h"
#include "configsyncservice.h"
#include "database.h"
#include "scriptedhttpserver.h"
#include "syncclient.h"

#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using Quillmarten::ConfigSyncService;
using Quillmarten::SyncClient;

namespace {

// The application state as the cloud services see it: a QObject whose
// children are the repositories, over a migrated database file.
struct StateFixture
{
    QTemporaryDir dir;
    QObject state;
    Database *database = new Database(&state);
    AccountRepository *accounts = new AccountRepository(database, &state);
    CalendarRepository *calendars = new CalendarRepository(database, &state);

    StateFixture()
    {
        QVERIFY(database->open(dir.filePath(u"calendar.db"_s)));
        QVERIFY(database->migrate());
    }
};

struct ApiFixture
{
    ScriptedHttpServer server;
    QNetworkAccessManager network;
    TolmAccount::ApiClient api{&network, [] { return u"token-1"_s; }};

    ApiFixture()
    {
        QVERIFY(server.start());
        api.setBaseUrl(server.url(u"/calendar/v1"_s));
    }
};

} // namespace

class TestCloudSync : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // --- Calendar list ---

    void pullInsertsMissingCalendarsUnderTheCloudAccount()
    {
        StateFixture store;
        ApiFixture api;
        Calendar known;
        known.id = u"known"_s;
        known.account_id = SyncClient::cloudAccountId();
        known.url = SyncClient::calendarUrl(u"srv-known"_s);
        known.name = u"Known"_s;
        Account cloud;
        cloud.id = SyncClient::cloudAccountId();
        cloud.name = u"Mine"_s;
        cloud.type = u"quillmarten"_s;
        cloud.created_at = cloud.updated_at = QDateTime::currentDateTimeUtc();
        known.created_at = known.updated_at = cloud.created_at;
        QVERIFY(store.accounts->insert(cloud));
        QVERIFY(store.calendars->insert(known));

        api.server.expect("GET", "/calendar/v1/calendars")
            .header("Authorization", "Bearer token-1")
            .reply(200,
                   R"({"calendars":[)"
                   R"({"id":"srv-known","name":"Renamed on the server"},)"
                   R"({"id":"srv-family","name":"Family","color":"#E67C73"},)"
                   R"({"id":"srv-odd","name":"Odd colour","color":"red; drop table"},)"
                   R"({"name":"no id"}, {"id":""}, 42]})");
        SyncClient client(&store.state, &api.api);
        QSignalSpy pulled(&client, &SyncClient::calendarListPulled);
        client.pullCalendarList();
        QVERIFY(pulled.wait(10000));
        QCOMPARE(pulled.first().first().toInt(), 3);
        QCOMPARE(api.server.problems(), QStringList());

        const QList<Calendar> all = store.calendars->getAll();
        QCOMPARE(all.size(), 3);
        QCOMPARE(store.calendars->getById(u"known"_s)->name, u"Known"_s); // local rows stay as they are
        QCOMPARE(store.accounts->getById(cloud.id)->name, u"Mine"_s);
        for (const Calendar &calendar : all) {
            QCOMPARE(calendar.account_id, SyncClient::cloudAccountId());
            if (calendar.id == "known"_L1)
                continue;
            QCOMPARE(calendar.id.size(), 36);
            QCOMPARE(calendar.canonical_key, canonicalCalendarKey(u"quillmarten"_s, calendar.url).value());
            if (calendar.url == SyncClient::calendarUrl(u"srv-family"_s)) {
                QCOMPARE(calendar.name, u"Family"_s);
                QCOMPARE(calendar.color, u"#E67C73"_s);
            } else {
                QCOMPARE(calendar.url, SyncClient::calendarUrl(u"srv-odd"_s));
                QCOMPARE(calendar.color, Calendar().color);
            }
        }
    }

    void firstPulledCalendarCreatesTheCloudAccount()
    {
        StateFixture store;
        ApiFixture api;
        api.server.expect("GET", "/calendar/v1/calendars").reply(200, R"({"calendars":[{"id":"a"}]})"); // no name
        SyncClient client(&store.state, &api.api);
        QSignalSpy pulled(&client, &SyncClient::calendarListPulled);
        client.pullCalendarList();
        QVERIFY(pulled.wait(10000));
        const std::optional<Account> account = store.accounts->getById(SyncClient::cloudAccountId());
        QVERIFY(account);
        QCOMPARE(account->type, u"quillmarten"_s);
        const QList<Calendar> calendars = store.calendars->getByAccount(account->id);
        QCOMPARE(calendars.size(), 1);
        QCOMPARE(calendars.first().name, QString());
    }

    void failedPullReportsZeroAndWritesNothing_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("server error") << 500 << QByteArray("{}");
        QTest::newRow("not JSON") << 200 << QByteArray("<html/>");
        QTest::newRow("no calendar list in the answer") << 200 << QByteArray(R"({"items":[{"id":"a"}]})");
        QTest::newRow("empty list") << 200 << QByteArray(R"({"calendars":[]})");
    }
    void failedPullReportsZeroAndWritesNothing()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        StateFixture store;
        ApiFixture api;
        api.server.expect("GET", "/calendar/v1/calendars").reply(status, body);
        SyncClient client(&store.state, &api.api);
        QSignalSpy pulled(&client, &SyncClient::calendarListPulled);
        client.pullCalendarList();
        QVERIFY(pulled.wait(10000));
        QCOMPARE(pulled.count(), 1);
        QCOMPARE(pulled.first().first().toInt(), 0);
        QCOMPARE(store.calendars->getAll().size(), 0);
        QCOMPARE(store.accounts->getAll().size(), 0);
    }

    void withoutApiClientThePullStillEnds()
    {
        StateFixture store;
        SyncClient client(&store.state, nullptr);
        QSignalSpy pulled(&client, &SyncClient::calendarListPulled);
        client.pullCalendarList();
        QCOMPARE(pulled.count(), 0); // never from inside the call
        QTRY_COMPARE(pulled.count(), 1);
        QCOMPARE(pulled.first().first().toInt(), 0);
    }

    // --- Configuration sync ---

    void syncNowPushesThenPulls()
    {
        ApiFixture api;
        api.server.expect("POST", "/calendar/v1/sync/push")
            .header("Authorization", "Bearer token-1")
            .bodyContains(R"({"changes":[]})")
            .reply(200, "{}");
        api.server.expect("POST", "/calendar/v1/sync/pull").reply(200, R"({"changes":[],"timestamp":17})");
        ConfigSyncService sync(nullptr, &api.api);
        QSignalSpy finished(&sync, &ConfigSyncService::syncFinished);
        sync.syncNow();
        QVERIFY(sync.isRunning());
        sync.syncNow(); // ignored while running
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished.first().first().toBool(), true);
        QVERIFY(!sync.isRunning());
        QCOMPARE(api.server.problems(), QStringList());
    }

    void failedPushSkipsThePull()
    {
        ApiFixture api;
        api.server.expect("POST", "/calendar/v1/sync/push").reply(503);
        ConfigSyncService sync(nullptr, &api.api);
        QSignalSpy finished(&sync, &ConfigSyncService::syncFinished);
        sync.syncNow();
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished.first().first().toBool(), false);
        QTest::qWait(50);
        QCOMPARE(api.server.requests().size(), 1);
        QCOMPARE(api.server.problems(), QStringList());
    }

    void withoutApiClientNothingRuns()
    {
        ConfigSyncService sync(nullptr, nullptr);
        QSignalSpy finished(&sync, &ConfigSyncService::syncFinished);
        sync.syncNow();
        QVERIFY(!sync.isRunning());
        QCOMPARE(finished.count(), 0);
    }

    void mutationsSyncOnlyWhileAutoSyncRuns()
    {
        ApiFixture api;
        // Two services against one server: the pending sync of each is
        // cancelled one way or the other, so no request may arrive.
        ConfigSyncService signedOut(nullptr, &api.api);
        signedOut.syncOnMutation();
        ConfigSyncService stopped(nullptr, &api.api);
        stopped.startAutoSync();
        QVERIFY(stopped.isAutoSyncActive());
        stopped.syncOnMutation();
        stopped.stopAutoSync();
        QVERIFY(!stopped.isAutoSyncActive());

        ConfigSyncService signedIn(nullptr, &api.api);
        signedIn.startAutoSync();
        signedIn.startAutoSync(); // a running timer is kept
        api.server.expect("POST", "/calendar/v1/sync/push").reply(200);
        api.server.expect("POST", "/calendar/v1/sync/pull").reply(200);
        QSignalSpy finished(&signedIn, &ConfigSyncService::syncFinished);
        signedIn.syncOnMutation();
        QVERIFY(finished.wait(ConfigSyncService::kMutationDelayMs + 5000));
        QTest::qWait(200);
        QCOMPARE(api.server.problems(), QStringList());
        QCOMPARE(api.server.requests().size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestCloudSync)
#include "tst_cloudsync.moc"
