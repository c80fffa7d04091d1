#pragma once

#include "calendar.h"
#include "microsoftcalendarclient.h"
#include "providerconfig.h"
#include "syncresult.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QUrl>

#include <optional>

class AppState;
class QNetworkAccessManager;
namespace TolmAccount {
class TokenStore;
}

namespace Microsoft {

// One Microsoft account's calendars for one run: the token checked and
// refreshed, a delta pull of each calendar applied in one transaction, then
// the push of its pending rows. Each calendar reports exactly once. The
// network manager and the token store are the caller's and must outlive the
// client.
class SyncClient : public QObject
{
    Q_OBJECT
public:
    // How far a listing without a delta token reaches.
    static constexpr int kWindowMonthsBack = 6;
    static constexpr int kWindowMonthsAhead = 24;

    SyncClient(AppState *appState, QNetworkAccessManager *network, TolmAccount::TokenStore *tokens,
               const ProviderConfig &config, const QUrl &graphBase, QObject *parent = nullptr);
    ~SyncClient() override;

    void syncCalendar(const Calendar &calendar);

    // The outcome of applying one listing to the store.
    struct Applied
    {
        int upserted = 0;
        int tombstoned = 0;
        int failed = 0;
    };
    // Writes the listed items into the calendar's rows in one transaction:
    // "@removed" deletes the row even when it is pending; a pending row keeps
    // its content and takes the server's change key; others are replaced.
    static Applied applyItems(AppState *appState, const QString &calendarId, const QList<QJsonObject> &items);

Q_SIGNALS:
    void calendarSyncStarted(const QString &calendarId);
    void calendarSyncCompleted(const QString &calendarId, int eventCount);
    void calendarSyncFailed(const QString &calendarId, const SyncResult &result);

private:
    struct Run;

    void runPull(Run *run);
    void onListed(Run *run, const CalendarClient::EventListPage &page);
    void runPush(Run *run);
    void pushNext(Run *run);
    // Completed without `failure`.
    void finish(Run *run, std::optional<SyncResult> failure);
    // Only the token columns of the calendar row as it is now.
    void storeDeltaToken(const QString &calendarId, const QString &token);

    AppState *m_appState;
    QNetworkAccessManager *m_network;
    TolmAccount::TokenStore *m_tokens;
    ProviderConfig m_config;
    QUrl m_graphBase;
    QSet<Run *> m_runs; // not yet reported
};

} // namespace Microsoft
