#include "quickadd.h"

#include "appstate.h"
#include "calendarrepository.h"
#include "eventaccess.h"
#include "eventrepository.h"
#include "icalendar.h"
#include "nlparser.h"
#include "recordnames.h"
#include "timeutil.h"

#include <QUuid>

using namespace Qt::StringLiterals;

namespace QuickAdd {

QString resolveCalendarId(const AppState *state, const QString &preferredCalendarId)
{
    if (!state || !state->calendars())
        return {};
    CalendarRepository *calendars = state->calendars();
    // An event put into a feed or a collection the server keeps read-only
    // would never reach it, and a feed's next refresh would drop it.
    const auto takesEvents = [state](const Calendar &calendar) {
        return EventAccess::readOnlyReason(state, calendar).isEmpty();
    };
    if (!preferredCalendarId.isEmpty()) {
        if (const std::optional<Calendar> preferred = calendars->getById(preferredCalendarId);
            preferred && takesEvents(*preferred))
            return preferredCalendarId;
    }
    const QList<Calendar> all = calendars->getAll();
    QString firstVisible;
    QString first;
    for (const Calendar &calendar : all) {
        if (!takesEvents(calendar))
            continue;
        if (calendar.is_default)
            return calendar.id;
        if (calendar.is_visible && firstVisible.isEmpty())
            firstVisible = calendar.id;
        if (first.isEmpty())
            first = calendar.id;
    }
    return firstVisible.isEmpty() ? first : firstVisible;
}

Event buildEvent(const AppState *state, const QString &text, const QString &preferredCalendarId)
{
    return buildEvent(state, text, preferredCalendarId, QDateTime::currentDateTime());
}

Event buildEvent(const AppState *state, const QString &text, const QString &preferredCalendarId, const QDateTime &now)
{
    Event event;
    if (text.trimmed().isEmpty())
        return event;
    const NLParser::ParseResult parsed = NLParser::parse(text, now);
    event.title = parsed.title.isEmpty() ? text.trimmed() : parsed.title;
    event.is_all_day = parsed.allDay;
    if (parsed.allDay) {
        // Dates, held at 00:00 UTC as the event form and pulled rows hold them.
        event.start_time = parsed.start.isValid() ? TimeUtil::utc(parsed.start.date()) : QDateTime();
        if (parsed.end)
            event.end_time = TimeUtil::utc(parsed.end->date());
        event.timezone = u"UTC"_s;
    } else {
        // The parsed wall clock is the user's local time: keepZoned() below
        // makes it an instant in the system zone, named in the row.
        event.start_time = parsed.start;
        event.end_time = parsed.end;
    }
    event.calendar_id = resolveCalendarId(state, preferredCalendarId);
    event.status = EventStatus::Confirmed;
    event.sync_status = SyncStatus::Pending;
    event.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    event.uid = event.id;
    event.created = QDateTime::currentDateTimeUtc();
    event.last_modified = event.created;
    event.sequence = 0;
    keepZoned(event);
    event.raw_icalendar = ICalendar::serializeNewEvent(event);
    return event;
}

QString addFromText(const AppState *state, const QString &text, const QString &preferredCalendarId)
{
    return addFromText(state, text, preferredCalendarId, QDateTime::currentDateTime());
}

QString addFromText(const AppState *state, const QString &text, const QString &preferredCalendarId,
                    const QDateTime &now)
{
    const Event event = buildEvent(state, text, preferredCalendarId, now);
    // A start or an end that is no date-time ("feb 30", "from 9 to 25")
    // would be stored as none.
    if (event.title.isEmpty() || event.calendar_id.isEmpty() || !event.start_time.isValid()
        || (event.end_time && !event.end_time->isValid()))
        return {};
    return state->events() && state->events()->insert(event) ? event.id : QString();
}

} // namespace QuickAdd
