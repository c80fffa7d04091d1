#pragma once

#include <QDateTime>
#include <QList>
#include <QMetaType>
#include <QString>

#include <optional>

// One event preset, a row of `event_templates` (its sync_status column is kept
// by the repository's SQL alone).
struct EventTemplate
{
    QString id;
    QString name;
    QString title;
    QString description;
    QString location;
    QString color;
    bool is_all_day = false;
    int duration_minutes = 60;
    QString recurrence_rule;
    QString calendar_id;
    QList<int> reminders;
    int sort_order = 0;
    QDateTime created_at;
    QDateTime updated_at;
    std::optional<QDateTime> deleted_at;

    friend bool operator==(const EventTemplate &a, const EventTemplate &b)
    {
        return a.id == b.id && a.name == b.name && a.title == b.title && a.description == b.description
            && a.location == b.location && a.color == b.color && a.is_all_day == b.is_all_day
            && a.duration_minutes == b.duration_minutes && a.recurrence_rule == b.recurrence_rule
            && a.calendar_id == b.calendar_id && a.reminders == b.reminders && a.sort_order == b.sort_order
            && a.created_at == b.created_at && a.updated_at == b.updated_at && a.deleted_at == b.deleted_at;
    }
    friend bool operator!=(const EventTemplate &a, const EventTemplate &b) { return !(a == b); }
};

Q_DECLARE_METATYPE(EventTemplate)
