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
        row("FREQ=DAILY;INTERVAL=2;COUNT=10", "Every 2 days · 10 time(s)");
        row("FREQ=WEEKLY;BYDAY=MO,WE", "Repeats weekly · Mon, Wed");
        row("freq=weekly;byday=mo,,fr;count=1500", "Repeats weekly · Mon, Fri · 1500 time(s)");
        row("FREQ=MONTHLY;BYDAY=-1FR", "Repeats monthly · on the last Fri");
        row("FREQ=MONTHLY;BYDAY=-3SA", "Repeats monthly · on the 3th-from-last Sat");
        row("FREQ=MONTHLY;BYDAY=-2147483648MO", "Repeats monthly · on the 2147483648th-from-last Mon");
        row("FREQ=MONTHLY;BYMONTHDAY=-1", "Repeats monthly");
        row("FREQ=MONTHLY;INTERVAL=3;BYMONTHDAY=11", "Every 3 months · on the 11th");
        row("FREQ=YEARLY;UNTIL=20261231T235959Z", "Repeats yearly · until Dec 31, 2026");
        row("FREQ=WEEKLY;COUNT=0;UNTIL=20261231", "Repeats weekly");
        row("FREQ=DAILY;COUNT=2;COUNT=5", "Repeats daily · 5 time(s)");
        row("FREQ=DAILY;INTERVAL=x", "Every 0 days");
        row("FREQ=HOURLY", "Repeats");
        row("BYDAY=XX", "Repeats · XX");
        // BYSETPOS picks among all the listed weekdays.
        row("FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1", "Repeats monthly · on the last Mon, Tue, Wed, Thu, Fri");
        row("FREQ=MONTHLY;BYDAY=SA,SU;BYSETPOS=1,-1", "Repeats monthly · on the first, last Sat, Sun");
        // Months are named; a yearly rule with months reads its days like a monthly one.
        row("FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU", "Repeats yearly · Mar · on the last Sun");
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

    void reminderLabels_data()
    {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QString>("label");
        QTest::newRow("negative") << -5 << u"At time of event"_s;
        QTest::newRow("minutes") << 59 << u"59 min before"_s;
        QTest::newRow("whole hours") << 90 << u"1 hour(s) before"_s;
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
