#pragma once

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>

class Database;

// Which occurrences of repeating events have had a reminder shown: one note
// per reminder and occurrence start, so that a weekly meeting's reminder
// fires every week and each week once.
class OccurrenceAcks
{
public:
    struct Key
    {
        QString reminderId;
        QDateTime occurrenceStart;
        // Noted by its date (that of occurrenceStart) rather than its instant.
        bool allDay = false;
    };

    explicit OccurrenceAcks(Database *database);

    // The notes of occurrences starting at or after `since`, as keyOf() gives.
    QSet<QString> since(const QDateTime &since) const;
    // Notes the occurrences in one transaction; false (logged) on a failure,
    // and then none of them is noted.
    bool acknowledge(const QList<Key> &keys);
    // Forgets the notes of occurrences that started before `before`.
    bool prune(const QDateTime &before);

    static QString keyOf(const QString &reminderId, const QDateTime &occurrenceStart, bool allDay = false);

private:
    Database *m_database;
};
