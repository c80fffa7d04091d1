#pragma once

#include "caldavclient.h"

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
