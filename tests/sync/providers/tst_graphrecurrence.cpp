#include "microsoftcalendarclient.h"
#include "recurrence.h"
#include "timeutil.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

using namespace Qt::StringLiterals;
using Microsoft::CalendarClient;

namespace {

QJsonObject json(const char *text)
{
    return QJsonDocument::fromJson(QByteArray(text)).object();
}

QDateTime at(const char *zone, int year, int month, int day, int hour, int minute = 0)
{
    return TimeUtil::inZone(QDate(year, month, day), QTime(hour, minute), QTimeZone(zone));
}

// The starts the project's own expansion gives a rule within two years.
QList<QDateTime> starts(const QString &rule, const QDateTime &start)
{
    QList<QDateTime> out;
    for (const QDateTime &value : Recurrence::occurrenceStarts(Recurrence::parseRule(rule), start, start.addYears(2)))
        out.append(value.toUTC());
    return out;
}

} // namespace

class TestGraphRecurrence : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each row names a Graph recurrence and an RRULE that mean the same
    // series; both sides, and the rule after a trip through Graph, must
    // expand to the same starts.
    void sameOccurrencesBothWays_data();
    void sameOccurrencesBothWays();
    void rulesGraphWouldRefuse_data();
    void rulesGraphWouldRefuse();
    void untilAsEndDate_data();
    void untilAsEndDate();
    void endDateOfAllDaySeriesStaysADate();
    void rulesGraphCannotHold_data();
    void rulesGraphCannotHold();
    void unknownPatternsGiveNothing_data();
    void unknownPatternsGiveNothing();
};

void TestGraphRecurrence::sameOccurrencesBothWays_data()
{
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QJsonObject>("graph");

    QTest::newRow("daily without end")
        << at("Europe/Berlin", 2025, 3, 3, 9) << u"FREQ=DAILY"_s
        << json(R"({"pattern":{"type":"daily","interval":1},"range":{"type":"noEnd","startDate":"2025-03-03"}})");
    QTest::newRow("every third day, ten times")
        << at("Europe/Berlin", 2025, 3, 3, 9) << u"FREQ=DAILY;INTERVAL=3;COUNT=10"_s
        << json(R"({"pattern":{"type":"daily","interval":3},
                    "range":{"type":"numbered","startDate":"2025-03-03","numberOfOccurrences":10}})");
    QTest::newRow("late evening daily up to an end day keeps that day")
        << at("Europe/Berlin", 2025, 3, 20, 23, 30) << u"FREQ=DAILY;UNTIL=20250331T215959Z"_s
        << json(R"({"pattern":{"type":"daily","interval":1},
                    "range":{"type":"endDate","startDate":"2025-03-20","endDate":"2025-03-31"}})");
    QTest::newRow("every other week on Monday and Wednesday, ten times")
        << at("Europe/Berlin", 2025, 3, 3, 9) << u"FREQ=WEEKLY;BYDAY=MO,WE;INTERVAL=2;COUNT=10"_s
        << json(R"({"pattern":{"type":"weekly","interval":2,"daysOfWeek":["monday","wednesday"],
                               "firstDayOfWeek":"monday"},
                    "range":{"type":"numbered","startDate":"2025-03-03","numberOfOccurrences":10}})");
    QTest::newRow("weekly on Friday in New York until the end of June")
        << at("America/New_York", 2025, 3, 7, 20) << u"FREQ=WEEKLY;BYDAY=FR;UNTIL=20250701T035959Z"_s
        << json(R"({"pattern":{"type":"weekly","interval":1,"daysOfWeek":["friday"]},
                    "range":{"type":"endDate","startDate":"2025-03-07","endDate":"2025-06-30"}})");
    QTest::newRow("monthly on the 15th") << at("Europe/Berlin", 2025, 1, 15, 12) << u"FREQ=MONTHLY;BYMONTHDAY=15"_s
                                         << json(R"({"pattern":{"type":"absoluteMonthly","interval":1,"dayOfMonth":15},
                    "range":{"type":"noEnd","startDate":"2025-01-15"}})");
    QTest::newRow("first Monday of every month")
        << at("Europe/Berlin", 2025, 3, 3, 9) << u"FREQ=MONTHLY;BYDAY=1MO"_s
        << json(R"({"pattern":{"type":"relativeMonthly","interval":1,"daysOfWeek":["monday"],"index":"first"},
                    "range":{"type":"noEnd","startDate":"2025-03-03"}})");
    QTest::newRow("last Friday of every other month, six times")
        << at("Europe/Berlin", 2025, 1, 31, 16) << u"FREQ=MONTHLY;BYDAY=-1FR;INTERVAL=2;COUNT=6"_s
        << json(R"({"pattern":{"type":"relativeMonthly","interval":2,"daysOfWeek":["friday"],"index":"last"},
                    "range":{"type":"numbered","startDate":"2025-01-31","numberOfOccurrences":6}})");
    QTest::newRow("last weekday of the month")
        << at("Europe/Berlin", 2025, 1, 31, 16) << u"FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1"_s
        << json(R"({"pattern":{"type":"relativeMonthly","interval":1,
                               "daysOfWeek":["monday","tuesday","wednesday","thursday","friday"],"index":"last"},
                    "range":{"type":"noEnd","startDate":"2025-01-31"}})");
    QTest::newRow("yearly on 15 June")
        << at("Europe/Berlin", 2025, 6, 15, 10) << u"FREQ=YEARLY;BYMONTH=6;BYMONTHDAY=15"_s
        << json(R"({"pattern":{"type":"absoluteYearly","interval":1,"month":6,"dayOfMonth":15},
                    "range":{"type":"noEnd","startDate":"2025-06-15"}})");
    QTest::newRow("fourth Thursday of November, until 2026")
        << at("America/New_York", 2025, 11, 27, 15) << u"FREQ=YEARLY;BYMONTH=11;BYDAY=4TH;UNTIL=20261231T235959Z"_s
        << json(R"({"pattern":{"type":"relativeYearly","interval":1,"month":11,"daysOfWeek":["thursday"],
                               "index":"fourth"},
                    "range":{"type":"endDate","startDate":"2025-11-27","endDate":"2026-12-31"}})");
}

