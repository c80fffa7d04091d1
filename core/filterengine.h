#pragma once

#include "event.h"
#include "filtercondition.h"
#include "filterrule.h"
#include "occurrence.h"

#include <QList>
#include <QSet>
#include <QString>

#include <optional>

// What stays visible of a list of occurrences once the filter rules ran.
// Occurrences of one series share the series' id, so the id sets name series.
struct FilterOutcome
{
    QList<Event> events; // visible occurrences in input order, dimmed ones included
    QSet<QString> dimmedIds;
    int hiddenCount = 0;
    QSet<QString> suppressedReminderIds; // every hidden id, dimmed ids of rules that suppress
};

// The same for light occurrences.
struct OccurrenceFilterOutcome
{
    QList<Occurrence> occurrences;
    QSet<QString> dimmedIds;
    int hiddenCount = 0;
    QSet<QString> suppressedReminderIds;
};

// Hide-or-dim rules applied to expanded occurrences. Stateless: each call
// parses the rules it is given.
namespace FilterEngine {

// Rules that are disabled or tombstoned are skipped; the rest decide in
// ascending priority, ties in the given order. The first matching rule
// decides, whatever its action.
FilterOutcome apply(const QList<Event> &occurrences, QList<FilterRule> rules);
// apply() for light occurrences, with the same verdicts.
OccurrenceFilterOutcome applyToOccurrences(const QList<Occurrence> &occurrences, QList<FilterRule> rules);
std::optional<FilterRule> matchingRule(const Event &event, QList<FilterRule> rules);

// Empty when the text is not a JSON object naming one of the four kinds.
std::optional<FilterCondition> parseConditions(const QString &conditions);
// A JSON array of calendar ids; anything unreadable contributes nothing.
QSet<QString> parseCalendarIds(const QString &calendarIds);

bool matches(const Event &event, const FilterRule &rule, const FilterCondition &condition);
bool matchPattern(const Event &event, const PatternCondition &condition);
// Compares the start in local time.
bool matchTime(const Event &event, const TimeCondition &condition);

// "mon".."sun" in any letter case give 1..7; anything else 0.
int weekdayFromName(const QString &name);

} // namespace FilterEngine
