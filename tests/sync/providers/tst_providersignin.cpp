#include "fakegoogle.h"
#include "filetokenstore.h"
#include "googleauthservice.h"
#include "microsoftauthservice.h"

#include <QDesktopServices>
#include <QDir>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QUrlQuery>

#include <sys/resource.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Another local program at the loopback listener: holds `idle` connections
// that say nothing, opens one connection per request target, prints "open",
// and on a line from stdin sends the requests and prints each answer's
// status line ("closed" when there was none).
const QString kPeer = uR"(
import resource, socket, sys
soft, hard = resource.getrlimit(resource.RLIMIT_NOFILE)
resource.setrlimit(resource.RLIMIT_NOFILE, (hard, hard))
port, idle, targets = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3:]
connect = lambda: socket.create_connection(("127.0.0.1", port), timeout=60)
held = [connect() for _ in range(idle)]
conns = [connect() for _ in targets]
print("open", flush=True)
sys.stdin.readline()
for c, t in zip(conns, targets):
    reply = b""
    try:
        c.sendall(b"GET " + t.encode() + b" HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n")
        while chunk := c.recv(65536):
            reply += chunk
    except OSError:
        pass
    print(reply.split(b"\r\n")[0].decode() or "closed", flush=True)
sys.stdin.read()
)"_s;

constexpr uid_t kNobody = 65534;

} // namespace

// Plays the user's browser: opens the authorization URL with curl, which
// follows the provider's redirect to the program's loopback listener.
class Browser : public QObject
{
    Q_OBJECT
public:
    enum class Mode { Follow, Ignore, RequestLineInPieces };
    Mode mode = Mode::Follow;
    QUrl opened;
    QByteArray page;
    bool done = false;

public Q_SLOTS:
    void open(const QUrl &url)
    {
        opened = url;
        const QString redirect = QUrlQuery(url).queryItemValue(u"redirect_uri"_s, QUrl::FullyDecoded);
        switch (mode) {
        case Mode::Ignore: return;
        case Mode::Follow: return curl({u"-s"_s, u"-L"_s, url.toString(QUrl::FullyEncoded)});
        case Mode::RequestLineInPieces: return inPieces(url, redirect);
        }
    }

private:
    void curl(const QStringList &args)
    {
        auto *process = new QProcess(this);
        connect(process, &QProcess::finished, this, [this, process] {
            page = process->readAllStandardOutput();
            done = true;
            process->deleteLater();
        });
        process->start(u"curl"_s, args);
    }

    // The provider's redirect, then the request line to the listener in
    // three writes with pauses between them.
    void inPieces(const QUrl &url, const QString &redirect)
    {
        QProcess location;
        location.start(u"curl"_s,
                       {u"-s"_s, u"-o"_s, u"/dev/null"_s, u"-w"_s, u"%{redirect_url}"_s,
                        url.toString(QUrl::FullyEncoded)});
        location.waitForFinished(10000);
        const QUrl target(QString::fromUtf8(location.readAllStandardOutput()));
        const QByteArray line = "GET /?" + target.query(QUrl::FullyEncoded).toLatin1() + " HTTP/1.1\r\nHost: x\r\n\r\n";
        auto *socket = new QTcpSocket(this);
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            page = socket->readAll();
            page = page.mid(page.indexOf("\r\n\r\n") + 4);
            done = true;
        });
        socket->connectToHost(u"127.0.0.1"_s, QUrl(redirect).port());
        socket->waitForConnected(5000);
        for (int i = 0; i < 3; ++i) {
            socket->write(line.mid(i * line.size() / 3,
                                   (i == 2 ? line.size() : (i + 1) * line.size() / 3) - i * line.size() / 3));
            socket->flush();
            QTest::qWait(50);
        }
    }
};

class TestProviderSignIn : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void signInStoresTokensThatSurviveRestart_data();
    void signInStoresTokensThatSurviveRestart();
    void failedSignIn_data();
    void failedSignIn();
    void cancelAfterOutcomeSaysNothing();
    void endlessRequestHeadIsRefused();
    void hostileRequestsLeaveTheSignInWaiting_data();
    void hostileRequestsLeaveTheSignInWaiting();
    void idleConnectionIsClosed();
    void refresh_data();
    void refresh();
    void withoutCredentialsNothingIsSent();

