#pragma once

// For tests that link the calendar core. An event row as an earlier save
// left it: timed in the zone the test runs under (named in the row), with
// reminders 15 and 60 minutes before, one attendee and its stored text.

#include "event.h"
#include "icalendar.h"

#include <QTimeZone>
#include <QUuid>

inline Event testEvent(const QString &calendarId, const QString &title, const QDateTime &start, const QDateTime &end,
                       const QString &rule = QString())
{
    Event e;
    e.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    e.uid = e.id;
    e.calendar_id = calendarId;
    e.title = title;
    e.start_time = start;
    e.end_time = end;
    e.timezone = QString::fromUtf8(QTimeZone::systemTimeZoneId());
    e.recurrence_rule = rule;
    Reminder early, late;
    early.minutes_before = 60;
    late.minutes_before = 15;
    e.reminders = {early, late};
    Attendee ann;
    ann.email = QStringLiteral("ann@example.com");
    ann.name = QStringLiteral("Ann");
    ann.status = QStringLiteral("accepted");
    e.attendees = {ann};
    e.created = e.last_modified = QDateTime::currentDateTimeUtc();
    e.raw_icalendar = ICalendar::serializeEvent(e);
    return e;
}
