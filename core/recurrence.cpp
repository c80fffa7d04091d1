#include "recurrence.h"

#include "civildate_p.h"
#include "corelog.h"
#include "exceptionkey_p.h"
#include "icalendar_p.h"
#include "occurrencebuilder_p.h"
#include "seriesexpander_p.h"

#include <QHash>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <map>

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

// An override written RECURRENCE-ID;RANGE=THISANDFUTURE: its shift and its
// properties go for every later occurrence too (RFC 5545 3.8.4.4). The
// reader keeps the parameter in the row's own text only.
bool appliesOnwards(const Event &row)
{
    if (!row.raw_icalendar.contains(QLatin1String("THISANDFUTURE"), Qt::CaseInsensitive))
        return false;
    using namespace ICalendar::Detail;
    LineReader reader(row.raw_icalendar);
    QStringView line;
    while (reader.next(&line)) {
        if (!line.startsWith(QLatin1String("RECURRENCE-ID"), Qt::CaseInsensitive))
            continue;
        const PropertyView prop = splitLine(line);
        if (prop.is(QLatin1String("RECURRENCE-ID")))
            return equalsUpper(prop.param(QLatin1String("RANGE")), QLatin1String("THISANDFUTURE"));
    }
    return false;
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

// Full records, copies of each master per occurrence.
class EventSink
{
public:
    static constexpr bool kReserve = true;
    explicit EventSink(QList<Event> &out)
        : m_out(out)
    {
    }
    void reserve(qsizetype n) { m_out.reserve(n); }
    void row(const Event &event) { m_out.append(event); }
    void beginSeries(const Event &master, const ZoneClock &clock) { m_builder.setMaster(master, &clock); }
    void generated(qint64 ms) { m_builder.appendTo(m_out, ms); }
    void shifted(const Event &row, qint64 slotMs, qint64 startMs) { m_builder.appendShifted(m_out, row, slotMs, startMs); }

private:
    QList<Event> &m_out;
    OccurrenceBuilder m_builder;
};

// Light occurrences, handed to `visit` one by one.
template<typename Visit>
class OccurrenceSink
{
public:
    static constexpr bool kReserve = false;
    explicit OccurrenceSink(Visit &visit)
        : m_visit(visit)
    {
    }
    void reserve(qsizetype) { }
    void row(const Event &event) { m_visit(Occurrence::ofRow(event)); }
    void beginSeries(const Event &master, const ZoneClock &clock)
    {
        m_master = &master;
        m_durationMs = SeriesExpander::durationOf(master);
        const bool atOffset = master.start_time.timeSpec() == Qt::OffsetFromUTC;
        m_fixedOffset = atOffset ? master.start_time.offsetFromUtc() : 0;
        m_offsets = atOffset && !master.is_all_day ? &clock : nullptr;
    }
    void generated(qint64 ms)
    {
        const qint64 endMs = ms + m_durationMs;
        m_visit(Occurrence::ofSeries(*m_master, ms, endMs, offsetAt(ms), offsetAt(endMs)));
    }
    void shifted(const Event &row, qint64 slotMs, qint64 startMs)
    {
        const int offset = row.start_time.timeSpec() == Qt::OffsetFromUTC ? row.start_time.offsetFromUtc() : 0;
        m_visit(Occurrence::ofShifted(row, slotMs, startMs, startMs + SeriesExpander::durationOf(row), offset));
    }

private:
    int offsetAt(qint64 ms) const
    {
        if (!m_offsets)
            return m_fixedOffset;
        const qint64 seconds = CivilDate::floorDiv(ms, 1000);
        return int(m_offsets->toLocal(seconds) - seconds);
    }

    Visit &m_visit;
    const Event *m_master = nullptr;
    qint64 m_durationMs = 0;
    int m_fixedOffset = 0;
    const ZoneClock *m_offsets = nullptr;
};

template<typename Sink>
void expandWith(SeriesExpander &expander, const QList<Event> &events, const QDateTime &from, const QDateTime &to,
                Sink &sink)
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
        for (const Event *event : std::as_const(oneOffs))
            sink.row(*event);
        return;
    }

    // Every master's starts first when the result is one list, so that it
    // is allocated once; otherwise one master's at a time, so that memory
    // does not grow with the window.
    std::vector<std::vector<qint64>> startsOf;
    if constexpr (Sink::kReserve) {
        startsOf.resize(size_t(masters.size()));
        qsizetype total = oneOffs.size() + overrides.size();
        for (qsizetype m = 0; m < masters.size(); ++m) {
            startsOf[size_t(m)] = expander.starts(*masters[m]);
            total += qsizetype(startsOf[size_t(m)].size());
        }
        sink.reserve(total);
    }
    for (const Event *event : std::as_const(oneOffs))
        sink.row(*event);

    QHash<QString, QList<qsizetype>> overridesBySeries;
    for (qsizetype i = 0; i < overrides.size(); ++i)
        overridesBySeries[seriesKey(overrides[i]->calendar_id, overrides[i]->master_event_uid)].append(i);
    QList<bool> handled(overrides.size(), false);

    std::vector<qint64> current;
    for (qsizetype m = 0; m < masters.size(); ++m) {
        const Event *master = masters[m];
        if constexpr (!Sink::kReserve)
            expander.starts(*master, current);
        const std::vector<qint64> &starts = Sink::kReserve ? startsOf[size_t(m)] : current;
        if (starts.empty()) {
            qCDebug(lcExpansion).noquote()
                << "master uid=" << master->uid << "title=" << master->title << "rrule=" << master->recurrence_rule
                << "dtstart=" << master->start_time.toString(Qt::ISODate) << "→ 0 occurrences in range"
                << from.toString(Qt::ISODate) << "..." << to.toString(Qt::ISODate);
        }
        const ZoneClock &clock = expander.clockFor(*master);
        sink.beginSeries(*master, clock);
        // Most windows hold no override: no key is made for every master.
        const auto series = overridesBySeries.isEmpty()
            ? overridesBySeries.constEnd()
            : overridesBySeries.constFind(seriesKey(master->calendar_id, master->uid));
        if (series == overridesBySeries.constEnd()) {
            for (qint64 ms : starts)
                sink.generated(ms);
            continue;
        }

        // The occurrence each override replaces: an instant, or a day of the
        // series' own calendar (its first occurrence that day).
        using namespace ExceptionKey::Detail;
        QHash<qint64, qsizetype> byInstant;
        QHash<qint64, qsizetype> byDay;
        // By the start they replace, those for every later start too.
        std::map<qint64, qsizetype> onwards;
        const qint64 masterSeconds = master->start_time.toSecsSinceEpoch();
        const qint64 secondOfDay = clock.toLocal(masterSeconds) - dayOf(masterSeconds * 1000, clock) * 86400;
        for (qsizetype i : *series) {
            if (const auto slot = read(overrides[i]->recurrence_id, master->is_all_day, clock)) {
                (slot->isDay ? byDay : byInstant).insert(slot->value, i);
                const qint64 slotMs = startOf(*slot, secondOfDay, clock);
                onwards.erase(slotMs);
                if (overrides[i]->start_time.isValid() && appliesOnwards(*overrides[i]))
                    onwards.emplace(slotMs, i);
            }
        }
        // Shifted starts come from outside the window as well.
        qint64 reach = 0;
        const qint64 durationMs = SeriesExpander::durationOf(*master);
        for (const auto &[slot, i] : onwards) {
            const Event &row = *overrides[i];
            reach = std::max(reach, std::abs(row.start_time.toMSecsSinceEpoch() - slot)
                                 + std::abs(SeriesExpander::durationOf(row) - durationMs));
        }
        std::vector<qint64> around;
        if (!onwards.empty())
            around = SeriesExpander(from.toMSecsSinceEpoch() - reach, to.toMSecsSinceEpoch() + reach).starts(*master);
        for (qint64 ms : onwards.empty() ? starts : around) {
            auto it = byInstant.constFind(ms);
            if (it == byInstant.constEnd() && !byDay.isEmpty()) {
                it = byDay.constFind(dayOf(ms, clock));
                if (it == byDay.constEnd())
                    it = byInstant.constEnd();
            }
            if (it == byInstant.constEnd() || handled[*it]) {
                // Any later single override is found above: it wins.
                const auto after = onwards.upper_bound(ms);
                if (after == onwards.begin()) {
                    if (expander.overlaps(ms, durationMs))
                        sink.generated(ms);
                    continue;
                }
                const auto &[slot, i] = *std::prev(after);
                const Event &row = *overrides[i];
                const qint64 startMs = ms + row.start_time.toMSecsSinceEpoch() - slot;
                if (expander.overlaps(startMs, SeriesExpander::durationOf(row)))
                    sink.shifted(row, ms, startMs);
            } else {
                // Moved out of the window, it takes its occurrence along.
                handled[*it] = true;
                if (spanOverlaps(*overrides[*it], expander))
                    sink.row(*overrides[*it]);
            }
        }
        // Moved in from a start outside the window, or onto an excluded one.
        for (qsizetype i : *series) {
            if (!handled[i]) {
                handled[i] = true;
                if (spanOverlaps(*overrides[i], expander))
                    sink.row(*overrides[i]);
            }
        }
    }
    // An instance without its series, as an invitation to one occurrence gives.
    for (qsizetype i = 0; i < overrides.size(); ++i) {
        if (!handled[i] && spanOverlaps(*overrides[i], expander))
            sink.row(*overrides[i]);
    }
}

