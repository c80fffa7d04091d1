#pragma once

#include "providereventrepository.h"
#include "storetransaction.h"

#include <QString>

#include <optional>

class Database;

// The few column-level writes of a Google sync that must not go through a
// whole-row update: those would stamp last_modified, rewrite child rows and
// announce a local change. Everything runs on the shared connection.
class GoogleEventStore
{
public:
    GoogleEventStore(Database *database, const QString &calendarId);

    // The local row holding the Google event `providerEventId`, tombstones
    // included; empty when none.
    QString rowFor(const QString &providerEventId) const;
    // The push of the row was accepted as `providerEventId` in version `etag`.
    bool takeServerIdentity(const QString &id, const QString &providerEventId, const QString &etag);
    // The server has no copy: the next push creates the row anew.
    bool forgetServerIdentity(const QString &id);
    // The series master's exception list (a JSON array of start keys) gains
    // `startKey`. False when the series has no local row.
    bool addException(const QString &seriesProviderId, const QString &startKey);
    // One transaction of the shared connection, which may stay open across
    // turns of the event loop, from begin() to finish(). begin() is false when none could be opened
    // (another is open): the writes then go through without one.
    bool begin();
    void finish();

private:
    Database *m_database;
    QString m_calendarId;
    ProviderEventRepository m_rows;
    std::optional<StoreTransaction> m_transaction;
};
