#include "calendarfilter.h"

#include "storesql.h"

CalendarFilter::CalendarFilter(const QStringList &calendarIds)
    : m_ids(calendarIds.cbegin(), calendarIds.cend())
{
    if (calendarIds.size() <= StoreSql::kInListChunk)
        m_inSql = calendarIds;
}

QString CalendarFilter::sqlClause(Index index) const
{
    if (m_inSql.isEmpty())
        return QString();
    // A unary + keeps the value and takes the term off every index.
    const QLatin1String column(index == Index::Avoid ? "+calendar_id" : "calendar_id");
    return QStringLiteral(" AND %1 IN (%2)").arg(column, StoreSql::placeholders(int(m_inSql.size())));
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
    return !m_inSql.isEmpty() || includes(calendarId);
}

bool CalendarFilter::includes(const QString &calendarId) const
{
    return m_ids.isEmpty() || m_ids.contains(calendarId);
}
