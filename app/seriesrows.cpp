#include "seriesrows.h"

#include "eventrepository.h"

#include <QDebug>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace SeriesRows {

QList<Event> liveOverrides(EventRepository *events, const Event &series)
{
    QList<Event> result;
    if (!events || series.uid.isEmpty())
        return result;
    // The repository's own connection (Qt's default one).
    QSqlQuery query(QSqlDatabase::database());
    query.prepare(QStringLiteral("SELECT id FROM events WHERE calendar_id = ? AND master_event_uid = ? "
                                 "AND COALESCE(recurrence_id, '') <> '' AND deleted_at IS NULL AND id <> ?"));
    query.addBindValue(series.calendar_id);
    query.addBindValue(series.uid);
    query.addBindValue(series.id);
    if (!query.exec()) {
        qWarning().noquote() << "SeriesRows::liveOverrides failed:" << query.lastError().text();
        return result;
    }
    QStringList ids;
    while (query.next())
        ids.append(query.value(0).toString());
    for (const QString &id : std::as_const(ids)) {
        if (const auto row = events->getById(id))
            result.append(*row);
    }
    return result;
}

} // namespace SeriesRows
