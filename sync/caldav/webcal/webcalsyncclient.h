#pragma once

#include "account.h"
#include "calendar.h"
#include "feedreplace.h"
#include "recordnames.h"
#include "replysizeguard.h"
#include "storefailure.h"
#include "syncresult.h"

#include <QObject>
#include <QString>

#include <optional>

class AppState;
class QNetworkAccessManager;
class QNetworkReply;

namespace Webcal {

// Keeps read-only subscription calendars equal to their iCalendar feeds:
// each sync downloads the whole feed and replaces the calendar's events in
// one transaction, on a thread of its own (destroying the client waits for
// it). Nothing is ever sent back to a feed.
//
// Several calendars may be fetched at once; after calendarSyncStarted exactly
// one of calendarSyncCompleted and calendarSyncFailed follows for that
// calendar. A failed fetch leaves the calendar's events as they were. Every
// fetch is bounded by a total time and a body size. The caller owns the
// client and deletes it once its calendars have reported (a deferred delete
// from a handler of the report is safe).
class SyncClient : public QObject
{
    Q_OBJECT
public:
    static constexpr int kDefaultTimeLimitMs = 60000;
    static constexpr qint64 kDefaultSizeLimitBytes = ReplySizeGuard::kFeedBytes;
    static constexpr int kMaxRedirects = 5;
    static inline const QString kAccountId = QStringLiteral("webcal-subscriptions-account");
    static inline const QString kAccountType = AccountType::Webcal;

    SyncClient(AppState *appState, QObject *parent = nullptr);

    // For the fetches started from now on.
    void setLimits(int timeLimitMs, qint64 sizeLimitBytes);

    // Starts the fetch of `calendar`'s feed and returns at once.
    void syncCalendar(const Calendar &calendar);

    // The shared account every subscription calendar belongs to, created
    // when missing.
    static Account ensureSubscriptionsAccount(AppState *appState);

Q_SIGNALS:
    void calendarSyncStarted(const QString &calendarId);
    // `eventCount`: the feed's events the calendar holds now; those the store
    // would not take are named by the calendar's last_sync_error.
    void calendarSyncCompleted(const QString &calendarId, int eventCount);
    void calendarSyncFailed(const QString &calendarId, const SyncResult &result);

private:
    void onFeedReply(QNetworkReply *reply, const Calendar &calendar, const std::optional<SyncResult> &limitHit);
    void onFeedApplied(const QString &calendarId, const FeedReplaceResult &result, StoreFailure::Kind failure);
    // False when the store refused the calendar's row.
    bool recordLeftOut(const QString &calendarId, int failed);

    AppState *m_appState;
    QNetworkAccessManager *m_network;
    int m_timeLimitMs = kDefaultTimeLimitMs;
    qint64 m_sizeLimitBytes = kDefaultSizeLimitBytes;
};

} // namespace Webcal
