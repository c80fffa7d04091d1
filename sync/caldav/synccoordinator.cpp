#include "synccoordinator.h"

#include "accountrepository.h"
#include "appstate.h"
#include "boundednetworkaccessmanager.h"
#include "caldavclient.h"
#include "caldavdiscovery.h"
#include "caldavlog.h"
#include "caldavmerge.h"
#include "caldavsyncclient.h"
#include "calendarrepository.h"
#include "eventrepository.h"
#include "googlesyncclient.h"
#include "microsoftsyncclient.h"
#include "recordnames.h"
#include "replysizeguard.h"
#include "subscriptionrefresh.h"
#include "taskrepository.h"
#include "tokenstore.h"

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

bool isCalDavType(const QString &type)
{
    return type == AccountType::CalDav || type == AccountType::ICloud || type == AccountType::Zoho;
}

// A row as the user left it: what a run writes into it left out.
template<typename Row>
Row withoutSyncState(Row row)
{
    row.href.clear();
    row.etag.clear();
    row.sync_status.clear();
    return row;
}

template<typename Row>
bool differsFromSeen(const QList<Row> &pending, const QHash<QString, Row> &seen)
{
    for (const Row &row : pending) {
        const auto it = seen.constFind(row.id);
        if (it == seen.cend() || *it != withoutSyncState(row))
            return true;
    }
    return false;
}

template<typename Row>
QHash<QString, Row> keyed(const QList<Row> &rows)
{
    QHash<QString, Row> out;
    for (const Row &row : rows)
        out.insert(row.id, withoutSyncState(row));
    return out;
}

bool isGoogleType(const QString &type)
{
    return type == AccountType::Google;
}

bool isMicrosoftType(const QString &type)
{
    return type == AccountType::Microsoft;
}

} // namespace

// The calendars one sync client runs, until each has reported.
struct SyncCoordinator::Batch
{
    QString accountId;
    CalDavSyncClient *client = nullptr;
    QObject *provider = nullptr; // a Google or Microsoft account's client instead
    QSet<QString> open; // started, not yet reported
    bool starting = true; // syncCalendar calls still being made
    bool full = false; // every calendar of the account, not a push
    QString failure; // the last failure's text
    int total = 0; // events brought in, for "Synced %1 events"
};

SyncCoordinator::SyncCoordinator(AppState *appState, std::unique_ptr<TolmAccount::TokenStore> secrets, QObject *parent)
    : QObject(parent)
    , m_appState(appState)
    , m_secrets(std::move(secrets))
    , m_subscriptions(new Webcal::SubscriptionRefresh(appState, this))
    , m_transferTimeoutMs(CalDavClient::kDefaultTransferTimeoutMs)
    , m_requestDeadlineMs(CalDavClient::kDefaultRequestDeadlineMs)
{
    connect(m_subscriptions, &Webcal::SubscriptionRefresh::calendarRefreshFailed, this,
            &SyncCoordinator::onSubscriptionFailed);
    connect(m_subscriptions, &Webcal::SubscriptionRefresh::calendarRefreshed, this,
            [this](const QString &calendarId, int count, const QString &problem) {
        if (!problem.isEmpty())
            m_appState->setLastSyncError(calendarId, problem);
        Q_EMIT calendarSynced(calendarId, count, problem);
    });
    m_startTimer.setSingleShot(true);
    m_startTimer.setInterval(kStartDelayMs);
    connect(&m_startTimer, &QTimer::timeout, this, &SyncCoordinator::syncNow);
    m_tick.setInterval(kTickMs);
    connect(&m_tick, &QTimer::timeout, this, &SyncCoordinator::syncDueAccounts);
    m_pushTimer.setSingleShot(true);
    m_pushTimer.setInterval(kPushDelayMs);
    connect(&m_pushTimer, &QTimer::timeout, this, &SyncCoordinator::pushPending);
    if (m_appState)
        connect(m_appState, &AppState::importRunningChanged, this, &SyncCoordinator::onImportRunningChanged);
}

