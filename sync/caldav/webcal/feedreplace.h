#pragma once

#include "event.h"

#include <QDateTime>
#include <QList>
#include <QString>

class Database;
class EventRepository;

namespace Webcal {

struct FeedReplaceResult
{
    int inserted = 0;
    int updated = 0;
    int unchanged = 0; // stored exactly as the feed has them: not written
    int deleted = 0;
    int failed = 0; // writes the store refused
    bool committed = false;

    // Events of the feed that the calendar holds after the replace.
    int held() const { return inserted + updated + unchanged; }
    bool changed() const { return inserted + updated + deleted > 0; }
};

// Makes the calendar hold exactly the feed's events, in one transaction
// (joining a caller's). An event is keyed by its UID and recurrence id, as
// the store's unique index keys it, so a series and its overridden
// occurrences are separate rows; of two components with the same key the
// later one wins. A row whose stored text equals the feed's, DTSTAMP lines
// aside (feeds restamp every event on every download), keeps its id and is
// not written. Events without a UID are left out. When anything was
// written, one coalesced change signal follows for the calendar.
FeedReplaceResult replaceCalendarEvents(Database *database, EventRepository *events, const QString &calendarId,
                                        QList<Event> feed, const QDateTime &now);

} // namespace Webcal