private:
    template<typename Service>
    void runSignIn(bool storeTokens);
    ProviderConfig config() const;

    FakeGoogle m_fake;
    QNetworkAccessManager m_network;
    Browser m_browser;
};

void TestProviderSignIn::initTestCase()
{
    QVERIFY2(m_fake.start(), qPrintable(m_fake.errorString()));
    QDesktopServices::setUrlHandler(u"http"_s, &m_browser, "open");
}

void TestProviderSignIn::cleanupTestCase()
{
    QDesktopServices::unsetUrlHandler(u"http"_s);
}

void TestProviderSignIn::init()
{
    m_fake.control(u"reset"_s);
    m_browser.mode = Browser::Mode::Follow;
    m_browser.page.clear();
    m_browser.done = false;
}

ProviderConfig TestProviderSignIn::config() const
{
    const QString base = m_fake.baseUrl().toString();
    ProviderConfig c;
    c.googleAuthorizationEndpoint = QUrl(base + u"/o/oauth2/v2/auth"_s);
    c.googleTokenEndpoint = QUrl(base + u"/token"_s);
    c.googleClientId = QLatin1StringView(FakeGoogle::kClientId);
    c.googleClientSecret = QLatin1StringView(FakeGoogle::kClientSecret);
    c.microsoftAuthority = m_fake.baseUrl();
    c.microsoftTenant = u"common"_s;
    c.microsoftClientId = QLatin1StringView(FakeGoogle::kClientId);
    return c;
}

template<typename Service>
void TestProviderSignIn::runSignIn(bool storeTokens)
{
    QFETCH(QString, expected);
    QFETCH(QString, page);
    Service service(&m_network, config());
    QSignalSpy succeeded(&service, &Service::signInSucceeded);
    QSignalSpy failed(&service, &Service::signInFailed);
    service.startSignIn();
    QVERIFY(m_browser.opened.isValid());
    if (m_browser.mode == Browser::Mode::Ignore)
        service.cancelSignIn();
    QTRY_COMPARE_WITH_TIMEOUT(succeeded.size() + failed.size(), 1, 10000);
    if (m_browser.mode != Browser::Mode::Ignore) {
        QTRY_VERIFY_WITH_TIMEOUT(m_browser.done, 10000);
        if (expected.isEmpty())
            QCOMPARE(QString::fromUtf8(m_browser.page), page);
        else
            QVERIFY2(m_browser.page.contains(page.toUtf8()), m_browser.page.constData());
    }
    QTest::qWait(50);
    QCOMPARE(succeeded.size() + failed.size(), 1);
    if (!failed.isEmpty()) {
        QCOMPARE(failed.first().first().toString(), expected);
        return;
    }
    QVERIFY(expected.isEmpty());
    const auto result = succeeded.first().first().value<OAuthSignInResult>();
    QCOMPARE(result.email, u"user@example.test"_s);
    QCOMPARE(result.displayName, u"Test User"_s);
    QVERIFY(result.expiresAt > QDateTime::currentDateTimeUtc().addSecs(3500));
    if (!storeTokens)
        return;
    QTemporaryDir dir;
    {
        TolmAccount::FileTokenStore store(dir.path(), u"calendar-test"_s);
        QVERIFY(Service::saveTokens(&store, u"acc-1"_s, {result.accessToken, result.refreshToken, result.expiresAt}));
    }
    const TolmAccount::FileTokenStore restarted(dir.path(), u"calendar-test"_s);
    const StoredTokens loaded = Service::loadTokens(&restarted, u"acc-1"_s);
    QCOMPARE(loaded.refreshToken, result.refreshToken);
    QCOMPARE(loaded.accessToken, result.accessToken);
    QCOMPARE(loaded.expiresAt.toMSecsSinceEpoch(), result.expiresAt.toMSecsSinceEpoch());
}

