#pragma once

#include "event.h"

#include <QList>

class EventRepository;

namespace SeriesRows {

// The live override rows of a series (same calendar, its uid as master uid),
// with their reminders and attendees; none for a row without a uid.
QList<Event> liveOverrides(EventRepository *events, const Event &series);

} // namespace SeriesRows
