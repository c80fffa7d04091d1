#pragma once

#include "event.h"

// One write of EventRepository::writeBatch, and what became of it.
struct EventWrite
{
    enum class Kind {
        Insert, // as EventRepository::insert
        Update, // as EventRepository::update
        // Stored by its calendar, UID and recurrence id: a row with that key
        // (a tombstone too) is rewritten as update() does, keeping its id,
        // server identity (provider event id, etag, href) and created;
        // without one the record goes in as insert() does, under a new id
        // and, when it has none, created now. A standing row that already
        // holds what the record brings is left as it is (Unchanged).
        Import,
        Delete, // as EventRepository::hardDelete of the record's id
    };
    enum class Outcome {
        Added,
        Updated,
        Deleted,
        Unchanged, // an import found its row as it would write it
        Refused, // the store turned this write down; the others stand
        Failed, // the store failed (StoreFailure::last()): none of the batch stands
    };
    // Who takes a failed batch back: a savepoint of its own, or, inside a
    // transaction, the caller, who then rolls all of it back. A batch
    // without a savepoint leaves a refused write out only when it wrote
    // nothing, else it fails.
    enum class Undo { Savepoint, Caller };

    Kind kind = Kind::Insert;
    Event event;
};
