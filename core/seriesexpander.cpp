#include "seriesexpander_p.h"

#include "civildate_p.h"
#include "exceptionkey.h"
#include "exceptionkey_p.h"
#include "icalendar_p.h"
#include "ruleiterator_p.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <limits>

using namespace CivilDate;
using ExceptionKey::Detail::readDigits;

namespace {

// A COUNT rule is counted from its first start, however long ago; this bounds
// the (cheap, wall-clock only) walk up to the window.
constexpr qint64 kMaxCounted = 1'000'000;

} // namespace

SeriesExpander::SeriesExpander(qint64 fromMs, qint64 toMs, bool bounded)
    : m_fromMs(fromMs)
    , m_toMs(toMs)
    , m_bounded(bounded)
{
}

void SeriesExpander::setLimit(int max, qint64 countLimit)
{
    m_maxStarts = std::clamp(max, 1, int(maxStarts));
    m_countLimit = std::max<qint64>(countLimit, 0);
}

qint64 SeriesExpander::durationOf(const Event &event)
{
    if (event.end_time && event.end_time->isValid())
        return event.start_time.msecsTo(*event.end_time);
    // As the views show it (a date without an end is one day long); an hour
    // would end the day at 01:00 UTC, before a day's window west of UTC.
    if (event.is_all_day && event.start_time.isValid())
        return event.start_time.msecsTo(event.start_time.addDays(1));
    return defaultDurationMs;
}

bool SeriesExpander::repeats(const Event &event)
{
    if (!event.recurrence_rule.isEmpty())
        return true;
    // "[]" and blanks hold no date.
    return std::any_of(event.recurrence_dates.cbegin(), event.recurrence_dates.cend(),
                       [](QChar c) { return c.isDigit(); });
}

bool SeriesExpander::overlaps(qint64 startMs, qint64 durationMs) const
{
    return startMs < m_toMs && (!m_bounded || startMs + durationMs > m_fromMs);
}

const ZoneClock *SeriesExpander::namedClock(const QByteArray &id)
{
    auto it = m_named.find(id);
    if (it == m_named.end()) {
        const QTimeZone zone(id);
        it = m_named.emplace(id, zone.isValid() ? std::optional(ZoneClock::forZone(zone)) : std::nullopt).first;
    }
    return it->second ? &*it->second : nullptr;
}

const ZoneClock *SeriesExpander::definedClock(const Event &event)
{
    const QString block = ICalendar::Detail::vtimezoneBlock(event.raw_icalendar, event.timezone);
    if (block.isEmpty())
        return nullptr;
    auto it = m_defined.find(block);
    if (it == m_defined.end()) {
        const std::optional<ZoneRules> rules = ZoneRules::fromVTimezone(block);
        it = m_defined.emplace(block, rules ? std::optional(ZoneClock::forRules(*rules)) : std::nullopt).first;
    }
    return it->second ? &*it->second : nullptr;
}

qint64 SeriesExpander::nominalStart(const Event &event, const ZoneClock &clock, qint64 startSeconds)
{
    const qint64 local = clock.toLocal(startSeconds);
    if (event.is_all_day || !clock.followsGap(local))
        return local;
    // The event's DTSTART as written, when it names that instant.
    using namespace ICalendar::Detail;
    LineReader reader(event.raw_icalendar);
    QStringView line;
    bool inEvent = false;
    while (reader.next(&line)) {
        if (line.compare(QLatin1String("BEGIN:VEVENT"), Qt::CaseInsensitive) == 0)
            inEvent = true;
        if (!inEvent || !line.startsWith(QLatin1String("DTSTART"), Qt::CaseInsensitive))
            continue;
        const PropertyView prop = splitLine(line);
        if (!prop.is(QLatin1String("DTSTART")) || prop.value.endsWith(QLatin1Char('Z')))
            continue;
        const std::optional<qint64> ms = readDateValue(prop.value, ZoneClock::fixedOffset(0));
        if (!ms)
            continue;
        const qint64 wall = floorDiv(*ms, 1000);
        if (wall != local && clock.toUtc(wall) == startSeconds)
            return wall;
    }
    return local;
}

