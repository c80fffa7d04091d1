#include "database.h"
#include "eventrepository.h"
#include "storefixture.h"
#include "systemzone.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QList<int> versions(QSqlDatabase &db)
{
    QList<int> out;
    QSqlQuery query(db);
    query.exec(QStringLiteral("SELECT version FROM schema_version ORDER BY version"));
    while (query.next())
        out.append(query.value(0).toInt());
    return out;
}

// Every version with a migration from `first` on, up to the newest.
QList<int> versionsFrom(int first)
{
    QList<int> list;
    for (int v : migrationVersions()) {
        if (v >= first)
            list.append(v);
    }
    return list;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Another program with the file open: runs `statement` and holds on until
// its stdin closes.
const QString kHolder = QStringLiteral(R"(
import sqlite3, sys
c = sqlite3.connect(sys.argv[1], isolation_level=None)
c.execute(sys.argv[2])
print("held", flush=True)
sys.stdin.read()
)");

QList<int> signalVersions(const QSignalSpy &spy)
{
    QList<int> out;
    for (const QList<QVariant> &args : spy)
        out.append(args.at(0).toInt());
    return out;
}

// The tables that hold data, parents first; the change counters the
// triggers keep are left out.
const QStringList kParents{u"accounts"_s, u"calendars"_s, u"events"_s, u"reminders"_s};
QStringList userTables(QSqlDatabase &db)
{
    QStringList tables = kParents;
    QSqlQuery q(db);
    q.exec(u"SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' AND name NOT IN "
           "('schema_version', 'events_version', 'events_changes') ORDER BY name"_s);
    while (q.next()) {
        if (!kParents.contains(q.value(0).toString()))
            tables << q.value(0).toString();
    }
    return tables;
}

// Inserts one row into `table` with a value in every column: its id is the
// table's name, and so is each reference to a parent ("calendar_id" is
// "calendars"). The values by column; empty when the insert fails.
QVariantMap seedRow(QSqlDatabase &db, const QString &table)
{
    QVariantMap row;
    QSqlQuery info(db);
    info.exec(u"PRAGMA table_info(%1)"_s.arg(table));
    while (info.next()) {
        const QString column = info.value(1).toString();
        const QString parent = column.chopped(qMin(column.size(), 3)) + u's';
        if (column == u"id"_s)
            row.insert(column, table);
        else if (column.endsWith(u"_id"_s) && kParents.contains(parent))
            row.insert(column, parent);
        else if (column == u"is_all_day"_s)
            row.insert(column, 0); // an all-day row's times are rewritten as its dates
        else if (info.value(2).toString().toUpper().contains(u"INT"_s))
            row.insert(column, 1);
        else
            row.insert(column, column == u"due_date"_s ? u"2024-03-01T17:00:00Z"_s : table + u'.' + column);
    }
    QSqlQuery insert(db);
    const QStringList marks(row.size(), u"?"_s);
    insert.prepare(u"INSERT INTO %1 (%2) VALUES (%3)"_s.arg(table, row.keys().join(u", "_s), marks.join(u", "_s)));
    for (const QVariant &value : std::as_const(row))
        insert.addBindValue(value);
    return insert.exec() ? row : QVariantMap();
}

// Calendar 'c' of account 'a', for the rows a test puts in an older file.
bool addCalendar(QSqlQuery &q)
{
    return q.exec(u"INSERT INTO accounts (id, name, type) VALUES ('a', 'A', 'caldav')"_s)
        && q.exec(u"INSERT INTO calendars (id, account_id, url, name) VALUES ('c', 'a', 'u', 'C')"_s);
}

} // namespace