void TestGraphRecurrence::sameOccurrencesBothWays()
{
    QFETCH(QDateTime, start);
    QFETCH(QString, rule);
    QFETCH(QJsonObject, graph);

    const QList<QDateTime> expected = starts(rule, start);
    QVERIFY(expected.size() > 1);
    const QTimeZone zone = start.timeZone();
    QCOMPARE(starts(CalendarClient::recurrenceToRrule(graph, zone), start), expected);

    const QJsonObject pushed = CalendarClient::rruleToRecurrence(rule, start);
    QCOMPARE(pushed.value("pattern"_L1).toObject().value("type"_L1), graph["pattern"_L1].toObject()["type"_L1]);
    QCOMPARE(pushed.value("range"_L1).toObject(), graph.value("range"_L1).toObject());
    QCOMPARE(starts(CalendarClient::recurrenceToRrule(pushed, zone), start), expected);
}

void TestGraphRecurrence::rulesGraphWouldRefuse_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("range");

    // Start: Wednesday 5 March 2025.
    QTest::newRow("weekly without days repeats on the start's weekday")
        << u"FREQ=WEEKLY;COUNT=4"_s
        << uR"({"type":"weekly","interval":1,"daysOfWeek":["wednesday"],"firstDayOfWeek":"monday"})"_s
        << uR"({"type":"numbered","startDate":"2025-03-05","numberOfOccurrences":4})"_s;
    QTest::newRow("lower-case part names are read")
        << u"freq=DAILY;count=2"_s << uR"({"type":"daily","interval":1})"_s
        << uR"({"type":"numbered","startDate":"2025-03-05","numberOfOccurrences":2})"_s;
    QTest::newRow("lower-case frequency is read") << u"FREQ=daily"_s << uR"({"type":"daily","interval":1})"_s
                                                  << uR"({"type":"noEnd","startDate":"2025-03-05"})"_s;
    QTest::newRow("daily on weekdays is weekly on them")
        << u"FREQ=DAILY;BYDAY=MO,TU,WE,TH,FR;COUNT=10"_s
        << uR"({"type":"weekly","interval":1,"daysOfWeek":["monday","tuesday","wednesday","thursday","friday"],
                "firstDayOfWeek":"monday"})"_s
        << uR"({"type":"numbered","startDate":"2025-03-05","numberOfOccurrences":10})"_s;
    QTest::newRow("yearly without months takes the start's day")
        << u"FREQ=YEARLY"_s << uR"({"type":"absoluteYearly","interval":1,"month":3,"dayOfMonth":5})"_s
        << uR"({"type":"noEnd","startDate":"2025-03-05"})"_s;
}

void TestGraphRecurrence::rulesGraphWouldRefuse()
{
    QFETCH(QString, rule);
    QFETCH(QString, pattern);
    QFETCH(QString, range);

    const QJsonObject out = CalendarClient::rruleToRecurrence(rule, at("Europe/Berlin", 2025, 3, 5, 9));
    QCOMPARE(out.value("pattern"_L1).toObject(), QJsonDocument::fromJson(pattern.toUtf8()).object());
    QCOMPARE(out.value("range"_L1).toObject(), QJsonDocument::fromJson(range.toUtf8()).object());
}

