#include "caldavparse.h"

#include "caldavhref.h"
#include "caldavnamespaces_p.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QXmlStreamReader>

#include <algorithm>

namespace CalDavParse {

bool operator==(const DiscoveredCalendar &a, const DiscoveredCalendar &b)
{
    return a.href == b.href && a.displayName == b.displayName && a.color == b.color && a.description == b.description
        && a.ctag == b.ctag && a.syncToken == b.syncToken && a.components == b.components && a.readOnly == b.readOnly;
}

bool operator==(const Resource &a, const Resource &b)
{
    return a.href == b.href && a.etag == b.etag && a.calendarData == b.calendarData;
}

namespace {

using namespace Qt::StringLiterals;

bool is(const QXmlStreamReader &reader, QLatin1StringView ns, QLatin1StringView name)
{
    return reader.namespaceUri() == ns && reader.name() == name;
}

bool isDav(const QXmlStreamReader &reader, QLatin1StringView name)
{
    return is(reader, CalDavNs::dav, name);
}

bool isCalDav(const QXmlStreamReader &reader, QLatin1StringView name)
{
    return is(reader, CalDavNs::caldav, name);
}

// Blanks can never be part of a URI reference; servers that pretty-print
// their answers put line breaks and indent around the href text.
QUrl resolve(const QUrl &base, const QString &href)
{
    return base.resolved(QUrl(href.trimmed(), QUrl::TolerantMode));
}

QString unquoteEtag(const QString &etag)
{
    if (etag.size() >= 2 && etag.startsWith(QLatin1Char('"')) && etag.endsWith(QLatin1Char('"')))
        return etag.mid(1, etag.size() - 2);
    return etag;
}

// Another client's text with a NUL or another control character in it,
// passed on verbatim by the server, makes the whole answer ill-formed XML,
// which would hide every other object of the listing: those characters go
// before reading (the iCalendar reader has no use for them either).
bool isForbiddenInXml(uint code)
{
    return code < 0x20 && code != '\t' && code != '\n' && code != '\r';
}

QByteArray withoutControlCharacters(const QByteArray &body)
{
    const auto forbidden = [](char c) { return isForbiddenInXml(static_cast<unsigned char>(c)); };
    QByteArray out = body;
    if (std::any_of(body.cbegin(), body.cend(), forbidden))
        out.removeIf(forbidden);
    // The same characters written as references ("&#0;", "&#x1B;"), left
    // out in one pass: an answer of millions of them must not cost their square.
    qsizetype at = out.indexOf("&#");
    if (at < 0)
        return out;
    QByteArray kept;
    kept.reserve(out.size());
    qsizetype copied = 0;
    while (at >= 0) {
        const QByteArrayView head = QByteArrayView(out).sliced(at, std::min<qsizetype>(13, out.size() - at));
        const qsizetype end = head.contains(';') ? at + head.indexOf(';') : -1;
        const bool hex = at + 2 < out.size() && (out.at(at + 2) == 'x' || out.at(at + 2) == 'X');
        const qsizetype digits = at + (hex ? 3 : 2);
        bool ok = false;
        const uint code = end > digits ? out.mid(digits, end - digits).toUInt(&ok, hex ? 16 : 10) : 0;
        if (ok && isForbiddenInXml(code)) {
            kept.append(QByteArrayView(out).sliced(copied, at - copied));
            copied = end + 1;
            at = out.indexOf("&#", copied);
        } else {
            at = out.indexOf("&#", at + 2);
        }
    }
    kept.append(QByteArrayView(out).sliced(copied));
    return kept;
}

// A listing the server cut short says so inside the multistatus, either as a
// 507 status or as the DAV:number-of-matches-within-limits condition:
//   <d:response><d:href>/cal/</d:href><d:status>HTTP/1.1 507 Insufficient Storage</d:status>
//     <d:error><d:number-of-matches-within-limits/></d:error></d:response>
bool marksTruncation(QXmlStreamReader &reader)
{
    if (isDav(reader, "number-of-matches-within-limits"_L1))
        return true;
    if (!isDav(reader, "status"_L1))
        return false;
    const QStringList words = reader.readElementText().simplified().split(QLatin1Char(' '));
    return words.size() >= 2 && words.at(1) == "507"_L1;
}

// Reads a current-user-privilege-set to its end:
//   <d:current-user-privilege-set>
//     <d:privilege><d:read/></d:privilege>
//     <d:privilege><d:write-content/></d:privilege>
//   </d:current-user-privilege-set>
bool grantsWrite(QXmlStreamReader &reader)
{
    bool write = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isEndElement() && isDav(reader, "current-user-privilege-set"_L1))
            break;
        if (reader.isStartElement()
            && (isDav(reader, "all"_L1) || isDav(reader, "write"_L1) || isDav(reader, "write-content"_L1)))
            write = true;
    }
    return write;
}

