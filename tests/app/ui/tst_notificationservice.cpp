#include "appresources.h"
#include "appstatefixture.h"
#include "loopbacknotifications.h"
#include "notificationservice.h"
#include "occurrenceacks.h"
#include "systemzone.h"
#include "timeutil.h"
#include "trayfixture.h"

#include <QDBusConnection>
#include <QLoggingCategory>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>
#include <QTimeZone>
#include <QTranslator>

using namespace Qt::StringLiterals;
using namespace TrayFixture;

class TestNotificationService : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<AppStateFixture> m_fixture;
    AppState *m_state = nullptr;
    QTranslator m_english; // the English plural forms, as the program loads them
    std::unique_ptr<LoopbackNotifications> m_desktop;

    // One poll, waited out until the desktop has answered: what it offered.
    static QList<FiredReminder> settled(NotificationService *notifications)
    {
        const QList<FiredReminder> offered = notifications->poll();
        if (!QTest::qWaitFor([notifications] { return !notifications->isDelivering(); }, 20000))
            qWarning("The notification service did not answer");
        return offered;
    }

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
    void initTestCase()
    {
        // The test's bus has no keyring: the account client would say so at
        // every start.
        QLoggingCategory::setFilterRules(u"tolmaccount.warning=false"_s);
        QVERIFY(m_english.load(AppResources::translationPath(u"en"_s)));
        QVERIFY(QCoreApplication::installTranslator(&m_english));
    }
    void init()
    {
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "runs on a bus of its own (with-keyring.sh --bus-only)");
        m_desktop = std::make_unique<LoopbackNotifications>();
        QVERIFY(m_desktop->start());
        AppStateFixture::startFresh(m_fixture, m_state);
    }
    void cleanup()
    {
        m_fixture.reset();
        m_desktop.reset();
    }

    void dueWindow_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<bool>("fires");
        QTest::addColumn<QString>("body"); // when not empty
        const QDateTime ten = local(2024, 5, 14, 10, 0);
        QTest::newRow("a second before the trigger: not yet")
            << ten << 15 << local(2024, 5, 14, 9, 44, 59) << false << QString();
        QTest::newRow("at the trigger: fires")
            << ten << 15 << local(2024, 5, 14, 9, 45) << true << u"In 15 minutes (10:00 AM)"_s;
        QTest::newRow("started 20 minutes ago: fires late, says so")
            << ten << 15 << local(2024, 5, 14, 10, 20) << true << u"Started 20 minutes ago (10:00 AM)"_s;
        QTest::newRow("started exactly 30 minutes ago: never")
            << ten << 15 << local(2024, 5, 14, 10, 30) << false << QString();
        // Stored texts whose offsets lie far from UTC still compare by instant.
        const QDateTime kiribati(QDate(2024, 5, 14), QTime(10, 0), QTimeZone(14 * 3600));
        const QDateTime baker(QDate(2024, 5, 14), QTime(10, 0), QTimeZone(-12 * 3600));
        QTest::newRow("stored at +14:00, started 20 minutes ago: fires late")
            << kiribati << 15 << kiribati.addSecs(20 * 60).toLocalTime() << true << QString();
        QTest::newRow("stored at -12:00, at the trigger: fires")
            << baker << 15 << baker.addSecs(-15 * 60).toLocalTime() << true << QString();
        QTest::newRow("stored at -12:00, started 40 minutes ago: never")
            << baker << 15 << baker.addSecs(40 * 60).toLocalTime() << false << QString();
        QTest::newRow("a week ahead, at the trigger: fires")
            << ten << 7 * 24 * 60 << ten.addDays(-7) << true << QString();
    }
    void dueWindow()
    {
        QFETCH(QDateTime, start);
        QFETCH(int, minutes);
        QFETCH(QDateTime, now);
        QFETCH(bool, fires);
        QFETCH(QString, body);
        const QString id = addEvent(m_state, EventDraft(u"Standup"_s, start).remind({minutes}));
        QVERIFY(!id.isEmpty());
        auto notifications = service(now);
        const QList<FiredReminder> fired = settled(notifications.get());
        QCOMPARE(ids(fired), fires ? QStringList{id} : QStringList());
        QCOMPARE(acknowledged(id), fires);
        if (fires) {
            if (!body.isEmpty())
                QCOMPARE(fired.first().body, body);
            QCOMPARE(settled(notifications.get()).size(), 0); // once only
        }
    }

    void bodies_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<bool>("allDay");
        QTest::addColumn<QString>("location");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("body");

        const QDateTime ten = local(2024, 5, 14, 10, 0);
        QTest::newRow("at the start") << ten << false << QString() << ten << u"Starting now (10:00 AM)"_s;
        QTest::newRow("hours and minutes, none dropped")
            << ten << false << QString() << ten.addSecs(-5400) << u"In 1h 30m (10:00 AM)"_s;
        QTest::newRow("119 minutes: not one hour")
            << ten << false << QString() << ten.addSecs(-7140) << u"In 1h 59m (10:00 AM)"_s;
        QTest::newRow("whole hours alone") << ten << false << QString() << ten.addSecs(-7200) << u"In 2h (10:00 AM)"_s;
        QTest::newRow("a minute short of a day")
            << ten << false << QString() << ten.addSecs(-86340) << u"In 23h 59m (10:00 AM)"_s;
        QTest::newRow("a day ahead") << ten << false << QString() << ten.addDays(-1) << u"Tomorrow at 10:00 AM"_s;
        QTest::newRow("two days ahead names the day")
            << ten << false << QString() << ten.addDays(-2) << u"Tue, May 14 at 10:00 AM"_s;
        QTest::newRow("location after a middle dot")
            << local(2024, 5, 14, 15, 5) << false << u"Room 4"_s << local(2024, 5, 14, 14, 50)
            << u"In 15 minutes (3:05 PM) \u00b7 Room 4"_s;
        QTest::newRow("all-day tomorrow, stored at midnight UTC")
            << utcDate(QDate(2024, 5, 15)) << true << QString() << local(2024, 5, 14, 18, 0) << u"Tomorrow, all day"_s;
        QTest::newRow("all-day today, a day ahead") << utcDate(QDate(2024, 5, 14)) << true << u"Park"_s
                                                    << local(2024, 5, 14, 0, 0) << u"Today, all day \u00b7 Park"_s;

        // The time left when shown, to the nearest minute, whatever the lead.
        QTest::newRow("a day ahead shown late on the day: the time left")
            << ten << false << QString() << ten.addSecs(-600) << u"In 10 minutes (10:00 AM)"_s;
        QTest::newRow("one minute left: singular")
            << ten << false << QString() << ten.addSecs(-70) << u"In 1 minute (10:00 AM)"_s;
        QTest::newRow("a poll 20 s after a 15-minute trigger")
            << ten << false << QString() << ten.addSecs(-880) << u"In 15 minutes (10:00 AM)"_s;
        QTest::newRow("20 s late: still now")
            << ten << false << QString() << ten.addSecs(20) << u"Starting now (10:00 AM)"_s;
        QTest::newRow("shown late: how long ago")
            << ten << false << QString() << ten.addSecs(170) << u"Started 3 minutes ago (10:00 AM)"_s;
        QTest::newRow("a minute ago: singular")
            << ten << false << QString() << ten.addSecs(60) << u"Started 1 minute ago (10:00 AM)"_s;
    }
    void bodies()
    {
        QFETCH(QDateTime, start);
        QFETCH(bool, allDay);
        QFETCH(QString, location);
        QFETCH(QDateTime, now);
        QFETCH(QString, body);
        QCOMPARE(NotificationService::reminderBody(start, allDay, location, now), body);
    }

    // Each reminder due at once is a notification of its own, and a click on
    // one opens its own event, not the last one shown.
    void severalDueFireInTriggerOrderAndEachClickNamesItsOwn()
    {
        // Stored in another order than they come due.
        const QString second = addEvent(m_state, EventDraft(u"B"_s, local(2024, 5, 14, 10, 0)).remind({15}));
        const QString third = addEvent(m_state, EventDraft(QStringLiteral(""), local(2024, 5, 14, 10, 0)).remind({10}));
        const QString first = addEvent(m_state, EventDraft(u"A"_s, local(2024, 5, 14, 10, 0)).remind({20}));
        const QString deleted = addEvent(m_state, EventDraft(u"Gone"_s, local(2024, 5, 14, 10, 0)).remind({15}));
        QVERIFY(m_state->events()->remove(deleted));
        auto notifications = service(local(2024, 5, 14, 9, 55));
        QSignalSpy clicked(notifications.get(), &NotificationService::reminderClicked);

        const QList<FiredReminder> fired = settled(notifications.get());
        QCOMPARE(ids(fired), QStringList({first, second, third}));
        QCOMPARE(fired.last().title, u"Reminder"_s); // untitled
        QVERIFY(!acknowledged(deleted));
        QCOMPARE(m_desktop->summaries(), QStringList({u"A"_s, u"B"_s, u"Reminder"_s}));

        m_desktop->click(m_desktop->shown.at(0).id);
        QTRY_COMPARE(clicked.size(), 1);
        QCOMPARE(clicked.first().at(0).toString(), first);
        QCOMPARE(clicked.first().at(1).toDate(), QDate(2024, 5, 14));

        // A click on the test notification leads nowhere: the next click
        // reported is that on the third.
        notifications->showTestReminder();
        QTRY_COMPARE(m_desktop->shown.size(), 4);
        m_desktop->click(m_desktop->shown.at(3).id);
        m_desktop->click(m_desktop->shown.at(2).id);
        QTRY_COMPARE(clicked.size(), 2);
        QCOMPARE(clicked.at(1).at(0).toString(), third);
    }

    // Two reminders due at one poll, one event starting now and one just
    // started: both are shown and acknowledged where the desktop's service
    // answers; where nothing can show them, neither is acknowledged, the
    // service says so, and they are shown once the desktop's service is back.
    void delivery_data()
    {
        QTest::addColumn<bool>("desktop");
        QTest::newRow("the desktop's notification service: one each, both acknowledged") << true;
        QTest::newRow("neither service nor tray: none acknowledged") << false;
    }
    void delivery()
    {
        QFETCH(bool, desktop);
        const QString now = addEvent(m_state, EventDraft(u"Standup"_s, local(2024, 5, 14, 10, 0)).remind({0}));
        const QString started = addEvent(m_state, EventDraft(u"Review"_s, local(2024, 5, 14, 9, 58)).remind({5}));
        if (!desktop)
            m_desktop->stop();
        auto notifications = service(local(2024, 5, 14, 10, 0));
        QSignalSpy canShow(notifications.get(), &NotificationService::canShowRemindersChanged);

        QCOMPARE(ids(settled(notifications.get())), QStringList({started, now}));
        QCOMPARE(m_desktop->summaries(), desktop ? QStringList({u"Review"_s, u"Standup"_s}) : QStringList());
        QCOMPARE(acknowledged(now), desktop);
        QCOMPARE(acknowledged(started), desktop);
        QCOMPARE(notifications->canShowReminders(), desktop);
        QCOMPARE(canShow.size(), desktop ? 0 : 1);
        if (desktop)
            return;

        QVERIFY(m_desktop->start());
        QCOMPARE(ids(settled(notifications.get())), QStringList({started, now}));
        QCOMPARE(m_desktop->summaries(), QStringList({u"Review"_s, u"Standup"_s}));
        QVERIFY(acknowledged(now) && acknowledged(started));
        QVERIFY(notifications->canShowReminders());
        QCOMPARE(canShow.size(), 2);
    }

    // A poll while the desktop has answered for one reminder of a batch and
    // not yet for the other shows neither again.
    void pollWhileABatchWaitsShowsNoneTwice()
    {
        const QString first = addEvent(m_state, EventDraft(u"Standup"_s, local(2024, 5, 14, 10, 0)).remind({0}));
        auto notifications = service(local(2024, 5, 14, 10, 0));
        QCOMPARE(settled(notifications.get()).size(), 1); // the service's capabilities are known
        const QString second = addEvent(m_state, EventDraft(u"Review"_s, local(2024, 5, 14, 10, 0)).remind({0}));
        const QString third = addEvent(m_state, EventDraft(u"Lunch"_s, local(2024, 5, 14, 10, 0)).remind({0}));
        QSignalSpy clicked(notifications.get(), &NotificationService::reminderClicked);
        m_desktop->holdAnswerTo = u"Lunch"_s;
        notifications->poll();
        QTRY_COMPARE(m_desktop->shown.size(), 3);
        // A click on it comes after the answer for it.
        m_desktop->click(m_desktop->shown.at(1).id);
        QTRY_COMPARE(clicked.size(), 1);
        QCOMPARE(notifications->poll().size(), 0);
        m_desktop->answerHeld();
        QTRY_VERIFY(!notifications->isDelivering());
        QCOMPARE(m_desktop->summaries(), QStringList({u"Standup"_s, u"Review"_s, u"Lunch"_s}));
        QVERIFY(acknowledged(first) && acknowledged(second) && acknowledged(third));
    }

    // A service that reads the body as markup gets the place escaped, also
    // one that started after the program.
    void bodyMarkup_data()
    {
        QTest::addColumn<bool>("markup");
        QTest::addColumn<bool>("late");
        QTest::addColumn<QString>("body");
        const QString plain = u"Starting now (10:00 AM) \u00b7 <a href=\"https://x.example\">R&D</a>"_s;
        const QString escaped =
            u"Starting now (10:00 AM) \u00b7 &lt;a href=&quot;https://x.example&quot;&gt;R&amp;D&lt;/a&gt;"_s;
        QTest::newRow("plain text: as written") << false << false << plain;
        QTest::newRow("markup: escaped") << true << false << escaped;
        QTest::newRow("markup, the service started late: escaped") << true << true << escaped;
    }
    void bodyMarkup()
    {
        QFETCH(bool, markup);
        QFETCH(bool, late);
        QFETCH(QString, body);
        if (markup)
            m_desktop->capabilities.append(u"body-markup"_s);
        if (late)
            m_desktop->stop();
        const QString place = u"<a href=\"https://x.example\">R&D</a>"_s;
        addEvent(m_state, EventDraft(u"Standup"_s, local(2024, 5, 14, 10, 0)).remind({0}).at(place));
        auto notifications = service(local(2024, 5, 14, 10, 0));
        if (late) {
            QCOMPARE(settled(notifications.get()).size(), 1);
            QVERIFY(m_desktop->start());
        }
        QCOMPARE(settled(notifications.get()).size(), 1);
        QCOMPARE(m_desktop->shown.size(), 1);
        QCOMPARE(m_desktop->shown.first().body, body);
    }

    // The desktop's answer that comes while an import holds the database is
    // written once the import has ended, not into its lock.
    void shownDuringAnImportIsAcknowledgedAfterIt()
    {
        const QString id = addEvent(m_state, EventDraft(u"Standup"_s, local(2024, 5, 14, 10, 0)).remind({15}));
        auto notifications = service(local(2024, 5, 14, 9, 50));
        QCOMPARE(notifications->poll().size(), 1);
        m_state->beginImport();
        QTRY_VERIFY(!notifications->isDelivering());
        QCOMPARE(m_desktop->summaries(), QStringList{u"Standup"_s});
        QVERIFY(!acknowledged(id));
        m_state->endImport();
        QVERIFY(acknowledged(id));
        QCOMPARE(settled(notifications.get()).size(), 0);
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
        const QList<FiredReminder> fired = settled(service(local(2024, 5, 14, 11, 55)).get());
        QCOMPARE(ids(fired), fires ? QStringList({filtered, other}) : QStringList({other}));
        // Silenced or not, a reminder whose moment has passed does not come back.
        QVERIFY(acknowledged(filtered));
    }

    // A rule on the day of the week judges each occurrence of a series by
    // its own day, as the agenda does, not by the series' first one.
    void filterRulesJudgeEachOccurrence_data()
    {
        QTest::addColumn<QString>("days");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<bool>("fires");
        // A daily series from Monday 13 May 2024 at 12:00 local.
        QTest::newRow("weekends hidden: Saturday's occurrence is silent")
            << u"\"sat\",\"sun\""_s << local(2024, 5, 18, 11, 50) << false;
        QTest::newRow("weekends hidden: Friday's occurrence fires")
            << u"\"sat\",\"sun\""_s << local(2024, 5, 17, 11, 50) << true;
        QTest::newRow("Mondays hidden: Tuesday's occurrence fires")
            << u"\"mon\""_s << local(2024, 5, 14, 11, 50) << true;
        QTest::newRow("Mondays hidden: the next Monday's occurrence is silent")
            << u"\"mon\""_s << local(2024, 5, 20, 11, 50) << false;
    }
    void filterRulesJudgeEachOccurrence()
    {
        QFETCH(QString, days);
        QFETCH(QDateTime, now);
        QFETCH(bool, fires);
        QVERIFY(addRule(m_state, uR"({"runtimeType":"time","daysOfWeek":[%1]})"_s.arg(days), u"hide"_s, false));
        const QDateTime monday = local(2024, 5, 13, 12, 0);
        const QString id = addEvent(
            m_state, EventDraft(u"Stand-up"_s, monday, monday.addSecs(900)).remind({15}).repeating(u"FREQ=DAILY"_s));
        QVERIFY(!id.isEmpty());
        QCOMPARE(ids(settled(service(now).get())), fires ? QStringList{id} : QStringList());
    }

    // --- Repeating events: once per occurrence, across DST ---

    void seriesFiresOncePerOccurrence_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<int>("minutes");
        // Each poll, by a freshly started service as after a restart, and the
        // day of the occurrence it must fire for (null: nothing).
        QTest::addColumn<QList<QDateTime>>("polls");
        QTest::addColumn<QList<QDate>>("fired");

        // Spring forward: 10 March (New York) and 31 March (Berlin) 2024.
        const QDateTime monday = local(2024, 3, 4, 10, 0);
        QTest::newRow("weekly at 10:00 local, each week at 09:45 across spring forward")
            << monday << u"FREQ=WEEKLY"_s << 15
            << QList<QDateTime>{local(2024, 3, 4, 9, 45), local(2024, 3, 11, 9, 45), local(2024, 4, 1, 9, 45)}
            << QList<QDate>{QDate(2024, 3, 4), QDate(2024, 3, 11), QDate(2024, 4, 1)};
        QTest::newRow("a second poll of the same occurrence shows nothing")
            << monday << u"FREQ=WEEKLY"_s << 15
            << QList<QDateTime>{local(2024, 3, 11, 9, 45), local(2024, 3, 11, 9, 50)}
            << QList<QDate>{QDate(2024, 3, 11), QDate()};
        QTest::newRow("an hour early after the change is not yet due")
            << monday << u"FREQ=WEEKLY"_s << 15
            << QList<QDateTime>{local(2024, 4, 1, 8, 45), local(2024, 4, 1, 9, 44, 59)}
            << QList<QDate>{QDate(), QDate()};
        QTest::newRow("started 20 minutes into an occurrence: shown late")
            << monday << u"FREQ=WEEKLY"_s << 15 << QList<QDateTime>{local(2024, 3, 18, 10, 20)}
            << QList<QDate>{QDate(2024, 3, 18)};
        QTest::newRow("started 30 minutes into an occurrence: not shown")
            << monday << u"FREQ=WEEKLY"_s << 15 << QList<QDateTime>{local(2024, 3, 18, 10, 30)}
            << QList<QDate>{QDate()};
        // Fall back: 27 October (Berlin) and 3 November (New York) 2024.
        QTest::newRow("daily at 08:00 local, a day ahead, across fall back")
            << local(2024, 10, 20, 8, 0) << u"FREQ=DAILY"_s << 1440
            << QList<QDateTime>{local(2024, 10, 27, 8, 31), local(2024, 11, 3, 8, 31), local(2024, 11, 3, 8, 32)}
            << QList<QDate>{QDate(2024, 10, 28), QDate(2024, 11, 4), QDate()};
        QTest::newRow("after the last of COUNT=2 nothing fires")
            << local(2024, 3, 4, 10, 0) << u"FREQ=WEEKLY;COUNT=2"_s << 15
            << QList<QDateTime>{local(2024, 3, 11, 9, 45), local(2024, 3, 18, 9, 45)}
            << QList<QDate>{QDate(2024, 3, 11), QDate()};
    }
    void seriesFiresOncePerOccurrence()
    {
        QFETCH(QDateTime, start);
        QFETCH(QString, rule);
        QFETCH(int, minutes);
        QFETCH(QList<QDateTime>, polls);
        QFETCH(QList<QDate>, fired);
        const QString id = addEvent(
            m_state, EventDraft(u"Weekly sync"_s, start, start.addSecs(1800)).remind({minutes}).repeating(rule));
        QVERIFY(!id.isEmpty());
        QList<QDate> days;
        for (const QDateTime &now : std::as_const(polls)) {
            const QList<FiredReminder> shown = settled(service(now).get());
            QVERIFY(shown.size() <= 1);
            days.append(shown.isEmpty() ? QDate() : shown.first().date);
            if (!shown.isEmpty()) {
                QCOMPARE(shown.first().eventId, id);
                QCOMPARE(shown.first().body,
                         NotificationService::reminderBody(QDateTime(days.last(), start.time()), false, QString(),
                                                           now));
            }
        }
        QCOMPARE(days, fired);
    }

    // An event repeating by listed dates alone reminds of each date, once.
    void listedDatesRemindOfEach()
    {
        Event listed = makeEvent(EventDraft(u"Clinic"_s, local(2024, 3, 4, 10, 0)).remind({15}));
        listed.recurrence_dates = u"[\"%1\"]"_s.arg(TimeUtil::toIcalUtc(local(2024, 3, 12, 10, 0)));
        QVERIFY(m_state->events()->insert(listed));
        QList<QDate> days;
        for (const QDateTime &now : {local(2024, 3, 4, 9, 45), local(2024, 3, 12, 9, 45), local(2024, 3, 12, 9, 50)}) {
            const QList<FiredReminder> shown = settled(service(now).get());
            QVERIFY(shown.size() <= 1);
            days.append(shown.isEmpty() ? QDate() : shown.first().date);
        }
        QCOMPARE(days, (QList<QDate>{QDate(2024, 3, 4), QDate(2024, 3, 12), QDate()}));
    }

    // An override for this and later occurrences moves their reminders along.
    void anOverrideForLaterOccurrencesRemindsOfThem()
    {
        const QString id = addEvent(
            m_state, EventDraft(u"Weekly sync"_s, local(2024, 3, 4, 10, 0)).remind({15}).repeating(u"FREQ=WEEKLY"_s));
        Event later = makeEvent(EventDraft(u"Later sync"_s, local(2024, 3, 11, 12, 0)).remind({15}));
        const std::optional<Event> series = m_state->events()->getById(id);
        QVERIFY(series);
        later.uid = series->uid;
        later.master_event_uid = series->uid;
        later.recurrence_id = local(2024, 3, 11, 10, 0).toUTC().toString(u"yyyyMMdd'T'HHmmss'Z'"_s);
        later.raw_icalendar = u"BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:%1\r\nRECURRENCE-ID;RANGE=THISANDFUTURE:%2\r\n"
                              "END:VEVENT\r\nEND:VCALENDAR\r\n"_s.arg(later.uid, later.recurrence_id);
        QVERIFY(m_state->events()->insert(later));
        QCOMPARE(service(local(2024, 3, 18, 9, 45))->poll().size(), 0);
        const QList<FiredReminder> shown = service(local(2024, 3, 18, 11, 45))->poll();
        QCOMPARE(ids(shown), QStringList{later.id});
        QCOMPARE(shown.first().title, u"Later sync"_s);
        QCOMPARE(shown.first().date, QDate(2024, 3, 18));
    }

    void longLeadOnAFarSeriesRemindsOfItsFirstOccurrenceOnce()
    {
        // Two months ahead the series is not expanded yet: its own row
        // reminds of the first occurrence. Once expanded, the series must not
        // remind of that occurrence again.
        const QString id = addEvent(
            m_state,
            EventDraft(u"Kickoff"_s, local(2024, 6, 3, 10, 0)).remind({60 * 1440}).repeating(u"FREQ=WEEKLY"_s));
        const QList<FiredReminder> early = settled(service(local(2024, 4, 4, 10, 0)).get());
        QCOMPARE(ids(early), QStringList{id});
        QCOMPARE(early.first().date, QDate(2024, 6, 3));
        QList<QDate> later;
        for (const FiredReminder &reminder : settled(service(local(2024, 6, 3, 9, 50)).get()))
            later.append(reminder.date);
        QVERIFY(!later.isEmpty()); // the weeks after it, overdue
        QVERIFY(!later.contains(QDate(2024, 6, 3)));
    }

    void savingTheSeriesKeepsWhatWasShown()
    {
        const QString id = addEvent(
            m_state, EventDraft(u"Weekly sync"_s, local(2024, 3, 4, 10, 0)).remind({15}).repeating(u"FREQ=WEEKLY"_s));
        auto notifications = service(local(2024, 3, 11, 9, 45));
        QCOMPARE(settled(notifications.get()).size(), 1);
        std::optional<Event> series = m_state->events()->getById(id);
        QVERIFY(series);
        series->title = u"Weekly sync (renamed)"_s;
        QVERIFY(m_state->events()->update(*series));
        QCOMPARE(settled(notifications.get()).size(), 0);
        notifications->setClock([] { return local(2024, 3, 18, 9, 46); });
        const QList<FiredReminder> next = settled(notifications.get());
        QCOMPARE(next.size(), 1);
        QCOMPARE(next.first().title, u"Weekly sync (renamed)"_s);
    }

    // The event form, a pull and a feed write an event's reminders anew,
    // without their ids: one shown stays shown while its moment stays.
    void rewrittenRemindersAreNotShownTwice_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<int>("minutes"); // the lead written anew
        QTest::addColumn<int>("moveMinutes"); // of the start
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<int>("fires");
        QTest::newRow("series written again, same reminder: not shown again")
            << u"FREQ=WEEKLY"_s << 15 << 0 << local(2024, 3, 11, 9, 50) << 0;
        QTest::newRow("series written again with a shorter lead: shown for it")
            << u"FREQ=WEEKLY"_s << 5 << 0 << local(2024, 3, 11, 9, 56) << 1;
        QTest::newRow("one-off written again, same reminder: not shown again")
            << QString() << 15 << 0 << local(2024, 3, 11, 9, 50) << 0;
        QTest::newRow("one-off moved half an hour later: shown before its new start")
            << QString() << 15 << 30 << local(2024, 3, 11, 10, 16) << 1;
    }
    void rewrittenRemindersAreNotShownTwice()
    {
        QFETCH(QString, rule);
        QFETCH(int, minutes);
        QFETCH(int, moveMinutes);
        QFETCH(QDateTime, now);
        QFETCH(int, fires);
        const QDateTime start = rule.isEmpty() ? local(2024, 3, 11, 10, 0) : local(2024, 3, 4, 10, 0);
        const QString id = addEvent(m_state,
                                    EventDraft(u"Sync"_s, start, start.addSecs(1800)).remind({15}).repeating(rule));
        QVERIFY(!id.isEmpty());
        QCOMPARE(settled(service(local(2024, 3, 11, 9, 45)).get()).size(), 1);
        Event event = *m_state->events()->getById(id);
        event.location = u"Room 2"_s;
        event.start_time = event.start_time.addSecs(60 * moveMinutes);
        event.end_time = event.end_time->addSecs(60 * moveMinutes);
        Reminder fresh;
        fresh.minutes_before = minutes;
        fresh.action = u"display"_s;
        event.reminders = {fresh};
        QVERIFY(m_state->events()->update(event));
        QCOMPARE(settled(service(now).get()).size(), fires);
    }

    void movedSeriesFiresAtItsNewTime()
    {
        const QString id = addEvent(
            m_state, EventDraft(u"Weekly sync"_s, local(2024, 3, 4, 10, 0)).remind({15}).repeating(u"FREQ=WEEKLY"_s));
        addEvent(m_state,
                 EventDraft(u"Other series"_s, local(2024, 3, 4, 11, 0)).remind({15}).repeating(u"FREQ=DAILY"_s));
        QDateTime now = local(2024, 3, 11, 8, 0);
        auto notifications = service(now);
        notifications->setClock([&now] { return now; });
        QCOMPARE(settled(notifications.get()).size(), 0);
        std::optional<Event> series = m_state->events()->getById(id);
        QVERIFY(series);
        series->start_time = series->start_time.addSecs(-3600);
        QVERIFY(m_state->events()->update(*series));
        now = local(2024, 3, 11, 8, 45);
        const QList<FiredReminder> fired = settled(notifications.get());
        QCOMPARE(ids(fired), QStringList{id});
        QCOMPARE(fired.first().body, u"In 15 minutes (9:00 AM)"_s);
        now = local(2024, 3, 11, 9, 45);
        QCOMPARE(settled(notifications.get()).size(), 0);
    }

    // --- All-day events: the user's day starts at local midnight ---

    void allDayFiresFromLocalMidnight_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("body"); // empty: nothing fires
        const QDate may1(2024, 5, 1);
        QTest::newRow("at time of event: not at UTC midnight's local time the evening before")
            << QString() << 0 << QDateTime(may1, QTime(0, 0), QTimeZone::utc()).toLocalTime().addSecs(-1) << QString();
        QTest::newRow("at time of event: at local midnight of its day")
            << QString() << 0 << local(2024, 5, 1, 0, 0) << u"Today, all day"_s;
        QTest::newRow("at time of event: a start-up 20 minutes later still shows it")
            << QString() << 0 << local(2024, 5, 1, 0, 20) << u"Today, all day"_s;
        QTest::newRow("at time of event: a start-up 30 minutes later does not")
            << QString() << 0 << local(2024, 5, 1, 0, 30) << QString();
        QTest::newRow("a day before: at local midnight the day before")
            << QString() << 1440 << local(2024, 4, 30, 0, 0) << u"Tomorrow, all day"_s;
        QTest::newRow("a day before: not a minute earlier")
            << QString() << 1440 << local(2024, 4, 29, 23, 59) << QString();
        QTest::newRow("yearly: this year's date at local midnight")
            << u"FREQ=YEARLY"_s << 0 << local(2026, 5, 1, 0, 5) << u"Today, all day"_s;
    }
    void allDayFiresFromLocalMidnight()
    {
        QFETCH(QString, rule);
        QFETCH(int, minutes);
        QFETCH(QDateTime, now);
        QFETCH(QString, body);
        const QDate day(2024, 5, 1);
        addEvent(m_state,
                 EventDraft(u"Holiday"_s, utcDate(day), utcDate(day.addDays(1)))
                     .remind({minutes})
                     .wholeDay()
                     .repeating(rule));
        auto notifications = service(now);
        QSignalSpy clicked(notifications.get(), &NotificationService::reminderClicked);
        const QList<FiredReminder> fired = settled(notifications.get());
        QCOMPARE(fired.isEmpty() ? QString() : fired.first().body, body);
        if (body.isEmpty())
            return;
        const QDate shownDay = rule.isEmpty() ? day : QDate(now.date().year(), 5, 1);
        QCOMPARE(fired.first().date, shownDay);
        m_desktop->click(m_desktop->shown.first().id);
        QTRY_COMPARE(clicked.size(), 1);
        QCOMPARE(clicked.first().at(1).toDate(), shownDay);
    }

    // An all-day occurrence is a date: its reminder, shown before the system
    // zone changed or noted by its local midnight (as earlier versions noted
    // it: no zone before), is not shown again.
    void allDayShownOnceAcrossAChangeOfZone_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("moved west") << "Europe/Berlin"_ba << "America/New_York"_ba;
        QTest::newRow("moved east") << "America/New_York"_ba << "Europe/Berlin"_ba;
        QTest::newRow("noted by its local midnight") << QByteArray() << "Europe/Berlin"_ba;
    }
    void allDayShownOnceAcrossAChangeOfZone()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        const QDate day(2024, 5, 1);
        const QString id = addEvent(m_state, EventDraft(u"Rota"_s, utcDate(day), utcDate(day.addDays(1)))
                                                 .remind({1440})
                                                 .wholeDay()
                                                 .repeating(u"FREQ=DAILY"_s));
        const QDateTime now(QDate(2024, 5, 9), QTime(10, 0), QTimeZone::utc()); // the day before 10 May in both
        std::optional<SystemZone> zone(std::in_place, before.isEmpty() ? after : before);
        if (before.isEmpty())
            QVERIFY(OccurrenceAcks(m_state->database())
                        .acknowledge({{m_state->events()->getById(id)->reminders.first().id,
                                       QDate(2024, 5, 10).startOfDay()}}));
        else
            QCOMPARE(ids(settled(service(now).get())), QStringList{id});
        zone.emplace(after);
        QCOMPARE(settled(service(now.addSecs(60)).get()).size(), 0);
    }

    void firstPollRunsSoonAfterStart()
    {
        // In UTC: a local wall clock in the hour repeated when daylight saving
        // ends would read back an hour early, its start long past.
        const QString id = addEvent(m_state,
                                    EventDraft(u"Soon"_s, QDateTime::currentDateTimeUtc().addSecs(600)).remind({15}));
        NotificationService notifications(m_state, nullptr);
        QTRY_VERIFY_WITH_TIMEOUT(acknowledged(id), 5000);
    }
};

QTEST_MAIN(TestNotificationService)
#include "tst_notificationservice.moc"
