#include "awaitresponse.h"
#include "caldavclient.h"
#include "googlesyncfixture.h"
#include "graphsyncfixture.h"
#include "icsimport.h"
#include "occurrencedeletion.h"
#include "radicaleserver.h"
#include "recurrence.h"
#include "recurringedit.h"
#include "scriptedhttpserver.h"
#include "syncharness.h"
#include "timeutil.h"
#include "webcalharness.h"

#include <QFile>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kUser = u"alice"_s;
const QString kPassword = u"horse battery"_s;
const QTimeZone kBerlin("Europe/Berlin");

// A daily series of ten, 2 to 11 June 2025, without 5 June (EXDATE) and with
// 9 June replaced by "Moved" (RECURRENCE-ID), its keys written in `form`.
QByteArray seriesText(const QString &form)
{
    const bool timed = form == "timed series, date keys"_L1;
    QByteArray exdate = "EXDATE;VALUE=DATE:20250605";
    QByteArray rid = "RECURRENCE-ID;VALUE=DATE:20250609";
    if (form == "UTC midnight"_L1) {
        exdate = "EXDATE:20250605T000000Z";
        rid = "RECURRENCE-ID:20250609T000000Z";
    } else if (form == "floating midnight"_L1) {
        exdate = "EXDATE:20250605T000000";
        rid = "RECURRENCE-ID:20250609T000000";
    }
    const QByteArray start = timed ? "DTSTART;TZID=Europe/Berlin:20250602T013000\r\n"
                                     "DTEND;TZID=Europe/Berlin:20250602T023000\r\n"
                                   : "DTSTART;VALUE=DATE:20250602\r\nDTEND;VALUE=DATE:20250603\r\n";
    const QByteArray moved = timed ? "DTSTART;TZID=Europe/Berlin:20250609T030000\r\n"
                                     "DTEND;TZID=Europe/Berlin:20250609T040000\r\n"
                                   : "DTSTART;VALUE=DATE:20250609\r\nDTEND;VALUE=DATE:20250610\r\n";
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//keys//EN\r\n"
           "BEGIN:VEVENT\r\nUID:keys@test\r\nDTSTAMP:20250501T000000Z\r\nSUMMARY:Series\r\n"
        + start + "RRULE:FREQ=DAILY;COUNT=10\r\n" + exdate
        + "\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:Series\r\nTRIGGER:-PT15M\r\nEND:VALARM\r\n"
          "END:VEVENT\r\n"
          "BEGIN:VEVENT\r\nUID:keys@test\r\nDTSTAMP:20250501T000000Z\r\nSUMMARY:Moved\r\n"
        + rid + "\r\n" + moved + "END:VEVENT\r\nEND:VCALENDAR\r\n";
}

// The day an occurrence is on: an all-day one's date, a timed one's in Berlin.
QString dayOf(const Event &occurrence)
{
    const QDate day = occurrence.is_all_day ? occurrence.start_time.date()
                                            : occurrence.start_time.toTimeZone(kBerlin).date();
    return day.toString(u"MMdd"_s);
}

const QStringList kWeekList{u"0602 Series"_s, u"0603 Series"_s, u"0604 Series"_s, u"0606 Series"_s,
                            u"0607 Series"_s, u"0608 Series"_s, u"0609 Moved"_s,  u"0610 Series"_s,
                            u"0611 Series"_s};
const QStringList kReminded{u"0602"_s, u"0603"_s, u"0604"_s, u"0606"_s,
                            u"0607"_s, u"0608"_s, u"0610"_s, u"0611"_s};

