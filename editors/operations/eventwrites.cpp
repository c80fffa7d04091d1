#include "eventwrites.h"

#include "icalendar.h"
#include "timeutil.h"

#include <QUuid>

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
