#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

namespace TolmAccount {
class ApiClient;
}

namespace Quillmarten {

// Configuration sync between the user's devices: a push of local changes,
// then a pull, against "/sync/push" and "/sync/pull" of the calendar sync
// API. This build sends an empty change set and applies nothing it pulls:
// the outcome is only logged, so no local row and no sync cursor changes.
class ConfigSyncService : public QObject
{
    Q_OBJECT
public:
    static constexpr int kAutoSyncIntervalMs = 300000;
    static constexpr int kMutationDelayMs = 2000;

    // `api` may be null (then syncNow does nothing); it is not owned. The
    // application state is not needed while nothing is applied.
    ConfigSyncService(QObject *appState, TolmAccount::ApiClient *api, QObject *parent = nullptr);

    // Starts the 300 s timer unless it runs already.
    void startAutoSync();
    // Stops the auto-sync timer and a pending mutation sync.
    void stopAutoSync();
    bool isAutoSyncActive() const { return m_autoTimer.isActive(); }

    // One push-then-pull, unless one is running or there is no API client.
    void syncNow();
    // (Re)starts the 2 s timer that syncs after a burst of local changes;
    // only while auto sync runs, i.e. while the user is signed in.
    void syncOnMutation();
    bool isRunning() const { return m_running; }

Q_SIGNALS:
    // After each push-then-pull that syncNow started.
    void syncFinished(bool succeeded);

private:
    void pull();
    void finish(bool succeeded);

    QPointer<TolmAccount::ApiClient> m_api;
    QTimer m_autoTimer;
    QTimer m_mutationTimer;
    bool m_running = false;
};

} // namespace Quillmarten