// The same series as Google's events list gives it: EXDATE lines in the
// series' recurrence, the moved occurrence an instance with its original start.
QList<QJsonObject> googleItems(const QString &form)
{
    const bool timed = form == "timed series, date keys"_L1;
    QString exdate = u"EXDATE;VALUE=DATE:20250605"_s;
    if (form == "UTC midnight"_L1)
        exdate = u"EXDATE:20250605T000000Z"_s;
    else if (form == "floating midnight"_L1)
        exdate = u"EXDATE:20250605T000000"_s;
    const auto when = [timed](int day, int hour) {
        const QDate date(2025, 6, day);
        if (!timed)
            return QJsonObject{{"date"_L1, date.toString(Qt::ISODate)}};
        return QJsonObject{{"dateTime"_L1, QDateTime(date, QTime(hour, 30), kBerlin).toString(Qt::ISODate)},
                           {"timeZone"_L1, u"Europe/Berlin"_s}};
    };
    const QJsonObject series{
        {"id"_L1, u"s"_s},
        {"summary"_L1, u"Series"_s},
        {"start"_L1, when(2, 1)},
        {"end"_L1, timed ? when(2, 2) : when(3, 0)},
        {"recurrence"_L1, QJsonArray{u"RRULE:FREQ=DAILY;COUNT=10"_s, exdate}},
        {"reminders"_L1,
         QJsonObject{{"useDefault"_L1, false},
                     {"overrides"_L1, QJsonArray{QJsonObject{{"method"_L1, u"popup"_s}, {"minutes"_L1, 15}}}}}}};
    const QJsonObject moved{{"id"_L1, u"s_20250609"_s},
                            {"summary"_L1, u"Moved"_s},
                            {"recurringEventId"_L1, u"s"_s},
                            {"originalStartTime"_L1, when(9, 1)},
                            {"start"_L1, timed ? when(9, 3) : when(9, 0)},
                            {"end"_L1, timed ? when(9, 4) : when(10, 0)}};
    return {series, moved};
}

const QString kGraphRemote = u"AAMkKeys"_s;

// A start or end of the series as Graph holds it, written in `form` (a zone
// Graph names) or, for "timed series", in Berlin's.
QJsonObject graphTime(const QString &form, int year, int day, int hour)
{
    const bool timed = form == "timed series"_L1;
    return {{"dateTime"_L1,
             QDateTime(QDate(year, 6, day), QTime(timed ? hour : 0, timed ? 30 : 0)).toString(Qt::ISODate)},
            {"timeZone"_L1, timed ? u"W. Europe Standard Time"_s : form}};
}

QJsonObject graphSeries(const QString &form, int year)
{
    const bool timed = form == "timed series"_L1;
    const QJsonObject pattern{{"type"_L1, u"daily"_s}, {"interval"_L1, 1}};
    const QJsonObject range{{"type"_L1, u"numbered"_s},
                            {"numberOfOccurrences"_L1, 10},
                            {"startDate"_L1, QDate(year, 6, 2).toString(Qt::ISODate)},
                            {"recurrenceTimeZone"_L1, graphTime(form, year, 2, 1)["timeZone"_L1]}};
    return {{"id"_L1, u"s"_s},
            {"subject"_L1, u"Series"_s},
            {"isAllDay"_L1, !timed},
            {"start"_L1, graphTime(form, year, 2, 1)},
            {"end"_L1, graphTime(form, year, timed ? 2 : 3, 2)},
            {"isReminderOn"_L1, true},
            {"reminderMinutesBeforeStart"_L1, 15},
            {"recurrence"_L1, QJsonObject{{"pattern"_L1, pattern}, {"range"_L1, range}}}};
}

} // namespace

