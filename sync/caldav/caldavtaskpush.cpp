#include "caldavtaskpush.h"

#include "caldavhref.h"
#include "caldavlog.h"
#include "caldavtaskmerge.h"
#include "caldavtaskstore.h"
#include "icalendar.h"
#include "recordnames.h"
#include "taskrepository.h"

using namespace Qt::StringLiterals;

CalDavTaskPush::CalDavTaskPush(CalDavClient *client, const QUrl &collection, const QString &calendarName,
                               CalDavTaskStore *store, CalDavWorkerStore *worker, TaskRepository *tasks,
                               QObject *parent)
    : CalDavPush(client, collection, calendarName, store, worker, parent)
    , m_store(store)
    , m_tasks(tasks)
{
}

void CalDavTaskPush::push(const QString &id, bool retried)
{
    const std::optional<Task> task = m_tasks->getById(id);
    if (task && task->sync_status == SyncStatus::Pending && !task->deleted_at && !task->href.isEmpty()) {
        // A newer server copy that waits is read off this thread and merged first.
        m_worker->serverCopy(m_store->component(), task->href, task->etag,
                             [this, id, retried](const std::optional<CalDavWorkerStore::ServerCopy> &copy) {
            std::optional<Task> current = m_tasks->getById(id);
            if (copy && current && current->sync_status == SyncStatus::Pending
                && current->href == copy->server.resource.href && current->etag == copy->server.resource.etag) {
                StoreFailure::clear();
                if (!mergeServerCopy(*current, *copy)) {
                    // Sent unmerged, the row would write over what changed there.
                    storeFailed();
                    return;
                }
                current = m_tasks->getById(id); // as the merge left it
            }
            send(current, retried);
        });
        return;
    }
    send(task, retried);
}

void CalDavTaskPush::send(const std::optional<Task> &task, bool retried)
{
    if (!task || task->sync_status != SyncStatus::Pending) {
        next();
        return;
    }
    const QString id = task->id;
    const bool isDelete = task->deleted_at.has_value();
    const bool isCreate = !isDelete && task->href.isEmpty();
    qCInfo(lcCalDav) << "[CalDav] PUT task" << task->id << "status=" << task->status << "isCreate=" << isCreate
                     << "isDelete=" << isDelete << "etag=" << (task->etag.isEmpty() ? u"(empty)"_s : task->etag);
    const Task sent = *task;
    if (isDelete && task->href.isEmpty()) {
        m_tasks->hardDelete(id); // the server never had it
        next();
        return;
    }
    const QUrl url = isCreate ? CalDavHref::newResourceUrl(m_collection, task->uid)
                              : CalDavHref::resourceUrl(m_collection, task->href);
    const QString href = isCreate ? CalDavHref::decodedPath(url) : task->href;
    const QByteArray body = isDelete ? "DELETE " + href.toUtf8() : ICalendar::serializeTask(*task).toUtf8();
    if (wasRefused(id, body)) {
        next();
        return;
    }
    auto reply = [this, sent, href, retried, body](const CalDavClient::Response &response) {
        onReply(sent, href, retried, body, response);
    };
    if (isDelete) {
        m_client->deleteResource(url, reply, task->etag);
        return;
    }
    const QString type = u"text/calendar; charset=utf-8"_s;
    if (isCreate)
        m_client->putNew(url, body, type, reply);
    else
        m_client->put(url, body, type, reply, task->etag);
}

void CalDavTaskPush::onReply(const Task &task, const QString &href, bool retried, const QByteArray &body,
                             const CalDavClient::Response &response)
{
    qCInfo(lcCalDav) << "[CalDav] PUT task" << task.id << "→ HTTP" << response.status << response.error;
    const bool isDelete = task.deleted_at.has_value();
    if (!response.error.isEmpty()) {
        fail(writeResult(response, SyncResult::Step::TaskPush, task.title));
        return;
    }
    if (response.isWriteSuccess() || (isDelete && response.status == 404)) {
        const QString etag = response.etag().isEmpty() ? task.etag : response.etag();
        const std::optional<Task> current = m_tasks->getById(task.id);
        const bool unchanged = current && *current == task;
        if (isDelete)
            m_store->forgetTexts({href});
        else
            m_store->keepBase(href, ICalendar::serializeTask(task));
        StoreFailure::clear();
        if (unchanged && !(isDelete ? m_tasks->hardDelete(task.id) : m_tasks->markSynced(task.id, href, etag))) {
            // Left pending, the task goes out again: the run did not sync it.
            storeFailed();
            return;
        }
        if (!unchanged && current && isDelete) {
            // Restored while the delete was under way: the next push creates it again.
            m_store->forgetServerIdentity(task.id);
        } else if (!unchanged && current) {
            // Changed while the request was under way: that change goes out next time.
            m_store->takeServerIdentity(task.id, current->href, current->etag, href, etag);
        }
        accepted(task.id);
        next();
        return;
    }
    rejected(task.id, body, href, writeResult(response, SyncResult::Step::TaskPush, task.title), retried);
}

bool CalDavTaskPush::mergeServerCopy(const Task &task, const CalDavWorkerStore::ServerCopy &copy)
{
    const auto sameUid = [&task](const QList<Task> &tasks) {
        const auto found = std::find_if(tasks.cbegin(), tasks.cend(),
                                        [&task](const Task &t) { return t.uid == task.uid; });
        return found == tasks.cend() ? std::optional<Task>() : std::optional<Task>(*found);
    };
    const std::optional<Task> server = sameUid(copy.server.tasks);
    // Without the text both last agreed on, nothing tells who changed what: the local row stays.
    const std::optional<Task> base = sameUid(copy.base.tasks);
    bool stored = true;
    const bool committed = m_store->inTransaction([&] {
        if (server && base) {
            bool conflict = false;
            Task result = CalDavTaskMerge::merge(*base, task, *server, &conflict);
            if (conflict)
                qCInfo(lcCalDav) << "[CalDav] Both sides changed task" << task.id << "- the local version stays";
            result.sync_status = SyncStatus::Pending;
            if (result != task && !m_tasks->update(result)) {
                qCWarning(lcCalDav) << "[CalDav] merged task not stored, id=" << task.id;
                stored = false;
            }
        }
        // Everything of the server's copy is in the local row now, unless the
        // store refused it: sent unmerged, the row would write over it.
        if (stored)
            m_store->keepBase(task.href, copy.server.resource.calendarData);
    });
    return committed && stored;
}
