#include "event.h"

#include "timeutil.h"

bool operator==(const Event &a, const Event &b)
{
    return a.id == b.id && a.calendar_id == b.calendar_id && a.uid == b.uid
        && a.provider_event_id == b.provider_event_id && a.etag == b.etag && a.href == b.href && a.title == b.title
        && a.description == b.description && a.location == b.location && a.geo_location == b.geo_location
        && a.start_time == b.start_time && a.end_time == b.end_time && a.is_all_day == b.is_all_day
        && a.timezone == b.timezone && a.recurrence_rule == b.recurrence_rule
        && a.recurrence_dates == b.recurrence_dates && a.exception_dates == b.exception_dates
        && a.recurrence_id == b.recurrence_id && a.master_event_uid == b.master_event_uid && a.status == b.status
        && a.event_url == b.event_url && a.conference_url == b.conference_url && a.organizer_email == b.organizer_email
        && a.organizer_name == b.organizer_name && a.sequence == b.sequence && a.raw_icalendar == b.raw_icalendar
        && a.color == b.color && a.created == b.created && a.last_modified == b.last_modified
        && a.sync_status == b.sync_status && a.deleted_at == b.deleted_at && a.reminders == b.reminders
        && a.attendees == b.attendees;
}

void keepZoned(Event &event)
{
    if (event.is_all_day)
        return;
    event.timezone = TimeUtil::zoneName(event.start_time, event.timezone);
    event.start_time = TimeUtil::zoned(event.start_time);
    if (event.end_time)
        event.end_time = TimeUtil::zoned(*event.end_time);
}