const RecurrenceRule &SeriesExpander::ruleOf(const QString &text)
{
    // Hashing the text costs more than comparing it with the few rules
    // met last, which most series share.
    for (const auto &[recent, rule] : m_recentRules) {
        // Rows read together share one string per rule text: most are
        // told by where the text lies, without reading it.
        if (rule && recent.size() == text.size() && (recent.constData() == text.constData() || recent == text))
            return *rule;
    }
    auto it = m_rules.constFind(text);
    if (it == m_rules.constEnd()) {
        // Adding may move every value.
        m_recentRules.fill({});
        it = m_rules.insert(text, Recurrence::parseRule(text));
    }
    m_recentRules[m_nextRecent] = {it.key(), &it.value()};
    m_nextRecent = (m_nextRecent + 1) % m_recentRules.size();
    return *it;
}

const ZoneClock &SeriesExpander::fixedClock(int offsetSeconds)
{
    auto it = m_fixed.find(offsetSeconds);
    if (it == m_fixed.end())
        it = m_fixed.emplace(offsetSeconds, ZoneClock::fixedOffset(offsetSeconds)).first;
    return it->second;
}

const ZoneClock &SeriesExpander::clockFor(const Event &event)
{
    const QDateTime &start = event.start_time;
    switch (start.timeSpec()) {
    case Qt::TimeZone:
        if (const ZoneClock *clock = namedClock(start.timeZone().id()))
            return *clock;
        break;
    case Qt::LocalTime:
        if (!m_local)
            m_local = ZoneClock::systemLocal();
        return *m_local;
    default:
        // A start held in UTC (as a store may keep it) still repeats on the
        // wall clock of the zone the event was made in.
        if (!event.is_all_day && !event.timezone.isEmpty() && event.timezone != QLatin1String("UTC")) {
            if (const ZoneClock *clock = namedClock(event.timezone.toUtf8()))
                return *clock;
            if (const ZoneClock *clock = definedClock(event))
                return *clock;
        }
        break;
    }
    return fixedClock(start.timeSpec() == Qt::OffsetFromUTC ? start.offsetFromUtc() : 0);
}

std::optional<qint64> SeriesExpander::readDateValue(QStringView text, const ZoneClock &floating)
{
    text = text.trimmed();
    // A PERIOD ("start/end" or "start/duration") recurs at its start.
    if (const qsizetype slash = text.indexOf(QLatin1Char('/')); slash >= 0)
        text = text.left(slash);
    int y = 0, mo = 0, d = 0;
    if (!text.contains(QLatin1Char('T'))) {
        if (text.size() != 8 || !readDigits(text, 0, 4, y) || !readDigits(text, 4, 2, mo) || !readDigits(text, 6, 2, d)
            || !QDate::isValid(y, mo, d)) {
            return std::nullopt;
        }
        return daysFromCivil(y, mo, d) * secondsPerDay * 1000;
    }
    const bool utc = text.endsWith(QLatin1Char('Z'));
    if (utc)
        text.chop(1);
    int h = 0, mi = 0, s = 0;
    if (text.size() != 15 || text.at(8) != QLatin1Char('T') || !readDigits(text, 0, 4, y) || !readDigits(text, 4, 2, mo)
        || !readDigits(text, 6, 2, d) || !readDigits(text, 9, 2, h) || !readDigits(text, 11, 2, mi)
        || !readDigits(text, 13, 2, s) || !QDate::isValid(y, mo, d) || !QTime::isValid(h, mi, s)) {
        return std::nullopt;
    }
    const qint64 wall = daysFromCivil(y, mo, d) * secondsPerDay + h * 3600 + mi * 60 + s;
    return (utc ? wall : floating.toUtc(wall)) * 1000;
}

