#include "awaitresponse.h"
#include "caldavclient.h"
#include "caldavdiscovery.h"
#include "caldavmerge.h"
#include "caldavxml.h"
#include "canonicalcalendarkey.h"
#include "loopbackport.h"
#include "radicaleserver.h"
#include "scriptedhttpserver.h"
#include "syncharness.h"
#include "testcertificate.h"
#include "xandikosserver.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using Discovered = CalDavParse::DiscoveredCalendar;
using Calendars = QList<Discovered>;

namespace {

QByteArray multistatus(const QByteArray &responses)
{
    return "<?xml version=\"1.0\"?>\n<d:multistatus xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\">"
        + responses + "</d:multistatus>";
}

QByteArray propResponse(const QByteArray &href, const QByteArray &prop)
{
    return "<d:response><d:href>" + href + "</d:href><d:propstat><d:prop>" + prop
        + "</d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>";
}

QByteArray principalAnswer(const QByteArray &principal)
{
    return multistatus(
        propResponse("/", "<d:current-user-principal><d:href>" + principal + "</d:href></d:current-user-principal>"));
}

QByteArray homeAnswer(const QByteArray &principal, const QByteArray &home)
{
    return multistatus(
        propResponse(principal, "<c:calendar-home-set><d:href>" + home + "</d:href></c:calendar-home-set>"));
}

QByteArray calendarAnswer(const QByteArray &href, const QByteArray &name)
{
    return multistatus(propResponse(href,
                                    "<d:resourcetype><d:collection/><c:calendar/></d:resourcetype>"
                                    "<d:displayname>"
                                        + name + "</d:displayname>"));
}

// The outcome of one discovery run: the calendars, or the failure message.
struct Outcome
{
    Calendars calendars;
    SyncResult failure; // as it is when none came
    QString repeated; // set when the discovery reported more than once
};

// What a discovery that failed at `step` reports.
SyncResult failedAt(SyncResult::Step step, int status, SyncResult::Kind kind = SyncResult::Kind::Answer)
{
    SyncResult result = SyncResult::failure(kind, step);
    result.status = status;
    return result;
}

Outcome discover(CalDavClient &client, const QUrl &url)
{
    CalDavDiscovery discovery(&client);
    QSignalSpy completed(&discovery, &CalDavDiscovery::completed);
    QSignalSpy failed(&discovery, &CalDavDiscovery::failed);
    discovery.start(url);
    if (!QTest::qWaitFor([&] { return completed.size() + failed.size() > 0; }, 10000))
        qFatal("discovery did not finish");
    QTest::qWait(0);
    Outcome outcome;
    if (!completed.isEmpty())
        outcome.calendars = completed.first().first().value<Calendars>();
    if (!failed.isEmpty())
        outcome.failure = failed.first().first().value<SyncResult>();
    if (completed.size() + failed.size() != 1)
        outcome.repeated = u"reported more than once"_s;
    return outcome;
}

QStringList hrefs(const Calendars &calendars)
{
    QStringList out;
    for (const CalDavParse::DiscoveredCalendar &calendar : calendars)
        out.append(calendar.href);
    out.sort();
    return out;
}

Discovered discovered(const QString &href, const QString &name, const QString &color = {})
{
    return Discovered{href, name, color, name + u" notes"_s, {}, {}, {u"VEVENT"_s, u"VTODO"_s}};
}

} // namespace

