#pragma once

#include "providereventrepository.h"

#include <QString>

class Database;

// The few column-level writes of a Google sync that must not go through a
// whole-row update: those would stamp last_modified, rewrite child rows and
// announce a local change.
class GoogleEventStore
{
public:
    GoogleEventStore(Database *database, const QString &calendarId);

    // The push of the row was accepted as `providerEventId` in version `etag`.
    bool takeServerIdentity(const QString &id, const QString &providerEventId, const QString &etag);
    // The server has no copy: the next push creates the row anew.
    bool forgetServerIdentity(const QString &id);
    // The series master's exception list (a JSON array of start keys) gains
    // `startKey`. False when the series has no local row.
    bool addException(const QString &seriesProviderId, const QString &startKey);

private:
    QString m_calendarId;
    ProviderEventRepository m_rows;
};
