#pragma once

#include <QJsonDocument>
#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>

class QNetworkAccessManager;
class QNetworkReply;

namespace TolmAccount {

// The outcome of one request: the HTTP status (0 when no answer arrived), the
// JSON body and, on failure, a short reason without secrets or payload.
struct ApiResponse
{
    int status = 0;
    QJsonDocument body; // null when the answer was empty
    QString error; // empty on success

    bool ok() const { return error.isEmpty(); }
    // Worth trying again later: no answer, or the server was busy or broken.
    bool canRetryLater() const { return status == 0 || status == 429 || status >= 500; }
};

// JSON over HTTP against one service of the maker. Every request carries the
// account's bearer token when there is one. A 2xx answer whose body is empty
// or JSON succeeds; anything else fails.
class ApiClient : public QObject
{
    Q_OBJECT
public:
    using Callback = std::function<void(const ApiResponse &)>;
    // Asked for the current access token before each request; empty: none.
    using TokenProvider = std::function<QString()>;

    // `network` is not owned and must outlive the client.
    ApiClient(QNetworkAccessManager *network, TokenProvider token, QObject *parent = nullptr);

    void setBaseUrl(const QUrl &url) { m_baseUrl = url; }
    QUrl baseUrl() const { return m_baseUrl; }
    // The base URL with `path` ("/calendars") appended to its path.
    QUrl endpoint(const QString &path) const;

    // `done` runs once, from the event loop, unless `context` was destroyed
    // first; the reply is deleted either way.
    void get(const QString &path, QObject *context, Callback done);
    void post(const QString &path, const QJsonObject &body, QObject *context, Callback done);

    // A server that accepts the connection but never answers fails the
    // request after this long (default 30 s).
    void setTransferTimeout(int msecs) { m_transferTimeoutMs = msecs; }

private:
    void send(const QByteArray &verb, const QString &path, const QByteArray &body, QObject *context, Callback done);

    QNetworkAccessManager *m_network;
    TokenProvider m_token;
    QUrl m_baseUrl;
    int m_transferTimeoutMs = 30000;
};

} // namespace TolmAccount
