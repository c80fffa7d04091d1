#pragma once

#include "event.h"

#include <QDateTime>
#include <QString>

#include <optional>

class EventRepository;

// How far a change to one occurrence of a repeating event reaches.
enum class RecurringEditScope : int {
    None = 0,             // the prompt was cancelled
    ThisEvent = 1,        // this occurrence only
    ThisAndFollowing = 2, // this occurrence and every later one
    AllEvents = 3,        // the whole series
};

// Writes a move or resize of the occurrence that started at
// `occurrenceStart` of `series` to `newStart` / `newEnd`. Each scope writes
// all of its rows or none (one savepoint), and keeps every row's stored
// iCalendar text in step with its fields. True when written; true for None,
// which writes nothing; false without a repository or for an unknown scope.
bool applyRecurringEdit(EventRepository *events, const Event &series, const QDateTime &occurrenceStart,
                        const QDateTime &newStart, const std::optional<QDateTime> &newEnd,
                        RecurringEditScope scope);

// An override of the one occurrence: a row with the series' uid, its
// occurrence's start as recurrence id and the series' content, reminders and
// attendees (as new rows), in the series' resource (calendar, href, ETag).
// An override row already held for that occurrence is reused.
bool overrideOccurrence(EventRepository *events, const Event &series, const QDateTime &occurrenceStart,
                        const QDateTime &newStart, const std::optional<QDateTime> &newEnd);

// Ends the series before the occurrence and starts a new series (new uid) at
// the new time that keeps the old series' end: its UNTIL, or the COUNT that
// remained. When nothing remained, no new series is made; a split at or
// before the first occurrence changes the whole series instead. Overrides,
// recurrence and exception dates from the occurrence on move to the new
// series, shifted with it.
bool splitSeries(EventRepository *events, const Event &series, const QDateTime &occurrenceStart,
                 const QDateTime &newStart, const std::optional<QDateTime> &newEnd);

// Moves the series' start (and end) by the change of the occurrence; the
// series' overrides keep naming the occurrences they replace.
bool applyToAllOccurrences(EventRepository *events, const Event &series, const QDateTime &occurrenceStart,
                           const QDateTime &newStart, const std::optional<QDateTime> &newEnd);

// `rule` ending at `cutoff`: COUNT dropped, UNTIL (in place, or appended)
// set to the cutoff in UTC "yyyyMMddTHHmmssZ", or to its date "yyyyMMdd" for
// an all-day series. Other parts stay as written.
QString endSeriesBefore(const QString &rule, const QDateTime &cutoff, bool allDay = false);