void TestProviderSignIn::signInStoresTokensThatSurviveRestart_data()
{
    QTest::addColumn<bool>("google");
    QTest::addColumn<bool>("inPieces");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("page");
    // The page the user sees, exactly.
    const QString done = QStringLiteral(
        "<!DOCTYPE html><html><head><title>Quillmarten Calendar</title><style>body{font-family:-apple-system,"
        "system-ui,sans-serif;background:#1a1a1a;color:#eee;display:flex;align-items:center;justify-content:center;"
        "height:100vh;margin:0;}div{text-align:center;}h1{font-weight:500;}p{opacity:0.7;}</style></head><body><div>"
        "<h1>Sign-in complete</h1><p>You can close this tab and return to Quillmarten Calendar.</p></div><script>"
        "setTimeout(function(){window.close();},800);</script></body></html>");
    QTest::newRow("google") << true << false << QString() << done;
    QTest::newRow("microsoft") << false << false << QString() << done;
    QTest::newRow("google, request line arriving in pieces") << true << true << QString() << done;
}

void TestProviderSignIn::signInStoresTokensThatSurviveRestart()
{
    QFETCH(bool, google);
    QFETCH(bool, inPieces);
    if (inPieces)
        m_browser.mode = Browser::Mode::RequestLineInPieces;
    if (google)
        runSignIn<Google::AuthService>(true);
    else
        runSignIn<Microsoft::AuthService>(true);
    const QList<QJsonObject> log = m_fake.requests();
    QCOMPARE(log.last().value("method"_L1).toString(), u"POST"_s); // the exchange, PKCE checked by the fake
}

void TestProviderSignIn::failedSignIn_data()
{
    QTest::addColumn<bool>("google");
    QTest::addColumn<QString>("deny");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("page");
    const QString failedPage = u"<h1>Sign-in failed</h1>"_s;
    QTest::newRow("google denial names the error") << true << u"access_denied"_s << int(Browser::Mode::Follow)
                                                   << u"Google denied the sign-in: access_denied"_s << failedPage;
    QTest::newRow("microsoft denial names the description")
        << false << u"access_denied"_s << int(Browser::Mode::Follow)
        << u"Microsoft denied the sign-in: The user said no"_s << failedPage;
    QTest::newRow("cancel while waiting")
        << true << QString() << int(Browser::Mode::Ignore) << u"Sign-in cancelled."_s << QString();
}

void TestProviderSignIn::failedSignIn()
{
    QFETCH(bool, google);
    QFETCH(QString, deny);
    QFETCH(int, mode);
    if (!deny.isEmpty())
        m_fake.control(u"settings"_s, {{"deny"_L1, deny}});
    m_browser.mode = Browser::Mode(mode);
    if (google)
        runSignIn<Google::AuthService>(false);
    else
        runSignIn<Microsoft::AuthService>(false);
}

void TestProviderSignIn::cancelAfterOutcomeSaysNothing()
{
    Google::AuthService service(&m_network, config());
    QSignalSpy succeeded(&service, &Google::AuthService::signInSucceeded);
    QSignalSpy failed(&service, &Google::AuthService::signInFailed);
    service.startSignIn();
    QTRY_COMPARE_WITH_TIMEOUT(succeeded.size(), 1, 10000);
    service.cancelSignIn();
    QCOMPARE(failed.size(), 0);
}

// A peer that never ends its request line gets the failure page once the
// head passes 16 KiB; the sign-in goes on waiting for the real redirect.
void TestProviderSignIn::endlessRequestHeadIsRefused()
{
    m_browser.mode = Browser::Mode::Ignore;
    Google::AuthService service(&m_network, config());
    QSignalSpy succeeded(&service, &Google::AuthService::signInSucceeded);
    QSignalSpy failed(&service, &Google::AuthService::signInFailed);
    service.startSignIn();
    const QUrl redirect(QUrlQuery(m_browser.opened).queryItemValue(u"redirect_uri"_s, QUrl::FullyDecoded));
    QTcpSocket peer;
    peer.connectToHost(u"127.0.0.1"_s, redirect.port());
    QVERIFY(peer.waitForConnected(5000));
    peer.write("GET /?" + QByteArray(17 * 1024, 'a'));
    QByteArray answer;
    QTRY_VERIFY_WITH_TIMEOUT((answer += peer.readAll()).startsWith("HTTP/1.1 400 Bad Request\r\n"), 10000);
    QCOMPARE(succeeded.size() + failed.size(), 0);

    m_browser.mode = Browser::Mode::Follow;
    m_browser.open(m_browser.opened);
    QTRY_COMPARE_WITH_TIMEOUT(succeeded.size(), 1, 10000);
}

