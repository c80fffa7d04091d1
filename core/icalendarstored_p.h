#pragma once

// The earlier text of a record that the writers carry over: its item block
// split into what the record maps and what it does not.

#include "icalendar_p.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

namespace ICalendar::Detail {

struct StoredItem
{
    struct Component
    {
        QString text; // BEGIN to END, each line ending in CR LF
        bool isAlarm = false;
        bool isReminder = false; // an alarm the reader turns into a reminder
        int minutesBefore = 0;
        QString action;
    };
    QStringList lines; // top-level properties, unfolded
    QList<Component> components;
};

// The block of `kind` ("VEVENT", "VTODO") in `text` with this UID and
// RECURRENCE-ID (UTC text, empty for none); the only block when none matches;
// nothing when several blocks match none.
StoredItem findStoredItem(const QString &text, QLatin1String kind, const QString &uid, const QString &recurrenceId);

// The upper-cased property name of a content line.
QString propertyName(const QString &line);

// The parameters of `line` other than `mapped`, as ";NAME=value" written back
// as they were.
QString extraParams(const QString &line, const QSet<QString> &mapped);

} // namespace ICalendar::Detail
