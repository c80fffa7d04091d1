#pragma once

#include "recordnames.h"

#include <QDateTime>
#include <QMetaType>
#include <QString>

#include <optional>

// One alarm of an event: a row of `reminders`.
struct Reminder
{
    QString id;
    QString event_id;
    int minutes_before = 0;
    QString action = ReminderAction::Display;
    bool acknowledged = false;
    std::optional<QDateTime> trigger_time;

    friend bool operator==(const Reminder &a, const Reminder &b)
    {
        return a.id == b.id && a.event_id == b.event_id && a.minutes_before == b.minutes_before && a.action == b.action
            && a.acknowledged == b.acknowledged && a.trigger_time == b.trigger_time;
    }
    friend bool operator!=(const Reminder &a, const Reminder &b) { return !(a == b); }
};

Q_DECLARE_METATYPE(Reminder)
