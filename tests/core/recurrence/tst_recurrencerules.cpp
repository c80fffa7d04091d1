#include "expansiontestutil.h"
#include "recurrence.h"

#include <QTest>

using namespace ExpansionTest;

// One row per rule: the series' first start (wall clock in its zone), the
// rule, the window end, and every start expected from the first start up to
// that end. The comparison with a reference implementation covers the rule
// parts at large; these rows are the decisions of our own, odd input, UNTIL
// forms and daylight saving.
class TestRecurrenceRules : public QObject
{
    Q_OBJECT

private:
    static void columns()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("zone");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QString>("until");
        QTest::addColumn<QStringList>("expected");
    }

    static void row(const char *name, const char *start, const char *zone, const char *rule, const char *until,
                    std::initializer_list<const char *> expected)
    {
        QStringList starts;
        for (const char *s : expected)
            starts.append(QString::fromLatin1(s));
        QTest::newRow(name) << QString::fromLatin1(start) << QString::fromLatin1(zone) << QString::fromLatin1(rule)
                            << QString::fromLatin1(until) << starts;
    }

    static void check()
    {
        QFETCH(QString, start);
        QFETCH(QString, zone);
        QFETCH(QString, rule);
        QFETCH(QString, until);
        QFETCH(QStringList, expected);
        if (!zoneOf(zone).isValid())
            QSKIP("zone data missing");
        const Event master = series(start, zone, rule);
        const QDateTime from = master.start_time.addDays(-1);
        const QDateTime to = QDateTime::fromString(until, Qt::ISODate);
        QCOMPARE(startsOf(Recurrence::expandEvent(master, from, to), zone), expected);
    }

