#pragma once

#include "event.h"
#include "recurrencerule.h"
#include "zoneclock_p.h"

#include <QByteArray>
#include <QHash>

#include <array>
#include <map>
#include <optional>
#include <vector>

// The starts of event series within one window, as instants in milliseconds
// since the epoch. One expander serves a whole expansion call, so that the
// time zones of its series are looked up once.
class SeriesExpander
{
public:
    // A timed master without an end lasts an hour, an all-day one its day.
    static constexpr qint64 defaultDurationMs = 3'600'000;
    // At most this many starts of one series are returned per call.
    static constexpr int maxStarts = 10'000;

    // Starts from `fromMs` (exclusive of spans ending there) when `bounded`,
    // else from the series' first start, up to `toMs` exclusive.
    SeriesExpander(qint64 fromMs, qint64 toMs, bool bounded = true);
    // A copy would point into the other's rules.
    SeriesExpander(const SeriesExpander &) = delete;
    SeriesExpander &operator=(const SeriesExpander &) = delete;
    SeriesExpander(SeriesExpander &&) = default;
    SeriesExpander &operator=(SeriesExpander &&) = default;

    // At most `max` starts per series from now on; the overlapping starts
    // past it are counted into beyond(), at most `countLimit` per series (then
    // beyondIsLowerBound()), so that a sub-daily series costs in proportion
    // to what is shown.
    void setLimit(int max, qint64 countLimit);
    qint64 beyond() const { return m_beyond; }
    bool beyondIsLowerBound() const { return m_beyondIsLowerBound; }

    static qint64 durationOf(const Event &event);
    static bool repeats(const Event &event);

    // The clock a series keeps its wall clock in.
    const ZoneClock &clockFor(const Event &event);

    // The starts of `event` whose span overlaps the window, ascending: rule
    // starts, recurrence dates and, for an event that has only those, its
    // own start; exception dates removed.
    std::vector<qint64> starts(const Event &event);
    // The same into `out`, whose room is kept from series to series.
    void starts(const Event &event, std::vector<qint64> &out);

    // The rule's starts from the wall clock `dtstartLocal` (seconds) on, each
    // with the start's milliseconds `msRemainder`, for a span of `durationMs`.
    void ruleStarts(const RecurrenceRule &rule, const ZoneClock &clock, qint64 dtstartLocal, int msRemainder,
                    qint64 durationMs, std::vector<qint64> &out);

    bool overlaps(qint64 startMs, qint64 durationMs) const;

    // Hands each value of a date list (JSON array or comma list) to `visit`.
    // With `fromDay` and `toDay` ("yyyyMMdd"), values written on other days
    // are passed over: a series with 100,000 EXDATEs reads a window's few.
    template<typename Visit>
    static void forEachDateValue(const QString &text, Visit visit, const QString &fromDay = {},
                                 const QString &toDay = {});
    // The same values read as instants, floating ones in `floating`.
    static void readDateList(const QString &text, const ZoneClock &floating, std::vector<qint64> &out);
    static std::optional<qint64> readDateValue(QStringView text, const ZoneClock &floating);

private:
    const ZoneClock *namedClock(const QByteArray &id);
    // A zone only the event's own text defines (a VTIMEZONE in raw_icalendar).
    const ZoneClock *definedClock(const Event &event);
    // The wall clock a series repeats at: its start's, unless the start was
    // written at a wall clock a DST gap skipped (RFC 5545 3.3.5), which the
    // instant alone no longer tells.
    static qint64 nominalStart(const Event &event, const ZoneClock &clock, qint64 startSeconds);
    const ZoneClock &fixedClock(int offsetSeconds);
    // Parsed once per text and call: series share a handful of rules.
    const RecurrenceRule &ruleOf(const QString &text);

    qint64 m_fromMs;
    qint64 m_toMs;
    bool m_bounded;
    int m_maxStarts = maxStarts;
    qint64 m_countLimit = 0;
    qint64 m_beyond = 0;
    bool m_beyondIsLowerBound = false;
    std::map<QByteArray, std::optional<ZoneClock>> m_named;
    std::map<int, ZoneClock> m_fixed;
    std::map<QString, std::optional<ZoneClock>> m_defined; // by VTIMEZONE text
    std::optional<ZoneClock> m_local;
    QHash<QString, RecurrenceRule> m_rules;
    // The last rules ruleOf found, pointing into m_rules until it grows.
    std::array<std::pair<QString, const RecurrenceRule *>, 4> m_recentRules;
    size_t m_nextRecent = 0;
};
