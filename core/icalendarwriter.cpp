#include "icalendar.h"

#include "exceptionkey.h"
#include "icalendar_p.h"
#include "recordnames.h"
#include "timeutil.h"

#include "icalendarstored_p.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>

#include <algorithm>

// Output lines are never folded: the servers and clients we meet accept long
// lines, and stored texts stay one property per line for rewriteEventTimes.

namespace ICalendar {

using namespace Detail;

namespace {

class Writer
{
public:
    QString text;

    void line(QLatin1String nameAndParams, QStringView value)
    {
        text.append(nameAndParams).append(value).append(kCrlf);
    }
    void raw(QStringView line) { text.append(line).append(kCrlf); }
    void raw(QLatin1String line) { text.append(line).append(kCrlf); }
    // A TEXT property: the earlier line stays when it says the same, so its
    // parameters (ALTREP, LANGUAGE) survive.
    void textLine(QLatin1String name, const QString &value, const StoredItem &item)
    {
        for (const QString &old : item.lines) {
            const PropertyView prop = splitLine(old);
            if (prop.is(name) && unescape(prop.value) == value) {
                raw(old);
                return;
            }
        }
        text.append(name).append(QLatin1Char(':')).append(escapeText(value)).append(kCrlf);
    }
};

QString calAddress(const QString &address)
{
    return address.contains(QLatin1Char(':')) ? address : QLatin1String("mailto:") + address;
}

QString dateText(const QDateTime &dt)
{
    return TimeUtil::toIcalDate(dt.date());
}

// The zone of an event's wall clock: a real zone, one only the event's own
// text defines (kept as the text wrote it), or none (UTC).
struct EventZone
{
    QTimeZone zone;
    ZoneCache::Entry defined;

