#pragma once

#include <QString>

class Database;
class EventRepository;

// The events of an .ics file taken into one calendar.
namespace IcsImport {

struct Result
{
    bool readable = false; // the file could be opened and read
    int added = 0;
    int updated = 0; // events of the calendar with the same UID and recurrence id
    int failed = 0;  // events without a start, or refused by the repository
};

// Reads `path` as UTF-8 iCalendar text and stores its events in
// `calendarId`. Importing the same file again updates what the first import
// added instead of doubling it; a deleted copy comes back. Every stored row
// is "pending", so the next sync pushes it to the calendar's server.
// The file goes in as one transaction on `database`, the connection of
// `events`.
Result importFile(EventRepository *events, Database *database, const QString &path,
                  const QString &calendarId);

} // namespace IcsImport
