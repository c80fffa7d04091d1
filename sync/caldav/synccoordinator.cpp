#include "synccoordinator.h"

#include "accountrepository.h"
#include "appstate.h"
#include "caldavclient.h"
#include "caldavdiscovery.h"
#include "caldavlog.h"
#include "caldavmerge.h"
#include "caldavsyncclient.h"
#include "calendarrepository.h"
#include "eventrepository.h"
#include "microsoftsyncclient.h"
#include "taskrepository.h"
#include "tokenstore.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>

using namespace Qt::StringLiterals;

namespace {

bool isCalDavType(const QString &type)
{
    return type == "caldav"_L1 || type == "icloud"_L1 || type == "zoho"_L1;
}

bool isMicrosoftType(const QString &type)
{
    return type == "microsoft"_L1;
}

} // namespace

// The calendars one sync client runs, until each has reported.
struct SyncCoordinator::Batch
{
    QString accountId;
    CalDavSyncClient *client = nullptr;
    QObject *provider = nullptr; // a Microsoft account's client instead
    QSet<QString> open;     // started, not yet reported
    bool starting = true;   // syncCalendar calls still being made
    bool full = false;      // every calendar of the account, not a push
    QString failure;        // the last failure's text
    int total = 0;          // events brought in, for "Synced %1 events"
};

SyncCoordinator::SyncCoordinator(AppState *appState, std::unique_ptr<TolmAccount::TokenStore> secrets,
                                 QObject *parent)
    : QObject(parent), m_appState(appState), m_secrets(std::move(secrets))
{
    m_startTimer.setSingleShot(true);
    m_startTimer.setInterval(kStartDelayMs);
    connect(&m_startTimer, &QTimer::timeout, this, &SyncCoordinator::syncNow);
    m_tick.setInterval(kTickMs);
    connect(&m_tick, &QTimer::timeout, this, &SyncCoordinator::syncDueAccounts);
    m_pushTimer.setSingleShot(true);
    m_pushTimer.setInterval(kPushDelayMs);
    connect(&m_pushTimer, &QTimer::timeout, this, &SyncCoordinator::pushPending);
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
    m_startTimer.start();
    m_tick.start();
}

void SyncCoordinator::syncNow()
{
    const QList<Account> accounts = syncingAccounts();
    for (const Account &account : accounts)
        syncAccount(account);
}

void SyncCoordinator::syncDueAccounts()
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QList<Account> accounts = syncingAccounts();
    for (const Account &account : accounts) {
        if (account.sync_interval_minutes <= 0)
            continue;
        const bool due = !account.last_sync_time || !account.last_sync_time->isValid()
            || account.last_sync_time->secsTo(now) >= qint64(account.sync_interval_minutes) * 60;
        if (due)
            syncAccount(account);
    }
}

void SyncCoordinator::pushPending()
{
    const QList<Account> accounts = syncingAccounts();
    for (const Account &account : accounts) {
        QList<Calendar> pending;
        const QList<Calendar> calendars = syncingCalendars(account);
        for (const Calendar &calendar : calendars) {
            if (hasPendingRows(calendar.id))
                pending.append(calendar);
        }
        if (!pending.isEmpty())
            syncCalendars(account, pending, false);
    }
}

