#pragma once

#include <QMutex>
#include <QString>
#include <QWaitCondition>

#include <atomic>
#include <deque>
#include <functional>

class Database;
class QThread;

// A thread of its own with its own connection to a database file: the work
// given to it runs there, one piece after another, so that a long read or
// write leaves the window's thread free. The connection opens with the first
// piece and closes with the thread. A piece reports back by posting to an
// object that outlives the worker (QMetaObject::invokeMethod, queued).
//
// Destroying the worker drops the pieces not begun, raises stopping() for
// the one running and waits for it.
class StoreWorker
{
public:
    // `null` when the file could not be opened.
    using Work = std::function<void(Database *database)>;

    // Where what a piece commits is copied from the log into the file: at
    // each commit as SQLite does (a piece reports after it), or only after
    // each piece (a large piece reports before it; whoever deletes the
    // worker then should wait for a later piece, or it waits for the copy).
    enum class LogCopy { AtEachCommit, AfterEachPiece };
    // `name`: the start of the connection's name, for the log.
    StoreWorker(const QString &databaseFile, const QString &name, LogCopy logCopy = LogCopy::AtEachCommit);
    ~StoreWorker();
    StoreWorker(const StoreWorker &) = delete;
    StoreWorker &operator=(const StoreWorker &) = delete;

    void post(Work work);
    // Long work looks here between its steps: the worker is going away.
    bool stopping() const { return m_stopping.load(); }

private:
    void run();

    QString m_databaseFile;
    QString m_name;
    LogCopy m_logCopy;
    QThread *m_thread = nullptr;
    QMutex m_mutex;
    QWaitCondition m_wake;
    std::deque<Work> m_queue;
    std::atomic<bool> m_stopping{false};
};
