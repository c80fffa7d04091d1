#include "eventundo.h"

#include "eventmerge.h"
#include "eventrepository.h"
#include "icalendar.h"
#include "recordnames.h"

using namespace Qt::StringLiterals;

namespace EventUndo {

bool restore(EventRepository *events, const Event &before, const std::optional<Event> &after)
{
    if (!events)
        return false;
    const std::optional<Event> current = events->getById(before.id);
    if (!current)
        return events->restore(before);
    Event row = before;
    // Written whole, the old content would take back a colleague's edit that
    // a sync brought since, and the push would overwrite it on the server.
    if (after && EventMerge::differs(*after, *current)) {
        bool conflict = false;
        row = EventMerge::merge(*after, before, *current, &conflict);
        // What the record does not map comes from the newest text.
        row.raw_icalendar = current->raw_icalendar;
        const QString text = row.raw_icalendar.trimmed();
        if (text.isEmpty() || text.startsWith(u"BEGIN:"_s, Qt::CaseInsensitive))
            row.raw_icalendar = ICalendar::serializeEvent(row);
    }
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
    QList<std::optional<Event>> after;
    for (const Event &event : before)
        after.append(events ? events->getById(event.id) : std::nullopt);
    return {label, [events, before, after] {
                for (qsizetype i = 0; i < before.size(); ++i)
                    restore(events, before.at(i), after.at(i));
            }};
}

} // namespace EventUndo
