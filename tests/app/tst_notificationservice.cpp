#include "appstatefixture.h"
#include "notificationservice.h"
#include "trayfixture.h"

#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace TrayFixture;

class TestNotificationService : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void dueWindow_data();
    void dueWindow();
    void bodies_data();
    void bodies();
    void firesOnceAndIsAcknowledged();
    void severalDueFireInTriggerOrderAndClickNamesTheLast();
    void untitledEventIsCalledReminder();
    void deletedEventNeverFires();
    void filterRules_data();
    void filterRules();
    void repeatingEventFiresForItsStoredStartOnly();
    void allDayReminderReportsTheStoredDate();
    void clickAfterTheTestReminderEmitsNothing();
    void firstPollRunsSoonAfterStart();

private:
    bool acknowledged(const QString &eventId) const;
    std::unique_ptr<NotificationService> service(const QDateTime &now);

    std::unique_ptr<AppStateFixture> m_fixture;
    AppState *m_state = nullptr;
};

void TestNotificationService::init()
{
    m_fixture = std::make_unique<AppStateFixture>();
    m_state = m_fixture->start();
    QVERIFY(m_state);
}

void TestNotificationService::cleanup()
{
    m_fixture.reset();
    m_state = nullptr;
}

bool TestNotificationService::acknowledged(const QString &eventId) const
{
    QSqlQuery query(m_state->database()->database());
    query.prepare(QStringLiteral("SELECT MIN(acknowledged) FROM reminders WHERE event_id = ?"));
    query.addBindValue(eventId);
    return query.exec() && query.next() && query.value(0).toInt() == 1;
}

std::unique_ptr<NotificationService> TestNotificationService::service(const QDateTime &now)
{
    auto notifications = std::make_unique<NotificationService>(m_state, nullptr);
    notifications->setClock([now] { return now; });
    return notifications;
}

void TestNotificationService::dueWindow_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<bool>("fires");

    // An event at 10:00 with a reminder 15 minutes before.
    QTest::newRow("a second before the trigger: not yet") << local(2024, 5, 14, 9, 44, 59) << false;
    QTest::newRow("at the trigger: fires") << local(2024, 5, 14, 9, 45) << true;
    QTest::newRow("started 20 minutes ago: fires late") << local(2024, 5, 14, 10, 20) << true;
    QTest::newRow("started exactly 30 minutes ago: never") << local(2024, 5, 14, 10, 30) << false;
    QTest::newRow("the day after: never") << local(2024, 5, 15, 9, 0) << false;
}

void TestNotificationService::dueWindow()
{
    QFETCH(QDateTime, now);
    QFETCH(bool, fires);
    const QString id = addEvent(m_state, EventDraft(u"Standup"_s, local(2024, 5, 14, 10, 0), local(2024, 5, 14, 10, 30))
                                             .remind({15}));
    QVERIFY(!id.isEmpty());

    const QList<FiredReminder> fired = service(now)->poll();

    QCOMPARE(fired.size(), fires ? 1 : 0);
    QCOMPARE(acknowledged(id), fires);
    if (fires) {
        QCOMPARE(fired.first().eventId, id);
        QCOMPARE(fired.first().title, QStringLiteral("Standup"));
        QCOMPARE(fired.first().body, QStringLiteral("In 15 minutes (10:00 AM)"));
        QCOMPARE(fired.first().date, QDate(2024, 5, 14));
    }
}

