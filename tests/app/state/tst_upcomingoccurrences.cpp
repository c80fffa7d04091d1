#include "appstatefixture.h"

#include "eventrepository.h"
#include "icalendar.h"
#include "timeutil.h"
#include "upcomingoccurrences.h"

#include <QSqlQuery>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const auto kPersonal = u"quillmarten-personal-default"_s;

// Mornings before a day that changes the clock: 31 March 2024 in Berlin,
// 3 November 2024 in New York.
const QList<QDate> kTodays = {QDate(2024, 3, 30), QDate(2024, 11, 2)};

QDateTime local(const QDate &today, int dayOffset, const QTime &time)
{
    return QDateTime(today.addDays(dayOffset), time);
}

Event timedEvent(const QString &id, const QDateTime &start, const std::optional<QDateTime> &end,
                 const QString &calendar = kPersonal)
{
    Event e;
    e.id = e.uid = id;
    e.calendar_id = calendar;
    e.title = id;
    e.start_time = start;
    e.end_time = end;
    e.created = e.last_modified = QDateTime::currentDateTimeUtc();
    e.raw_icalendar = ICalendar::serializeEvent(e);
    return e;
}

// All-day events are stored on their dates as midnight UTC.
Event allDayEvent(const QString &id, const QDate &first, const QDate &last)
{
    Event e = timedEvent(id, TimeUtil::utc(first), TimeUtil::utc(last.addDays(1)));
    e.is_all_day = true;
    e.raw_icalendar = ICalendar::serializeEvent(e);
    return e;
}

QStringList titles(const QList<Event> &events)
{
    QStringList result;
    for (const Event &e : events)
        result.append(e.title);
    return result;
}

void exec(AppState *state, const QString &statement)
{
    QSqlQuery query(state->database()->database());
    QVERIFY2(query.exec(statement), qPrintable(statement));
}

} // namespace

