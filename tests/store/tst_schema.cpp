#include "storefixture.h"

#include <QSqlQuery>
#include <QTest>

namespace {

// One line per column, as PRAGMA table_info reports it:
// "name TYPE[ NOT NULL][ DEFAULT value][ PRIMARY KEY]".
QStringList columnsOf(QSqlDatabase &db, const QString &table)
{
    QStringList out;
    QSqlQuery q(db);
    q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table));
    while (q.next()) {
        QString line = q.value(1).toString() + QLatin1Char(' ') + q.value(2).toString();
        if (q.value(3).toInt())
            line += QLatin1String(" NOT NULL");
        if (!q.value(4).isNull())
            line += QLatin1String(" DEFAULT ") + q.value(4).toString();
        if (q.value(5).toInt())
            line += QLatin1String(" PRIMARY KEY");
        out.append(line);
    }
    return out;
}

// The table's own indexes (not those SQLite makes for keys), sorted by name:
// "name(key, key)[ UNIQUE][ WHERE ...]".
QStringList indexesOf(QSqlDatabase &db, const QString &table)
{
    QStringList out;
    QSqlQuery list(db);
    list.exec(QStringLiteral("PRAGMA index_list(%1)").arg(table));
    while (list.next()) {
        if (list.value(3).toString() != QLatin1String("c"))
            continue;
        const QString name = list.value(1).toString();
        QStringList keys;
        QSqlQuery info(db);
        info.exec(QStringLiteral("PRAGMA index_xinfo(%1)").arg(name));
        while (info.next()) {
            if (info.value(5).toInt() == 0) // auxiliary column (rowid)
                continue;
            keys.append(info.value(1).toInt() == -2 ? QStringLiteral("<expr>") : info.value(2).toString());
        }
        QString line = name + QLatin1Char('(') + keys.join(QLatin1String(", ")) + QLatin1Char(')');
        if (list.value(2).toInt())
            line += QLatin1String(" UNIQUE");
        if (list.value(4).toInt()) {
            QSqlQuery sql(db);
            sql.exec(QStringLiteral("SELECT sql FROM sqlite_master WHERE name = '%1'").arg(name));
            sql.next();
            const QString text = sql.value(0).toString();
            line += QLatin1Char(' ') + text.mid(text.indexOf(QLatin1String("WHERE")));
        }
        out.append(line);
    }
    out.sort();
    return out;
}

QStringList foreignKeysOf(QSqlDatabase &db, const QString &table)
{
    QStringList out;
    QSqlQuery q(db);
    q.exec(QStringLiteral("PRAGMA foreign_key_list(%1)").arg(table));
    while (q.next()) {
        out.append(QStringLiteral("%1 -> %2(%3) on update %4 on delete %5")
                       .arg(q.value(3).toString(), q.value(2).toString(), q.value(4).toString(), q.value(5).toString(),
                            q.value(6).toString()));
    }
    return out;
}

QStringList lines(const char *text)
{
    QStringList out = QString::fromUtf8(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString &line : out)
        line = line.trimmed();
    return out;
}

int count(QSqlDatabase &db, const QString &sql)
{
    QSqlQuery q(db);
    return q.exec(sql) && q.next() ? q.value(0).toInt() : -1;
}

bool tryExec(QSqlDatabase &db, const QString &sql)
{
    QSqlQuery q(db);
    return q.exec(sql);
}

} // namespace

