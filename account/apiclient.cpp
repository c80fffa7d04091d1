#include "apiclient.h"

#include "accountlog.h"

#include <QJsonParseError>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>

using namespace Qt::StringLiterals;

namespace TolmAccount {

ApiClient::ApiClient(QNetworkAccessManager *network, TokenProvider token, QObject *parent)
    : QObject(parent)
    , m_network(network)
    , m_token(std::move(token))
{
}

QUrl ApiClient::endpoint(const QString &path) const
{
    QUrl url = m_baseUrl;
    QString base = url.path();
    while (base.endsWith(u'/'))
        base.chop(1);
    url.setPath(base + (path.startsWith(u'/') ? path : u'/' + path));
    return url;
}

void ApiClient::get(const QString &path, QObject *context, Callback done)
{
    send("GET", path, {}, context, std::move(done));
}

void ApiClient::post(const QString &path, const QJsonObject &body, QObject *context, Callback done)
{
    send("POST", path, QJsonDocument(body).toJson(QJsonDocument::Compact), context, std::move(done));
}

void ApiClient::send(const QByteArray &verb, const QString &path, const QByteArray &body, QObject *context,
                     Callback done)
{
    const QUrl url = endpoint(path);
    QNetworkRequest request(url);
    request.setTransferTimeout(m_transferTimeoutMs);
    request.setRawHeader("Accept", "application/json");
    if (!body.isEmpty())
        request.setHeader(QNetworkRequest::ContentTypeHeader, u"application/json"_s);
    const QString token = m_token ? m_token() : QString();
    if (!token.isEmpty())
        request.setRawHeader("Authorization", "Bearer " + token.toUtf8());
    // Qt would send the token on to whatever host a redirect names.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);

    QNetworkReply *reply = m_network->sendCustomRequest(request, verb, body);
    qCDebug(lcAccount) << verb << url.path();
    // Deleted whether or not anyone still listens for the answer.
    connect(reply, &QNetworkReply::finished, reply, &QObject::deleteLater);
    connect(reply, &QNetworkReply::finished, context ? context : this, [reply, done = std::move(done), verb, url] {
        ApiResponse response;
        response.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        const QByteArray bytes = reply->readAll();
        if (response.status == 0) {
            response.error = reply->errorString();
        } else if (response.status < 200 || response.status > 299) {
            response.error = u"HTTP %1"_s.arg(response.status);
        } else if (!bytes.trimmed().isEmpty()) {
            QJsonParseError parseError;
            response.body = QJsonDocument::fromJson(bytes, &parseError);
            if (parseError.error != QJsonParseError::NoError)
                response.error = u"answer of %1 bytes is not JSON"_s.arg(bytes.size());
        }
        qCDebug(lcAccount) << verb << url.path() << "->" << response.status << bytes.size() << "bytes";
        done(response);
    });
}

} // namespace TolmAccount
