#include "caldavtaskmerge.h"

#include "propertymerge.h"
#include "timeutil.h"

namespace {

// A date-only due or start is its date, whichever midnight holds it: the
// task form's local one, or 00:00 UTC as read from the server's text.
std::optional<QDateTime> meaning(const std::optional<QDateTime> &value, bool dateOnly)
{
    return value && dateOnly ? std::optional(TimeUtil::utc(value->date())) : value;
}

} // namespace

Task CalDavTaskMerge::merge(const Task &base, const Task &local, const Task &server, bool *conflict)
{
    PropertyMerge<Task> merge(base, local, server);
    merge.field(&Task::title);
    merge.field(&Task::description);
    merge.field(&Task::status);
    merge.field(&Task::priority);
    merge.field(&Task::percent_complete);
    merge.fieldOf(&Task::due_date, [](const Task &t) { return meaning(t.due_date, t.due_is_date_only); });
    merge.field(&Task::due_is_date_only);
    merge.fieldOf(&Task::start_date, [](const Task &t) { return meaning(t.start_date, t.start_is_date_only); });
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