private Q_SLOTS:
    void expansion_data()
    {
        columns();
        row("Weekly: BYDAY=MO,WE,FR;COUNT=4 from a Wednesday: the Monday before is not counted", "2024-03-06T09:00",
            "Europe/Berlin", "FREQ=WEEKLY;BYDAY=MO,WE,FR;COUNT=4", "2025-01-01T00:00Z",
            {"2024-03-06T09:00:00+01:00", "2024-03-08T09:00:00+01:00", "2024-03-11T09:00:00+01:00",
             "2024-03-13T09:00:00+01:00"});
        row("Weekly: an ordinal in a weekly rule still names its weekday", "2024-03-04T08:00", "UTC",
            "FREQ=WEEKLY;BYDAY=1MO,FR;COUNT=3", "2025-01-01T00:00Z",
            {"2024-03-04T08:00:00Z", "2024-03-08T08:00:00Z", "2024-03-11T08:00:00Z"});
        row("Weekly: lower-case parts read like upper-case ones", "2024-03-04T08:00", "UTC",
            "freq=weekly;byday=mo;count=2", "2025-01-01T00:00Z", {"2024-03-04T08:00:00Z", "2024-03-11T08:00:00Z"});

        row("Daily: BYDAY=SA,SU from a Monday: weekends only, the start is no occurrence", "2024-03-04T10:00", "UTC",
            "FREQ=DAILY;BYDAY=SA,SU;COUNT=4", "2025-01-01T00:00Z",
            {"2024-03-09T10:00:00Z", "2024-03-10T10:00:00Z", "2024-03-16T10:00:00Z", "2024-03-17T10:00:00Z"});

        row("Yearly: BYDAY=20MO: the 20th Monday of the year", "1997-05-19T09:00", "America/New_York",
            "FREQ=YEARLY;BYDAY=20MO;COUNT=3", "2000-01-01T00:00Z",
            {"1997-05-19T09:00:00-04:00", "1998-05-18T09:00:00-04:00", "1999-05-17T09:00:00-04:00"});
        row("Yearly: BYMONTH=2 from the 30th gives no start, so the first start alone", "2024-01-30T09:00", "UTC",
            "FREQ=YEARLY;BYMONTH=2;COUNT=3", "2030-01-01T00:00Z", {"2024-01-30T09:00:00Z"});
        row("Yearly: a numbered week belongs to the year it is counted in", "2021-10-06T09:00", "UTC",
            "FREQ=YEARLY;INTERVAL=2;BYWEEKNO=1;BYDAY=WE", "2028-01-01T00:00Z",
            {"2023-01-04T09:00:00Z", "2025-01-01T09:00:00Z", "2027-01-06T09:00:00Z"});
        row("Yearly: numbered weeks begin on WKST, in December too", "2021-03-07T09:00", "UTC",
            "FREQ=YEARLY;INTERVAL=2;BYWEEKNO=1;BYDAY=SU;WKST=SU", "2030-01-01T00:00Z",
            {"2023-01-01T09:00:00Z", "2024-12-29T09:00:00Z", "2027-01-03T09:00:00Z", "2028-12-31T09:00:00Z"});

        // A rule that gives no start, or is out of range, is the first start alone.
        row("Never: UNTIL before the start", "2024-03-04T10:00", "Europe/Berlin", "FREQ=DAILY;UNTIL=20240301T000000Z",
            "2025-01-01T00:00Z", {"2024-03-04T10:00:00+01:00"});
        row("Never: a sixth Monday", "2024-03-04T10:00", "UTC", "FREQ=MONTHLY;BYDAY=6MO", "2030-01-01T00:00Z",
            {"2024-03-04T10:00:00Z"});
        row("Never: only a leap second", "2024-03-04T10:00", "UTC", "FREQ=DAILY;BYSECOND=60", "2025-01-01T00:00Z",
            {"2024-03-04T10:00:00Z"});
        row("Never: a leap second among others names nothing more", "2024-03-04T10:00", "UTC",
            "FREQ=DAILY;BYSECOND=0,60;COUNT=2", "2025-01-01T00:00Z", {"2024-03-04T10:00:00Z", "2024-03-05T10:00:00Z"});
        for (const char *rule : {"FREQ=MONTHLY;BYMONTH=13", "FREQ=MONTHLY;BYMONTHDAY=0", "FREQ=MONTHLY;BYMONTHDAY=32",
                                 "FREQ=MONTHLY;BYDAY=MO;BYSETPOS=0", "FREQ=DAILY;BYHOUR=24", "FREQ=DAILY;BYMINUTE=60",
                                 "FREQ=YEARLY;BYWEEKNO=54", "FREQ=YEARLY;BYYEARDAY=367", "FREQ=DAILY;COUNT=0",
                                 "FREQ=DAILY;INTERVAL=0", "FREQ=WEEKLY;BYDAY=MO,XX", "FREQ=YEARLY;BYDAY=54MO",
                                 "FREQ=DAILY;UNTIL=soon"}) {
            row(qPrintable(QStringLiteral("Out of range: ") + QLatin1String(rule)), "2024-03-04T10:00", "UTC", rule,
                "2026-01-01T00:00Z", {"2024-03-04T10:00:00Z"});
        }

        row("Sub-daily: MINUTELY;INTERVAL=20 within BYHOUR", "2024-05-01T09:00", "UTC",
            "FREQ=MINUTELY;INTERVAL=20;BYHOUR=9,10;COUNT=5", "2025-01-01T00:00Z",
            {"2024-05-01T09:00:00Z", "2024-05-01T09:20:00Z", "2024-05-01T09:40:00Z", "2024-05-01T10:00:00Z",
             "2024-05-01T10:20:00Z"});
        row("Sub-daily: an unknown frequency gives the start once", "2024-05-01T09:00", "UTC",
            "FREQ=FORTNIGHTLY;COUNT=3", "2025-01-01T00:00Z", {"2024-05-01T09:00:00Z"});
        row("Sub-daily: no FREQ gives the start once", "2024-05-01T09:00", "UTC", "COUNT=3", "2025-01-01T00:00Z",
            {"2024-05-01T09:00:00Z"});

        row("Until: a UTC UNTIL equal to a start includes it", "2024-01-02T10:00", "UTC",
            "FREQ=WEEKLY;UNTIL=20240116T100000Z", "2025-01-01T00:00Z",
            {"2024-01-02T10:00:00Z", "2024-01-09T10:00:00Z", "2024-01-16T10:00:00Z"});
        row("Until: a UTC UNTIL a second before a start excludes it", "2024-03-08T10:00", "Europe/Berlin",
            "FREQ=DAILY;UNTIL=20240310T085959Z", "2025-01-01T00:00Z",
            {"2024-03-08T10:00:00+01:00", "2024-03-09T10:00:00+01:00"});
        row("Until: a date-only UNTIL includes that date's start in Berlin", "2024-03-08T10:00", "Europe/Berlin",
            "FREQ=DAILY;UNTIL=20240310", "2025-01-01T00:00Z",
            {"2024-03-08T10:00:00+01:00", "2024-03-09T10:00:00+01:00", "2024-03-10T10:00:00+01:00"});
        row("Until: a date-only UNTIL includes a late evening start in New York", "2024-03-08T23:30",
            "America/New_York", "FREQ=DAILY;UNTIL=20240310", "2025-01-01T00:00Z",
            {"2024-03-08T23:30:00-05:00", "2024-03-09T23:30:00-05:00", "2024-03-10T23:30:00-04:00"});
        row("Until: a floating UNTIL is a wall clock of the series' zone", "2024-03-08T10:00", "Europe/Berlin",
            "FREQ=DAILY;UNTIL=20240310T100000", "2025-01-01T00:00Z",
            {"2024-03-08T10:00:00+01:00", "2024-03-09T10:00:00+01:00", "2024-03-10T10:00:00+01:00"});
        row("Until: COUNT and UNTIL: whichever comes first", "2024-03-08T10:00", "UTC",
            "FREQ=DAILY;COUNT=2;UNTIL=20240320", "2025-01-01T00:00Z", {"2024-03-08T10:00:00Z", "2024-03-09T10:00:00Z"});

        row("Daylight saving: 09:00 in Berlin stays 09:00 after the spring change", "2024-03-23T09:00", "Europe/Berlin",
            "FREQ=WEEKLY;COUNT=3", "2025-01-01T00:00Z",
            {"2024-03-23T09:00:00+01:00", "2024-03-30T09:00:00+01:00", "2024-04-06T09:00:00+02:00"});
        row("Daylight saving: 09:00 in New York stays 09:00 after the autumn change", "2024-11-02T09:00",
            "America/New_York", "FREQ=DAILY;COUNT=3", "2025-01-01T00:00Z",
            {"2024-11-02T09:00:00-04:00", "2024-11-03T09:00:00-05:00", "2024-11-04T09:00:00-05:00"});
        row("Daylight saving: 02:30 in Berlin's spring gap becomes 03:30", "2024-03-30T02:30", "Europe/Berlin",
            "FREQ=DAILY;COUNT=3", "2025-01-01T00:00Z",
            {"2024-03-30T02:30:00+01:00", "2024-03-31T03:30:00+02:00", "2024-04-01T02:30:00+02:00"});
        row("Daylight saving: 01:30 on New York's autumn change is the first one", "2024-11-02T01:30",
            "America/New_York", "FREQ=DAILY;COUNT=3", "2025-01-01T00:00Z",
            {"2024-11-02T01:30:00-04:00", "2024-11-03T01:30:00-04:00", "2024-11-04T01:30:00-05:00"});
        row("Daylight saving: 02:30 on Berlin's autumn change is the first one", "2024-10-26T02:30", "Europe/Berlin",
            "FREQ=DAILY;COUNT=2", "2025-01-01T00:00Z", {"2024-10-26T02:30:00+02:00", "2024-10-27T02:30:00+02:00"});
        row("Daylight saving: monthly on the last Sunday keeps its wall clock all year", "2024-01-28T10:00",
            "Europe/Berlin", "FREQ=MONTHLY;BYDAY=-1SU;COUNT=4", "2025-01-01T00:00Z",
            {"2024-01-28T10:00:00+01:00", "2024-02-25T10:00:00+01:00", "2024-03-31T10:00:00+02:00",
             "2024-04-28T10:00:00+02:00"});
    }
    void expansion() { check(); }

    void parseRuleReadsEveryPart()
    {
        const RecurrenceRule rule = Recurrence::parseRule(QStringLiteral(
            "FREQ=monthly;INTERVAL=0;COUNT=-2;UNTIL=20240310;BYDAY=2tu,-1FR;BYMONTHDAY=1,-1,0,32;BYMONTH=13,2;"
            "BYSETPOS=-1;BYHOUR=9,24;BYMINUTE=30;BYSECOND=60;WKST=SU;X-NAME=1;=3;BROKEN"));
        QCOMPARE(rule.freq, QStringLiteral("MONTHLY"));
        QCOMPARE(rule.interval, 1);
        QCOMPARE(rule.count, 0);
        QCOMPARE(rule.until, TimeUtil::utc(QDate(2024, 3, 10)));
        QCOMPARE(rule.untilForm, RecurrenceRule::UntilForm::Date);
        QCOMPARE(rule.byDay, (QStringList{QStringLiteral("2TU"), QStringLiteral("-1FR")}));
        QCOMPARE(rule.byMonthDay, (QList<int>{1, -1}));
        QCOMPARE(rule.byMonth, QList<int>{2});
        QCOMPARE(rule.bySetPos, QList<int>{-1});
        QCOMPARE(rule.byHour, QList<int>{9});
        QCOMPARE(rule.byMinute, QList<int>{30});
        QCOMPARE(rule.bySecond, QList<int>{60});
        QCOMPARE(rule.weekStart, 7);
        QVERIFY(!rule.isValid());
        QVERIFY(Recurrence::parseRule(QStringLiteral("FREQ=WEEKLY;BYDAY=+1MO,-53SU;BYSECOND=60;X-NAME=1")).isValid());

        QCOMPARE(Recurrence::parseRule(QStringLiteral("UNTIL=20240310T101500Z")).until,
                 TimeUtil::utc(QDate(2024, 3, 10), QTime(10, 15)));
        QCOMPARE(Recurrence::parseRule(QStringLiteral("UNTIL=20240310T101500")).untilForm,
                 RecurrenceRule::UntilForm::Floating);
        QVERIFY(!Recurrence::parseRule(QStringLiteral("UNTIL=tomorrow")).until.isValid());
    }
};

QTEST_GUILESS_MAIN(TestRecurrenceRules)
#include "tst_recurrencerules.moc"
