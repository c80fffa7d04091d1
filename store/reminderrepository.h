#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class Database;

// The reminder rows as the notification poll reads them: which are due, and
// marking them shown.
class ReminderRepository
{
public:
    struct Unacknowledged
    {
        QString reminderId;
        QString eventId;
        QString title;
        QString location;
        QDateTime start; // the event's, as stored
        int minutesBefore = 0;
        bool allDay = false;
    };

    explicit ReminderRepository(Database *database);

    // The reminders not yet shown of live events starting after
    // `startsAfter` whose stored trigger is at or before `triggeredBy`, by
    // trigger. Stored times carry "Z", an offset or no suffix and compare as
    // text, so both bounds are a day wider than asked: the caller decides on
    // the instants. Empty (logged) on a failure.
    QList<Unacknowledged> unacknowledged(const QDateTime &startsAfter, const QDateTime &triggeredBy) const;
    // Marks the reminders shown; false (logged) at the first failure.
    bool acknowledge(const QStringList &reminderIds);

private:
    Database *m_database;
};
