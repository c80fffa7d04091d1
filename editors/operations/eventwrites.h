#pragma once

#include "event.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTimeZone>

// What every editor does alike when it writes event rows: new ids, stored
// text, copies that become rows of their own, and the wall clock of series.
namespace EventWrites {

// A new row id: a UUID without braces.
QString newId();

// The text to store for the record: the complete iCalendar writer, which
// keeps what the earlier text holds beyond the record's fields. Rows of
// provider calendars hold the provider's JSON instead; that stays, since their
// pushes are built from the fields.
QString storedText(const Event &event);

// True for text in iCalendar form (or none at all).
bool isICalendarText(const QString &text);

// The reminders and attendees of a copy become rows of their own: their ids,
// event ids and trigger times are cleared for the repository to fill.
void detachChildren(Event &event);

// True when `edited` changes nothing a user can change in `shown`, the event
// (or occurrence) as it stood: compared as the user sees it, the instants
// rather than their representation, reminders and attendees by content
// rather than by row. A write of such an edit is no edit: the form and every
// scope of a recurring edit then write nothing.
bool sameContent(const Event &edited, const Event &shown);

// The end the views give `event`: its own, else an hour after a timed start
// or the end of an all-day one's day.
QDateTime shownEnd(const Event &event);

// All-day rows are held at 00:00 UTC of their dates, as the iCalendar reader
// gives them, so that a row typed here and one pulled from a server compare
// (and name their occurrences) alike.
QDateTime allDayTime(const QDate &date);

// The zone whose wall clock a series keeps: its start's zone, the system zone
// for local time, the zone named by `timezone` for a start held in UTC or at
// an offset, else UTC (or that offset).
QTimeZone seriesZone(const Event &event);

// `instant` moved as a series' wall clock moves from `from` to `to`: by the
// same number of days and the same change of the time of day in `zone`, so
// that an occurrence across a DST change keeps its place in the series.
// Returned in the representation of `instant`.
QDateTime shiftWallClock(const QDateTime &instant, const QDateTime &from, const QDateTime &to, const QTimeZone &zone);

} // namespace EventWrites
