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
    , m_firstDay(from.date())
    , m_endDay(to.time() == QTime(0, 0) ? to.date() : to.date().addDays(1))
{
}

QString TimeWindow::lowerBoundText() const
{
    return widened(m_from, -1);
}

QString TimeWindow::upperBoundText() const
{
    return widened(m_to, 1);
}

bool TimeWindow::contains(const QDateTime &value) const
{
    return value.isValid() && value >= m_from && value < m_to;
}

bool TimeWindow::containsDay(QDate day) const
{
    return day.isValid() && day >= m_firstDay && day < m_endDay;
}

bool TimeWindow::overlaps(const QDateTime &start, const QDateTime &end) const
{
    return start < m_to && end > m_from;
}

bool TimeWindow::overlapsDays(QDate first, QDate end) const
{
    return first < m_endDay && end > m_firstDay;
}

QDate TimeWindow::storedDate(const QString &stored)
{
    return QDate::fromString(stored.left(10), Qt::ISODate);
}
