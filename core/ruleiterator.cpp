#include "ruleiterator_p.h"

#include "civildate_p.h"

#include <algorithm>
#include <cstdlib>

using namespace CivilDate;

namespace {

// A rule whose BYxxx parts never meet (BYMONTH=2;BYMONTHDAY=30) walks empty
// periods until the limit; this bounds that walk for the sub-daily ones.
constexpr qint64 kMaxPeriods = 2'000'000;
// A year of every second holds 31 million starts; a period gives at most
// this many, more than the expansion ever takes of a whole series.
constexpr size_t kMaxPeriodStarts = 2'000'000;
// Beyond this the calendar arithmetic has no meaning for anyone.
constexpr int kLastYear = 9999;

qint64 ceilDiv(qint64 a, qint64 b)
{
    return -floorDiv(-a, b);
}

qint64 weekStartOf(qint64 day, int weekStart)
{
    return day - floorMod(weekday(day) - weekStart, 7);
}

// "2MO", "-1FR", "+3TU" or "SU" as (ordinal, weekday); weekday 0 when unreadable.
std::pair<int, int> readWeekdayCode(const QString &code)
{
    QStringView v(code);
    if (v.size() < 2)
        return {0, 0};
    const int day = Recurrence::weekdayFromCode(v.right(2));
    const QStringView number = v.chopped(2);
    if (number.isEmpty())
        return {0, day};
    bool ok = false;
    const int ordinal = number.toInt(&ok);
    if (!ok || ordinal == 0 || ordinal < -53 || ordinal > 53)
        return {0, 0};
    return {ordinal, day};
}

std::vector<int> sortedUnique(std::vector<int> values)
{
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    return values;
}

std::vector<int> orDefault(const QList<int> &values, int fallback)
{
    if (values.isEmpty())
        return {fallback};
    return sortedUnique(std::vector<int>(values.begin(), values.end()));
}

template<typename Mask>
Mask maskOf(const QList<int> &values)
{
    Mask mask = 0;
    for (int v : values)
        mask |= Mask(1) << v;
    return mask;
}

} // namespace

std::optional<RuleIterator::Frequency> RuleIterator::frequencyOf(const QString &freq)
{
    static const struct
    {
        const char *name;
        Frequency frequency;
    } names[] = {
        {"DAILY", Frequency::Daily},       {"WEEKLY", Frequency::Weekly}, {"MONTHLY", Frequency::Monthly},
        {"YEARLY", Frequency::Yearly},     {"HOURLY", Frequency::Hourly}, {"MINUTELY", Frequency::Minutely},
        {"SECONDLY", Frequency::Secondly},
    };
    for (const auto &n : names) {
        if (freq == QLatin1String(n.name))
            return n.frequency;
    }
    return std::nullopt;
}

