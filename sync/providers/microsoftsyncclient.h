#pragma once

#include "calendar.h"
#include "microsoftcalendarclient.h"
#include "providerapplyjob.h"
#include "providerconfig.h"
#include "providerrows.h"
#include "syncresult.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QUrl>

#include <functional>
#include <optional>

class AppState;
class ProviderAccess;
class QNetworkAccessManager;
namespace TolmAccount {
class TokenStore;
}

namespace Microsoft {

// One Microsoft account's calendars for one run: the token checked and
// refreshed, a delta pull of each calendar applied in one transaction on a
// thread of its own (the delta link kept once it is stored), then the push
// of its pending rows. Each calendar reports exactly once. The
// network manager and the token store are the caller's and must outlive the
// client.
class SyncClient : public QObject
{
    Q_OBJECT
public:
    // The calendar view a round of changes covers.
    static constexpr int kWindowMonthsBack = 6;
    static constexpr int kWindowMonthsAhead = 24;
    // How far the window may lag behind before a new round begins.
    static constexpr int kReanchorDays = 31;

    SyncClient(AppState *appState, QNetworkAccessManager *network, TolmAccount::TokenStore *tokens,
               const ProviderConfig &config, const QUrl &graphBase, QObject *parent = nullptr);
    ~SyncClient() override;

    void syncCalendar(const Calendar &calendar);

Q_SIGNALS:
    void calendarSyncStarted(const QString &calendarId);
    void calendarSyncCompleted(const QString &calendarId, int eventCount);
    void calendarSyncFailed(const QString &calendarId, const SyncResult &result);

private:
    struct Run;
    enum class Write { Insert, Update, Delete };

    ProviderAccess *accessFor(const QString &accountId);
    CalendarClient *newClient(Run *run);
    // A calendar client for one request of `run`, whose failure ends it.
    CalendarClient *clientFor(Run *run);
    void runPull(Run *run);
    void onListed(Run *run, const CalendarClient::EventListPage &page);
    void applyRound(Run *run, const QList<QJsonObject> &masters, const QStringList &gone);
    void finishRound(Run *run, const ProviderApplyJob::Outcome &applied);
    void runPush(Run *run);
    void pushNext(Run *run);
    void pushExclusions(Run *run, const Event &master, const ProviderRows::Update &update);
    // `then` gets the instance id of the occurrence `key` of `seriesId`
    // (whose row is `series` when known here): `known`, else the one Graph
    // lists there (empty when none).
    void withInstance(Run *run, const Event &series, const QString &seriesId, const QString &key, const QString &known,
                      const std::function<void(const QString &)> &then);
    void send(Run *run, const Event &pushed, Write write, const QString &providerId, const QJsonObject &body,
              const QString &etag);
    void markSynced(Run *run, const Event &pushed, const QJsonObject &resource, const QString &providerId,
                    const QString &changeKey);
    void failed(Run *run, const Event &pushed, const QByteArray &sent, const SyncResult &result);
    // Completed without `failure`.
    void finish(Run *run, std::optional<SyncResult> failure);
    // Only the token columns of the calendar row as it is now; false when
    // the store refused the row.
    bool storeDeltaToken(const QString &calendarId, const QString &token);

    AppState *m_appState;
    QNetworkAccessManager *m_network;
    TolmAccount::TokenStore *m_tokens;
    ProviderConfig m_config;
    QUrl m_graphBase;
    QSet<Run *> m_runs; // not yet reported
    QHash<QString, QPointer<ProviderAccess>> m_access; // by account id
};

} // namespace Microsoft
