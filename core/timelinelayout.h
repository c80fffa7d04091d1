#pragma once

#include "event.h"

#include <QList>

// One timed occurrence placed in a day column: lane `column` of `columnCount`
// equal lanes shared by its cluster of overlapping occurrences.
struct TimelineItem
{
    Event event;
    int column = 0;
    int columnCount = 0;
};

// Lays out the timed occurrences of one day column. The result holds one item
// per occurrence, sorted by start and then by end (an occurrence without
// end_time ends at its start); ties keep the input order. Touching
// occurrences (one ends when the next starts) do not overlap.
QList<TimelineItem> layoutTimedEvents(QList<Event> events);
