#pragma once

#include "event.h"
#include "task.h"

// Records shared by the writer and server round-trip tests.
namespace IcalSamples {

QDateTime zoned(const char *zone, int y, int m, int d, int h, int min = 0);
QDateTime utc(int y, int m, int d, int h = 0, int min = 0);
Attendee attendee(const QString &email, const QString &name, const QString &role, const QString &status,
                  const QString &type, bool rsvp);
Reminder reminder(int minutes, const QString &action = QStringLiteral("display"));

// A weekly series in Europe/Berlin holding every event field the text carries:
// separators and a place marker in the title, a long two-line description,
// exceptions, an extra date, organizer, attendees and two alarms.
Event richEvent();
// A yearly all-day series over three days (30 March to 1 April) with one
// date exception.
Event allDaySeries();
// An override of `master` moving the occurrence `recurrenceId` (UTC text).
Event overrideOf(const Event &master, const QString &recurrenceId, const QDateTime &start, const QDateTime &end);
// A task with every field the text carries.
Task richTask();

} // namespace IcalSamples
