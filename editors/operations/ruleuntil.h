#pragma once

#include <QDate>
#include <QString>
#include <QTimeZone>

struct RecurrenceRule;

// The UNTIL part of the rules the editors write. RFC 5545 wants UNTIL of the
// same type as DTSTART: a date for all-day series, a UTC date-time for timed
// ones, where a bare date would be read by other clients as midnight and
// drop the series' last day. The zone below is the series' own zone; an
// invalid zone means an all-day series (or an item without one).
namespace RuleUntil {

// "yyyyMMdd" without a zone, else the last second of `day` in `zone`, in UTC
// ("yyyyMMddTHHmmssZ").
QString value(const QDate &day, const QTimeZone &zone);

// Sets `rule`'s UNTIL to the form value() writes.
void setDay(RecurrenceRule &rule, const QDate &day, const QTimeZone &zone);

// The day an UNTIL value ends on: a UTC date-time read in `zone` (its first
// eight characters without one), a date or floating date-time as written.
// Invalid when unreadable.
QDate day(const QString &value, const QTimeZone &zone);

// `rule` with its UNTIL part, if any, as a date (`dateForm`) or as a UTC
// date-time ending the same day in `zone`; a value already of that form is
// kept as it is, and so are the other parts.
QString withUntilForm(const QString &rule, bool dateForm, const QTimeZone &zone);

} // namespace RuleUntil
