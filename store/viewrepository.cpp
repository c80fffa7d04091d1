#include "viewrepository.h"

#include "database.h"
#include "recordnames.h"
#include "storesql.h"

using namespace StoreSql;

namespace {

const QLatin1String
    kColumns("id, name, color, calendar_ids, is_default, sort_order, sync_status, created_at, updated_at, "
             "deleted_at");

CalendarView rowToCalendarView(const QSqlQuery &q)
{
    CalendarView v;
    v.id = readText(q.value(0));
    v.name = readText(q.value(1));
    v.color = readText(q.value(2));
    v.calendar_ids = readText(q.value(3));
    v.is_default = q.value(4).toInt() != 0;
    v.sort_order = q.value(5).toInt();
    v.sync_status = readText(q.value(6));
    v.created_at = readTime(q.value(7));
    v.updated_at = readTime(q.value(8));
    v.deleted_at = readOptionalTime(q.value(9));
    return v;
}

} // namespace

ViewRepository::ViewRepository(Database *database, QObject *parent)
    : QObject(parent)
    , m_database(database)
{
}

bool ViewRepository::changed(bool ok)
{
    if (ok)
        Q_EMIT viewsChanged();
    return ok;
}

QList<CalendarView> ViewRepository::getAll() const
{
    return selectRows(m_database->database(),
                      QStringLiteral("SELECT %1 FROM calendar_views WHERE deleted_at IS NULL ORDER BY "
                                     "is_default DESC, sort_order, name")
                          .arg(kColumns),
                      {}, rowToCalendarView);
}

QList<CalendarView> ViewRepository::getAllIncludingDeleted() const
{
    return selectRows(m_database->database(),
                      QStringLiteral("SELECT %1 FROM calendar_views ORDER BY is_default DESC, "
                                     "sort_order, name")
                          .arg(kColumns),
                      {}, rowToCalendarView);
}

std::optional<CalendarView> ViewRepository::getById(const QString &id) const
{
    return selectFirst(m_database->database(),
                       QStringLiteral("SELECT %1 FROM calendar_views WHERE id = ?").arg(kColumns), {id},
                       rowToCalendarView);
}

bool ViewRepository::insert(const CalendarView &v)
{
    return changed(write(m_database->database(), "ViewRepository::insert",
                         QStringLiteral("INSERT INTO calendar_views (id, name, color, calendar_ids, "
                                        "is_default, sort_order, sync_status, created_at, "
                                        "updated_at) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                         {text(v.id), text(v.name), text(v.color), text(v.calendar_ids), flag(v.is_default),
                          v.sort_order, text(v.sync_status), time(v.created_at), time(v.updated_at)}));
}

bool ViewRepository::update(const CalendarView &v)
{
    return changed(write(m_database->database(), "ViewRepository::update",
                         QStringLiteral("UPDATE calendar_views SET name = ?, color = ?, "
                                        "calendar_ids = ?, is_default = ?, sort_order = ?, "
                                        "sync_status = ?, updated_at = ? WHERE id = ?"),
                         {text(v.name), text(v.color), text(v.calendar_ids), flag(v.is_default), v.sort_order,
                          text(v.sync_status), nowText(), text(v.id)}));
}

bool ViewRepository::remove(const QString &id)
{
    const QString now = nowText();
    QSqlQuery query(m_database->database());
    static const QString sql =
        QStringLiteral("UPDATE calendar_views SET deleted_at = ?, sync_status = '%1', updated_at = ? WHERE id = ?")
            .arg(SyncStatus::Pending);
    return changed(run(query, sql, {now, now, id}));
}

bool ViewRepository::hardDelete(const QString &id)
{
    QSqlQuery query(m_database->database());
    return changed(run(query, QStringLiteral("DELETE FROM calendar_views WHERE id = ?"), {id}));
}

bool ViewRepository::reorder(const QStringList &ids)
{
    if (ids.isEmpty())
        return true;
    static const QString sql = QStringLiteral("UPDATE calendar_views SET sort_order = ?, sync_status = '%1', "
                                              "updated_at = ? WHERE id = ? AND sort_order IS NOT ?")
                                   .arg(SyncStatus::Pending);
    return changed(StoreSql::reorder(m_database, sql, ids));
}