SeriesExpander windowExpander(const QDateTime &from, const QDateTime &to)
{
    return SeriesExpander(from.isValid() ? from.toMSecsSinceEpoch() : 0, to.isValid() ? to.toMSecsSinceEpoch() : 0);
}

QList<Event> expandToEvents(SeriesExpander &expander, const QList<Event> &events, const QDateTime &from,
                            const QDateTime &to)
{
    QList<Event> result;
    EventSink sink(result);
    expandWith(expander, events, from, to, sink);
    return result;
}

QList<Occurrence> expandToOccurrences(SeriesExpander &expander, const QList<Event> &events, const QDateTime &from,
                                      const QDateTime &to)
{
    QList<Occurrence> result;
    const auto append = [&result](const Occurrence &occurrence) { result.append(occurrence); };
    OccurrenceSink sink(append);
    expandWith(expander, events, from, to, sink);
    return result;
}

// At most `maxPerSeries` of each master, the rest counted.
template<typename Result, typename Expand>
Result expandBounded(const QList<Event> &events, const QDateTime &from, const QDateTime &to, int maxPerSeries,
                     Expand expand)
{
    SeriesExpander expander = windowExpander(from, to);
    expander.setLimit(maxPerSeries, qint64(std::max(maxPerSeries, 1)) * kCountedPerShown);
    Result result;
    result.occurrences = expand(expander, events, from, to);
    result.more = expander.beyond();
    result.moreIsLowerBound = expander.beyondIsLowerBound();
    return result;
}

} // namespace

