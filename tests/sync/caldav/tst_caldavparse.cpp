#include "caldavparse.h"

#include <QFile>
#include <QTest>

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

QByteArray data(const QString &name)
{
    QFile file(QStringLiteral(CALENDAR_TEST_DATA_DIR "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing test data %s", qPrintable(name));
    return file.readAll();
}

DiscoveredCalendar calendar(const QString &href, const QString &name, const QString &color, const QString &description,
                            const QString &ctag, const QString &syncToken, const QStringList &components)
{
    return DiscoveredCalendar{href, name, color, description, ctag, syncToken, components};
}

// One calendar response at /cal/my%20work/ with the given properties.
QByteArray oneCalendar(const QByteArray &properties,
                       const QByteArray &resourceType = "<d:collection/><c:calendar/>")
{
    return R"(<d:multistatus xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:caldav" xmlns:ic="http://apple.com/ns/ical/">
<d:response><d:href>/cal/my%20work/</d:href><d:propstat><d:prop>
<d:resourcetype>)" + resourceType + "</d:resourcetype>" + properties + R"(
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
const QUrl xandikos(u"http://127.0.0.1:8080"_s);

} // namespace

class TestCalDavParse : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void calendarList_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QUrl>("base");
        QTest::addColumn<QList<DiscoveredCalendar>>("expected");

        const QString radicaleSync = u"http://radicale.org/ns/sync/"_s;
        QTest::newRow("Radicale: principal dropped, unnamed collection named by its path")
            << data(u"radicale/calendarlist.xml"_s) << radicale
            << QList<DiscoveredCalendar>{
                   calendar(u"http://127.0.0.1:5232/alice/to do/"_s, u"alice/to do"_s, {}, {},
                            u"\"a2d1b2b703b6ab0de693661c98b351ec9207f599a412f1dd6253999e8c9cc8f5\""_s,
                            radicaleSync + "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"_L1,
                            {u"VTODO"_s}),
                   calendar(u"http://127.0.0.1:5232/alice/work/"_s, u"Work & Play"_s, u"#FF8800"_s, u"Team dates"_s,
                            u"\"5a353a2d6382f9c9f4915b79d14cc2ce6be8cb039d95d9d6b9df0fb75b416816\""_s,
                            radicaleSync + "641090a4a58c410726aa5f68cebadced885626d56ed265cf9f868bf070dce627"_L1,
                            {u"VEVENT"_s, u"VTODO"_s})};
        QTest::newRow("Xandikos: home dropped, 404 properties empty, every component listed")
            << data(u"xandikos/calendarlist.xml"_s) << xandikos
            << QList<DiscoveredCalendar>{calendar(
                   u"http://127.0.0.1:8080/user/calendars/calendar/"_s, u"calendar"_s, {}, {},
                   u"739914016818a99e72a65e0bf3dbd6f8acfacc6b"_s, u"739914016818a99e72a65e0bf3dbd6f8acfacc6b"_s,
                   {u"VEVENT"_s, u"VTODO"_s, u"VJOURNAL"_s, u"VFREEBUSY"_s})};
        QTest::newRow("iCloud-like: blanks around href, other host kept, inbox and outbox dropped")
            << data(u"handwritten/icloud-like-calendarlist.xml"_s) << QUrl(u"https://caldav.icloud.example"_s)
            << QList<DiscoveredCalendar>{
                   calendar(u"https://caldav.icloud.example/1234567/calendars/home/"_s, u"Home"_s, u"#FF2968"_s, {},
                            u"HwoQEgwAAGTVdCXHlQ=="_s, u"HwoQEgwAAGTVdCXHlQAAAAAA"_s, {u"VEVENT"_s}),
                   calendar(u"https://p42-caldav.icloud.example:443/1234567/calendars/tasks/"_s,
                            u"Reminders \u23F0"_s, {}, {}, u"FT=-@RU=ab"_s, {}, {u"VTODO"_s})};
        QTest::newRow("Google-like: encoded address in path, no displayname, duplicate components kept")
            << data(u"handwritten/google-like-calendarlist.xml"_s) << QUrl(u"https://apidata.google.example"_s)
            << QList<DiscoveredCalendar>{
                   calendar(u"https://apidata.google.example/caldav/v2/alice%40mail.example/events/"_s,
                            u"/caldav/v2/alice@mail.example/events/"_s, u"#9fc6e7"_s, {}, u"63880307201"_s, {},
                            {u"VEVENT"_s, u"VEVENT"_s}),
                   calendar(u"https://apidata.google.example/caldav/v2/en.holiday%23group%40v.calendar.example/events/"_s,
                            u"Holidays"_s, u"#16a765"_s, u"Public holidays"_s, u"63880000000"_s, {},
                            {u"VEVENT"_s})};

        const QUrl base(u"https://dav.example"_s);
        const auto mine = [](const QString &name, const QString &color, const QStringList &components) {
            return QList<DiscoveredCalendar>{
                calendar(u"https://dav.example/cal/my work/"_s, name, color, {}, {}, {}, components)};
        };
        QTest::newRow("Colour with alpha pair -> first seven characters")
            << oneCalendar("<ic:calendar-color>#FF0000FF</ic:calendar-color><d:displayname>W</d:displayname>") << base
            << mine(u"W"_s, u"#FF0000"_s, {u"VEVENT"_s});
        QTest::newRow("Three-digit colour -> no colour")
            << oneCalendar("<ic:calendar-color>#F00</ic:calendar-color><d:displayname>W</d:displayname>") << base
            << mine(u"W"_s, {}, {u"VEVENT"_s});
        QTest::newRow("Colour in blanks -> trimmed, case kept")
            << oneCalendar("<ic:calendar-color> #00ff00 </ic:calendar-color><d:displayname>W</d:displayname>")
            << base << mine(u"W"_s, u"#00ff00"_s, {u"VEVENT"_s});
        QTest::newRow("No displayname -> decoded path, space restored")
            << oneCalendar("<d:displayname/>") << base << mine(u"/cal/my work/"_s, {}, {u"VEVENT"_s});
        QTest::newRow("Only VTODO supported -> components VTODO")
            << oneCalendar(R"(<d:displayname>W</d:displayname>
                <c:supported-calendar-component-set><c:comp name="VTODO"/><c:comp name=""/></c:supported-calendar-component-set>)")
            << base << mine(u"W"_s, {}, {u"VTODO"_s});
        QTest::newRow("Plain collection -> not a calendar")
            << oneCalendar("<d:displayname>W</d:displayname>", "<d:collection/>") << base
            << QList<DiscoveredCalendar>();
        QTest::newRow("calendar element in DAV: namespace -> not a calendar")
            << oneCalendar("<d:displayname>W</d:displayname>", "<d:collection/><d:calendar/>") << base
            << QList<DiscoveredCalendar>();

        QTest::newRow("Cut off inside the last response -> the calendars before it")
            << data(u"radicale/calendarlist.xml"_s).left(2200) << radicale
            << QList<DiscoveredCalendar>{calendar(
                   u"http://127.0.0.1:5232/alice/to do/"_s, u"alice/to do"_s, {}, {},
                   u"\"a2d1b2b703b6ab0de693661c98b351ec9207f599a412f1dd6253999e8c9cc8f5\""_s,
                   radicaleSync + "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"_L1,
                   {u"VTODO"_s})};
        QTest::newRow("Markup inside displayname ends the parse")
            << oneCalendar("<d:displayname><b>W</b></d:displayname>") << base << QList<DiscoveredCalendar>();
        QTest::newRow("Empty body -> nothing") << QByteArray() << base << QList<DiscoveredCalendar>();
        QTest::newRow("HTML error page -> nothing")
            << QByteArray("<html><body>Bad gateway<br></body></html>") << base << QList<DiscoveredCalendar>();
    }

    void calendarList()
    {
        QFETCH(QByteArray, body);
        QFETCH(QUrl, base);
        QFETCH(QList<DiscoveredCalendar>, expected);
        QCOMPARE(CalDavParse::parseCalendarList(body, base), expected);
    }

    void resources_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QUrl>("base");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<bool>("complete");

        const QUrl work(u"http://127.0.0.1:5232/alice/work/"_s);
        const QUrl calendar(u"http://127.0.0.1:8080/user/calendars/calendar/"_s);
        QTest::newRow("Radicale query: %20 decoded, ETag quotes dropped")
            << data(u"radicale/calendarquery.xml"_s) << work
            << QStringList{u"/alice/work/team lunch.ics|05efacddf22d1fc6817c9206a073bfb6715d808b7b741f62b5bc1398a495bba2|lunch-2"_s,
                           u"/alice/work/meeting-1.ics|a5205a665375baa8b7db5316a0f384820c052d3f755f1a6ffe8248356c0a7dce|meeting-1"_s}
            << true;
        QTest::newRow("Xandikos query")
            << data(u"xandikos/calendarquery.xml"_s) << calendar
            << QStringList{u"/user/calendars/calendar/meeting-1.ics|12ce17abea7cb453b364da5347540fd275589e97|meeting-1"_s,
                           u"/user/calendars/calendar/team lunch.ics|81d1271f97000d9ad7a909fb42118bb705cb7cc1|lunch-2"_s}
            << true;
        QTest::newRow("Radicale multiget: the 404 entry comes without ETag or data")
            << data(u"radicale/multiget.xml"_s) << work
            << QStringList{u"/alice/work/missing.ics||-"_s,
                           u"/alice/work/team lunch.ics|05efacddf22d1fc6817c9206a073bfb6715d808b7b741f62b5bc1398a495bba2|lunch-2"_s,
                           u"/alice/work/meeting-1.ics|a5205a665375baa8b7db5316a0f384820c052d3f755f1a6ffe8248356c0a7dce|meeting-1"_s}
            << true;
        QTest::newRow("Xandikos multiget: the 404 entry last")
            << data(u"xandikos/multiget.xml"_s) << calendar
            << QStringList{u"/user/calendars/calendar/meeting-1.ics|12ce17abea7cb453b364da5347540fd275589e97|meeting-1"_s,
                           u"/user/calendars/calendar/team lunch.ics|81d1271f97000d9ad7a909fb42118bb705cb7cc1|lunch-2"_s,
                           u"/user/calendars/calendar/missing.ics||-"_s}
            << true;
        QTest::newRow("ETag-only answer: collection dropped, weak and bare tags unchanged, paths only")
            << data(u"handwritten/etag-only-query.xml"_s) << QUrl(u"https://dav.example/dav/cal/"_s)
            << QStringList{u"/dav/cal/a.ics|1-a|-"_s, u"/dav/cal/b+c.ics|W/\"2-b\"|-"_s,
                           u"/dav/cal/d.ics|plain-etag|-"_s, u"/dav/cal/e.ics|\"|-"_s}
            << true;
        QTest::newRow("Cut off inside the second response -> first only, incomplete")
            << data(u"handwritten/cut-off-query.xml"_s) << work
            << QStringList{u"/alice/work/team lunch.ics|05efacddf22d1fc6817c9206a073bfb6715d808b7b741f62b5bc1398a495bba2|lunch-2"_s}
            << false;
        QTest::newRow("Empty multistatus -> nothing, complete")
            << QByteArray(R"(<?xml version="1.0"?><d:multistatus xmlns:d="DAV:"/>)") << work << QStringList() << true;
        QTest::newRow("Empty body -> nothing, incomplete") << QByteArray() << work << QStringList() << false;
        QTest::newRow("HTML error page -> nothing, incomplete")
            << QByteArray("<html><body>Bad gateway<br></body></html>") << work << QStringList() << false;
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

    // Entities are decoded and XML line ends normalised: the text is the
    // iCalendar object as the server stored it, apart from CRLF.
    void calendarDataIsTheDecodedText()
    {
        const QList<Resource> resources =
            CalDavParse::parseResources(data(u"xandikos/calendarquery.xml"_s), xandikos);
        QCOMPARE(resources.size(), 2);
        QCOMPARE(resources.first().calendarData,
                 u"BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Test//Capture//EN\nBEGIN:VEVENT\n"
                 "SUMMARY:Planning & review\nDTSTART:20260302T100000Z\nDTEND:20260302T110000Z\n"
                 "DTSTAMP:20260301T090000Z\nUID:meeting-1\nEND:VEVENT\nEND:VCALENDAR\n"_s);
    }

    void hrefProperty_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("homeSet");
        QTest::addColumn<QUrl>("base");
        QTest::addColumn<QUrl>("expected");

        QTest::newRow("Radicale principal") << data(u"radicale/principal.xml"_s) << false << radicale
                                            << QUrl(u"http://127.0.0.1:5232/alice/"_s);
        QTest::newRow("Xandikos principal") << data(u"xandikos/principal.xml"_s) << false << xandikos
                                            << QUrl(u"http://127.0.0.1:8080/user/"_s);
        QTest::newRow("Radicale home set is the principal") << data(u"radicale/homeset.xml"_s) << true << radicale
                                                            << QUrl(u"http://127.0.0.1:5232/alice/"_s);
        QTest::newRow("Xandikos home set") << data(u"xandikos/homeset.xml"_s) << true << xandikos
                                           << QUrl(u"http://127.0.0.1:8080/user/calendars/"_s);
        QTest::newRow("No principal property -> none")
            << data(u"radicale/calendarlist.xml"_s) << false << radicale << QUrl();

        const auto principal = [](const QByteArray &inner) {
            return R"(<d:multistatus xmlns:d="DAV:"><d:response><d:href>/</d:href><d:propstat><d:prop>)" + inner
                + "</d:prop></d:propstat></d:response></d:multistatus>";
        };
        const QUrl origin(u"https://dav.example:8443"_s);
        QTest::newRow("Absolute path takes the origin's scheme, host and port")
            << principal("<d:current-user-principal><d:href>/principals/bob/</d:href></d:current-user-principal>")
            << false << origin << QUrl(u"https://dav.example:8443/principals/bob/"_s);
        QTest::newRow("Absolute URL on another host stands")
            << principal(R"(<c:calendar-home-set xmlns:c="urn:ietf:params:xml:ns:caldav">
                   <d:href>https://p42.example/123/calendars/</d:href></c:calendar-home-set>)")
            << true << origin << QUrl(u"https://p42.example/123/calendars/"_s);
        QTest::newRow("A property without href, then one with")
            << principal("<d:current-user-principal><d:unauthenticated/></d:current-user-principal>"
                         "<d:current-user-principal><d:href>/p/</d:href></d:current-user-principal>")
            << false << origin << QUrl(u"https://dav.example:8443/p/"_s);
        QTest::newRow("Empty href -> none")
            << principal("<d:current-user-principal><d:href></d:href></d:current-user-principal>"
                         "<d:current-user-principal><d:href>/p/</d:href></d:current-user-principal>")
            << false << origin << QUrl();
        QTest::newRow("Home set in the DAV: namespace is not seen")
            << principal("<d:calendar-home-set><d:href>/home/</d:href></d:calendar-home-set>") << true << origin
            << QUrl();
    }

    void hrefProperty()
    {
        QFETCH(QByteArray, body);
        QFETCH(bool, homeSet);
        QFETCH(QUrl, base);
        QFETCH(QUrl, expected);
        const std::optional<QUrl> found = homeSet ? CalDavParse::parseCalendarHomeSet(body, base)
                                                  : CalDavParse::parseCurrentUserPrincipal(body, base);
        QCOMPARE(found.value_or(QUrl()), expected);
        QCOMPARE(found.has_value(), !expected.isEmpty());
    }

    void changeMarkers_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("ctag");
        QTest::addColumn<QString>("syncToken");

        QTest::newRow("Radicale: ctag keeps its quotes")
            << data(u"radicale/ctag.xml"_s)
            << u"\"5a353a2d6382f9c9f4915b79d14cc2ce6be8cb039d95d9d6b9df0fb75b416816\""_s
            << u"http://radicale.org/ns/sync/641090a4a58c410726aa5f68cebadced885626d56ed265cf9f868bf070dce627"_s;
        QTest::newRow("Xandikos") << data(u"xandikos/ctag.xml"_s) << u"739914016818a99e72a65e0bf3dbd6f8acfacc6b"_s
                                  << u"739914016818a99e72a65e0bf3dbd6f8acfacc6b"_s;
        QTest::newRow("getctag in the DAV: namespace is not seen")
            << QByteArray(R"(<d:multistatus xmlns:d="DAV:"><d:getctag>x</d:getctag><d:sync-token/></d:multistatus>)")
            << QString() << QString();
        QTest::newRow("Empty body") << QByteArray() << QString() << QString();
    }

    void changeMarkers()
    {
        QFETCH(QByteArray, body);
        QFETCH(QString, ctag);
        QFETCH(QString, syncToken);
        QCOMPARE(CalDavParse::parseCtag(body).value_or(QString()), ctag);
        QCOMPARE(CalDavParse::parseCtag(body).has_value(), !ctag.isEmpty());
        QCOMPARE(CalDavParse::parseSyncToken(body).value_or(QString()), syncToken);
    }
};

QTEST_GUILESS_MAIN(TestCalDavParse)
#include "tst_caldavparse.moc"
