#pragma once

#include <QObject>

class Database;

// The offline operation queue (`sync_queue`). Nothing in the program queues
// operations yet: the class holds its place among the repositories and
// declares the signal its listeners will connect to.
class SyncQueueRepository : public QObject
{
    Q_OBJECT
public:
    SyncQueueRepository(Database *database, QObject *parent = nullptr);

Q_SIGNALS:
    void queueChanged();

private:
    Database *m_database;
};
