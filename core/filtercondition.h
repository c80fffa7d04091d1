#pragma once

#include <QString>
#include <QStringList>

#include <variant>

// The parsed "conditions" JSON of a filter rule. The alternatives keep the
// order of the "runtimeType" kinds: pattern, time, specific, allDay.

struct PatternCondition
{
    QStringList titleContains;
    QStringList titleExact;
    QStringList descriptionContains;
    QStringList locationContains;
    bool caseSensitive = false;
};

// Times are "HH:mm" text, compared as text.
struct TimeCondition
{
    QString timeExact;
    QString rangeStart;
    QString rangeEnd;
    QStringList daysOfWeek;
    bool recurringOnly = false;
};

// The event is named by the rule's event_uid and event_calendar_id.
struct SpecificCondition
{ };

struct AllDayCondition
{
    bool recurringOnly = false;
};

using FilterCondition = std::variant<PatternCondition, TimeCondition, SpecificCondition, AllDayCondition>;
