#include "eventrepository.h"

#include "calendarfilter.h"
#include "changecoalescer.h"
#include "database.h"
#include "eventchildrows.h"
#include "storesql.h"
#include "timewindow.h"

#include <QHash>
#include <QSet>
#include <QTimeZone>

#include <algorithm>

using namespace StoreSql;

namespace {

const QLatin1String kColumns(
    "id, calendar_id, uid, provider_event_id, etag, href, title, description, location, "
    "geo_location, start_time, end_time, is_all_day, timezone, recurrence_rule, "
    "recurrence_dates, exception_dates, recurrence_id, master_event_uid, status, event_url, "
    "conference_url, organizer_email, organizer_name, sequence, raw_icalendar, color, created, "
    "last_modified, sync_status, deleted_at");
constexpr int kStartColumn = 10;
constexpr int kEndColumn = 11;

// Zones by IANA id for one query: building a QTimeZone reads the zone
// database, far too slow to repeat for every row.
class ZoneCache
{
public:
    QTimeZone zone(const QString &id)
    {
        auto it = m_zones.constFind(id);
        if (it == m_zones.constEnd())
            it = m_zones.insert(id, QTimeZone(id.toUtf8()));
        return it.value();
    }

private:
    QHash<QString, QTimeZone> m_zones;
};

Event rowToEvent(const QSqlQuery &q, ZoneCache &zones)
{
    Event e;
    e.id = readText(q.value(0));
    e.calendar_id = readText(q.value(1));
    e.uid = readText(q.value(2));
    e.provider_event_id = readText(q.value(3));
    e.etag = readText(q.value(4));
    e.href = readText(q.value(5));
    e.title = readText(q.value(6));
    e.description = readText(q.value(7));
    e.location = readText(q.value(8));
    e.geo_location = readText(q.value(9));
    e.start_time = readTime(q.value(kStartColumn));
    e.end_time = readOptionalTime(q.value(kEndColumn));
    e.is_all_day = q.value(12).toInt() != 0;
    e.timezone = readText(q.value(13));
    e.recurrence_rule = readText(q.value(14));
    e.recurrence_dates = readText(q.value(15));
    e.exception_dates = readText(q.value(16));
    e.recurrence_id = readText(q.value(17));
    e.master_event_uid = readText(q.value(18));
    e.status = readText(q.value(19));
    e.event_url = readText(q.value(20));
    e.conference_url = readText(q.value(21));
    e.organizer_email = readText(q.value(22));
    e.organizer_name = readText(q.value(23));
    e.sequence = q.value(24).toInt();
    e.raw_icalendar = readText(q.value(25));
    e.color = readText(q.value(26));
    e.created = readTime(q.value(27));
    e.last_modified = readTime(q.value(28));
    e.sync_status = readText(q.value(29));
    e.deleted_at = readOptionalTime(q.value(30));

    // The same instants, shown in the event's own zone.
    if (!e.timezone.isEmpty() && e.timezone != QLatin1String("UTC")) {
        const QTimeZone zone = zones.zone(e.timezone);
        if (zone.isValid() && e.start_time.isValid()) {
            e.start_time = e.start_time.toTimeZone(zone);
            if (e.end_time && e.end_time->isValid())
                e.end_time = e.end_time->toTimeZone(zone);
        }
    }
    return e;
}

// Runs a SELECT of the event columns and hands every mapped row, with the
// query positioned on it, to `visit`.
template<typename Visit>
void forEachRow(QSqlDatabase &db, const QString &whereAndOrder, const QVariantList &values,
                Visit visit)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!run(query, QStringLiteral("SELECT %1 FROM events ").arg(kColumns) + whereAndOrder, values))
        return;
    ZoneCache zones;
    while (query.next())
        visit(rowToEvent(query, zones), query);
}

// The columns from calendar_id to color, shared by insert and update.
QVariantList contentValues(const Event &e)
{
    return {text(e.calendar_id), text(e.uid), text(e.provider_event_id), text(e.etag),
            text(e.href), text(e.title), text(e.description), text(e.location),
            text(e.geo_location), time(e.start_time), time(e.end_time), flag(e.is_all_day),
            text(e.timezone), text(e.recurrence_rule), text(e.recurrence_dates),
            text(e.exception_dates), text(e.recurrence_id), text(e.master_event_uid),
            text(e.status), text(e.event_url), text(e.conference_url), text(e.organizer_email),
            text(e.organizer_name), e.sequence, text(e.raw_icalendar), text(e.color)};
}

QString statusOr(const QString &status, QLatin1String fallback)
{
    return status.isEmpty() ? QString(fallback) : status;
}

// Whether a row of the range query belongs to the window: a timed row on its
// instants, an all-day row on the dates of its stored text. Overrides always
// do; a repeating master and a row without an end once they start in time.
bool inWindow(const TimeWindow &window, const Event &e, const QString &startText, const QString &endText)
{
    if (e.isOverride())
        return true;
    const bool open = !e.recurrence_rule.isEmpty();
    if (e.is_all_day) {
        const QDate start = TimeWindow::storedDate(startText);
        const QDate end = TimeWindow::storedDate(endText);
        if (!start.isValid())
            return false;
        if (open || !end.isValid())
            return window.overlapsDays(start, window.endDay());
        // An all-day event covers at least its first day.
        return window.overlapsDays(start, std::max(end, start.addDays(1)));
    }
    if (!e.start_time.isValid())
        return false;
    if (open || !e.end_time || !e.end_time->isValid())
        return e.start_time < window.to();
    return window.overlaps(e.start_time, *e.end_time);
}

