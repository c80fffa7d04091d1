#include "awaitresponse.h"
#include "caldavclient.h"
#include "caldavparse.h"
#include "caldavxml.h"
#include "radicaleserver.h"
#include "xandikosserver.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Response = CalDavClient::Response;

namespace {

struct Server
{
    QUrl origin;
    QString userName;
    QString password;
    QUrl home;
    QUrl calendar;
    // Xandikos 0.2 keeps only the display name of a new calendar, and
    // refuses a description by PROPPATCH.
    bool keepsCalendarProperties = true;
};

class Requests
{
public:
    explicit Requests(const Server &server) { m_client.setCredentials(server.userName, server.password); }

    Response propfind(const QUrl &url, const QByteArray &body, int depth)
    {
        return awaitResponse([&](auto callback) { m_client.propfind(url, body, depth, callback); });
    }
    Response report(const QUrl &url, const QByteArray &body)
    {
        return awaitResponse([&](auto callback) { m_client.report(url, body, 1, callback); });
    }
    Response put(const QUrl &url, const QByteArray &body, const QString &etag = {})
    {
        return awaitResponse(
            [&](auto callback) { m_client.put(url, body, u"text/calendar; charset=utf-8"_s, callback, etag); });
    }
    Response remove(const QUrl &url, const QString &etag)
    {
        return awaitResponse([&](auto callback) { m_client.deleteResource(url, callback, etag); });
    }
    Response mkcalendar(const QUrl &url, const QByteArray &body)
    {
        return awaitResponse([&](auto callback) { m_client.mkcalendar(url, body, callback); });
    }
    Response proppatch(const QUrl &url, const QByteArray &body)
    {
        return awaitResponse([&](auto callback) { m_client.proppatch(url, body, callback); });
    }

private:
    CalDavClient m_client;
};

QByteArray eventBody(const QString &uid, const QString &summary)
{
    return u"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Quillmarten//Calendar Desktop//EN\r\nBEGIN:VEVENT\r\n"
           "UID:%1\r\nDTSTAMP:20260301T090000Z\r\nDTSTART:20260302T100000Z\r\nDTEND:20260302T110000Z\r\n"
           "SUMMARY:%2\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"_s.arg(uid, summary)
               .toUtf8();
}

QUrl child(const QUrl &collection, const QString &decodedName)
{
    return collection.resolved(QUrl(CalDavXml::encodePath(decodedName), QUrl::StrictMode));
}

std::optional<CalDavParse::Resource> find(const QList<CalDavParse::Resource> &resources, const QString &href)
{
    for (const CalDavParse::Resource &resource : resources) {
        if (resource.href == href)
            return resource;
    }
    return std::nullopt;
}

std::optional<CalDavParse::DiscoveredCalendar> find(const QList<CalDavParse::DiscoveredCalendar> &calendars,
                                                    const QUrl &href)
{
    for (const CalDavParse::DiscoveredCalendar &calendar : calendars) {
        if (QUrl(calendar.href) == href)
            return calendar;
    }
    return std::nullopt;
}

} // namespace

Q_DECLARE_METATYPE(Server)

