#include "eventwrites.h"

#include "icalendar.h"
#include "timeutil.h"

#include <QUuid>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace EventWrites {

QString newId()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

bool isICalendarText(const QString &text)
{
    const QString trimmed = text.trimmed();
    return trimmed.isEmpty() || trimmed.startsWith(u"BEGIN:"_s, Qt::CaseInsensitive);
}

QString storedText(const Event &event)
{
    if (!isICalendarText(event.raw_icalendar))
        return event.raw_icalendar;
    return ICalendar::serializeEvent(event);
}

void detachChildren(Event &event)
{
    for (Reminder &reminder : event.reminders) {
        reminder.id.clear();
        reminder.event_id.clear();
        reminder.trigger_time.reset();
        reminder.acknowledged = false;
    }
    for (Attendee &attendee : event.attendees) {
        attendee.id.clear();
        attendee.event_id.clear();
    }
}

bool sameContent(const Event &a, const Event &b)
{
    auto sameReminders = [](const QList<Reminder> &x, const QList<Reminder> &y) {
        return std::equal(x.begin(), x.end(), y.begin(), y.end(), [](const Reminder &r, const Reminder &s) {
            return r.minutes_before == s.minutes_before && r.action.compare(s.action, Qt::CaseInsensitive) == 0;
        });
    };
    auto sameAttendees = [](const QList<Attendee> &x, const QList<Attendee> &y) {
        return std::equal(x.begin(), x.end(), y.begin(), y.end(), [](const Attendee &p, const Attendee &q) {
            return p.email == q.email && p.name == q.name && p.role == q.role && p.status == q.status
                && p.type == q.type && p.rsvp == q.rsvp;
        });
    };
    return a.calendar_id == b.calendar_id && a.title == b.title && a.description == b.description
        && a.location == b.location && a.color == b.color && a.is_all_day == b.is_all_day
        && a.start_time == b.start_time && shownEnd(a) == shownEnd(b) && a.timezone == b.timezone
        && a.recurrence_rule == b.recurrence_rule && a.exception_dates == b.exception_dates
        && a.recurrence_dates == b.recurrence_dates && sameReminders(a.reminders, b.reminders)
        && sameAttendees(a.attendees, b.attendees);
}

QDateTime shownEnd(const Event &event)
{
    if (event.end_time)
        return *event.end_time;
    return event.is_all_day ? event.start_time.addDays(1) : event.start_time.addSecs(3600);
}

QDateTime allDayTime(const QDate &date)
{
    return TimeUtil::utc(date);
}

QTimeZone seriesZone(const Event &event)
{
    const QDateTime &start = event.start_time;
    switch (start.timeSpec()) {
    case Qt::TimeZone: return start.timeZone();
    case Qt::LocalTime: return QTimeZone::systemTimeZone();
    default: break;
    }
    if (!event.is_all_day && !event.timezone.isEmpty() && event.timezone != u"UTC"_s) {
        const QTimeZone named(event.timezone.toUtf8());
        if (named.isValid())
            return named;
    }
    if (start.timeSpec() == Qt::OffsetFromUTC)
        return QTimeZone(start.offsetFromUtc());
    return QTimeZone::utc();
}

QDateTime shiftWallClock(const QDateTime &instant, const QDateTime &from, const QDateTime &to, const QTimeZone &zone)
{
    const QDateTime f = from.toTimeZone(zone);
    const QDateTime t = to.toTimeZone(zone);
    const QDateTime i = instant.toTimeZone(zone);
    // Wall-clock arithmetic, free of any zone's transitions.
    const QDateTime wall =
        TimeUtil::utc(i.date(), i.time()).addDays(f.date().daysTo(t.date())).addSecs(f.time().secsTo(t.time()));
    return TimeUtil::toSameRepresentation(TimeUtil::inZone(wall.date(), wall.time(), zone), instant);
}

} // namespace EventWrites
