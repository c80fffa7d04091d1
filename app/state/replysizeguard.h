#pragma once

#include "syncresult.h"

#include <QObject>

#include <optional>

class QNetworkReply;

// Bounds how much of one answer a sync request takes in: a server that
// streams without end, or announces more than the bound, is cut off there
// instead of filling memory. The bounds are per kind of answer, each well
// above what a legitimate one holds (an 18 MB feed of 130,000 events is
// ordinary) and well below what the machine can hold twice over.
class ReplySizeGuard : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 kMiB = 1024 * 1024;
    // A PROPFIND or REPORT answer: the ETags of a large collection, or a
    // multiget of a hundred objects.
    static constexpr qint64 kMultistatusBytes = 64 * kMiB;
    // The answer to a write or the read of one object.
    static constexpr qint64 kObjectBytes = 16 * kMiB;
    // A whole subscription feed.
    static constexpr qint64 kFeedBytes = 64 * kMiB;
    // One page of a provider's JSON listing, or its answer to a write.
    static constexpr qint64 kJsonPageBytes = 32 * kMiB;

    // Aborts `reply` once its announced length or the body received passes
    // `limitBytes`. The guard is the reply's child and dies with it; the
    // reply then finishes with OperationCanceledError and verdict() says why.
    static void watch(QNetworkReply *reply, qint64 limitBytes);
    // Kind::TooLarge with the bound as `limit` when `reply`'s guard cut it
    // off; nothing otherwise.
    static std::optional<SyncResult> verdict(const QNetworkReply *reply);

private:
    ReplySizeGuard(QNetworkReply *reply, qint64 limitBytes);
    void check(qint64 received, qint64 total);

    QNetworkReply *m_reply;
    qint64 m_limit;
    bool m_cut = false;
};
