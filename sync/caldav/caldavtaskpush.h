#pragma once

#include "caldavpush.h"
#include "caldavworkerstore.h"
#include "task.h"

#include <QList>

class CalDavTaskStore;
class TaskRepository;

// Pushes the pending to-dos of one calendar, one resource each: a tombstone
// is deleted on the server (404 counts as done), any other row written whole,
// after the server's newer copy (if the pull or a 412 left one) was merged
// into it (see CalDavTaskMerge).
class CalDavTaskPush : public CalDavPush
{
    Q_OBJECT
public:
    CalDavTaskPush(CalDavClient *client, const QUrl &collection, const QString &calendarName, CalDavTaskStore *store,
                   CalDavWorkerStore *worker, TaskRepository *tasks, QObject *parent);

protected:
    void push(const QString &id, bool retried) override;

private:
    // The row `task` as it is now, when it waits to be pushed: deleted or
    // written whole.
    void send(const std::optional<Task> &task, bool retried);
    // Takes the server's newer copy into `task`'s row; false when the store
    // could not.
    bool mergeServerCopy(const Task &task, const CalDavWorkerStore::ServerCopy &copy);
    void onReply(const Task &task, const QString &href, bool retried, const QByteArray &body,
                 const CalDavClient::Response &response);

    CalDavTaskStore *m_store;
    TaskRepository *m_tasks;
};
