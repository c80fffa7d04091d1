#include "expansiontestutil.h"
#include "filterengine.h"
#include "icalendar.h"
#include "recurrence.h"

#include <QTest>

using namespace ExpansionTest;

namespace {

// A zone only the text defines: -03:00, -02:00 from March to November.
const char *const kDefinedZone =
    "BEGIN:VTIMEZONE\r\nTZID:Own Zone\r\n"
    "BEGIN:STANDARD\r\nDTSTART:16010101T020000\r\nTZOFFSETFROM:-0200\r\nTZOFFSETTO:-0300\r\n"
    "RRULE:FREQ=YEARLY;BYDAY=1SU;BYMONTH=11\r\nEND:STANDARD\r\n"
    "BEGIN:DAYLIGHT\r\nDTSTART:16010101T020000\r\nTZOFFSETFROM:-0300\r\nTZOFFSETTO:-0200\r\n"
    "RRULE:FREQ=YEARLY;BYDAY=2SU;BYMONTH=3\r\nEND:DAYLIGHT\r\nEND:VTIMEZONE\r\n";

QString vevent(const char *uid, const char *lines)
{
    return QStringLiteral("BEGIN:VEVENT\r\nUID:") + QString::fromLatin1(uid) + QStringLiteral("\r\nSUMMARY:")
        + QString::fromLatin1(uid) + QStringLiteral("\r\n") + QString::fromLatin1(lines)
        + QStringLiteral("END:VEVENT\r\n");
}

// What a view draws of an occurrence, and the record it opens.
void compareDrawn(const Occurrence &light, const Event &full)
{
    QCOMPARE(light.toEvent(), full);
    QCOMPARE(light.start(), full.start_time);
    QCOMPARE(light.start().timeSpec(), full.start_time.timeSpec());
    QCOMPARE(light.start().offsetFromUtc(), full.start_time.offsetFromUtc());
    QCOMPARE(light.end(), full.end_time);
    QCOMPARE(light.recurrenceId(), full.recurrence_id);
    QCOMPARE(light.startMs(), full.start_time.toMSecsSinceEpoch());
    QCOMPARE(light.event().id, full.id);
    QCOMPARE(light.event().title, full.title);
    QCOMPARE(light.event().calendar_id, full.calendar_id);
    QCOMPARE(light.event().color, full.color);
    QCOMPARE(light.event().is_all_day, full.is_all_day);
}

void compareAllDrawn(const QList<Occurrence> &light, const QList<Event> &full)
{
    QCOMPARE(light.size(), full.size());
    for (qsizetype i = 0; i < full.size(); ++i)
        compareDrawn(light.at(i), full.at(i));
}

} // namespace

