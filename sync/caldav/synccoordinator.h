#pragma once

#include "account.h"
#include "calendar.h"
#include "clock.h"
#include "event.h"
#include "providerconfig.h"
#include "syncbackoff.h"
#include "syncresult.h"
#include "task.h"
#include "untrustedcertinfo.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

class AppState;
class CalDavSyncClient;
class QNetworkAccessManager;
namespace TolmAccount {
class TokenStore;
}
namespace Webcal {
class SubscriptionRefresh;
}

// The main window's side of every CalDAV sync run: which accounts and
// calendars sync when, the password from the secure store, the busy count
// and the reports the status bar puts into words. Accounts of the types
// "caldav", "icloud", "zoho" and "microsoft" take part while enabled; their
// calendars while syncing is on. A Microsoft account's tokens come from the
// same secure store.
//
//   - a full sync of every such account 3 s after start(), on syncNow(),
//     and on the 60 s tick for accounts whose sync interval has elapsed;
//     a full sync rediscovers the account's calendars first;
//   - a push 300 ms after the last local change to a calendar that holds
//     pending rows.
//
// The full sync also refreshes the subscription (webcal) calendars; the tick
// leaves them alone, and they have nothing to push.
//
// A calendar already under way is not started twice; a change meanwhile
// pushes again once it has reported. An account under way (rediscovery or
// full sync) is not started twice either. Each started calendar ends exactly
// one AppState::beginSync with one AppState::endSync.
//
// The rows a run writes itself are never local changes: a push follows only
// pending rows that differ from those the calendar's last run started with.
// A calendar whose run failed pauses (SyncBackoff): local changes and full
// syncs leave it alone until the tick after its pause tries it again;
// syncNow() tries it at once. A first sync whose discovery fails records the
// failure on the account and leaves its last sync time unset.
//
// While a file import of this program runs (AppState::isImportRunning) no
// run starts: its writes would only wait for the import's lock and fail. What
// was asked meanwhile runs once when the import has ended.
class SyncCoordinator : public QObject
{
    Q_OBJECT
public:
    static constexpr int kStartDelayMs = 3000;
    static constexpr int kTickMs = 60000;
    static constexpr int kPushDelayMs = 300;

    // `secrets` holds the passwords under "caldav-password-" plus the account
    // id; null means none are known.
    SyncCoordinator(AppState *appState, std::unique_ptr<TolmAccount::TokenStore> secrets, QObject *parent = nullptr);
    ~SyncCoordinator() override;

    // Starts the timers and follows local changes; the first full sync comes
    // kStartDelayMs after the secure store is ready. Until then nothing syncs.
    void start();

    void syncNow();
    // The tick: accounts whose sync interval has elapsed since their last
    // full sync (a push does not count), and failed calendars whose pause
    // has passed.
    void syncDueAccounts();
    // Calendars with local changes waiting to be pushed.
    void pushPending();
    // For the requests of runs and rediscoveries started from now on.
    void setTimeouts(int transferMs, int deadlineMs);
    // Where intervals and pauses read the time.
    void setClock(Clock clock) { m_clock = std::move(clock); }

    // Where the providers live and this program's OAuth client; the
    // environment's by default.
    void setProviderConfig(const ProviderConfig &config) { m_providerConfig = config; }
    // Microsoft Graph's base, "https://graph.microsoft.com/v1.0" by default.
    void setGraphBase(const QUrl &base) { m_graphBase = base; }

    // Calendars with a run under way.
    QSet<QString> calendarsInFlight() const { return m_inFlight; }

    // How a failure is worded where it is recorded: the account's last sync
    // error and the application state's, which the tray shows.
    // SyncResult::describe() until the window that shows the texts hands in
    // its own words.
    using FailureText = std::function<QString(const SyncResult &)>;
    void setFailureText(FailureText text) { m_failureText = std::move(text); }

Q_SIGNALS:
    // A calendar's run (or subscription refresh) failed.
    void calendarSyncFailed(const QString &calendarId, const SyncResult &result);
    // An account's first discovery failed: none of its calendars synced.
    void accountSyncFailed(const QString &accountId, const SyncResult &result);
    // A calendar's run completed: `eventCount` rows so far in the run of its
    // account, `problem` what the calendar recorded of objects left out.
    void calendarSynced(const QString &calendarId, int eventCount, const QString &problem);
    void calendarsDiscovered(const QString &accountId, int added);
    // No desktop keyring: the passwords are kept in this file instead.
    void passwordsKeptInFile(const QString &path);
    // A server's certificate did not verify and is not the account's pinned
    // one; the account's calendars failed to sync.
    void untrustedCertEncountered(const QString &accountId, const UntrustedCertInfo &info);

private:
    struct Batch;

    // What the import held back, the widest first.
    enum class Deferred { Nothing, Push, DueAccounts, Everything };

    // True, remembering `what`, while an import runs.
    bool deferredForImport(Deferred what);
    void onImportRunningChanged(bool running);

    bool secretsReady() const;
    QList<Account> syncingAccounts() const;
    QList<Calendar> syncingCalendars(const Account &account) const;
    QString passwordFor(const Account &account) const;
    // Rediscovery and merge, then every syncing calendar of the account.
    void syncAccount(const Account &account, bool userAsked);
    void onDiscoveryFailed(const QString &accountId, const SyncResult &result, bool userAsked);
    // `full`: the account's whole sync, which alone restarts its interval.
    // Paused calendars are left out unless `userAsked`.
    void syncCalendars(const Account &account, const QList<Calendar> &calendars, bool full, bool userAsked);
    // The same for a Google or Microsoft account, through its provider's client.
    void syncProviderCalendars(const Account &account, const QList<Calendar> &calendars, bool full, bool userAsked);
    template<typename Client>
    void runProviderCalendars(Client *client, const Account &account, const QList<Calendar> &calendars, bool full,
                              bool userAsked);
    // `result` is set for a failed run.
    void onReported(Batch *batch, const QString &calendarId, int count, const std::optional<SyncResult> &result);
    void onSubscriptionFailed(const QString &calendarId, const SyncResult &result);
    void finishBatch(Batch *batch);
    void onLocalChange(const QString &calendarId);
    // Pending rows the calendar's last run did not start with as they are.
    bool hasLocalChanges(const QString &calendarId) const;
    void rememberPending(const QString &calendarId);

    AppState *m_appState;
    std::unique_ptr<TolmAccount::TokenStore> m_secrets;
    QTimer m_startTimer;
    QTimer m_tick;
    QTimer m_pushTimer;
    QList<Batch *> m_batches;
    QSet<QString> m_inFlight;
    QSet<QString> m_changedInFlight;
    Webcal::SubscriptionRefresh *m_subscriptions;
    QSet<QString> m_accountsUnderWay;
    SyncBackoff m_backoff;
    Deferred m_deferred = Deferred::Nothing;
    // Per calendar, the pending rows its last run started with, keyed by
    // id, without what a run writes into them (href, ETag, status).
    QHash<QString, QHash<QString, Event>> m_seenEvents;
    QHash<QString, QHash<QString, Task>> m_seenTasks;
    int m_transferTimeoutMs;
    int m_requestDeadlineMs;
    Clock m_clock = systemNow;
    ProviderConfig m_providerConfig = ProviderConfig::fromEnvironment();
    QUrl m_graphBase = QUrl(QStringLiteral("https://graph.microsoft.com/v1.0"));
    QNetworkAccessManager *m_network = nullptr;
    FailureText m_failureText = &SyncResult::describe;
};
