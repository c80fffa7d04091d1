#pragma once

#include "task.h"

#include <QList>
#include <QSet>
#include <QString>

#include <functional>

// A task with its indentation in the tasks pane: 0 at the top level.
struct TreeTask
{
    Task task;
    int depth = 0;
};

// True only for the exact status "completed".
bool isTaskCompleted(const Task &task);

// Turns the flat task list into the indented hierarchy of the tasks pane.
// A task's parent is the task whose uid its parent_task_uid names; a parent
// missing from the list makes the task top-level.
namespace TaskTree {

// True when the first task goes before the second.
using Comparator = std::function<bool(const Task &, const Task &)>;

// Depth-first, pre-order: every task appears exactly once. Siblings are
// ordered by `lessThan` (input order where it does not decide, or when it is
// empty). Tasks no top-level task reaches (parent cycles, a task naming
// itself) follow as extra top-level entries in input order, each with what
// hangs below it; a cycle is thereby broken at its first member. With
// repeated uids, children hang under the first bearer of the uid reached.
QList<TreeTask> flatten(const QList<Task> &tasks, const Comparator &lessThan = {});

// Tasks with a manual position (non-zero sort_order) first, by that position;
// `inner` orders the rest.
Comparator withManualSortOrder(Comparator inner);

// The uids of completed tasks in trees that still hold an open task, so that
// hiding completed tasks keeps the open work's context. Trees are those of
// `flatten`, extra top-level entries included.
QSet<QString> completedKeptByActiveTree(const QList<Task> &tasks);

} // namespace TaskTree