class TestSchema : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The tables as the migrations must leave them, column by column; a typo
    // in a migration text shows up here as a differing line.
    void tables_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QStringList>("columns");
        QTest::addColumn<QStringList>("indexes");
        QTest::addColumn<QStringList>("references");

        QTest::newRow("accounts") << QStringLiteral("accounts") << lines(R"(
            id TEXT PRIMARY KEY
            name TEXT NOT NULL
            type TEXT NOT NULL
            server_url TEXT
            username TEXT
            calendar_home_set TEXT
            principal_url TEXT
            sync_interval_minutes INTEGER NOT NULL DEFAULT 15
            last_sync_time TEXT
            last_sync_error TEXT
            enabled INTEGER NOT NULL DEFAULT 1
            color TEXT NOT NULL DEFAULT '#4285F4'
            exclude_from_sync INTEGER NOT NULL DEFAULT 0
            trusted_cert_sha256 TEXT
            pending_cert_sha256 TEXT
            created_at TEXT NOT NULL DEFAULT datetime('now')
            updated_at TEXT NOT NULL DEFAULT datetime('now')
            sort_order INTEGER NOT NULL DEFAULT 0)")
                                  << QStringList() << QStringList();

        QTest::newRow("calendars") << QStringLiteral("calendars") << lines(R"(
            id TEXT PRIMARY KEY
            account_id TEXT NOT NULL
            url TEXT NOT NULL
            name TEXT NOT NULL
            description TEXT
            color TEXT NOT NULL DEFAULT '#4285F4'
            timezone TEXT NOT NULL DEFAULT 'UTC'
            is_visible INTEGER NOT NULL DEFAULT 1
            is_read_only INTEGER NOT NULL DEFAULT 0
            is_default INTEGER NOT NULL DEFAULT 0
            ctag TEXT
            sync_token TEXT
            delta_sync_token TEXT
            supported_components TEXT NOT NULL DEFAULT '["VEVENT"]'
            sort_order INTEGER NOT NULL DEFAULT 0
            canonical_key TEXT
            sync_enabled INTEGER NOT NULL DEFAULT 0
            is_shared INTEGER NOT NULL DEFAULT 0
            shared_with_me INTEGER NOT NULL DEFAULT 0
            last_sync_error TEXT
            created_at TEXT NOT NULL DEFAULT datetime('now')
            updated_at TEXT NOT NULL DEFAULT datetime('now'))")
                                   << lines("idx_calendars_account(account_id)")
                                   << lines("account_id -> accounts(id) on update NO ACTION on delete NO ACTION");

        QTest::newRow("events") << QStringLiteral("events") << lines(R"(
            id TEXT PRIMARY KEY
            calendar_id TEXT NOT NULL
            uid TEXT NOT NULL
            provider_event_id TEXT
            etag TEXT
            href TEXT
            title TEXT NOT NULL
            description TEXT
            location TEXT
            geo_location TEXT
            start_time TEXT NOT NULL
            end_time TEXT
            is_all_day INTEGER NOT NULL DEFAULT 0
            timezone TEXT NOT NULL DEFAULT 'UTC'
            recurrence_rule TEXT
            recurrence_dates TEXT
            exception_dates TEXT
            recurrence_id TEXT
            master_event_uid TEXT
            status TEXT NOT NULL DEFAULT 'confirmed'
            event_url TEXT
            conference_url TEXT
            organizer_email TEXT
            organizer_name TEXT
            sequence INTEGER NOT NULL DEFAULT 0
            raw_icalendar TEXT NOT NULL
            color TEXT
            created TEXT NOT NULL DEFAULT datetime('now')
            last_modified TEXT NOT NULL DEFAULT datetime('now')
            sync_status TEXT NOT NULL DEFAULT 'synced'
            deleted_at TEXT)") << lines(R"(
            idx_events_calendar_pending(calendar_id, sync_status) WHERE sync_status = 'pending'
            idx_events_calendar_provider(calendar_id, provider_event_id)
            idx_events_calendar_start(calendar_id, start_time)
            idx_events_dated(start_time) WHERE recurrence_dates GLOB '*[0-9]*'
            idx_events_long(end_time, start_time) WHERE julianday(end_time) - julianday(start_time) > 1
            idx_events_master_uid(master_event_uid)
            idx_events_open_ended(start_time) WHERE (recurrence_rule IS NOT NULL AND recurrence_rule != '') OR end_time IS NULL
            idx_events_series(start_time, deleted_at, recurrence_id, id) WHERE recurrence_rule > ''
            idx_events_uid_calendar(uid, calendar_id)
            idx_events_uid_unique(calendar_id, uid, <expr>) UNIQUE
            idx_events_view(start_time, deleted_at, calendar_id, end_time, is_all_day, id, uid, provider_event_id, title, description, location, timezone, recurrence_rule, recurrence_dates, exception_dates, recurrence_id, master_event_uid, status, color))")
                                << lines("calendar_id -> calendars(id) on update NO ACTION on delete NO ACTION");

        QTest::newRow("attendees") << QStringLiteral("attendees") << lines(R"(
            id TEXT PRIMARY KEY
            event_id TEXT NOT NULL
            email TEXT NOT NULL
            name TEXT
            role TEXT NOT NULL DEFAULT 'required'
            status TEXT NOT NULL DEFAULT 'needs-action'
            type TEXT
            rsvp INTEGER NOT NULL DEFAULT 0)")
                                   << lines("idx_attendees_event(event_id)")
                                   << lines("event_id -> events(id) on update NO ACTION on delete NO ACTION");

        QTest::newRow("attachments") << QStringLiteral("attachments") << lines(R"(
            id TEXT PRIMARY KEY
            event_id TEXT NOT NULL
            filename TEXT NOT NULL
            url TEXT
            mime_type TEXT
            size INTEGER
            provider_file_id TEXT)") << lines("idx_attachments_event(event_id)")
                                     << lines("event_id -> events(id) on update NO ACTION on delete NO ACTION");

        QTest::newRow("reminders") << QStringLiteral("reminders") << lines(R"(
            id TEXT PRIMARY KEY
            event_id TEXT NOT NULL
            minutes_before INTEGER NOT NULL
            action TEXT NOT NULL DEFAULT 'display'
            acknowledged INTEGER NOT NULL DEFAULT 0
            trigger_time TEXT)")
                                   << lines("idx_reminders_due(trigger_time) WHERE acknowledged = 0\n"
                                            "idx_reminders_due_lead(minutes_before) WHERE acknowledged = 0\n"
                                            "idx_reminders_event(event_id)")
                                   << lines("event_id -> events(id) on update NO ACTION on delete NO ACTION");

        QTest::newRow("reminder_occurrence_acks")
            << QStringLiteral("reminder_occurrence_acks") << lines(R"(
            reminder_id TEXT NOT NULL PRIMARY KEY
            occurrence_start TEXT NOT NULL PRIMARY KEY)")
            << lines("idx_reminder_occurrence_acks_start(occurrence_start)") << QStringList();

        QTest::newRow("tasks") << QStringLiteral("tasks") << lines(R"(
            id TEXT PRIMARY KEY
            calendar_id TEXT NOT NULL
            uid TEXT NOT NULL
            etag TEXT
            href TEXT
            title TEXT NOT NULL
            description TEXT
            status TEXT NOT NULL DEFAULT 'needs-action'
            priority INTEGER NOT NULL DEFAULT 0
            percent_complete INTEGER NOT NULL DEFAULT 0
            due_date TEXT
            start_date TEXT
            completed_date TEXT
            categories TEXT NOT NULL DEFAULT '[]'
            parent_task_uid TEXT
            sort_order INTEGER NOT NULL DEFAULT 0
            color TEXT
            recurrence_rule TEXT
            sequence INTEGER NOT NULL DEFAULT 0
            raw_icalendar TEXT NOT NULL
            created TEXT NOT NULL DEFAULT datetime('now')
            last_modified TEXT NOT NULL DEFAULT datetime('now')
            sync_status TEXT NOT NULL DEFAULT 'synced'
            deleted_at TEXT
            due_is_date_only INTEGER NOT NULL DEFAULT 1
            start_is_date_only INTEGER NOT NULL DEFAULT 1
            repeat_mode TEXT NOT NULL DEFAULT 'fromDueDate')")
                               << lines(R"(
            idx_tasks_calendar(calendar_id)
            idx_tasks_calendar_pending(calendar_id, sync_status) WHERE sync_status = 'pending'
            idx_tasks_due_date(due_date)
            idx_tasks_status(status)
            idx_tasks_sync_status(sync_status)
            idx_tasks_uid_calendar(uid, calendar_id))")
                               << lines("calendar_id -> calendars(id) on update NO ACTION on delete NO ACTION");

        QTest::newRow("filter_rules") << QStringLiteral("filter_rules") << lines(R"(
            id TEXT PRIMARY KEY
            name TEXT NOT NULL
            type TEXT NOT NULL
            enabled INTEGER NOT NULL DEFAULT 1
            calendar_ids TEXT NOT NULL DEFAULT '[]'
            conditions TEXT NOT NULL
            action TEXT NOT NULL DEFAULT 'hide'
            priority INTEGER NOT NULL DEFAULT 100
            event_uid TEXT
            event_calendar_id TEXT
            suppress_reminders INTEGER NOT NULL DEFAULT 0
            sync_status TEXT NOT NULL DEFAULT 'pending'
            created_at TEXT NOT NULL DEFAULT datetime('now')
            updated_at TEXT NOT NULL DEFAULT datetime('now')
            deleted_at TEXT)") << QStringList()
                                      << QStringList();

        QTest::newRow("calendar_views") << QStringLiteral("calendar_views") << lines(R"(
            id TEXT PRIMARY KEY
            name TEXT NOT NULL
            color TEXT
            calendar_ids TEXT NOT NULL DEFAULT '[]'
            is_default INTEGER NOT NULL DEFAULT 0
            sort_order INTEGER NOT NULL DEFAULT 0
            sync_status TEXT NOT NULL DEFAULT 'pending'
            created_at TEXT NOT NULL DEFAULT datetime('now')
            updated_at TEXT NOT NULL DEFAULT datetime('now')
            deleted_at TEXT)") << QStringList()
                                        << QStringList();

        QTest::newRow("event_templates") << QStringLiteral("event_templates") << lines(R"(
            id TEXT PRIMARY KEY
            name TEXT NOT NULL
            title TEXT NOT NULL
            description TEXT
            location TEXT
            color TEXT
            is_all_day INTEGER NOT NULL DEFAULT 0
            duration_minutes INTEGER NOT NULL DEFAULT 60
            recurrence_rule TEXT
            calendar_id TEXT
            reminders TEXT NOT NULL DEFAULT '[15]'
            sort_order INTEGER NOT NULL DEFAULT 0
            sync_status TEXT NOT NULL DEFAULT 'pending'
            created_at TEXT NOT NULL DEFAULT datetime('now')
            updated_at TEXT NOT NULL DEFAULT datetime('now')
            deleted_at TEXT)") << QStringList()
                                         << QStringList();

        QTest::newRow("sync_queue") << QStringLiteral("sync_queue") << lines(R"(
            id TEXT PRIMARY KEY
            operation TEXT NOT NULL
            entity_type TEXT NOT NULL
            entity_id TEXT NOT NULL
            calendar_id TEXT NOT NULL
            payload TEXT NOT NULL
            attempts INTEGER NOT NULL DEFAULT 0
            last_error TEXT
            created_at TEXT NOT NULL DEFAULT datetime('now')
            last_attempt_at TEXT)") << QStringList()
                                    << QStringList();

        QTest::newRow("settings") << QStringLiteral("settings") << lines(R"(
            key TEXT PRIMARY KEY
            value TEXT NOT NULL
            type TEXT NOT NULL DEFAULT 'string')")
                                  << QStringList() << QStringList();

        QTest::newRow("caldav_resource_bases") << QStringLiteral("caldav_resource_bases") << lines(R"(
            calendar_id TEXT NOT NULL PRIMARY KEY
            href TEXT NOT NULL PRIMARY KEY
            base_text TEXT
            server_etag TEXT
            server_text TEXT)") << QStringList()
                                               << QStringList();
        QTest::newRow("sync_item_problems")
            << QStringLiteral("sync_item_problems") << lines(R"(
            calendar_id TEXT NOT NULL PRIMARY KEY
            kind TEXT NOT NULL PRIMARY KEY
            item_key TEXT NOT NULL PRIMARY KEY
            version TEXT NOT NULL
            detail TEXT)")
            << QStringList() << lines("calendar_id -> calendars(id) on update NO ACTION on delete CASCADE");

        QTest::newRow("schema_version") << QStringLiteral("schema_version") << lines(R"(
            version INTEGER PRIMARY KEY
            name TEXT NOT NULL
            applied_at TEXT NOT NULL DEFAULT datetime('now'))")
                                        << QStringList() << QStringList();
    }
    void tables()
    {
        QFETCH(QString, table);
        QFETCH(QStringList, columns);
        QFETCH(QStringList, indexes);
        QFETCH(QStringList, references);
        StoreFixture store;
        QCOMPARE(columnsOf(store.sql(), table), columns);
        QCOMPARE(indexesOf(store.sql(), table), indexes);
        QCOMPARE(foreignKeysOf(store.sql(), table), references);
    }

    void noOtherTables()
    {
        StoreFixture store;
        QCOMPARE(store.cli(QStringLiteral("SELECT group_concat(name, ' ') FROM (SELECT name FROM sqlite_master WHERE "
                                          "type = 'table' ORDER BY name)")),
                 QStringLiteral("accounts attachments attendees caldav_resource_bases calendar_views calendars "
                                "event_templates events events_changes filter_rules reminder_occurrence_acks reminders "
                                "schema_version settings sync_item_problems sync_queue tasks"));
    }

    void newDatabaseHoldsOnlyTheSeededGroup()
    {
        StoreFixture store;
        QCOMPARE(store.cli(QStringLiteral("SELECT id, name, calendar_ids, is_default, sync_status "
                                          "FROM calendar_views")),
                 QStringLiteral("all-calendars|All Calendars|[]|1|synced"));
        for (const char *table : {"accounts", "calendars", "events", "attendees", "attachments", "reminders", "tasks",
                                  "filter_rules", "event_templates", "sync_queue", "settings"}) {
            QCOMPARE(count(store.sql(), QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(table))), 0);
        }
    }

    // --- Keys and references ---

    void oneEventPerCalendarUidAndRecurrenceId_data()
    {
        QTest::addColumn<QString>("firstRecurrenceId");
        QTest::addColumn<QString>("secondRecurrenceId");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("two masters") << QStringLiteral("NULL") << QStringLiteral("NULL") << false;
        QTest::newRow("NULL and empty recurrence id are one key")
            << QStringLiteral("NULL") << QStringLiteral("''") << false;
        QTest::newRow("different recurrence ids")
            << QStringLiteral("'20240101T100000Z'") << QStringLiteral("'20240108T100000Z'") << true;
        QTest::newRow("master and one override")
            << QStringLiteral("NULL") << QStringLiteral("'20240108T100000Z'") << true;
    }
    void oneEventPerCalendarUidAndRecurrenceId()
    {
        QFETCH(QString, firstRecurrenceId);
        QFETCH(QString, secondRecurrenceId);
        QFETCH(bool, accepted);
        StoreFixture store;
        store.exec(QStringLiteral("INSERT INTO accounts (id, name, type) VALUES ('a', 'A', 'caldav')"));
        store.exec(QStringLiteral("INSERT INTO calendars (id, account_id, url, name) VALUES ('c', 'a', 'u', 'C')"));
        const QString insert = QStringLiteral(
            "INSERT INTO events (id, calendar_id, uid, title, start_time, raw_icalendar, "
            "recurrence_id) VALUES ('%1', 'c', 'same', 't', '2024-01-01T10:00:00Z', 'x', %2)");
        store.exec(insert.arg(QStringLiteral("e1"), firstRecurrenceId));
        QCOMPARE(tryExec(store.sql(), insert.arg(QStringLiteral("e2"), secondRecurrenceId)), accepted);
    }

    void referencedRowsCannotBeDeleted_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::newRow("calendar with an event") << QStringLiteral("DELETE FROM calendars WHERE id = 'c'");
        QTest::newRow("calendar with a task") << QStringLiteral("DELETE FROM calendars WHERE id = 'c2'");
        QTest::newRow("event with a reminder") << QStringLiteral("DELETE FROM events WHERE id = 'e'");
        QTest::newRow("account with calendars") << QStringLiteral("DELETE FROM accounts WHERE id = 'a'");
    }
    void referencedRowsCannotBeDeleted()
    {
        QFETCH(QString, statement);
        StoreFixture store;
        store.exec(QStringLiteral("INSERT INTO accounts (id, name, type) VALUES ('a', 'A', 'caldav')"));
        store.exec(QStringLiteral("INSERT INTO calendars (id, account_id, url, name) VALUES "
                                  "('c', 'a', 'u', 'C'), ('c2', 'a', 'u2', 'C2')"));
        store.exec(QStringLiteral("INSERT INTO events (id, calendar_id, uid, title, start_time, "
                                  "raw_icalendar) VALUES ('e', 'c', 'u', 't', '2024-01-01', 'x')"));
        store.exec(QStringLiteral("INSERT INTO reminders (id, event_id, minutes_before) VALUES ('r', 'e', 15)"));
        store.exec(QStringLiteral("INSERT INTO tasks (id, calendar_id, uid, title, raw_icalendar) "
                                  "VALUES ('t', 'c2', 'u', 't', 'x')"));
        const QString before = store.cli(
            QStringLiteral("SELECT (SELECT count(*) FROM accounts) || (SELECT count(*) FROM calendars) || "
                           "(SELECT count(*) FROM events) || (SELECT count(*) FROM reminders)"));
        QVERIFY(!tryExec(store.sql(), statement));
        QCOMPARE(store.cli(
                     QStringLiteral("SELECT (SELECT count(*) FROM accounts) || (SELECT count(*) FROM calendars) || "
                                    "(SELECT count(*) FROM events) || (SELECT count(*) FROM reminders)")),
                 before);
    }
};

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
