#include "accountrepository.h"
#include "calendarrepository.h"
#include "eventrepository.h"
#include "icalendar.h"
#include "sampledata.h"
#include "storefixture.h"
#include "taskrepository.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

namespace {

// The repositories over one fixture, as the application state holds them.
struct Stores
{
    explicit Stores(StoreFixture &store)
        : accounts(store.db())
        , calendars(store.db())
        , events(store.db())
        , tasks(store.db())
        , all{store.db(), &accounts, &calendars, &events, &tasks}
    {
    }

    AccountRepository accounts;
    CalendarRepository calendars;
    EventRepository events;
    TaskRepository tasks;
    SampleDataStores all;
};

QString sampleRowCount(StoreFixture &store)
{
    return store.cli(QStringLiteral("SELECT (SELECT count(*) FROM accounts WHERE id LIKE 'sample-%') || ' ' || "
                                    "(SELECT count(*) FROM calendars WHERE id LIKE 'sample-%') || ' ' || "
                                    "(SELECT count(*) FROM events WHERE id LIKE 'sample-%') || ' ' || "
                                    "(SELECT count(*) FROM tasks WHERE id LIKE 'sample-%')"));
}

} // namespace

class TestSampleData : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void loadsOnceAndClearsEverything()
    {
        StoreFixture store;
        Stores stores(store);
        QCOMPARE(loadSampleData(stores.all), 30);
        QCOMPARE(sampleRowCount(store), QStringLiteral("1 4 18 8"));
        QCOMPARE(loadSampleData(stores.all), 0);

        QSignalSpy accounts(&stores.accounts, &AccountRepository::accountsChanged);
        QSignalSpy calendars(&stores.calendars, &CalendarRepository::calendarsChanged);
        QSignalSpy events(&stores.events, &EventRepository::eventsChanged);
        QSignalSpy tasks(&stores.tasks, &TaskRepository::tasksChanged);
        QCOMPARE(removeSampleData(stores.all), 31);
        QCOMPARE(sampleRowCount(store), QStringLiteral("0 0 0 0"));
        QCOMPARE(calendars.count(), 1);
        QTRY_COMPARE(events.count(), 1);
        QCOMPARE(events.at(0).at(0).toString(), QString());
        QTRY_COMPARE(tasks.count(), 1);
        QCOMPARE(tasks.at(0).at(0).toString(), QString());
        QCOMPARE(accounts.count(), 0);
        QCOMPARE(removeSampleData(stores.all), 0);
    }

    // With foreign keys on, a sample event that the user gave a reminder or an
    // attendee must not keep its calendar and the account alive.
    void clearsEventsThatGainedChildren()
    {
        StoreFixture store;
        Stores stores(store);
        QCOMPARE(loadSampleData(stores.all), 30);
        Event standup = *stores.events.getById(QStringLiteral("sample-event-today-standup"));
        Reminder reminder;
        reminder.minutes_before = 10;
        Attendee attendee;
        attendee.email = QStringLiteral("team@example.org");
        standup.reminders = {reminder};
        standup.attendees = {attendee};
        QVERIFY(stores.events.update(standup));
        store.exec(QStringLiteral("INSERT INTO attachments (id, event_id, filename) VALUES "
                                  "('f', 'sample-event-d6-conf', 'badge.pdf')"));
        QCOMPARE(removeSampleData(stores.all), 31);
        QCOMPARE(sampleRowCount(store), QStringLiteral("0 0 0 0"));
        QCOMPARE(store.cli(QStringLiteral("SELECT (SELECT count(*) FROM reminders) + (SELECT count(*) FROM "
                                          "attendees) + (SELECT count(*) FROM attachments)")),
                 QStringLiteral("0"));
    }

    // What the user filed in the sample calendars keeps its calendar, and the
    // account while a calendar is left under it; everything else goes.
    void clearKeepsWhatHoldsTheUsersItems_data()
    {
        QTest::addColumn<QString>("userRow"); // inserted after loading; statements split at "; "
        QTest::addColumn<int>("removed");
        QTest::addColumn<QString>("left"); // sample calendars left, then the account
        QTest::newRow("an event of the user's in Work")
            << QStringLiteral("INSERT INTO events (id, calendar_id, uid, title, start_time, raw_icalendar) VALUES "
                              "('mine', 'sample-cal-work', 'mine', 'Mine', '2024-03-01T10:00:00Z', 'x')")
            << 29 << QStringLiteral("sample-cal-work|1");
        QTest::newRow("a deleted task of the user's in Family")
            << QStringLiteral("INSERT INTO tasks (id, calendar_id, uid, title, raw_icalendar, deleted_at) VALUES "
                              "('mine', 'sample-cal-family', 'mine', 'Mine', 'x', '2024-03-01T10:00:00Z')")
            << 29 << QStringLiteral("sample-cal-family|1");
        QTest::newRow("a calendar of the user's under the account")
            << QStringLiteral("INSERT INTO calendars (id, account_id, url, name) VALUES "
                              "('mine', 'sample-account', 'local://calendar/mine', 'Mine')")
            << 30 << QStringLiteral("|1");
        QTest::newRow("an occurrence of a sample series the user moved goes with it")
            << QStringLiteral("INSERT INTO events (id, calendar_id, uid, title, start_time, raw_icalendar, "
                              "recurrence_id, master_event_uid) VALUES ('moved', 'sample-cal-work', "
                              "'sample-event-today-standup', 'Team standup', '2024-03-01T10:00:00Z', 'x', "
                              "'20240301T090000Z', 'sample-event-today-standup'); INSERT INTO reminders "
                              "(id, event_id, minutes_before) VALUES ('r', 'moved', 5)")
            << 32 << QStringLiteral("|0");
    }
    void clearKeepsWhatHoldsTheUsersItems()
    {
        QFETCH(QString, userRow);
        QFETCH(int, removed);
        QFETCH(QString, left);
        StoreFixture store;
        Stores stores(store);
        QCOMPARE(loadSampleData(stores.all), 30);
        for (const QString &statement : userRow.split(QStringLiteral("; ")))
            store.exec(statement);
        QCOMPARE(removeSampleData(stores.all), removed);
        QCOMPARE(store.cli(QStringLiteral("SELECT ifnull((SELECT group_concat(id) FROM calendars WHERE id LIKE "
                                          "'sample-cal-%'), '') || '|' || (SELECT count(*) FROM accounts)")),
                 left);
        QCOMPARE(store.cli(QStringLiteral("SELECT count(*) FROM events WHERE id LIKE 'sample-%'")),
                 QStringLiteral("0"));
    }

    void deletedSampleEventStaysDeleted()
    {
        StoreFixture store;
        Stores stores(store);
        QCOMPARE(loadSampleData(stores.all), 30);
        QVERIFY(stores.events.remove(QStringLiteral("sample-event-today-run")));
        QCOMPARE(loadSampleData(stores.all), 0);
        QVERIFY(stores.events.getById(QStringLiteral("sample-event-today-run"))->deleted_at);
    }

    void failedAccountSeedsNothing()
    {
        StoreFixture store;
        Stores stores(store);
        store.failWritesTo(QStringLiteral("accounts"));
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^AccountRepository::insert failed: injected failure")));
        QCOMPARE(loadSampleData(stores.all), 0);
        QCOMPARE(sampleRowCount(store), QStringLiteral("0 0 0 0"));
    }

    // Loaded on the day before a change of daylight-saving time, every event
    // keeps its listed local times.
    void eventsKeepTheirLocalTimes_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::newRow("before spring forward in Europe") << QDate(2024, 3, 30);
        QTest::newRow("before spring forward in America") << QDate(2024, 3, 9);
        QTest::newRow("before fall back in Europe") << QDate(2024, 10, 26);
        QTest::newRow("before fall back in America") << QDate(2024, 11, 2);
    }
    void eventsKeepTheirLocalTimes()
    {
        QFETCH(QDate, today);
        StoreFixture store;
        Stores stores(store);
        QCOMPARE(loadSampleData(stores.all, today), 30);
        auto event = [&](const char *key) {
            return *stores.events.getById(QStringLiteral("sample-event-") + QLatin1String(key));
        };
        auto local = [&](int day, int h, int m) { return QDateTime(today.addDays(day), QTime(h, m), Qt::LocalTime); };

        const Event redeye = event("d2-redeye");
        QCOMPARE(redeye.start_time, local(2, 21, 30));
        QCOMPARE(*redeye.end_time, local(4, 6, 15));
        QCOMPARE(redeye.end_time->time(), QTime(6, 15));
        const Event standup = event("today-standup");
        QCOMPARE(standup.start_time.time(), QTime(9, 0));
        QCOMPARE(standup.recurrence_rule, QStringLiteral("FREQ=DAILY;BYDAY=MO,TU,WE,TH,FR"));
        QCOMPARE(event("yesterday-retro").start_time, local(-1, 15, 0));

        const Event conference = event("d6-conf");
        QVERIFY(conference.is_all_day);
        QCOMPARE(conference.start_time.date(), today.addDays(6));
        QCOMPARE(conference.end_time->date(), today.addDays(9));
        QCOMPARE(conference.title, QStringLiteral("DevSummit %1 (multi-day all-day)").arg(today.year()));

        // The conference covers its three days in the views, and no other.
        auto dayHas = [&](int day) {
            const QList<Event> found = stores.events.getInRange(local(day, 0, 0), local(day + 1, 0, 0),
                                                                {QStringLiteral("sample-cal-work")});
            for (const Event &e : found)
                if (e.id == conference.id)
                    return true;
            return false;
        };
        QCOMPARE((QList<bool>{dayHas(5), dayHas(6), dayHas(7), dayHas(8), dayHas(9)}),
                 (QList<bool>{false, true, true, true, false}));

        // Every row carries its own iCalendar text, which reads back as the row.
        const QList<Event> parsed = ICalendar::parseEvents(conference.raw_icalendar);
        QCOMPARE(parsed.size(), 1);
        QCOMPARE(parsed[0].uid, conference.uid);
        QCOMPARE(parsed[0].description, QStringLiteral("Three-day conference, badge required"));
        QVERIFY(conference.raw_icalendar.contains(QStringLiteral("badge required")));
    }

    void tasksAsListed()
    {
        StoreFixture store;
        Stores stores(store);
        const QDate today(2024, 6, 10);
        QCOMPARE(loadSampleData(stores.all, today), 30);
        const QList<Task> personal = stores.tasks.getByCalendar(QStringLiteral("sample-cal-personal"));
        QCOMPARE(personal.size(), 3);
        QCOMPARE(personal.last().title, QStringLiteral("Buy milk")); // no due date: last
        QVERIFY(!personal.last().due_date);

        const Task done = *stores.tasks.getById(QStringLiteral("sample-task-old-completed"));
        QCOMPARE(done.status, QStringLiteral("completed"));
        QCOMPARE(done.percent_complete, 100);
        QVERIFY(done.completed_date);
        QCOMPARE(*done.due_date, QDateTime(today.addDays(-3), QTime(17, 0), Qt::LocalTime));
        QCOMPARE(ICalendar::parseTasks(done.raw_icalendar).value(0).status, QStringLiteral("completed"));

        const Task overdue = *stores.tasks.getById(QStringLiteral("sample-task-q1-report"));
        QCOMPARE(overdue.priority, 2);
        QCOMPARE(overdue.status, QStringLiteral("needs-action"));
        QCOMPARE(overdue.sync_status, QStringLiteral("synced"));
    }
};

QTEST_GUILESS_MAIN(TestSampleData)
#include "tst_sampledata.moc"
