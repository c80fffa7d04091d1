#include "storesql.h"

#include "database.h"
#include "storefailure.h"
#include "storetransaction.h"
#include "timeutil.h"

#include <QSqlError>

Q_LOGGING_CATEGORY(lcStore, "calendar.store")

namespace StoreSql {

QVariant text(const QString &value)
{
    if (value.isNull())
        return QVariant(QMetaType::fromType<QString>());
    return value;
}

QVariant time(const QDateTime &value)
{
    if (!value.isValid())
        return QVariant(QMetaType::fromType<QString>());
    return TimeUtil::toStorage(value);
}

QVariant time(const std::optional<QDateTime> &value)
{
    return value ? time(*value) : QVariant(QMetaType::fromType<QString>());
}

QVariant flag(bool value)
{
    return value ? 1 : 0;
}

QString nowText()
{
    return TimeUtil::toStorage(QDateTime::currentDateTimeUtc());
}

QDateTime readTime(const QVariant &value)
{
    return TimeUtil::fromStorage(value.toString());
}

QDateTime readTime(QUtf8StringView stored)
{
    return TimeUtil::fromStorage(stored);
}

std::optional<QDateTime> readOptionalTime(const QVariant &value)
{
    const QString stored = value.toString();
    if (stored.isEmpty())
        return std::nullopt;
    return TimeUtil::fromStorage(stored);
}

std::optional<QDateTime> readOptionalTime(QUtf8StringView stored)
{
    if (stored.isEmpty())
        return std::nullopt;
    return TimeUtil::fromStorage(stored);
}

QString readText(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

QString placeholders(int count, QLatin1String separator)
{
    QString out;
    out.reserve(count * (1 + separator.size()));
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            out += separator;
        out += QLatin1Char('?');
    }
    return out;
}

bool run(QSqlQuery &query, const QString &sql, const QVariantList &values)
{
    if (!query.prepare(sql)) {
        StoreFailure::note(StoreFailure::fromError(query.lastError()));
        return false;
    }
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (query.exec())
        return true;
    StoreFailure::note(StoreFailure::fromError(query.lastError()));
    return false;
}

void logFailure(const char *operation, const QSqlQuery &query)
{
    qCWarning(lcStore).noquote() << operation << "failed:" << query.lastError().text();
}

bool write(QSqlDatabase &db, const char *operation, const QString &sql, const QVariantList &values)
{
    QSqlQuery query(db);
    if (run(query, sql, values))
        return true;
    logFailure(operation, query);
    return false;
}

bool eachRow(QSqlDatabase &db, const char *operation, const QString &sql, const QVariantList &values,
             const std::function<void(const QSqlQuery &)> &row)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!run(query, sql, values)) {
        logFailure(operation, query);
        return false;
    }
    while (query.next())
        row(query);
    return true;
}

QStringList firstColumn(QSqlDatabase &db, const char *operation, const QString &sql, const QVariantList &values)
{
    QStringList column;
    eachRow(db, operation, sql, values, [&column](const QSqlQuery &q) { column.append(q.value(0).toString()); });
    return column;
}

bool matchedRow(const QSqlQuery &query, const char *operation, const QString &id)
{
    return matchedRow(query.numRowsAffected(), operation, id);
}

bool matchedRow(int changedRows, const char *operation, const QString &id)
{
    if (changedRows > 0)
        return true;
    qCWarning(lcStore).noquote() << operation << "failed: no row" << id;
    return false;
}

QString calendarIdOf(QSqlDatabase &db, QLatin1String table, const QString &id)
{
    QSqlQuery query(db);
    if (!run(query, QStringLiteral("SELECT calendar_id FROM %1 WHERE id = ?").arg(table), {id}) || !query.next())
        return QString();
    return query.value(0).toString();
}

bool reorder(Database *database, const QString &sql, const QStringList &ids)
{
    if (ids.isEmpty())
        return true;
    StoreTransaction transaction(database);
    if (!transaction.isActive())
        return false;
    const QString now = nowText();
    int order = 10;
    for (const QString &id : ids) {
        QSqlQuery query(database->database());
        if (!run(query, sql, {order, now, id}))
            return false;
        order += 10;
    }
    return transaction.keep();
}

} // namespace StoreSql
