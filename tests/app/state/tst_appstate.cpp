#include "appstatefixture.h"

#include "accountconfig.h"
#include "configsyncservice.h"
#include "preferencesrepository.h"
#include "scriptedhttpserver.h"
#include "syncclient.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString setting(const QString &key, const QString &value)
{
    return u"INSERT INTO settings (key, value) VALUES ('%1', '%2')"_s.arg(key, value);
}

const auto kAccountsQuery = u"SELECT id || ':' || name FROM accounts ORDER BY id"_s;
const auto kCalendarsQuery = u"SELECT id || ':' || account_id FROM calendars ORDER BY id"_s;

} // namespace

class TestAppState : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // --- Start-up ---

    void secondStartAddsNothing()
    {
        AppStateFixture fixture;
        std::unique_ptr<QSignalSpy> activeChanged;
        fixture.onCreated([&](AppState *state) {
            activeChanged = std::make_unique<QSignalSpy>(state, &AppState::activeViewChanged);
        });
        QVERIFY(fixture.start());
        QCOMPARE(activeChanged->count(), 0); // restoring signals nothing
        QCOMPARE(fixture.cli(kCalendarsQuery), u"quillmarten-personal-default:personal-local-account"_s);
        const QString accounts = fixture.cli(u"SELECT * FROM accounts"_s);
        const QString calendars = fixture.cli(u"SELECT * FROM calendars"_s);
        fixture.stop();
        QVERIFY(fixture.start());
        QCOMPARE(fixture.cli(u"SELECT * FROM accounts"_s), accounts);
        QCOMPARE(fixture.cli(u"SELECT * FROM calendars"_s), calendars);
    }

    void seeding_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("accounts");
        QTest::addColumn<QString>("calendars");

        const QString device = u"INSERT INTO accounts (id, name, type) VALUES "
                               "('personal-local-account', 'My laptop', 'quillmarten')"_s;
        const QString cloud = u"INSERT INTO accounts (id, name, type) VALUES ('cloud', 'Cloud', 'quillmarten')"_s;
        QTest::newRow("device account without its calendar -> only the calendar comes back")
            << QStringList{device} << u"personal-local-account:My laptop"_s
            << u"quillmarten-personal-default:personal-local-account"_s;
        QTest::newRow("a calendar of a cloud account -> nothing seeded")
            << QStringList{cloud,
                           u"INSERT INTO calendars (id, account_id, url, name) VALUES "
                           "('c1', 'cloud', 'quillmarten://c1', 'Shared')"_s}
            << u"cloud:Cloud"_s << u"c1:cloud"_s;
        QTest::newRow("a cloud account without calendars -> seeded")
            << QStringList{cloud} << u"cloud:Cloud\npersonal-local-account:On This Device"_s
            << u"quillmarten-personal-default:personal-local-account"_s;
        QTest::newRow("a CalDAV calendar -> seeded beside it")
            << QStringList{u"INSERT INTO accounts (id, name, type) VALUES ('dav', 'Work', 'caldav')"_s,
                           u"INSERT INTO calendars (id, account_id, url, name) VALUES "
                           "('d1', 'dav', 'https://dav.example.org/d1/', 'Work')"_s}
            << u"dav:Work\npersonal-local-account:On This Device"_s
            << u"d1:dav\nquillmarten-personal-default:personal-local-account"_s;
    }
    void seeding()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, accounts);
        QFETCH(QString, calendars);
        AppStateFixture fixture;
        fixture.prepare(before);
        QVERIFY(fixture.start());
        QCOMPARE(fixture.cli(kAccountsQuery), accounts);
        QCOMPARE(fixture.cli(kCalendarsQuery), calendars);
    }

    void failedSeedingIsLoggedAndTheStartGoesOn()
    {
        AppStateFixture fixture;
        fixture.prepare({u"CREATE TRIGGER refuse BEFORE INSERT ON calendars "
                         "BEGIN SELECT RAISE(ABORT, 'disk full'); END"_s});
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^CalendarRepository::insert failed:"_s));
        QTest::ignoreMessage(QtWarningMsg, "Failed to seed Personal calendar");
        QVERIFY(fixture.start());
        QCOMPARE(fixture.cli(kCalendarsQuery), QString());
    }

    void restoredViewState_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("activeViewId");
        QTest::addColumn<QString>("viewMode");
        QTest::addColumn<int>("hourHeight");
        QTest::addColumn<int>("weekHorizon");

        const QString all = u"all-calendars"_s;
        QTest::newRow("nothing stored -> defaults") << QStringList() << all << u"week"_s << 56 << 7;
        QTest::newRow("month kept") << QStringList{setting(u"ui/viewMode"_s, u"month"_s)} << all << u"month"_s << 56
                                    << 7;
        QTest::newRow("hour height 300 -> 200")
            << QStringList{setting(u"ui/timelineHourHeight"_s, u"300"_s)} << all << u"week"_s << 200 << 7;
        QTest::newRow("hour height not a number -> default")
            << QStringList{setting(u"ui/timelineHourHeight"_s, u"tall"_s)} << all << u"week"_s << 56 << 7;
        QTest::newRow("week horizon 1 -> 2")
            << QStringList{setting(u"ui/weekHorizon"_s, u"1"_s)} << all << u"week"_s << 56 << 2;
        const QString group = u"INSERT INTO calendar_views (id, name) VALUES ('g1', 'Work')"_s;
        QTest::newRow("existing group kept")
            << QStringList{group, setting(u"ui/activeViewId"_s, u"g1"_s)} << u"g1"_s << u"week"_s << 56 << 7;
        QTest::newRow("deleted group (tombstone) -> first group")
            << QStringList{group, u"UPDATE calendar_views SET deleted_at = '2024-05-01T10:00:00Z' WHERE id = 'g1'"_s,
                           setting(u"ui/activeViewId"_s, u"g1"_s)}
            << all << u"week"_s << 56 << 7;
        QTest::newRow("vanished group, another sorted first -> all calendars")
            << QStringList{u"INSERT INTO calendar_views (id, name, is_default) VALUES ('g0', 'Agenda', 1)"_s,
                           setting(u"ui/activeViewId"_s, u"gone"_s)}
            << all << u"week"_s << 56 << 7;
        QTest::newRow("vanished group, all calendars gone too -> first group")
            << QStringList{u"DELETE FROM calendar_views"_s, group, setting(u"ui/activeViewId"_s, u"gone"_s)} << u"g1"_s
            << u"week"_s << 56 << 7;
        QTest::newRow("no group at all -> none")
            << QStringList{u"DELETE FROM calendar_views"_s} << QString() << u"week"_s << 56 << 7;
    }
    void restoredViewState()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, activeViewId);
        QFETCH(QString, viewMode);
        QFETCH(int, hourHeight);
        QFETCH(int, weekHorizon);
        AppStateFixture fixture;
        fixture.prepare(before + QStringList{setting(u"ui/viewDate"_s, u"2020-01-01"_s)});
        AppState *state = fixture.start();
        QVERIFY(state);
        QCOMPARE(state->activeViewId(), activeViewId);
        QCOMPARE(state->viewMode(), viewMode);
        QCOMPARE(state->hourHeight(), hourHeight);
        QCOMPARE(state->weekHorizon(), weekHorizon);
        QCOMPARE(state->currentDate(), QDate::currentDate()); // the start is always today
    }

    // --- View state ---

    void changesAreStoredAndSignalledOnce()
    {
        AppStateFixture fixture;
        AppState *state = fixture.start();
        QVERIFY(state);
        const auto stored = [&fixture](const QString &key) {
            return fixture.cli(u"SELECT value FROM settings WHERE key = '%1'"_s.arg(key));
        };

        QSignalSpy active(state, &AppState::activeViewChanged);
        state->setActiveViewId(u"g7"_s);
        state->setActiveViewId(u"g7"_s);
        QCOMPARE(active.count(), 1);
        QCOMPARE(stored(u"ui/activeViewId"_s), u"g7"_s);

        QSignalSpy date(state, &AppState::currentDateChanged);
        state->setCurrentDate(QDate(2024, 3, 31));
        state->setCurrentDate(QDate(2024, 3, 31));
        state->setCurrentDate(QDate());
        QCOMPARE(date.count(), 1);
        QCOMPARE(stored(u"ui/viewDate"_s), u"2024-03-31"_s);

        // Modes the start cannot restore are stored as week.
        QSignalSpy mode(state, &AppState::viewModeChanged);
        state->setViewMode(u"month"_s);
        state->setViewMode(u"list"_s);
        QCOMPARE(mode.count(), 2);
        QCOMPARE(stored(u"ui/viewMode"_s), u"week"_s);

        // A clamp back onto the current value is no change.
        QSignalSpy height(state, &AppState::hourHeightChanged);
        state->setHourHeight(10);
        QCOMPARE(height.count(), 0);
        state->setWeekHorizon(40);
        QCOMPARE(stored(u"ui/weekHorizon"_s), u"21"_s);

        QSignalSpy density(state, &AppState::densityChanged);
        state->setDensity(u"week"_s, u"compact"_s);
        state->setDensity(u"week"_s, u"compact"_s);
        state->setDensity(u"month"_s, u"dense"_s); // stored as comfortable: no change
        QVERIFY(state->isCompact(u"week"_s));
        QVERIFY(!state->isCompact(u"month"_s));
        QCOMPARE(density.count(), 1);
    }

    void navigationHistory()
    {
        AppStateFixture fixture;
        AppState *state = fixture.start();
        QVERIFY(state);
        const QDate today = state->currentDate();
        const QDate later = today.addDays(10);

        state->navigateTo(u"month"_s, later);
        QCOMPARE(state->backStack(), (QList<ViewHistoryEntry>{{u"week"_s, today, 7}}));
        state->navigateTo(u"month"_s, QDate()); // nothing changes
        QCOMPARE(state->backStack().size(), 1);

        state->goBack();
        QCOMPARE(state->viewMode(), u"week"_s);
        QCOMPARE(state->currentDate(), today);
        QCOMPARE(state->forwardStack(), (QList<ViewHistoryEntry>{{u"month"_s, later, 7}}));
        state->goBack(); // empty: nothing
        QCOMPARE(state->viewMode(), u"week"_s);

        state->goForward();
        QCOMPARE(state->viewMode(), u"month"_s);
        QCOMPARE(state->currentDate(), later);
        QCOMPARE(state->forwardStack(), QList<ViewHistoryEntry>());

        // A plain change after going back drops the way forward.
        state->goBack();
        state->setCurrentDate(today.addDays(1));
        QCOMPARE(state->forwardStack(), QList<ViewHistoryEntry>());
        QCOMPARE(state->backStack(), (QList<ViewHistoryEntry>{{u"week"_s, today, 7}}));

        // The horizon is history too; the hour height is not.
        state->setHourHeight(120);
        state->setWeekHorizon(3);
        QCOMPARE(state->backStack().last(), (ViewHistoryEntry{u"week"_s, today.addDays(1), 7}));
        state->goBack();
        QCOMPARE(state->weekHorizon(), 7);
        QCOMPARE(state->hourHeight(), 120);
        QVERIFY(!state->historySuppressed());
    }

    // --- Sync activity ---

    void nestedSyncsMakeOneBusyPeriod()
    {
        AppStateFixture fixture;
        AppState *state = fixture.start();
        QVERIFY(state);
        QSignalSpy busy(state, &AppState::syncBusyChanged);

        state->endSync(true); // without a begin: ignored
        QCOMPARE(busy.count(), 0);

        state->beginSync();
        state->beginSync();
        state->beginSync();
        state->endSync(false);
        state->setLastSyncError(u"cal-2"_s, u"HTTP 500"_s);
        state->endSync(true);
        state->endSync(false);
        QCOMPARE(busy.count(), 2);
        QCOMPARE(busy.last().first().toBool(), false);
        QCOMPARE(state->syncBusyCount(), 0);
        QVERIFY(state->lastSyncErrored());
        QCOMPARE(state->lastSyncErrorCalendarId(), u"cal-2"_s);

        // A clean period clears the error.
        state->beginSync();
        state->endSync(false);
        QVERIFY(!state->lastSyncErrored());
        QCOMPARE(state->lastSyncErrorMessage(), QString());
    }

    void nestedImportsMakeOneImportPeriod()
    {
        AppStateFixture fixture;
        AppState *state = fixture.start();
        QVERIFY(state);
        QSignalSpy running(state, &AppState::importRunningChanged);
        state->endImport(); // without a begin: ignored
        state->beginImport();
        state->beginImport();
        state->endImport();
        QVERIFY(state->isImportRunning());
        state->endImport();
        QVERIFY(!state->isImportRunning());
        QCOMPARE(running.count(), 2);
        QCOMPARE(running.at(0).first().toBool(), true);
        QCOMPARE(running.at(1).first().toBool(), false);
    }

    // --- First day of the week ---

    void firstDayOfWeek_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("expected"); // 0: the locale's
        QTest::newRow("7 -> Sunday") << u"7"_s << int(Qt::Sunday);
        QTest::newRow("3 -> Wednesday") << u"3"_s << int(Qt::Wednesday);
        QTest::newRow("0 -> the locale decides") << u"0"_s << 0;
        QTest::newRow("8 -> the locale decides") << u"8"_s << 0;
        QTest::newRow("not a number -> the locale decides") << u"sun"_s << 0;
    }
    void firstDayOfWeek()
    {
        QFETCH(QString, stored);
        QFETCH(int, expected);
        AppStateFixture fixture;
        AppState *state = fixture.start();
        QVERIFY(state);
        QSignalSpy changed(state, &AppState::firstDayOfWeekChanged);
        const Qt::DayOfWeek day = expected ? Qt::DayOfWeek(expected) : AppState::defaultFirstDayOfWeek();
        QVERIFY(state->preferences()->set(u"ui/weekStartDay"_s, stored));
        QCOMPARE(state->firstDayOfWeek(), day);
        QVERIFY(state->preferences()->set(u"ui/weekHorizon"_s, u"5"_s));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.last().first().value<Qt::DayOfWeek>(), day);

        QCOMPARE(AppState::defaultFirstDayOfWeek(QLocale::UnitedStates), Qt::Sunday);
        QCOMPARE(AppState::defaultFirstDayOfWeek(QLocale::Brazil), Qt::Sunday);
        QCOMPARE(AppState::defaultFirstDayOfWeek(QLocale::Germany), Qt::Monday);
        QCOMPARE(AppState::defaultFirstDayOfWeek(QLocale::UnitedKingdom), Qt::Monday);
    }

    // --- Calendars ---

    void providerCalendarsAreThoseOfCalDavGoogleAndMicrosoft()
    {
        AppStateFixture fixture;
        QStringList statements;
        for (const QString &type : QStringList{u"caldav"_s, u"icloud"_s, u"zoho"_s, u"google"_s, u"microsoft"_s,
                                               u"webcal"_s, u"quillmarten"_s}) {
            statements.append(u"INSERT INTO accounts (id, name, type) VALUES ('a-%1', '%1', '%1')"_s.arg(type));
            statements.append(u"INSERT INTO calendars (id, account_id, url, name) VALUES "
                              "('c-%1', 'a-%1', 'u-%1', '%1')"_s.arg(type));
        }
        fixture.prepare(statements);
        AppState *state = fixture.start();
        QVERIFY(state);
        QCOMPARE(state->providerCalendars(),
                 (QSet<QString>{u"c-caldav"_s, u"c-icloud"_s, u"c-zoho"_s, u"c-google"_s, u"c-microsoft"_s}));
    }

    // --- Account configuration ---

    void emptyServiceAddressesCountAsUnset()
    {
        const QByteArray previous = qgetenv("SYNC_API_URL");
        qputenv("AUTH_API_URL", "");
        qputenv("SYNC_API_URL", "");
        const QString identity = accountClientConfig().identityBaseUrl;
        const QString sync = calendarSyncApiBaseUrl().toString();
        qunsetenv("AUTH_API_URL");
        qputenv("SYNC_API_URL", previous);
        QCOMPARE(identity, u"https://id.quillmarten.example"_s);
        QCOMPARE(sync, u"https://api.quillmarten.example/calendar/v1"_s);
    }

    // --- Signed in ---

    void signedInSeedsOnlyAfterTheCalendarList_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QString>("accounts");
        QTest::newRow("list brings cloud calendars -> nothing seeded")
            << 200 << QByteArray(R"({"calendars":[{"id":"c1","name":"Family"}]})")
            << u"quillmarten-cloud-account:Quillmarten"_s;
        QTest::newRow("empty list -> device calendar seeded")
            << 200 << QByteArray(R"({"calendars":[]})") << u"personal-local-account:On This Device"_s;
        QTest::newRow("failed list -> device calendar seeded")
            << 503 << QByteArray() << u"personal-local-account:On This Device"_s;
    }
    void signedInSeedsOnlyAfterTheCalendarList()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, list);
        QFETCH(QString, accounts);
        AppStateFixture fixture;
        fixture.signIn();
        ScriptedHttpServer server;
        QVERIFY(server.start());
        // Configuration sync and the calendar list go out together.
        server.setAnyOrder(true);
        server.expect("GET", "/calendar/v1/calendars").header("Authorization", "Bearer access-1").reply(status, list);
        server.expect("POST", "/calendar/v1/sync/push").header("Authorization", "Bearer access-1").reply(200, "{}");
        server.expect("POST", "/calendar/v1/sync/pull").reply(200, "{}");
        qputenv("SYNC_API_URL", server.url(u"/calendar/v1"_s).toString().toUtf8());

        std::unique_ptr<QSignalSpy> syncRequested;
        fixture.onCreated(
            [&](AppState *state) { syncRequested = std::make_unique<QSignalSpy>(state, &AppState::syncNowRequested); });
        AppState *state = fixture.start();
        QVERIFY(state);
        QVERIFY(state->configSync()->isAutoSyncActive());
        QCOMPARE(fixture.cli(kAccountsQuery), QString());

        QVERIFY(syncRequested->wait(10000));
        QCOMPARE(fixture.cli(kAccountsQuery), accounts);
        QTRY_COMPARE(server.problems(), QStringList()); // one list, one push, one pull
        QTRY_COMPARE(state->findChildren<Quillmarten::SyncClient *>().size(), 0);
        QCOMPARE(syncRequested->count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestAppState)
#include "tst_appstate.moc"
