#include "loopbacknotifications.h"

#include <QDBusMessage>

using namespace Qt::StringLiterals;

namespace {

const QString kService = u"org.freedesktop.Notifications"_s;
const QString kPath = u"/org/freedesktop/Notifications"_s;
const QString kConnection = u"loopback-notifications"_s;

} // namespace

LoopbackNotifications::LoopbackNotifications(const QString &busAddress)
    : m_bus(busAddress.isEmpty() ? QDBusConnection::connectToBus(QDBusConnection::SessionBus, kConnection)
                                 : QDBusConnection::connectToBus(busAddress, kConnection))
{
}

LoopbackNotifications::~LoopbackNotifications()
{
    stop();
    QDBusConnection::disconnectFromBus(kConnection);
}

bool LoopbackNotifications::start()
{
    return m_bus.registerObject(kPath, this, QDBusConnection::ExportAllSlots) && m_bus.registerService(kService);
}

void LoopbackNotifications::stop()
{
    m_bus.unregisterService(kService);
    m_bus.unregisterObject(kPath);
}

void LoopbackNotifications::click(uint id)
{
    QDBusMessage signal = QDBusMessage::createSignal(kPath, kService, u"ActionInvoked"_s);
    signal << id << u"default"_s;
    m_bus.send(signal);
}

QStringList LoopbackNotifications::summaries() const
{
    QStringList out;
    for (const Shown &notification : shown)
        out.append(notification.summary);
    return out;
}

uint LoopbackNotifications::Notify(const QString &, uint, const QString &, const QString &summary,
                                   const QString &body, const QStringList &, const QVariantMap &, int)
{
    shown.append({++m_lastId, summary, body});
    return m_lastId;
}

QStringList LoopbackNotifications::GetCapabilities()
{
    return {u"actions"_s, u"body"_s};
}

void LoopbackNotifications::CloseNotification(uint)
{
}
