#include "microsoftcalendarclient.h"

#include "providerhttp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
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

// The "$deltatoken" of a delta link, whether or not its "$" came escaped.
QString deltaTokenOf(const QString &link)
{
    const QUrlQuery query(QUrl(link, QUrl::TolerantMode));
    for (const auto &[key, value] : query.queryItems(QUrl::FullyDecoded)) {
        if (key == "$deltatoken"_L1)
            return value;
    }
    return QString();
}

} // namespace

using ProviderHttp::isoUtc;
using ProviderHttp::pathSegment;
using ProviderHttp::Reply;
using ProviderHttp::take;
using Step = SyncResult::Step;

// One events listing: its calendar, what kind of round it is in and the
// items of the pages so far.
struct CalendarClient::Listing
{
    QString calendarId;
    bool fromDelta = false; // started from a delta token
    bool bootstrapping = false; // the delta round after a windowed listing
    qsizetype windowedItems = 0;
    int pages = 0;
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

void CalendarClient::requestEventsPage(const QString &calendarId, const QString &deltaToken, const QDateTime &timeMin,
                                       const QDateTime &timeMax)
{
    auto *listing = new Listing;
    listing->calendarId = calendarId;
    listing->fromDelta = !deltaToken.isEmpty();
    QUrlQuery query;
    const auto add = [&query](const QString &key, const QString &value) {
        query.addQueryItem(key, QString::fromLatin1(QUrl::toPercentEncoding(value)));
    };
    QUrl url;
    if (listing->fromDelta) {
        url = QUrl(eventsUrl(calendarId) + u"/delta"_s, QUrl::TolerantMode);
        add(u"$deltatoken"_s, deltaToken);
    } else {
        url = QUrl(eventsUrl(calendarId), QUrl::TolerantMode);
        add(u"$top"_s, QString::number(kPageSize));
        add(u"$orderby"_s, u"start/dateTime"_s);
        if (timeMin.isValid()) {
            const QDateTime end = timeMax.isValid() ? timeMax : timeMin.addYears(5);
            add(u"$filter"_s, u"start/dateTime ge '%1' and end/dateTime le '%2'"_s.arg(isoUtc(timeMin), isoUtc(end)));
        }
    }
    url.setQuery(query);
    fetchEventsPage(listing, url.toString());
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
    QNetworkRequest req = request(url, false);
    QByteArray prefer = kPreferUtc.toByteArray();
    // Delta rounds page by the server's choice unless asked; one item a page
    // would cost a round trip per event.
    if (listing->fromDelta || listing->bootstrapping)
        prefer += ", odata.maxpagesize=" + QByteArray::number(kPageSize);
    req.setRawHeader("Prefer", prefer);
    QNetworkReply *reply = m_network->get(req);
    // The listing dies with the client when the client goes first.
    connect(this, &QObject::destroyed, reply, [listing] { delete listing; });
    connect(reply, &QNetworkReply::finished, this, [this, reply, listing] {
        disconnect(this, &QObject::destroyed, reply, nullptr);
        onEventsPage(listing, take(reply));
    });
}

void CalendarClient::onEventsPage(Listing *listing, const Reply &answer)
{
    const QString calendarId = listing->calendarId;
    const auto finish = [this, listing, calendarId](const QString &deltaToken) {
        EventListPage page{std::move(listing->items), deltaToken};
        if (listing->bootstrapping) {
            // The delta round lists the window's events again: they count once,
            // as the delta round has them.
            QSet<QString> again;
            for (qsizetype i = listing->windowedItems; i < page.items.size(); ++i)
                again.insert(page.items.at(i).value("id"_L1).toString());
            QList<QJsonObject> kept;
            kept.reserve(page.items.size());
            for (qsizetype i = 0; i < page.items.size(); ++i) {
                if (i >= listing->windowedItems || !again.contains(page.items.at(i).value("id"_L1).toString()))
                    kept.append(page.items.at(i));
            }
            page.items = std::move(kept);
        }
        delete listing;
        Q_EMIT eventsListed(calendarId, page);
    };
    if (answer.status == 410) {
        delete listing;
        Q_EMIT deltaTokenExpired(calendarId);
        return;
    }
    if (!answer.ok()) {
        if (listing->bootstrapping) {
            listing->items.resize(listing->windowedItems);
            finish(QString());
            return;
        }
        delete listing;
        Q_EMIT requestFailed(answer.failure(m_provider, Step::EventListing));
        return;
    }
    const QJsonObject page = readPage(answer.body, "value"_L1, listing->items);

    const QString next = page.value("@odata.nextLink"_L1).toString();
    if (!next.isEmpty()) {
        if (!onGraph(next)) {
            delete listing;
            Q_EMIT requestFailed(failure(SyncResult::Kind::BadAddress, Step::EventListing));
            return;
        }
        fetchEventsPage(listing, next);
        return;
    }
    const QString deltaLink = page.value("@odata.deltaLink"_L1).toString();
    if (!deltaLink.isEmpty()) {
        finish(deltaTokenOf(deltaLink));
        return;
    }
    if (listing->fromDelta || listing->bootstrapping) {
        finish(QString());
        return;
    }
    // The end of the window: a delta round from nothing brings the token for
    // next time, the deletions it will report, and series that began before
    // the window.
    listing->bootstrapping = true;
    listing->windowedItems = listing->items.size();
    fetchEventsPage(listing, eventsUrl(calendarId) + u"/delta"_s);
}

} // namespace Microsoft
