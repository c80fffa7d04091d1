#include "desktopnotifications.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QVariantMap>

using namespace Qt::StringLiterals;

namespace {

const QString kService = u"org.freedesktop.Notifications"_s;
const QString kPath = u"/org/freedesktop/Notifications"_s;
const QString kInterface = u"org.freedesktop.Notifications"_s;
// The action the service invokes when the notification itself is clicked.
const QString kDefaultAction = u"default"_s;

} // namespace

DesktopNotifications::DesktopNotifications(const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
{
    if (!m_bus.isConnected())
        return;
    // By the service's name: signals of other senders are not ours, and a
    // service that starts later is followed.
    m_bus.connect(kService, kPath, kInterface, u"ActionInvoked"_s, this, SLOT(onActionInvoked(uint, QString)));
    m_bus.connect(kService, kPath, kInterface, u"NotificationClosed"_s, this,
                  SLOT(onNotificationClosed(uint, uint)));
    askCapabilities();
}

void DesktopNotifications::askCapabilities()
{
    if (m_bodyMarkup || m_asking || !m_bus.isConnected())
        return;
    m_asking = true;
    const QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, u"GetCapabilities"_s);
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
        watcher->deleteLater();
        m_asking = false;
        const QDBusPendingReply<QStringList> reply = *watcher;
        if (!reply.isError())
            m_bodyMarkup = reply.value().contains(u"body-markup"_s);
    });
}

bool DesktopNotifications::isConnected() const
{
    return m_bus.isConnected();
}

void DesktopNotifications::notify(const QString &summary, const QString &body,
                                  std::function<void(std::optional<uint>)> done)
{
    if (m_bodyMarkup) {
        send(summary, body, std::move(done));
        return;
    }
    // How the body is written depends on whether the service reads markup:
    // a service that has not said so yet (it may have started late) is asked
    // first. One that does not answer would not show it either.
    const QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, u"GetCapabilities"_s);
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, summary, body, done = std::move(done)] {
        watcher->deleteLater();
        const QDBusPendingReply<QStringList> reply = *watcher;
        if (reply.isError()) {
            done(std::nullopt);
            return;
        }
        m_bodyMarkup = reply.value().contains(u"body-markup"_s);
        send(summary, body, done);
    });
}

void DesktopNotifications::send(const QString &summary, const QString &body,
                                std::function<void(std::optional<uint>)> done)
{
    // Notify(app_name s, replaces_id u, app_icon s, summary s, body s,
    //        actions as, hints a{sv}, expire_timeout i) -> id u
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, u"Notify"_s);
    QVariantMap hints;
    if (!QGuiApplication::desktopFileName().isEmpty())
        hints.insert(u"desktop-entry"_s, QGuiApplication::desktopFileName());
    // A service that reads markup would take "<" and "&" of a place for it.
    const QString text = m_bodyMarkup.value_or(false) ? body.toHtmlEscaped() : body;
    call << QGuiApplication::applicationDisplayName() << uint(0) << QString() << summary << text
         << QStringList{kDefaultAction, tr("Open")} << hints << int(-1);
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [watcher, done = std::move(done)] {
        watcher->deleteLater();
        const QDBusPendingReply<uint> reply = *watcher;
        done(reply.isError() ? std::nullopt : std::optional<uint>(reply.value()));
    });
}

void DesktopNotifications::onActionInvoked(uint id, const QString &actionKey)
{
    if (actionKey == kDefaultAction)
        Q_EMIT activated(id);
}

void DesktopNotifications::onNotificationClosed(uint id, uint reason)
{
    Q_UNUSED(reason);
    Q_EMIT closed(id);
}
