#pragma once

#include <QString>

class AppState;

// Events of a read-only calendar (a subscribed feed, or a collection the
// server lets this user only read) are not changed here: every place that
// edits or deletes an event asks first.
namespace ReadOnlyCalendar {

// Empty when the events of `calendarId` may be changed; else the reason,
// for the user.
QString reason(AppState *state, const QString &calendarId);

} // namespace ReadOnlyCalendar
