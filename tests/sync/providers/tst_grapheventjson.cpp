#include "microsoftcalendarclient.h"
#include "timeutil.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

using namespace Qt::StringLiterals;
using Microsoft::CalendarClient;

namespace {

QJsonObject json(const QString &text)
{
    return QJsonDocument::fromJson(text.toUtf8()).object();
}

// The fields a row is checked by, as one line per field.
QStringList rendered(const Event &e)
{
    QStringList attendees;
    for (const Attendee &a : e.attendees)
        attendees.append(u"%1/%2/%3"_s.arg(a.email, a.role, a.status));
    QStringList reminders;
    for (const Reminder &r : e.reminders)
        reminders.append(QString::number(r.minutes_before));
    const auto when = [&e](const QDateTime &t) {
        return e.is_all_day ? t.toString(Qt::ISODate) : t.toUTC().toString(Qt::ISODate);
    };
    return {u"title="_s + e.title,
            u"start="_s + when(e.start_time),
            u"end="_s + (e.end_time ? when(*e.end_time) : u"-"_s),
            u"allDay="_s + (e.is_all_day ? u"yes"_s : u"no"_s),
            u"timezone="_s + e.timezone,
            u"status="_s + e.status,
            u"rule="_s + e.recurrence_rule,
            u"override="_s + e.master_event_uid + u'@' + e.recurrence_id,
            u"attendees="_s + attendees.join(u' '),
            u"reminders="_s + reminders.join(u' ')};
}

const char *kTimed = R"("start":{"dateTime":"2025-03-01T09:30:00.0000000","timeZone":"UTC"},
                        "end":{"dateTime":"2025-03-01T10:00:00.0000000","timeZone":"UTC"})";

} // namespace

class TestGraphEventJson : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pull_data();
    void pull();
    void pullKeepsResourceAndChangeKey();
    void push_data();
    void push();
    void bodyTravelsOnlyWhenChanged_data();
    void bodyTravelsOnlyWhenChanged();
};

