#include "modalscript.h"
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
        QTest::newRow("all-day series end on a date") << u"FREQ=DAILY;COUNT=9"_s << true
                                                      << u"FREQ=DAILY;UNTIL=20260316"_s;
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

    // A read-only calendar's series: the prompt says why and offers only Cancel.
    void scopePromptOfAReadOnlyCalendar()
    {
        const QString reason = u"\"Feeds\" is read-only: its events cannot be changed here."_s;
        RecurringEditScopeDialog prompt(u"Standup"_s, nullptr, reason);
        QVERIFY(prompt.findChildren<QLabel *>().size() >= 2);
        QCOMPARE(prompt.findChildren<QLabel *>().at(1)->text(), reason);
        for (const QString &name : {u"thisEvent"_s, u"thisAndFollowing"_s, u"allEvents"_s})
            QVERIFY2(!prompt.findChild<QPushButton *>(name)->isEnabled(), qPrintable(name));
        QVERIFY(prompt.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel)->isEnabled());
    }

    void nothingWrittenWithoutScope()
    {
        SeriesFixture store;
        const Event series = store.insertSeries(u"FREQ=WEEKLY;BYDAY=MO"_s, local(2026, 3, 2, 9));
        QVERIFY(applyRecurringEdit(store.events, series, local(2026, 3, 9, 9), local(2026, 3, 9, 10),
                                   std::nullopt, RecurringEditScope::None));
        QVERIFY(!applyRecurringEdit(store.events, series, local(2026, 3, 9, 9), local(2026, 3, 9, 10),
                                    std::nullopt, RecurringEditScope(7)));
        QVERIFY(!applyRecurringEdit(nullptr, series, local(2026, 3, 9, 9), local(2026, 3, 9, 10),
                                    std::nullopt, RecurringEditScope::ThisEvent));
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

        QCOMPARE(store.starts(kFrom, kTo), QStringList({u"2026-03-02 09:00"_s, u"2026-03-09 09:00"_s,
                                                        u"2026-03-17 11:00"_s, u"2026-03-23 09:00"_s,
                                                        u"2026-03-30 09:00"_s, u"2026-04-06 09:00"_s}));
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
            << early + QStringList{u"2026-03-16 10:00"_s, u"2026-03-23 10:00"_s, u"2026-03-30 10:00"_s,
                                   u"2026-04-06 10:00"_s};
        QTest::newRow("COUNT: the new series gets what remained")
            << u"FREQ=WEEKLY;BYDAY=MO;COUNT=4"_s << local(2026, 3, 16, 9)
            << u"FREQ=WEEKLY;BYDAY=MO;UNTIL="_s + cutoff << u"FREQ=WEEKLY;BYDAY=MO;COUNT=2"_s
            << early + QStringList{u"2026-03-16 10:00"_s, u"2026-03-23 10:00"_s};
        const QString until = RuleUntil::value(QDate(2026, 3, 30), QTimeZone::systemTimeZone());
        QTest::newRow("UNTIL stays")
            << u"FREQ=WEEKLY;UNTIL="_s + until + u";BYDAY=MO"_s << local(2026, 3, 16, 9)
            << u"FREQ=WEEKLY;UNTIL="_s + cutoff + u";BYDAY=MO"_s << u"FREQ=WEEKLY;UNTIL="_s + until + u";BYDAY=MO"_s
            << early + QStringList{u"2026-03-16 10:00"_s, u"2026-03-23 10:00"_s, u"2026-03-30 10:00"_s};
        QTest::newRow("nothing remained: no new series")
            << u"FREQ=WEEKLY;BYDAY=MO;COUNT=2"_s << local(2026, 3, 16, 9)
            << u"FREQ=WEEKLY;BYDAY=MO;UNTIL="_s + cutoff << QString() << early;
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
        QVERIFY(applyRecurringEdit(store.events, series, occurrence, occurrence.addSecs(3600),
                                   occurrence.addSecs(7200), RecurringEditScope::ThisAndFollowing));

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

        QVERIFY(splitSeries(store.events, series, local(2026, 3, 16, 9), local(2026, 3, 16, 10),
                            local(2026, 3, 16, 11)));
        QCOMPARE(store.starts(kFrom, kTo),
                 QStringList({u"2026-03-03 12:00"_s, u"2026-03-16 10:00"_s, u"2026-03-24 12:00"_s,
                              u"2026-03-30 10:00"_s}));
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

    void allDaySeries()
    {
        SeriesFixture store;
        const Event series = store.insertSeries(u"FREQ=WEEKLY;BYDAY=MO"_s, local(2026, 3, 2), 0, true);
        const QDateTime monday16 = EventWrites::allDayTime(QDate(2026, 3, 16));
        QVERIFY(overrideOccurrence(store.events, series, monday16, monday16.addDays(2),
                                   monday16.addDays(3)));
        const Event override = *rowOtherThan(store.rows(), series.id);
        QCOMPARE(override.recurrence_id, u"20260316T000000Z"_s);
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
                 QStringList({u"2026-03-02"_s, u"2026-03-09"_s, u"2026-03-18"_s, u"2026-03-24"_s,
                              u"2026-03-31"_s, u"2026-04-07"_s}));
    }

    void failedSplitWritesNothing()
    {
        SeriesFixture store;
        const Event series = store.insertSeries(u"FREQ=WEEKLY;BYDAY=MO;COUNT=8"_s, local(2026, 3, 2, 9));
        store.failWrites(u"INSERT"_s);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"EventRepository::insert failed"_s));
        QVERIFY(!splitSeries(store.events, series, local(2026, 3, 16, 9), local(2026, 3, 16, 10),
                             local(2026, 3, 16, 11)));
        QCOMPARE(*store.events->getById(series.id), series);
        QCOMPARE(store.rows().size(), 1);
    }
};

QTEST_MAIN(TestRecurringEdit)
#include "tst_recurringedit.moc"
