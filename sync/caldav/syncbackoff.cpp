#include "syncbackoff.h"

#include <algorithm>

qint64 SyncBackoff::pauseSecs(int failures)
{
    if (failures <= 0)
        return 0;
    // 2^(failures - 1) minutes, clamped before the shift can overflow.
    const int doublings = std::min(failures - 1, 16);
    return qint64(std::min(kFirstPauseMinutes << doublings, kLongestPauseMinutes)) * 60;
}

void SyncBackoff::failed(const QString &key, const QDateTime &now, qint64 atLeastSecs)
{
    State &state = m_states[key];
    ++state.failures;
    state.retryAt = now.addSecs(std::max(pauseSecs(state.failures), atLeastSecs));
}

void SyncBackoff::succeeded(const QString &key)
{
    m_states.remove(key);
}

int SyncBackoff::failures(const QString &key) const
{
    return m_states.value(key).failures;
}

bool SyncBackoff::isPaused(const QString &key, const QDateTime &now) const
{
    const auto it = m_states.constFind(key);
    return it != m_states.cend() && now < it->retryAt;
}

bool SyncBackoff::isDue(const QString &key, const QDateTime &now) const
{
    const auto it = m_states.constFind(key);
    return it != m_states.cend() && now >= it->retryAt;
}
