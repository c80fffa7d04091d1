#pragma once

#include <QString>

class Database;

// The few column-level writes of a provider sync (an event service that
// names its events by an id of its own) that must not go through a
// whole-row update: those would stamp last_modified, rewrite child rows and
// announce a local change.
class ProviderEventRepository
{
public:
    explicit ProviderEventRepository(Database *database);

    // The row of `calendarId` holding the provider's event
    // `providerEventId`, tombstones included; empty when none.
    QString rowFor(const QString &calendarId, const QString &providerEventId) const;
    // The row learns the provider's current version; content and status stay.
    bool setEtag(const QString &id, const QString &etag);
    bool setServerIdentity(const QString &id, const QString &providerEventId, const QString &etag);
    // The provider has no copy: its id, ETag and href go.
    bool forgetServerIdentity(const QString &id);
    // The exception list (a JSON array of start keys) of the series master
    // holding `seriesProviderId` gains `startKey`. False when the series has
    // no row.
    bool addException(const QString &calendarId, const QString &seriesProviderId, const QString &startKey);

private:
    Database *m_database;
};
