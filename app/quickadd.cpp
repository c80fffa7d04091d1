#include "quickadd.h"

#include "appstate.h"
#include "calendarrepository.h"
#include "eventrepository.h"
#include "icalendar.h"
#include "nlparser.h"
#include "timeutil.h"

#include <QTimeZone>
#include <QUuid>

using namespace Qt::StringLiterals;

namespace QuickAdd {

QString resolveCalendarId(const AppState *state, const QString &preferredCalendarId)
{
    if (!state || !state->calendars())
        return {};
    CalendarRepository *calendars = state->calendars();
    if (!preferredCalendarId.isEmpty() && calendars->getById(preferredCalendarId))
        return preferredCalendarId;
    const QList<Calendar> all = calendars->getAll();
    QString firstVisible;
    for (const Calendar &calendar : all) {
        if (calendar.is_default)
            return calendar.id;
        if (calendar.is_visible && firstVisible.isEmpty())
            firstVisible = calendar.id;
    }
    if (!firstVisible.isEmpty())
        return firstVisible;
    return all.isEmpty() ? QString() : all.first().id;
}

Event buildEvent(const AppState *state, const QString &text, const QString &preferredCalendarId)
{
    return buildEvent(state, text, preferredCalendarId, QDateTime::currentDateTime());
}

Event buildEvent(const AppState *state, const QString &text, const QString &preferredCalendarId,
                 const QDateTime &now)
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
        // The wall clock of the zone it was typed in, named in the row; a bare
        // local time would be stored floating and move with the machine's zone.
        const QTimeZone zone = parsed.start.isValid() ? TimeUtil::representation(parsed.start) : QTimeZone::utc();
        event.start_time = parsed.start.isValid() ? parsed.start.toTimeZone(zone) : QDateTime();
        if (parsed.end)
            event.end_time = parsed.end->toTimeZone(zone);
        const QString name = QString::fromUtf8(zone.id());
        event.timezone = zone.isValid() && !name.isEmpty() ? name : u"UTC"_s;
    }
    event.calendar_id = resolveCalendarId(state, preferredCalendarId);
    event.status = u"confirmed"_s;
    event.sync_status = u"pending"_s;
    event.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    event.uid = event.id;
    event.created = QDateTime::currentDateTimeUtc();
    event.last_modified = event.created;
    event.sequence = 0;
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
    // A start that is no date-time ("feb 30") would be stored as no start.
    if (event.title.isEmpty() || event.calendar_id.isEmpty() || !event.start_time.isValid())
        return {};
    return state->events() && state->events()->insert(event) ? event.id : QString();
}

} // namespace QuickAdd
