#include "appstatefixture.h"
#include "calendarrepository.h"
#include "database.h"
#include "eventdetailspopover.h"
#include "eventrepository.h"
#include "icalendar.h"
#include "mainwindow.h"
#include "modalscript.h"
#include "theme.h"
#include "timetext.h"
#include "timeutil.h"
#include "trayfixture.h"
#include "weekagenda.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTest>

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString kPersonal = u"quillmarten-personal-default"_s;
const QDate kWednesday(2030, 1, 9);

Event makeEvent(const QString &title, const QDateTime &start, const QDateTime &end, bool allDay = false)
{
    Event e;
    e.id = u"ev-"_s + title;
    e.uid = e.id;
    e.calendar_id = kPersonal;
    e.title = title;
    e.start_time = start;
    e.end_time = end;
    e.is_all_day = allDay;
    e.created = QDateTime::currentDateTimeUtc();
    e.last_modified = e.created;
    e.raw_icalendar = ICalendar::serializeEvent(e);
    return e;
}

QDateTime local(int day, int hour, int minute = 0)
{
    return QDateTime(QDate(2030, 1, day), QTime(hour, minute));
}

QDateTime utcMidnight(int day)
{
    return TimeUtil::utc(QDate(2030, 1, day));
}

} // namespace

class TestWeekAgenda : public QObject
{
    Q_OBJECT
private:
    std::unique_ptr<AppStateFixture> m_fixture;

    AppState *state() const { return m_fixture->state(); }

    // "yyyy-MM-dd title" of every event row, in list order; dimmed rows
    // end in " (dimmed)".
    static QStringList rows(const WeekAgenda &agenda) { return rows(agenda.list()); }
    static QStringList rows(const QListWidget *list)
    {
        QStringList out;
        for (int i = 0; i < list->count(); ++i) {
            const QListWidgetItem *item = list->item(i);
            if (item->data(Qt::UserRole).toString().isEmpty())
                continue;
            QString row = item->data(Qt::UserRole + 1).toDate().toString(Qt::ISODate) + u' '
                + item->text().section(u"   "_s, 1);
            if (item->foreground().color() == Theme::textMuted())
                row += u" (dimmed)"_s;
            out << row;
        }
        return out;
    }

private Q_SLOTS:
    void init()
    {
        m_fixture = std::make_unique<AppStateFixture>();
        QVERIFY(m_fixture->start());
        state()->setCurrentDate(kWednesday);
    }
    void cleanup() { m_fixture.reset(); }

    void listsTheWeekDayByDay_data()
    {
        QTest::addColumn<QList<Event>>("events");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("all-day event on its stored date, whatever the zone")
            << QList<Event>{makeEvent(u"Holiday"_s, utcMidnight(8), utcMidnight(9), true)}
            << QStringList{u"2030-01-08 Holiday"_s};
        QTest::newRow("three-day all-day event on each of its days")
            << QList<Event>{makeEvent(u"Conference"_s, utcMidnight(9), utcMidnight(12), true)}
            << QStringList{u"2030-01-09 Conference"_s, u"2030-01-10 Conference"_s, u"2030-01-11 Conference"_s};
        QTest::newRow("overnight event on both days") << QList<Event>{makeEvent(u"Flight"_s, local(8, 22), local(9, 1))}
                                                      << QStringList{u"2030-01-08 Flight"_s, u"2030-01-09 Flight"_s};
        QTest::newRow("event ending at midnight stays on its day")
            << QList<Event>{makeEvent(u"Late show"_s, local(8, 23), local(9, 0))}
            << QStringList{u"2030-01-08 Late show"_s};
        QTest::newRow("all-day rows first, then by start")
            << QList<Event>{makeEvent(u"Lunch"_s, local(9, 12), local(9, 13)),
                            makeEvent(u"Breakfast"_s, local(9, 8), local(9, 9)),
                            makeEvent(u"Birthday"_s, utcMidnight(9), utcMidnight(10), true)}
            << QStringList{u"2030-01-09 Birthday"_s, u"2030-01-09 Breakfast"_s, u"2030-01-09 Lunch"_s};
        QTest::newRow("events outside the week are not listed")
            << QList<Event>{makeEvent(u"Before"_s, local(6, 10), local(6, 11)),
                            makeEvent(u"After"_s, local(14, 10), local(14, 11))}
            << QStringList{};
    }
    void listsTheWeekDayByDay()
    {
        QFETCH(QList<Event>, events);
        QFETCH(QStringList, expected);
        for (const Event &e : std::as_const(events))
            QVERIFY(state()->events()->insert(e));
        WeekAgenda agenda(state());
        QCOMPARE(agenda.weekStart(), QDate(2030, 1, 7)); // Monday under the C locale
        QCOMPARE(rows(agenda), expected);

        // Shown first and read in the next turn: the same rows.
        WeekAgenda later(state(), nullptr, WeekAgenda::FirstLoad::AfterShown);
        const auto *laterList = later.findChild<QListWidget *>();
        QCOMPARE(laterList->count(), 0);
        later.show();
        QTRY_VERIFY(laterList->count() > 0);
        QCOMPARE(rows(later), expected);
    }

