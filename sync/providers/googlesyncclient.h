#pragma once

#include "calendar.h"
#include "googlecalendarclient.h"
#include "providerapplyjob.h"
#include "providerconfig.h"
#include "syncresult.h"

#include <QObject>
#include <QString>

#include <QHash>
#include <QPointer>

#include <memory>

class AppState;
class ProviderAccess;
class QNetworkAccessManager;
namespace TolmAccount {
class TokenStore;
}

namespace Google {

// Brings Google calendars up to date in both directions: a valid access
// token first (refreshed when it ends within a minute, or when the server
// answers 401; one refresh per account at a time), then the server's changes
// since the calendar's sync token applied in one transaction on a thread of
// its own (changes to rows with local edits merged into them, and after a
// full listing the synced rows it no longer names removed), the sync token
// kept once they are stored, then every pending row pushed, one
// request after the other: an update sends what changed, an occurrence of a
// series goes to that instance on the server. Rows the server refuses for
// good, or whose rule Google cannot hold, stay pending as the calendar's
// problems, and the run goes on. Calendars of one client run side by side;
// each reports started once and then exactly one of completed or failed. The
// network manager and the token store are the caller's and must outlive the
// client.
class SyncClient : public QObject
{
    Q_OBJECT
public:
    SyncClient(AppState *appState, QNetworkAccessManager *network, const ProviderConfig &config,
               TolmAccount::TokenStore *tokens, QObject *parent = nullptr);

    void syncCalendar(const Calendar &calendar);

Q_SIGNALS:
    void calendarSyncStarted(const QString &calendarId);
    void calendarSyncCompleted(const QString &calendarId, int eventCount);
    void calendarSyncFailed(const QString &calendarId, const SyncResult &result);

private:
    struct Run;
    using RunPtr = std::shared_ptr<Run>;
    ProviderAccess *accessFor(const QString &accountId);
    CalendarClient *newCalendarClient(const RunPtr &run);
    void runPull(const RunPtr &run);
    void onSyncTokenExpired(const RunPtr &run);
    void applyPulledEvents(const RunPtr &run, const CalendarClient::EventListPage &page);
    void finishApply(const RunPtr &run, const ProviderApplyJob::Outcome &outcome, const QString &nextSyncToken);
    void storeSyncToken(const RunPtr &run, const QString &token);
    void runPush(const RunPtr &run);
    void pushNext(const RunPtr &run);
    void pushRow(const RunPtr &run, const Event &row);
    void onEventWritten(const RunPtr &run, const QString &localId, const QString &providerEventId, const QString &etag);
    // The next occurrence of the series under way to cancel, or its own
    // update once none is left; false when no series is under way.
    bool cancelNext(const RunPtr &run);
    void onEventDeleted(const RunPtr &run, const QString &localId);
    void onEventWriteFailed(const RunPtr &run, const QString &localId, const SyncResult &result);
    void storeRefused(const RunPtr &run);
    void finishPush(const RunPtr &run);
    void fail(const RunPtr &run, SyncResult result);

    AppState *m_appState;
    QNetworkAccessManager *m_network;
    ProviderConfig m_config;
    TolmAccount::TokenStore *m_tokens;
    QHash<QString, QPointer<ProviderAccess>> m_access; // by account id
};

} // namespace Google
