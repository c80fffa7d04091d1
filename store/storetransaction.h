#pragma once

#include <QString>

class Database;

// Several writes that stand or fall together. The outermost one on the
// connection opens a transaction (BEGIN); one made while a transaction is
// open (a repository's write inside a caller's import) is a SAVEPOINT in it,
// so the inner work can be undone alone and the outer keeps going. Every
// failure of its own statements is noted for StoreFailure::last().
//
// Scoped: leaving the scope without keep() rolls the work back. Nest them
// strictly (an inner one ends before the outer one does).
class StoreTransaction
{
public:
    enum class Lock {
        // SQLite takes the write lock at the first write.
        Deferred,
        // BEGIN IMMEDIATE: the write lock is taken at once, waiting for another
        // connection's as long as for any lock, so that a transaction that
        // reads before it writes cannot find its snapshot outdated at the
        // first write. Only the outermost one takes it; inside a transaction
        // the lock is the outer one's.
        Immediate,
    };

    explicit StoreTransaction(Database *database, Lock lock = Lock::Deferred);
    ~StoreTransaction();
    StoreTransaction(const StoreTransaction &) = delete;
    StoreTransaction &operator=(const StoreTransaction &) = delete;

    // It began, and has neither been committed nor rolled back.
    bool isActive() const { return m_active; }
    // It began the transaction of the connection, rather than a savepoint in
    // another one.
    bool isOutermost() const { return m_outermost; }
    // Makes the work stay: COMMIT, or RELEASE of the savepoint. A failure
    // (the disk is full: the pages often reach it only now) rolls the work
    // back and returns false; false as well when it was not active.
    bool keep();
    // Rolls the work back. A transaction that SQLite ended already (a
    // failure that costs the whole transaction) is left as it is.
    void discard();
    // The driver's text of the last statement of its own that failed.
    QString errorText() const { return m_error; }

private:
    bool exec(const QString &sql);

    Database *m_database;
    QString m_error;
    bool m_active = false;
    bool m_outermost = false;
};
