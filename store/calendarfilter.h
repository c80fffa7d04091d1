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

    // " AND calendar_id IN (?, ...)" or nothing.
    QString sqlClause() const;
    QVariantList values() const;
    bool accepts(const QString &calendarId) const;

private:
    QStringList m_inSql;
    QSet<QString> m_onRows;
};
