#include "sqlitestatement.h"

#include "storefailure.h"
#include "storesql.h"

#include <QStringEncoder>

#include <cstring>

#include <sqlite3.h>

SqliteStatement::SqliteStatement(sqlite3 *db, const QString &sql)
    : m_db(db)
{
    const QByteArray utf8 = sql.toUtf8();
    // Kept for the connection's lifetime: SQLite allocates it accordingly.
    if (sqlite3_prepare_v3(m_db, utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT, &m_statement, nullptr)
        != SQLITE_OK) {
        sqlite3_finalize(m_statement);
        m_statement = nullptr;
    }
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

QString SqliteStatement::errorText() const
{
    if (!m_error.isNull())
        return m_error;
    return QString::fromUtf8(sqlite3_errmsg(m_db));
}

bool SqliteStatement::execute(const QVariantList &values)
{
    if (start(values))
        return execute();
    m_changes = 0;
    noteFailure();
    sqlite3_reset(m_statement);
    return false;
}

bool SqliteStatement::execute()
{
    m_error = QString();
    m_changes = 0;
    const int rc = sqlite3_step(m_statement);
    const bool ok = rc == SQLITE_DONE || rc == SQLITE_ROW;
    if (ok)
        m_changes = sqlite3_changes(m_db);
    else
        noteFailure();
    // Resetting ends the statement, and with it a write's hold on the
    // transaction.
    sqlite3_reset(m_statement);
    return ok;
}

bool SqliteStatement::start(const QVariantList &values)
{
    reset();
    m_failed = false;
    m_error = QString();
    sqlite3_clear_bindings(m_statement);
    for (int i = 0; i < values.size(); ++i) {
        const QVariant &value = values.at(i);
        int rc;
        switch (value.metaType().id()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::Bool: rc = sqlite3_bind_int64(m_statement, i + 1, value.toLongLong()); break;
        case QMetaType::Double: rc = sqlite3_bind_double(m_statement, i + 1, value.toDouble()); break;
        default:
            if (!bind(i, value.toString()))
                return false;
            rc = SQLITE_OK;
        }
        if (rc != SQLITE_OK)
            return false;
    }
    return true;
}

namespace {

// The largest value a parameter's own buffer holds.
constexpr qsizetype kKeptBytes = 64 * 1024;

} // namespace

bool SqliteStatement::bind(int index, const QString &value)
{
    if (value.isNull())
        return sqlite3_bind_null(m_statement, index + 1) == SQLITE_OK;
    // UTF-8, the database's encoding: SQLite's own conversion from UTF-16
    // is far slower than Qt's. Written into the parameter's own buffer,
    // whose room stays from row to row: a bulk write binds millions. A large
    // value is copied by SQLite instead, so that no buffer keeps its room
    // for the connection's life.
    if (value.size() * 3 > kKeptBytes) {
        const QByteArray utf8 = value.toUtf8();
        return sqlite3_bind_text(m_statement, index + 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT)
            == SQLITE_OK;
    }
    std::string *bytes = parameterBytes(index);
    if (!bytes)
        return false;
    QStringEncoder toUtf8(QStringEncoder::Utf8);
    bytes->resize(size_t(toUtf8.requiredSpace(value.size())));
    const char *end = toUtf8.appendToBuffer(bytes->data(), value);
    return sqlite3_bind_text(m_statement, index + 1, bytes->data(), int(end - bytes->data()), SQLITE_STATIC)
        == SQLITE_OK;
}

bool SqliteStatement::bindInteger(int index, qint64 value)
{
    return sqlite3_bind_int64(m_statement, index + 1, value) == SQLITE_OK;
}

bool SqliteStatement::bindUtf8(int index, QByteArrayView value)
{
    if (value.isNull())
        return sqlite3_bind_null(m_statement, index + 1) == SQLITE_OK;
    if (value.size() > kKeptBytes)
        return sqlite3_bind_text(m_statement, index + 1, value.data(), int(value.size()), SQLITE_TRANSIENT)
            == SQLITE_OK;
    std::string *bytes = parameterBytes(index);
    if (!bytes)
        return false;
    bytes->assign(value.data(), size_t(value.size()));
    return sqlite3_bind_text(m_statement, index + 1, bytes->data(), int(bytes->size()), SQLITE_STATIC) == SQLITE_OK;
}

std::string *SqliteStatement::parameterBytes(int index)
{
    // Sized once: growing would move short strings' bytes, which SQLite
    // holds on to.
    if (m_parameters.empty())
        m_parameters.resize(size_t(sqlite3_bind_parameter_count(m_statement)));
    return index >= 0 && size_t(index) < m_parameters.size() ? &m_parameters[size_t(index)] : nullptr;
}

bool SqliteStatement::next(const char *operation)
{
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW)
        return true;
    m_failed = rc != SQLITE_DONE;
    if (m_failed) {
        noteFailure();
        qCWarning(lcStore).noquote() << operation << "failed:" << errorText();
    }
    return false;
}

void SqliteStatement::noteFailure()
{
    m_error = QString::fromUtf8(sqlite3_errmsg(m_db));
    StoreFailure::note(StoreFailure::fromSqliteCode(sqlite3_extended_errcode(m_db)));
}

void SqliteStatement::reset()
{
    sqlite3_reset(m_statement);
}

bool SqliteStatement::isNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

int SqliteStatement::integer(int column) const
{
    return sqlite3_column_int(m_statement, column);
}

qint64 SqliteStatement::integer64(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

QString SqliteStatement::text(int column) const
{
    const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
    if (!bytes)
        return QString();
    return QString::fromUtf8(bytes, sqlite3_column_bytes(m_statement, column));
}

QString SqliteStatement::sharedText(int column) const
{
    // Enough for the values such a column holds; beyond it, strings of their
    // own.
    constexpr size_t kLimit = 16;
    const QUtf8StringView bytes = utf8(column);
    if (bytes.isEmpty())
        return text(column);
    if (m_shared.size() <= size_t(column))
        m_shared.resize(size_t(column) + 1);
    auto &values = m_shared[size_t(column)];
    const QByteArrayView view(bytes.data(), bytes.size());
    for (const auto &[utf8, value] : values) {
        if (utf8.size() == view.size() && std::memcmp(utf8.constData(), view.data(), size_t(view.size())) == 0)
            return value;
    }
    QString value = QString::fromUtf8(view);
    if (values.size() < kLimit)
        values.emplace_back(view.toByteArray(), value);
    return value;
}

QUtf8StringView SqliteStatement::utf8(int column) const
{
    const auto *bytes = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
    if (!bytes)
        return QUtf8StringView();
    return QUtf8StringView(bytes, sqlite3_column_bytes(m_statement, column));
}
