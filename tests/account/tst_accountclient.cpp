#include "account/client.h"
#include "apiclient.h"
#include "filetokenstore.h"
#include "memorytokenstore.h"
#include "scriptedhttpserver.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;
using TolmAccount::ApiClient;
using TolmAccount::ApiResponse;
using TolmAccount::AuthState;
using TolmAccount::Client;
using TolmAccount::ClientConfig;
using TolmAccount::MemoryTokenStore;
using TokenMap = QHash<QString, QString>;

namespace {

ClientConfig testConfig()
{
    ClientConfig config;
    config.applicationIdentifier = u"com.quillmarten.calendar.test"_s;
    config.accountApiBaseUrl = u"http://127.0.0.1:9/account/v1"_s;
    return config;
}

std::unique_ptr<MemoryTokenStore> storeWith(const TokenMap &values)
{
    auto store = std::make_unique<MemoryTokenStore>();
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        store->save(it.key(), it.value());
    return store;
}

// Runs one request and waits for its answer.
ApiResponse await(const std::function<void(ApiClient::Callback)> &request)
{
    std::optional<ApiResponse> result;
    request([&result](const ApiResponse &response) { result = response; });
    if (!QTest::qWaitFor([&result] { return result.has_value(); }, 10000))
        return ApiResponse{0, {}, u"test: no answer within 10 s"_s};
    return *result;
}

} // namespace