QList<Account> SyncCoordinator::syncingAccounts() const
{
    QList<Account> out;
    if (!m_appState || !m_appState->accounts())
        return out;
    const QList<Account> accounts = m_appState->accounts()->getAll();
    for (const Account &account : accounts) {
        if (account.enabled && (isCalDavType(account.type) || isMicrosoftType(account.type)))
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

void SyncCoordinator::syncAccount(const Account &account)
{
    if (isMicrosoftType(account.type)) {
        syncMicrosoftCalendars(account, syncingCalendars(account), true);
        return;
    }
    auto *client = new CalDavClient(this);
    client->setCredentials(account.username, passwordFor(account));
    client->setTrustedCertificateSha256(account.trusted_cert_sha256);
    auto *discovery = new CalDavDiscovery(client, client);
    const QString accountId = account.id;
    connect(client, &CalDavClient::untrustedCertEncountered, this,
            [this, accountId](const UntrustedCertInfo &info) { Q_EMIT untrustedCertEncountered(accountId, info); });
    connect(discovery, &CalDavDiscovery::completed, this,
            [this, client, accountId](const QList<CalDavParse::DiscoveredCalendar> &calendars) {
        client->deleteLater();
        const int added = CalDavParse::mergeDiscoveredCalendars(m_appState, accountId, calendars);
        if (added > 0)
            Q_EMIT statusMessage(QCoreApplication::translate("MainWindow", "Discovered %n new calendar(s).", nullptr, added));
        if (const std::optional<Account> current = m_appState->accounts()->getById(accountId))
            syncCalendars(*current, syncingCalendars(*current), true);
    });
    connect(discovery, &CalDavDiscovery::failed, this, [this, client, accountId](const QString &message) {
        client->deleteLater();
        qCInfo(lcCalDav) << "[AutoSync] rediscovery failed for account" << accountId << "-" << message
                         << "- syncing the known calendars";
        if (const std::optional<Account> current = m_appState->accounts()->getById(accountId))
            syncCalendars(*current, syncingCalendars(*current), true);
    });
    discovery->start(QUrl(account.server_url, QUrl::TolerantMode));
}

void SyncCoordinator::syncCalendars(const Account &account, const QList<Calendar> &calendars, bool full)
{
    if (isMicrosoftType(account.type)) {
        syncMicrosoftCalendars(account, calendars, full);
        return;
    }
    auto *batch = new Batch;
    m_batches.append(batch);
    batch->accountId = account.id;
    batch->full = full;
    batch->client = new CalDavSyncClient(m_appState, this);
    connect(batch->client, &CalDavSyncClient::calendarSyncStarted, this, [this, batch](const QString &id) {
        if (batch->open.contains(id))
            return;
        batch->open.insert(id);
        m_inFlight.insert(id);
        m_appState->beginSync();
    });
    connect(batch->client, &CalDavSyncClient::calendarSyncCompleted, this,
            [this, batch](const QString &id, int count) { onReported(batch, id, false, count, {}); });
    connect(batch->client, &CalDavSyncClient::calendarSyncFailed, this,
            [this, batch](const QString &id, const QString &reason) { onReported(batch, id, true, 0, reason); });
    connect(batch->client, &CalDavSyncClient::untrustedCertEncountered, this,
            [this, accountId = account.id](const QString &, const UntrustedCertInfo &info) {
        Q_EMIT untrustedCertEncountered(accountId, info);
    });

    const QString password = passwordFor(account);
    for (const Calendar &calendar : calendars) {
        if (m_inFlight.contains(calendar.id)) {
            // Under way already: what changed meanwhile goes out when it reports.
            m_changedInFlight.insert(calendar.id);
            continue;
        }
        batch->client->syncCalendar(calendar, account.username, password, account.trusted_cert_sha256);
    }
    batch->starting = false;
    if (batch->open.isEmpty())
        finishBatch(batch);
}

void SyncCoordinator::syncMicrosoftCalendars(const Account &account, const QList<Calendar> &calendars, bool full)
{
    if (!m_network)
        m_network = new QNetworkAccessManager(this);
    auto *batch = new Batch;
    m_batches.append(batch);
    batch->accountId = account.id;
    batch->full = full;
    auto *client = new Microsoft::SyncClient(m_appState, m_network, m_secrets.get(), m_providerConfig, m_graphBase, this);
    batch->provider = client;
    connect(client, &Microsoft::SyncClient::calendarSyncStarted, this, [this, batch](const QString &id) {
        if (batch->open.contains(id))
            return;
        batch->open.insert(id);
        m_inFlight.insert(id);
        m_appState->beginSync();
    });
    connect(client, &Microsoft::SyncClient::calendarSyncCompleted, this,
            [this, batch](const QString &id, int count) { onReported(batch, id, false, count, {}); });
    connect(client, &Microsoft::SyncClient::calendarSyncFailed, this,
            [this, batch](const QString &id, const QString &reason) { onReported(batch, id, true, 0, reason); });
    for (const Calendar &calendar : calendars) {
        if (m_inFlight.contains(calendar.id)) {
            m_changedInFlight.insert(calendar.id);
            continue;
        }
        client->syncCalendar(calendar);
    }
    batch->starting = false;
    if (batch->open.isEmpty())
        finishBatch(batch);
}

void SyncCoordinator::onReported(Batch *batch, const QString &calendarId, bool failed, int count,
                                 const QString &reason)
{
    // A second report of the same calendar must not end another one's busy slot.
    if (!batch->open.remove(calendarId))
        return;
    m_inFlight.remove(calendarId);
    // A run that completed may still have left objects behind; its calendar
    // row names them.
    QString problem = reason;
    if (!failed) {
        if (const std::optional<Calendar> calendar = m_appState->calendars()->getById(calendarId))
            problem = calendar->last_sync_error;
    }
    if (!problem.isEmpty()) {
        batch->failure = problem;
        m_appState->setLastSyncError(calendarId, problem);
    }
    if (failed) {
        Q_EMIT statusMessage(reason);
    } else {
        batch->total += count;
        const QString total = QString::number(batch->total);
        Q_EMIT statusMessage(problem.isEmpty()
                                 ? QCoreApplication::translate("MainWindow", "Synced %1 events").arg(total)
                                 : QCoreApplication::translate("MainWindow", "Synced %1 events; %2").arg(total, problem));
    }
    m_appState->endSync(failed || !problem.isEmpty());
    if (m_changedInFlight.remove(calendarId) && hasPendingRows(calendarId))
        m_pushTimer.start();
    if (batch->open.isEmpty() && !batch->starting)
        finishBatch(batch);
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
            account->last_sync_time = QDateTime::currentDateTimeUtc();
        account->last_sync_error = batch->failure;
        m_appState->accounts()->update(*account);
    }
    m_batches.removeOne(batch);
    delete batch;
}

void SyncCoordinator::onLocalChange(const QString &calendarId)
{
    if (m_inFlight.contains(calendarId)) {
        m_changedInFlight.insert(calendarId);
        return;
    }
    const std::optional<Calendar> calendar = m_appState->calendars()->getById(calendarId);
    if (!calendar || !calendar->sync_enabled)
        return;
    const std::optional<Account> account = m_appState->accounts()->getById(calendar->account_id);
    if (account && account->enabled && (isCalDavType(account->type) || isMicrosoftType(account->type))
        && hasPendingRows(calendarId))
        m_pushTimer.start();
}

bool SyncCoordinator::hasPendingRows(const QString &calendarId) const
{
    return !m_appState->events()->getPending(calendarId).isEmpty()
        || !m_appState->tasks()->getPending(calendarId).isEmpty();
}
