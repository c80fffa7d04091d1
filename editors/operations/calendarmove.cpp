#include "calendarmove.h"

#include "eventrepository.h"
#include "eventwrites.h"
#include "icalendar.h"
#include "recordnames.h"
#include "recurringedit.h"
#include "seriesrows.h"
#include "storetransaction.h"
#include "taskrepository.h"

#include <QDateTime>
#include <QSet>

namespace CalendarMove {

using namespace EventWrites;

bool moveEvent(Database *database, EventRepository *events, const Event &stored, const Event &edited)
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    auto asNewRow = [&now](Event &row) {
        row.id = newId();
        row.provider_event_id.clear();
        row.etag.clear();
        row.href.clear();
        row.created = now;
        row.last_modified = now;
        row.sync_status = SyncStatus::Pending;
        row.deleted_at.reset();
        detachChildren(row);
    };
    // A start moved on the way takes the series' dates and overrides along.
    Event copy = followingStart(stored, edited);
    asNewRow(copy);
    copy.uid = copy.id;
    copy.sequence = 0;
    if (copy.isOverride()) {
        copy.master_event_uid.clear();
        copy.recurrence_id.clear();
    }
    copy.raw_icalendar = storedText(copy);

    StoreTransaction transaction(database);
    bool ok = transaction.isActive() && events->remove(stored.id) && events->insert(copy);
    if (ok && !stored.recurrence_rule.isEmpty()) {
        for (Event override : SeriesRows::liveOverrides(events, stored)) {
            const QString oldId = override.id;
            asNewRow(override);
            override.calendar_id = copy.calendar_id;
            override.uid = copy.uid;
            override.master_event_uid = copy.uid;
            override.recurrence_id = followingRecurrenceId(stored, edited, override.recurrence_id);
            override.raw_icalendar = storedText(override);
            if (!events->remove(oldId) || !events->insert(override)) {
                ok = false;
                break;
            }
        }
    }
    return ok && transaction.keep();
}

bool moveTask(TaskRepository *tasks, const Task &stored, const Task &record, QString *movedId)
{
    const QString from = stored.calendar_id;
    QList<Task> moving = {record};
    const QList<Task> old = tasks->getByCalendar(from);
    QStringList parents = {record.uid};
    // Each task once: UIDs repeated in a calendar can make the parents a
    // cycle.
    QSet<QString> taken = {record.id};
    for (qsizetype i = 0; i < parents.size(); ++i) {
        for (const Task &task : old) {
            if (task.parent_task_uid == parents.at(i) && !taken.contains(task.id)) {
                taken.insert(task.id);
                moving.append(task);
                parents.append(task.uid);
            }
        }
    }
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (Task row : std::as_const(moving)) {
        const QString oldId = row.id;
        row.id = newId();
        row.calendar_id = record.calendar_id;
        row.href.clear();
        row.etag.clear();
        row.deleted_at.reset();
        row.last_modified = now;
        row.sync_status = SyncStatus::Pending;
        row.raw_icalendar = ICalendar::serializeTask(row);
        if (!tasks->remove(oldId) || !tasks->insert(row))
            return false;
        if (oldId == record.id)
            *movedId = row.id;
    }
    return true;
}

} // namespace CalendarMove
