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
    QSet<QString> pageTokens; // handed out so far: one coming back would page forever
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
    auto *listing = new Listing{calendarId, syncToken, timeMin, timeMax, {}, {}};
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

    // The listing dies with the client when the client goes first.
    QObject *keeper = new QObject(this);
    connect(keeper, &QObject::destroyed, [listing] { delete listing; });
    send("GET", url.toString(), {}, {}, [this, listing, keeper](const Reply &answer) {
        keeper->disconnect();
        delete keeper;
        onEventsPage(listing, answer);
    });
}

void CalendarClient::onEventsPage(Listing *listing, const Reply &answer)
{
    const QString calendarId = listing->calendarId;
    // Google's fullSyncRequired: the stored sync token is no longer valid.
    if (answer.status == 410) {
        delete listing;
        Q_EMIT syncTokenExpired(calendarId);
        return;
    }
    if (!answer.ok()) {
        delete listing;
        Q_EMIT requestFailed(answer.failure(m_provider, Step::EventListing));
        return;
    }
    const std::optional<QJsonObject> page = listingPage(answer.body, "items"_L1, listing->items);
    if (!page) {
        delete listing;
        Q_EMIT requestFailed(answer.failure(m_provider, Step::EventListing).withKind(SyncResult::Kind::Unreadable));
        return;
    }
    const QString next = page->value("nextPageToken"_L1).toString();
    if (!next.isEmpty()) {
        if (!pageIsNew(listing->pageTokens, next, Step::EventListing)) {
            delete listing;
            return;
        }
        requestEventsPage(listing, next);
        return;
    }
    // The last page names the token for next time; a listing that ends
    // without one cannot be taken as complete.
    const QString syncToken = page->value("nextSyncToken"_L1).toString();
    if (syncToken.isEmpty()) {
        delete listing;
        Q_EMIT requestFailed(answer.failure(m_provider, Step::EventListing).withKind(SyncResult::Kind::Unreadable));
        return;
    }
    EventListPage result{std::move(listing->items), syncToken};
    delete listing;
    Q_EMIT eventsListed(calendarId, result);
}

void CalendarClient::writeInstance(const QString &localId, const QString &calendarId, const QString &seriesId,
                                   const QString &startKey, const std::optional<QJsonObject> &event)
{
    const Step step = event ? Step::EventUpdate : Step::EventDelete;
    if (!hasAccessToken()) {
        Q_EMIT eventWriteFailed(localId, failure(SyncResult::Kind::SignInNeeded, step));
        return;
    }
    QUrl url(eventsUrl(calendarId, seriesId) + u"/instances"_s, QUrl::TolerantMode);
    QUrlQuery query;
    query.addQueryItem(u"originalStart"_s, QString::fromLatin1(QUrl::toPercentEncoding(originalStartOf(startKey))));
    query.addQueryItem(u"showDeleted"_s, u"true"_s);
    url.setQuery(query);
    send("GET", url.toString(), {}, {}, [this, localId, calendarId, event, step](const Reply &answer) {
        if (!answer.ok()) {
            Q_EMIT eventWriteFailed(localId, answer.failure(m_provider, step));
            return;
        }
        QList<QJsonObject> found;
        if (!listingPage(answer.body, "items"_L1, found)) {
            Q_EMIT eventWriteFailed(localId, answer.failure(m_provider, step).withKind(SyncResult::Kind::Unreadable));
            return;
        }
        const QString id = found.isEmpty() ? QString() : found.first().value("id"_L1).toString();
        if (id.isEmpty()) {
            SyncResult missing = answer.failure(m_provider, step);
            missing.status = 404;
            Q_EMIT eventWriteFailed(localId, missing);
            return;
        }
        const QString etag = found.first().value("etag"_L1).toString();
        if (event) {
            send("PATCH", eventsUrl(calendarId, id), QJsonDocument(*event).toJson(QJsonDocument::Compact), etag,
                 [this, localId](const Reply &written) { onWriteReply(written, localId, Step::EventUpdate); });
            return;
        }
        send("DELETE", eventsUrl(calendarId, id), {}, etag, [this, localId](const Reply &deleted) {
            if (deleted.deleted())
                Q_EMIT eventDeleted(localId);
            else
                Q_EMIT eventWriteFailed(localId, deleted.failure(m_provider, Step::EventDelete));
        });
    });
}

} // namespace Google
