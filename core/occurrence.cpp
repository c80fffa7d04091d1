#include "occurrence.h"

#include "civildate_p.h"
#include "timeutil.h"

#include <limits>

Occurrence Occurrence::ofRow(const Event &row)
{
    Occurrence occurrence;
    occurrence.m_event = &row;
    occurrence.m_startMs = row.start_time.isValid() ? row.start_time.toMSecsSinceEpoch()
                                                    : std::numeric_limits<qint64>::min();
    occurrence.m_endMs = row.end_time && row.end_time->isValid() ? row.end_time->toMSecsSinceEpoch()
                                                                 : occurrence.m_startMs;
    return occurrence;
}

Occurrence Occurrence::ofSeries(const Event &series, qint64 startMs, qint64 endMs, int startOffset, int endOffset)
{
    Occurrence occurrence;
    occurrence.m_event = &series;
    occurrence.m_startMs = startMs;
    occurrence.m_endMs = endMs;
    occurrence.m_slotMs = startMs;
    occurrence.m_startOffset = startOffset;
    occurrence.m_endOffset = endOffset;
    occurrence.m_generated = true;
    return occurrence;
}

Occurrence Occurrence::ofShifted(const Event &row, qint64 slotMs, qint64 startMs, qint64 endMs, int offset)
{
    Occurrence occurrence = ofSeries(row, startMs, endMs, offset, offset);
    occurrence.m_slotMs = slotMs;
    return occurrence;
}

QDateTime Occurrence::at(qint64 ms, int offset) const
{
    const QDateTime &start = m_event->start_time;
    switch (start.timeSpec()) {
    case Qt::UTC: return QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
    case Qt::OffsetFromUTC: return QDateTime::fromMSecsSinceEpoch(ms, Qt::OffsetFromUTC, offset);
    case Qt::TimeZone: return QDateTime::fromMSecsSinceEpoch(ms, start.timeZone());
    default: return QDateTime::fromMSecsSinceEpoch(ms, Qt::LocalTime);
    }
}

QDateTime Occurrence::start() const
{
    return m_generated ? at(m_startMs, m_startOffset) : m_event->start_time;
}

std::optional<QDateTime> Occurrence::end() const
{
    if (!m_generated)
        return m_event->end_time;
    return at(m_endMs, m_endOffset);
}

QString Occurrence::recurrenceId() const
{
    if (!m_generated)
        return m_event->recurrence_id;
    // An all-day series names its occurrences by their dates; a moved one
    // keeps the name of the slot it was moved from.
    return m_event->is_all_day ? TimeUtil::toIcalDate(at(m_slotMs, m_startOffset).date()) : recurrenceIdAt(m_slotMs);
}

Event Occurrence::toEvent() const
{
    if (!m_generated)
        return *m_event;
    Event event = *m_event;
    event.start_time = start();
    event.end_time = end();
    event.recurrence_id = recurrenceId();
    return event;
}

// Formatted by hand: it runs once per occurrence, and QDateTime::toString
// parses its format every time.
QString Occurrence::recurrenceIdAt(qint64 ms)
{
    const qint64 seconds = CivilDate::floorDiv(ms, 1000);
    const qint64 day = CivilDate::floorDiv(seconds, CivilDate::secondsPerDay);
    const CivilDate::Ymd ymd = CivilDate::civilFromDays(day);
    if (ymd.year < 0 || ymd.year > 9999)
        return TimeUtil::toIcalUtc(QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC));
    const int secondOfDay = int(seconds - day * CivilDate::secondsPerDay);
    QString text(16, Qt::Uninitialized);
    QChar *out = text.data();
    const auto put = [&out](int value, int digits) {
        for (int i = digits - 1; i >= 0; --i) {
            out[i] = QLatin1Char(char('0' + value % 10));
            value /= 10;
        }
        out += digits;
    };
    put(ymd.year, 4);
    put(ymd.month, 2);
    put(ymd.day, 2);
    *out++ = QLatin1Char('T');
    put(secondOfDay / 3600, 2);
    put(secondOfDay / 60 % 60, 2);
    put(secondOfDay % 60, 2);
    *out = QLatin1Char('Z');
    return text;
}