class TestUpcomingOccurrences : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void window_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<Event>("event");
        QTest::addColumn<bool>("listed");

        for (const QDate &today : kTodays) {
            const auto row = [&today](const char *name) -> QTestData & {
                return QTest::addRow("%s (%s)", name, qPrintable(today.toString(Qt::ISODate)));
            };
            const auto at = [&today](int day, int h, int m, int s = 0) { return local(today, day, QTime(h, m, s)); };
            // now is 09:30 of today
            row("meeting 09:00-10:00 is listed at 09:30")
                << today << timedEvent(u"m"_s, at(0, 9, 0), at(0, 10, 0)) << true;
            row("meeting that ends at 09:30 exactly is gone")
                << today << timedEvent(u"m"_s, at(0, 8, 30), at(0, 9, 30)) << false;
            row("no end, starts later today") << today << timedEvent(u"m"_s, at(0, 17, 0), std::nullopt) << true;
            row("no end, started this morning") << today << timedEvent(u"m"_s, at(0, 8, 0), std::nullopt) << false;
            row("tomorrow 23:59:58 is still in")
                << today << timedEvent(u"m"_s, at(1, 23, 59, 58), at(2, 0, 30)) << true;
            row("tomorrow 23:59:59 is outside")
                << today << timedEvent(u"m"_s, at(1, 23, 59, 59), at(2, 0, 30)) << false;
            row("all-day today stays listed all day") << today << allDayEvent(u"m"_s, today, today) << true;
            row("all-day from yesterday until tomorrow starts outside")
                << today << allDayEvent(u"m"_s, today.addDays(-1), today.addDays(1)) << false;
        }
    }
    void window()
    {
        QFETCH(QDate, today);
        QFETCH(Event, event);
        QFETCH(bool, listed);
        AppStateFixture fixture;
        AppState *state = fixture.start();
        QVERIFY(state);
        QVERIFY(state->events()->insert(event));
        const QDateTime now(today, QTime(9, 30));
        QCOMPARE(upcomingOccurrences(state, now).size(), listed ? 1 : 0);
        QCOMPARE(nextUpcomingOccurrence(state, now).has_value(), listed);
    }

    void seriesAreExpandedAndSorted()
    {
        AppStateFixture fixture;
        AppState *state = fixture.start();
        QVERIFY(state);
        const QDate today = kTodays.first();
        const QDateTime now(today, QTime(9, 30));
        // Daily at 18:00 in Berlin since last week, except tomorrow.
        Event series = timedEvent(u"Gym"_s, local(today, -7, QTime(18, 0)), local(today, -7, QTime(19, 0)));
        series.recurrence_rule = u"FREQ=DAILY"_s;
        series.exception_dates = u"[\"%1\"]"_s.arg(TimeUtil::toIcalUtc(local(today, 1, QTime(18, 0))));
        QVERIFY(state->events()->insert(series));
        QVERIFY(state->events()->insert(timedEvent(u"Dinner"_s, local(today, 1, QTime(19, 0)), std::nullopt)));
        QVERIFY(state->events()->insert(
            timedEvent(u"Standup"_s, local(today, 0, QTime(10, 0)), local(today, 0, QTime(10, 15)))));
        QVERIFY(state->events()->insert(allDayEvent(u"Trip"_s, today.addDays(1), today.addDays(1))));
        // Tomorrow's all-day event comes after all of today, also west of UTC.
        QVERIFY(state->events()->insert(
            timedEvent(u"Call"_s, local(today, 0, QTime(21, 0)), local(today, 0, QTime(21, 30)))));

        const QList<Event> upcoming = upcomingOccurrences(state, now);
        QCOMPARE(titles(upcoming), (QStringList{u"Standup"_s, u"Gym"_s, u"Call"_s, u"Trip"_s, u"Dinner"_s}));
        QCOMPARE(upcoming.at(1).start_time, local(today, 0, QTime(18, 0)));
        // Late in the evening only tomorrow is left.
        QCOMPARE(titles(upcomingOccurrences(state, QDateTime(today, QTime(23, 0)))),
                 (QStringList{u"Trip"_s, u"Dinner"_s}));
    }

    // One of every second since midnight: the next one is the one at hand,
    // and a series gives no more than a list can show.
    void aSeriesOfEverySecondGivesTheNextOne()
    {
        AppStateFixture fixture;
        AppState *state = fixture.start();
        QVERIFY(state);
        const QDate today = kTodays.first();
        Event busy = timedEvent(u"Busy"_s, local(today, 0, QTime(0, 0)), local(today, 0, QTime(0, 0, 1)));
        busy.recurrence_rule = u"FREQ=SECONDLY"_s;
        QVERIFY(state->events()->insert(busy));
        const QDateTime now(today, QTime(9, 30));
        const QList<Event> upcoming = upcomingOccurrences(state, now);
        QCOMPARE(upcoming.size(), 100);
        QCOMPARE(upcoming.first().start_time, now);
    }

    void filterRulesHideButDimmedStay()
    {
        AppStateFixture fixture;
        AppState *state = fixture.start();
        QVERIFY(state);
        const QDate today = kTodays.first();
        for (const QString &title : {u"Lunch"_s, u"Standup"_s, u"Review"_s})
            QVERIFY(state->events()->insert(
                timedEvent(title, local(today, 0, QTime(12, 0)), local(today, 0, QTime(13, 0)))));
        exec(state,
             u"INSERT INTO filter_rules (id, name, type, conditions, action) VALUES "
             "('r1', 'No lunch', 'pattern', '{\"runtimeType\":\"pattern\",\"titleContains\":[\"lunch\"]}', "
             "'hide'), ('r2', 'Quiet standups', 'pattern', "
             "'{\"runtimeType\":\"pattern\",\"titleContains\":[\"standup\"]}', 'dim'), "
             "('r3', 'Disabled', 'pattern', '{\"runtimeType\":\"pattern\",\"titleContains\":[\"review\"]}', "
             "'hide')"_s);
        exec(state, u"UPDATE filter_rules SET enabled = 0 WHERE id = 'r3'"_s);
        QStringList listed = titles(upcomingOccurrences(state, QDateTime(today, QTime(9, 30))));
        listed.sort();
        QCOMPARE(listed, (QStringList{u"Review"_s, u"Standup"_s}));
    }

    void calendarsThatCount()
    {
        AppStateFixture fixture;
        fixture.prepare({u"INSERT INTO accounts (id, name, type) VALUES ('dav', 'Work', 'caldav')"_s,
                         u"INSERT INTO calendars (id, account_id, url, name, is_visible, sort_order) VALUES "
                         "('b', 'dav', 'u-b', 'Beta', 1, 1), ('a', 'dav', 'u-a', 'Alpha', 1, 1), "
                         "('h', 'dav', 'u-h', 'Hidden', 0, 0)"_s,
                         u"INSERT INTO calendar_views (id, name, calendar_ids) VALUES "
                         "('g-hidden', 'Hidden only', '[\"h\"]'), ('g-order', 'Ordered', '[\"b\", \"a\", 7]'), "
                         "('g-broken', 'Broken', '{\"h\": true}')"_s});
        AppState *state = fixture.start();
        QVERIFY(state);
        // The seeded group lists none: the visible calendars in repository order.
        QCOMPARE(upcomingCalendarIds(state), (QStringList{kPersonal, u"a"_s, u"b"_s}));
        state->setActiveViewId(u"g-order"_s);
        QCOMPARE(upcomingCalendarIds(state), (QStringList{u"b"_s, u"a"_s, QString()}));
        state->setActiveViewId(u"g-broken"_s);
        QCOMPARE(upcomingCalendarIds(state), (QStringList{kPersonal, u"a"_s, u"b"_s}));

        // A group that names a hidden calendar counts it.
        const QDate today = kTodays.first();
        QVERIFY(state->events()->insert(
            timedEvent(u"secret"_s, local(today, 0, QTime(15, 0)), local(today, 0, QTime(16, 0)), u"h"_s)));
        const QDateTime now(today, QTime(9, 30));
        QCOMPARE(upcomingOccurrences(state, now).size(), 0);
        state->setActiveViewId(u"g-hidden"_s);
        QCOMPARE(titles(upcomingOccurrences(state, now)), QStringList{u"secret"_s});

        // No group and nothing visible: nothing at all.
        state->setActiveViewId(u"gone"_s);
        exec(state, u"UPDATE calendars SET is_visible = 0"_s);
        QCOMPARE(upcomingCalendarIds(state), QStringList());
        QCOMPARE(upcomingOccurrences(state, now), QList<Event>());
        QCOMPARE(nextUpcomingOccurrence(state, now), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(TestUpcomingOccurrences)
#include "tst_upcomingoccurrences.moc"
