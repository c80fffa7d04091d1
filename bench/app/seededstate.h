#pragma once

// For the application benchmarks: a started AppState over its own data
// directory, with a CalDAV account "dav" and calendars cal0, cal1, ... to
// seed events into, and the pieces the seeds are made of.

#include "appstate.h"
#include "database.h"
#include "eventrepository.h"
#include "icalendar.h"

#include <QRandomGenerator>
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

// The CalDAV account "dav" and its calendars cal0, cal1, ...
inline void seedCalendars(AppState *state, int calendars)
{
    exec(state, QStringLiteral("INSERT INTO accounts (id, name, type) VALUES ('dav', 'Work', 'caldav')"));
    for (int c = 0; c < calendars; ++c)
        exec(state,
             QStringLiteral("INSERT INTO calendars (id, account_id, url, name) VALUES ('cal%1', 'dav', 'u%1', 'C%1')")
                 .arg(c));
}

// Event `i` in calendar cal<i % calendars>, titled from a few common words:
// half an hour to two hours from a quarter hour between 6:00 and 20:00 of `day`.
inline Event seededEvent(int i, int calendars, const QDate &day, QRandomGenerator &random)
{
    static const QStringList words = {QStringLiteral("Lunch"),   QStringLiteral("Review"), QStringLiteral("Call"),
                                      QStringLiteral("Standup"), QStringLiteral("Gym"),    QStringLiteral("Dentist")};
    Event e;
    e.id = e.uid = QStringLiteral("ev-%1").arg(i);
    e.calendar_id = QStringLiteral("cal%1").arg(i % calendars);
    e.title = words.at(i % words.size()) + u' ' + QString::number(i);
    e.start_time = QDateTime(day, QTime(6 + int(random.bounded(14)), 15 * int(random.bounded(4))));
    e.end_time = e.start_time.addSecs(60 * (30 + 30 * int(random.bounded(4))));
    return e;
}

// Stores `e` with its iCalendar text, as created and last changed at `now`.
inline void insertSeeded(AppState *state, Event &e, const QDateTime &now)
{
    e.created = e.last_modified = now;
    e.raw_icalendar = ICalendar::serializeEvent(e);
    if (!state->events()->insert(e))
        qFatal("insert failed");
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
    seedCalendars(state, calendars);
    return seeded;
}
