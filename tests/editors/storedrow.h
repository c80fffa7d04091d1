#pragma once

#include "appstatefixture.h"

// One stored row, read and written through the sqlite3 tool apart from the
// application's connection: every column but `skipped` (what a save rightly
// stamps), each quoted, so that any changed byte or type shows.
struct StoredRow
{
    const AppStateFixture &m_fixture;
    QString m_table, m_id;
    QStringList m_skipped;

    QString text() const
    {
        QStringList quoted;
        const QString columns = m_fixture.cli(QStringLiteral("SELECT name FROM pragma_table_info('%1')").arg(m_table));
        for (const QString &column : columns.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            if (!m_skipped.contains(column))
                quoted.append(QStringLiteral("quote(%1)").arg(column));
        }
        return m_fixture.cli(
            QStringLiteral("SELECT %1 FROM %2 WHERE id = '%3'").arg(quoted.join(u", "), m_table, m_id));
    }
    // Sets columns as a sync or another device does, behind the
    // application's back; empty sets nothing.
    void set(const QString &assignments) const
    {
        if (!assignments.isEmpty())
            QCOMPARE(m_fixture.cli(QStringLiteral("UPDATE %1 SET %2 WHERE id = '%3'").arg(m_table, assignments, m_id)),
                     QString());
    }
};
