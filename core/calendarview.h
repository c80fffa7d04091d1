#pragma once

#include "recordnames.h"

#include <QDateTime>
#include <QMetaType>
#include <QString>

#include <optional>

// One calendar group, a row of `calendar_views`. "all-calendars" is the seeded
// group that shows every calendar.
struct CalendarView
{
    QString id;
    QString name;
    QString color;
    QString calendar_ids = QStringLiteral("[]");
    bool is_default = false;
    int sort_order = 0;
    QString sync_status = SyncStatus::Pending;
    QDateTime created_at;
    QDateTime updated_at;
    std::optional<QDateTime> deleted_at;

    friend bool operator==(const CalendarView &a, const CalendarView &b)
    {
        return a.id == b.id && a.name == b.name && a.color == b.color && a.calendar_ids == b.calendar_ids
            && a.is_default == b.is_default && a.sort_order == b.sort_order && a.sync_status == b.sync_status
            && a.created_at == b.created_at && a.updated_at == b.updated_at && a.deleted_at == b.deleted_at;
    }
    friend bool operator!=(const CalendarView &a, const CalendarView &b) { return !(a == b); }
};

Q_DECLARE_METATYPE(CalendarView)
