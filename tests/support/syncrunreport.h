#pragma once

// How the sync harnesses read one run of a client from spies on its
// started, completed and failed signals (the calendar first, then the count
// or the SyncResult).

#include "syncresult.h"

#include <QSignalSpy>
#include <QString>
#include <QTest>

// So that QCOMPARE prints the results it compares.
inline char *toString(const SyncResult &result)
{
    return QTest::toString(QStringLiteral("kind %1, step %2, status %3, network error %4 \"%5\", server \"%6\", "
                                          "subject \"%7\", limit %8, store %9")
                               .arg(int(result.kind))
                               .arg(int(result.step))
                               .arg(result.status)
                               .arg(int(result.networkError))
                               .arg(result.networkErrorText, result.serverText, result.subject)
                               .arg(result.limit)
                               .arg(int(result.storeFailure)));
}

// What one run of a sync client came to.
struct RunOutcome
{
    bool completed = false;
    int count = -1;
    SyncResult result;
    QString failure; // the result described
};

namespace SyncRunReport {

// Waits for the run to end and fills `outcome`'s completed, count, result
// and failure (the result's description): exactly one start and one end make a clean run. Returns false
// (with `notEnded` as the failure) when no end came.
inline bool read(const QSignalSpy &started, const QSignalSpy &completed, const QSignalSpy &failed,
                 const QString &notEnded, RunOutcome &outcome)
{
    if (!QTest::qWaitFor([&] { return completed.size() + failed.size() > 0; }, 20000)) {
        outcome.failure = notEnded;
        return false;
    }
    QTest::qWait(20); // a second report would show here
    if (started.size() != 1 || completed.size() + failed.size() != 1)
        outcome.failure =
            QStringLiteral("reported %1 starts, %2 ends").arg(started.size()).arg(completed.size() + failed.size());
    else if (!completed.isEmpty())
        outcome.completed = true;
    if (!completed.isEmpty())
        outcome.count = completed.first().at(1).toInt();
    if (!failed.isEmpty()) {
        outcome.result = failed.first().at(1).value<SyncResult>();
        outcome.failure = outcome.result.describe();
    }
    return true;
}

// The spies on a client's started, completed and failed signals, made before
// the run starts.
template<typename Client>
struct Spies
{
    QSignalSpy started;
    QSignalSpy completed;
    QSignalSpy failed;

    explicit Spies(Client *client)
        : started(client, &Client::calendarSyncStarted)
        , completed(client, &Client::calendarSyncCompleted)
        , failed(client, &Client::calendarSyncFailed)
    {
    }

    bool read(const QString &notEnded, RunOutcome &outcome) const
    {
        return SyncRunReport::read(started, completed, failed, notEnded, outcome);
    }
};

} // namespace SyncRunReport
