#include "caldavparse.h"
#include "caldavxml.h"

#include <QFile>
#include <QStringEncoder>
#include <QTest>
#include <QTimeZone>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;
using CalDavParse::DiscoveredCalendar;
using CalDavParse::Resource;

namespace CalDavParse {
char *toString(const DiscoveredCalendar &c)
{
    return QTest::toString(u"{%1 | %2 | %3 | %4 | %5 | %6 | %7}"_s.arg(c.href, c.displayName, c.color, c.description,
                                                                       c.ctag, c.syncToken, c.components.join(u',')));
}
} // namespace CalDavParse

namespace {

// The document as an indented outline of "{namespace}name attr=value" lines,
// text as "= text". Parsing it proves it well-formed and shows what a server
// sees, whatever the prefixes and whitespace.
QStringList outline(const QByteArray &body)
{
    QStringList lines;
    QXmlStreamReader reader(body);
    int depth = 0;
    while (!reader.atEnd()) {
        reader.readNext();
        const QString indent(depth * 2, u' ');
        if (reader.isStartElement()) {
            QString line = indent + u'{' + reader.namespaceUri().toString() + u'}' + reader.name().toString();
            for (const QXmlStreamAttribute &attribute : reader.attributes())
                line += u' ' + attribute.name().toString() + u'=' + attribute.value().toString();
            lines.append(line);
            ++depth;
        } else if (reader.isEndElement()) {
            --depth;
        } else if (reader.isCharacters() && !reader.isWhitespace()) {
            lines.append(indent + u"= "_s + reader.text().toString());
        }
    }
    if (reader.hasError())
        lines.append(u"ERROR "_s + reader.errorString());
    return lines;
}

const QString D = u"{DAV:}"_s;
const QString C = u"{urn:ietf:params:xml:ns:caldav}"_s;
const QString IC = u"{http://apple.com/ns/ical/}"_s;

QDateTime berlin(int hour)
{
    return QDateTime(QDate(2026, 3, 1), QTime(hour, 0), QTimeZone("Europe/Berlin"));
}

QByteArray data(const QString &name)
{
    QFile file(QStringLiteral(CALENDAR_TEST_DATA_DIR "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing test data %s", qPrintable(name));
    return file.readAll();
}

// One calendar response at /cal/my%20work/ with the given properties.
QByteArray oneCalendar(const QByteArray &properties, const QByteArray &resourceType = "<d:collection/><c:calendar/>")
{
    return R"(<d:multistatus xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:caldav" xmlns:ic="http://apple.com/ns/ical/">
<d:response><d:href>/cal/my%20work/</d:href><d:propstat><d:prop>
<d:resourcetype>)"
        + resourceType + "</d:resourcetype>" + properties + R"(
</d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response></d:multistatus>)";
}

// "href|etag|UID" per resource: what the sync keys on, without whole bodies.
QStringList summary(const QList<Resource> &resources)
{
    QStringList lines;
    for (const Resource &r : resources) {
        QString uid = u"-"_s;
        for (const QString &line : r.calendarData.split(u'\n')) {
            if (line.startsWith("UID:"_L1))
                uid = line.mid(4).trimmed();
        }
        lines.append(r.href + u'|' + r.etag + u'|' + uid);
    }
    return lines;
}

const QUrl radicale(u"http://127.0.0.1:5232"_s);
const QString radicaleTodo = u"http://127.0.0.1:5232/alice/to do/"_s;
const QString radicaleTodoCtag = u"\"a2d1b2b703b6ab0de693661c98b351ec9207f599a412f1dd6253999e8c9cc8f5\""_s;
const QString radicaleTodoToken =
    u"http://radicale.org/ns/sync/e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"_s;

} // namespace

