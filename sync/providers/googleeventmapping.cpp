// Google event resource <-> Event record: the static half of
// Google::CalendarClient, kept apart from the network half.
#include "eventmerge.h"
#include "exceptionkey.h"
#include "googlecalendarclient.h"
#include "icalendar.h"
#include "providerevents.h"
#include "providerhttp.h"
#include "recordnames.h"

#include "timeutil.h"

#include <QJsonArray>
#include <QTimeZone>

using namespace Qt::StringLiterals;

namespace Google {

using ProviderHttp::parseIso;

namespace {

QString attendeeStatus(const QString &responseStatus)
{
    const QString status = responseStatus.toLower();
    if (status == ParticipationStatus::Accepted || status == ParticipationStatus::Declined
        || status == ParticipationStatus::Tentative)
        return status;
    return ParticipationStatus::NeedsAction;
}

QList<Attendee> attendeesFromJson(const QJsonArray &array)
{
    QList<Attendee> out;
    for (const QJsonValue &value : array) {
        const QJsonObject entry = value.toObject();
        const QString email = entry.value("email"_L1).toString();
        if (email.isEmpty())
            continue;
        Attendee attendee;
        attendee.email = email;
        attendee.name = entry.value("displayName"_L1).toString();
        attendee.role = entry.value("organizer"_L1).toBool() ? AttendeeRole::Chair
            : entry.value("optional"_L1).toBool()            ? AttendeeRole::Optional
                                                             : AttendeeRole::Required;
        attendee.status = attendeeStatus(entry.value("responseStatus"_L1).toString());
        attendee.rsvp = true;
        out.append(attendee);
    }
    return out;
}

QList<Reminder> remindersFromJson(const QJsonArray &overrides)
{
    QList<Reminder> out;
    for (const QJsonValue &value : overrides) {
        const QJsonObject entry = value.toObject();
        const int before = ProviderEvents::minutesBefore(entry.value("minutes"_L1));
        if (before < 0)
            continue;
        Reminder reminder;
        reminder.minutes_before = before;
        const QString method = entry.value("method"_L1).toString();
        if (!method.isEmpty())
            reminder.action = method;
        out.append(reminder);
    }
    return out;
}

// A timed event goes in its own zone: a series keeps its wall clock across
// DST only when Google knows the zone, and an edit must not move any event
// to UTC for every other device.
bool sendsOwnZone(const Event &event)
{
    if (event.is_all_day || event.timezone.isEmpty() || event.timezone == "UTC"_L1)
        return false;
    return QTimeZone(event.timezone.toUtf8()).isValid();
}

// The dates of the EXDATE or RDATE lines (`name`) of a recurrence array as
// the store keeps them: UTC "yyyyMMddTHHmmssZ", or "yyyyMMdd" for dates. A
// value without zone is in the event's own `zone`.
// Keys as the rows hold them; an all-day series' values by the dates written
// (a floating or zoned midnight names its own date, not the machine's).
QString datesFromLines(const QJsonArray &lines, const QString &name, const QString &zone, bool allDay)
{
    QStringList keys;
    for (const QJsonValue &line : lines) {
        ICalendar::Property property = ICalendar::splitProperty(line.toString());
        if (property.name != name)
            continue;
        if (!property.params.contains(u"TZID"_s) && !zone.isEmpty())
            property.params.insert(u"TZID"_s, zone);
        for (const QString &value : property.value.split(u',', Qt::SkipEmptyParts)) {
            bool isDate = false;
            const QDateTime instant = ICalendar::parseDateTime(value.trimmed(), property.params, &isDate);
            if (!instant.isValid())
                continue;
            const QString key = isDate || allDay ? value.trimmed().left(8) : TimeUtil::toIcalUtc(instant);
            if (!keys.contains(key))
                keys.append(key);
        }
    }
    return EventMerge::dateJson(keys);
}

// One EXDATE or RDATE line per stored date: dates as DATE values, instants in
// UTC, each in the form of its series.
void appendDateLines(QJsonArray &lines, const QString &name, const QString &stored, const Event &series)
{
    for (QString key : EventMerge::dateList(stored)) {
        if (series.is_all_day != (key.size() == 8))
            key = ExceptionKey::normalized(series, key);
        if (key.size() == 8)
            lines.append(name + u";VALUE=DATE:"_s + key);
        else
            lines.append(name + u':' + key);
    }
}

QJsonObject zonedDateTime(const QDateTime &value, const QString &zoneName)
{
    const QDateTime local = value.toTimeZone(QTimeZone(zoneName.toUtf8()));
    return QJsonObject{{"dateTime"_L1, local.toString(u"yyyy-MM-ddTHH:mm:ss"_s)}, {"timeZone"_L1, zoneName}};
}

} // namespace

JsonDateTime CalendarClient::dateTimeFromJson(const QJsonObject &value)
{
    JsonDateTime out;
    const QString dateTime = value.value("dateTime"_L1).toString();
    if (!dateTime.isEmpty()) {
        out.value = parseIso(dateTime);
        out.timeZone = value.value("timeZone"_L1).toString();
        // Without an offset the wall clock is in the named zone, not this machine's.
        if (out.value.isValid() && out.value.timeSpec() == Qt::LocalTime && !out.timeZone.isEmpty()) {
            const QTimeZone zone(out.timeZone.toUtf8());
            if (zone.isValid())
                out.value = TimeUtil::inZone(out.value.date(), out.value.time(), zone);
        }
        return out;
    }
    const QString date = value.value("date"_L1).toString();
    if (!date.isEmpty()) {
        // A date, held as every all-day row is: 00:00 UTC of that date,
        // whatever zone this machine or the calendar is in.
        const QDate day = QDate::fromString(date, Qt::ISODate);
        if (day.isValid())
            out.value = TimeUtil::utc(day);
        out.allDay = true;
    }
    return out;
}

QJsonObject CalendarClient::dateTimeToJson(const QDateTime &value, bool allDay, const QString &)
{
    if (allDay)
        return QJsonObject{{"date"_L1, value.date().toString(Qt::ISODate)}};
    return QJsonObject{{"dateTime"_L1, value.toUTC().toString(Qt::ISODateWithMs)}, {"timeZone"_L1, u"UTC"_s}};
}

QString CalendarClient::recurrenceFromJson(const QJsonObject &item)
{
    const QJsonArray lines = item.value("recurrence"_L1).toArray();
    for (const QJsonValue &line : lines) {
        const QString text = line.toString();
        if (text.startsWith("RRULE:"_L1))
            return text.mid(6);
    }
    return QString();
}

QString CalendarClient::statusFromJson(const QString &status)
{
    if (status == EventStatus::Confirmed || status == EventStatus::Tentative || status == EventStatus::Cancelled)
        return status;
    return EventStatus::Confirmed;
}

QString CalendarClient::originalStartKey(const QJsonObject &item)
{
    const JsonDateTime original = dateTimeFromJson(item.value("originalStartTime"_L1).toObject());
    if (!original.value.isValid())
        return QString();
    return original.allDay ? TimeUtil::toIcalDate(original.value.date()) : TimeUtil::toIcalUtc(original.value);
}

QString CalendarClient::originalStartOf(const QString &startKey)
{
    if (startKey.size() == 8)
        return QDate::fromString(startKey, u"yyyyMMdd"_s).toString(Qt::ISODate);
    return TimeUtil::fromIcalUtc(startKey).toUTC().toString(Qt::ISODate);
}

Event CalendarClient::eventFromJson(const QJsonObject &item, const QString &calendarId)
{
    Event event = ProviderEvents::pulled(calendarId, item.value("id"_L1).toString(), item.value("etag"_L1).toString(),
                                         item.value("summary"_L1).toString());
    event.description = item.value("description"_L1).toString();
    event.location = item.value("location"_L1).toString();
    event.event_url = item.value("htmlLink"_L1).toString();
    event.conference_url = item.value("hangoutLink"_L1).toString();

    const JsonDateTime start = dateTimeFromJson(item.value("start"_L1).toObject());
    event.start_time = start.value;
    event.is_all_day = start.allDay;
    event.timezone = start.timeZone.isEmpty() ? u"UTC"_s : start.timeZone;
    const JsonDateTime end = dateTimeFromJson(item.value("end"_L1).toObject());
    if (end.value.isValid())
        event.end_time = end.value;

    event.recurrence_rule = recurrenceFromJson(item);
    const QJsonArray recurrence = item.value("recurrence"_L1).toArray();
    event.exception_dates = datesFromLines(recurrence, u"EXDATE"_s, start.timeZone, start.allDay);
    event.recurrence_dates = datesFromLines(recurrence, u"RDATE"_s, start.timeZone, start.allDay);
    // An instance of a series replaces the occurrence that started at its
    // original start: that start, not the series id, is the override key.
    const QString series = item.value("recurringEventId"_L1).toString();
    if (!series.isEmpty()) {
        event.master_event_uid = series;
        event.recurrence_id = originalStartKey(item);
    }
    event.status = statusFromJson(item.value("status"_L1).toString());
    const QJsonObject organizer = item.value("organizer"_L1).toObject();
    event.organizer_email = organizer.value("email"_L1).toString();
    event.organizer_name = organizer.value("displayName"_L1).toString();
    event.attendees = attendeesFromJson(item.value("attendees"_L1).toArray());
    event.sequence = item.value("sequence"_L1).toInt(0);

    event.reminders = remindersFromJson(item.value("reminders"_L1).toObject().value("overrides"_L1).toArray());
    ProviderEvents::finishPulled(event, item, item.value("updated"_L1).toString());
    return event;
}

QJsonObject CalendarClient::eventToJson(const Event &event)
{
    QJsonObject out;
    out.insert("summary"_L1, event.title);
    // Always sent: PATCH keeps what a body leaves out, so a cleared text
    // must travel as "" to be cleared on the server too.
    out.insert("description"_L1, event.description);
    out.insert("location"_L1, event.location);

    const QDateTime end = ProviderEvents::endToSend(event);

    if (sendsOwnZone(event)) {
        out.insert("start"_L1, zonedDateTime(event.start_time, event.timezone));
        out.insert("end"_L1, zonedDateTime(end, event.timezone));
    } else {
        out.insert("start"_L1, dateTimeToJson(event.start_time, event.is_all_day, event.timezone));
        out.insert("end"_L1, dateTimeToJson(end, event.is_all_day, event.timezone));
    }
    if (!event.recurrence_rule.isEmpty()) {
        QJsonArray lines{u"RRULE:"_s + ExceptionKey::datedRule(event)};
        appendDateLines(lines, u"EXDATE"_s, event.exception_dates, event);
        appendDateLines(lines, u"RDATE"_s, event.recurrence_dates, event);
        out.insert("recurrence"_L1, lines);
    }
    if (!event.status.isEmpty())
        out.insert("status"_L1, event.status);
    if (!event.reminders.isEmpty()) {
        QJsonArray overrides;
        for (const Reminder &reminder : event.reminders) {
            const QString method = reminder.action.isEmpty() || reminder.action == ReminderAction::Display
                ? u"popup"_s
                : reminder.action;
            overrides.append(QJsonObject{{"method"_L1, method}, {"minutes"_L1, reminder.minutes_before}});
        }
        out.insert("reminders"_L1, QJsonObject{{"useDefault"_L1, false}, {"overrides"_L1, overrides}});
    }
    return out;
}

DiscoveredCalendar CalendarClient::calendarFromJson(const QJsonObject &entry)
{
    DiscoveredCalendar calendar;
    calendar.id = entry.value("id"_L1).toString();
    calendar.summary = entry.value("summary"_L1).toString();
    calendar.description = entry.value("description"_L1).toString();
    calendar.backgroundColor = entry.value("backgroundColor"_L1).toString();
    calendar.accessRole = entry.value("accessRole"_L1).toString();
    calendar.primary = entry.value("primary"_L1).toBool(false);
    return calendar;
}

} // namespace Google
