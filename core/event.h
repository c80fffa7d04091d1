#pragma once

#include "attendee.h"
#include "recordnames.h"
#include "reminder.h"

#include <QDateTime>
#include <QList>
#include <QMetaType>
#include <QString>

#include <optional>

// One row of `events` with its child rows. An expanded occurrence of a
// repeating event is a copy of the master with its own start, end and
// recurrence_id.
struct Event
{
    QString id;
    QString calendar_id;
    QString uid;
    QString provider_event_id;
    QString etag;
    QString href;
    QString title;
    QString description;
    QString location;
    QString geo_location;
    QDateTime start_time;
    std::optional<QDateTime> end_time;
    bool is_all_day = false;
    QString timezone = QStringLiteral("UTC");
    QString recurrence_rule;
    QString recurrence_dates;
    QString exception_dates;
    QString recurrence_id;
    QString master_event_uid;
    QString status = EventStatus::Confirmed;
    QString event_url;
    QString conference_url;
    QString organizer_email;
    QString organizer_name;
    int sequence = 0;
    QString raw_icalendar;
    QString color;
    QDateTime created;
    QDateTime last_modified;
    QString sync_status = SyncStatus::Synced;
    std::optional<QDateTime> deleted_at;
    QList<Reminder> reminders;
    QList<Attendee> attendees;

    // An override replaces one occurrence of a series.
    bool isOverride() const { return !master_event_uid.isEmpty() && !recurrence_id.isEmpty(); }

    friend bool operator==(const Event &a, const Event &b);
    friend bool operator!=(const Event &a, const Event &b) { return !(a == b); }
};

// The form every writer stores: a timed event's start and end as instants
// (TimeUtil::zoned) and `timezone` naming the zone its wall clock lives in
// (TimeUtil::zoneName), so that it reads back at the same instant under any
// system zone and repeats at that wall clock across DST. All-day events are
// dates and stay as they are.
void keepZoned(Event &event);

// Its members move by their bytes: lists grow by reallocation.
Q_DECLARE_TYPEINFO(Event, Q_RELOCATABLE_TYPE);
Q_DECLARE_METATYPE(Event)