bool isSeriesRow(const Event &event)
{
    return event.isOverride() || SeriesExpander::repeats(event);
}

QList<Event> expandEvents(const QList<Event> &events, const QDateTime &from, const QDateTime &to)
{
    SeriesExpander expander = windowExpander(from, to);
    return expandToEvents(expander, events, from, to);
}

BoundedExpansion expandEventsBounded(const QList<Event> &events, const QDateTime &from, const QDateTime &to,
                                     int maxPerSeries)
{
    return expandBounded<BoundedExpansion>(events, from, to, maxPerSeries, expandToEvents);
}

QList<Occurrence> expandOccurrences(const QList<Event> &events, const QDateTime &from, const QDateTime &to)
{
    SeriesExpander expander = windowExpander(from, to);
    return expandToOccurrences(expander, events, from, to);
}

BoundedOccurrences expandOccurrencesBounded(const QList<Event> &events, const QDateTime &from, const QDateTime &to,
                                            int maxPerSeries)
{
    return expandBounded<BoundedOccurrences>(events, from, to, maxPerSeries, expandToOccurrences);
}

void forEachOccurrence(const QList<Event> &events, const QDateTime &from, const QDateTime &to,
                       const std::function<void(const Occurrence &)> &visit)
{
    SeriesExpander expander = windowExpander(from, to);
    OccurrenceSink sink(visit);
    expandWith(expander, events, from, to, sink);
}

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
