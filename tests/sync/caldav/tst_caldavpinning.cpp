#include "awaitresponse.h"
#include "caldavclient.h"
#include "scriptedhttpserver.h"
#include "testcertificate.h"

#include <QSignalSpy>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using Response = CalDavClient::Response;

namespace {

Response propfind(CalDavClient &client, const QUrl &url, const QByteArray &body = {})
{
    return awaitResponse([&](CalDavClient::Callback done) { client.propfind(url, body, 0, done); });
}

} // namespace

// Self-signed certificates against a TLS server on loopback: the server's
// certificate never verifies, so only a pin lets a request through.
class TestCalDavPinning : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        if (!QSslSocket::supportsSsl())
            QSKIP("Qt has no TLS backend here");
        QVERIFY(m_dir.isValid());
        m_first.emplace(m_dir.path(), u"first"_s, u"CalDAV Test First"_s);
        m_second.emplace(m_dir.path(), u"second"_s, u"CalDAV Test Second"_s);
        QVERIFY2(m_first->isValid(), qPrintable(m_first->errorString()));
        QVERIFY2(m_second->isValid(), qPrintable(m_second->errorString()));
    }

    // Refused and reported once, with what the user needs to judge it; the
    // connection dialog pins what the user saw, in its display form, and the
    // same request goes through.
    void untrustedCertificateIsReportedThenPinned()
    {
        ScriptedHttpServer server;
        QVERIFY(server.startTls(m_first->certificate(), m_first->key()));
        server.expect("PROPFIND", "/cal/").reply(207, "<d:multistatus xmlns:d=\"DAV:\"/>");
        CalDavClient client;
        QSignalSpy spy(&client, &CalDavClient::untrustedCertEncountered);

        Response response = propfind(client, server.url(u"/cal/"_s));
        QCOMPARE(response.status, 0);
        QVERIFY(!response.error.isEmpty());
        QCOMPARE(spy.size(), 1);
        QCOMPARE(server.requests().size(), 0);
        const auto info = spy.first().first().value<UntrustedCertInfo>();
        QCOMPARE(info.host, u"127.0.0.1"_s);
        QCOMPARE(info.port, int(server.serverPort()));
        QCOMPARE(info.sha256, m_first->sha256());
        QVERIFY2(info.errors.contains(QSslError(QSslError::SelfSignedCertificate).errorString()),
                 qPrintable(info.errors.join(u"; "_s)));
        QCOMPARE(client.pendingUntrustedCert(), info);

        client.setTrustedCertificateSha256(CalDavClient::formatFingerprint(info.sha256).toLower());
        QVERIFY(!client.hasPendingUntrustedCert());
        response = propfind(client, server.url(u"/cal/"_s));
        QCOMPARE(response.error, QString());
        QCOMPARE(response.status, 207);
        QCOMPARE(spy.size(), 1);
        QCOMPARE(server.problems(), QStringList());
    }

    void anotherCertificateIsReportedAgain()
    {
        ScriptedHttpServer server;
        QVERIFY(server.startTls(m_first->certificate(), m_first->key()));
        server.expect("PROPFIND", "/cal/").reply(207);
        CalDavClient client;
        client.setTrustedCertificateSha256(m_first->sha256());
        QSignalSpy spy(&client, &CalDavClient::untrustedCertEncountered);
        QCOMPARE(propfind(client, server.url(u"/cal/"_s)).status, 207);

        server.setCertificate(m_second->certificate(), m_second->key());
        const Response response = propfind(client, server.url(u"/cal/"_s));
        QCOMPARE(response.status, 0);
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.first().first().value<UntrustedCertInfo>().sha256, m_second->sha256());
        QCOMPARE(client.pendingUntrustedCert().sha256, m_second->sha256());
        QCOMPARE(server.problems(), QStringList());
    }

    // Qt keeps a connection's accepted errors for every later request on it;
    // without a fresh connection an unpinned certificate would still pass.
    void unpinningHoldsForAnOpenConnection()
    {
        ScriptedHttpServer server;
        QVERIFY(server.startTls(m_first->certificate(), m_first->key()));
        server.expect("PROPFIND", "/cal/").reply(207);
        CalDavClient client;
        client.setTrustedCertificateSha256(m_first->sha256());
        QCOMPARE(propfind(client, server.url(u"/cal/"_s)).status, 207);

        QSignalSpy spy(&client, &CalDavClient::untrustedCertEncountered);
        client.setTrustedCertificateSha256(QString());
        const Response response = propfind(client, server.url(u"/cal/"_s));
        QCOMPARE(response.status, 0);
        QCOMPARE(spy.size(), 1);
        QCOMPARE(server.problems(), QStringList());
    }

    // Runs last: it makes the first certificate a trusted authority.
    void verifiedCertificatePassesWhateverThePin()
    {
        QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
        const QSslConfiguration original = configuration;
        configuration.addCaCertificate(m_first->certificate());
        QSslConfiguration::setDefaultConfiguration(configuration);
        const auto restore = qScopeGuard([&original] { QSslConfiguration::setDefaultConfiguration(original); });

        ScriptedHttpServer server;
        QVERIFY(server.startTls(m_first->certificate(), m_first->key()));
        server.expect("PROPFIND", "/cal/").reply(207);
        CalDavClient client;
        client.setTrustedCertificateSha256(m_second->sha256());
        QSignalSpy spy(&client, &CalDavClient::untrustedCertEncountered);
        QCOMPARE(propfind(client, server.url(u"/cal/"_s)).status, 207);
        QCOMPARE(spy.size(), 0);
        QCOMPARE(server.problems(), QStringList());
    }

private:
    QTemporaryDir m_dir;
    std::optional<TestCertificate> m_first;
    std::optional<TestCertificate> m_second;
};

QTEST_GUILESS_MAIN(TestCalDavPinning)
#include "tst_caldavpinning.moc"
