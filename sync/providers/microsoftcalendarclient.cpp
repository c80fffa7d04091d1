#include "microsoftcalendarclient.h"

#include "providerhttp.h"
#include "timeutil.h"

#include <QJsonArray>
#include <QNetworkAccessManager>
#include <QSet>
#include <QUrlQuery>

using namespace Qt::StringLiterals;

namespace Microsoft {

namespace {

constexpr QByteArrayView kPreferUtc = R"(outlook.timezone="UTC")";

struct ColorName
{
    QLatin1StringView name;
    QLatin1StringView color;
};

constexpr ColorName kColors[] = {
    {"lightBlue"_L1, "#5BA3E0"_L1}, {"lightGreen"_L1, "#7FBA00"_L1},  {"lightOrange"_L1, "#FFA500"_L1},
    {"lightGray"_L1, "#999999"_L1}, {"lightYellow"_L1, "#FFC107"_L1}, {"lightTeal"_L1, "#1FAA8E"_L1},
    {"lightPink"_L1, "#E81123"_L1}, {"lightBrown"_L1, "#8E562E"_L1},  {"lightRed"_L1, "#D13438"_L1},
    {"maxColor"_L1, "#4285F4"_L1},  {"auto"_L1, "#0078D4"_L1},
};

QString colorOfName(const QString &name)
{
    for (const ColorName &entry : kColors) {
        if (name == entry.name)
            return entry.color;
    }
    return u"#0078D4"_s;
}

} // namespace

using ProviderHttp::isoUtc;
using ProviderHttp::pathSegment;
using ProviderHttp::Reply;
using Step = SyncResult::Step;

// One listing of changes: its calendar, the pages so far with their items,
// and the links already followed.
struct CalendarClient::Listing
{
    QString calendarId;
    int pages = 0;
    QSet<QString> links;
    QList<QJsonObject> items;
};

CalendarClient::CalendarClient(QNetworkAccessManager *network, const QUrl &graphBase, QObject *parent)
    : ProviderCalendarClient(network, SyncResult::Provider::Microsoft, "changeKey"_L1, parent)
    , m_graphBase(graphBase)
{
}

QString CalendarClient::base() const
{
    return ProviderHttp::baseWithoutSlash(m_graphBase);
}

bool CalendarClient::onGraph(const QString &url) const
{
    const QUrl link(url, QUrl::TolerantMode);
    const QString basePath = QUrl(base()).path();
    return link.isValid() && link.scheme() == m_graphBase.scheme() && link.host() == m_graphBase.host()
        && link.port() == m_graphBase.port() && link.userInfo().isEmpty() && link.path().startsWith(basePath + u'/');
}

QString CalendarClient::entityTag(const QString &version) const
{
    // Rows keep the change key; the "@odata.etag" Graph matches If-Match
    // against wraps it.
    if (version.isEmpty() || version.startsWith("W/"_L1) || version.startsWith(u'"'))
        return version;
    return u"W/\"%1\""_s.arg(version);
}

QString CalendarClient::eventsUrl(const QString &calendarId, const QString &eventId) const
{
    return itemUrl(base() + u"/me/calendars/%1/events"_s.arg(pathSegment(calendarId)), eventId);
}

DiscoveredCalendar CalendarClient::calendarFromJson(const QJsonObject &entry)
{
    DiscoveredCalendar calendar;
    calendar.id = entry.value("id"_L1).toString();
    calendar.name = entry.value("name"_L1).toString();
    const QString hex = entry.value("hexColor"_L1).toString();
    calendar.color = hex.isEmpty() ? colorOfName(entry.value("color"_L1).toString()) : hex;
    calendar.canEdit = entry.value("canEdit"_L1).toBool(false);
    calendar.isDefault = entry.value("isDefaultCalendar"_L1).toBool(false);
    return calendar;
}

void CalendarClient::listCalendars()
{
    if (!signedIn(Step::CalendarList))
        return;
    fetchCalendarPage(base() + u"/me/calendars"_s, {}, 1);
}

void CalendarClient::fetchCalendarPage(const QString &url, QList<DiscoveredCalendar> found, int pages)
{
    getPage(url, Step::CalendarList, [this, found, pages](const QJsonObject &page) mutable {
        for (const QJsonValue &entry : page.value("value"_L1).toArray())
            found.append(calendarFromJson(entry.toObject()));
        const QString next = page.value("@odata.nextLink"_L1).toString();
        if (next.isEmpty()) {
            Q_EMIT calendarsListed(found);
            return;
        }
        if (!onGraph(next)) {
            Q_EMIT requestFailed(failure(SyncResult::Kind::BadAddress, Step::CalendarList));
            return;
        }
        if (pages >= kMaxCalendarListPages) {
            Q_EMIT requestFailed(failure(SyncResult::Kind::EndlessListing, Step::CalendarList));
            return;
        }
        fetchCalendarPage(next, found, pages + 1);
    });
}

QString CalendarClient::calendarViewDeltaUrl(const QString &calendarId, const QDateTime &from,
                                             const QDateTime &to) const
{
    QUrl url(base() + u"/me/calendars/%1/calendarView/delta"_s.arg(pathSegment(calendarId)), QUrl::TolerantMode);
    QUrlQuery query;
    query.addQueryItem(u"startDateTime"_s, isoUtc(from));
    query.addQueryItem(u"endDateTime"_s, isoUtc(to));
    url.setQuery(query);
    return url.toString(QUrl::FullyEncoded);
}

void CalendarClient::getJson(const QString &url, bool paged, Answer answer)
{
    QByteArray prefer = kPreferUtc.toByteArray();
    // Delta rounds page by the server's choice unless asked; one item a page
    // would cost a round trip per event.
    if (paged)
        prefer += ", odata.maxpagesize=" + QByteArray::number(kPageSize);
    send("GET", url, {}, {}, std::move(answer), {{"Prefer", prefer}});
}

void CalendarClient::requestEventsPage(const QString &calendarId, const QString &deltaToken, const QDateTime &timeMin,
                                       const QDateTime &timeMax)
{
    auto *listing = new Listing;
    listing->calendarId = calendarId;
    if (!deltaToken.isEmpty()) {
        // A link from an earlier round goes out only as Graph gave it, and
        // only to Graph.
        if (!onGraph(deltaToken)) {
            delete listing;
            Q_EMIT requestFailed(failure(SyncResult::Kind::BadAddress, Step::EventListing));
            return;
        }
        fetchEventsPage(listing, deltaToken);
        return;
    }
    const QDateTime from = timeMin.isValid() ? timeMin : QDateTime::currentDateTimeUtc();
    const QDateTime to = timeMax.isValid() ? timeMax : from.addYears(5);
    fetchEventsPage(listing, calendarViewDeltaUrl(calendarId, from, to));
}

void CalendarClient::fetchEventsPage(Listing *listing, const QString &url)
{
    if (!signedIn(Step::EventListing)) {
        delete listing;
        return;
    }
    if (++listing->pages > kMaxPages) {
        delete listing;
        Q_EMIT requestFailed(failure(SyncResult::Kind::EndlessListing, Step::EventListing));
        return;
    }
    // The listing dies with the client when the client goes first.
    std::shared_ptr<Listing> owned(listing);
    getJson(url, true, [this, owned](const Reply &answer) { onEventsPage(owned, answer); });
}

void CalendarClient::onEventsPage(const std::shared_ptr<Listing> &listing, const Reply &answer)
{
    const QString calendarId = listing->calendarId;
    // Graph's "syncStateNotFound" and "resyncRequired": the round must
    // start again.
    if (answer.status == 410) {
        Q_EMIT deltaTokenExpired(calendarId);
        return;
    }
    if (!answer.ok()) {
        Q_EMIT requestFailed(answer.failure(m_provider, Step::EventListing));
        return;
    }
    // Only a page that reads as one counts: anything else would end the
    // round with part of it, or none, taken for all of it.
    const std::optional<QJsonObject> page = listingPage(answer.body, "value"_L1, listing->items);
    const QString next = page ? page->value("@odata.nextLink"_L1).toString() : QString();
    const QString deltaLink = page ? page->value("@odata.deltaLink"_L1).toString() : QString();
    if (!page || !page->value("value"_L1).isArray() || (next.isEmpty() && deltaLink.isEmpty())) {
        Q_EMIT requestFailed(answer.failure(m_provider, Step::EventListing).withKind(SyncResult::Kind::Unreadable));
        return;
    }
    if (!onGraph(next.isEmpty() ? deltaLink : next)) {
        Q_EMIT requestFailed(failure(SyncResult::Kind::BadAddress, Step::EventListing));
        return;
    }
    if (next.isEmpty()) {
        Q_EMIT eventsListed(calendarId, EventListPage{std::move(listing->items), deltaLink});
        return;
    }
    // A page that leads back to one already read would go round for ever.
    if (!pageIsNew(listing->links, next, Step::EventListing))
        return;
    auto *again = new Listing(std::move(*listing));
    fetchEventsPage(again, next);
}

void CalendarClient::readEvents(const QString &calendarId, const QStringList &eventIds)
{
    if (!signedIn(Step::EventListing))
        return;
    readNext(calendarId, eventIds, {}, {});
}

void CalendarClient::readNext(const QString &calendarId, QStringList ids, QList<QJsonObject> found, QStringList gone)
{
    if (ids.isEmpty()) {
        Q_EMIT eventsRead(calendarId, found, gone);
        return;
    }
    const QString id = ids.takeFirst();
    getJson(eventsUrl(calendarId, id), false, [=, this](const Reply &answer) mutable {
        if (answer.status == 404 || answer.status == 410) {
            gone.append(id);
        } else if (!answer.ok()) {
            Q_EMIT requestFailed(answer.failure(m_provider, Step::EventListing));
            return;
        } else {
            const QJsonObject item = ProviderHttp::jsonObject(answer.body).value_or(QJsonObject());
            if (item.value("id"_L1).toString() != id) {
                Q_EMIT requestFailed(
                    answer.failure(m_provider, Step::EventListing).withKind(SyncResult::Kind::Unreadable));
                return;
            }
            found.append(item);
        }
        readNext(calendarId, ids, found, gone);
    });
}

void CalendarClient::findInstance(const QString &calendarId, const QString &seriesId, const QString &originalStart,
                                  bool allDay, const QTimeZone &seriesZone)
{
    if (!signedIn(Step::EventUpdate))
        return;
    const QDateTime at = originalStart.size() == 8 ? TimeUtil::utc(QDate::fromString(originalStart, u"yyyyMMdd"_s))
                                                   : TimeUtil::fromIcalUtc(originalStart);
    if (!at.isValid()) {
        Q_EMIT instanceFound(seriesId, originalStart, QString());
        return;
    }
    // A day either side finds the instance whatever zone an all-day one is
    // counted in; the original start picks it among them.
    QUrl url(eventsUrl(calendarId, seriesId) + u"/instances"_s, QUrl::TolerantMode);
    QUrlQuery query;
    query.addQueryItem(u"startDateTime"_s, isoUtc(at.addDays(-1)));
    query.addQueryItem(u"endDateTime"_s, isoUtc(at.addDays(2)));
    url.setQuery(query);
    findInPage(url.toString(QUrl::FullyEncoded), seriesId, originalStart, allDay, seriesZone, 1);
}

void CalendarClient::findInPage(const QString &url, const QString &seriesId, const QString &originalStart, bool allDay,
                                const QTimeZone &seriesZone, int pages)
{
    getJson(url, true, [=, this](const Reply &answer) {
        if (answer.status == 404) {
            Q_EMIT instanceFound(seriesId, originalStart, QString());
            return;
        }
        if (!answer.ok()) {
            Q_EMIT requestFailed(answer.failure(m_provider, Step::EventUpdate));
            return;
        }
        // A cut-short answer is no proof that the occurrence is not there.
        QList<QJsonObject> items;
        const std::optional<QJsonObject> page = listingPage(answer.body, "value"_L1, items);
        if (!page) {
            Q_EMIT requestFailed(answer.failure(m_provider, Step::EventUpdate).withKind(SyncResult::Kind::Unreadable));
            return;
        }
        for (const QJsonObject &item : items) {
            if (originalStartKey(item, allDay, seriesZone) == originalStart) {
                Q_EMIT instanceFound(seriesId, originalStart, item.value("id"_L1).toString());
                return;
            }
        }
        const QString next = page->value("@odata.nextLink"_L1).toString();
        if (next.isEmpty() || !onGraph(next) || pages >= kMaxCalendarListPages) {
            Q_EMIT instanceFound(seriesId, originalStart, QString());
            return;
        }
        findInPage(next, seriesId, originalStart, allDay, seriesZone, pages + 1);
    });
}

} // namespace Microsoft