// The client against real servers on loopback, one scenario per server
// (discovery against them is tested with CalDavDiscovery).
class TestCalDavServers : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_xandikos.start(), qPrintable(m_xandikos.errorString()));
        const QUrl origin = m_xandikos.url();
        if (!RadicaleServer::isAvailable())
            QSKIP("Debian's python3-radicale is not installed");
        QVERIFY2(m_radicale.start(), qPrintable(m_radicale.errorString()));
        const QUrl radicale = m_radicale.baseUrl();
        const Server alice{radicale, u"alice"_s, u"s3cret:pass"_s, m_radicale.url(u"/alice/"_s),
                           m_radicale.url(u"/alice/work/"_s)};
        const Response made = Requests(alice).mkcalendar(alice.calendar, CalDavXml::mkcalendarBody(u"Work"_s, {}, {}));
        QVERIFY2(made.isSuccess(), qPrintable(QString::number(made.status) + made.error));
        m_servers.append({u"Radicale"_s, alice});

        m_servers.append(
            {u"Xandikos"_s,
             Server{origin, {}, {}, origin.resolved(QUrl(u"/user/calendars/"_s)), m_xandikos.calendarUrl(), false}});
    }

    // Create, list, fetch, conflict, update, delete: what a sync run does.
    void writeCycle_data() { servers(); }
    void writeCycle()
    {
        QFETCH(Server, server);
        Requests requests(server);
        const QString name = u"smoke event %1.ics"_s.arg(QString::fromLatin1(QTest::currentDataTag()));
        const QUrl url = child(server.calendar, name);
        const QString href = server.calendar.path() + name;
        const QString uid = u"smoke-"_s + QString::fromLatin1(QTest::currentDataTag());
        const auto ctag = [&] {
            return CalDavParse::parseCtag(requests.propfind(server.calendar, CalDavXml::ctagPropfindBody(), 0).body);
        };
        const std::optional<QString> ctagBefore = ctag();

        Response response = requests.put(url, eventBody(uid, u"First & only"_s));
        QVERIFY2(response.isWriteSuccess(), qPrintable(QString::number(response.status) + response.error));
        const QString created = response.etag();
        QVERIFY(ctag() != ctagBefore);

        response = requests.report(server.calendar, CalDavXml::calendarQueryBody({}, {}, u"VEVENT"_s));
        QCOMPARE(response.status, 207);
        bool complete = false;
        auto listed = find(CalDavParse::parseResources(response.body, server.calendar, &complete), href);
        QVERIFY(complete);
        QVERIFY(listed);
        QVERIFY(listed->calendarData.contains(u"UID:"_s + uid));
        QVERIFY(listed->calendarData.contains(u"SUMMARY:First & only"_s));
        if (!created.isEmpty())
            QCOMPARE(listed->etag, created);
        const QString etag = listed->etag;

        response = requests.report(server.calendar, CalDavXml::multigetBody({href}));
        QCOMPARE(response.status, 207);
        QCOMPARE(find(CalDavParse::parseResources(response.body, server.calendar), href), listed);

        response = requests.put(url, eventBody(uid, u"Stale"_s), u"not-the-etag"_s);
        QVERIFY(response.hasConflict());

        response = requests.put(url, eventBody(uid, u"Second"_s), etag);
        QVERIFY(response.isWriteSuccess());
        response = requests.remove(url, etag);
        QVERIFY(response.hasConflict());

        response = requests.report(server.calendar, CalDavXml::multigetBody({href}));
        const auto updated = find(CalDavParse::parseResources(response.body, server.calendar), href);
        QVERIFY(updated);
        QVERIFY(updated->calendarData.contains(u"SUMMARY:Second"_s));
        QVERIFY(updated->etag != etag);

        response = requests.remove(url, updated->etag);
        QVERIFY(response.isWriteSuccess());
        response = requests.report(server.calendar, CalDavXml::calendarQueryBody({}, {}, u"VEVENT"_s));
        QCOMPARE(find(CalDavParse::parseResources(response.body, server.calendar), href), std::nullopt);
    }

    void makeAndRenameCalendar_data() { servers(); }
    void makeAndRenameCalendar()
    {
        QFETCH(Server, server);
        Requests requests(server);
        const QUrl url = child(server.home, u"made here/"_s);

        Response response = requests.mkcalendar(url,
                                                CalDavXml::mkcalendarBody(u"Made & here"_s, u"#00ff00"_s,
                                                                          u"Team <dates>"_s));
        QVERIFY2(response.isSuccess(), qPrintable(QString::number(response.status) + response.error));
        response = requests.propfind(url, CalDavXml::calendarListPropfindBody(), 0);
        auto calendar = find(CalDavParse::parseCalendarList(response.body, server.origin), url);
        QVERIFY(calendar);
        QCOMPARE(calendar->displayName, u"Made & here"_s);
        if (server.keepsCalendarProperties) {
            QCOMPARE(calendar->description, u"Team <dates>"_s);
            QCOMPARE(calendar->components, (QStringList{u"VEVENT"_s, u"VTODO"_s}));
            QCOMPARE(calendar->color.toUpper(), u"#00FF00"_s);
        }

        response = requests.proppatch(url, CalDavXml::proppatchCalendarBody(u"Renamed"_s, u"#0000ff"_s, {}));
        QCOMPARE(response.status, 207);
        response = requests.propfind(url, CalDavXml::calendarListPropfindBody(), 0);
        calendar = find(CalDavParse::parseCalendarList(response.body, server.origin), url);
        QVERIFY(calendar);
        QCOMPARE(calendar->displayName, u"Renamed"_s);
        QCOMPARE(calendar->color.toUpper(), u"#0000FF"_s);
    }

private:
    void servers()
    {
        QTest::addColumn<Server>("server");
        for (const auto &[name, server] : std::as_const(m_servers))
            QTest::newRow(qPrintable(name)) << server;
    }

    RadicaleServer m_radicale{RadicaleServer::Options{u"alice"_s, u"s3cret:pass"_s, {}, {}}};
    XandikosServer m_xandikos;
    QList<QPair<QString, Server>> m_servers;
};

QTEST_GUILESS_MAIN(TestCalDavServers)
#include "tst_caldavservers.moc"
