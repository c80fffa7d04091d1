#include "expansiontestutil.h"
#include "icalendar.h"
#include "recurrence.h"

#include <QTest>

using namespace ExpansionTest;

namespace {

QDateTime utcAt(const char *iso)
{
    return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODate);
}

// "title@start" in UTC, so that a list shows which row stands where.
QStringList titled(const QList<Event> &occurrences)
{
    QStringList out;
    for (const Event &e : occurrences)
        out.append(e.title + QLatin1Char('@') + e.start_time.toUTC().toString(Qt::ISODate));
    return out;
}

QStringList strings(std::initializer_list<const char *> values)
{
    QStringList out;
    for (const char *v : values)
        out.append(QString::fromLatin1(v));
    return out;
}

Event overrideOf(const Event &master, const char *recurrenceId, const char *start, const char *title = "Moved")
{
    Event row = master;
    row.id = QStringLiteral("override");
    row.recurrence_rule.clear();
    row.title = QString::fromLatin1(title);
    row.master_event_uid = master.uid;
    row.recurrence_id = QString::fromLatin1(recurrenceId);
    row.start_time = utcAt(start);
    row.end_time = row.start_time.addSecs(3600);
    return row;
}

// A zone of its own, as mail clients send it: -03:00, and -02:00 from the
// second Sunday of March to the first Sunday of November (02:00 wall clock).
const char *const kCustomZone =
    "BEGIN:VTIMEZONE\r\nTZID:Customized Time Zone\r\n"
    "BEGIN:STANDARD\r\nDTSTART:16010101T020000\r\nTZOFFSETFROM:-0200\r\nTZOFFSETTO:-0300\r\n"
    "RRULE:FREQ=YEARLY;INTERVAL=1;BYDAY=1SU;BYMONTH=11\r\nEND:STANDARD\r\n"
    "BEGIN:DAYLIGHT\r\nDTSTART:16010101T020000\r\nTZOFFSETFROM:-0300\r\nTZOFFSETTO:-0200\r\n"
    "RRULE:FREQ=YEARLY;INTERVAL=1;BYDAY=2SU;BYMONTH=3\r\nEND:DAYLIGHT\r\nEND:VTIMEZONE\r\n";

} // namespace

