#include "storetransaction.h"

#include "database.h"
#include "sqlitestatement.h"
#include "storefailure.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

// One name serves every depth: RELEASE and ROLLBACK TO find the newest
// savepoint of that name, which is this scope's as long as scopes nest.
const QString kSavepoint = QStringLiteral("store_write");

} // namespace

StoreTransaction::StoreTransaction(Database *database, Lock lock)
    : m_database(database)
{
    // A query on a connection that is not open would run on Qt's default one.
    if (!m_database || !m_database->database().isOpen()) {
        m_error = QStringLiteral("the database is not open");
        StoreFailure::note(StoreFailure::Other);
        return;
    }
    m_outermost = !m_database->inTransaction();
    if (!m_outermost)
        m_active = exec(QStringLiteral("SAVEPOINT ") + kSavepoint);
    else if (lock == Lock::Immediate)
        m_active = exec(QStringLiteral("BEGIN IMMEDIATE"));
    else
        m_active = exec(QStringLiteral("BEGIN"));
}

StoreTransaction::~StoreTransaction()
{
    discard();
}

bool StoreTransaction::keep()
{
    if (!m_active)
        return false;
    if (!exec(m_outermost ? QStringLiteral("COMMIT") : QStringLiteral("RELEASE SAVEPOINT ") + kSavepoint)) {
        discard();
        return false;
    }
    m_active = false;
    return true;
}

void StoreTransaction::discard()
{
    if (!m_active)
        return;
    m_active = false;
    QSqlQuery query(m_database->database());
    if (m_outermost) {
        if (m_database->inTransaction())
            query.exec(QStringLiteral("ROLLBACK"));
        return;
    }
    // ROLLBACK TO keeps the savepoint open; the RELEASE that follows closes it.
    query.exec(QStringLiteral("ROLLBACK TO SAVEPOINT ") + kSavepoint);
    query.exec(QStringLiteral("RELEASE SAVEPOINT ") + kSavepoint);
}

bool StoreTransaction::exec(const QString &sql)
{
    // A savepoint opens and closes around every event an import or a pull
    // writes: its statements are prepared once per connection.
    if (!m_outermost) {
        const auto statement = m_database->statement(sql);
        if (statement && statement->execute({}))
            return true;
        m_error = statement ? statement->errorText() : QStringLiteral("the statement did not prepare");
        if (!statement)
            StoreFailure::note(StoreFailure::Other);
        return false;
    }
    QSqlQuery query(m_database->database());
    if (query.exec(sql))
        return true;
    m_error = query.lastError().text();
    const StoreFailure::Kind kind = StoreFailure::fromError(query.lastError());
    // An error without SQLite's code still is one.
    StoreFailure::note(kind == StoreFailure::None ? StoreFailure::Other : kind);
    return false;
}
