#pragma once

#include "recurrencerule.h"

#include <limits>
#include <optional>
#include <utility>
#include <vector>

// Walks the periods of a recurrence rule (years, months, weeks, days, hours,
// minutes or seconds, every INTERVAL-th from the one holding DTSTART) and
// yields each period's starts as wall-clock seconds since 1970-01-01T00:00 in
// the series' own zone. BYxxx parts expand or limit as in RFC 5545 3.3.10;
// BYSETPOS picks from each period's set. Whether a start lies before DTSTART,
// after UNTIL or beyond COUNT is the caller's business.
class RuleIterator
{
public:
    enum class Frequency { Secondly, Minutely, Hourly, Daily, Weekly, Monthly, Yearly };
    static std::optional<Frequency> frequencyOf(const QString &freq);

    RuleIterator(const RecurrenceRule &rule, Frequency frequency, qint64 dtstartLocal);

    // Jumps ahead to the period holding `localSeconds` (or the last one of the
    // rule's rhythm before it) and leaves out the days before it; never moves
    // back. Only for a rule without COUNT, whose earlier starts do not count.
    void skipTo(qint64 localSeconds);
    // Jumps over the periods whose every start lies before `localSeconds`
    // and returns how many it passed; the days it lands on are kept. For a
    // rule whose every period holds exactly one start (see oneStartPerPeriod),
    // so that COUNT can be counted without walking.
    qint64 skipWholePeriodsBefore(qint64 localSeconds);
    // Every period holds exactly one start, DTSTART's time in it: no BYxxx
    // part, and a frequency of a week or shorter.
    static bool oneStartPerPeriod(const RecurrenceRule &rule, Frequency frequency);
    // Periods that start after `localSeconds` are never produced.
    void setLimit(qint64 localSeconds) { m_limit = localSeconds; }

    // Fills `starts` with the next period that has any, ascending. False when
    // the limit or the work bound is reached.
    bool nextPeriod(std::vector<qint64> &starts);

private:
    struct DayFilter
    {
        quint16 months = 0;
        quint32 monthDaysFromStart = 0; // bit d: day d
        quint32 monthDaysFromEnd = 0; // bit n: day -n
        quint8 weekdays = 0; // bit d: ISO weekday d, every one
        std::vector<std::pair<int, int>> nthWeekdays; // (ordinal, weekday)
        std::vector<int> yearDays;
        std::vector<int> weekNumbers;
        bool ordinalsInMonth = false; // else in the year
        bool onlyWeekdays = false;
        int weekStart = 1;

        bool hasWeekdays() const { return weekdays != 0 || !nthWeekdays.empty(); }
        bool onlyMonthDays() const { return !hasWeekdays() && yearDays.empty() && weekNumbers.empty(); }
        bool matches(qint64 day) const;
        bool weekNumberMatches(qint64 day) const;
        qint64 firstDayOfWeekYear(int year) const;
    };

    qint64 periodStart(qint64 index) const;
    qint64 indexOf(qint64 localSeconds) const;
    void advanceTo(qint64 localSeconds);
    void collectDays(qint64 index, std::vector<qint64> &days) const;
    void collectMonth(int year, int month, std::vector<qint64> &days) const;
    bool fillSubDaily(qint64 start, std::vector<qint64> &starts);
    // A DAILY or longer period's starts from m_days and m_dayTimes.
    void collectStarts(std::vector<qint64> &starts) const;
    // The BYSETPOS picks among `setSize` ascending starts, `at(i)` the i-th.
    template<typename At>
    void pickSetPos(qint64 setSize, At at, std::vector<qint64> &picked) const;

    Frequency m_frequency;
    qint64 m_step;
    qint64 m_index = 0;
    qint64 m_lastIndex = 0; // the period holding 31 Dec 9999
    qint64 m_limit = 0;
    qint64 m_firstDay = std::numeric_limits<qint64>::min(); // set by skipTo
    qint64 m_periodsVisited = 0;
    DayFilter m_filter;
    bool m_matchesNothing = false;
    std::vector<int> m_dayTimes; // seconds of the day, DAILY and longer periods
    std::vector<int> m_hourTimes; // seconds of the hour, HOURLY
    std::vector<int> m_minuteTimes; // seconds of the minute, MINUTELY
    quint32 m_hours = 0;
    quint64 m_minutes = 0;
    quint64 m_seconds = 0;
    std::vector<int> m_setPos;
    std::vector<qint64> m_days; // scratch
    std::vector<qint64> m_set; // scratch
    qint64 m_cachedDay = 0;
    bool m_cachedDayValid = false;
    bool m_cachedDayMatches = false;
};
