#include "filterrulerepository.h"
#include "storefixture.h"
#include "templaterepository.h"
#include "viewrepository.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QUuid>

namespace {

CalendarView makeView(const QString &id, const QString &name, int sortOrder = 0)
{
    CalendarView v;
    v.id = id;
    v.name = name;
    v.sort_order = sortOrder;
    v.calendar_ids = QStringLiteral("[\"a\",\"b\"]");
    v.created_at = v.updated_at = utcTime(2024, 1, 1);
    return v;
}

FilterRule makeRule(const QString &id, const QString &name, int priority, bool enabled = true)
{
    FilterRule r;
    r.id = id;
    r.name = name;
    r.type = QStringLiteral("pattern");
    r.conditions = QStringLiteral("{\"pattern\":\"lunch\"}");
    r.priority = priority;
    r.enabled = enabled;
    r.created_at = r.updated_at = utcTime(2024, 1, 1);
    return r;
}

EventTemplate makeTemplate(const QString &id, const QString &name)
{
    EventTemplate t;
    t.id = id;
    t.name = name;
    t.title = QStringLiteral("Standup");
    t.reminders = {15, 60};
    t.created_at = t.updated_at = utcTime(2024, 1, 1);
    return t;
}

template<typename Record>
QStringList namesOf(const QList<Record> &records)
{
    QStringList names;
    for (const Record &r : records)
        names.append(r.name);
    return names;
}

} // namespace