void TestProviderSignIn::hostileRequestsLeaveTheSignInWaiting_data()
{
    QTest::addColumn<QStringList>("targets"); // %state is the sign-in's own state
    QTest::addColumn<bool>("afterRedirect"); // on connections opened before it
    QTest::addColumn<int>("idle");
    QTest::addColumn<bool>("otherUser");
    QTest::newRow("browser's favicon") << QStringList{u"/favicon.ico"_s} << false << 0 << false;
    QTest::newRow("code with a forged state") << QStringList{u"/?code=abc&state=forged"_s} << false << 0 << false;
    QTest::newRow("code without state") << QStringList{u"/?code=abc"_s} << false << 0 << false;
    QTest::newRow("denial without state")
        << QStringList{u"/?error=access_denied&error_description=Call+the+helpdesk+now"_s} << false << 0 << false;
    QTest::newRow("another local user guessing") << QStringList{u"/?code=abc&state=guess"_s} << false << 0 << true;
    QTest::newRow("favicon on the browser's spare connection after the redirect")
        << QStringList{u"/favicon.ico"_s} << true << 0 << false;
    QTest::newRow("second redirect with the right state")
        << QStringList{u"/?code=another&state=%state"_s, u"/?error=access_denied&state=%state"_s} << true << 0 << false;
    QTest::newRow("flood of idle connections within a small descriptor limit")
        << QStringList{u"/favicon.ico"_s} << false << 300 << false;
}

// Only the provider's redirect ends the sign-in, and its code is exchanged
// once; everything else gets the failure page and the sign-in goes on.
void TestProviderSignIn::hostileRequestsLeaveTheSignInWaiting()
{
    QFETCH(QStringList, targets);
    QFETCH(bool, afterRedirect);
    QFETCH(int, idle);
    QFETCH(bool, otherUser);
    if (otherUser && ::geteuid() != 0)
        QSKIP("needs root to act as a second user");
    m_browser.mode = Browser::Mode::Ignore;
    Google::AuthService service(&m_network, config());
    QSignalSpy succeeded(&service, &Google::AuthService::signInSucceeded);
    QSignalSpy failed(&service, &Google::AuthService::signInFailed);
    service.startSignIn();
    const QUrlQuery authorization(m_browser.opened);
    const QUrl redirect(authorization.queryItemValue(u"redirect_uri"_s, QUrl::FullyDecoded));
    for (QString &target : targets)
        target.replace(u"%state"_s, authorization.queryItemValue(u"state"_s, QUrl::FullyDecoded));

    // Without the cap a flood takes every descriptor left, and the listener
    // stops accepting for good.
    rlimit before{};
    QCOMPARE(::getrlimit(RLIMIT_NOFILE, &before), 0);
    const auto restore = qScopeGuard([&before] { ::setrlimit(RLIMIT_NOFILE, &before); });
    if (idle > 0) {
        rlimit small = before;
        small.rlim_cur = rlim_t(
            QDir(u"/proc/self/fd"_s).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size() + 64);
        QCOMPARE(::setrlimit(RLIMIT_NOFILE, &small), 0);
    }
    QProcess peer;
    peer.setWorkingDirectory(u"/"_s);
    if (otherUser) {
        peer.setChildProcessModifier([] {
            if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
                ::_exit(100);
        });
    }
    peer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    peer.start(u"/usr/bin/python3"_s,
               QStringList{u"-c"_s, kPeer, QString::number(redirect.port()), QString::number(idle)} + targets);
    QByteArray said;
    const auto saidLines = [&](qsizetype count) {
        return QTest::qWaitFor(
            [&] {
            said += peer.readAllStandardOutput();
            return said.count('\n') >= count || peer.state() == QProcess::NotRunning;
            },
            30000);
    };
    const auto realRedirect = [&] {
        m_browser.mode = Browser::Mode::Follow;
        m_browser.open(m_browser.opened);
        QTRY_VERIFY_WITH_TIMEOUT(m_browser.done, 30000);
    };
    QVERIFY(saidLines(1));
    if (afterRedirect)
        realRedirect();
    peer.write("\n");
    QVERIFY(saidLines(1 + targets.size()));
    const QByteArrayList answers = said.trimmed().split('\n');
    QCOMPARE(answers, QByteArrayList{"open"} + QByteArrayList(targets.size(), "HTTP/1.1 400 Bad Request"));
    if (!afterRedirect) {
        QCOMPARE(succeeded.size() + failed.size(), 0);
        realRedirect();
    }
    QTRY_COMPARE_WITH_TIMEOUT(succeeded.size(), 1, 30000);
    QTest::qWait(50);
    QCOMPARE(failed.size(), 0);
    peer.closeWriteChannel();
    QVERIFY(peer.waitForFinished(10000));
    qsizetype exchanges = 0;
    for (const QJsonObject &request : m_fake.requests())
        exchanges += request.value("body"_L1).toString().contains("grant_type=authorization_code"_L1);
    QCOMPARE(exchanges, 1);
}

