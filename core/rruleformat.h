#pragma once

#include <QList>
#include <QString>
#include <QTimeZone>

// Reminder offsets, in minutes before the start, offered for each reminder
// row of the template editor.
extern const QList<int> reminderChoiceMinutes;

// One-line descriptions of recurrence rules and reminder offsets, e.g.
// "Repeats weekly · Mon, Wed · 10 time(s)" and "15 min before". The rule text
// is read here on its own; dates are written with English month names
// whatever the UI language.
namespace RruleFormat {

struct ByDayToken
{
    int ordinal = 0; // signed position before the weekday code, 0 for none
    QString weekday; // upper-cased
};

// Takes the RRULE value without the property name; empty for an empty rule.
// A UTC UNTIL is named by its date in `zone`, the zone of a timed series,
// where the recurrence editor writes the last second of the day picked
// (the next day in UTC west of it); without a zone, as the day an all-day
// series ends on (ExceptionKey::datedRule).
QString describe(const QString &rule, const QTimeZone &zone = QTimeZone());
QString reminderOffsetLabel(int minutes);
// Translated short name ("Mon"), or the code upper-cased when unknown.
QString weekdayName(const QString &code);
// "1st", "2nd", "3rd", "11th", "22nd"...
QString ordinalNumber(int n);
// Word for a BYDAY or BYSETPOS position: "first".."fifth", "last",
// "second-to-last", "3th-from-last" and lower; "6th" and up; empty for 0.
QString positionWord(int n);
// "2MO" -> {2, "MO"}, "-1fr" -> {-1, "FR"}, "SU" -> {0, "SU"}.
ByDayToken parseByDay(const QString &token);

} // namespace RruleFormat
