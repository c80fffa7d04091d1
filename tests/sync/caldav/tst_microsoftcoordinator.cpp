#include "accountrepository.h"
#include "appstatefixture.h"
#include "calendarrepository.h"
#include "eventrepository.h"
#include "fakegraph.h"
#include "icalendar.h"
#include "memorytokenstore.h"
#include "microsoftauthservice.h"
#include "synccoordinator.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QTest>
#include <QTimeZone>

using namespace Qt::StringLiterals;

// Microsoft accounts in the main window's sync runs: pulled with the others,
// local changes pushed after the short delay.
class TestMicrosoftCoordinator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void syncNowPullsMicrosoftCalendars();
    void localChangeIsPushed();

private:
    FakeGraph m_fake;
    AppStateFixture m_fixture;
    AppState *m_state = nullptr;
    std::unique_ptr<SyncCoordinator> m_coordinator;
};

void TestMicrosoftCoordinator::initTestCase()
{
    QVERIFY2(m_fake.start(), qPrintable(m_fake.errorString()));
    m_state = m_fixture.start();
    QVERIFY(m_state);
    m_fake.setCalendars({QJsonObject{{"id"_L1, u"AAMkTeam"_s}, {"name"_L1, u"Team"_s}}});
    m_fake.changeEvents(
        u"AAMkTeam"_s,
        {QJsonObject{{"id"_L1, u"a"_s},
                     {"subject"_L1, u"Planning"_s},
                     {"start"_L1, QJsonObject{{"dateTime"_L1, u"2026-12-10T09:00:00"_s}, {"timeZone"_L1, u"UTC"_s}}},
                     {"end"_L1, QJsonObject{{"dateTime"_L1, u"2026-12-10T10:00:00"_s}, {"timeZone"_L1, u"UTC"_s}}}}});

    const QDateTime now = QDateTime::currentDateTimeUtc();
    Account account;
    account.id = u"ms"_s;
    account.name = u"Work"_s;
    account.type = u"microsoft"_s;
    account.created_at = account.updated_at = now;
    QVERIFY(m_state->accounts()->insert(account));
    Calendar calendar;
    calendar.id = u"ms-team"_s;
    calendar.account_id = account.id;
    calendar.url = u"AAMkTeam"_s;
    calendar.name = u"Team"_s;
    calendar.sync_enabled = true;
    calendar.created_at = calendar.updated_at = now;
    QVERIFY(m_state->calendars()->insert(calendar));

    auto secrets = std::make_unique<TolmAccount::MemoryTokenStore>();
    QVERIFY(Microsoft::AuthService::saveTokens(secrets.get(), account.id,
                                               {m_fake.grantAccessToken(), u"rt"_s, now.addSecs(3600)}));
    m_coordinator = std::make_unique<SyncCoordinator>(m_state, std::move(secrets));
    m_coordinator->setGraphBase(m_fake.graphUrl());
}

void TestMicrosoftCoordinator::syncNowPullsMicrosoftCalendars()
{
    QSignalSpy messages(m_coordinator.get(), &SyncCoordinator::calendarSynced);
    m_coordinator->syncNow();
    QVERIFY(QTest::qWaitFor([&] { return !messages.isEmpty(); }, 15000));
    QCOMPARE(messages.last().at(1).toInt(), 1);
    QCOMPARE(messages.last().at(2).toString(), QString());
    QCOMPARE(m_state->events()->getByCalendar(u"ms-team"_s).size(), 1);
    QVERIFY(m_state->accounts()->getById(u"ms"_s)->last_sync_time.has_value());
}

void TestMicrosoftCoordinator::localChangeIsPushed()
{
    m_coordinator->start();
    Event event;
    event.id = u"local-1"_s;
    event.uid = event.id;
    event.calendar_id = u"ms-team"_s;
    event.title = u"Made here"_s;
    event.start_time = QDateTime(QDate(2026, 12, 11), QTime(9, 0), QTimeZone::utc());
    event.end_time = event.start_time.addSecs(3600);
    event.created = event.last_modified = QDateTime::currentDateTimeUtc();
    event.sync_status = u"pending"_s;
    event.raw_icalendar = ICalendar::serializeNewEvent(event);
    QVERIFY(m_state->events()->insert(event));
    QVERIFY(QTest::qWaitFor([this] { return m_fake.events(u"AAMkTeam"_s).size() == 2; }, 15000));
    QVERIFY(
        QTest::qWaitFor([this] { return m_state->events()->getById(u"local-1"_s)->sync_status == "synced"_L1; }, 5000));
}

QTEST_GUILESS_MAIN(TestMicrosoftCoordinator)
#include "tst_microsoftcoordinator.moc"
