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
#include <QTimeZone>
#include <QUrl>

#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
class QNetworkRequest;

namespace ProviderHttp {
struct Reply;
}

namespace Microsoft {

// One calendar of the user.
struct DiscoveredCalendar
{
    QString id;
    QString name;
    QString color;
    bool canEdit = true;
    bool isDefault = false;

    friend bool operator==(const DiscoveredCalendar &a, const DiscoveredCalendar &b)
    {
        return a.id == b.id && a.name == b.name && a.color == b.color && a.canEdit == b.canEdit
            && a.isDefault == b.isDefault;
    }
};

// A parsed "start" or "end" object of a Graph event (a date-time-time-zone
// pair).
struct GraphDateTime
{
    QDateTime value; // invalid when there is no usable "dateTime"
    bool allDay = false;
    QString timeZone;
};

// The only code that talks to Microsoft Graph's calendars. It knows nothing
// of the local store: identifiers, tokens and raw JSON go in, signals come
// out. Every request carries its own context, so any number may be in
// flight; a client destroyed meanwhile reports nothing more. The network
// manager is the caller's and must outlive the client. Links that Graph
// hands back are followed only on the configured Graph base, so the token
// goes nowhere else.
class CalendarClient : public ProviderCalendarClient
{
    Q_OBJECT
public:
    // The result of one complete listing of changes: the items of every page
    // in order ("@removed" entries included) and the delta link that lists
    // the changes after them.
    struct EventListPage
    {
        QList<QJsonObject> items;
        QString deltaToken; // the whole "@odata.deltaLink", used as given
    };

    static constexpr int kPageSize = 100;
    // A listing longer than this many pages is taken as a server loop.
    static constexpr int kMaxPages = 1000;
    static constexpr int kMaxCalendarListPages = 50;

    CalendarClient(QNetworkAccessManager *network, const QUrl &graphBase, QObject *parent = nullptr);

    void listCalendars();
    // Change tracking exists on a calendar view only: with a delta link the
    // changes since, else a new round over [timeMin, timeMax) that lists
    // every single event, occurrence and exception in it.
    void requestEventsPage(const QString &calendarId, const QString &deltaToken, const QDateTime &timeMin,
                           const QDateTime &timeMax);
    // The events `eventIds` (series masters), one request each; those the
    // server no longer has come back in `gone`.
    void readEvents(const QString &calendarId, const QStringList &eventIds);
    // The id of the instance of `seriesId` that started at `originalStart`
    // (an override key); empty when the series has none there.
    void findInstance(const QString &calendarId, const QString &seriesId, const QString &originalStart, bool allDay,
                      const QTimeZone &seriesZone = {});
    QString eventsUrl(const QString &calendarId, const QString &eventId = {}) const override;
    QString calendarViewDeltaUrl(const QString &calendarId, const QDateTime &from, const QDateTime &to) const;
    static DiscoveredCalendar calendarFromJson(const QJsonObject &entry);

    // Event resource <-> record. A pulled row keeps the resource itself in
    // `raw_icalendar` and its change key in `etag`. `problem`, when given,
    // says why a rule could not go with the event.
    static Event eventFromJson(const QJsonObject &item, const QString &calendarId);
    static QJsonObject eventToJson(const Event &event, QString *problem = nullptr);
    static GraphDateTime dateTimeFromJson(const QJsonObject &value, bool allDay);
    // A timed value as the wall clock of `zoneName` (an IANA id) with its
    // Windows name; UTC when the zone is UTC or unknown.
    static QJsonObject dateTimeToJson(const QDateTime &value, bool allDay, const QString &zoneName = {});
    // An instance's start within its series ("originalStart") as the
    // override key of the local store: UTC "yyyyMMddTHHmmssZ", or "yyyyMMdd"
    // for an all-day series, its day in `seriesZone` (the series' recurrence
    // zone) when that is known. Empty when the item has none.
    static QString originalStartKey(const QJsonObject &item, bool allDay, const QTimeZone &seriesZone = {});

    // Graph's "recurrence" object for an RRULE value; empty, with the reason
    // in `problem`, when Graph cannot hold the rule exactly. `start` gives the
    // weekday, day and month a rule leaves open, and the zone its dates are
    // read in.
    static QJsonObject rruleToRecurrence(const QString &rule, const QDateTime &start, QString *problem = nullptr);
    // The RRULE value for Graph's "recurrence" object; empty when the pattern
    // is missing or of an unknown type. An end date becomes the last second of
    // that day in `seriesZone` as UTC; an invalid zone (an all-day series)
    // keeps it a date.
    static QString recurrenceToRrule(const QJsonObject &recurrence, const QTimeZone &seriesZone);
    // The zone a series' dates are counted in: the range's own zone (Windows
    // or IANA name), else `fallback`.
    static QTimeZone recurrenceZone(const QJsonObject &recurrence, const QTimeZone &fallback);

Q_SIGNALS:
    void calendarsListed(const QList<Microsoft::DiscoveredCalendar> &calendars);
    void eventsListed(const QString &calendarId, const Microsoft::CalendarClient::EventListPage &page);
    void deltaTokenExpired(const QString &calendarId);
    void eventsRead(const QString &calendarId, const QList<QJsonObject> &found, const QStringList &gone);
    void instanceFound(const QString &seriesId, const QString &originalStart, const QString &instanceId);

protected:
    // Graph's entity tag is the change key as a weak tag: W/"<changeKey>".
    QString entityTag(const QString &version) const override;

private:
    struct Listing;
    QString base() const;
    bool onGraph(const QString &url) const;
    // A GET of Graph's JSON with every time in UTC.
    void getJson(const QString &url, bool paged, Answer answer);
    void fetchCalendarPage(const QString &url, QList<DiscoveredCalendar> found, int pages);
    void fetchEventsPage(Listing *listing, const QString &url);
    void onEventsPage(const std::shared_ptr<Listing> &listing, const ProviderHttp::Reply &answer);
    void readNext(const QString &calendarId, QStringList ids, QList<QJsonObject> found, QStringList gone);
    void findInPage(const QString &url, const QString &seriesId, const QString &originalStart, bool allDay,
                    const QTimeZone &seriesZone, int pages);

    QUrl m_graphBase;
};

} // namespace Microsoft

Q_DECLARE_METATYPE(Microsoft::DiscoveredCalendar)
Q_DECLARE_METATYPE(Microsoft::CalendarClient::EventListPage)
