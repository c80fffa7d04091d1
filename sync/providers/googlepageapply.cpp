#include "googlepageapply.h"

#include "eventrepository.h"
#include "googlecalendarclient.h"
#include "providereventrepository.h"
#include "recordnames.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace Google {

PageApply::PageApply(const Listing &listing, const ProviderStore &store, ProviderApplyJob::Outcome &outcome)
    : m_listing(listing)
    , m_store(store)
    , m_outcome(outcome)
    , m_columns(store.database, listing.calendarId)
    , m_rows(rowsOf(store, listing.calendarId))
    , m_problems(store.database, listing.calendarId)
    , m_unreadable(m_problems.unreadableItems())
    // One read of the calendar's server ids rather than one per item.
    , m_rowOf(ProviderEventRepository(store.database).rowsByProviderId(listing.calendarId))
{
}

ProviderRows PageApply::rowsOf(const ProviderStore &store, const QString &calendarId)
{
    return ProviderRows(
        store, calendarId,
        [calendarId](const QJsonObject &item) { return CalendarClient::eventFromJson(item, calendarId); },
        &CalendarClient::eventToJson);
}

void PageApply::run(const Listing &listing, const ProviderStore &store, ProviderApplyJob::Outcome &outcome,
                    const std::atomic<bool> &cancelled)
{
    PageApply apply(listing, store, outcome);
    const ProviderRows::Round round(apply.m_rows);
    for (const QJsonObject &item : listing.items) {
        if (cancelled)
            return;
        apply.applyItem(item);
    }
    apply.finish();
}

void PageApply::applyItem(const QJsonObject &item)
{
    EventRepository *events = m_store.events;
    const QString providerId = item.value("id"_L1).toString();
    if (providerId.isEmpty())
        return;
    m_listed.insert(providerId);
    const QString localId = m_rowOf.value(providerId);
    if (item.value("status"_L1).toString() == EventStatus::Cancelled) {
        const QString series = item.value("recurringEventId"_L1).toString();
        const QString startKey = CalendarClient::originalStartKey(item);
        if (!series.isEmpty() && !startKey.isEmpty())
            m_cancelledInstances.append({series, startKey});
        if (!localId.isEmpty()) {
            if (series.isEmpty())
                m_outcome.tombstoned += dropOccurrences(localId);
            // A deletion the store refused keeps the sync token where it
            // was: the next listing brings it again.
            if (!events->hardDelete(localId)) {
                ++m_outcome.failed;
                return;
            }
            m_rowOf.remove(providerId);
            m_rows.gone(providerId);
            ++m_outcome.tombstoned;
        }
        return;
    }
    const QString etag = item.value("etag"_L1).toString();
    // Met before in this version and not storable then: it waits for its next one.
    const auto unreadable = m_unreadable.constFind(providerId);
    if (unreadable != m_unreadable.cend() && *unreadable == etag)
        return;
    Event mapped = CalendarClient::eventFromJson(item, m_listing.calendarId);
    std::optional<Event> local = localId.isEmpty() ? std::nullopt : events->getById(localId);
    if (!mapped.master_event_uid.isEmpty())
        local = matchOccurrence(mapped, local);
    bool stored = true;
    if (!local) {
        stored = mapped.start_time.isValid() && m_rows.insert(mapped);
        if (stored)
            m_rowOf.insert(providerId, mapped.id);
    } else if (local->etag == mapped.etag && !mapped.etag.isEmpty()) {
        return; // our own write coming back
    } else {
        stored = mapped.start_time.isValid() && m_rows.take(*local, mapped);
    }
    if (stored) {
        ++m_outcome.upserted;
        if (unreadable != m_unreadable.cend())
            m_problems.readable(providerId);
    } else {
        ++m_outcome.failed;
        m_problems.unreadable(providerId, etag,
                              QCoreApplication::translate("Google::SyncClient", "The event could not be stored here."));
    }
}

std::optional<Event> PageApply::matchOccurrence(Event &mapped, std::optional<Event> local)
{
    // The series row names its occurrences by its own uid, which for a
    // series made here is not Google's id.
    EventRepository *events = m_store.events;
    const QString masterId = m_rowOf.value(mapped.master_event_uid);
    const std::optional<Event> master = masterId.isEmpty() ? std::nullopt : events->getById(masterId);
    if (!master)
        return local;
    mapped.master_event_uid = master->uid;
    if (local)
        return local;
    // An occurrence changed here before the server knew it as an instance
    // is that instance: one row, not two.
    const std::optional<Event> made = events->getByUidAndRecurrenceId(master->uid, mapped.calendar_id,
                                                                      mapped.recurrence_id);
    if (!made || !made->provider_event_id.isEmpty())
        return std::nullopt;
    if (m_columns.takeServerIdentity(made->id, mapped.provider_event_id, made->etag))
        m_rowOf.insert(mapped.provider_event_id, made->id);
    return events->getById(made->id);
}

int PageApply::dropOccurrences(const QString &seriesRowId)
{
    // A series deleted there takes its changed occurrences along: the server
    // need not list each of them as cancelled.
    EventRepository *events = m_store.events;
    const std::optional<Event> series = events->getById(seriesRowId);
    if (!series || series->recurrence_rule.isEmpty())
        return 0;
    int dropped = 0;
    for (const Event &row : events->getByCalendarWithoutChildren(m_listing.calendarId)) {
        if (row.master_event_uid == series->uid && row.isOverride() && row.sync_status == SyncStatus::Synced
            && events->hardDelete(row.id)) {
            m_rowOf.remove(row.provider_event_id);
            m_rows.gone(row.provider_event_id);
            ++dropped;
        }
    }
    return dropped;
}

void PageApply::finish()
{
    // After every item: the series row may have come later in the listing.
    for (const auto &[series, startKey] : std::as_const(m_cancelledInstances)) {
        if (m_columns.addException(series, startKey))
            ++m_outcome.tombstoned;
    }
    // A complete listing names every event there is: synced rows it does
    // not name were deleted while the sync token had expired.
    if (m_listing.complete && m_outcome.failed == 0)
        m_outcome.tombstoned += m_rows.pruneUnlisted(m_listed);
}

} // namespace Google
