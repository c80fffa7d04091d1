#include "providerapplyjob.h"

#include "appstate.h"
#include "database.h"
#include "eventrepository.h"
#include "providerslog.h"
#include "storetransaction.h"


ProviderApplyJob::ProviderApplyJob(const QString &databaseFile, Access access, Work work, QObject *parent)
    : QObject(parent)
    , m_access(access)
    , m_work(std::move(work))
    , m_worker(databaseFile, QStringLiteral("provider-apply"))
{
}

ProviderApplyJob::~ProviderApplyJob()
{
    m_cancel = true;
}

void ProviderApplyJob::start()
{
    if (std::exchange(m_started, true))
        return;
    m_worker.post([this](Database *database) { run(database); });
}

void ProviderApplyJob::startFor(QObject *owner, AppState *appState, Access access, Work work,
                                std::function<void(const Outcome &)> then)
{
    auto *job = new ProviderApplyJob(appState->database()->fileName(), access, std::move(work), owner);
    connect(job, &ProviderApplyJob::finished, owner, [job, appState, then = std::move(then)](const Outcome &outcome) {
        job->deleteLater();
        record(appState, outcome);
        then(outcome);
    });
    job->start();
}

void ProviderApplyJob::run(Database *database)
{
    Outcome outcome;
    if (!database) {
        outcome.failed = 1;
    } else {
        EventRepository events(database);
        const ProviderStore store{database, &events, [&outcome](const Event &local, const Event &remote) {
                                      outcome.conflicts.append({local, remote});
                                  }};
        // Taken at once: a write lock met only at the first write would
        // find this job's snapshot outdated when another wrote meanwhile.
        std::optional<StoreTransaction> transaction;
        if (m_access == Access::Write)
            transaction.emplace(database, StoreTransaction::Lock::Immediate);
        if (transaction && !transaction->isActive()) {
            qCWarning(lcProviders) << "could not begin the transaction of a pulled listing:"
                                   << transaction->errorText();
            outcome.failed = 1;
        } else {
            m_work(store, outcome, m_cancel);
            // Cancelled: the transaction rolls back as it goes.
            if (!m_cancel && transaction && !transaction->keep()) {
                qCWarning(lcProviders) << "could not commit a pulled listing:" << transaction->errorText();
                // Nothing of it stands: every row it wrote is unsaved again.
                const int unsaved = outcome.upserted + outcome.tombstoned + outcome.failed;
                outcome = Outcome{0, 0, qMax(unsaved, 1), {}};
            }
        }
    }
    // What the work holds (thousands of pulled items) is freed here rather
    // than on the window's thread.
    m_work = nullptr;
    if (m_cancel)
        return;
    QMetaObject::invokeMethod(
        this, [this, outcome] { Q_EMIT finished(outcome); }, Qt::QueuedConnection);
}

void ProviderApplyJob::record(AppState *appState, const Outcome &outcome)
{
    const ProviderStore store = ProviderStore::of(appState);
    for (const auto &[local, remote] : outcome.conflicts)
        store.conflict(local, remote);
}