// calendar-color often carries an alpha pair ("#FF0000FF"); only "#rrggbb" is kept.
QString colorOf(const QString &text)
{
    const QString trimmed = text.trimmed();
    return trimmed.size() >= 7 ? trimmed.left(7) : QString();
}

// The start of the body as QXmlStreamReader reads it: in the encoding its
// first bytes show (a byte order mark, or zero bytes beside the first "<";
// else UTF-8), and past an XML declaration that names an encoding, in that
// one: the reader follows it (UTF-7 and EBCDIC included).
QStringList prologViews(const QByteArray &head)
{
    const QStringConverter::Encoding detected =
        QStringConverter::encodingForData(head, u'<').value_or(QStringConverter::Utf8);
    const QString text = QStringDecoder(detected)(head);
    static const QRegularExpression declaration(
        uR"(^\x{FEFF}?\s*<\?xml\s[^>]*encoding\s*=\s*["']([^"']*)["'][^>]*\?>)"_s);
    const QRegularExpressionMatch named = declaration.match(text);
    if (!named.hasMatch())
        return {text};
    QStringDecoder declared(named.captured(1).toLatin1().constData());
    const QByteArray close = QStringEncoder(detected)(u"?>"_s);
    const qsizetype rest = head.indexOf(close);
    if (!declared.isValid() || rest < 0)
        return {text};
    return {text, text.left(named.capturedEnd()) + QString(declared(QByteArrayView(head).sliced(rest + close.size())))};
}

// Blanks, the XML declaration, processing instructions and comments may
// stand before the document type; the first element ends the prolog.
bool prologDeclares(const QString &text, bool beyond)
{
    qsizetype at = text.startsWith(QChar(0xFEFF)) ? 1 : 0;
    while (at < text.size()) {
        const QChar c = text.at(at);
        if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n') {
            ++at;
        } else if (QStringView(text).mid(at, 2) == u"<?") {
            const qsizetype end = text.indexOf("?>"_L1, at + 2);
            if (end < 0)
                return beyond;
            at = end + 2;
        } else if (QStringView(text).mid(at, 4) == u"<!--") {
            const qsizetype end = text.indexOf("-->"_L1, at + 4);
            if (end < 0)
                return beyond;
            at = end + 3;
        } else {
            return QStringView(text).mid(at, 9).compare(u"<!DOCTYPE", Qt::CaseInsensitive) == 0;
        }
    }
    return beyond;
}

// <d:current-user-principal><d:href>/principals/alice/</d:href></d:current-user-principal>
// A property without an href does not end the search: a later one may hold it.
std::optional<QUrl> firstHrefInside(const QByteArray &body, const QUrl &baseUrl, QLatin1StringView ns,
                                    QLatin1StringView property)
{
    if (declaresDocumentType(body))
        return std::nullopt;
    QXmlStreamReader reader(body);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement || !is(reader, ns, property))
            continue;
        while (!reader.atEnd()) {
            reader.readNext();
            if (reader.isStartElement() && isDav(reader, "href"_L1)) {
                const QString text = reader.readElementText();
                if (reader.hasError() || text.trimmed().isEmpty())
                    return std::nullopt;
                return resolve(baseUrl, text);
            }
            if (reader.isEndElement() && is(reader, ns, property))
                break;
        }
    }
    return std::nullopt;
}