void TestGraphRecurrence::untilAsEndDate_data()
{
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<QString>("until");
    QTest::addColumn<QString>("endDate");

    QTest::newRow("a date is that day") << at("Europe/Berlin", 2025, 3, 3, 9) << u"20250331"_s << u"2025-03-31"_s;
    QTest::newRow("UTC end of day in Berlin")
        << at("Europe/Berlin", 2025, 3, 3, 9) << u"20250331T215959Z"_s << u"2025-03-31"_s;
    QTest::newRow("UTC end of day in New York falls on the next UTC day")
        << at("America/New_York", 2025, 3, 3, 9) << u"20250401T035959Z"_s << u"2025-03-31"_s;
}

void TestGraphRecurrence::untilAsEndDate()
{
    QFETCH(QDateTime, start);
    QFETCH(QString, until);
    QFETCH(QString, endDate);

    const QJsonObject range =
        CalendarClient::rruleToRecurrence(u"FREQ=DAILY;UNTIL="_s + until, start).value("range"_L1).toObject();
    QCOMPARE(range.value("type"_L1).toString(), u"endDate"_s);
    QCOMPARE(range.value("endDate"_L1).toString(), endDate);
}

void TestGraphRecurrence::endDateOfAllDaySeriesStaysADate()
{
    const QJsonObject graph = json(R"({"pattern":{"type":"daily","interval":1},
                                       "range":{"type":"endDate","startDate":"2025-03-01","endDate":"2025-03-31"}})");
    QCOMPARE(CalendarClient::recurrenceToRrule(graph, QTimeZone()), u"FREQ=DAILY;UNTIL=20250331"_s);
    QCOMPARE(CalendarClient::recurrenceToRrule(graph, QTimeZone("Europe/Berlin")),
             u"FREQ=DAILY;UNTIL=20250331T215959Z"_s);
}

void TestGraphRecurrence::rulesGraphCannotHold_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("reason");

    // Start: Wednesday 5 March 2025. Each would be another series there.
    QTest::newRow("hourly") << u"FREQ=HOURLY;INTERVAL=2"_s << u"daily"_s;
    QTest::newRow("last day of the month") << u"FREQ=MONTHLY;BYMONTHDAY=-1"_s << u"end of the month"_s;
    QTest::newRow("several days of the month") << u"FREQ=MONTHLY;BYMONTHDAY=1,15"_s << u"several days"_s;
    QTest::newRow("mixed ordinals") << u"FREQ=MONTHLY;BYDAY=1MO,3WE"_s << u"different weeks"_s;
    QTest::newRow("fifth weekday") << u"FREQ=MONTHLY;BYDAY=5FR"_s << u"fourth"_s;
    QTest::newRow("weekly on a numbered weekday") << u"FREQ=WEEKLY;BYDAY=-1FR"_s << u"numbered weekday"_s;
    QTest::newRow("every other day on weekdays") << u"FREQ=DAILY;INTERVAL=2;BYDAY=MO,FR"_s << u"every few days"_s;
    QTest::newRow("by hour") << u"FREQ=DAILY;BYHOUR=9,17"_s << u"BYHOUR"_s;
    QTest::newRow("interval zero") << u"FREQ=DAILY;INTERVAL=0"_s << u"INTERVAL=0"_s;
    QTest::newRow("unreadable interval") << u"FREQ=DAILY;INTERVAL=x"_s << u"INTERVAL=x"_s;
    QTest::newRow("too short UNTIL with COUNT") << u"FREQ=DAILY;UNTIL=2025;COUNT=3"_s << u"UNTIL"_s;
    QTest::newRow("too short UNTIL") << u"FREQ=DAILY;UNTIL=202503"_s << u"UNTIL"_s;
}

void TestGraphRecurrence::rulesGraphCannotHold()
{
    QFETCH(QString, rule);
    QFETCH(QString, reason);

    QString problem;
    QVERIFY(CalendarClient::rruleToRecurrence(rule, at("Europe/Berlin", 2025, 3, 5, 9), &problem).isEmpty());
    QVERIFY2(problem.contains(reason), qPrintable(problem));
}

void TestGraphRecurrence::unknownPatternsGiveNothing_data()
{
    QTest::addColumn<QString>("rule");
    QTest::newRow("hourly") << u"FREQ=HOURLY"_s;
    QTest::newRow("prefix still in front") << u"RRULE:FREQ=DAILY"_s;
    QTest::newRow("no frequency") << u"COUNT=3"_s;
}

void TestGraphRecurrence::unknownPatternsGiveNothing()
{
    QFETCH(QString, rule);
    QVERIFY(CalendarClient::rruleToRecurrence(rule, at("Europe/Berlin", 2025, 3, 5, 9)).isEmpty());
    QVERIFY(CalendarClient::recurrenceToRrule(json(R"({"pattern":{"type":"hourly"}})"), QTimeZone()).isEmpty());
    QVERIFY(CalendarClient::recurrenceToRrule(QJsonObject(), QTimeZone()).isEmpty());
}

QTEST_GUILESS_MAIN(TestGraphRecurrence)
#include "tst_graphrecurrence.moc"
