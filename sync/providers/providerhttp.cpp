#include "providerhttp.h"

#include "providerslog.h"
#include "replysizeguard.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QTimeZone>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace ProviderHttp {

namespace {

// Google answers a rate or quota limit as often with 403 as with 429, named
// by the reason (rateLimitExceeded, userRateLimitExceeded, dailyLimitExceeded,
// quotaExceeded): a pause, not a refusal of the item. The domain alone says
// nothing: "usageLimits" also names an API switched off for the project
// (accessNotConfigured), which no waiting cures.
bool isUsageLimit(const QByteArray &body)
{
    const QJsonArray errors =
        QJsonDocument::fromJson(body).object().value("error"_L1).toObject().value("errors"_L1).toArray();
    for (const QJsonValue &error : errors) {
        const QString reason = error.toObject().value("reason"_L1).toString();
        if (reason.endsWith("LimitExceeded"_L1) || reason == "quotaExceeded"_L1)
            return true;
    }
    return false;
}

// Enough of a refusal to tell what the provider meant.
constexpr qsizetype kLoggedBytes = 300;

// The start of a refused answer for the log: on one line, and without the
// values of anything that looks like a credential ("access_token": "…",
// "Bearer …", "code=…"), also one the cut runs through.
QString loggable(const QByteArray &body)
{
    static const QRegularExpression jsonSecret(
        uR"re(("[^"]*(?:token|secret|password|code|assertion|key)[^"]*"\s*:\s*)"[^"]*"?)re"_s,
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression bearer(uR"re((bearer\s+)[^\s"',]+)re"_s, QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression queryToken(uR"re(((?:token|secret|code)=)[^&\s"']+)re"_s,
                                               QRegularExpression::CaseInsensitiveOption);
    QString text = QString::fromUtf8(body.left(kLoggedBytes)).simplified();
    text.replace(jsonSecret, uR"re(\1"…")re"_s);
    text.replace(bearer, u"\\1…"_s);
    text.replace(queryToken, u"\\1…"_s);
    return body.size() > kLoggedBytes ? text + u" …"_s : text;
}

} // namespace

Reply take(QNetworkReply *reply)
{
    Reply out;
    out.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    out.cutOff = ReplySizeGuard::verdict(reply);
    out.body = out.cutOff ? QByteArray() : reply->readAll();
    if (out.status != 0 && !out.ok())
        qCWarning(lcProviders).noquote() << "answer HTTP" << out.status << "from" << reply->url().host() << ":"
                                      << loggable(out.body);
    // The status stays as it came: the user is told what the server said.
    out.rateLimited = out.status == 403 && isUsageLimit(out.body);
    if (out.status == 429 || out.status == 503 || out.rateLimited)
        out.retryAfterSecs = retryAfterSecs(reply->rawHeader("Retry-After"), QDateTime::currentDateTimeUtc());
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
    if (rateLimited)
        result.kind = SyncResult::Kind::RateLimited;
    result.step = step;
    result.provider = provider;
    result.retryAfterSecs = retryAfterSecs;
    return result;
}

qint64 retryAfterSecs(const QByteArray &value, const QDateTime &now)
{
    const QByteArray text = value.trimmed();
    if (text.isEmpty())
        return 0;
    bool number = false;
    const qint64 secs = text.toLongLong(&number);
    if (number)
        return std::max<qint64>(secs, 0);
    // An HTTP date: "Wed, 21 Oct 2015 07:28:00 GMT".
    QDateTime at = QDateTime::fromString(QString::fromLatin1(text), Qt::RFC2822Date);
    if (!at.isValid()) {
        at = QLocale::c().toDateTime(QString::fromLatin1(text), u"ddd, dd MMM yyyy HH:mm:ss 'GMT'"_s);
        at.setTimeZone(QTimeZone::utc());
    }
    return at.isValid() ? std::max<qint64>(now.secsTo(at), 0) : 0;
}

std::optional<QJsonObject> jsonObject(const QByteArray &body)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return document.object();
}

QNetworkRequest bearerRequest(const QString &url, const QString &accessToken, bool json)
{
    QNetworkRequest request(QUrl(url, QUrl::TolerantMode));
    request.setRawHeader("Authorization", "Bearer " + accessToken.toUtf8());
    // Qt would send the token on to whatever host a redirect names.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
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
