#pragma once

#include "event.h"

#include <QDateTime>
#include <QList>
#include <QStringList>

#include <optional>

class AppState;

// What is on today and tomorrow, for the tray. Recomputed from the store on
// every call; `now` defaults to the current local date-time.

// The active calendar group's calendars, in the group's order; when the group
// is missing or lists none, every visible calendar in the repository's order.
QStringList upcomingCalendarIds(const AppState *state);

// The occurrences from today 00:00 to tomorrow 23:59:59 (local time) after
// the enabled filter rules, sorted by start (equal starts in no set order):
// all-day ones whose start date (in the start's own representation) is today
// or tomorrow, and timed ones that have not ended by `now`; of a series the
// first 100 of each kind.
QList<Event> upcomingOccurrences(const AppState *state);
QList<Event> upcomingOccurrences(const AppState *state, const QDateTime &now);

// The first of upcomingOccurrences, if any.
std::optional<Event> nextUpcomingOccurrence(const AppState *state);
std::optional<Event> nextUpcomingOccurrence(const AppState *state, const QDateTime &now);
