#include "syncresult.h"

#include <QRegularExpression>

namespace {

// Enough of an error body to recognise it in the log or a tooltip.
constexpr int kServerTextLength = 200;

bool hasAnswer(const SyncResult &result)
{
    return result.kind == SyncResult::Kind::Answer;
}

} // namespace

SyncResult SyncResult::fromHttp(int status, const QString &networkErrorText, const QByteArray &body)
{
    return fromReply(Step::None, status, QNetworkReply::NoError, networkErrorText, body);
}

SyncResult SyncResult::fromReply(Step step, int status, QNetworkReply::NetworkError networkError,
                                 const QString &networkErrorText, const QByteArray &body)
{
    SyncResult result;
    result.step = step;
    result.status = status;
    result.networkError = networkError;
    result.networkErrorText = networkErrorText;
    if (!networkErrorText.isEmpty()) {
        result.kind = networkError == QNetworkReply::SslHandshakeFailedError ? Kind::UntrustedCertificate
                                                                             : Kind::Network;
    }
    // Error bodies are often XML or HTML: the tags go, the words stay.
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    result.serverText =
        QString::fromUtf8(body.left(4 * kServerTextLength)).remove(tag).simplified().left(kServerTextLength);
    return result;
}

SyncResult SyncResult::failure(Kind kind, Step step)
{
    SyncResult result;
    result.kind = kind;
    result.step = step;
    return result;
}

SyncResult SyncResult::ofProvider(Provider provider, Kind kind, Step step)
{
    SyncResult result = failure(kind, step);
    result.provider = provider;
    return result;
}

bool SyncResult::isSuccess() const
{
    return hasAnswer(*this) && status >= 200 && status <= 299;
}

bool SyncResult::hasConflict() const
{
    return hasAnswer(*this) && status == 412;
}

bool SyncResult::isRefusal() const
{
    return hasAnswer(*this) && (status == 400 || status == 403 || status == 413 || status == 415);
}

bool SyncResult::canRetryLater() const
{
    switch (kind) {
    case Kind::Answer: return status == 0 || status == 401 || status == 408 || status == 429 || status >= 500;
    case Kind::Network:
    case Kind::UntrustedCertificate:
    case Kind::SignInNeeded:
    case Kind::TimedOut:
    case Kind::LocalStore:
    case Kind::SyncTokenRefused:
    case Kind::EndlessListing:
    case Kind::IncompleteListing:
    // What sends a DTD is the server or something on the way, not an item.
    case Kind::DocumentType:
    // A limit that replenishes: the same request goes through later.
    case Kind::RateLimited:
    // An answer cut off at its bound says nothing about the items in it.
    case Kind::TooLarge: return true;
    case Kind::EmptyAnswer:
    case Kind::Unreadable:
    case Kind::BadAddress:
    case Kind::Cancelled:
    case Kind::NothingFound:
    case Kind::AccountMissing:
    case Kind::NotConfigured: break;
    }
    return false;
}

QString SyncResult::describe() const
{
    switch (kind) {
    case Kind::Answer: {
        const QString head = QStringLiteral("HTTP %1").arg(status);
        return serverText.isEmpty() ? head : head + QStringLiteral(": ") + serverText;
    }
    case Kind::Network:
    case Kind::UntrustedCertificate: return networkErrorText;
    case Kind::SignInNeeded: return QStringLiteral("sign-in needed");
    case Kind::EmptyAnswer: return QStringLiteral("empty answer");
    case Kind::Unreadable: return QStringLiteral("unreadable answer");
    case Kind::LocalStore: return QStringLiteral("local store failed (%1)").arg(int(storeFailure));
    case Kind::TimedOut: return QStringLiteral("no answer within %1 s").arg(limit);
    case Kind::TooLarge: return QStringLiteral("answer larger than %1 bytes").arg(limit);
    case Kind::BadAddress: return QStringLiteral("bad address");
    case Kind::Cancelled: return QStringLiteral("cancelled");
    case Kind::NothingFound: return QStringLiteral("nothing found");
    case Kind::AccountMissing: return QStringLiteral("account missing");
    case Kind::NotConfigured: return QStringLiteral("no OAuth credentials in this build");
    case Kind::SyncTokenRefused: return QStringLiteral("sync token refused again");
    case Kind::EndlessListing: return QStringLiteral("listing did not end");
    case Kind::IncompleteListing: return QStringLiteral("listing cut short by the server");
    case Kind::DocumentType: return QStringLiteral("answer with a document type (DTD) refused");
    case Kind::RateLimited: return QStringLiteral("rate limit (HTTP %1)").arg(status);
    }
    return QString();
}

bool operator==(const SyncResult &a, const SyncResult &b)
{
    return a.kind == b.kind && a.step == b.step && a.provider == b.provider && a.status == b.status
        && a.networkError == b.networkError && a.networkErrorText == b.networkErrorText && a.serverText == b.serverText
        && a.subject == b.subject && a.limit == b.limit && a.storeFailure == b.storeFailure
        && a.retryAfterSecs == b.retryAfterSecs;
}
