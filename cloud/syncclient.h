#pragma once

#include <QObject>
#include <QPointer>

namespace TolmAccount {
class ApiClient;
}

namespace Quillmarten {

// The calendar sync client of the maker's service. This build pulls the
// calendar list only.
//
// The application state is passed as a plain QObject (this library sits
// below the application layer); repositories are found as its typed children.
class SyncClient : public QObject
{
    Q_OBJECT
public:
    // The account every cloud calendar belongs to; created with the first
    // pulled calendar.
    static QString cloudAccountId();
    // "quillmarten://" followed by the service's calendar id.
    static QString calendarUrl(const QString &serverId);

    // Neither `appState` nor `api` is owned; `api` may be null.
    SyncClient(QObject *appState, TolmAccount::ApiClient *api, QObject *parent = nullptr);

    // GET "/calendars" and insert every listed calendar whose URL no local
    // calendar has. Ends, always from the event loop, with one
    // calendarListPulled: the number of calendars the service listed, 0 when
    // the request or the answer failed.
    void pullCalendarList();

Q_SIGNALS:
    void calendarListPulled(int count);

private:
    void reportLater(int count);

    QPointer<QObject> m_appState;
    QPointer<TolmAccount::ApiClient> m_api;
};

} // namespace Quillmarten
