#include "rruleformat.h"
#include "systemlanguage.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestRruleFormat : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { verifySystemLanguageFromEnvironment(); }

    void describe_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QString>("description");

        const auto row = [](const char *rule, const char *description) {
            QTest::newRow(*rule ? rule : "empty rule") << QString::fromUtf8(rule) << QString::fromUtf8(description);
        };
        row("", "");
        row("FREQ=DAILY", "Repeats daily");
        row("FREQ=DAILY;INTERVAL=2;COUNT=10", "Every 2 days · 10 time(s)");
        row("FREQ=WEEKLY;BYDAY=MO,WE", "Repeats weekly · Mon, Wed");
        row("FREQ=WEEKLY;BYDAY=1MO", "Repeats weekly · Mon");
        row("freq=weekly;byday=mo,,fr;count=1500", "Repeats weekly · Mon, Fri · 1500 time(s)");
        row("FREQ=MONTHLY;BYDAY=-1FR", "Repeats monthly · on the last Fri");
        row("FREQ=MONTHLY;BYDAY=MO,TU", "Repeats monthly · Mon");
        row("FREQ=MONTHLY;BYDAY=2TU;BYMONTHDAY=3", "Repeats monthly · on the second Tue");
        row("FREQ=MONTHLY;BYDAY=-3SA", "Repeats monthly · on the 3th-from-last Sat");
        row("FREQ=MONTHLY;BYDAY=-2147483648MO", "Repeats monthly · on the 2147483648th-from-last Mon");
        row("FREQ=MONTHLY;BYMONTHDAY=22", "Repeats monthly · on the 22nd");
        row("FREQ=MONTHLY;BYMONTHDAY=-1", "Repeats monthly");
        row("FREQ=MONTHLY;INTERVAL=3;BYMONTHDAY=11", "Every 3 months · on the 11th");
        row("FREQ=YEARLY;UNTIL=20261231T235959Z", "Repeats yearly · until Dec 31, 2026");
        row("FREQ=DAILY;UNTIL=20260305", "Repeats daily · until Mar 5, 2026");
        row("FREQ=WEEKLY;COUNT=0;UNTIL=20261231", "Repeats weekly");
        row("FREQ=WEEKLY;UNTIL=2026-12-31", "Repeats weekly");
        row("FREQ=DAILY;COUNT=2;COUNT=5", "Repeats daily · 5 time(s)");
        row("FREQ=DAILY;INTERVAL=x", "Every 0 days");
        row("FREQ=HOURLY", "Repeats");
        row("BYDAY=XX", "Repeats · XX");
        // BYSETPOS picks among all the listed weekdays.
        row("FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1", "Repeats monthly · on the last Mon, Tue, Wed, Thu, Fri");
        row("FREQ=MONTHLY;BYDAY=TU;BYSETPOS=2", "Repeats monthly · on the second Tue");
        row("FREQ=MONTHLY;BYDAY=SA,SU;BYSETPOS=1,-1", "Repeats monthly · on the first, last Sat, Sun");
        // Months are named; a yearly rule with months reads its days like a monthly one.
        row("FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU", "Repeats yearly · Mar · on the last Sun");
        row("FREQ=YEARLY;BYMONTH=6;BYMONTHDAY=15;COUNT=3", "Repeats yearly · Jun · on the 15th · 3 time(s)");
        row("FREQ=YEARLY;BYMONTH=11;BYDAY=TH;BYSETPOS=4", "Repeats yearly · Nov · on the fourth Thu");
        row("FREQ=YEARLY;BYDAY=-1SU", "Repeats yearly · Sun");
        row("FREQ=WEEKLY;BYMONTH=6,7,13;BYDAY=SA", "Repeats weekly · Jun, Jul · Sat");
    }

    void describe()
    {
        QFETCH(QString, rule);
        QTEST(RruleFormat::describe(rule), "description");
    }

    void ordinalNumbers()
    {
        QStringList actual;
        for (int n = 1; n <= 31; ++n)
            actual.append(RruleFormat::ordinalNumber(n));
        QCOMPARE(actual.join(u' '),
                 u"1st 2nd 3rd 4th 5th 6th 7th 8th 9th 10th 11th 12th 13th 14th 15th 16th 17th 18th 19th 20th "
                 "21st 22nd 23rd 24th 25th 26th 27th 28th 29th 30th 31st"_s);
    }

    void positionWords()
    {
        QStringList actual;
        for (int n : {1, 2, 3, 4, 5, 6, -1, -2, -3, -5, 0})
            actual.append(RruleFormat::positionWord(n));
        QCOMPARE(actual, (QStringList{u"first"_s, u"second"_s, u"third"_s, u"fourth"_s, u"fifth"_s, u"6th"_s,
                                      u"last"_s, u"second-to-last"_s, u"3th-from-last"_s, u"5th-from-last"_s,
                                      QString()}));
    }

    void parseByDay_data()
    {
        QTest::addColumn<QString>("token");
        QTest::addColumn<int>("ordinal");
        QTest::addColumn<QString>("weekday");
        QTest::newRow("plain") << u"SU"_s << 0 << u"SU"_s;
        QTest::newRow("positive") << u"2MO"_s << 2 << u"MO"_s;
        QTest::newRow("negative, lower case") << u"-1fr"_s << -1 << u"FR"_s;
        QTest::newRow("explicit plus") << u"+3we"_s << 3 << u"WE"_s;
        QTest::newRow("sign without digits") << u"-TH"_s << 0 << u"TH"_s;
    }

    void parseByDay()
    {
        QFETCH(QString, token);
        const RruleFormat::ByDayToken t = RruleFormat::parseByDay(token);
        QTEST(t.ordinal, "ordinal");
        QTEST(t.weekday, "weekday");
    }

    void weekdayNames()
    {
        QCOMPARE(RruleFormat::weekdayName(u"th"_s), u"Thu"_s);
        QCOMPARE(RruleFormat::weekdayName(u"xy"_s), u"XY"_s);
    }

    void reminderLabels_data()
    {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QString>("label");
        QTest::newRow("negative") << -5 << u"At time of event"_s;
        QTest::newRow("zero") << 0 << u"At time of event"_s;
        QTest::newRow("minutes") << 59 << u"59 min before"_s;
        QTest::newRow("whole hours") << 90 << u"1 hour(s) before"_s;
        QTest::newRow("last hour band") << 1439 << u"23 hour(s) before"_s;
        QTest::newRow("days") << 2880 << u"2 day(s) before"_s;
    }

    void reminderLabels()
    {
        QFETCH(int, minutes);
        QTEST(RruleFormat::reminderOffsetLabel(minutes), "label");
    }
};

QTEST_GUILESS_MAIN(TestRruleFormat)
#include "tst_rruleformat.moc"
