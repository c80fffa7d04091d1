#pragma once

#include "database.h"
#include "icalendarfilereader.h"
#include "storefailure.h"

#include <QString>

#include <atomic>
#include <functional>

class EventRepository;

// The events of an .ics file taken into one calendar.
namespace IcsImport {

enum class Outcome {
    Stored, // the file was read to its end and the events committed
    Unreadable, // the file could not be opened or read; nothing stored
    Cancelled, // nothing stored
    StoreFailed // the database failed (see `failure`); nothing stored
};

struct Result
{
    Outcome outcome = Outcome::Unreadable;
    StoreFailure::Kind failure = StoreFailure::None;
    int added = 0;
    int updated = 0; // events of the calendar with the same UID and recurrence id
    int unchanged = 0; // events of the calendar that already held what the file has
    // Items of the file left out, by the reason.
    ICalendarFileReader::Skipped unread;
    int withoutStart = 0; // no DTSTART, or one that cannot be read
    int refused = 0; // the store's constraints turned the event down
    int tasks = 0; // VTODOs of the file: only events are imported
    // Said beside the counts; nothing was left out for them.
    int repairedValues = 0; // lines that were not UTF-8, read as Windows-1252
    // The file ends without END:VCALENDAR between two events; a cut inside
    // one is counted in `unread.cutShort`.
    bool cutShort = false;

    int skipped() const { return unread.missingEnd + unread.cutShort + unread.withoutUid + withoutStart + refused; }
};

// Called now and then with the share of the file read, 0 to 1000.
using ProgressFunction = std::function<void(int permille)>;

// Reads `path` (UTF-8, UTF-16 or Windows-1252 iCalendar text) a batch of
// events at a time and stores its events in `calendarId`. Importing the same
// file again updates what the first import added instead of doubling it; a
// deleted copy comes back. Every stored row is SyncStatus::Pending, so the next sync
// pushes it to the calendar's server.
// All or nothing: the file goes in as one transaction on `database`, the
// connection of `events`, and a failure of the database (a full disk, an I/O
// error, a lock held too long) or `*cancel` becoming true rolls all of it
// back. Only an event the store refuses on its own is left out and counted.
Result importFile(EventRepository *events, Database *database, const QString &path, const QString &calendarId,
                  const std::atomic<bool> *cancel = nullptr, const ProgressFunction &progress = {});

} // namespace IcsImport