void TestNotificationService::bodies_data()
{
    QTest::addColumn<int>("minutesBefore");
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<bool>("allDay");
    QTest::addColumn<QString>("location");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("body");

    const QDateTime ten = local(2024, 5, 14, 10, 0);
    QTest::newRow("at the start") << 0 << ten << false << QString() << ten << u"Starting now (10:00 AM)"_s;
    QTest::newRow("minutes") << 15 << ten << false << QString() << ten.addSecs(-900)
                             << u"In 15 minutes (10:00 AM)"_s;
    QTest::newRow("minutes after the start") << -5 << ten << false << QString() << ten.addSecs(300)
                                             << u"In -5 minutes (10:00 AM)"_s;
    QTest::newRow("whole hours, remainder dropped") << 90 << ten << false << QString()
                                                    << ten.addSecs(-5400) << u"In 1h (10:00 AM)"_s;
    QTest::newRow("a day ahead") << 1440 << ten << false << QString() << ten.addDays(-1)
                                 << u"Tomorrow at 10:00 AM"_s;
    QTest::newRow("two days ahead names the day") << 2880 << ten << false << QString()
                                                  << ten.addDays(-2) << u"Tue, May 14 at 10:00 AM"_s;
    QTest::newRow("a day ahead shown late on the day") << 1440 << ten << false << QString()
                                                       << ten.addSecs(-600) << u"Today at 10:00 AM"_s;
    QTest::newRow("afternoon") << 30 << local(2024, 5, 14, 15, 5) << false << QString()
                               << local(2024, 5, 14, 14, 35) << u"In 30 minutes (3:05 PM)"_s;
    QTest::newRow("location after a middle dot") << 15 << ten << false << u"Room 4"_s << ten
                                                 << u"In 15 minutes (10:00 AM) \u00b7 Room 4"_s;
    QTest::newRow("all-day tomorrow, stored at midnight UTC")
        << 0 << utcDate(QDate(2024, 5, 15)) << true << QString() << local(2024, 5, 14, 18, 0)
        << u"Tomorrow, all day"_s;
    QTest::newRow("all-day today, a day ahead")
        << 1440 << utcDate(QDate(2024, 5, 14)) << true << u"Park"_s << local(2024, 5, 14, 0, 0)
        << u"Today, all day \u00b7 Park"_s;
}

void TestNotificationService::bodies()
{
    QFETCH(int, minutesBefore);
    QFETCH(QDateTime, start);
    QFETCH(bool, allDay);
    QFETCH(QString, location);
    QFETCH(QDateTime, now);
    QFETCH(QString, body);
    QCOMPARE(NotificationService::reminderBody(minutesBefore, start, allDay, location, now), body);
}

void TestNotificationService::firesOnceAndIsAcknowledged()
{
    const QString id = addEvent(m_state, EventDraft(u"Dentist"_s, local(2024, 5, 14, 15, 0)).remind({60}));
    auto notifications = service(local(2024, 5, 14, 14, 30));

    QCOMPARE(notifications->poll().size(), 1);
    QVERIFY(acknowledged(id));
    QCOMPARE(notifications->poll().size(), 0);
}

void TestNotificationService::severalDueFireInTriggerOrderAndClickNamesTheLast()
{
    // Stored in another order than they come due.
    const QString second = addEvent(m_state, EventDraft(u"B"_s, local(2024, 5, 14, 10, 0)).remind({15}));
    const QString third = addEvent(m_state, EventDraft(u"C"_s, local(2024, 5, 14, 10, 0)).remind({10}));
    const QString first = addEvent(m_state, EventDraft(u"A"_s, local(2024, 5, 14, 10, 0)).remind({20}));
    auto notifications = service(local(2024, 5, 14, 9, 55));
    QSignalSpy clicked(notifications.get(), &NotificationService::reminderClicked);

    const QList<FiredReminder> fired = notifications->poll();
    QStringList order;
    for (const FiredReminder &reminder : fired)
        order.append(reminder.eventId);
    QCOMPARE(order, QStringList({first, second, third}));
    QVERIFY(acknowledged(first) && acknowledged(second) && acknowledged(third));

    notifications->onMessageClicked();
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(clicked.first().at(0).toString(), third);
    QCOMPARE(clicked.first().at(1).toDate(), QDate(2024, 5, 14));
}

void TestNotificationService::untitledEventIsCalledReminder()
{
    addEvent(m_state, EventDraft(QStringLiteral(""), local(2024, 5, 14, 10, 0)).remind({0}));
    const QList<FiredReminder> fired = service(local(2024, 5, 14, 10, 0))->poll();
    QCOMPARE(fired.size(), 1);
    QCOMPARE(fired.first().title, u"Reminder"_s);
}

