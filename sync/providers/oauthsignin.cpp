#include "oauthsignin.h"
#include "providerhttp.h"
#include "providerslog.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDesktopServices>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr auto kBase64Url = QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals;

const QByteArray kSuccessPage = QByteArrayLiteral(
    "<!DOCTYPE html><html><head><title>Quillmarten Calendar</title><style>body{font-family:-apple-system,"
    "system-ui,sans-serif;background:#1a1a1a;color:#eee;display:flex;align-items:center;justify-content:center;"
    "height:100vh;margin:0;}div{text-align:center;}h1{font-weight:500;}p{opacity:0.7;}</style></head><body><div>"
    "<h1>Sign-in complete</h1><p>You can close this tab and return to Quillmarten Calendar.</p></div><script>"
    "setTimeout(function(){window.close();},800);</script></body></html>");

const QByteArray kFailurePage = QByteArrayLiteral(
    "<!DOCTYPE html><html><head><title>Sign-in failed</title><style>body{font-family:sans-serif;"
    "text-align:center;padding:40px;}</style></head><body><h1>Sign-in failed</h1><p>Return to Quillmarten "
    "Calendar for details.</p></body></html>");

QByteArray formBody(const OAuthProvider::Fields &fields)
{
    QByteArray body;
    for (const auto &[key, value] : fields) {
        if (!body.isEmpty())
            body += '&';
        body += QUrl::toPercentEncoding(key) + '=' + QUrl::toPercentEncoding(value);
    }
    return body;
}

struct TokenReply : ProviderHttp::Reply
{
    QJsonObject json;
    QDateTime expiresAt;
};

TokenReply readTokenReply(QNetworkReply *reply)
{
    TokenReply out;
    static_cast<ProviderHttp::Reply &>(out) = ProviderHttp::take(reply);
    out.json = QJsonDocument::fromJson(out.body).object();
    const int expiresIn = out.json.value("expires_in"_L1).toInt(3600);
    out.expiresAt = QDateTime::currentDateTimeUtc().addSecs(expiresIn);
    return out;
}

} // namespace

OAuthSignIn::OAuthSignIn(QNetworkAccessManager *network, OAuthProvider provider, QObject *parent)
    : QObject(parent)
    , m_network(network)
    , m_provider(std::move(provider))
{
}

QString OAuthSignIn::randomUrlSafe(int bytes)
{
    QByteArray data(bytes, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(data.data()), bytes / 4);
    return QString::fromLatin1(data.toBase64(kBase64Url));
}

QString OAuthSignIn::codeChallenge(const QString &verifier)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(verifier.toUtf8(), QCryptographicHash::Sha256).toBase64(kBase64Url));
}

QJsonObject OAuthSignIn::decodeIdTokenClaims(const QString &idToken)
{
    const QStringList parts = idToken.split(u'.');
    if (parts.size() < 2)
        return QJsonObject();
    QByteArray payload = parts.at(1).toLatin1();
    while (payload.size() % 4 != 0)
        payload += '=';
    return QJsonDocument::fromJson(QByteArray::fromBase64(payload, QByteArray::Base64UrlEncoding)).object();
}

void OAuthSignIn::fail(const QString &reason)
{
    if (m_finished)
        return;
    m_finished = true;
    closeServer();
    Q_EMIT signInFailed(reason);
}

void OAuthSignIn::succeed(const OAuthSignInResult &result)
{
    if (m_finished)
        return;
    m_finished = true;
    closeServer();
    Q_EMIT signInSucceeded(result);
}

void OAuthSignIn::closeServer()
{
    // Connections already open (the browser's spare one) still get their
    // failure page, until their idle time is up.
    if (m_server)
        m_server->close();
}

void OAuthSignIn::dropConnection(QTcpSocket *socket)
{
    if (!socket)
        return;
    m_connections.removeAll(socket);
    socket->abort();
    socket->deleteLater();
}

void OAuthSignIn::startSignIn()
{
    if (!m_provider.hasCredentials) {
        fail(m_provider.notConfigured);
        return;
    }
    m_server = new QTcpServer(this);
    if (!m_server->listen(QHostAddress::LocalHost, 0)) {
        fail(m_provider.cannotBind.arg(m_server->errorString()));
        return;
    }
    connect(m_server, &QTcpServer::newConnection, this, &OAuthSignIn::onConnection);
    m_redirectUri = u"http://127.0.0.1:%1"_s.arg(m_server->serverPort());
    m_verifier = randomUrlSafe(64);
    m_state = randomUrlSafe(16);

    QUrlQuery query;
    const OAuthProvider::Fields fields = m_provider.authorizationQuery(codeChallenge(m_verifier), m_state,
                                                                       m_redirectUri);
    for (const auto &[key, value] : fields)
        query.addQueryItem(key, QString::fromLatin1(QUrl::toPercentEncoding(value)));
    QUrl url = m_provider.authorizationEndpoint;
    url.setQuery(query);
    if (!QDesktopServices::openUrl(url))
        fail(m_provider.cannotLaunch);
}

void OAuthSignIn::cancelSignIn()
{
    fail(QCoreApplication::translate("OAuthSignIn", "Sign-in cancelled."));
}

