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
