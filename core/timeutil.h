#pragma once

#include <QAnyStringView>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QTimeZone>

// Date-time helpers shared by every layer. Qt 6.4 lacks QTimeZone::UTC /
// QTimeZone::LocalTime initialisers and QDateTime::timeRepresentation(); this is
// the one place that bridges those gaps.
namespace TimeUtil {

// The zone a date-time's wall clock is expressed in (UTC, a fixed offset, an
// IANA zone or the system zone for local time).
QTimeZone representation(const QDateTime &dt);

// Builds a date-time with the wall clock `date`/`time` in `zone` (an invalid
// zone means local time). A wall clock skipped by a DST gap moves forward by
// the gap (RFC 5545 3.3.5); one that occurs twice means its first occurrence.
QDateTime inZone(QDate date, QTime time, const QTimeZone &zone);

// `date`/`time` read as UTC wall clock.
QDateTime utc(QDate date, QTime time = QTime(0, 0));

// Where an item starting at `start` stands here: a date-only one at the start
// of its day in the system zone (its stored 00:00 UTC is the evening before
// west of UTC), a timed one at `start`. startOfDay: midnight itself may not
// exist on a day that changes zone.
QDateTime placedStart(const QDateTime &start, bool dateOnly);

// Moves `dt` to the representation of `like` (same instant).
QDateTime toSameRepresentation(const QDateTime &dt, const QDateTime &like);

// The same wall clock (date and time of day) expressed in `zone`.
QDateTime withWallClockIn(const QDateTime &dt, const QTimeZone &zone);

// The wall clock `date`/`time` in the zone `like` is expressed in, of the
// same kind: local time stays local time, UTC stays UTC. Gaps and repeated
// wall clocks are read as by inZone.
QDateTime inZoneOf(QDate date, QTime time, const QDateTime &like);

// A timed value as it is stored: local time becomes the same instant in the
// system zone, so that its text carries the offset and a reader under another
// system zone finds the same instant; other representations stay.
QDateTime zoned(const QDateTime &dt);

// The same instant in `zone`: UTC as UTC, an invalid zone as zoned() does.
QDateTime toZone(const QDateTime &dt, const QTimeZone &zone);

// What the `timezone` column says for a timed value: `named` when it names a
// zone (the writer's choice), else the IANA id of the value's own zone (the
// system zone's for local time), else "UTC".
QString zoneName(const QDateTime &dt, const QString &named);

// A zone with a name of its own (an IANA id), not UTC or a bare offset
// ("UTC+01:00"), which no TZID can carry.
bool isNamedZone(const QTimeZone &zone);

// UTC, or a fixed offset of zero.
bool isUtc(const QDateTime &dt);

// iCalendar forms: "yyyyMMddTHHmmssZ" (UTC), "yyyyMMddTHHmmss" (floating) and "yyyyMMdd".
QString toIcalUtc(const QDateTime &dt);
QString toIcalDate(QDate date);
// Reads "yyyyMMddTHHmmssZ" straight as UTC (never through local time, which
// would shift values that fall into a DST gap). Null when malformed.
QDateTime fromIcalUtc(const QString &text);

// The database's ISO 8601 text (Qt::ISODate, whole seconds), in the value's
// own representation: "Z" for UTC, "+hh:mm" for an offset or a zone, no suffix
// for local time, so that a local or all-day value keeps its wall clock and
// date. Reading gives that representation back, a local wall clock read as by
// inZone; SQLite's datetime('now') form "yyyy-MM-dd HH:mm:ss" (a space, no
// suffix) is UTC. Any other text is read as Qt::ISODate reads it, with a
// local wall clock (a bare date: its midnight) read as by inZone.
QString toStorage(const QDateTime &dt);
QDateTime fromStorage(QAnyStringView text);

// The date written at the start of a stored text ("yyyy-MM-dd..."), whatever
// follows it; null when the text does not start with one.
QDate storedDate(QAnyStringView text);

} // namespace TimeUtil
