#include "boundednetworkaccessmanager.h"
#include "fakegoogle.h"
#include "fakegraph.h"
#include "faultproxy.h"
#include "googlecalendarclient.h"
#include "microsoftcalendarclient.h"
#include "oauthsignin.h"
#include "replysizeguard.h"
#include "scriptedhttpserver.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Fault = FaultProxy::Fault;
using Step = SyncResult::Step;

const QString kCalendar = u"team"_s;

enum class Call { ListCalendars, ListEvents, InsertEvent, RefreshToken };

} // namespace

// The provider clients on the manager the sync hands them, against the
// fake Google and the fake Graph behind a proxy whose one request never
// ends: the request fails at the JSON page bound, with the bound it met.
class TestProviderBounds : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(m_google.start(), qPrintable(m_google.errorString()));
        QVERIFY2(m_graph.start(), qPrintable(m_graph.errorString()));
    }

    void endlessAnswerFails_data()
    {
        QTest::addColumn<bool>("google");
        QTest::addColumn<Call>("call");
        QTest::addColumn<QByteArray>("target"); // a piece of the request target the fault waits for
        QTest::addColumn<Step>("step");
        QTest::newRow("google: the second calendar page never ends")
            << true << Call::ListCalendars << QByteArray("pageToken") << Step::CalendarList;
        QTest::newRow("google: an events page never ends")
            << true << Call::ListEvents << QByteArray("/events") << Step::EventListing;
        QTest::newRow("google: the answer to an insert never ends")
            << true << Call::InsertEvent << QByteArray("/events") << Step::EventInsert;
        QTest::newRow("microsoft: an events page never ends")
            << false << Call::ListEvents << QByteArray("/calendars/") << Step::EventListing;
        QTest::newRow("microsoft: the answer to an insert never ends")
            << false << Call::InsertEvent << QByteArray("/events") << Step::EventInsert;
    }

    void endlessAnswerFails()
    {
        QFETCH(bool, google);
        QFETCH(Call, call);
        QFETCH(QByteArray, target);
        QFETCH(Step, step);
        FakeProviderServer &fake = google ? static_cast<FakeProviderServer &>(m_google) : m_graph;
        fake.control(u"reset"_s);
        QList<QJsonObject> calendars;
        for (int i = 0; i < 5; ++i)
            calendars.append({{"id"_L1, i == 0 ? kCalendar : u"cal%1"_s.arg(i)}, {"summary"_L1, u"C%1"_s.arg(i)}});
        fake.setCalendars(calendars);
        if (google)
            fake.control(u"settings"_s, {{"calendar_page_size"_L1, 2}});
        const QUrl base = google ? m_google.baseUrl() : m_graph.graphUrl();
        FaultProxy proxy(base);
        QVERIFY(proxy.start());
        proxy.addRule(call == Call::InsertEvent ? "POST" : "GET", target, {}, Fault::Endless);
        BoundedNetworkAccessManager network(ReplySizeGuard::kJsonPageBytes);

        std::unique_ptr<ProviderCalendarClient> client;
        if (google) {
            auto *c = new Google::CalendarClient(&network, proxy.url(base.path()));
            c->setAccessToken(m_google.grantTokens().first);
            client.reset(c);
            if (call == Call::ListCalendars)
                c->listCalendars();
            else if (call == Call::ListEvents)
                c->listEvents(kCalendar, {}, {}, {});
        } else {
            auto *c = new Microsoft::CalendarClient(&network, proxy.url(base.path()));
            c->setAccessToken(m_graph.grantAccessToken());
            client.reset(c);
            if (call == Call::ListEvents)
                c->requestEventsPage(kCalendar, {}, {}, {});
        }
        QSignalSpy failed(client.get(), &ProviderCalendarClient::requestFailed);
        QSignalSpy writeFailed(client.get(), &ProviderCalendarClient::eventWriteFailed);
        if (call == Call::InsertEvent)
            client->insertEvent(u"local-1"_s, kCalendar, {{"summary"_L1, u"Here"_s}});
        QVERIFY(QTest::qWaitFor([&] { return failed.size() + writeFailed.size() > 0; }, 20000));
        const SyncResult result = failed.isEmpty() ? writeFailed.first().at(1).value<SyncResult>()
                                                   : failed.first().first().value<SyncResult>();
        QCOMPARE(result.kind, SyncResult::Kind::TooLarge);
        QCOMPARE(result.step, step);
        QCOMPARE(result.provider, google ? SyncResult::Provider::Google : SyncResult::Provider::Microsoft);
        QCOMPARE(result.limit, ReplySizeGuard::kJsonPageBytes);
        QCOMPARE(proxy.faultsServed(), 1);
        QVERIFY2(proxy.streamed() < 2 * ReplySizeGuard::kJsonPageBytes, qPrintable(QString::number(proxy.streamed())));
    }

    // A redirect to another port, host or scheme is another server: the
    // token never goes there, and the request fails rather than succeed
    // with what that server said.
    void redirectElsewhereCarriesNoToken_data()
    {
        QTest::addColumn<bool>("google");
        QTest::addColumn<Call>("call");
        QTest::addColumn<int>("status");
        QTest::newRow("google: calendar list moved for good") << true << Call::ListCalendars << 301;
        QTest::newRow("google: insert sent on with its body") << true << Call::InsertEvent << 307;
        QTest::newRow("microsoft: events page found elsewhere") << false << Call::ListEvents << 302;
        QTest::newRow("microsoft: insert sent on for good") << false << Call::InsertEvent << 308;
        QTest::newRow("a token refresh sent on with its form") << false << Call::RefreshToken << 307;
    }

    void redirectElsewhereCarriesNoToken()
    {
        QFETCH(bool, google);
        QFETCH(Call, call);
        QFETCH(int, status);
        ScriptedHttpServer service;
        ScriptedHttpServer elsewhere;
        QVERIFY(service.start());
        QVERIFY(elsewhere.start());
        service.expect(call == Call::InsertEvent || call == Call::RefreshToken ? "POST" : "GET", "*")
            .reply(status, {}, {{"Location", elsewhere.url(u"/stolen"_s).toEncoded()}});
        const QString token = u"secret-token"_s;
        if (call == Call::RefreshToken) {
            OAuthProvider provider;
            provider.hasCredentials = true;
            provider.tokenEndpoint = service.url(u"/token"_s);
            provider.refreshForm = [](const QString &refresh) {
                return OAuthProvider::Fields{{u"refresh_token"_s, refresh}};
            };
            OAuthSignIn signIn(&m_network, provider);
            QSignalSpy refreshed(&signIn, &OAuthSignIn::refreshSucceeded);
            QSignalSpy refused(&signIn, &OAuthSignIn::refreshFailed);
            signIn.refresh(token);
            QVERIFY(QTest::qWaitFor([&] { return refreshed.size() + refused.size() > 0; }, 10000));
            for (const ScriptedHttpServer::Request &request : elsewhere.requests())
                QVERIFY2(!request.body.contains(token.toUtf8()), request.body.constData());
            QCOMPARE(service.problems(), QStringList());
            return;
        }
        std::unique_ptr<ProviderCalendarClient> client;
        if (google)
            client = std::make_unique<Google::CalendarClient>(&m_network, service.url(u"/"_s));
        else
            client = std::make_unique<Microsoft::CalendarClient>(&m_network, service.url(u"/v1.0"_s));
        client->setAccessToken(token);
        QSignalSpy failed(client.get(), &ProviderCalendarClient::requestFailed);
        QSignalSpy writeFailed(client.get(), &ProviderCalendarClient::eventWriteFailed);
        if (call == Call::InsertEvent)
            client->insertEvent(u"local-1"_s, kCalendar, {{"summary"_L1, u"Here"_s}});
        else if (call == Call::ListCalendars)
            static_cast<Google::CalendarClient *>(client.get())->listCalendars();
        else
            static_cast<Microsoft::CalendarClient *>(client.get())->requestEventsPage(kCalendar, {}, {}, {});
        QVERIFY(QTest::qWaitFor([&] { return failed.size() + writeFailed.size() > 0; }, 10000));
        for (const ScriptedHttpServer::Request &request : elsewhere.requests())
            QVERIFY2(!request.header("Authorization").contains(token.toUtf8()), request.target.constData());
        QCOMPARE(service.problems(), QStringList());
    }

private:
    QNetworkAccessManager m_network;
    FakeGoogle m_google;
    FakeGraph m_graph;
};

QTEST_MAIN(TestProviderBounds)
#include "tst_providerbounds.moc"