    bool isValid() const { return zone.isValid() || defined.rules; }
};

EventZone eventZone(const Event &event)
{
    if (event.is_all_day || event.timezone.isEmpty()
        || event.timezone.compare(QLatin1String("UTC"), Qt::CaseInsensitive) == 0)
        return {};
    const QTimeZone zone(event.timezone.toUtf8());
    if (zone.isValid())
        return {zone != QTimeZone::utc() ? zone : QTimeZone(), {}};
    ZoneCache zones;
    zones.defineFrom(event.raw_icalendar);
    return {QTimeZone(), zones.lookup(event.timezone)};
}

// "DTSTART" + params + ":" + value for a timed value in `zone` (UTC when none).
void timedLine(Writer &w, QLatin1String name, const QDateTime &dt, const EventZone &zone)
{
    if (!zone.isValid() || !dt.isValid()) {
        w.text.append(name).append(QLatin1Char(':')).append(TimeUtil::toIcalUtc(dt)).append(kCrlf);
        return;
    }
    const QDateTime local = zone.zone.isValid() ? dt.toTimeZone(zone.zone) : zone.defined.wallClock(dt);
    const QString id = zone.zone.isValid() ? QString::fromLatin1(zone.zone.id()) : zone.defined.id;
    w.text.append(name)
        .append(QLatin1String(";TZID="))
        .append(paramValue(id))
        .append(QLatin1Char(':'))
        .append(local.toString(QStringLiteral("yyyyMMdd'T'HHmmss")))
        .append(kCrlf);
}

// A start written at a wall clock that a DST gap skipped (02:30 on the day
// clocks go from 02:00 to 03:00) names the instant of the wall clock after
// the gap, but a series repeats at the one written: the earlier line stays
// while it names the same zone and instant.
bool keptStart(Writer &w, const StoredItem &item, const Event &e, const EventZone &zone)
{
    if (!zone.isValid() || !e.start_time.isValid())
        return false;
    const QString id = zone.zone.isValid() ? QString::fromLatin1(zone.zone.id()) : zone.defined.id;
    ZoneCache zones;
    zones.defineFrom(zone.defined.definition);
    for (const QString &old : item.lines) {
        const PropertyView prop = splitLine(old);
        if (!prop.is(QLatin1String("DTSTART")) || prop.param(QLatin1String("TZID")) != id)
            continue;
        const DateValue d = readDateValue(prop.value, id, &zones);
        if (!d.isDate && d.dateTime.isValid() && d.dateTime == e.start_time) {
            w.raw(old);
            return true;
        }
    }
    return false;
}

// A key in the form its series takes: a date in an all-day series, a time
// in a timed one (the occurrence a date names there). Others stay as stored.
QString keyForSeries(const Event &series, const QString &key)
{
    if (!series.start_time.isValid() || series.is_all_day == (key.size() == 8))
        return key;
    return ExceptionKey::normalized(series, key);
}

QStringList seriesKeys(const QString &json, const Event &series)
{
    QStringList keys;
    if (json.isEmpty())
        return keys;
    const QJsonArray values = QJsonDocument::fromJson(json.toUtf8()).array();
    for (const QJsonValue &v : values)
        keys.append(keyForSeries(series, v.toString()));
    return keys;
}

void dateListLines(Writer &w, QLatin1String name, const QStringList &keys)
{
    QStringList dates, times;
    for (const QString &s : keys) {
        if (s.size() == 8)
            dates.append(s);
        else if (!s.isEmpty())
            times.append(s);
    }
    if (!dates.isEmpty())
        w.text.append(name).append(QLatin1String(";VALUE=DATE:")).append(dates.join(QLatin1Char(','))).append(kCrlf);
    // Floating and UTC values are different forms: one line each.
    QStringList utc, floating;
    for (const QString &s : std::as_const(times))
        (s.endsWith(QLatin1Char('Z')) ? utc : floating).append(s);
    for (const QStringList *list : {&utc, &floating}) {
        if (!list->isEmpty())
            w.text.append(name).append(QLatin1Char(':')).append(list->join(QLatin1Char(','))).append(kCrlf);
    }
}

// The record keeps a PERIOD's start alone, so an RDATE line stays as stored
// (its ends or durations with it) while each date it names is still listed,
// in the form of the series. A zone other than the event's would go without
// its VTIMEZONE: such lines are written anew. Returns the keys of `series`
// that no kept line names.
QStringList keptRecurrenceDates(Writer &w, const StoredItem &item, const Event &series, const EventZone &zone)
{
    QStringList keys = seriesKeys(series.recurrence_dates, series);
    if (keys.isEmpty() || item.lines.isEmpty())
        return keys;
    QSet<QString> open(keys.cbegin(), keys.cend());
    const QString id = zone.zone.isValid() ? QString::fromLatin1(zone.zone.id()) : zone.defined.id;
    ZoneCache zones;
    zones.defineFrom(zone.defined.definition);
    bool kept = false;
    for (const QString &old : item.lines) {
        const PropertyView prop = splitLine(old);
        if (!prop.is(QLatin1String("RDATE")))
            continue;
        const QStringView tzid = prop.param(QLatin1String("TZID"));
        if (!tzid.isEmpty() && (!zone.isValid() || tzid != id))
            continue;
        DateList named;
        collectDates(prop, zones, &named);
        const bool listed = !named.values.isEmpty()
            && std::all_of(named.values.cbegin(), named.values.cend(), [&](const QString &key) {
                   return keyForSeries(series, key) == key && open.contains(key);
               });
        if (!listed)
            continue;
        w.raw(old);
        kept = true;
        for (const QString &key : std::as_const(named.values))
            open.remove(key);
    }
    if (kept)
        keys.removeIf([&open](const QString &key) { return !open.contains(key); });
    return keys;
}

QString roleText(const QString &role)
{
    if (role == AttendeeRole::Required)
        return QStringLiteral("REQ-PARTICIPANT");
    if (role == AttendeeRole::Optional)
        return QStringLiteral("OPT-PARTICIPANT");
    return role.toUpper();
}

QString triggerText(int minutesBefore)
{
    if (minutesBefore == 0)
        return QStringLiteral("PT0S");
    return (minutesBefore > 0 ? QStringLiteral("-PT") : QStringLiteral("PT"))
        + QString::number(std::abs(qint64(minutesBefore))) + QLatin1Char('M');
}

void alarm(Writer &w, const Reminder &r, const QString &title)
{
    const QString action = r.action.isEmpty() ? QStringLiteral("DISPLAY") : r.action.toUpper();
    w.raw(QLatin1String("BEGIN:VALARM"));
    w.line(QLatin1String("ACTION:"), action);
    w.line(QLatin1String("TRIGGER:"), triggerText(r.minutes_before));
    // DISPLAY and EMAIL alarms need a text; the event's title is what users expect.
    const QString text = escapeText(title.isEmpty() ? QStringLiteral("Reminder") : title);
    w.line(QLatin1String("DESCRIPTION:"), text);
    if (action == QLatin1String("EMAIL"))
        w.line(QLatin1String("SUMMARY:"), text);
    w.raw(QLatin1String("END:VALARM"));
}

// An alarm's text (BEGIN to END, unfolded lines ending in CR LF) with its own
// TRIGGER, relative to the start, set to `minutesBefore`.
QString withTrigger(const QString &alarmText, int minutesBefore)
{
    QString out;
    int depth = 0;
    for (QStringView line : QStringView(alarmText).split(u"\r\n", Qt::SkipEmptyParts)) {
        const PropertyView prop = splitLine(line);
        if (prop.is(QLatin1String("END")))
            --depth;
        if (depth == 1 && prop.is(QLatin1String("TRIGGER")))
            out.append(QLatin1String("TRIGGER:")).append(triggerText(minutesBefore));
        else
            out.append(line);
        out.append(kCrlf);
        if (prop.is(QLatin1String("BEGIN")))
            ++depth;
    }
    return out;
}

const QSet<QString> &eventMappedNames()
{
    static const QSet<QString> names = {
        QStringLiteral("UID"),           QStringLiteral("DTSTAMP"),  QStringLiteral("CREATED"),
        QStringLiteral("LAST-MODIFIED"), QStringLiteral("SUMMARY"),  QStringLiteral("DTSTART"),
        QStringLiteral("DTEND"),         QStringLiteral("DURATION"), QStringLiteral("RECURRENCE-ID"),
        QStringLiteral("RRULE"),         QStringLiteral("RDATE"),    QStringLiteral("EXDATE"),
        QStringLiteral("STATUS"),        QStringLiteral("SEQUENCE"), QStringLiteral("DESCRIPTION"),
        QStringLiteral("LOCATION"),      QStringLiteral("URL"),      QStringLiteral("ORGANIZER"),
        QStringLiteral("ATTENDEE"),
    };
    return names;
}

void stamps(Writer &w, const QDateTime &created, const QDateTime &lastModified)
{
    w.line(QLatin1String("DTSTAMP:"), TimeUtil::toIcalUtc(QDateTime::currentDateTimeUtc()));
    if (created.isValid())
        w.line(QLatin1String("CREATED:"), TimeUtil::toIcalUtc(created));
    if (lastModified.isValid())
        w.line(QLatin1String("LAST-MODIFIED:"), TimeUtil::toIcalUtc(lastModified));
}

void carriedOver(Writer &w, const StoredItem &item, const QSet<QString> &mapped)
{
    for (const QString &old : item.lines) {
        if (!mapped.contains(propertyName(old)))
            w.raw(old);
    }
}

// `series` is the row `e` is an occurrence of, or `e` itself; null when the
// text goes without it.
void writeEvent(Writer &w, const Event &e, const Event *series)
{
    const StoredItem item = findStoredItem(e.raw_icalendar, QLatin1String("VEVENT"), e.uid, e.recurrence_id);
    const EventZone zone = eventZone(e);

    w.raw(QLatin1String("BEGIN:VEVENT"));
    w.line(QLatin1String("UID:"), escapeText(e.uid));
    stamps(w, e.created, e.last_modified);
    w.textLine(QLatin1String("SUMMARY"), e.title, item);
    if (e.is_all_day) {
        w.line(QLatin1String("DTSTART;VALUE=DATE:"), dateText(e.start_time));
        w.line(QLatin1String("DTEND;VALUE=DATE:"), TimeUtil::toIcalDate(allDayEndDate(e.start_time, e.end_time)));
    } else {
        if (!keptStart(w, item, e, zone))
            timedLine(w, QLatin1String("DTSTART"), e.start_time, zone);
        timedLine(w, QLatin1String("DTEND"), e.end_time ? *e.end_time : e.start_time, zone);
    }
    if (!e.recurrence_id.isEmpty()) {
        // An override for this and every later occurrence stays one.
        const bool onwards = std::any_of(item.lines.cbegin(), item.lines.cend(), [](const QString &old) {
            const PropertyView prop = splitLine(old);
            return prop.is(QLatin1String("RECURRENCE-ID"))
                && equalsUpper(prop.param(QLatin1String("RANGE")), QLatin1String("THISANDFUTURE"));
        });
        const QLatin1String name(onwards ? "RECURRENCE-ID;RANGE=THISANDFUTURE" : "RECURRENCE-ID");
        const auto line = [&](QLatin1String params, QStringView value) {
            w.text.append(name).append(params).append(value).append(kCrlf);
        };
        const QString key = series ? keyForSeries(*series, e.recurrence_id) : e.recurrence_id;
        const QDateTime rid = TimeUtil::fromIcalUtc(key);
        if (key.size() == 8 && QDate::fromString(key, QStringLiteral("yyyyMMdd")).isValid())
            line(QLatin1String(";VALUE=DATE:"), key);
        else if (!rid.isValid())
            line(QLatin1String(":"), key);
        else if (e.is_all_day && !series)
            line(QLatin1String(";VALUE=DATE:"), dateText(rid));
        else
            timedLine(w, name, rid, zone);
    }
    if (!e.recurrence_rule.isEmpty())
        w.line(QLatin1String("RRULE:"), ExceptionKey::datedRule(e));
    dateListLines(w, QLatin1String("RDATE"), keptRecurrenceDates(w, item, e, zone));
    dateListLines(w, QLatin1String("EXDATE"), seriesKeys(e.exception_dates, e));
    if (!e.status.isEmpty())
        w.line(QLatin1String("STATUS:"), e.status.toUpper());
    if (e.sequence > 0)
        w.line(QLatin1String("SEQUENCE:"), QString::number(e.sequence));
    if (!e.description.isEmpty())
        w.textLine(QLatin1String("DESCRIPTION"), e.description, item);
    if (!e.location.isEmpty())
        w.textLine(QLatin1String("LOCATION"), e.location, item);
    if (!e.event_url.isEmpty())
        w.line(QLatin1String("URL:"), e.event_url);

    QStringList oldAttendees, oldOrganizer;
    for (const QString &old : item.lines) {
        const QString name = propertyName(old);
        if (name == QLatin1String("ATTENDEE"))
            oldAttendees.append(old);
        else if (name == QLatin1String("ORGANIZER"))
            oldOrganizer.append(old);
    }
    // The address of an ORGANIZER or ATTENDEE line, without "mailto:".
    auto addressOf = [](const QString &line) {
        const QStringView value = splitLine(line).value;
        return value.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive) ? value.mid(7) : value;
    };
    auto sameAddress = [&addressOf](const QString &line, const QString &address) {
        return addressOf(line).compare(address, Qt::CaseInsensitive) == 0;
    };
    if (!e.organizer_email.isEmpty()) {
        QString params;
        if (!e.organizer_name.isEmpty())
            params = QLatin1String(";CN=") + paramValue(e.organizer_name);
        for (const QString &old : std::as_const(oldOrganizer)) {
            if (sameAddress(old, e.organizer_email))
                params += extraParams(old, {QStringLiteral("CN")});
        }
        w.text.append(QLatin1String("ORGANIZER"))
            .append(params)
            .append(QLatin1Char(':'))
            .append(calAddress(e.organizer_email))
            .append(kCrlf);
    }
    // Each attendee's earlier line (the first of its address), found by
    // address: an event of thousands must not read them all for each.
    QHash<QString, QString> oldAttendeeAt;
    for (const QString &old : std::as_const(oldAttendees)) {
        const QString address = addressOf(old).toString().toCaseFolded();
        if (!oldAttendeeAt.contains(address))
            oldAttendeeAt.insert(address, old);
    }
    static const QSet<QString> attendeeParams = {QStringLiteral("CN"), QStringLiteral("ROLE"),
                                                 QStringLiteral("PARTSTAT"), QStringLiteral("CUTYPE"),
                                                 QStringLiteral("RSVP")};
    for (const Attendee &a : e.attendees) {
        if (a.email.trimmed().isEmpty())
            continue; // "mailto:" alone is no address; servers reject it
        QString params;
        if (!a.name.isEmpty())
            params += QLatin1String(";CN=") + paramValue(a.name);
        if (!a.role.isEmpty())
            params += QLatin1String(";ROLE=") + paramValue(roleText(a.role));
        if (!a.status.isEmpty())
            params += QLatin1String(";PARTSTAT=") + paramValue(a.status.toUpper());
        if (!a.type.isEmpty())
            params += QLatin1String(";CUTYPE=") + paramValue(a.type.toUpper());
        if (a.rsvp)
            params += QLatin1String(";RSVP=TRUE");
        if (const auto old = oldAttendeeAt.constFind(a.email.toCaseFolded()); old != oldAttendeeAt.cend())
            params += extraParams(*old, attendeeParams);
        w.text.append(QLatin1String("ATTENDEE"))
            .append(params)
            .append(QLatin1Char(':'))
            .append(calAddress(a.email))
            .append(kCrlf);
    }

