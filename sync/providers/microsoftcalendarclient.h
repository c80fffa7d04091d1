#pragma once

#include "event.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QTimeZone>

namespace Microsoft {

// A parsed "start" or "end" object of a Graph event (a date-time-time-zone
// pair).
struct GraphDateTime
{
    QDateTime value; // invalid when there is no usable "dateTime"
    bool allDay = false;
    QString timeZone;
};

// The Graph calendar API of one account: event resource <-> record and
// RRULE <-> Graph recurrence. No network, no state.
class CalendarClient
{
public:
    // Event resource <-> record. A pulled row keeps the resource itself in
    // `raw_icalendar` and its change key in `etag`.
    static Event eventFromJson(const QJsonObject &item, const QString &calendarId);
    static QJsonObject eventToJson(const Event &event);
    static GraphDateTime dateTimeFromJson(const QJsonObject &value, bool allDay);
    static QJsonObject dateTimeToJson(const QDateTime &value, bool allDay);
    // An instance's start within its series ("originalStart") as the
    // override key of the local store: UTC "yyyyMMddTHHmmssZ", or "yyyyMMdd"
    // for an all-day series. Empty when the item has none.
    static QString originalStartKey(const QJsonObject &item, bool allDay);

    // Graph's "recurrence" object for an RRULE value; empty when Graph cannot
    // take the rule's frequency. `start` gives the weekday, day and month a
    // rule leaves open, and the zone its dates are read in.
    static QJsonObject rruleToRecurrence(const QString &rule, const QDateTime &start);
    // The RRULE value for Graph's "recurrence" object; empty when the pattern
    // is missing or of an unknown type. An end date becomes the last second of
    // that day in `seriesZone` as UTC; an invalid zone (an all-day series)
    // keeps it a date.
    static QString recurrenceToRrule(const QJsonObject &recurrence, const QTimeZone &seriesZone);
    // The zone a series' dates are counted in: the range's own zone (Windows
    // or IANA name), else `fallback`.
    static QTimeZone recurrenceZone(const QJsonObject &recurrence, const QTimeZone &fallback);
};

} // namespace Microsoft