QString escapeLike(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size() + 4);
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            escaped += QLatin1Char('\\');
        escaped += c;
    }
    return escaped;
}

} // namespace

EventRepository::EventRepository(Database *database, QObject *parent)
    : QObject(parent)
    , m_database(database)
    , m_changes(new ChangeCoalescer(this))
{
    connect(m_changes, &ChangeCoalescer::fired, this, &EventRepository::eventsChanged);
}

QList<Event> EventRepository::select(const QString &whereAndOrder, const QVariantList &values) const
{
    QList<Event> events;
    forEachRow(m_database->database(), whereAndOrder, values,
               [&events](Event &&e, const QSqlQuery &) { events.append(std::move(e)); });
    return events;
}

QList<Event> EventRepository::getByCalendar(const QString &calendarId) const
{
    QList<Event> events = select(
        QStringLiteral("WHERE calendar_id = ? AND deleted_at IS NULL ORDER BY start_time"), {calendarId});
    EventChildRows::loadRemindersForEvents(m_database->database(), events);
    EventChildRows::loadAttendeesForEvents(m_database->database(), events);
    return events;
}

std::optional<Event> EventRepository::getById(const QString &id) const
{
    QList<Event> found = select(QStringLiteral("WHERE id = ?"), {id});
    if (found.isEmpty())
        return std::nullopt;
    Event event = found.takeFirst();
    EventChildRows::loadReminders(m_database->database(), event);
    EventChildRows::loadAttendees(m_database->database(), event);
    return event;
}

std::optional<Event> EventRepository::getByUid(const QString &uid, const QString &calendarId) const
{
    const QList<Event> found =
        select(QStringLiteral("WHERE uid = ? AND calendar_id = ? LIMIT 1"), {uid, calendarId});
    if (found.isEmpty())
        return std::nullopt;
    return found.first();
}

std::optional<Event> EventRepository::getByUidAndRecurrenceId(const QString &uid,
                                                              const QString &calendarId,
                                                              const QString &recurrenceId) const
{
    const QList<Event> found = select(
        QStringLiteral("WHERE uid = ? AND calendar_id = ? AND COALESCE(recurrence_id, '') = "
                       "COALESCE(?, '')"),
        {uid, calendarId, text(recurrenceId)});
    if (found.isEmpty())
        return std::nullopt;
    return found.first();
}

QList<Event> EventRepository::getInRange(const QDateTime &from, const QDateTime &to,
                                         const QStringList &calendarIds) const
{
    const TimeWindow window(from, to);
    if (!window.isValid())
        return {};
    const CalendarFilter calendars(calendarIds);
    QList<Event> events;
    QSet<QString> seen;
    const auto keep = [&](Event &&e, const QSqlQuery &q) {
        if (!calendars.accepts(e.calendar_id) || seen.contains(e.id)
            || !inWindow(window, e, q.value(kStartColumn).toString(), q.value(kEndColumn).toString()))
            return;
        seen.insert(e.id);
        events.append(std::move(e));
    };

    QSqlDatabase &db = m_database->database();
    forEachRow(db,
               QStringLiteral("WHERE start_time < ? AND (end_time IS NULL OR end_time > ? OR "
                              "(recurrence_rule IS NOT NULL AND recurrence_rule != '')) AND "
                              "deleted_at IS NULL")
                   + calendars.sqlClause() + QStringLiteral(" ORDER BY start_time"),
               QVariantList{window.upperBoundText(), window.lowerBoundText()} + calendars.values(),
               keep);
    // Overrides whatever their own times: expansion puts each in the place of
    // the occurrence it replaces, which may lie in the window.
    forEachRow(db,
               QStringLiteral("WHERE master_event_uid > '' AND recurrence_id > '' AND deleted_at "
                              "IS NULL")
                   + calendars.sqlClause(),
               calendars.values(), keep);

    std::stable_sort(events.begin(), events.end(), [](const Event &a, const Event &b) {
        return a.start_time < b.start_time;
    });
    EventChildRows::loadRemindersForEvents(db, events);
    EventChildRows::loadAttendeesForEvents(db, events);
    return events;
}

QList<Event> EventRepository::getPending(const QString &calendarId) const
{
    return select(QStringLiteral("WHERE calendar_id = ? AND sync_status = 'pending' ORDER BY start_time"),
                  {calendarId});
}

QList<Event> EventRepository::search(const QString &text, int limit) const
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    const QString pattern = QLatin1Char('%') + escapeLike(trimmed) + QLatin1Char('%');
    return select(QStringLiteral("WHERE deleted_at IS NULL AND (title LIKE ? ESCAPE '\\' OR "
                                 "location LIKE ? ESCAPE '\\' OR description LIKE ? ESCAPE '\\') "
                                 "ORDER BY start_time ASC LIMIT ?"),
                  {pattern, pattern, pattern, std::max(limit, 1)});
}