SyncCoordinator::~SyncCoordinator()
{
    qDeleteAll(m_batches);
}

void SyncCoordinator::start()
{
    if (!m_appState || !m_appState->events())
        return;
    connect(m_appState->events(), &EventRepository::eventsChanged, this, &SyncCoordinator::onLocalChange,
            Qt::UniqueConnection);
    connect(m_appState->tasks(), &TaskRepository::tasksChanged, this, &SyncCoordinator::onLocalChange,
            Qt::UniqueConnection);
    m_tick.start();
    if (!m_secrets) {
        m_startTimer.start();
        return;
    }
    // The first sync waits for the passwords; without a desktop keyring the
    // status bar says where they are kept.
    m_secrets->whenReady(this, [this] {
        const QString file = m_secrets->fallbackFilePath();
        if (!file.isEmpty())
            Q_EMIT passwordsKeptInFile(file);
        m_startTimer.start();
    });
}

bool SyncCoordinator::secretsReady() const
{
    return !m_secrets || m_secrets->isReady();
}

void SyncCoordinator::setTimeouts(int transferMs, int deadlineMs)
{
    m_transferTimeoutMs = transferMs;
    m_requestDeadlineMs = deadlineMs;
}

bool SyncCoordinator::deferredForImport(Deferred what)
{
    if (!m_appState || !m_appState->isImportRunning())
        return false;
    m_deferred = std::max(m_deferred, what);
    return true;
}

void SyncCoordinator::onImportRunningChanged(bool running)
{
    if (running)
        return;
    const Deferred deferred = std::exchange(m_deferred, Deferred::Nothing);
    switch (deferred) {
    case Deferred::Nothing: break;
    case Deferred::Push: pushPending(); break;
    case Deferred::DueAccounts:
        syncDueAccounts();
        pushPending();
        break;
    case Deferred::Everything: syncNow(); break;
    }
}

void SyncCoordinator::syncNow()
{
    // Before the passwords are known every server would refuse the sync;
    // the first one starts when they are.
    if (!secretsReady() || deferredForImport(Deferred::Everything))
        return;
    const QList<Account> accounts = syncingAccounts();
    for (const Account &account : accounts)
        syncAccount(account, true);
    m_subscriptions->refreshAll();
}

void SyncCoordinator::syncDueAccounts()
{
    if (!secretsReady() || deferredForImport(Deferred::DueAccounts))
        return;
    const QDateTime now = m_clock().toUTC();
    const QList<Account> accounts = syncingAccounts();
    for (const Account &account : accounts) {
        if (account.sync_interval_minutes <= 0)
            continue;
        const bool due = !account.last_sync_time || !account.last_sync_time->isValid()
            || account.last_sync_time->secsTo(now) >= qint64(account.sync_interval_minutes) * 60;
        if (due) {
            syncAccount(account, false);
            continue;
        }
        QList<Calendar> retry;
        const QList<Calendar> calendars = syncingCalendars(account);
        for (const Calendar &calendar : calendars) {
            if (m_backoff.isDue(calendar.id, now))
                retry.append(calendar);
        }
        if (!retry.isEmpty() && !m_accountsUnderWay.contains(account.id))
            syncCalendars(account, retry, false, false);
    }
}

void SyncCoordinator::pushPending()
{
    if (!secretsReady() || deferredForImport(Deferred::Push))
        return;
    const QList<Account> accounts = syncingAccounts();
    for (const Account &account : accounts) {
        QList<Calendar> pending;
        const QList<Calendar> calendars = syncingCalendars(account);
        for (const Calendar &calendar : calendars) {
            if (hasLocalChanges(calendar.id))
                pending.append(calendar);
        }
        if (!pending.isEmpty())
            syncCalendars(account, pending, false, false);
    }
}

QList<Account> SyncCoordinator::syncingAccounts() const
{
    QList<Account> out;
    if (!m_appState || !m_appState->accounts())
        return out;
    const QList<Account> accounts = m_appState->accounts()->getAll();
    for (const Account &account : accounts) {
        if (account.enabled
            && (isCalDavType(account.type) || isGoogleType(account.type) || isMicrosoftType(account.type)))
            out.append(account);
    }
    return out;
}

