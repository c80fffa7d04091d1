#pragma once

#include <QDateTime>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

class Database;

// The few column-level writes of a provider sync (an event service that
// names its events by an id of its own) that must not go through a
// whole-row update: those would stamp last_modified, rewrite child rows and
// announce a local change.
class ProviderEventRepository
{
public:
    explicit ProviderEventRepository(Database *database);

    // The rows of `calendarId` by the provider event id they hold (row id),
    // tombstones included.
    QHash<QString, QString> rowsByProviderId(const QString &calendarId) const;
    bool setServerIdentity(const QString &id, const QString &providerEventId, const QString &etag);
    // The provider has no copy: its id, ETag and href go.
    bool forgetServerIdentity(const QString &id);
    // The exception list (a JSON array of start keys) of the series master
    // holding `seriesProviderId` gains `startKey`. False when the series has
    // no row.
    bool addException(const QString &calendarId, const QString &seriesProviderId, const QString &startKey);

    // Deletes the rows `ids` with their attendee, attachment and reminder
    // rows, one statement per table for all of them; false, and nothing
    // deleted, when the events' delete failed.
    bool removeRows(const QStringList &ids);

    // Synced rows of `calendarId` that hold a provider id outside `listed`:
    // row id -> provider id. Pending rows and rows never pushed are not among
    // them; with valid bounds, neither are rows starting outside [from, to).
    QHash<QString, QString> syncedRowsNotIn(const QString &calendarId, const QSet<QString> &listed,
                                            const QDateTime &from = {}, const QDateTime &to = {}) const;

private:
    Database *m_database;
};