void TestGraphEventJson::pull_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QStringList>("expected");

    const QString timed = QString::fromLatin1(kTimed);
    const auto with = [](QStringList lines, const QString &key, const QString &value) {
        for (QString &line : lines) {
            if (line.startsWith(key + u'='))
                line = key + u'=' + value;
        }
        return lines;
    };
    const QStringList plain{u"title=Review"_s,
                            u"start=2025-03-01T09:30:00Z"_s,
                            u"end=2025-03-01T10:00:00Z"_s,
                            u"allDay=no"_s,
                            u"timezone=UTC"_s,
                            u"status=confirmed"_s,
                            u"rule="_s,
                            u"override=@"_s,
                            u"attendees="_s,
                            u"reminders="_s};

    QTest::newRow("seven fractional digits in UTC") << uR"({"subject":"Review",%1})"_s.arg(timed) << plain;
    QTest::newRow("zone name in lower case is still UTC")
        << uR"({"subject":"Review","start":{"dateTime":"2025-03-01T09:30:00.0000000","timeZone":"utc"},
                "end":{"dateTime":"2025-03-01T10:00:00","timeZone":"tzone://Microsoft/Utc"}})"_s
        << plain;
    // Without a UTC preference Graph answers in the event's own zone, by
    // its Windows name.
    QTest::newRow("Windows zone name is read in that zone")
        << uR"({"subject":"Review","start":{"dateTime":"2025-03-01T10:30:00.0000000","timeZone":"W. Europe Standard Time"},
                "end":{"dateTime":"2025-03-01T11:00:00.0000000","timeZone":"W. Europe Standard Time"}})"_s
        << with(plain, u"timezone"_s, u"Europe/Berlin"_s);
    QTest::newRow("Pacific wall clock in summer time")
        << uR"({"subject":"Review","start":{"dateTime":"2025-07-01T02:30:00","timeZone":"Pacific Standard Time"},
                "end":{"dateTime":"2025-07-01T03:00:00","timeZone":"Pacific Standard Time"}})"_s
        << with(with(with(plain, u"timezone"_s, u"America/Los_Angeles"_s), u"start"_s, u"2025-07-01T09:30:00Z"_s),
                u"end"_s, u"2025-07-01T10:00:00Z"_s);
    QTest::newRow("listed in UTC, written in Berlin")
        << uR"({"subject":"Review","originalStartTimeZone":"W. Europe Standard Time",%1})"_s.arg(timed)
        << with(plain, u"timezone"_s, u"Europe/Berlin"_s);
    // All-day: the dates as written, at 00:00 UTC, whatever zone this
    // machine is in or the event was written in.
    const QStringList holiday{u"title=Holiday"_s,         u"start=2025-03-01T00:00:00Z"_s,
                              u"end=2025-03-02T00:00:00Z"_s, u"allDay=yes"_s,
                              u"timezone=UTC"_s,           u"status=confirmed"_s,
                              u"rule="_s,                  u"override=@"_s,
                              u"attendees="_s,             u"reminders="_s};
    const QString allDay = uR"("subject":"Holiday","isAllDay":true,
                "start":{"dateTime":"2025-03-01T00:00:00.0000000","timeZone":"UTC"},
                "end":{"dateTime":"2025-03-02T00:00:00.0000000","timeZone":"UTC"})"_s;
    QTest::newRow("all-day keeps its dates with the exclusive end") << u"{%1}"_s.arg(allDay) << holiday;
    QTest::newRow("all-day written in Tokyo is in no zone")
        << uR"({%1,"originalStartTimeZone":"Tokyo Standard Time"})"_s.arg(allDay) << holiday;
    // An all-day instance's original start is midnight of its day in the
    // series' zone, in UTC; the zone named beside it is the one asked for.
    const auto instance = [&](const char *name, const QString &type, const QString &originalStart) {
        QTest::newRow(name) << uR"({%1,"seriesMasterId":"AAMkMaster","type":"%2","originalStart":"%3",
                                    "originalStartTimeZone":"UTC"})"_s.arg(allDay, type, originalStart)
                            << with(holiday, u"override"_s, u"AAMkMaster@20250301"_s);
    };
    instance("all-day occurrence of a series in Tokyo", u"occurrence"_s, u"2025-02-28T15:00:00Z"_s);
    instance("all-day occurrence of a series in Honolulu", u"occurrence"_s, u"2025-03-01T10:00:00Z"_s);
    instance("all-day occurrence of a series in Auckland summer time", u"occurrence"_s, u"2025-02-28T11:00:00Z"_s);
    QTest::newRow("all-day exception moved from its day in Tokyo")
        << uR"({"subject":"Holiday","isAllDay":true,"seriesMasterId":"AAMkMaster","type":"exception",
                "originalStart":"2025-02-26T15:00:00Z",
                "start":{"dateTime":"2025-03-01T00:00:00.0000000","timeZone":"UTC"},
                "end":{"dateTime":"2025-03-02T00:00:00.0000000","timeZone":"UTC"}})"_s
        << with(holiday, u"override"_s, u"AAMkMaster@20250227"_s);
    // Midnight in Honolulu (Auckland's summer) is one in Kiritimati (Niue) too.
    const auto moved = [&](const char *name, const QString &originalStart, const QString &zone, const QString &day) {
        QTest::newRow(name) << uR"({%1,"seriesMasterId":"AAMkMaster","type":"exception","originalStart":"%2",
                                    "originalStartTimeZone":"%3"})"_s.arg(allDay, originalStart, zone)
                            << with(holiday, u"override"_s, u"AAMkMaster@"_s + day);
    };
    moved("all-day exception moved a day later in Honolulu", u"2025-02-28T10:00:00Z"_s, u"Hawaiian Standard Time"_s,
          u"20250228"_s);
    moved("all-day exception moved in Auckland summer time", u"2025-02-26T11:00:00Z"_s, u"UTC"_s, u"20250227"_s);
    QTest::newRow("a meeting its organizer cancelled is cancelled")
        << uR"({"subject":"Review","isCancelled":true,"showAs":"free",%1})"_s.arg(timed)
        << with(plain, u"status"_s, u"cancelled"_s);
    QTest::newRow("no subject, free time, reminder at the start")
        << uR"({"showAs":"free","isReminderOn":true,"reminderMinutesBeforeStart":0,%1})"_s.arg(timed)
        << with(with(with(plain, u"title"_s, u"Untitled Event"_s), u"status"_s, u"tentative"_s), u"reminders"_s,
                u"0"_s);
    QTest::newRow("reminder switched off is no reminder")
        << uR"({"subject":"Review","isReminderOn":false,"reminderMinutesBeforeStart":15,%1})"_s.arg(timed) << plain;
    QTest::newRow("attendees: organizer accepted, resource required, no address dropped")
        << uR"({"subject":"Review",%1,"attendees":[
                {"type":"required","status":{"response":"organizer"},"emailAddress":{"address":"a@example.org"}},
                {"type":"resource","status":{"response":"none"},"emailAddress":{"address":"room@example.org"}},
                {"type":"Optional","status":{"response":"tentativelyAccepted"},"emailAddress":{"address":"b@example.org"}},
                {"type":"required","status":{"response":"accepted"},"emailAddress":{"name":"Nobody"}}]})"_s.arg(timed)
        << with(plain, u"attendees"_s,
                u"a@example.org/required/accepted room@example.org/required/needs-action "
                "b@example.org/optional/tentative"_s);
    QTest::newRow("a moved occurrence overrides its original start in UTC")
        << uR"({"subject":"Review","seriesMasterId":"AAMkMaster","type":"exception",
                "originalStart":"2025-03-01T08:00:00Z",%1})"_s.arg(timed)
        << with(plain, u"override"_s, u"AAMkMaster@20250301T080000Z"_s);
    QTest::newRow("original start with fraction and offset")
        << uR"({"subject":"Review","seriesMasterId":"AAMkMaster",
                "originalStart":"2025-03-01T09:00:00.0000000+01:00",%1})"_s.arg(timed)
        << with(plain, u"override"_s, u"AAMkMaster@20250301T080000Z"_s);
    QTest::newRow("series repeats in its own zone and ends on its end day there")
        << uR"({"subject":"Review",%1,"recurrence":{
                "pattern":{"type":"weekly","interval":1,"daysOfWeek":["saturday"]},
                "range":{"type":"endDate","startDate":"2025-03-01","endDate":"2025-03-29",
                         "recurrenceTimeZone":"W. Europe Standard Time"}}})"_s.arg(timed)
        << with(with(plain, u"timezone"_s, u"Europe/Berlin"_s), u"rule"_s,
                u"FREQ=WEEKLY;BYDAY=SA;UNTIL=20250329T225959Z"_s);
}

