#pragma once

#include "event.h"
#include "task.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// iCalendar (RFC 5545) text of events and tasks, read into records and written
// back. Stateless free functions; nothing here logs or fails as a whole.
namespace ICalendar {

// One content line once split.
struct Property
{
    QString name; // upper-cased
    QHash<QString, QString> params; // upper-cased key -> value as written (quotes included)
    QString value; // as written, not trimmed
};

// Every VEVENT with a UID, in text order. Each event keeps its own lines,
// nested components included, wrapped in this system's VCALENDAR header, as
// `raw_icalendar`; a master and its overrides become separate records. A TZID
// no zone database knows is read by the text's VTIMEZONE of that name, which
// then goes into `raw_icalendar` too, ahead of the event: the expansion and
// the writers read the zone from there.
QList<Event> parseEvents(const QString &text);

// The same events from iCalendar bytes, read as decodeText reads them
// without a charset, a line at a time rather than the whole text converted
// first. `repaired` gets decodeText's count of lines read as Windows-1252.
QList<Event> parseEventBytes(QByteArrayView bytes, int *repaired = nullptr);

// Every VTODO with a UID, in text order; `raw_icalendar` is the VTODO block.
QList<Task> parseTasks(const QString &text);

QStringList unfoldLines(const QString &text);

// Separators inside double-quoted parameter values do not count.
Property splitProperty(const QString &line);

QString unescapeText(const QString &text);

// A DATE value (8 characters) gives midnight UTC of that day and sets
// *isDate. A DATE-TIME ending in "Z" is UTC; otherwise the TZID parameter (an
// IANA or Windows zone name, quoted or not) decides, and a missing or unknown
// zone (there is no VTIMEZONE to define it here) means local time. Null when
// the value cannot be read.
QDateTime parseDateTime(const QString &value, const QHash<QString, QString> &params, bool *isDate = nullptr);

// A complete VCALENDAR with one VEVENT holding every field of the record.
// When the event carries earlier text in `raw_icalendar`, the properties and
// components the record does not map (X- properties, CATEGORIES, alarms that
// are no reminder, extra parameters of known attendees ...) are carried over,
// so that saving an edit never drops what another client wrote.
QString serializeEvent(const Event &event);

// The same text as serializeEvent; kept for callers creating an event.
QString serializeNewEvent(const Event &event);

// One VCALENDAR with a VEVENT per record, e.g. a series master followed by its
// overrides (same UID, each with RECURRENCE-ID) as one CalDAV resource.
QString serializeEvents(const QList<Event> &events);

// A complete VCALENDAR with one VTODO; unmapped lines of an earlier VTODO in
// `raw_icalendar` are carried over as for events.
QString serializeTask(const Task &task);

// Replaces DTSTART/DTEND of the first VEVENT in stored text (timed values in
// UTC, all-day values as dates) and drops its DURATION; every other line,
// nested components included, is kept. Empty text, an invalid start or text
// without a VEVENT is returned unchanged. An invalid end means none.
QString rewriteEventTimes(const QString &text, const QDateTime &newStart, const QDateTime &newEnd);

// The value of the first `name` line (unfolded, without parameters) of the
// first VTODO in stored text; empty when there is none.
QString taskProperty(const QString &text, QLatin1String name);
// Stored text whose first VTODO has one `name:value` line instead of its
// `name` lines (none for an empty value). Text without a VTODO is returned
// unchanged.
QString withTaskProperty(const QString &text, QLatin1String name, const QString &value);

} // namespace ICalendar
