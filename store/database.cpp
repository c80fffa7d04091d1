#include "database.h"

#include "pagecheck.h"
#include "sqlitestatement.h"
#include "storefailure.h"
#include "storesql.h"
#include "storetransaction.h"
#include "textsearchfunction.h"
#include "timeutil.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <atomic>
#include <iterator>
#include <optional>

#include <sqlite3.h>

namespace {

struct Migration
{
    int version;
    const char *name;
    const char *resourcePath;
};

// A schema change is a new entry here with the next version; a text that has
// already run is never edited, since databases that recorded it would not see
// the change.
constexpr Migration kMigrations[] = {
    {1, "initial", ":/sql/sql/migrations/001_initial.sql"},
    {2, "event_sync", ":/sql/sql/migrations/002_event_sync.sql"},
    {3, "tasks_sync", ":/sql/sql/migrations/003_tasks_sync.sql"},
    {4, "accounts_sort_order", ":/sql/sql/migrations/004_accounts_sort_order.sql"},
    {5, "provider_event_idx", ":/sql/sql/migrations/005_provider_event_id_index.sql"},
    {6, "events_uid_unique", ":/sql/sql/migrations/006_events_uid_unique.sql"},
    {7, "tasks_dateonly_repeat", ":/sql/sql/migrations/007_tasks_dateonly_and_repeat_mode.sql"},
    {8, "events_range_idx", ":/sql/sql/migrations/008_events_range_indexes.sql"},
    {9, "events_long_with_start", ":/sql/sql/migrations/009_events_long_with_start.sql"},
    {10, "events_version", ":/sql/sql/migrations/010_events_version.sql"},
    {11, "timed_values_as_instants", ":/sql/sql/migrations/011_timed_values_as_instants.sql"},
    {12, "reminder_occurrence_acks", ":/sql/sql/migrations/012_reminder_occurrence_acks.sql"},
    {13, "sync_item_problems", ":/sql/sql/migrations/013_sync_item_problems.sql"},
    {14, "events_dated_idx", ":/sql/sql/migrations/014_events_dated_index.sql"},
    {15, "caldav_resource_bases", ":/sql/sql/migrations/015_caldav_resource_bases.sql"},
    {16, "events_change_log", ":/sql/sql/migrations/016_events_change_log.sql"},
    {17, "reminders_due_idx", ":/sql/sql/migrations/017_reminders_due_index.sql"},
    {18, "events_view_idx", ":/sql/sql/migrations/018_events_view_index.sql"},
    {19, "events_series_idx", ":/sql/sql/migrations/019_events_series_index.sql"},
    {20, "allday_override_dates", ":/sql/sql/migrations/020_allday_override_dates.sql"},
    {21, "all_day_rows_as_dates", ":/sql/sql/migrations/021_all_day_rows_as_dates.sql"},
};

// A statement is complete at a ";" line end outside a trigger body; what is
// left after the last one counts as a statement too.
void appendStatement(QStringList &out, const QString &accumulated)
{
    QString statement = accumulated.trimmed();
    if (statement.isEmpty() || statement == QLatin1String(";"))
        return;
    if (statement.endsWith(QLatin1Char(';')))
        statement.chop(1);
    statement = statement.trimmed();
    if (!statement.isEmpty())
        out.append(statement);
}

// A statement may name :system_zone, the IANA id of the system zone at the
// time it runs (the one thing a migration cannot read in SQL).
bool runMigrationStatement(QSqlQuery &query, const QString &statement)
{
    const QLatin1String zonePlaceholder(":system_zone");
    if (!statement.contains(zonePlaceholder))
        return query.exec(statement);
    if (!query.prepare(statement))
        return false;
    query.bindValue(zonePlaceholder, TimeUtil::zoneName(QDateTime::currentDateTime(), QString()));
    return query.exec();
}

// What a failed statement says of the file, from SQLite's primary code.
Database::OpenFailure failureOf(const QSqlError &error)
{
    switch (error.nativeErrorCode().toInt() & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED: return Database::OpenFailure::Locked;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB: return Database::OpenFailure::Damaged;
    default: return Database::OpenFailure::Unusable;
    }
}

// The highest version recorded in the file; 0 for a new file or one without
// the table; empty when the file cannot be read (`error` says why). Reads
// only.
std::optional<int> storedVersion(QSqlDatabase &db, QSqlError *error = nullptr)
{
    QSqlQuery query(db);
    const auto failed = [&query, error] {
        if (error)
            *error = query.lastError();
        return std::nullopt;
    };
    if (!query.exec(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'schema_version'")))
        return failed();
    if (!query.next())
        return 0;
    query.finish();
    if (!query.exec(QStringLiteral("SELECT MAX(version) FROM schema_version")) || !query.next())
        return failed();
    return query.value(0).toInt();
}

} // namespace

Database::Database(QObject *parent)
    : QObject(parent)
    , m_db(std::make_unique<QSqlDatabase>())
{
}

namespace {

// Beside the database: what the file looked like when this program last
// closed it whole. A file that still looks so was not written since, so the
// integrity check at start, which reads every page, is spared; a crash leaves
// no stamp, and another program's write or a damage changes what it says.
QString closedStampPath(const QString &path)
{
    return path + QStringLiteral("-closed");
}

QByteArray fileStamp(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    return QByteArrayLiteral("1 ") + QByteArray::number(info.size()) + ' '
        + QByteArray::number(info.lastModified().toMSecsSinceEpoch()) + ' '
        + QByteArray::number(info.metadataChangeTime().toMSecsSinceEpoch());
}

void writeClosedStamp(const QString &path)
{
    const QByteArray stamp = fileStamp(path);
    QFile file(closedStampPath(path));
    if (stamp.isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate, QFile::ReadOwner | QFile::WriteOwner)
        || file.write(stamp) != stamp.size())
        file.remove();
}

// Reads the stamp and removes it: until the next clean close, the file may
// change in ways no stamp tells.
bool closedCleanly(const QString &path)
{
    QFile file(closedStampPath(path));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray stamp = file.read(256);
    file.close();
    file.remove();
    return !QFileInfo::exists(path + QStringLiteral("-wal")) && stamp == fileStamp(path);
}

} // namespace

Database::~Database()
{
    // SQLite refuses to close a connection with statements left.
    m_statements.clear();
    m_handle = nullptr;
    // A check cut short or that found damage leaves the file unstamped: it
    // is checked again at the next start.
    const bool pagesWhole = !m_pageCheck || m_pageCheck->state() == PageCheck::State::Whole;
    m_pageCheck.reset();
    if (m_open) {
        m_db->close();
        m_open = false;
        // The last connection gone, SQLite folds the WAL into the file and
        // removes it: only then is the file whole as it stands. A file that
        // failed a read or write may be damaged: checked at the next start.
        if (!m_stampedFile.isEmpty() && !QFileInfo::exists(m_stampedFile + QStringLiteral("-wal")) && pagesWhole
            && !StoreFailure::ioSeen() && QFileInfo(m_stampedFile).birthTime() == m_stampedBirth)
            writeClosedStamp(m_stampedFile);
    }
    if (!m_db->isValid())
        return;
    // Unregistering while a handle is alive makes Qt warn; drop ours first.
    const QString name = m_db->connectionName();
    *m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
}

bool Database::open(const QString &path)
{
    return openConnection(path, QLatin1String(QSqlDatabase::defaultConnection), true);
}

bool Database::open(const QString &path, const QString &connectionName)
{
    return openConnection(path, connectionName, false);
}

bool Database::refuse(OpenFailure failure, const QString &why)
{
    qCCritical(lcStore).noquote() << "Not opening the database:" << why;
    m_failure = failure;
    m_db->close();
    return false;
}

bool Database::openConnection(const QString &path, const QString &connectionName, bool atStart)
{
    m_pageCheck.reset();
    m_statements.clear();
    m_handle = nullptr;
    m_stampedFile.clear();
    *m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    m_db->setDatabaseName(path);
    m_newerVersion = 0;
    m_failure = OpenFailure::None;
    // In a folder this process cannot write, SQLite cannot make the WAL's
    // shared-memory file a reader needs; a file closed cleanly (no WAL left)
    // is then read as it stands, read-only.
    const QFileInfo file(path);
    const bool immutable = file.exists() && !QFileInfo(file.absolutePath()).isWritable()
        && !QFileInfo::exists(path + QStringLiteral("-wal"));
    if (immutable) {
        QUrl uri = QUrl::fromLocalFile(file.absoluteFilePath());
        uri.setQuery(QStringLiteral("immutable=1"));
        m_db->setDatabaseName(uri.toString(QUrl::FullyEncoded));
        m_db->setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
    }
    // Events, accounts and sync state are the user's own, whatever the
    // umask; the WAL and shared-memory files SQLite creates beside it take
    // the file's mode.
    if (!QFileInfo::exists(path)) {
        QFile created(path);
        if (created.open(QIODevice::WriteOnly, QFile::ReadOwner | QFile::WriteOwner))
            created.close();
    }
    // Looked at before SQLite opens the file and makes its WAL beside it.
    const bool unchangedSinceClose = atStart && closedCleanly(path);
    if (!m_db->open()) {
        qCCritical(lcStore).noquote() << "Failed to open database:" << m_db->lastError().text();
        m_failure = failureOf(m_db->lastError());
        return false;
    }
    // Checked before the pragmas below, which may write: a newer program's
    // file, a locked or a damaged one stays exactly as it was. A lock is
    // waited for as long as the driver's busy time-out.
    QSqlError error;
    const std::optional<int> stored = storedVersion(*m_db, &error);
    if (!stored)
        return refuse(failureOf(error), error.text());
    if (*stored > latestVersion()) {
        m_newerVersion = *stored;
        return refuse(OpenFailure::NewerSchema,
                      QStringLiteral("its schema version %1 is newer than %2").arg(*stored).arg(latestVersion()));
    }
    // The cheap check (no index contents): damaged pages are told instead of
    // reading as missing rows. Before the pragmas and migrations below write,
    // unless the file is in WAL mode already and at this schema: nothing
    // below writes to it then, and the start need not wait for every page.
    bool checkLater = false;
    if (atStart && !unchangedSinceClose) {
        QSqlQuery mode(*m_db);
        checkLater = !immutable && *stored == latestVersion() && mode.exec(QStringLiteral("PRAGMA journal_mode"))
            && mode.next() && mode.value(0).toString() == QLatin1String("wal");
        if (!checkLater && !checkPages())
            return false;
    }
    if (atStart && !immutable) {
        // Readers may share the file, but a program holding its write lock
        // would fail every change here: said at start, not at the first save.
        QSqlQuery probe(*m_db);
        if (!probe.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
            if (failureOf(probe.lastError()) == OpenFailure::Locked)
                return refuse(OpenFailure::Locked, probe.lastError().text());
        } else {
            probe.exec(QStringLiteral("ROLLBACK"));
        }
    }
    QSqlQuery pragma(*m_db);
    pragma.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    pragma.exec(QStringLiteral("PRAGMA foreign_keys=ON"));
    // SQLite's default page cache is 2 MiB. A month over a large store reads
    // a few thousand rows scattered over the file, tens of MiB of pages, and
    // with the default every range query reads them from the file again.
    // The cache grows only as pages are read.
    pragma.exec(QStringLiteral("PRAGMA cache_size=-65536"));
    pragma.exec(QStringLiteral("PRAGMA temp_store=MEMORY"));
    const QVariant handle = m_db->driver()->handle();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
        m_handle = *static_cast<sqlite3 *const *>(handle.constData());
    // While the pages are checked, a commit waits for their verdict, and
    // none is made to a damaged file.
    if (m_handle)
        m_commitGate = PageCheck::installCommitGate(m_handle, path);
    if (!registerTextSearchFunction(m_handle))
        qCWarning(lcStore) << "Cannot register the text search function";
    // Numbered across the process, so no two connections share a stamp.
    static std::atomic<quint64> connections{0};
    m_generation = ++connections;
    m_open = true;
    if (atStart && !immutable) {
        m_stampedFile = path;
        m_stampedBirth = QFileInfo(path).birthTime();
    }
    if (checkLater)
        checkPagesLater(path);
    return m_open;
}

bool Database::checkPages()
{
    QSqlQuery check(*m_db);
    if (!check.exec(QStringLiteral("PRAGMA quick_check(1)")))
        return refuse(failureOf(check.lastError()), check.lastError().text());
    const QString verdict = check.next() ? check.value(0).toString() : QString();
    return verdict == QLatin1String("ok") || refuse(OpenFailure::Damaged, verdict.left(200));
}

void Database::checkPagesLater(const QString &path)
{
    m_pageCheck = PageCheck::start(path, [this](PageCheck::State state, const QString &verdict) {
        if (state != PageCheck::State::Damaged)
            return;
        QMetaObject::invokeMethod(
            this,
            [this, verdict] {
            qCCritical(lcStore).noquote() << "The database is damaged:" << verdict;
            m_failure = OpenFailure::Damaged;
            Q_EMIT damaged(verdict);
            },
            Qt::QueuedConnection);
    });
    if (!m_pageCheck && !checkPages()) {
        m_open = false;
        m_handle = nullptr;
    }
}

bool Database::isReadOnly() const
{
    return m_handle && sqlite3_db_readonly(m_handle, "main") == 1;
}

bool Database::inTransaction() const
{
    return m_handle && sqlite3_get_autocommit(m_handle) == 0;
}

void Database::releaseCache()
{
    if (m_handle)
        sqlite3_db_release_memory(m_handle);
}

bool Database::setFileTriggersEnabled(bool enabled)
{
    int now = -1;
    return m_handle && sqlite3_db_config(m_handle, SQLITE_DBCONFIG_ENABLE_TRIGGER, enabled ? 1 : 0, &now) == SQLITE_OK
        && now == (enabled ? 1 : 0);
}

std::shared_ptr<SqliteStatement> Database::statement(const QString &sql)
{
    const auto cached = m_statements.constFind(sql);
    if (cached != m_statements.constEnd())
        return cached.value();
    if (!m_handle)
        return nullptr;
    auto prepared = std::make_shared<SqliteStatement>(m_handle, sql);
    if (!prepared->isValid()) {
        qCWarning(lcStore).noquote() << "Cannot prepare a statement:" << prepared->errorText();
        return nullptr;
    }
    // The texts vary only with the length of a calendar list; a cache that
    // grows past any real use starts over (statements in use stay alive).
    if (m_statements.size() >= 64)
        m_statements.clear();
    m_statements.insert(sql, prepared);
    return prepared;
}

bool Database::migrate(int upTo)
{
    QSqlQuery query(*m_db);
    // A current database is not written to at all, so that a read-only one
    // still opens.
    QSqlError error;
    const std::optional<int> stored = storedVersion(*m_db, &error);
    if (!stored) {
        qCCritical(lcStore).noquote() << "Cannot read the schema version:" << error.text();
        m_failure = failureOf(error);
        return false;
    }
    if (*stored >= upTo)
        return *stored <= latestVersion();
    if (!query.exec(
            QStringLiteral("CREATE TABLE IF NOT EXISTS schema_version (  version    INTEGER PRIMARY KEY,  name       "
                           "TEXT NOT NULL,  applied_at TEXT NOT NULL DEFAULT (datetime('now')))"))) {
        qCCritical(lcStore).noquote() << "Failed to create schema_version table:" << query.lastError().text();
        return false;
    }
    int current = 0;
    if (query.exec(QStringLiteral("SELECT MAX(version) FROM schema_version")) && query.next())
        current = query.value(0).toInt();
    query.finish();

    for (const Migration &migration : kMigrations) {
        if (migration.version <= current || migration.version > upTo)
            continue;
        const QString path = QString::fromLatin1(migration.resourcePath);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            const QString message = QStringLiteral("Cannot read migration file: %1").arg(path);
            qCCritical(lcStore).noquote() << message;
            Q_EMIT migrationError(migration.version, message);
            return false;
        }
        const QString sql = QString::fromUtf8(file.readAll());
        if (!applyMigration(migration.version, QString::fromLatin1(migration.name), sql))
            return false;
    }
    return true;
}

