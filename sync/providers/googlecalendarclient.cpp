#include "googlecalendarclient.h"

#include "providerhttp.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrlQuery>

using namespace Qt::StringLiterals;

namespace Google {

using ProviderHttp::isoUtc;
using ProviderHttp::pathSegment;
using ProviderHttp::Reply;
using ProviderHttp::take;
using Step = SyncResult::Step;

// One events listing: its parameters and the items of the pages so far.
struct CalendarClient::Listing
{
    QString calendarId;
    QString syncToken;
    QDateTime timeMin;
    QDateTime timeMax;
    QList<QJsonObject> items;
};

CalendarClient::CalendarClient(QNetworkAccessManager *network, const QUrl &apiBase, QObject *parent)
    : ProviderCalendarClient(network, SyncResult::Provider::Google, "etag"_L1, parent)
    , m_apiBase(apiBase)
{
}

QString CalendarClient::eventsUrl(const QString &calendarId, const QString &eventId) const
{
    return itemUrl(ProviderHttp::baseWithoutSlash(m_apiBase)
                       + u"/calendar/v3/calendars/%1/events"_s.arg(pathSegment(calendarId)),
                   eventId);
}

void CalendarClient::listCalendars()
{
    if (!signedIn(Step::CalendarList))
        return;
    requestCalendarPage(QString(), {}, {});
}

void CalendarClient::requestCalendarPage(const QString &pageToken, QList<DiscoveredCalendar> found,
                                         QStringList seenTokens)
{
    QUrl url(ProviderHttp::baseWithoutSlash(m_apiBase) + u"/calendar/v3/users/me/calendarList"_s, QUrl::TolerantMode);
    if (!pageToken.isEmpty())
        url.setQuery(QUrlQuery{{u"pageToken"_s, QString::fromLatin1(QUrl::toPercentEncoding(pageToken))}});
    getPage(url.toString(), Step::CalendarList, [this, found, seenTokens](const QJsonObject &page) mutable {
        const QJsonArray items = page.value("items"_L1).toArray();
        for (const QJsonValue &item : items)
            found.append(calendarFromJson(item.toObject()));
        const QString next = page.value("nextPageToken"_L1).toString();
        if (next.isEmpty()) {
            Q_EMIT calendarsListed(found);
            return;
        }
        // A server that hands back a token it gave before would page forever.
        if (seenTokens.contains(next) || seenTokens.size() + 1 >= kMaxCalendarListPages) {
            SyncResult endless = failure(SyncResult::Kind::EndlessListing, Step::CalendarList);
            endless.limit = seenTokens.size() + 1;
            Q_EMIT requestFailed(endless);
            return;
        }
        seenTokens.append(next);
        requestCalendarPage(next, found, seenTokens);
    });
}

void CalendarClient::listEvents(const QString &calendarId, const QString &syncToken, const QDateTime &timeMin,
                                const QDateTime &timeMax)
{
    auto *listing = new Listing{calendarId, syncToken, timeMin, timeMax, {}};
    requestEventsPage(listing, QString());
}

void CalendarClient::requestEventsPage(Listing *listing, const QString &pageToken)
{
    if (!signedIn(Step::EventListing)) {
        delete listing;
        return;
    }
    QUrlQuery query;
    const auto add = [&query](const QString &key, const QString &value) {
        query.addQueryItem(key, QString::fromLatin1(QUrl::toPercentEncoding(value)));
    };
    if (listing->syncToken.isEmpty()) {
        add(u"singleEvents"_s, u"false"_s);
        add(u"showDeleted"_s, u"true"_s);
        if (listing->timeMin.isValid())
            add(u"timeMin"_s, isoUtc(listing->timeMin));
        if (listing->timeMax.isValid())
            add(u"timeMax"_s, isoUtc(listing->timeMax));
    } else {
        add(u"syncToken"_s, listing->syncToken);
        add(u"showDeleted"_s, u"true"_s);
    }
    if (!pageToken.isEmpty())
        add(u"pageToken"_s, pageToken);
    add(u"maxResults"_s, QString::number(kPageSize));
    QUrl url(eventsUrl(listing->calendarId), QUrl::TolerantMode);
    url.setQuery(query);

    QNetworkReply *reply = m_network->get(request(url.toString(), false));
    // The listing dies with the client when the client goes first.
    connect(this, &QObject::destroyed, reply, [listing] { delete listing; });
    connect(reply, &QNetworkReply::finished, this, [this, reply, listing] {
        disconnect(this, &QObject::destroyed, reply, nullptr);
        const Reply answer = take(reply);
        if (answer.status == 410) {
            const QString calendarId = listing->calendarId;
            delete listing;
            Q_EMIT syncTokenExpired(calendarId);
            return;
        }
        if (!answer.ok()) {
            delete listing;
            Q_EMIT requestFailed(answer.failure(m_provider, Step::EventListing));
            return;
        }
        const QJsonObject page = readPage(answer.body, "items"_L1, listing->items);
        const QString next = page.value("nextPageToken"_L1).toString();
        if (!next.isEmpty()) {
            requestEventsPage(listing, next);
            return;
        }
        EventListPage result{std::move(listing->items), page.value("nextSyncToken"_L1).toString()};
        const QString calendarId = listing->calendarId;
        delete listing;
        Q_EMIT eventsListed(calendarId, result);
    });
}

} // namespace Google
