#include "googleeventstore.h"

GoogleEventStore::GoogleEventStore(Database *database, const QString &calendarId)
    : m_calendarId(calendarId)
    , m_rows(database)
{
}

bool GoogleEventStore::takeServerIdentity(const QString &id, const QString &providerEventId, const QString &etag)
{
    return m_rows.setServerIdentity(id, providerEventId, etag);
}

bool GoogleEventStore::forgetServerIdentity(const QString &id)
{
    return m_rows.forgetServerIdentity(id);
}

bool GoogleEventStore::addException(const QString &seriesProviderId, const QString &startKey)
{
    return m_rows.addException(m_calendarId, seriesProviderId, startKey);
}
