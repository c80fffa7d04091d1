#pragma once

#include "event.h"
#include "occurrence.h"
#include "recurrencerule.h"

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QTimeZone>

#include <functional>

// Expansion of stored event rows into the occurrences that overlap a window.
//
// A row is an override when it names its series (`master_event_uid`) and the
// start it replaces (`recurrence_id`); otherwise a master when it has a rule
// or recurrence dates; otherwise a one-off. A series keeps the wall clock of
// its own zone: the zone of `start_time`, or for a start held in UTC or at an
// offset the IANA zone named by `timezone`, else the VTIMEZONE of that name in
// `raw_icalendar` (all-day series excepted, which repeat on dates). A start
// its text wrote at a wall clock a DST gap skips moves forward alone; the
// series repeats at the wall clock written (RFC 5545 3.3.5, 3.3.10).
namespace Recurrence {

// Occurrences of all rows in [from, to): the one-off rows first, unchanged
// and in input order (the caller's range query chose them); then, for each
// master in input order, its occurrences in time order. An override (matched
// by calendar, UID and replaced start) takes the place of its occurrence when
// its own span overlaps the window and removes it when it does not; one moved
// into the window from a start outside it follows its master's occurrences,
// and one whose series is not among the rows comes last.
QList<Event> expandEvents(const QList<Event> &events, const QDateTime &from, const QDateTime &to);

// Whether expandEvents treats the row as part of a series (a master or an
// override) rather than as a one-off it passes through unchanged.
bool isSeriesRow(const Event &event);

struct BoundedExpansion
{
    QList<Event> occurrences;
    qint64 more = 0; // occurrences in the window left out
    bool moreIsLowerBound = false; // `more` stopped counting
};

// As expandEvents with at most `maxPerSeries` occurrences of each master (the
// earliest), for a view that shows a bounded number: the others in the
// window are counted into `more`, up to a bound that keeps the cost in
// proportion to `maxPerSeries`.
BoundedExpansion expandEventsBounded(const QList<Event> &events, const QDateTime &from, const QDateTime &to,
                                     int maxPerSeries);

// The occurrences of expandEvents, in its order, without copies of the rows
// (see Occurrence): for the callers that place or count them. They point
// into `events`, which must outlive them.
QList<Occurrence> expandOccurrences(const QList<Event> &events, const QDateTime &from, const QDateTime &to);

struct BoundedOccurrences
{
    QList<Occurrence> occurrences;
    qint64 more = 0;
    bool moreIsLowerBound = false;
};

// expandEventsBounded's occurrences as light ones.
BoundedOccurrences expandOccurrencesBounded(const QList<Event> &events, const QDateTime &from, const QDateTime &to,
                                            int maxPerSeries);

// The same occurrences handed to `visit` one at a time: memory stays that
// of one series' starts, however long the window.
void forEachOccurrence(const QList<Event> &events, const QDateTime &from, const QDateTime &to,
                       const std::function<void(const Occurrence &)> &visit);

// One row's occurrences in [from, to), ascending, without override handling.
// A row that does not repeat is returned as it is when it overlaps the window
// (one without an end when it starts before `to`).
QList<Event> expandEvent(const Event &event, const QDateTime &from, const QDateTime &to);

// The instants (ms since the epoch) of a JSON array of "yyyyMMddTHHmmssZ",
// floating "yyyyMMddTHHmmss" (read in `floatingZone`) and "yyyyMMdd" (00:00
// UTC) values; a plain comma list is read too. Unreadable values are skipped.
QSet<qint64> parseExceptionDates(const QString &text, const QTimeZone &floatingZone = QTimeZone::systemTimeZone());

// The rule's starts from `dtstart` (which sets the wall clock and zone) up to
// `windowEnd` exclusive, ascending; at most 10,000.
QList<QDateTime> occurrenceStarts(const RecurrenceRule &rule, const QDateTime &dtstart, const QDateTime &windowEnd);

} // namespace Recurrence
