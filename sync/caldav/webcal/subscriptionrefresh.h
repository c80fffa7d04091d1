#pragma once

#include "syncresult.h"

#include <QObject>
#include <QSet>
#include <QString>

#include <optional>

class AppState;

namespace Webcal {

class SyncClient;

// The sync runs' side of subscription calendars: every calendar of an
// enabled "webcal" account whose syncing is on is fetched by refreshAll(),
// which the full sync calls beside the CalDAV accounts. A calendar under way
// is not started twice. Each started calendar ends one AppState::beginSync
// with one AppState::endSync and reports once; each run's client
// is deleted once all of its calendars have reported.
class SubscriptionRefresh : public QObject
{
    Q_OBJECT
public:
    SubscriptionRefresh(AppState *appState, QObject *parent = nullptr);
    ~SubscriptionRefresh() override;

    // For the runs started from now on; 0 keeps the client's defaults.
    void setLimits(int timeLimitMs, qint64 sizeLimitBytes);

    void refreshAll();

    QSet<QString> calendarsInFlight() const { return m_inFlight; }

Q_SIGNALS:
    // `eventCount`: the feed's events the calendar holds now; `problem`
    // what the calendar recorded of events left out, empty when none were.
    void calendarRefreshed(const QString &calendarId, int eventCount, const QString &problem);
    // The calendar's events stay as they were.
    void calendarRefreshFailed(const QString &calendarId, const SyncResult &result);

private:
    struct Run;
    // `result` is set for a failed refresh.
    void onReported(Run *run, const QString &calendarId, int count, const std::optional<SyncResult> &result);
    void finishRun(Run *run);

    AppState *m_appState;
    QList<Run *> m_runs;
    QSet<QString> m_inFlight;
    int m_timeLimitMs = 0;
    qint64 m_sizeLimitBytes = 0;
};

} // namespace Webcal
