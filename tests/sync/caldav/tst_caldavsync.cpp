#include "awaitresponse.h"
#include "caldavclient.h"
#include "caldavhref.h"
#include "caldavxml.h"
#include "icalendar.h"
#include "radicaleserver.h"
#include "syncharness.h"
#include "timeutil.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

const QString kUser = u"alice"_s;
const QString kPassword = u"horse battery"_s;

QDateTime utc(const QString &text)
{
    const QDateTime dt = QDateTime::fromString(text, Qt::ISODate);
    return TimeUtil::utc(dt.date(), dt.time());
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

} // namespace

// A calendar on Radicale (htpasswd) synced into a real store, with Debian's
// python3-caldav editing the same collection between the runs.
class TestCalDavSync : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        if (!RadicaleServer::isAvailable())
            QSKIP("Debian's python3-radicale is not installed");
        QVERIFY2(m_radicale.start(), qPrintable(m_radicale.errorString()));
        m_collection = m_radicale.url(u"/alice/sync/"_s);
        CalDavClient client;
        client.setCredentials(kUser, kPassword);
        QVERIFY(makeCalendar(client, m_collection, u"Sync"_s));
        const QDir seed(QStringLiteral(CALENDAR_TEST_DATA_DIR "/sync"));
        const QStringList files = seed.entryList({u"*.ics"_s}, QDir::Files, QDir::Name);
        for (const QString &name : files) {
            QFile file(seed.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QVERIFY2(putObject(client, m_collection, name.chopped(4), file.readAll()), qPrintable(name));
        }
        QVERIFY(m_fixture.start());
        m_state = m_fixture.state();
        m_calendarId = addCalDavCalendar(m_state, m_collection, kUser).id;
    }

    void pullBringsEverything()
    {
        const SyncOutcome outcome = sync();
        QCOMPARE(outcome.failure, QString());
        QCOMPARE(outcome.count, 6 + 2); // six VEVENTs read, two to-dos written

        const QString series = u"standup-series@peer"_s;
        const auto master = event(series);
        QVERIFY(master);
        QCOMPARE(master->recurrence_rule, u"FREQ=WEEKLY;BYDAY=MO;COUNT=10"_s);
        QCOMPARE(master->timezone, u"Europe/Berlin"_s);
        QCOMPARE(master->start_time, utc(u"2026-03-02T08:00:00"_s));
        QVERIFY2(master->exception_dates.contains(u"20260316T080000Z"_s), qPrintable(master->exception_dates));
        QCOMPARE(master->href, m_collection.path() + u"weekly standup.ics"_s);
        QVERIFY(!master->etag.isEmpty());
        const auto moved = event(series, u"20260309T080000Z"_s);
        const auto afterChange = event(series, u"20260330T070000Z"_s);
        QVERIFY(moved && afterChange);
        QCOMPARE(moved->start_time, utc(u"2026-03-09T09:30:00"_s));
        QCOMPARE(moved->title, u"Standup (moved)"_s);
        QCOMPARE(afterChange->title, u"Standup after the clock change"_s);
        for (const auto &override : {moved, afterChange}) {
            QCOMPARE(override->master_event_uid, series);
            QCOMPARE(override->href, master->href);
            QCOMPARE(override->etag, master->etag);
        }

        const auto call = event(u"ny-call@peer"_s);
        QVERIFY(call);
        QCOMPARE(call->start_time, utc(u"2026-03-08T14:00:00"_s)); // EDT began that night
        QCOMPARE(call->timezone, u"America/New_York"_s);

        const auto holiday = event(u"easter-break@peer"_s);
        QVERIFY(holiday);
        QVERIFY(holiday->is_all_day);
        QCOMPARE(holiday->start_time.date(), QDate(2026, 4, 3));

        const auto review = m_state->events()->getById(event(u"design-review@peer"_s)->id);
        QVERIFY(review);
        QList<int> minutes;
        for (const Reminder &reminder : review->reminders)
            minutes.append(reminder.minutes_before);
        std::sort(minutes.begin(), minutes.end());
        QCOMPARE(minutes, (QList<int>{15, 1440}));
        QStringList emails;
        for (const Attendee &attendee : review->attendees)
            emails.append(attendee.email);
        QCOMPARE(sorted(emails), (QStringList{u"ann@example.org"_s, u"bob@example.org"_s}));
        QCOMPARE(review->organizer_email, u"olga@example.org"_s);

        const auto report = m_state->tasks()->getByUid(u"todo-report@peer"_s, m_calendarId);
        const auto figures = m_state->tasks()->getByUid(u"todo-sub@peer"_s, m_calendarId);
        QVERIFY(report && figures);
        QCOMPARE(report->due_date.value_or(QDateTime()).date(), QDate(2026, 3, 20));
        QCOMPARE(report->priority, 1);
        QCOMPARE(report->href, m_collection.path() + u"todo-report.ics"_s);
        QVERIFY(!report->etag.isEmpty());
        QCOMPARE(figures->parent_task_uid, u"todo-report@peer"_s);
        QCOMPARE(figures->status, u"completed"_s);
        QCOMPARE(rowCount(), 6);
    }

    // The collection's ctag did not move: no listing, no row written.
    void unchangedRunWritesNothing()
    {
        // The first run's writes signal 150 ms after the last of them; let
        // those out before listening. qWait may return before a busy machine
        // ran the event loop past that point; the pass after it cannot.
        QTest::qWait(200);
        QCoreApplication::processEvents();
        QSignalSpy events(m_state->events(), &EventRepository::eventsChanged);
        QSignalSpy tasks(m_state->tasks(), &TaskRepository::tasksChanged);
        QSignalSpy calendars(m_state->calendars(), &CalendarRepository::calendarsChanged);
        const SyncOutcome outcome = sync();
        QCOMPARE(outcome.failure, QString());
        QCOMPARE(outcome.count, 0);
        QTest::qWait(200); // the repositories signal 150 ms after a write
        QCOMPARE(events.size() + tasks.size() + calendars.size(), 0);
    }

    void localChangesReachTheServer()
    {
        EventRepository *events = m_state->events();
        // Create, under a UID that needs encoding as one path segment.
        insertNewEvent(m_state, m_calendarId, u"local created 1"_s, u"Made here"_s, utc(u"2026-03-11T10:00:00"_s),
                       utc(u"2026-03-11T11:00:00"_s));
        // Edit.
        Event review = *events->getById(event(u"design-review@peer"_s)->id);
        review.title = u"Design review, edited here"_s;
        review.sync_status = u"pending"_s;
        QVERIFY(events->update(review));
        // Move.
        Event call = *events->getById(event(u"ny-call@peer"_s)->id);
        call.start_time = call.start_time.addDays(1);
        call.end_time = call.end_time->addDays(1);
        call.raw_icalendar = ICalendar::rewriteEventTimes(call.raw_icalendar, call.start_time, *call.end_time);
        call.sync_status = u"pending"_s;
        QVERIFY(events->update(call));
        // Delete a single event and one override of the series.
        QVERIFY(events->remove(event(u"easter-break@peer"_s)->id));
        QVERIFY(events->remove(event(u"standup-series@peer"_s, u"20260309T080000Z"_s)->id));
        // A new to-do and a finished one.
        Task task;
        task.id = newId();
        task.uid = u"local-task"_s;
        task.calendar_id = m_calendarId;
        task.title = u"Local to-do"_s;
        task.created = task.last_modified = QDateTime::currentDateTimeUtc();
        task.sync_status = u"pending"_s;
        task.raw_icalendar = ICalendar::serializeTask(task);
        QVERIFY(m_state->tasks()->insert(task));
        Task report = *m_state->tasks()->getByUid(u"todo-report@peer"_s, m_calendarId);
        report.status = u"completed"_s;
        report.completed_date = QDateTime::currentDateTimeUtc();
        report.sync_status = u"pending"_s;
        QVERIFY(m_state->tasks()->update(report));

        const SyncOutcome outcome = sync();
        QCOMPARE(outcome.failure, QString());
        QCOMPARE(events->getPending(m_calendarId), QList<Event>());
        QCOMPARE(m_state->tasks()->getPending(m_calendarId), QList<Task>());

        // Seen by a plain GET ...
        const auto stored = event(u"local created 1"_s);
        QVERIFY(stored);
        QCOMPARE(stored->href, m_collection.path() + u"local created 1.ics"_s);
        const auto got = httpGet(CalDavHref::newResourceUrl(m_collection, u"local created 1"_s), kUser, kPassword);
        QCOMPARE(got.first, 200);
        QVERIFY(got.second.contains("SUMMARY:Made here"));
        QCOMPARE(httpGet(m_radicale.url(u"/alice/sync/holiday.ics"_s), kUser, kPassword).first, 404);

        // ... and by the other client.
        const QJsonArray listed = runPeer(m_collection, kUser, kPassword, {peerOp(u"list"_s)}).at(0).toArray();
        QHash<QString, QString> summaries; // uid + recurrence id -> summary
        QHash<QString, QString> starts;
        for (const QJsonValue &value : listed) {
            const QJsonObject item = value.toObject();
            const QString key = item[u"uid"_s].toString() + u'|' + item[u"recurrence_id"_s].toString();
            QVERIFY2(!summaries.contains(key), qPrintable(u"twice on the server: "_s + key));
            summaries.insert(key, item[u"summary"_s].toString());
            starts.insert(key, item[u"start"_s].toString());
        }
        QCOMPARE(summaries.value(u"local created 1|"_s), u"Made here"_s);
        QCOMPARE(summaries.value(u"design-review@peer|"_s), u"Design review, edited here"_s);
        QCOMPARE(starts.value(u"ny-call@peer|"_s).left(8), u"20260309"_s);
        QVERIFY(!summaries.contains(u"easter-break@peer|"_s));
        QVERIFY(!summaries.contains(u"standup-series@peer|20260309T090000"_s));
        QVERIFY(summaries.contains(u"standup-series@peer|20260330T090000"_s)); // the other override stays
        QCOMPARE(summaries.value(u"local-task|"_s), u"Local to-do"_s);
        const QString series = runPeer(m_collection, kUser, kPassword,
                                       {peerOp(u"raw"_s, {{u"uid"_s, u"standup-series@peer"_s}})})
                                   .at(0)
                                   .toString();
        QVERIFY2(series.contains(u"EXDATE"_s) && series.contains(u"20260309T"_s), qPrintable(series));
        // The deleted occurrence stays away here too.
        QVERIFY(event(u"standup-series@peer"_s)->exception_dates.contains(u"20260309T080000Z"_s));
        QCOMPARE(m_state->tasks()->getByUid(u"todo-report@peer"_s, m_calendarId)->status, u"completed"_s);
    }

    void peerChangesReachUs()
    {
        const QByteArray lunch = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Peer//EN\r\nBEGIN:VEVENT\r\n"
                                 "UID:peer-lunch\r\nDTSTAMP:20260301T090000Z\r\nDTSTART:20260312T120000Z\r\n"
                                 "DTEND:20260312T130000Z\r\nSUMMARY:Lunch\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
        runPeer(m_collection, kUser, kPassword,
                {peerOp(u"save"_s, {{u"ics"_s, QString::fromUtf8(lunch)}}),
                 peerOp(u"summary"_s, {{u"uid"_s, u"standup-series@peer"_s}, {u"summary"_s, u"Daily standup"_s}}),
                 peerOp(u"summary"_s,
                        {{u"uid"_s, u"standup-series@peer"_s},
                         {u"recurrence_id"_s, u"20260330T090000"_s},
                         {u"summary"_s, u"Standup, peer edit"_s}}),
                 peerOp(u"delete"_s, {{u"uid"_s, u"design-review@peer"_s}}),
                 peerOp(u"delete"_s, {{u"uid"_s, u"todo-sub@peer"_s}})});

        const SyncOutcome outcome = sync();
        QCOMPARE(outcome.failure, QString());
        QCOMPARE(event(u"peer-lunch"_s).value_or(Event()).title, u"Lunch"_s);
        QCOMPARE(event(u"standup-series@peer"_s)->title, u"Daily standup"_s);
        QCOMPARE(event(u"standup-series@peer"_s, u"20260330T070000Z"_s)->title, u"Standup, peer edit"_s);
        QVERIFY(!event(u"design-review@peer"_s));
        QVERIFY(!m_state->tasks()->getByUid(u"todo-sub@peer"_s, m_calendarId));
        // The override deleted here earlier is still gone, not brought back.
        QVERIFY(!event(u"standup-series@peer"_s, u"20260309T080000Z"_s));
    }

    // Both sides edit in turn; after each run both hold the same objects once.
    void tenAlternatingRounds()
    {
        for (int round = 1; round <= 10; ++round) {
            const QString mine = u"local-round-%1"_s.arg(round);
            const QString theirs = u"peer-round-%1"_s.arg(round);
            // Here: a new event, and a rename of the series.
            const QDateTime start = utc(u"2026-05-01T08:00:00"_s).addDays(round);
            insertNewEvent(m_state, m_calendarId, mine, mine, start, start.addSecs(1800));
            Event series = *m_state->events()->getById(event(u"standup-series@peer"_s)->id);
            series.title = u"Standup, round %1 here"_s.arg(round);
            series.sync_status = u"pending"_s;
            QVERIFY(m_state->events()->update(series));
            QCOMPARE(sync().failure, QString());

            // There: a new event, a rename of the override, and the previous round's event deleted.
            QJsonArray ops{peerOp(u"save"_s,
                                  {{u"ics"_s,
                                    u"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Peer//EN\r\nBEGIN:VEVENT\r\n"
                                    "UID:%1\r\nDTSTAMP:20260301T090000Z\r\nDTSTART:20260601T090000Z\r\n"
                                    "SUMMARY:%1\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"_s.arg(theirs)}}),
                           peerOp(u"summary"_s,
                                  {{u"uid"_s, u"standup-series@peer"_s},
                                   {u"recurrence_id"_s, u"20260330T090000"_s},
                                   {u"summary"_s, u"Override, round %1 there"_s.arg(round)}})};
            if (round > 1)
                ops.append(peerOp(u"delete"_s, {{u"uid"_s, u"local-round-%1"_s.arg(round - 1)}}));
            runPeer(m_collection, kUser, kPassword, ops);
            QCOMPARE(sync().failure, QString());

            QCOMPARE(event(u"standup-series@peer"_s)->title, u"Standup, round %1 here"_s.arg(round));
            QCOMPARE(event(u"standup-series@peer"_s, u"20260330T070000Z"_s)->title,
                     u"Override, round %1 there"_s.arg(round));
            QVERIFY(event(theirs));
            QVERIFY(event(mine));
            if (round > 1)
                QVERIFY(!event(u"local-round-%1"_s.arg(round - 1)));
        }
        // Same objects on both sides, each once.
        QStringList here;
        for (const Event &e : m_state->events()->getByCalendar(m_calendarId))
            here.append(CalDavEventStore_key(e));
        QStringList there;
        const QJsonArray listed = runPeer(m_collection, kUser, kPassword, {peerOp(u"list"_s)}).at(0).toArray();
        for (const QJsonValue &value : listed) {
            const QJsonObject item = value.toObject();
            if (item[u"type"_s].toString() == u"VEVENT"_s)
                there.append(item[u"uid"_s].toString() + u'|' + item[u"summary"_s].toString());
        }
        QCOMPARE(sorted(here), sorted(there));
        QCOMPARE(m_state->events()->getPending(m_calendarId), QList<Event>());
    }

private:
    static QString CalDavEventStore_key(const Event &e)
    {
        return (e.master_event_uid.isEmpty() ? e.uid : e.master_event_uid) + u'|' + e.title;
    }

    SyncOutcome sync() { return syncOnce(m_state, m_calendarId, kUser, kPassword); }

    std::optional<Event> event(const QString &uid, const QString &recurrenceId = {}) const
    {
        return m_state->events()->getByUidAndRecurrenceId(uid, m_calendarId, recurrenceId);
    }

    int rowCount() const { return int(m_state->events()->getByCalendar(m_calendarId).size()); }

    RadicaleServer m_radicale{RadicaleServer::Options{kUser, kPassword, {}, {}}};
    QUrl m_collection;
    AppStateFixture m_fixture;
    AppState *m_state = nullptr;
    QString m_calendarId;
};

QTEST_GUILESS_MAIN(TestCalDavSync)
#include "tst_caldavsync.moc"