// The way from a typed URL to the account's calendars, and the calendars
// found written into the store: new ones added, placeholders from another
// device turned on, everything else left alone.
class TestCalDavDiscovery : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        qRegisterMetaType<Calendars>();
        QVERIFY2(m_xandikos.start(), qPrintable(m_xandikos.errorString()));
        if (!RadicaleServer::isAvailable())
            QSKIP("Debian's python3-radicale is not installed");
        QVERIFY2(m_radicale.start(), qPrintable(m_radicale.errorString()));
        CalDavClient client;
        client.setCredentials(u"alice"_s, u"s3cret"_s);
        for (const QString &name : {u"work"_s, u"to do"_s}) {
            const QUrl url = m_radicale.url(u"/alice/"_s).resolved(QUrl(CalDavXml::encodePath(name + u'/')));
            QVERIFY(makeCalendar(client, url, name, u"#00aa00"_s));
        }
    }

    void init()
    {
        m_fixture = std::make_unique<AppStateFixture>();
        QVERIFY(m_fixture->start());
        m_state = m_fixture->state();
        m_account = addAccount(u"caldav"_s);
    }

    void cleanup() { m_fixture.reset(); }

    // From the bare server root through principal and home set to the list.
    void realServersFromTheRoot_data()
    {
        QTest::addColumn<QUrl>("root");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("Radicale with htpasswd")
            << m_radicale.baseUrl() << u"alice"_s
            << QStringList{m_radicale.url(u"/alice/to do/"_s).toString(), m_radicale.url(u"/alice/work/"_s).toString()};
        QTest::newRow("Xandikos") << m_xandikos.url() << QString() << QStringList{m_xandikos.calendarUrl().toString()};
    }

    void realServersFromTheRoot()
    {
        QFETCH(QUrl, root);
        QFETCH(QString, user);
        QFETCH(QStringList, expected);
        CalDavClient client;
        client.setCredentials(user, u"s3cret"_s);
        const Outcome outcome = discover(client, root);
        QCOMPARE(outcome.failure, SyncResult());
        QCOMPARE(hrefs(outcome.calendars), expected);
        for (const CalDavParse::DiscoveredCalendar &calendar : outcome.calendars)
            QVERIFY(!calendar.ctag.isEmpty() || !calendar.syncToken.isEmpty());

        const int count = int(expected.size());
        QCOMPARE(CalDavParse::mergeDiscoveredCalendars(m_state, m_account, outcome.calendars), count);
        QCOMPARE(CalDavParse::mergeDiscoveredCalendars(m_state, m_account, outcome.calendars), 0);
        const QList<Calendar> stored = m_state->calendars()->getByAccount(m_account);
        QCOMPARE(stored.size(), count);
        for (const Calendar &calendar : stored) {
            QVERIFY(calendar.sync_enabled);
            QVERIFY(!calendar.is_default); // the device calendar was first
            QCOMPARE(calendar.canonical_key, canonicalCalendarKey(u"caldav"_s, calendar.url).value_or(QString()));
            QVERIFY(calendar.supported_components.contains(u"\"VEVENT\""_s));
            QCOMPARE(calendar.color.size(), 7);
        }
    }

    void wrongPasswordOnRadicale()
    {
        CalDavClient client;
        client.setCredentials(u"alice"_s, u"guess"_s);
        const SyncResult failure = discover(client, m_radicale.baseUrl()).failure;
        QCOMPARE(failure.kind, SyncResult::Kind::SignInNeeded);
        QCOMPARE(failure.step, SyncResult::Step::Principal);
        QCOMPARE(failure.status, 401);
    }

    void unusableUrls_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("bare host name") << u"example.com"_s;
        QTest::newRow("host and port read as a scheme") << u"example.com:8443/dav/"_s;
        QTest::newRow("another scheme") << u"ftp://example.com/dav/"_s;
        QTest::newRow("nothing") << QString();
    }

    void unusableUrls()
    {
        QFETCH(QString, typed);
        ScriptedHttpServer server;
        QVERIFY(server.start());
        CalDavClient client;
        QCOMPARE(discover(client, QUrl(typed)).failure.kind, SyncResult::Kind::BadAddress);
        QCOMPARE(server.requests().size(), 0);
    }

    // Each step on a scripted server: what the user reads when it fails, and
    // where the next step goes when a property is missing.
    void steps_data()
    {
        QTest::addColumn<QString>("typedPath");
        QTest::addColumn<QList<QByteArrayList>>("script"); // target, status, body
        QTest::addColumn<SyncResult>("failure");
        QTest::addColumn<QStringList>("found");

        const QByteArray cal = calendarAnswer("/dav/home/work/", "Work");
        QTest::newRow("principal and home set as absolute paths resolve against the origin")
            << u"/dav/start/here"_s
            << QList<QByteArrayList>{{"/dav/start/here", "207", principalAnswer("/p/alice/")},
                                     {"/p/alice/", "207", homeAnswer("/p/alice/", "/dav/home/")},
                                     {"/dav/home/", "207", cal}}
            << SyncResult() << QStringList{u"/dav/home/work/"_s};
        QTest::newRow("no principal, no home set: the list is read at the typed URL")
            << u"/dav/home/work/"_s
            << QList<QByteArrayList>{{"/dav/home/work/", "207", multistatus({})},
                                     {"/dav/home/work/", "207", multistatus({})},
                                     {"/dav/home/work/", "207", cal}}
            << SyncResult() << QStringList{u"/dav/home/work/"_s};
        QTest::newRow("401 at the principal step names the credentials")
            << u"/dav/"_s << QList<QByteArrayList>{{"/dav/", "401", {}}}
            << failedAt(SyncResult::Step::Principal, 401, SyncResult::Kind::SignInNeeded) << QStringList();
        QTest::newRow("401 at the home-set step gives its status")
            << u"/dav/"_s << QList<QByteArrayList>{{"/dav/", "207", principalAnswer("/p/")}, {"/p/", "401", {}}}
            << failedAt(SyncResult::Step::HomeSet, 401) << QStringList();
        QTest::newRow("a redirect is not followed and fails visibly")
            << u"/dav/"_s << QList<QByteArrayList>{{"/dav/", "301", {}}} << failedAt(SyncResult::Step::Principal, 301)
            << QStringList();
        QTest::newRow("500 while listing") << u"/dav/"_s
                                           << QList<QByteArrayList>{{"/dav/", "207", multistatus({})},
                                                                    {"/dav/", "207", multistatus({})},
                                                                    {"/dav/", "500", {}}}
                                           << failedAt(SyncResult::Step::CalendarList, 500) << QStringList();
        QTest::newRow("a home without calendars")
            << u"/dav/"_s
            << QList<QByteArrayList>{{"/dav/", "207", multistatus({})},
                                     {"/dav/", "207", multistatus({})},
                                     {"/dav/", "207",
                                      multistatus(
                                          propResponse("/dav/", "<d:resourcetype><d:collection/></d:resourcetype>"))}}
            << SyncResult::failure(SyncResult::Kind::NothingFound, SyncResult::Step::CalendarList) << QStringList();
    }

    void steps()
    {
        QFETCH(QString, typedPath);
        QFETCH(QList<QByteArrayList>, script);
        QFETCH(SyncResult, failure);
        QFETCH(QStringList, found);

        ScriptedHttpServer server;
        QVERIFY(server.start());
        for (const QByteArrayList &step : script)
            server.expect("PROPFIND", step.at(0)).reply(step.at(1).toInt(), step.at(2));
        CalDavClient client;
        const Outcome outcome = discover(client, server.url(typedPath));
        QCOMPARE(server.problems(), QStringList());
        QCOMPARE(outcome.failure, failure);
        QCOMPARE(outcome.repeated, QString());
        QStringList expected;
        for (const QString &path : found)
            expected.append(server.url(path).toString());
        QCOMPARE(hrefs(outcome.calendars), expected);
        const QList<QByteArray> depths{"0", "0", "1"};
        for (qsizetype i = 0; i < server.requests().size(); ++i)
            QCOMPARE(server.requests().at(i).header("Depth"), depths.at(i));
    }

    // A server reached over TLS that names a plain http address for the
    // next step would have the password cross the network readable: the
    // step is not taken, and no such calendar is kept.
    void neverFromTlsToPlainHttp_data()
    {
        QTest::addColumn<QList<QByteArrayList>>("script"); // target, body; {plain}: the plain server's origin
        QTest::addColumn<SyncResult>("failure");
        QTest::newRow("principal") << QList<QByteArrayList>{{"/dav/", principalAnswer("{plain}/p/")}}
                                   << SyncResult::failure(SyncResult::Kind::BadAddress, SyncResult::Step::Principal);
        QTest::newRow("home set") << QList<QByteArrayList>{{"/dav/", principalAnswer("/p/")},
                                                           {"/p/", homeAnswer("/p/", "{plain}/home/")}}
                                  << SyncResult::failure(SyncResult::Kind::BadAddress, SyncResult::Step::HomeSet);
        QTest::newRow("a calendar of the list")
            << QList<QByteArrayList>{{"/dav/", principalAnswer("/p/")},
                                     {"/p/", homeAnswer("/p/", "/home/")},
                                     {"/home/", calendarAnswer("{plain}/home/work/", "Work")}}
            << SyncResult::failure(SyncResult::Kind::NothingFound, SyncResult::Step::CalendarList);
    }

    void neverFromTlsToPlainHttp()
    {
        QFETCH(QList<QByteArrayList>, script);
        QFETCH(SyncResult, failure);
        QTemporaryDir dir;
        const TestCertificate certificate(dir.path(), u"server"_s);
        QVERIFY2(certificate.isValid(), qPrintable(certificate.errorString()));
        ScriptedHttpServer tls;
        ScriptedHttpServer plain;
        QVERIFY(tls.startTls(certificate.certificate(), certificate.key()));
        QVERIFY(plain.start());
        const QByteArray origin = plain.url(QString()).toEncoded();
        for (QByteArrayList step : script)
            tls.expect("PROPFIND", step.at(0)).reply(207, step[1].replace("{plain}", origin));
        CalDavClient client;
        client.setCredentials(u"alice"_s, u"s3cret"_s);
        client.setTrustedCertificateSha256(certificate.sha256());
        const Outcome outcome = discover(client, tls.url(u"/dav/"_s));
        QCOMPARE(tls.problems(), QStringList());
        QCOMPARE(plain.requests().size(), 0);
        QCOMPARE(outcome.failure.kind, failure.kind);
        QCOMPARE(outcome.failure.step, failure.step);
        QCOMPARE(outcome.calendars.size(), 0);
    }

    void unreachableServer()
    {
        CalDavClient client;
        const LoopbackPort::ClosedPort closed;
        const QUrl url = LoopbackPort::url(u"http"_s, closed.port(), u"/"_s);
        const SyncResult failure = discover(client, url).failure;
        QCOMPARE(failure.kind, SyncResult::Kind::Network);
        QCOMPARE(failure.step, SyncResult::Step::Principal);
        QCOMPARE(failure.networkError, QNetworkReply::ConnectionRefusedError);
        QVERIFY(!failure.networkErrorText.isEmpty());
    }

    // Whichever of the two goes first, the run neither touches a deleted
    // discovery nor ends without a word. The server takes the request and
    // stays silent until the test closes it.
    void endsOfARunUnderWay_data()
    {
        QTest::addColumn<bool>("deleteDiscovery");
        QTest::newRow("discovery deleted first: a late answer is dropped") << true;
        QTest::newRow("client deleted first: the run fails once") << false;
    }

    void endsOfARunUnderWay()
    {
        QFETCH(bool, deleteDiscovery);
        auto silent = std::make_unique<QTcpServer>();
        QVERIFY(silent->listen(QHostAddress::LocalHost));
        auto client = std::make_unique<CalDavClient>();
        auto discovery = std::make_unique<CalDavDiscovery>(client.get());
        QSignalSpy completed(discovery.get(), &CalDavDiscovery::completed);
        QSignalSpy failed(discovery.get(), &CalDavDiscovery::failed);
        discovery->start(QUrl(u"http://127.0.0.1:%1/"_s.arg(silent->serverPort())));
        QVERIFY(QTest::qWaitFor([&] { return silent->hasPendingConnections(); }, 5000));
        if (deleteDiscovery) {
            discovery.reset();
            silent.reset(); // the answer fails now and reaches the callback
            QTest::qWait(200);
            return;
        }
        client.reset();
        QVERIFY(QTest::qWaitFor([&] { return !failed.isEmpty(); }, 5000));
        QTest::qWait(100);
        QCOMPARE(failed.size(), 1);
        QCOMPARE(completed.size(), 0);
        QCOMPARE(failed.first().first().value<SyncResult>().kind, SyncResult::Kind::Cancelled);
    }

    void existingCalendars_data()
    {
        QTest::addColumn<bool>("syncEnabled");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("turnedOn");
        QTest::newRow("placeholder from another device is turned on") << false << true << u"k1"_s << true;
        QTest::newRow("placeholder without a key is left alone") << false << true << QString() << false;
        QTest::newRow("a syncing calendar is left alone") << true << false << u"k1"_s << false;
        QTest::newRow("a calendar turned off here stays off") << false << false << u"k1"_s << false;
    }

    void existingCalendars()
    {
        QFETCH(bool, syncEnabled);
        QFETCH(bool, readOnly);
        QFETCH(QString, key);
        QFETCH(bool, turnedOn);
        Calendar existing;
        existing.id = newId();
        existing.account_id = m_account;
        existing.url = u"https://dav.example.org/cal/work/"_s;
        existing.name = u"Known"_s;
        existing.color = u"#123456"_s;
        existing.sync_enabled = syncEnabled;
        existing.is_read_only = readOnly;
        existing.canonical_key = key;
        existing.created_at = existing.updated_at = QDateTime::currentDateTimeUtc();
        QVERIFY(m_state->calendars()->insert(existing));

        const int added = CalDavParse::mergeDiscoveredCalendars(m_state, m_account,
                                                                {discovered(existing.url, u"Work"_s, u"#ff0000"_s)});
        QCOMPARE(added, 0);
        QCOMPARE(m_state->calendars()->getByAccount(m_account).size(), 1);
        const Calendar after = *m_state->calendars()->getById(existing.id);
        QCOMPARE(after.sync_enabled, turnedOn || syncEnabled);
        QCOMPARE(after.name, turnedOn ? u"Work"_s : u"Known"_s);
        QCOMPARE(after.color, turnedOn ? u"#ff0000"_s : u"#123456"_s);
        QCOMPARE(after.is_read_only, readOnly && !turnedOn);
        if (turnedOn)
            QCOMPARE(after.supported_components, u"[\"VEVENT\",\"VTODO\"]"_s);
    }

    // The server's privileges decide whether the events can be changed
    // here, for new calendars and for syncing ones whose rights moved.
    void writeAccessFollowsTheServer_data()
    {
        QTest::addColumn<bool>("known");
        QTest::addColumn<bool>("wasReadOnly");
        QTest::addColumn<bool>("serverReadOnly");
        QTest::newRow("new, read-only there") << false << false << true;
        QTest::newRow("new, writable there") << false << false << false;
        QTest::newRow("syncing, write access taken away") << true << false << true;
        QTest::newRow("syncing, write access granted") << true << true << false;
    }

    void writeAccessFollowsTheServer()
    {
        QFETCH(bool, known);
        QFETCH(bool, wasReadOnly);
        QFETCH(bool, serverReadOnly);
        const QString url = u"https://dav.example.org/cal/shared/"_s;
        if (known) {
            Calendar existing;
            existing.id = newId();
            existing.account_id = m_account;
            existing.url = url;
            existing.name = u"Shared"_s;
            existing.sync_enabled = true;
            existing.is_read_only = wasReadOnly;
            existing.created_at = existing.updated_at = QDateTime::currentDateTimeUtc();
            QVERIFY(m_state->calendars()->insert(existing));
        }
        Discovered found = discovered(url, u"Shared"_s);
        found.readOnly = serverReadOnly;
        QCOMPARE(CalDavParse::mergeDiscoveredCalendars(m_state, m_account, {found}), known ? 0 : 1);
        const QList<Calendar> calendars = m_state->calendars()->getByAccount(m_account);
        QCOMPARE(calendars.size(), 1);
        QCOMPARE(calendars.first().is_read_only, serverReadOnly);
    }

    void newCalendars()
    {
        // An empty store: the first calendar ever becomes the default one.
        for (const Calendar &calendar : m_state->calendars()->getAll())
            QVERIFY(m_state->calendars()->remove(calendar.id));
        const QList<Discovered> list{discovered(u"https://h/a/"_s, u"A"_s),
                                     discovered(u"https://h/b/"_s, u"B"_s, u"#00ff00"_s),
                                     discovered(u"https://h/a/"_s, u"A again"_s)};
        QCOMPARE(CalDavParse::mergeDiscoveredCalendars(m_state, m_account, list), 2);
        const QList<Calendar> stored = m_state->calendars()->getByAccount(m_account);
        QCOMPARE(stored.size(), 2);
        for (const Calendar &calendar : stored) {
            const bool first = calendar.url == u"https://h/a/"_s;
            QCOMPARE(calendar.is_default, first);
            QCOMPARE(calendar.color, first ? u"#4285F4"_s : u"#00ff00"_s);
            QCOMPARE(calendar.description, first ? u"A notes"_s : u"B notes"_s);
        }
    }

    void noAccountOrState()
    {
        QCOMPARE(CalDavParse::mergeDiscoveredCalendars(nullptr, m_account, {discovered(u"https://h/a/"_s, u"A"_s)}), 0);
        QCOMPARE(CalDavParse::mergeDiscoveredCalendars(m_state, {}, {discovered(u"https://h/a/"_s, u"A"_s)}), 0);
        // An account type without a key family still gets its calendar, keyless.
        const QString other = addAccount(u"unknown"_s);
        QCOMPARE(CalDavParse::mergeDiscoveredCalendars(m_state, other, {discovered(u"https://h/a/"_s, u"A"_s)}), 1);
        QCOMPARE(m_state->calendars()->getByAccount(other).first().canonical_key, QString());
    }

private:
    QString addAccount(const QString &type)
    {
        Account account;
        account.id = newId();
        account.name = type;
        account.type = type;
        account.created_at = account.updated_at = QDateTime::currentDateTimeUtc();
        if (!m_state->accounts()->insert(account))
            qFatal("account not stored");
        return account.id;
    }

    RadicaleServer m_radicale{RadicaleServer::Options{u"alice"_s, u"s3cret"_s, {}, {}}};
    XandikosServer m_xandikos;
    std::unique_ptr<AppStateFixture> m_fixture;
    AppState *m_state = nullptr;
    QString m_account;
};

QTEST_GUILESS_MAIN(TestCalDavDiscovery)
#include "tst_caldavdiscovery.moc"
