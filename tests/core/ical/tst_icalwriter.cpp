#include "icalendar.h"
#include "icalfields.h"
#include "icalsamples.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QTimeZone>

using namespace Qt::StringLiterals;

namespace {

using namespace IcalSamples;

QDateTime berlin(int y, int m, int d, int h, int min = 0)
{
    return zoned("Europe/Berlin", y, m, d, h, min);
}

// The unfolded content lines without the per-call DTSTAMP.
QStringList linesOf(const QString &text)
{
    QStringList lines = ICalendar::unfoldLines(text);
    lines.removeIf([](const QString &l) { return l.startsWith("DTSTAMP:"_L1) || l.isEmpty(); });
    return lines;
}

// The VEVENT lines outside nested components.
QStringList eventProperties(const QStringList &lines)
{
    QStringList out;
    int depth = 0;
    bool inside = false;
    for (const QString &l : lines) {
        if (l == "BEGIN:VEVENT"_L1)
            inside = true;
        else if (l == "END:VEVENT"_L1)
            inside = false;
        else if (inside && l.startsWith("BEGIN:"_L1))
            ++depth;
        else if (inside && l.startsWith("END:"_L1))
            --depth;
        else if (inside && depth == 0)
            out.append(l);
    }
    return out;
}

qsizetype countOf(const QStringList &lines, QLatin1String prefix)
{
    return std::count_if(lines.cbegin(), lines.cend(), [prefix](const QString &l) { return l.startsWith(prefix); });
}

} // namespace

