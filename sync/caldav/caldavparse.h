#pragma once

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

// Readers of 207 multistatus answers. They match namespace URIs, never
// prefixes, report no errors and return what they had completed when the
// body is empty, not XML or cut off.
namespace CalDavParse {

// One calendar collection found on a server.
struct DiscoveredCalendar
{
    QString href; // absolute URL of the collection, resolved against the base
    QString displayName; // d:displayname, else the decoded path of href
    QString color; // "#rrggbb" taken from calendar-color, else empty
    QString description;
    QString ctag;
    QString syncToken;
    QStringList components; // supported components; ["VEVENT"] when not stated
    // The server grants this user no write privilege on the collection
    // (a current-user-privilege-set without all, write or write-content);
    // false when the server does not say.
    bool readOnly = false;

    friend bool operator==(const DiscoveredCalendar &a, const DiscoveredCalendar &b);
    friend bool operator!=(const DiscoveredCalendar &a, const DiscoveredCalendar &b) { return !(a == b); }
};

// One calendar object resource of a calendar-query or multiget answer.
struct Resource
{
    QString href; // fully decoded path, no scheme, host or query
    QString etag; // without its surrounding quotes
    QString calendarData; // empty when the server sent none

    friend bool operator==(const Resource &a, const Resource &b);
    friend bool operator!=(const Resource &a, const Resource &b) { return !(a == b); }
};

// Whether the body's prolog declares a document type (<!DOCTYPE …>). A
// CalDAV answer never needs one, and its entities are how a small answer
// grows without bound while it is read (Qt's reader caps each entity, not
// their sum): the parsers below read nothing of such a body, and the HTTP
// client refuses it before anyone does.
bool declaresDocumentType(const QByteArray &body);

std::optional<QUrl> parseCurrentUserPrincipal(const QByteArray &body, const QUrl &baseUrl);
std::optional<QUrl> parseCalendarHomeSet(const QByteArray &body, const QUrl &baseUrl);
QList<DiscoveredCalendar> parseCalendarList(const QByteArray &body, const QUrl &baseUrl);
std::optional<QString> parseCtag(const QByteArray &body);
std::optional<QString> parseSyncToken(const QByteArray &body);
// The collection's own response (a path ending in "/") is left out. `complete`,
// when given, tells whether the whole document was read: a cut-off or broken
// body yields the resources before the break and false, so that a caller
// never mistakes a partial listing for the whole collection; so does an
// answer the server marks as cut short (a 507 inside, or
// DAV:number-of-matches-within-limits), and one that is no DAV:multistatus
// (a proxy's page, an error element). Control characters XML forbids are
// dropped before reading, so one bad object does not hide the others.
// `baseUrl` is the collection: an href that does not name one of its members
// (CalDavHref::memberPath) is left out too, and its resolved URL added to
// `foreign` when given: it may be another of the user's calendars.
QList<Resource> parseResources(const QByteArray &body, const QUrl &baseUrl, bool *complete = nullptr,
                               QStringList *foreign = nullptr);

} // namespace CalDavParse

Q_DECLARE_METATYPE(CalDavParse::DiscoveredCalendar)
Q_DECLARE_METATYPE(CalDavParse::Resource)
