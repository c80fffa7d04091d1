#pragma once

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class PageCheck;
class QSqlDatabase;
class SqliteStatement;
struct sqlite3;

// The one SQLite connection of the process, registered as Qt's default
// connection, and the runner of the numbered migrations compiled in as
// resources. Every repository builds its queries on database().
//
// Only one Database may be open on the default connection name at a time
// (another may open under a name of its own, for a worker thread);
// destroying it closes and unregisters the connection, so another one can be
// opened afterwards.
class Database : public QObject
{
    Q_OBJECT
public:
    explicit Database(QObject *parent = nullptr);
    ~Database() override;

    // Why the last open() refused the file.
    enum class OpenFailure {
        None,
        Unusable, // cannot be opened or read, for another reason
        NewerSchema, // written by a newer build (newerVersion())
        Locked, // another program holds it locked past the wait
        Damaged, // not a database, or its pages fail the check
    };

    // Opens the file (created when missing, readable by its owner only) in
    // WAL mode with foreign keys on. A file whose schema is newer than this
    // build knows, that another program holds locked, or whose pages are
    // damaged is refused before anything is written (openFailure()). The
    // pages of a file not closed cleanly are checked; for one already in WAL
    // mode at the newest schema, on a thread of their own after open()
    // returns: commits wait until they are found whole, and damage found is
    // told by damaged(), after which nothing is committed while this lives.
    bool open(const QString &path);
    // The same as another connection named `connectionName`, so that a
    // worker thread can have its own (a connection belongs to the thread
    // that opens it). Only one Database per name may be open at a time. The
    // program's own open() checked the pages and the lock; this one reads
    // only the schema version, and its caller meets a lock as it comes.
    bool open(const QString &path, const QString &connectionName);
    OpenFailure openFailure() const { return m_failure; }
    // The last open() found a schema version above latestVersion().
    bool isNewerSchema() const { return m_failure == OpenFailure::NewerSchema; }
    int newerVersion() const { return m_newerVersion; }
    // The file was opened read-only (no write permission on it or its folder).
    bool isReadOnly() const;
    // Brings the schema to the newest version (or to `upTo`, as an older
    // release left it); false on the first failure, the migrations before it
    // staying applied.
    bool migrate(int upTo = latestVersion());
    // Runs one migration text and records it, all in one transaction.
    bool applyMigration(int version, const QString &name, const QString &sql);
    // Cuts a migration text into statements: whole-line "--" comments dropped,
    // a trigger body from its BEGIN line to its END line kept whole. Quotes are
    // not understood, so migration texts avoid ";" at a line end inside strings
    // and the word BEGIN outside trigger bodies.
    static QStringList splitStatements(const QString &sql);

    // What open() was given (a file: URI for a file opened read-only), for
    // another connection to the same file.
    QString fileName() const;

    // The connection, for the repositories (and tests that look at rows
    // directly). Code above the store goes through the repositories and
    // StoreTransaction.
    QSqlDatabase &database();

    // A statement of the hot paths (range reads, event writes), prepared once
    // through SQLite's own interface on this connection and finalized before
    // it closes; null when it does not prepare (logged) or nothing is open.
    // Use it within one call and don't keep it.
    std::shared_ptr<SqliteStatement> statement(const QString &sql);

    // Numbers the connections of the process: a new one after every open().
    quint64 connectionId() const { return m_generation; }
    // A transaction (or savepoint) is open on the connection.
    bool inTransaction() const;
    // Turns the triggers of the database file off on this connection (TEMP
    // ones stay on), or back on; false when the connection cannot. Prepared
    // statements compile again at their next run.
    bool setFileTriggersEnabled(bool enabled);
    // Frees the pages the connection keeps cached (they are read again when
    // needed): after a bulk write, so that closing it later costs little.
    void releaseCache();

    // The newest schema version this build knows.
    static int latestVersion();

Q_SIGNALS:
    void damaged(const QString &verdict);
    void migrationApplied(int version, const QString &name);
    void migrationError(int version, const QString &message);

private:
    bool openConnection(const QString &path, const QString &connectionName, bool atStart);
    // Refuses the open with `failure`: logged, closed, false.
    bool refuse(OpenFailure failure, const QString &why);
    // PRAGMA quick_check on this connection; false (refused) on damage.
    bool checkPages();
    void checkPagesLater(const QString &path);

    // Behind a pointer so that QtSql stays the store's own dependency.
    std::unique_ptr<QSqlDatabase> m_db;
    bool m_open = false;
    // The file this program opens at start, stamped when it closes cleanly,
    // and when that file was made (another put in its place is not stamped).
    QString m_stampedFile;
    QDateTime m_stampedBirth;
    sqlite3 *m_handle = nullptr;
    quint64 m_generation = 0;
    int m_newerVersion = 0;
    OpenFailure m_failure = OpenFailure::None;
    QHash<QString, std::shared_ptr<SqliteStatement>> m_statements;
    std::unique_ptr<PageCheck> m_pageCheck;
    std::shared_ptr<void> m_commitGate; // the connection's, while it is open
};
