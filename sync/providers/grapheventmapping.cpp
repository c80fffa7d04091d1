// Graph event resource <-> Event record: the static half of
// Microsoft::CalendarClient, kept apart from the network half.
#include "exceptionkey.h"
#include "graphzones.h"
#include "microsoftcalendarclient.h"
#include "providerevents.h"
#include "providerhttp.h"
#include "recordnames.h"

#include "timeutil.h"

#include <QJsonArray>
#include <QJsonDocument>

using namespace Qt::StringLiterals;

namespace Microsoft {

using ProviderHttp::parseIso;

namespace {

QString attendeeStatus(const QString &response)
{
    const QString status = response.toLower();
    if (status == ParticipationStatus::Accepted || status == "organizer"_L1)
        return ParticipationStatus::Accepted;
    if (status == ParticipationStatus::Declined)
        return ParticipationStatus::Declined;
    if (status == "tentativelyaccepted"_L1)
        return ParticipationStatus::Tentative;
    return ParticipationStatus::NeedsAction;
}

QList<Attendee> attendeesFromJson(const QJsonArray &array)
{
    QList<Attendee> out;
    for (const QJsonValue &value : array) {
        const QJsonObject entry = value.toObject();
        const QJsonObject address = entry.value("emailAddress"_L1).toObject();
        const QString email = address.value("address"_L1).toString();
        if (email.isEmpty())
            continue;
        Attendee attendee;
        attendee.email = email;
        attendee.name = address.value("name"_L1).toString();
        attendee.role = entry.value("type"_L1).toString().toLower() == "optional"_L1 ? AttendeeRole::Optional
                                                                                     : AttendeeRole::Required;
        attendee.status = attendeeStatus(entry.value("status"_L1).toObject().value("response"_L1).toString());
        attendee.rsvp = true;
        out.append(attendee);
    }
    return out;
}

QString statusFromShowAs(const QString &showAs)
{
    return showAs == "free"_L1 || showAs == "tentative"_L1 ? EventStatus::Tentative : EventStatus::Confirmed;
}

// The body as the server last sent it, from the pulled resource kept in the
// row; empty for a row that never came from Graph.
QString pulledBody(const Event &event)
{
    if (event.raw_icalendar.isEmpty())
        return QString();
    const QJsonObject item = QJsonDocument::fromJson(event.raw_icalendar.toUtf8()).object();
    return item.value("body"_L1).toObject().value("content"_L1).toString();
}

bool cameFromGraph(const Event &event)
{
    return !event.raw_icalendar.isEmpty() && event.raw_icalendar.startsWith(u'{');
}

// The day an all-day instance had in its series. Graph gives its original
// start as midnight of that day in the series' zone, converted to UTC, and
// names no zone that could be trusted for it ("originalStartTimeZone" is
// often the zone asked for): a zone named whose midnight it is tells the
// day; else the day is a midnight no further than the world's offsets
// reach, -12 to +14 hours. Where two are that close, the one the instance
// still starts on is it, else the side of the date line most people live
// on: -10 (Hawaii) rather than +14, +13 (New Zealand's summer, Samoa,
// Tonga) rather than -11.
QDate originalDay(const QDateTime &original, const QJsonObject &item)
{
    const QDateTime utc = original.toUTC();
    const QTimeZone named = GraphZones::zoneOf(item.value("originalStartTimeZone"_L1).toString());
    if (named.isValid() && utc.toTimeZone(named).time() == QTime(0, 0))
        return utc.toTimeZone(named).date();
    const QDate nearer = utc.addSecs(12 * 3600).date();
    const QDate later = utc.addSecs(14 * 3600).date();
    if (later == nearer)
        return nearer;
    const QDate starts = QDate::fromString(item.value("start"_L1).toObject().value("dateTime"_L1).toString().left(10),
                                           Qt::ISODate);
    if (starts == later || starts == nearer)
        return starts;
    return utc.time() < QTime(11, 0) ? nearer : later;
}

// "yyyy-MM-ddTHH:mm:ss", with any fraction and no offset: the wall clock
// Graph writes, read without making a machine-local time of it first (a
// round of thousands of events spends its time there). False for any other
// text, which the general reader takes.
bool readWallClock(QStringView text, QDate *date, QTime *time)
{
    const auto number = [text](qsizetype from, qsizetype digits) {
        int value = 0;
        for (qsizetype i = from; i < from + digits; ++i) {
            const char16_t c = text.at(i).unicode();
            if (c < u'0' || c > u'9')
                return -1;
            value = value * 10 + (c - u'0');
        }
        return value;
    };
    if (text.size() < 19 || text.at(4) != u'-' || text.at(7) != u'-' || text.at(10) != u'T' || text.at(13) != u':'
        || text.at(16) != u':')
        return false;
    int ms = 0;
    if (text.size() > 19) {
        const qsizetype digits = text.size() - 20;
        if (text.at(19) != u'.' || digits < 1 || digits > 9 || number(20, digits) < 0)
            return false;
        ms = number(20, std::min<qsizetype>(digits, 3)) * (digits >= 3 ? 1 : digits == 2 ? 10 : 100);
    }
    *date = QDate(number(0, 4), number(5, 2), number(8, 2));
    *time = QTime(number(11, 2), number(14, 2), number(17, 2), ms);
    return date->isValid() && time->isValid();
}

} // namespace

GraphDateTime CalendarClient::dateTimeFromJson(const QJsonObject &value, bool allDay)
{
    GraphDateTime out;
    out.timeZone = value.value("timeZone"_L1).toString();
    QString text = value.value("dateTime"_L1).toString();
    if (text.isEmpty())
        return out;
    QDate date;
    QTime time;
    const QTimeZone named = allDay ? QTimeZone() : GraphZones::zoneOf(out.timeZone);
    if (named.isValid() && readWallClock(text, &date, &time)) {
        out.value = named == QTimeZone::utc() ? TimeUtil::utc(date, time) : TimeUtil::inZone(date, time, named);
        return out;
    }
    // Graph writes seven fractional digits; Qt reads at most three.
    const qsizetype dot = text.indexOf(u'.');
    if (dot > 0 && text.size() > dot + 4)
        text.truncate(dot + 4);
    if (allDay) {
        // Graph gives an all-day event as midnight to midnight of its dates
        // whatever zone it names: the written date is the day, held as
        // every all-day row is, at 00:00 UTC.
        const QDate day = QDate::fromString(text.left(10), Qt::ISODate);
        if (day.isValid()) {
            out.value = TimeUtil::utc(day);
            out.allDay = true;
        }
        return out;
    }
    out.value = parseIso(text);
    // A wall clock without offset is read in the zone the answer names
    // (a Windows name as often as an IANA id), never in the machine's.
    const QTimeZone zone = GraphZones::zoneOf(out.timeZone);
    if (out.value.isValid() && out.value.timeSpec() == Qt::LocalTime && zone.isValid())
        out.value = zone == QTimeZone::utc() ? TimeUtil::utc(out.value.date(), out.value.time())
                                             : TimeUtil::inZone(out.value.date(), out.value.time(), zone);
    return out;
}

QJsonObject CalendarClient::dateTimeToJson(const QDateTime &value, bool allDay, const QString &zoneName)
{
    if (allDay)
        return QJsonObject{{"dateTime"_L1, u"%1T00:00:00"_s.arg(value.date().toString(Qt::ISODate))},
                           {"timeZone"_L1, u"UTC"_s}};
    // The wall clock of the event's own zone, so that a series keeps its
    // hour across DST for everyone who sees it.
    const QTimeZone zone = GraphZones::zoneOf(zoneName);
    // A zone Graph knows no name for goes as its UTC instant: its wall clock
    // labelled UTC would move the event by the zone's offset.
    const QString name = zone.isValid() ? GraphZones::windowsName(zone.id()) : QString();
    if (zone.isValid() && zone != QTimeZone::utc() && !GraphZones::isUtcName(name))
        return QJsonObject{{"dateTime"_L1, value.toTimeZone(zone).toString(u"yyyy-MM-ddTHH:mm:ss"_s)},
                           {"timeZone"_L1, name}};
    return QJsonObject{{"dateTime"_L1, value.toUTC().toString(u"yyyy-MM-ddTHH:mm:ss"_s)}, {"timeZone"_L1, u"UTC"_s}};
}

QString CalendarClient::originalStartKey(const QJsonObject &item, bool allDay, const QTimeZone &seriesZone)
{
    const QString text = item.value("originalStart"_L1).toString();
    if (text.isEmpty())
        return QString();
    QString trimmed = text;
    const qsizetype dot = trimmed.indexOf(u'.');
    if (dot > 0) {
        // Keep the offset or "Z" after the fraction.
        qsizetype end = dot + 1;
        while (end < trimmed.size() && trimmed.at(end).isDigit())
            ++end;
        trimmed.remove(dot, end - dot);
    }
    QDateTime value = parseIso(trimmed);
    if (!value.isValid())
        return QString();
    if (value.timeSpec() == Qt::LocalTime) // no offset: Graph means UTC
        value = TimeUtil::utc(value.date(), value.time());
    // The midnight nearest the original start in the series' zone is its
    // day, whatever its own start was moved to.
    if (allDay && seriesZone.isValid())
        return TimeUtil::toIcalDate(value.toTimeZone(seriesZone).addSecs(12 * 3600).date());
    if (allDay)
        return TimeUtil::toIcalDate(originalDay(value, item));
    return TimeUtil::toIcalUtc(value);
}

Event CalendarClient::eventFromJson(const QJsonObject &item, const QString &calendarId)
{
    Event event = ProviderEvents::pulled(calendarId, item.value("id"_L1).toString(),
                                         item.value("changeKey"_L1).toString(), item.value("subject"_L1).toString());
    event.description = item.value("body"_L1).toObject().value("content"_L1).toString();
    event.location = item.value("location"_L1).toObject().value("displayName"_L1).toString();
    event.event_url = item.value("webLink"_L1).toString();
    event.conference_url = item.value("onlineMeeting"_L1).toObject().value("joinUrl"_L1).toString();
    event.is_all_day = item.value("isAllDay"_L1).toBool(false);

    const GraphDateTime start = dateTimeFromJson(item.value("start"_L1).toObject(), event.is_all_day);
    event.start_time = start.value;
    event.timezone = u"UTC"_s;
    // Listings come in UTC; the zone a timed event lives in is the one it
    // was written in, which its edits must keep. An all-day event's dates
    // are in no zone.
    const QStringList zoneNames = event.is_all_day
        ? QStringList()
        : QStringList{start.timeZone, item.value("originalStartTimeZone"_L1).toString()};
    for (const QString &name : zoneNames) {
        const QTimeZone zone = GraphZones::zoneOf(name);
        if (zone.isValid() && zone != QTimeZone::utc() && TimeUtil::isNamedZone(zone)) {
            event.timezone = QString::fromUtf8(zone.id());
            break;
        }
    }
    const GraphDateTime end = dateTimeFromJson(item.value("end"_L1).toObject(), event.is_all_day);
    if (end.value.isValid())
        event.end_time = end.value;

    const QJsonObject recurrence = item.value("recurrence"_L1).toObject();
    if (!recurrence.isEmpty()) {
        // Pulled in UTC, a series would drift by an hour across DST: it
        // repeats on the wall clock of its own zone.
        const QTimeZone zone = recurrenceZone(recurrence, GraphZones::zoneOf(event.timezone));
        if (!event.is_all_day && zone != QTimeZone::utc())
            event.timezone = QString::fromUtf8(zone.id());
        event.recurrence_rule = recurrenceToRrule(recurrence, event.is_all_day ? QTimeZone() : zone);
    }
    // An occurrence or exception replaces the occurrence that started at its
    // original start: that start, not the series id, is the override key.
    // It shares the series' uid, as an override written here does.
    const QString series = item.value("seriesMasterId"_L1).toString();
    if (!series.isEmpty()) {
        event.uid = series;
        event.master_event_uid = series;
        event.recurrence_id = originalStartKey(item, event.is_all_day);
    }
    // A master read for a calendar view carries the occurrences gone from it.
    const QJsonArray gone = item.value("@exdates"_L1).toArray();
    if (!gone.isEmpty())
        event.exception_dates = QString::fromUtf8(QJsonDocument(gone).toJson(QJsonDocument::Compact));
    // A meeting its organizer cancelled stays listed, flagged: it is off.
    event.status = item.value("isCancelled"_L1).toBool(false) ? EventStatus::Cancelled
                                                              : statusFromShowAs(item.value("showAs"_L1).toString());
    const QJsonObject organizer = item.value("organizer"_L1).toObject().value("emailAddress"_L1).toObject();
    event.organizer_email = organizer.value("address"_L1).toString();
    event.organizer_name = organizer.value("name"_L1).toString();
    event.attendees = attendeesFromJson(item.value("attendees"_L1).toArray());

    if (item.value("isReminderOn"_L1).toBool(false)) {
        const int before = ProviderEvents::minutesBefore(item.value("reminderMinutesBeforeStart"_L1));
        if (before >= 0) {
            Reminder reminder;
            reminder.minutes_before = before;
            event.reminders.append(reminder);
        }
    }

    ProviderEvents::finishPulled(event, item, item.value("lastModifiedDateTime"_L1).toString());
    return event;
}

QJsonObject CalendarClient::eventToJson(const Event &event, QString *problem)
{
    QJsonObject out;
    out.insert("subject"_L1, event.title);
    out.insert("isAllDay"_L1, event.is_all_day);
    out.insert("showAs"_L1,
               event.status == EventStatus::Tentative       ? u"tentative"_s
                   : event.status == EventStatus::Cancelled ? u"free"_s
                                                            : u"busy"_s);
    // A body pulled as HTML and left alone stays on the server as it is:
    // sent back it would turn into literal markup, and a meeting's join
    // block would be lost with it.
    const bool bodyUnchanged = cameFromGraph(event) && event.description == pulledBody(event);
    if (!bodyUnchanged && (!event.description.isEmpty() || cameFromGraph(event)))
        out.insert("body"_L1, QJsonObject{{"contentType"_L1, u"text"_s}, {"content"_L1, event.description}});
    // Written even when empty, so that a location cleared here is cleared
    // there too.
    if (!event.location.isEmpty() || cameFromGraph(event))
        out.insert("location"_L1, QJsonObject{{"displayName"_L1, event.location}});

    const QDateTime end = ProviderEvents::endToSend(event);
    out.insert("start"_L1, dateTimeToJson(event.start_time, event.is_all_day, event.timezone));
    out.insert("end"_L1, dateTimeToJson(end, event.is_all_day, event.timezone));

    if (!event.recurrence_rule.isEmpty()) {
        // The pattern's days are the series' own, not those of the UTC start.
        const QTimeZone zone = GraphZones::zoneOf(event.timezone);
        const QDateTime seriesStart = zone.isValid() && !event.is_all_day ? event.start_time.toTimeZone(zone)
                                                                          : event.start_time;
        QString why;
        const QJsonObject recurrence = rruleToRecurrence(ExceptionKey::datedRule(event), seriesStart, &why);
        if (!recurrence.isEmpty())
            out.insert("recurrence"_L1, recurrence);
        else if (problem)
            *problem = why;
    }
    out.insert("isReminderOn"_L1, !event.reminders.isEmpty());
    if (!event.reminders.isEmpty())
        out.insert("reminderMinutesBeforeStart"_L1, event.reminders.first().minutes_before);
    return out;
}

} // namespace Microsoft
