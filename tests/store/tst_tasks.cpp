#include "storefixture.h"
#include "systemzone.h"
#include "taskrepository.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString kCal = QStringLiteral("cal");

QStringList idsOf(const QList<Task> &tasks)
{
    QStringList ids;
    for (const Task &t : tasks)
        ids.append(t.id);
    return ids;
}

Task dueTask(const QString &id, const std::optional<QDateTime> &due, bool dateOnly = false)
{
    Task t = makeTask(id, kCal);
    t.due_date = due;
    t.due_is_date_only = dateOnly;
    return t;
}

} // namespace

class TestTasks : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // --- Rows ---

    void taskRoundTrips()
    {
        StoreFixture store;
        seedCalendars(store, {kCal});
        TaskRepository tasks(store.db());
        Task t = makeTask(QStringLiteral("t"), kCal);
        t.description = QStringLiteral("");
        t.status = QStringLiteral("in-process");
        t.priority = 3;
        t.percent_complete = 40;
        t.due_date = utcTime(2024, 3, 15);
        t.start_date = localTime(2024, 3, 10, 9);
        t.start_is_date_only = false;
        t.categories = {QStringLiteral("home"), QStringLiteral("a,b \"quoted\"")};
        t.parent_task_uid = QStringLiteral("parent@test");
        t.sort_order = 20;
        t.recurrence_rule = QStringLiteral("FREQ=WEEKLY");
        t.repeat_mode = QStringLiteral("fromCompletionDate");
        t.sequence = 2;
        QVERIFY(tasks.insert(t));
        QCOMPARE(tasks.getById(t.id), std::optional<Task>(t));
        QCOMPARE(store.cli(QStringLiteral("SELECT due_date, categories, quote(description), "
                                          "quote(completed_date), due_is_date_only, start_is_date_only FROM tasks")),
                 QStringLiteral("2024-03-15T00:00:00Z|[\"home\",\"a,b \\\"quoted\\\"\"]|''|NULL|1|0"));
        // A local time of day is kept as the instant it means: with an offset
        // or "Z", never as a bare wall clock.
        const QString storedStart = store.cli(QStringLiteral("SELECT start_date FROM tasks"));
        QVERIFY2(storedStart.size() > 19, qPrintable(storedStart));
        QCOMPARE(TimeUtil::fromStorage(storedStart), *t.start_date);
    }

    void storedTextsReadLeniently_data()
    {
        QTest::addColumn<QString>("categories");
        QTest::addColumn<QString>("repeatMode");
        QTest::addColumn<QStringList>("expectedCategories");
        QTest::addColumn<QString>("expectedMode");
        QTest::newRow("empty texts") << QStringLiteral("''") << QStringLiteral("''") << QStringList()
                                     << QStringLiteral("fromDueDate");
        QTest::newRow("categories not an array")
            << QStringLiteral("'{\"a\":1}'") << QStringLiteral("'fromCompletionDate'") << QStringList()
            << QStringLiteral("fromCompletionDate");
        QTest::newRow("a non-string category stays as an empty one")
            << QStringLiteral("'[\"x\", 5, \"y\"]'") << QStringLiteral("'fromDueDate'")
            << QStringList{QStringLiteral("x"), QString(), QStringLiteral("y")} << QStringLiteral("fromDueDate");
    }
    void storedTextsReadLeniently()
    {
        QFETCH(QString, categories);
        QFETCH(QString, repeatMode);
        QFETCH(QStringList, expectedCategories);
        QFETCH(QString, expectedMode);
        StoreFixture store;
        seedCalendars(store, {kCal});
        store.exec(QStringLiteral("INSERT INTO tasks (id, calendar_id, uid, title, raw_icalendar, categories, "
                                  "repeat_mode) VALUES ('t', 'cal', 'u', 't', 'x', %1, %2)")
                       .arg(categories, repeatMode));
        TaskRepository tasks(store.db());
        const Task t = *tasks.getById(QStringLiteral("t"));
        QCOMPARE(t.categories, expectedCategories);
        QCOMPARE(t.repeat_mode, expectedMode);
        // Columns left to their defaults: date-only flags set, "synced".
        QVERIFY(t.due_is_date_only && t.start_is_date_only);
        QCOMPARE(t.sync_status, QStringLiteral("synced"));
        QVERIFY(qAbs(t.created.secsTo(QDateTime::currentDateTimeUtc())) < 60);
    }

    void listsAndTombstones()
    {
        StoreFixture store;
        seedCalendars(store, {kCal});
        TaskRepository tasks(store.db());
        QVERIFY(tasks.insert(dueTask(QStringLiteral("undated"), std::nullopt)));
        Task later = dueTask(QStringLiteral("later"), utcTime(2024, 5, 2));
        QVERIFY(tasks.insert(later));
        Task first = dueTask(QStringLiteral("first"), utcTime(2024, 5, 1));
        first.sort_order = 20;
        QVERIFY(tasks.insert(first));
        Task second = dueTask(QStringLiteral("second"), utcTime(2024, 5, 1));
        second.sort_order = 10;
        QVERIFY(tasks.insert(second));
        // Timed dues by instant: 09:00+02:00 is before 08:00Z, though not as text.
        store.exec(QStringLiteral("INSERT INTO tasks (id, calendar_id, uid, title, due_date, due_is_date_only, "
                                  "raw_icalendar) VALUES ('utc', '%1', 'utc', 'U', '2024-05-03T08:00:00Z', 0, 'x'), "
                                  "('offset', '%1', 'offset', 'O', '2024-05-03T09:00:00+02:00', 0, 'x')")
                       .arg(kCal));
        QCOMPARE(idsOf(tasks.getByCalendar(kCal)),
                 (QStringList{QStringLiteral("second"), QStringLiteral("first"), QStringLiteral("later"),
                              QStringLiteral("offset"), QStringLiteral("utc"), QStringLiteral("undated")}));

        QVERIFY(tasks.remove(QStringLiteral("later")));
        QVERIFY(!idsOf(tasks.getByCalendar(kCal)).contains(QStringLiteral("later")));
        const Task tomb = *tasks.getById(QStringLiteral("later"));
        QVERIFY(tomb.deleted_at);
        QCOMPARE(tomb.sync_status, QStringLiteral("pending"));
        QVERIFY(tasks.getByUid(later.uid, kCal));
        QCOMPARE(idsOf(tasks.getPending(kCal)), QStringList{QStringLiteral("later")});

        // An update of the record as it was clears the tombstone.
        QVERIFY(tasks.update(later));
        QVERIFY(!tasks.getById(QStringLiteral("later"))->deleted_at);
        QCOMPARE(tasks.getById(QStringLiteral("later"))->sync_status, QStringLiteral("synced"));
    }

    // --- Range ---

    void rangeMembership_data()
    {
        QTest::addColumn<std::optional<QDateTime>>("due");
        QTest::addColumn<bool>("dueDateOnly");
        QTest::addColumn<std::optional<QDateTime>>("start");
        QTest::addColumn<bool>("returned");
        const std::optional<QDateTime> none;
        using Opt = std::optional<QDateTime>;
        QTest::newRow("date-only due of the day, stored at UTC midnight")
            << Opt(utcTime(2024, 5, 1)) << true << none << true;
        QTest::newRow("date-only due of the day before") << Opt(utcTime(2024, 4, 30)) << true << none << false;
        QTest::newRow("date-only due of the day after") << Opt(utcTime(2024, 5, 2)) << true << none << false;
        QTest::newRow("timed due just after local midnight, stored in UTC")
            << Opt(localTime(2024, 5, 1, 0, 30).toUTC()) << false << none << true;
        QTest::newRow("timed due just before local midnight, stored in UTC")
            << Opt(localTime(2024, 4, 30, 23, 30).toUTC()) << false << none << false;
        QTest::newRow("timed due exactly at the end") << Opt(localTime(2024, 5, 2)) << false << none << false;
        QTest::newRow("timed due exactly at the start") << Opt(localTime(2024, 5, 1)) << false << none << true;
        QTest::newRow("start alone in the range (date-only)") << none << true << Opt(utcTime(2024, 5, 1)) << true;
        QTest::newRow("neither date") << none << true << none << false;
    }
    void rangeMembership()
    {
        QFETCH(std::optional<QDateTime>, due);
        QFETCH(bool, dueDateOnly);
        QFETCH(std::optional<QDateTime>, start);
        QFETCH(bool, returned);
        StoreFixture store;
        seedCalendars(store, {kCal});
        TaskRepository tasks(store.db());
        Task t = dueTask(QStringLiteral("t"), due, dueDateOnly);
        t.start_date = start;
        QVERIFY(tasks.insert(t));
        QCOMPARE(idsOf(tasks.getInRange(localTime(2024, 5, 1), localTime(2024, 5, 2))),
                 returned ? QStringList{t.id} : QStringList());
    }

    void rangeOrderAndCalendars()
    {
        StoreFixture store;
        seedCalendars(store, {kCal, QStringLiteral("other")});
        TaskRepository tasks(store.db());
        QVERIFY(tasks.insert(dueTask(QStringLiteral("due-noon"), localTime(2024, 5, 1, 12))));
        QVERIFY(tasks.insert(dueTask(QStringLiteral("due-nine"), localTime(2024, 5, 1, 9).toUTC())));
        Task startOnly = dueTask(QStringLiteral("start-only"), std::nullopt);
        startOnly.start_date = localTime(2024, 5, 1, 15);
        startOnly.start_is_date_only = false;
        QVERIFY(tasks.insert(startOnly));
        Task elsewhere = dueTask(QStringLiteral("elsewhere"), localTime(2024, 5, 1, 10));
        elsewhere.calendar_id = QStringLiteral("other");
        QVERIFY(tasks.insert(elsewhere));
        // A date-only due at the start of its day here, not at its 00:00 UTC
        // (the evening before west of UTC).
        QVERIFY(tasks.insert(dueTask(QStringLiteral("due-evening"), localTime(2024, 5, 1, 21))));
        QVERIFY(tasks.insert(dueTask(QStringLiteral("next-day"), utcTime(2024, 5, 2), true)));
        QCOMPARE(idsOf(tasks.getInRange(localTime(2024, 5, 1), localTime(2024, 5, 3), {kCal})),
                 (QStringList{QStringLiteral("start-only"), QStringLiteral("due-nine"), QStringLiteral("due-noon"),
                              QStringLiteral("due-evening"), QStringLiteral("next-day")}));
        QCOMPARE(tasks.getInRange(localTime(2024, 5, 1), localTime(2024, 5, 2)).size(), 5);
    }

    // --- Completion ---

    void completion_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<std::optional<QDateTime>>("due");
        QTest::addColumn<std::optional<QDateTime>>("start");
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("completed"); // true: the argument; also the expected completion
        QTest::addColumn<QString>("expectedStatus");
        QTest::addColumn<std::optional<QDateTime>>("expectedDue");
        QTest::addColumn<std::optional<QDateTime>>("expectedStart");
        using Opt = std::optional<QDateTime>;
        const Opt none;
        const QString open = QStringLiteral("needs-action");
        const QString done = QStringLiteral("completed");
        const Opt march1 = utcTime(2024, 3, 1);

        QTest::newRow("weekly from the due date: next week, reopened")
            << QStringLiteral("FREQ=WEEKLY") << QStringLiteral("fromDueDate") << march1 << none << open << true << open
            << Opt(utcTime(2024, 3, 8)) << none;
        QTest::newRow("daily with a timed due: the next day at the same time")
            << QStringLiteral("FREQ=DAILY") << QStringLiteral("fromDueDate") << Opt(localTime(2024, 3, 1, 17)) << none
            << open << true << open << Opt(localTime(2024, 3, 2, 17)) << none;
        QTest::newRow("only the due date moves when there are both")
            << QStringLiteral("FREQ=WEEKLY") << QStringLiteral("fromDueDate") << march1 << Opt(utcTime(2024, 2, 20))
            << open << true << open << Opt(utcTime(2024, 3, 8)) << Opt(utcTime(2024, 2, 20));
        QTest::newRow("start date moves when there is no due date")
            << QStringLiteral("FREQ=MONTHLY") << QStringLiteral("fromDueDate") << none << march1 << open << true << open
            << none << Opt(utcTime(2024, 4, 1));
        QTest::newRow("COUNT=1: the series is over, completed")
            << QStringLiteral("FREQ=DAILY;COUNT=1") << QStringLiteral("fromDueDate") << march1 << none << open << true
            << done << march1 << none;
        QTest::newRow("UNTIL before the next occurrence: completed")
            << QStringLiteral("FREQ=WEEKLY;UNTIL=20240305T000000Z") << QStringLiteral("fromDueDate") << march1 << none
            << open << true << done << march1 << none;
        QTest::newRow("date-only, a UTC end at a midnight here: its day is the last")
            << QStringLiteral("FREQ=DAILY;UNTIL=") + TimeUtil::toIcalUtc(localTime(2024, 3, 2))
            << QStringLiteral("fromDueDate") << march1 << none << open << true << open << Opt(utcTime(2024, 3, 2))
            << none;
        QTest::newRow("next occurrence five years on: completed")
            << QStringLiteral("FREQ=YEARLY;INTERVAL=5") << QStringLiteral("fromDueDate") << march1 << none << open
            << true << done << march1 << none;
        QTest::newRow("no rule: completed")
            << QString() << QStringLiteral("fromDueDate") << march1 << none << open << true << done << march1 << none;
        QTest::newRow("already completed: completed again")
            << QStringLiteral("FREQ=WEEKLY") << QStringLiteral("fromDueDate") << march1 << none << done << true << done
            << march1 << none;
        QTest::newRow("from the due date without dates: completed")
            << QStringLiteral("FREQ=DAILY") << QStringLiteral("fromDueDate") << none << none << open << true << done
            << none << none;
        QTest::newRow("reopening") << QStringLiteral("FREQ=WEEKLY") << QStringLiteral("fromDueDate") << march1 << none
                                   << done << false << open << march1 << none;

        const QDate today = QDate::currentDate();
        QTest::newRow("from completion, every 3 days: due 3 days after today")
            << QStringLiteral("FREQ=DAILY;INTERVAL=3") << QStringLiteral("fromCompletionDate") << march1 << none << open
            << true << open << Opt(QDateTime(today.addDays(3), QTime(0, 0), Qt::LocalTime)) << none;
        QTest::newRow("from completion without dates: reopens, still without dates")
            << QStringLiteral("FREQ=WEEKLY") << QStringLiteral("fromCompletionDate") << none << none << open << true
            << open << none << none;
    }
    void completion()
    {
        QFETCH(QString, rule);
        QFETCH(QString, mode);
        QFETCH(std::optional<QDateTime>, due);
        QFETCH(std::optional<QDateTime>, start);
        QFETCH(QString, status);
        QFETCH(bool, completed);
        QFETCH(QString, expectedStatus);
        QFETCH(std::optional<QDateTime>, expectedDue);
        QFETCH(std::optional<QDateTime>, expectedStart);
        StoreFixture store;
        seedCalendars(store, {kCal});
        TaskRepository tasks(store.db());
        // Midnight values stand for dates, others for times of day.
        const auto isDate = [](const std::optional<QDateTime> &v) { return !v || v->time() == QTime(0, 0); };
        Task t = dueTask(QStringLiteral("t"), due, isDate(due));
        t.start_date = start;
        t.start_is_date_only = isDate(start);
        t.recurrence_rule = rule;
        t.repeat_mode = mode;
        t.status = status;
        t.sequence = 4;
        if (status == QLatin1String("completed")) {
            t.completed_date = utcTime(2024, 1, 1);
            t.percent_complete = 100;
        }
        QVERIFY(tasks.insert(t));
        QVERIFY(tasks.setCompleted(t.id, completed));

        const Task back = *tasks.getById(t.id);
        QCOMPARE(back.status, expectedStatus);
        QCOMPARE(back.due_date, expectedDue);
        QCOMPARE(back.start_date, expectedStart);
        QCOMPARE(back.sequence, 5);
        QCOMPARE(back.sync_status, QStringLiteral("pending"));
        const bool isDone = expectedStatus == QLatin1String("completed");
        QCOMPARE(back.percent_complete, isDone ? 100 : 0);
        QCOMPARE(back.completed_date.has_value(), isDone);
        if (isDone)
            QVERIFY(qAbs(back.completed_date->secsTo(QDateTime::currentDateTimeUtc())) < 60);
        QVERIFY(back.raw_icalendar.contains(QStringLiteral("STATUS:") + expectedStatus.toUpper()));
        QVERIFY(back.raw_icalendar.contains(QStringLiteral("SEQUENCE:5")));
    }

    // Completing one occurrence after another walks the series from its
    // first date: COUNT and UNTIL end it, and the wall clock stays through
    // both DST changes (a 02:30 the spring change skips is 03:30 that day).
    void completingWalksTheSeries_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QString>("due"); // local wall clock
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QStringList>("walk"); // the due after each completion ("open" from completion), or "done"
        const QString done = QStringLiteral("done");
        for (const QByteArray &zone : {QByteArray("Europe/Berlin"), QByteArray("America/New_York")}) {
            const bool berlin = zone == "Europe/Berlin";
            const auto row = [&](const char *name) { return &QTest::newRow(zone + ": " + name); };
            const QString fromDue = QStringLiteral("fromDueDate");
            *row("COUNT=2 from completion: two occurrences, then done")
                << zone << QStringLiteral("FREQ=DAILY;COUNT=2") << QStringLiteral("2026-05-04 09:00")
                << QStringLiteral("fromCompletionDate") << QStringList{QStringLiteral("open"), done};
            *row("COUNT=2: two occurrences, then done")
                << zone << QStringLiteral("FREQ=DAILY;COUNT=2") << QStringLiteral("2026-05-04 09:00") << fromDue
                << QStringList{QStringLiteral("2026-05-05 09:00"), done};
            *row("UNTIL: its last day, then done")
                << zone << QStringLiteral("FREQ=DAILY;UNTIL=20260506T235959Z") << QStringLiteral("2026-05-04 09:00")
                << fromDue << QStringList{QStringLiteral("2026-05-05 09:00"), QStringLiteral("2026-05-06 09:00"), done};
            // The day whose 02:30 does not exist, and the day 02:30 comes twice
            // (Berlin) or once after 01:00–02:00 came twice (New York).
            const QStringList spring = berlin ? QStringList{QStringLiteral("2026-03-27"), QStringLiteral("2026-03-28"),
                                                            QStringLiteral("2026-03-29"), QStringLiteral("2026-03-30")}
                                              : QStringList{QStringLiteral("2026-03-06"), QStringLiteral("2026-03-07"),
                                                            QStringLiteral("2026-03-08"), QStringLiteral("2026-03-09")};
            const QStringList autumn = berlin
                ? QStringList{QStringLiteral("2026-10-24"), QStringLiteral("2026-10-25"), QStringLiteral("2026-10-26")}
                : QStringList{QStringLiteral("2026-10-31"), QStringLiteral("2026-11-01"), QStringLiteral("2026-11-02")};
            const auto at = [](const QString &day, const char *time) { return day + u' ' + QLatin1String(time); };
            *row("02:30 daily across the spring change")
                << zone << QStringLiteral("FREQ=DAILY") << at(spring.at(0), "02:30") << fromDue
                << QStringList{at(spring.at(1), "02:30"), at(spring.at(2), "03:30"), at(spring.at(3), "02:30")};
            *row("02:30 daily across the autumn change")
                << zone << QStringLiteral("FREQ=DAILY") << at(autumn.at(0), "02:30") << fromDue
                << QStringList{at(autumn.at(1), "02:30"), at(autumn.at(2), "02:30")};
        }
    }
    void completingWalksTheSeries()
    {
        QFETCH(QByteArray, zone);
        QFETCH(QString, rule);
        QFETCH(QString, due);
        QFETCH(QString, mode);
        QFETCH(QStringList, walk);
        const SystemZone inZone(zone);
        StoreFixture store;
        seedCalendars(store, {kCal});
        TaskRepository tasks(store.db());
        const QString format = QStringLiteral("yyyy-MM-dd HH:mm");
        Task t = dueTask(QStringLiteral("t"), QDateTime::fromString(due, format));
        t.recurrence_rule = rule;
        t.repeat_mode = mode;
        QVERIFY(tasks.insert(t));
        QStringList walked;
        for (qsizetype i = 0; i < walk.size(); ++i) {
            QVERIFY(tasks.setCompleted(t.id, true));
            const Task back = *tasks.getById(t.id);
            if (back.status == QLatin1String("completed"))
                walked.append(QStringLiteral("done"));
            else
                walked.append(mode == QLatin1String("fromDueDate") ? back.due_date->toLocalTime().toString(format)
                                                                   : QStringLiteral("open"));
        }
        QCOMPARE(walked, walk);
    }

    void completingAnUnknownTaskFails()
    {
        StoreFixture store;
        TaskRepository tasks(store.db());
        QVERIFY(!tasks.setCompleted(QStringLiteral("missing"), true));
    }

    // --- Signals and failures ---

    void burstGivesOneSignalForTheLastCalendar()
    {
        StoreFixture store;
        seedCalendars(store, {QStringLiteral("A"), QStringLiteral("B")});
        TaskRepository tasks(store.db());
        QSignalSpy changed(&tasks, &TaskRepository::tasksChanged);
        Task a = makeTask(QStringLiteral("a"), QStringLiteral("A"));
        QVERIFY(tasks.insert(a));
        // The second write comes 100 ms later, inside the 150 ms window. No
        // event loop runs meanwhile: a busy machine pausing the test must not
        // let the window close early.
        QTest::qSleep(100);
        QVERIFY(tasks.insert(makeTask(QStringLiteral("b"), QStringLiteral("B"))));
        QTRY_COMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toString(), QStringLiteral("B"));

        // markSynced is silent.
        QVERIFY(tasks.markSynced(a.id, QStringLiteral("/a.ics"), QStringLiteral("\"1\"")));
        QTest::qWait(250);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(tasks.getById(a.id)->sync_status, QStringLiteral("synced"));
        QCOMPARE(tasks.getById(a.id)->href, QStringLiteral("/a.ics"));
    }

    // Deleting what is gone succeeds; saving onto it must not pass for a save.
    void missingRows()
    {
        StoreFixture store;
        seedCalendars(store, {kCal});
        TaskRepository tasks(store.db());
        QSignalSpy changed(&tasks, &TaskRepository::tasksChanged);
        QTest::ignoreMessage(QtWarningMsg, "TaskRepository::update failed: no row missing");
        QVERIFY(!tasks.update(makeTask(QStringLiteral("missing"), kCal)));
        QVERIFY(tasks.remove(QStringLiteral("missing")));
        QVERIFY(tasks.hardDelete(QStringLiteral("missing")));
        QTRY_COMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toString(), QString());
    }

    void failedWritesAreLoggedWithoutSignal_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::newRow("insert") << QStringLiteral("insert");
        QTest::newRow("update") << QStringLiteral("update");
        QTest::newRow("remove") << QStringLiteral("remove");
        QTest::newRow("hardDelete") << QStringLiteral("hardDelete");
    }
    void failedWritesAreLoggedWithoutSignal()
    {
        QFETCH(QString, operation);
        StoreFixture store;
        seedCalendars(store, {kCal});
        TaskRepository tasks(store.db());
        const Task existing = makeTask(QStringLiteral("t"), kCal);
        QVERIFY(tasks.insert(existing));
        QSignalSpy first(&tasks, &TaskRepository::tasksChanged);
        QTRY_COMPARE(first.count(), 1);
        for (const char *sqlOperation : {"INSERT", "UPDATE", "DELETE"})
            store.failWritesTo(QStringLiteral("tasks"), QLatin1String(sqlOperation));

        QSignalSpy changed(&tasks, &TaskRepository::tasksChanged);
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(
                                 QStringLiteral("^TaskRepository::%1 failed: injected failure").arg(operation)));
        bool ok = true;
        if (operation == QLatin1String("insert"))
            ok = tasks.insert(makeTask(QStringLiteral("new"), kCal));
        else if (operation == QLatin1String("update"))
            ok = tasks.update(existing);
        else if (operation == QLatin1String("remove"))
            ok = tasks.remove(existing.id);
        else
            ok = tasks.hardDelete(existing.id);
        QVERIFY(!ok);
        QTest::qWait(250);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(tasks.getById(existing.id), std::optional<Task>(existing));
    }
};

QTEST_GUILESS_MAIN(TestTasks)
#include "tst_tasks.moc"
