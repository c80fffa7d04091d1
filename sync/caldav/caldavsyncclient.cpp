#include "caldavsyncclient.h"

#include "appstate.h"
#include "caldavlog.h"
#include "caldavsyncrun.h"

CalDavSyncClient::CalDavSyncClient(AppState *appState, QObject *parent)
    : QObject(parent)
    , m_appState(appState)
    , m_transferTimeoutMs(CalDavClient::kDefaultTransferTimeoutMs)
    , m_requestDeadlineMs(CalDavClient::kDefaultRequestDeadlineMs)
{
}

void CalDavSyncClient::setTimeouts(int transferMs, int deadlineMs)
{
    m_transferTimeoutMs = transferMs;
    m_requestDeadlineMs = deadlineMs;
}

void CalDavSyncClient::syncCalendar(const Calendar &calendar, const QString &userName, const QString &password,
                                    const QString &pinnedSha256)
{
    qCDebug(lcCalDav) << "[CalDav] syncCalendar started for" << calendar.name;
    Q_EMIT calendarSyncStarted(calendar.id);
    if (!m_appState || !m_appState->database()) {
        Q_EMIT calendarSyncFailed(calendar.id, SyncResult::failure(SyncResult::Kind::LocalStore));
        return;
    }
    const CalDavSyncStores stores{m_appState->database(), m_appState->calendars(), m_appState->events(),
                                  m_appState->tasks(), m_appState->conflicts()};
    auto *run = new CalDavSyncRun(stores, calendar, userName, password, pinnedSha256, this);
    run->setTimeouts(m_transferTimeoutMs, m_requestDeadlineMs);
    connect(run, &CalDavSyncRun::progress, this, &CalDavSyncClient::calendarSyncProgress);
    connect(run, &CalDavSyncRun::completed, this, &CalDavSyncClient::calendarSyncCompleted);
    connect(run, &CalDavSyncRun::failed, this, &CalDavSyncClient::calendarSyncFailed);
    connect(run, &CalDavSyncRun::untrustedCertEncountered, this, &CalDavSyncClient::untrustedCertEncountered);
    run->start();
}
