#include "conflictresolutionservice.h"

#include <QUuid>

#include <algorithm>

namespace Sync {

ConflictResolutionService::ConflictResolutionService(QObject *appState, QObject *parent)
    : QObject(parent)
{
}

void ConflictResolutionService::recordConflict(const Event &local, const Event &remote)
{
    const bool known = std::any_of(m_conflicts.cbegin(), m_conflicts.cend(),
                                   [&local](const SyncConflict &c) { return c.local.id == local.id; });
    if (known)
        return;
    m_conflicts.append(
        {QUuid::createUuid().toString(QUuid::WithoutBraces), local, remote, QDateTime::currentDateTimeUtc()});
    Q_EMIT conflictsChanged();
}

} // namespace Sync
