#pragma once

#include "syncconflict.h"

#include <QList>
#include <QObject>

namespace Sync {

// The sync conflicts met during this run of the program, in recording order,
// kept in memory only. The first record of a local event stays: later ones
// for the same event id are ignored. Nothing removes or resolves entries.
class ConflictResolutionService : public QObject
{
    Q_OBJECT
public:
    // The application state is passed as a plain QObject (this library sits
    // below the application layer); it is not owned and not needed yet.
    explicit ConflictResolutionService(QObject *appState, QObject *parent = nullptr);

    void recordConflict(const Event &local, const Event &remote);
    QList<SyncConflict> conflicts() const { return m_conflicts; }

Q_SIGNALS:
    // After a conflict was added.
    void conflictsChanged();

private:
    QList<SyncConflict> m_conflicts;
};

} // namespace Sync
