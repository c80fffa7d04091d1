#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariantList>

// The calendars a range query is limited to (none: every calendar). A short
// list goes into the statement as an IN list; a list too long for one is
// checked on the rows instead. Internal to the store library.
class CalendarFilter
{
public:
    explicit CalendarFilter(const QStringList &calendarIds);

    // Whether SQLite may look the calendars up in an index on calendar_id.
    // Without statistics it prefers such an index for an IN list, and then
    // reads every row of the calendars that its other terms bound on one side
    // only: a statement that must keep to another index avoids it.
    enum class Index { MayUse, Avoid };

    // " AND calendar_id IN (?, ...)" or nothing.
    QString sqlClause(Index index = Index::MayUse) const;
    QVariantList values() const;
    // For rows the statement narrowed by sqlClause(): the check it left to
    // the rows.
    bool accepts(const QString &calendarId) const;
    // For rows no statement narrowed: whether the calendar is in the list
    // (every calendar for an empty one).
    bool includes(const QString &calendarId) const;

private:
    QStringList m_inSql;
    QSet<QString> m_ids;
};