class TestExpansion : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void oneOffsComeFirstThenEachMastersOccurrences()
    {
        Event daily = series(QStringLiteral("2024-06-01T09:00"), QStringLiteral("UTC"), QStringLiteral("FREQ=DAILY"));
        daily.title = QStringLiteral("Daily");
        Reminder reminder;
        reminder.minutes_before = 10;
        daily.reminders.append(reminder);
        Event weekly = series(QStringLiteral("2024-05-29T12:00"), QStringLiteral("UTC"), QStringLiteral("FREQ=WEEKLY"));
        weekly.uid = QStringLiteral("uid-2");
        weekly.title = QStringLiteral("Weekly");
        Event lastYear = series(QStringLiteral("2023-01-01T09:00"), QStringLiteral("UTC"), QString());
        lastYear.title = QStringLiteral("Old one-off");
        Event orphanId = lastYear;
        orphanId.title = QStringLiteral("Instance without series name");
        orphanId.recurrence_id = QStringLiteral("20240601T090000Z");

        const QList<Event> result = Recurrence::expandEvents({daily, lastYear, weekly, orphanId},
                                                             utcAt("2024-06-04T00:00:00Z"),
                                                             utcAt("2024-06-06T00:00:00Z"));
        QCOMPARE(titled(result),
                 strings({"Old one-off@2023-01-01T09:00:00Z", "Instance without series name@2023-01-01T09:00:00Z",
                          "Daily@2024-06-04T09:00:00Z", "Daily@2024-06-05T09:00:00Z", "Weekly@2024-06-05T12:00:00Z"}));
        const Event &occurrence = result.at(2);
        QCOMPARE(occurrence.id, daily.id);
        QCOMPARE(occurrence.recurrence_id, QStringLiteral("20240604T090000Z"));
        QCOMPARE(occurrence.end_time, std::optional(utcAt("2024-06-04T10:00:00Z")));
        QCOMPARE(occurrence.reminders, daily.reminders);
        QCOMPARE(occurrence.start_time.timeSpec(), Qt::UTC);
    }

    void windowEdges_data()
    {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("expected");
        // Daily at 09:00 UTC, lasting `minutes`; the window ends 2024-06-03T09:00Z.
        QTest::newRow("an occurrence ending exactly at the window start is outside")
            << 60 << "2024-06-01T10:00:00Z" << 1;
        QTest::newRow("an occurrence running into the window is inside") << 60 << "2024-06-01T09:59:00Z" << 2;
        QTest::newRow("an occurrence starting exactly at the window end is outside")
            << 60 << "2024-06-02T09:00:00Z" << 1;
        QTest::newRow("a zero-length occurrence at the window start is outside") << 0 << "2024-06-02T09:00:00Z" << 0;
    }
    void windowEdges()
    {
        QFETCH(int, minutes);
        QFETCH(QString, from);
        QFETCH(int, expected);
        const Event daily = series(QStringLiteral("2024-06-01T09:00"), QStringLiteral("UTC"),
                                   QStringLiteral("FREQ=DAILY"), minutes);
        QCOMPARE(Recurrence::expandEvent(daily, QDateTime::fromString(from, Qt::ISODate), utcAt("2024-06-03T09:00:00Z"))
                     .size(),
                 expected);
    }

    void aMasterWithoutEndLastsAnHour()
    {
        Event daily = series(QStringLiteral("2024-06-01T09:00"), QStringLiteral("UTC"), QStringLiteral("FREQ=DAILY"));
        daily.end_time.reset();
        const QList<Event> result = Recurrence::expandEvent(daily, utcAt("2024-06-02T09:30:00Z"),
                                                            utcAt("2024-06-03T00:00:00Z"));
        QCOMPARE(titled(result), strings({"Series@2024-06-02T09:00:00Z"}));
        QCOMPARE(result.at(0).end_time, std::optional(utcAt("2024-06-02T10:00:00Z")));
    }

    void exceptionDates_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("zone");
        QTest::addColumn<QString>("exceptions");
        QTest::addColumn<QStringList>("expected");
        const QString berlin = QStringLiteral("Europe/Berlin");
        QTest::newRow("a UTC value removes the start at that instant, and still counts")
            << "2024-06-01T09:00" << berlin << R"(["20240602T070000Z"])"
            << strings({"Series@2024-06-01T07:00:00Z", "Series@2024-06-03T07:00:00Z"});
        QTest::newRow("a floating value is a wall clock of the series' zone")
            << "2024-06-01T09:00" << berlin << R"(["20240602T090000"])"
            << strings({"Series@2024-06-01T07:00:00Z", "Series@2024-06-03T07:00:00Z"});
        QTest::newRow("a date removes the occurrence on that date of the series' zone")
            << "2024-06-01T01:00" << berlin << R"(["20240602"])"
            << strings({"Series@2024-05-31T23:00:00Z", "Series@2024-06-02T23:00:00Z"});
        QTest::newRow("a plain comma list is read as well")
            << "2024-06-01T09:00" << berlin << "20240601T070000Z,20240603T070000Z"
            << strings({"Series@2024-06-02T07:00:00Z"});
        QTest::newRow("a value at another time of day removes nothing")
            << "2024-06-01T09:00" << berlin << R"(["20240602T090000Z", 5, "junk"])"
            << strings({"Series@2024-06-01T07:00:00Z", "Series@2024-06-02T07:00:00Z", "Series@2024-06-03T07:00:00Z"});
        QTest::newRow("broken JSON removes nothing")
            << "2024-06-01T09:00" << berlin << R"(["20240602T070000Z")"
            << strings({"Series@2024-06-01T07:00:00Z", "Series@2024-06-02T07:00:00Z", "Series@2024-06-03T07:00:00Z"});
        QStringList many; // a value for each day of 270 years, the window's among them
        for (QDate day(2024, 6, 2); many.size() < 100000; day = day.addDays(1))
            many.append(u'"' + day.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("T070000Z\""));
        QTest::newRow("100,000 values remove the window's own")
            << "2024-06-01T09:00" << berlin << u'[' + many.join(u',') + u']'
            << strings({"Series@2024-06-01T07:00:00Z"});
    }
    void exceptionDates()
    {
        QFETCH(QString, start);
        QFETCH(QString, zone);
        QFETCH(QString, exceptions);
        QFETCH(QStringList, expected);
        Event daily = series(start, zone, QStringLiteral("FREQ=DAILY;COUNT=3"));
        daily.exception_dates = exceptions;
        QCOMPARE(titled(Recurrence::expandEvent(daily, utcAt("2024-05-01T00:00:00Z"), utcAt("2024-07-01T00:00:00Z"))),
                 expected);
    }

    void recurrenceDates_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QString>("dates");
        QTest::addColumn<QString>("exceptions");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("a plain comma list and a period are read as well")
            << "FREQ=WEEKLY;COUNT=1"
            << "20240603T150000Z/PT1H, 20240604T150000Z" << QString()
            << strings({"Series@2024-06-01T09:00:00Z", "Series@2024-06-03T15:00:00Z", "Series@2024-06-04T15:00:00Z"});
        QTest::newRow("exception dates remove extra dates too")
            << "FREQ=WEEKLY;COUNT=1"
            << R"(["20240603T150000Z"])"
            << R"(["20240603T150000Z"])" << strings({"Series@2024-06-01T09:00:00Z"});
        QTest::newRow("extra dates without a rule add to the first start")
            << QString() << R"(["20240605T090000Z"])" << QString()
            << strings({"Series@2024-06-01T09:00:00Z", "Series@2024-06-05T09:00:00Z"});
    }
    void recurrenceDates()
    {
        QFETCH(QString, rule);
        QFETCH(QString, dates);
        QFETCH(QString, exceptions);
        QFETCH(QStringList, expected);
        Event master = series(QStringLiteral("2024-06-01T09:00"), QStringLiteral("UTC"), rule);
        master.recurrence_dates = dates;
        master.exception_dates = exceptions;
        const QList<Event> result = Recurrence::expandEvents({master}, utcAt("2024-05-01T00:00:00Z"),
                                                             utcAt("2024-07-01T00:00:00Z"));
        QCOMPARE(titled(result), expected);
        for (const Event &e : result)
            QCOMPARE(e.recurrence_id, e.start_time.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")));
    }

    void overrides_data()
    {
        QTest::addColumn<QString>("recurrenceId");
        QTest::addColumn<QString>("movedTo");
        QTest::addColumn<QString>("exceptions");
        QTest::addColumn<QStringList>("expected");
        // Daily at 09:00 Berlin (07:00 UTC); the window holds 3, 4 and 5 June.
        QTest::newRow("an override in the window takes its occurrence's place")
            << "20240604T070000Z"
            << "2024-06-04T11:00:00Z" << QString()
            << strings({"Series@2024-06-03T07:00:00Z", "Moved@2024-06-04T11:00:00Z", "Series@2024-06-05T07:00:00Z"});
        QTest::newRow("an override moved out of the window takes its occurrence along")
            << "20240604T070000Z"
            << "2024-06-20T07:00:00Z" << QString()
            << strings({"Series@2024-06-03T07:00:00Z", "Series@2024-06-05T07:00:00Z"});
        QTest::newRow("an override moved in from a start outside the window is returned")
            << "20240610T070000Z"
            << "2024-06-05T15:00:00Z" << QString()
            << strings({"Series@2024-06-03T07:00:00Z", "Series@2024-06-04T07:00:00Z", "Series@2024-06-05T07:00:00Z",
                        "Moved@2024-06-05T15:00:00Z"});
        QTest::newRow("an override of an excluded start still shows")
            << "20240604T070000Z"
            << "2024-06-04T12:00:00Z"
            << R"(["20240604T070000Z"])"
            << strings({"Series@2024-06-03T07:00:00Z", "Series@2024-06-05T07:00:00Z", "Moved@2024-06-04T12:00:00Z"});
        QTest::newRow("a floating recurrence id is a wall clock of the series' zone")
            << "20240604T090000"
            << "2024-06-04T11:00:00Z" << QString()
            << strings({"Series@2024-06-03T07:00:00Z", "Moved@2024-06-04T11:00:00Z", "Series@2024-06-05T07:00:00Z"});
        QTest::newRow("a date recurrence id names the occurrence on that date")
            << "20240604"
            << "2024-06-04T11:00:00Z" << QString()
            << strings({"Series@2024-06-03T07:00:00Z", "Moved@2024-06-04T11:00:00Z", "Series@2024-06-05T07:00:00Z"});
        QTest::newRow("an override of no start of the series, outside the window, is left out")
            << "20240604T080000Z"
            << "2024-07-01T08:00:00Z" << QString()
            << strings({"Series@2024-06-03T07:00:00Z", "Series@2024-06-04T07:00:00Z", "Series@2024-06-05T07:00:00Z"});
    }
    void overrides()
    {
        QFETCH(QString, recurrenceId);
        QFETCH(QString, movedTo);
        QFETCH(QString, exceptions);
        QFETCH(QStringList, expected);
        Event master = series(QStringLiteral("2024-06-01T09:00"), QStringLiteral("Europe/Berlin"),
                              QStringLiteral("FREQ=DAILY"));
        master.exception_dates = exceptions;
        const Event moved = overrideOf(master, recurrenceId.toLatin1().constData(), movedTo.toLatin1().constData());
        QCOMPARE(titled(Recurrence::expandEvents({moved, master}, utcAt("2024-06-03T00:00:00Z"),
                                                 utcAt("2024-06-06T00:00:00Z"))),
                 expected);
    }

    void anOverrideBelongsToItsOwnCalendar()
    {
        const Event inA = series(QStringLiteral("2024-06-01T09:00"), QStringLiteral("UTC"),
                                 QStringLiteral("FREQ=DAILY"));
        Event inB = inA;
        inB.calendar_id = QStringLiteral("other");
        inB.title = QStringLiteral("Copy");
        const Event moved = overrideOf(inA, "20240603T090000Z", "2024-06-03T10:00:00Z");
        QCOMPARE(titled(Recurrence::expandEvents({inA, inB, moved}, utcAt("2024-06-03T00:00:00Z"),
                                                 utcAt("2024-06-04T00:00:00Z"))),
                 strings({"Moved@2024-06-03T10:00:00Z", "Copy@2024-06-03T09:00:00Z"}));
    }

    void aLaterOverrideRowForTheSameStartWins()
    {
        const Event master = series(QStringLiteral("2024-06-01T09:00"), QStringLiteral("UTC"),
                                    QStringLiteral("FREQ=DAILY"));
        const Event first = overrideOf(master, "20240603T090000Z", "2024-06-03T10:00:00Z", "First");
        const Event second = overrideOf(master, "20240603T090000Z", "2024-06-03T11:00:00Z", "Second");
        QCOMPARE(titled(Recurrence::expandEvents({first, master, second}, utcAt("2024-06-03T00:00:00Z"),
                                                 utcAt("2024-06-04T00:00:00Z"))),
                 strings({"Second@2024-06-03T11:00:00Z"}));
    }

    void anInstanceWithoutItsSeriesShowsWithinItsSpan()
    {
        const Event master = series(QStringLiteral("2024-06-01T09:00"), QStringLiteral("UTC"),
                                    QStringLiteral("FREQ=DAILY"));
        const Event invited = overrideOf(master, "20240603T090000Z", "2024-06-03T10:00:00Z", "Invited");
        const Event elsewhere = overrideOf(master, "20240610T090000Z", "2024-06-10T10:00:00Z", "Elsewhere");
        QCOMPARE(titled(Recurrence::expandEvents({invited, elsewhere}, utcAt("2024-06-03T00:00:00Z"),
                                                 utcAt("2024-06-04T00:00:00Z"))),
                 strings({"Invited@2024-06-03T10:00:00Z"}));
    }

    void aSeriesBegunDecadesAgoStillShows_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("daily since 1990")
            << "FREQ=DAILY"
            << strings({"2025-06-02T09:00:00+02:00", "2025-06-03T09:00:00+02:00", "2025-06-04T09:00:00+02:00"});
        QTest::newRow("every third week keeps its rhythm")
            << "FREQ=WEEKLY;INTERVAL=3;BYDAY=MO,WE"
            << strings({"2025-06-02T09:00:00+02:00", "2025-06-04T09:00:00+02:00"});
        QTest::newRow("hourly within a window") << "FREQ=HOURLY;INTERVAL=7;BYHOUR=9,16"
                                                << strings({"2025-06-02T09:00:00+02:00", "2025-06-02T16:00:00+02:00"});
        QTest::newRow("a COUNT still counts from the first start") << "FREQ=DAILY;COUNT=10000" << QStringList();
    }
    void aSeriesBegunDecadesAgoStillShows()
    {
        QFETCH(QString, rule);
        QFETCH(QStringList, expected);
        // 1990-01-01 was a Monday; 2025-06-02 is 1849 weeks later, a multiple of 3 plus 1.
        const Event master = series(QStringLiteral("1990-01-01T09:00"), QStringLiteral("Europe/Berlin"), rule);
        QCOMPARE(startsOf(Recurrence::expandEvent(master, utcAt("2025-06-02T00:00:00Z"), utcAt("2025-06-05T00:00:00Z")),
                          QStringLiteral("Europe/Berlin")),
                 expected);
    }

    void everySeriesIsBoundedPerCall()
    {
        const Event minutely = series(QStringLiteral("2024-01-01T00:00"), QStringLiteral("UTC"),
                                      QStringLiteral("FREQ=MINUTELY"));
        QCOMPARE(Recurrence::expandEvent(minutely, utcAt("2024-01-01T00:00:00Z"), utcAt("2025-01-01T00:00:00Z")).size(),
                 10000);
        const Event never = series(QStringLiteral("2001-01-30T00:00"), QStringLiteral("UTC"),
                                   QStringLiteral("FREQ=SECONDLY;BYMONTH=2;BYMONTHDAY=30"));
        QCOMPARE(Recurrence::expandEvent(never, utcAt("2001-01-01T00:00:00Z"), utcAt("2101-01-01T00:00:00Z")).size(),
                 1);
        const Event invalidStart = series(QStringLiteral("junk"), QStringLiteral("UTC"),
                                          QStringLiteral("FREQ=SECONDLY"));
        QCOMPARE(
            Recurrence::expandEvent(invalidStart, utcAt("2001-01-01T00:00:00Z"), utcAt("2101-01-01T00:00:00Z")).size(),
            0);
    }

    // Rules no client writes, but a feed may hold: each gives the right
    // starts without walking or building more than a window needs.
    void hostileRules_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QDateTime>("from");
        QTest::addColumn<QDateTime>("to");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        const auto list = [](int from, int to) {
            QStringList values;
            for (int i = from; i <= to; ++i)
                values.append(QString::number(i));
            return values.join(QLatin1Char(','));
        };
        const QString everySecond = QStringLiteral("FREQ=YEARLY;BYDAY=MO,TU,WE,TH,FR,SA,SU;BYHOUR=") + list(0, 23)
            + QStringLiteral(";BYMINUTE=") + list(0, 59) + QStringLiteral(";BYSECOND=") + list(0, 59);
        QTest::newRow("every second of a year, BYSETPOS=-1: each year's last second")
            << "1970-01-01T00:00" << everySecond + QStringLiteral(";BYSETPOS=-1") << utcAt("1970-01-01T00:00:00Z")
            << utcAt("2100-01-01T00:00:00Z") << 130 << "1970-12-31T23:59:59Z"
            << "2099-12-31T23:59:59Z";
        QTest::newRow("every second of a year: a window in July begins at its first second")
            << "2024-01-01T00:00" << everySecond << utcAt("2024-07-01T00:00:00Z") << utcAt("2024-07-01T00:00:10Z") << 10
            << "2024-07-01T00:00:00Z"
            << "2024-07-01T00:00:09Z";
        QTest::newRow("BYSETPOS=2 of one start a second: the first start alone")
            << "2024-01-01T00:00"
            << "FREQ=SECONDLY;BYSETPOS=2" << utcAt("2024-01-01T00:00:00Z") << utcAt("2124-01-01T00:00:00Z") << 1
            << "2024-01-01T00:00:00Z" << "2024-01-01T00:00:00Z";
        QTest::newRow("BYSETPOS=3 of two starts a day: the first start alone")
            << "2024-01-01T00:00"
            << "FREQ=DAILY;BYHOUR=9,17;BYSETPOS=3,-3" << utcAt("2024-01-01T00:00:00Z") << utcAt("2124-01-01T00:00:00Z")
            << 1 << "2024-01-01T00:00:00Z" << "2024-01-01T00:00:00Z";
        QTest::newRow("BYSETPOS=-2 of two starts a day: the morning one")
            << "2024-01-01T09:00"
            << "FREQ=DAILY;BYHOUR=9,17;BYSETPOS=-2" << utcAt("2024-01-01T00:00:00Z") << utcAt("2024-01-03T00:00:00Z")
            << 2 << "2024-01-01T09:00:00Z"
            << "2024-01-02T09:00:00Z";
        QTest::newRow("SECONDLY;INTERVAL=2147483647: a start every 68 years")
            << "2024-01-01T00:00"
            << "FREQ=SECONDLY;INTERVAL=2147483647" << utcAt("2024-01-01T00:00:00Z") << utcAt("2124-01-01T00:00:00Z")
            << 2 << "2024-01-01T00:00:00Z"
            << "2092-01-19T03:14:07Z";
        QTest::newRow("DAILY;INTERVAL=2147483647: the first start alone")
            << "2024-01-01T00:00"
            << "FREQ=DAILY;INTERVAL=2147483647" << utcAt("2024-01-01T00:00:00Z") << utcAt("2124-01-01T00:00:00Z") << 1
            << "2024-01-01T00:00:00Z"
            << "2024-01-01T00:00:00Z";
        QTest::newRow("UNTIL before the start: the first start alone")
            << "2024-01-01T00:00"
            << "FREQ=DAILY;UNTIL=20000101T000000Z" << utcAt("1990-01-01T00:00:00Z") << utcAt("2124-01-01T00:00:00Z")
            << 1 << "2024-01-01T00:00:00Z" << "2024-01-01T00:00:00Z";
        QTest::newRow("COUNT=2147483647 begun decades ago reaches the window")
            << "1990-01-01T09:00"
            << "FREQ=DAILY;COUNT=2147483647" << utcAt("2024-06-01T00:00:00Z") << utcAt("2024-06-03T00:00:00Z") << 2
            << "2024-06-01T09:00:00Z"
            << "2024-06-02T09:00:00Z";
        QTest::newRow("SECONDLY;COUNT=1000000000 begun a year ago reaches the window")
            << "2023-06-01T00:00"
            << "FREQ=SECONDLY;COUNT=1000000000" << utcAt("2024-06-01T00:00:00Z") << utcAt("2024-06-01T00:00:10Z") << 10
            << "2024-06-01T00:00:00Z"
            << "2024-06-01T00:00:09Z";
        QTest::newRow("HOURLY;COUNT=30 begun the day before ends in the window")
            << "2024-06-01T00:00"
            << "FREQ=HOURLY;COUNT=30" << utcAt("2024-06-02T00:00:00Z") << utcAt("2024-06-03T00:00:00Z") << 6
            << "2024-06-02T00:00:00Z"
            << "2024-06-02T05:00:00Z";
        QTest::newRow("MINUTELY;COUNT=3 begun the day before is over")
            << "2024-06-01T00:00"
            << "FREQ=MINUTELY;COUNT=3" << utcAt("2024-06-02T00:00:00Z") << utcAt("2024-06-03T00:00:00Z") << 0
            << QString() << QString();
        QTest::newRow("WEEKLY;INTERVAL=2;COUNT=5 counts the weeks it skips")
            << "2024-01-01T09:00"
            << "FREQ=WEEKLY;INTERVAL=2;COUNT=5" << utcAt("2024-02-01T00:00:00Z") << utcAt("2024-04-01T00:00:00Z") << 2
            << "2024-02-12T09:00:00Z"
            << "2024-02-26T09:00:00Z";
        QTest::newRow("DAILY;INTERVAL=3;COUNT=10 counts the days it skips")
            << "2024-01-01T09:00"
            << "FREQ=DAILY;INTERVAL=3;COUNT=10" << utcAt("2024-01-20T00:00:00Z") << utcAt("2024-03-01T00:00:00Z") << 3
            << "2024-01-22T09:00:00Z"
            << "2024-01-28T09:00:00Z";
    }
    void hostileRules()
    {
        QFETCH(QString, start);
        QFETCH(QString, rule);
        QFETCH(QDateTime, from);
        QFETCH(QDateTime, to);
        QFETCH(int, count);
        QFETCH(QString, first);
        QFETCH(QString, last);
        Event master = series(start, QStringLiteral("UTC"), rule);
        master.end_time = master.start_time.addSecs(1);
        const QStringList starts = startsOf(Recurrence::expandEvent(master, from, to), QStringLiteral("UTC"));
        QCOMPARE(starts.size(), count);
        if (count > 0) {
            QCOMPARE(starts.first(), first);
            QCOMPARE(starts.last(), last);
        }
    }

    // A view that shows a bounded number gets the earliest and how many more.
    void boundedPerSeries_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<int>("bound");
        QTest::addColumn<int>("shown");
        QTest::addColumn<qint64>("more");
        QTest::addColumn<bool>("atLeast");
        QTest::newRow("every hour within the bound") << "FREQ=HOURLY" << 100 << 24 << qint64(0) << false;
        QTest::newRow("every hour past a bound of 10: the rest counted")
            << "FREQ=HOURLY" << 10 << 10 << qint64(14) << false;
        QTest::newRow("every second: counting stops") << "FREQ=SECONDLY" << 100 << 100 << qint64(2000) << true;
    }
    void boundedPerSeries()
    {
        QFETCH(QString, rule);
        QFETCH(int, bound);
        QFETCH(int, shown);
        QFETCH(qint64, more);
        QFETCH(bool, atLeast);
        Event master = series(QStringLiteral("2024-06-01T00:00"), QStringLiteral("UTC"), rule);
        master.end_time = master.start_time.addSecs(1);
        Event second = master;
        second.uid = QStringLiteral("uid-2");
        const Recurrence::BoundedExpansion expanded = Recurrence::expandEventsBounded({master, second},
                                                                                      utcAt("2024-06-02T00:00:00Z"),
                                                                                      utcAt("2024-06-03T00:00:00Z"),
                                                                                      bound);
        QCOMPARE(expanded.occurrences.size(), 2 * shown);
        QCOMPARE(expanded.more, 2 * more);
        QCOMPARE(expanded.moreIsLowerBound, atLeast);
        if (shown > 0)
            QCOMPARE(expanded.occurrences.first().start_time, utcAt("2024-06-02T00:00:00Z"));
    }

    void aStartKeptInUtcRepeatsOnItsZonesWallClock()
    {
        Event weekly = series(QStringLiteral("2024-03-23T08:00"), QStringLiteral("UTC"),
                              QStringLiteral("FREQ=WEEKLY;COUNT=3"));
        weekly.timezone = QStringLiteral("Europe/Berlin");
        QCOMPARE(titled(Recurrence::expandEvent(weekly, utcAt("2024-03-01T00:00:00Z"), utcAt("2024-05-01T00:00:00Z"))),
                 strings(
                     {"Series@2024-03-23T08:00:00Z", "Series@2024-03-30T08:00:00Z", "Series@2024-04-06T07:00:00Z"}));
        weekly.is_all_day = true;
        weekly.start_time = utcAt("2024-03-23T00:00:00Z");
        weekly.end_time = utcAt("2024-03-24T00:00:00Z");
        QCOMPARE(titled(Recurrence::expandEvent(weekly, utcAt("2024-03-01T00:00:00Z"), utcAt("2024-05-01T00:00:00Z"))),
                 strings(
                     {"Series@2024-03-23T00:00:00Z", "Series@2024-03-30T00:00:00Z", "Series@2024-04-06T00:00:00Z"}));
    }

    // Both test zones change their clocks in March.
    void aLocalTimeSeriesKeepsItsLocalWallClock()
    {
        const Event daily = series(QStringLiteral("2024-03-01T09:00"), QString(),
                                   QStringLiteral("FREQ=DAILY;COUNT=40"));
        const QList<Event> result = Recurrence::expandEvent(daily, utcAt("2024-02-01T00:00:00Z"),
                                                            utcAt("2024-05-01T00:00:00Z"));
        QCOMPARE(result.size(), 40);
        for (const Event &e : result) {
            QCOMPARE(e.start_time.timeSpec(), Qt::LocalTime);
            QCOMPARE(e.start_time.time(), QTime(9, 0));
        }
    }

    // 02:30 occurs twice on 27 October in Berlin: the reader and the
    // expansion must both take the first, or the exception and the override
    // miss their occurrence.
    void aRepeatedWallClockMeetsItsExceptionAndOverride()
    {
        if (!zoneOf(QStringLiteral("Europe/Berlin")).isValid())
            QSKIP("zone data missing");
        const QList<Event> rows = ICalendar::parseEvents(QStringLiteral(
            "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:s\r\nSUMMARY:Series\r\n"
            "DTSTART;TZID=Europe/Berlin:20241026T023000\r\nDTEND;TZID=Europe/Berlin:20241026T024500\r\n"
            "RRULE:FREQ=DAILY;COUNT=3\r\nEXDATE;TZID=Europe/Berlin:20241027T023000\r\nEND:VEVENT\r\n"
            "BEGIN:VEVENT\r\nUID:s\r\nSUMMARY:Moved\r\nRECURRENCE-ID;TZID=Europe/Berlin:20241028T023000\r\n"
            "DTSTART;TZID=Europe/Berlin:20241028T100000\r\nDTEND;TZID=Europe/Berlin:20241028T110000\r\n"
            "END:VEVENT\r\nEND:VCALENDAR\r\n"));
        QCOMPARE(rows.size(), 2);
        QCOMPARE(titled(Recurrence::expandEvents(rows, utcAt("2024-10-25T00:00:00Z"), utcAt("2024-11-01T00:00:00Z"))),
                 strings({"Series@2024-10-26T00:30:00Z", "Moved@2024-10-28T09:00:00Z"}));
        QCOMPARE(Recurrence::expandEvent(rows[0], utcAt("2024-10-27T00:00:00Z"), utcAt("2024-10-27T02:00:00Z")),
                 QList<Event>());
    }

    // Series read from text, so that the written wall clock and zone rules
    // are those the reader and the expansion see.
    void seriesReadFromText_data()
    {
        QTest::addColumn<QString>("text"); // VTIMEZONEs and VEVENTs, CR LF
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QStringList>("occurrences");
        QTest::addColumn<QTime>("wallClock"); // of every occurrence in the event's zone, when given
        const auto event = [](const char *lines) {
            return QStringLiteral("BEGIN:VEVENT\r\nUID:s\r\nSUMMARY:Series\r\n") + QString::fromLatin1(lines)
                + QStringLiteral("END:VEVENT\r\n");
        };

        // A start in a DST gap (the differential corpus holds more)
        QTest::newRow("Gap: UNTIL equal to a start in the gap, as a wall clock, keeps that start")
            << event("DTSTART;TZID=America/New_York:20240310T023000\r\nRRULE:FREQ=DAILY;UNTIL=20240310T023000\r\n")
            << "2024-03-01T00:00:00Z"
            << "2024-04-01T00:00:00Z" << strings({"Series@2024-03-10T07:30:00Z"}) << QTime();
        QTest::newRow("Gap: a start written after the gap stays at its own wall clock")
            << event("DTSTART;TZID=America/New_York:20240310T033000\r\nRRULE:FREQ=WEEKLY;COUNT=2\r\n")
            << "2024-03-01T00:00:00Z"
            << "2024-04-01T00:00:00Z" << strings({"Series@2024-03-10T07:30:00Z", "Series@2024-03-17T07:30:00Z"})
            << QTime();

        // An override for this and every later occurrence; a later single one still wins.
        const QString onwards = event("DTSTART;TZID=Europe/Berlin:20240601T090000\r\n"
                                      "DTEND;TZID=Europe/Berlin:20240601T100000\r\nRRULE:FREQ=DAILY;COUNT=5\r\n")
            + QStringLiteral("BEGIN:VEVENT\r\nUID:s\r\nSUMMARY:Later\r\n"
                             "RECURRENCE-ID;RANGE=THISANDFUTURE;TZID=Europe/Berlin:20240602T090000\r\n"
                             "DTSTART;TZID=Europe/Berlin:20240603T110000\r\n"
                             "DTEND;TZID=Europe/Berlin:20240603T113000\r\nEND:VEVENT\r\n");
        QTest::newRow("This and future: the shift and properties go for every later occurrence")
            << onwards << "2024-06-01T00:00:00Z"
            << "2024-06-10T00:00:00Z"
            << strings({"Series@2024-06-01T07:00:00Z", "Later@2024-06-03T09:00:00Z", "Later@2024-06-04T09:00:00Z",
                        "Later@2024-06-05T09:00:00Z", "Later@2024-06-06T09:00:00Z"})
            << QTime();
        QTest::newRow("This and future: shifted in from before the window, out past its end")
            << onwards + QStringLiteral("BEGIN:VEVENT\r\nUID:s\r\nSUMMARY:Moved\r\n"
                                        "RECURRENCE-ID;TZID=Europe/Berlin:20240604T090000\r\n"
                                        "DTSTART;TZID=Europe/Berlin:20240604T150000\r\nEND:VEVENT\r\n")
            << "2024-06-04T00:00:00Z"
            << "2024-06-06T00:00:00Z"
            << strings({"Later@2024-06-04T09:00:00Z", "Moved@2024-06-04T13:00:00Z"})
            << QTime();

        QTest::newRow("All-day series: a zoned midnight names its written date, the moved occurrence timed")
            << event("DTSTART;VALUE=DATE:20250608\r\nRRULE:FREQ=DAILY;COUNT=3\r\n")
                + QStringLiteral("BEGIN:VEVENT\r\nUID:s\r\nSUMMARY:Moved\r\n"
                                 "RECURRENCE-ID;TZID=Asia/Tokyo:20250609T000000\r\n"
                                 "DTSTART:20250609T150000Z\r\nDTEND:20250609T160000Z\r\nEND:VEVENT\r\n")
            << "2025-06-08T00:00:00Z"
            << "2025-06-11T00:00:00Z"
            << strings({"Series@2025-06-08T00:00:00Z", "Moved@2025-06-09T15:00:00Z", "Series@2025-06-10T00:00:00Z"})
            << QTime();

        // As clients that give every end a time write it: the machine's midnight.
        const QString lastMidnight = TimeUtil::toIcalUtc(QDateTime(QDate(2025, 6, 10), QTime(0, 0)));
        QTest::newRow("All-day series: a UTC end at a midnight here ends on that midnight's day")
            << event(qPrintable(QStringLiteral("DTSTART;VALUE=DATE:20250608\r\nRRULE:FREQ=DAILY;UNTIL=") + lastMidnight
                                + QStringLiteral("\r\n")))
            << "2025-06-01T00:00:00Z"
            << "2025-06-20T00:00:00Z"
            << strings({"Series@2025-06-08T00:00:00Z", "Series@2025-06-09T00:00:00Z", "Series@2025-06-10T00:00:00Z"})
            << QTime();
        QTest::newRow("All-day series without an end lasts its day, also in a day's window west of UTC")
            << event("DTSTART;VALUE=DATE:20250608\r\nRRULE:FREQ=YEARLY\r\n") << "2025-06-08T04:00:00Z"
            << "2025-06-09T04:00:00Z" << strings({"Series@2025-06-08T00:00:00Z"}) << QTime();

        // Zones defined by the text
        QTest::newRow("Defined zone: weekly 09:00 follows the zone's own change, EXDATE and override meet")
            << QString::fromLatin1(kCustomZone)
                + event("DTSTART;TZID=\"Customized Time Zone\":20240305T090000\r\n"
                        "DTEND;TZID=\"Customized Time Zone\":20240305T100000\r\nRRULE:FREQ=WEEKLY;COUNT=4\r\n"
                        "EXDATE;TZID=\"Customized Time Zone\":20240319T090000\r\n")
                + QStringLiteral("BEGIN:VEVENT\r\nUID:s\r\nSUMMARY:Moved\r\n"
                                 "RECURRENCE-ID;TZID=\"Customized Time Zone\":20240312T090000\r\n"
                                 "DTSTART;TZID=\"Customized Time Zone\":20240312T140000\r\nEND:VEVENT\r\n")
            << "2024-03-01T00:00:00Z"
            << "2024-04-01T00:00:00Z"
            << strings({"Series@2024-03-05T12:00:00Z", "Moved@2024-03-12T16:00:00Z", "Series@2024-03-26T11:00:00Z"})
            << QTime(9, 0);
        QTest::newRow("Defined zone: a rule ended by its UTC UNTIL gives way to the next one")
            << QStringLiteral("BEGIN:VTIMEZONE\r\nTZID:Changed Rules\r\n"
                              "BEGIN:STANDARD\r\nDTSTART:19701101T020000\r\nTZOFFSETFROM:-0400\r\nTZOFFSETTO:-0500\r\n"
                              "RRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU\r\nEND:STANDARD\r\n"
                              "BEGIN:DAYLIGHT\r\nDTSTART:19700308T020000\r\nTZOFFSETFROM:-0500\r\nTZOFFSETTO:-0400\r\n"
                              "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU;UNTIL=20230312T070000Z\r\nEND:DAYLIGHT\r\n"
                              "BEGIN:DAYLIGHT\r\nDTSTART:20240331T020000\r\nTZOFFSETFROM:-0500\r\nTZOFFSETTO:-0400\r\n"
                              "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\r\nEND:DAYLIGHT\r\nEND:VTIMEZONE\r\n")
                + event("DTSTART;TZID=Changed Rules:20240305T090000\r\nRRULE:FREQ=WEEKLY;COUNT=5\r\n")
            << "2024-03-01T00:00:00Z"
            << "2024-04-10T00:00:00Z"
            << strings({"Series@2024-03-05T14:00:00Z", "Series@2024-03-12T14:00:00Z", "Series@2024-03-19T14:00:00Z",
                        "Series@2024-03-26T14:00:00Z", "Series@2024-04-02T13:00:00Z"})
            << QTime(9, 0);
        QTest::newRow("Defined zone: a start in its own gap moves alone")
            << QString::fromLatin1(kCustomZone)
                + event("DTSTART;TZID=Customized Time Zone:20240310T023000\r\nRRULE:FREQ=WEEKLY;COUNT=2\r\n")
            << "2024-03-01T00:00:00Z"
            << "2024-04-01T00:00:00Z" << strings({"Series@2024-03-10T05:30:00Z", "Series@2024-03-17T04:30:00Z"})
            << QTime();
    }
    void seriesReadFromText()
    {
        QFETCH(QString, text);
        QFETCH(QString, from);
        QFETCH(QString, to);
        if (!zoneOf(QStringLiteral("America/New_York")).isValid() || !zoneOf(QStringLiteral("Europe/Berlin")).isValid())
            QSKIP("zone data missing");
        const QList<Event> rows = ICalendar::parseEvents(QStringLiteral("BEGIN:VCALENDAR\r\n") + text
                                                         + QStringLiteral("END:VCALENDAR\r\n"));
        QVERIFY(!rows.isEmpty());
        const QList<Event> occurrences = Recurrence::expandEvents(rows, utcAt(qPrintable(from)), utcAt(qPrintable(to)));
        QTEST(titled(occurrences), "occurrences");
        QFETCH(QTime, wallClock);
        for (const Event &e : occurrences) {
            if (wallClock.isValid() && e.title == QLatin1String("Series"))
                QCOMPARE(e.start_time.time(), wallClock);
        }
    }
};

QTEST_GUILESS_MAIN(TestExpansion)
#include "tst_expansion.moc"
