#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>

// The process's memory as /proc/self/status tells it, for the benchmarks
// that report a peak.
namespace PeakMemory {

// A field of /proc/self/status in kB ("VmHWM:" the peak, "VmRSS:" now); -1
// when it cannot be read.
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

// Starts the peak (VmHWM) again from the present size.
inline void reset()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

} // namespace PeakMemory
