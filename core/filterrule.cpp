#include "filterrule.h"

bool operator==(const FilterRule &a, const FilterRule &b)
{
    return a.id == b.id && a.name == b.name && a.type == b.type && a.enabled == b.enabled
        && a.calendar_ids == b.calendar_ids && a.conditions == b.conditions && a.action == b.action
        && a.priority == b.priority && a.event_uid == b.event_uid && a.event_calendar_id == b.event_calendar_id
        && a.suppress_reminders == b.suppress_reminders && a.sync_status == b.sync_status
        && a.created_at == b.created_at && a.updated_at == b.updated_at && a.deleted_at == b.deleted_at;
}
