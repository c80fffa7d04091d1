#include "modalscript.h"
#include "occurrencedeletion.h"
#include "recurringedit.h"
#include "recurringeditscopedialog.h"
#include "ruleuntil.h"
#include "seriesfixture.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLoggingCategory>
#include <QPushButton>
#include <QSet>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QDateTime kFrom = local(2026, 3, 1);
const QDateTime kTo = local(2026, 4, 13);

QStringList minutes(const QList<Reminder> &reminders)
{
    QStringList list;
    for (const Reminder &r : reminders)
        list.append(QString::number(r.minutes_before));
    list.sort();
    return list;
}

QSet<QString> childIds(const Event &e)
{
    QSet<QString> ids;
    for (const Reminder &r : e.reminders)
        ids.insert(r.id);
    for (const Attendee &a : e.attendees)
        ids.insert(a.id);
    return ids;
}

std::optional<Event> rowOtherThan(const QList<Event> &rows, const QString &id)
{
    for (const Event &e : rows) {
        if (e.id != id)
            return e;
    }
    return std::nullopt;
}

QString utcText(const QDateTime &dt)
{
    return TimeUtil::toIcalUtc(dt);
}

} // namespace

class TestRecurringEdit : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLoggingCategory::setFilterRules(u"calendar.store.info=false"_s); }

    void endSeriesBefore_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<bool>("allDay");
        QTest::addColumn<QString>("expected");
        QTest::newRow("lower-case UNTIL replaced in its place")
            << u"FREQ=MONTHLY;until=20270101T000000Z;BYMONTHDAY=5"_s << false
            << u"FREQ=MONTHLY;UNTIL=20260316T085959Z;BYMONTHDAY=5"_s;
        QTest::newRow("lower-case COUNT dropped, other parts keep their case")
            << u"freq=daily;count=3"_s << false << u"freq=daily;UNTIL=20260316T085959Z"_s;
        QTest::newRow("all-day series end on a date")
            << u"FREQ=DAILY;COUNT=9"_s << true << u"FREQ=DAILY;UNTIL=20260316"_s;
        QTest::newRow("without UNTIL: appended after every other part")
            << u"FREQ=WEEKLY;X-MARK=1;BYDAY=MO;X-NOTE=a"_s << false
            << u"FREQ=WEEKLY;X-MARK=1;BYDAY=MO;X-NOTE=a;UNTIL=20260316T085959Z"_s;
        QTest::newRow("an empty rule becomes the UNTIL part alone")
            << QString() << false << u"UNTIL=20260316T085959Z"_s;
    }
    void endSeriesBefore()
    {
        QFETCH(QString, rule);
        QFETCH(bool, allDay);
        QFETCH(QString, expected);
        QCOMPARE(::endSeriesBefore(rule, TimeUtil::utc(QDate(2026, 3, 16), QTime(8, 59, 59)), allDay), expected);
    }

    // Closing the prompt any way but a scope button edits nothing (the
    // buttons themselves are driven in the editing scenario).
    void scopePromptClosed_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("cancel") << false;
        QTest::newRow("escape") << true;
    }
    void scopePromptClosed()
    {
        QFETCH(bool, escape);
        RecurringEditScopeDialog prompt(u"Standup"_s);
        ModalScript script;
        script.on(u"Edit Recurring Event"_s, [escape](QWidget *modal) {
            if (escape)
                QTest::keyClick(modal, Qt::Key_Escape);
            else
                ModalScript::click(modal->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel));
        });
        QCOMPARE(prompt.exec(), int(QDialog::Rejected));
        QVERIFY(script.done());
        QCOMPARE(prompt.scope(), RecurringEditScope::None);
    }

    void nothingWrittenWithoutScope()
    {
        SeriesFixture store;
        const Event series = store.insertSeries(u"FREQ=WEEKLY;BYDAY=MO"_s, local(2026, 3, 2, 9));
        QVERIFY(applyRecurringEdit(store.events, series, local(2026, 3, 9, 9), local(2026, 3, 9, 10), std::nullopt,
                                   RecurringEditScope::None));
        QVERIFY(!applyRecurringEdit(store.events, series, local(2026, 3, 9, 9), local(2026, 3, 9, 10), std::nullopt,
                                    RecurringEditScope(7)));
        QVERIFY(!applyRecurringEdit(nullptr, series, local(2026, 3, 9, 9), local(2026, 3, 9, 10), std::nullopt,
                                    RecurringEditScope::ThisEvent));
        QCOMPARE(*store.events->getById(series.id), series);
        QCOMPARE(store.rows().size(), 1);
    }

    // The override lives in the series' resource under the series' UID, so
    // that a server sees one series with one exception.
    void thisEventOnly()
    {
        SeriesFixture store;
        const Event series = store.insertSeries(u"FREQ=WEEKLY;BYDAY=MO"_s, local(2026, 3, 2, 9));
        QVERIFY(applyRecurringEdit(store.events, series, local(2026, 3, 16, 9), local(2026, 3, 17, 11),
                                   local(2026, 3, 17, 12), RecurringEditScope::ThisEvent));

        QCOMPARE(store.starts(kFrom, kTo),
                 QStringList({u"2026-03-02 09:00"_s, u"2026-03-09 09:00"_s, u"2026-03-17 11:00"_s,
                              u"2026-03-23 09:00"_s, u"2026-03-30 09:00"_s, u"2026-04-06 09:00"_s}));
        const QList<Event> rows = store.rows();
        QCOMPARE(rows.size(), 2);
        QCOMPARE(*store.events->getById(series.id), series);
        const Event override = *rowOtherThan(rows, series.id);
        QCOMPARE(override.uid, series.uid);
        QCOMPARE(override.master_event_uid, series.uid);
        QCOMPARE(override.recurrence_id, utcText(local(2026, 3, 16, 9)));
        QCOMPARE(override.href, series.href);
        QCOMPARE(override.sync_status, u"pending"_s);
        QCOMPARE(minutes(override.reminders), QStringList({u"15"_s, u"60"_s}));
        QCOMPARE(override.attendees.size(), 1);
        QVERIFY(!childIds(override).intersects(childIds(series)));
        const Event text = ICalendar::parseEvents(override.raw_icalendar).value(0);
        QCOMPARE(text.uid, series.uid);
        QCOMPARE(text.recurrence_id, override.recurrence_id);
        QCOMPARE(text.start_time, local(2026, 3, 17, 11));

        // The same occurrence moved again reuses its override.
        QVERIFY(overrideOccurrence(store.events, series, local(2026, 3, 16, 9), local(2026, 3, 18, 8),
                                   local(2026, 3, 18, 9)));
        QCOMPARE(store.rows().size(), 2);
        QCOMPARE(store.events->getById(override.id)->start_time, local(2026, 3, 18, 8));
        QVERIFY(store.starts(kFrom, kTo).contains(u"2026-03-18 08:00"_s));
    }

    void thisAndFollowing_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QDateTime>("occurrence");
        QTest::addColumn<QString>("oldRule");
        QTest::addColumn<QString>("newRule"); // empty: no new series
        QTest::addColumn<QStringList>("starts");

        const QString cutoff = utcText(local(2026, 3, 16, 9).addSecs(-1));
        const QStringList early = {u"2026-03-02 09:00"_s, u"2026-03-09 09:00"_s};
        QTest::newRow("no end: the new series has none either")
            << u"FREQ=WEEKLY;BYDAY=MO"_s << local(2026, 3, 16, 9) << u"FREQ=WEEKLY;BYDAY=MO;UNTIL="_s + cutoff
            << u"FREQ=WEEKLY;BYDAY=MO"_s
            << early
                + QStringList{u"2026-03-16 10:00"_s, u"2026-03-23 10:00"_s, u"2026-03-30 10:00"_s,
                              u"2026-04-06 10:00"_s};
        QTest::newRow("COUNT: the new series gets what remained")
            << u"FREQ=WEEKLY;BYDAY=MO;COUNT=4"_s << local(2026, 3, 16, 9) << u"FREQ=WEEKLY;BYDAY=MO;UNTIL="_s + cutoff
            << u"FREQ=WEEKLY;BYDAY=MO;COUNT=2"_s << early + QStringList{u"2026-03-16 10:00"_s, u"2026-03-23 10:00"_s};
        const QString until = RuleUntil::value(QDate(2026, 3, 30), QTimeZone::systemTimeZone());
        QTest::newRow("UNTIL stays") << u"FREQ=WEEKLY;UNTIL="_s + until + u";BYDAY=MO"_s << local(2026, 3, 16, 9)
                                     << u"FREQ=WEEKLY;UNTIL="_s + cutoff + u";BYDAY=MO"_s
                                     << u"FREQ=WEEKLY;UNTIL="_s + until + u";BYDAY=MO"_s
                                     << early
                + QStringList{u"2026-03-16 10:00"_s, u"2026-03-23 10:00"_s, u"2026-03-30 10:00"_s};
        QTest::newRow("unreadable UNTIL: kept as written, a rule that gives its first start alone")
            << u"FREQ=WEEKLY;BYDAY=MO;UNTIL=soon"_s << local(2026, 3, 16, 9)
            << u"FREQ=WEEKLY;BYDAY=MO;UNTIL="_s + cutoff << u"FREQ=WEEKLY;BYDAY=MO;UNTIL=soon"_s
            << early + QStringList{u"2026-03-16 10:00"_s};
        QTest::newRow("nothing remained: no new series")
            << u"FREQ=WEEKLY;BYDAY=MO;COUNT=2"_s << local(2026, 3, 16, 9) << u"FREQ=WEEKLY;BYDAY=MO;UNTIL="_s + cutoff
            << QString() << early;
        QTest::newRow("at the first occurrence: the whole series")
            << u"FREQ=WEEKLY;BYDAY=MO;COUNT=3"_s << local(2026, 3, 2, 9) << u"FREQ=WEEKLY;BYDAY=MO;COUNT=3"_s
            << QString() << QStringList{u"2026-03-02 10:00"_s, u"2026-03-09 10:00"_s, u"2026-03-16 10:00"_s};
    }
    void thisAndFollowing()
    {
        QFETCH(QString, rule);
        QFETCH(QDateTime, occurrence);
        QFETCH(QString, oldRule);
        QFETCH(QString, newRule);
        QFETCH(QStringList, starts);
        SeriesFixture store;
        const Event series = store.insertSeries(rule, local(2026, 3, 2, 9));
        QVERIFY(applyRecurringEdit(store.events, series, occurrence, occurrence.addSecs(3600), occurrence.addSecs(7200),
                                   RecurringEditScope::ThisAndFollowing));

        QCOMPARE(store.starts(kFrom, kTo), starts);
        const Event old = *store.events->getById(series.id);
        QCOMPARE(old.recurrence_rule, oldRule);
        QCOMPARE(old.sequence, series.sequence + 1);
        QCOMPARE(old.sync_status, u"pending"_s);
        QCOMPARE(ICalendar::parseEvents(old.raw_icalendar).first().recurrence_rule, oldRule);
        const QList<Event> rows = store.rows();
        QCOMPARE(rows.size(), newRule.isEmpty() ? 1 : 2);
        if (newRule.isEmpty())
            return;
        const Event next = *rowOtherThan(rows, series.id);
        QCOMPARE(next.recurrence_rule, newRule);
        QVERIFY(next.uid != series.uid);
        QCOMPARE(next.href, QString());
        QCOMPARE(minutes(next.reminders), QStringList({u"15"_s, u"60"_s}));
        QVERIFY(!childIds(next).intersects(childIds(series)));
        const Event text = ICalendar::parseEvents(next.raw_icalendar).first();
        QCOMPARE(text.uid, next.uid);
        QCOMPARE(text.recurrence_rule, newRule);
    }

    // Overrides, exclusions and added dates after the split follow the new
    // series; nothing shows twice and nothing excluded comes back.
    void splitTakesLaterExceptionsAlong()
    {
        SeriesFixture store;
        Event series = store.series(u"FREQ=WEEKLY;BYDAY=MO"_s, local(2026, 3, 2, 9));
        series.exception_dates = u"[\"%1\",\"%2\"]"_s.arg(utcText(local(2026, 3, 9, 9)), utcText(local(2026, 4, 6, 9)));
        series.raw_icalendar = ICalendar::serializeEvent(series);
        QVERIFY(store.events->insert(series));
        series = *store.events->getById(series.id);
        QVERIFY(overrideOccurrence(store.events, series, local(2026, 3, 23, 9), local(2026, 3, 24, 12),
                                   local(2026, 3, 24, 13)));
        QVERIFY(overrideOccurrence(store.events, series, local(2026, 3, 2, 9), local(2026, 3, 3, 12),
                                   local(2026, 3, 3, 13)));

        QVERIFY(
            splitSeries(store.events, series, local(2026, 3, 16, 9), local(2026, 3, 16, 10), local(2026, 3, 16, 11)));
        QCOMPARE(store.starts(kFrom, kTo),
                 QStringList(
                     {u"2026-03-03 12:00"_s, u"2026-03-16 10:00"_s, u"2026-03-24 12:00"_s, u"2026-03-30 10:00"_s}));
        const QList<Event> rows = store.rows();
        QCOMPARE(rows.size(), 4);
        for (const Event &row : rows) {
            if (row.isOverride() && row.start_time == local(2026, 3, 24, 12)) {
                QVERIFY(row.master_event_uid != series.uid);
                QCOMPARE(row.uid, row.master_event_uid);
                QCOMPARE(row.recurrence_id, utcText(local(2026, 3, 23, 10)));
            }
        }
    }

    void allEvents()
    {
        SeriesFixture store;
        Event series = store.series(u"FREQ=WEEKLY;BYDAY=MO"_s, local(2026, 3, 2, 9));
        series.exception_dates = u"[\"%1\"]"_s.arg(utcText(local(2026, 3, 30, 9)));
        series.raw_icalendar = ICalendar::serializeEvent(series);
        QVERIFY(store.events->insert(series));
        series = *store.events->getById(series.id);
        QVERIFY(overrideOccurrence(store.events, series, local(2026, 3, 23, 9), local(2026, 3, 24, 12),
                                   local(2026, 3, 24, 13)));

        // Moved an hour later from an occurrence after the change of time.
        QVERIFY(applyRecurringEdit(store.events, series, local(2026, 4, 6, 9), local(2026, 4, 6, 10),
                                   local(2026, 4, 6, 11), RecurringEditScope::AllEvents));
        QCOMPARE(store.starts(kFrom, kTo),
                 QStringList({u"2026-03-02 10:00"_s, u"2026-03-09 10:00"_s, u"2026-03-16 10:00"_s,
                              u"2026-03-24 12:00"_s, u"2026-04-06 10:00"_s}));
        const Event shifted = *store.events->getById(series.id);
        QCOMPARE(shifted.start_time, local(2026, 3, 2, 10));
        QCOMPARE(shifted.end_time, local(2026, 3, 2, 11));
        QCOMPARE(ICalendar::parseEvents(shifted.raw_icalendar).first().start_time, local(2026, 3, 2, 10));

        // A resize keeps the start and takes the occurrence's new length.
        QVERIFY(applyToAllOccurrences(store.events, shifted, local(2026, 3, 9, 10), local(2026, 3, 9, 10),
                                      local(2026, 3, 9, 10, 30)));
        const Event resized = *store.events->getById(series.id);
        QCOMPARE(resized.start_time, local(2026, 3, 2, 10));
        QCOMPARE(resized.end_time, local(2026, 3, 2, 10, 30));
        QCOMPARE(store.rows().size(), 2);
    }

    // A deleted all-day occurrence is excluded by its own date, wherever the
    // series holds its midnight (providers held the machine's).
    void deletingAnAllDayOccurrenceExcludesItsDate_data()
    {
        QTest::addColumn<bool>("localMidnight");
        QTest::newRow("held at 00:00 UTC") << false;
        QTest::newRow("held at the machine's midnight") << true;
    }
    void deletingAnAllDayOccurrenceExcludesItsDate()
    {
        QFETCH(bool, localMidnight);
        SeriesFixture store;
        Event series = store.series(u"FREQ=WEEKLY;BYDAY=MO"_s, local(2026, 3, 2), 0, true);
        if (localMidnight) {
            series.start_time = local(2026, 3, 2);
            series.end_time = local(2026, 3, 3);
        }
        QVERIFY(store.events->insert(series));
        const QList<Event> shown = Recurrence::expandEvents({series}, local(2026, 3, 15), local(2026, 3, 18));
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().recurrence_id, u"20260316"_s);
        QVERIFY(OccurrenceDeletion::remove(store.events, shown.first(), RecurringEditScope::ThisEvent));
        const Event stored = *store.events->getById(series.id);
        QCOMPARE(stored.exception_dates, u"[\"20260316\"]"_s);
        QVERIFY(Recurrence::expandEvents({stored}, local(2026, 3, 15), local(2026, 3, 18)).isEmpty());
    }

    void allDaySeries()
    {
        SeriesFixture store;
        const Event series = store.insertSeries(u"FREQ=WEEKLY;BYDAY=MO"_s, local(2026, 3, 2), 0, true);
        const QDateTime monday16 = EventWrites::allDayTime(QDate(2026, 3, 16));
        QVERIFY(overrideOccurrence(store.events, series, monday16, monday16.addDays(2), monday16.addDays(3)));
        const Event override = *rowOtherThan(store.rows(), series.id);
        QCOMPARE(override.recurrence_id, u"20260316"_s);
        QVERIFY(override.raw_icalendar.contains(u"RECURRENCE-ID;VALUE=DATE:20260316"_s));
        QCOMPARE(ICalendar::parseEvents(override.raw_icalendar).first().recurrence_id, override.recurrence_id);

        const QDateTime monday23 = EventWrites::allDayTime(QDate(2026, 3, 23));
        QVERIFY(splitSeries(store.events, series, monday23, monday23.addDays(1), monday23.addDays(2)));
        QCOMPARE(store.events->getById(series.id)->recurrence_rule, u"FREQ=WEEKLY;BYDAY=MO;UNTIL=20260322"_s);
        // Moved to Tuesday, the new series repeats on Tuesdays.
        bool found = false;
        for (const Event &row : store.rows()) {
            if (row.id != series.id && !row.isOverride()) {
                QCOMPARE(row.recurrence_rule, u"FREQ=WEEKLY;BYDAY=TU"_s);
                found = true;
            }
        }
        QVERIFY(found);
        QCOMPARE(store.starts(kFrom, kTo),
                 QStringList({u"2026-03-02"_s, u"2026-03-09"_s, u"2026-03-18"_s, u"2026-03-24"_s, u"2026-03-31"_s,
                              u"2026-04-07"_s}));
    }

    // An all-day series whose UTC end another client wrote, split and moved a
    // day later: its last day moves with it, east and west of UTC.
    void allDaySplitKeepsTheLastDay_data()
    {
        QTest::addColumn<QString>("until");
        QTest::newRow("UTC midnight") << u"20260330T000000Z"_s;
        QTest::newRow("midnight in Berlin") << u"20260325T230000Z"_s;
        QTest::newRow("midnight in New York") << u"20260326T040000Z"_s;
    }
    void allDaySplitKeepsTheLastDay()
    {
        QFETCH(QString, until);
        SeriesFixture store;
        const Event series = store.insertSeries(u"FREQ=DAILY;UNTIL="_s + until, local(2026, 3, 2), 0, true);
        const QDate last = QDate::fromString(store.starts(kFrom, kTo).last(), u"yyyy-MM-dd"_s);
        const QDateTime day16 = EventWrites::allDayTime(QDate(2026, 3, 16));
        QVERIFY(splitSeries(store.events, series, day16, day16.addDays(1), day16.addDays(2)));
        QCOMPARE(store.starts(kFrom, kTo).last(), last.addDays(1).toString(u"yyyy-MM-dd"_s));
    }

    // A second "This event only" on the same occurrence updates the row that
    // already replaces it, also one that carries a uid of its own.
    void thisEventReusesItsOverride_data()
    {
        QTest::addColumn<bool>("ownUid");
        QTest::newRow("override under the series' uid") << false;
        QTest::newRow("override with a uid of its own") << true;
    }
    void thisEventReusesItsOverride()
    {
        QFETCH(bool, ownUid);
        SeriesFixture store;
        const Event series = store.insertSeries(u"FREQ=WEEKLY;BYDAY=MO"_s, local(2026, 3, 2, 9));
        QVERIFY(overrideOccurrence(store.events, series, local(2026, 3, 16, 9), local(2026, 3, 17, 11),
                                   local(2026, 3, 17, 12)));
        Event held = *rowOtherThan(store.rows(), series.id);
        if (ownUid) {
            held.uid = held.id;
            QVERIFY(store.events->update(held));
        }

        QVERIFY(overrideOccurrence(store.events, series, local(2026, 3, 16, 9), local(2026, 3, 18, 8),
                                   local(2026, 3, 18, 9)));
        const QList<Event> rows = store.rows();
        QCOMPARE(rows.size(), 2);
        const Event moved = *rowOtherThan(rows, series.id);
        QCOMPARE(moved.id, held.id);
        QCOMPARE(moved.uid, held.uid);
        QCOMPARE(moved.recurrence_id, utcText(local(2026, 3, 16, 9)));
        QCOMPARE(store.starts(local(2026, 3, 16), local(2026, 3, 21)), QStringList{u"2026-03-18 08:00"_s});
    }

    // Rows made from a series keep the series' own zone, not the caller's
    // local time, so that their text and fields name the same wall clock.
    void newRowsKeepTheSeriesZone_data()
    {
        QTest::addColumn<int>("scope");
        QTest::addColumn<QString>("zone");
        QTest::newRow("this event only, Berlin") << int(RecurringEditScope::ThisEvent) << u"Europe/Berlin"_s;
        QTest::newRow("this and following, Berlin") << int(RecurringEditScope::ThisAndFollowing) << u"Europe/Berlin"_s;
        QTest::newRow("this event only, a series held in UTC") << int(RecurringEditScope::ThisEvent) << u"UTC"_s;
        QTest::newRow("this and following, a series held in UTC")
            << int(RecurringEditScope::ThisAndFollowing) << u"UTC"_s;
    }
    void newRowsKeepTheSeriesZone()
    {
        QFETCH(int, scope);
        QFETCH(QString, zone);
        const QTimeZone own(zone.toUtf8());
        SeriesFixture store;
        Event series = store.series(u"FREQ=WEEKLY;BYDAY=MO"_s, QDateTime(QDate(2026, 3, 2), QTime(10, 0), own));
        series.timezone = zone;
        series.raw_icalendar = ICalendar::serializeEvent(series);
        QVERIFY(store.events->insert(series));
        series = *store.events->getById(series.id);

        const QDateTime occurrence(QDate(2026, 3, 16), QTime(10, 0), own);
        const QDateTime newStart = occurrence.addSecs(3600).toLocalTime();
        QVERIFY(applyRecurringEdit(store.events, series, occurrence, newStart, newStart.addSecs(3600),
                                   RecurringEditScope(scope)));
        const Event made = *rowOtherThan(store.rows(), series.id);
        QCOMPARE(made.start_time, newStart);
        QCOMPARE(TimeUtil::representation(made.start_time), TimeUtil::representation(series.start_time));
        QCOMPARE(made.timezone, series.timezone);
        const Event text = ICalendar::parseEvents(made.raw_icalendar).first();
        QCOMPARE(TimeUtil::representation(text.start_time), TimeUtil::representation(series.start_time));
        if (RecurringEditScope(scope) != RecurringEditScope::ThisAndFollowing)
            return;
        // 11:00 in its zone on both sides of Berlin's change of time (29 March).
        QStringList wallClock;
        for (const Event &o : Recurrence::expandEvent(made, made.start_time, made.start_time.addDays(21)))
            wallClock.append(o.start_time.toTimeZone(own).toString(u"MM-dd HH:mm"_s));
        QCOMPARE(wallClock, (QStringList{u"03-16 11:00"_s, u"03-23 11:00"_s, u"03-30 11:00"_s}));
    }

    // What the event form writes when a series' start moves: the rule names
    // the new day the way it named the old one, so that rule and start agree.
    void movedStartRewritesTheRule_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QStringList>("first");
        QTest::newRow("second Tuesday to third Thursday")
            << u"FREQ=MONTHLY;BYDAY=2TU"_s << QDate(2026, 3, 10) << QDate(2026, 3, 19) << u"FREQ=MONTHLY;BYDAY=3TH"_s
            << QStringList{u"2026-03-19"_s, u"2026-04-16"_s, u"2026-05-21"_s};
        QTest::newRow("last Friday to last Monday")
            << u"FREQ=MONTHLY;BYDAY=-1FR"_s << QDate(2026, 3, 27) << QDate(2026, 3, 30) << u"FREQ=MONTHLY;BYDAY=-1MO"_s
            << QStringList{u"2026-03-30"_s, u"2026-04-27"_s, u"2026-05-25"_s};
        QTest::newRow("the 31st to the 1st of the next month")
            << u"FREQ=MONTHLY;BYMONTHDAY=31"_s << QDate(2026, 1, 31) << QDate(2026, 2, 1)
            << u"FREQ=MONTHLY;BYMONTHDAY=1"_s << QStringList{u"2026-02-01"_s, u"2026-03-01"_s, u"2026-04-01"_s};
        QTest::newRow("the 29th to the 28th")
            << u"FREQ=MONTHLY;BYMONTHDAY=29"_s << QDate(2026, 1, 29) << QDate(2026, 1, 28)
            << u"FREQ=MONTHLY;BYMONTHDAY=28"_s << QStringList{u"2026-01-28"_s, u"2026-02-28"_s, u"2026-03-28"_s};
        QTest::newRow("last day to the day before it")
            << u"FREQ=MONTHLY;BYMONTHDAY=-1"_s << QDate(2026, 3, 31) << QDate(2026, 3, 30)
            << u"FREQ=MONTHLY;BYMONTHDAY=-2"_s << QStringList{u"2026-03-30"_s, u"2026-04-29"_s, u"2026-05-30"_s};
        QTest::newRow("fourth Thursday of November to first of December")
            << u"FREQ=YEARLY;BYMONTH=11;BYDAY=4TH"_s << QDate(2026, 11, 26) << QDate(2026, 12, 3)
            << u"FREQ=YEARLY;BYMONTH=12;BYDAY=1TH"_s << QStringList{u"2026-12-03"_s, u"2027-12-02"_s, u"2028-12-07"_s};
        QTest::newRow("a weekday of the year keeps its number")
            << u"FREQ=YEARLY;BYDAY=20MO"_s << QDate(2026, 5, 18) << QDate(2026, 5, 19) << u"FREQ=YEARLY;BYDAY=20TU"_s
            << QStringList{u"2026-05-19"_s, u"2027-05-18"_s, u"2028-05-16"_s};
        QTest::newRow("weekly days move along")
            << u"FREQ=WEEKLY;BYDAY=MO,WE"_s << QDate(2026, 3, 2) << QDate(2026, 3, 3) << u"FREQ=WEEKLY;BYDAY=TU,TH"_s
            << QStringList{u"2026-03-03"_s, u"2026-03-05"_s, u"2026-03-10"_s};
    }
    void movedStartRewritesTheRule()
    {
        QFETCH(QString, rule);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QString, expected);
        QFETCH(QStringList, first);
        SeriesFixture store;
        const QDateTime start(from, QTime(9, 0), Qt::LocalTime);
        const Event series = store.insertSeries(rule, start);
        Event edited = series;
        edited.start_time = QDateTime(to, QTime(9, 0), Qt::LocalTime);
        edited.end_time = edited.start_time.addSecs(3600);
        QVERIFY(updateEdited(store.events, series, edited));

        const Event moved = *store.events->getById(series.id);
        QCOMPARE(moved.recurrence_rule, expected);
        QCOMPARE(ICalendar::parseEvents(moved.raw_icalendar).first().recurrence_rule, expected);
        QStringList dates;
        for (const Event &o : Recurrence::expandEvent(moved, moved.start_time, moved.start_time.addDays(1200)))
            dates.append(o.start_time.date().toString(Qt::ISODate));
        QCOMPARE(dates.mid(0, 3), first);
    }

    // A series' start moved in the form takes its excluded and added dates
    // and its overrides along: nothing shows twice, nothing excluded returns.
    void movedStartTakesExceptionsAlong()
    {
        SeriesFixture store;
        Event series = store.series(u"FREQ=WEEKLY;BYDAY=MO"_s, local(2026, 3, 2, 9));
        series.exception_dates = u"[\"%1\"]"_s.arg(utcText(local(2026, 3, 9, 9)));
        series.recurrence_dates = u"[\"%1\"]"_s.arg(utcText(local(2026, 3, 25, 9)));
        series.raw_icalendar = ICalendar::serializeEvent(series);
        QVERIFY(store.events->insert(series));
        series = *store.events->getById(series.id);
        QVERIFY(overrideOccurrence(store.events, series, local(2026, 3, 16, 9), local(2026, 3, 17, 11),
                                   local(2026, 3, 17, 12)));

        Event edited = series;
        edited.start_time = local(2026, 3, 3, 10);
        edited.end_time = local(2026, 3, 3, 11);
        QVERIFY(updateEdited(store.events, series, edited));
        QCOMPARE(store.starts(kFrom, kTo),
                 QStringList({u"2026-03-03 10:00"_s, u"2026-03-17 11:00"_s, u"2026-03-24 10:00"_s,
                              u"2026-03-26 10:00"_s, u"2026-03-31 10:00"_s, u"2026-04-07 10:00"_s}));
        const Event moved = *store.events->getById(series.id);
        QCOMPARE(moved.recurrence_rule, u"FREQ=WEEKLY;BYDAY=TU"_s);
        QCOMPARE(moved.exception_dates, u"[\"%1\"]"_s.arg(utcText(local(2026, 3, 10, 10))));
        const Event override = *rowOtherThan(store.rows(), series.id);
        QCOMPARE(override.recurrence_id, utcText(local(2026, 3, 17, 10)));
        QCOMPARE(override.sync_status, u"pending"_s);
    }

    // A series whose UNTIL is its last start (as several clients write it)
    // keeps every occurrence when a drag or the event form (`edited`) moves
    // it, by either scope that moves the series, across the change of time
    // of the zone the test runs in. Not moved, by any scope, nothing is
    // written: no override, no split, no new sequence.
    void movesKeepTheCount_data()
    {
        QTest::addColumn<QString>("until");
        QTest::addColumn<int>("scope");
        QTest::addColumn<bool>("edited");
        QTest::addColumn<int>("minutes"); // the move
        QTest::addColumn<QDateTime>("last"); // the last start after it
        const QString onLastStart = utcText(local(2026, 4, 20, 9));
        const QString endOfDay = RuleUntil::value(QDate(2026, 4, 20), QTimeZone::systemTimeZone());
        const int all = int(RecurringEditScope::AllEvents);
        const int following = int(RecurringEditScope::ThisAndFollowing);
        QTest::newRow("on the last start, all, an hour later")
            << onLastStart << all << false << 60 << local(2026, 4, 20, 10);
        QTest::newRow("on the last start, all, a day earlier")
            << onLastStart << all << false << -1440 << local(2026, 4, 19, 9);
        QTest::newRow("on the last start, following, an hour later")
            << onLastStart << following << false << 60 << local(2026, 4, 20, 10);
        QTest::newRow("on the last start, form, all, an hour later")
            << onLastStart << all << true << 60 << local(2026, 4, 20, 10);
        QTest::newRow("on the last start, form, following, a day later")
            << onLastStart << following << true << 1440 << local(2026, 4, 21, 9);
        QTest::newRow("a date, all, a day later") << u"20260420"_s << all << false << 1440 << local(2026, 4, 21, 9);
        QTest::newRow("a date, following, 15 hours later")
            << u"20260420"_s << following << false << 900 << local(2026, 4, 21, 0);
        QTest::newRow("the end of a day, form, following, 15 hours later")
            << endOfDay << following << true << 900 << local(2026, 4, 21, 0);
        for (const int scope : {int(RecurringEditScope::ThisEvent), following, all}) {
            QTest::addRow("not moved, scope %d, drag", scope)
                << onLastStart << scope << false << 0 << local(2026, 4, 20, 9);
            QTest::addRow("not moved, scope %d, form", scope)
                << onLastStart << scope << true << 0 << local(2026, 4, 20, 9);
        }
    }
    void movesKeepTheCount()
    {
        QFETCH(QString, until);
        QFETCH(int, scope);
        QFETCH(bool, edited);
        QFETCH(int, minutes);
        QFETCH(QDateTime, last);
        SeriesFixture store;
        const Event series = store.insertSeries(u"FREQ=WEEKLY;BYDAY=MO;UNTIL="_s + until, local(2026, 3, 2, 9));
        const QDateTime from = local(2026, 2, 1), to = local(2026, 6, 1);
        QCOMPARE(store.starts(from, to).size(), 8);
        // The form moves the series' own start for all events.
        const QDateTime occurrence = local(2026, 3, scope == int(RecurringEditScope::AllEvents) ? 2 : 16, 9);
        Event moved = series;
        moved.start_time = occurrence.addSecs(minutes * 60);
        moved.end_time = moved.start_time.addSecs(3600);
        QVERIFY(edited ? editOccurrence(store.events, series, occurrence, moved, RecurringEditScope(scope))
                       : applyRecurringEdit(store.events, series, occurrence, moved.start_time, moved.end_time,
                                            RecurringEditScope(scope)));
        const QStringList starts = store.starts(from, to);
        QCOMPARE(starts.size(), 8);
        QCOMPARE(starts.last(), last.toString(u"yyyy-MM-dd HH:mm"_s));
        if (minutes == 0)
            QCOMPARE(store.rows(), QList<Event>{series});
    }

    // The form may make one occurrence, or it and the following ones, timed
    // in an all-day series or all-day in a timed one: the rows made take the
    // times, days and end the form gave them, not the series' kind.
    void changeOfKind_data()
    {
        QTest::addColumn<bool>("allDaySeries");
        QTest::addColumn<int>("scope");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("all-day series, one made timed")
            << true << int(RecurringEditScope::ThisEvent)
            << QStringList{u"2026-03-09"_s, u"2026-03-16 10:00"_s, u"2026-03-23"_s, u"2026-03-30"_s};
        QTest::newRow("all-day series, following made timed")
            << true << int(RecurringEditScope::ThisAndFollowing)
            << QStringList{u"2026-03-09"_s, u"2026-03-16 10:00"_s, u"2026-03-23 10:00"_s, u"2026-03-30 10:00"_s};
        QTest::newRow("timed series, one made all-day")
            << false << int(RecurringEditScope::ThisEvent)
            << QStringList{u"2026-03-09 09:00"_s, u"2026-03-16"_s, u"2026-03-23 09:00"_s, u"2026-03-30 09:00"_s};
        QTest::newRow("timed series, following made all-day")
            << false << int(RecurringEditScope::ThisAndFollowing)
            << QStringList{u"2026-03-09 09:00"_s, u"2026-03-16"_s, u"2026-03-23"_s, u"2026-03-30"_s};
    }
    void changeOfKind()
    {
        QFETCH(bool, allDaySeries);
        QFETCH(int, scope);
        QFETCH(QStringList, shown);
        SeriesFixture store;
        const QTimeZone zone = allDaySeries ? QTimeZone() : QTimeZone::systemTimeZone();
        const QString rule = u"FREQ=WEEKLY;BYDAY=MO;UNTIL="_s + RuleUntil::value(QDate(2026, 3, 30), zone);
        const Event series = store.insertSeries(rule, local(2026, 3, 2, 9), 60, allDaySeries);
        // As the form builds it.
        Event edited = series;
        edited.is_all_day = !allDaySeries;
        edited.start_time = allDaySeries ? TimeUtil::zoned(local(2026, 3, 16, 10))
                                         : EventWrites::allDayTime(QDate(2026, 3, 16));
        edited.end_time = allDaySeries ? TimeUtil::zoned(local(2026, 3, 16, 11))
                                       : EventWrites::allDayTime(QDate(2026, 3, 17));
        edited.timezone = allDaySeries ? QString::fromUtf8(QTimeZone::systemTimeZoneId()) : u"UTC"_s;
        const QDateTime slot = allDaySeries ? EventWrites::allDayTime(QDate(2026, 3, 16))
                                            : series.start_time.addDays(14);
        QVERIFY(editOccurrence(store.events, series, slot, edited, RecurringEditScope(scope)));
        QCOMPARE(store.starts(local(2026, 3, 9), local(2026, 4, 13)), shown);
        // Each series ends in the form of its own start, the new one still on 30 March.
        for (const Event &row : store.rows()) {
            const QString until = row.recurrence_rule.section(u"UNTIL="_s, 1);
            if (row.id == series.id)
                QCOMPARE(until.size(), row.is_all_day ? 8 : 16);
            else if (!row.recurrence_rule.isEmpty())
                QCOMPARE(until,
                         RuleUntil::value(QDate(2026, 3, 30),
                                          row.is_all_day ? QTimeZone() : QTimeZone::systemTimeZone()));
        }
    }

    void failedSplitWritesNothing()
    {
        SeriesFixture store;
        const Event series = store.insertSeries(u"FREQ=WEEKLY;BYDAY=MO;COUNT=8"_s, local(2026, 3, 2, 9));
        store.failWrites(u"INSERT"_s);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"EventRepository::insert failed"_s));
        QVERIFY(
            !splitSeries(store.events, series, local(2026, 3, 16, 9), local(2026, 3, 16, 10), local(2026, 3, 16, 11)));
        QCOMPARE(*store.events->getById(series.id), series);
        QCOMPARE(store.rows().size(), 1);
    }
};

QTEST_MAIN(TestRecurringEdit)
#include "tst_recurringedit.moc"
