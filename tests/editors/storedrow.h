#pragma once

// One stored row as SQLite holds it, read through the sqlite3 tool apart from
// the application's connection: every column but the bookkeeping ones a save
// rightly changes, each quoted, so that any changed byte or type shows.

#include "appstatefixture.h"

#include <QStringList>

inline QString storedRow(const AppStateFixture &fixture, const QString &table, const QString &id,
                         const QStringList &bookkeeping)
{
    const QStringList columns = fixture.cli(QStringLiteral("SELECT name FROM pragma_table_info('%1')").arg(table))
                                    .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QStringList quoted;
    for (const QString &column : columns) {
        if (!bookkeeping.contains(column))
            quoted.append(QStringLiteral("quote(%1)").arg(column));
    }
    return fixture.cli(QStringLiteral("SELECT %1 FROM %2 WHERE id = '%3'").arg(quoted.join(u", "), table, id));
}

// Changes a stored row behind the application's back, as a sync or another
// device does while a form is open; empty statements change nothing.
inline void changeBehind(const AppStateFixture &fixture, const QString &statement)
{
    if (!statement.isEmpty())
        QCOMPARE(fixture.cli(statement), QString());
}
