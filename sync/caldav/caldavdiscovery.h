#pragma once

#include "caldavclient.h"
#include "caldavparse.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <functional>

// Finds the calendar collections of a CalDAV account from the URL a user
// typed: current-user-principal, then calendar-home-set, then the list of
// the home's calendars. Each step falls back to the URL of the step before,
// so the URL of a calendar home or of one calendar works as well.
//
// One run per start(); its outcome is exactly one of completed() or failed(),
// always through the event loop, also when the client (credentials and pin
// set by the caller, not owned) is destroyed under way. Deleting the
// discovery first is safe: answers that come later are dropped.
class CalDavDiscovery : public QObject
{
    Q_OBJECT
public:
    explicit CalDavDiscovery(CalDavClient *client, QObject *parent = nullptr);

    void start(const QUrl &url);

Q_SIGNALS:
    void completed(const QList<CalDavParse::DiscoveredCalendar> &calendars);
    void failed(const SyncResult &result);

private:
    // Every href of every step is resolved against the origin: the typed
    // URL without path, query and fragment.
    void requestHomeSet(const QUrl &url, const QUrl &origin);
    void requestCalendarList(const QUrl &url, const QUrl &origin);
    // Sends one PROPFIND whose answer reaches `handle` only while this
    // discovery lives.
    void propfind(const QUrl &url, const QByteArray &body, int depth,
                  std::function<void(const CalDavClient::Response &)> handle);
    void complete(const QList<CalDavParse::DiscoveredCalendar> &calendars);
    void fail(const SyncResult &result);

    QPointer<CalDavClient> m_client;
    bool m_ended = true; // no run under way
};
