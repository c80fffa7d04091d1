#pragma once

#include "recordnames.h"

#include <QDateTime>
#include <QMetaType>
#include <QString>

#include <optional>

// One hide-or-dim rule, a row of `filter_rules`. `type` is "pattern", "time",
// "specific" or "all_day"; `conditions` holds the rule's JSON object.
struct FilterRule
{
    QString id;
    QString name;
    QString type;
    bool enabled = true;
    QString calendar_ids = QStringLiteral("[]");
    QString conditions;
    QString action = FilterAction::Hide;
    int priority = 100;
    QString event_uid;
    QString event_calendar_id;
    bool suppress_reminders = false;
    QString sync_status = SyncStatus::Pending;
    QDateTime created_at;
    QDateTime updated_at;
    std::optional<QDateTime> deleted_at;

    friend bool operator==(const FilterRule &a, const FilterRule &b);
    friend bool operator!=(const FilterRule &a, const FilterRule &b) { return !(a == b); }
};

Q_DECLARE_METATYPE(FilterRule)
