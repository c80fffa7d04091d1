#pragma once

#include "calendar.h"

#include <QString>

class AppState;

// Whether the events of a calendar may be changed from this program: not
// those of a subscription (a "webcal" feed, which is only ever read), nor
// those of a collection the server lets this user only read. The one rule
// the event form, the scope prompt and the details card ask.
namespace EventAccess {

// Why the calendar's events can't be changed, as a sentence for the user;
// empty when they can. An unknown calendar is no reason.
QString readOnlyReason(const Calendar &calendar, const QString &accountType);
QString readOnlyReason(const AppState *state, const Calendar &calendar);
QString readOnlyReason(const AppState *state, const QString &calendarId);

} // namespace EventAccess
