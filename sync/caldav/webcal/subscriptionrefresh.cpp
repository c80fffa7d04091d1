#include "subscriptionrefresh.h"

#include "accountrepository.h"
#include "appstate.h"
#include "calendarrepository.h"
#include "webcalsyncclient.h"

namespace Webcal {

struct SubscriptionRefresh::Run
{
    SyncClient *client = nullptr;
    QSet<QString> open; // started, not yet reported
    bool starting = true; // syncCalendar calls still being made
};

SubscriptionRefresh::SubscriptionRefresh(AppState *appState, QObject *parent)
    : QObject(parent)
    , m_appState(appState)
{
}

SubscriptionRefresh::~SubscriptionRefresh()
{
    qDeleteAll(m_runs);
}

void SubscriptionRefresh::setLimits(int timeLimitMs, qint64 sizeLimitBytes)
{
    m_timeLimitMs = timeLimitMs;
    m_sizeLimitBytes = sizeLimitBytes;
}

void SubscriptionRefresh::refreshAll()
{
    if (!m_appState || !m_appState->accounts() || !m_appState->calendars())
        return;
    QList<Calendar> due;
    const QList<Account> accounts = m_appState->accounts()->getAll();
    for (const Account &account : accounts) {
        if (!account.enabled || account.type != SyncClient::kAccountType)
            continue;
        const QList<Calendar> calendars = m_appState->calendars()->getByAccount(account.id);
        for (const Calendar &calendar : calendars) {
            if (calendar.sync_enabled && !m_inFlight.contains(calendar.id))
                due.append(calendar);
        }
    }
    if (due.isEmpty())
        return;

    auto *run = new Run;
    m_runs.append(run);
    run->client = new SyncClient(m_appState, this);
    if (m_timeLimitMs > 0 && m_sizeLimitBytes > 0)
        run->client->setLimits(m_timeLimitMs, m_sizeLimitBytes);
    connect(run->client, &SyncClient::calendarSyncStarted, this, [this, run](const QString &id) {
        if (run->open.contains(id))
            return;
        run->open.insert(id);
        m_inFlight.insert(id);
        m_appState->beginSync();
    });
    connect(run->client, &SyncClient::calendarSyncCompleted, this,
            [this, run](const QString &id, int count) { onReported(run, id, count, std::nullopt); });
    connect(run->client, &SyncClient::calendarSyncFailed, this,
            [this, run](const QString &id, const SyncResult &result) { onReported(run, id, 0, result); });
    for (const Calendar &calendar : std::as_const(due))
        run->client->syncCalendar(calendar);
    run->starting = false;
    if (run->open.isEmpty())
        finishRun(run);
}

void SubscriptionRefresh::onReported(Run *run, const QString &calendarId, int count,
                                     const std::optional<SyncResult> &result)
{
    if (!run->open.remove(calendarId))
        return;
    m_inFlight.remove(calendarId);
    QString problem;
    if (result) {
        Q_EMIT calendarRefreshFailed(calendarId, *result);
    } else {
        if (const std::optional<Calendar> calendar = m_appState->calendars()->getById(calendarId))
            problem = calendar->last_sync_error;
        Q_EMIT calendarRefreshed(calendarId, count, problem);
    }
    m_appState->endSync(result.has_value() || !problem.isEmpty());
    // Deleted only now: the client's calendars have all reported.
    if (run->open.isEmpty() && !run->starting)
        finishRun(run);
}

void SubscriptionRefresh::finishRun(Run *run)
{
    run->client->disconnect(this);
    run->client->deleteLater();
    m_runs.removeOne(run);
    delete run;
}

} // namespace Webcal
