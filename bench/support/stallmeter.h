#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
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

namespace ProcessMemory {

// A field of /proc/self/status in kB ("VmHWM:" is the peak resident size).
inline qint64 statusKilobytes(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray &line : lines) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Writing 5 to clear_refs resets the peak to the present size.
inline void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

} // namespace ProcessMemory