RuleIterator::RuleIterator(const RecurrenceRule &rule, Frequency frequency, qint64 dtstartLocal)
    : m_frequency(frequency)
{
    const qint64 day0 = floorDiv(dtstartLocal, secondsPerDay);
    const Ymd ymd0 = civilFromDays(day0);
    const int secondOfDay0 = int(dtstartLocal - day0 * secondsPerDay);
    const int hour0 = secondOfDay0 / 3600;
    const int minute0 = secondOfDay0 / 60 % 60;
    const int second0 = secondOfDay0 % 60;
    const bool longPeriod = frequency >= Frequency::Daily;

    m_filter.weekStart = rule.weekStart;
    m_filter.months = maskOf<quint16>(rule.byMonth);
    for (int d : rule.byMonthDay) {
        if (d > 0)
            m_filter.monthDaysFromStart |= 1u << d;
        else
            m_filter.monthDaysFromEnd |= 1u << -d;
    }
    bool byDayGiven = false;
    for (const QString &code : rule.byDay) {
        const auto [ordinal, day] = readWeekdayCode(code);
        if (day == 0)
            continue;
        byDayGiven = true;
        // Ordinals mean something only within a month or a year; elsewhere
        // the code names the weekday.
        if (ordinal == 0 || frequency < Frequency::Monthly)
            m_filter.weekdays |= quint8(1u << day);
        else
            m_filter.nthWeekdays.emplace_back(ordinal, day);
    }
    m_filter.yearDays.assign(rule.byYearDay.begin(), rule.byYearDay.end());
    m_filter.weekNumbers.assign(rule.byWeekNo.begin(), rule.byWeekNo.end());
    m_filter.ordinalsInMonth = frequency == Frequency::Monthly || !rule.byMonth.isEmpty();
    // A BYxxx list whose every value was out of range reads as absent; a
    // BYDAY of nothing but unreadable codes means no weekday matches.
    if (!rule.byDay.isEmpty() && !byDayGiven)
        m_matchesNothing = true;

    // What the rule leaves open comes from DTSTART.
    if (rule.byWeekNo.isEmpty() && rule.byYearDay.isEmpty() && rule.byMonthDay.isEmpty() && !byDayGiven) {
        if (frequency == Frequency::Yearly) {
            if (m_filter.months == 0)
                m_filter.months = quint16(1u << ymd0.month);
            m_filter.monthDaysFromStart = 1u << ymd0.day;
        } else if (frequency == Frequency::Monthly) {
            m_filter.monthDaysFromStart = 1u << ymd0.day;
        } else if (frequency == Frequency::Weekly) {
            m_filter.weekdays = quint8(1u << weekday(day0));
        }
    } else if (frequency == Frequency::Yearly && !rule.byWeekNo.isEmpty() && !byDayGiven && rule.byYearDay.isEmpty()
               && rule.byMonthDay.isEmpty()) {
        m_filter.weekdays = quint8(1u << weekday(day0));
    }

    // The clock here has no leap second: BYSECOND=60 names no start.
    QList<int> bySecond = rule.bySecond;
    bySecond.removeAll(60);
    if (bySecond.isEmpty() && !rule.bySecond.isEmpty())
        m_matchesNothing = true;
    if (longPeriod) {
        for (int h : orDefault(rule.byHour, hour0)) {
            for (int m : orDefault(rule.byMinute, minute0)) {
                for (int s : orDefault(bySecond, second0))
                    m_dayTimes.push_back(h * 3600 + m * 60 + s);
            }
        }
        // Nested loops over sorted lists already give ascending times.
    } else {
        m_hours = maskOf<quint32>(rule.byHour);
        if (frequency == Frequency::Hourly) {
            for (int m : orDefault(rule.byMinute, minute0)) {
                for (int s : orDefault(bySecond, second0))
                    m_hourTimes.push_back(m * 60 + s);
            }
        } else {
            m_minutes = maskOf<quint64>(rule.byMinute);
            if (frequency == Frequency::Minutely)
                m_minuteTimes = orDefault(bySecond, second0);
            else
                m_seconds = maskOf<quint64>(bySecond);
        }
    }
    m_setPos.assign(rule.bySetPos.begin(), rule.bySetPos.end());
    // Positions beyond the largest set a period can hold pick nothing, ever;
    // without this such a rule would walk empty periods up to the work bound.
    if (!m_setPos.empty()) {
        qint64 largestSet = 1;
        switch (frequency) {
        case Frequency::Yearly: largestSet = 366 * qint64(m_dayTimes.size()); break;
        case Frequency::Monthly: largestSet = 31 * qint64(m_dayTimes.size()); break;
        case Frequency::Weekly: largestSet = 7 * qint64(m_dayTimes.size()); break;
        case Frequency::Daily: largestSet = qint64(m_dayTimes.size()); break;
        case Frequency::Hourly: largestSet = qint64(m_hourTimes.size()); break;
        case Frequency::Minutely: largestSet = qint64(m_minuteTimes.size()); break;
        case Frequency::Secondly: largestSet = 1; break;
        }
        if (std::none_of(m_setPos.begin(), m_setPos.end(), [&](int pos) { return std::abs(pos) <= largestSet; }))
            m_matchesNothing = true;
    }
    m_filter.onlyWeekdays = m_filter.weekdays != 0 && m_filter.nthWeekdays.empty() && m_filter.months == 0
        && (m_filter.monthDaysFromStart | m_filter.monthDaysFromEnd) == 0 && m_filter.yearDays.empty()
        && m_filter.weekNumbers.empty();

    switch (frequency) {
    case Frequency::Yearly:
        m_index = ymd0.year;
        m_step = rule.interval;
        break;
    case Frequency::Monthly:
        m_index = qint64(ymd0.year) * 12 + ymd0.month - 1;
        m_step = rule.interval;
        break;
    case Frequency::Weekly:
        m_index = weekStartOf(day0, rule.weekStart);
        m_step = qint64(rule.interval) * 7;
        break;
    case Frequency::Daily:
        m_index = day0;
        m_step = rule.interval;
        break;
    case Frequency::Hourly:
        m_index = floorDiv(dtstartLocal, 3600);
        m_step = rule.interval;
        break;
    case Frequency::Minutely:
        m_index = floorDiv(dtstartLocal, 60);
        m_step = rule.interval;
        break;
    case Frequency::Secondly:
        m_index = dtstartLocal;
        m_step = rule.interval;
        break;
    }
    m_lastIndex = indexOf(daysFromCivil(kLastYear, 12, 31) * secondsPerDay);
    m_limit = periodStart(m_index);
}

