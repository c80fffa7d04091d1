#pragma once

#include "event.h"
#include "timeutil.h"

#include <QDateTime>
#include <QStringList>
#include <QTimeZone>

// Wall clocks are written "2024-03-06T09:00" with a zone id ("UTC", an IANA
// id, or empty for the system's local time); starts are printed in ISO 8601
// with their UTC offset, so that a failing comparison shows both.
namespace ExpansionTest {

inline QTimeZone zoneOf(const QString &zone)
{
    if (zone.isEmpty())
        return QTimeZone::systemTimeZone();
    return zone == QLatin1String("UTC") ? QTimeZone::utc() : QTimeZone(zone.toUtf8());
}

inline QDateTime wallClock(const QString &text, const QString &zone)
{
    const QDateTime parsed = QDateTime::fromString(text, Qt::ISODate);
    if (zone.isEmpty())
        return QDateTime(parsed.date(), parsed.time(), Qt::LocalTime);
    return TimeUtil::inZone(parsed.date(), parsed.time(), zoneOf(zone));
}

inline Event series(const QString &start, const QString &zone, const QString &rule, int minutes = 60)
{
    Event event;
    event.id = QStringLiteral("master");
    event.calendar_id = QStringLiteral("cal");
    event.uid = QStringLiteral("uid-1");
    event.title = QStringLiteral("Series");
    event.start_time = wallClock(start, zone);
    event.end_time = event.start_time.addSecs(minutes * 60);
    event.recurrence_rule = rule;
    if (!zone.isEmpty())
        event.timezone = zone;
    return event;
}

inline QString printed(const QDateTime &dt, const QString &zone)
{
    if (zone == QLatin1String("UTC"))
        return dt.toUTC().toString(Qt::ISODate);
    return dt.toTimeZone(zoneOf(zone)).toString(Qt::ISODate);
}

inline QStringList startsOf(const QList<Event> &occurrences, const QString &zone)
{
    QStringList out;
    for (const Event &e : occurrences)
        out.append(printed(e.start_time, zone));
    return out;
}

} // namespace ExpansionTest
