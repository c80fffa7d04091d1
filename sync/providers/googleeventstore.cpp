#include "googleeventstore.h"

#include "database.h"
#include "providerslog.h"

GoogleEventStore::GoogleEventStore(Database *database, const QString &calendarId)
    : m_database(database)
    , m_calendarId(calendarId)
    , m_rows(database)
{
}

QString GoogleEventStore::rowFor(const QString &providerEventId) const
{
    return m_rows.rowFor(m_calendarId, providerEventId);
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

bool GoogleEventStore::begin()
{
    // A transaction kept open across turns of the event loop must be the
    // outermost one: a savepoint in another's would end with it.
    if (m_database->inTransaction()) {
        qCWarning(lcProviders) << "[Google] could not begin a transaction: another one is open";
        return false;
    }
    // Without a transaction every row is its own commit: slower, still correct.
    m_transaction.emplace(m_database);
    if (m_transaction->isActive())
        return true;
    qCWarning(lcProviders) << "[Google] could not begin a transaction:" << m_transaction->errorText();
    m_transaction.reset();
    return false;
}

void GoogleEventStore::finish()
{
    if (m_transaction && !m_transaction->keep())
        qCWarning(lcProviders) << "[Google] commit failed:" << m_transaction->errorText();
    m_transaction.reset();
}