bool EventRepository::write(const Event &e, bool isUpdate)
{
    const char *operation = isUpdate ? "EventRepository::update" : "EventRepository::insert";
    QSqlDatabase &db = m_database->database();
    Savepoint savepoint(db, QLatin1String("event_write"));
    QSqlQuery query(db);
    bool ok = savepoint.isActive();
    if (ok && isUpdate) {
        QVariantList values = contentValues(e);
        values += {nowText(), statusOr(e.sync_status, QLatin1String("pending")), time(e.deleted_at),
                   text(e.id)};
        ok = run(query,
                 QStringLiteral(
                     "UPDATE events SET calendar_id = ?, uid = ?, provider_event_id = ?, etag = ?, "
                     "href = ?, title = ?, description = ?, location = ?, geo_location = ?, "
                     "start_time = ?, end_time = ?, is_all_day = ?, timezone = ?, "
                     "recurrence_rule = ?, recurrence_dates = ?, exception_dates = ?, "
                     "recurrence_id = ?, master_event_uid = ?, status = ?, event_url = ?, "
                     "conference_url = ?, organizer_email = ?, organizer_name = ?, sequence = ?, "
                     "raw_icalendar = ?, color = ?, last_modified = ?, sync_status = ?, "
                     "deleted_at = ? WHERE id = ?"),
                 values);
    } else if (ok) {
        QVariantList values{text(e.id)};
        values += contentValues(e);
        values += {time(e.created), time(e.last_modified),
                   statusOr(e.sync_status, QLatin1String("synced")), time(e.deleted_at)};
        ok = run(query,
                 QStringLiteral("INSERT INTO events (%1) VALUES (%2)").arg(kColumns, placeholders(31)),
                 values);
    }
    if (!ok) {
        logFailure(operation, query);
        return false;
    }
    query.finish();
    if (!EventChildRows::writeReminderRows(db, e) || !EventChildRows::writeAttendeeRows(db, e))
        return false;
    if (!savepoint.release()) {
        qCWarning(lcStore).noquote() << operation << "failed: savepoint release";
        return false;
    }
    m_changes->schedule(e.calendar_id);
    return true;
}

bool EventRepository::insert(const Event &event)
{
    return write(event, false);
}

bool EventRepository::update(const Event &event)
{
    return write(event, true);
}

bool EventRepository::remove(const QString &id)
{
    QSqlDatabase &db = m_database->database();
    const QString calendarId = calendarIdOf(db, QLatin1String("events"), id);
    const QString now = nowText();
    QSqlQuery query(db);
    if (!run(query,
             QStringLiteral("UPDATE events SET deleted_at = ?, sync_status = 'pending', "
                            "last_modified = ? WHERE id = ?"),
             {now, now, id})) {
        logFailure("EventRepository::remove", query);
        return false;
    }
    m_changes->schedule(calendarId);
    return true;
}

bool EventRepository::restore(const Event &event)
{
    Event copy = event;
    copy.deleted_at.reset();
    copy.sync_status = QStringLiteral("pending");
    if (getById(copy.id)) {
        const bool ok = update(copy);
        qCInfo(lcStore).noquote() << "[Undo] cleared tombstone on existing row" << copy.id
                                  << "ok=" << ok;
        return ok;
    }
    copy.provider_event_id.clear();
    copy.etag.clear();
    copy.href.clear();
    const bool ok = insert(copy);
    qCInfo(lcStore).noquote() << "[Undo] re-inserted row" << copy.id << "title=" << copy.title
                              << "ok=" << ok;
    return ok;
}

bool EventRepository::hardDelete(const QString &id)
{
    QSqlDatabase &db = m_database->database();
    const QString calendarId = calendarIdOf(db, QLatin1String("events"), id);
    Savepoint savepoint(db, QLatin1String("event_delete"));
    for (const char *table : {"attendees", "attachments", "reminders"})
        EventChildRows::deleteEventChildRows(db, QLatin1String(table), id);
    QSqlQuery query(db);
    if (!run(query, QStringLiteral("DELETE FROM events WHERE id = ?"), {id})) {
        logFailure("EventRepository::hardDelete", query);
        return false;
    }
    if (!savepoint.release()) {
        qCWarning(lcStore).noquote() << "EventRepository::hardDelete failed: savepoint release";
        return false;
    }
    m_changes->schedule(calendarId);
    return true;
}

bool EventRepository::markSynced(const QString &id, const QString &href, const QString &etag)
{
    QSqlDatabase &db = m_database->database();
    const QString calendarId = calendarIdOf(db, QLatin1String("events"), id);
    QSqlQuery query(db);
    if (!run(query, QStringLiteral("UPDATE events SET href = ?, etag = ?, sync_status = 'synced' WHERE id = ?"),
             {text(href), text(etag), id}))
        return false;
    m_changes->schedule(calendarId);
    return true;
}

void EventRepository::scheduleChanged(const QString &calendarId)
{
    m_changes->schedule(calendarId);
}
