#pragma once

#include "caldavclient.h"
#include "caldavhref.h"
#include "caldavxml.h"

#include <QTest>

// Sends one request through `send(callback)` and spins the event loop until
// the callback has run; fails the whole test run after ten seconds.
template<typename Send>
CalDavClient::Response awaitResponse(Send send)
{
    std::optional<CalDavClient::Response> response;
    send([&response](const CalDavClient::Response &r) { response = r; });
    if (!QTest::qWaitFor([&response] { return response.has_value(); }, 10000))
        qFatal("no answer to a CalDAV request");
    return *response;
}

// Test setup on a real server: a calendar collection (VEVENT and VTODO).
inline bool makeCalendar(CalDavClient &client, const QUrl &url, const QString &name, const QString &color = {})
{
    return awaitResponse(
               [&](CalDavClient::Callback done) {
        client.mkcalendar(url, CalDavXml::mkcalendarBody(name, color, {}), done);
    }).isSuccess();
}

// Test setup: an object stored under the name `name` + ".ics".
inline bool putObject(CalDavClient &client, const QUrl &collection, const QString &name, const QByteArray &ics)
{
    return awaitResponse(
               [&](CalDavClient::Callback done) {
        client.put(CalDavHref::newResourceUrl(collection, name), ics, QStringLiteral("text/calendar; charset=utf-8"),
                   done);
    }).isWriteSuccess();
}
