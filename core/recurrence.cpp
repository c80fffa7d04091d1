#include "recurrence.h"

#include "civildate_p.h"
#include "corelog.h"
#include "occurrencebuilder_p.h"
#include "seriesexpander_p.h"

#include <QHash>

#include <algorithm>

#include <limits>

namespace {

bool spanOverlaps(const Event &event, const SeriesExpander &window)
{
    if (!event.start_time.isValid())
        return false;
    return window.overlaps(event.start_time.toMSecsSinceEpoch(), SeriesExpander::durationOf(event));
}

QString seriesKey(const QString &calendarId, const QString &uid)
{
    return calendarId + QLatin1Char('|') + uid;
}

} // namespace

namespace Recurrence {

QList<Event> expandEvent(const Event &event, const QDateTime &from, const QDateTime &to)
{
    if (!SeriesExpander::repeats(event)) {
        if (!event.start_time.isValid() || !to.isValid() || event.start_time >= to)
            return {};
        if (event.end_time && *event.end_time <= from)
            return {};
        return {event};
    }
    if (!from.isValid() || !to.isValid())
        return {};
    SeriesExpander expander(from.toMSecsSinceEpoch(), to.toMSecsSinceEpoch());
    const std::vector<qint64> starts = expander.starts(event);
    OccurrenceBuilder builder;
    builder.setMaster(event, &expander.clockFor(event));
    QList<Event> result;
    result.reserve(qsizetype(starts.size()));
    for (qint64 ms : starts)
        builder.appendTo(result, ms);
    return result;
}

namespace {

// Starts past a view's bound counted per series, at most this many times the
// bound: enough to tell a busy day, cheap for a series of every second.
constexpr qint64 kCountedPerShown = 20;

QList<Event> expandWith(SeriesExpander &expander, const QList<Event> &events, const QDateTime &from,
                        const QDateTime &to);

} // namespace

bool isSeriesRow(const Event &event)
{
    return event.isOverride() || SeriesExpander::repeats(event);
}

QList<Event> expandEvents(const QList<Event> &events, const QDateTime &from, const QDateTime &to)
{
    if (!from.isValid() || !to.isValid()) {
        SeriesExpander none(0, 0);
        return expandWith(none, events, from, to);
    }
    SeriesExpander expander(from.toMSecsSinceEpoch(), to.toMSecsSinceEpoch());
    return expandWith(expander, events, from, to);
}

BoundedExpansion expandEventsBounded(const QList<Event> &events, const QDateTime &from, const QDateTime &to,
                                     int maxPerSeries)
{
    SeriesExpander expander(from.isValid() ? from.toMSecsSinceEpoch() : 0, to.isValid() ? to.toMSecsSinceEpoch() : 0);
    expander.setLimit(maxPerSeries, qint64(std::max(maxPerSeries, 1)) * kCountedPerShown);
    BoundedExpansion result;
    result.occurrences = expandWith(expander, events, from, to);
    result.more = expander.beyond();
    result.moreIsLowerBound = expander.beyondIsLowerBound();
    return result;
}

namespace {

QList<Event> expandWith(SeriesExpander &expander, const QList<Event> &events, const QDateTime &from,
                        const QDateTime &to)
{
    QList<const Event *> oneOffs;
    QList<const Event *> masters;
    QList<const Event *> overrides;
    QHash<QString, qsizetype> overrideByKey; // calendar|uid|recurrence id: a later row wins
    for (const Event &event : events) {
        if (event.isOverride()) {
            const QString key = seriesKey(event.calendar_id, event.master_event_uid) + QLatin1Char('|')
                + event.recurrence_id;
            const auto it = overrideByKey.constFind(key);
            if (it != overrideByKey.constEnd()) {
                overrides[*it] = &event;
            } else {
                overrideByKey.insert(key, overrides.size());
                overrides.append(&event);
            }
        } else if (SeriesExpander::repeats(event)) {
            masters.append(&event);
        } else {
            oneOffs.append(&event);
        }
    }

    if (!from.isValid() || !to.isValid()) {
        QList<Event> result;
        for (const Event *event : std::as_const(oneOffs))
            result.append(*event);
        return result;
    }

    // Every master's starts first, so that the result is allocated once.
    std::vector<std::vector<qint64>> startsOf(size_t(masters.size()));
    qsizetype total = oneOffs.size() + overrides.size();
    for (qsizetype m = 0; m < masters.size(); ++m) {
        startsOf[size_t(m)] = expander.starts(*masters[m]);
        total += qsizetype(startsOf[size_t(m)].size());
    }
    QList<Event> result;
    result.reserve(total);
    for (const Event *event : std::as_const(oneOffs))
        result.append(*event);

    QHash<QString, QList<qsizetype>> overridesBySeries;
    for (qsizetype i = 0; i < overrides.size(); ++i)
        overridesBySeries[seriesKey(overrides[i]->calendar_id, overrides[i]->master_event_uid)].append(i);
    QList<bool> handled(overrides.size(), false);
    OccurrenceBuilder builder;

    for (qsizetype m = 0; m < masters.size(); ++m) {
        const Event *master = masters[m];
        const std::vector<qint64> &starts = startsOf[size_t(m)];
        if (starts.empty()) {
            qCDebug(lcExpansion).noquote()
                << "master uid=" << master->uid << "title=" << master->title << "rrule=" << master->recurrence_rule
                << "dtstart=" << master->start_time.toString(Qt::ISODate) << "→ 0 occurrences in range"
                << from.toString(Qt::ISODate) << "..." << to.toString(Qt::ISODate);
        }
        builder.setMaster(*master, &expander.clockFor(*master));
        const auto series = overridesBySeries.constFind(seriesKey(master->calendar_id, master->uid));
        if (series == overridesBySeries.constEnd()) {
            for (qint64 ms : starts)
                builder.appendTo(result, ms);
            continue;
        }

        // The start each override replaces, read in the series' own zone.
        QHash<qint64, qsizetype> bySlot;
        const ZoneClock &clock = expander.clockFor(*master);
        for (qsizetype i : *series) {
            if (const auto slot = SeriesExpander::readDateValue(overrides[i]->recurrence_id, clock))
                bySlot.insert(*slot, i);
        }
        for (qint64 ms : starts) {
            const auto it = bySlot.constFind(ms);
            if (it == bySlot.constEnd()) {
                builder.appendTo(result, ms);
            } else if (!handled[*it]) {
                // Moved out of the window, it takes its occurrence along.
                handled[*it] = true;
                if (spanOverlaps(*overrides[*it], expander))
                    result.append(*overrides[*it]);
            }
        }
        // Moved in from a start outside the window, or onto an excluded one.
        for (qsizetype i : *series) {
            if (!handled[i]) {
                handled[i] = true;
                if (spanOverlaps(*overrides[i], expander))
                    result.append(*overrides[i]);
            }
        }
    }
    // An instance without its series, as an invitation to one occurrence gives.
    for (qsizetype i = 0; i < overrides.size(); ++i) {
        if (!handled[i] && spanOverlaps(*overrides[i], expander))
            result.append(*overrides[i]);
    }
    return result;
}

} // namespace

QSet<qint64> parseExceptionDates(const QString &text, const QTimeZone &floatingZone)
{
    std::vector<qint64> instants;
    SeriesExpander::readDateList(text, ZoneClock::forZone(floatingZone), instants);
    return QSet<qint64>(instants.begin(), instants.end());
}

QList<QDateTime> occurrenceStarts(const RecurrenceRule &rule, const QDateTime &dtstart, const QDateTime &windowEnd)
{
    if (!dtstart.isValid() || !windowEnd.isValid())
        return {};
    SeriesExpander expander(std::numeric_limits<qint64>::min(), windowEnd.toMSecsSinceEpoch(), false);
    Event series;
    series.start_time = dtstart;
    series.timezone.clear();
    const ZoneClock &clock = expander.clockFor(series);
    const qint64 startMs = dtstart.toMSecsSinceEpoch();
    std::vector<qint64> starts;
    expander.ruleStarts(rule, clock, clock.toLocal(CivilDate::floorDiv(startMs, 1000)),
                        int(CivilDate::floorMod(startMs, 1000)), 0, starts);
    OccurrenceBuilder builder;
    builder.setMaster(series);
    QList<QDateTime> result;
    result.reserve(qsizetype(starts.size()));
    for (qint64 ms : starts)
        result.append(builder.at(ms));
    return result;
}

} // namespace Recurrence
