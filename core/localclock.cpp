#include "localclock.h"

#include <algorithm>
#include <limits>

LocalClock::LocalClock()
    : m_zone(QTimeZone::systemTimeZone())
{
}

std::optional<qint64> LocalClock::wallClock(const QDateTime &dt)
{
    if (!dt.isValid())
        return std::nullopt;
    if (!m_zone.isValid())
        return wallClockOnce(dt);
    return wallClockAt(dt.toMSecsSinceEpoch());
}

qint64 LocalClock::wallClockAt(qint64 ms)
{
    if (!m_zone.isValid())
        return wallClockOnce(QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC)).value_or(ms);
    const auto found = std::find_if(m_spans.cbegin(), m_spans.cend(),
                                    [ms](const Span &s) { return ms >= s.from && ms < s.to; });
    const int offset = found != m_spans.cend() ? found->offset : learn(ms);
    return ms + qint64(offset) * 1000;
}

std::optional<qint64> LocalClock::wallClockOnce(const QDateTime &dt)
{
    const QDateTime local = dt.toLocalTime();
    if (!local.isValid())
        return std::nullopt;
    return QDateTime(local.date(), local.time(), Qt::UTC).toMSecsSinceEpoch();
}

int LocalClock::learn(qint64 ms)
{
    const QDateTime at = QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
    // One millisecond later, so that an instant of change counts as the
    // start of its own span rather than the end of the previous one.
    const QTimeZone::OffsetData before = m_zone.previousTransition(at.addMSecs(1));
    const QTimeZone::OffsetData after = m_zone.nextTransition(at);
    const Span s{before.atUtc.isValid() ? before.atUtc.toMSecsSinceEpoch() : std::numeric_limits<qint64>::min(),
                 after.atUtc.isValid() ? after.atUtc.toMSecsSinceEpoch() : std::numeric_limits<qint64>::max(),
                 m_zone.offsetFromUtc(at)};
    if (s.from <= ms && ms < s.to) // otherwise the transition data is odd: trusted for this instant only
        m_spans.append(s);
    return s.offset;
}
