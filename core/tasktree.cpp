#include "tasktree.h"

#include "recordnames.h"

#include <QHash>

#include <algorithm>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

struct Placement
{
    int index; // into the input list
    int depth;
};

using ChildIndex = QHash<QString, QList<int>>;

// Parent key -> child positions in input order; the empty key holds the
// top-level tasks.
ChildIndex buildChildIndex(const QList<Task> &tasks)
{
    QSet<QString> uids;
    uids.reserve(tasks.size());
    for (const Task &t : tasks)
        uids.insert(t.uid);
    ChildIndex children;
    for (int i = 0; i < tasks.size(); ++i) {
        const QString &parent = tasks.at(i).parent_task_uid;
        children[!parent.isEmpty() && uids.contains(parent) ? parent : QString()].append(i);
    }
    return children;
}

// The task that stands for a parent uid: its first bearer in the list.
QHash<QString, int> firstBearers(const QList<Task> &tasks)
{
    QHash<QString, int> bearers;
    bearers.reserve(tasks.size());
    for (int i = 0; i < tasks.size(); ++i) {
        if (!bearers.contains(tasks.at(i).uid))
            bearers.insert(tasks.at(i).uid, i);
    }
    return bearers;
}

// Pre-order walk over the whole index, each task placed once. An explicit
// stack keeps arbitrarily deep chains off the call stack; the visited flags
// stop cycles and repeated uids.
//
// A task the top-level tasks leave unreached hangs, through its parents, off
// a parent cycle (every bearer of an unreached task's parent uid is
// unreached too, so climbing its parents never ends at the top level). The
// cycle's first member in input order becomes an extra root, so the whole
// cycle and all that hangs off it appear under it.
std::vector<Placement> walk(const QList<Task> &tasks, const ChildIndex &children)
{
    const int n = int(tasks.size());
    std::vector<Placement> order;
    order.reserve(size_t(n));
    std::vector<bool> visited(size_t(n), false);
    std::vector<Placement> stack;

    const auto visitFrom = [&](int root) {
        stack.push_back({root, 0});
        while (!stack.empty()) {
            const Placement p = stack.back();
            stack.pop_back();
            if (visited[size_t(p.index)])
                continue;
            visited[size_t(p.index)] = true;
            order.push_back(p);
            // No task names an empty uid as its parent: the index's empty key
            // is the top level, not this task's children.
            const QString &uid = tasks.at(p.index).uid;
            if (uid.isEmpty())
                continue;
            const auto it = children.constFind(uid);
            if (it == children.cend())
                continue;
            // Reversed, so the first child is taken off the stack first.
            for (auto c = it->crbegin(); c != it->crend(); ++c) {
                if (!visited[size_t(*c)])
                    stack.push_back({*c, p.depth + 1});
            }
        }
    };

    const QList<int> topLevel = children.value(QString());
    for (int root : topLevel)
        visitFrom(root);
    if (order.size() == size_t(n))
        return order;

    const QHash<QString, int> bearers = firstBearers(tasks);
    const auto parentOf = [&](int i) { return bearers.value(tasks.at(i).parent_task_uid, -1); };
    std::vector<int> climbedFrom(size_t(n), -1);
    for (int i = 0; i < n; ++i) {
        if (visited[size_t(i)])
            continue;
        int cur = i;
        while (cur >= 0 && climbedFrom[size_t(cur)] != i) {
            climbedFrom[size_t(cur)] = i;
            cur = parentOf(cur);
        }
        if (cur >= 0) {
            int first = cur;
            for (int m = parentOf(cur); m != cur; m = parentOf(m))
                first = std::min(first, m);
            visitFrom(first);
        }
        if (!visited[size_t(i)]) // not expected; placed rather than lost
            visitFrom(i);
    }
    return order;
}

} // namespace

bool isTaskCompleted(const Task &task)
{
    return task.status == TaskStatus::Completed;
}

namespace TaskTree {

QList<TreeTask> flatten(const QList<Task> &tasks, const Comparator &lessThan)
{
    QList<TreeTask> result;
    if (tasks.isEmpty())
        return result;
    ChildIndex children = buildChildIndex(tasks);
    if (lessThan) {
        const auto byIndex = [&](int a, int b) { return lessThan(tasks.at(a), tasks.at(b)); };
        for (QList<int> &siblings : children)
            std::stable_sort(siblings.begin(), siblings.end(), byIndex);
    }
    const std::vector<Placement> order = walk(tasks, children);
    result.reserve(tasks.size());
    for (const Placement &p : order)
        result.append(TreeTask{tasks.at(p.index), p.depth});
    return result;
}

Comparator withManualSortOrder(Comparator inner)
{
    return [inner = std::move(inner)](const Task &a, const Task &b) {
        if (a.sort_order != 0 && b.sort_order != 0)
            return a.sort_order < b.sort_order;
        if (a.sort_order != 0)
            return true;
        if (b.sort_order != 0)
            return false;
        return inner ? inner(a, b) : false;
    };
}

QSet<QString> completedKeptByActiveTree(const QList<Task> &tasks)
{
    QSet<QString> kept;
    if (tasks.isEmpty())
        return kept;
    const std::vector<Placement> order = walk(tasks, buildChildIndex(tasks));
    // The walk lists each tree as one run that starts at depth 0.
    for (size_t begin = 0; begin < order.size();) {
        size_t end = begin + 1;
        while (end < order.size() && order[end].depth != 0)
            ++end;
        const bool active = std::any_of(order.begin() + qsizetype(begin), order.begin() + qsizetype(end),
                                        [&](const Placement &p) { return !isTaskCompleted(tasks.at(p.index)); });
        if (active) {
            for (size_t i = begin; i < end; ++i) {
                const Task &t = tasks.at(order[i].index);
                if (isTaskCompleted(t))
                    kept.insert(t.uid);
            }
        }
        begin = end;
    }
    return kept;
}

} // namespace TaskTree