qint64 RuleIterator::periodStart(qint64 index) const
{
    switch (m_frequency) {
    case Frequency::Yearly:
        if (!m_filter.weekNumbers.empty())
            return m_filter.firstDayOfWeekYear(int(index)) * secondsPerDay;
        return daysFromCivil(int(index), 1, 1) * secondsPerDay;
    case Frequency::Monthly:
        return daysFromCivil(int(floorDiv(index, 12)), int(floorMod(index, 12)) + 1, 1) * secondsPerDay;
    case Frequency::Weekly:
    case Frequency::Daily: return index * secondsPerDay;
    case Frequency::Hourly: return index * 3600;
    case Frequency::Minutely: return index * 60;
    case Frequency::Secondly: return index;
    }
    return index;
}

qint64 RuleIterator::indexOf(qint64 localSeconds) const
{
    const qint64 day = floorDiv(localSeconds, secondsPerDay);
    switch (m_frequency) {
    case Frequency::Yearly:
        if (!m_filter.weekNumbers.empty())
            return civilFromDays(weekStartOf(day, m_filter.weekStart) + 3).year;
        return civilFromDays(day).year;
    case Frequency::Monthly: {
        const Ymd ymd = civilFromDays(day);
        return qint64(ymd.year) * 12 + ymd.month - 1;
    }
    case Frequency::Weekly: return weekStartOf(day, m_filter.weekStart);
    case Frequency::Daily: return day;
    case Frequency::Hourly: return floorDiv(localSeconds, 3600);
    case Frequency::Minutely: return floorDiv(localSeconds, 60);
    case Frequency::Secondly: return localSeconds;
    }
    return day;
}

void RuleIterator::skipTo(qint64 localSeconds)
{
    m_firstDay = std::max(m_firstDay, floorDiv(localSeconds, secondsPerDay));
    const qint64 target = indexOf(localSeconds);
    if (target > m_index)
        m_index += floorDiv(target - m_index, m_step) * m_step;
}

qint64 RuleIterator::skipWholePeriodsBefore(qint64 localSeconds)
{
    // The period before the one holding `localSeconds` ends before it.
    const qint64 target = indexOf(localSeconds) - 1;
    if (target <= m_index)
        return 0;
    const qint64 periods = floorDiv(target - m_index, m_step);
    m_index += periods * m_step;
    return periods;
}

bool RuleIterator::oneStartPerPeriod(const RecurrenceRule &rule, Frequency frequency)
{
    return frequency <= Frequency::Weekly && rule.byMonth.isEmpty() && rule.byMonthDay.isEmpty() && rule.byDay.isEmpty()
        && rule.byYearDay.isEmpty() && rule.byWeekNo.isEmpty() && rule.byHour.isEmpty() && rule.byMinute.isEmpty()
        && rule.bySecond.isEmpty() && rule.bySetPos.isEmpty();
}

void RuleIterator::advanceTo(qint64 localSeconds)
{
    const qint64 target = indexOf(localSeconds);
    m_index += target > m_index ? ceilDiv(target - m_index, m_step) * m_step : m_step;
}

