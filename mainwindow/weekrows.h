#pragma once

#include "event.h"
#include "filterrule.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class EventRepository;

// The lines of the week list for one week, in the order it shows them: per
// day a heading, its first 100 occurrences after the filter rules and a line
// counting the rest. Made without widgets from the store's light rows, so
// that a week of tens of thousands of rows can be read on a thread of its own
// over its own connection.
struct WeekRows
{
    enum class Kind { Day, Occurrence, More };
    struct Line
    {
        Kind kind = Kind::Day;
        QString text;
        QDate day;
        Event occurrence; // Kind::Occurrence: the light row at its own times
        bool dimmed = false;
    };
    // What one read needs of the application state, taken on its thread.
    struct Request
    {
        QDate weekStart;
        QStringList calendarIds; // none: nothing is listed
        QList<FilterRule> rules; // the enabled ones, in order
    };

    QDate weekStart;
    QStringList calendarIds;
    QList<Line> lines;
    // What the read went through: the store's rows and the occurrences
    // placed, and the events' change counter before it (none: unknown).
    qsizetype work = 0;
    std::optional<qint64> changes;

    static WeekRows read(const EventRepository &events, const Request &request);
};
