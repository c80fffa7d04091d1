#pragma once

// A migrated database in a fresh temporary directory, plus record builders
// and an independent look at the file through the sqlite3 command-line tool.

#include "account.h"
#include "calendar.h"
#include "database.h"
#include "event.h"
#include "task.h"
#include "timeutil.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class StoreFixture
{
public:
    StoreFixture()
    {
        QVERIFY(m_dir.isValid());
        open();
    }

    QString path() const { return m_dir.filePath(QStringLiteral("calendar.db")); }
    Database *db() { return m_database.get(); }
    QSqlDatabase &sql() { return m_database->database(); }

    // Closes the connection and opens the file again, migrating it.
    void open()
    {
        m_database.reset();
        m_database = std::make_unique<Database>();
        QVERIFY(m_database->open(path()));
        QVERIFY(m_database->migrate());
    }

    // Runs statements on the application's own connection.
    void exec(const QString &statement)
    {
        QSqlQuery query(sql());
        QVERIFY2(query.exec(statement), qPrintable(query.lastError().text()));
    }

    // Reads the file through the sqlite3 tool: one line per row, columns
    // separated by "|".
    QString cli(const QString &statement) const { return cliOn(path(), statement); }
    static QString cliOn(const QString &file, const QString &statement)
    {
        QProcess process;
        process.start(QStringLiteral("sqlite3"), {file, statement});
        if (!process.waitForFinished(10000) || process.exitCode() != 0)
            return QStringLiteral("<sqlite3 failed: %1>").arg(QString::fromUtf8(process.readAllStandardError()));
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }

    // A write that fails inside SQLite, as a full disk or a constraint would.
    void failWritesTo(const QString &table, const QString &operation = QStringLiteral("INSERT"))
    {
        exec(QStringLiteral("CREATE TRIGGER fail_%1_%2 BEFORE %2 ON %1 BEGIN SELECT RAISE(ABORT, "
                            "'injected failure'); END")
                 .arg(table, operation));
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Database> m_database;
};

// The versions of the migration texts, ascending; a number may be left out.
inline QList<int> migrationVersions()
{
    QList<int> versions;
    const QStringList files = QDir(QStringLiteral(":/sql/sql/migrations/")).entryList(QDir::Files, QDir::Name);
    for (const QString &name : files)
        versions.append(name.section(QLatin1Char('_'), 0, 0).toInt());
    return versions;
}

inline QString migrationText(int version)
{
    // The files are named by their version: "001_initial.sql".
    const QString folder = QStringLiteral(":/sql/sql/migrations/");
    const QStringList files = QDir(folder).entryList({QStringLiteral("%1_*.sql").arg(version, 3, 10, QLatin1Char('0'))},
                                                     QDir::Files, QDir::Name);
    if (files.size() != 1)
        return QString();
    QFile file(folder + files.first());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    return QString::fromUtf8(file.readAll());
}

// Builds a database file as an older release left it: migrations 1..version,
// run as the program runs them.
inline void createAtVersion(const QString &path, int version)
{
    Database database;
    QVERIFY(database.open(path));
    QVERIFY(database.migrate(version));
}

inline QDateTime utcTime(int y, int m, int d, int h = 0, int min = 0)
{
    return TimeUtil::utc(QDate(y, m, d), QTime(h, min));
}

inline Account makeAccount(const QString &id, const QString &name = QStringLiteral("Account"))
{
    Account a;
    a.id = id;
    a.name = name;
    a.type = QStringLiteral("caldav");
    a.created_at = a.updated_at = utcTime(2024, 1, 1);
    return a;
}

inline Calendar makeCalendar(const QString &id, const QString &accountId,
                             const QString &name = QStringLiteral("Calendar"))
{
    Calendar c;
    c.id = id;
    c.account_id = accountId;
    c.url = QStringLiteral("local://calendar/") + id;
    c.name = name;
    c.created_at = c.updated_at = utcTime(2024, 1, 1);
    return c;
}

inline Event makeEvent(const QString &id, const QString &calendarId, const QDateTime &start,
                       const std::optional<QDateTime> &end)
{
    Event e;
    e.id = id;
    e.calendar_id = calendarId;
    e.uid = id + QStringLiteral("@test");
    e.title = QStringLiteral("Event ") + id;
    e.start_time = start;
    e.end_time = end;
    e.raw_icalendar = QStringLiteral("BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n");
    e.created = e.last_modified = utcTime(2024, 1, 1);
    return e;
}

inline Task makeTask(const QString &id, const QString &calendarId)
{
    Task t;
    t.id = id;
    t.calendar_id = calendarId;
    t.uid = id + QStringLiteral("@test");
    t.title = QStringLiteral("Task ") + id;
    t.raw_icalendar = QStringLiteral("BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n");
    t.created = t.last_modified = utcTime(2024, 1, 1);
    return t;
}

// An account "acc" with one calendar per id, written straight into the tables.
inline void seedCalendars(StoreFixture &store, const QStringList &calendarIds)
{
    store.exec(QStringLiteral("INSERT INTO accounts (id, name, type) VALUES ('acc', 'Account', 'caldav')"));
    for (const QString &id : calendarIds) {
        store.exec(QStringLiteral("INSERT INTO calendars (id, account_id, url, name) VALUES ('%1', 'acc', "
                                  "'local://calendar/%1', '%1')")
                       .arg(id));
    }
}

inline QDateTime localTime(int y, int m, int d, int h = 0, int min = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min), Qt::LocalTime);
}
