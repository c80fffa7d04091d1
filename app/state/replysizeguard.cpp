#include "replysizeguard.h"

#include "applog.h"

#include <QNetworkReply>

ReplySizeGuard::ReplySizeGuard(QNetworkReply *reply, qint64 limitBytes)
    : QObject(reply)
    , m_reply(reply)
    , m_limit(limitBytes)
{
    connect(reply, &QNetworkReply::downloadProgress, this, &ReplySizeGuard::check);
    // What is buffered may outgrow what came over the wire: a compressed
    // answer is counted as it is read.
    connect(reply, &QNetworkReply::readyRead, this, [this] { check(m_reply->bytesAvailable(), -1); });
}

void ReplySizeGuard::watch(QNetworkReply *reply, qint64 limitBytes)
{
    new ReplySizeGuard(reply, limitBytes);
}

std::optional<SyncResult> ReplySizeGuard::verdict(const QNetworkReply *reply)
{
    const auto *guard = reply->findChild<ReplySizeGuard *>(QString(), Qt::FindDirectChildrenOnly);
    if (!guard || !guard->m_cut)
        return std::nullopt;
    SyncResult result = SyncResult::failure(SyncResult::Kind::TooLarge);
    result.limit = guard->m_limit;
    return result;
}

void ReplySizeGuard::check(qint64 received, qint64 total)
{
    if (m_cut || (received <= m_limit && total <= m_limit))
        return;
    m_cut = true;
    qCWarning(lcApp) << "an answer from" << m_reply->url().host() << "passed" << m_limit << "bytes; cut off";
    // Finishes the reply at once; its handler asks verdict().
    m_reply->abort();
}
