#include "nlparser.h"
#include "systemlanguage.h"

#include <QTest>
#include <QTimeZone>

using namespace Qt::StringLiterals;

namespace {

// Every phrase is read on a Wednesday morning, a few days before the clocks
// go back in Europe (25 October) and in America (1 November).
const QDateTime now(QDate(2026, 10, 21), QTime(10, 7, 45));

QDateTime at(int month, int day, int hour, int minute = 0, int year = 2026)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute));
}

} // namespace

class TestNLParser : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { verifySystemLanguageFromEnvironment(); }

    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QDateTime>("end");
        QTest::addColumn<bool>("allDay");
        QTest::addColumn<bool>("hasTime");
        QTest::addColumn<QString>("invalid"); // the phrase named for what does not exist

        const auto row = [](const char *text, const char *title, const QDateTime &start, const QDateTime &end,
                            bool allDay, bool hasTime, const char *invalid = "") {
            QTest::newRow(text) << QString::fromUtf8(text) << QString::fromUtf8(title) << start << end << allDay
                                << hasTime << QString::fromUtf8(invalid);
        };
        // Dates
        row("Team sync tomorrow at 3pm", "Team sync", at(10, 22, 15), at(10, 22, 16), false, true);
        row("Dentist wednesday", "Dentist", at(10, 21, 0), at(10, 22, 0), true, false);
        row("Dentist next wednesday", "Dentist", at(10, 28, 0), at(10, 29, 0), true, false);
        row("Gym sat", "Gym", at(10, 24, 0), at(10, 25, 0), true, false);
        row("Lunch on friday at 1pm", "Lunch", at(10, 23, 13), at(10, 23, 14), false, true);
        row("Review in 2 weeks", "Review", at(11, 4, 0), at(11, 5, 0), true, false);
        row("Party jan 5", "Party", at(1, 5, 0, 0, 2027), at(1, 6, 0, 0, 2027), true, false);
        row("Party feb 30", "Party", QDateTime(), QDateTime(), true, false, "date feb 30");
        row("Party on Feb 30 at 8pm", "Party", QDateTime(), QDateTime(), false, true, "date Feb 30");
        row("Trip in 99999999999 days", "Trip", QDateTime(), QDateTime(), true, false, "date in 99999999999 days");
        row("Trip in 99999999 weeks", "Trip", QDateTime(), QDateTime(), true, false, "date in 99999999 weeks");
        row("Plan today or tomorrow", "Plan or tomorrow", at(10, 21, 0), at(10, 22, 0), true, false);
        // Times: a time that has passed stays today
        row("Backup at 12am", "Backup", at(10, 21, 0), at(10, 21, 1), false, true);
        row("Lunch at 12", "Lunch", at(10, 21, 12), at(10, 21, 13), false, true);
        row("Dinner tonight at 8", "Dinner", at(10, 21, 20), at(10, 21, 21), false, true);
        row("Movie tonight 9:30", "Movie", at(10, 21, 21, 30), at(10, 21, 22, 30), false, true);
        row("Party tonight from 8 to 11", "Party", at(10, 21, 20), at(10, 21, 23), false, true);
        row("Pack tonight from 08:00 to 09:00", "Pack", at(10, 21, 8), at(10, 21, 9), false, true);
        row("Pack tonight at 0830", "Pack", at(10, 21, 8, 30), at(10, 21, 9, 30), false, true);
        row("Call at 1530", "Call", at(10, 21, 15, 30), at(10, 21, 16, 30), false, true);
        row("Call at 2460", "Call at 2460", at(10, 21, 10, 30), at(10, 21, 11, 30), false, false);
        row("Call 3:45pm", "Call", at(10, 21, 15, 45), at(10, 21, 16, 45), false, true);
        row("Lunch at noon", "Lunch", at(10, 21, 12), at(10, 21, 13), false, true);
        row("Shift from 10pm to 2am", "Shift", at(10, 21, 22), at(10, 22, 2), false, true);
        row("Shift from 9 to 5", "Shift", at(10, 21, 9), at(10, 22, 5), false, true);
        row("Night shift saturday from 10pm to 6am", "Night shift", at(10, 24, 22), at(10, 25, 6), false, true);
        row("Lunch from 11 to 1pm", "Lunch", at(10, 21, 11), at(10, 21, 13), false, true);
        row("Night shift from 10 to 6am", "Night shift", at(10, 21, 22), at(10, 22, 6), false, true);
        row("Late show from 10pm to 2", "Late show", at(10, 21, 22), at(10, 22, 2), false, true);
        row("Meeting from 10 to noon", "Meeting", at(10, 21, 10), at(10, 21, 12), false, true);
        row("Lunch from noon to 2", "Lunch", at(10, 21, 12), at(10, 21, 14), false, true);
        row("Party from 11 to midnight", "Party", at(10, 21, 23), at(10, 22, 0), false, true);
        row("Call at 25", "Call", QDateTime(), QDateTime(), false, true, "time 25");
        row("Shift from 9 to 25", "Shift", at(10, 21, 9), QDateTime(), false, true, "time from 9 to 25");
        // A bare 24-hour time counts right after a date phrase only
        row("Lunch with Ana friday 12:30", "Lunch with Ana", at(10, 23, 12, 30), at(10, 23, 13, 30), false, true);
        row("Standup tomorrow 9:05 for 15 min", "Standup", at(10, 22, 9, 5), at(10, 22, 9, 20), false, true);
        row("Dinner jan 5 19:45", "Dinner", at(1, 5, 19, 45, 2027), at(1, 5, 20, 45, 2027), false, true);
        row("Read 3:16 friday", "Read 3:16", at(10, 23, 0), at(10, 24, 0), true, false);
        row("Gym friday 24:00", "Gym 24:00", at(10, 23, 0), at(10, 24, 0), true, false);
        // Durations
        row("Workshop tomorrow for 2 hours", "Workshop", at(10, 22, 0), at(10, 23, 0), true, false);
        row("Focus for 1.5h", "Focus", at(10, 21, 10, 30), at(10, 21, 12), false, false);
        // Title clean-up
        row("for lunch tomorrow", "lunch", at(10, 22, 0), at(10, 23, 0), true, false);
        row("Meet Ann at", "Meet Ann", at(10, 21, 10, 30), at(10, 21, 11, 30), false, false);
    }

    void parse()
    {
        QFETCH(QString, text);
        const NLParser::ParseResult r = NLParser::parse(text, now);
        QTEST(r.title, "title");
        QTEST(r.start, "start");
        QVERIFY(r.end.has_value());
        QTEST(*r.end, "end");
        QTEST(r.allDay, "allDay");
        QTEST(r.hasTime, "hasTime");
        QString invalid;
        if (!r.invalidDate.isEmpty())
            invalid = u"date "_s + r.invalidDate;
        if (!r.invalidTime.isEmpty())
            invalid = u"time "_s + r.invalidTime;
        QTEST(invalid, "invalid");
    }

    void blankTextHasNoEnd()
    {
        const NLParser::ParseResult r = NLParser::parse(u"  \t "_s, now);
        QCOMPARE(r.title, QString());
        QCOMPARE(r.start, at(10, 21, 10, 30));
        QVERIFY(!r.end.has_value());
        QVERIFY(!r.allDay);
        QVERIFY(!r.hasTime);
    }

    void resultKeepsTheZoneOfNow()
    {
        const QDateTime utcNow = now.toUTC();
        const NLParser::ParseResult r = NLParser::parse(u"Call tomorrow at 9am"_s, utcNow);
        QCOMPARE(r.start.timeSpec(), Qt::UTC);
        QCOMPARE(r.start, QDateTime(utcNow.date().addDays(1), QTime(9, 0), Qt::UTC));
        QCOMPARE(NLParser::parse(u"Call"_s, now).start.timeSpec(), Qt::LocalTime);
    }

    // The test zones skip 02:00-03:00 on the day daylight saving begins.
    void aTimeInTheSpringGapMovesForward()
    {
        const QTimeZone::OffsetDataList changes = QTimeZone::systemTimeZone().transitions(
            QDateTime(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC), QDateTime(QDate(2027, 1, 1), QTime(0, 0), Qt::UTC));
        const auto spring = std::find_if(changes.cbegin(), changes.cend(),
                                         [](const QTimeZone::OffsetData &c) { return c.daylightTimeOffset > 0; });
        if (spring == changes.cend())
            QSKIP("the system zone has no daylight saving");
        const QDate day = spring->atUtc.toLocalTime().date();
        const NLParser::ParseResult r = NLParser::parse(u"Call at 2:30 for 30 min"_s, QDateTime(day, QTime(0, 10)));
        QCOMPARE(r.start, QDateTime(day, QTime(3, 30)));
        QVERIFY(r.end.has_value());
        QCOMPARE(*r.end, QDateTime(day, QTime(4, 0)));
        const NLParser::ParseResult shift = NLParser::parse(u"Shift from 2:30 to 4"_s, QDateTime(day, QTime(0, 10)));
        QCOMPARE(shift.start, QDateTime(day, QTime(3, 30)));
        QCOMPARE(*shift.end, QDateTime(day, QTime(4, 0)));
    }

    void roundUpToHalfHour_data()
    {
        QTest::addColumn<QDateTime>("input");
        QTest::addColumn<QDateTime>("rounded");
        QTest::newRow("seconds past the half hour are dropped") << at(10, 21, 10, 30).addSecs(20) << at(10, 21, 10, 30);
        QTest::newRow("one past the half hour goes to the hour") << at(10, 21, 10, 31) << at(10, 21, 11, 0);
        QTest::newRow("late evening rolls into tomorrow") << at(10, 21, 23, 45) << at(10, 22, 0, 0);
    }

    void roundUpToHalfHour()
    {
        QFETCH(QDateTime, input);
        const QDateTime rounded = NLParser::roundUpToHalfHour(input);
        QTEST(rounded, "rounded");
        QCOMPARE(rounded.time().msec(), 0);
    }

    void cleanTitleCutsOverlapsOnce()
    {
        const QString text = u"Lunch on friday at 1pm  sharp"_s;
        QCOMPARE(NLParser::cleanTitle(text, {{16, 6}, {6, 10}, {9, 12}}), u"Lunch sharp"_s);
        QCOMPARE(NLParser::cleanTitle(u"  a   b "_s, {}), u"a   b"_s);
    }
};

QTEST_GUILESS_MAIN(TestNLParser)
#include "tst_nlparser.moc"
