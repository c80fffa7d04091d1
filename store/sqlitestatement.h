#pragma once

#include <QByteArray>
#include <QString>
#include <QUtf8StringView>
#include <QVariantList>

#include <string>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// A statement prepared through SQLite's own interface on the handle of the
// Qt connection, for the reads that return many rows. QSqlQuery turns every
// column of every row into a UTF-16 QVariant (through SQLite's slow UTF-16
// conversion) before the caller looks at it; here a column is read from
// SQLite's UTF-8 only when asked for, and times are parsed from those bytes
// without building a string. Internal to the store library; Database keeps
// them, prepared once, and finalizes them before the connection closes.
//
// One run at a time: start() binds the values, next() steps, and the run
// ends with reset() (a Run does it on leaving its scope), which lets go of
// the statement's read snapshot.
class SqliteStatement
{
public:
    SqliteStatement(sqlite3 *db, const QString &sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;

    bool isValid() const { return m_statement != nullptr; }
    // SQLite's text of the last failure.
    QString errorText() const;

    // Resets the statement and binds `values` in order: a string as text (a
    // null one as NULL), an integer as an integer; parameters after them
    // are NULL.
    bool start(const QVariantList &values);
    // The text parameter `index` (from 0) of the next run; NULL for a null
    // string.
    bool bind(int index, const QString &value);
    // The same for an integer, and for text already in UTF-8 (NULL for a
    // null view), without a QVariant or a conversion on the way.
    bool bindInteger(int index, qint64 value);
    bool bindUtf8(int index, QByteArrayView value);
    // Steps to the next row: false at the end and on a failure (logged with
    // `operation`).
    bool next(const char *operation);
    // The run ended on a failure rather than after its last row.
    bool failed() const { return m_failed; }
    // A statement without rows (INSERT, UPDATE, DELETE): binds `values`,
    // steps it once and resets it. On a failure errorText() says why until
    // the next call; changes() counts the rows it wrote.
    bool execute(const QVariantList &values);
    // execute() of the values bound since start({}).
    bool execute();
    int changes() const { return m_changes; }
    void reset();

    bool isNull(int column) const;
    int integer(int column) const;
    qint64 integer64(int column) const;
    // NULL reads as a null string, '' as an empty one.
    QString text(int column) const;
    // text(), one string shared by every row that holds the same value: for
    // columns with few distinct values (calendar ids, zones, states), where
    // a string of its own would cost an allocation a row.
    QString sharedText(int column) const;
    // The column's UTF-8 bytes, valid until the next step; empty for NULL.
    QUtf8StringView utf8(int column) const;

    // Ends a run on leaving its scope.
    class Run
    {
    public:
        explicit Run(SqliteStatement &statement)
            : m_statement(statement)
        {
        }
        ~Run() { m_statement.reset(); }
        Run(const Run &) = delete;
        Run &operator=(const Run &) = delete;

    private:
        SqliteStatement &m_statement;
    };

private:
    // Keeps the text and kind of the failure just stepped into.
    void noteFailure();
    // The bytes bound to parameter `index`, kept until it is bound again;
    // null past the statement's parameters.
    std::string *parameterBytes(int index);

    sqlite3 *m_db;
    sqlite3_stmt *m_statement = nullptr;
    QString m_error;
    int m_changes = 0;
    bool m_failed = false;
    // Per column: the values handed out by sharedText, UTF-8 beside the
    // string.
    mutable std::vector<std::vector<std::pair<QByteArray, QString>>> m_shared;
    std::vector<std::string> m_parameters;
};
