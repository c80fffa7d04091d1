#pragma once

#include <QByteArray>
#include <QDateTime>

// The calendar both expansion benchmarks (ours and libical's) read: a busy
// user's export of `events` VEVENTs, generated the same way on every run.
// It has VTIMEZONE blocks for its TZIDs, folded descriptions with escapes,
// organizers and attendees, an alarm on most events, all-day events, and 30%
// repeating events (daily, weekly, monthly by day and by date, yearly; with
// COUNT, UNTIL or open-ended; some with EXDATE) started before or during the
// year that is expanded.
namespace BenchCalendar {

QByteArray make(int events = 20000);

// The window every event is expanded over: the year 2025, in UTC.
QDateTime windowStart();
QDateTime windowEnd();

} // namespace BenchCalendar