void TestGraphEventJson::pull()
{
    QFETCH(QString, item);
    QFETCH(QStringList, expected);

    const QJsonObject object = json(item);
    QVERIFY(!object.isEmpty());
    QCOMPARE(rendered(CalendarClient::eventFromJson(object, u"cal-1"_s)), expected);
}

void TestGraphEventJson::pullKeepsResourceAndChangeKey()
{
    const QJsonObject item = json(uR"({"id":"AAMk1","changeKey":"ck-7","subject":"Review","webLink":"https://x/y",
                                       "onlineMeeting":{"joinUrl":"https://join/1"},%1})"_s.arg(QLatin1String(kTimed)));
    const Event event = CalendarClient::eventFromJson(item, u"cal-1"_s);
    QCOMPARE(event.calendar_id, u"cal-1"_s);
    QCOMPARE(event.uid, u"AAMk1"_s);
    QCOMPARE(event.provider_event_id, u"AAMk1"_s);
    QCOMPARE(event.etag, u"ck-7"_s);
    QCOMPARE(event.conference_url, u"https://join/1"_s);
    QCOMPARE(event.sync_status, u"synced"_s);
    QCOMPARE(QJsonDocument::fromJson(event.raw_icalendar.toUtf8()).object(), item);
}

void TestGraphEventJson::push_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("expected");

    QTest::newRow("timed event in UTC with milliseconds")
        << uR"({"subject":"Review","showAs":"tentative",%1})"_s.arg(QLatin1String(kTimed))
        << uR"({"subject":"Review","isAllDay":false,"showAs":"tentative",
                "location":{"displayName":""},
                "start":{"dateTime":"2025-03-01T09:30:00","timeZone":"UTC"},
                "end":{"dateTime":"2025-03-01T10:00:00","timeZone":"UTC"},"isReminderOn":false})"_s;
    QTest::newRow("all-day without a length lasts one day") << uR"({"subject":"Holiday","isAllDay":true,
                "start":{"dateTime":"2025-03-01T00:00:00.0000000","timeZone":"UTC"},
                "end":{"dateTime":"2025-03-01T00:00:00.0000000","timeZone":"UTC"}})"_s
                                                            << uR"({"subject":"Holiday","isAllDay":true,"showAs":"busy",
                "location":{"displayName":""},
                "start":{"dateTime":"2025-03-01T00:00:00","timeZone":"UTC"},
                "end":{"dateTime":"2025-03-02T00:00:00","timeZone":"UTC"},"isReminderOn":false})"_s;
    // A 09:30 standup in `zone` as the row has it, and as it goes out.
    const auto standup = [](const char *name, const QString &day, const QString &zone, const QString &sentZone,
                            const QString &sentStart, const QString &sentEnd) {
        QTest::newRow(name) << uR"({"subject":"Standup","start":{"dateTime":"%1T09:30:00","timeZone":"%2"},
                "end":{"dateTime":"%1T10:00:00","timeZone":"%2"}})"_s.arg(day, zone)
                            << uR"({"subject":"Standup","isAllDay":false,"showAs":"busy","location":{"displayName":""},
                "start":{"dateTime":"%1T%3","timeZone":"%2"},
                "end":{"dateTime":"%1T%4","timeZone":"%2"},"isReminderOn":false})"_s.arg(day, sentZone, sentStart,
                                                                                         sentEnd);
    };
    // Qt's table knows this zone by its older IANA name only.
    standup("a renamed IANA zone by its Windows name", u"2025-03-01"_s, u"Asia/Kolkata"_s, u"India Standard Time"_s,
            u"09:30:00"_s, u"10:00:00"_s);
    standup("a zone Qt has no Windows name for, by its CLDR one", u"2025-03-01"_s, u"America/Kentucky/Louisville"_s,
            u"Eastern Standard Time"_s, u"09:30:00"_s, u"10:00:00"_s);
    standup("a zone without any Windows name goes as its UTC instant", u"2025-06-01"_s, u"Antarctica/Troll"_s, u"UTC"_s,
            u"07:30:00"_s, u"08:00:00"_s);
    QTest::newRow("reminder and weekly series in its own zone")
        << uR"({"subject":"Review","isReminderOn":true,"reminderMinutesBeforeStart":10,%1,"recurrence":{
                "pattern":{"type":"weekly","interval":1,"daysOfWeek":["saturday"]},
                "range":{"type":"numbered","startDate":"2025-03-01","numberOfOccurrences":3,
                         "recurrenceTimeZone":"Europe/Berlin"}}})"_s.arg(QLatin1String(kTimed))
        << uR"({"subject":"Review","isAllDay":false,"showAs":"busy","location":{"displayName":""},
                "start":{"dateTime":"2025-03-01T10:30:00","timeZone":"W. Europe Standard Time"},
                "end":{"dateTime":"2025-03-01T11:00:00","timeZone":"W. Europe Standard Time"},
                "recurrence":{"pattern":{"type":"weekly","interval":1,"daysOfWeek":["saturday"],
                                         "firstDayOfWeek":"monday"},
                              "range":{"type":"numbered","startDate":"2025-03-01","numberOfOccurrences":3}},
                "isReminderOn":true,"reminderMinutesBeforeStart":10})"_s;
}

