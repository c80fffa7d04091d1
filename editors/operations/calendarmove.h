#pragma once

#include "event.h"
#include "task.h"

#include <QString>

class Database;
class EventRepository;
class TaskRepository;

// Moving an item to another calendar. Another calendar is another collection
// on a server: the item becomes new rows there, which the next push creates,
// and the stored rows become tombstones that the old calendar's push deletes.
namespace CalendarMove {

// `edited` is the form's record for `stored` with its new calendar. A series
// takes its live overrides along (a start moved on the way takes the series'
// dates and overrides with it); the copy gets a new id and uid. In one
// transaction: all or nothing.
bool moveEvent(Database *database, EventRepository *events, const Event &stored, const Event &edited);

// `record` is the edited task with its new calendar; its subtasks follow.
// The uid stays, so subtasks keep their parent. Runs inside the caller's
// transaction; `movedId` receives the task's new row id.
bool moveTask(TaskRepository *tasks, const Task &stored, const Task &record, QString *movedId);

} // namespace CalendarMove
