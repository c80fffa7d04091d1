#include "manifestserver.h"
#include "update/client.h"
#include "version.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>

using namespace Qt::StringLiterals;
using TolmUpdate::Artifact;
using TolmUpdate::Client;
using TolmUpdate::Config;

namespace {

const QString Platform = Client::platformKey();

QJsonObject fullEntry(const QString &version)
{
    return QJsonObject{
        {u"version"_s, version},
        {u"releaseDate"_s, u"2025-03-18"_s},
        {u"url"_s, u"https://downloads.example.org/calendar-%1.AppImage"_s.arg(version)},
        {u"size"_s, 48213504},
        {u"sha256"_s, u"9F2C4E0D4C7B1A0E5D3F6B8A9C0D1E2F3A4B5C6D7E8F9A0B1C2D3E4F5A6B7C8D"_s},
        {u"mandatory"_s, true},
        {u"minimumVersion"_s, u"1.0.0"_s},
        {u"releaseNotesUrl"_s, u"https://example.org/notes/%1"_s.arg(version)},
    };
}

QJsonObject manifest(const QJsonObject &entry, const QString &platform = Platform)
{
    return QJsonObject{{u"product"_s, u"calendar"_s},
                       {u"channel"_s, u"stable"_s},
                       {u"platforms"_s, QJsonObject{{platform, entry}}}};
}

QByteArray json(const QJsonObject &o)
{
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

QJsonObject with(QJsonObject o, const QString &key, const QJsonValue &value)
{
    if (value.isUndefined())
        o.remove(key);
    else
        o.insert(key, value);
    return o;
}

Config config(const QUrl &base, const QString &currentVersion = u"1.3.0"_s)
{
    Config c;
    c.product = u"calendar"_s;
    c.manifestBaseUrl = base;
    c.currentVersion = currentVersion;
    return c;
}

struct Outcome
{
    QString kind; // "update", "up to date", "failed", or "none"
    Artifact artifact;
    QString message;
    int signals = 0;
};

// Runs one check and waits for its end, then a little longer to catch a
// second, stray signal.
Outcome run(Client &client, bool startCheck = true)
{
    QSignalSpy available(&client, &Client::updateAvailable);
    QSignalSpy upToDate(&client, &Client::upToDate);
    QSignalSpy failed(&client, &Client::checkFailed);
    if (startCheck)
        client.checkForUpdates();
    const auto count = [&] { return available.count() + upToDate.count() + failed.count(); };
    [&] { QTRY_VERIFY_WITH_TIMEOUT(count() > 0, 10000); }();
    QTest::qWait(30);

    Outcome o;
    o.signals = count();
    if (!available.isEmpty()) {
        o.kind = u"update"_s;
        o.artifact = available.first().first().value<Artifact>();
    } else if (!upToDate.isEmpty()) {
        o.kind = u"up to date"_s;
    } else if (!failed.isEmpty()) {
        o.kind = u"failed"_s;
        o.message = failed.first().first().toString();
    } else {
        o.kind = u"none"_s;
    }
    return o;
}

} // namespace

class TestUpdateClient : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void compareVersions_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("expected");

        QTest::newRow("numbers, not text: 1.10.0 newer than 1.9.3") << u"1.10.0"_s << u"1.9.3"_s << u"newer"_s;
        QTest::newRow("missing trailing parts count as zero") << u"1.3"_s << u"1.3.0"_s << u"same"_s;
        QTest::newRow("leading zeros are numbers") << u"01.02"_s << u"1.2"_s << u"same"_s;
        QTest::newRow("extra non-zero part is newer") << u"1.3.0"_s << u"1.3.0.1"_s << u"older"_s;
        QTest::newRow("beyond 32 bits") << u"1.9999999999"_s << u"1.2"_s << u"newer"_s;

