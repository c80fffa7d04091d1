#include "calendarfilter.h"

#include "storesql.h"

CalendarFilter::CalendarFilter(const QStringList &calendarIds)
{
    if (calendarIds.size() <= StoreSql::kInListChunk)
        m_inSql = calendarIds;
    else
        m_onRows = QSet<QString>(calendarIds.cbegin(), calendarIds.cend());
}

QString CalendarFilter::sqlClause() const
{
    if (m_inSql.isEmpty())
        return QString();
    return QStringLiteral(" AND calendar_id IN (%1)").arg(StoreSql::placeholders(int(m_inSql.size())));
}

QVariantList CalendarFilter::values() const
{
    QVariantList values;
    values.reserve(m_inSql.size());
    for (const QString &id : m_inSql)
        values.append(id);
    return values;
}

bool CalendarFilter::accepts(const QString &calendarId) const
{
    return m_onRows.isEmpty() || m_onRows.contains(calendarId);
}
