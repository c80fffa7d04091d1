#pragma once

#include "event.h"

#include <QDateTime>
#include <QString>

class AppState;

// One typed line ("Lunch tomorrow at 12:30 for 90 min") becomes a stored
// event. `now` defaults to the current local date-time.
namespace QuickAdd {

// The new event's id, or empty text when nothing was stored: blank text, no
// calendar at all, a phrase naming a date that does not exist ("feb 30"), or
// a failed insert.
QString addFromText(const AppState *state, const QString &text, const QString &preferredCalendarId);
QString addFromText(const AppState *state, const QString &text, const QString &preferredCalendarId,
                    const QDateTime &now);

// The filled event, not stored; a default Event for blank text.
Event buildEvent(const AppState *state, const QString &text, const QString &preferredCalendarId);
Event buildEvent(const AppState *state, const QString &text, const QString &preferredCalendarId, const QDateTime &now);

// The preferred calendar when it exists; else the first default calendar,
// else the first visible one, else the first one; empty without calendars.
QString resolveCalendarId(const AppState *state, const QString &preferredCalendarId);

} // namespace QuickAdd