    carriedOver(w, item, eventMappedNames());

    // Reminders keep the alarm another client wrote for them (its sound,
    // mail body and recipients, extra properties): the alarm of the same
    // lead and action, else, for a sound or an e-mail, which a new alarm
    // could not make again, one of that action whose lead changed here, with
    // the new trigger. Alarms of deleted reminders go.
    // Each takes the first alarm not yet taken, looked up by action and
    // lead: an event of thousands must not read them all for each.
    QHash<QString, QList<qsizetype>> ofAction;
    QHash<QPair<QString, int>, QList<qsizetype>> ofLead;
    for (qsizetype i = 0; i < item.components.size(); ++i) {
        const StoredItem::Component &c = item.components.at(i);
        if (c.isReminder) {
            ofAction[c.action].append(i);
            ofLead[{c.action, c.minutesBefore}].append(i);
        }
    }
    QList<bool> used(item.components.size(), false);
    const auto takeFirstFree = [&used](QList<qsizetype> &alarms) -> qsizetype {
        while (!alarms.isEmpty() && used[alarms.first()])
            alarms.removeFirst();
        if (alarms.isEmpty())
            return -1;
        used[alarms.first()] = true;
        return alarms.takeFirst();
    };
    QList<qsizetype> alarmOf(e.reminders.size(), -1);
    for (const bool sameLead : {true, false}) {
        for (qsizetype r = 0; r < e.reminders.size(); ++r) {
            const Reminder &reminder = e.reminders.at(r);
            const QString action = reminder.action.isEmpty() ? ReminderAction::Display : reminder.action.toLower();
            if (alarmOf[r] >= 0)
                continue;
            if (sameLead)
                alarmOf[r] = takeFirstFree(ofLead[{action, reminder.minutes_before}]);
            else if (action != ReminderAction::Display)
                alarmOf[r] = takeFirstFree(ofAction[action]);
        }
    }
    for (qsizetype r = 0; r < e.reminders.size(); ++r) {
        const Reminder &reminder = e.reminders.at(r);
        if (alarmOf[r] < 0)
            alarm(w, reminder, e.title);
        else if (item.components.at(alarmOf[r]).minutesBefore == reminder.minutes_before)
            w.text.append(item.components.at(alarmOf[r]).text);
        else
            w.text.append(withTrigger(item.components.at(alarmOf[r]).text, reminder.minutes_before));
    }
    for (const StoredItem::Component &c : item.components) {
        if (!c.isReminder)
            w.text.append(c.text);
    }
    w.raw(QLatin1String("END:VEVENT"));
}

void writeTimezones(Writer &w, const QList<Event> &events)
{
    QSet<QString> written;
    for (const Event &e : events) {
        const EventZone zone = eventZone(e);
        if (zone.defined.rules && !written.contains(zone.defined.id)) {
            // A zone the event's text defined goes back as it came.
            written.insert(zone.defined.id);
            w.text.append(zone.defined.definition);
            continue;
        }
        const QString id = QString::fromLatin1(zone.zone.id());
        if (zone.zone.isValid() && !written.contains(id)) {
            written.insert(id);
            const QDateTime start = e.start_time.isValid() ? e.start_time : QDateTime::currentDateTimeUtc();
            w.text.append(vtimezone(zone.zone, start.toTimeZone(zone.zone).date().year()));
        }
    }
}

const QSet<QString> &taskMappedNames()
{
    static const QSet<QString> names = {
        QStringLiteral("UID"),
        QStringLiteral("DTSTAMP"),
        QStringLiteral("CREATED"),
        QStringLiteral("LAST-MODIFIED"),
        QStringLiteral("SUMMARY"),
        QStringLiteral("STATUS"),
        QStringLiteral("SEQUENCE"),
        QStringLiteral("PRIORITY"),
        QStringLiteral("PERCENT-COMPLETE"),
        QStringLiteral("DTSTART"),
        QStringLiteral("DUE"),
        QStringLiteral("COMPLETED"),
        QStringLiteral("RRULE"),
        QStringLiteral("CATEGORIES"),
        QStringLiteral("DESCRIPTION"),
        QStringLiteral("X-QUILLMARTEN-REPEAT-MODE"),
        QStringLiteral("X-QUILLMARTEN-SORT-ORDER"),
    };
    return names;
}

// The named zone of a task's timed value (not UTC), else none.
QTimeZone taskZone(const std::optional<QDateTime> &dt, bool dateOnly)
{
    if (!dt || dateOnly || dt->timeSpec() != Qt::TimeZone || !TimeUtil::isNamedZone(dt->timeZone()))
        return QTimeZone();
    return dt->timeZone();
}

void taskDate(Writer &w, QLatin1String name, const std::optional<QDateTime> &dt, bool dateOnly)
{
    if (!dt)
        return;
    if (!dateOnly) {
        // A value in a zone keeps it (TZID), so a repeating task recurs at its
        // wall clock there.
        timedLine(w, name, *dt, EventZone{taskZone(dt, false), {}});
        return;
    }
    w.text.append(name).append(QLatin1String(";VALUE=DATE:")).append(dateText(*dt)).append(kCrlf);
}

void taskTimezones(Writer &w, const Task &t)
{
    const QTimeZone due = taskZone(t.due_date, t.due_is_date_only);
    const QTimeZone start = taskZone(t.start_date, t.start_is_date_only);
    if (due.isValid())
        w.text.append(vtimezone(due, t.due_date->toTimeZone(due).date().year()));
    if (start.isValid() && start != due)
        w.text.append(vtimezone(start, t.start_date->toTimeZone(start).date().year()));
}

} // namespace

