#include "weekrows.h"

#include "timetext.h"

#include "eventrepository.h"
#include "filterengine.h"
#include "localclock.h"
#include "occurrence.h"
#include "recurrence.h"

#include <QCoreApplication>
#include <QHash>
#include <QLocale>
#include <QMap>
#include <QSet>

#include <algorithm>
#include <optional>
#include <tuple>
#include <vector>

// The list's texts keep the week list's translation context.

namespace {

// More rows than anyone reads in a day's list; the rest are counted.
constexpr int kMaxRowsPerDay = 100;
constexpr qint64 kMsPerDay = 24 * 3600 * 1000;
const QLatin1String kSubDaily[] = {QLatin1String("FREQ=HOURLY"), QLatin1String("FREQ=MINUTELY"),
                                   QLatin1String("FREQ=SECONDLY")};

struct MoreRows
{
    qint64 count = 0;
    bool atLeast = false; // counting stopped
};

bool atMidnight(qint64 wall)
{
    return (wall % kMsPerDay + kMsPerDay) % kMsPerDay == 0;
}

// Whether a rule repeats within the day. Series share a handful of rule
// strings, so the last verdict is kept for the same string.
class SubDailyRules
{
public:
    bool operator()(const QString &rule)
    {
        if (rule.isEmpty())
            return false;
        if (rule.constData() != m_last.constData() || rule.size() != m_last.size()) {
            m_last = rule;
            m_verdict = std::any_of(std::begin(kSubDaily), std::end(kSubDaily),
                                    [&rule](QLatin1String freq) { return rule.contains(freq, Qt::CaseInsensitive); });
        }
        return m_verdict;
    }

private:
    QString m_last;
    bool m_verdict = false;
};

// The first and last dates of a wall-clock span; an end at midnight does
// not reach into that day.
std::pair<QDate, QDate> wallDays(qint64 start, qint64 end)
{
    const auto dateOf = [](qint64 wall) {
        const qint64 days = wall / kMsPerDay - (wall % kMsPerDay < 0 ? 1 : 0);
        return QDate::fromJulianDay(QDate(1970, 1, 1).toJulianDay() + days);
    };
    const QDate from = dateOf(start);
    const QDate to = end > start && atMidnight(end) ? dateOf(end).addDays(-1) : dateOf(end);
    return std::pair(from, std::max(to, from));
}

// The first and last local dates a timed span covers.
std::optional<std::pair<QDate, QDate>> timedDays(const QDateTime &startTime, const std::optional<QDateTime> &endTime,
                                                 LocalClock &clock)
{
    const std::optional<qint64> start = clock.wallClock(startTime);
    const std::optional<qint64> end = endTime ? clock.wallClock(*endTime) : start;
    if (!start || !end)
        return std::nullopt;
    return wallDays(*start, *end);
}

// The days an occurrence covers within the week, first and last. All-day
// rows keep their stored dates (midnight UTC stands for the date, not for an
// instant). Read from the occurrence's instants: this runs for every
// occurrence of the week, shown or not.
std::optional<std::pair<QDate, QDate>> daysOf(const Occurrence &occurrence, LocalClock &clock, const QDate &first,
                                              const QDate &last)
{
    QDate from;
    QDate to; // inclusive
    const Event &event = occurrence.event();
    if (event.is_all_day) {
        from = occurrence.start().date();
        const std::optional<QDateTime> endTime = occurrence.end();
        const QDate end = endTime ? endTime->date() : from.addDays(1);
        to = end > from ? end.addDays(-1) : from;
    } else {
        // A row's unreadable start or end places it nowhere.
        if (!occurrence.isGenerated()
            && (!event.start_time.isValid() || (event.end_time && !event.end_time->isValid())))
            return std::nullopt;
        std::tie(from, to) = wallDays(clock.wallClockAt(occurrence.startMs()), clock.wallClockAt(occurrence.endMs()));
    }
    from = std::max(from, first);
    to = std::min(to, last);
    if (from > to)
        return std::nullopt;
    return std::pair(from, to);
}

// The short texts of local times, each made once a reload: rows start and
// end at a few times of day, and every text goes through the locale.
class ShortTimes
{
public:
    explicit ShortTimes(LocalClock &clock)
        : m_clock(clock)
    {
    }

