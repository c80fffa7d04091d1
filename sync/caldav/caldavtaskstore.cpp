#include "caldavtaskstore.h"

#include "recordnames.h"
#include "taskrepository.h"

using namespace Qt::StringLiterals;

CalDavTaskStore::CalDavTaskStore(Database *database, TaskRepository *tasks, const QString &calendarId)
    : CalDavItemStore(database, calendarId, u"tasks"_s)
    , m_tasks(tasks)
{
}

void CalDavTaskStore::applyResource(const Fetched &fetched, const QDateTime &now, Applied &applied)
{
    const CalDavParse::Resource &resource = fetched.resource;
    bool pending = false;
    for (Task task : fetched.tasks) {
        task.href = resource.href;
        task.etag = resource.etag;
        ++applied.parsed;
        const std::optional<Task> stored = m_tasks->getByUid(task.uid, m_calendarId);
        pending = pending || (stored && stored->sync_status == SyncStatus::Pending);
        Written result = Written::No;
        switch (meet(task, stored, now)) {
        case Outcome::Insert: result = written(m_tasks->insert(task)); break;
        case Outcome::Replace: result = written(m_tasks->update(task)); break;
        case Outcome::Keep: break;
        }
        tally(applied, result);
    }
    if (!fetched.tasks.isEmpty())
        keepText(resource, pending);
}

bool CalDavTaskStore::removeRow(const QString &id)
{
    return m_tasks->hardDelete(id);
}

void CalDavTaskStore::scheduleChanged()
{
    m_tasks->scheduleChanged(m_calendarId);
}
