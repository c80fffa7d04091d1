#include "caldavxml.h"

#include "caldavnamespaces_p.h"
#include "timeutil.h"

#include <QUrl>

namespace CalDavXml {
namespace {

QByteArray binding(const char *prefix, QLatin1StringView uri)
{
    return QByteArray(" xmlns:") + prefix + "=\"" + QByteArray(uri.data(), uri.size()) + '"';
}

const QByteArray bindD = binding("d", CalDavNs::dav);
const QByteArray bindC = binding("c", CalDavNs::caldav);
const QByteArray bindCs = binding("cs", CalDavNs::calendarServer);
const QByteArray bindIc = binding("ic", CalDavNs::appleIcal);

// Writes one element per line with two spaces of indent per open element.
class Body
{
public:
    Body()
        : m_out("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n")
    {
    }

    Body &open(const char *tag, const QByteArray &attributes = {})
    {
        line('<' + QByteArray(tag) + attributes + '>');
        ++m_depth;
        return *this;
    }
    Body &close(const char *tag)
    {
        --m_depth;
        line("</" + QByteArray(tag) + '>');
        return *this;
    }
    Body &empty(const char *tag, const QByteArray &attributes = {})
    {
        line('<' + QByteArray(tag) + attributes + "/>");
        return *this;
    }
    Body &text(const char *tag, const QString &value)
    {
        line('<' + QByteArray(tag) + '>' + escape(value) + "</" + tag + '>');
        return *this;
    }
    QByteArray take() { return m_out; }

private:
    void line(const QByteArray &content) { m_out += QByteArray(m_depth * 2, ' ') + content + '\n'; }

    QByteArray m_out;
    int m_depth = 0;
};

QByteArray attribute(const char *name, const QString &value)
{
    return ' ' + QByteArray(name) + "=\"" + escape(value) + '"';
}

Body &getetagAndData(Body &body)
{
    return body.open("d:prop").empty("d:getetag").empty("c:calendar-data").close("d:prop");
}

} // namespace

QByteArray principalPropfindBody()
{
    return Body()
        .open("d:propfind", bindD)
        .open("d:prop")
        .empty("d:current-user-principal")
        .close("d:prop")
        .close("d:propfind")
        .take();
}

QByteArray homeSetPropfindBody()
{
    return Body()
        .open("d:propfind", bindD + bindC)
        .open("d:prop")
        .empty("c:calendar-home-set")
        .empty("d:displayname")
        .close("d:prop")
        .close("d:propfind")
        .take();
}

QByteArray calendarListPropfindBody()
{
    return Body()
        .open("d:propfind", bindD + bindC + bindCs + bindIc)
        .open("d:prop")
        .empty("d:resourcetype")
        .empty("d:displayname")
        .empty("c:calendar-description")
        .empty("c:supported-calendar-component-set")
        .empty("c:calendar-timezone")
        .empty("ic:calendar-color")
        .empty("cs:getctag")
        .empty("d:sync-token")
        .empty("d:current-user-privilege-set")
        .close("d:prop")
        .close("d:propfind")
        .take();
}

QByteArray ctagPropfindBody()
{
    return Body()
        .open("d:propfind", bindD + bindCs)
        .open("d:prop")
        .empty("cs:getctag")
        .empty("d:sync-token")
        .close("d:prop")
        .close("d:propfind")
        .take();
}

QByteArray calendarQueryBody(const QDateTime &start, const QDateTime &end, const QString &component)
{
    Body body;
    body.open("c:calendar-query", bindD + bindC);
    getetagAndData(body).open("c:filter").open("c:comp-filter", attribute("name", QStringLiteral("VCALENDAR")));
    const QByteArray name = attribute("name", component);
    if (start.isValid() || end.isValid()) {
        QByteArray range;
        if (start.isValid())
            range += attribute("start", formatUtc(start));
        if (end.isValid())
            range += attribute("end", formatUtc(end));
        body.open("c:comp-filter", name).empty("c:time-range", range).close("c:comp-filter");
    } else {
        body.empty("c:comp-filter", name);
    }
    return body.close("c:comp-filter").close("c:filter").close("c:calendar-query").take();
}

QByteArray etagQueryBody(const QString &component)
{
    return Body()
        .open("c:calendar-query", bindD + bindC)
        .open("d:prop")
        .empty("d:getetag")
        .close("d:prop")
        .open("c:filter")
        .open("c:comp-filter", attribute("name", QStringLiteral("VCALENDAR")))
        .empty("c:comp-filter", attribute("name", component))
        .close("c:comp-filter")
        .close("c:filter")
        .close("c:calendar-query")
        .take();
}

QByteArray multigetBody(const QStringList &hrefs)
{
    Body body;
    body.open("c:calendar-multiget", bindD + bindC);
    getetagAndData(body);
    for (const QString &href : hrefs)
        body.text("d:href", encodePath(href));
    return body.close("c:calendar-multiget").take();
}

QByteArray proppatchCalendarBody(const QString &name, const QString &color, const QString &description)
{
    Body body;
    body.open("d:propertyupdate", bindD + bindC + bindIc).open("d:set").open("d:prop");
    if (!name.isEmpty())
        body.text("d:displayname", name);
    if (!color.isEmpty())
        body.text("ic:calendar-color", normalizeColor(color));
    if (!description.isEmpty())
        body.text("c:calendar-description", description);
    return body.close("d:prop").close("d:set").close("d:propertyupdate").take();
}

QByteArray mkcalendarBody(const QString &name, const QString &color, const QString &description)
{
    Body body;
    body.open("c:mkcalendar", bindD + bindC + bindIc).open("d:set").open("d:prop");
    body.text("d:displayname", name);
    if (!description.isEmpty())
        body.text("c:calendar-description", description);
    body.open("c:supported-calendar-component-set")
        .empty("c:comp", attribute("name", QStringLiteral("VEVENT")))
        .empty("c:comp", attribute("name", QStringLiteral("VTODO")))
        .close("c:supported-calendar-component-set");
    if (!color.isEmpty())
        body.text("ic:calendar-color", normalizeColor(color));
    return body.close("d:prop").close("d:set").close("c:mkcalendar").take();
}

QByteArray escape(const QString &text)
{
    QByteArray out;
    const QByteArray utf8 = text.toUtf8();
    out.reserve(utf8.size());
    for (const char c : utf8) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += c;
        }
    }
    return out;
}

QString normalizeColor(const QString &color)
{
    if (color.isEmpty())
        return {};
    QString digits = color.toUpper();
    if (digits.startsWith(QLatin1Char('#')))
        digits.remove(0, 1);
    if (digits.size() == 6)
        digits += QLatin1String("FF");
    return QLatin1Char('#') + digits;
}

QString formatUtc(const QDateTime &dateTime)
{
    return TimeUtil::toIcalUtc(dateTime);
}

QString encodePath(const QString &decodedPath)
{
    QUrl url;
    url.setPath(decodedPath, QUrl::DecodedMode);
    return url.path(QUrl::FullyEncoded);
}

} // namespace CalDavXml