    QString of(const QDateTime &dateTime)
    {
        const std::optional<qint64> wall = m_clock.wallClock(dateTime);
        if (!wall)
            return TimeText::shortTime(QTime());
        const int msOfDay = int((*wall % kMsPerDay + kMsPerDay) % kMsPerDay);
        auto text = m_texts.constFind(msOfDay);
        if (text == m_texts.constEnd())
            text = m_texts.insert(msOfDay, TimeText::shortTime(QTime::fromMSecsSinceStartOfDay(msOfDay)));
        return *text;
    }

private:
    LocalClock &m_clock;
    QHash<int, QString> m_texts;
};

// What a row shows before the title on `day`: a span within one day by its
// times; a longer one from its start on its first day, until its end on its
// last, and as going on all day in between.
QString timeText(const Event &event, const QDate &day, LocalClock &clock, ShortTimes &times)
{
    if (event.is_all_day)
        return QCoreApplication::translate("WeekAgenda", "All day");
    const QString start = times.of(event.start_time);
    if (!event.end_time)
        return start;
    const QString end = times.of(*event.end_time);
    const auto span = timedDays(event.start_time, event.end_time, clock);
    if (!span || span->first == span->second)
        return QCoreApplication::translate("WeekAgenda", "%1 – %2").arg(start, end);
    if (day <= span->first)
        return QCoreApplication::translate("WeekAgenda", "From %1").arg(start);
    // Ending at midnight, the last day it covers is covered whole.
    if (day >= span->second && !atMidnight(clock.wallClock(*event.end_time).value_or(0)))
        return QCoreApplication::translate("WeekAgenda", "Until %1").arg(end);
    return QCoreApplication::translate("WeekAgenda", "Continues all day");
}

// A day's rows in one order, whatever order the rows were read in: all-day
// rows first, then by when each is seen that day (a span that began before
// the day from the day's start), its end, its title and its id.
struct RowKey
{
    bool timed;
    qint64 seenFromMs;
    qint64 endMs;
    const QString *title;
    const QString *id;
    qint64 startMs;
    qsizetype index;

    RowKey(const Occurrence &occurrence, qint64 dayStartMs, qsizetype at)
        : timed(!occurrence.event().is_all_day)
        , seenFromMs(timed ? std::max(occurrence.startMs(), dayStartMs) : 0)
        , endMs(occurrence.endMs())
        , title(&occurrence.event().title)
        , id(&occurrence.event().id)
        , startMs(occurrence.startMs())
        , index(at)
    {
    }

    bool operator<(const RowKey &other) const
    {
        if (timed != other.timed)
            return !timed;
        if (seenFromMs != other.seenFromMs)
            return seenFromMs < other.seenFromMs;
        if (endMs != other.endMs)
            return endMs < other.endMs;
        if (const int byTitle = title->compare(*other.title, Qt::CaseInsensitive))
            return byTitle < 0;
        if (const int exact = title->compare(*other.title))
            return exact < 0;
        if (*id != *other.id)
            return *id < *other.id;
        return std::tie(startMs, index) < std::tie(other.startMs, other.index);
    }
};

} // namespace