// Request bodies as a server reads them, and answers in the shapes servers
// send them (captured from Radicale, or written by hand after others). The
// everyday shapes are also read back from the real servers.
class TestCalDavXml : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void bodies_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QStringList>("expected");

        const QStringList queryHead{C + "calendar-query"_L1,      "  "_L1 + D + "prop"_L1,
                                    "    "_L1 + D + "getetag"_L1, "    "_L1 + C + "calendar-data"_L1,
                                    "  "_L1 + C + "filter"_L1,    "    "_L1 + C + "comp-filter name=VCALENDAR"_L1};
        QTest::newRow("calendar-query with both, in UTC")
            << CalDavXml::calendarQueryBody(berlin(1), berlin(13), u"VEVENT"_s)
            << queryHead
                + QStringList{"      "_L1 + C + "comp-filter name=VEVENT"_L1,
                              "        "_L1 + C + "time-range start=20260301T000000Z end=20260301T120000Z"_L1};

        QTest::newRow("multiget: hrefs in order, re-encoded, markup characters kept as text")
            << CalDavXml::multigetBody({u"/cal/a b.ics"_s, u"/cal/R&D's <1>.ics"_s, u"/cal/50%#1.ics"_s})
            << QStringList{C + "calendar-multiget"_L1,   "  "_L1 + D + "prop"_L1,
                           "    "_L1 + D + "getetag"_L1, "    "_L1 + C + "calendar-data"_L1,
                           "  "_L1 + D + "href"_L1,      "    = /cal/a%20b.ics"_L1,
                           "  "_L1 + D + "href"_L1,      "    = /cal/R&D's%20%3C1%3E.ics"_L1,
                           "  "_L1 + D + "href"_L1,      "    = /cal/50%25%231.ics"_L1};

        const QStringList update{D + "propertyupdate"_L1, "  "_L1 + D + "set"_L1, "    "_L1 + D + "prop"_L1};
        QTest::newRow("PROPPATCH with all three, colour normalised")
            << CalDavXml::proppatchCalendarBody(u"Work & Play"_s, u"#4285f4"_s, u"<Team>"_s)
            << update + QStringList{"      "_L1 + D + "displayname"_L1,          "        = Work & Play"_L1,
                                    "      "_L1 + IC + "calendar-color"_L1,      "        = #4285F4FF"_L1,
                                    "      "_L1 + C + "calendar-description"_L1, "        = <Team>"_L1};
        QTest::newRow("PROPPATCH with an empty name: the server's name stays")
            << CalDavXml::proppatchCalendarBody({}, u"#4285F480"_s, {})
            << update + QStringList{"      "_L1 + IC + "calendar-color"_L1, "        = #4285F480"_L1};
        QTest::newRow("PROPPATCH: a colour holding markup stays text")
            << CalDavXml::proppatchCalendarBody({}, u"#12\"/><x"_s, {})
            << update + QStringList{"      "_L1 + IC + "calendar-color"_L1, "        = #12\"/><X"_L1};
    }

    void bodies()
    {
        QFETCH(QByteArray, body);
        QFETCH(QStringList, expected);
        QCOMPARE(outline(body), expected);
    }

    void calendarList_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QUrl>("base");
        QTest::addColumn<QList<DiscoveredCalendar>>("expected");

        const DiscoveredCalendar todo{radicaleTodo,     u"alice/to do"_s,  {},          {},
                                      radicaleTodoCtag, radicaleTodoToken, {u"VTODO"_s}};
        QTest::newRow("Radicale: principal dropped, unnamed collection named by its path, alpha pair cut")
            << data(u"radicale/calendarlist.xml"_s) << radicale
            << QList<DiscoveredCalendar>{
                   todo,
                   DiscoveredCalendar{
                       u"http://127.0.0.1:5232/alice/work/"_s,
                       u"Work & Play"_s,
                       u"#FF8800"_s,
                       u"Team dates"_s,
                       u"\"5a353a2d6382f9c9f4915b79d14cc2ce6be8cb039d95d9d6b9df0fb75b416816\""_s,
                       u"http://radicale.org/ns/sync/641090a4a58c410726aa5f68cebadced885626d56ed265cf9f868bf070dce627"_s,
                       {u"VEVENT"_s, u"VTODO"_s}}};
        QTest::newRow("Cut off inside the last response -> the calendars before it")
            << data(u"radicale/calendarlist.xml"_s).left(2200) << radicale << QList<DiscoveredCalendar>{todo};
        QTest::newRow("iCloud-like: blanks around href, other host kept, inbox and outbox dropped")
            << data(u"handwritten/icloud-like-calendarlist.xml"_s) << QUrl(u"https://caldav.icloud.example"_s)
            << QList<DiscoveredCalendar>{{u"https://caldav.icloud.example/1234567/calendars/home/"_s,
                                          u"Home"_s,
                                          u"#FF2968"_s,
                                          {},
                                          u"HwoQEgwAAGTVdCXHlQ=="_s,
                                          u"HwoQEgwAAGTVdCXHlQAAAAAA"_s,
                                          {u"VEVENT"_s}},
                                         {u"https://p42-caldav.icloud.example:443/1234567/calendars/tasks/"_s,
                                          u"Reminders \u23F0"_s,
                                          {},
                                          {},
                                          u"FT=-@RU=ab"_s,
                                          {},
                                          {u"VTODO"_s}}};
        QTest::newRow("Google-like: encoded address in path, no displayname, duplicate components kept")
            << data(u"handwritten/google-like-calendarlist.xml"_s) << QUrl(u"https://apidata.google.example"_s)
            << QList<DiscoveredCalendar>{
                   {u"https://apidata.google.example/caldav/v2/alice%40mail.example/events/"_s,
                    u"/caldav/v2/alice@mail.example/events/"_s,
                    u"#9fc6e7"_s,
                    {},
                    u"63880307201"_s,
                    {},
                    {u"VEVENT"_s, u"VEVENT"_s}},
                   {u"https://apidata.google.example/caldav/v2/en.holiday%23group%40v.calendar.example/events/"_s,
                    u"Holidays"_s,
                    u"#16a765"_s,
                    u"Public holidays"_s,
                    u"63880000000"_s,
                    {},
                    {u"VEVENT"_s}}};

        const QUrl base(u"https://dav.example"_s);
        const auto mine = [](const QString &name, const QString &color, const QStringList &components) {
            return QList<DiscoveredCalendar>{
                {u"https://dav.example/cal/my work/"_s, name, color, {}, {}, {}, components}};
        };
        QTest::newRow("Colour in blanks -> trimmed, case kept")
            << oneCalendar("<ic:calendar-color> #00ff00 </ic:calendar-color><d:displayname>W</d:displayname>") << base
            << mine(u"W"_s, u"#00ff00"_s, {u"VEVENT"_s});
        QTest::newRow("Only VTODO supported, an empty comp ignored") << oneCalendar(R"(<d:displayname>W</d:displayname>
                <c:supported-calendar-component-set><c:comp name="VTODO"/><c:comp name=""/></c:supported-calendar-component-set>)")
                                                                     << base << mine(u"W"_s, {}, {u"VTODO"_s});
        const auto readOnly = [&mine](bool readOnly) {
            QList<DiscoveredCalendar> list = mine(u"W"_s, {}, {u"VEVENT"_s});
            list.first().readOnly = readOnly;
            return list;
        };
        QTest::newRow("Privileges: read alone -> read-only") << oneCalendar(
            "<d:displayname>W</d:displayname><d:current-user-privilege-set><d:privilege><d:read/>"
            "</d:privilege><d:privilege><c:read-free-busy/></d:privilege></d:current-user-privilege-set>")
                                                             << base << readOnly(true);
        QTest::newRow("Privileges: write-content -> writable")
            << oneCalendar("<d:displayname>W</d:displayname><d:current-user-privilege-set><d:privilege><d:read/>"
                           "</d:privilege><d:privilege><d:write-content/></d:privilege></d:current-user-privilege-set>")
            << base << readOnly(false);
        QTest::newRow("Privileges: all -> writable")
            << oneCalendar("<d:current-user-privilege-set><d:privilege><d:all/></d:privilege>"
                           "</d:current-user-privilege-set><d:displayname>W</d:displayname>")
            << base << readOnly(false);
        QTest::newRow("Privileges not reported (404) -> writable")
            << oneCalendar("<d:displayname>W</d:displayname>") << base << readOnly(false);
        QTest::newRow("Plain collection -> not a calendar")
            << oneCalendar("<d:displayname>W</d:displayname>", "<d:collection/>") << base
            << QList<DiscoveredCalendar>();
        QTest::newRow("calendar element in DAV: namespace -> not a calendar")
            << oneCalendar("<d:displayname>W</d:displayname>", "<d:collection/><d:calendar/>") << base
            << QList<DiscoveredCalendar>();
        QTest::newRow("Markup inside displayname ends the parse")
            << oneCalendar("<d:displayname><b>W</b></d:displayname>") << base << QList<DiscoveredCalendar>();
        QTest::newRow("HTML error page -> nothing")
            << QByteArray("<html><body>Bad gateway<br></body></html>") << base << QList<DiscoveredCalendar>();
        QTest::newRow("Behind a DTD -> nothing")
            << "<!DOCTYPE d:multistatus [<!ENTITY n \"Work\">]>" + oneCalendar("<d:displayname>&n;</d:displayname>")
            << base << QList<DiscoveredCalendar>();
    }

    void calendarList()
    {
        QFETCH(QByteArray, body);
        QFETCH(QUrl, base);
        QFETCH(QList<DiscoveredCalendar>, expected);
        QCOMPARE(CalDavParse::parseCalendarList(body, base), expected);
    }

    // A listing that is not whole must say so: the sync deletes what a whole
    // listing lacks.
    void resources_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QUrl>("base");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<bool>("complete");

        const QUrl work(u"http://127.0.0.1:5232/alice/work/"_s);
        const QString lunch =
            u"/alice/work/team lunch.ics|05efacddf22d1fc6817c9206a073bfb6715d808b7b741f62b5bc1398a495bba2|lunch-2"_s;
        QTest::newRow("Radicale multiget: the 404 entry comes without ETag or data")
            << data(u"radicale/multiget.xml"_s) << work
            << QStringList{u"/alice/work/missing.ics||-"_s, lunch,
                           u"/alice/work/meeting-1.ics|a5205a665375baa8b7db5316a0f384820c052d3f755f1a6ffe8248356c0a7dce|meeting-1"_s}
            << true;
        QTest::newRow("ETag-only answer: collection dropped, another host's href left out, tags unchanged, paths only")
            << data(u"handwritten/etag-only-query.xml"_s) << QUrl(u"https://dav.example/dav/cal/"_s)
            << QStringList{u"/dav/cal/a.ics|1-a|-"_s, u"/dav/cal/d.ics|plain-etag|-"_s, u"/dav/cal/e.ics|\"|-"_s}
            << true;
        QTest::newRow("Cut off inside the second response -> first only, incomplete")
            << data(u"handwritten/cut-off-query.xml"_s) << work << QStringList{lunch} << false;
        QTest::newRow("Empty multistatus -> nothing, complete")
            << QByteArray(R"(<?xml version="1.0"?><d:multistatus xmlns:d="DAV:"/>)") << work << QStringList() << true;
        QTest::newRow("Empty body -> nothing, incomplete") << QByteArray() << work << QStringList() << false;
        QTest::newRow("HTML error page -> nothing, incomplete")
            << QByteArray("<html><body>Bad gateway<br></body></html>") << work << QStringList() << false;

        const auto listing = [](const QByteArray &tail) {
            return R"(<d:multistatus xmlns:d="DAV:"><d:response><d:href>/alice/work/a.ics</d:href><d:propstat><d:prop>)"
                   R"(<d:getetag>"1"</d:getetag></d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>)"
                + tail + "</d:multistatus>";
        };
        const QStringList first{u"/alice/work/a.ics|1|-"_s};
        QTest::newRow("Truncated: 507 for the collection -> what came, incomplete")
            << listing("<d:response><d:href>/alice/work/</d:href><d:status>HTTP/1.1 507 Insufficient Storage</d:status>"
                       "</d:response>")
            << work << first << false;
        QTest::newRow("Truncated: number-of-matches-within-limits -> what came, incomplete")
            << listing("<d:response><d:href>/alice/work/</d:href><d:error><d:number-of-matches-within-limits/>"
                       "</d:error></d:response>")
            << work << first << false;
        QTest::newRow("Another resource's 404 is no truncation")
            << listing("<d:response><d:href>/alice/work/gone.ics</d:href><d:status>HTTP/1.1 404 Not Found</d:status>"
                       "</d:response>")
            << work << QStringList{u"/alice/work/a.ics|1|-"_s, u"/alice/work/gone.ics||-"_s} << true;
        QTest::newRow("NUL and escape bytes in calendar data -> dropped, every resource, complete")
            << listing("<d:response><d:href>/alice/work/b.ics</d:href><d:propstat><d:prop><d:getetag>2"
                       "</d:getetag><C:calendar-data xmlns:C=\"urn:ietf:params:xml:ns:caldav\">"
                       "BEGIN:VEVENT\nUID:b\nSUMMARY:x\0y\x1b\nEND:VEVENT\n</C:calendar-data></d:prop>"
                       "</d:propstat></d:response>"_ba
                       + "<d:response><d:href>/alice/work/c.ics</d:href><d:propstat><d:prop><d:getetag>3</d:getetag>"
                         "</d:prop></d:propstat></d:response>")
            << work << QStringList{u"/alice/work/a.ics|1|-"_s, u"/alice/work/b.ics|2|b"_s, u"/alice/work/c.ics|3|-"_s}
            << true;
        const auto named = [](const QByteArray &href) {
            return "<d:response><d:href>" + href + "</d:href><d:propstat><d:prop><d:getetag>9</d:getetag></d:prop>"
                                                   "</d:propstat></d:response>";
        };
        QTest::newRow("Hrefs that lead outside the collection -> left out")
            << listing(named("../other/x.ics") + named("/alice/workshop/x.ics") + named("/alice/work/%2e%2e/other/x.ics")
                       + named("/alice/work/..%2Fother%2Fx.ics") + named("http://127.0.0.1:5233/alice/work/x.ics")
                       + named("//other.example/alice/work/x.ics") + named("/alice/work/in%20side.ics"))
            << work << QStringList{u"/alice/work/a.ics|1|-"_s, u"/alice/work/in side.ics|9|-"_s} << true;
        QTest::newRow("A doctype only as text inside calendar-data is no DTD")
            << listing("<d:response><d:href>/alice/work/b.ics</d:href><d:propstat><d:prop><d:getetag>2</d:getetag>"
                       "<C:calendar-data xmlns:C=\"urn:ietf:params:xml:ns:caldav\">UID:b\nDESCRIPTION:&lt;!DOCTYPE "
                       "html&gt;\n</C:calendar-data></d:prop></d:propstat></d:response>")
            << work << QStringList{u"/alice/work/a.ics|1|-"_s, u"/alice/work/b.ics|2|b"_s} << true;
        QTest::newRow("Control character as a reference -> dropped, complete")
            << listing("<d:response><d:href>/alice/work/b&#1;.ics</d:href><d:propstat><d:prop><d:getetag>2&#x0;"
                       "</d:getetag></d:prop></d:propstat></d:response>")
            << work << QStringList{u"/alice/work/a.ics|1|-"_s, u"/alice/work/b.ics|2|-"_s} << true;
        QTest::newRow("Four million such references -> dropped in one pass, complete")
            << listing("<d:response><d:href>/alice/work/b.ics</d:href><d:propstat><d:prop><d:getetag>2"
                       + QByteArray("&#0;").repeated(4'000'000) + "</d:getetag></d:prop></d:propstat></d:response>")
            << work << QStringList{u"/alice/work/a.ics|1|-"_s, u"/alice/work/b.ics|2|-"_s} << true;
        // The reader sees the body without its control characters.
        const QByteArray dtd = "<!DOCTYPE d:multistatus [<!ENTITY e \"x\">]>";
        QTest::newRow("DTD behind a control character -> nothing, incomplete")
            << "\x01" + dtd + listing(named("/alice/work/&e;.ics")) << work << QStringList() << false;
        QTest::newRow("DTD after a comment a control character ends -> nothing, incomplete")
            << "<!-- -\x01-> " + dtd + "<!-- -->" + listing({}) << work << QStringList() << false;
        QTest::newRow("DTD in UTF-32 -> nothing, incomplete")
            << QByteArray(QStringEncoder(QStringConverter::Utf32LE)(QString::fromUtf8(dtd + listing({})))) << work
            << QStringList() << false;
    }

    void resources()
    {
        QFETCH(QByteArray, body);
        QFETCH(QUrl, base);
        QFETCH(QStringList, expected);
        QFETCH(bool, complete);
        bool wasComplete = !complete;
        QCOMPARE(summary(CalDavParse::parseResources(body, base, &wasComplete)), expected);
        QCOMPARE(wasComplete, complete);
    }

    void hrefProperty_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("homeSet");
        QTest::addColumn<QUrl>("expected");

        const auto principal = [](const QByteArray &inner) {
            return R"(<d:multistatus xmlns:d="DAV:"><d:response><d:href>/</d:href><d:propstat><d:prop>)" + inner
                + "</d:prop></d:propstat></d:response></d:multistatus>";
        };
        QTest::newRow("Absolute path takes the origin's scheme, host and port")
            << principal("<d:current-user-principal><d:href>/principals/bob/</d:href></d:current-user-principal>")
            << false << QUrl(u"https://dav.example:8443/principals/bob/"_s);
        QTest::newRow("Absolute URL on another host stands")
            << principal(R"(<c:calendar-home-set xmlns:c="urn:ietf:params:xml:ns:caldav">
                   <d:href>https://p42.example/123/calendars/</d:href></c:calendar-home-set>)")
            << true << QUrl(u"https://p42.example/123/calendars/"_s);
        QTest::newRow("A property without href, then one with")
            << principal("<d:current-user-principal><d:unauthenticated/></d:current-user-principal>"
                         "<d:current-user-principal><d:href>/p/</d:href></d:current-user-principal>")
            << false << QUrl(u"https://dav.example:8443/p/"_s);
        QTest::newRow("Empty href -> none")
            << principal("<d:current-user-principal><d:href></d:href></d:current-user-principal>"
                         "<d:current-user-principal><d:href>/p/</d:href></d:current-user-principal>")
            << false << QUrl();
        QTest::newRow("Home set in the DAV: namespace is not seen")
            << principal("<d:calendar-home-set><d:href>/home/</d:href></d:calendar-home-set>") << true << QUrl();
        QTest::newRow("No principal property -> none") << data(u"radicale/calendarlist.xml"_s) << false << QUrl();
        QTest::newRow("Behind a DTD -> none")
            << "<!DOCTYPE d:multistatus [<!ENTITY p \"/principals/bob/\">]>"
                   + principal("<d:current-user-principal><d:href>&p;</d:href></d:current-user-principal>")
            << false << QUrl();
        const QByteArray entity = "<!ENTITY p \"/principals/bob/\">]>"
            + principal("<d:current-user-principal><d:href>&p;</d:href></d:current-user-principal>");
        const QString inUtf32 = QString::fromUtf8("<!DOCTYPE d:multistatus [" + entity);
        QTest::newRow("Behind a DTD in UTF-32 -> none")
            << QByteArray(QStringEncoder(QStringConverter::Utf32BE)(inUtf32)) << false << QUrl();
        // "<!" written as UTF-7 spells it: "+ADwAIQ-".
        QTest::newRow("Behind a DTD in the UTF-7 the declaration names -> none")
            << "<?xml version=\"1.0\" encoding=\"UTF-7\"?>+ADwAIQ-DOCTYPE d:multistatus [" + entity << false << QUrl();
        QTest::newRow("Declared UTF-8, an empty comment and a PI before the principal -> found")
            << "<?xml version=\"1.0\" encoding=\"UTF-8\"?><!----><?pi x?>"
                   + principal("<d:current-user-principal><d:href>/p/</d:href></d:current-user-principal>")
            << false << QUrl(u"https://dav.example:8443/p/"_s);
    }

    void hrefProperty()
    {
        QFETCH(QByteArray, body);
        QFETCH(bool, homeSet);
        QFETCH(QUrl, expected);
        const QUrl origin(u"https://dav.example:8443"_s);
        const std::optional<QUrl> found = homeSet ? CalDavParse::parseCalendarHomeSet(body, origin)
                                                  : CalDavParse::parseCurrentUserPrincipal(body, origin);
        QCOMPARE(found.value_or(QUrl()), expected);
        QCOMPARE(found.has_value(), !expected.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestCalDavXml)
#include "tst_caldavxml.moc"
