#pragma once

// What the subscription tests share: a store behind a real AppState, a
// subscription calendar made as the subscribe dialogs make one, and one
// refresh awaited to its end.

#include "accountrepository.h"
#include "appstate.h"
#include "appstatefixture.h"
#include "calendarrepository.h"
#include "eventrepository.h"
#include "syncrunreport.h"
#include "webcalsyncclient.h"

#include <QSignalSpy>
#include <QTimeZone>

using RefreshOutcome = RunOutcome;

// A calendar under the subscriptions account with `url` as its feed.
inline Calendar addSubscription(AppState *state, const QString &url, const QString &name = QStringLiteral("Feed"))
{
    const Account account = Webcal::SyncClient::ensureSubscriptionsAccount(state);
    Calendar calendar;
    calendar.url = url;
    calendar.name = name;
    calendar.is_read_only = true;
    return AppStateFixture::addSyncingCalendar(state, account.id, calendar);
}

// One fetch of the calendar as it is stored now, awaited to its end.
inline RefreshOutcome refreshOnce(AppState *state, const QString &calendarId, int timeLimitMs = 0, qint64 sizeLimit = 0)
{
    RefreshOutcome outcome;
    const std::optional<Calendar> calendar = state->calendars()->getById(calendarId);
    if (!calendar)
        qFatal("no such calendar");
    Webcal::SyncClient client(state);
    if (timeLimitMs > 0)
        client.setLimits(timeLimitMs, sizeLimit);
    const SyncRunReport::Spies spies(&client);
    client.syncCalendar(*calendar);
    spies.read(QStringLiteral("the refresh did not end"), outcome);
    return outcome;
}

// "uid | recurrence id | title | location | start | end" per live row, sorted.
// Timed values as UTC instants, floating ones as the local wall clock, all-day
// ones as dates.
inline QStringList eventLines(AppState *state, const QString &calendarId)
{
    // A floating value is kept as an instant in the zone of the machine that
    // read it; its wall clock there is what the feed said.
    auto floating = [](const Event &event) {
        const qsizetype at = event.raw_icalendar.indexOf(QLatin1String("\nDTSTART"));
        const QString line =
            event.raw_icalendar.mid(at + 1, event.raw_icalendar.indexOf(QLatin1Char('\n'), at + 1) - at - 1).trimmed();
        return at >= 0 && !line.contains(QLatin1String("TZID=")) && !line.endsWith(QLatin1Char('Z'));
    };
    auto when = [&floating](const Event &event, const QDateTime &value) {
        if (!value.isValid())
            return QStringLiteral("-");
        if (event.is_all_day)
            return value.date().toString(Qt::ISODate);
        if (floating(event))
            return value.toTimeZone(QTimeZone(event.timezone.toUtf8())).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"))
                + QStringLiteral(" floating");
        return value.toUTC().toString(Qt::ISODate);
    };
    QStringList lines;
    const QList<Event> events = state->events()->getByCalendar(calendarId);
    for (const Event &event : events) {
        lines.append(QStringList{event.uid, event.recurrence_id.isEmpty() ? QStringLiteral("-") : event.recurrence_id,
                                 event.title, event.location.isEmpty() ? QStringLiteral("-") : event.location,
                                 when(event, event.start_time),
                                 event.end_time ? when(event, *event.end_time) : QStringLiteral("-")}
                         .join(QStringLiteral(" | ")));
    }
    lines.sort();
    return lines;
}