qint64 RuleIterator::DayFilter::firstDayOfWeekYear(int year) const
{
    // Week 1 is the first week, begun on WKST, with four or more days in the year.
    return weekStartOf(daysFromCivil(year, 1, 4), weekStart);
}

bool RuleIterator::DayFilter::weekNumberMatches(qint64 day) const
{
    const qint64 start = weekStartOf(day, weekStart);
    const int weekYear = civilFromDays(start + 3).year;
    const qint64 firstWeek = firstDayOfWeekYear(weekYear);
    const qint64 nextYearsFirstWeek = firstDayOfWeekYear(weekYear + 1);
    const int number = int((start - firstWeek) / 7) + 1;
    const int fromEnd = number - int((nextYearsFirstWeek - firstWeek) / 7) - 1;
    for (int n : weekNumbers) {
        if (n == number || n == fromEnd)
            return true;
    }
    return false;
}

bool RuleIterator::DayFilter::matches(qint64 day) const
{
    if (onlyWeekdays)
        return weekdays >> weekday(day) & 1u; // most weekly and daily rules
    const Ymd ymd = civilFromDays(day);
    if (months != 0 && !(months >> ymd.month & 1u))
        return false;
    const int monthLength = daysInMonth(ymd.year, ymd.month);
    if ((monthDaysFromStart | monthDaysFromEnd) != 0 && !(monthDaysFromStart >> ymd.day & 1u)
        && !(monthDaysFromEnd >> (monthLength - ymd.day + 1) & 1u)) {
        return false;
    }
    const int yearDay = int(day - daysFromCivil(ymd.year, 1, 1)) + 1;
    const int yearLength = daysInYear(ymd.year);
    if (!yearDays.empty()) {
        const int fromEnd = yearDay - yearLength - 1;
        if (std::none_of(yearDays.begin(), yearDays.end(), [&](int n) { return n == yearDay || n == fromEnd; }))
            return false;
    }
    if (!weekNumbers.empty() && !weekNumberMatches(day))
        return false;
    if (!hasWeekdays())
        return true;
    const int wd = weekday(day);
    if (weekdays >> wd & 1u)
        return true;
    const int position = ordinalsInMonth ? ymd.day : yearDay;
    const int length = ordinalsInMonth ? monthLength : yearLength;
    const int nth = (position - 1) / 7 + 1;
    const int nthFromEnd = -((length - position) / 7 + 1);
    for (const auto &[ordinal, d] : nthWeekdays) {
        if (d == wd && (ordinal == nth || ordinal == nthFromEnd))
            return true;
    }
    return false;
}

void RuleIterator::collectMonth(int year, int month, std::vector<qint64> &days) const
{
    const qint64 first = daysFromCivil(year, month, 1);
    const int length = daysInMonth(year, month);
    if (!m_filter.onlyMonthDays()) {
        for (int d = 0; d < length; ++d) {
            if (m_filter.matches(first + d))
                days.push_back(first + d);
        }
        return;
    }
    // The common case (the 15th, the last day): pick the days directly.
    // A month without the day simply has none.
    quint32 picked = m_filter.monthDaysFromStart & ((2u << length) - 2u);
    for (int n = 1; n <= length; ++n) {
        if (m_filter.monthDaysFromEnd >> n & 1u)
            picked |= 1u << (length - n + 1);
    }
    for (int d = 1; d <= length; ++d) {
        if (picked >> d & 1u)
            days.push_back(first + d - 1);
    }
}

void RuleIterator::collectDays(qint64 index, std::vector<qint64> &days) const
{
    switch (m_frequency) {
    case Frequency::Yearly:
        if (!m_filter.weekNumbers.empty()) {
            // Numbered weeks are those of the year they are counted in, which
            // may begin in December and end in January.
            const qint64 end = m_filter.firstDayOfWeekYear(int(index) + 1);
            for (qint64 day = m_filter.firstDayOfWeekYear(int(index)); day < end; ++day) {
                if (m_filter.matches(day))
                    days.push_back(day);
            }
            break;
        }
        for (int month = 1; month <= 12; ++month) {
            if (m_filter.months == 0 || (m_filter.months >> month & 1u))
                collectMonth(int(index), month, days);
        }
        break;
    case Frequency::Monthly: {
        const int month = int(floorMod(index, 12)) + 1;
        if (m_filter.months == 0 || (m_filter.months >> month & 1u))
            collectMonth(int(floorDiv(index, 12)), month, days);
        break;
    }
    case Frequency::Weekly:
        for (qint64 day = index; day < index + 7; ++day) {
            if (m_filter.matches(day))
                days.push_back(day);
        }
        break;
    case Frequency::Daily:
        if (m_filter.matches(index))
            days.push_back(index);
        break;
    default: break;
    }
}