// One all-day (or timed) series with an excluded and a moved occurrence,
// through every source that brings series in, with its keys in every form
// producers write: what the week list shows, which occurrences remind, and
// what goes back to a CalDAV server or to Graph.
class TestAllDayKeys : public QObject, protected GraphSyncFixture
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_google.startServer(), qPrintable(m_google.serverError()));
        QVERIFY2(startAll(), qPrintable(m_fake.errorString()));
        if (RadicaleServer::isAvailable()) {
            QVERIFY2(m_radicale.start(), qPrintable(m_radicale.errorString()));
            m_client.setCredentials(kUser, kPassword);
        }
    }

    void oneOccurrencePerDay_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("form");
        QTest::addColumn<QStringList>("pushed"); // lines a CalDAV push writes, Graph's writes by day
        const QStringList allDay{u"RECURRENCE-ID;VALUE=DATE:20250609"_s, u"EXDATE;VALUE=DATE:20250605"_s};
        const QStringList timed{u"RECURRENCE-ID;TZID=Europe/Berlin:20250609T013000"_s, u"EXDATE:20250604T233000Z"_s};
        // Google last: its fixture makes an application state of its own.
        for (const char *source : {"import", "webcal", "CalDAV", "made here", "Graph", "Google"}) {
            if (qstrcmp(source, "made here") == 0) {
                QTest::newRow("made here, all-day") << u"made here"_s << u"date"_s << allDay;
                QTest::newRow("made here, timed") << u"made here"_s << u"timed"_s << timed;
                continue;
            }
            if (qstrcmp(source, "Graph") == 0) {
                // Graph keys an instance by its original start, a UTC instant
                // (an all-day one's at midnight where its series was written:
                // Hawaii's and Tonga's fall at 10:00 and 11:00), and cancels
                // one by leaving it out of its view. The moved all-day
                // occurrence moves a day later, to 10 June.
                for (const char *form : {"UTC", "Tokyo Standard Time", "Pacific Standard Time",
                                         "Hawaiian Standard Time", "Tonga Standard Time", "timed series"}) {
                    const QString day = qstrcmp(form, "timed series") == 0 ? u"0609"_s : u"0610"_s;
                    QTest::addRow("Graph, %s", form)
                        << u"Graph"_s << QString::fromLatin1(form)
                        << QStringList{u"DELETE 0610"_s, u"DELETE 0610"_s, u"DELETE 0611"_s,
                                       u"PATCH "_s + day + u" {\"subject\":\"Moved again\"}"_s};
                }
                continue;
            }
            for (const char *form : {"date", "UTC midnight", "floating midnight", "timed series, date keys"}) {
                const bool isTimed = qstrcmp(form, "timed series, date keys") == 0;
                QTest::addRow("%s, %s", source, form) << QString::fromLatin1(source) << QString::fromLatin1(form)
                                                      << (qstrcmp(source, "Google") == 0 ? QStringList()
                                                          : isTimed                       ? timed
                                                                                          : allDay);
            }
        }
    }

    void oneOccurrencePerDay()
    {
        QFETCH(QString, source);
        QFETCH(QString, form);
        const bool caldav = source == "CalDAV"_L1 || source == "made here"_L1;
        if (caldav && !RadicaleServer::isAvailable())
            QSKIP("Debian's python3-radicale is not installed");

        m_state = m_fixture.state();
        // Graph's calendar view covers the months around today.
        m_year = source == "Graph"_L1 ? QDate::currentDate().year() + 1 : 2025;
        QUrl collection;
        QString calendarId;
        if (caldav) {
            collection = m_radicale.url(u"/alice/keys-%1/"_s.arg(++m_collections));
            QVERIFY(makeCalendar(m_client, collection, u"Keys"_s));
            calendarId = addCalDavCalendar(m_state, collection, kUser).id;
        }
        if (source == "import"_L1) {
            calendarId = u"import-%1"_s.arg(++m_collections);
            QVERIFY(m_state->calendars()->insert(AppStateFixture::localCalendar(calendarId, u"Import"_s)));
            QTemporaryDir dir;
            QFile file(dir.filePath(u"keys.ics"_s));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(seriesText(form)) > 0);
            file.close();
            const IcsImport::Result result =
                IcsImport::importFile(m_state->events(), m_state->database(), file.fileName(), calendarId);
            QCOMPARE(result.added, 2);
        } else if (source == "webcal"_L1) {
            ScriptedHttpServer server;
            QVERIFY(server.start());
            server.expect("GET", "/feed.ics").reply(200, seriesText(form), {{"Content-Type", "text/calendar"}});
            calendarId = addSubscription(m_state, server.url(u"/feed.ics"_s).toString()).id;
            QCOMPARE(refreshOnce(m_state, calendarId).failure, QString());
        } else if (source == "Google"_L1) {
            // One application state at a time: both would take the same
            // default database connection.
            m_fixture.stop();
            m_google.reset();
            m_state = m_google.state();
            calendarId = GoogleSyncFixture::kWork;
            m_google.fake().changeEvents(GoogleSyncFixture::kWorkRemote, googleItems(form));
            QCOMPARE(m_google.sync().completed, QStringList{calendarId});
        } else if (source == "Graph"_L1) {
            QVERIFY(freshCalendar(kGraphRemote, u"Keys"_s));
            calendarId = m_calendarId;
            m_fake.changeEvents(kGraphRemote, {graphSeries(form, m_year)});
            // Another device moves the occurrence of 9 June and cancels that of 5 June.
            const QJsonArray listed = graphInstances();
            QCOMPARE(listed.size(), 10);
            const bool timed = form == "timed series"_L1;
            const QJsonObject moved{{"subject"_L1, u"Moved"_s},
                                    {"start"_L1, graphTime(form, m_year, timed ? 9 : 10, 3)},
                                    {"end"_L1, graphTime(form, m_year, timed ? 9 : 11, 4)}};
            const QString token = m_fake.grantAccessToken();
            QCOMPARE(m_fake.api("PATCH", graphPath(listed[7]["id"_L1].toString()), token, moved).status, 200);
            QCOMPARE(m_fake.api("DELETE", graphPath(listed[3]["id"_L1].toString()), token).status, 204);
            QCOMPARE(graphSync().failure, QString());
        } else if (source == "CalDAV"_L1) {
            QVERIFY(putObject(m_client, collection, u"keys"_s, seriesText(form)));
            QCOMPARE(syncOnce(m_state, calendarId, kUser, kPassword).failure, QString());
        } else {
            makeHere(calendarId, form == "date"_L1);
        }

        const QString movedTo = source == "Graph"_L1 && form != "timed series"_L1 ? u"0610"_s : u"0609"_s;
        QStringList shown = kWeekList;
        shown.replaceInStrings(u"0609 Moved"_s, movedTo + u" Moved"_s).sort();
        QCOMPARE(weekList(calendarId), shown);
        QCOMPARE(reminded(calendarId), kReminded);
        QFETCH(QStringList, pushed);
        if (source == "Graph"_L1) {
            pushToGraph(calendarId, pushed, movedTo);
            return;
        }
        if (!caldav)
            return;
        // Renamed here, the moved occurrence goes back with its keys.
        Event moved = stored(calendarId, true);
        moved.title = u"Moved again"_s;
        moved.sync_status = SyncStatus::Pending;
        QVERIFY(m_state->events()->update(moved));
        QCOMPARE(syncOnce(m_state, calendarId, kUser, kPassword).failure, QString());
        const QString href = m_state->events()->getById(moved.id)->href;
        const auto [status, body] = httpGet(m_radicale.url(href), kUser, kPassword);
        QCOMPARE(status, 200);
        const QStringList lines = QString::fromUtf8(body).split(u"\r\n"_s);
        for (const QString &line : pushed)
            QVERIFY2(lines.contains(line), qPrintable(line + u" not in\n"_s + QString::fromUtf8(body)));
        QCOMPARE(lines.filter(u"RECURRENCE-ID"_s).size(), 1);
        QCOMPARE(ICalendar::parseEvents(QString::fromUtf8(body)).size(), 2);
    }

