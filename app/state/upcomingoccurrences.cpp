#include "upcomingoccurrences.h"

#include "appstate.h"
#include "calendarrepository.h"
#include "eventrepository.h"
#include "filterengine.h"
#include "filterrulerepository.h"
#include "recurrence.h"
#include "timeutil.h"
#include "viewrepository.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>

namespace {

// More of one series than the tray could list.
constexpr int kPerSeries = 100;

} // namespace

QStringList upcomingCalendarIds(const AppState *state)
{
    QStringList ids;
    if (!state || !state->calendars())
        return ids;
    const std::optional<CalendarView> group = state->views() ? state->views()->getById(state->activeViewId())
                                                             : std::nullopt;
    if (group) {
        const QJsonDocument listed = QJsonDocument::fromJson(group->calendar_ids.toUtf8());
        if (listed.isArray()) {
            for (const QJsonValue &id : listed.array())
                ids.append(id.toString());
        }
    }
    if (ids.isEmpty()) {
        for (const Calendar &calendar : state->calendars()->getAll()) {
            if (calendar.is_visible)
                ids.append(calendar.id);
        }
    }
    return ids;
}

QList<Event> upcomingOccurrences(const AppState *state)
{
    return upcomingOccurrences(state, QDateTime::currentDateTime());
}

QList<Event> upcomingOccurrences(const AppState *state, const QDateTime &now)
{
    const QStringList ids = upcomingCalendarIds(state);
    if (ids.isEmpty() || !state->events())
        return {};

    const QDate today = now.toLocalTime().date();
    const QDate tomorrow = today.addDays(1);
    // startOfDay: midnight itself may not exist on a day that changes zone.
    const QDateTime from = today.startOfDay();
    const QDateTime to(tomorrow, QTime(23, 59, 59));

    // What the tray draws needs only the light rows.
    const QList<Event> rows = state->events()->getViewRowsInRange(from, to, ids);
    // Timed occurrences from now on, all-day ones from today's start, each
    // series bounded: one of every second would otherwise give hundreds of
    // thousands, all from the night before. Placed light; the records made
    // for those kept.
    QList<Occurrence> occurrences;
    for (const Occurrence &occurrence : Recurrence::expandOccurrencesBounded(rows, now, to, kPerSeries).occurrences) {
        if (!occurrence.event().is_all_day)
            occurrences.append(occurrence);
    }
    for (const Occurrence &occurrence : Recurrence::expandOccurrencesBounded(rows, from, to, kPerSeries).occurrences) {
        if (occurrence.event().is_all_day)
            occurrences.append(occurrence);
    }
    if (state->filterRules())
        occurrences = FilterEngine::applyToOccurrences(occurrences, state->filterRules()->getEnabled()).occurrences;

    QList<Event> kept;
    for (const Occurrence &occurrence : std::as_const(occurrences)) {
        if (occurrence.event().is_all_day) {
            const QDate date = occurrence.start().date();
            if (date == today || date == tomorrow)
                kept.append(occurrence.toEvent());
        } else if (occurrence.end().value_or(occurrence.start()) > now) {
            kept.append(occurrence.toEvent());
        }
    }
    const auto startOf = [](const Event &e) { return TimeUtil::placedStart(e.start_time, e.is_all_day); };
    std::sort(kept.begin(), kept.end(), [&](const Event &a, const Event &b) { return startOf(a) < startOf(b); });
    return kept;
}

std::optional<Event> nextUpcomingOccurrence(const AppState *state)
{
    return nextUpcomingOccurrence(state, QDateTime::currentDateTime());
}

std::optional<Event> nextUpcomingOccurrence(const AppState *state, const QDateTime &now)
{
    const QList<Event> occurrences = upcomingOccurrences(state, now);
    if (occurrences.isEmpty())
        return std::nullopt;
    return occurrences.first();
}
