#pragma once

#include "calendar.h"

#include <QList>
#include <QString>

class AppState;
class QComboBox;

// The calendar combo box of the item forms.
namespace CalendarChoice {

// Adds the calendars new items may go to (visible, and open to change by
// EventAccess), and
// `ownCalendarId` whatever it is, so that an item is edited where it lives.
// Sorted by label; each item's data is the calendar id. Returns the calendars
// in the order added.
QList<Calendar> fill(QComboBox *combo, const AppState *state, const QString &ownCalendarId = QString());

// Adds one calendar, found by id, at the end; false when there is none.
bool add(QComboBox *combo, const AppState *state, const QString &calendarId);

} // namespace CalendarChoice
