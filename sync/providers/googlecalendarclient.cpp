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

namespace {

SyncResult failure(SyncResult::Kind kind, Step step)
{
    return SyncResult::ofProvider(SyncResult::Provider::Google, kind, step);
}

} // namespace

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
    : QObject(parent)
    , m_network(network)
    , m_apiBase(apiBase)
{
}

QString CalendarClient::eventsUrl(const QString &calendarId, const QString &eventId) const
{
    QString url = ProviderHttp::baseWithoutSlash(m_apiBase)
        + u"/calendar/v3/calendars/%1/events"_s.arg(pathSegment(calendarId));
    if (!eventId.isEmpty())
        url += u'/' + pathSegment(eventId);
    return url;
}

QNetworkRequest CalendarClient::request(const QString &url, bool json, const QString &etag) const
{
    return ProviderHttp::bearerRequest(url, m_accessToken, json, etag);
}

void CalendarClient::listCalendars()
{
    if (m_accessToken.isEmpty()) {
        Q_EMIT requestFailed(failure(SyncResult::Kind::SignInNeeded, Step::CalendarList));
        return;
    }
    requestCalendarPage(QString(), {}, {});
}

void CalendarClient::requestCalendarPage(const QString &pageToken, QList<DiscoveredCalendar> found,
                                         QStringList seenTokens)
{
    QUrl url(ProviderHttp::baseWithoutSlash(m_apiBase) + u"/calendar/v3/users/me/calendarList"_s, QUrl::TolerantMode);
    if (!pageToken.isEmpty())
        url.setQuery(QUrlQuery{{u"pageToken"_s, QString::fromLatin1(QUrl::toPercentEncoding(pageToken))}});
    QNetworkReply *reply = m_network->get(request(url.toString(), false));
    connect(reply, &QNetworkReply::finished, this, [this, reply, found, seenTokens]() mutable {
        const Reply answer = take(reply);
        if (!answer.ok()) {
            Q_EMIT requestFailed(answer.failure(SyncResult::Provider::Google, Step::CalendarList));
            return;
        }
        const QJsonObject page = QJsonDocument::fromJson(answer.body).object();
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
    if (m_accessToken.isEmpty()) {
        delete listing;
        Q_EMIT requestFailed(failure(SyncResult::Kind::SignInNeeded, Step::EventListing));
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
            Q_EMIT requestFailed(answer.failure(SyncResult::Provider::Google, Step::EventListing));
            return;
        }
        const QJsonObject page = QJsonDocument::fromJson(answer.body).object();
        const QJsonArray items = page.value("items"_L1).toArray();
        listing->items.reserve(listing->items.size() + items.size());
        for (const QJsonValue &item : items)
            listing->items.append(item.toObject());
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

void CalendarClient::insertEvent(const QString &localId, const QString &calendarId, const QJsonObject &event)
{
    if (m_accessToken.isEmpty()) {
        Q_EMIT eventWriteFailed(localId, failure(SyncResult::Kind::SignInNeeded, Step::EventInsert));
        return;
    }
    QNetworkReply *reply = m_network->post(request(eventsUrl(calendarId), true),
                                           QJsonDocument(event).toJson(QJsonDocument::Compact));
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, localId] { onWriteReply(reply, localId, Step::EventInsert); });
}

void CalendarClient::updateEvent(const QString &localId, const QString &calendarId, const QString &providerEventId,
                                 const QJsonObject &event, const QString &etag)
{
    if (m_accessToken.isEmpty()) {
        Q_EMIT eventWriteFailed(localId, failure(SyncResult::Kind::SignInNeeded, Step::EventUpdate));
        return;
    }
    QNetworkReply *reply = m_network->sendCustomRequest(request(eventsUrl(calendarId, providerEventId), true, etag),
                                                        QByteArrayLiteral("PATCH"),
                                                        QJsonDocument(event).toJson(QJsonDocument::Compact));
    connect(reply, &QNetworkReply::finished, this,
            [this, reply, localId] { onWriteReply(reply, localId, Step::EventUpdate); });
}

void CalendarClient::onWriteReply(QNetworkReply *reply, const QString &localId, Step step)
{
    const Reply answer = take(reply);
    if (!answer.ok()) {
        Q_EMIT eventWriteFailed(localId, answer.failure(SyncResult::Provider::Google, step));
        return;
    }
    const QJsonObject written = QJsonDocument::fromJson(answer.body).object();
    Q_EMIT eventWritten(localId, written.value("id"_L1).toString(), written.value("etag"_L1).toString());
}

void CalendarClient::deleteEvent(const QString &localId, const QString &calendarId, const QString &providerEventId,
                                 const QString &etag)
{
    if (m_accessToken.isEmpty()) {
        Q_EMIT eventWriteFailed(localId, failure(SyncResult::Kind::SignInNeeded, Step::EventDelete));
        return;
    }
    QNetworkReply *reply = m_network->deleteResource(request(eventsUrl(calendarId, providerEventId), false, etag));
    connect(reply, &QNetworkReply::finished, this, [this, reply, localId] {
        const Reply answer = take(reply);
        if (answer.deleted()) {
            Q_EMIT eventDeleted(localId);
            return;
        }
        Q_EMIT eventWriteFailed(localId, answer.failure(SyncResult::Provider::Google, Step::EventDelete));
    });
}

} // namespace Google
