#pragma once

#include "event.h"
#include "recurringeditscope.h"
#include "seriesrows.h"

#include <QDateTime>
#include <QString>

#include <optional>

class EventRepository;

// Writes a move or resize of the occurrence that started at
// `occurrenceStart` of `series` to `newStart` / `newEnd`. Each scope writes
// all of its rows or none (one savepoint), and keeps every row's stored
// iCalendar text in step with its fields. True when written; true for None,
// which writes nothing; false without a repository or for an unknown scope.
bool applyRecurringEdit(EventRepository *events, const Event &series, const QDateTime &occurrenceStart,
                        const QDateTime &newStart, const std::optional<QDateTime> &newEnd, RecurringEditScope scope);

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

// Writes `edited`, the stored row `stored` as the event form changed it. When
// a series keeps its kind (timed or all-day) and its start moves, its
// exception and recurrence dates and its overrides move with it, as for
// applyToAllOccurrences, and so do the days its unchanged rule names. One
// savepoint; the stored text follows the fields.
bool updateEdited(EventRepository *events, const Event &stored, Event edited);

// `edited` with what the user left of `stored`'s rule, exception and
// recurrence dates moved along with its start, as updateEdited writes it.
Event followingStart(const Event &stored, Event edited);
// The recurrence id an override of `stored` takes when the series' start
// moves to `edited`'s.
QString followingRecurrenceId(const Event &stored, const Event &edited, const QString &recurrenceId);

// Writes the event form's edit of the occurrence of `series` that starts at
// `occurrenceStart`: `edited` is the series row with the form's fields and
// the occurrence's new start and end. ThisEvent makes (or updates) the
// occurrence's override with that content; ThisAndFollowing splits the series
// there and the new series takes it (and the form's rule when changed there);
// any other scope is updateEdited of the series.
bool editOccurrence(EventRepository *events, const Event &series, const QDateTime &occurrenceStart, const Event &edited,
                    RecurringEditScope scope);