    // Each day's rows as the list shows them: a span over several days from
    // its start, going on, until its end, each seen from where it enters the
    // day; one order however the rows were stored.
    void rowsShowHowEachDayIsCovered_data()
    {
        QTest::addColumn<QDate>("current");
        QTest::addColumn<QList<Event>>("events");
        QTest::addColumn<QStringList>("expected");
        const auto at = [](const QDate &day, int hour, int minute = 0) { return QDateTime(day, QTime(hour, minute)); };
        const QDate marSat(2030, 3, 9), marSun(2030, 3, 10), octSat(2030, 10, 26), octSun(2030, 10, 27);

        QTest::newRow("overnight: from its start, until its end")
            << kWednesday << QList<Event>{makeEvent(u"Flight"_s, local(8, 22), local(9, 1))}
            << QStringList{u"2030-01-08 From 22:00   Flight"_s, u"2030-01-09 Until 01:00   Flight"_s};
        QTest::newRow("a continuing event is seen from the day's start")
            << kWednesday
            << QList<Event>{makeEvent(u"Breakfast"_s, local(9, 7, 45), local(9, 8, 15)),
                            makeEvent(u"Trip"_s, local(8, 9), local(9, 10))}
            << QStringList{u"2030-01-08 From 09:00   Trip"_s, u"2030-01-09 Until 10:00   Trip"_s,
                           u"2030-01-09 07:45 – 08:15   Breakfast"_s};
        QTest::newRow("whole days in between, and one ending at midnight, after all-day rows")
            << kWednesday
            << QList<Event>{makeEvent(u"Retreat"_s, local(7, 20), local(10, 0)),
                            makeEvent(u"Holiday"_s, utcMidnight(8), utcMidnight(9), true)}
            << QStringList{u"2030-01-07 From 20:00   Retreat"_s, u"2030-01-08 All day   Holiday"_s,
                           u"2030-01-08 Continues all day   Retreat"_s, u"2030-01-09 Continues all day   Retreat"_s};
        QTest::newRow("begun before the week")
            << kWednesday << QList<Event>{makeEvent(u"Voyage"_s, local(5, 20), local(8, 9))}
            << QStringList{u"2030-01-07 Continues all day   Voyage"_s, u"2030-01-08 Until 09:00   Voyage"_s};
        QTest::newRow("within one day: its times")
            << kWednesday << QList<Event>{makeEvent(u"Late show"_s, local(8, 23), local(9, 0))}
            << QStringList{u"2030-01-08 23:00 – 00:00   Late show"_s};
        QTest::newRow("same start: all-day by end and title, timed by end, title and id")
            << kWednesday
            << QList<Event>{makeEvent(u"Review"_s, local(12, 10), local(12, 11)),
                            makeEvent(u"Call"_s, local(12, 10), local(12, 10, 30)),
                            makeEvent(u"apple tasting"_s, local(12, 10), local(12, 11)),
                            makeEvent(u"Conference"_s, utcMidnight(11), utcMidnight(14), true),
                            makeEvent(u"Birthday"_s, utcMidnight(12), utcMidnight(13), true),
                            makeEvent(u"Anniversary"_s, utcMidnight(12), utcMidnight(13), true)}
            << QStringList{u"2030-01-11 All day   Conference"_s,   u"2030-01-12 All day   Anniversary"_s,
                           u"2030-01-12 All day   Birthday"_s,     u"2030-01-12 All day   Conference"_s,
                           u"2030-01-12 10:00 – 10:30   Call"_s,   u"2030-01-12 10:00 – 11:00   apple tasting"_s,
                           u"2030-01-12 10:00 – 11:00   Review"_s, u"2030-01-13 All day   Conference"_s};
        // Spring forward in New York on 10 March, in Berlin on 31 March;
        // back in Berlin on 27 October.
        QTest::newRow("across spring forward (New York)")
            << marSun << QList<Event>{makeEvent(u"Night shift"_s, at(marSat, 22), at(marSun, 6))}
            << QStringList{u"2030-03-09 From 22:00   Night shift"_s, u"2030-03-10 Until 06:00   Night shift"_s};
        QTest::newRow("across spring forward (Berlin)")
            << QDate(2030, 3, 31)
            << QList<Event>{makeEvent(u"Night shift"_s, at(QDate(2030, 3, 30), 22), at(QDate(2030, 3, 31), 6))}
            << QStringList{u"2030-03-30 From 22:00   Night shift"_s, u"2030-03-31 Until 06:00   Night shift"_s};
        QTest::newRow("across fall back (Berlin)")
            << octSun
            << QList<Event>{makeEvent(u"Early"_s, at(octSun, 0, 30), at(octSun, 0, 45)),
                            makeEvent(u"Party"_s, at(octSat, 23), at(octSun, 4))}
            << QStringList{u"2030-10-26 From 23:00   Party"_s, u"2030-10-27 Until 04:00   Party"_s,
                           u"2030-10-27 00:30 – 00:45   Early"_s};
    }
    void rowsShowHowEachDayIsCovered()
    {
        QFETCH(QDate, current);
        QFETCH(QList<Event>, events);
        QFETCH(QStringList, expected);
        // Stored in the table's order, then in the reverse one.
        for (int round = 0; round < 2; ++round) {
            if (round == 1) {
                m_fixture = std::make_unique<AppStateFixture>();
                QVERIFY(m_fixture->start());
                std::reverse(events.begin(), events.end());
            }
            state()->setCurrentDate(current);
            for (const Event &e : std::as_const(events))
                QVERIFY(state()->events()->insert(e));
            WeekAgenda agenda(state());
            QStringList shown;
            for (int i = 0; i < agenda.list()->count(); ++i) {
                const QListWidgetItem *item = agenda.list()->item(i);
                if (!item->data(Qt::UserRole).toString().isEmpty())
                    shown << item->data(Qt::UserRole + 1).toDate().toString(Qt::ISODate) + u' ' + item->text();
            }
            QCOMPARE(shown, expected);
        }
    }

