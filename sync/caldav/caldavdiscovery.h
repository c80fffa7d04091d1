#pragma once

#include "caldavparse.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

class CalDavClient;

// Finds the calendar collections of a CalDAV account from the URL a user
// typed: current-user-principal, then calendar-home-set, then the list of
// the home's calendars. Each step falls back to the URL of the step before,
// so the URL of a calendar home or of one calendar works as well.
//
// One run per start(); its outcome is exactly one of completed() or failed(),
// always through the event loop. The client (credentials and pin set by the
// caller) is not owned; a run ends quietly when the client is destroyed.
class CalDavDiscovery : public QObject
{
    Q_OBJECT
public:
    explicit CalDavDiscovery(CalDavClient *client, QObject *parent = nullptr);

    void start(const QUrl &url);

Q_SIGNALS:
    void completed(const QList<CalDavParse::DiscoveredCalendar> &calendars);
    void failed(const QString &message);

private:
    // Every href of every step is resolved against the origin: the typed
    // URL without path, query and fragment.
    void requestHomeSet(const QUrl &url, const QUrl &origin);
    void requestCalendarList(const QUrl &url, const QUrl &origin);
    void fail(const QString &message);

    QPointer<CalDavClient> m_client;
};
