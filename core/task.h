#pragma once

#include "recordnames.h"

#include <QDateTime>
#include <QMetaType>
#include <QString>
#include <QStringList>

#include <optional>

// One to-do item (VTODO), a row of `tasks`. The two date-only flags and
// repeat_mode are declared next to the fields they qualify, not in column order.
struct Task
{
    QString id;
    QString calendar_id;
    QString uid;
    QString etag;
    QString href;
    QString title;
    QString description;
    QString status = TaskStatus::NeedsAction;
    int priority = 0;
    int percent_complete = 0;
    std::optional<QDateTime> due_date;
    std::optional<QDateTime> start_date;
    bool due_is_date_only = true;
    bool start_is_date_only = true;
    std::optional<QDateTime> completed_date;
    QStringList categories;
    QString parent_task_uid;
    int sort_order = 0;
    QString color;
    QString recurrence_rule;
    QString repeat_mode = RepeatMode::FromDueDate;
    int sequence = 0;
    QString raw_icalendar;
    QDateTime created;
    QDateTime last_modified;
    QString sync_status = SyncStatus::Synced;
    std::optional<QDateTime> deleted_at;

    friend bool operator==(const Task &a, const Task &b);
    friend bool operator!=(const Task &a, const Task &b) { return !(a == b); }
};

Q_DECLARE_METATYPE(Task)