class TestOccurrences : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void lightOccurrencesAgreeWithFullRecords_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("timeRange"); // of a dimming rule: "HH:mm-HH:mm"
        QTest::newRow("one-off, zoned weekly and a UTC daily") << vevent("single", "DTSTART:20240304T120000Z\r\n")
                + vevent("zoned", "DTSTART;TZID=Europe/Berlin:20240301T090000\r\nRRULE:FREQ=WEEKLY\r\n")
                + vevent("utc", "DTSTART:20240301T230000Z\r\nDTEND:20240302T003000Z\r\nRRULE:FREQ=DAILY\r\n")
                                                               << "08:00-10:00";
        QTest::newRow("across a DST change, exceptions, dates and an override")
            << vevent("ny",
                      "DTSTART;TZID=America/New_York:20240305T083000\r\nRRULE:FREQ=DAILY;COUNT=12\r\n"
                      "EXDATE;TZID=America/New_York:20240307T083000\r\n"
                      "RDATE;TZID=America/New_York:20240320T170000\r\n")
                + vevent("ny",
                         "RECURRENCE-ID;TZID=America/New_York:20240308T083000\r\n"
                         "DTSTART;TZID=America/New_York:20240308T150000\r\n")
            << "14:00-16:00";
        QTest::newRow("an override for this and later occurrences")
            << vevent("onwards", "DTSTART:20240301T090000Z\r\nRRULE:FREQ=DAILY;COUNT=9\r\n")
                + vevent("onwards",
                         "RECURRENCE-ID;RANGE=THISANDFUTURE:20240303T090000Z\r\n"
                         "DTSTART;TZID=Europe/Berlin:20240303T130000\r\n")
            << "11:00-13:00";
        QTest::newRow("all-day and floating series")
            << vevent("allday", "DTSTART;VALUE=DATE:20240229\r\nDTEND;VALUE=DATE:20240302\r\nRRULE:FREQ=WEEKLY\r\n")
                + vevent("floating", "DTSTART:20240301T070000\r\nRRULE:FREQ=DAILY;INTERVAL=3\r\n")
            << "00:00-07:30";
        QTest::newRow("a zone the text defines, at changing offsets") << QString::fromLatin1(kDefinedZone)
                + vevent("own",
                         "DTSTART;TZID=Own Zone:20240305T090000\r\nDTEND;TZID=Own Zone:20240305T100000\r\n"
                         "RRULE:FREQ=WEEKLY;COUNT=5\r\n") << "09:00-09:00";
    }
    void lightOccurrencesAgreeWithFullRecords()
    {
        QFETCH(QString, text);
        QFETCH(QString, timeRange);
        QList<Event> rows = ICalendar::parseEvents(QStringLiteral("BEGIN:VCALENDAR\r\n") + text
                                                   + QStringLiteral("END:VCALENDAR\r\n"));
        QVERIFY(!rows.isEmpty());
        for (qsizetype i = 0; i < rows.size(); ++i) {
            rows[i].id = QString::number(i);
            rows[i].calendar_id = QStringLiteral("cal");
            rows[i].color = i % 2 ? QStringLiteral("#ff0000") : QString();
        }
        const QDateTime from(QDate(2024, 3, 1), QTime(0, 0), Qt::UTC);
        const QDateTime to(QDate(2024, 4, 1), QTime(0, 0), Qt::UTC);

        const QList<Event> full = Recurrence::expandEvents(rows, from, to);
        const QList<Occurrence> light = Recurrence::expandOccurrences(rows, from, to);
        compareAllDrawn(light, full);
        QList<Occurrence> visited;
        Recurrence::forEachOccurrence(rows, from, to, [&](const Occurrence &o) { visited.append(o); });
        compareAllDrawn(visited, full);
        const Recurrence::BoundedExpansion boundedFull = Recurrence::expandEventsBounded(rows, from, to, 3);
        const Recurrence::BoundedOccurrences boundedLight = Recurrence::expandOccurrencesBounded(rows, from, to, 3);
        QCOMPARE(boundedLight.more, boundedFull.more);
        compareAllDrawn(boundedLight.occurrences, boundedFull.occurrences);

        // A time rule reads each occurrence's own start: the same verdicts.
        FilterRule hideSeries;
        hideSeries.id = QStringLiteral("hide");
        hideSeries.action = FilterAction::Hide;
        hideSeries.priority = 1;
        hideSeries.conditions = QStringLiteral(R"({"runtimeType":"specific"})");
        hideSeries.event_uid = QStringLiteral("utc");
        hideSeries.event_calendar_id = QStringLiteral("cal");
        FilterRule dimTimes;
        dimTimes.id = QStringLiteral("dim");
        dimTimes.action = FilterAction::Dim;
        dimTimes.priority = 2;
        dimTimes.conditions = QStringLiteral(R"({"runtimeType":"time","timeRange":{"start":"%1","end":"%2"}})")
                                  .arg(timeRange.left(5), timeRange.right(5));
        const QList<FilterRule> rules = {hideSeries, dimTimes};
        const FilterOutcome fullOutcome = FilterEngine::apply(full, rules);
        const OccurrenceFilterOutcome lightOutcome = FilterEngine::applyToOccurrences(light, rules);
        QCOMPARE(lightOutcome.hiddenCount, fullOutcome.hiddenCount);
        QCOMPARE(lightOutcome.dimmedIds, fullOutcome.dimmedIds);
        QCOMPARE(lightOutcome.occurrences.size(), fullOutcome.events.size());
        for (qsizetype i = 0; i < fullOutcome.events.size(); ++i)
            QCOMPARE(lightOutcome.occurrences.at(i).toEvent(), fullOutcome.events.at(i));
    }
};

QTEST_GUILESS_MAIN(TestOccurrences)
#include "tst_occurrences.moc"
