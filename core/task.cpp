#include "task.h"

bool operator==(const Task &a, const Task &b)
{
    return a.id == b.id && a.calendar_id == b.calendar_id && a.uid == b.uid && a.etag == b.etag && a.href == b.href
        && a.title == b.title && a.description == b.description && a.status == b.status && a.priority == b.priority
        && a.percent_complete == b.percent_complete && a.due_date == b.due_date && a.start_date == b.start_date
        && a.due_is_date_only == b.due_is_date_only && a.start_is_date_only == b.start_is_date_only
        && a.completed_date == b.completed_date && a.categories == b.categories
        && a.parent_task_uid == b.parent_task_uid && a.sort_order == b.sort_order && a.color == b.color
        && a.recurrence_rule == b.recurrence_rule && a.repeat_mode == b.repeat_mode && a.sequence == b.sequence
        && a.raw_icalendar == b.raw_icalendar && a.created == b.created && a.last_modified == b.last_modified
        && a.sync_status == b.sync_status && a.deleted_at == b.deleted_at;
}