void TestGraphEventJson::push()
{
    QFETCH(QString, item);
    QFETCH(QString, expected);

    const Event event = CalendarClient::eventFromJson(json(item), u"cal-1"_s);
    QCOMPARE(CalendarClient::eventToJson(event), json(expected));
}

void TestGraphEventJson::bodyTravelsOnlyWhenChanged_data()
{
    QTest::addColumn<bool>("pulled");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QJsonValue>("body");

    const QString html = u"<html><body><p>Agenda</p><div>Join the meeting: https://join/1</div></body></html>"_s;
    QTest::newRow("pulled HTML moved in time only is not sent") << true << html << QJsonValue(QJsonValue::Undefined);
    QTest::newRow("pulled body edited is sent as text")
        << true << u"Agenda, moved"_s
        << QJsonValue(QJsonObject{{"contentType"_L1, u"text"_s}, {"content"_L1, u"Agenda, moved"_s}});
    QTest::newRow("pulled body cleared is cleared on the server")
        << true << QString() << QJsonValue(QJsonObject{{"contentType"_L1, u"text"_s}, {"content"_L1, u""_s}});
    QTest::newRow("new event with notes sends them")
        << false << u"Notes"_s << QJsonValue(QJsonObject{{"contentType"_L1, u"text"_s}, {"content"_L1, u"Notes"_s}});
    QTest::newRow("new event without notes sends no body") << false << QString() << QJsonValue(QJsonValue::Undefined);
}

void TestGraphEventJson::bodyTravelsOnlyWhenChanged()
{
    QFETCH(bool, pulled);
    QFETCH(QString, description);
    QFETCH(QJsonValue, body);

    const QString html = u"<html><body><p>Agenda</p><div>Join the meeting: https://join/1</div></body></html>"_s;
    QJsonObject item = json(uR"({"id":"AAMk1","subject":"Review",%1})"_s.arg(QLatin1String(kTimed)));
    item.insert("body"_L1, QJsonObject{{"contentType"_L1, u"html"_s}, {"content"_L1, html}});
    Event event = CalendarClient::eventFromJson(item, u"cal-1"_s);
    if (!pulled)
        event.raw_icalendar.clear();
    event.description = description;
    event.start_time = event.start_time.addSecs(3600);
    const QJsonObject out = CalendarClient::eventToJson(event);
    QCOMPARE(out.value("body"_L1), body);
    QCOMPARE(out.value("start"_L1).toObject().value("dateTime"_L1).toString(), u"2025-03-01T10:30:00"_s);
}

QTEST_GUILESS_MAIN(TestGraphEventJson)
#include "tst_grapheventjson.moc"
