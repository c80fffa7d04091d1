#pragma once

#include "event.h"
#include "providercalendarclient.h"
#include "syncresult.h"

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QString>
#include <QUrl>

#include <optional>

class QNetworkAccessManager;
class QNetworkReply;
class QNetworkRequest;

namespace Google {

// One entry of the user's calendar list.
struct DiscoveredCalendar
{
    QString id;
    QString summary;
    QString description;
    QString backgroundColor;
    QString accessRole;
    bool primary = false;

    friend bool operator==(const DiscoveredCalendar &a, const DiscoveredCalendar &b)
    {
        return a.id == b.id && a.summary == b.summary && a.description == b.description
            && a.backgroundColor == b.backgroundColor && a.accessRole == b.accessRole && a.primary == b.primary;
    }
};

// A parsed "start" or "end" object of an event resource.
struct JsonDateTime
{
    QDateTime value; // invalid when the object holds neither form
    bool allDay = false;
    QString timeZone; // Google's "timeZone", empty for dates
};

// The only code that talks to the Google Calendar API v3. It knows nothing of
// the local store: identifiers, tokens and raw JSON go in, signals come out.
// Every request carries its own context, so any number may be in flight; a
// client destroyed meanwhile reports nothing more. The network manager is
// the caller's and must outlive the client.
class CalendarClient : public ProviderCalendarClient
{
    Q_OBJECT
public:
    // The result of one complete events listing: the items of every page in
    // order (cancelled ones included) and the last page's sync token.
    struct EventListPage
    {
        QList<QJsonObject> items;
        QString nextSyncToken;
    };

    static constexpr int kPageSize = 2500;
    // A calendar list longer than this many pages is taken as a server loop.
    static constexpr int kMaxCalendarListPages = 50;

    CalendarClient(QNetworkAccessManager *network, const QUrl &apiBase, QObject *parent = nullptr);

    void listCalendars();
    void listEvents(const QString &calendarId, const QString &syncToken, const QDateTime &timeMin,
                    const QDateTime &timeMax);
    QString eventsUrl(const QString &calendarId, const QString &eventId = {}) const override;
    // One occurrence of the series `seriesId`, found by the start it has in
    // the series (`originalStartKey`'s form), changed by a PATCH with `event`
    // or, without one, cancelled. Reported as the writes are; an occurrence
    // the server does not know fails with 404.
    void writeInstance(const QString &localId, const QString &calendarId, const QString &seriesId,
                       const QString &startKey, const std::optional<QJsonObject> &event);
    static DiscoveredCalendar calendarFromJson(const QJsonObject &entry);

    // Event resource <-> record. No network, no state.
    static Event eventFromJson(const QJsonObject &item, const QString &calendarId);
    static QJsonObject eventToJson(const Event &event);
    static QString recurrenceFromJson(const QJsonObject &item);
    static QString statusFromJson(const QString &status);
    static JsonDateTime dateTimeFromJson(const QJsonObject &value);
    static QJsonObject dateTimeToJson(const QDateTime &value, bool allDay, const QString &timeZone);
    // An instance's start within its series ("originalStartTime") as the
    // override key of the local store: UTC "yyyyMMddTHHmmssZ", or
    // "yyyyMMdd" for an all-day series. Empty when the item has none.
    static QString originalStartKey(const QJsonObject &item);
    // An override key as the RFC 3339 time (or date) Google names an
    // occurrence's original start by.
    static QString originalStartOf(const QString &startKey);

Q_SIGNALS:
    void calendarsListed(const QList<Google::DiscoveredCalendar> &calendars);
    void eventsListed(const QString &calendarId, const Google::CalendarClient::EventListPage &page);
    void syncTokenExpired(const QString &calendarId);

private:
    struct Listing;
    void onEventsPage(Listing *listing, const ProviderHttp::Reply &answer);
    void requestCalendarPage(const QString &pageToken, QList<DiscoveredCalendar> found, QStringList seenTokens);
    void requestEventsPage(Listing *listing, const QString &pageToken);

    QUrl m_apiBase;
};

} // namespace Google

Q_DECLARE_METATYPE(Google::DiscoveredCalendar)
Q_DECLARE_METATYPE(Google::CalendarClient::EventListPage)