QList<Calendar> SyncCoordinator::syncingCalendars(const Account &account) const
{
    QList<Calendar> out;
    const QList<Calendar> calendars = m_appState->calendars()->getByAccount(account.id);
    for (const Calendar &calendar : calendars) {
        if (calendar.sync_enabled)
            out.append(calendar);
    }
    return out;
}

QString SyncCoordinator::passwordFor(const Account &account) const
{
    if (!m_secrets)
        return QString();
    return m_secrets->load(u"caldav-password-"_s + account.id).value_or(QString());
}

void SyncCoordinator::syncAccount(const Account &account, bool userAsked)
{
    // A tick or a second Sync Now while the last one is still going.
    if (m_accountsUnderWay.contains(account.id))
        return;
    m_accountsUnderWay.insert(account.id);
    if (isGoogleType(account.type) || isMicrosoftType(account.type)) {
        syncProviderCalendars(account, syncingCalendars(account), true, userAsked);
        return;
    }
    auto *client = new CalDavClient(this);
    client->setTransferTimeout(m_transferTimeoutMs);
    client->setRequestDeadline(m_requestDeadlineMs);
    client->setCredentials(account.username, passwordFor(account));
    client->setTrustedCertificateSha256(account.trusted_cert_sha256);
    auto *discovery = new CalDavDiscovery(client, client);
    const QString accountId = account.id;
    connect(client, &CalDavClient::untrustedCertEncountered, this,
            [this, accountId](const UntrustedCertInfo &info) { Q_EMIT untrustedCertEncountered(accountId, info); });
    connect(discovery, &CalDavDiscovery::completed, this,
            [this, client, accountId, userAsked](const QList<CalDavParse::DiscoveredCalendar> &calendars) {
        client->deleteLater();
        const int added = CalDavParse::mergeDiscoveredCalendars(m_appState, accountId, calendars);
        if (added > 0)
            Q_EMIT calendarsDiscovered(accountId, added);
        if (const std::optional<Account> current = m_appState->accounts()->getById(accountId))
            syncCalendars(*current, syncingCalendars(*current), true, userAsked);
        else
            m_accountsUnderWay.remove(accountId);
    });
    connect(discovery, &CalDavDiscovery::failed, this, [this, client, accountId, userAsked](const SyncResult &result) {
        client->deleteLater();
        onDiscoveryFailed(accountId, result, userAsked);
    });
    discovery->start(QUrl(account.server_url, QUrl::TolerantMode));
}

void SyncCoordinator::onDiscoveryFailed(const QString &accountId, const SyncResult &result, bool userAsked)
{
    const std::optional<Account> current = m_appState->accounts()->getById(accountId);
    if (!current) {
        m_accountsUnderWay.remove(accountId);
        return;
    }
    const QList<Calendar> known = syncingCalendars(*current);
    if (!known.isEmpty()) {
        qCInfo(lcCalDav) << "[AutoSync] rediscovery failed for account" << accountId << "-" << result.describe()
                         << "- syncing the known calendars";
        syncCalendars(*current, known, true, userAsked);
        return;
    }
    // Nothing known to sync: the account has not synced, and says why.
    qCWarning(lcCalDav) << "[AutoSync] discovery failed for account" << accountId << "-" << result.describe();
    m_accountsUnderWay.remove(accountId);
    Account failed = *current;
    failed.last_sync_error = m_failureText(result);
    m_appState->accounts()->update(failed);
    Q_EMIT accountSyncFailed(accountId, result);
}