// A connection that never says anything is not kept for the sign-in's life.
void TestProviderSignIn::idleConnectionIsClosed()
{
    m_browser.mode = Browser::Mode::Ignore;
    Google::AuthService service(&m_network, config());
    service.startSignIn();
    const QUrl redirect(QUrlQuery(m_browser.opened).queryItemValue(u"redirect_uri"_s, QUrl::FullyDecoded));
    QTcpSocket peer;
    peer.connectToHost(u"127.0.0.1"_s, redirect.port());
    QVERIFY(peer.waitForConnected(5000));
    QTRY_COMPARE_WITH_TIMEOUT(peer.state(), QAbstractSocket::UnconnectedState, 60000);
}

void TestProviderSignIn::refresh_data()
{
    QTest::addColumn<bool>("rotate");
    QTest::addColumn<bool>("known");
    QTest::newRow("without rotation the third value is empty") << false << true;
    QTest::newRow("with rotation a new refresh token comes back") << true << true;
    QTest::newRow("an unknown refresh token is refused") << false << false;
}

void TestProviderSignIn::refresh()
{
    QFETCH(bool, rotate);
    QFETCH(bool, known);
    m_fake.control(u"settings"_s, {{"rotate"_L1, rotate}, {"expires_in"_L1, 120}});
    const QString refreshToken = known ? m_fake.grantTokens().second : u"rt-unknown"_s;
    Google::AuthService service(&m_network, config());
    QSignalSpy succeeded(&service, &Google::AuthService::refreshSucceeded);
    QSignalSpy failed(&service, &Google::AuthService::refreshFailed);
    service.refresh(refreshToken);
    QTRY_COMPARE_WITH_TIMEOUT(succeeded.size() + failed.size(), 1, 10000);
    if (!known) {
        const SyncResult refused = failed.first().first().value<SyncResult>();
        QCOMPARE(refused.step, SyncResult::Step::TokenRefresh);
        QCOMPARE(refused.provider, SyncResult::Provider::Google);
        QCOMPARE(refused.kind, SyncResult::Kind::Answer);
        QCOMPARE(refused.status, 400);
        return;
    }
    const QList<QVariant> args = succeeded.first();
    QVERIFY(!args.at(0).toString().isEmpty());
    QVERIFY(qAbs(args.at(1).toDateTime().secsTo(QDateTime::currentDateTimeUtc().addSecs(120))) < 5);
    QCOMPARE(args.at(2).toString().isEmpty(), !rotate);
}

void TestProviderSignIn::withoutCredentialsNothingIsSent()
{
    m_fake.control(u"clear-log"_s);
    ProviderConfig unconfigured = config();
    unconfigured.googleClientSecret.clear();
    unconfigured.microsoftClientId.clear();
    Google::AuthService google(&m_network, unconfigured);
    QSignalSpy refreshFailed(&google, &Google::AuthService::refreshFailed);
    google.refresh(u"rt"_s);
    QCOMPARE(refreshFailed.size(), 1);
    QCOMPARE(refreshFailed.first().first().value<SyncResult>(),
             SyncResult::ofProvider(SyncResult::Provider::Google, SyncResult::Kind::NotConfigured,
                                    SyncResult::Step::TokenRefresh));
    Microsoft::AuthService microsoft(&m_network, unconfigured);
    QSignalSpy signInFailed(&microsoft, &Microsoft::AuthService::signInFailed);
    microsoft.startSignIn();
    QCOMPARE(signInFailed.size(), 1);
    QCOMPARE(signInFailed.first().first().toString(),
             u"Microsoft OAuth credentials are not configured in this build. See .env.example."_s);
    QVERIFY(m_fake.requests().isEmpty());
}

QTEST_MAIN(TestProviderSignIn)
#include "tst_providersignin.moc"
