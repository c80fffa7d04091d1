#include "timewindow.h"

namespace {

QString widened(const QDateTime &bound, int days)
{
    return bound.toUTC().addDays(days).toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss"));
}

} // namespace

TimeWindow::TimeWindow(const QDateTime &from, const QDateTime &to)
    : m_from(from)
    , m_to(to)
    , m_fromMs(from.toMSecsSinceEpoch())
    , m_toMs(to.toMSecsSinceEpoch())
    , m_firstDay(from.date())
    , m_endDay(to.time() == QTime(0, 0) ? to.date() : to.date().addDays(1))
{
}

QString TimeWindow::lowerBoundText(int days) const
{
    return widened(m_from, -days);
}

QString TimeWindow::upperBoundText(int days) const
{
    return widened(m_to, days);
}

bool TimeWindow::contains(const QDateTime &value) const
{
    if (!value.isValid())
        return false;
    const qint64 ms = value.toMSecsSinceEpoch();
    return ms >= m_fromMs && ms < m_toMs;
}

bool TimeWindow::containsDay(QDate day) const
{
    return day.isValid() && day >= m_firstDay && day < m_endDay;
}

bool TimeWindow::overlaps(const QDateTime &start, const QDateTime &end) const
{
    return start.toMSecsSinceEpoch() < m_toMs && end.toMSecsSinceEpoch() > m_fromMs;
}

bool TimeWindow::startsBeforeEnd(const QDateTime &start) const
{
    return start.toMSecsSinceEpoch() < m_toMs;
}

bool TimeWindow::overlapsDays(QDate first, QDate end) const
{
    return first < m_endDay && end > m_firstDay;
}
