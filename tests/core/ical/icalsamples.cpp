#include "icalsamples.h"

#include "timeutil.h"

using namespace Qt::StringLiterals;

namespace IcalSamples {

QDateTime zoned(const char *zone, int y, int m, int d, int h, int min)
{
    return QDateTime(QDate(y, m, d), QTime(h, min), QTimeZone(zone));
}

QDateTime utc(int y, int m, int d, int h, int min)
{
    return TimeUtil::utc(QDate(y, m, d), QTime(h, min));
}

Attendee attendee(const QString &email, const QString &name, const QString &role, const QString &status,
                  const QString &type, bool rsvp)
{
    Attendee a;
    a.email = email;
    a.name = name;
    a.role = role;
    a.status = status;
    a.type = type;
    a.rsvp = rsvp;
    return a;
}

Reminder reminder(int minutes, const QString &action)
{
    Reminder r;
    r.minutes_before = minutes;
    r.action = action;
    return r;
}

Event richEvent()
{
    Event e;
    e.uid = u"rich-1@example.org"_s;
    e.title = u"Review: Q3, budget; \"final\" %2"_s;
    e.description = u"Bring numbers \\ figures.\nSecond line with a long tail "_s + QString(120, u'x');
    e.location = u"Room 4, Floor 2"_s;
    e.start_time = zoned("Europe/Berlin", 2024, 3, 28, 9, 30);
    e.end_time = zoned("Europe/Berlin", 2024, 3, 28, 11);
    e.timezone = u"Europe/Berlin"_s;
    e.recurrence_rule = u"FREQ=WEEKLY;BYDAY=TH;COUNT=10"_s;
    e.exception_dates = u"[\"20240404T073000Z\",\"20240411T073000Z\"]"_s;
    e.recurrence_dates = u"[\"20240430T073000Z\"]"_s;
    e.status = u"tentative"_s;
    e.event_url = u"https://example.org/e/1"_s;
    e.organizer_email = u"ann@example.org"_s;
    e.organizer_name = u"Lee, Ann"_s;
    e.sequence = 3;
    e.created = utc(2024, 1, 2, 3, 4);
    e.last_modified = utc(2024, 2, 3, 4, 5);
    e.reminders = {reminder(15), reminder(1440, u"email"_s)};
    e.attendees = {attendee(u"bo@example.org"_s, u"Bo: the boss"_s, u"chair"_s, u"accepted"_s, u"individual"_s, false),
                   attendee(u"cy@example.org"_s, QString(), u"optional"_s, u"tentative"_s, QString(), true)};
    return e;
}

Event allDaySeries()
{
    Event e;
    e.uid = u"trip@example.org"_s;
    e.title = u"Trip"_s;
    e.is_all_day = true;
    e.start_time = utc(2024, 3, 30);
    e.end_time = utc(2024, 4, 2);
    e.recurrence_rule = u"FREQ=YEARLY"_s;
    e.exception_dates = u"[\"20250330\"]"_s;
    return e;
}

Event overrideOf(const Event &master, const QString &recurrenceId, const QDateTime &start, const QDateTime &end)
{
    Event e = master;
    e.recurrence_rule.clear();
    e.exception_dates.clear();
    e.recurrence_dates.clear();
    e.recurrence_id = recurrenceId;
    e.master_event_uid = master.uid;
    e.start_time = start;
    e.end_time = end;
    return e;
}

Task richTask()
{
    Task t;
    t.uid = u"task-1@example.org"_s;
    t.title = u"Paint, then; rest"_s;
    t.description = u"two\nlines"_s;
    t.status = u"in-process"_s;
    t.priority = 3;
    t.percent_complete = 40;
    t.due_date = zoned("America/New_York", 2024, 4, 20, 17);
    t.due_is_date_only = false;
    t.start_date = utc(2024, 4, 1);
    // No comma inside an item: python3-icalendar 4.0 splits at escaped commas.
    t.categories = {u"Home"_s, u"Garden; front"_s};
    t.parent_task_uid = u"task-0@example.org"_s;
    t.sort_order = 30;
    t.recurrence_rule = u"FREQ=MONTHLY"_s;
    t.repeat_mode = u"fromCompletionDate"_s;
    t.sequence = 1;
    return t;
}

} // namespace IcalSamples
