#include "caldavtaskstore.h"

#include "caldavlog.h"
#include "recordnames.h"
#include "taskrepository.h"

using namespace Qt::StringLiterals;

CalDavTaskStore::CalDavTaskStore(Database *database, TaskRepository *tasks, const QString &calendarId)
    : CalDavItemStore(database, calendarId, u"tasks"_s)
    , m_tasks(tasks)
{
}

void CalDavTaskStore::applyResource(const Fetched &fetched, qsizetype first, qsizetype end, const QDateTime &now,
                                    Applied &applied)
{
    const CalDavParse::Resource &resource = fetched.resource;
    const QString etag = etagWhileWriting(fetched, end);
    for (qsizetype i = first; i < end; ++i) {
        Task task = fetched.tasks.at(i);
        task.href = resource.href;
        task.etag = etag;
        ++applied.parsed;
        const std::optional<Task> stored = m_tasks->getByUid(task.uid, m_calendarId);
        Written result = Written::No;
        switch (meet(task, stored, now)) {
        case Outcome::Insert: result = written(m_tasks->insert(task)); break;
        case Outcome::Replace: result = written(m_tasks->update(task)); break;
        case Outcome::Keep: break;
        }
        tally(applied, result);
    }
    if (end < fetched.tasks.size() || fetched.tasks.isEmpty())
        return;
    // A row that waits to be pushed stays so when the server's copy meets it.
    bool pending = false;
    for (const Task &task : fetched.tasks) {
        const std::optional<Task> stored = m_tasks->getByUid(task.uid, m_calendarId);
        pending = pending || (stored && stored->sync_status == SyncStatus::Pending);
    }
    keepText(resource, pending);
}

QStringList CalDavTaskStore::pendingKeys() const
{
    const QList<Task> pending = m_tasks->getPending(m_calendarId);
    if (!pending.isEmpty())
        qCInfo(lcCalDav) << "[CalDav] Task push for calendar" << m_calendarId << "pending=" << pending.size();
    QStringList ids;
    for (const Task &task : pending)
        ids.append(task.id);
    return ids;
}

bool CalDavTaskStore::removeRow(const QString &id)
{
    return m_tasks->hardDelete(id);
}

void CalDavTaskStore::scheduleChanged()
{
    m_tasks->scheduleChanged(m_calendarId);
}
