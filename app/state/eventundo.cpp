#include "eventundo.h"

#include "eventrepository.h"
#include "recordnames.h"

namespace EventUndo {

bool restore(EventRepository *events, const Event &before)
{
    if (!events)
        return false;
    const std::optional<Event> current = events->getById(before.id);
    if (!current)
        return events->restore(before);
    Event row = before;
    row.etag = current->etag;
    row.href = current->href;
    row.provider_event_id = current->provider_event_id;
    row.deleted_at.reset();
    row.sync_status = SyncStatus::Pending;
    // Once the server holds the change (a push gave the row a new version),
    // taking it back is a newer revision: with the old SEQUENCE, attendees
    // and scheduling servers would drop the restored event as outdated.
    if (current->sync_status == SyncStatus::Synced || current->etag != before.etag)
        row.sequence = qMax(before.sequence, current->sequence) + 1;
    return events->update(row);
}

UndoEntry entry(EventRepository *events, const QString &label, const QList<Event> &before)
{
    return {label, [events, before] {
                for (const Event &event : before)
                    restore(events, event);
            }};
}

} // namespace EventUndo
