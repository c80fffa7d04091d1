#include "appstatefixture.h"

#include "accountconfig.h"
#include "accountrepository.h"
#include "calendarrepository.h"
#include "canonicalcalendarkey.h"
#include "configsyncservice.h"
#include "conflictresolutionservice.h"
#include "eventrepository.h"
#include "filterrulerepository.h"
#include "invitationsservice.h"
#include "preferencesrepository.h"
#include "scriptedhttpserver.h"
#include "syncclient.h"
#include "syncqueuerepository.h"
#include "taskrepository.h"
#include "templaterepository.h"
#include "thememanager.h"
#include "undostack.h"
#include "viewrepository.h"
#include "weatherservice.h"

#include <QFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString setting(const QString &key, const QString &value)
{
    return u"INSERT INTO settings (key, value) VALUES ('%1', '%2')"_s.arg(key, value);
}

const auto kSeededAccount = u"personal-local-account|On This Device|quillmarten|0|1|#4CAF50"_s;
const auto kAccountsQuery = u"SELECT id || ':' || name FROM accounts ORDER BY id"_s;
const auto kCalendarsQuery = u"SELECT id || ':' || account_id FROM calendars ORDER BY id"_s;

} // namespace

class TestAppState : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // --- Start-up ---

    void firstStartBuildsEverythingInOrderAndSeeds()
    {
        AppStateFixture fixture;
        std::unique_ptr<QSignalSpy> ready;
        std::unique_ptr<QSignalSpy> activeChanged;
        fixture.onCreated([&](AppState *state) {
            ready = std::make_unique<QSignalSpy>(state, &AppState::databaseReady);
            activeChanged = std::make_unique<QSignalSpy>(state, &AppState::activeViewChanged);
        });
        AppState *state = fixture.start();
        QVERIFY(state);
        QCOMPARE(ready->count(), 1);
        QCOMPARE(activeChanged->count(), 0); // restoring signals nothing
        QVERIFY(QFile::exists(fixture.databaseFile()));
        QCOMPARE(fixture.cli(u"SELECT max(version) FROM schema_version"_s), QString::number(Database::latestVersion()));

        QStringList classes;
        for (const QObject *child : state->children())
            classes.append(QString::fromLatin1(child->metaObject()->className()));
        QCOMPARE(classes, (QStringList{u"Database"_s, u"PreferencesRepository"_s, u"AccountRepository"_s,
                                       u"CalendarRepository"_s, u"EventRepository"_s, u"TaskRepository"_s,
                                       u"ViewRepository"_s, u"FilterRuleRepository"_s, u"TemplateRepository"_s,
                                       u"ThemeManager"_s, u"UndoStack"_s, u"Weather::Service"_s,
                                       u"SyncQueueRepository"_s, u"Sync::ConflictResolutionService"_s,
                                       u"Invitations::Service"_s, u"TolmAccount::Client"_s,
                                       u"Quillmarten::ConfigSyncService"_s}));
        const QObjectList accessors = {
            state->database(), state->preferences(), state->accounts(), state->calendars(), state->events(),
            state->tasks(), state->views(), state->filterRules(), state->templates(), state->themeManager(),
            state->undoStack(), state->weather(), state->syncQueue(), state->conflicts(),
            state->invitations(), state->accountClient(), state->configSync()};
        QCOMPARE(accessors, state->children());

        QCOMPARE(fixture.cli(u"SELECT id, name, type, sync_interval_minutes, enabled, color FROM accounts"_s),
                 kSeededAccount);
        const QString url = u"local://calendar/quillmarten-personal-default"_s;
        QCOMPARE(fixture.cli(u"SELECT id, account_id, url, name, color, timezone, is_visible, is_read_only, "
                             "is_default, canonical_key FROM calendars"_s),
                 u"quillmarten-personal-default|personal-local-account|%1|Personal|#4285F4|UTC|1|0|1|%2"_s.arg(
                     url, canonicalCalendarKey(u"quillmarten"_s, url).value()));

        QCOMPARE(state->activeViewId(), u"all-calendars"_s);
        QCOMPARE(state->viewMode(), u"week"_s);
        QCOMPARE(state->currentDate(), QDate::currentDate());
        QCOMPARE(state->hourHeight(), 56);
        QCOMPARE(state->weekHorizon(), 7);
        QCOMPARE(state->filterHiddenCount(), -1);
        QVERIFY(!state->accountClient()->isAuthenticated());
        QVERIFY(!state->configSync()->isAutoSyncActive());
    }

    void secondStartAddsNothing()
    {
        AppStateFixture fixture;
        QVERIFY(fixture.start());
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
        QTest::newRow("device account without its calendar -> only the calendar comes back")
            << QStringList{device} << u"personal-local-account:My laptop"_s
            << u"quillmarten-personal-default:personal-local-account"_s;
        QTest::newRow("a calendar of a cloud account -> nothing seeded")
            << QStringList{u"INSERT INTO accounts (id, name, type) VALUES ('cloud', 'Cloud', 'quillmarten')"_s,
                           u"INSERT INTO calendars (id, account_id, url, name) VALUES "
                           "('c1', 'cloud', 'quillmarten://c1', 'Shared')"_s}
            << u"cloud:Cloud"_s << u"c1:cloud"_s;
        QTest::newRow("another calendar of the device account -> nothing seeded")
            << QStringList{device, u"INSERT INTO calendars (id, account_id, url, name) VALUES "
                                   "('mine', 'personal-local-account', 'local://calendar/mine', 'Mine')"_s}
            << u"personal-local-account:My laptop"_s << u"mine:personal-local-account"_s;
        QTest::newRow("a cloud account without calendars -> seeded")
            << QStringList{u"INSERT INTO accounts (id, name, type) VALUES ('cloud', 'Cloud', 'quillmarten')"_s}
            << u"cloud:Cloud\npersonal-local-account:On This Device"_s
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
        QCOMPARE(fixture.cli(kAccountsQuery), u"personal-local-account:On This Device"_s);
        QCOMPARE(fixture.cli(kCalendarsQuery), QString());
    }

    void unusableDataDirectoryFailsTheStart()
    {
        AppStateFixture fixture;
        QTemporaryDir dir;
        QFile blocker(dir.filePath(u"file"_s));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        qputenv("CALENDAR_DATA_DIR", (blocker.fileName() + u"/data"_s).toUtf8());
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression(u"^Failed to open database"_s));
        QCOMPARE(fixture.start(), nullptr);
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
        // Modes
        QTest::newRow("agenda starts in week") << QStringList{setting(u"ui/viewMode"_s, u"agenda"_s)} << all
                                               << u"week"_s << 56 << 7;
        QTest::newRow("list starts in week") << QStringList{setting(u"ui/viewMode"_s, u"list"_s)} << all
                                             << u"week"_s << 56 << 7;
        QTest::newRow("month kept") << QStringList{setting(u"ui/viewMode"_s, u"month"_s)} << all << u"month"_s
                                    << 56 << 7;
        // Clamps
        QTest::newRow("hour height 300 -> 200")
            << QStringList{setting(u"ui/timelineHourHeight"_s, u"300"_s)} << all << u"week"_s << 200 << 7;
        QTest::newRow("hour height 10 -> 56")
            << QStringList{setting(u"ui/timelineHourHeight"_s, u"10"_s)} << all << u"week"_s << 56 << 7;
        QTest::newRow("hour height not a number -> default")
            << QStringList{setting(u"ui/timelineHourHeight"_s, u"tall"_s)} << all << u"week"_s << 56 << 7;
        QTest::newRow("week horizon 1 -> 2")
            << QStringList{setting(u"ui/weekHorizon"_s, u"1"_s)} << all << u"week"_s << 56 << 2;
        QTest::newRow("week horizon 40 -> 21")
            << QStringList{setting(u"ui/weekHorizon"_s, u"40"_s)} << all << u"week"_s << 56 << 21;
        // Active group
        const QString group = u"INSERT INTO calendar_views (id, name) VALUES ('g1', 'Work')"_s;
        QTest::newRow("existing group kept")
            << QStringList{group, setting(u"ui/activeViewId"_s, u"g1"_s)} << u"g1"_s << u"week"_s << 56 << 7;
        QTest::newRow("deleted group (tombstone) -> first group")
            << QStringList{group, u"UPDATE calendar_views SET deleted_at = '2024-05-01T10:00:00Z' WHERE id = 'g1'"_s,
                           setting(u"ui/activeViewId"_s, u"g1"_s)}
            << all << u"week"_s << 56 << 7;
        QTest::newRow("unknown group -> first group")
            << QStringList{setting(u"ui/activeViewId"_s, u"gone"_s)} << all << u"week"_s << 56 << 7;
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

    void settersStoreAndSignalRealChanges()
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
        state->setActiveViewId(QString());
        QCOMPARE(stored(u"ui/activeViewId"_s), QString());
        QCOMPARE(active.count(), 2);

        QSignalSpy selected(state, &AppState::selectedEventChanged);
        state->setSelectedEventId(u"e1"_s);
        state->setSelectedEventId(u"e1"_s);
        QCOMPARE(selected.count(), 1);
        QCOMPARE(fixture.cli(u"SELECT count(*) FROM settings WHERE value = 'e1'"_s), u"0"_s);

        QSignalSpy date(state, &AppState::currentDateChanged);
        const QDate target(2024, 3, 31);
        state->setCurrentDate(target);
        state->setCurrentDate(target);
        state->setCurrentDate(QDate());
        QCOMPARE(date.count(), 1);
        QCOMPARE(state->currentDate(), target);
        QCOMPARE(stored(u"ui/viewDate"_s), u"2024-03-31"_s);

        QSignalSpy mode(state, &AppState::viewModeChanged);
        state->setViewMode(u"month"_s);
        state->setViewMode(u"list"_s);
        state->setViewMode(u"agenda"_s);
        QCOMPARE(mode.count(), 2);
        QCOMPARE(mode.last().first().toString(), u"week"_s);
        QCOMPARE(stored(u"ui/viewMode"_s), u"week"_s);

        QSignalSpy hidden(state, &AppState::filterHiddenCountChanged);
        state->setFilterHiddenCount(3);
        state->setFilterHiddenCount(3);
        state->setFilterHiddenCount(0);
        QCOMPARE(hidden.count(), 2);
    }

    void sizesAreClamped_data()
    {
        QTest::addColumn<bool>("horizon");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("expected");
        QTest::addColumn<bool>("signalled");
        QTest::newRow("hour height 300 -> 200") << false << 300 << 200 << true;
        QTest::newRow("hour height 10 -> 56, the default: no change") << false << 10 << 56 << false;
        QTest::newRow("week horizon 40 -> 21") << true << 40 << 21 << true;
    }
    void sizesAreClamped()
    {
        QFETCH(bool, horizon);
        QFETCH(int, value);
        QFETCH(int, expected);
        QFETCH(bool, signalled);
        AppStateFixture fixture;
        AppState *state = fixture.start();
        QVERIFY(state);
        QSignalSpy changed(state, horizon ? &AppState::weekHorizonChanged : &AppState::hourHeightChanged);
        horizon ? state->setWeekHorizon(value) : state->setHourHeight(value);
        QCOMPARE(horizon ? state->weekHorizon() : state->hourHeight(), expected);
        QCOMPARE(changed.count(), signalled ? 1 : 0);
        const QString key = horizon ? u"ui/weekHorizon"_s : u"ui/timelineHourHeight"_s;
        QCOMPARE(fixture.cli(u"SELECT value FROM settings WHERE key = '%1'"_s.arg(key)),
                 signalled ? QString::number(expected) : QString());
    }

    void densityPerSurface()
    {
        AppStateFixture fixture;
        AppState *state = fixture.start();
        QVERIFY(state);
        QSignalSpy changed(state, &AppState::densityChanged);
        QCOMPARE(state->density(u"week"_s), u"comfortable"_s);
        state->setDensity(u"week"_s, u"compact"_s);
        state->setDensity(u"week"_s, u"compact"_s);
        QVERIFY(state->isCompact(u"week"_s));
        QVERIFY(!state->isCompact(u"month"_s));
        state->setDensity(u"month"_s, u"dense"_s); // stored as comfortable: no change
        state->setDensity(u"week"_s, u"spacious"_s);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed.first(), (QVariantList{u"week"_s, u"compact"_s}));
        QCOMPARE(changed.last(), (QVariantList{u"week"_s, u"comfortable"_s}));
        QCOMPARE(fixture.cli(u"SELECT key, value FROM settings WHERE key LIKE 'ui/density/%'"_s),
                 u"ui/density/week|comfortable"_s);
    }

    // --- History ---

    void navigationHistory()
    {
        AppStateFixture fixture;
        AppState *state = fixture.start();
        QVERIFY(state);
        const QDate today = state->currentDate();
        const QDate later = today.addDays(10);
        QSignalSpy date(state, &AppState::currentDateChanged);
        QSignalSpy mode(state, &AppState::viewModeChanged);

        state->navigateTo(u"month"_s, later);
        QCOMPARE(state->backStack(), (QList<ViewHistoryEntry>{{u"week"_s, today, 7}}));
        QCOMPARE(date.count(), 1);
        QCOMPARE(mode.count(), 1);
        state->navigateTo(u"month"_s, QDate()); // nothing changes
        QCOMPARE(state->backStack().size(), 1);

        state->goBack();
        QCOMPARE(state->viewMode(), u"week"_s);
        QCOMPARE(state->currentDate(), today);
        QCOMPARE(state->backStack(), QList<ViewHistoryEntry>());
        QCOMPARE(state->forwardStack(), (QList<ViewHistoryEntry>{{u"month"_s, later, 7}}));
        state->goBack(); // empty: nothing
        QCOMPARE(state->viewMode(), u"week"_s);

        state->goForward();
        QCOMPARE(state->viewMode(), u"month"_s);
        QCOMPARE(state->currentDate(), later);
        QCOMPARE(state->backStack(), (QList<ViewHistoryEntry>{{u"week"_s, today, 7}}));
        QCOMPARE(state->forwardStack(), QList<ViewHistoryEntry>());

        // A plain change after going back drops the way forward.
        state->goBack();
        QCOMPARE(state->forwardStack().size(), 1);
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
        QSignalSpy errored(state, &AppState::lastSyncErroredChanged);

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
        QCOMPARE(busy.first().first().toBool(), true);
        QCOMPARE(busy.last().first().toBool(), false);
        QCOMPARE(state->syncBusyCount(), 0);
        QVERIFY(state->lastSyncErrored());
        QCOMPARE(errored.count(), 1);
        QCOMPARE(state->lastSyncErrorCalendarId(), u"cal-2"_s);
        QCOMPARE(state->lastSyncErrorMessage(), u"HTTP 500"_s);

        // A clean period clears the error.
        state->beginSync();
        QVERIFY(!state->syncBatchFailed());
        state->endSync(false);
        QVERIFY(!state->lastSyncErrored());
        QCOMPARE(errored.count(), 2);
        QCOMPARE(state->lastSyncErrorMessage(), QString());
        QCOMPARE(state->lastSyncErrorCalendarId(), QString());
    }

    // --- First day of the week ---

    void sundayFirstTerritories()
    {
        // The 42 territories as Qt 6 numbers them, apart from the names the
        // code uses; every other territory starts on Monday.
        const QSet<int> sundayFirst = {4,   15,  19,  20,  24,  32,  41,  50,  54,  69,  71,  72,  99,  106,
                                       107, 110, 113, 116, 120, 122, 127, 135, 139, 152, 167, 168, 176, 178,
                                       181, 184, 185, 190, 205, 216, 218, 227, 228, 231, 245, 248, 254, 259};
        for (int t = QLocale::AnyTerritory; t <= QLocale::LastTerritory; ++t) {
            const Qt::DayOfWeek expected = sundayFirst.contains(t) ? Qt::Sunday : Qt::Monday;
            QCOMPARE(AppState::defaultFirstDayOfWeek(QLocale::Territory(t)), expected);
        }
        QCOMPARE(AppState::defaultFirstDayOfWeek(QLocale::UnitedStates), Qt::Sunday);
        QCOMPARE(AppState::defaultFirstDayOfWeek(QLocale::Germany), Qt::Monday);
    }

    void firstDayOfWeekFromThePreference_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("expected"); // 0: the locale's
        QTest::newRow("3 -> Wednesday") << u"3"_s << int(Qt::Wednesday);
        QTest::newRow("7 -> Sunday") << u"7"_s << int(Qt::Sunday);
        QTest::newRow("1 -> Monday") << u"1"_s << int(Qt::Monday);
        QTest::newRow("0 -> the locale decides") << u"0"_s << 0;
        QTest::newRow("8 -> the locale decides") << u"8"_s << 0;
        QTest::newRow("-1 -> the locale decides") << u"-1"_s << 0;
        QTest::newRow("not a number -> the locale decides") << u"sun"_s << 0;
    }
    void firstDayOfWeekFromThePreference()
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
        // Every write of the key is reported, also an unchanged one.
        QVERIFY(state->preferences()->set(u"ui/weekStartDay"_s, stored));
        QVERIFY(state->preferences()->set(u"ui/weekHorizon"_s, u"5"_s));
        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed.last().first().value<Qt::DayOfWeek>(), day);
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

    void serviceAddressesFromTheEnvironment_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("identity");
        QTest::addColumn<QString>("sync");
        QTest::newRow("unset -> reserved example hosts")
            << QByteArray() << u"https://id.quillmarten.example"_s << u"https://api.quillmarten.example/calendar/v1"_s;
        QTest::newRow("empty counts as unset")
            << QByteArray("") << u"https://id.quillmarten.example"_s << u"https://api.quillmarten.example/calendar/v1"_s;
        QTest::newRow("set, read as UTF-8") << QByteArray("http://127.0.0.1:8/\xc3\xa9") << u"http://127.0.0.1:8/\u00e9"_s
                                            << u"http://127.0.0.1:8/%C3%A9"_s;
    }
    void serviceAddressesFromTheEnvironment()
    {
        QFETCH(QByteArray, value);
        QFETCH(QString, identity);
        QFETCH(QString, sync);
        const QByteArray previous = qgetenv("SYNC_API_URL");
        qputenv("AUTH_API_URL", value);
        qputenv("SYNC_API_URL", value);
        const TolmAccount::ClientConfig config = accountClientConfig();
        const QString syncUrl = calendarSyncApiBaseUrl().toString(QUrl::FullyEncoded);
        qunsetenv("AUTH_API_URL");
        qputenv("SYNC_API_URL", previous);
        QCOMPARE(config.identityBaseUrl, identity);
        QCOMPARE(syncUrl, sync);
        QCOMPARE(config.accountApiBaseUrl, u"https://api.quillmarten.example/account/v1"_s);
        QCOMPARE(config.applicationIdentifier, appIdentifier());
        QCOMPARE(config.version, u"1.3.0"_s);
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
        fixture.onCreated([&](AppState *state) {
            syncRequested = std::make_unique<QSignalSpy>(state, &AppState::syncNowRequested);
        });
        AppState *state = fixture.start();
        QVERIFY(state);
        QVERIFY(state->accountClient()->isAuthenticated());
        QVERIFY(state->configSync()->isAutoSyncActive());
        QCOMPARE(fixture.cli(kAccountsQuery), QString());
        QCOMPARE(syncRequested->count(), 0);

        QVERIFY(syncRequested->wait(10000));
        QCOMPARE(fixture.cli(kAccountsQuery), accounts);
        QTRY_COMPARE(server.problems(), QStringList()); // one list, one push, one pull
        QTRY_COMPARE(state->findChildren<Quillmarten::SyncClient *>().size(), 0);
        QCOMPARE(syncRequested->count(), 1);
    }
};

QTEST_MAIN(TestAppState)
#include "tst_appstate.moc"