bool Database::applyMigration(int version, const QString &name, const QString &sql)
{
    StoreTransaction transaction(this);
    if (!transaction.isActive()) {
        const QString message = transaction.errorText();
        qCCritical(lcStore).noquote() << "Migration" << version << "failed:" << message;
        Q_EMIT migrationError(version, message);
        return false;
    }
    const QStringList statements = splitStatements(sql);
    for (const QString &statement : statements) {
        QSqlQuery query(*m_db);
        if (!runMigrationStatement(query, statement)) {
            const QString message = query.lastError().text();
            qCCritical(lcStore).noquote()
                << "Migration" << version << "failed:" << message << "\nStatement:" << statement.left(200);
            query.finish();
            transaction.discard();
            Q_EMIT migrationError(version, message);
            return false;
        }
    }
    QSqlQuery record(*m_db);
    record.prepare(QStringLiteral("INSERT INTO schema_version (version, name) VALUES (?, ?)"));
    record.addBindValue(version);
    record.addBindValue(name);
    if (!record.exec()) {
        const QString message = record.lastError().text();
        record.finish();
        transaction.discard();
        Q_EMIT migrationError(version, message);
        return false;
    }
    if (!transaction.keep()) {
        const QString message = transaction.errorText();
        qCCritical(lcStore).noquote() << "Migration" << version << "failed:" << message;
        Q_EMIT migrationError(version, message);
        return false;
    }
    qCInfo(lcStore).noquote() << "Applied migration" << version << name;
    Q_EMIT migrationApplied(version, name);
    return true;
}

QStringList Database::splitStatements(const QString &sql)
{
    QStringList statements;
    QString accumulated;
    int depth = 0;
    const QStringList lines = sql.split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1String("--")))
            continue;
        accumulated += line;
        accumulated += QLatin1Char('\n');
        const QString upper = trimmed.toUpper();
        if (upper.contains(QLatin1String("BEGIN")))
            ++depth;
        if (upper.startsWith(QLatin1String("END")) && depth >= 1)
            --depth;
        if (depth != 0 || !trimmed.endsWith(QLatin1Char(';')))
            continue;
        appendStatement(statements, accumulated);
        accumulated.clear();
    }
    appendStatement(statements, accumulated);
    return statements;
}

QString Database::fileName() const
{
    return m_db->databaseName();
}

QSqlDatabase &Database::database()
{
    return *m_db;
}

int Database::latestVersion()
{
    return std::end(kMigrations)[-1].version;
}