template<typename Visit>
void SeriesExpander::forEachDateValue(const QString &text, Visit visit, const QString &fromDay, const QString &toDay)
{
    const bool daysGiven = fromDay.size() == 8 && toDay.size() == 8;
    const auto readPieces = [&](QStringView list) {
        for (qsizetype start = 0; start < list.size();) {
            qsizetype comma = list.indexOf(QLatin1Char(','), start);
            if (comma < 0)
                comma = list.size();
            const QStringView piece = list.mid(start, comma - start);
            start = comma + 1;
            if (piece.isEmpty())
                continue;
            // Digits compare as text; anything else is read to be judged.
            const QStringView day = piece.trimmed().left(8);
            if (daysGiven && day.size() == 8 && (day < fromDay || day > toDay))
                continue;
            visit(piece);
        }
    };
    const QStringView trimmed = QStringView(text).trimmed();
    if (trimmed.isEmpty())
        return;
    if (!trimmed.startsWith(QLatin1Char('['))) {
        readPieces(trimmed);
        return;
    }
    // The store writes plain strings of digits, "T" and "Z": read straight
    // from the text, which for 100,000 EXDATEs is many times faster.
    if (trimmed.endsWith(QLatin1Char(']')) && !trimmed.contains(QLatin1Char('\\'))) {
        qsizetype open = trimmed.indexOf(QLatin1Char('"'));
        while (open >= 0) {
            const qsizetype close = trimmed.indexOf(QLatin1Char('"'), open + 1);
            if (close < 0)
                break;
            readPieces(trimmed.mid(open + 1, close - open - 1));
            open = trimmed.indexOf(QLatin1Char('"'), close + 1);
        }
        return;
    }
    const QJsonDocument doc = QJsonDocument::fromJson(text.toUtf8());
    if (!doc.isArray())
        return;
    const QJsonArray array = doc.array();
    for (const QJsonValue &value : array) {
        if (value.isString())
            readPieces(value.toString());
    }
}

void SeriesExpander::readDateList(const QString &text, const ZoneClock &floating, std::vector<qint64> &out)
{
    forEachDateValue(text, [&](QStringView piece) {
        if (const auto ms = readDateValue(piece, floating))
            out.push_back(*ms);
    });
}

