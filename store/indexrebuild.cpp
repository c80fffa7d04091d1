#include "indexrebuild.h"

#include "database.h"
#include "storefailure.h"
#include "storesql.h"

#include <QSqlError>
#include <QSqlQuery>

IndexRebuild::IndexRebuild(Database *database, const QString &table, qint64 rowsToCome)
    : m_database(database)
{
    // Outside a transaction the drop would stand on its own.
    if (!m_database || !m_database->inTransaction() || rowsToCome < kMinimumRows)
        return;
    QSqlQuery query(m_database->database());
    // Counted no further than the rows to come: a large store needs no
    // full count to tell.
    query.prepare(QStringLiteral("SELECT COUNT(*) FROM (SELECT 1 FROM \"%1\" LIMIT ?)").arg(table));
    query.addBindValue(rowsToCome + 1);
    if (!query.exec() || !query.next() || query.value(0).toLongLong() > rowsToCome)
        return;
    // The indexes SQLite made for a constraint have no text and stay.
    query.prepare(QStringLiteral("SELECT name, sql FROM sqlite_schema WHERE type = 'index' AND tbl_name = ? "
                                 "AND sql NOT LIKE 'CREATE UNIQUE %' AND sql NOT LIKE '%WHERE%'"));
    query.addBindValue(table);
    if (!query.exec())
        return;
    QStringList names;
    QStringList statements;
    while (query.next()) {
        names.append(query.value(0).toString());
        statements.append(query.value(1).toString());
    }
    query.finish();
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (!query.exec(QStringLiteral("DROP INDEX \"%1\"").arg(names.at(i)))) {
            qCWarning(lcStore).noquote() << "IndexRebuild: kept" << names.at(i) << ":" << query.lastError().text();
            continue;
        }
        m_names.append(names.at(i));
        m_statements.append(statements.at(i));
    }
}

IndexRebuild::~IndexRebuild()
{
    if (!m_names.isEmpty() && m_database->inTransaction() && !restore())
        qCWarning(lcStore) << "IndexRebuild: indexes not built again:" << m_names;
}

bool IndexRebuild::restore()
{
    QSqlQuery query(m_database->database());
    while (!m_statements.isEmpty()) {
        if (!query.exec(m_statements.constFirst())) {
            StoreFailure::note(StoreFailure::fromError(query.lastError()));
            qCWarning(lcStore).noquote() << "IndexRebuild: did not build" << m_names.constFirst() << ":"
                                         << query.lastError().text();
            return false;
        }
        m_statements.removeFirst();
        m_names.removeFirst();
    }
    return true;
}
