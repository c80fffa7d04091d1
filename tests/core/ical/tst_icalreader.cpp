#include "icalendar.h"
#include "icalendarbytes.h"
#include "icalendarfilereader.h"
#include "icalfields.h"
#include "timeutil.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>
#include <QTimeZone>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

// One VEVENT around the given lines (LF separated), UID u1 unless given.
QString vevent(const QString &body)
{
    QString lines = body;
    if (!lines.contains("UID"_L1))
        lines.prepend("UID:u1\n"_L1);
    return "BEGIN:VCALENDAR\r\nPRODID:-//Other//EN\r\nBEGIN:VEVENT\r\n"_L1 + QString(lines).replace("\n"_L1, "\r\n"_L1)
        + "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"_L1;
}

QString vtodo(const QString &body)
{
    return "BEGIN:VCALENDAR\nBEGIN:VTODO\nUID:t1\n"_L1 + body + "\nEND:VTODO\nEND:VCALENDAR\n"_L1;
}

QByteArray compact(const QJsonValue &value)
{
    return QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
}

// JSON text in one canonical form, so that a failure prints both sides.
QByteArray compact(const QString &json)
{
    return compact(QJsonDocument::fromJson("["_ba + json.toUtf8() + "]"_ba).array().at(0));
}

} // namespace

