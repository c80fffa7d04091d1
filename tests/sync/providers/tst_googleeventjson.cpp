#include "googlecalendarclient.h"
#include "timeutil.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

using namespace Qt::StringLiterals;
using Google::CalendarClient;

namespace {

// A date-time as the fixtures write it: UTC for timed values, an all-day
// value as it is held (00:00 UTC of its date), null when invalid.
QJsonValue timeText(const QDateTime &value, bool allDay)
{
    if (!value.isValid())
        return QJsonValue::Null;
    if (allDay)
        return value.toString(Qt::ISODate);
    return value.toUTC().toString(Qt::ISODate);
}

QJsonObject rendered(const Event &event)
{
    QJsonArray attendees;
    for (const Attendee &a : event.attendees)
        attendees.append(u"%1|%2|%3|%4"_s.arg(a.email, a.name, a.role, a.status));
    QJsonArray reminders;
    for (const Reminder &r : event.reminders)
        reminders.append(u"%1|%2"_s.arg(r.minutes_before).arg(r.action));
    return QJsonObject{{"provider_event_id"_L1, event.provider_event_id},
                       {"uid"_L1, event.uid},
                       {"etag"_L1, event.etag},
                       {"title"_L1, event.title},
                       {"status"_L1, event.status},
                       {"start_time"_L1, timeText(event.start_time, event.is_all_day)},
                       {"end_time"_L1,
                        event.end_time ? timeText(*event.end_time, event.is_all_day) : QJsonValue(QJsonValue::Null)},
                       {"is_all_day"_L1, event.is_all_day},
                       {"timezone"_L1, event.timezone},
                       {"event_url"_L1, event.event_url},
                       {"conference_url"_L1, event.conference_url},
                       {"organizer"_L1, event.organizer_email + u'|' + event.organizer_name},
                       {"sequence"_L1, event.sequence},
                       {"last_modified"_L1, timeText(event.last_modified, false)},
                       {"attendees"_L1, attendees},
                       {"reminders"_L1, reminders},
                       {"recurrence_rule"_L1, event.recurrence_rule},
                       {"recurrence_id"_L1, event.recurrence_id},
                       {"master_event_uid"_L1, event.master_event_uid}};
}

Event timedEvent(const QDateTime &start)
{
    Event event;
    event.title = u"Review"_s;
    event.start_time = start;
    event.end_time = start.addSecs(1800);
    return event;
}

QDateTime berlin(int month, int day, int hour)
{
    return TimeUtil::inZone(QDate(2025, month, day), QTime(hour, 0), QTimeZone("Europe/Berlin"));
}

} // namespace

class TestGoogleEventJson : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pulledItemBecomesRow_data();
    void pulledItemBecomesRow();
    void rowBecomesBody_data();
    void rowBecomesBody();
    void allDayRoundTripKeepsDates();
};

// Each fixture holds a Google event resource and the fields its row must
// have; fields it does not name are not checked.
void TestGoogleEventJson::pulledItemBecomesRow_data()
{
    QTest::addColumn<QJsonObject>("item");
    QTest::addColumn<QJsonObject>("expect");
    const QDir dir(QStringLiteral(CALENDAR_TEST_DATA_DIR "/pull"));
    const QStringList files = dir.entryList({u"*.json"_s}, QDir::Files, QDir::Name);
    QVERIFY(!files.isEmpty());
    for (const QString &name : files) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonObject fixture = QJsonDocument::fromJson(file.readAll()).object();
        QVERIFY2(!fixture.isEmpty(), qPrintable(name));
        QTest::newRow(qPrintable(name.chopped(5)))
            << fixture.value("item"_L1).toObject() << fixture.value("expect"_L1).toObject();
    }
}

void TestGoogleEventJson::pulledItemBecomesRow()
{
    QFETCH(QJsonObject, item);
    QFETCH(QJsonObject, expect);
    const Event event = CalendarClient::eventFromJson(item, u"cal-1"_s);
    QCOMPARE(event.calendar_id, u"cal-1"_s);
    QCOMPARE(event.sync_status, u"synced"_s);
    QCOMPARE(QJsonDocument::fromJson(event.raw_icalendar.toUtf8()).object(), item);
    const QJsonObject actual = rendered(event);
    for (auto it = expect.constBegin(); it != expect.constEnd(); ++it)
        QCOMPARE(std::make_pair(it.key(), actual.value(it.key())), std::make_pair(it.key(), QJsonValue(it.value())));
}

