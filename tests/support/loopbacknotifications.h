#pragma once

#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// The desktop's notification service (org.freedesktop.Notifications) on a
// test's own bus (tests/support/with-keyring.sh --bus-only, or PrivateBus): it shows
// nothing, keeps what it is asked to show, and clicks on request. It has a
// connection of its own, so that calls and signals pass through the bus as
// from a desktop.
class LoopbackNotifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Shown
    {
        uint id = 0;
        QString summary;
        QString body;
    };

    // On the bus at `busAddress`, the session bus when empty.
    explicit LoopbackNotifications(const QString &busAddress = QString());
    ~LoopbackNotifications() override;

    // Takes the service's name on the bus; false when that failed.
    bool start();
    // Gives it up: calls find no service.
    void stop();
    // The user clicks notification `id`.
    void click(uint id);
    QStringList summaries() const;

    QList<Shown> shown;

public Q_SLOTS:
    uint Notify(const QString &appName, uint replacesId, const QString &appIcon, const QString &summary,
                const QString &body, const QStringList &actions, const QVariantMap &hints, int expireTimeout);
    QStringList GetCapabilities();
    void CloseNotification(uint id);

private:
    QDBusConnection m_bus;
    uint m_lastId = 0;
};
