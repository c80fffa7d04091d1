#pragma once

#include "caldavitemstore.h"
#include "task.h"

class TaskRepository;

// To-dos of one CalDAV calendar, one VTODO per resource.
class CalDavTaskStore : public CalDavItemStore
{
public:
    CalDavTaskStore(Database *database, TaskRepository *tasks, const QString &calendarId);

    void scheduleChanged() override;
    QString component() const override { return QStringLiteral("VTODO"); }
    // Ids of the pending rows, oldest change first.
    QStringList pendingKeys() const override;

protected:
    void applyResource(const Fetched &fetched, qsizetype first, qsizetype end, const QDateTime &now,
                       Applied &applied) override;
    bool removeRow(const QString &id) override;

private:
    TaskRepository *m_tasks;
};
