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

// A server reached over TLS that names a plain address: the password would
// cross the network readable there.
bool lessSafe(const QUrl &from, const QUrl &to)
{
    return from.scheme().compare("https"_L1, Qt::CaseInsensitive) == 0
        && to.scheme().compare("https"_L1, Qt::CaseInsensitive) != 0;
}

SyncResult refusedAddress(SyncResult::Step step, const QUrl &url)
{
    SyncResult badAddress = SyncResult::failure(SyncResult::Kind::BadAddress, step);
    badAddress.subject = url.toString();
    return badAddress;
}

} // namespace

CalDavDiscovery::CalDavDiscovery(CalDavClient *client, QObject *parent)
    : QObject(parent)
    , m_client(client)
{
    // The client's replies die with it, and with them the callbacks that
    // would have ended the run.
    if (client) {
        connect(client, &QObject::destroyed, this, [this] {
            QTimer::singleShot(0, this, [this] { fail(SyncResult::failure(SyncResult::Kind::Cancelled)); });
        });
    }
}

void CalDavDiscovery::propfind(const QUrl &url, const QByteArray &body, int depth,
                               std::function<void(const CalDavClient::Response &)> handle)
{
    if (!m_client) {
        QTimer::singleShot(0, this, [this] { fail(SyncResult::failure(SyncResult::Kind::Cancelled)); });
        return;
    }
    m_client->propfind(url, body, depth,
                       [self = QPointer<CalDavDiscovery>(this),
                        handle = std::move(handle)](const CalDavClient::Response &response) {
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
        const SyncResult badAddress = refusedAddress(SyncResult::Step::Principal, url);
        QTimer::singleShot(0, this, [this, badAddress] { fail(badAddress); });
        return;
    }
    QUrl origin = url;
    origin.setPath(QString());
    origin.setQuery(QString());
    origin.setFragment(QString());

    propfind(url, CalDavXml::principalPropfindBody(), 0, [this, url, origin](const CalDavClient::Response &response) {
        if (!response.isSuccess()) {
            SyncResult result = response.result(SyncResult::Step::Principal);
            if (result.kind == SyncResult::Kind::Answer && result.status == 401)
                result.kind = SyncResult::Kind::SignInNeeded;
            fail(result);
        } else {
            const QUrl principal = CalDavParse::parseCurrentUserPrincipal(response.body, origin).value_or(url);
            if (lessSafe(url, principal))
                fail(refusedAddress(SyncResult::Step::Principal, principal));
            else
                requestHomeSet(principal, origin);
        }
    });
}

void CalDavDiscovery::requestHomeSet(const QUrl &url, const QUrl &origin)
{
    propfind(url, CalDavXml::homeSetPropfindBody(), 0, [this, url, origin](const CalDavClient::Response &response) {
        if (!response.isSuccess()) {
            fail(response.result(SyncResult::Step::HomeSet));
        } else {
            const QUrl home = CalDavParse::parseCalendarHomeSet(response.body, origin).value_or(url);
            if (lessSafe(url, home))
                fail(refusedAddress(SyncResult::Step::HomeSet, home));
            else
                requestCalendarList(home, origin);
        }
    });
}

void CalDavDiscovery::requestCalendarList(const QUrl &url, const QUrl &origin)
{
    propfind(url, CalDavXml::calendarListPropfindBody(), 1, [this, origin](const CalDavClient::Response &response) {
        if (!response.isSuccess()) {
            fail(response.result(SyncResult::Step::CalendarList));
        } else {
            QList<CalDavParse::DiscoveredCalendar> calendars = CalDavParse::parseCalendarList(response.body, origin);
            calendars.removeIf([&origin](const CalDavParse::DiscoveredCalendar &calendar) {
                return lessSafe(origin, QUrl(calendar.href));
            });
            if (calendars.isEmpty()) {
                fail(SyncResult::failure(SyncResult::Kind::NothingFound, SyncResult::Step::CalendarList));
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

void CalDavDiscovery::fail(const SyncResult &result)
{
    if (std::exchange(m_ended, true))
        return;
    qCWarning(lcCalDav).noquote() << "[CalDAV discovery] failed at step" << int(result.step) << "-"
                                  << result.describe();
    Q_EMIT failed(result);
}
