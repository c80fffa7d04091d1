#include "eventrepository.h"
#include "filterengine.h"
#include "icalendar.h"
#include "recurrence.h"
#include "reminderrepository.h"
#include "storefixture.h"
#include "storesql.h"
#include "storetransaction.h"
#include "systemzone.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimeZone>

using namespace Qt::StringLiterals;

namespace {

const QString kCal = QStringLiteral("cal");

Reminder reminder(int minutes)
{
    Reminder r;
    r.minutes_before = minutes;
    return r;
}

Attendee attendee(const QString &email, const QString &name)
{
    Attendee a;
    a.email = email;
    a.name = name;
    return a;
}

QStringList idsOf(const QList<Event> &events)
{
    QStringList ids;
    for (const Event &e : events)
        ids.append(e.id);
    return ids;
}

// A weekly series from the 3rd of the month in 2024, 9:00 to 10:00.
Event weeklyMaster(const QString &id, int month)
{
    Event master = makeEvent(id, kCal, localTime(2024, month, 3, 9), localTime(2024, month, 3, 10));
    master.recurrence_rule = QStringLiteral("FREQ=WEEKLY");
    return master;
}

// A zoned one-off with every field a view reads, an all-day one in "other",
// an all-day series, a weekly series with an exception and a moved
// occurrence of it, in kCal: what the view-row tests read in May 2024.
QList<Event> viewRowsSeed()
{
    Event zoned = makeEvent(QStringLiteral("zoned"), kCal, localTime(2024, 5, 2, 9), localTime(2024, 5, 2, 10));
    zoned.start_time = zoned.start_time.toTimeZone(QTimeZone("America/New_York"));
    zoned.end_time = zoned.end_time->toTimeZone(QTimeZone("America/New_York"));
    zoned.timezone = QStringLiteral("America/New_York");
    zoned.description = QStringLiteral("Agenda");
    zoned.location = QStringLiteral("Room 7");
    zoned.provider_event_id = QStringLiteral("p-1");
    zoned.color = QStringLiteral("#ff0000");
    zoned.status = QStringLiteral("tentative");
    zoned.reminders = {reminder(10)};
    zoned.attendees = {attendee(QStringLiteral("a@example.org"), QStringLiteral("A"))};
    Event allDay = makeEvent(QStringLiteral("all-day"), QStringLiteral("other"),
                             QDateTime(QDate(2024, 5, 3), QTime(0, 0), Qt::UTC),
                             QDateTime(QDate(2024, 5, 6), QTime(0, 0), Qt::UTC));
    allDay.is_all_day = true;
    Event allDaySeries = makeEvent(QStringLiteral("all-day-series"), kCal,
                                   QDateTime(QDate(2024, 5, 1), QTime(0, 0), Qt::UTC),
                                   QDateTime(QDate(2024, 5, 2), QTime(0, 0), Qt::UTC));
    allDaySeries.is_all_day = true;
    allDaySeries.recurrence_rule = QStringLiteral("FREQ=WEEKLY");
    Event series = weeklyMaster(QStringLiteral("series"), 1);
    series.exception_dates = QStringLiteral("[\"2024-05-08T09:00:00\"]");
    series.reminders = {reminder(5)};
    Event moved = makeEvent(QStringLiteral("moved"), kCal, localTime(2024, 5, 9, 11), localTime(2024, 5, 9, 12));
    moved.uid = moved.master_event_uid = series.uid;
    moved.recurrence_id = QStringLiteral("20240515T090000");
    return {zoned, allDay, allDaySeries, series, moved};
}

// The first event of the first week of May: title and reminder count, or "-".
QString firstInMay(const EventRepository &events)
{
    const QList<Event> found = events.getInRange(localTime(2024, 5, 1), localTime(2024, 5, 8));
    return found.isEmpty() ? QStringLiteral("-")
                           : found.first().title + QLatin1Char('/') + QString::number(found.first().reminders.size());
}

// The starts (UTC) of the occurrences the window's rows expand to.
QStringList startsIn(const EventRepository &events, const QDateTime &from, const QDateTime &to)
{
    QStringList starts;
    for (const Event &occurrence : Recurrence::expandEvents(events.getInRange(from, to), from, to))
        starts.append(occurrence.start_time.toUTC().toString(Qt::ISODate));
    return starts;
}

// What a view draws, filters on and expands of an event, one text a field.
QStringList viewFieldsOf(const Event &e)
{
    return {e.id,
            e.calendar_id,
            e.uid,
            e.provider_event_id,
            e.title,
            e.description,
            e.location,
            e.start_time.toString(Qt::ISODateWithMs) + e.start_time.timeZoneAbbreviation(),
            e.end_time ? e.end_time->toString(Qt::ISODateWithMs) + e.end_time->timeZoneAbbreviation() : QString(),
            QString::number(e.is_all_day),
            e.timezone,
            e.recurrence_rule,
            e.recurrence_dates,
            e.exception_dates,
            e.recurrence_id,
            e.master_event_uid,
            e.status,
            e.color};
}

// What became of each event row, one line each by UID: the id (or "new"
// for one the store named), UID, title, provider id, whether created is the
// seed's, sync state, whether live, the reminders' leads and the attendees.
QStringList storedSummary(StoreFixture &store)
{
    QSqlQuery q(store.sql());
    q.exec(QStringLiteral(
        "SELECT CASE WHEN length(id) < 36 THEN id ELSE 'new' END, uid, title, COALESCE(provider_event_id, ''), "
        "created = '2024-01-01T00:00:00Z', sync_status, deleted_at IS NULL, (SELECT COALESCE(group_concat("
        "minutes_before), '') FROM (SELECT minutes_before FROM reminders WHERE event_id = e.id ORDER BY 1)), "
        "(SELECT COUNT(*) FROM attendees WHERE event_id = e.id) FROM events e ORDER BY uid, recurrence_id"));
    QStringList rows;
    while (q.next()) {
        QStringList columns;
        for (int i = 0; i < 9; ++i)
            columns.append(q.value(i).toString());
        rows.append(columns.join(QLatin1Char('|')));
    }
    return rows;
}

} // namespace