void SeriesExpander::ruleStarts(const RecurrenceRule &rule, const ZoneClock &clock, qint64 dtstartLocal,
                                int msRemainder, qint64 durationMs, std::vector<qint64> &out)
{
    const auto frequency = RuleIterator::frequencyOf(rule.freq);
    const qint64 dtstartMs = clock.toUtc(dtstartLocal) * 1000 + msRemainder;
    if (!frequency || !rule.isValid()) {
        // Without a frequency we know of, or with a part out of range (which
        // read past would make a wider series), the series is its first start.
        if (overlaps(dtstartMs, durationMs))
            out.push_back(dtstartMs);
        return;
    }
    // How far a wall clock near the window may lie from its instant's: a
    // day for daily and longer rules, whose periods are days anyway; for
    // sub-daily ones the offsets' swing around the window and an hour, so
    // that a series of every second walks minutes, not a day, either side.
    qint64 margin = secondsPerDay;
    if (*frequency < RuleIterator::Frequency::Daily && m_bounded) {
        const qint64 fromS = floorDiv(m_fromMs, 1000);
        const qint64 toS = floorDiv(m_toMs, 1000);
        qint64 low = std::numeric_limits<qint64>::max();
        qint64 high = std::numeric_limits<qint64>::min();
        for (const qint64 at : {fromS - secondsPerDay, fromS, toS, toS + secondsPerDay}) {
            const qint64 offset = clock.toLocal(at) - at;
            low = std::min(low, offset);
            high = std::max(high, offset);
        }
        margin = high - low + 3600;
    }
    const qint64 toLocal = clock.toLocal(floorDiv(m_toMs, 1000));
    qint64 lastLocal = toLocal + margin;

    // UNTIL: anything past `untilLocal` ends the series; a UTC instant is
    // checked exactly near it, where offsets could tip the comparison.
    qint64 untilLocal = std::numeric_limits<qint64>::max();
    qint64 untilMs = std::numeric_limits<qint64>::max();
    qint64 untilExactFrom = std::numeric_limits<qint64>::max();
    if (rule.until.isValid()) {
        const qint64 wall = rule.until.toSecsSinceEpoch();
        switch (rule.untilForm) {
        case RecurrenceRule::UntilForm::Date:
            untilLocal = (floorDiv(wall, secondsPerDay) + 1) * secondsPerDay - 1;
            break;
        case RecurrenceRule::UntilForm::Floating: untilLocal = wall; break;
        case RecurrenceRule::UntilForm::Utc:
            untilMs = wall * 1000;
            untilExactFrom = clock.toLocal(wall) - secondsPerDay;
            untilLocal = untilExactFrom + 2 * secondsPerDay;
            break;
        }
        lastLocal = std::min(lastLocal, untilLocal);
    }

    RuleIterator iterator(rule, *frequency, dtstartLocal);
    iterator.setLimit(lastLocal);
    // Starts before this cannot reach into the window; they only count.
    qint64 firstUseful = std::numeric_limits<qint64>::min();
    if (m_bounded) {
        firstUseful = clock.toLocal(floorDiv(m_fromMs, 1000)) - std::max<qint64>(durationMs, 0) / 1000 - margin;
        // Without COUNT nothing before the window matters, so whole periods
        // are skipped: a daily series begun decades ago costs nothing extra.
        if (rule.count == 0)
            iterator.skipTo(firstUseful);
    }

    const size_t firstOut = out.size();
    qint64 counted = 0;
    // A COUNT rule with one start per period counts the periods before the
    // window without walking them: COUNT=1000000000 SECONDLY costs no more
    // than an endless one.
    if (m_bounded && rule.count > 0 && RuleIterator::oneStartPerPeriod(rule, *frequency))
        counted = iterator.skipWholePeriodsBefore(firstUseful);
    qint64 walked = 0;
    qint64 beyond = 0; // starts past the limit, counted only
    // Takes one wall-clock start; false once the series has ended.
    const auto take = [&](qint64 local) {
        if (rule.count > 0 && counted >= rule.count)
            return false;
        if (local < dtstartLocal)
            return true;
        if (local > lastLocal)
            return false;
        std::optional<qint64> ms;
        if (local >= untilExactFrom) {
            ms = clock.toUtc(local) * 1000 + msRemainder;
            if (*ms > untilMs)
                return false;
        }
        ++counted;
        ++walked;
        if (local >= firstUseful) {
            if (!ms)
                ms = clock.toUtc(local) * 1000 + msRemainder;
            if (overlaps(*ms, durationMs)) {
                if (out.size() - firstOut < size_t(m_maxStarts)) {
                    out.push_back(*ms);
                } else if (beyond < m_countLimit) {
                    ++beyond;
                } else {
                    m_beyondIsLowerBound = m_countLimit > 0;
                    return false;
                }
                if (m_countLimit == 0 && out.size() - firstOut >= size_t(m_maxStarts))
                    return false;
            }
        }
        return (rule.count == 0 || counted < rule.count) && walked < kMaxCounted;
    };
    std::vector<qint64> period;
    bool more = true;
    while (more && iterator.nextPeriod(period)) {
        for (qint64 local : period) {
            if (!take(local)) {
                more = false;
                break;
            }
        }
    }
    m_beyond += beyond;
    // A series never vanishes: when its rule gives no start at all (UNTIL
    // before the first start, a day no month has), the first start is its
    // one occurrence. One the rule does not give is otherwise none.
    if (out.size() == firstOut && overlaps(dtstartMs, durationMs)) {
        RuleIterator probe(rule, *frequency, dtstartLocal);
        probe.setLimit(untilLocal);
        bool any = false;
        while (!any && probe.nextPeriod(period)) {
            const auto first = std::lower_bound(period.begin(), period.end(), dtstartLocal);
            if (first == period.end())
                continue;
            any = *first <= untilLocal
                && (*first < untilExactFrom || clock.toUtc(*first) * 1000 + msRemainder <= untilMs);
            if (!any) // past UNTIL
                break;
        }
        if (!any)
            out.push_back(dtstartMs);
    }
    // Two wall-clock starts can meet in one instant when a DST gap moves one
    // of them forward.
    if (!std::is_sorted(out.begin() + firstOut, out.end()))
        std::sort(out.begin() + firstOut, out.end());
    out.erase(std::unique(out.begin() + firstOut, out.end()), out.end());
}

