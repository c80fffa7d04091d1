#pragma once

#include <QDateTime>
#include <QList>
#include <QTimeZone>

#include <optional>

// Local wall-clock readings of many instants, as when filtering a list of
// occurrences by their local start time. The system zone's offset holds
// between two of its transitions, so it is looked up once per such interval
// (a list rarely spans more than a few) instead of converting each instant
// through the C library. Follows the zone in effect when constructed.
class LocalClock
{
public:
    LocalClock();

    // The local wall clock of `dt` as milliseconds since 1970-01-01T00:00
    // local time; empty for an invalid date-time.
    std::optional<qint64> wallClock(const QDateTime &dt);
    // The same of the instant `ms` since the epoch, without a QDateTime.
    qint64 wallClockAt(qint64 ms);

    // The same through QDateTime::toLocalTime, for a single reading.
    static std::optional<qint64> wallClockOnce(const QDateTime &dt);

private:
    struct Span
    {
        qint64 from; // the latest transition at or before the instants
        qint64 to; // the next transition after them
        int offset; // seconds
    };

    int learn(qint64 ms);

    QTimeZone m_zone;
    QList<Span> m_spans;
};