    // A busy week is read on a thread of its own: only the last week asked
    // for is shown, as read at once, with the selected event's row current.
    void weekReadWhileAnotherIsUnderWay_data()
    {
        QTest::addColumn<QList<int>>("days"); // current dates set in turn, in January
        QTest::addColumn<bool>("writeDuring"); // an event added to the last week meanwhile
        QTest::addColumn<QDate>("shownWeek");
        QTest::addColumn<QString>("current");
        QTest::newRow("to the next week") << QList<int>{16} << false << QDate(2030, 1, 14) << u"ev-Next"_s;
        QTest::newRow("on and back before the read came")
            << QList<int>{16, 9} << false << QDate(2030, 1, 7) << QString();
        QTest::newRow("two weeks on in turn") << QList<int>{16, 23} << false << QDate(2030, 1, 21) << QString();
        QTest::newRow("a write while the read is under way")
            << QList<int>{16} << true << QDate(2030, 1, 14) << u"ev-Next"_s;
    }
    void weekReadWhileAnotherIsUnderWay()
    {
        QFETCH(QList<int>, days);
        QFETCH(bool, writeDuring);
        QFETCH(QDate, shownWeek);
        QFETCH(QString, current);
        for (const int day : {9, 16, 17, 23})
            QVERIFY(
                state()->events()->insert(makeEvent(u"Day "_s + QString::number(day), local(day, 9), local(day, 10))));
        // Busy weeks from 7 January on: 300 short events a day, after the others.
        QVERIFY(QSqlQuery(state()->database()->database())
                    .exec(u"WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 10499) "
                          "INSERT INTO events (id, calendar_id, uid, title, start_time, end_time, raw_icalendar) "
                          "SELECT 'busy' || i, '%1', 'busy' || i, 'Busy', strftime('%Y-%m-%dT%H:%M:%SZ', "
                          "'2030-01-07 20:00', (i % 35) || ' days', (i / 35) || ' seconds'), "
                          "strftime('%Y-%m-%dT%H:%M:%SZ', '2030-01-07 20:05', (i % 35) || ' days', (i / 35) || "
                          "' seconds'), '' FROM n"_s.arg(kPersonal)));
        QVERIFY(state()->events()->insert(makeEvent(u"Next"_s, local(15, 12), local(15, 13))));
        state()->setSelectedEventId(u"ev-Next"_s);
        WeekAgenda agenda(state());
        const auto *list = agenda.findChild<QListWidget *>(); // not read at once, as list() would
        QSignalSpy shown(&agenda, &WeekAgenda::weekShown);
        for (const int day : std::as_const(days))
            state()->setCurrentDate(QDate(2030, 1, day));
        if (writeDuring) {
            QVERIFY(state()->events()->insert(makeEvent(u"Added"_s, local(18, 8), local(18, 9))));
            agenda.reload();
        }
        QTRY_VERIFY(!shown.isEmpty());
        QCOMPARE(shown.at(0).at(0).toDate(), shownWeek);
        const QListWidgetItem *currentItem = list->currentItem();
        QCOMPARE(currentItem ? currentItem->data(Qt::UserRole).toString() : QString(), current);
        const QStringList listed = rows(list);
        QCOMPARE(listed.contains(u"2030-01-18 Added"_s), writeDuring);
        WeekAgenda atOnce(state());
        QCOMPARE(listed, rows(atOnce));
        // Reads come back in order: one of a week left before the last
        // shows up before the next week's.
        state()->setCurrentDate(QDate(2030, 2, 6));
        QTRY_COMPARE(shown.last().at(0).toDate(), QDate(2030, 2, 4));
        QSet<QDate> weeks;
        for (const QList<QVariant> &signal : std::as_const(shown))
            weeks.insert(signal.at(0).toDate());
        QCOMPARE(weeks, (QSet<QDate>{shownWeek, QDate(2030, 2, 4)}));
    }

