#include "boundednetworkaccessmanager.h"
#include "fakegoogle.h"
#include "fakegraph.h"
#include "faultproxy.h"
#include "googlecalendarclient.h"
#include "microsoftcalendarclient.h"
#include "replysizeguard.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Fault = FaultProxy::Fault;
using Step = SyncResult::Step;

const QString kCalendar = u"team"_s;

enum class Call { ListCalendars, ListEvents, InsertEvent };

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

private:
    FakeGoogle m_google;
    FakeGraph m_graph;
};

QTEST_MAIN(TestProviderBounds)
#include "tst_providerbounds.moc"
