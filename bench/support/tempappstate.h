#pragma once

#include "appstate.h"

#include <QTemporaryDir>

#include <memory>

// A started AppState over its own temporary data directory, for the sync
// benchmarks; its sync service address is a closed loopback port.
struct TempAppState
{
    QTemporaryDir dir;
    std::unique_ptr<AppState> state;

    TempAppState()
    {
        qputenv("CALENDAR_DATA_DIR", dir.filePath(QStringLiteral("data")).toUtf8());
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("xdg")).toUtf8());
        qputenv("SYNC_API_URL", "http://127.0.0.1:9/calendar/v1");
        state = std::make_unique<AppState>();
        if (!state->initialize())
            qFatal("the store did not open");
    }
};
