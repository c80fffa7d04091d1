#include "awaitresponse.h"
#include "caldavhref.h"
#include "caldavparse.h"
#include "caldavxml.h"
#include "nginxproxy.h"
#include "radicaleserver.h"
#include "syncharness.h"
#include "testcertificate.h"
#include "xandikosserver.h"

#include <QFile>
#include <QSslSocket>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kUser = u"alice"_s;
const QString kPassword = u"tls pass"_s;

QByteArray eventText(const QString &uid, const QString &summary)
{
    return u"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Peer//EN\r\nBEGIN:VEVENT\r\nUID:%1\r\n"
           "DTSTAMP:20260301T090000Z\r\nDTSTART:20260305T090000Z\r\nDTEND:20260305T100000Z\r\nSUMMARY:%2\r\n"
           "END:VEVENT\r\nEND:VCALENDAR\r\n"_s.arg(uid, summary)
               .toUtf8();
}

} // namespace

// Sync runs over TLS: certificate pinning against Radicale's own TLS and a
// proxy with another certificate, and HTTP/2 through nginx in front of
// Xandikos (where every header name arrives in lower case).
class TestCalDavSyncTls : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        if (!QSslSocket::supportsSsl())
            QSKIP("Qt has no TLS backend here");
        if (!RadicaleServer::isAvailable() || !QFile::exists(u"/usr/sbin/nginx"_s))
            QSKIP("Debian's python3-radicale or nginx-light is not installed");
        QVERIFY(m_dir.isValid());
        m_serverCert = std::make_unique<TestCertificate>(m_dir.path(), u"radicale"_s);
        m_proxyCert = std::make_unique<TestCertificate>(m_dir.path(), u"proxy"_s);
        QVERIFY2(m_serverCert->isValid() && m_proxyCert->isValid(), qPrintable(m_serverCert->errorString()));
        m_radicale = std::make_unique<RadicaleServer>(
            RadicaleServer::Options{kUser, kPassword, m_serverCert->certificatePath(), m_serverCert->keyPath()});
        QVERIFY2(m_radicale->start(), qPrintable(m_radicale->errorString()));
        QVERIFY2(m_radicaleProxy.start(m_radicale->baseUrl(), m_proxyCert->certificatePath(), m_proxyCert->keyPath()),
                 qPrintable(m_radicaleProxy.errorString()));
        QVERIFY2(m_xandikos.start(), qPrintable(m_xandikos.errorString()));
        QVERIFY2(m_xandikosProxy.start(m_xandikos.url(), m_proxyCert->certificatePath(), m_proxyCert->keyPath()),
                 qPrintable(m_xandikosProxy.errorString()));

        CalDavClient client;
        client.setCredentials(kUser, kPassword);
        client.setTrustedCertificateSha256(m_serverCert->sha256());
        const QUrl calendar = m_radicale->url(u"/alice/secure/"_s);
        QVERIFY(makeCalendar(client, calendar, u"Secure"_s));
        QVERIFY(putObject(client, calendar, u"secret"_s, eventText(u"secret"_s, u"Secret"_s)));
        QVERIFY(m_fixture.start());
        m_state = m_fixture.state();
    }

    // One prompt per unknown certificate; the pinned one is accepted, and
    // only that one.
    void pinnedCertificate()
    {
        const QString id = addCalDavCalendar(m_state, m_radicale->url(u"/alice/secure/"_s), kUser).id;
        SyncOutcome outcome = syncOnce(m_state, id, kUser, kPassword);
        QCOMPARE(outcome.result.kind, SyncResult::Kind::UntrustedCertificate);
        QCOMPARE(outcome.result.step, SyncResult::Step::Markers);
        QVERIFY(!outcome.result.networkErrorText.isEmpty());
        QCOMPARE(outcome.untrusted, 1);
        QCOMPARE(outcome.untrustedSha256, m_serverCert->sha256());
        QCOMPARE(m_state->events()->getByCalendar(id).size(), 0);

        outcome = syncOnce(m_state, id, kUser, kPassword, CalDavClient::formatFingerprint(m_serverCert->sha256()));
        QCOMPARE(outcome.failure, QString());
        QCOMPARE(outcome.untrusted, 0);
        QCOMPARE(m_state->events()->getByCalendar(id).size(), 1);

        // The same collection behind a proxy with another certificate.
        Calendar behindProxy = *m_state->calendars()->getById(id);
        behindProxy.url = m_radicaleProxy.url(u"/alice/secure/"_s).toString();
        QVERIFY(m_state->calendars()->update(behindProxy));
        outcome = syncOnce(m_state, id, kUser, kPassword, m_serverCert->sha256());
        QCOMPARE(outcome.result.kind, SyncResult::Kind::UntrustedCertificate);
        QCOMPARE(outcome.result.step, SyncResult::Step::Markers);
        QVERIFY(!outcome.result.networkErrorText.isEmpty());
        QCOMPARE(outcome.untrusted, 1);
        QCOMPARE(outcome.untrustedSha256, m_proxyCert->sha256());
        QCOMPARE(syncOnce(m_state, id, kUser, kPassword, m_proxyCert->sha256()).failure, QString());
    }

    // Pull and push over HTTP/2: the ETag of a write arrives as "etag".
    void http2ThroughNginx()
    {
        const QUrl collection = m_xandikosProxy.url(m_xandikos.calendarUrl().path());
        CalDavClient client;
        client.setTrustedCertificateSha256(m_proxyCert->sha256());
        QVERIFY(putObject(client, collection, u"over-h2"_s, eventText(u"over-h2"_s, u"Over h2"_s)));
        const QString id = addCalDavCalendar(m_state, collection, {}).id;
        const QString pin = m_proxyCert->sha256();
        QCOMPARE(syncOnce(m_state, id, {}, {}, pin).failure, QString());
        Event event = *m_state->events()->getByUid(u"over-h2"_s, id);
        const QString pulledEtag = event.etag;
        QVERIFY(!pulledEtag.isEmpty());

        event = *m_state->events()->getById(event.id);
        event.title = u"Edited over h2"_s;
        event.sync_status = u"pending"_s;
        QVERIFY(m_state->events()->update(event));
        QCOMPARE(syncOnce(m_state, id, {}, {}, pin).failure, QString());
        const Event pushed = *m_state->events()->getById(event.id);
        QCOMPARE(pushed.sync_status, u"synced"_s);
        QVERIFY(!pushed.etag.isEmpty());
        QVERIFY(pushed.etag != pulledEtag);

        // The ETag taken from the write is the server's: nothing to fetch.
        const auto listing = awaitResponse(
            [&](auto done) { client.report(collection, CalDavXml::etagQueryBody(u"VEVENT"_s), 1, done); });
        const QList<CalDavParse::Resource> resources = CalDavParse::parseResources(listing.body, collection);
        QCOMPARE(resources.size(), 1);
        QCOMPARE(resources.first().etag, pushed.etag);
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TestCertificate> m_serverCert;
    std::unique_ptr<TestCertificate> m_proxyCert;
    std::unique_ptr<RadicaleServer> m_radicale;
    NginxProxy m_radicaleProxy;
    XandikosServer m_xandikos;
    NginxProxy m_xandikosProxy;
    AppStateFixture m_fixture;
    AppState *m_state = nullptr;
};

QTEST_GUILESS_MAIN(TestCalDavSyncTls)
#include "tst_caldavsynctls.moc"
