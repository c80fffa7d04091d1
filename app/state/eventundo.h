#pragma once

#include "event.h"
#include "undostack.h"

#include <QList>
#include <QString>

#include <optional>

class EventRepository;

// Taking back a change to events (a move, a resize, a deletion): one way for
// every place that pushes such an entry.
namespace EventUndo {

// Puts `before` back as its row: the old content, marked SyncStatus::Pending so the
// next push sends it, with the row's current server identity (ETag, href,
// provider id) so that the push overwrites the server's copy instead of
// failing on a stale ETag and being reverted by the next pull; when the
// server holds the change already, with a SEQUENCE past it. A row that is
// gone (its deletion was pushed) is inserted again without a server identity.
// Given `after`, the row as the change left it, what was changed elsewhere
// since (a sync brought another's edit) stays: only the change is taken back.
bool restore(EventRepository *events, const Event &before, const std::optional<Event> &after = std::nullopt);

// An entry restoring each event of `before` in order, e.g. a series and its
// overrides, taking the rows as they are now for what the change left. The
// repository must outlive the stack.
UndoEntry entry(EventRepository *events, const QString &label, const QList<Event> &before);

} // namespace EventUndo