void TestGoogleEventJson::rowBecomesBody_data()
{
    QTest::addColumn<Event>("event");
    QTest::addColumn<QJsonObject>("expect"); // keys checked; a null value: key absent

    const QDateTime start = TimeUtil::utc(QDate(2025, 3, 1), QTime(14, 0));
    Event cleared = timedEvent(start);
    QTest::newRow("cleared description and location are sent empty, so a merge clears them")
        << cleared << QJsonObject{{"description"_L1, u""_s}, {"location"_L1, u""_s}, {"summary"_L1, u"Review"_s}};

    Event untitled = timedEvent(start);
    untitled.title = u"Untitled Event"_s;
    untitled.end_time.reset();
    QTest::newRow("timed row without end lasts an hour, in UTC")
        << untitled
        << QJsonObject{{"summary"_L1, u"Untitled Event"_s},
                       {"start"_L1,
                        QJsonObject{{"dateTime"_L1, u"2025-03-01T14:00:00.000Z"_s}, {"timeZone"_L1, u"UTC"_s}}},
                       {"end"_L1,
                        QJsonObject{{"dateTime"_L1, u"2025-03-01T15:00:00.000Z"_s}, {"timeZone"_L1, u"UTC"_s}}},
                       {"recurrence"_L1, QJsonValue::Null},
                       {"reminders"_L1, QJsonValue::Null}};

    Event weekly = timedEvent(berlin(3, 3, 9));
    weekly.timezone = u"Europe/Berlin"_s;
    weekly.recurrence_rule = u"FREQ=WEEKLY;COUNT=6"_s;
    QTest::newRow("repeating row in a named zone keeps its wall clock and zone")
        << weekly
        << QJsonObject{{"start"_L1,
                        QJsonObject{{"dateTime"_L1, u"2025-03-03T09:00:00"_s}, {"timeZone"_L1, u"Europe/Berlin"_s}}},
                       {"end"_L1,
                        QJsonObject{{"dateTime"_L1, u"2025-03-03T09:30:00"_s}, {"timeZone"_L1, u"Europe/Berlin"_s}}},
                       {"recurrence"_L1, QJsonArray{u"RRULE:FREQ=WEEKLY;COUNT=6"_s}}};

    Event single = timedEvent(berlin(3, 3, 9));
    single.timezone = u"Europe/Berlin"_s;
    QTest::newRow("single row in a named zone keeps its zone too")
        << single
        << QJsonObject{{"start"_L1,
                        QJsonObject{{"dateTime"_L1, u"2025-03-03T09:00:00"_s}, {"timeZone"_L1, u"Europe/Berlin"_s}}}};

    Event reminded = timedEvent(start);
    Reminder popup;
    popup.minutes_before = 10;
    Reminder mail;
    mail.minutes_before = 60;
    mail.action = u"email"_s;
    reminded.reminders = {popup, mail};
    QTest::newRow("display reminder goes as popup, email stays email")
        << reminded
        << QJsonObject{{"reminders"_L1,
                        QJsonObject{{"useDefault"_L1, false},
                                    {"overrides"_L1,
                                     QJsonArray{QJsonObject{{"method"_L1, u"popup"_s}, {"minutes"_L1, 10}},
                                                QJsonObject{{"method"_L1, u"email"_s}, {"minutes"_L1, 60}}}}}}};

    Event allDaySameEnd;
    allDaySameEnd.title = u"Trip"_s;
    allDaySameEnd.is_all_day = true;
    allDaySameEnd.start_time = TimeUtil::utc(QDate(2025, 3, 1));
    allDaySameEnd.end_time = allDaySameEnd.start_time;
    QTest::newRow("all-day row ending where it starts still spans one day")
        << allDaySameEnd
        << QJsonObject{{"start"_L1, QJsonObject{{"date"_L1, u"2025-03-01"_s}}},
                       {"end"_L1, QJsonObject{{"date"_L1, u"2025-03-02"_s}}}};
}

void TestGoogleEventJson::rowBecomesBody()
{
    QFETCH(Event, event);
    QFETCH(QJsonObject, expect);
    const QJsonObject body = CalendarClient::eventToJson(event);
    for (auto it = expect.constBegin(); it != expect.constEnd(); ++it) {
        const QJsonValue actual = body.contains(it.key()) ? body.value(it.key()) : QJsonValue(QJsonValue::Null);
        QCOMPARE(std::make_pair(it.key(), actual), std::make_pair(it.key(), QJsonValue(it.value())));
    }
    for (const QString &key : {u"id"_s, u"attendees"_s, u"organizer"_s, u"sequence"_s, u"iCalUID"_s})
        QVERIFY2(!body.contains(key), qPrintable(key));
}

void TestGoogleEventJson::allDayRoundTripKeepsDates()
{
    const QJsonObject item{{"id"_L1, u"d"_s},
                           {"start"_L1, QJsonObject{{"date"_L1, u"2025-03-30"_s}}},
                           {"end"_L1, QJsonObject{{"date"_L1, u"2025-03-31"_s}}}};
    const QJsonObject body = CalendarClient::eventToJson(CalendarClient::eventFromJson(item, u"c"_s));
    QCOMPARE(body.value("start"_L1).toObject(), item.value("start"_L1).toObject());
    QCOMPARE(body.value("end"_L1).toObject(), item.value("end"_L1).toObject());
}

QTEST_GUILESS_MAIN(TestGoogleEventJson)
#include "tst_googleeventjson.moc"