    void repeatingEventsAreExpanded()
    {
        Event standup = makeEvent(u"Standup"_s, local(1, 9), local(1, 9, 15));
        standup.recurrence_rule = u"FREQ=DAILY;BYDAY=MO,TU,WE,TH,FR"_s;
        standup.raw_icalendar = ICalendar::serializeEvent(standup);
        QVERIFY(state()->events()->insert(standup));
        WeekAgenda agenda(state());
        QCOMPARE(rows(agenda),
                 (QStringList{u"2030-01-07 Standup"_s, u"2030-01-08 Standup"_s, u"2030-01-09 Standup"_s,
                              u"2030-01-10 Standup"_s, u"2030-01-11 Standup"_s}));
    }

    // A day shows at most 100 rows, the earliest, and says how many more.
    void busyDaysAreBounded_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<int>("series");
        QTest::addColumn<int>("rowsPerDay");
        QTest::addColumn<QString>("moreText"); // %1 the count, in the locale's digits
        QTest::addColumn<int>("more");
        QTest::newRow("every hour: all 24 rows") << u"FREQ=HOURLY"_s << 2 << 48 << QString() << 0;
        QTest::newRow("every minute: 100 rows and the rest counted")
            << u"FREQ=MINUTELY"_s << 1 << 100 << u"%1 more on this day"_s << 1340;
        QTest::newRow("20 series of every second: 100 rows, counting stops")
            << u"FREQ=SECONDLY"_s << 20 << 100 << u"At least %1 more on this day"_s << 41900;
        QTest::newRow("10 series every 10 minutes: the earliest rows of all")
            << u"FREQ=MINUTELY;INTERVAL=10"_s << 10 << 100 << u"%1 more on this day"_s << 1340;
    }
    void busyDaysAreBounded()
    {
        QFETCH(QString, rule);
        QFETCH(int, series);
        QFETCH(int, rowsPerDay);
        QFETCH(QString, moreText);
        QFETCH(int, more);
        for (int i = 0; i < series; ++i) {
            Event busy = makeEvent(u"Busy "_s + QString::number(i), local(1, 0), local(1, 0).addSecs(1));
            busy.recurrence_rule = rule;
            busy.raw_icalendar = ICalendar::serializeEvent(busy);
            QVERIFY(state()->events()->insert(busy));
        }
        WeekAgenda agenda(state());
        QHash<QDate, int> perDay;
        QStringList moreLines;
        for (int i = 0; i < agenda.list()->count(); ++i) {
            const QListWidgetItem *item = agenda.list()->item(i);
            if (!item->data(Qt::UserRole).toString().isEmpty())
                ++perDay[item->data(Qt::UserRole + 1).toDate()];
            else if (item->text().contains(u"more"_s))
                moreLines.append(item->text());
        }
        for (QDate day(2030, 1, 7); day <= QDate(2030, 1, 13); day = day.addDays(1))
            QCOMPARE(perDay.value(day), rowsPerDay);
        QCOMPARE(moreLines, more == 0 ? QStringList() : QStringList(7, moreText.arg(QLocale().toString(more))));
        // The first row of a day is its first occurrence.
        QCOMPARE(agenda.list()->item(1)->text().section(u"   "_s, 0, 0).section(u" – "_s, 0, 0),
                 TimeText::shortTime(QTime(0, 0)));

        // The selected event's row of the current date is scrolled into
        // view, however far down the week it is listed.
        agenda.resize(320, 240);
        agenda.show();
        QVERIFY(QTest::qWaitForWindowExposed(&agenda));
        state()->setCurrentDate(QDate(2030, 1, 13));
        state()->setSelectedEventId(u"ev-Busy 0"_s);
        agenda.reload();
        const QListWidgetItem *current = agenda.list()->currentItem();
        QVERIFY(current);
        QCOMPARE(current->data(Qt::UserRole + 1).toDate(), QDate(2030, 1, 13));
        QVERIFY(agenda.list()->viewport()->rect().intersects(agenda.list()->visualItemRect(current)));
    }

    void filterRulesHideAndDim()
    {
        QVERIFY(state()->events()->insert(makeEvent(u"Secret meeting"_s, local(9, 10), local(9, 11))));
        QVERIFY(state()->events()->insert(makeEvent(u"Optional sync"_s, local(9, 12), local(9, 13))));
        QVERIFY(state()->events()->insert(makeEvent(u"Review"_s, local(9, 14), local(9, 15))));
        WeekAgenda agenda(state());
        QCOMPARE(rows(agenda).size(), 3);

        QVERIFY(TrayFixture::addRule(state(), TrayFixture::titleContains(u"Secret"_s), u"hide"_s, false));
        QVERIFY(TrayFixture::addRule(state(), TrayFixture::titleContains(u"Optional"_s), u"dim"_s, false));
        // The agenda follows the rules as they change.
        QCOMPARE(rows(agenda), (QStringList{u"2030-01-09 Optional sync (dimmed)"_s, u"2030-01-09 Review"_s}));
    }

    void hiddenCalendarsAreLeftOut()
    {
        QVERIFY(state()->events()->insert(makeEvent(u"Private"_s, local(9, 10), local(9, 11))));
        Calendar personal = *state()->calendars()->getById(kPersonal);
        personal.is_visible = false;
        QVERIFY(state()->calendars()->update(personal));
        WeekAgenda agenda(state());
        QCOMPARE(rows(agenda), QStringList{});
        QCOMPARE(agenda.list()->count(), 1); // the "no events" line

        // The agenda follows the current date to its week.
        state()->setCurrentDate(QDate(2030, 2, 14));
        QCOMPARE(agenda.weekStart(), QDate(2030, 2, 11));
    }

    // A row opens its own occurrence's details, whose Edit and Delete reach
    // that occurrence (not the series' first) in the scope chosen; the list
    // holds light rows, but Edit hands on the whole record (reminders,
    // attendees, text) at the occurrence's time.
    void rowOpensItsOccurrence_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("scopeButton");
        QTest::addColumn<QStringList>("expected");
        const QString weekdays = u"FREQ=DAILY;BYDAY=MO,TU,WE,TH,FR"_s;
        const QString mon = u"2030-01-07 Standup"_s, tue = u"2030-01-08 Standup"_s, wed = u"2030-01-09 Standup"_s,
                      fri = u"2030-01-11 Standup"_s;
        QTest::newRow("delete Thursday only")
            << weekdays << u"delete"_s << u"thisEvent"_s << QStringList{mon, tue, wed, fri};
        QTest::newRow("delete Thursday and the following")
            << weekdays << u"delete"_s << u"thisAndFollowing"_s << QStringList{mon, tue, wed};
        QTest::newRow("edit Thursday only")
            << weekdays << u"edit"_s << u"thisEvent"_s << QStringList{mon, tue, wed, u"2030-01-10 Retro"_s, fri};
        QTest::newRow("edit a one-off on Thursday")
            << QString() << u"edit"_s << QString() << QStringList{u"2030-01-10 Retro"_s};
    }
    void rowOpensItsOccurrence()
    {
        QFETCH(QString, rule);
        QFETCH(QString, action);
        QFETCH(QString, scopeButton);
        QFETCH(QStringList, expected);
        Event standup = makeEvent(u"Standup"_s, local(rule.isEmpty() ? 10 : 1, 9),
                                  local(rule.isEmpty() ? 10 : 1, 9, 15));
        standup.recurrence_rule = rule;
        standup.description = u"Bring the figures"_s;
        Reminder reminder;
        reminder.minutes_before = 10;
        standup.reminders = {reminder};
        Attendee attendee;
        attendee.email = u"ann@example.org"_s;
        standup.attendees = {attendee};
        standup.raw_icalendar = ICalendar::serializeEvent(standup);
        QVERIFY(state()->events()->insert(standup));
        MainWindow window(state());
        window.show();
        WeekAgenda &agenda = *window.agenda();
        QSignalSpy edits(&agenda, &WeekAgenda::editRequested);
        QListWidget *list = agenda.list();
        const QList<QListWidgetItem *> standups = list->findItems(u"Standup"_s, Qt::MatchContains);
        QCOMPARE(standups.size(), rule.isEmpty() ? 1 : 5);
        QListWidgetItem *thursday = standups.at(rule.isEmpty() ? 0 : 3);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(thursday).center());
        auto *card = window.findChild<EventDetailsPopover *>();
        QVERIFY(card);
        QVERIFY(card->isVisible());

        ModalScript script;
        if (!scopeButton.isEmpty()) {
            script.on(action == u"edit"_s ? u"Edit Recurring Event"_s : u"Delete Recurring Event"_s,
                      [scopeButton](QWidget *w) { ModalScript::click(w->findChild<QPushButton *>(scopeButton)); });
        }
        if (action == u"edit"_s) {
            script.on(u"Edit Event"_s, [](QWidget *w) {
                auto *title = w->findChild<QLineEdit *>(u"title"_s);
                title->selectAll();
                QTest::keyClicks(title, u"Retro"_s);
                ModalScript::click(w->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok));
            });
        }
        ModalScript::click(card->findChild<QPushButton *>(action));
        QTRY_VERIFY2(script.done(), qPrintable(script.seen().join(u", "_s)));
        QTRY_COMPARE(rows(agenda), expected);
        if (action != u"edit"_s)
            return;
        QCOMPARE(edits.size(), 1);
        const Event edited = edits.at(0).at(0).value<Event>();
        QCOMPARE(edited.id, standup.id);
        QCOMPARE(edited.start_time.toLocalTime(), local(10, 9));
        QCOMPARE(edited.description, standup.description);
        QCOMPARE(edited.reminders.size(), 1);
        QCOMPARE(edited.attendees.size(), 1);
        QVERIFY(!edited.raw_icalendar.isEmpty());
    }

    void timesInTheLocalesShortForm_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::newRow("C: 24 hours, no seconds") << u"C"_s << u"09:00 – 09:30   Breakfast"_s;
        QTest::newRow("US English: 12 hours") << u"en_US"_s << u"9:00 AM – 9:30 AM   Breakfast"_s;
    }
    void timesInTheLocalesShortForm()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        const QLocale previous;
        QLocale::setDefault(QLocale(locale));
        QVERIFY(state()->events()->insert(makeEvent(u"Breakfast"_s, local(9, 9), local(9, 9, 30))));
        WeekAgenda agenda(state());
        QLocale::setDefault(previous);
        const QList<QListWidgetItem *> rows = agenda.list()->findItems(u"Breakfast"_s, Qt::MatchContains);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first()->text(), text);
    }
};

QTEST_MAIN(TestWeekAgenda)
#include "tst_weekagenda.moc"
