#include "caldaveventstore.h"

#include "caldavlog.h"
#include "eventrepository.h"
#include "recordnames.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// Above this many series in one resource, the rows at its href are read
// once rather than a query per series.
constexpr qsizetype kSeriesLookups = 32;

// A series UID and a recurrence id name one object of a resource.
QString objectKey(const QString &seriesUid, const QString &recurrenceId)
{
    return seriesUid + QLatin1Char('\n') + recurrenceId;
}

// The server's copy carries no local acknowledgement: an alarm that was
// dismissed here stays dismissed when the event changes elsewhere.
void keepAcknowledged(QList<Reminder> &fresh, const QList<Reminder> &stored)
{
    for (Reminder &reminder : fresh) {
        for (const Reminder &old : stored) {
            if (old.acknowledged && old.minutes_before == reminder.minutes_before
                && old.action.compare(reminder.action, Qt::CaseInsensitive) == 0) {
                reminder.acknowledged = true;
                break;
            }
        }
    }
}

} // namespace

CalDavEventStore::CalDavEventStore(Database *database, EventRepository *events, const QString &calendarId)
    : CalDavItemStore(database, calendarId, u"events"_s)
    , m_events(events)
{
}

QString CalDavEventStore::seriesUid(const Event &event)
{
    return !event.recurrence_id.isEmpty() && !event.master_event_uid.isEmpty() ? event.master_event_uid : event.uid;
}

void CalDavEventStore::applyResource(const Fetched &fetched, qsizetype first, qsizetype end, const QDateTime &now,
                                     Applied &applied)
{
    const CalDavParse::Resource &resource = fetched.resource;
    const QString etag = etagWhileWriting(fetched, end);
    for (qsizetype i = first; i < end; ++i) {
        Event event = fetched.events.at(i);
        event.href = resource.href;
        event.etag = etag;
        ++applied.parsed;
        tally(applied, applyEvent(event, now));
    }
    if (end < fetched.events.size())
        return;
    QSet<QString> keys;
    QSet<QString> seriesUids;
    for (const Event &event : fetched.events) {
        keys.insert(objectKey(event.uid, event.recurrence_id));
        seriesUids.insert(event.uid);
    }
    // Overrides the server's copy no longer holds (an occurrence another
    // client reverted or dropped), looked up by UID; a resource of many
    // series in one read of the rows at its href.
    QList<CalDavRowRepository::SeriesRow> rows;
    if (seriesUids.size() > kSeriesLookups) {
        const QList<CalDavRowRepository::SeriesRow> atHref = m_rows.seriesRowsAt(m_calendarId, resource.href);
        for (const CalDavRowRepository::SeriesRow &stored : atHref) {
            if (seriesUids.contains(stored.uid) || seriesUids.contains(stored.masterUid))
                rows.append(stored);
        }
    } else {
        for (const QString &uid : std::as_const(seriesUids))
            rows += m_rows.seriesRowsAt(m_calendarId, resource.href, uid);
    }
    QStringList stale;
    bool pending = false;
    for (const CalDavRowRepository::SeriesRow &stored : std::as_const(rows)) {
        Event row;
        row.uid = stored.uid;
        row.recurrence_id = stored.recurrenceId;
        row.master_event_uid = stored.masterUid;
        if (stored.pending)
            pending = true;
        else if (!keys.contains(objectKey(seriesUid(row), row.recurrence_id)))
            stale.append(stored.id);
    }
    for (const QString &id : std::as_const(stale))
        m_events->hardDelete(id);
    if (!keys.isEmpty())
        keepText(resource, pending);
}

CalDavItemStore::Written CalDavEventStore::applyEvent(Event event, const QDateTime &now)
{
    const std::optional<Event> stored = find(event);
    qCDebug(lcCalDav) << "[CalDav] pull row" << event.title << "uid=" << event.uid
                      << "recurrenceId=" << (event.recurrence_id.isEmpty() ? u"(empty)"_s : event.recurrence_id)
                      << "existing=" << stored.has_value() << "serverStart=" << event.start_time.toString(Qt::ISODate);
    switch (meet(event, stored, now)) {
    case Outcome::Keep: return Written::No;
    case Outcome::Insert: return written(m_events->insert(event));
    case Outcome::Replace: break;
    }
    // Servers and clients that drop alarms or attendees must not erase them here.
    if (const std::optional<Event> full = m_events->getById(stored->id)) {
        if (event.reminders.isEmpty())
            event.reminders = full->reminders;
        else
            keepAcknowledged(event.reminders, full->reminders);
        if (event.attendees.isEmpty())
            event.attendees = full->attendees;
    }
    return written(m_events->update(event));
}

std::optional<Event> CalDavEventStore::find(const Event &event) const
{
    std::optional<Event> stored = m_events->getByUidAndRecurrenceId(event.uid, m_calendarId, event.recurrence_id);
    if (stored || event.recurrence_id.isEmpty())
        return stored;
    // An override made here carries a UID of its own and the series UID as master.
    const QString id = m_rows.overrideId(m_calendarId, event.uid, event.recurrence_id);
    return id.isEmpty() ? std::nullopt : m_events->getById(id);
}

QStringList CalDavEventStore::pendingKeys() const
{
    const QList<Event> pending = m_events->getPending(m_calendarId);
    if (!pending.isEmpty())
        qCDebug(lcCalDav) << "[CalDav] Event push for calendar" << m_calendarId << "pending=" << pending.size();
    QStringList queue;
    QSet<QString> queued;
    for (const Event &event : pending) {
        qCDebug(lcCalDav) << "  -" << event.title << "id=" << event.id << "uid=" << event.uid
                          << "deletedAt=" << (event.deleted_at ? "yes" : "no")
                          << "href=" << (event.href.isEmpty() ? u"(empty)"_s : event.href);
        const QString series = seriesUid(event);
        if (!queued.contains(series)) {
            queued.insert(series);
            queue.append(series);
        }
    }
    return queue;
}

bool CalDavEventStore::removeRow(const QString &id)
{
    return m_events->hardDelete(id);
}

void CalDavEventStore::scheduleChanged()
{
    m_events->scheduleChanged(m_calendarId);
}

QList<Event> CalDavEventStore::series(const QString &seriesUid) const
{
    const QStringList ids = m_rows.seriesIds(m_calendarId, seriesUid);
    QList<Event> rows;
    for (const QString &id : std::as_const(ids)) {
        if (const std::optional<Event> event = m_events->getById(id))
            rows.append(*event);
    }
    return rows;
}
