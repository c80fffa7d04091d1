#pragma once

#include <QString>
#include <QStringList>

class Database;

// Inside a bulk write's transaction, drops the indexes of a table whose
// upkeep row by row costs more than building them once at the end (the
// full, non-unique ones: the unique ones check the keys as rows come, and
// a partial one holds few of them), and builds them again with restore().
// Building an index sorts every row once; keeping it up places each row by
// a search of its own, at random pages when rows come in no order.
//
// Only worth it when the rows written are many against those stored. A
// transaction rolled back brings the indexes back with it; one that is
// kept must restore() first, and does nothing of what a later statement
// would have needed them for in between.
class IndexRebuild
{
public:
    // Sets the indexes of `table` aside when `rowsToCome` is at least
    // kMinimumRows and at least the rows the table holds.
    IndexRebuild(Database *database, const QString &table, qint64 rowsToCome);
    // Builds them again if the transaction is still open and restore() has
    // not: a transaction kept without them would keep them dropped.
    ~IndexRebuild();
    IndexRebuild(const IndexRebuild &) = delete;
    IndexRebuild &operator=(const IndexRebuild &) = delete;

    static constexpr qint64 kMinimumRows = 10000;

    // The names of the indexes set aside and not yet built again.
    QStringList setAside() const { return m_names; }
    // Builds what was set aside; false (the transaction must go back) when
    // one did not build.
    bool restore();

private:
    Database *m_database;
    QStringList m_names;
    QStringList m_statements;
};
