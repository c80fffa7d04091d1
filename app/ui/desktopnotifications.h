#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

// The desktop's notification service: org.freedesktop.Notifications on the
// bus handed in. It keeps several notifications on screen and says which one
// the user clicked. No call blocks; answers come back through the event loop.
class DesktopNotifications : public QObject
{
    Q_OBJECT
public:
    explicit DesktopNotifications(const QDBusConnection &bus, QObject *parent = nullptr);

    // False without a bus: then nothing can answer.
    bool isConnected() const;

    // Asks for a notification with a default action (a click on it). `done`
    // runs later with the id the service gave it, or nothing when no service
    // answered or it refused; not at all once this object is gone.
    void notify(const QString &summary, const QString &body, std::function<void(std::optional<uint>)> done);

Q_SIGNALS:
    // The user clicked notification `id`.
    void activated(uint id);
    // Notification `id` has left the screen.
    void closed(uint id);

private Q_SLOTS:
    void onActionInvoked(uint id, const QString &actionKey);
    void onNotificationClosed(uint id, uint reason);

private:
    // Asks once more what the service can, while nobody has said so yet.
    void askCapabilities();
    // Notify, once the service has said whether it reads markup.
    void send(const QString &summary, const QString &body, std::function<void(std::optional<uint>)> done);

    QDBusConnection m_bus;
    // Whether bodies are read as markup; unknown until the service says.
    std::optional<bool> m_bodyMarkup;
    bool m_asking = false;
};
