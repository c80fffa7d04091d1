#include "caldavrowrepository.h"

#include "database.h"
#include "recordnames.h"
#include "storesql.h"

using namespace StoreSql;

// "+calendar_id" keeps SQLite from walking the calendar's part of the unique
// index when a UID index finds the few rows at once: without statistics it
// prefers the calendar, which makes a big pull quadratic.

namespace {

bool isPending(const QVariant &status)
{
    return status.toString() == SyncStatus::Pending;
}

// NULL rather than '' for a missing value, as the repositories write it.
QVariant orNull(const QString &value)
{
    return value.isEmpty() ? QVariant() : QVariant(value);
}

} // namespace

CalDavRowRepository::CalDavRowRepository(Database *database, const QString &table)
    : m_database(database)
    , m_table(table)
{
}

QHash<QString, QSet<QString>> CalDavRowRepository::etagsByHref(const QString &calendarId) const
{
    QHash<QString, QSet<QString>> etags;
    eachRow(m_database->database(), "CalDavRowRepository::etagsByHref",
            QStringLiteral("SELECT href, etag FROM %1 WHERE calendar_id = ? AND href IS NOT NULL AND href <> ''")
                .arg(m_table),
            {calendarId}, [&etags](const QSqlQuery &q) { etags[q.value(0).toString()].insert(q.value(1).toString()); });
    return etags;
}

QList<CalDavRowRepository::Row> CalDavRowRepository::rows(const char *operation, const QString &where,
                                                          const QVariantList &values) const
{
    QList<Row> rows;
    eachRow(m_database->database(), operation,
            QStringLiteral("SELECT id, sync_status, href FROM %1 WHERE ").arg(m_table) + where, values,
            [&rows](const QSqlQuery &q) {
        rows.append({q.value(0).toString(), q.value(2).toString(), isPending(q.value(1))});
    });
    return rows;
}

QList<CalDavRowRepository::Row> CalDavRowRepository::rowsWithHref(const QString &calendarId) const
{
    return rows("CalDavRowRepository::rowsWithHref",
                QStringLiteral("calendar_id = ? AND href IS NOT NULL AND href <> ''"), {calendarId});
}

QList<CalDavRowRepository::Row> CalDavRowRepository::rowsAt(const QString &calendarId, const QString &href) const
{
    return rows("CalDavRowRepository::rowsAt", QStringLiteral("calendar_id = ? AND href = ?"), {calendarId, href});
}

bool CalDavRowRepository::setServerIdentity(const QString &id, const QString &href, const QString &etag)
{
    return write(m_database->database(), "CalDavRowRepository::setServerIdentity",
                 QStringLiteral("UPDATE %1 SET href = ?, etag = ? WHERE id = ?").arg(m_table),
                 {orNull(href), orNull(etag), id});
}

bool CalDavRowRepository::forgetServerIdentity(const QString &id)
{
    return write(m_database->database(), "CalDavRowRepository::forgetServerIdentity",
                 QStringLiteral("UPDATE %1 SET href = NULL, etag = NULL WHERE id = ?").arg(m_table), {id});
}

bool CalDavRowRepository::settleEtag(const QString &calendarId, const QString &href, const QString &etag)
{
    return write(m_database->database(), "CalDavRowRepository::settleEtag",
                 QStringLiteral("UPDATE %1 SET etag = ? WHERE calendar_id = ? AND href = ? AND etag IS NOT ?")
                     .arg(m_table),
                 {orNull(etag), calendarId, href, orNull(etag)});
}

QList<CalDavRowRepository::SeriesRow> CalDavRowRepository::seriesRowsAt(const QString &calendarId, const QString &href,
                                                                        const QString &uid) const
{
    QList<SeriesRow> rows;
    eachRow(m_database->database(), "CalDavRowRepository::seriesRowsAt",
            QStringLiteral("SELECT id, sync_status, uid, recurrence_id, master_event_uid FROM events "
                           "WHERE +calendar_id = ? AND href = ? AND (uid = ? OR master_event_uid = ?)"),
            {calendarId, href, uid, uid}, [&rows](const QSqlQuery &q) {
                rows.append({q.value(0).toString(), isPending(q.value(1)), q.value(2).toString(), q.value(3).toString(),
                             q.value(4).toString()});
            });
    return rows;
}

QList<CalDavRowRepository::SeriesRow> CalDavRowRepository::seriesRowsAt(const QString &calendarId,
                                                                        const QString &href) const
{
    QList<SeriesRow> rows;
    eachRow(m_database->database(), "CalDavRowRepository::seriesRowsAt",
            QStringLiteral("SELECT id, sync_status, uid, recurrence_id, master_event_uid FROM events "
                           "WHERE +calendar_id = ? AND href = ?"),
            {calendarId, href}, [&rows](const QSqlQuery &q) {
                rows.append({q.value(0).toString(), isPending(q.value(1)), q.value(2).toString(), q.value(3).toString(),
                             q.value(4).toString()});
            });
    return rows;
}

QString CalDavRowRepository::overrideId(const QString &calendarId, const QString &masterUid,
                                        const QString &recurrenceId) const
{
    return firstColumn(m_database->database(), "CalDavRowRepository::overrideId",
                       QStringLiteral("SELECT id FROM events WHERE +calendar_id = ? AND master_event_uid = ? "
                                      "AND recurrence_id = ? LIMIT 1"),
                       {calendarId, masterUid, recurrenceId})
        .value(0);
}

QStringList CalDavRowRepository::seriesIds(const QString &calendarId, const QString &seriesUid) const
{
    return firstColumn(m_database->database(), "CalDavRowRepository::seriesIds",
                       QStringLiteral("SELECT id FROM events WHERE +calendar_id = ? "
                                      "AND (uid = ? OR master_event_uid = ?) ORDER BY COALESCE(recurrence_id, '')"),
                       {calendarId, seriesUid, seriesUid});
}
