#pragma once

#include "account.h"
#include "calendar.h"
#include "providerconfig.h"
#include "untrustedcertinfo.h"

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>

#include <memory>

class AppState;
class CalDavSyncClient;
class QNetworkAccessManager;
namespace TolmAccount {
class TokenStore;
}

// The main window's side of every CalDAV sync run: which accounts and
// calendars sync when, the password from the secure store, the busy count
// and the status-bar texts. Accounts of the types "caldav", "icloud", "zoho"
// and "microsoft" take part while enabled; their calendars while syncing is
// on. A Microsoft account's tokens come from the same secure store.
//
//   - a full sync of every such account 3 s after start(), on syncNow(),
//     and on the 60 s tick for accounts whose sync interval has elapsed;
//     a full sync rediscovers the account's calendars first;
//   - a push 300 ms after the last local change to a calendar that holds
//     pending rows.
//
// A calendar already under way is not started twice; a change meanwhile
// pushes again once it has reported. Each started calendar ends exactly one
// AppState::beginSync with one AppState::endSync.
class SyncCoordinator : public QObject
{
    Q_OBJECT
public:
    static constexpr int kStartDelayMs = 3000;
    static constexpr int kTickMs = 60000;
    static constexpr int kPushDelayMs = 300;

    // `secrets` holds the passwords under "caldav-password-" plus the account
    // id; null means none are known.
    SyncCoordinator(AppState *appState, std::unique_ptr<TolmAccount::TokenStore> secrets,
                    QObject *parent = nullptr);
    ~SyncCoordinator() override;

    // Starts the timers and follows local changes.
    void start();

    void syncNow();
    // The tick: accounts whose sync interval has elapsed since their last
    // full sync (a push does not count).
    void syncDueAccounts();
    // Calendars with rows waiting to be pushed.
    void pushPending();

    // Where the providers live and this program's OAuth client; the
    // environment's by default.
    void setProviderConfig(const ProviderConfig &config) { m_providerConfig = config; }
    // Microsoft Graph's base, "https://graph.microsoft.com/v1.0" by default.
    void setGraphBase(const QUrl &base) { m_graphBase = base; }

    // Calendars with a run under way.
    QSet<QString> calendarsInFlight() const { return m_inFlight; }

Q_SIGNALS:
    // A progress or result line for the status bar.
    void statusMessage(const QString &text);
    // A server's certificate did not verify and is not the account's pinned
    // one; the account's calendars failed to sync.
    void untrustedCertEncountered(const QString &accountId, const UntrustedCertInfo &info);

private:
    struct Batch;

    QList<Account> syncingAccounts() const;
    QList<Calendar> syncingCalendars(const Account &account) const;
    QString passwordFor(const Account &account) const;
    // Rediscovery and merge, then every syncing calendar of the account.
    void syncAccount(const Account &account);
    // `full`: the account's whole sync, which alone restarts its interval.
    void syncCalendars(const Account &account, const QList<Calendar> &calendars, bool full);
    void syncMicrosoftCalendars(const Account &account, const QList<Calendar> &calendars, bool full);
    void onReported(Batch *batch, const QString &calendarId, bool failed, int count, const QString &reason);
    void finishBatch(Batch *batch);
    void onLocalChange(const QString &calendarId);
    bool hasPendingRows(const QString &calendarId) const;

    AppState *m_appState;
    std::unique_ptr<TolmAccount::TokenStore> m_secrets;
    QTimer m_startTimer;
    QTimer m_tick;
    QTimer m_pushTimer;
    QList<Batch *> m_batches;
    QSet<QString> m_inFlight;
    QSet<QString> m_changedInFlight;
    ProviderConfig m_providerConfig = ProviderConfig::fromEnvironment();
    QUrl m_graphBase = QUrl(QStringLiteral("https://graph.microsoft.com/v1.0"));
    QNetworkAccessManager *m_network = nullptr;
};
