#include "zoneclock_p.h"

#include "civildate_p.h"

#include <QDateTime>

#include <algorithm>
#include <optional>

namespace {

// Real zones never change their offset twice within this span, and no offset
// exceeds it, so one transition at most decides a conversion.
constexpr qint64 kNear = CivilDate::secondsPerDay;
// How far beyond the asked-for time transitions are fetched in one go.
constexpr qint64 kFetchMargin = 400 * CivilDate::secondsPerDay;

} // namespace

ZoneClock ZoneClock::fixedOffset(int offsetSeconds)
{
    ZoneClock clock;
    clock.m_fixedOffset = offsetSeconds;
    return clock;
}

ZoneClock ZoneClock::forZone(const QTimeZone &zone)
{
    if (!zone.isValid())
        return fixedOffset(0);
    ZoneClock clock;
    clock.m_zone = zone;
    clock.m_fixed = false;
    return clock;
}

ZoneClock ZoneClock::forRules(const ZoneRules &rules)
{
    ZoneClock clock;
    clock.m_rules = std::make_shared<const ZoneRules>(rules);
    clock.m_fixed = false;
    return clock;
}

ZoneClock ZoneClock::systemLocal()
{
    return forZone(QTimeZone::systemTimeZone());
}

void ZoneClock::cover(qint64 fromUtc, qint64 toUtc) const
{
    if (m_covered && fromUtc >= m_coveredFrom && toUtc <= m_coveredTo)
        return;
    const qint64 lo = m_covered ? std::min(m_coveredFrom, fromUtc - kFetchMargin) : fromUtc - kFetchMargin;
    const qint64 hi = m_covered ? std::max(m_coveredTo, toUtc + kFetchMargin) : toUtc + kFetchMargin;
    m_covered = true;
    m_coveredFrom = lo;
    m_coveredTo = hi;
    m_transitions.clear();
    if (m_rules) {
        m_offsetBeforeFirst = m_rules->initialOffset();
        for (const ZoneRules::Onset &onset : m_rules->onsetsUntil(hi)) {
            if (onset.atUtc <= lo)
                m_offsetBeforeFirst = onset.offsetAfter;
            else
                m_transitions.push_back({onset.atUtc, onset.offsetBefore, onset.offsetAfter});
        }
        return;
    }
    m_offsetBeforeFirst = m_zone.offsetFromUtc(QDateTime::fromSecsSinceEpoch(lo, Qt::UTC));
    const QTimeZone::OffsetDataList list = m_zone.transitions(QDateTime::fromSecsSinceEpoch(lo + 1, Qt::UTC),
                                                              QDateTime::fromSecsSinceEpoch(hi, Qt::UTC));
    int previous = m_offsetBeforeFirst;
    for (const QTimeZone::OffsetData &data : list) {
        const qint64 at = data.atUtc.toSecsSinceEpoch();
        if (at <= lo || at > hi || data.offsetFromUtc == previous)
            continue;
        m_transitions.push_back({at, previous, data.offsetFromUtc});
        previous = data.offsetFromUtc;
    }
}

int ZoneClock::offsetAt(qint64 utcSeconds) const
{
    cover(utcSeconds, utcSeconds);
    const auto it = std::upper_bound(m_transitions.begin(), m_transitions.end(), utcSeconds,
                                     [](qint64 t, const Transition &tr) { return t < tr.atUtc; });
    return it == m_transitions.begin() ? m_offsetBeforeFirst : std::prev(it)->offsetAfter;
}

qint64 ZoneClock::toLocal(qint64 utcSeconds) const
{
    if (m_fixed)
        return utcSeconds + m_fixedOffset;
    return utcSeconds + offsetAt(utcSeconds);
}

qint64 ZoneClock::toUtc(qint64 localSeconds) const
{
    if (m_fixed)
        return localSeconds - m_fixedOffset;
    cover(localSeconds - 2 * kNear, localSeconds + 2 * kNear);
    // Every instant this wall clock can denote lies within a day of it.
    auto it = std::upper_bound(m_transitions.begin(), m_transitions.end(), localSeconds - kNear,
                               [](qint64 t, const Transition &tr) { return t < tr.atUtc; });
    int offset = it == m_transitions.begin() ? m_offsetBeforeFirst : std::prev(it)->offsetAfter;
    qint64 periodStart = localSeconds - kNear;
    std::optional<qint64> beforeGap;
    for (; it != m_transitions.end() && it->atUtc <= localSeconds + kNear; ++it) {
        const qint64 candidate = localSeconds - offset;
        if (candidate >= periodStart && candidate < it->atUtc)
            return candidate; // the earliest period whose reading holds
        if (it->offsetAfter > offset && localSeconds - it->offsetAfter < it->atUtc)
            beforeGap = candidate;
        periodStart = it->atUtc;
        offset = it->offsetAfter;
    }
    if (localSeconds - offset >= periodStart)
        return localSeconds - offset;
    return beforeGap.value_or(localSeconds - offset);
}

bool ZoneClock::followsGap(qint64 localSeconds) const
{
    if (m_fixed)
        return false;
    cover(localSeconds - 2 * kNear, localSeconds + 2 * kNear);
    for (const Transition &t : m_transitions) {
        const qint64 gapEnd = t.atUtc + t.offsetAfter; // the first wall clock after the gap
        if (t.offsetAfter > t.offsetBefore && localSeconds >= gapEnd
            && localSeconds < gapEnd + (t.offsetAfter - t.offsetBefore)) {
            return true;
        }
    }
    return false;
}
