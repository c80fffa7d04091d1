#pragma once

// Helpers shared by the repositories: binding and reading the stored forms of
// values, the failure log line and chunked IN lists. Internal to the store
// library.

#include <QDateTime>
#include <QList>
#include <QLoggingCategory>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QUtf8StringView>
#include <QVariant>
#include <QVariantList>

#include <functional>
#include <optional>

class Database;

Q_DECLARE_LOGGING_CATEGORY(lcStore)

namespace StoreSql {

// A null string binds as SQL NULL, an empty one as ''.
QVariant text(const QString &value);
// ISO 8601 text in the value's own representation; an invalid one binds NULL.
// TimeUtil::toStorage's text, made without Qt's general formatter.
QString storageText(const QDateTime &value);
// The same text as UTF-8, for binding without a string; a null view for an
// invalid value.
class StorageUtf8
{
public:
    explicit StorageUtf8(const QDateTime &value);
    QByteArrayView bytes() const;

private:
    char m_text[32];
    qsizetype m_size = -1;
    QByteArray m_formatted;
};
QVariant time(const QDateTime &value);
QVariant time(const std::optional<QDateTime> &value);
QVariant flag(bool value);

// The current UTC time as stored text.
QString nowText();

// A new row's id: a UUID (version 7) that leads with the time in
// milliseconds and a count within it, so that the ids one process makes
// ascend. A batch's rows then go to the end of the id index, and of every
// index where they tie before the id, instead of all over it; and no
// system call for randomness is made per id.
QString newRowId();

// NULL or empty text gives an invalid date-time.
QDateTime readTime(const QVariant &value);
QDateTime readTime(QUtf8StringView stored);
// NULL or empty text gives no value; anything else is parsed, valid or not.
std::optional<QDateTime> readOptionalTime(const QVariant &value);
std::optional<QDateTime> readOptionalTime(QUtf8StringView stored);
// The text a column holds; NULL reads as a null string.
QString readText(const QVariant &value);

// "?, ?, ?" with `count` marks, joined by `separator`.
QString placeholders(int count, QLatin1String separator = QLatin1String(", "));

// Prepares `sql` on `db`, binds `values` in order and executes it.
bool run(QSqlQuery &query, const QString &sql, const QVariantList &values);

// One warning line: "<operation> failed: <driver text>".
void logFailure(const char *operation, const QSqlQuery &query);

// run() on a fresh query of `db`; a failure is logged as `operation`.
bool write(QSqlDatabase &db, const char *operation, const QString &sql, const QVariantList &values);

// Runs a SELECT and hands each row to `row`; a failure is logged as
// `operation` and returns false.
bool eachRow(QSqlDatabase &db, const char *operation, const QString &sql, const QVariantList &values,
             const std::function<void(const QSqlQuery &)> &row);

// The first column of every row of a SELECT as text; empty (logged as
// `operation`) on a failure.
QStringList firstColumn(QSqlDatabase &db, const char *operation, const QString &sql, const QVariantList &values);

// Whether the UPDATE just run by `query` changed a row; when its WHERE matched
// none (the row `id` is gone), logs "<operation> failed: no row <id>".
bool matchedRow(const QSqlQuery &query, const char *operation, const QString &id);
bool matchedRow(int changedRows, const char *operation, const QString &id);

// Every row of a SELECT, mapped; empty when the statement fails.
template<typename Row>
QList<Row> selectRows(QSqlDatabase &db, const QString &sql, const QVariantList &values, Row (*map)(const QSqlQuery &))
{
    QList<Row> rows;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!run(query, sql, values))
        return rows;
    while (query.next())
        rows.append(map(query));
    return rows;
}

// The first row of a SELECT, mapped; empty when there is none.
template<typename Row>
std::optional<Row> selectFirst(QSqlDatabase &db, const QString &sql, const QVariantList &values,
                               Row (*map)(const QSqlQuery &))
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!run(query, sql, values) || !query.next())
        return std::nullopt;
    return map(query);
}

// "SELECT calendar_id FROM <table> WHERE id = ?"; empty when no row has the id.
QString calendarIdOf(QSqlDatabase &db, QLatin1String table, const QString &id);

// Rewrites the order column of `ids` to 10, 20, 30, ... in one transaction.
// `sql` takes the order value, the shared updated time, the id and the order
// value again, to leave alone a row already in its place.
bool reorder(Database *database, const QString &sql, const QStringList &ids);

// Largest IN list a batch statement carries, far below SQLite's host
// parameter limit.
constexpr int kInListChunk = 100;

} // namespace StoreSql
