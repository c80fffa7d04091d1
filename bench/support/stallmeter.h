#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

// The longest gap between two turns of a 1 ms timer on this thread's event
// loop while it lives: how long the GUI thread was held at a time.
class StallMeter
{
public:
    StallMeter()
    {
        m_tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_tick, &QTimer::timeout, &m_tick,
                         [this] { m_longestMs = std::max(m_longestMs, m_sinceTick.restart()); });
        m_tick.start(1);
        m_sinceTick.start();
    }
    qint64 longestMs() const { return m_longestMs; }

private:
    QTimer m_tick;
    QElapsedTimer m_sinceTick;
    qint64 m_longestMs = 0;
};
