#pragma once

#include "recordnames.h"

#include <QMetaType>
#include <QString>

// One participant of an event: a row of `attendees`.
struct Attendee
{
    QString id;
    QString event_id;
    QString email;
    QString name;
    QString role = AttendeeRole::Required;
    QString status = ParticipationStatus::NeedsAction;
    QString type;
    bool rsvp = false;

    friend bool operator==(const Attendee &a, const Attendee &b)
    {
        return a.id == b.id && a.event_id == b.event_id && a.email == b.email && a.name == b.name && a.role == b.role
            && a.status == b.status && a.type == b.type && a.rsvp == b.rsvp;
    }
    friend bool operator!=(const Attendee &a, const Attendee &b) { return !(a == b); }
};

Q_DECLARE_METATYPE(Attendee)
