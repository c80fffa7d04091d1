#include "providerhttp.h"

#include "replysizeguard.h"

#include <QDateTime>
#include <QNetworkReply>
#include <QUrl>

namespace ProviderHttp {

Reply take(QNetworkReply *reply)
{
    Reply out;
    out.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    out.cutOff = ReplySizeGuard::verdict(reply);
    out.body = out.cutOff ? QByteArray() : reply->readAll();
    if (out.status == 0 && reply->error() != QNetworkReply::NoError) {
        out.networkError = reply->error();
        out.networkErrorText = reply->errorString();
    }
    reply->deleteLater();
    return out;
}

SyncResult Reply::failure(SyncResult::Provider provider, SyncResult::Step step) const
{
    SyncResult result = cutOff ? *cutOff : SyncResult::fromReply(step, status, networkError, networkErrorText, body);
    result.step = step;
    result.provider = provider;
    return result;
}

QNetworkRequest bearerRequest(const QString &url, const QString &accessToken, bool json)
{
    QNetworkRequest request(QUrl(url, QUrl::TolerantMode));
    request.setRawHeader("Authorization", "Bearer " + accessToken.toUtf8());
    request.setRawHeader("Accept", "application/json");
    if (json)
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    return request;
}

QNetworkRequest bearerRequest(const QString &url, const QString &accessToken, bool json, const QString &etag)
{
    QNetworkRequest request = bearerRequest(url, accessToken, json);
    if (!etag.isEmpty())
        request.setRawHeader("If-Match", etag.toUtf8());
    return request;
}

QString pathSegment(const QString &id)
{
    return QString::fromLatin1(id.toUtf8().toPercentEncoding());
}

QString isoUtc(const QDateTime &value)
{
    return value.toUTC().toString(Qt::ISODateWithMs);
}

QDateTime parseIso(const QString &text)
{
    const QDateTime value = QDateTime::fromString(text, Qt::ISODateWithMs);
    return value.isValid() ? value : QDateTime::fromString(text, Qt::ISODate);
}

QString baseWithoutSlash(const QUrl &base)
{
    QString text = base.toString();
    while (text.endsWith(u'/'))
        text.chop(1);
    return text;
}

} // namespace ProviderHttp
