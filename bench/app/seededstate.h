#pragma once

// For the application benchmarks: a started AppState over its own data
// directory, with a CalDAV account "dav" and calendars cal0, cal1, ... to
// seed events into.

#include "appstate.h"
#include "database.h"

#include <QSqlQuery>
#include <QTemporaryDir>

#include <memory>

struct SeededState
{
    QTemporaryDir dir;
    std::unique_ptr<AppState> state;
};

inline void exec(AppState *state, const QString &statement)
{
    QSqlQuery query(state->database()->database());
    if (!query.exec(statement))
        qFatal("seeding failed: %s", qPrintable(statement));
}

inline std::unique_ptr<SeededState> startSeededState(int calendars)
{
    auto seeded = std::make_unique<SeededState>();
    qputenv("CALENDAR_DATA_DIR", seeded->dir.filePath(QStringLiteral("data")).toUtf8());
    qputenv("XDG_DATA_HOME", seeded->dir.filePath(QStringLiteral("xdg")).toUtf8());
    seeded->state = std::make_unique<AppState>();
    AppState *state = seeded->state.get();
    if (!state->initialize())
        qFatal("cannot open the database");
    exec(state, QStringLiteral("INSERT INTO accounts (id, name, type) VALUES ('dav', 'Work', 'caldav')"));
    for (int c = 0; c < calendars; ++c)
        exec(state,
             QStringLiteral("INSERT INTO calendars (id, account_id, url, name) VALUES ('cal%1', 'dav', 'u%1', 'C%1')")
                 .arg(c));
    return seeded;
}