QString serializeEvents(const QList<Event> &events)
{
    Writer w;
    w.text.append(kCalendarHeader);
    writeTimezones(w, events);
    for (const Event &e : events) {
        const auto series = std::find_if(events.cbegin(), events.cend(), [&e](const Event &row) {
            return row.recurrence_id.isEmpty() && row.uid == (e.master_event_uid.isEmpty() ? e.uid : e.master_event_uid)
                && (!row.recurrence_rule.isEmpty() || !row.recurrence_dates.isEmpty());
        });
        writeEvent(w, e, series == events.cend() ? nullptr : &*series);
    }
    w.text.append(kCalendarFooter);
    // Also lines carried over from an imported text: one control character
    // makes the server's answers unreadable XML for every other client.
    stripControlCharacters(w.text);
    return w.text;
}

QString serializeEvent(const Event &event)
{
    return serializeEvents({event});
}

QString serializeNewEvent(const Event &event)
{
    return serializeEvents({event});
}

QString serializeTask(const Task &t)
{
    const StoredItem item = findStoredItem(t.raw_icalendar, QLatin1String("VTODO"), t.uid, QString());
    Writer w;
    w.text.append(kCalendarHeader);
    taskTimezones(w, t);
    w.raw(QLatin1String("BEGIN:VTODO"));
    w.line(QLatin1String("UID:"), escapeText(t.uid));
    stamps(w, t.created, t.last_modified);
    w.textLine(QLatin1String("SUMMARY"), t.title, item);
    w.line(QLatin1String("STATUS:"), t.status.isEmpty() ? QStringLiteral("NEEDS-ACTION") : t.status.toUpper());
    if (t.sequence > 0)
        w.line(QLatin1String("SEQUENCE:"), QString::number(t.sequence));
    if (t.priority > 0)
        w.line(QLatin1String("PRIORITY:"), QString::number(t.priority));
    if (t.percent_complete > 0)
        w.line(QLatin1String("PERCENT-COMPLETE:"), QString::number(t.percent_complete));
    taskDate(w, QLatin1String("DTSTART"), t.start_date, t.start_is_date_only);
    taskDate(w, QLatin1String("DUE"), t.due_date, t.due_is_date_only);
    if (t.completed_date)
        w.line(QLatin1String("COMPLETED:"), TimeUtil::toIcalUtc(*t.completed_date));
    if (!t.recurrence_rule.isEmpty())
        w.line(QLatin1String("RRULE:"), ExceptionKey::datedRule(t));
    if (!t.categories.isEmpty()) {
        QStringList escaped;
        for (const QString &c : t.categories)
            escaped.append(escapeText(c));
        w.line(QLatin1String("CATEGORIES:"), escaped.join(QLatin1Char(',')));
    }
    if (!t.parent_task_uid.isEmpty())
        w.line(QLatin1String("RELATED-TO;RELTYPE=PARENT:"), escapeText(t.parent_task_uid));
    if (t.repeat_mode == RepeatMode::FromCompletionDate)
        w.raw(QLatin1String("X-QUILLMARTEN-REPEAT-MODE:fromCompletionDate"));
    if (t.sort_order > 0)
        w.line(QLatin1String("X-QUILLMARTEN-SORT-ORDER:"), QString::number(t.sort_order));
    if (!t.description.isEmpty())
        w.textLine(QLatin1String("DESCRIPTION"), t.description, item);

    for (const QString &old : item.lines) {
        const PropertyView prop = splitLine(old);
        const QString name = prop.name.toString().toUpper();
        if (taskMappedNames().contains(name))
            continue;
        // The parent link is the record's; links of other kinds stay.
        if (name == QLatin1String("RELATED-TO")) {
            const QStringView type = prop.param(QLatin1String("RELTYPE"));
            if (type.isEmpty() || type.compare(QLatin1String("PARENT"), Qt::CaseInsensitive) == 0)
                continue;
        }
        // DUE and DURATION exclude each other.
        if (name == QLatin1String("DURATION") && t.due_date)
            continue;
        w.raw(old);
    }
    for (const StoredItem::Component &c : item.components)
        w.text.append(c.text);
    w.raw(QLatin1String("END:VTODO"));
    w.text.append(kCalendarFooter);
    stripControlCharacters(w.text);
    return w.text;
}

} // namespace ICalendar
