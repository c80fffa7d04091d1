#pragma once

#include "event.h"
#include "task.h"

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
    QString name;                   // upper-cased
    QHash<QString, QString> params; // upper-cased key -> value as written (quotes included)
    QString value;                  // as written, not trimmed
};

// Every VEVENT with a UID, in text order. Each event keeps its own lines,
// nested components included, wrapped in this system's VCALENDAR header, as
// `raw_icalendar`; a master and its overrides become separate records.
QList<Event> parseEvents(const QString &text);

// Every VTODO with a UID, in text order; `raw_icalendar` is the VTODO block.
QList<Task> parseTasks(const QString &text);

QStringList unfoldLines(const QString &text);

// Separators inside double-quoted parameter values do not count.
Property splitProperty(const QString &line);

QString unescapeText(const QString &text);

// A DATE value (8 characters) gives midnight UTC of that day and sets
// *isDate. A DATE-TIME ending in "Z" is UTC; otherwise the TZID parameter (an
// IANA or Windows zone name, quoted or not) decides, and a missing or unknown
// zone means local time. Null when the value cannot be read.
QDateTime parseDateTime(const QString &value, const QHash<QString, QString> &params,
                        bool *isDate = nullptr);

} // namespace ICalendar