class TestIcalReader : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void unfolding_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CRLF and LF mixed, trailing break gives an empty last line")
            << u"A:1\r\nB:2\nC:3\r\n"_s << QStringList{u"A:1"_s, u"B:2"_s, u"C:3"_s, QString()};
        QTest::newRow("space and tab continuations lose one character")
            << u"D:ab\r\n  cd\r\n\tef\r\nE:x"_s << QStringList{u"D:ab cdef"_s, u"E:x"_s};
        QTest::newRow("a lone CR is not a line break") << u"S:a\rb\nT:c"_s << QStringList{u"S:a\rb"_s, u"T:c"_s};
        QTest::newRow("a first line starting with a space stays a line")
            << u" X:1\nY:2"_s << QStringList{u" X:1"_s, u"Y:2"_s};
    }
    void unfolding()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(ICalendar::unfoldLines(text), lines);
    }

    void splitting_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("params");
        QTest::addColumn<QString>("value");
        QTest::newRow("a semicolon inside quotes stays in the parameter")
            << u"ATTENDEE;CN=\"Lee; Ann\";ROLE=CHAIR:mailto:a@x"_s << u"ATTENDEE"_s << u"CN=\"Lee; Ann\"|ROLE=CHAIR"_s
            << u"mailto:a@x"_s;
        QTest::newRow("later parameter of the same name wins; pieces without = ignored")
            << u"X;a=1;junk;A=2:v"_s << u"X"_s << u"A=2"_s << u"v"_s;
        QTest::newRow("no colon: whole line is the name") << u"end"_s << u"END"_s << QString() << QString();
    }
    void splitting()
    {
        QFETCH(QString, line);
        const ICalendar::Property p = ICalendar::splitProperty(line);
        QTEST(p.name, "name");
        QStringList params;
        for (auto it = p.params.cbegin(); it != p.params.cend(); ++it)
            params.append(it.key() + u'=' + it.value());
        params.sort();
        QTEST(params.join(u'|'), "params");
        QTEST(p.value, "value");
    }

    void unescaping_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("double backslash before a letter; capital N")
            << u"C:\\\\temp\\x\\Nnext"_s << u"C:\\temp\\x\nnext"_s;
        QTest::newRow("lone trailing backslash stays") << u"a\\"_s << u"a\\"_s;
    }
    void unescaping()
    {
        QFETCH(QString, text);
        QTEST(ICalendar::unescapeText(text), "expected");
    }

    void dateValues_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("tzid");
        QTest::addColumn<QString>("utc");
        QTest::addColumn<bool>("isDate");
        QTest::newRow("date with a TZID stays midnight UTC")
            << u"20240315"_s << u"Europe/Berlin"_s << u"20240315T000000Z"_s << true;
        QTest::newRow("UTC value inside Berlin's DST gap is not shifted")
            << u"20240331T023000Z"_s << QString() << u"20240331T023000Z"_s << false;
        QTest::newRow("minutes only is unreadable") << u"20240315T0900"_s << QString() << QString() << false;
        QTest::newRow("month 13 is unreadable") << u"20241315T090000Z"_s << QString() << QString() << false;
        QTest::newRow("impossible date") << u"20240230"_s << QString() << QString() << true;
    }
    void dateValues()
    {
        QFETCH(QString, value);
        QFETCH(QString, tzid);
        QFETCH(bool, isDate);
        QHash<QString, QString> params;
        if (!tzid.isEmpty())
            params.insert(u"TZID"_s, tzid);
        bool gotDate = !isDate;
        const QDateTime dt = ICalendar::parseDateTime(value, params, &gotDate);
        QTEST(TimeUtil::toIcalUtc(dt), "utc");
        QCOMPARE(gotDate, isDate);
    }

    // Floating values and zones the system lacks are read as local wall clock.
    void floatingValuesAreLocalTime_data()
    {
        QTest::addColumn<QString>("tzid");
        QTest::newRow("no TZID") << QString();
        QTest::newRow("unknown zone") << u"Custom Zone 1"_s;
    }
    void floatingValuesAreLocalTime()
    {
        QFETCH(QString, tzid);
        const QList<Event> events = ICalendar::parseEvents(
            vevent(tzid.isEmpty() ? u"DTSTART:20240315T090000"_s : u"DTSTART;TZID=%1:20240315T090000"_s.arg(tzid)));
        QCOMPARE(events.size(), 1);
        QCOMPARE(events[0].start_time, QDateTime(QDate(2024, 3, 15), QTime(9, 0), Qt::LocalTime));
        QCOMPARE(events[0].timezone, tzid.isEmpty() ? u"UTC"_s : tzid);
    }

    void eventFields_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("expected"); // JSON, as IcalFields writes it

        // Times
        QTest::newRow("Times: a date-time never clears all-day")
            << u"DTSTART:20240315\nDTSTART:20240315T090000Z"_s << u"is_all_day"_s << u"true"_s;
        QTest::newRow("Times: unreadable start is null") << u"DTSTART:20240315T0900"_s << u"start"_s << u"null"_s;
        QTest::newRow("Times: DURATION gives the end")
            << u"DTSTART:20240315T090000Z\nDURATION:PT1H30M"_s << u"end"_s << u"\"20240315T103000Z\""_s;
        QTest::newRow("Times: a month of DURATION is 30 days")
            << u"DTSTART:20240101T090000Z\nDURATION:P1M"_s << u"end"_s << u"\"20240131T090000Z\""_s;
        QTest::newRow("Times: negative DURATION gives no end")
            << u"DTSTART:20240101T090000Z\nDURATION:-PT15M"_s << u"end"_s << u"null"_s;
        QTest::newRow("Times: DTEND after DURATION wins")
            << u"DTSTART:20240101T090000Z\nDURATION:PT2H\nDTEND:20240101T093000Z"_s << u"end"_s
            << u"\"20240101T093000Z\""_s;
        QTest::newRow("Times: unreadable DTEND lets DURATION apply")
            << u"DTSTART:20240101T090000Z\nDTEND:garbage\nDURATION:PT2H"_s << u"end"_s << u"\"20240101T110000Z\""_s;
        QTest::newRow("Times: DURATION across Berlin's DST change keeps elapsed time")
            << u"DTSTART;TZID=Europe/Berlin:20240330T120000\nDURATION:PT24H"_s << u"end"_s << u"\"20240331T110000Z\""_s;

        // Series
        QTest::newRow("Series: unreadable RECURRENCE-ID kept as written")
            << u"RECURRENCE-ID:soon"_s << u"recurrence_id"_s << u"\"soon\""_s;
        QTest::newRow("Series: EXDATE lines and comma lists add up")
            << u"EXDATE:20240101T090000Z,20240108T090000Z\nEXDATE:20240115T090000Z"_s << u"exception_dates"_s
            << u"[\"20240101T090000Z\",\"20240108T090000Z\",\"20240115T090000Z\"]"_s;
        QTest::newRow("Series: floating EXDATE stays floating")
            << u"EXDATE:20240101T090000"_s << u"exception_dates"_s << u"[\"20240101T090000\"]"_s;
        QTest::newRow("Series: unreadable EXDATE pieces are skipped")
            << u"EXDATE:2024,20240101T090000Z,"_s << u"exception_dates"_s << u"[\"20240101T090000Z\"]"_s;

        // Text
        QTest::newRow("Text: no SUMMARY gives an empty title, not a null one")
            << u"DTSTART:20240101T090000Z"_s << u"title"_s << u"\"\""_s;
        QTest::newRow("Text: an empty SUMMARY gives an empty title") << u"SUMMARY:"_s << u"title"_s << u"\"\""_s;
        QTest::newRow("Text: VALARM description does not replace the event's")
            << u"DESCRIPTION:Event\nBEGIN:VALARM\nACTION:DISPLAY\nDESCRIPTION:Alarm\nTRIGGER:-PT5M\nEND:VALARM"_s
            << u"description"_s << u"\"Event\""_s;

        // Control characters iCalendar does not allow in a content line
        QTest::newRow("Controls: NUL, the other C0 controls and DEL leave the title")
            << u"SUMMARY:a\u0000b\u0001c\u001bd\u007fe"_s << u"title"_s << u"\"abcde\""_s;
        QTest::newRow("Controls: a tab stays") << u"SUMMARY:a\tb"_s << u"title"_s << u"\"a\\tb\""_s;
        QTest::newRow("Controls: an escaped line break stays")
            << u"DESCRIPTION:a\\nb"_s << u"description"_s << u"\"a\\nb\""_s;
        QTest::newRow("Controls: a lone CR ends the line") << u"SUMMARY:a\rLOCATION:b"_s << u"location"_s << u"\"b\""_s;

        // People
        QTest::newRow("People: organizer address without mailto")
            << u"ORGANIZER;CN=\"Ann Lee\":MAILTO:ann@example.org"_s << u"organizer_email"_s << u"\"ann@example.org\""_s;
        QTest::newRow("People: attendee without parameters keeps the defaults")
            << u"ATTENDEE:mailto:c@example.org\nATTENDEE;ROLE=CHAIR;CN=C^'s ^^ room:mailto:d@example.org"_s
            << u"attendees"_s
            << u"[{\"email\":\"c@example.org\",\"name\":\"\",\"role\":\"required\",\"status\":\"needs-action\",\"type\":\"\",\"rsvp\":false},"
               "{\"email\":\"d@example.org\",\"name\":\"C\\\"s ^ room\",\"role\":\"chair\",\"status\":\"needs-action\",\"type\":\"\",\"rsvp\":false}]"_s;

        // Alarms
        QTest::newRow("Alarms: start-relative triggers become reminders")
            << u"BEGIN:VALARM\nACTION:DISPLAY\nTRIGGER:-PT15M\nEND:VALARM\n"
               "BEGIN:VALARM\nTRIGGER;RELATED=START:-P1DT2H\nACTION:AUDIO\nEND:VALARM\n"
               "BEGIN:VALARM\nACTION:EMAIL\nTRIGGER:PT0S\nEND:VALARM"_s
            << u"reminders"_s
            << u"[{\"minutes_before\":15,\"action\":\"display\"},{\"minutes_before\":1560,\"action\":\"audio\"},"
               "{\"minutes_before\":0,\"action\":\"email\"}]"_s;
        QTest::newRow("Alarms: absolute and end-related triggers are not reminders")
            << u"BEGIN:VALARM\nACTION:DISPLAY\nTRIGGER;VALUE=DATE-TIME:20240101T080000Z\nEND:VALARM\n"
               "BEGIN:VALARM\nACTION:DISPLAY\nTRIGGER;RELATED=END:-PT5M\nEND:VALARM\n"
               "BEGIN:VALARM\nACTION:DISPLAY\nEND:VALARM"_s
            << u"reminders"_s << u"[]"_s;
        QTest::newRow("Alarms: a DURATION inside an alarm does not end the event")
            << u"DTSTART:20240101T090000Z\nBEGIN:VALARM\nTRIGGER:-PT5M\nDURATION:PT5M\nREPEAT:2\nEND:VALARM"_s
            << u"end"_s << u"null"_s;
    }
    void eventFields()
    {
        QFETCH(QString, body);
        QFETCH(QString, field);
        QFETCH(QString, expected);
        const QList<Event> events = ICalendar::parseEvents(vevent(body));
        QCOMPARE(events.size(), 1);
        QCOMPARE(compact(IcalFields::eventFields(events[0]).value(field)), compact(expected));
    }

    // A value of thousands of designators is held at a bound, never wrapped
    // into a negative duration or an arbitrary reminder.
    void hugeDurationsAreHeldNotWrapped()
    {
        const QString huge = u"999999999999W"_s.repeated(20000);
        const QList<Event> events = ICalendar::parseEvents(
            vevent(u"DTSTART:20240101T090000Z\nDURATION:P"_s + huge + u"\nBEGIN:VALARM\nTRIGGER:-P"_s + huge
                   + u"\nEND:VALARM\nBEGIN:VALARM\nTRIGGER:P"_s + huge + u"\nEND:VALARM"_s));
        QCOMPARE(events.size(), 1);
        QVERIFY(events[0].end_time.has_value());
        QVERIFY(events[0].end_time->isValid());
        QVERIFY(*events[0].end_time > events[0].start_time.addYears(1000));
        QCOMPARE(events[0].reminders.size(), 2);
        QCOMPARE(events[0].reminders[0].minutes_before, std::numeric_limits<int>::max());
        QCOMPARE(events[0].reminders[1].minutes_before, -std::numeric_limits<int>::max());
    }

    void whichItemsAreRead_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("uids");
        // Component names are case-insensitive, as other writers rely on.
        QTest::newRow("lower-case begin is an item too") << u"begin:vevent\nUID:a\nEnd:VEvent"_s << QStringList{u"a"_s};
        QTest::newRow("lines ending in a lone CR")
            << u"BEGIN:VEVENT\rUID:a\rEND:VEVENT\rBEGIN:VEVENT\rUID:b\rEND:VEVENT\r"_s << QStringList{u"a"_s, u"b"_s};
        QTest::newRow("missing END at the end of the text")
            << u"BEGIN:VEVENT\nUID:a\nEND:VEVENT\nBEGIN:VEVENT\nUID:b"_s << QStringList{u"a"_s};
    }
    void whichItemsAreRead()
    {
        QFETCH(QString, text);
        QStringList uids;
        for (const Event &e : ICalendar::parseEvents(text))
            uids.append(e.uid);
        QTEST(uids, "uids");
    }

    // Texts made to cost: each is read whole, in time proportional to it.
    void hostileEvents_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<int>("exceptions");
        QTest::addColumn<int>("descriptionSize");
        QStringList days;
        for (QDate day(2026, 1, 1); days.size() < 50000; day = day.addDays(1))
            days.append(day.toString(u"yyyyMMdd"_s) + u"T090000Z"_s);
        const QString exdates = u"\nEXDATE:"_s + days.join(u',');
        QTest::newRow("100,000 EXDATE values, each day twice, kept once each")
            << u"DTSTART:20260101T090000Z\nRRULE:FREQ=DAILY"_s + exdates + exdates << 50000 << 0;
        QTest::newRow("a DESCRIPTION of 10 MB kept whole")
            << u"DTSTART:20260101T090000Z\nDESCRIPTION:"_s + QString(10 << 20, u'x') << 0 << (10 << 20);
        QTest::newRow("100,000 nested components around a DESCRIPTION") << u"DTSTART:20260101T090000Z\n"_s
                + u"BEGIN:X-NEST\n"_s.repeated(100000) + u"END:X-NEST\n"_s.repeated(100000)
                + u"DESCRIPTION:abc"_s << 0 << 3;
        QTest::newRow("100,000 zone beginnings before one end, for a zone no database knows")
            << u"DTSTART;TZID=Nowhere/Zone:20260101T090000\nDESCRIPTION:abc\n"_s
                + u"BEGIN:VTIMEZONE\n"_s.repeated(100000) + u"TZID:Nowhere/Zone\nEND:VTIMEZONE"_s
            << 0 << 3;
    }
    void hostileEvents()
    {
        QFETCH(QString, body);
        const QList<Event> events = ICalendar::parseEvents(vevent(body));
        QCOMPARE(events.size(), 1);
        QFETCH(int, exceptions);
        QCOMPARE(QJsonDocument::fromJson(events[0].exception_dates.toUtf8()).array().size(), exceptions);
        QTEST(int(events[0].description.size()), "descriptionSize");
    }

    void eventRawTextIsItsOwnBlock()
    {
        const QString text = u"BEGIN:VCALENDAR\nPRODID:-//Other//EN\nMETHOD:PUBLISH\n"
                             "BEGIN:VTIMEZONE\nTZID:X\nEND:VTIMEZONE\n"
                             "BEGIN:VEVENT\nUID:a\nDESCRIPTION:one\n  two\nX-FOO;P=1:bar\n"
                             "BEGIN:VALARM\nTRIGGER:-PT5M\nEND:VALARM\nEND:VEVENT\nEND:VCALENDAR\n"_s;
        const QList<Event> events = ICalendar::parseEvents(text);
        QCOMPARE(events.size(), 1);
        QCOMPARE(events[0].raw_icalendar,
                 u"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Quillmarten//Calendar Desktop//EN\r\n"
                 "BEGIN:VEVENT\r\nUID:a\r\nDESCRIPTION:one two\r\nX-FOO;P=1:bar\r\n"
                 "BEGIN:VALARM\r\nTRIGGER:-PT5M\r\nEND:VALARM\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"_s);
    }

    // Bytes read a line at a time give what the decoded text gives.
    void bytesReadAsTheirDecodedText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("count");
        const QByteArray event = "BEGIN:VEVENT\r\nUID:u1\r\nDTSTART;TZID=Europe/Berlin:20240305T120000\r\n"
                                 "SUMMARY:Caf\xC3\xA9 \\, talk\r\nBEGIN:VALARM\r\nTRIGGER:-PT5M\r\nEND:VALARM\r\n"
                                 "END:VEVENT\r\n";
        const auto calendar = [](const QByteArray &body) { return "BEGIN:VCALENDAR\r\n" + body + "END:VCALENDAR\r\n"; };
        QTest::newRow("CR LF") << calendar(event) << 1;
        QTest::newRow("LF and lone CR") << calendar(event).replace("\r\n", "\n").replace("UID:u1\n", "UID:u1\r") << 1;
        QTest::newRow("byte-order mark") << "\xEF\xBB\xBF" + calendar(event) << 1;
        QTest::newRow("folds by space and tab, one inside a character")
            << calendar(event).replace("SUMMARY:Caf\xC3", "SUMMARY:\r\n Caf\xC3\r\n\t") << 1;
        QTest::newRow("a stray Windows-1252 byte in one line")
            << calendar(event + event).replace("UID:u1", "UID:u2\r\nLOCATION:Stra\xDF" "e") << 2;
        QTest::newRow("control characters, one before a continuation")
            << calendar(event).replace("SUMMARY:", "SUMMARY:a\x01\r\n\x02 b\x7f").replace("UID", "\x03UID") << 1;
        QTest::newRow("zone the text defines after its event")
            << calendar(QByteArray(event).replace("Europe/Berlin", "Own")
                        + "BEGIN:VTIMEZONE\r\nTZID:Own\r\nBEGIN:STANDARD\r\nDTSTART:19700101T000000\r\n"
                          "TZOFFSETFROM:+0300\r\nTZOFFSETTO:+0300\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n") << 1;
        QTest::newRow("cut inside an event") << calendar(event + event).left(calendar(event).size() + 40) << 1;
        QTest::newRow("empty") << QByteArray() << 0;
    }
    void bytesReadAsTheirDecodedText()
    {
        QFETCH(QByteArray, bytes);
        const ICalendar::DecodedText decoded = ICalendar::decodeText(bytes);
        int repaired = -1;
        const QList<Event> events = ICalendar::parseEventBytes(bytes, &repaired);
        QTEST(int(events.size()), "count");
        QCOMPARE(events, ICalendar::parseEvents(decoded.text));
        QCOMPARE(repaired, decoded.repaired);
    }

    // Wall clocks of one zone read in one text, where each reading may lean
    // on the ones before it: near a change of offset as well as far from one.
    void zonedWallClocksInOneText()
    {
        const QTimeZone berlin("Europe/Berlin");
        // Dates and times apart: in the system's zone some of them do not exist.
        const QList<std::pair<QDate, QTime>> walls = {
            {QDate(2024, 1, 10), QTime(9, 0)},   {QDate(2024, 3, 30), QTime(2, 30)}, {QDate(2024, 3, 31), QTime(2, 30)},
            {QDate(2024, 3, 31), QTime(3, 0)},   {QDate(2024, 4, 1), QTime(2, 30)},  {QDate(2024, 10, 27), QTime(2, 30)},
            {QDate(2024, 10, 26), QTime(2, 30)}, {QDate(2024, 2, 10), QTime(9, 0)},  {QDate(2037, 7, 1), QTime(12, 0)},
            {QDate(1901, 7, 1), QTime(12, 0)},
        };
        QByteArray text = "BEGIN:VCALENDAR\r\n";
        for (qsizetype i = 0; i < walls.size(); ++i) {
            text += "BEGIN:VEVENT\r\nUID:" + QByteArray::number(i) + "\r\nDTSTART;TZID=Europe/Berlin:"
                + walls[i].first.toString(u"yyyyMMdd"_s).toLatin1() + 'T'
                + walls[i].second.toString(u"HHmmss"_s).toLatin1() + "\r\nEND:VEVENT\r\n";
        }
        const QList<Event> events = ICalendar::parseEventBytes(text + "END:VCALENDAR\r\n");
        QCOMPARE(events.size(), walls.size());
        for (qsizetype i = 0; i < walls.size(); ++i) {
            const QDateTime expected = TimeUtil::inZone(walls[i].first, walls[i].second, berlin);
            QVERIFY(expected.isValid());
            QCOMPARE(events[i].start_time, expected);
            QCOMPARE(events[i].start_time.timeZone(), berlin);
        }
    }

    // A file read in batches gives what reading all of it at once gives.
    void fileReadInBatches_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray event = "BEGIN:VEVENT\r\nUID:u%1\r\nDTSTART;TZID=Own:20240305T120000\r\n"
                                 "SUMMARY:Caf\xC3\xA9\r\nEND:VEVENT\r\n";
        const QByteArray zone = "BEGIN:VTIMEZONE\r\nTZID:Own\r\nBEGIN:STANDARD\r\nDTSTART:19700101T000000\r\n"
                                "TZOFFSETFROM:+0300\r\nTZOFFSETTO:+0300\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n";
        QByteArray events;
        for (int i = 0; i < 5; ++i)
            events += QByteArray(event).replace("%1", QByteArray::number(i));
        const QByteArray calendar = "BEGIN:VCALENDAR\r\n" + zone + events + "END:VCALENDAR\r\n";
        QTest::newRow("CR LF") << calendar;
        QTest::newRow("LF, lower-case names") << calendar.toLower().replace("\r\n", "\n").replace("uid:u", "UID:u");
        QTest::newRow("folded, a stray byte, a name that is not one")
            << QByteArray(calendar).replace("Caf\xC3", "C\r\n af\xE9").replace("END:VTIMEZONE", "END:VTIMEZONE\r\nBEG\xC4\xB0N:VEVENT");
        // Overrides keyed as their series keys them: a midnight of another
        // zone names a day of an all-day series, a date the start that day.
        const QByteArray later =
            "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:day\r\nDTSTART;VALUE=DATE:20300105\r\nRRULE:FREQ=DAILY\r\n"
            "END:VEVENT\r\nBEGIN:VEVENT\r\nUID:time\r\nDTSTART;TZID=Europe/Berlin:20300105T090000\r\n"
            "RRULE:FREQ=DAILY\r\nEND:VEVENT\r\nBEGIN:VEVENT\r\nUID:one\r\nDTSTART:20300105T090000Z\r\n"
            "END:VEVENT\r\nBEGIN:VEVENT\r\nUID:day\r\nRECURRENCE-ID;TZID=Asia/Tokyo:20300107T000000\r\n"
            "DTSTART;TZID=Asia/Tokyo:20300107T100000\r\nEND:VEVENT\r\nBEGIN:VEVENT\r\nUID:time\r\n"
            "RECURRENCE-ID;VALUE=DATE:20300108\r\nDTSTART:20300108T100000Z\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
        QTest::newRow("overrides in a later batch than their series") << later;
    }
    void fileReadInBatches()
    {
        QFETCH(QByteArray, bytes);
        for (const int batch : {1, 3, 100}) {
            QBuffer file(&bytes);
            file.open(QIODevice::ReadOnly);
            ICalendarFileReader reader(&file);
            QList<Event> events;
            while (!reader.atEnd())
                events += reader.next(batch);
            const ICalendar::DecodedText decoded = ICalendar::decodeText(bytes);
            QCOMPARE(events.size(), 5);
            QCOMPARE(events, ICalendar::parseEvents(decoded.text));
            QCOMPARE(reader.repairedLines(), decoded.repaired);
        }
    }

    void taskFields_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("expected");
        QTest::newRow("categories trimmed, empty ones dropped, escaped comma kept")
            << u"CATEGORIES:Home, Garden,,Work\\,Play"_s << u"categories"_s << u"[\"Home\",\"Garden\",\"Work,Play\"]"_s;
        QTest::newRow("RELATED-TO without RELTYPE is the parent")
            << u"RELATED-TO:p1"_s << u"parent_task_uid"_s << u"\"p1\""_s;
        QTest::newRow("RELATED-TO child is not the parent")
            << u"RELATED-TO;RELTYPE=CHILD:c1"_s << u"parent_task_uid"_s << u"\"\""_s;
        QTest::newRow("no SUMMARY gives an empty title, not a null one")
            << u"DUE:20240101T090000Z"_s << u"title"_s << u"\"\""_s;
        QTest::newRow("sort order negative is 0") << u"X-QUILLMARTEN-SORT-ORDER:-4"_s << u"sort_order"_s << u"0"_s;
        QTest::newRow("repeat mode is case-sensitive")
            << u"X-QUILLMARTEN-REPEAT-MODE:FromCompletionDate"_s << u"repeat_mode"_s << u"\"fromDueDate\""_s;
    }
    void taskFields()
    {
        QFETCH(QString, body);
        QFETCH(QString, field);
        QFETCH(QString, expected);
        const QList<Task> tasks = ICalendar::parseTasks(vtodo(body));
        QCOMPARE(tasks.size(), 1);
        QCOMPARE(compact(IcalFields::taskFields(tasks[0]).value(field)), compact(expected));
    }

    void taskRawTextIsTheBareBlock()
    {
        const QList<Task> tasks = ICalendar::parseTasks(vtodo(u"SUMMARY:x"_s));
        QCOMPARE(tasks.size(), 1);
        QCOMPARE(tasks[0].raw_icalendar, u"BEGIN:VTODO\r\nUID:t1\r\nSUMMARY:x\r\nEND:VTODO\r\n"_s);
    }
};

QTEST_GUILESS_MAIN(TestIcalReader)
#include "tst_icalreader.moc"