void SyncCoordinator::syncCalendars(const Account &account, const QList<Calendar> &calendars, bool full, bool userAsked)
{
    if (isGoogleType(account.type) || isMicrosoftType(account.type)) {
        syncProviderCalendars(account, calendars, full, userAsked);
        return;
    }
    auto *batch = new Batch;
    m_batches.append(batch);
    batch->accountId = account.id;
    batch->full = full;
    batch->client = new CalDavSyncClient(m_appState, this);
    batch->client->setTimeouts(m_transferTimeoutMs, m_requestDeadlineMs);
    connect(batch->client, &CalDavSyncClient::calendarSyncStarted, this, [this, batch](const QString &id) {
        if (batch->open.contains(id))
            return;
        batch->open.insert(id);
        m_inFlight.insert(id);
        m_appState->beginSync();
    });
    connect(batch->client, &CalDavSyncClient::calendarSyncCompleted, this,
            [this, batch](const QString &id, int count) { onReported(batch, id, count, std::nullopt); });
    connect(batch->client, &CalDavSyncClient::calendarSyncFailed, this,
            [this, batch](const QString &id, const SyncResult &result) { onReported(batch, id, 0, result); });
    connect(batch->client, &CalDavSyncClient::untrustedCertEncountered, this,
            [this, accountId = account.id](const QString &, const UntrustedCertInfo &info) {
        Q_EMIT untrustedCertEncountered(accountId, info);
    });

    const QString password = passwordFor(account);
    const QDateTime now = m_clock().toUTC();
    for (const Calendar &calendar : calendars) {
        if (m_inFlight.contains(calendar.id)) {
            // Under way already: what changed meanwhile goes out when it reports.
            m_changedInFlight.insert(calendar.id);
            continue;
        }
        if (!userAsked && m_backoff.isPaused(calendar.id, now))
            continue;
        rememberPending(calendar.id);
        batch->client->syncCalendar(calendar, account.username, password, account.trusted_cert_sha256);
    }
    batch->starting = false;
    if (batch->open.isEmpty())
        finishBatch(batch);
}

// The two providers' clients share their signals, not a base class.
template<typename Client>
void SyncCoordinator::runProviderCalendars(Client *client, const Account &account, const QList<Calendar> &calendars,
                                           bool full, bool userAsked)
{
    auto *batch = new Batch;
    m_batches.append(batch);
    batch->accountId = account.id;
    batch->full = full;
    batch->provider = client;
    connect(client, &Client::calendarSyncStarted, this, [this, batch](const QString &id) {
        if (batch->open.contains(id))
            return;
        batch->open.insert(id);
        m_inFlight.insert(id);
        m_appState->beginSync();
    });
    connect(client, &Client::calendarSyncCompleted, this,
            [this, batch](const QString &id, int count) { onReported(batch, id, count, std::nullopt); });
    connect(client, &Client::calendarSyncFailed, this,
            [this, batch](const QString &id, const SyncResult &result) { onReported(batch, id, 0, result); });
    for (const Calendar &calendar : calendars) {
        if (m_inFlight.contains(calendar.id)) {
            m_changedInFlight.insert(calendar.id);
            continue;
        }
        // The same pause after a failure, and the same rule that a run's own
        // writes are no local change, as for CalDAV calendars.
        if (!userAsked && m_backoff.isPaused(calendar.id, m_clock().toUTC()))
            continue;
        rememberPending(calendar.id);
        client->syncCalendar(calendar);
    }
    batch->starting = false;
    if (batch->open.isEmpty())
        finishBatch(batch);
}

void SyncCoordinator::syncProviderCalendars(const Account &account, const QList<Calendar> &calendars, bool full,
                                            bool userAsked)
{
    if (!m_network)
        m_network = new BoundedNetworkAccessManager(ReplySizeGuard::kJsonPageBytes, this);
    if (isGoogleType(account.type)) {
        runProviderCalendars(new Google::SyncClient(m_appState, m_network, m_providerConfig, m_secrets.get(), this),
                             account, calendars, full, userAsked);
    } else {
        runProviderCalendars(new Microsoft::SyncClient(m_appState, m_network, m_secrets.get(), m_providerConfig,
                                                       m_graphBase, this),
                             account, calendars, full, userAsked);
    }
}

