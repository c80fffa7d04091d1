#include "caldavdiscovery.h"

#include "caldavclient.h"
#include "caldavlog.h"
#include "caldavxml.h"

#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

bool isHttpUrl(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() && (scheme == "http"_L1 || scheme == "https"_L1);
}

} // namespace

CalDavDiscovery::CalDavDiscovery(CalDavClient *client, QObject *parent) : QObject(parent), m_client(client)
{
    // The client's replies die with it, and with them the callbacks that
    // would have ended the run.
    if (client) {
        connect(client, &QObject::destroyed, this, [this] {
            QTimer::singleShot(0, this, [this] { fail(tr("The discovery was cancelled.")); });
        });
    }
}

void CalDavDiscovery::propfind(const QUrl &url, const QByteArray &body, int depth,
                               std::function<void(const CalDavClient::Response &)> handle)
{
    if (!m_client) {
        QTimer::singleShot(0, this, [this] { fail(tr("The discovery was cancelled.")); });
        return;
    }
    m_client->propfind(url, body, depth, [self = QPointer<CalDavDiscovery>(this), handle = std::move(handle)](
                                             const CalDavClient::Response &response) {
        if (self && !self->m_ended)
            handle(response);
    });
}

void CalDavDiscovery::start(const QUrl &url)
{
    m_ended = false;
    // "example.com" parses as a bare path and "example.com:8443" as a scheme:
    // only an http(s) URL with a host names a server.
    if (!isHttpUrl(url) || !m_client) {
        const QString message = tr("Enter a CalDAV URL starting with http:// or https://");
        QTimer::singleShot(0, this, [this, message] { fail(message); });
        return;
    }
    QUrl origin = url;
    origin.setPath(QString());
    origin.setQuery(QString());
    origin.setFragment(QString());

    propfind(url, CalDavXml::principalPropfindBody(), 0,
                       [this, url, origin](const CalDavClient::Response &response) {
        if (!response.error.isEmpty()) {
            fail(tr("Could not reach the server: %1").arg(response.error));
        } else if (response.status == 401) {
            fail(tr("The server rejected the username or password."));
        } else if (!response.isSuccess()) {
            fail(tr("Server returned HTTP %1 during principal discovery.").arg(response.status));
        } else {
            const QUrl principal = CalDavParse::parseCurrentUserPrincipal(response.body, origin).value_or(url);
            requestHomeSet(principal, origin);
        }
    });
}

void CalDavDiscovery::requestHomeSet(const QUrl &url, const QUrl &origin)
{
    propfind(url, CalDavXml::homeSetPropfindBody(), 0,
                       [this, url, origin](const CalDavClient::Response &response) {
        if (!response.error.isEmpty()) {
            fail(tr("Lost connection during calendar-home-set discovery: %1").arg(response.error));
        } else if (!response.isSuccess()) {
            fail(tr("Server returned HTTP %1 during home-set discovery.").arg(response.status));
        } else {
            requestCalendarList(CalDavParse::parseCalendarHomeSet(response.body, origin).value_or(url), origin);
        }
    });
}

void CalDavDiscovery::requestCalendarList(const QUrl &url, const QUrl &origin)
{
    propfind(url, CalDavXml::calendarListPropfindBody(), 1,
                       [this, origin](const CalDavClient::Response &response) {
        if (!response.error.isEmpty()) {
            fail(tr("Lost connection during calendar enumeration: %1").arg(response.error));
        } else if (!response.isSuccess()) {
            fail(tr("Server returned HTTP %1 during calendar enumeration.").arg(response.status));
        } else {
            const QList<CalDavParse::DiscoveredCalendar> calendars =
                CalDavParse::parseCalendarList(response.body, origin);
            if (calendars.isEmpty()) {
                fail(tr("No calendars found at the discovered home set."));
            } else {
                qCDebug(lcCalDav) << "[CalDAV discovery] found" << calendars.size() << "calendars";
                complete(calendars);
            }
        }
    });
}

void CalDavDiscovery::complete(const QList<CalDavParse::DiscoveredCalendar> &calendars)
{
    if (std::exchange(m_ended, true))
        return;
    Q_EMIT completed(calendars);
}

void CalDavDiscovery::fail(const QString &message)
{
    if (std::exchange(m_ended, true))
        return;
    qCWarning(lcCalDav).noquote() << "[CalDAV discovery]" << message;
    Q_EMIT failed(message);
}
