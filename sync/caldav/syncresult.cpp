#include "syncresult.h"

#include <QRegularExpression>

namespace {

// Enough of an error body to recognise it in the log or a tooltip.
constexpr int kServerTextLength = 200;

} // namespace

SyncResult SyncResult::fromHttp(int status, const QString &networkError, const QByteArray &body)
{
    SyncResult result;
    result.status = status;
    result.networkError = networkError;
    // Error bodies are often XML or HTML: the tags go, the words stay.
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    result.serverText = QString::fromUtf8(body.left(4 * kServerTextLength)).remove(tag).simplified().left(kServerTextLength);
    return result;
}

bool SyncResult::isSuccess() const
{
    return networkError.isEmpty() && status >= 200 && status <= 299;
}

bool SyncResult::hasConflict() const
{
    return networkError.isEmpty() && status == 412;
}

bool SyncResult::isRefusal() const
{
    return networkError.isEmpty() && (status == 400 || status == 403 || status == 413 || status == 415);
}

bool SyncResult::canRetryLater() const
{
    return !networkError.isEmpty() || status == 0 || status == 401 || status == 408 || status == 429
        || status >= 500;
}

QString SyncResult::describe() const
{
    if (!networkError.isEmpty())
        return networkError;
    const QString head = QStringLiteral("HTTP %1").arg(status);
    return serverText.isEmpty() ? head : head + QStringLiteral(": ") + serverText;
}

bool operator==(const SyncResult &a, const SyncResult &b)
{
    return a.status == b.status && a.networkError == b.networkError && a.serverText == b.serverText;
}
