#pragma once

#include "syncresult.h"

#include <QByteArray>
#include <QJsonObject>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QString>

#include <optional>

class QDateTime;
class QUrl;

// The request and reply plumbing both calendar REST clients share.
namespace ProviderHttp {

struct Reply
{
    int status = 0;
    QByteArray body;
    // Set only when no HTTP answer came.
    QNetworkReply::NetworkError networkError = QNetworkReply::NoError;
    QString networkErrorText;
    std::optional<SyncResult> cutOff; // the answer passed its ReplySizeGuard bound
    qint64 retryAfterSecs = 0;        // a 429's or 503's Retry-After, in seconds
    bool rateLimited = false;         // a 403 that names a rate or usage limit, not the item
    bool ok() const { return !cutOff && status >= 200 && status < 300; }
    // A delete succeeded, or the resource was gone already: both count as deleted.
    bool deleted() const { return ok() || status == 404 || status == 410; }
    // This reply as the failure of `provider`'s request at `step`.
    SyncResult failure(SyncResult::Provider provider, SyncResult::Step step) const;
};

// The status and body of a finished reply, which is then let go.
Reply take(QNetworkReply *reply);

// A Retry-After value (seconds, or an HTTP date after `now`) in seconds; 0
// when it says neither.
qint64 retryAfterSecs(const QByteArray &value, const QDateTime &now);

// The JSON object a 2xx body must be; nothing when it is anything else, cut
// short included.
std::optional<QJsonObject> jsonObject(const QByteArray &body);

// A JSON request carrying the bearer token; `json` marks a JSON body.
QNetworkRequest bearerRequest(const QString &url, const QString &accessToken, bool json);

// The same, guarded by an entity tag when there is one.
QNetworkRequest bearerRequest(const QString &url, const QString &accessToken, bool json, const QString &etag);

// Calendar and event ids carry "@", "#", "/" and "=": everything but the
// unreserved characters is escaped.
QString pathSegment(const QString &id);

QString isoUtc(const QDateTime &value);
// A provider's ISO 8601 time, with or without milliseconds; invalid when
// it is neither.
QDateTime parseIso(const QString &text);

// The API base without trailing slashes, ready for a path to be appended.
QString baseWithoutSlash(const QUrl &base);

} // namespace ProviderHttp