class TestEvents : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // --- Rows and their conversions ---

    void eventRoundTripsWithChildren()
    {
        StoreFixture store;
        seedCalendars(store, {kCal});
        EventRepository events(store.db());
        Event e = makeEvent(QStringLiteral("e1"), kCal, localTime(2024, 5, 1, 10), localTime(2024, 5, 1, 11));
        e.description = QStringLiteral("");
        e.location = QStringLiteral("Room 4");
        e.recurrence_rule = QStringLiteral("FREQ=WEEKLY;BYDAY=MO");
        e.exception_dates = QStringLiteral("[\"20240506T100000\"]");
        e.organizer_email = QStringLiteral("boss@example.org");
        e.sequence = 3;
        e.deleted_at = std::nullopt;
        Reminder late = reminder(30);
        late.id = QStringLiteral("r30");
        e.reminders = {late, reminder(5)};
        Attendee b = attendee(QStringLiteral("b@example.org"), QStringLiteral("Bea"));
        b.id = QStringLiteral("att-b");
        b.rsvp = true;
        e.attendees = {b, attendee(QStringLiteral("a@example.org"), QStringLiteral("Al"))};
        QVERIFY(events.insert(e));

        const std::optional<Event> back = events.getById(e.id);
        QVERIFY(back);
        Event expected = e;
        expected.reminders.clear();
        expected.attendees.clear();
        // A local wall clock is kept as its instant in the system zone, which
        // the row names.
        expected.timezone = QString::fromUtf8(QTimeZone::systemTimeZoneId());
        Event withoutChildren = *back;
        withoutChildren.reminders.clear();
        withoutChildren.attendees.clear();
        QCOMPARE(withoutChildren, expected);

        // Children: reminders by minutes, attendees by name; defaults filled in,
        // missing ids made up, triggers at start minus minutes.
        QCOMPARE(back->reminders.size(), 2);
        QCOMPARE(back->reminders[0].minutes_before, 5);
        QCOMPARE(back->reminders[0].action, QStringLiteral("display"));
        QVERIFY(!QUuid::fromString(back->reminders[0].id).isNull());
        QVERIFY(!back->reminders[0].id.startsWith(QLatin1Char('{')));
        QCOMPARE(back->reminders[0].trigger_time, std::optional<QDateTime>(localTime(2024, 5, 1, 9, 55)));
        QCOMPARE(back->reminders[1].id, QStringLiteral("r30"));
        QCOMPARE(back->reminders[1].event_id, e.id);
        QCOMPARE(back->attendees.size(), 2);
        QCOMPARE(back->attendees[0].name, QStringLiteral("Al"));
        QCOMPARE(back->attendees[0].role, QStringLiteral("required"));
        QCOMPARE(back->attendees[0].status, QStringLiteral("needs-action"));
        QCOMPARE(back->attendees[1].id, QStringLiteral("att-b"));
        QVERIFY(back->attendees[1].rsvp);

        // A local time is stored with its wall clock and the offset (or "Z")
        // it has in the system zone, a null text as NULL.
        const QStringList stored =
            store.cli(QStringLiteral("SELECT start_time, quote(description), quote(href) FROM events")).split(u'|');
        QVERIFY2(stored.first().startsWith(QLatin1String("2024-05-01T10:00:00")) && stored.first().size() > 19,
                 qPrintable(stored.first()));
        QCOMPARE(stored.mid(1), (QStringList{QStringLiteral("''"), QStringLiteral("NULL")}));
    }

    // A record read back and written again keeps NULL apart from ''.
    void nullAndEmptyTextSurviveAReadAndAnUpdate()
    {
        StoreFixture store;
        seedCalendars(store, {kCal});
        EventRepository events(store.db());
        Event e = makeEvent(QStringLiteral("e1"), kCal, localTime(2024, 5, 1, 10), localTime(2024, 5, 1, 11));
        e.description = QStringLiteral("");
        e.location = QString();
        e.color = QStringLiteral("");
        QVERIFY(events.insert(e));
        const QList<Event> found = events.getInRange(localTime(2024, 5, 1), localTime(2024, 5, 2));
        QCOMPARE(found.size(), 1);
        QVERIFY(!found[0].description.isNull());
        QVERIFY(found[0].location.isNull());
        QVERIFY(events.update(found[0]));
        QCOMPARE(store.cli(QStringLiteral(
                     "SELECT quote(description), quote(location), quote(color), quote(href) FROM events")),
                 QStringLiteral("''|NULL|''|NULL"));
    }

    void timeZoneStep_data()
    {
        QTest::addColumn<QString>("zone");
        QTest::addColumn<QTime>("wallClock");
        QTest::addColumn<Qt::TimeSpec>("spec");
        QTest::newRow("a known zone shows the same instant there")
            << QStringLiteral("Europe/Berlin") << QTime(10, 0) << Qt::TimeZone;
        QTest::newRow("UTC keeps the text's own form") << QStringLiteral("UTC") << QTime(8, 0) << Qt::UTC;
        QTest::newRow("empty keeps the text's own form") << QStringLiteral("") << QTime(8, 0) << Qt::UTC;
        QTest::newRow("an unknown zone keeps the text's own form")
            << QStringLiteral("Custom Zone 1") << QTime(8, 0) << Qt::UTC;
    }
    void timeZoneStep()
    {
        QFETCH(QString, zone);
        QFETCH(QTime, wallClock);
        QFETCH(Qt::TimeSpec, spec);
        StoreFixture store;
        seedCalendars(store, {kCal});
        store.exec(
            QStringLiteral(
                "INSERT INTO events (id, calendar_id, uid, title, start_time, end_time, timezone, raw_icalendar) "
                "VALUES ('e', 'cal', 'u', 't', '2024-07-01T08:00:00Z', '2024-07-01T09:00:00Z', '%1', 'x')")
                .arg(zone));
        EventRepository events(store.db());
        const Event e = *events.getById(QStringLiteral("e"));
        QCOMPARE(e.start_time, utcTime(2024, 7, 1, 8));
        QCOMPARE(e.start_time.time(), wallClock);
        QCOMPARE(e.start_time.timeSpec(), spec);
        QCOMPARE(e.end_time->time(), wallClock.addSecs(3600));

        // Written back in the zone's own offset.
        QVERIFY(events.update(e));
        const QString expected = spec == Qt::TimeZone ? QStringLiteral("2024-07-01T10:00:00+02:00")
                                                      : QStringLiteral("2024-07-01T08:00:00Z");
        QCOMPARE(store.cli(QStringLiteral("SELECT start_time FROM events")), expected);
    }

    void syncStatusDefaultsAndStamps()
    {
        StoreFixture store;
        seedCalendars(store, {kCal});
        EventRepository events(store.db());
        Event e = makeEvent(QStringLiteral("e"), kCal, utcTime(2024, 5, 1, 10), std::nullopt);
        e.sync_status = QStringLiteral("");
        QVERIFY(events.insert(e));
        QCOMPARE(events.getById(e.id)->sync_status, QStringLiteral("synced"));
        e.last_modified = utcTime(2001, 1, 1);
        e.created = utcTime(2030, 1, 1);
        QVERIFY(events.update(e));
        const Event back = *events.getById(e.id);
        QCOMPARE(back.sync_status, QStringLiteral("pending"));
        QCOMPARE(back.created, utcTime(2024, 1, 1));
        QVERIFY(qAbs(back.last_modified.secsTo(QDateTime::currentDateTimeUtc())) < 60);
    }

    // --- Lookups and tombstones ---

    void tombstonesAreFoundOnlyByTheSyncLookups()
    {
        StoreFixture store;
        seedCalendars(store, {kCal});
        EventRepository events(store.db());
        Event e = makeEvent(QStringLiteral("gone"), kCal, localTime(2024, 5, 1, 10), localTime(2024, 5, 1, 11));
        e.title = QStringLiteral("Findable");
        e.reminders = {reminder(10)};
        QVERIFY(events.insert(e));
        QVERIFY(events.remove(e.id));

        const Event tomb = *events.getById(e.id);
        QVERIFY(tomb.deleted_at);
        QCOMPARE(tomb.sync_status, QStringLiteral("pending"));
        QCOMPARE(tomb.last_modified, *tomb.deleted_at);
        QCOMPARE(tomb.reminders.size(), 1); // the children stay with the tombstone
        QVERIFY(events.getByUid(e.uid, kCal));
        QVERIFY(events.getByUidAndRecurrenceId(e.uid, kCal, QString()));
        QCOMPARE(idsOf(events.getPending(kCal)), QStringList{e.id});

        QVERIFY(events.getByCalendar(kCal).isEmpty());
        QVERIFY(events.getInRange(localTime(2024, 5, 1), localTime(2024, 5, 2)).isEmpty());
        QVERIFY(events.search(QStringLiteral("Findable"), 10).isEmpty());
    }

    void masterFoundByNullOrEmptyRecurrenceId()
    {
        StoreFixture store;
        seedCalendars(store, {kCal});
        EventRepository events(store.db());
        Event master = makeEvent(QStringLiteral("m"), kCal, utcTime(2024, 1, 1, 9), utcTime(2024, 1, 1, 10));
        master.uid = QStringLiteral("series");
        Event moved = makeEvent(QStringLiteral("o"), kCal, utcTime(2024, 1, 9, 9), utcTime(2024, 1, 9, 10));
        moved.uid = moved.master_event_uid = QStringLiteral("series");
        moved.recurrence_id = QStringLiteral("20240108T090000Z");
        // The override stored first, as a file or a server may list it.
        QVERIFY(events.insert(moved));
        QVERIFY(events.insert(master));
        QCOMPARE(events.getByUidAndRecurrenceId(QStringLiteral("series"), kCal, QString())->id, QStringLiteral("m"));
        QCOMPARE(events.getByUidAndRecurrenceId(QStringLiteral("series"), kCal, QStringLiteral(""))->id,
                 QStringLiteral("m"));
        QCOMPARE(events.getByUidAndRecurrenceId(QStringLiteral("series"), kCal, moved.recurrence_id)->id,
                 QStringLiteral("o"));
        QVERIFY(!events.getByUidAndRecurrenceId(QStringLiteral("series"), QStringLiteral("other"), QString()));
        // Callers look for the series by its UID.
        QCOMPARE(events.getByUid(QStringLiteral("series"), kCal)->id, QStringLiteral("m"));
        QVERIFY(events.getByUid(QStringLiteral("series"), kCal)->reminders.isEmpty());

        // A second master with the same key is refused by the unique index.
        Event duplicate = master;
        duplicate.id = QStringLiteral("m2");
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression(QStringLiteral("^EventRepository::insert failed: .*UNIQUE")));
        QVERIFY(!events.insert(duplicate));
    }

    // --- Range queries ---

    // The range is 1 May, local midnight to local midnight. Rows are stored in
    // the representation their date-time carries: no suffix for local time, Z
    // for UTC, an offset otherwise; all-day rows as the reader makes them (UTC
    // midnight) or as the editor does (local midnight).
    void rangeMembership_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QDateTime>("end"); // invalid: none
        QTest::addColumn<bool>("allDay");
        QTest::addColumn<QString>("rule");
        QTest::addColumn<bool>("returned");

        const auto local = [](int d, int h, int m = 0) { return localTime(2024, 5, d, h, m); };
        QTest::newRow("timed: starts the evening before, ends inside")
            << localTime(2024, 4, 30, 23) << local(1, 1) << false << QString() << true;
        QTest::newRow("timed: no end, starts inside") << local(1, 10) << QDateTime() << false << QString() << true;
        QTest::newRow("timed: no end, started a year before")
            << localTime(2023, 5, 1, 10) << QDateTime() << false << QString() << true;
        QTest::newRow("timed: ends exactly at the start")
            << localTime(2024, 4, 30, 23) << local(1, 0) << false << QString() << false;
        QTest::newRow("timed: starts exactly at the end") << local(2, 0) << local(2, 1) << false << QString() << false;
        QTest::newRow("timed: 23 hours, ending inside")
            << localTime(2024, 4, 30, 3) << local(1, 2) << false << QString() << true;
        QTest::newRow("timed: 30 hours, ending inside")
            << localTime(2024, 4, 29, 20) << local(1, 2) << false << QString() << true;
        QTest::newRow("timed: a three-week trip across the range")
            << localTime(2024, 4, 20, 8) << local(10, 18) << false << QString() << true;
        QTest::newRow("timed: two days, ended the evening before")
            << localTime(2024, 4, 28, 8) << localTime(2024, 4, 30, 20) << false << QString() << false;
        QTest::newRow("all-day: six weeks across the range")
            << utcTime(2024, 4, 10) << utcTime(2024, 5, 20) << true << QString() << true;
        QTest::newRow("repeating master from January")
            << localTime(2024, 1, 8, 9) << localTime(2024, 1, 8, 10) << false << QStringLiteral("FREQ=WEEKLY") << true;
        QTest::newRow("repeating master starting after the range")
            << local(3, 9) << local(3, 10) << false << QStringLiteral("FREQ=DAILY") << false;

        QTest::newRow("UTC text: just after local midnight")
            << local(1, 0, 30).toUTC() << local(1, 1).toUTC() << false << QString() << true;
        QTest::newRow("UTC text: just before local midnight")
            << localTime(2024, 4, 30, 23).toUTC() << localTime(2024, 4, 30, 23, 30).toUTC() << false << QString()
            << false;
        QTest::newRow("UTC text: late on the day")
            << local(1, 23).toUTC() << local(1, 23, 59).toUTC() << false << QString() << true;
        QTest::newRow("UTC text: just after the range")
            << local(2, 0, 1).toUTC() << local(2, 1).toUTC() << false << QString() << false;
        QTest::newRow("offset +14:00 text: late on the day")
            << local(1, 23).toOffsetFromUtc(14 * 3600) << local(1, 23, 30).toOffsetFromUtc(14 * 3600) << false
            << QString() << true;
        QTest::newRow("offset -10:00 text: just after the range")
            << local(2, 0, 30).toOffsetFromUtc(-10 * 3600) << local(2, 1).toOffsetFromUtc(-10 * 3600) << false
            << QString() << false;
        QTest::newRow("offset -10:00 text: early on the day")
            << local(1, 0, 30).toOffsetFromUtc(-10 * 3600) << local(1, 1).toOffsetFromUtc(-10 * 3600) << false
            << QString() << true;

        QTest::newRow("all-day at UTC midnight: the day")
            << utcTime(2024, 5, 1) << utcTime(2024, 5, 2) << true << QString() << true;
        QTest::newRow("all-day at UTC midnight: the day before")
            << utcTime(2024, 4, 30) << utcTime(2024, 5, 1) << true << QString() << false;
        QTest::newRow("all-day at UTC midnight: the day after")
            << utcTime(2024, 5, 2) << utcTime(2024, 5, 3) << true << QString() << false;
        QTest::newRow("all-day at UTC midnight: three days across it")
            << utcTime(2024, 4, 29) << utcTime(2024, 5, 2) << true << QString() << true;
        QTest::newRow("all-day at UTC midnight: end equal to start")
            << utcTime(2024, 5, 1) << utcTime(2024, 5, 1) << true << QString() << true;
        QTest::newRow("all-day at UTC midnight: no end")
            << utcTime(2024, 5, 1) << QDateTime() << true << QString() << true;
        QTest::newRow("all-day at local midnight: the day") << local(1, 0) << local(2, 0) << true << QString() << true;
        QTest::newRow("all-day at local midnight: the day before")
            << localTime(2024, 4, 30) << local(1, 0) << true << QString() << false;
        QTest::newRow("all-day yearly master from years before")
            << utcTime(2019, 5, 1) << utcTime(2019, 5, 2) << true << QStringLiteral("FREQ=YEARLY") << true;
    }
    void rangeMembership()
    {
        QFETCH(QDateTime, start);
        QFETCH(QDateTime, end);
        QFETCH(bool, allDay);
        QFETCH(QString, rule);
        QFETCH(bool, returned);
        StoreFixture store;
        seedCalendars(store, {kCal});
        EventRepository events(store.db());
        Event e = makeEvent(QStringLiteral("e"), kCal, start,
                            end.isValid() ? std::optional<QDateTime>(end) : std::nullopt);
        e.is_all_day = allDay;
        e.recurrence_rule = rule;
        QVERIFY(events.insert(e));
        const QList<Event> found = events.getInRange(localTime(2024, 5, 1), localTime(2024, 5, 2));
        QCOMPARE(idsOf(found), returned ? QStringList{e.id} : QStringList());
    }

    void rangeIsOrderedByInstantAndFilteredByCalendar()
    {
        StoreFixture store;
        seedCalendars(store, {kCal, QStringLiteral("other")});
        EventRepository events(store.db());
        const QDateTime nine = localTime(2024, 5, 1, 9);
        // Text order of these three differs from their order in time.
        QVERIFY(events.insert(
            makeEvent(QStringLiteral("b-offset"), kCal, nine.addSecs(3600).toOffsetFromUtc(-12 * 3600), std::nullopt)));
        QVERIFY(events.insert(makeEvent(QStringLiteral("a-local"), kCal, nine, std::nullopt)));
        QVERIFY(events.insert(makeEvent(QStringLiteral("c-utc"), kCal, nine.addSecs(7200).toUTC(), std::nullopt)));
        QVERIFY(events.insert(makeEvent(QStringLiteral("d-other"), QStringLiteral("other"), nine, std::nullopt)));

        const QDateTime from = localTime(2024, 5, 1), to = localTime(2024, 5, 2);
        QCOMPARE(idsOf(events.getInRange(from, to, {kCal})),
                 (QStringList{QStringLiteral("a-local"), QStringLiteral("b-offset"), QStringLiteral("c-utc")}));
        QCOMPARE(events.getInRange(from, to).size(), 4);
        QCOMPARE(idsOf(events.getInRange(from, to, {QStringLiteral("other")})), QStringList{QStringLiteral("d-other")});
        QVERIFY(events.getInRange(from, to, {QStringLiteral("none")}).isEmpty());
        // A list too long for one statement is applied to the rows instead.
        QStringList many{kCal};
        for (int i = 0; i < 150; ++i)
            many.append(QStringLiteral("unknown-%1").arg(i));
        QCOMPARE(events.getInRange(from, to, many).size(), 3);
    }

    // Every length of calendar list is a statement of its own; far more of
    // them than the connection keeps prepared still read the same rows.
    void rangeOverManyCalendarListLengths()
    {
        StoreFixture store;
        seedCalendars(store, {kCal});
        EventRepository events(store.db());
        Event e = makeEvent(QStringLiteral("e"), kCal, localTime(2024, 5, 1, 9), localTime(2024, 5, 1, 10));
        e.attendees = {attendee(QStringLiteral("a@example.org"), QStringLiteral("A"))};
        QVERIFY(events.insert(e));
        QStringList calendars{kCal};
        for (int length = 1; length <= 80; ++length) {
            const QList<Event> found = events.getInRange(localTime(2024, 5, 1), localTime(2024, 5, 2), calendars);
            QCOMPARE(idsOf(found), QStringList{e.id});
            QCOMPARE(found[0].attendees.size(), 1);
            calendars.append(QStringLiteral("unknown-%1").arg(length));
        }
    }

    // Expansion puts an override in the place of the occurrence it replaces,
    // so the range hands over every live override of the calendars queried,
    // however far its own times moved it.
    void rangeReturnsOverridesWhateverTheirTimes()
    {
        StoreFixture store;
        seedCalendars(store, {kCal, QStringLiteral("other")});
        EventRepository events(store.db());
        auto override = [](const QString &id, const QString &calendar, const QDateTime &start) {
            Event o = makeEvent(id, calendar, start, start.addSecs(3600));
            o.uid = o.master_event_uid = QStringLiteral("series");
            o.recurrence_id = QStringLiteral("20240501T070000Z");
            return o;
        };
        Event master = makeEvent(QStringLiteral("master"), kCal, localTime(2024, 1, 3, 9), localTime(2024, 1, 3, 10));
        master.uid = QStringLiteral("series");
        master.recurrence_rule = QStringLiteral("FREQ=WEEKLY");
        QVERIFY(events.insert(master));
        QVERIFY(events.insert(override(QStringLiteral("moved-far"), kCal, localTime(2024, 6, 20, 9))));
        Event gone = override(QStringLiteral("gone"), kCal, localTime(2024, 5, 1, 9));
        gone.recurrence_id = QStringLiteral("20240508T070000Z");
        QVERIFY(events.insert(gone));
        QVERIFY(events.remove(gone.id));
        QVERIFY(
            events.insert(override(QStringLiteral("elsewhere"), QStringLiteral("other"), localTime(2024, 5, 1, 9))));

        QCOMPARE(idsOf(events.getInRange(localTime(2024, 5, 1), localTime(2024, 5, 2), {kCal})),
                 (QStringList{QStringLiteral("master"), QStringLiteral("moved-far")}));
        QCOMPARE(events.getInRange(localTime(2024, 5, 1), localTime(2024, 5, 2)).size(), 3);
    }

    // The repeating masters and overrides that every window returns are kept
    // between range queries: whatever changes the database, by whichever
    // path, must show in the next one.
    void standingRowsFollowEveryChange_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected"); // the master's title and reminder count, or "-"
        QTest::newRow("updated through the repository") << QStringLiteral("update") << QStringLiteral("Moved/1");
        QTest::newRow("deleted through the repository") << QStringLiteral("remove") << QStringLiteral("-");
        QTest::newRow("retitled by this connection's own SQL")
            << QStringLiteral("own-sql") << QStringLiteral("Moved/0");
        QTest::newRow("retitled by another process") << QStringLiteral("other-title") << QStringLiteral("Moved/0");
        QTest::newRow("a reminder added by another process")
            << QStringLiteral("other-reminder") << QStringLiteral("Event master/1");
        QTest::newRow("deleted by another process") << QStringLiteral("other-delete") << QStringLiteral("-");
    }
    void standingRowsFollowEveryChange()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        StoreFixture store;
        seedCalendars(store, {kCal});
        EventRepository events(store.db());
        Event master = weeklyMaster(QStringLiteral("master"), 1);
        QVERIFY(events.insert(master));
        QCOMPARE(firstInMay(events), QStringLiteral("Event master/0"));

        const QString retitle = QStringLiteral("UPDATE events SET title = 'Moved' WHERE id = 'master'");
        if (path == QLatin1String("update")) {
            master.title = QStringLiteral("Moved");
            master.reminders = {reminder(10)};
            QVERIFY(events.update(master));
        } else if (path == QLatin1String("remove")) {
            QVERIFY(events.remove(master.id));
        } else if (path == QLatin1String("own-sql")) {
            store.exec(retitle);
        } else if (path == QLatin1String("other-title")) {
            QCOMPARE(store.cli(retitle), QString());
        } else if (path == QLatin1String("other-reminder")) {
            QCOMPARE(store.cli(QStringLiteral(
                         "INSERT INTO reminders (id, event_id, minutes_before) VALUES ('r', 'master', 5)")),
                     QString());
        } else {
            QCOMPARE(store.cli(QStringLiteral("DELETE FROM events WHERE id = 'master'")), QString());
        }
        QCOMPARE(firstInMay(events), expected);
    }

    // A view's light rows are the range's rows, in its order, with every
    // field a view draws equal to the full record's, and nothing else.
    void viewRowsAgreeWithFullRecords_data()
    {
        QTest::addColumn<QStringList>("calendars");
        QTest::addColumn<bool>("keptFirst"); // the standing rows read by a full query before
        QTest::newRow("every calendar") << QStringList() << false;
        QTest::newRow("every calendar, rows kept") << QStringList() << true;
        QTest::newRow("one calendar listed") << QStringList{kCal} << false;
        QTest::newRow("the other calendar listed, rows kept") << QStringList{QStringLiteral("other")} << true;
    }
    void viewRowsAgreeWithFullRecords()
    {
        QFETCH(QStringList, calendars);
        QFETCH(bool, keptFirst);
        StoreFixture store;
        seedCalendars(store, {kCal, QStringLiteral("other")});
        EventRepository events(store.db());
        for (const Event &e : viewRowsSeed())
            QVERIFY(events.insert(e));
        const QDateTime from = localTime(2024, 5, 1);
        const QDateTime to = localTime(2024, 6, 1);
        if (keptFirst)
            events.getInRange(from, to);

        const QList<Event> light = events.getViewRowsInRange(from, to, calendars);
        const QList<Event> full = events.getInRange(from, to, calendars);
        QCOMPARE(idsOf(light), idsOf(full));
        QVERIFY(!full.isEmpty());
        for (qsizetype i = 0; i < full.size(); ++i) {
            QCOMPARE(viewFieldsOf(light.at(i)), viewFieldsOf(full.at(i)));
            // Expansion reads a series' zone from its raw text.
            const bool repeats = !full.at(i).recurrence_rule.isEmpty() || !full.at(i).recurrence_id.isEmpty();
            QCOMPARE(light.at(i).raw_icalendar, repeats ? full.at(i).raw_icalendar : QString());
            QVERIFY(light.at(i).reminders.isEmpty() && light.at(i).attendees.isEmpty());
        }
        // The reminder poll's rows: the same records, but for the singles.
        QList<Event> repeating = full;
        repeating.removeIf([](const Event &e) { return e.recurrence_rule.isEmpty() && e.recurrence_id.isEmpty(); });
        QCOMPARE(events.getStandingInRange(from, to, calendars), repeating);
    }

    // Filter rules decide on light rows and occurrences as on full records:
    // every condition kind reads only fields the light rows carry.
    void viewRowsFilterAsFullRecords_data()
    {
        QTest::addColumn<QString>("conditions");
        QTest::addColumn<QString>("eventUid"); // of a specific rule
        QTest::addColumn<QString>("calendarIds");
        QTest::newRow("title, any letter case")
            << u"{\"runtimeType\":\"pattern\",\"titleContains\":[\"EVENT ZONED\"]}"_s << QString() << u"[]"_s;
        QTest::newRow("exact title, letter case kept")
            << u"{\"runtimeType\":\"pattern\",\"titleExact\":[\"Event series\"],\"caseSensitive\":true}"_s << QString()
            << u"[]"_s;
        QTest::newRow("description") << u"{\"runtimeType\":\"pattern\",\"descriptionContains\":[\"agenda\"]}"_s
                                     << QString() << u"[]"_s;
        QTest::newRow("location") << u"{\"runtimeType\":\"pattern\",\"locationContains\":[\"room 7\"]}"_s << QString()
                                  << u"[]"_s;
        QTest::newRow("local start on a weekday, series only")
            << u"{\"runtimeType\":\"time\",\"timeRange\":{\"start\":\"08:00\",\"end\":\"10:00\"},"
               "\"daysOfWeek\":[\"wed\"],\"recurringOnly\":true}"_s
            << QString() << u"[]"_s;
        QTest::newRow("exact local start of a moved occurrence")
            << u"{\"runtimeType\":\"time\",\"timeExact\":\"11:00\"}"_s << QString() << u"[]"_s;
        QTest::newRow("one event by its uid") << u"{\"runtimeType\":\"specific\"}"_s << u"zoned@test"_s << u"[]"_s;
        QTest::newRow("one event by its provider id") << u"{\"runtimeType\":\"specific\"}"_s << u"p-1"_s << u"[]"_s;
        QTest::newRow("all-day") << u"{\"runtimeType\":\"allDay\"}"_s << QString() << u"[]"_s;
        QTest::newRow("all-day series") << u"{\"runtimeType\":\"allDay\",\"recurringOnly\":true}"_s << QString()
                                        << u"[]"_s;
        QTest::newRow("all-day, in one calendar") << u"{\"runtimeType\":\"allDay\"}"_s << QString() << u"[\"other\"]"_s;
    }
    void viewRowsFilterAsFullRecords()
    {
        QFETCH(QString, conditions);
        QFETCH(QString, eventUid);
        QFETCH(QString, calendarIds);
        StoreFixture store;
        seedCalendars(store, {kCal, u"other"_s});
        EventRepository events(store.db());
        for (const Event &e : viewRowsSeed())
            QVERIFY(events.insert(e));
        FilterRule rule;
        rule.id = u"rule"_s;
        rule.suppress_reminders = true;
        rule.conditions = conditions;
        rule.event_uid = eventUid;
        rule.event_calendar_id = kCal;
        rule.calendar_ids = calendarIds;
        const QDateTime from = localTime(2024, 5, 1);
        const QDateTime to = localTime(2024, 6, 1);

        const QList<Event> full = Recurrence::expandEvents(events.getInRange(from, to), from, to);
        const QList<Event> rows = events.getViewRowsInRange(from, to);
        const QList<Occurrence> light = Recurrence::expandOccurrences(rows, from, to);
        for (const QString &action : {FilterAction::Dim, FilterAction::Hide}) {
            rule.action = action;
            const FilterOutcome byRecord = FilterEngine::apply(full, {rule});
            const OccurrenceFilterOutcome byRow = FilterEngine::applyToOccurrences(light, {rule});
            QVERIFY(byRecord.hiddenCount + byRecord.dimmedIds.size() > 0);
            QCOMPARE(byRow.hiddenCount, byRecord.hiddenCount);
            QCOMPARE(byRow.dimmedIds, byRecord.dimmedIds);
            QCOMPARE(byRow.suppressedReminderIds, byRecord.suppressedReminderIds);
            QStringList shownRecords;
            for (const Event &e : byRecord.events)
                shownRecords.append(e.id + u' ' + e.start_time.toUTC().toString(Qt::ISODate));
            QStringList shownRows;
            for (const Occurrence &o : byRow.occurrences)
                shownRows.append(o.event().id + u' ' + o.start().toUTC().toString(Qt::ISODate));
            QCOMPARE(shownRows, shownRecords);
        }
    }

    // A batch stores what the same writes one by one store: a write the
    // store refuses is left out and the others stand, a failure of the
    // store keeps nothing, and the change log names every event written.
    void batchWrites_data()
    {
        using O = EventWrite::Outcome;
        QTest::addColumn<QString>("batch");
        QTest::addColumn<QList<O>>("outcomes");
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QStringList>("logged");
        // Inside a transaction of the caller's, who takes a failure back.
        QTest::addColumn<bool>("callerUndoes");
        QTest::newRow("inserts with children")
            << u"inserts"_s << QList<O>{O::Added, O::Added}
            << QStringList{u"n1|n1@test|Event n1||1|synced|1|10,30|1"_s, u"n2|n2@test|Event n2||1|synced|1||0"_s}
            << QStringList{u"n1"_s, u"n2"_s} << false;
        QTest::newRow("updates, deletions and a row gone meanwhile")
            << u"updates"_s << QList<O>{O::Updated, O::Deleted, O::Refused, O::Deleted}
            << QStringList{u"s1|s1@test|Renamed|p1|1|synced|1|5|0"_s} << QStringList{u"s1"_s, u"s2"_s, u"s3"_s}
            << false;
        QTest::newRow("a write without a title is refused before it is tried")
            << u"untitled"_s << QList<O>{O::Refused, O::Added} << QStringList{u"n2|n2@test|Event n2||1|synced|1||0"_s}
            << QStringList{u"n2"_s} << false;
        QTest::newRow("a trigger that ends the transaction")
            << u"rollback"_s << QList<O>{O::Failed, O::Failed, O::Failed} << QStringList() << QStringList() << false;
        for (const bool callerUndoes : {false, true}) {
            const char *inside = callerUndoes ? ", caller undoes" : "";
            QTest::addRow("imports keep the stored row's id, server identity and created%s", inside)
                << u"imports"_s << QList<O>{O::Updated, O::Updated, O::Added, O::Updated}
                << QStringList{u"s1|s1@test|Imported|p1|1|pending|1|5|0"_s, u"s2|s2@test|Back||1|pending|1||0"_s,
                               u"new|u3@test|Second||0|pending|1||0"_s}
                << QStringList{u"new"_s, u"s1"_s, u"s2"_s} << callerUndoes;
            QTest::addRow("a write a trigger refuses%s", inside)
                << u"trigger"_s << QList<O>{O::Added, O::Refused, O::Added}
                << QStringList{u"n1|n1@test|Event n1||1|synced|1|10,30|1"_s, u"n2|n2@test|Event n2||1|synced|1||0"_s}
                << QStringList{u"n1"_s, u"n2"_s} << callerUndoes;
            QTest::addRow("an import into a calendar not stored%s", inside)
                << u"uncalendared"_s << QList<O>{O::Added, O::Refused, O::Updated}
                << QStringList{u"new|u3@test|Second||0|pending|1||0"_s} << QStringList{u"new"_s} << callerUndoes;
        }
    }
    void batchWrites()
    {
        QFETCH(QString, batch);
        QFETCH(QList<EventWrite::Outcome>, outcomes);
        QFETCH(QStringList, stored);
        QFETCH(QStringList, logged);
        QFETCH(bool, callerUndoes);
        StoreFixture store;
        seedCalendars(store, {kCal});
        EventRepository events(store.db());
        const auto event = [](const QString &id) {
            return makeEvent(id, kCal, localTime(2024, 5, 2, 9), localTime(2024, 5, 2, 10));
        };
        Event withChildren = event(u"n1"_s);
        withChildren.reminders = {reminder(30), reminder(10)};
        withChildren.attendees = {attendee(u"a@example.org"_s, u"A"_s)};
        Event untitled = event(u"bad"_s);
        untitled.title = QString();
        Event imported = event(QString());
        imported.uid = u"s1@test"_s;
        imported.title = u"Imported"_s;
        imported.reminders = {reminder(5)};
        imported.created = QDateTime();
        imported.sync_status = SyncStatus::Pending;
        Event back = imported;
        back.uid = u"s2@test"_s;
        back.title = u"Back"_s;
        back.reminders.clear();
        Event first = back;
        first.uid = u"u3@test"_s;
        first.title = u"First"_s;
        Event second = first;
        second.title = u"Second"_s;

        QList<EventWrite> writes;
        using K = EventWrite::Kind;
        if (batch == u"inserts"_s || batch == u"trigger"_s || batch == u"rollback"_s) {
            writes = {{K::Insert, withChildren}, {K::Insert, event(u"bad"_s)}, {K::Insert, event(u"n2"_s)}};
            if (batch == u"inserts"_s)
                writes.removeAt(1);
            else
                store.exec(u"CREATE TRIGGER refuse BEFORE INSERT ON events WHEN NEW.id = 'bad' BEGIN SELECT RAISE(%1, "
                           "'refused'); END"_s.arg(batch == u"trigger"_s ? u"ABORT"_s : u"ROLLBACK"_s));
        } else if (batch == u"untitled"_s) {
            writes = {{K::Insert, untitled}, {K::Insert, event(u"n2"_s)}};
        } else if (batch == u"uncalendared"_s) {
            Event elsewhere = first;
            elsewhere.calendar_id = u"gone"_s;
            writes = {{K::Import, first}, {K::Import, elsewhere}, {K::Import, second}};
        } else {
            Event s1 = event(u"s1"_s);
            s1.provider_event_id = u"p1"_s;
            s1.reminders = {reminder(10)};
            QVERIFY(events.insert(s1));
            QVERIFY(events.insert(event(u"s2"_s)));
            QVERIFY(events.insert(event(u"s3"_s)));
            s1.title = u"Renamed"_s;
            s1.reminders = {reminder(5)};
            if (batch == u"updates"_s) {
                writes = {{K::Update, s1},
                          {K::Delete, event(u"s2"_s)},
                          {K::Update, event(u"gone"_s)},
                          {K::Delete, event(u"s3"_s)}};
            } else {
                QVERIFY(events.remove(u"s2"_s));
                QVERIFY(events.hardDelete(u"s3"_s));
                writes = {{K::Import, imported}, {K::Import, back}, {K::Import, first}, {K::Import, second}};
            }
        }
        const qint64 before = events.changeCounter().value_or(-1);
        if (callerUndoes) {
            StoreTransaction outer(store.db());
            QCOMPARE(events.writeBatch(writes, EventWrite::Undo::Caller), outcomes);
            QVERIFY(outer.keep());
        } else {
            QCOMPARE(events.writeBatch(writes), outcomes);
        }
        QCOMPARE(storedSummary(store), stored);
        QSqlQuery log(store.sql());
        log.exec(u"SELECT DISTINCT CASE WHEN length(event_id) < 36 THEN event_id ELSE 'new' END FROM "
                 "events_changes WHERE version > %1 ORDER BY 1"_s.arg(before));
        QStringList named;
        while (log.next())
            named.append(log.value(0).toString());
        QCOMPARE(named, logged);
        // The triggers log what other writers do again.
        const qint64 after = events.changeCounter().value_or(-1);
        store.exec(u"UPDATE events SET title = 'Later'"_s);
        QCOMPARE(events.changeCounter().value_or(-1) - after, qint64(stored.size()));
    }

    // The poll's series are the standing rows that remind per occurrence:
    // masters by a rule with reminders, and the overrides of their series
    // (by calendar and UID), in the same order, without attendees.
    void remindingSeriesAreTheStandingRowsThatRemind_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("expected");
        const QStringList both{QStringLiteral("early"), QStringLiteral("series"), QStringLiteral("moved")};
        QTest::newRow("as written") << QString() << both;
        QTest::newRow("standing rows kept first") << QStringLiteral("kept") << both;
        QTest::newRow("series loses its reminder") << QStringLiteral("DELETE FROM reminders WHERE event_id = 'series'")
                                                   << QStringList{QStringLiteral("early")};
        QTest::newRow("series deleted") << QStringLiteral("UPDATE events SET deleted_at = '2024-01-01T00:00:00Z' "
                                                          "WHERE id = 'series'")
                                        << QStringList{QStringLiteral("early")};
        QTest::newRow("override moved to the other calendar")
            << QStringLiteral("UPDATE events SET calendar_id = 'other' WHERE id = 'moved'")
            << QStringList{QStringLiteral("early"), QStringLiteral("series")};
        QTest::newRow("series becomes an override")
            << QStringLiteral("UPDATE events SET recurrence_id = '20240101T090000' WHERE id = 'series'")
            << QStringList{QStringLiteral("early")};
        QTest::newRow("silent series gains a reminder, with its override")
            << QStringLiteral("INSERT INTO reminders (id, event_id, minutes_before) VALUES ('r-silent', 'silent', 5)")
            << QStringList{QStringLiteral("early"), QStringLiteral("silent"), QStringLiteral("series"),
                           QStringLiteral("moved"), QStringLiteral("silent-moved")};
        QTest::newRow("series moves to the other calendar without its override")
            << QStringLiteral("UPDATE events SET calendar_id = 'other' WHERE id = 'series'")
            << QStringList{QStringLiteral("early"), QStringLiteral("series")};
        QTest::newRow("override retitled")
            << QStringLiteral("UPDATE events SET title = 'Moved' WHERE id = 'moved'") << both;
    }
    void remindingSeriesAreTheStandingRowsThatRemind()
    {
        QFETCH(QString, change);
        QFETCH(QStringList, expected);
        StoreFixture store;
        seedCalendars(store, {kCal, QStringLiteral("other")});
        EventRepository events(store.db());
        Event series = weeklyMaster(QStringLiteral("series"), 4);
        series.reminders = {reminder(5), reminder(60)};
        series.attendees = {attendee(QStringLiteral("a@example.org"), QStringLiteral("A"))};
        Event early = weeklyMaster(QStringLiteral("early"), 1);
        early.reminders = {reminder(10)};
        Event silent = weeklyMaster(QStringLiteral("silent"), 2);
        Event late = weeklyMaster(QStringLiteral("late"), 7);
        late.reminders = {reminder(10)};
        Event single = makeEvent(QStringLiteral("single"), kCal, localTime(2024, 5, 2, 9), localTime(2024, 5, 2, 10));
        single.reminders = {reminder(10)};
        Event moved = makeEvent(QStringLiteral("moved"), kCal, localTime(2024, 5, 9, 11), localTime(2024, 5, 9, 12));
        moved.uid = moved.master_event_uid = series.uid;
        moved.recurrence_id = QStringLiteral("20240515T090000");
        Event silentMoved = moved;
        silentMoved.id = QStringLiteral("silent-moved");
        silentMoved.uid = silentMoved.master_event_uid = silent.uid;
        for (const Event &e : {series, early, silent, late, single, moved, silentMoved})
            QVERIFY(events.insert(e));
        const QDateTime from = localTime(2024, 5, 1);
        const QDateTime to = localTime(2024, 6, 1);
        if (change == QLatin1String("kept"))
            events.getInRange(from, to);
        // Read before the change too: what the poll keeps follows the change.
        const QList<Event> before = events.getRemindingSeriesInRange(from, to);
        if (!change.isEmpty() && change != QLatin1String("kept"))
            store.exec(change);

        const QList<Event> reminding = events.getRemindingSeriesInRange(from, to);
        QCOMPARE(idsOf(reminding), expected);
        QCOMPARE(reminding, EventRepository(store.db()).getRemindingSeriesInRange(from, to));
        QList<Event> standing = events.getStandingInRange(from, to);
        standing.removeIf([&expected](const Event &e) { return !expected.contains(e.id); });
        for (Event &e : standing)
            e.attendees.clear();
        QCOMPARE(reminding, standing);
    }

    // After each kind of change the kept rows, brought up to date by the
    // change log (or read anew after a large import), equal what a
    // repository that kept nothing reads.
    void keptRowsEqualAFreshRead_data()
    {
        QTest::addColumn<QString>("change");
        for (const char *change :
             {"insert series", "insert override", "series becomes single", "single becomes series",
              "series moves past the window", "tombstone", "hard delete", "reminder by other process",
              "attendee moved by own SQL", "import of 200", "import of 5000", "one batch of each write",
              "single moves later in the window", "single moves out of the window", "single retitled by other process",
              "event of an unlisted calendar retitled"})
            QTest::newRow(change) << QString::fromLatin1(change);
    }
    void keptRowsEqualAFreshRead()
    {
        QFETCH(QString, change);
        StoreFixture store;
        const QString unlisted = QStringLiteral("unlisted");
        seedCalendars(store, {kCal, unlisted});
        EventRepository events(store.db());
        Event elsewhere = makeEvent(QStringLiteral("elsewhere"), unlisted, localTime(2024, 5, 3, 9),
                                    localTime(2024, 5, 3, 10));
        QVERIFY(events.insert(elsewhere));
        Event series = weeklyMaster(QStringLiteral("series"), 1);
        series.reminders = {reminder(10)};
        series.attendees = {attendee(QStringLiteral("a@example.org"), QStringLiteral("A"))};
        Event single = makeEvent(QStringLiteral("single"), kCal, localTime(2024, 5, 2, 9), localTime(2024, 5, 2, 10));
        QVERIFY(events.insert(series));
        QVERIFY(events.insert(single));
        QVERIFY(events.insert(weeklyMaster(QStringLiteral("other"), 2)));
        const QDateTime from = localTime(2024, 5, 1);
        const QDateTime to = localTime(2024, 6, 1);
        QCOMPARE(idsOf(events.getInRange(from, to)).size(), 4);
        QCOMPARE(events.getViewRowsInRange(from, to).size(), 4);
        QCOMPARE(events.getViewRowsInRange(from, to, {kCal}).size(), 3);

        if (change == QLatin1String("event of an unlisted calendar retitled")) {
            elsewhere.title = QStringLiteral("Moved");
            QVERIFY(events.update(elsewhere));
        } else if (change.startsWith(QLatin1String("single moves"))) {
            const int day = change.endsWith(QLatin1String("out of the window")) ? 40 : 20;
            single.start_time = single.start_time.addDays(day);
            single.end_time = single.end_time->addDays(day);
            QVERIFY(events.update(single));
        } else if (change == QLatin1String("single retitled by other process")) {
            QCOMPARE(store.cli(QStringLiteral("UPDATE events SET title = 'Moved' WHERE id = 'single'")), QString());
        } else if (change == QLatin1String("insert series")) {
            QVERIFY(events.insert(weeklyMaster(QStringLiteral("new"), 3)));
        } else if (change == QLatin1String("insert override")) {
            Event moved = makeEvent(QStringLiteral("moved"), kCal, localTime(2024, 5, 9, 11),
                                    localTime(2024, 5, 9, 12));
            moved.uid = series.uid;
            moved.master_event_uid = series.uid;
            moved.recurrence_id = QStringLiteral("20240509T090000");
            QVERIFY(events.insert(moved));
        } else if (change == QLatin1String("series becomes single")) {
            series.recurrence_rule.clear();
            QVERIFY(events.update(series));
        } else if (change == QLatin1String("single becomes series")) {
            single.recurrence_rule = QStringLiteral("FREQ=DAILY");
            QVERIFY(events.update(single));
        } else if (change == QLatin1String("series moves past the window")) {
            series.start_time = localTime(2024, 7, 1, 9);
            series.end_time = localTime(2024, 7, 1, 10);
            QVERIFY(events.update(series));
        } else if (change == QLatin1String("tombstone")) {
            QVERIFY(events.remove(series.id));
        } else if (change == QLatin1String("hard delete")) {
            QVERIFY(events.hardDelete(series.id));
        } else if (change == QLatin1String("reminder by other process")) {
            QCOMPARE(store.cli(QStringLiteral(
                         "INSERT INTO reminders (id, event_id, minutes_before) VALUES ('r2', 'other', 5)")),
                     QString());
        } else if (change == QLatin1String("one batch of each write")) {
            series.recurrence_rule.clear();
            single.uid = series.uid;
            single.recurrence_rule = QStringLiteral("FREQ=DAILY");
            const QList<EventWrite> writes = {{EventWrite::Kind::Insert, weeklyMaster(QStringLiteral("new"), 3)},
                                              {EventWrite::Kind::Update, series},
                                              {EventWrite::Kind::Delete, weeklyMaster(QStringLiteral("other"), 2)},
                                              {EventWrite::Kind::Import, single}};
            QCOMPARE(events.writeBatch(writes).count(EventWrite::Outcome::Refused), 0);
        } else if (change == QLatin1String("attendee moved by own SQL")) {
            store.exec(QStringLiteral("UPDATE attendees SET event_id = 'other' WHERE event_id = 'series'"));
        } else {
            // An import: one transaction of many rows, every tenth a series.
            const int count = change.section(QLatin1Char(' '), 2).toInt();
            QVERIFY(store.sql().transaction());
            for (int i = 0; i < count; ++i) {
                Event e = makeEvent(QStringLiteral("imported-%1").arg(i), kCal, localTime(2024, 5, 1 + i % 28, 8),
                                    localTime(2024, 5, 1 + i % 28, 9));
                if (i % 10 == 0)
                    e.recurrence_rule = QStringLiteral("FREQ=WEEKLY");
                QVERIFY(events.insert(e));
            }
            QVERIFY(store.sql().commit());
        }
        const QList<Event> kept = events.getInRange(from, to);
        QCOMPARE(kept, EventRepository(store.db()).getInRange(from, to));
        QCOMPARE(events.getViewRowsInRange(from, to), EventRepository(store.db()).getViewRowsInRange(from, to));
        QCOMPARE(events.getViewRowsInRange(from, to, {kCal}),
                 EventRepository(store.db()).getViewRowsInRange(from, to, {kCal}));
        // A later window reads the rows beyond the covered bound as well.
        QCOMPARE(events.getInRange(from, localTime(2024, 9, 1)),
                 EventRepository(store.db()).getInRange(from, localTime(2024, 9, 1)));
    }

    // Kept rows are read again in a new system zone: a time stored without
    // a zone (by another program) is a wall clock there, at another
    // instant, and takes another place among the other rows.
    void keptRowsFollowTheSystemZone_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::newRow("one-off") << QString();
        QTest::newRow("series") << QStringLiteral("FREQ=WEEKLY");
    }
    void keptRowsFollowTheSystemZone()
    {
        QFETCH(QString, rule);
        const SystemZone utc("UTC");
        StoreFixture store;
        seedCalendars(store, {kCal});
        EventRepository events(store.db());
        Event floating = makeEvent(QStringLiteral("floating"), kCal, utcTime(2024, 5, 10), utcTime(2024, 5, 11));
        floating.recurrence_rule = rule;
        QVERIFY(events.insert(floating));
        store.exec(QStringLiteral("UPDATE events SET start_time = '2024-05-10T00:00:00', "
                                  "end_time = '2024-05-10T01:00:00' WHERE id = 'floating'"));
        QVERIFY(events.insert(
            makeEvent(QStringLiteral("late"), kCal, utcTime(2024, 5, 9, 23), utcTime(2024, 5, 9, 23, 30))));
        const QDateTime from = utcTime(2024, 5, 1);
        const QDateTime to = utcTime(2024, 6, 1);
        const QStringList inUtc{QStringLiteral("late"), QStringLiteral("floating")};
        QCOMPARE(idsOf(events.getViewRowsInRange(from, to)), inUtc);
        QCOMPARE(idsOf(events.getInRange(from, to)), inUtc);
        const SystemZone tokyo("Asia/Tokyo");
        const QStringList inTokyo{inUtc.at(1), inUtc.at(0)};
        QCOMPARE(idsOf(events.getInRange(from, to)), inTokyo);
        QCOMPARE(idsOf(events.getViewRowsInRange(from, to)), inTokyo);
    }

    // A series of listed dates without a rule (RDATE alone) shows in every
    // window that holds one of its dates, however far from its first span.
    void seriesOfDatesAloneShowOnEachDate_data()
    {
        QTest::addColumn<bool>("allDay");
        QTest::addColumn<QString>("dates");
        QTest::addColumn<int>("month"); // the window: that month of 2024
        QTest::addColumn<QStringList>("starts"); // the expanded starts, UTC
        const QString timed = QStringLiteral("[\"20240315T090000Z\",\"20240620T120000Z\"]");
        QTest::newRow("timed: the first span's window")
            << false << timed << 1 << QStringList{QStringLiteral("2024-01-10T08:00:00Z")};
        QTest::newRow("timed: a window holding a later date only")
            << false << timed << 3 << QStringList{QStringLiteral("2024-03-15T09:00:00Z")};
        QTest::newRow("timed: the last date's window")
            << false << timed << 6 << QStringList{QStringLiteral("2024-06-20T12:00:00Z")};
        QTest::newRow("timed: a window between the dates") << false << timed << 4 << QStringList();
        QTest::newRow("timed: an empty list is no series") << false << QStringLiteral("[]") << 3 << QStringList();
        QTest::newRow("all-day: a window holding a later date only")
            << true << QStringLiteral("[\"20240501\"]") << 5 << QStringList{QStringLiteral("2024-05-01T00:00:00Z")};
    }
    void seriesOfDatesAloneShowOnEachDate()
    {
        QFETCH(bool, allDay);
        QFETCH(QString, dates);
        QFETCH(int, month);
        StoreFixture store;
        seedCalendars(store, {kCal});
        EventRepository events(store.db());
        Event e = allDay ? makeEvent(QStringLiteral("dated"), kCal, utcTime(2024, 1, 10), utcTime(2024, 1, 11))
                         : makeEvent(QStringLiteral("dated"), kCal, utcTime(2024, 1, 10, 8), utcTime(2024, 1, 10, 9));
        e.is_all_day = allDay;
        e.recurrence_dates = dates;
        QVERIFY(events.insert(e));
        // A window read before keeps the rows of the next one honest.
        events.getInRange(localTime(2024, 1, 1), localTime(2024, 2, 1));
        QTEST(startsIn(events, utcTime(2024, month, 1), utcTime(2024, month + 1, 1)), "starts");
    }

    // A zone only the invitation's own VTIMEZONE defines is kept with the
    // row: its weekly 09:00 stays 09:00 there after the zone's DST change.
    void aSeriesInADefinedZoneKeepsItsWallClock()
    {
        StoreFixture store;
        seedCalendars(store, {kCal});
        EventRepository events(store.db());
        QList<Event> parsed = ICalendar::parseEvents(QStringLiteral(
            "BEGIN:VCALENDAR\r\nBEGIN:VTIMEZONE\r\nTZID:Customized Time Zone\r\n"
            "BEGIN:STANDARD\r\nDTSTART:16010101T020000\r\nTZOFFSETFROM:-0200\r\nTZOFFSETTO:-0300\r\n"
            "RRULE:FREQ=YEARLY;BYDAY=1SU;BYMONTH=11\r\nEND:STANDARD\r\n"
            "BEGIN:DAYLIGHT\r\nDTSTART:16010101T020000\r\nTZOFFSETFROM:-0300\r\nTZOFFSETTO:-0200\r\n"
            "RRULE:FREQ=YEARLY;BYDAY=2SU;BYMONTH=3\r\nEND:DAYLIGHT\r\nEND:VTIMEZONE\r\n"
            "BEGIN:VEVENT\r\nUID:w\r\nDTSTART;TZID=Customized Time Zone:20240305T090000\r\nDURATION:PT1H\r\n"
            "RRULE:FREQ=WEEKLY\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"));
        QCOMPARE(parsed.size(), 1);
        parsed[0].id = QStringLiteral("w");
        parsed[0].calendar_id = kCal;
        parsed[0].created = parsed[0].last_modified = utcTime(2024, 2, 1);
        QVERIFY(events.insert(parsed[0]));
        QCOMPARE(startsIn(events, utcTime(2024, 3, 1), utcTime(2024, 3, 20)),
                 (QStringList{QStringLiteral("2024-03-05T12:00:00Z"), QStringLiteral("2024-03-12T11:00:00Z"),
                              QStringLiteral("2024-03-19T11:00:00Z")}));
    }

    // Series that begin after the windows read so far are picked up by a
    // later window and stay out of earlier ones.
    void standingRowsReachLaterWindows()
    {
        StoreFixture store;
        seedCalendars(store, {kCal});
        EventRepository events(store.db());
        QVERIFY(events.insert(weeklyMaster(QStringLiteral("january"), 1)));
        QVERIFY(events.insert(weeklyMaster(QStringLiteral("june"), 6)));
        const auto idsIn = [&](int month) {
            return idsOf(events.getInRange(localTime(2024, month, 1), localTime(2024, month + 1, 1)));
        };
        QCOMPARE(idsIn(5), QStringList{QStringLiteral("january")});
        QCOMPARE(idsIn(7), (QStringList{QStringLiteral("january"), QStringLiteral("june")}));
        QCOMPARE(idsIn(5), QStringList{QStringLiteral("january")});
    }

    // Events starting together come by id, whether read with the window or
    // kept from an earlier query, and a series kept later among them.
    void eventsStartingTogetherComeById_data()
    {
        QTest::addColumn<bool>("view");
        QTest::newRow("full records") << false;
        QTest::newRow("view rows") << true;
    }
    void eventsStartingTogetherComeById()
    {
        QFETCH(bool, view);
        StoreFixture store;
        seedCalendars(store, {kCal});
        EventRepository events(store.db());
        const QDateTime nine = localTime(2024, 5, 6, 9);
        Event series = makeEvent(QStringLiteral("b-series"), kCal, nine, nine.addSecs(3600));
        series.recurrence_rule = QStringLiteral("FREQ=WEEKLY");
        QVERIFY(events.insert(series));
        QVERIFY(events.insert(makeEvent(QStringLiteral("c-single"), kCal, nine, nine.addSecs(3600))));
        QVERIFY(events.insert(makeEvent(QStringLiteral("a-single"), kCal, nine, nine.addSecs(1800))));
        const auto day = [&] {
            const QDateTime from = localTime(2024, 5, 6);
            const QDateTime to = localTime(2024, 5, 7);
            return idsOf(view ? events.getViewRowsInRange(from, to) : events.getInRange(from, to));
        };
        QCOMPARE(day(),
                 (QStringList{QStringLiteral("a-single"), QStringLiteral("b-series"), QStringLiteral("c-single")}));
        series.id = series.uid = QStringLiteral("aa-series");
        QVERIFY(events.insert(series));
        QCOMPARE(day(),
                 (QStringList{QStringLiteral("a-single"), QStringLiteral("aa-series"), QStringLiteral("b-series"),
                              QStringLiteral("c-single")}));
    }

    // What a query reads inside a caller's transaction may be rolled back:
    // it must not outlive the rollback.
    void standingRowsOfARolledBackTransactionAreForgotten()
    {
        StoreFixture store;
        seedCalendars(store, {kCal});
        EventRepository events(store.db());
        Event master = weeklyMaster(QStringLiteral("master"), 1);
        QVERIFY(events.insert(master));
        QCOMPARE(firstInMay(events), QStringLiteral("Event master/0"));

        QVERIFY(store.sql().transaction());
        master.title = QStringLiteral("Draft");
        QVERIFY(events.update(master));
        QCOMPARE(firstInMay(events), QStringLiteral("Draft/0"));
        QVERIFY(store.sql().rollback());
        QCOMPARE(firstInMay(events), QStringLiteral("Event master/0"));

        // The change counter goes back with the rollback, and the next
        // committed change brings it where the draft had it: what was read
        // of the draft must be gone by then.
        QVERIFY(store.sql().transaction());
        QVERIFY(events.update(master));
        QCOMPARE(firstInMay(events), QStringLiteral("Draft/0"));
        QVERIFY(store.sql().rollback());
        master.title = QStringLiteral("Final");
        QVERIFY(events.update(master));
        QCOMPARE(firstInMay(events), QStringLiteral("Final/0"));
    }

    // More events than one IN list may carry: every one gets its children.
    void childrenOfLargeResultsAreLoadedInChunks()
    {
        StoreFixture store;
        seedCalendars(store, {kCal});
        EventRepository events(store.db());
        const int count = 1234; // twelve full IN lists and a short one
        QVERIFY(store.sql().transaction());
        for (int i = 0; i < count; ++i) {
            Event e = makeEvent(QStringLiteral("e%1").arg(i, 4, 10, QLatin1Char('0')), kCal,
                                localTime(2024, 5, 1, 8).addSecs(i), localTime(2024, 5, 1, 9));
            e.reminders = {reminder(10)};
            e.attendees = {attendee(QStringLiteral("x@example.org"), QStringLiteral("X"))};
            QVERIFY(events.insert(e));
        }
        QVERIFY(store.sql().commit());
        for (const QList<Event> &list :
             {events.getInRange(localTime(2024, 5, 1), localTime(2024, 5, 2)), events.getByCalendar(kCal)}) {
            QCOMPARE(list.size(), count);
            int withChildren = 0;
            for (const Event &e : list)
                withChildren += e.reminders.size() == 1 && e.attendees.size() == 1;
            QCOMPARE(withChildren, count);
        }
    }

    // Stored times are written without Qt's formatter, to the same text.
    void storedTimeTextIsQtsIsoText_data()
    {
        QTest::addColumn<QDateTime>("value");
        const QDateTime instant(QDate(2024, 3, 31), QTime(0, 59, 59, 999), Qt::UTC);
        QTest::newRow("UTC") << instant;
        QTest::newRow("Berlin, the hour of the spring step") << instant.toTimeZone(QTimeZone("Europe/Berlin"));
        QTest::newRow("New York, winter") << QDateTime(QDate(2024, 1, 5), QTime(23, 30), QTimeZone("America/New_York"));
        QTest::newRow("Kathmandu, +05:45") << instant.toTimeZone(QTimeZone("Asia/Kathmandu"));
        QTest::newRow("a fixed negative offset")
            << QDateTime(QDate(1969, 12, 31), QTime(23, 0), Qt::OffsetFromUTC, -9000);
        QTest::newRow("UTC zone, not spec") << QDateTime(QDate(2030, 7, 1), QTime(12, 0), QTimeZone::utc());
        QTest::newRow("before 1970") << QDateTime(QDate(1901, 2, 3), QTime(4, 5, 6), Qt::UTC);
        QTest::newRow("local wall clock") << QDateTime(QDate(2024, 10, 27), QTime(2, 30), Qt::LocalTime);
        QTest::newRow("year 10000") << QDateTime(QDate(10000, 1, 1), QTime(0, 0), Qt::UTC);
    }
    void storedTimeTextIsQtsIsoText()
    {
        QFETCH(QDateTime, value);
        QCOMPARE(StoreSql::storageText(value), value.toString(Qt::ISODate));
    }

    // The poll's due reminders come from a bounded range of the unshown
    // triggers: a long lead beside short ones must still be found.
    void dueRemindersByTheirLead_data()
    {
        QTest::addColumn<int>("minutesBefore");
        QTest::addColumn<int>("startsInMinutes"); // from 12:00, when the poll looks
        QTest::addColumn<bool>("acknowledged");
        QTest::addColumn<bool>("due");
        QTest::newRow("due now") << 15 << 10 << false << true;
        QTest::newRow("two weeks' lead") << 20160 << 60 << false << true;
        QTest::newRow("not yet") << 15 << 60 << false << false;
        QTest::newRow("shown") << 15 << 10 << true << false;
        QTest::newRow("started before the cutoff") << 15 << -3 * 24 * 60 << false << false;
    }
    void dueRemindersByTheirLead()
    {
        QFETCH(int, minutesBefore);
        QFETCH(int, startsInMinutes);
        QFETCH(bool, acknowledged);
        QFETCH(bool, due);
        StoreFixture store;
        seedCalendars(store, {kCal});
        EventRepository events(store.db());
        const QDateTime now = utcTime(2024, 5, 1, 12);
        // Another event's short lead, so the longest one is the row's.
        Event other = makeEvent(QStringLiteral("other"), kCal, now.addDays(30), now.addDays(30).addSecs(3600));
        other.reminders = {reminder(5)};
        Event e = makeEvent(QStringLiteral("e"), kCal, now.addSecs(60 * startsInMinutes),
                            now.addSecs(60 * startsInMinutes + 3600));
        e.reminders = {reminder(minutesBefore)};
        QVERIFY(events.insert(other) && events.insert(e));
        if (acknowledged)
            store.exec(QStringLiteral("UPDATE reminders SET acknowledged = 1"));
        QStringList found;
        for (const ReminderRepository::Unacknowledged &row :
             ReminderRepository(store.db()).unacknowledged(now.addSecs(-3600), now)) {
            if (row.eventId == e.id && row.start.addSecs(-60 * row.minutesBefore) <= now)
                found.append(row.eventId);
        }
        QCOMPARE(found, due ? QStringList{e.id} : QStringList());
    }

    // --- Atomic writes ---

    void failedChildWriteLeavesNothing_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("message");
        QTest::newRow("reminder insert refused")
            << QStringLiteral("reminders") << QStringLiteral("writeReminderRows insert failed:");
        QTest::newRow("attendee insert refused")
            << QStringLiteral("attendees") << QStringLiteral("writeAttendeeRows insert failed:");
    }
    void failedChildWriteLeavesNothing()
    {
        QFETCH(QString, table);
        QFETCH(QString, message);
        StoreFixture store;
        seedCalendars(store, {kCal});
        EventRepository events(store.db());
        Event e = makeEvent(QStringLiteral("e"), kCal, utcTime(2024, 5, 1, 10), utcTime(2024, 5, 1, 11));
        e.title = QStringLiteral("Before");
        QVERIFY(events.insert(e));
        QSignalSpy changed(&events, &EventRepository::eventsChanged);
        QTRY_COMPARE(changed.count(), 1);
        store.failWritesTo(table);

        e.title = QStringLiteral("After");
        e.reminders = {reminder(5)};
        e.attendees = {attendee(QStringLiteral("a@example.org"), QStringLiteral("A"))};
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QLatin1Char('^') + message));
        QVERIFY(!events.update(e));
        Event fresh = e;
        fresh.id = QStringLiteral("fresh");
        fresh.uid = QStringLiteral("fresh-uid");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QLatin1Char('^') + message));
        QVERIFY(!events.insert(fresh));

        QCOMPARE(store.cli(QStringLiteral("SELECT id, title FROM events")), QStringLiteral("e|Before"));
        QCOMPARE(store.cli(
                     QStringLiteral("SELECT (SELECT count(*) FROM reminders) + (SELECT count(*) FROM attendees)")),
                 QStringLiteral("0"));
        QTest::qWait(250);
        QCOMPARE(changed.count(), 1);
    }

    // A sync pull writes a batch in its own transaction; one bad event must
    // not take the others, nor the transaction, with it.
    void writesNestInsideACallersTransaction()
    {
        StoreFixture store;
        seedCalendars(store, {kCal});
        EventRepository events(store.db());
        store.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON reminders WHEN NEW.minutes_before = 99 "
                                  "BEGIN SELECT RAISE(ABORT, 'injected'); END"));
        QVERIFY(store.sql().transaction());
        Event good = makeEvent(QStringLiteral("good"), kCal, utcTime(2024, 5, 1, 10), std::nullopt);
        good.reminders = {reminder(5)};
        Event bad = makeEvent(QStringLiteral("bad"), kCal, utcTime(2024, 5, 1, 11), std::nullopt);
        bad.reminders = {reminder(99)};
        Event later = makeEvent(QStringLiteral("later"), kCal, utcTime(2024, 5, 1, 12), std::nullopt);
        QVERIFY(events.insert(good));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^writeReminderRows insert failed:")));
        QVERIFY(!events.insert(bad));
        QVERIFY(events.insert(later));
        QVERIFY(store.sql().commit());
        QCOMPARE(store.cli(QStringLiteral("SELECT group_concat(id) FROM (SELECT id FROM events ORDER BY id)")),
                 QStringLiteral("good,later"));
        QCOMPARE(store.cli(QStringLiteral("SELECT event_id FROM reminders")), QStringLiteral("good"));

        // Rolling the caller's transaction back takes the repository's writes too.
        QVERIFY(store.sql().transaction());
        QVERIFY(events.hardDelete(QStringLiteral("good")));
        QVERIFY(store.sql().rollback());
        QVERIFY(events.getById(QStringLiteral("good")));
    }

    void hardDeleteTakesChildrenAndIsAtomic()
    {
        StoreFixture store;
        seedCalendars(store, {kCal});
        EventRepository events(store.db());
        Event e = makeEvent(QStringLiteral("e"), kCal, utcTime(2024, 5, 1, 10), std::nullopt);
        e.reminders = {reminder(5)};
        e.attendees = {attendee(QStringLiteral("a@example.org"), QStringLiteral("A"))};
        QVERIFY(events.insert(e));
        store.exec(QStringLiteral("INSERT INTO attachments (id, event_id, filename) VALUES ('f', 'e', 'a.pdf')"));

        store.failWritesTo(QStringLiteral("events"), QStringLiteral("DELETE"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^EventRepository::hardDelete failed:")));
        QVERIFY(!events.hardDelete(e.id));
        QCOMPARE(store.cli(QStringLiteral("SELECT (SELECT count(*) FROM reminders) || (SELECT count(*) FROM attendees) "
                                          "|| (SELECT count(*) FROM attachments) || (SELECT count(*) FROM events)")),
                 QStringLiteral("1111"));

        store.exec(QStringLiteral("DROP TRIGGER fail_events_DELETE"));
        QVERIFY(events.hardDelete(e.id));
        QCOMPARE(store.cli(QStringLiteral("SELECT (SELECT count(*) FROM reminders) || (SELECT count(*) FROM attendees) "
                                          "|| (SELECT count(*) FROM attachments) || (SELECT count(*) FROM events)")),
                 QStringLiteral("0000"));
    }

    // --- Reminder triggers ---

    void reminderTriggerFollowsTheStart_data()
    {
        QTest::addColumn<int>("moveMinutes");
        QTest::addColumn<QList<int>>("leads"); // the first keeps the stored reminder's id
        QTest::addColumn<bool>("shown"); // the stored one has fired
        QTest::addColumn<QDateTime>("trigger");
        QTest::addColumn<bool>("acknowledged");
        QTest::addColumn<int>("writes");
        QTest::addColumn<int>("leadOrStateWrites"); // updates that set the lead, action or state
        QTest::addColumn<bool>("storedWithoutId"); // as another program may leave it
        const QDateTime at945 = localTime(2024, 5, 1, 9, 45);
        QTest::newRow("start unchanged: trigger and acknowledgement kept, nothing written")
            << 0 << QList<int>{15} << true << at945 << true << 0 << 0 << false;
        QTest::newRow("start moved two hours later: new trigger, fires again, changed in place")
            << 120 << QList<int>{15} << true << localTime(2024, 5, 1, 11, 45) << false << 1 << 1 << false;
        QTest::newRow("start moved before it fired: its trigger alone is written")
            << 120 << QList<int>{15} << false << localTime(2024, 5, 1, 11, 45) << false << 1 << 0 << false;
        QTest::newRow("start moved earlier: new trigger, fires again")
            << -30 << QList<int>{15} << true << localTime(2024, 5, 1, 9, 15) << false << 1 << 1 << false;
        QTest::newRow("lead changed before it fired") << 0 << QList<int>{30} << false << localTime(2024, 5, 1, 9, 30)
                                                      << false << 1 << 1 << false;
        QTest::newRow("one added: the other kept as it was")
            << 0 << QList<int>{15, 60} << true << at945 << true << 1 << 0 << false;
        QTest::newRow("the only one removed") << 0 << QList<int>{} << true << QDateTime() << false << 1 << 0 << false;
        QTest::newRow("stored without an id, moved: replaced, not doubled")
            << 120 << QList<int>{15} << true << localTime(2024, 5, 1, 11, 45) << false << 2 << 0 << true;
    }
    void reminderTriggerFollowsTheStart()
    {
        QFETCH(int, moveMinutes);
        QFETCH(QList<int>, leads);
        QFETCH(bool, shown);
        QFETCH(QDateTime, trigger);
        QFETCH(bool, acknowledged);
        QFETCH(int, writes);
        QFETCH(int, leadOrStateWrites);
        QFETCH(bool, storedWithoutId);
        StoreFixture store;
        seedCalendars(store, {kCal});
        EventRepository events(store.db());
        Event e = makeEvent(QStringLiteral("e"), kCal, localTime(2024, 5, 1, 10), localTime(2024, 5, 1, 11));
        e.reminders = {reminder(15)};
        QVERIFY(events.insert(e));
        QCOMPARE(events.getById(e.id)->reminders.at(0).trigger_time,
                 std::optional<QDateTime>(localTime(2024, 5, 1, 9, 45)));
        // The reminder service fires it.
        if (shown)
            store.exec(QStringLiteral("UPDATE reminders SET acknowledged = 1"));
        if (storedWithoutId)
            store.exec(QStringLiteral("UPDATE reminders SET id = NULL"));
        // Each row written, and each update that sets the lead, action or
        // state: setting a column rewrites the index entries that name it,
        // even to the value it held.
        store.exec(QStringLiteral("CREATE TEMP TABLE written (named)"));
        for (const char *write : {"INSERT", "UPDATE", "DELETE", "UPDATE OF minutes_before, action, acknowledged"}) {
            store.exec(QStringLiteral("CREATE TEMP TRIGGER \"reminder %1\" AFTER %1 ON main.reminders "
                                      "BEGIN INSERT INTO written VALUES ('%1' LIKE '% OF %'); END")
                           .arg(QLatin1String(write)));
        }

        Event loaded = *events.getById(e.id);
        const QString storedId = loaded.reminders.at(0).id;
        loaded.title = QStringLiteral("renamed");
        loaded.start_time = loaded.start_time.addSecs(moveMinutes * 60);
        loaded.end_time = loaded.end_time->addSecs(moveMinutes * 60);
        QList<Reminder> wanted;
        for (const int lead : leads)
            wanted.append(wanted.isEmpty() ? loaded.reminders.at(0) : reminder(lead));
        if (!wanted.isEmpty())
            wanted.first().minutes_before = leads.first();
        loaded.reminders = wanted;
        QVERIFY(events.update(loaded));
        const QList<Reminder> stored = events.getById(e.id)->reminders;
        QCOMPARE(stored.size(), leads.size());
        if (!stored.isEmpty()) {
            QCOMPARE(stored.at(0).trigger_time, std::optional<QDateTime>(trigger));
            QCOMPARE(stored.at(0).acknowledged, acknowledged);
            QCOMPARE(stored.at(0).id == storedId, !storedWithoutId);
        }
        // Only what changed is written, a row at a time.
        QSqlQuery written(store.sql());
        QVERIFY(written.exec(QStringLiteral("SELECT COUNT(*) - SUM(named), SUM(named) FROM written")) && written.next());
        QCOMPARE(written.value(0).toInt(), writes);
        QCOMPARE(written.value(1).toInt(), leadOrStateWrites);
    }

    // --- Search ---

    void searchMatchesTextLiterally_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("plain word, any ASCII case")
            << QStringLiteral("REVIEW") << QStringList{QStringLiteral("review")};
        QTest::newRow("in the location") << QStringLiteral("room") << QStringList{QStringLiteral("review")};
        QTest::newRow("in the description") << QStringLiteral("agenda") << QStringList{QStringLiteral("review")};
        QTest::newRow("percent is a character, not a wildcard")
            << QStringLiteral("50%") << QStringList{QStringLiteral("sale")};
        QTest::newRow("underscore is a character, not a wildcard")
            << QStringLiteral("a_c") << QStringList{QStringLiteral("under")};
        QTest::newRow("backslash is a character") << QStringLiteral("C:\\tmp") << QStringList{QStringLiteral("path")};
        QTest::newRow("surrounding blanks are trimmed")
            << QStringLiteral("  sale ") << QStringList{QStringLiteral("sale")};
        QTest::newRow("blanks only find nothing") << QStringLiteral("   ") << QStringList();
        QTest::newRow("letters beyond ASCII, any case")
            << QStringLiteral("ärger") << QStringList{QStringLiteral("umlaut")};
        QTest::newRow("accents and cedillas")
            << QStringLiteral("ÉTÉ À LA FAÇADE") << QStringList{QStringLiteral("accent")};
        QTest::newRow("a letter without its accent is another letter") << QStringLiteral("arger") << QStringList();
    }
    void searchMatchesTextLiterally()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        StoreFixture store;
        seedCalendars(store, {kCal});
        EventRepository events(store.db());
        auto add = [&](const char *id, const char *title, int hour) {
            Event e = makeEvent(QString::fromLatin1(id), kCal, utcTime(2024, 5, 1, hour), std::nullopt);
            e.title = QString::fromUtf8(title);
            return e;
        };
        Event review = add("review", "Design review", 9);
        review.location = QStringLiteral("Room 4");
        review.description = QStringLiteral("Agenda attached");
        QVERIFY(events.insert(review));
        QVERIFY(events.insert(add("sale", "50% sale", 10)));
        QVERIFY(events.insert(add("fifty", "500 items", 11)));
        QVERIFY(events.insert(add("under", "a_c", 12)));
        QVERIFY(events.insert(add("abc", "abc", 13)));
        QVERIFY(events.insert(add("path", "Clean C:\\tmp", 14)));
        QVERIFY(events.insert(add("nopath", "C:tmp", 15)));
        QVERIFY(events.insert(add("umlaut", "Ärger im Büro", 16)));
        QVERIFY(events.insert(add("accent", "Fête: été à la façade", 17)));
        QCOMPARE(idsOf(events.search(text, 300)), found);
    }

    void searchLimitIsAtLeastOne()
    {
        StoreFixture store;
        seedCalendars(store, {kCal});
        EventRepository events(store.db());
        for (int i = 0; i < 3; ++i)
            QVERIFY(
                events.insert(makeEvent(QStringLiteral("e%1").arg(i), kCal, utcTime(2024, 5, 1, 9 + i), std::nullopt)));
        QCOMPARE(idsOf(events.search(QStringLiteral("Event"), 0)), QStringList{QStringLiteral("e0")});
        QCOMPARE(events.search(QStringLiteral("Event"), 2).size(), 2);
    }

    // --- Change signal ---

    void burstGivesOneSignalForTheLastCalendar()
    {
        StoreFixture store;
        seedCalendars(store, {QStringLiteral("A"), QStringLiteral("B")});
        EventRepository events(store.db());
        QSignalSpy changed(&events, &EventRepository::eventsChanged);
        QVERIFY(
            events.insert(makeEvent(QStringLiteral("a"), QStringLiteral("A"), utcTime(2024, 5, 1, 9), std::nullopt)));
        // The second write comes 100 ms later, inside the 150 ms window. No
        // event loop runs meanwhile: a busy machine pausing the test must not
        // let the window close early.
        QTest::qSleep(100);
        // Started before the write: the write itself may be paused for longer
        // than the timer's few milliseconds of coarse slack.
        QElapsedTimer sinceLastWrite;
        sinceLastWrite.start();
        QVERIFY(
            events.insert(makeEvent(QStringLiteral("b"), QStringLiteral("B"), utcTime(2024, 5, 1, 9), std::nullopt)));
        QVERIFY(changed.wait(5000)); // no event loop ran since the writes: the signal is still to come
        QVERIFY(sinceLastWrite.elapsed() >= 140);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toString(), QStringLiteral("B"));
        QTest::qWait(200);
        QCOMPARE(changed.count(), 1);
    }

    void writesToMissingRowsSignalAnEmptyCalendar_data()
    {
        QTest::addColumn<int>("operation");
        QTest::newRow("remove") << 0;
        QTest::newRow("hardDelete") << 1;
        QTest::newRow("markSynced") << 2;
        QTest::newRow("scheduleChanged with no calendar") << 3;
    }
    void writesToMissingRowsSignalAnEmptyCalendar()
    {
        QFETCH(int, operation);
        StoreFixture store;
        EventRepository events(store.db());
        QSignalSpy changed(&events, &EventRepository::eventsChanged);
        const QString id = QStringLiteral("missing");
        switch (operation) {
        case 0: QVERIFY(events.remove(id)); break;
        case 1: QVERIFY(events.hardDelete(id)); break;
        case 2: QVERIFY(events.markSynced(id, QStringLiteral("/e.ics"), QStringLiteral("\"1\""))); break;
        default: events.scheduleChanged(QString()); break;
        }
        QTRY_COMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).toString(), QString());
    }

    // A listener that writes while the signal is delivered schedules the next
    // one; that one must name the listener's calendar.
    void writeDuringTheSignalKeepsItsCalendar()
    {
        StoreFixture store;
        seedCalendars(store, {QStringLiteral("A"), QStringLiteral("B")});
        EventRepository events(store.db());
        QStringList seen;
        connect(&events, &EventRepository::eventsChanged, this, [&](const QString &calendarId) {
            seen.append(calendarId);
            if (seen.size() == 1)
                events.insert(
                    makeEvent(QStringLiteral("b"), QStringLiteral("B"), utcTime(2024, 5, 1, 9), std::nullopt));
        });
        QVERIFY(
            events.insert(makeEvent(QStringLiteral("a"), QStringLiteral("A"), utcTime(2024, 5, 1, 9), std::nullopt)));
        QTRY_COMPARE(seen.size(), 2);
        QCOMPARE(seen, (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    }

    // --- Sync bookkeeping and undo ---

    void markSyncedKeepsLastModified()
    {
        StoreFixture store;
        seedCalendars(store, {kCal});
        EventRepository events(store.db());
        Event e = makeEvent(QStringLiteral("e"), kCal, utcTime(2024, 5, 1, 9), std::nullopt);
        e.sync_status = QStringLiteral("pending");
        QVERIFY(events.insert(e));
        QVERIFY(events.markSynced(e.id, QStringLiteral("/cal/e.ics"), QStringLiteral("\"etag-2\"")));
        const Event back = *events.getById(e.id);
        QCOMPARE(back.sync_status, QStringLiteral("synced"));
        QCOMPARE(back.href, QStringLiteral("/cal/e.ics"));
        QCOMPARE(back.etag, QStringLiteral("\"etag-2\""));
        QCOMPARE(back.last_modified, e.last_modified);
        QVERIFY(events.getPending(kCal).isEmpty());
    }

    void restoreBringsBackADeletedEvent_data()
    {
        QTest::addColumn<bool>("deletionPushed");
        QTest::newRow("tombstone still in the table") << false;
        QTest::newRow("row gone after the push") << true;
    }
    void restoreBringsBackADeletedEvent()
    {
        QFETCH(bool, deletionPushed);
        StoreFixture store;
        seedCalendars(store, {kCal});
        EventRepository events(store.db());
        Event e = makeEvent(QStringLiteral("e"), kCal, utcTime(2024, 5, 1, 9), utcTime(2024, 5, 1, 10));
        e.provider_event_id = QStringLiteral("prov-1");
        e.etag = QStringLiteral("\"1\"");
        e.href = QStringLiteral("/cal/e.ics");
        e.reminders = {reminder(10)};
        QVERIFY(events.insert(e));
        const Event snapshot = *events.getById(e.id);
        QVERIFY(events.remove(e.id));
        if (deletionPushed)
            QVERIFY(events.hardDelete(e.id));

        QVERIFY(events.restore(snapshot));
        const Event back = *events.getById(e.id);
        QVERIFY(!back.deleted_at);
        QCOMPARE(back.sync_status, QStringLiteral("pending"));
        QCOMPARE(back.uid, snapshot.uid);
        QCOMPARE(back.created, snapshot.created);
        QCOMPARE(back.reminders, snapshot.reminders);
        QCOMPARE(back.provider_event_id, deletionPushed ? QString() : snapshot.provider_event_id);
        QCOMPARE(back.etag, deletionPushed ? QString() : snapshot.etag);
        QCOMPARE(back.href, deletionPushed ? QString() : snapshot.href);
        QCOMPARE(idsOf(events.getByCalendar(kCal)), QStringList{e.id});
    }
};

QTEST_GUILESS_MAIN(TestEvents)
#include "tst_events.moc"