void SyncCoordinator::onReported(Batch *batch, const QString &calendarId, int count,
                                 const std::optional<SyncResult> &result)
{
    // A second report of the same calendar must not end another one's busy slot.
    if (!batch->open.remove(calendarId))
        return;
    m_inFlight.remove(calendarId);
    const bool failed = result.has_value();
    // A run that synced all the server listed leaves nothing to pause for.
    if (failed && result->kind != SyncResult::Kind::IncompleteListing)
        m_backoff.failed(calendarId, m_clock().toUTC(), result->retryAfterSecs);
    else
        m_backoff.succeeded(calendarId);
    // A run that completed may still have left objects behind; its calendar
    // row names them.
    QString problem = failed ? m_failureText(*result) : QString();
    if (!failed) {
        if (const std::optional<Calendar> calendar = m_appState->calendars()->getById(calendarId))
            problem = calendar->last_sync_error;
    }
    if (!problem.isEmpty()) {
        batch->failure = problem;
        m_appState->setLastSyncError(calendarId, problem);
    }
    if (failed) {
        Q_EMIT calendarSyncFailed(calendarId, *result);
    } else {
        batch->total += count;
        Q_EMIT calendarSynced(calendarId, batch->total, problem);
    }
    m_appState->endSync(failed || !problem.isEmpty());
    if (m_changedInFlight.remove(calendarId) && !failed && hasLocalChanges(calendarId))
        m_pushTimer.start();
    if (batch->open.isEmpty() && !batch->starting)
        finishBatch(batch);
}

void SyncCoordinator::onSubscriptionFailed(const QString &calendarId, const SyncResult &result)
{
    m_appState->setLastSyncError(calendarId, m_failureText(result));
    Q_EMIT calendarSyncFailed(calendarId, result);
}

void SyncCoordinator::finishBatch(Batch *batch)
{
    // Anything the client still says is about calendars that have reported.
    QObject *client = batch->client ? static_cast<QObject *>(batch->client) : batch->provider;
    client->disconnect(this);
    client->deleteLater();
    // A push covers only the calendars with local changes: were it to
    // restart the interval, a user editing often would keep the account's
    // other calendars from ever being pulled by the tick.
    std::optional<Account> account = m_appState->accounts()->getById(batch->accountId);
    if (account && (batch->full || !batch->failure.isEmpty())) {
        if (batch->full)
            account->last_sync_time = m_clock().toUTC();
        account->last_sync_error = batch->failure;
        m_appState->accounts()->update(*account);
    }
    if (batch->full)
        m_accountsUnderWay.remove(batch->accountId);
    m_batches.removeOne(batch);
    delete batch;
}

void SyncCoordinator::onLocalChange(const QString &calendarId)
{
    if (m_inFlight.contains(calendarId)) {
        m_changedInFlight.insert(calendarId);
        return;
    }
    // A failed calendar waits for the tick or the user.
    if (m_backoff.isPaused(calendarId, m_clock().toUTC()))
        return;
    const std::optional<Calendar> calendar = m_appState->calendars()->getById(calendarId);
    if (!calendar || !calendar->sync_enabled)
        return;
    const std::optional<Account> account = m_appState->accounts()->getById(calendar->account_id);
    if (account && account->enabled
        && (isCalDavType(account->type) || isGoogleType(account->type) || isMicrosoftType(account->type))
        && hasLocalChanges(calendarId))
        m_pushTimer.start();
}

bool SyncCoordinator::hasLocalChanges(const QString &calendarId) const
{
    return differsFromSeen(m_appState->events()->getPending(calendarId), m_seenEvents.value(calendarId))
        || differsFromSeen(m_appState->tasks()->getPending(calendarId), m_seenTasks.value(calendarId));
}

void SyncCoordinator::rememberPending(const QString &calendarId)
{
    m_seenEvents.insert(calendarId, keyed(m_appState->events()->getPending(calendarId)));
    m_seenTasks.insert(calendarId, keyed(m_appState->tasks()->getPending(calendarId)));
}