bool RuleIterator::fillSubDaily(qint64 start, std::vector<qint64> &starts)
{
    const qint64 day = floorDiv(start, secondsPerDay);
    if (!m_cachedDayValid || m_cachedDay != day) {
        m_cachedDay = day;
        m_cachedDayValid = true;
        m_cachedDayMatches = m_filter.matches(day);
    }
    if (!m_cachedDayMatches) {
        advanceTo((day + 1) * secondsPerDay);
        return false;
    }
    const int secondOfDay = int(start - day * secondsPerDay);
    const int hour = secondOfDay / 3600;
    if (m_hours != 0 && !(m_hours >> hour & 1u)) {
        advanceTo(day * secondsPerDay + (hour + 1) * 3600);
        return false;
    }
    if (m_frequency == Frequency::Hourly) {
        for (int t : m_hourTimes)
            starts.push_back(start + t);
    } else {
        const int minute = secondOfDay / 60 % 60;
        if (m_minutes != 0 && !(m_minutes >> minute & 1u)) {
            advanceTo(day * secondsPerDay + hour * 3600 + (minute + 1) * 60);
            return false;
        }
        if (m_frequency == Frequency::Minutely) {
            for (int t : m_minuteTimes)
                starts.push_back(start + t);
        } else if (m_seconds == 0 || (m_seconds >> (secondOfDay % 60) & 1u)) {
            starts.push_back(start);
        }
    }
    m_index += m_step;
    return true;
}

template<typename At>
void RuleIterator::pickSetPos(qint64 setSize, At at, std::vector<qint64> &picked) const
{
    picked.clear();
    for (int pos : m_setPos) {
        const qint64 i = pos > 0 ? pos - 1 : setSize + pos;
        if (i >= 0 && i < setSize)
            picked.push_back(at(i));
    }
    std::sort(picked.begin(), picked.end());
    picked.erase(std::unique(picked.begin(), picked.end()), picked.end());
}

void RuleIterator::collectStarts(std::vector<qint64> &starts) const
{
    // The set is every day with every time of day, ascending as built.
    const qint64 perDay = qint64(m_dayTimes.size());
    if (!m_setPos.empty()) {
        // Picked by position, without building a set of possibly millions.
        pickSetPos(
            qint64(m_days.size()) * perDay,
            [&](qint64 i) { return m_days[size_t(i / perDay)] * secondsPerDay + m_dayTimes[size_t(i % perDay)]; },
            starts);
        return;
    }
    const qint64 lastDay = floorDiv(m_limit, secondsPerDay);
    for (qint64 day : m_days) {
        if (day < m_firstDay)
            continue;
        if (day > lastDay)
            return;
        for (int t : m_dayTimes) {
            if (starts.size() >= kMaxPeriodStarts)
                return;
            starts.push_back(day * secondsPerDay + t);
        }
    }
}

bool RuleIterator::nextPeriod(std::vector<qint64> &starts)
{
    starts.clear();
    if (m_matchesNothing)
        return false;
    while (m_periodsVisited++ < kMaxPeriods) {
        if (m_index > m_lastIndex)
            return false;
        const qint64 start = periodStart(m_index);
        if (start > m_limit)
            return false;
        if (m_frequency >= Frequency::Daily) {
            m_days.clear();
            collectDays(m_index, m_days);
            m_index += m_step;
            collectStarts(starts);
        } else if (!fillSubDaily(start, starts)) {
            continue;
        } else if (!m_setPos.empty() && !starts.empty()) {
            m_set.swap(starts);
            pickSetPos(
                qint64(m_set.size()), [this](qint64 i) { return m_set[size_t(i)]; }, starts);
        }
        if (!starts.empty())
            return true;
    }
    return false;
}