std::optional<QString> firstTextOf(const QByteArray &body, QLatin1StringView ns, QLatin1StringView name)
{
    if (declaresDocumentType(body))
        return std::nullopt;
    QXmlStreamReader reader(body);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement || !is(reader, ns, name))
            continue;
        const QString text = reader.readElementText();
        if (reader.hasError() || text.isEmpty())
            return std::nullopt;
        return text;
    }
    return std::nullopt;
}

} // namespace

bool declaresDocumentType(const QByteArray &body)
{
    // Only the start is looked at (and converted): a prolog longer than any
    // answer needs counts as one that hides a document type.
    constexpr qsizetype kPrologBytes = 64 * 1024;
    const bool beyond = body.size() > kPrologBytes;
    const QByteArray head = body.left(kPrologBytes);
    // Each way a reader here may see it: as it came, and without the control
    // characters parseResources drops (a "-\x01->" ends a comment there).
    QStringList views = prologViews(head);
    views += prologViews(withoutControlCharacters(head));
    return std::any_of(views.cbegin(), views.cend(),
                       [beyond](const QString &view) { return prologDeclares(view, beyond); });
}

std::optional<QUrl> parseCurrentUserPrincipal(const QByteArray &body, const QUrl &baseUrl)
{
    return firstHrefInside(body, baseUrl, CalDavNs::dav, "current-user-principal"_L1);
}

std::optional<QUrl> parseCalendarHomeSet(const QByteArray &body, const QUrl &baseUrl)
{
    return firstHrefInside(body, baseUrl, CalDavNs::caldav, "calendar-home-set"_L1);
}

std::optional<QString> parseCtag(const QByteArray &body)
{
    return firstTextOf(body, CalDavNs::calendarServer, "getctag"_L1);
}

std::optional<QString> parseSyncToken(const QByteArray &body)
{
    return firstTextOf(body, CalDavNs::dav, "sync-token"_L1);
}

// One calendar of a Depth 1 PROPFIND on the calendar home (Radicale 3):
//   <response>
//     <href>/alice/work/</href>
//     <propstat>
//       <prop>
//         <resourcetype><collection/><C:calendar/></resourcetype>
//         <displayname>Work</displayname>
//         <ICAL:calendar-color>#ff0000ff</ICAL:calendar-color>
//         <C:supported-calendar-component-set><C:comp name="VEVENT"/></C:supported-calendar-component-set>
//         <CS:getctag>"6f1c…"</CS:getctag>
//         <sync-token>http://radicale.org/ns/sync/6f1c…</sync-token>
//       </prop>
//       <status>HTTP/1.1 200 OK</status>
//     </propstat>
//     <propstat><prop><C:calendar-description/></prop><status>HTTP/1.1 404 Not Found</status></propstat>
//   </response>
// The propstat status is not looked at: a property under 404 is empty anyway.
QList<DiscoveredCalendar> parseCalendarList(const QByteArray &body, const QUrl &baseUrl)
{
    QList<DiscoveredCalendar> calendars;
    DiscoveredCalendar current;
    bool inResponse = false;
    bool inResourceType = false;
    bool isCalendar = false;
    if (declaresDocumentType(body))
        return calendars;

    QXmlStreamReader reader(body);
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            if (isDav(reader, "response"_L1)) {
                current = DiscoveredCalendar();
                inResponse = true;
                isCalendar = false;
            } else if (!inResponse) {
                continue;
            } else if (isDav(reader, "href"_L1)) {
                if (current.href.isEmpty())
                    current.href = reader.readElementText().trimmed();
            } else if (isDav(reader, "resourcetype"_L1)) {
                inResourceType = true;
            } else if (isCalDav(reader, "calendar"_L1)) {
                if (inResourceType)
                    isCalendar = true;
            } else if (isDav(reader, "displayname"_L1)) {
                current.displayName = reader.readElementText();
            } else if (isCalDav(reader, "calendar-description"_L1)) {
                current.description = reader.readElementText();
            } else if (is(reader, CalDavNs::calendarServer, "getctag"_L1)) {
                current.ctag = reader.readElementText();
            } else if (isDav(reader, "sync-token"_L1)) {
                current.syncToken = reader.readElementText();
            } else if (is(reader, CalDavNs::appleIcal, "calendar-color"_L1)) {
                current.color = colorOf(reader.readElementText());
            } else if (isDav(reader, "current-user-privilege-set"_L1)) {
                current.readOnly = !grantsWrite(reader);
            } else if (isCalDav(reader, "supported-calendar-component-set"_L1)) {
                while (!reader.atEnd()) {
                    reader.readNext();
                    if (reader.isEndElement() && isCalDav(reader, "supported-calendar-component-set"_L1))
                        break;
                    if (reader.isStartElement() && isCalDav(reader, "comp"_L1)) {
                        const QString name = reader.attributes().value("name"_L1).toString();
                        if (!name.isEmpty())
                            current.components.append(name);
                    }
                }
            }
        } else if (reader.isEndElement()) {
            if (isDav(reader, "resourcetype"_L1)) {
                inResourceType = false;
            } else if (isDav(reader, "response"_L1)) {
                if (inResponse && isCalendar && !current.href.isEmpty()) {
                    const QUrl url = resolve(baseUrl, current.href);
                    current.href = url.toString();
                    if (current.components.isEmpty())
                        current.components = QStringList{u"VEVENT"_s};
                    if (current.displayName.isEmpty())
                        current.displayName = url.path(QUrl::FullyDecoded);
                    calendars.append(current);
                }
                inResponse = false;
            }
        }
    }
    return calendars;
}

