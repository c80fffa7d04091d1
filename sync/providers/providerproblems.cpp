#include "providerproblems.h"

#include "appstate.h"
#include "calendarrepository.h"
#include "eventrepository.h"
#include "providerslog.h"
#include "storefailure.h"

#include <QCoreApplication>
#include <QCryptographicHash>

namespace {

QString digestOf(const QByteArray &body)
{
    return QString::fromLatin1(QCryptographicHash::hash(body, QCryptographicHash::Sha1).toHex());
}

} // namespace

ProviderProblems::ProviderProblems(AppState *appState, const QString &calendarId)
    : m_appState(appState)
    , m_calendarId(calendarId)
    , m_problems(appState->database(), calendarId)
    , m_refused(m_problems.all(SyncItemProblems::Kind::Refused))
{
}

ProviderProblems::ProviderProblems(Database *database, const QString &calendarId)
    : m_calendarId(calendarId)
    , m_problems(database, calendarId)
    , m_refused(m_problems.all(SyncItemProblems::Kind::Refused))
{
}

bool ProviderProblems::wasRefused(const QString &localId, const QByteArray &body) const
{
    const auto refused = m_refused.constFind(localId);
    return refused != m_refused.cend() && *refused == digestOf(body);
}

void ProviderProblems::refuse(const QString &localId, const QByteArray &body, const QString &detail)
{
    qCWarning(lcProviders) << "calendar" << m_calendarId << "leaves row" << localId << "behind";
    qCDebug(lcProviders) << "because" << detail;
    const QString digest = digestOf(body);
    m_problems.record(SyncItemProblems::Kind::Refused, localId, digest, detail);
    m_refused.insert(localId, digest);
}

void ProviderProblems::accepted(const QString &localId)
{
    if (m_refused.remove(localId) > 0)
        m_problems.forget(SyncItemProblems::Kind::Refused, localId);
}

void ProviderProblems::unreadable(const QString &providerId, const QString &version, const QString &detail)
{
    qCWarning(lcProviders) << "calendar" << m_calendarId << "could not store a server item";
    m_problems.record(SyncItemProblems::Kind::Unreadable, providerId, version, detail);
}

void ProviderProblems::readable(const QString &providerId)
{
    m_problems.forget(SyncItemProblems::Kind::Unreadable, providerId);
}

bool ProviderProblems::publish(int leftThisRun)
{
    Q_ASSERT(m_appState);
    const QList<QString> refused = m_refused.keys();
    for (const QString &localId : refused) {
        if (!m_appState->events()->getById(localId))
            accepted(localId);
    }
    const int count = leftThisRun + m_problems.count();
    std::optional<Calendar> calendar = m_appState->calendars()->getById(m_calendarId);
    const QString line = text(count);
    if (!calendar || calendar->last_sync_error == line)
        return true;
    calendar->last_sync_error = line;
    StoreFailure::clear();
    return m_appState->calendars()->update(*calendar);
}

QString ProviderProblems::text(int count)
{
    return count == 0
        ? QString()
        : QCoreApplication::translate("ProviderProblems", "%n item(s) could not be synced", nullptr, count);
}