class TestIcalWriter : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Other clients send CR LF or a lone CR inside text; both come back as one
    // line break, never as a raw CR that would end the content line early.
    void carriageReturnsBecomeLineBreaks()
    {
        const QString text = u"one\r\ntwo\rthree"_s;
        const QString lf = u"one\ntwo\nthree"_s;
        Event e;
        e.uid = u"cr"_s;
        e.title = text;
        e.description = text;
        e.start_time = utc(2024, 1, 1, 9);
        const QString written = ICalendar::serializeEvent(e);
        for (const QString &line : linesOf(written))
            QVERIFY2(!line.contains(u'\r') && !line.contains(u'\n'), qPrintable(line));
        const QList<Event> back = ICalendar::parseEvents(written);
        QCOMPARE(back.size(), 1);
        QCOMPARE(back[0].title, lf);
        QCOMPARE(back[0].description, lf);

        Task t;
        t.uid = u"cr"_s;
        t.title = text;
        QCOMPARE(ICalendar::parseTasks(ICalendar::serializeTask(t)).value(0).title, lf);
    }

    // TEXT holds no control character but tab: one in an imported title
    // would make every server answer that carries it unreadable XML.
    void controlCharactersNeverGoOut_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("written");
        QTest::newRow("NUL inside a word") << u"Lun\u0000ch"_s << u"Lunch"_s;
        QTest::newRow("bell, escape and delete") << u"\u0007A\u001bB\u007f"_s << u"AB"_s;
        QTest::newRow("tab stays") << u"A\tB"_s << u"A\tB"_s;
    }

    void controlCharactersNeverGoOut()
    {
        QFETCH(QString, value);
        QFETCH(QString, written);
        Event e;
        e.uid = u"ctl"_s;
        e.title = value;
        e.location = value;
        e.start_time = utc(2024, 1, 1, 9);
        // Also what an earlier text carried over, as an import would keep it.
        e.raw_icalendar = u"BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:ctl\r\nX-NOTE:"_s + value
            + u"\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"_s;
        const QStringList lines = linesOf(ICalendar::serializeEvent(e));
        QVERIFY2(lines.contains(u"SUMMARY:"_s + written), qPrintable(lines.join(u'\n')));
        QVERIFY2(lines.contains(u"LOCATION:"_s + written), qPrintable(lines.join(u'\n')));
        QVERIFY2(lines.contains(u"X-NOTE:"_s + written), qPrintable(lines.join(u'\n')));

        Task t;
        t.uid = u"ctl"_s;
        t.title = value;
        QVERIFY(linesOf(ICalendar::serializeTask(t)).contains(u"SUMMARY:"_s + written));
    }

    void eventLines_data()
    {
        QTest::addColumn<Event>("event");
        QTest::addColumn<QStringList>("expected"); // lines that must appear, in this order

        Event allDay;
        allDay.uid = u"d"_s;
        allDay.is_all_day = true;
        allDay.start_time = QDateTime(QDate(2024, 3, 15), QTime(0, 0), Qt::LocalTime);
        QTest::newRow("all-day without end lasts one day")
            << allDay << QStringList{u"DTSTART;VALUE=DATE:20240315"_s, u"DTEND;VALUE=DATE:20240316"_s};
        allDay.end_time = QDateTime(QDate(2024, 3, 17), QTime(23, 59), Qt::LocalTime);
        QTest::newRow("all-day inclusive end becomes exclusive")
            << allDay << QStringList{u"DTSTART;VALUE=DATE:20240315"_s, u"DTEND;VALUE=DATE:20240318"_s};

        const QList<Event> onwards = ICalendar::parseEvents(
            u"BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:s\r\nSUMMARY:Later\r\n"
            "RECURRENCE-ID;RANGE=THISANDFUTURE;TZID=Europe/Berlin:20240602T090000\r\n"
            "DTSTART;TZID=Europe/Berlin:20240603T110000\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"_s);
        QTest::newRow("an override for this and later occurrences stays one")
            << onwards.value(0)
            << QStringList{u"RECURRENCE-ID;RANGE=THISANDFUTURE;TZID=Europe/Berlin:20240602T090000"_s};

        Event timed;
        timed.uid = u"t"_s;
        timed.title = u"x"_s;
        timed.start_time = berlin(2024, 3, 15, 10);
        QTest::newRow("no end repeats the start, in UTC without a zone")
            << timed << QStringList{u"SUMMARY:x"_s, u"DTSTART:20240315T090000Z"_s, u"DTEND:20240315T090000Z"_s};
        timed.timezone = u"Custom Zone 1"_s;
        QTest::newRow("a zone the system lacks is written as UTC")
            << timed << QStringList{u"DTSTART:20240315T090000Z"_s};
        timed.timezone = u"America/New_York"_s;
        timed.recurrence_id = u"20240315T090000Z"_s;
        timed.master_event_uid = u"t"_s;
        QTest::newRow("zoned start, end and recurrence id with their VTIMEZONE")
            << timed
            << QStringList{u"BEGIN:VTIMEZONE"_s,
                           u"TZID:America/New_York"_s,
                           u"RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU"_s,
                           u"RRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU"_s,
                           u"END:VTIMEZONE"_s,
                           u"BEGIN:VEVENT"_s,
                           u"DTSTART;TZID=America/New_York:20240315T050000"_s,
                           u"DTEND;TZID=America/New_York:20240315T050000"_s,
                           u"RECURRENCE-ID;TZID=America/New_York:20240315T050000"_s};

        Event berlinSeries;
        berlinSeries.uid = u"b"_s;
        berlinSeries.start_time = berlin(2024, 1, 10, 9);
        berlinSeries.timezone = u"Europe/Berlin"_s;
        QTest::newRow("Berlin's rules: last Sundays of March and October")
            << berlinSeries
            << QStringList{u"BEGIN:DAYLIGHT"_s,
                           u"TZOFFSETFROM:+0100"_s,
                           u"TZOFFSETTO:+0200"_s,
                           u"DTSTART:19700329T020000"_s,
                           u"RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU"_s,
                           u"BEGIN:STANDARD"_s,
                           u"TZOFFSETFROM:+0200"_s,
                           u"TZOFFSETTO:+0100"_s,
                           u"DTSTART:19701025T030000"_s,
                           u"RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU"_s};

        Event gap = ICalendar::parseEvents(
                        u"BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:g\r\nDTSTART;TZID=America/New_York:20240310T023000\r\n"
                        "RRULE:FREQ=WEEKLY\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"_s)
                        .value(0);
        QTest::newRow("a start written in a DST gap stays as written, the series repeats at it")
            << gap << QStringList{u"DTSTART;TZID=America/New_York:20240310T023000"_s};
        gap.start_time = gap.start_time.addDays(7);
        QTest::newRow("a start moved from a DST gap is written anew")
            << gap << QStringList{u"DTSTART;TZID=America/New_York:20240317T033000"_s};

        // As a mail server's calendar writes its texts; the place changes here.
        Event language = ICalendar::parseEvents(
                             u"BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:l\r\nSUMMARY;LANGUAGE=en-US:Review\r\n"
                             "LOCATION;LANGUAGE=en-US:Room 1\r\nDTSTART:20240315T090000Z\r\nEND:VEVENT\r\n"
                             "END:VCALENDAR\r\n"_s)
                             .value(0);
        language.location = u"Room 2"_s;
        QTest::newRow("a title left as it was keeps its parameters")
            << language << QStringList{u"SUMMARY;LANGUAGE=en-US:Review"_s, u"LOCATION:Room 2"_s};

        // The record keeps each period's start alone.
        Event periods = ICalendar::parseEvents(
                            u"BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:r\r\nDTSTART:19970101T090000Z\r\n"
                            "RDATE;VALUE=PERIOD:19970101T180000Z/19970102T070000Z,19970109T180000Z/PT5H30M\r\n"
                            "RDATE;TZID=Europe/Berlin:19970120T090000\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"_s)
                            .value(0);
        periods.title = u"Renamed"_s;
        QTest::newRow("listed periods keep their ends while their dates stay")
            << periods << QStringList{u"RDATE;VALUE=PERIOD:19970101T180000Z/19970102T070000Z,19970109T180000Z/PT5H30M"_s,
                                      u"RDATE:19970120T080000Z"_s};
        periods.recurrence_dates = uR"(["19970101T180000Z","19970120T080000Z"])"_s;
        QTest::newRow("periods whose dates changed are written anew")
            << periods << QStringList{u"RDATE:19970101T180000Z,19970120T080000Z"_s};
        periods.recurrence_dates = uR"(["19970101T180000Z","19970109T180000Z"])"_s;
        periods.is_all_day = true;
        QTest::newRow("an all-day series lists the dates of its periods")
            << periods << QStringList{u"RDATE;VALUE=DATE:19970101,19970109"_s};

        Event people;
        people.uid = u"p"_s;
        people.start_time = utc(2024, 1, 1, 9);
        people.organizer_email = u"ann@example.org"_s;
        people.organizer_name = u"Ann \"A\" Lee"_s;
        people.attendees = {attendee(QString(), u"No address"_s, u"required"_s, u"accepted"_s, QString(), false),
                            attendee(u"bo@example.org"_s, u"Lee; Bo"_s, u"optional"_s, u"declined"_s, u"individual"_s,
                                     true)};
        people.reminders = {reminder(-5)};
        QTest::newRow("quoted and escaped parameters, no attendee without address, an alarm after the start")
            << people
            << QStringList{
                   u"ORGANIZER;CN=Ann ^'A^' Lee:mailto:ann@example.org"_s,
                   u"ATTENDEE;CN=\"Lee; Bo\";ROLE=OPT-PARTICIPANT;PARTSTAT=DECLINED;CUTYPE=INDIVIDUAL;RSVP=TRUE:mailto:bo@example.org"_s,
                   u"BEGIN:VALARM"_s, u"TRIGGER:PT5M"_s, u"END:VALARM"_s};
    }
    void eventLines()
    {
        QFETCH(Event, event);
        QFETCH(QStringList, expected);
        const QStringList lines = linesOf(ICalendar::serializeEvent(event));
        QVERIFY(!lines.contains(u"ATTENDEE;CN=No address;ROLE=REQ-PARTICIPANT;PARTSTAT=ACCEPTED:mailto:"_s));
        qsizetype from = 0;
        for (const QString &want : expected) {
            const qsizetype at = lines.indexOf(want, from);
            QVERIFY2(at >= 0, qPrintable(u"missing or out of order: "_s + want + u"\n"_s + lines.join(u'\n')));
            from = at + 1;
        }
    }

    void everyLineEndsInCrlfAndIsWrittenOnce()
    {
        const QString text = ICalendar::serializeEvent(richEvent());
        QVERIFY(
            text.startsWith("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Quillmarten//Calendar Desktop//EN\r\n"_L1));
        QVERIFY(text.endsWith("END:VEVENT\r\nEND:VCALENDAR\r\n"_L1));
        QCOMPARE(text.count(u'\n'), text.count("\r\n"_L1));
        const QStringList lines = linesOf(text);
        const QStringList event = eventProperties(lines);
        for (auto name : {"UID:"_L1, "SUMMARY:"_L1, "DTSTART;"_L1, "DTEND;"_L1, "RRULE:"_L1, "STATUS:"_L1,
                          "SEQUENCE:"_L1, "ORGANIZER;"_L1, "URL:"_L1})
            QVERIFY2(countOf(event, name) == 1, name.data());
        QCOMPARE(ICalendar::unfoldLines(text).filter(QRegularExpression(u"^DTSTAMP:\\d{8}T\\d{6}Z$"_s)).size(), 1);
        QCOMPARE(linesOf(ICalendar::serializeNewEvent(richEvent())), lines);
    }

    // An edit must not lose what another client wrote into the event.
    void earlierTextIsCarriedOver()
    {
        const QString stored =
            u"BEGIN:VCALENDAR\r\nPRODID:-//Other//EN\r\nBEGIN:VEVENT\r\n"
            "UID:m1\r\nDTSTAMP:20240101T000000Z\r\nSUMMARY:Old title\r\n"
            "DESCRIPTION;ALTREP=\"cid:x@y\":Notes\r\n"
            "DTSTART;TZID=Europe/Berlin:20240315T090000\r\nDURATION:PT1H\r\n"
            "CATEGORIES:Work,Travel\r\nX-OTHER-COLOR;VALUE=TEXT:teal\r\nCLASS:PRIVATE\r\n"
            "ORGANIZER;CN=Ann;SENT-BY=\"mailto:sec@example.org\":mailto:ann@example.org\r\n"
            "ATTENDEE;CN=Bo;X-NUM-GUESTS=2;PARTSTAT=ACCEPTED:mailto:bo@example.org\r\n"
            "ATTENDEE;CN=Gone:mailto:gone@example.org\r\n"
            "BEGIN:VALARM\r\nX-WR-ALARMUID:keep-me\r\nACTION:AUDIO\r\nTRIGGER:-PT10M\r\nEND:VALARM\r\n"
            "BEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:deleted\r\nTRIGGER:-PT30M\r\nEND:VALARM\r\n"
            "BEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:absolute\r\nTRIGGER;VALUE=DATE-TIME:20240315T070000Z\r\nEND:VALARM\r\n"
            "END:VEVENT\r\nEND:VCALENDAR\r\n"_s;
        QList<Event> events = ICalendar::parseEvents(stored);
        QCOMPARE(events.size(), 1);
        Event e = events[0];
        QCOMPARE(e.reminders.size(), 2);
        e.title = u"New title"_s;
        e.reminders = {reminder(10, u"audio"_s), reminder(5)};
        e.attendees.removeLast();
        e.start_time = e.start_time.addDays(1);
        e.end_time = e.end_time->addDays(1);

        const QStringList lines = linesOf(ICalendar::serializeEvent(e));
        for (const QString &kept :
             {u"CATEGORIES:Work,Travel"_s, u"X-OTHER-COLOR;VALUE=TEXT:teal"_s, u"CLASS:PRIVATE"_s,
              u"DESCRIPTION;ALTREP=\"cid:x@y\":Notes"_s, u"X-WR-ALARMUID:keep-me"_s, u"DESCRIPTION:absolute"_s,
              u"TRIGGER;VALUE=DATE-TIME:20240315T070000Z"_s,
              u"ORGANIZER;CN=Ann;SENT-BY=\"mailto:sec@example.org\":mailto:ann@example.org"_s,
              u"ATTENDEE;CN=Bo;ROLE=REQ-PARTICIPANT;PARTSTAT=ACCEPTED;X-NUM-GUESTS=2:mailto:bo@example.org"_s,
              u"SUMMARY:New title"_s, u"DTSTART;TZID=Europe/Berlin:20240316T090000"_s,
              u"DTEND;TZID=Europe/Berlin:20240316T100000"_s})
            QVERIFY2(lines.contains(kept), qPrintable(kept + u"\n"_s + lines.join(u'\n')));
        for (auto gone :
             {"SUMMARY:Old"_L1, "DURATION"_L1, "DESCRIPTION:deleted"_L1, "PRODID:-//Other"_L1, "ATTENDEE;CN=Gone"_L1})
            QCOMPARE(countOf(lines, gone), 0);
        QCOMPARE(countOf(lines, "BEGIN:VALARM"_L1), 3);
        QCOMPARE(countOf(lines, "DTSTART"_L1), 1 + 2); // the event's and two VTIMEZONE observances
    }

    // Each attendee and reminder finds its own earlier text: an event of a
    // great many is written back in time proportional to it, all kept.
    void aGreatManyKeepTheirText_data()
    {
        QTest::addColumn<QString>("each"); // an attendee or alarm, %1 its number
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("moved"); // minutes added to every reminder's lead
        QTest::addColumn<QString>("last"); // what the last one keeps
        QTest::newRow("200,000 attendees") << u"ATTENDEE;X-N=%1:mailto:a%1@example.org\r\n"_s << 200000 << 0
                                           << u";X-N=199999:mailto:a199999@example.org"_s;
        QTest::newRow("250,000 sound alarms, every lead moved")
            << u"BEGIN:VALARM\r\nACTION:AUDIO\r\nTRIGGER:-PT%1M\r\nX-N:%1\r\nEND:VALARM\r\n"_s << 250000 << 1000000
            << u"X-N:249999"_s;
    }

    void aGreatManyKeepTheirText()
    {
        QFETCH(QString, each);
        QFETCH(int, count);
        QFETCH(int, moved);
        QFETCH(QString, last);
        QString text = u"BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:m\r\nDTSTART:20240101T090000Z\r\n"_s;
        for (int i = 0; i < count; ++i)
            text += each.arg(i);
        QList<Event> events = ICalendar::parseEvents(text + u"END:VEVENT\r\nEND:VCALENDAR\r\n"_s);
        QCOMPARE(events.size(), 1);
        for (Reminder &reminder : events[0].reminders)
            reminder.minutes_before += moved;
        const QStringList lines = linesOf(ICalendar::serializeEvent(events[0]));
        QCOMPARE(lines.filter(u"X-N"_s).size(), count);
        QCOMPARE(lines.filter(last).size(), 1);
    }

    void seriesInOneResource()
    {
        Event master = richEvent();
        Event moved = overrideOf(master, u"20240418T073000Z"_s, berlin(2024, 4, 19, 9, 30), berlin(2024, 4, 19, 11));
        moved.title = u"Moved"_s;

        const QString text = ICalendar::serializeEvents({master, moved});
        const QStringList lines = linesOf(text);
        QCOMPARE(countOf(lines, "BEGIN:VCALENDAR"_L1), 1);
        QCOMPARE(countOf(lines, "BEGIN:VTIMEZONE"_L1), 1);
        QCOMPARE(countOf(lines, "BEGIN:VEVENT"_L1), 2);
        const QList<Event> back = ICalendar::parseEvents(text);
        QCOMPARE(back.size(), 2);

        // Each record written back from its own stored block keeps only that block.
        const QString again = ICalendar::serializeEvents(back);
        QCOMPARE(eventProperties(linesOf(again)).filter(u"SUMMARY:"_s),
                 (QStringList{u"SUMMARY:Review: Q3\\, budget\\; \"final\" %2"_s, u"SUMMARY:Moved"_s}));
    }

    // Keys go out in the form the series takes, naming the occurrence the
    // store's rule reads them as.
    void keysInTheSeriesForm_data()
    {
        QTest::addColumn<bool>("allDay");
        QTest::addColumn<QString>("recurrenceId");
        QTest::addColumn<QString>("exceptions");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QStringList>("expected");
        const QString weekly = u"FREQ=WEEKLY"_s;
        QTest::newRow("all-day: a floating recurrence id and UTC exceptions become dates")
            << true << u"20250609T000000"_s << uR"(["20250616T000000Z","20250623"])"_s << weekly
            << QStringList{u"RECURRENCE-ID;VALUE=DATE:20250609"_s, u"EXDATE;VALUE=DATE:20250616,20250623"_s};
        QTest::newRow("all-day: a UTC midnight recurrence id becomes its date")
            << true << u"20250609T000000Z"_s << QString() << weekly
            << QStringList{u"RECURRENCE-ID;VALUE=DATE:20250609"_s};
        QTest::newRow("all-day: a UTC end becomes the date it names")
            << true << u"20250609"_s << QString() << u"FREQ=WEEKLY;UNTIL=20250630T000000Z"_s
            << QStringList{u"RRULE:FREQ=WEEKLY;UNTIL=20250630"_s};
        QTest::newRow("timed: a date recurrence id and exception name the occurrences on those dates")
            << false << u"20250609"_s << uR"(["20250616"])"_s << weekly
            << QStringList{u"RECURRENCE-ID;TZID=Europe/Berlin:20250609T090000"_s, u"EXDATE:20250616T070000Z"_s};
    }
    void keysInTheSeriesForm()
    {
        QFETCH(bool, allDay);
        QFETCH(QString, recurrenceId);
        QFETCH(QString, exceptions);
        QFETCH(QString, rule);
        Event master;
        master.uid = u"s"_s;
        master.recurrence_rule = rule;
        master.is_all_day = allDay;
        master.timezone = allDay ? u"UTC"_s : u"Europe/Berlin"_s;
        master.start_time = allDay ? QDateTime(QDate(2025, 6, 2), QTime(0, 0), Qt::UTC) : berlin(2025, 6, 2, 9);
        master.end_time = master.start_time.addSecs(allDay ? 86400 : 3600);
        master.exception_dates = exceptions;
        Event moved = overrideOf(master, recurrenceId, master.start_time.addDays(8), master.end_time->addDays(8));
        const QStringList lines = linesOf(ICalendar::serializeEvents({master, moved}));
        QFETCH(QStringList, expected);
        for (const QString &line : expected)
            QVERIFY2(lines.contains(line), qPrintable(line + u" not in\n"_s + lines.join(u'\n')));
    }

    void taskLines_data()
    {
        QTest::addColumn<Task>("task");
        QTest::addColumn<QStringList>("body"); // between BEGIN:VTODO and END:VTODO, without DTSTAMP

        Task t;
        t.uid = u"t1"_s;
        t.title = u"Buy milk"_s;
        t.status = u"in-process"_s;
        Task due = t;
        due.status.clear();
        due.due_date = QDateTime(QDate(2024, 3, 15), QTime(0, 0), QTimeZone(3600));
        QTest::newRow("date-only due, empty status")
            << due
            << QStringList{u"UID:t1"_s, u"SUMMARY:Buy milk"_s, u"STATUS:NEEDS-ACTION"_s, u"DUE;VALUE=DATE:20240315"_s};
        Task dated = due;
        dated.recurrence_rule = u"FREQ=DAILY;UNTIL=20240320T000000Z"_s;
        QTest::newRow("date-only repeating due: a UTC end goes as its date")
            << dated
            << QStringList{u"UID:t1"_s, u"SUMMARY:Buy milk"_s, u"STATUS:NEEDS-ACTION"_s, u"DUE;VALUE=DATE:20240315"_s,
                           u"RRULE:FREQ=DAILY;UNTIL=20240320"_s};
        due.due_is_date_only = false;
        due.due_date = QDateTime(QDate(2024, 3, 15), QTime(9, 0), QTimeZone(3600));
        due.sort_order = 20;
        due.repeat_mode = u"fromCompletionDate"_s;
        due.parent_task_uid = u"p1"_s;
        due.priority = 1;
        due.percent_complete = 50;
        due.sequence = 2;
        due.recurrence_rule = u"FREQ=WEEKLY"_s;
        due.categories = {u"A,B"_s, u"C"_s};
        due.description = u"two\nlines"_s;
        due.completed_date = utc(2024, 3, 16, 8);
        due.start_date = utc(2024, 3, 1);
        QTest::newRow("every field in order") << due
                                              << QStringList{u"UID:t1"_s,
                                                             u"SUMMARY:Buy milk"_s,
                                                             u"STATUS:NEEDS-ACTION"_s,
                                                             u"SEQUENCE:2"_s,
                                                             u"PRIORITY:1"_s,
                                                             u"PERCENT-COMPLETE:50"_s,
                                                             u"DTSTART;VALUE=DATE:20240301"_s,
                                                             u"DUE:20240315T080000Z"_s,
                                                             u"COMPLETED:20240316T080000Z"_s,
                                                             u"RRULE:FREQ=WEEKLY"_s,
                                                             u"CATEGORIES:A\\,B,C"_s,
                                                             u"RELATED-TO;RELTYPE=PARENT:p1"_s,
                                                             u"X-QUILLMARTEN-REPEAT-MODE:fromCompletionDate"_s,
                                                             u"X-QUILLMARTEN-SORT-ORDER:20"_s,
                                                             u"DESCRIPTION:two\\nlines"_s};
        Task language = ICalendar::parseTasks(u"BEGIN:VTODO\r\nUID:t2\r\nSUMMARY;LANGUAGE=de:Milch\r\n"
                                              "END:VTODO\r\n"_s)
                            .value(0);
        language.created = language.last_modified = QDateTime();
        language.priority = 1;
        QTest::newRow("a title left as it was keeps its parameters")
            << language
            << QStringList{u"UID:t2"_s, u"SUMMARY;LANGUAGE=de:Milch"_s, u"STATUS:NEEDS-ACTION"_s, u"PRIORITY:1"_s};
    }
    void taskLines()
    {
        QFETCH(Task, task);
        QFETCH(QStringList, body);
        const QStringList lines = linesOf(ICalendar::serializeTask(task));
        const qsizetype begin = lines.indexOf(u"BEGIN:VTODO"_s);
        const qsizetype end = lines.indexOf(u"END:VTODO"_s);
        QVERIFY(begin > 0 && end > begin);
        QCOMPARE(lines.mid(begin + 1, end - begin - 1), body);
        QCOMPARE(lines.last(), u"END:VCALENDAR"_s);
    }

    void earlierTodoIsCarriedOver()
    {
        const QString stored = u"BEGIN:VTODO\r\nUID:t9\r\nSUMMARY:Old\r\nDTSTART:20240101T090000Z\r\n"
                               "DURATION:P1D\r\nRELATED-TO;RELTYPE=PARENT:old-parent\r\n"
                               "RELATED-TO;RELTYPE=CHILD:kid\r\nX-OTHER:1\r\nGEO:1.5;2.5\r\n"
                               "CATEGORIES:A\r\nCATEGORIES:B\r\n"
                               "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT5M\r\nEND:VALARM\r\nEND:VTODO\r\n"_s;
        Task t = ICalendar::parseTasks(stored).value(0);
        QCOMPARE(t.categories, (QStringList{u"A"_s, u"B"_s}));
        t.title = u"New"_s;
        t.parent_task_uid = u"new-parent"_s;
        t.due_date = utc(2024, 1, 3, 9);
        t.due_is_date_only = false;
        const QStringList lines = linesOf(ICalendar::serializeTask(t));
        for (const QString &kept :
             {u"RELATED-TO;RELTYPE=CHILD:kid"_s, u"X-OTHER:1"_s, u"GEO:1.5;2.5"_s, u"TRIGGER:-PT5M"_s,
              u"RELATED-TO;RELTYPE=PARENT:new-parent"_s, u"CATEGORIES:A,B"_s, u"SUMMARY:New"_s})
            QVERIFY2(lines.contains(kept), qPrintable(kept + u"\n"_s + lines.join(u'\n')));
        QCOMPARE(countOf(lines, "RELATED-TO;RELTYPE=PARENT"_L1), 1);
        QCOMPARE(countOf(lines, "DURATION"_L1), 0); // a DUE now stands for it
        QCOMPARE(countOf(lines, "CATEGORIES"_L1), 1);
    }

    void rewritingTimes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QDateTime>("end");
        QTest::addColumn<QString>("expected");
        const QString head = u"BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:a\r\n"_s;
        const QString tail = u"END:VEVENT\r\nEND:VCALENDAR\r\n"_s;
        const QDateTime s = berlin(2024, 3, 15, 10), e = berlin(2024, 3, 15, 11);

        // A series keeps its wall clock across daylight saving only in its zone.
        QTest::newRow("zoned lines keep their zone")
            << head + u"DTSTART;TZID=Europe/Berlin:20240315T090000\r\nDTEND;TZID=Europe/Berlin:20240315T093000\r\n"_s
                + tail
            << s << e
            << head + u"DTSTART;TZID=Europe/Berlin:20240315T100000\r\nDTEND;TZID=Europe/Berlin:20240315T110000\r\n"_s
                + tail;
        QTest::newRow("a Windows zone name keeps the name as written")
            << head + u"DTSTART;TZID=\"W. Europe Standard Time\":20240315T090000\r\n"_s + tail << s << e
            << head + u"DTSTART;TZID=W. Europe Standard Time:20240315T100000\r\nDTEND:20240315T100000Z\r\n"_s + tail;
        QTest::newRow("an unknown zone becomes UTC") << head
                + u"DTSTART;TZID=Custom Zone 1:20240315T090000\r\nDTEND;TZID=Custom Zone 1:20240315T093000\r\n"_s
                + tail << s << e << head + u"DTSTART:20240315T090000Z\r\nDTEND:20240315T100000Z\r\n"_s + tail;
        const QString defined =
            u"BEGIN:VCALENDAR\r\nBEGIN:VTIMEZONE\r\nTZID:Customized Time Zone\r\n"
            "BEGIN:STANDARD\r\nDTSTART:19700101T000000\r\nTZOFFSETFROM:-0300\r\nTZOFFSETTO:-0300\r\n"
            "END:STANDARD\r\nEND:VTIMEZONE\r\nBEGIN:VEVENT\r\nUID:a\r\n"_s;
        QTest::newRow("a zone the text defines keeps its zone and its VTIMEZONE")
            << defined + u"DTSTART;TZID=Customized Time Zone:20240315T090000\r\n"_s + tail << s << e
            << defined + u"DTSTART;TZID=Customized Time Zone:20240315T060000\r\nDTEND:20240315T100000Z\r\n"_s + tail;
        QTest::newRow("DURATION gives way to a DTEND before END:VEVENT")
            << head + u"dtstart:20240315T080000Z\r\nDURATION:PT30M\r\nSUMMARY:x\r\n"_s + tail << s << e
            << head + u"DTSTART:20240315T090000Z\r\nSUMMARY:x\r\nDTEND:20240315T100000Z\r\n"_s + tail;
        QTest::newRow("alarm DURATION and TRIGGER survive") << head
                + u"DTSTART:20240315T080000Z\r\nDURATION:PT1H\r\nBEGIN:VALARM\r\nTRIGGER:-PT5M\r\nDURATION:PT5M\r\nREPEAT:1\r\nEND:VALARM\r\n"_s
                + tail << s << e
                                                            << head
                + u"DTSTART:20240315T090000Z\r\nBEGIN:VALARM\r\nTRIGGER:-PT5M\r\nDURATION:PT5M\r\nREPEAT:1\r\nEND:VALARM\r\nDTEND:20240315T100000Z\r\n"_s
                + tail;
        QTest::newRow("all-day lines stay dates")
            << head + u"DTSTART;VALUE=DATE:20240315\r\nDTEND;VALUE=DATE:20240316\r\n"_s + tail << utc(2024, 3, 18)
            << utc(2024, 3, 20) << head + u"DTSTART;VALUE=DATE:20240318\r\nDTEND;VALUE=DATE:20240320\r\n"_s + tail;
        QTest::newRow("a second DTSTART is dropped, not duplicated")
            << head + u"DTSTART:20240315T080000Z\r\nDTSTART;VALUE=DATE:20240315\r\nDTEND:20240315T090000Z\r\n"_s + tail
            << s << e << head + u"DTSTART:20240315T090000Z\r\nDTEND:20240315T100000Z\r\n"_s + tail;
        QTest::newRow("only the first VEVENT changes")
            << head + u"SUMMARY:1\r\n"_s + tail.left(12) + u"BEGIN:VEVENT\r\nDTSTART:20240101T000000Z\r\n"_s + tail << s
            << e
            << head + u"SUMMARY:1\r\nDTSTART:20240315T090000Z\r\nDTEND:20240315T100000Z\r\n"_s + tail.left(12)
                + u"BEGIN:VEVENT\r\nDTSTART:20240101T000000Z\r\n"_s + tail;
        QTest::newRow("a folded DTSTART is replaced whole")
            << head + u"DTSTART;TZID=Europe/Ber\r\n lin:20240315T090000\r\nDTEND:20240315T090000Z\r\n"_s + tail << s
            << e << head + u"DTSTART;TZID=Europe/Berlin:20240315T100000\r\nDTEND:20240315T100000Z\r\n"_s + tail;
    }
    // Invitations with a zone of their own ("Customized Time Zone"): written
    // back in that zone with its VTIMEZONE, they read back the same.
    void aDefinedZoneReadsBackTheSame()
    {
        QFile file(QStringLiteral(CALENDAR_TEST_DATA_DIR "/custom-zones.ics"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<Event> events = ICalendar::parseEvents(QString::fromUtf8(file.readAll()));
        QCOMPARE(events.size(), 5);
        for (const Event &event : events) {
            const QString text = ICalendar::serializeEvent(event);
            QVERIFY2(text.contains(u"BEGIN:VTIMEZONE\r\nTZID:"_s + event.timezone + u"\r\n"_s), qPrintable(text));
            QVERIFY2(text.contains(u"DTSTART;TZID="_s), qPrintable(text));
            const QList<Event> back = ICalendar::parseEvents(text);
            QCOMPARE(back.size(), 1);
            QCOMPARE(IcalFields::differences(IcalFields::eventFields(event), IcalFields::eventFields(back[0])),
                     QStringList());
        }
    }

    void rewritingTimes()
    {
        QFETCH(QString, text);
        QFETCH(QDateTime, start);
        QFETCH(QDateTime, end);
        QTEST(ICalendar::rewriteEventTimes(text, start, end), "expected");
    }
};

QTEST_GUILESS_MAIN(TestIcalWriter)
#include "tst_icalwriter.moc"
