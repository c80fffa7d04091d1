#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

// The desktop's notification service (org.freedesktop.Notifications) on a
// test's own bus (tests/support/with-keyring.sh --bus-only, or PrivateBus): it
// shows nothing, keeps what it is asked to show, and clicks on request. Its
// connection is its own, so calls and signals pass the bus as from a desktop.
class LoopbackNotifications : public QObject, protected QDBusContext
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
    explicit LoopbackNotifications(const QString &busAddress = QString())
        : m_bus(busAddress.isEmpty() ? QDBusConnection::connectToBus(QDBusConnection::SessionBus, name())
                                     : QDBusConnection::connectToBus(busAddress, name()))
    {
    }
    ~LoopbackNotifications() override
    {
        stop();
        QDBusConnection::disconnectFromBus(name());
    }

    // Takes the service's name; false when that failed.
    bool start()
    {
        return m_bus.registerObject(path(), this, QDBusConnection::ExportAllSlots) && m_bus.registerService(service());
    }
    // Gives it up: calls find no service.
    void stop()
    {
        m_bus.unregisterService(service());
        m_bus.unregisterObject(path());
    }
    // The user clicks notification `id`.
    void click(uint id)
    {
        QDBusMessage signal = QDBusMessage::createSignal(path(), service(), QStringLiteral("ActionInvoked"));
        signal << id << QStringLiteral("default");
        m_bus.send(signal);
    }
    // Sends the answers held back.
    void answerHeld()
    {
        for (const QDBusMessage &reply : std::as_const(m_held))
            m_bus.send(reply);
        m_held.clear();
    }
    QStringList summaries() const
    {
        QStringList out;
        for (const Shown &notification : shown)
            out.append(notification.summary);
        return out;
    }

    QList<Shown> shown;
    QStringList capabilities{QStringLiteral("actions"), QStringLiteral("body")};
    // Notify answers for this summary only at answerHeld().
    QString holdAnswerTo;

public Q_SLOTS:
    uint Notify(const QString &, uint, const QString &, const QString &summary, const QString &body,
                const QStringList &, const QVariantMap &, int)
    {
        shown.append({++m_lastId, summary, body});
        if (summary == holdAnswerTo) {
            setDelayedReply(true);
            m_held.append(message().createReply(m_lastId));
        }
        return m_lastId;
    }
    QStringList GetCapabilities() { return capabilities; }
    void CloseNotification(uint) {}

private:
    static QString name() { return QStringLiteral("loopback-notifications"); }
    static QString service() { return QStringLiteral("org.freedesktop.Notifications"); }
    static QString path() { return QStringLiteral("/org/freedesktop/Notifications"); }

    QDBusConnection m_bus;
    uint m_lastId = 0;
    QList<QDBusMessage> m_held;
};
