#include "appstatefixture.h"
#include "notificationservice.h"
#include "trayfixture.h"

#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>
#include <QTimeZone>

using namespace Qt::StringLiterals;
using namespace TrayFixture;

class TestNotificationService : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<AppStateFixture> m_fixture;
    AppState *m_state = nullptr;

    bool acknowledged(const QString &eventId) const
    {
        QSqlQuery query(m_state->database()->database());
        query.prepare(u"SELECT MIN(acknowledged) FROM reminders WHERE event_id = ?"_s);
        query.addBindValue(eventId);
        return query.exec() && query.next() && query.value(0).toInt() == 1;
    }

    std::unique_ptr<NotificationService> service(const QDateTime &now)
    {
        auto notifications = std::make_unique<NotificationService>(m_state, nullptr);
        notifications->setClock([now] { return now; });
        return notifications;
    }

    static QStringList ids(const QList<FiredReminder> &fired)
    {
        QStringList out;
        for (const FiredReminder &reminder : fired)
            out.append(reminder.eventId);
        return out;
    }

private Q_SLOTS:
    void init()
    {
        m_fixture = std::make_unique<AppStateFixture>();
        m_state = m_fixture->start();
        QVERIFY(m_state);
    }
    void cleanup() { m_fixture.reset(); }

    void dueWindow_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<bool>("fires");
        const QDateTime ten = local(2024, 5, 14, 10, 0);
        QTest::newRow("a second before the trigger: not yet") << ten << 15 << local(2024, 5, 14, 9, 44, 59) << false;
        QTest::newRow("at the trigger: fires") << ten << 15 << local(2024, 5, 14, 9, 45) << true;
        QTest::newRow("started 20 minutes ago: fires late") << ten << 15 << local(2024, 5, 14, 10, 20) << true;
        QTest::newRow("started exactly 30 minutes ago: never") << ten << 15 << local(2024, 5, 14, 10, 30) << false;
        // Stored texts whose offsets lie far from UTC still compare by instant.
        const QDateTime kiribati(QDate(2024, 5, 14), QTime(10, 0), QTimeZone(14 * 3600));
        const QDateTime baker(QDate(2024, 5, 14), QTime(10, 0), QTimeZone(-12 * 3600));
        QTest::newRow("stored at +14:00, started 20 minutes ago: fires late")
            << kiribati << 15 << kiribati.addSecs(20 * 60).toLocalTime() << true;
        QTest::newRow("stored at -12:00, at the trigger: fires") << baker << 15 << baker.addSecs(-15 * 60).toLocalTime() << true;
        QTest::newRow("stored at -12:00, started 40 minutes ago: never")
            << baker << 15 << baker.addSecs(40 * 60).toLocalTime() << false;
        QTest::newRow("a week ahead, at the trigger: fires") << ten << 7 * 24 * 60 << ten.addDays(-7) << true;
    }
    void dueWindow()
    {
        QFETCH(QDateTime, start);
        QFETCH(int, minutes);
        QFETCH(QDateTime, now);
        QFETCH(bool, fires);
        const QString id = addEvent(m_state, EventDraft(u"Standup"_s, start).remind({minutes}));
        QVERIFY(!id.isEmpty());
        auto notifications = service(now);
        const QList<FiredReminder> fired = notifications->poll();
        QCOMPARE(ids(fired), fires ? QStringList{id} : QStringList());
        QCOMPARE(acknowledged(id), fires);
        if (fires) {
            if (start == local(2024, 5, 14, 10, 0) && minutes == 15)
                QCOMPARE(fired.first().body, u"In 15 minutes (10:00 AM)"_s);
            QCOMPARE(notifications->poll().size(), 0); // once only
        }
    }

    void bodies_data()
    {
        QTest::addColumn<int>("minutesBefore");
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<bool>("allDay");
        QTest::addColumn<QString>("location");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("body");

        const QDateTime ten = local(2024, 5, 14, 10, 0);
        QTest::newRow("at the start") << 0 << ten << false << QString() << ten << u"Starting now (10:00 AM)"_s;
        QTest::newRow("whole hours, remainder dropped")
            << 90 << ten << false << QString() << ten.addSecs(-5400) << u"In 1h (10:00 AM)"_s;
        QTest::newRow("a day ahead") << 1440 << ten << false << QString() << ten.addDays(-1)
                                     << u"Tomorrow at 10:00 AM"_s;
        QTest::newRow("two days ahead names the day")
            << 2880 << ten << false << QString() << ten.addDays(-2) << u"Tue, May 14 at 10:00 AM"_s;
        QTest::newRow("a day ahead shown late on the day")
            << 1440 << ten << false << QString() << ten.addSecs(-600) << u"Today at 10:00 AM"_s;
        QTest::newRow("location after a middle dot")
            << 15 << local(2024, 5, 14, 15, 5) << false << u"Room 4"_s << local(2024, 5, 14, 14, 50)
            << u"In 15 minutes (3:05 PM) \u00b7 Room 4"_s;
        QTest::newRow("all-day tomorrow, stored at midnight UTC")
            << 0 << utcDate(QDate(2024, 5, 15)) << true << QString() << local(2024, 5, 14, 18, 0)
            << u"Tomorrow, all day"_s;
        QTest::newRow("all-day today, a day ahead")
            << 1440 << utcDate(QDate(2024, 5, 14)) << true << u"Park"_s << local(2024, 5, 14, 0, 0)
            << u"Today, all day \u00b7 Park"_s;
    }
    void bodies()
    {
        QFETCH(int, minutesBefore);
        QFETCH(QDateTime, start);
        QFETCH(bool, allDay);
        QFETCH(QString, location);
        QFETCH(QDateTime, now);
        QFETCH(QString, body);
        QCOMPARE(NotificationService::reminderBody(minutesBefore, start, allDay, location, now), body);
    }

    void severalDueFireInTriggerOrderAndClickNamesTheLast()
    {
        // Stored in another order than they come due.
        const QString second = addEvent(m_state, EventDraft(u"B"_s, local(2024, 5, 14, 10, 0)).remind({15}));
        const QString third = addEvent(m_state, EventDraft(QStringLiteral(""), local(2024, 5, 14, 10, 0)).remind({10}));
        const QString first = addEvent(m_state, EventDraft(u"A"_s, local(2024, 5, 14, 10, 0)).remind({20}));
        const QString deleted = addEvent(m_state, EventDraft(u"Gone"_s, local(2024, 5, 14, 10, 0)).remind({15}));
        QVERIFY(m_state->events()->remove(deleted));
        auto notifications = service(local(2024, 5, 14, 9, 55));
        QSignalSpy clicked(notifications.get(), &NotificationService::reminderClicked);

        const QList<FiredReminder> fired = notifications->poll();
        QCOMPARE(ids(fired), QStringList({first, second, third}));
        QCOMPARE(fired.last().title, u"Reminder"_s); // untitled
        QVERIFY(!acknowledged(deleted));

        notifications->onMessageClicked();
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(clicked.first().at(0).toString(), third);
        QCOMPARE(clicked.first().at(1).toDate(), QDate(2024, 5, 14));

        // A click on the test balloon leads nowhere.
        notifications->showTestReminder();
        notifications->onMessageClicked();
        QCOMPARE(clicked.size(), 1);
    }

    void filterRules_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("suppressReminders");
        QTest::addColumn<bool>("fires");
        QTest::newRow("hidden by a rule: silent") << u"hide"_s << false << false;
        QTest::newRow("dimmed by a rule that suppresses reminders: silent") << u"dim"_s << true << false;
        QTest::newRow("dimmed by a rule that keeps reminders: fires") << u"dim"_s << false << true;
    }
    void filterRules()
    {
        QFETCH(QString, action);
        QFETCH(bool, suppressReminders);
        QFETCH(bool, fires);
        QVERIFY(addRule(m_state, titleContains(u"lunch"_s), action, suppressReminders));
        const QString filtered = addEvent(m_state, EventDraft(u"Team lunch"_s, local(2024, 5, 14, 12, 0)).remind({15}));
        const QString other = addEvent(m_state, EventDraft(u"Review"_s, local(2024, 5, 14, 12, 0)).remind({10}));
        const QList<FiredReminder> fired = service(local(2024, 5, 14, 11, 55))->poll();
        QCOMPARE(ids(fired), fires ? QStringList({filtered, other}) : QStringList({other}));
        // Silenced or not, a reminder whose moment has passed does not come back.
        QVERIFY(acknowledged(filtered));
    }

    void repeatingEventFiresForItsStoredStartOnly()
    {
        const QString id = addEvent(
            m_state, EventDraft(u"Weekly sync"_s, local(2024, 5, 14, 10, 0)).remind({15}).repeating(u"FREQ=WEEKLY"_s));
        QCOMPARE(service(local(2024, 5, 14, 9, 45))->poll().size(), 1);
        QVERIFY(acknowledged(id));
        QCOMPARE(service(local(2024, 5, 21, 9, 45))->poll().size(), 0);
    }

    void allDayReminderReportsTheStoredDate()
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
        QCOMPARE(clicked.first().at(1).toDate(), day);
    }

    void firstPollRunsSoonAfterStart()
    {
        // In UTC: a local wall clock in the hour repeated when daylight saving
        // ends would read back an hour early, its start long past.
        const QString id = addEvent(m_state, EventDraft(u"Soon"_s, QDateTime::currentDateTimeUtc().addSecs(600)).remind({15}));
        NotificationService notifications(m_state, nullptr);
        QTRY_VERIFY_WITH_TIMEOUT(acknowledged(id), 5000);
    }
};

QTEST_MAIN(TestNotificationService)
#include "tst_notificationservice.moc"