std::vector<qint64> SeriesExpander::starts(const Event &event)
{
    std::vector<qint64> out;
    starts(event, out);
    return out;
}

void SeriesExpander::starts(const Event &event, std::vector<qint64> &out)
{
    out.clear();
    if (!event.start_time.isValid())
        return;
    const ZoneClock &clock = clockFor(event);
    const qint64 startMs = event.start_time.toMSecsSinceEpoch();
    const qint64 durationMs = durationOf(event);
    const int msRemainder = int(floorMod(startMs, 1000));
    const qint64 dtstartLocal = nominalStart(event, clock, floorDiv(startMs, 1000));

    if (!event.recurrence_rule.isEmpty()) {
        const RecurrenceRule &rule = ruleOf(event.recurrence_rule);
        // An all-day series repeats on dates: a UTC end names one, as a UTC
        // key does, and the day it names is not cut off east of UTC.
        const bool datedEnd = event.is_all_day && rule.until.isValid()
            && rule.untilForm == RecurrenceRule::UntilForm::Utc;
        ruleStarts(datedEnd ? ruleOf(ExceptionKey::datedRule(event)) : rule, clock, dtstartLocal, msRemainder,
                   durationMs, out);
    } else if (overlaps(startMs, durationMs)) {
        out.push_back(startMs); // recurrence dates alone add to the first start
    }

    using namespace ExceptionKey::Detail;
    if (!event.recurrence_dates.isEmpty()) {
        // A date places its occurrence at the series' time of day.
        const qint64 secondOfDay = floorMod(dtstartLocal, secondsPerDay);
        const size_t before = out.size();
        forEachDateValue(event.recurrence_dates, [&](QStringView value) {
            const std::optional<Slot> slot = read(value, event.is_all_day, clock);
            if (!slot)
                return;
            const qint64 ms = startOf(*slot, secondOfDay, clock) + (slot->isDay ? msRemainder : 0);
            if (overlaps(ms, durationMs))
                out.push_back(ms);
        });
        if (out.size() != before) {
            std::sort(out.begin(), out.end());
            out.erase(std::unique(out.begin(), out.end()), out.end());
        }
    }

    if (!event.exception_dates.isEmpty() && !out.empty()) {
        std::vector<qint64> instants;
        std::vector<qint64> days;
        // Written in UTC, floating or as a date: within two days of the
        // instants whichever it is.
        const auto day = [](qint64 ms) {
            return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC).date().toString(QStringLiteral("yyyyMMdd"));
        };
        forEachDateValue(
            event.exception_dates,
            [&](QStringView value) {
                if (const std::optional<Slot> slot = read(value, event.is_all_day, clock))
                    (slot->isDay ? days : instants).push_back(slot->value);
            },
            day(out.front() - 2 * secondsPerDay * 1000), day(out.back() + 2 * secondsPerDay * 1000));
        std::sort(instants.begin(), instants.end());
        std::sort(days.begin(), days.end());
        out.erase(std::remove_if(out.begin(), out.end(),
                                 [&](qint64 ms) {
                                     return std::binary_search(instants.begin(), instants.end(), ms)
                                         || (!days.empty()
                                             && std::binary_search(days.begin(), days.end(), dayOf(ms, clock)));
                                 }),
                  out.end());
    }
    if (out.size() > size_t(m_maxStarts)) { // recurrence dates past the limit
        m_beyond += qint64(out.size()) - m_maxStarts;
        out.resize(size_t(m_maxStarts));
    }
}
