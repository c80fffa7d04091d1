#pragma once

#include "event.h"
#include "providerstore.h"
#include "storeworker.h"

#include <QList>
#include <QObject>
#include <QPair>
#include <QString>

#include <atomic>
#include <functional>

class AppState;

// A pulled listing read into, or written to, a calendar's rows on a thread
// of its own, over its own connection to the database file, so that the
// window keeps answering while thousands of rows go in. A writing job holds
// the write lock from its start and commits once at its end: until then
// nothing of it is seen, and a job that fails to commit leaves nothing
// behind. finished() comes once, on the job's thread, after the commit.
// Destroying the job cancels it (what it wrote is rolled back, finished()
// never comes) and waits for its thread.
class ProviderApplyJob : public QObject
{
    Q_OBJECT
public:
    struct Outcome
    {
        int upserted = 0;
        int tombstoned = 0;
        // Rows not stored: all it wrote when the commit failed, 1 when
        // nothing could be begun.
        int failed = 0;
        QList<QPair<Event, Event>> conflicts; // local, remote, as met
    };
    // The reads and writes, through `store`; counts into `outcome`. Long
    // loops look at `cancelled` and stop once it is set.
    using Work = std::function<void(const ProviderStore &store, Outcome &outcome, const std::atomic<bool> &cancelled)>;
    enum class Access { Read, Write };

    ProviderApplyJob(const QString &databaseFile, Access access, Work work, QObject *parent = nullptr);
    ~ProviderApplyJob() override;

    void start();
    // A job on the rows of `appState`'s database file owned by `owner`:
    // started at once; on the owner's thread the conflicts it met are
    // recorded and `then` is called with its outcome, the job gone after.
    // Destroyed with `owner`, it rolls back and `then` never comes.
    static void startFor(QObject *owner, AppState *appState, Access access, Work work,
                         std::function<void(const Outcome &)> then);
    // The conflicts the job met, recorded on the application's list: call
    // on the application's thread once the job has finished.
    static void record(AppState *appState, const Outcome &outcome);

Q_SIGNALS:
    void finished(const ProviderApplyJob::Outcome &outcome);

private:
    void run(Database *database);

    Access m_access;
    Work m_work;
    bool m_started = false;
    std::atomic<bool> m_cancel{false};
    StoreWorker m_worker; // last: it stops before the rest goes
};

Q_DECLARE_METATYPE(ProviderApplyJob::Outcome)