void OAuthSignIn::onConnection()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        m_connections.removeAll(nullptr);
        while (m_connections.size() >= kMaxConnections)
            dropConnection(m_connections.constFirst());
        m_connections.append(socket);
        // A browser opens spare connections and leaves them idle; they, and
        // peers that never finish a request, are closed after a while.
        QTimer::singleShot(kIdleTimeoutMs, socket, [this, socket] { dropConnection(socket); });
        // The request line may come in several pieces; it is handled once
        // whole, and a head that never ends is refused rather than buffered.
        struct Head
        {
            QByteArray bytes;
            bool answered = false;
        };
        auto head = std::make_shared<Head>();
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, head] {
            const QByteArray more = socket->readAll();
            if (head->answered)
                return;
            head->bytes.append(more);
            const qsizetype lineEnd = head->bytes.indexOf('\n');
            if (lineEnd < 0 && head->bytes.size() < kMaxRequestHead)
                return;
            head->answered = true;
            handleLoopbackRequest(socket, lineEnd < 0 ? QByteArray() : head->bytes.left(lineEnd));
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void OAuthSignIn::answer(QTcpSocket *socket, bool success)
{
    m_connections.removeAll(socket);
    QByteArray response = success ? QByteArrayLiteral("HTTP/1.1 200 OK\r\n")
                                  : QByteArrayLiteral("HTTP/1.1 400 Bad Request\r\n");
    response += "Content-Type: text/html; charset=utf-8\r\nConnection: close\r\n\r\n";
    response += success ? kSuccessPage : kFailurePage;
    socket->write(response);
    socket->disconnectFromHost();
}

void OAuthSignIn::handleLoopbackRequest(QTcpSocket *socket, const QByteArray &head)
{
    const qsizetype first = head.indexOf(' ');
    const qsizetype second = first < 0 ? -1 : head.indexOf(' ', first + 1);
    if (first < 0 || second < 0 || m_finished || m_redirectTaken) {
        answer(socket, false);
        return;
    }
    // Providers encode the redirect's query as a form: "+" is a space.
    QString target = QString::fromLatin1(head.mid(first + 1, second - first - 1));
    target.replace(u'+', "%20"_L1);
    const QUrlQuery query(QUrl(u"http://127.0.0.1"_s + target, QUrl::TolerantMode));
    const auto value = [&query](const QString &key) { return query.queryItemValue(key, QUrl::FullyDecoded); };
    // Without this sign-in's state the request is not the provider's
    // redirect (the browser's favicon, another program, a guess), denial or
    // not: it neither ends the sign-in nor puts its words before the user.
    if (value(u"state"_s) != m_state) {
        qCDebug(lcProviders) << "sign-in listener refused a request without the sign-in's state";
        answer(socket, false);
    } else if (!value(u"error"_s).isEmpty()) {
        answer(socket, false);
        fail(m_provider.denied.arg(m_provider.denialDetail(query)));
    } else if (value(u"code"_s).isEmpty()) {
        answer(socket, false);
        fail(m_provider.noCode);
    } else {
        m_redirectTaken = true;
        answer(socket, true);
        closeServer();
        exchangeCode(value(u"code"_s));
    }
}

QNetworkReply *OAuthSignIn::postForm(const OAuthProvider::Fields &fields)
{
    QNetworkRequest request(m_provider.tokenEndpoint);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/x-www-form-urlencoded"));
    // A 307 or 308 elsewhere would have Qt post the code or refresh token there.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
    return m_network->post(request, formBody(fields));
}

void OAuthSignIn::exchangeCode(const QString &code)
{
    QNetworkReply *reply = postForm(m_provider.exchangeForm(code, m_verifier, m_redirectUri));
    connect(reply, &QNetworkReply::finished, this, [this, reply] { onTokenExchangeReply(reply); });
}

void OAuthSignIn::onTokenExchangeReply(QNetworkReply *reply)
{
    const TokenReply answer = readTokenReply(reply);
    if (m_finished)
        return; // cancelled meanwhile
    if (answer.status < 200 || answer.status > 299) {
        fail(QCoreApplication::translate("OAuthSignIn", "Token exchange failed (HTTP %1): %2")
                 .arg(answer.status)
                 .arg(QString::fromUtf8(answer.body)));
        return;
    }
    OAuthSignInResult result;
    result.accessToken = answer.json.value("access_token"_L1).toString();
    result.refreshToken = answer.json.value("refresh_token"_L1).toString();
    result.idToken = answer.json.value("id_token"_L1).toString();
    result.expiresAt = answer.expiresAt;
    if (result.accessToken.isEmpty()) {
        fail(m_provider.noAccessToken);
        return;
    }
    if (result.refreshToken.isEmpty()) {
        fail(m_provider.noRefreshToken);
        return;
    }
    const QJsonObject claims = decodeIdTokenClaims(result.idToken);
    result.email = m_provider.emailFromClaims(claims);
    result.displayName = claims.value("name"_L1).toString();
    succeed(result);
}

void OAuthSignIn::refresh(const QString &refreshToken)
{
    if (!m_provider.hasCredentials) {
        Q_EMIT refreshFailed(
            SyncResult::ofProvider(m_provider.id, SyncResult::Kind::NotConfigured, SyncResult::Step::TokenRefresh));
        return;
    }
    QNetworkReply *reply = postForm(m_provider.refreshForm(refreshToken));
    connect(reply, &QNetworkReply::finished, this, [this, reply] { onRefreshReply(reply); });
}

void OAuthSignIn::onRefreshReply(QNetworkReply *reply)
{
    const TokenReply answer = readTokenReply(reply);
    if (answer.status < 200 || answer.status > 299) {
        Q_EMIT refreshFailed(answer.failure(m_provider.id, SyncResult::Step::TokenRefresh));
        return;
    }
    const QString access = answer.json.value("access_token"_L1).toString();
    if (access.isEmpty()) {
        Q_EMIT refreshFailed(
            SyncResult::ofProvider(m_provider.id, SyncResult::Kind::Unreadable, SyncResult::Step::TokenRefresh));
        return;
    }
    Q_EMIT refreshSucceeded(access, answer.expiresAt, answer.json.value("refresh_token"_L1).toString());
}