class TestAccountClient : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // --- Restoring the sign-in ---

    void initializeRestoresSignIn_data()
    {
        QTest::addColumn<TokenMap>("stored");
        QTest::addColumn<bool>("withStore");
        QTest::addColumn<AuthState>("expected");

        const QString access = Client::accessTokenKey();
        const QString refresh = Client::refreshTokenKey();
        QTest::newRow("access token alone -> authenticated")
            << TokenMap{{access, u"a"_s}} << true << AuthState::Authenticated;
        QTest::newRow("refresh token alone cannot be used -> signed out")
            << TokenMap{{refresh, u"r"_s}} << true << AuthState::SignedOut;
        QTest::newRow("empty access token -> signed out")
            << TokenMap{{access, QString()}} << true << AuthState::SignedOut;
        QTest::newRow("no secure store on this machine -> signed out") << TokenMap{} << false << AuthState::SignedOut;
    }
    void initializeRestoresSignIn()
    {
        QFETCH(TokenMap, stored);
        QFETCH(bool, withStore);
        QFETCH(AuthState, expected);

        Client client(testConfig(), withStore ? storeWith(stored) : nullptr, nullptr);
        QSignalSpy changed(&client, &Client::authStateChanged);
        client.initialize();
        QCOMPARE(client.authState(), expected);
        QCOMPARE(client.isAuthenticated(), expected == AuthState::Authenticated);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.first().first().value<AuthState>(), expected);

        // A second restore finds the same state and reports nothing.
        client.initialize();
        QCOMPARE(changed.count(), 1);
    }

    void platformStoreIsKeptUnderTheApplicationIdentifier()
    {
        QTemporaryDir home;
        const QByteArray previous = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", home.path().toUtf8());
        auto store = TolmAccount::createTokenStore(testConfig().applicationIdentifier);
        QVERIFY(store);
        QVERIFY(store->save(Client::accessTokenKey(), u"token"_s));
        QVERIFY(QFileInfo::exists(home.filePath(u"Quillmarten/secrets/com.quillmarten.calendar.test.json"_s)));

        Client client(testConfig());
        client.initialize();
        QVERIFY(client.isAuthenticated());
        // Another application's identifier sees none of it.
        ClientConfig other = testConfig();
        other.applicationIdentifier = u"com.quillmarten.calendar.other"_s;
        Client stranger(other);
        stranger.initialize();
        QVERIFY(!stranger.isAuthenticated());
        qputenv("XDG_DATA_HOME", previous);
    }

    // --- API requests ---

    void endpointJoinsBasePathAndPath_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("trailing slash of the base is not doubled")
            << u"https://api.quillmarten.example/calendar/v1/"_s << u"/sync/push"_s
            << u"https://api.quillmarten.example/calendar/v1/sync/push"_s;
        QTest::newRow("path without leading slash")
            << u"http://127.0.0.1:8080"_s << u"calendars"_s << u"http://127.0.0.1:8080/calendars"_s;
    }
    void endpointJoinsBasePathAndPath()
    {
        QFETCH(QString, base);
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QNetworkAccessManager network;
        ApiClient api(&network, {});
        api.setBaseUrl(QUrl(base));
        QCOMPARE(api.endpoint(path).toString(), expected);
    }

    void requestsCarryTheBearerTokenAndJson()
    {
        ScriptedHttpServer server;
        QVERIFY(server.start());
        server.expect("GET", "/calendar/v1/calendars")
            .header("Authorization", "Bearer secret-token")
            .reply(200, R"({"calendars":[]})");
        server.expect("POST", "/calendar/v1/sync/push")
            .header("Authorization", "Bearer secret-token")
            .header("Content-Type", "application/json")
            .bodyContains(R"({"changes":[]})")
            .reply(204);

        Client client(testConfig(), storeWith({{Client::accessTokenKey(), u"secret-token"_s}}), nullptr);
        client.initialize();
        ApiClient *api = client.syncApiClient();
        api->setBaseUrl(server.url(u"/calendar/v1"_s));

        const ApiResponse listed = await([&](ApiClient::Callback done) { api->get(u"/calendars"_s, this, done); });
        QVERIFY2(listed.ok(), qPrintable(listed.error));
        QCOMPARE(listed.status, 200);
        QCOMPARE(listed.body.object().value("calendars"_L1).toArray().size(), 0);

        const ApiResponse pushed = await([&](ApiClient::Callback done) {
            api->post(u"/sync/push"_s, QJsonObject{{u"changes"_s, QJsonArray()}}, this, done);
        });
        QVERIFY2(pushed.ok(), qPrintable(pushed.error));
        QCOMPARE(pushed.status, 204);
        QVERIFY(pushed.body.isNull());
        QCOMPARE(server.problems(), QStringList());
    }

    void signedOutRequestsCarryNoToken()
    {
        ScriptedHttpServer server;
        QVERIFY(server.start());
        server.expect("GET", "/calendars").noHeader("Authorization").reply(200, "{}");
        Client client(testConfig(), storeWith({}), nullptr);
        client.initialize();
        client.syncApiClient()->setBaseUrl(server.url(u"/"_s));
        const ApiResponse response = await(
            [&](ApiClient::Callback done) { client.syncApiClient()->get(u"/calendars"_s, this, done); });
        QVERIFY(response.ok());
        QCOMPARE(server.problems(), QStringList());
    }

    void aRedirectElsewhereCarriesNoToken()
    {
        ScriptedHttpServer server;
        ScriptedHttpServer elsewhere;
        QVERIFY(server.start());
        QVERIFY(elsewhere.start());
        server.expect("POST", "/sync/push").reply(307, {}, {{"Location", elsewhere.url(u"/stolen"_s).toEncoded()}});
        Client client(testConfig(), storeWith({{Client::accessTokenKey(), u"secret-token"_s}}), nullptr);
        client.initialize();
        client.syncApiClient()->setBaseUrl(server.url(u"/"_s));
        const ApiResponse response = await([&](ApiClient::Callback done) {
            client.syncApiClient()->post(u"/sync/push"_s, QJsonObject{{u"changes"_s, QJsonArray()}}, this, done);
        });
        QVERIFY(!response.ok());
        QCOMPARE(elsewhere.requests().size(), 0);
        QCOMPARE(server.problems(), QStringList());
    }

    void failuresAreReported_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("error");
        QTest::addColumn<bool>("retryLater");
        QTest::newRow("401 -> failed, not retried") << 401 << QByteArray("{}") << u"HTTP 401"_s << false;
        QTest::newRow("503 -> failed, retried later") << 503 << QByteArray() << u"HTTP 503"_s << true;
        QTest::newRow("200 with HTML -> not JSON")
            << 200 << QByteArray("<html>login</html>") << u"answer of 18 bytes is not JSON"_s << false;
    }
    void failuresAreReported()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(QString, error);
        QFETCH(bool, retryLater);
        ScriptedHttpServer server;
        QVERIFY(server.start());
        server.expect("GET", "/x").reply(status, body);
        QNetworkAccessManager network;
        ApiClient api(&network, {});
        api.setBaseUrl(server.url(u"/"_s));
        const ApiResponse response = await([&](ApiClient::Callback done) { api.get(u"/x"_s, this, done); });
        QCOMPARE(response.ok(), false);
        QCOMPARE(response.status, status);
        QCOMPARE(response.error, error);
        QCOMPARE(response.canRetryLater(), retryLater);
    }

    void unreachableServerFailsWithoutStatus()
    {
        ScriptedHttpServer server;
        QVERIFY(server.start());
        const QUrl closed = server.url(u"/"_s);
        server.close();
        QNetworkAccessManager network;
        ApiClient api(&network, {});
        api.setBaseUrl(closed);
        const ApiResponse response = await([&](ApiClient::Callback done) { api.get(u"/x"_s, this, done); });
        QCOMPARE(response.status, 0);
        QVERIFY(!response.error.isEmpty());
        QVERIFY(response.canRetryLater());
    }

    void answerAfterTheContextIsGoneRunsNothing()
    {
        ScriptedHttpServer server;
        QVERIFY(server.start());
        server.expect("GET", "/slow").reply(200, "{}");
        QNetworkAccessManager network;
        ApiClient api(&network, {});
        api.setBaseUrl(server.url(u"/"_s));
        bool ran = false;
        auto *context = new QObject;
        api.get(u"/slow"_s, context, [&ran](const ApiResponse &) { ran = true; });
        delete context;
        QTRY_COMPARE(server.requests().size(), 1);
        QTest::qWait(50);
        QVERIFY(!ran);
    }
};

QTEST_GUILESS_MAIN(TestAccountClient)
#include "tst_accountclient.moc"
