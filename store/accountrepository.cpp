#include "accountrepository.h"

#include "database.h"
#include "storesql.h"

using namespace StoreSql;

namespace {

const QLatin1String
    kColumns("id, name, type, server_url, username, calendar_home_set, principal_url, "
             "sync_interval_minutes, last_sync_time, last_sync_error, enabled, color, exclude_from_sync, "
             "trusted_cert_sha256, pending_cert_sha256, created_at, updated_at");

Account rowToAccount(const QSqlQuery &q)
{
    Account a;
    a.id = readText(q.value(0));
    a.name = readText(q.value(1));
    a.type = readText(q.value(2));
    a.server_url = readText(q.value(3));
    a.username = readText(q.value(4));
    a.calendar_home_set = readText(q.value(5));
    a.principal_url = readText(q.value(6));
    a.sync_interval_minutes = q.value(7).toInt();
    a.last_sync_time = readOptionalTime(q.value(8));
    a.last_sync_error = readText(q.value(9));
    a.enabled = q.value(10).toInt() != 0;
    a.color = readText(q.value(11));
    a.exclude_from_sync = q.value(12).toInt() != 0;
    a.trusted_cert_sha256 = readText(q.value(13));
    a.pending_cert_sha256 = readText(q.value(14));
    a.created_at = readTime(q.value(15));
    a.updated_at = readTime(q.value(16));
    return a;
}

// Every column from name to pending_cert_sha256, in column order.
QVariantList contentValues(const Account &a)
{
    return {text(a.name),
            text(a.type),
            text(a.server_url),
            text(a.username),
            text(a.calendar_home_set),
            text(a.principal_url),
            a.sync_interval_minutes,
            time(a.last_sync_time),
            text(a.last_sync_error),
            flag(a.enabled),
            text(a.color),
            flag(a.exclude_from_sync),
            text(a.trusted_cert_sha256),
            text(a.pending_cert_sha256)};
}

} // namespace

AccountRepository::AccountRepository(Database *database, QObject *parent)
    : QObject(parent)
    , m_database(database)
{
}

QList<Account> AccountRepository::getAll() const
{
    return selectRows(m_database->database(),
                      QStringLiteral("SELECT %1 FROM accounts ORDER BY sort_order, name").arg(kColumns), {},
                      rowToAccount);
}

std::optional<Account> AccountRepository::getById(const QString &id) const
{
    return selectFirst(m_database->database(), QStringLiteral("SELECT %1 FROM accounts WHERE id = ?").arg(kColumns),
                       {id}, rowToAccount);
}

bool AccountRepository::insert(const Account &a)
{
    QVariantList values{text(a.id)};
    values += contentValues(a);
    values += {time(a.created_at), time(a.updated_at)};
    if (!write(m_database->database(), "AccountRepository::insert",
               QStringLiteral("INSERT INTO accounts (%1) VALUES (%2)").arg(kColumns, placeholders(17)), values))
        return false;
    Q_EMIT accountsChanged();
    return true;
}

bool AccountRepository::update(const Account &a)
{
    QVariantList values = contentValues(a);
    values += {nowText(), text(a.id)};
    if (!write(m_database->database(), "AccountRepository::update",
               QStringLiteral("UPDATE accounts SET name = ?, type = ?, server_url = ?, username = ?, "
                              "calendar_home_set = ?, principal_url = ?, sync_interval_minutes = ?, "
                              "last_sync_time = ?, last_sync_error = ?, enabled = ?, color = ?, "
                              "exclude_from_sync = ?, trusted_cert_sha256 = ?, pending_cert_sha256 = ?, "
                              "updated_at = ? WHERE id = ?"),
               values))
        return false;
    Q_EMIT accountsChanged();
    return true;
}

bool AccountRepository::remove(const QString &id)
{
    if (!write(m_database->database(), "AccountRepository::remove", QStringLiteral("DELETE FROM accounts WHERE id = ?"),
               {id}))
        return false;
    Q_EMIT accountsChanged();
    return true;
}

bool AccountRepository::reorder(const QStringList &ids)
{
    if (ids.isEmpty())
        return true;
    if (!StoreSql::reorder(m_database,
                           QStringLiteral("UPDATE accounts SET sort_order = ?, updated_at = ? WHERE id = ? "
                                          "AND sort_order IS NOT ?"),
                           ids))
        return false;
    Q_EMIT accountsChanged();
    return true;
}
