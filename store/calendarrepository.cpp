#include "calendarrepository.h"

#include "database.h"
#include "storesql.h"
#include "storetransaction.h"

using namespace StoreSql;

namespace {

const QLatin1String kColumns("id, account_id, url, name, description, color, timezone, is_visible, is_read_only, "
                             "is_default, ctag, sync_token, delta_sync_token, supported_components, sort_order, "
                             "canonical_key, sync_enabled, is_shared, shared_with_me, last_sync_error, created_at, "
                             "updated_at");

Calendar rowToCalendar(const QSqlQuery &q)
{
    Calendar c;
    c.id = readText(q.value(0));
    c.account_id = readText(q.value(1));
    c.url = readText(q.value(2));
    c.name = readText(q.value(3));
    c.description = readText(q.value(4));
    c.color = readText(q.value(5));
    c.timezone = readText(q.value(6));
    c.is_visible = q.value(7).toInt() != 0;
    c.is_read_only = q.value(8).toInt() != 0;
    c.is_default = q.value(9).toInt() != 0;
    c.ctag = readText(q.value(10));
    c.sync_token = readText(q.value(11));
    c.delta_sync_token = readText(q.value(12));
    c.supported_components = readText(q.value(13));
    c.sort_order = q.value(14).toInt();
    c.canonical_key = readText(q.value(15));
    c.sync_enabled = q.value(16).toInt() != 0;
    c.is_shared = q.value(17).toInt() != 0;
    c.shared_with_me = q.value(18).toInt() != 0;
    c.last_sync_error = readText(q.value(19));
    c.created_at = readTime(q.value(20));
    c.updated_at = readTime(q.value(21));
    return c;
}

// Every column but id and the two times, in column order.
QVariantList contentValues(const Calendar &c)
{
    return {text(c.account_id),
            text(c.url),
            text(c.name),
            text(c.description),
            text(c.color),
            text(c.timezone),
            flag(c.is_visible),
            flag(c.is_read_only),
            flag(c.is_default),
            text(c.ctag),
            text(c.sync_token),
            text(c.delta_sync_token),
            text(c.supported_components),
            c.sort_order,
            text(c.canonical_key),
            flag(c.sync_enabled),
            flag(c.is_shared),
            flag(c.shared_with_me),
            text(c.last_sync_error)};
}

} // namespace

CalendarRepository::CalendarRepository(Database *database, QObject *parent)
    : QObject(parent)
    , m_database(database)
{
}

QList<Calendar> CalendarRepository::getAll() const
{
    return selectRows(m_database->database(),
                      QStringLiteral("SELECT %1 FROM calendars ORDER BY sort_order, name").arg(kColumns), {},
                      rowToCalendar);
}

QList<Calendar> CalendarRepository::getByAccount(const QString &accountId) const
{
    return selectRows(m_database->database(),
                      QStringLiteral("SELECT %1 FROM calendars WHERE account_id = ? ORDER BY "
                                     "sort_order, name")
                          .arg(kColumns),
                      {accountId}, rowToCalendar);
}

std::optional<Calendar> CalendarRepository::getById(const QString &id) const
{
    return selectFirst(m_database->database(), QStringLiteral("SELECT %1 FROM calendars WHERE id = ?").arg(kColumns),
                       {id}, rowToCalendar);
}

bool CalendarRepository::insert(const Calendar &c)
{
    QVariantList values{text(c.id)};
    values += contentValues(c);
    values += {time(c.created_at), time(c.updated_at)};
    if (!write(m_database->database(), "CalendarRepository::insert",
               QStringLiteral("INSERT INTO calendars (%1) VALUES (%2)").arg(kColumns, placeholders(22)), values))
        return false;
    Q_EMIT calendarsChanged();
    return true;
}

bool CalendarRepository::update(const Calendar &c)
{
    QVariantList values = contentValues(c);
    values += {nowText(), text(c.id)};
    if (!write(m_database->database(), "CalendarRepository::update",
               QStringLiteral("UPDATE calendars SET account_id = ?, url = ?, name = ?, description = ?, "
                              "color = ?, timezone = ?, is_visible = ?, is_read_only = ?, is_default = ?, "
                              "ctag = ?, sync_token = ?, delta_sync_token = ?, supported_components = ?, "
                              "sort_order = ?, canonical_key = ?, sync_enabled = ?, is_shared = ?, "
                              "shared_with_me = ?, last_sync_error = ?, updated_at = ? WHERE id = ?"),
               values))
        return false;
    Q_EMIT calendarsChanged();
    return true;
}

bool CalendarRepository::setNameAndColor(const QString &id, const QString &name, const QString &color)
{
    if (!write(m_database->database(), "CalendarRepository::setNameAndColor",
               QStringLiteral("UPDATE calendars SET name = ?, color = ?, updated_at = ? WHERE id = ?"),
               {text(name), text(color), nowText(), text(id)}))
        return false;
    Q_EMIT calendarsChanged();
    return true;
}

bool CalendarRepository::remove(const QString &id)
{
    if (!write(m_database->database(), "CalendarRepository::remove",
               QStringLiteral("DELETE FROM calendars WHERE id = ?"), {id}))
        return false;
    Q_EMIT calendarsChanged();
    return true;
}

bool CalendarRepository::setDefault(const QString &id)
{
    QSqlDatabase &db = m_database->database();
    const QString now = nowText();
    StoreTransaction transaction(m_database);
    if (!transaction.isActive())
        return false;
    if (!write(db, "CalendarRepository::setDefault clear",
               QStringLiteral("UPDATE calendars SET is_default = 0, updated_at = ? WHERE "
                              "is_default = 1 AND id != ?"),
               {now, id})
        || !write(db, "CalendarRepository::setDefault set",
                  QStringLiteral("UPDATE calendars SET is_default = 1, updated_at = ? WHERE id = ?"), {now, id})
        || !transaction.keep())
        return false;
    Q_EMIT calendarsChanged();
    return true;
}