void TestNotificationService::deletedEventNeverFires()
{
    const QString id = addEvent(m_state, EventDraft(u"Cancelled"_s, local(2024, 5, 14, 10, 0)).remind({15}));
    QVERIFY(m_state->events()->remove(id));
    QCOMPARE(service(local(2024, 5, 14, 9, 50))->poll().size(), 0);
    QVERIFY(!acknowledged(id));
}

void TestNotificationService::filterRules_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("suppressReminders");
    QTest::addColumn<bool>("fires");

    QTest::newRow("hidden by a rule: silent") << u"hide"_s << false << false;
    QTest::newRow("dimmed by a rule that suppresses reminders: silent") << u"dim"_s << true << false;
    QTest::newRow("dimmed by a rule that keeps reminders: fires") << u"dim"_s << false << true;
}

void TestNotificationService::filterRules()
{
    QFETCH(QString, action);
    QFETCH(bool, suppressReminders);
    QFETCH(bool, fires);
    QVERIFY(addRule(m_state, titleContains(u"lunch"_s), action, suppressReminders));
    const QString filtered = addEvent(m_state, EventDraft(u"Team lunch"_s, local(2024, 5, 14, 12, 0)).remind({15}));
    const QString other = addEvent(m_state, EventDraft(u"Review"_s, local(2024, 5, 14, 12, 0)).remind({10}));

    const QList<FiredReminder> fired = service(local(2024, 5, 14, 11, 55))->poll();

    QStringList shown;
    for (const FiredReminder &reminder : fired)
        shown.append(reminder.eventId);
    QCOMPARE(shown, fires ? QStringList({filtered, other}) : QStringList({other}));
    // Silenced or not, a reminder whose moment has passed does not come back.
    QVERIFY(acknowledged(filtered));
    QVERIFY(acknowledged(other));
}

void TestNotificationService::repeatingEventFiresForItsStoredStartOnly()
{
    const QString id = addEvent(m_state, EventDraft(u"Weekly sync"_s, local(2024, 5, 14, 10, 0), local(2024, 5, 14, 10, 30))
                                             .remind({15})
                                             .repeating(u"FREQ=WEEKLY"_s));
    QCOMPARE(service(local(2024, 5, 14, 9, 45))->poll().size(), 1);
    QVERIFY(acknowledged(id));
    QCOMPARE(service(local(2024, 5, 21, 9, 45))->poll().size(), 0);
}

void TestNotificationService::allDayReminderReportsTheStoredDate()
{
    // Midnight UTC is the evening before in New York: the click must still
    // lead to the day the event is on.
    const QDate day(2024, 5, 15);
    addEvent(m_state, EventDraft(u"Holiday"_s, utcDate(day), utcDate(day.addDays(1))).remind({0}).wholeDay());
    auto notifications = service(utcDate(day).toLocalTime());
    QSignalSpy clicked(notifications.get(), &NotificationService::reminderClicked);

    const QList<FiredReminder> fired = notifications->poll();
    QCOMPARE(fired.size(), 1);
    QCOMPARE(fired.first().date, day);
    notifications->onMessageClicked();
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(clicked.first().at(1).toDate(), day);
}

void TestNotificationService::clickAfterTheTestReminderEmitsNothing()
{
    addEvent(m_state, EventDraft(u"Call"_s, local(2024, 5, 14, 10, 0)).remind({5}));
    auto notifications = service(local(2024, 5, 14, 9, 56));
    QSignalSpy clicked(notifications.get(), &NotificationService::reminderClicked);
    QCOMPARE(notifications->poll().size(), 1);

    notifications->showTestReminder();
    notifications->onMessageClicked();
    QCOMPARE(clicked.size(), 0);
}

void TestNotificationService::firstPollRunsSoonAfterStart()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QString id = addEvent(m_state, EventDraft(u"Soon"_s, now.addSecs(600)).remind({15}));
    NotificationService notifications(m_state, nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(acknowledged(id), 5000);
}

QTEST_MAIN(TestNotificationService)
#include "tst_notificationservice.moc"
