#include "readonlycalendar.h"

#include "appstate.h"
#include "calendarrepository.h"

#include <QCoreApplication>

namespace ReadOnlyCalendar {

QString reason(AppState *state, const QString &calendarId)
{
    if (!state || !state->calendars() || calendarId.isEmpty())
        return QString();
    const std::optional<Calendar> calendar = state->calendars()->getById(calendarId);
    if (!calendar || !calendar->is_read_only)
        return QString();
    return QCoreApplication::translate("ReadOnlyCalendar",
                                       "\"%1\" is read-only: its events cannot be changed here.")
        .arg(calendar->name);
}

} // namespace ReadOnlyCalendar