class TestDatabase : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        // Connections are opened and removed over and over in one process;
        // Qt warns when one is removed while still in use.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("connection|QSqlDatabase")));
    }

    // --- Opening and migrating ---

    void freshDirectoryGetsAMigratedWalDatabase()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("calendar.db"));
        Database database;
        QSignalSpy applied(&database, &Database::migrationApplied);
        QVERIFY(database.open(path));
        QVERIFY(database.migrate());

        QCOMPARE(signalVersions(applied), versionsFrom(1));
        QCOMPARE(applied.at(0).at(1).toString(), QStringLiteral("initial"));
        QCOMPARE(applied.last().at(1).toString(), QStringLiteral("all_day_rows_as_dates"));
        QCOMPARE(versions(database.database()), versionsFrom(1));
        QCOMPARE(Database::latestVersion(), 21);

        QSqlQuery query(database.database());
        QVERIFY(query.exec(QStringLiteral("PRAGMA foreign_keys")) && query.next());
        QCOMPARE(query.value(0).toInt(), 1);
        QVERIFY(query.exec(QStringLiteral("PRAGMA journal_mode")) && query.next());
        QCOMPARE(query.value(0).toString(), QStringLiteral("wal"));

        // applied_at is SQLite's UTC text; read as UTC it is within a minute of now.
        QVERIFY(query.exec(QStringLiteral("SELECT applied_at FROM schema_version WHERE version = 8")) && query.next());
        const QDateTime appliedAt = TimeUtil::fromStorage(query.value(0).toString());
        QVERIFY(qAbs(appliedAt.secsTo(QDateTime::currentDateTimeUtc())) < 60);
    }

    void walModeIsStoredInTheFile()
    {
        StoreFixture store;
        QCOMPARE(store.cli(QStringLiteral("PRAGMA journal_mode")), QStringLiteral("wal"));
        QCOMPARE(store.cli(QStringLiteral("SELECT group_concat(name, ',') FROM schema_version")),
                 QStringLiteral("initial,event_sync,tasks_sync,accounts_sort_order,"
                                "provider_event_idx,events_uid_unique,tasks_dateonly_repeat,"
                                "events_range_idx,events_long_with_start,events_version,"
                                "timed_values_as_instants,reminder_occurrence_acks,sync_item_problems,events_dated_idx,"
                                "caldav_resource_bases,events_change_log,reminders_due_idx,events_view_idx,"
                                "events_series_idx,allday_override_dates,all_day_rows_as_dates"));
    }

    void olderDatabaseMigratesForward()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("calendar.db"));
        createAtVersion(path, 3);
        {
            Database old;
            QVERIFY(old.open(path));
            QSqlQuery query(old.database());
            QVERIFY(query.exec(QStringLiteral("INSERT INTO accounts (id, name, type) VALUES ('a', 'Old', 'caldav')")));
        }

        Database database;
        QSignalSpy applied(&database, &Database::migrationApplied);
        QVERIFY(database.open(path));
        QVERIFY(database.migrate());
        QCOMPARE(signalVersions(applied), versionsFrom(4));
        QCOMPARE(versions(database.database()), versionsFrom(1));
        QSqlQuery query(database.database());
        QVERIFY(query.exec(QStringLiteral("SELECT name, sort_order FROM accounts")) && query.next());
        QCOMPARE(query.value(0).toString(), QStringLiteral("Old"));
        QCOMPARE(query.value(1).toInt(), 0);
    }

    void currentDatabaseRunsNothing()
    {
        StoreFixture store;
        store.open();
        Database &database = *store.db();
        QSignalSpy applied(&database, &Database::migrationApplied);
        QSignalSpy failed(&database, &Database::migrationError);
        QVERIFY(database.migrate());
        QCOMPARE(applied.count(), 0);
        QCOMPARE(failed.count(), 0);
    }

    void failingMigrationKeepsThePreviousVersion()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("calendar.db"));
        createAtVersion(path, 5);
        {
            // Two rows with one key, the later one with an attendee: migration
            // 6 must delete that attendee, and a trigger refuses.
            Database old;
            QVERIFY(old.open(path));
            QSqlQuery q(old.database());
            QVERIFY(addCalendar(q));
            QVERIFY(q.exec(QStringLiteral(
                "INSERT INTO events (id, calendar_id, uid, title, start_time, raw_icalendar, created) VALUES "
                "('e1', 'c', 'dup', 'First', '2024-01-01T10:00:00Z', 'x', '2024-01-01 00:00:00'), "
                "('e2', 'c', 'dup', 'Second', '2024-01-01T10:00:00Z', 'x', '2024-01-02 00:00:00')")));
            QVERIFY(q.exec(
                QStringLiteral("INSERT INTO attendees (id, event_id, email) VALUES ('at', 'e2', 'x@example.org')")));
            QVERIFY(q.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE DELETE ON attendees BEGIN "
                                          "SELECT RAISE(ABORT, 'injected failure'); END")));
        }
        {
            Database database;
            QSignalSpy applied(&database, &Database::migrationApplied);
            QSignalSpy failed(&database, &Database::migrationError);
            QVERIFY(database.open(path));
            QTest::ignoreMessage(QtCriticalMsg,
                                 QRegularExpression(QStringLiteral(
                                     "^Migration 6 failed: injected failure.*\nStatement: DELETE FROM attendees")));
            QVERIFY(!database.migrate());
            QCOMPARE(signalVersions(applied), QList<int>());
            QCOMPARE(signalVersions(failed), QList<int>{6});
            QVERIFY(failed.at(0).at(1).toString().contains(QLatin1String("injected failure")));
            QCOMPARE(versions(database.database()), (QList<int>{1, 2, 3, 4, 5}));
        }
        QProcess cli;
        cli.start(QStringLiteral("sqlite3"),
                  {path,
                   QStringLiteral("SELECT count(*) FROM events; SELECT count(*) FROM "
                                  "sqlite_master WHERE name = 'idx_events_uid_unique'; "
                                  "DROP TRIGGER refuse;")});
        QVERIFY(cli.waitForFinished(10000));
        QCOMPARE(QString::fromUtf8(cli.readAllStandardOutput()).trimmed(), QStringLiteral("2\n0"));

        // The next start tries migration 6 again and gets through.
        Database database;
        QSignalSpy applied(&database, &Database::migrationApplied);
        QVERIFY(database.open(path));
        QVERIFY(database.migrate());
        QCOMPARE(signalVersions(applied), versionsFrom(6));
        QSqlQuery q(database.database());
        QVERIFY(q.exec(QStringLiteral("SELECT group_concat(id) FROM events")) && q.next());
        QCOMPARE(q.value(0).toString(), QStringLiteral("e1"));
    }

    // Migration 006 on duplicates left by older releases.
    void duplicateEventsKeepTheFirstCreated_data()
    {
        QTest::addColumn<QStringList>("rows"); // "id|created"
        QTest::addColumn<QString>("survivor");
        QTest::newRow("earliest created wins")
            << QStringList{QStringLiteral("b|2024-01-02 00:00:00"), QStringLiteral("c|2024-01-01 00:00:00"),
                           QStringLiteral("a|2024-01-03 00:00:00")}
            << QStringLiteral("c");
        QTest::newRow("equal created: smallest id wins")
            << QStringList{QStringLiteral("b|2024-01-01 00:00:00"), QStringLiteral("a|2024-01-01 00:00:00"),
                           QStringLiteral("c|2024-01-01 00:00:00")}
            << QStringLiteral("a");
        // "id|created|deleted": a tombstone created first gives way to the live row.
        QTest::newRow("live row before an earlier tombstone")
            << QStringList{u"a|2024-01-01 00:00:00|deleted"_s, u"b|2024-01-03 00:00:00"_s,
                           u"c|2024-01-02 00:00:00|deleted"_s}
            << u"b"_s;
        QTest::newRow("only tombstones: earliest created wins")
            << QStringList{u"a|2024-01-02 00:00:00|deleted"_s, u"b|2024-01-01 00:00:00|deleted"_s} << u"b"_s;
    }
    void duplicateEventsKeepTheFirstCreated()
    {
        QFETCH(QStringList, rows);
        QFETCH(QString, survivor);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("calendar.db"));
        createAtVersion(path, 5);
        {
            Database old;
            QVERIFY(old.open(path));
            QSqlQuery q(old.database());
            QVERIFY(addCalendar(q));
            for (const QString &row : rows) {
                const QStringList parts = row.split(QLatin1Char('|'));
                QVERIFY(
                    q.exec(QStringLiteral(
                               "INSERT INTO events (id, calendar_id, uid, title, start_time, raw_icalendar, created, "
                               "deleted_at) VALUES ('%1', 'c', 'dup', 't', '2024-01-01T10:00:00Z', 'x', '%2', %3)")
                               .arg(parts[0], parts[1], parts.size() > 2 ? u"'2024-01-04T00:00:00Z'"_s : u"NULL"_s)));
                QVERIFY(q.exec(QStringLiteral("INSERT INTO attendees (id, event_id, email) VALUES ('at-%1', '%1', 'x')")
                                   .arg(parts[0])));
                QVERIFY(q.exec(
                    QStringLiteral("INSERT INTO reminders (id, event_id, minutes_before) VALUES ('r-%1', '%1', 5)")
                        .arg(parts[0])));
                QVERIFY(
                    q.exec(QStringLiteral("INSERT INTO attachments (id, event_id, filename) VALUES ('f-%1', '%1', 'f')")
                               .arg(parts[0])));
            }
            // Another key in the same calendar is left alone.
            QVERIFY(q.exec(QStringLiteral("INSERT INTO events (id, calendar_id, uid, title, start_time, "
                                          "raw_icalendar) VALUES ('z', 'c', 'other', 't', '2024-01-01', 'x')")));
        }
        Database database;
        QVERIFY(database.open(path));
        QVERIFY(database.migrate());
        auto ids = [&database](const char *sql) {
            QSqlQuery q(database.database());
            q.exec(QLatin1String(sql));
            QStringList out;
            while (q.next())
                out.append(q.value(0).toString());
            return out;
        };
        QCOMPARE(ids("SELECT id FROM events ORDER BY id"), (QStringList{survivor, QStringLiteral("z")}));
        QCOMPARE(ids("SELECT event_id FROM attendees"), QStringList{survivor});
        QCOMPARE(ids("SELECT event_id FROM reminders"), QStringList{survivor});
        QCOMPARE(ids("SELECT event_id FROM attachments"), QStringList{survivor});
    }

    // Overrides of all-day series keep their occurrence in the date form.
    void allDayOverrideKeysBecomeDates_data()
    {
        QTest::addColumn<bool>("allDaySeries");
        QTest::addColumn<QString>("key"); // as stored before
        QTest::addColumn<QString>("migrated");
        QTest::newRow("all-day: 00:00 UTC becomes the date") << true << u"20250609T000000Z"_s << u"20250609"_s;
        QTest::newRow("all-day: a date stays") << true << u"20250609"_s << u"20250609"_s;
        QTest::newRow("all-day: another time stays") << true << u"20250608T220000Z"_s << u"20250608T220000Z"_s;
        QTest::newRow("timed: midnight UTC stays") << false << u"20250609T000000Z"_s << u"20250609T000000Z"_s;
    }
    void allDayOverrideKeysBecomeDates()
    {
        QFETCH(bool, allDaySeries);
        QFETCH(QString, key);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("calendar.db"));
        createAtVersion(path, 19);
        {
            Database old;
            QVERIFY(old.open(path));
            QSqlQuery q(old.database());
            QVERIFY(addCalendar(q));
            QVERIFY(q.prepare(u"INSERT INTO events (id, calendar_id, uid, title, start_time, is_all_day, "
                              "recurrence_rule, recurrence_id, master_event_uid, raw_icalendar) VALUES "
                              "('s', 'c', 's', 't', '2025-06-02T00:00:00Z', ?, 'FREQ=DAILY', NULL, NULL, 'x'), "
                              "('o', 'c', 's', 't', '2025-06-09T00:00:00Z', ?, NULL, ?, 's', 'x')"_s));
            q.addBindValue(allDaySeries ? 1 : 0);
            q.addBindValue(allDaySeries ? 1 : 0);
            q.addBindValue(key);
            QVERIFY(q.exec());
        }
        Database database;
        QVERIFY(database.open(path));
        QVERIFY(database.migrate());
        QSqlQuery q(database.database());
        QVERIFY(q.exec(u"SELECT recurrence_id FROM events WHERE id = 'o'"_s) && q.next());
        QTEST(q.value(0).toString(), "migrated");
    }

    // Migrations 011 and 021 on rows as the writers before them stored
    // them: a timed value as a bare local wall clock becomes the instant it
    // meant in the system zone (Berlin here), named in the row when the row
    // named none; read under another system zone it is that instant. An
    // all-day value becomes 00:00 UTC of the date it was written with, in no
    // zone.
    void localWallClocksBecomeInstants_data()
    {
        QTest::addColumn<QString>("start"); // as stored before
        QTest::addColumn<QString>("timezone");
        QTest::addColumn<bool>("allDay");
        QTest::addColumn<QString>("migratedStart");
        QTest::addColumn<QString>("migratedZone");
        QTest::addColumn<QString>("raw");
        QTest::addColumn<bool>("relisted"); // the calendar's provider cursor cleared
        QTest::newRow("form in the system zone, winter")
            << u"2026-03-02T10:00:00"_s << u"Europe/Berlin"_s << false << u"2026-03-02T09:00:00Z"_s
            << u"Europe/Berlin"_s << u"x"_s << false;
        QTest::newRow("quick add, summer: names the system zone")
            << u"2026-07-06T10:00:00"_s << u"UTC"_s << false << u"2026-07-06T08:00:00Z"_s << u"Europe/Berlin"_s
            << u"x"_s << false;
        QTest::newRow("another zone's offset stays")
            << u"2026-03-02T10:00:00-05:00"_s << u"America/New_York"_s << false << u"2026-03-02T10:00:00-05:00"_s
            << u"America/New_York"_s << u"x"_s << false;
        QTest::newRow("UTC from a server stays") << u"2026-03-02T09:00:00Z"_s << u"UTC"_s << false
                                                 << u"2026-03-02T09:00:00Z"_s << u"UTC"_s << u"x"_s << false;
        QTest::newRow("all-day local midnight, as Google rows were")
            << u"2026-03-02T00:00:00"_s << u"UTC"_s << true << u"2026-03-02T00:00:00Z"_s << u"UTC"_s << u"x"_s << false;
        QTest::newRow("all-day midnight in Tokyo named Pacific, as Microsoft rows were")
            << u"2026-03-02T00:00:00+09:00"_s << u"America/Los_Angeles"_s << true << u"2026-03-02T00:00:00Z"_s
            << u"UTC"_s << uR"({"id":"AAMk","@instances":{"AAMk_1":"20260301"}})"_s << true;
        QTest::newRow("all-day at 00:00 UTC stays") << u"2026-03-02T00:00:00Z"_s << u"UTC"_s << true
                                                    << u"2026-03-02T00:00:00Z"_s << u"UTC"_s << u"x"_s << false;
    }
    void localWallClocksBecomeInstants()
    {
        QFETCH(QString, start);
        QFETCH(QString, timezone);
        QFETCH(bool, allDay);
        QFETCH(QString, migratedStart);
        QFETCH(QString, migratedZone);
        QFETCH(QString, raw);
        QFETCH(bool, relisted);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("calendar.db"));
        createAtVersion(path, 10);
        const SystemZone berlin("Europe/Berlin");
        {
            Database old;
            QVERIFY(old.open(path));
            QSqlQuery q(old.database());
            QVERIFY(q.exec(u"INSERT INTO accounts (id, name, type) VALUES ('a', 'A', 'local')"_s));
            QVERIFY(q.exec(u"INSERT INTO calendars (id, account_id, url, name, delta_sync_token) "
                           "VALUES ('c', 'a', 'u', 'C', 'd1')"_s));
            QVERIFY(q.prepare(u"INSERT INTO events (id, calendar_id, uid, title, start_time, end_time, "
                              "is_all_day, timezone, recurrence_rule, raw_icalendar) "
                              "VALUES ('e', 'c', 'e', 't', ?, ?, ?, ?, 'FREQ=WEEKLY', ?)"_s));
            q.addBindValue(start);
            q.addBindValue(start);
            q.addBindValue(allDay ? 1 : 0);
            q.addBindValue(timezone);
            q.addBindValue(raw);
            QVERIFY(q.exec());
            QVERIFY(q.exec(u"INSERT INTO tasks (id, calendar_id, uid, title, due_date, due_is_date_only, "
                           "start_date, start_is_date_only, raw_icalendar) VALUES ('t', 'c', 't', 't', "
                           "'2026-03-02T10:00:00', 0, '2026-03-02T00:00:00', 1, 'x')"_s));
        }
        Database database;
        QVERIFY(database.open(path));
        QVERIFY(database.migrate());
        QSqlQuery q(database.database());
        QVERIFY(q.exec(u"SELECT start_time, end_time, timezone FROM events"_s) && q.next());
        QCOMPARE(q.value(0).toString(), migratedStart);
        QCOMPARE(q.value(1).toString(), migratedStart);
        QCOMPARE(q.value(2).toString(), migratedZone);
        QVERIFY(q.exec(u"SELECT delta_sync_token IS NULL FROM calendars"_s) && q.next());
        QCOMPARE(q.value(0).toBool(), relisted);
        QVERIFY(q.exec(u"SELECT due_date, start_date FROM tasks"_s) && q.next());
        QCOMPARE(q.value(0).toString(), u"2026-03-02T09:00:00Z"_s);
        QCOMPARE(q.value(1).toString(), u"2026-03-02T00:00:00"_s);

        const QDateTime meant = TimeUtil::fromStorage(migratedStart);
        const SystemZone elsewhere("Asia/Tokyo");
        EventRepository events(&database);
        const Event row = *events.getById(u"e"_s);
        QCOMPARE(row.start_time, meant);
        if (allDay)
            QCOMPARE(row.start_time.date(), QDate(2026, 3, 2));
    }

    // Migration 007 on tasks from before the date-only flags: a due or start
    // with a time of day, in the row or in the task's own text, keeps it.
    void tasksKeepTheirTimeOfDay_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("line"); // of the VTODO
        QTest::addColumn<bool>("dateOnly");
        QTest::newRow("due at 17:00 in the row") << u"due"_s << u"2024-03-01T17:00:00"_s << u"X-A:1"_s << false;
        QTest::newRow("due at midnight, DUE in a zone")
            << u"due"_s << u"2024-03-01T00:00:00Z"_s << u"DUE;TZID=Europe/Berlin:20240301T010000"_s << false;
        QTest::newRow("due as a date") << u"due"_s << u"2024-03-01T00:00:00Z"_s << u"DUE;VALUE=DATE:20240301"_s << true;
        QTest::newRow("start at midnight UTC")
            << u"start"_s << u"2024-03-01T00:00:00Z"_s << u"DTSTART:20240301T000000Z"_s << false;
        QTest::newRow("start as a date, after a zone's DTSTART")
            << u"start"_s << u"2024-03-01T00:00:00"_s << u"DTSTART;VALUE=DATE:20240301"_s << true;
    }
    void tasksKeepTheirTimeOfDay()
    {
        QFETCH(QString, column);
        QFETCH(QString, stored);
        QFETCH(QString, line);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"calendar.db"_s);
        createAtVersion(path, 6);
        {
            Database old;
            QVERIFY(old.open(path));
            QSqlQuery q(old.database());
            QVERIFY(addCalendar(q));
            QVERIFY(q.prepare(u"INSERT INTO tasks (id, calendar_id, uid, title, %1_date, raw_icalendar) "
                              "VALUES ('t', 'c', 't', 'T', ?, ?)"_s.arg(column)));
            q.addBindValue(stored);
            q.addBindValue(u"BEGIN:VCALENDAR\r\nBEGIN:VTIMEZONE\r\nBEGIN:STANDARD\r\nDTSTART:19701025T030000\r\n"
                           "END:STANDARD\r\nEND:VTIMEZONE\r\nBEGIN:VTODO\r\nUID:t\r\n%1\r\nEND:VTODO\r\n"
                           "END:VCALENDAR\r\n"_s.arg(line));
            QVERIFY(q.exec());
        }
        Database database;
        QVERIFY(database.open(path));
        QVERIFY(database.migrate());
        QSqlQuery q(database.database());
        QVERIFY(q.exec(u"SELECT %1_is_date_only FROM tasks"_s.arg(column)) && q.next());
        QTEST(q.value(0).toBool(), "dateOnly");
    }

    // An upgrade from any older release keeps every row of every table with
    // every value it had; what the migrations add comes on top.
    void upgradeLosesNothing_data()
    {
        QTest::addColumn<int>("version");
        for (int v : migrationVersions()) {
            if (v < Database::latestVersion())
                QTest::addRow("from version %d", v) << v;
        }
    }
    void upgradeLosesNothing()
    {
        QFETCH(int, version);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"calendar.db"_s);
        createAtVersion(path, version);
        // Table -> the values of the row seeded into it, by column.
        QMap<QString, QVariantMap> seeded;
        {
            Database old;
            QVERIFY(old.open(path));
            for (const QString &table : userTables(old.database())) {
                seeded.insert(table, seedRow(old.database(), table));
                QVERIFY2(!seeded.value(table).isEmpty(), qPrintable(table));
            }
        }
        {
            Database database;
            QVERIFY(database.open(path));
            QVERIFY(database.migrate());
            QSqlDatabase &db = database.database();
            for (auto it = seeded.cbegin(); it != seeded.cend(); ++it) {
                QStringList where;
                for (const QString &column : it.value().keys())
                    where << column + u" = ?"_s;
                QSqlQuery q(db);
                QVERIFY(q.prepare(u"SELECT count(*) FROM %1 WHERE %2"_s.arg(it.key(), where.join(u" AND "_s))));
                for (const QVariant &value : it.value())
                    q.addBindValue(value);
                QVERIFY(q.exec() && q.next());
                QVERIFY2(q.value(0).toInt() == 1, qPrintable(it.key()));
            }
            QSqlQuery q(db);
            // The seeded task is due at 17:00: it stays timed.
            QVERIFY(q.exec(u"SELECT due_is_date_only FROM tasks WHERE id = 'tasks'"_s) && q.next());
            QCOMPARE(q.value(0).toInt(), version < 7 ? 0 : 1);
        }
        // And the schema is that of a new database.
        StoreFixture fresh;
        const QString schema = u"SELECT type || ' ' || name || ' ' || ifnull(sql, '') FROM sqlite_master "
                               "WHERE name NOT LIKE 'sqlite_%' ORDER BY name"_s;
        QCOMPARE(fresh.cli(schema), StoreFixture::cliOn(path, schema));
    }

    void unopenableFileFails()
    {
        QTemporaryDir dir;
        Database database;
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(QStringLiteral("^Failed to open database:")));
        QVERIFY(!database.open(dir.filePath(QStringLiteral("missing/dir/calendar.db"))));
    }

    void manyDatabasesOneAfterAnother()
    {
        for (int i = 0; i < 3; ++i) {
            StoreFixture store;
            QCOMPARE(versions(store.sql()), versionsFrom(1));
        }
    }

    // The event reads keep statements prepared on the connection; SQLite
    // refuses to close a connection that still has some, and then keeps the
    // file and its write-ahead log open.
    void closingAfterReadsReleasesTheFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("calendar.db"));
        {
            Database database;
            QVERIFY(database.open(path));
            QVERIFY(database.migrate());
            EventRepository events(&database);
            QSqlQuery(database.database())
                .exec(QStringLiteral("INSERT INTO accounts (id, name, type) VALUES ('acc', 'Account', 'caldav')"));
            QSqlQuery(database.database())
                .exec(QStringLiteral(
                    "INSERT INTO calendars (id, account_id, url, name) VALUES ('cal', 'acc', 'u', 'n')"));
            Event e = makeEvent(QStringLiteral("e1"), QStringLiteral("cal"), localTime(2024, 5, 1, 9),
                                localTime(2024, 5, 1, 10));
            Reminder r;
            r.minutes_before = 10;
            e.reminders = {r};
            QVERIFY(events.insert(e));
            QCOMPARE(events.getInRange(localTime(2024, 5, 1), localTime(2024, 5, 2)).size(), 1);
            QCOMPARE(events.getByCalendar(QStringLiteral("cal")).size(), 1);
            QVERIFY(events.getById(e.id));
            QVERIFY(QFile::exists(path + QStringLiteral("-wal")));
        }
        // The last connection to close checkpoints the log and removes it.
        QVERIFY(!QFile::exists(path + QStringLiteral("-wal")));
        Database again;
        QVERIFY(again.open(path));
        QCOMPARE(EventRepository(&again).getById(QStringLiteral("e1"))->reminders.size(), 1);
    }

    // --- Splitting migration texts ---

    void splitStatements_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QStringList>("statements");
        QTest::newRow("comment, statements, blank line, lone ';', last without ';'")
            << QStringLiteral("-- a comment\nCREATE TABLE a (x);\n\n;\nCREATE TABLE b (y)")
            << QStringList{QStringLiteral("CREATE TABLE a (x)"), QStringLiteral("CREATE TABLE b (y)")};
        QTest::newRow("trigger body keeps its inner semicolons")
            << QStringLiteral("CREATE TRIGGER t AFTER INSERT ON a\nBEGIN\n  UPDATE b SET y = 1;\n  "
                              "DELETE FROM c;\nEND;\nSELECT 1;")
            << QStringList{QStringLiteral("CREATE TRIGGER t AFTER INSERT ON a\nBEGIN\n  UPDATE b SET y = 1;\n  "
                                          "DELETE FROM c;\nEND"),
                           QStringLiteral("SELECT 1")};
        QTest::newRow("only comments and blank lines") << QStringLiteral("-- one\n\n   -- two\n") << QStringList();
        QTest::newRow("statement over several lines")
            << QStringLiteral("CREATE TABLE a (\n    x TEXT,\n    y TEXT\n);")
            << QStringList{QStringLiteral("CREATE TABLE a (\n    x TEXT,\n    y TEXT\n)")};
        QTest::newRow("a trailing comment stays with its line")
            << QStringLiteral("SELECT 1; -- note\nSELECT 2;")
            << QStringList{QStringLiteral("SELECT 1; -- note\nSELECT 2")};
    }
    void splitStatements()
    {
        QFETCH(QString, sql);
        QFETCH(QStringList, statements);
        QCOMPARE(Database::splitStatements(sql), statements);
    }

    // --- Files this build must not touch or expose ---

    void newerSchemaIsRefusedUntouched()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("calendar.db"));
        {
            Database newer;
            QVERIFY(newer.open(path));
            QVERIFY(newer.migrate());
            QVERIFY(newer.applyMigration(Database::latestVersion() + 1, QStringLiteral("from the future"),
                                         QStringLiteral("CREATE TABLE future_things (id TEXT)")));
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();

        Database database;
        QSignalSpy applied(&database, &Database::migrationApplied);
        QVERIFY(!database.open(path));
        QVERIFY(database.isNewerSchema());
        QCOMPARE(database.newerVersion(), Database::latestVersion() + 1);
        QCOMPARE(applied.size(), 0);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), before);
        QVERIFY(!QFile::exists(path + QStringLiteral("-wal")));
    }

    void refusedFileStaysUntouched_data()
    {
        QTest::addColumn<bool>("newer");
        QTest::addColumn<QString>("journal"); // the file's journal mode
        QTest::addColumn<QString>("held"); // what another program holds, if any
        QTest::addColumn<QString>("damage"); // "garbage" file, a "page" overwritten, "cut" in half
        QTest::addColumn<Database::OpenFailure>("failure");
        using F = Database::OpenFailure;
        QTest::newRow("held exclusively by another program")
            << false << u"DELETE"_s << u"BEGIN EXCLUSIVE"_s << QString() << F::Locked;
        QTest::newRow("write lock held by another program")
            << false << u"WAL"_s << u"BEGIN IMMEDIATE"_s << QString() << F::Locked;
        QTest::newRow("newer schema locked at the first look")
            << true << u"DELETE"_s << u"BEGIN EXCLUSIVE"_s << QString() << F::Locked;
        QTest::newRow("not a database") << false << u"DELETE"_s << QString() << u"garbage"_s << F::Damaged;
        QTest::newRow("a damaged page") << false << u"DELETE"_s << QString() << u"page"_s << F::Damaged;
        QTest::newRow("cut short") << false << u"DELETE"_s << QString() << u"cut"_s << F::Damaged;
        // A page is told after it opens: the pages are checked while the start goes on.
        QTest::newRow("a damaged page, left in WAL mode") << false << u"WAL"_s << QString() << u"page"_s << F::Damaged;
        QTest::newRow("cut short, left in WAL mode") << false << u"WAL"_s << QString() << u"cut"_s << F::Damaged;
    }
    // A file this program cannot use as it stands is refused with the
    // reason and left exactly as it was.
    void refusedFileStaysUntouched()
    {
        QFETCH(bool, newer);
        QFETCH(QString, journal);
        QFETCH(QString, held);
        QFETCH(QString, damage);
        QFETCH(Database::OpenFailure, failure);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"calendar.db"_s);
        {
            Database written;
            QVERIFY(written.open(path));
            QVERIFY(written.migrate());
            // Rows over many pages, so that damage lands in a table.
            QVERIFY(QSqlQuery(written.database())
                        .exec(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                              "INSERT INTO settings (key, value) SELECT 'k' || i, printf('%.200c', 'v') FROM n"_s));
            if (newer)
                QVERIFY(written.applyMigration(Database::latestVersion() + 1, u"future"_s, u"CREATE TABLE f (x)"_s));
            QSqlQuery(written.database()).exec(u"PRAGMA journal_mode="_s + journal);
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        constexpr qint64 kPage = 4096;
        if (damage == u"garbage"_s)
            QVERIFY(file.resize(0) && file.write(QByteArray(300, 'x')) == 300);
        else if (damage == u"page"_s)
            QVERIFY(file.seek(file.size() * 3 / 4 / kPage * kPage) && file.write(QByteArray(kPage, '\xa5')) == kPage);
        else if (damage == u"cut"_s)
            QVERIFY(file.resize(file.size() / 2));
        // Damage comes later than the clean close that stamped the file,
        // not within the file system's clock tick.
        QVERIFY(damage.isEmpty() || file.flush());
        QVERIFY(damage.isEmpty()
                || file.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
        file.close();
        const QByteArray before = contents(path);
        QProcess holder;
        if (!held.isEmpty()) {
            holder.start(u"/usr/bin/python3"_s, {u"-c"_s, kHolder, path, held});
            QTRY_VERIFY_WITH_TIMEOUT(holder.canReadLine(), 10000);
            QCOMPARE(holder.readLine(), QByteArray("held\n"));
        }
        QTest::ignoreMessage(QtCriticalMsg,
                             QRegularExpression(u"^(Not opening the database|The database is damaged)"_s));
        Database database;
        QSignalSpy damaged(&database, &Database::damaged);
        const bool later = journal == u"WAL"_s && damage == u"page"_s;
        QCOMPARE(database.open(path), later);
        QVERIFY(!later || damaged.wait(10000));
        QCOMPARE(database.openFailure(), failure);
        // Nothing is written to it after the damage was told, on any connection.
        Database worker;
        const QString write = u"INSERT INTO settings (key, value) VALUES ('a', 'b')"_s;
        QVERIFY(!later || !QSqlQuery(database.database()).exec(write));
        QVERIFY(!later || (worker.open(path, u"worker"_s) && !QSqlQuery(worker.database()).exec(write)));
        holder.closeWriteChannel();
        QVERIFY(held.isEmpty() || holder.waitForFinished(10000));
        QCOMPARE(contents(path), before);
    }

    void filesAreTheOwnersOnly()
    {
        StoreFixture store;
        store.exec(QStringLiteral("INSERT INTO settings (key, value) VALUES ('k', 'v')"));
        for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")}) {
            const QString file = store.path() + suffix;
            QVERIFY2(QFile::exists(file), qPrintable(file));
            const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
                | QFile::WriteOther | QFile::ExeOther;
            QCOMPARE(QFile::permissions(file) & others, QFile::Permissions());
        }
    }

    void commentOnlyMigrationRecordsItsVersion()
    {
        StoreFixture store;
        const int next = Database::latestVersion() + 1;
        QVERIFY(store.db()->applyMigration(next, QStringLiteral("empty"), QStringLiteral("-- nothing\n")));
        QCOMPARE(versions(store.sql()).last(), next);
    }

    void everyMigrationTextSplitsIntoStatements()
    {
        for (int v : migrationVersions())
            QVERIFY2(!Database::splitStatements(migrationText(v)).isEmpty(), qPrintable(QString::number(v)));
    }
};

QTEST_GUILESS_MAIN(TestDatabase)
#include "tst_database.moc"