WeekRows WeekRows::read(const EventRepository &events, const Request &request)
{
    WeekRows week;
    week.weekStart = request.weekStart;
    week.calendarIds = request.calendarIds;
    week.changes = events.changeCounter();
    const QDate last = request.weekStart.addDays(6);
    // Rows and occurrences are placed light; a full record is made only for
    // a row the list shows.
    QList<Event> rows;
    QList<Event> seriesRows;
    QMap<QDate, QList<Occurrence>> byDay;
    QMap<QDate, MoreRows> moreByDay;
    QSet<QString> dimmedIds;
    LocalClock clock;
    ShortTimes times(clock);
    if (!request.calendarIds.isEmpty()) { // an empty list would mean every calendar
        const QDateTime from = request.weekStart.startOfDay();
        const QDateTime to = last.addDays(1).startOfDay();
        rows = events.getViewRowsInRange(from, to, request.calendarIds);
        const auto place = [&](const QList<Occurrence> &occurrences, const QDate &first, const QDate &lastDay) {
            OccurrenceFilterOutcome outcome = FilterEngine::applyToOccurrences(occurrences, request.rules);
            dimmedIds.unite(outcome.dimmedIds);
            for (const Occurrence &occurrence : std::as_const(outcome.occurrences)) {
                // The day's window holds a timed occurrence of a day's
                // expansion; all-day ones keep their stored dates.
                if (first == lastDay && !occurrence.event().is_all_day) {
                    byDay[first].append(occurrence);
                    continue;
                }
                const auto days = daysOf(occurrence, clock, first, lastDay);
                for (QDate day = days ? days->first : QDate(); days && day <= days->second; day = day.addDays(1))
                    byDay[day].append(occurrence);
            }
        };
        // The week at once, each series bounded by what seven days show,
        // unless a series repeats within the day and will pass that bound.
        SubDailyRules repeatsWithinDay;
        const bool subDaily = std::any_of(rows.cbegin(), rows.cend(),
                                          [&](const Event &row) { return repeatsWithinDay(row.recurrence_rule); });
        Recurrence::BoundedOccurrences expandedWeek;
        if (!subDaily)
            expandedWeek = Recurrence::expandOccurrencesBounded(rows, from, to, 7 * kMaxRowsPerDay);
        if (!subDaily && expandedWeek.more == 0) {
            place(expandedWeek.occurrences, request.weekStart, last);
        } else {
            // A series past that bound (one of every minute or second) is
            // taken a day at a time, so that each day shows its first rows
            // rather than the first day all of them.
            QList<Occurrence> oneOffs;
            for (const Event &row : std::as_const(rows)) {
                if (Recurrence::isSeriesRow(row))
                    seriesRows.append(row);
                else
                    oneOffs.append(Occurrence::ofRow(row));
            }
            place(oneOffs, request.weekStart, last);
            for (QDate day = request.weekStart; day <= last; day = day.addDays(1)) {
                const Recurrence::BoundedOccurrences expanded = Recurrence::expandOccurrencesBounded(
                    seriesRows, day.startOfDay(), day.addDays(1).startOfDay(), kMaxRowsPerDay);
                place(expanded.occurrences, day, day);
                moreByDay[day] = {expanded.more, expanded.moreIsLowerBound};
            }
        }
    }

    week.work = rows.size();
    for (const QList<Occurrence> &day : std::as_const(byDay))
        week.work += day.size();
    const QLocale locale;
    for (auto it = byDay.begin(); it != byDay.end(); ++it) {
        // Sorted first: the day's first rows are all it shows.
        const qint64 dayStartMs = it.key().startOfDay().toMSecsSinceEpoch();
        std::vector<RowKey> order;
        order.reserve(size_t(it->size()));
        for (qsizetype i = 0; i < it->size(); ++i)
            order.emplace_back(it->at(i), dayStartMs, i);
        // Only the rows shown need their order.
        const auto shown = order.begin() + std::min<qsizetype>(qsizetype(order.size()), kMaxRowsPerDay);
        std::partial_sort(order.begin(), shown, order.end());
        week.lines.append({Kind::Day, locale.toString(it.key(), QLocale::LongFormat), it.key(), {}, false});
        MoreRows more = moreByDay.value(it.key());
        if (order.size() > size_t(kMaxRowsPerDay)) {
            more.count += qint64(order.size()) - kMaxRowsPerDay;
            order.erase(order.begin() + kMaxRowsPerDay, order.end());
        }
        for (const RowKey &key : order) {
            Event event = it->at(key.index).toEvent();
            const QString title = event.title.isEmpty() ? QCoreApplication::translate("WeekAgenda", "Untitled")
                                                        : event.title;
            QString text = timeText(event, it.key(), clock, times) + QStringLiteral("   ") + title;
            const bool dimmed = dimmedIds.contains(event.id);
            week.lines.append({Kind::Occurrence, std::move(text), it.key(), std::move(event), dimmed});
        }
        if (more.count > 0) {
            const QString text = more.atLeast
                ? QCoreApplication::translate("WeekAgenda", "At least %Ln more on this day", nullptr, int(more.count))
                : QCoreApplication::translate("WeekAgenda", "%Ln more on this day", nullptr, int(more.count));
            week.lines.append({Kind::More, text, it.key(), {}, false});
        }
    }
    return week;
}
