#pragma once

// Reminder and attendee rows of events: batch and single loads, and the
// rewrite of an event's rows from its record. Internal to the store library.

#include "event.h"

#include <QList>
#include <QSqlDatabase>

class Database;

namespace EventChildRows {

// Fill the lists of every event from one statement per chunk of ids; a failed
// statement leaves the lists as they were.
void loadRemindersForEvents(Database &db, QList<Event> &events);
void loadAttendeesForEvents(Database &db, QList<Event> &events);

void loadReminders(Database &db, Event &event);
void loadAttendees(Database &db, Event &event);

// Replace the event's rows with those of its record. Elements without an id
// get a new UUID (the record is not changed). A reminder's trigger follows
// the start: without a trigger, or with one that is not start minus minutes
// (the start moved), it becomes start minus minutes, and a moved one is
// unacknowledged so that it fires again. False (logged) on the first failure.
// A new event has no rows to replace (with foreign keys on none can exist),
// so `replacing` false skips the delete.
bool writeReminderRows(Database &db, const Event &event, bool replacing = true);
bool writeAttendeeRows(Database &db, const Event &event, bool replacing = true);

} // namespace EventChildRows
