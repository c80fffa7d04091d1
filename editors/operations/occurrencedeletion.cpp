#include "occurrencedeletion.h"

#include "eventrepository.h"
#include "exceptionkey.h"
#include "icalendar.h"
#include "recordnames.h"
#include "seriesrows.h"
#include "storetransaction.h"
#include "timeutil.h"

using namespace Qt::StringLiterals;

namespace OccurrenceDeletion {

namespace {

struct Target
{
    Event series;
    QDateTime slot; // the start the occurrence has in its series
    std::optional<Event> override; // the row that replaces it, if any
};

bool repeats(const Event &row)
{
    return !row.recurrence_rule.isEmpty() || !row.recurrence_dates.isEmpty();
}

// The series, the occurrence's place in it and its override row, from what
// the views show.
std::optional<Target> targetOf(EventRepository *events, const Event &occurrence)
{
    const std::optional<Event> row = events->getById(occurrence.id);
    if (!row || row->deleted_at)
        return std::nullopt;
    if (!row->isOverride())
        return Target{*row, occurrence.start_time, std::nullopt};
    const std::optional<Event> master = events->getByUid(row->master_event_uid, row->calendar_id);
    const std::optional<Event> series = master ? events->getById(master->id) : std::nullopt;
    if (!series || series->deleted_at)
        return Target{*row, row->start_time, std::nullopt};
    const QDateTime slot = ExceptionKey::startOf(*series, row->recurrence_id);
    return Target{*series, slot, row};
}

bool updateSeries(EventRepository *events, Event series)
{
    series.sequence += 1;
    series.last_modified = QDateTime::currentDateTimeUtc();
    series.sync_status = SyncStatus::Pending;
    // Provider rows hold the provider's JSON, pushed from the fields.
    if (series.raw_icalendar.trimmed().isEmpty() || series.raw_icalendar.trimmed().startsWith(u"BEGIN:"_s))
        series.raw_icalendar = ICalendar::serializeEvent(series);
    return events->update(series);
}

bool removeAll(EventRepository *events, const QList<Event> &rows)
{
    for (const Event &row : rows) {
        if (!events->remove(row.id))
            return false;
    }
    return true;
}

// Excludes the one occurrence; returns the rows written.
bool excludeOne(EventRepository *events, const Target &target, QList<Event> &before)
{
    Event series = target.series;
    QStringList excluded = SeriesRows::dateValues(series.exception_dates);
    const QString key = ExceptionKey::of(series, target.slot);
    if (!ExceptionKey::listed(series, excluded, key))
        excluded.append(key);
    series.exception_dates = SeriesRows::storedDates(excluded);
    before = {target.series};
    if (target.override)
        before.append(*target.override);
    return updateSeries(events, series) && (!target.override || events->remove(target.override->id));
}

// Ends the series before the occurrence.
bool endBefore(EventRepository *events, const Target &target, QList<Event> &before)
{
    Event series = target.series;
    const auto earlier = [&](const QStringList &values) {
        QStringList kept;
        for (const QString &value : values) {
            const QDateTime instant = ExceptionKey::startOf(target.series, value);
            if (!instant.isValid() || instant < target.slot)
                kept.append(value);
        }
        return kept;
    };
    if (!series.recurrence_rule.isEmpty())
        series.recurrence_rule = endSeriesBefore(series.recurrence_rule, target.slot.addSecs(-1), series.is_all_day);
    series.exception_dates = SeriesRows::storedDates(earlier(SeriesRows::dateValues(series.exception_dates)));
    series.recurrence_dates = SeriesRows::storedDates(earlier(SeriesRows::dateValues(series.recurrence_dates)));
    QList<Event> later;
    for (const Event &row : SeriesRows::liveOverrides(events, target.series)) {
        const QDateTime slot = ExceptionKey::startOf(target.series, row.recurrence_id);
        if (slot.isValid() && slot >= target.slot)
            later.append(row);
    }
    before = QList<Event>{target.series} + later;
    return updateSeries(events, series) && removeAll(events, later);
}

} // namespace

std::optional<QList<Event>> remove(EventRepository *events, const Event &occurrence, RecurringEditScope scope)
{
    if (!events || scope == RecurringEditScope::None)
        return std::nullopt;
    const std::optional<Target> target = targetOf(events, occurrence);
    if (!target)
        return std::nullopt;

    StoreTransaction transaction(events->database());
    if (!transaction.isActive())
        return std::nullopt;
    QList<Event> before;
    bool ok = false;
    const bool first = target->slot <= target->series.start_time;
    if (!repeats(target->series)) {
        before = {target->series};
        ok = events->remove(target->series.id);
    } else if (scope == RecurringEditScope::ThisEvent) {
        ok = excludeOne(events, *target, before);
    } else if (scope == RecurringEditScope::ThisAndFollowing && !first) {
        ok = endBefore(events, *target, before);
    } else {
        // A series goes with its overrides.
        before = QList<Event>{target->series} + SeriesRows::liveOverrides(events, target->series);
        ok = removeAll(events, before);
    }
    if (!ok || !transaction.keep())
        return std::nullopt;
    return before;
}

} // namespace OccurrenceDeletion
