#include "storeworker.h"

#include "database.h"

#include <QSqlQuery>
#include <QThread>

StoreWorker::StoreWorker(const QString &databaseFile, const QString &name, LogCopy logCopy)
    : m_databaseFile(databaseFile)
    , m_name(name)
    , m_logCopy(logCopy)
{
}

StoreWorker::~StoreWorker()
{
    {
        QMutexLocker lock(&m_mutex);
        m_queue.clear();
        m_stopping.store(true);
        m_wake.wakeAll();
    }
    if (!m_thread)
        return;
    m_thread->wait();
    delete m_thread;
}

void StoreWorker::post(Work work)
{
    QMutexLocker lock(&m_mutex);
    m_queue.push_back(std::move(work));
    if (!m_thread) {
        m_thread = QThread::create([this] { run(); });
        m_thread->start();
    }
    m_wake.wakeAll();
}

void StoreWorker::run()
{
    // The connection belongs to this thread; its name is the worker's own.
    Database database;
    const bool open = database.open(m_databaseFile, QStringLiteral("%1-%2").arg(m_name).arg(quintptr(this), 0, 16));
    if (open && m_logCopy == LogCopy::AfterEachPiece)
        QSqlQuery(database.database()).exec(QStringLiteral("PRAGMA wal_autocheckpoint=0"));
    for (;;) {
        Work work;
        {
            QMutexLocker lock(&m_mutex);
            while (m_queue.empty() && !m_stopping.load())
                m_wake.wait(&m_mutex);
            if (m_stopping.load())
                return;
            work = std::move(m_queue.front());
            m_queue.pop_front();
        }
        work(open ? &database : nullptr);
        // What the piece wrote is copied into the file here: else the
        // window's next commit may find a long log and copy it itself.
        if (open)
            QSqlQuery(database.database()).exec(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)"));
    }
}
