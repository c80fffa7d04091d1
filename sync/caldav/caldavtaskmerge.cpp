#include "caldavtaskmerge.h"

#include "propertymerge.h"

Task CalDavTaskMerge::merge(const Task &base, const Task &local, const Task &server, bool *conflict)
{
    PropertyMerge<Task> merge(base, local, server);
    merge.field(&Task::title);
    merge.field(&Task::description);
    merge.field(&Task::status);
    merge.field(&Task::priority);
    merge.field(&Task::percent_complete);
    merge.field(&Task::due_date);
    merge.field(&Task::due_is_date_only);
    merge.field(&Task::start_date);
    merge.field(&Task::start_is_date_only);
    merge.field(&Task::completed_date);
    merge.field(&Task::parent_task_uid);
    merge.field(&Task::recurrence_rule);
    const auto same = [](const QStringList &values) { return values; };
    merge.set(&Task::categories, same, same);
    *conflict = merge.conflict();
    Task merged = merge.merged();
    merged.sequence = std::max(local.sequence, server.sequence);
    return merged;
}