// One resource of a calendar-query or multiget answer (Xandikos 0.2):
//   <ns0:response>
//     <ns0:href>/user/calendars/calendar/meeting.ics</ns0:href>
//     <ns0:propstat>
//       <ns0:status>HTTP/1.1 200 OK</ns0:status>
//       <ns0:prop>
//         <ns0:getetag>"4b1e…"</ns0:getetag>
//         <ns1:calendar-data>BEGIN:VCALENDAR…</ns1:calendar-data>
//       </ns0:prop>
//     </ns0:propstat>
//   </ns0:response>
QList<Resource> parseResources(const QByteArray &body, const QUrl &baseUrl, bool *complete, QStringList *foreign)
{
    QList<Resource> resources;
    Resource current;
    bool inResponse = false;
    bool truncated = false;
    std::optional<bool> multistatus; // what the root element is, once read
    if (declaresDocumentType(body)) {
        if (complete)
            *complete = false;
        return resources;
    }

    QXmlStreamReader reader(withoutControlCharacters(body));
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            if (!multistatus)
                multistatus = isDav(reader, "multistatus"_L1);
            if (marksTruncation(reader)) {
                truncated = true;
            } else if (isDav(reader, "response"_L1)) {
                current = Resource();
                inResponse = true;
            } else if (!inResponse) {
                continue;
            } else if (isDav(reader, "href"_L1)) {
                if (current.href.isEmpty())
                    current.href = reader.readElementText();
            } else if (isDav(reader, "getetag"_L1)) {
                current.etag = unquoteEtag(reader.readElementText());
            } else if (isCalDav(reader, "calendar-data"_L1)) {
                current.calendarData = reader.readElementText();
            }
        } else if (reader.isEndElement() && isDav(reader, "response"_L1)) {
            if (inResponse && !current.href.trimmed().isEmpty()) {
                const QUrl url = resolve(baseUrl, current.href);
                const std::optional<QString> member = CalDavHref::memberPath(baseUrl, url);
                const QString path = url.path(QUrl::FullyDecoded);
                if (member) {
                    // A sub-collection is no calendar object.
                    if (!member->endsWith(QLatin1Char('/'))) {
                        current.href = *member;
                        resources.append(current);
                    }
                } else if (foreign && !path.endsWith(QLatin1Char('/')) && !CalDavHref::isCollectionPath(baseUrl, path)) {
                    foreign->append(url.toString());
                }
            }
            inResponse = false;
        }
    }
    if (complete)
        *complete = !reader.hasError() && !truncated && multistatus.value_or(false);
    return resources;
}

} // namespace CalDavParse