private:
    // The series made in the form and pushed, then its occurrence of 5 June
    // deleted and that of 9 June renamed as a user does.
    void makeHere(const QString &calendarId, bool allDay)
    {
        const QDateTime start = allDay ? TimeUtil::utc(QDate(2025, 6, 2)) : QDateTime(QDate(2025, 6, 2), QTime(1, 30), kBerlin);
        Event series = insertNewEvent(m_state, calendarId, u"keys@here"_s, u"Series"_s, start,
                                      start.addSecs(allDay ? 86400 : 3600));
        series.is_all_day = allDay;
        series.timezone = allDay ? u"UTC"_s : u"Europe/Berlin"_s;
        series.recurrence_rule = u"FREQ=DAILY;COUNT=10"_s;
        Reminder reminder;
        reminder.minutes_before = 15;
        series.reminders = {reminder};
        series.raw_icalendar = ICalendar::serializeEvent(series);
        QVERIFY(m_state->events()->update(series));
        QCOMPARE(syncOnce(m_state, calendarId, kUser, kPassword).failure, QString());
        series = *m_state->events()->getById(series.id);
        QVERIFY(OccurrenceDeletion::remove(m_state->events(), occurrenceOn(series, 5), RecurringEditScope::ThisEvent));
        series = *m_state->events()->getById(series.id);
        Event edited = occurrenceOn(series, 9);
        edited.title = u"Moved"_s;
        QVERIFY(editOccurrence(m_state->events(), series, edited.start_time, edited, RecurringEditScope::ThisEvent));
        QCOMPARE(syncOnce(m_state, calendarId, kUser, kPassword).failure, QString());
    }

    // Renamed here, the moved occurrence goes by its own id with its title
    // alone; two occurrences deleted here go as deletes of theirs, the
    // second one's instance not yet known here (as one beyond the window a
    // round lists); a run that could not send one fails, and they stay gone
    // on both sides.
    void pushToGraph(const QString &calendarId, const QStringList &pushed, const QString &movedTo)
    {
        const QJsonArray listed = graphInstances();
        Event moved = stored(calendarId, true);
        moved.title = u"Moved again"_s;
        moved.sync_status = SyncStatus::Pending;
        QVERIFY(m_state->events()->update(moved));
        Event series = stored(calendarId, false);
        QJsonObject raw = QJsonDocument::fromJson(series.raw_icalendar.toUtf8()).object();
        QJsonObject known = raw["@instances"_L1].toObject();
        QVERIFY(known.contains(listed.last()["id"_L1].toString()));
        known.remove(listed.last()["id"_L1].toString());
        raw["@instances"_L1] = known;
        series.raw_icalendar = QString::fromUtf8(QJsonDocument(raw).toJson(QJsonDocument::Compact));
        QVERIFY(m_state->events()->update(series));
        for (const int day : {10, 11}) {
            series = *m_state->events()->getById(series.id);
            QVERIFY(OccurrenceDeletion::remove(m_state->events(), occurrenceOn(series, day),
                                               RecurringEditScope::ThisEvent));
        }
        m_fake.control(u"clear-log"_s);
        // The first delete meets a server error: that run fails, the next one sends it again.
        m_fake.control(u"fail"_s, {{"method"_L1, u"DELETE"_s}, {"path"_L1, listed[7]["id"_L1]}, {"status"_L1, 503}});
        QVERIFY(!graphSync().completed);
        QCOMPARE(graphSync().failure, QString());
        QStringList sent;
        for (const QJsonObject &request : m_fake.requests()) {
            for (const QJsonValue &item : listed) {
                if (request["method"_L1] != "GET"_L1 && request["path"_L1] == graphPath(item["id"_L1].toString()))
                    sent << (request["method"_L1].toString() + u' '
                             + dayOf(Microsoft::CalendarClient::eventFromJson(item.toObject(), calendarId)) + u' '
                             + request["body"_L1].toString())
                                .trimmed();
            }
        }
        sent.sort();
        QCOMPARE(sent, pushed);

        QCOMPARE(graphSync().failure, QString());
        QStringList shown = kWeekList.mid(0, 6) << movedTo + u" Moved again"_s;
        QCOMPARE(weekList(calendarId), shown);
        QCOMPARE(graphInstances().size(), 7);
        QVERIFY(m_state->events()->getPending(calendarId).isEmpty());
    }

    QString graphPath(const QString &id) const { return u"/v1.0/me/calendars/%1/events/%2"_s.arg(kGraphRemote, id); }

    // The series' instances in Graph's calendar view of 1 to 14 June.
    QJsonArray graphInstances()
    {
        const QString query = u"/instances?startDateTime=%1-06-01T00:00:00Z&endDateTime=%1-06-14T00:00:00Z"_s.arg(
            m_year);
        return m_fake.api("GET", graphPath(u"s"_s) + query, m_fake.grantAccessToken()).body["value"_L1].toArray();
    }

    Event occurrenceOn(const Event &series, int day) const
    {
        for (const Event &occurrence : Recurrence::expandEvent(series, from(), to())) {
            if (dayOf(occurrence) == QDate(m_year, 6, day).toString(u"MMdd"_s))
                return occurrence;
        }
        return Event();
    }

    QDateTime from() const { return QDateTime(QDate(m_year, 6, 1), QTime(0, 0)); }
    QDateTime to() const { return QDateTime(QDate(m_year, 6, 14), QTime(0, 0)); }

    // What the week list reads: the range's rows, expanded.
    QStringList weekList(const QString &calendarId) const
    {
        QStringList shown;
        const QList<Event> rows = m_state->events()->getInRange(from(), to(), {calendarId});
        for (const Event &occurrence : Recurrence::expandEvents(rows, from(), to()))
            shown.append(dayOf(occurrence) + u' ' + occurrence.title);
        shown.sort();
        return shown;
    }

    // The days the series' own reminders fire on: its occurrences that no
    // override replaces, as the reminder service expands them.
    QStringList reminded(const QString &calendarId) const
    {
        QList<Event> rows;
        for (const Event &row : m_state->events()->getRemindingSeriesInRange(from(), to())) {
            if (row.calendar_id == calendarId)
                rows.append(row);
        }
        QStringList days;
        Recurrence::forEachOccurrence(rows, from(), to(), [&](const Occurrence &occurrence) {
            if (occurrence.isGenerated() && !occurrence.event().reminders.isEmpty())
                days.append(dayOf(occurrence.toEvent()));
        });
        days.sort();
        return days;
    }

    // The calendar's override row, or its series'.
    Event stored(const QString &calendarId, bool override) const
    {
        for (const Event &row : m_state->events()->getByCalendar(calendarId)) {
            if (row.isOverride() == override)
                return *m_state->events()->getById(row.id);
        }
        return Event();
    }

    GoogleSyncFixture m_google;
    RadicaleServer m_radicale{RadicaleServer::Options{kUser, kPassword, {}, {}}};
    CalDavClient m_client;
    int m_collections = 0;
    int m_year = 2025;
};

QTEST_GUILESS_MAIN(TestAllDayKeys)
#include "tst_alldaykeys.moc"
