#include "storesql.h"

#include "database.h"
#include "storefailure.h"
#include "storetransaction.h"
#include "timeutil.h"

#include <QRandomGenerator>
#include <QSqlError>
#include <QUuid>

#include <algorithm>
#include <atomic>
#include <cstdlib>

Q_LOGGING_CATEGORY(lcStore, "calendar.store")

namespace StoreSql {

namespace {

// Appends `value` in `digits` decimal digits.
void appendDigits(char *&out, int value, int digits)
{
    for (int i = digits - 1; i >= 0; --i) {
        out[i] = char('0' + value % 10);
        value /= 10;
    }
    out += digits;
}

// Writes the stored text of `value` to `text` (32 bytes at least) and
// returns its length; -1 where only Qt's formatter makes it. Qt's general
// formatter (and its printf for the offset) costs about a microsecond a
// value, and an import writes several a row. The forms written here are its
// Qt::ISODate text exactly; a local wall clock and years outside 0-9999
// still go through it.
qsizetype writeStorageText(const QDateTime &value, char *text)
{
    const Qt::TimeSpec spec = value.timeSpec();
    if (!value.isValid() || spec == Qt::LocalTime)
        return -1;
    const int offset = spec == Qt::UTC ? 0 : value.offsetFromUtc();
    constexpr qint64 kDayMs = 86400000;
    const qint64 wall = value.toMSecsSinceEpoch() + qint64(offset) * 1000;
    const qint64 day = wall >= 0 ? wall / kDayMs : -((-wall + kDayMs - 1) / kDayMs);
    const QDate date = QDate::fromJulianDay(2440588 + day);
    if (date.year() < 0 || date.year() > 9999)
        return -1;
    const int secs = int((wall - day * kDayMs) / 1000);
    char *out = text;
    appendDigits(out, date.year(), 4);
    *out++ = '-';
    appendDigits(out, date.month(), 2);
    *out++ = '-';
    appendDigits(out, date.day(), 2);
    *out++ = 'T';
    appendDigits(out, secs / 3600, 2);
    *out++ = ':';
    appendDigits(out, secs / 60 % 60, 2);
    *out++ = ':';
    appendDigits(out, secs % 60, 2);
    if (spec == Qt::UTC) {
        *out++ = 'Z';
    } else {
        *out++ = offset < 0 ? '-' : '+';
        const int magnitude = std::abs(offset);
        appendDigits(out, magnitude / 3600, 2);
        *out++ = ':';
        appendDigits(out, magnitude / 60 % 60, 2);
    }
    return out - text;
}

} // namespace

QString storageText(const QDateTime &value)
{
    char text[32];
    const qsizetype size = writeStorageText(value, text);
    return size < 0 ? TimeUtil::toStorage(value) : QString::fromLatin1(text, size);
}

StorageUtf8::StorageUtf8(const QDateTime &value)
{
    if (!value.isValid())
        return;
    m_size = writeStorageText(value, m_text);
    if (m_size < 0)
        m_formatted = TimeUtil::toStorage(value).toUtf8();
}

QByteArrayView StorageUtf8::bytes() const
{
    if (m_size >= 0)
        return QByteArrayView(m_text, m_size);
    return m_formatted.isNull() ? QByteArrayView() : QByteArrayView(m_formatted);
}

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
    return storageText(value);
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
    return storageText(QDateTime::currentDateTimeUtc());
}

QString newRowId()
{
    // The time and the count as one number, 48 bits above 12, never the
    // same twice in the process.
    static std::atomic<quint64> last{0};
    const quint64 now = quint64(QDateTime::currentMSecsSinceEpoch()) << 12;
    quint64 previous = last.load(std::memory_order_relaxed);
    quint64 stamp;
    do {
        stamp = std::max(now, previous + 1);
    } while (!last.compare_exchange_weak(previous, stamp, std::memory_order_relaxed));
    const quint64 high = (stamp >> 12 << 16) | 0x7000 | (stamp & 0xfff);
    const quint64 low = (QRandomGenerator::global()->generate64() >> 2) | 0x8000000000000000ULL;
    QByteArray bytes(16, Qt::Uninitialized);
    for (int i = 0; i < 8; ++i) {
        bytes[i] = char(high >> (56 - 8 * i));
        bytes[8 + i] = char(low >> (56 - 8 * i));
    }
    return QUuid::fromRfc4122(bytes).toString(QUuid::WithoutBraces);
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
        if (!run(query, sql, {order, now, id, order}))
            return false;
        order += 10;
    }
    return transaction.keep();
}

} // namespace StoreSql