        QTest::newRow("Malformed: suffix") << u"1.2.3-beta"_s << u"1.2.3"_s << u"invalid"_s;
        QTest::newRow("Malformed: empty") << QString() << u"1.0"_s << u"invalid"_s;
        QTest::newRow("Malformed: empty part") << u"1..2"_s << u"1.2"_s << u"invalid"_s;
        QTest::newRow("Malformed: v prefix") << u"v1.2"_s << u"1.2"_s << u"invalid"_s;
        QTest::newRow("Malformed: blank") << u" 1.2"_s << u"1.2"_s << u"invalid"_s;
    }

    void compareVersions()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(QString, expected);

        const auto toText = [](std::optional<int> r) {
            if (!r)
                return u"invalid"_s;
            return *r > 0 ? u"newer"_s : *r < 0 ? u"older"_s : u"same"_s;
        };
        QCOMPARE(toText(TolmUpdate::compareVersions(a, b)), expected);
        const QString mirrored = expected == "newer"_L1 ? u"older"_s : expected == "older"_L1 ? u"newer"_s : expected;
        QCOMPARE(toText(TolmUpdate::compareVersions(b, a)), mirrored);
    }

    void newerReleaseCarriesEveryField()
    {
        ManifestServer server;
        QVERIFY(server.start());
        server.respond(200, json(manifest(fullEntry(u"1.4.0"_s))));
        Client client(config(server.baseUrl()));

        const Outcome o = run(client);
        QCOMPARE(o.kind, u"update"_s);
        QCOMPARE(o.signals, 1);
        Artifact expected;
        expected.version = u"1.4.0"_s;
        expected.releaseDate = QDate(2025, 3, 18);
        expected.url = QUrl(u"https://downloads.example.org/calendar-1.4.0.AppImage"_s);
        expected.size = 48213504;
        expected.sha256 = u"9f2c4e0d4c7b1a0e5d3f6b8a9c0d1e2f3a4b5c6d7e8f9a0b1c2d3e4f5a6b7c8d"_s;
        expected.mandatory = true;
        expected.minimumVersion = u"1.0.0"_s;
        expected.releaseNotesUrl = QUrl(u"https://example.org/notes/1.4.0"_s);
        QCOMPARE(o.artifact, expected);
        QCOMPARE(server.requestedPaths(), QStringList{u"/calendar/stable/latest.json"_s});
    }

    void outcome_data()
    {
        QTest::addColumn<QString>("currentVersion");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("messagePart");

        const QJsonObject minimal{{u"version"_s, u"1.4.0"_s}, {u"url"_s, u"https://example.org/c.msi"_s}};
        const auto entry = [&](const QString &key, const QJsonValue &value) {
            return json(manifest(with(minimal, key, value)));
        };

        QTest::newRow("Versions: newer by a two-digit part -> update")
            << u"1.9.3"_s << 200 << entry(u"version"_s, u"1.10.0"_s) << u"update"_s << QString();
        QTest::newRow("Versions: same -> up to date")
            << u"1.4.0"_s << 200 << json(manifest(minimal)) << u"up to date"_s << QString();
        QTest::newRow("Versions: older -> up to date")
            << u"1.5.0"_s << 200 << json(manifest(minimal)) << u"up to date"_s << QString();
        QTest::newRow("Platforms: only another platform listed -> up to date")
            << u"1.3.0"_s << 200 << json(manifest(minimal, u"plan9-mips"_s)) << u"up to date"_s << QString();

        QTest::newRow("HTTP: 404 -> failed") << u"1.3.0"_s << 404 << QByteArray("{}") << u"failed"_s << u"404"_s;
        QTest::newRow("Payload: bad JSON -> failed")
            << u"1.3.0"_s << 200 << QByteArray("{\"product\": \"calendar\",") << u"failed"_s << u"not valid JSON"_s;
        QTest::newRow("Payload: other product -> failed")
            << u"1.3.0"_s << 200 << json(with(manifest(minimal), u"product"_s, u"mail"_s)) << u"failed"_s
            << u"product"_s;
        QTest::newRow("Payload: no platforms -> failed")
            << u"1.3.0"_s << 200 << json(with(manifest(minimal), u"platforms"_s, QJsonValue::Undefined)) << u"failed"_s
            << u"platforms"_s;
        QTest::newRow("Payload: entry not an object -> failed")
            << u"1.3.0"_s << 200 << json(with(manifest(minimal), u"platforms"_s, QJsonObject{{Platform, u"1.4.0"_s}}))
            << u"failed"_s << u"not an object"_s;

        QTest::newRow("Entry: version with suffix -> failed")
            << u"1.3.0"_s << 200 << entry(u"version"_s, u"1.4.0-rc1"_s) << u"failed"_s << u"version"_s;
        QTest::newRow("Entry: no url -> failed")
            << u"1.3.0"_s << 200 << entry(u"url"_s, QJsonValue::Undefined) << u"failed"_s << u"url"_s;
        QTest::newRow("Entry: file url -> failed")
            << u"1.3.0"_s << 200 << entry(u"url"_s, u"file:///usr/bin/rm"_s) << u"failed"_s << u"url"_s;
        QTest::newRow("Entry: script release notes -> failed")
            << u"1.3.0"_s << 200 << entry(u"releaseNotesUrl"_s, u"javascript:alert(1)"_s) << u"failed"_s
            << u"releaseNotesUrl"_s;
        QTest::newRow("Entry: negative size -> failed")
            << u"1.3.0"_s << 200 << entry(u"size"_s, -1) << u"failed"_s << u"size"_s;
        QTest::newRow("Entry: short sha256 -> failed")
            << u"1.3.0"_s << 200 << entry(u"sha256"_s, u"abc123"_s) << u"failed"_s << u"sha256"_s;
        QTest::newRow("Entry: minimum version malformed -> failed")
            << u"1.3.0"_s << 200 << entry(u"minimumVersion"_s, u"any"_s) << u"failed"_s << u"minimumVersion"_s;
        QTest::newRow("Config: running version malformed -> failed")
            << u"dev"_s << 200 << json(manifest(minimal)) << u"failed"_s << u"current version"_s;
    }

    void outcome()
    {
        QFETCH(QString, currentVersion);
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(QString, expected);
        QFETCH(QString, messagePart);

        ManifestServer server;
        QVERIFY(server.start());
        server.respond(status, body);
        Client client(config(server.baseUrl(), currentVersion));

        const Outcome o = run(client);
        QCOMPARE(o.kind, expected);
        QCOMPARE(o.signals, 1);
        QVERIFY2(o.message.contains(messagePart), qPrintable(o.message));
        // The log line and the message name the problem, never carry the payload.
        if (!body.isEmpty() && body.size() > 4)
            QVERIFY(!o.message.contains(QString::fromUtf8(body)));
    }

    void baseUrlWithoutSlashIsAFolder()
    {
        ManifestServer server;
        QVERIFY(server.start());
        server.respond(200, json(manifest(fullEntry(u"1.3.0"_s))));
        Client client(config(server.baseUrl(u"/calendar/stable"_s)));

        QCOMPARE(run(client).kind, u"up to date"_s);
        QCOMPARE(server.requestedPaths(), QStringList{u"/calendar/stable/latest.json"_s});
    }

    void unusableBaseUrlFailsFromTheEventLoop()
    {
        Client client(config(QUrl(u"file:///etc/"_s)));
        QSignalSpy failed(&client, &Client::checkFailed);
        client.checkForUpdates();
        QCOMPARE(failed.count(), 0); // callers may connect right after the call
        const Outcome o = run(client, false);
        QCOMPARE(o.kind, u"failed"_s);
    }

    void silentServerTimesOut()
    {
        ManifestServer server;
        QVERIFY(server.start());
        server.setSilent(true);
        Client client(config(server.baseUrl()));
        client.setTransferTimeout(300);

        const Outcome o = run(client);
        QCOMPARE(o.kind, u"failed"_s);
        QCOMPARE(o.signals, 1);
    }

    void oversizedResponseFails()
    {
        ManifestServer server;
        QVERIFY(server.start());
        server.respond(200, QByteArray(2 * 1024 * 1024, ' ') + json(manifest(fullEntry(u"9.0"_s))));
        Client client(config(server.baseUrl()));

        const Outcome o = run(client);
        QCOMPARE(o.kind, u"failed"_s);
        QVERIFY2(o.message.contains(u"larger than"_s), qPrintable(o.message));
    }

    void secondCallDuringACheckJoinsIt()
    {
        ManifestServer server;
        QVERIFY(server.start());
        server.respond(200, json(manifest(fullEntry(u"1.4.0"_s))));
        Client client(config(server.baseUrl()));

        client.checkForUpdates();
        QVERIFY(client.isChecking());
        const Outcome o = run(client); // calls checkForUpdates again
        QCOMPARE(o.kind, u"update"_s);
        QCOMPARE(o.signals, 1);
        QCOMPARE(server.requestedPaths().size(), 1);
        QVERIFY(!client.isChecking());

        // Once finished, a new call asks again.
        QCOMPARE(run(client).kind, u"update"_s);
        QCOMPARE(server.requestedPaths().size(), 2);
    }

    void clientDeletedMidCheckWithBorrowedManager()
    {
        ManifestServer server;
        QVERIFY(server.start());
        server.setSilent(true);
        QNetworkAccessManager network;
        auto *client = new Client(config(server.baseUrl()), &network);
        client->checkForUpdates();
        QTRY_VERIFY(!server.findChildren<QTcpSocket *>().isEmpty());
        delete client;
        QTest::qWait(50); // a reply finishing into the dead client would crash here
    }
};

QTEST_GUILESS_MAIN(TestUpdateClient)
#include "tst_updateclient.moc"