class TestConfigRepositories : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // --- Calendar groups ---

    void groupsRoundTripAndOrder()
    {
        StoreFixture store;
        ViewRepository views(store.db());
        QSignalSpy changed(&views, &ViewRepository::viewsChanged);
        CalendarView work = makeView(QStringLiteral("w"), QStringLiteral("Work"), 20);
        work.color = QStringLiteral("#112233");
        QVERIFY(views.insert(work));
        QVERIFY(views.insert(makeView(QStringLiteral("h"), QStringLiteral("Home"), 20)));
        QVERIFY(views.insert(makeView(QStringLiteral("f"), QStringLiteral("First"), 10)));
        QCOMPARE(changed.count(), 3);
        QCOMPARE(views.getById(work.id), std::optional<CalendarView>(work));
        // The seeded default group first, then by sort order and name.
        QCOMPARE(namesOf(views.getAll()),
                 (QStringList{QStringLiteral("All Calendars"), QStringLiteral("First"), QStringLiteral("Home"),
                              QStringLiteral("Work")}));

        work.name = QStringLiteral("Job");
        work.sync_status = QStringLiteral("synced");
        work.created_at = utcTime(2030, 1, 1);
        QVERIFY(views.update(work));
        const CalendarView back = *views.getById(work.id);
        QCOMPARE(back.name, QStringLiteral("Job"));
        QCOMPARE(back.sync_status, QStringLiteral("synced"));
        QCOMPARE(back.created_at, utcTime(2024, 1, 1));
        QVERIFY(back.updated_at > utcTime(2024, 1, 2));
    }

    void groupTombstones()
    {
        StoreFixture store;
        ViewRepository views(store.db());
        QVERIFY(views.insert(makeView(QStringLiteral("w"), QStringLiteral("Work"))));
        QSignalSpy changed(&views, &ViewRepository::viewsChanged);
        QVERIFY(views.remove(QStringLiteral("w")));
        QCOMPARE(changed.count(), 1);
        QVERIFY(!namesOf(views.getAll()).contains(QStringLiteral("Work")));
        QVERIFY(namesOf(views.getAllIncludingDeleted()).contains(QStringLiteral("Work")));
        const CalendarView tomb = *views.getById(QStringLiteral("w"));
        QVERIFY(tomb.deleted_at);
        QCOMPARE(tomb.sync_status, QStringLiteral("pending"));
        QCOMPARE(tomb.updated_at, *tomb.deleted_at);
        QVERIFY(views.hardDelete(QStringLiteral("w")));
        QVERIFY(!views.getById(QStringLiteral("w")));
        // Writes that match no row still succeed and signal.
        QVERIFY(views.remove(QStringLiteral("missing")));
        QCOMPARE(changed.count(), 3);
    }

    void groupWithoutNameIsRefused()
    {
        StoreFixture store;
        ViewRepository views(store.db());
        QSignalSpy changed(&views, &ViewRepository::viewsChanged);
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^ViewRepository::insert failed: .*NOT NULL")));
        QVERIFY(!views.insert(makeView(QStringLiteral("x"), QString())));
        QCOMPARE(changed.count(), 0);
    }

    void emptyCalendarListStaysEmpty()
    {
        StoreFixture store;
        store.exec(QStringLiteral("INSERT INTO calendar_views (id, name, calendar_ids) VALUES ('e', 'E', '')"));
        ViewRepository views(store.db());
        QCOMPARE(views.getById(QStringLiteral("e"))->calendar_ids, QString());
    }

    // --- Reordering, shared by groups and rules ---

    void reorderNumbersInTens_data()
    {
        QTest::addColumn<QString>("table");
        QTest::newRow("groups") << QStringLiteral("calendar_views");
        QTest::newRow("filter rules") << QStringLiteral("filter_rules");
    }
    void reorderNumbersInTens()
    {
        QFETCH(QString, table);
        StoreFixture store;
        ViewRepository views(store.db());
        FilterRuleRepository rules(store.db());
        const bool groups = table == QLatin1String("calendar_views");
        const QString column = groups ? QStringLiteral("sort_order") : QStringLiteral("priority");
        for (const char *id : {"x", "y", "z"}) {
            const QString name = QString::fromLatin1(id);
            QVERIFY(groups ? views.insert(makeView(name, name)) : rules.insert(makeRule(name, name, 100)));
        }
        QSignalSpy viewsChanged(&views, &ViewRepository::viewsChanged);
        QSignalSpy rulesChanged(&rules, &FilterRuleRepository::filterRulesChanged);
        auto reorder = [&](const QStringList &ids) { return groups ? views.reorder(ids) : rules.reorder(ids); };
        const QString probe = QStringLiteral(
                                  "SELECT group_concat(id || '=' || %1) || ' ' || count(DISTINCT updated_at) "
                                  "|| ' ' || group_concat(DISTINCT sync_status) FROM (SELECT * FROM %2 "
                                  "WHERE id IN ('x','y','z') ORDER BY %1)")
                                  .arg(column, table);

        QVERIFY(reorder({QStringLiteral("z"), QStringLiteral("x"), QStringLiteral("y")}));
        QCOMPARE(store.cli(probe), QStringLiteral("z=10,x=20,y=30 1 pending"));
        QCOMPARE(viewsChanged.count() + rulesChanged.count(), 1);

        QVERIFY(reorder({}));
        QCOMPARE(viewsChanged.count() + rulesChanged.count(), 1);

        // A row that keeps its place is not written: y stays synced.
        store.exec(
            QStringLiteral("UPDATE %1 SET sync_status = 'synced', updated_at = '2026-01-01T00:00:00Z'").arg(table));
        QVERIFY(reorder({QStringLiteral("x"), QStringLiteral("z"), QStringLiteral("y")}));
        QCOMPARE(store.cli(probe), QStringLiteral("x=10,z=20,y=30 2 pending,synced"));
        QVERIFY(reorder({QStringLiteral("z"), QStringLiteral("x"), QStringLiteral("y")}));

        // One refused row rolls the whole batch back.
        store.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON %1 WHEN NEW.id = 'y' BEGIN "
                                  "SELECT RAISE(ABORT, 'injected'); END")
                       .arg(table));
        QVERIFY(!reorder({QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")}));
        QCOMPARE(store.cli(probe), QStringLiteral("z=10,x=20,y=30 2 pending,synced"));
        QCOMPARE(viewsChanged.count() + rulesChanged.count(), 3);
    }

    // --- Filter rules ---

    void enabledRulesInPriorityOrder()
    {
        StoreFixture store;
        FilterRuleRepository rules(store.db());
        QVERIFY(rules.insert(makeRule(QStringLiteral("1"), QStringLiteral("beta"), 50)));
        QVERIFY(rules.insert(makeRule(QStringLiteral("2"), QStringLiteral("alpha"), 50)));
        QVERIFY(rules.insert(makeRule(QStringLiteral("3"), QStringLiteral("first"), 10)));
        QVERIFY(rules.insert(makeRule(QStringLiteral("4"), QStringLiteral("off"), 5, false)));
        QVERIFY(rules.insert(makeRule(QStringLiteral("5"), QStringLiteral("gone"), 1)));
        QVERIFY(rules.remove(QStringLiteral("5")));
        QCOMPARE(namesOf(rules.getEnabled()),
                 (QStringList{QStringLiteral("first"), QStringLiteral("alpha"), QStringLiteral("beta")}));
        QCOMPARE(namesOf(rules.getAll()),
                 (QStringList{QStringLiteral("off"), QStringLiteral("first"), QStringLiteral("alpha"),
                              QStringLiteral("beta")}));
        QCOMPARE(rules.getAllIncludingDeleted().size(), 5);
        QVERIFY(rules.getById(QStringLiteral("5"))->deleted_at);
    }

    void ruleRoundTripAndEnableToggle()
    {
        StoreFixture store;
        FilterRuleRepository rules(store.db());
        FilterRule r = makeRule(QStringLiteral("r"), QStringLiteral("Hide lunch"), 100);
        r.action = QStringLiteral("dim");
        r.calendar_ids = QStringLiteral("[\"c\"]");
        r.event_uid = QStringLiteral("uid");
        r.event_calendar_id = QStringLiteral("c");
        r.suppress_reminders = true;
        r.sync_status = QStringLiteral("synced");
        QVERIFY(rules.insert(r));
        QCOMPARE(rules.getById(r.id), std::optional<FilterRule>(r));

        QSignalSpy changed(&rules, &FilterRuleRepository::filterRulesChanged);
        QVERIFY(rules.setEnabled(r.id, false));
        QCOMPARE(changed.count(), 1);
        const FilterRule off = *rules.getById(r.id);
        QVERIFY(!off.enabled);
        QCOMPARE(off.sync_status, QStringLiteral("pending"));
        QVERIFY(off.updated_at > r.updated_at);

        r.name = QString(); // NOT NULL
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^FilterRuleRepository::update failed:")));
        QVERIFY(!rules.update(r));
        QCOMPARE(changed.count(), 1);
    }

    // --- Templates ---

    void templateInsertFillsIdAndTimes()
    {
        StoreFixture store;
        TemplateRepository templates(store.db());
        EventTemplate t = makeTemplate(QString(), QStringLiteral("Standup"));
        t.created_at = QDateTime();
        QSignalSpy changed(&templates, &TemplateRepository::templatesChanged);
        QVERIFY(templates.insert(t));
        QCOMPARE(changed.count(), 1);
        QVERIFY(t.id.isEmpty());
        const QList<EventTemplate> all = templates.getAll();
        QCOMPARE(all.size(), 1);
        QVERIFY(!QUuid::fromString(all[0].id).isNull());
        QVERIFY(!all[0].id.startsWith(QLatin1Char('{')));
        QVERIFY(qAbs(all[0].created_at.secsTo(QDateTime::currentDateTimeUtc())) < 60);
        QCOMPARE(all[0].reminders, (QList<int>{15, 60}));
        QCOMPARE(store.cli(QStringLiteral("SELECT reminders, sync_status FROM event_templates")),
                 QStringLiteral("[15,60]|pending"));
    }

    void templateReminderMinutes_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QList<int>>("minutes");
        QTest::newRow("empty array") << QStringLiteral("[]") << QList<int>();
        QTest::newRow("numbers and strings keep the numbers")
            << QStringLiteral("[5,\"x\",10,null]") << QList<int>{5, 10};
        QTest::newRow("not an array") << QStringLiteral("15") << QList<int>();
        QTest::newRow("empty text") << QString() << QList<int>();
    }
    void templateReminderMinutes()
    {
        QFETCH(QString, stored);
        QFETCH(QList<int>, minutes);
        StoreFixture store;
        store.exec(
            QStringLiteral("INSERT INTO event_templates (id, name, title, reminders) VALUES ('t', 'T', 'T', '%1')")
                .arg(stored));
        TemplateRepository templates(store.db());
        QCOMPARE(templates.getById(QStringLiteral("t"))->reminders, minutes);
    }

    void templateTombstonesAreHiddenFromLookups()
    {
        StoreFixture store;
        TemplateRepository templates(store.db());
        EventTemplate t = makeTemplate(QStringLiteral("t"), QStringLiteral("Standup"));
        QVERIFY(templates.insert(t));
        t.title = QStringLiteral("Daily");
        QVERIFY(templates.update(t));
        QCOMPARE(templates.getById(t.id)->title, QStringLiteral("Daily"));
        store.exec(QStringLiteral("UPDATE event_templates SET sync_status = 'synced'"));
        QVERIFY(templates.remove(t.id));
        QVERIFY(!templates.getById(t.id));
        QVERIFY(templates.getAll().isEmpty());
        QCOMPARE(templates.getAllIncludingDeleted().size(), 1);
        QCOMPARE(store.cli(QStringLiteral("SELECT sync_status, deleted_at = updated_at FROM event_templates")),
                 QStringLiteral("pending|1"));
        QVERIFY(templates.hardDelete(t.id));
        QVERIFY(templates.getAllIncludingDeleted().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestConfigRepositories)
#include "tst_configrepositories.moc"
