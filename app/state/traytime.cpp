#include "traytime.h"

#include <QCoreApplication>

namespace TrayTime {

QDate occurrenceDay(const QDateTime &start, bool allDay)
{
    return allDay ? start.date() : start.toLocalTime().date();
}

QString dayLabel(const QDate &day, const QDate &today)
{
    if (day == today)
        return QCoreApplication::translate("TrayTime", "Today");
    if (day == today.addDays(1))
        return QCoreApplication::translate("TrayTime", "Tomorrow");
    if (day == today.addDays(-1))
        return QCoreApplication::translate("TrayTime", "Yesterday");
    return day.toString(QStringLiteral("ddd, MMM d"));
}

QString clockText(const QDateTime &dateTime)
{
    return dateTime.toLocalTime().toString(QStringLiteral("h:mm AP"));
}

} // namespace TrayTime
