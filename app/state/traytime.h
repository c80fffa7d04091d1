#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// Dates and clock texts shared by the tray, its popover and the reminders.
namespace TrayTime {

// The day an occurrence belongs to: an all-day start keeps the date it was
// stored with (a midnight-UTC date must not become the evening before west
// of Greenwich); a timed start is read in local time.
QDate occurrenceDay(const QDateTime &start, bool allDay);

// "Today", "Tomorrow", "Yesterday", else the day as "Mon, May 13".
QString dayLabel(const QDate &day, const QDate &today);

// The local time of day as "9:05 AM", whatever the user's locale.
QString clockText(const QDateTime &dateTime);

} // namespace TrayTime
