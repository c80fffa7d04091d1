#include "accountrepository.h"
#include "calendarrepository.h"
#include "eventrepository.h"
#include "storefixture.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

class TestAccountCalendar : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // --- Accounts ---

    void accountRoundTrip()
    {
        StoreFixture store;
        AccountRepository accounts(store.db());
        QSignalSpy changed(&accounts, &AccountRepository::accountsChanged);
        Account a = makeAccount(QStringLiteral("acc"), QStringLiteral("Work"));
        a.server_url = QStringLiteral("https://dav.example.org/");
        a.sync_interval_minutes = 30;
        a.last_sync_time = utcTime(2024, 5, 1, 9, 30);
        a.enabled = false;
        a.exclude_from_sync = true;
        a.trusted_cert_sha256 = QStringLiteral("ab12");
        QVERIFY(accounts.insert(a));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(accounts.getById(a.id), std::optional<Account>(a));
        QVERIFY(!accounts.getById(QStringLiteral("nope")));
        // A null text is stored as NULL, an empty one as ''.
        QCOMPARE(store.cli(QStringLiteral("SELECT quote(username), quote(last_sync_time) FROM accounts")),
                 QStringLiteral("NULL|'2024-05-01T09:30:00Z'"));
    }

    void accountWithoutLastSyncTime_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::newRow("NULL") << QStringLiteral("NULL");
        QTest::newRow("empty text") << QStringLiteral("''");
    }
    void accountWithoutLastSyncTime()
    {
        QFETCH(QString, stored);
        StoreFixture store;
        store.exec(QStringLiteral("INSERT INTO accounts (id, name, type, last_sync_time) VALUES "
                                  "('a', 'A', 'caldav', %1)")
                       .arg(stored));
        AccountRepository accounts(store.db());
        const std::optional<Account> a = accounts.getById(QStringLiteral("a"));
        QVERIFY(a);
        QVERIFY(!a->last_sync_time);
        // SQLite's datetime('now') default is UTC.
        QVERIFY(qAbs(a->created_at.secsTo(QDateTime::currentDateTimeUtc())) < 60);
    }

    void accountUpdateStampsNowAndKeepsCreated()
    {
        StoreFixture store;
        AccountRepository accounts(store.db());
        Account a = makeAccount(QStringLiteral("acc"));
        QVERIFY(accounts.insert(a));
        a.name = QStringLiteral("Renamed");
        a.created_at = utcTime(2030, 1, 1);
        a.updated_at = utcTime(2030, 1, 1);
        QSignalSpy changed(&accounts, &AccountRepository::accountsChanged);
        QVERIFY(accounts.update(a));
        QCOMPARE(changed.count(), 1);
        const Account back = *accounts.getById(a.id);
        QCOMPARE(back.name, QStringLiteral("Renamed"));
        QCOMPARE(back.created_at, utcTime(2024, 1, 1));
        QVERIFY(qAbs(back.updated_at.secsTo(QDateTime::currentDateTimeUtc())) < 60);

        // An id that no row has still succeeds and signals.
        QVERIFY(accounts.update(makeAccount(QStringLiteral("ghost"))));
        QCOMPARE(changed.count(), 2);
        QVERIFY(!accounts.getById(QStringLiteral("ghost")));
    }

    void accountInsertFailureIsLoggedWithoutSignal()
    {
        StoreFixture store;
        AccountRepository accounts(store.db());
        QSignalSpy changed(&accounts, &AccountRepository::accountsChanged);
        Account invalid = makeAccount(QStringLiteral("acc"));
        invalid.created_at = QDateTime(); // NOT NULL column
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^AccountRepository::insert failed: .*NOT NULL")));
        QVERIFY(!accounts.insert(invalid));
        QCOMPARE(changed.count(), 0);
    }

    void accountsAreListedBySortOrderThenName()
    {
        StoreFixture store;
        AccountRepository accounts(store.db());
        for (const char *name : {"beta", "Alpha", "alpha"})
            QVERIFY(accounts.insert(makeAccount(QString::fromLatin1(name), QString::fromLatin1(name))));
        auto names = [&accounts] {
            QStringList out;
            for (const Account &a : accounts.getAll())
                out.append(a.name);
            return out;
        };
        // Bytewise: upper case first.
        QCOMPARE(names(), (QStringList{QStringLiteral("Alpha"), QStringLiteral("alpha"), QStringLiteral("beta")}));

        QSignalSpy changed(&accounts, &AccountRepository::accountsChanged);
        QVERIFY(accounts.reorder({QStringLiteral("beta"), QStringLiteral("alpha"), QStringLiteral("Alpha")}));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(names(), (QStringList{QStringLiteral("beta"), QStringLiteral("alpha"), QStringLiteral("Alpha")}));
        QCOMPARE(store.cli(QStringLiteral("SELECT group_concat(sort_order), count(DISTINCT updated_at) FROM "
                                          "(SELECT sort_order, updated_at FROM accounts ORDER BY sort_order)")),
                 QStringLiteral("10,20,30|1"));

        // A newly inserted account sorts before the reordered ones.
        QVERIFY(accounts.insert(makeAccount(QStringLiteral("new"), QStringLiteral("zeta"))));
        QCOMPARE(names().first(), QStringLiteral("zeta"));
    }

    void reorderEdgeCases()
    {
        StoreFixture store;
        AccountRepository accounts(store.db());
        QVERIFY(accounts.insert(makeAccount(QStringLiteral("a"))));
        QVERIFY(accounts.insert(makeAccount(QStringLiteral("b"))));
        QSignalSpy changed(&accounts, &AccountRepository::accountsChanged);
        QVERIFY(accounts.reorder({}));
        QCOMPARE(changed.count(), 0);

        // The second update fails: the first is rolled back with it.
        store.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE OF sort_order ON accounts "
                                  "WHEN NEW.id = 'b' BEGIN SELECT RAISE(ABORT, 'injected'); END"));
        QVERIFY(!accounts.reorder({QStringLiteral("a"), QStringLiteral("b")}));
        QCOMPARE(changed.count(), 0);
        QCOMPARE(store.cli(QStringLiteral("SELECT group_concat(sort_order) FROM accounts")), QStringLiteral("0,0"));
    }

    void accountWithCalendarsCannotBeRemoved()
    {
        StoreFixture store;
        AccountRepository accounts(store.db());
        CalendarRepository calendars(store.db());
        QVERIFY(accounts.insert(makeAccount(QStringLiteral("a"))));
        QVERIFY(calendars.insert(makeCalendar(QStringLiteral("c"), QStringLiteral("a"))));
        QSignalSpy changed(&accounts, &AccountRepository::accountsChanged);
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^AccountRepository::remove failed: .*FOREIGN KEY")));
        QVERIFY(!accounts.remove(QStringLiteral("a")));
        QCOMPARE(changed.count(), 0);
        QVERIFY(calendars.remove(QStringLiteral("c")));
        QVERIFY(accounts.remove(QStringLiteral("a")));
        QCOMPARE(changed.count(), 1);
        QVERIFY(accounts.getAll().isEmpty());
    }

    // --- Calendars ---

    void calendarRoundTrip()
    {
        StoreFixture store;
        AccountRepository accounts(store.db());
        CalendarRepository calendars(store.db());
        QVERIFY(accounts.insert(makeAccount(QStringLiteral("a"))));
        Calendar c = makeCalendar(QStringLiteral("c"), QStringLiteral("a"), QStringLiteral("Home"));
        c.description = QStringLiteral("");
        c.is_visible = false;
        c.is_read_only = true;
        c.ctag = QStringLiteral("ctag-1");
        c.supported_components = QStringLiteral("[\"VEVENT\",\"VTODO\"]");
        c.sort_order = 3;
        c.canonical_key = QString(64, QLatin1Char('a'));
        c.sync_enabled = true;
        c.shared_with_me = true;
        c.timezone = QStringLiteral("Europe/Berlin");
        QSignalSpy changed(&calendars, &CalendarRepository::calendarsChanged);
        QVERIFY(calendars.insert(c));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(calendars.getById(c.id), std::optional<Calendar>(c));
        QCOMPARE(store.cli(QStringLiteral("SELECT quote(description), quote(delta_sync_token) FROM calendars")),
                 QStringLiteral("''|NULL"));

        c.name = QStringLiteral("Changed");
        QVERIFY(calendars.update(c));
        QCOMPARE(changed.count(), 2);
        QCOMPARE(calendars.getById(c.id)->name, QStringLiteral("Changed"));
        QCOMPARE(calendars.getById(c.id)->created_at, c.created_at);
    }

    void calendarsByAccountInOrder()
    {
        StoreFixture store;
        AccountRepository accounts(store.db());
        CalendarRepository calendars(store.db());
        QVERIFY(accounts.insert(makeAccount(QStringLiteral("a"))));
        QVERIFY(accounts.insert(makeAccount(QStringLiteral("b"))));
        Calendar first = makeCalendar(QStringLiteral("1"), QStringLiteral("a"), QStringLiteral("Zed"));
        first.sort_order = 1;
        QVERIFY(calendars.insert(first));
        QVERIFY(calendars.insert(makeCalendar(QStringLiteral("2"), QStringLiteral("a"), QStringLiteral("Yak"))));
        QVERIFY(calendars.insert(makeCalendar(QStringLiteral("3"), QStringLiteral("b"), QStringLiteral("Xen"))));
        auto ids = [](const QList<Calendar> &list) {
            QStringList out;
            for (const Calendar &c : list)
                out.append(c.id);
            return out;
        };
        QCOMPARE(ids(calendars.getAll()), (QStringList{QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("1")}));
        QCOMPARE(ids(calendars.getByAccount(QStringLiteral("a"))),
                 (QStringList{QStringLiteral("2"), QStringLiteral("1")}));
        QVERIFY(calendars.getByAccount(QStringLiteral("none")).isEmpty());
    }

    void setDefaultIsOneAcrossAccounts()
    {
        StoreFixture store;
        AccountRepository accounts(store.db());
        CalendarRepository calendars(store.db());
        QVERIFY(accounts.insert(makeAccount(QStringLiteral("a"))));
        QVERIFY(accounts.insert(makeAccount(QStringLiteral("b"))));
        Calendar old = makeCalendar(QStringLiteral("old"), QStringLiteral("a"));
        old.is_default = true;
        QVERIFY(calendars.insert(old));
        QVERIFY(calendars.insert(makeCalendar(QStringLiteral("new"), QStringLiteral("b"))));
        QVERIFY(calendars.insert(makeCalendar(QStringLiteral("other"), QStringLiteral("b"))));
        QSignalSpy changed(&calendars, &CalendarRepository::calendarsChanged);

        QVERIFY(calendars.setDefault(QStringLiteral("new")));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(store.cli(
                     QStringLiteral("SELECT id, is_default, updated_at > '2024-01-02' FROM calendars ORDER BY id")),
                 QStringLiteral("new|1|1\nold|0|1\nother|0|0"));

        // An unknown id clears every flag and still succeeds.
        QVERIFY(calendars.setDefault(QStringLiteral("missing")));
        QCOMPARE(changed.count(), 2);
        QCOMPARE(store.cli(QStringLiteral("SELECT sum(is_default) FROM calendars")), QStringLiteral("0"));
    }

    void calendarWithEventsCannotBeRemoved()
    {
        StoreFixture store;
        AccountRepository accounts(store.db());
        CalendarRepository calendars(store.db());
        EventRepository events(store.db());
        QVERIFY(accounts.insert(makeAccount(QStringLiteral("a"))));
        QVERIFY(calendars.insert(makeCalendar(QStringLiteral("c"), QStringLiteral("a"))));
        QVERIFY(
            events.insert(makeEvent(QStringLiteral("e"), QStringLiteral("c"), utcTime(2024, 5, 1, 10), std::nullopt)));
        QSignalSpy changed(&calendars, &CalendarRepository::calendarsChanged);
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^CalendarRepository::remove failed: .*FOREIGN KEY")));
        QVERIFY(!calendars.remove(QStringLiteral("c")));
        QCOMPARE(changed.count(), 0);
        QVERIFY(events.hardDelete(QStringLiteral("e")));
        QVERIFY(calendars.remove(QStringLiteral("c")));
        QCOMPARE(changed.count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestAccountCalendar)
#include "tst_accountcalendar.moc"
