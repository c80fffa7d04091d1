#pragma once

#include "event.h"
#include "recurringeditscope.h"

#include <QList>

#include <optional>

class EventRepository;

// Deleting an occurrence of a repeating event as far as the user chose.
namespace OccurrenceDeletion {

// Removes `occurrence` (as expansion gives it: a generated occurrence with
// its series' id and its own start, or an override row) as far as `scope`
// reaches. ThisEvent excludes it from its series (an EXDATE) and removes its
// override row, if any; ThisAndFollowing ends the series before it and drops
// the overrides, exception and recurrence dates from it on (the whole series
// when it is the first); AllEvents removes the series with its overrides. A
// row that does not repeat is removed alone whatever the scope. All rows or
// none (one savepoint). The rows as they were before, for undo; nullopt for
// None, an unknown row or a failed write.
std::optional<QList<Event>> remove(EventRepository *events, const Event &occurrence, RecurringEditScope scope);

} // namespace OccurrenceDeletion
