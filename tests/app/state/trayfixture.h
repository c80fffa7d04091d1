#pragma once

// Events, rules and a fixed clock for the tray, popover and reminder tests,
// written through the real repositories of a started AppState.

#include "appstate.h"
#include "event.h"
#include "eventrepository.h"
#include "filterrule.h"
#include "filterrulerepository.h"

#include <QDateTime>
#include <QList>
#include <QTest>
#include <QTimeZone>
#include <QUuid>

namespace TrayFixture {

// The calendar AppState seeds on a first start without sign-in.
inline QString personalCalendar()
{
    return QStringLiteral("quillmarten-personal-default");
}

inline QDateTime local(int year, int month, int day, int hour, int minute = 0, int second = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

// An all-day event as calendar servers and the importer store it: midnight UTC.
inline QDateTime utcDate(const QDate &date)
{
    return QDateTime(date, QTime(0, 0), QTimeZone::utc());
}

struct EventDraft
{
    EventDraft() = default;
    EventDraft(const QString &title, const QDateTime &start, std::optional<QDateTime> end = std::nullopt)
        : title(title)
        , start(start)
        , end(std::move(end))
    {
    }
    EventDraft &remind(const QList<int> &minutes)
    {
        reminderMinutes = minutes;
        return *this;
    }
    EventDraft &wholeDay()
    {
        allDay = true;
        return *this;
    }
    EventDraft &at(const QString &place)
    {
        location = place;
        return *this;
    }
    EventDraft &repeating(const QString &rule)
    {
        rrule = rule;
        return *this;
    }

    QString title;
    QDateTime start;
    std::optional<QDateTime> end;
    QList<int> reminderMinutes;
    bool allDay = false;
    QString location;
    QString rrule;
};

inline Event makeEvent(const EventDraft &draft)
{
    Event e;
    e.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    e.uid = e.id + QStringLiteral("@test");
    e.calendar_id = personalCalendar();
    e.title = draft.title;
    e.location = draft.location;
    e.start_time = draft.start;
    e.end_time = draft.end;
    e.is_all_day = draft.allDay;
    e.recurrence_rule = draft.rrule;
    e.raw_icalendar = QStringLiteral("");
    e.created = QDateTime::currentDateTimeUtc();
    e.last_modified = e.created;
    for (const int minutes : draft.reminderMinutes) {
        Reminder r;
        r.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
        r.event_id = e.id;
        r.minutes_before = minutes;
        e.reminders.append(r);
    }
    return e;
}

// Stores the event; the id, or empty on failure (the caller's QVERIFY says so).
inline QString addEvent(AppState *state, const EventDraft &draft)
{
    const Event e = makeEvent(draft);
    return state->events()->insert(e) ? e.id : QString();
}

inline bool addRule(AppState *state, const QString &conditions, const QString &action, bool suppressReminders)
{
    FilterRule rule;
    rule.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    rule.name = QStringLiteral("rule ") + rule.id.left(4);
    rule.type = QStringLiteral("pattern");
    rule.conditions = conditions;
    rule.action = action;
    rule.suppress_reminders = suppressReminders;
    rule.created_at = QDateTime::currentDateTimeUtc();
    rule.updated_at = rule.created_at;
    return state->filterRules()->insert(rule);
}

inline QString titleContains(const QString &phrase)
{
    return QStringLiteral(R"({"runtimeType":"pattern","titleContains":["%1"]})").arg(phrase);
}

} // namespace TrayFixture
