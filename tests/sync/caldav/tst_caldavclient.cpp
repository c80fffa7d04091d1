#include "awaitresponse.h"
#include "caldavclient.h"
#include "loopbackport.h"
#include "scriptedhttpserver.h"

#include <QElapsedTimer>
#include <QNetworkReply>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using Response = CalDavClient::Response;
using Headers = ScriptedHttpServer::Headers;

namespace {

const QByteArray xmlBody =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<d:propfind xmlns:d=\"DAV:\">Café</d:propfind>\n";
const QString calendarType = u"text/calendar; charset=utf-8"_s;

// One request by its method: PROPFIND and REPORT with the XML body ("PROPFIND-"
// without one), PUT with an iCalendar body, DELETE.
Response send(CalDavClient &client, const QByteArray &method, const QUrl &url, const QString &etag = {})
{
    return awaitResponse([&](CalDavClient::Callback done) {
        if (method == "PROPFIND")
            client.propfind(url, xmlBody, 1, done);
        else if (method == "PROPFIND-")
            client.propfind(url, {}, 0, done);
        else if (method == "REPORT")
            client.report(url, xmlBody, 1, done);
        else if (method == "PUT")
            client.put(url, "BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n", calendarType, done, etag);
        else
            client.deleteResource(url, done, etag);
    });
}

} // namespace

class TestCalDavClient : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void requestHeaders_data()
    {
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<QString>("userName");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("etag");
        QTest::addColumn<Headers>("present");
        QTest::addColumn<QByteArrayList>("absent");

        QTest::newRow("PROPFIND without a body: neither type nor length")
            << QByteArray("PROPFIND-") << QString() << QString() << QString() << Headers{{"Depth", "0"}}
            << QByteArrayList{"Content-Type", "Content-Length"};

        QTest::newRow("Credentials: Basic over UTF-8 user and password")
            << QByteArray("PROPFIND-") << u"jörg"_s << u"pä ss:word"_s << QString()
            << Headers{{"Authorization", "Basic " + "jörg:pä ss:word"_ba.toBase64()}} << QByteArrayList();
        QTest::newRow("Credentials: an empty password still sends the colon")
            << QByteArray("PROPFIND-") << u"alice"_s << QString() << QString()
            << Headers{{"Authorization", "Basic YWxpY2U6"}} << QByteArrayList();
        QTest::newRow("Credentials: no user name, no header, even with a password")
            << QByteArray("PROPFIND-") << QString() << u"secret"_s << QString() << Headers()
            << QByteArrayList{"Authorization"};

        QTest::newRow("If-Match: a stored ETag gets its quotes back")
            << QByteArray("PUT") << QString() << QString() << u"abc"_s << Headers{{"If-Match", "\"abc\""}}
            << QByteArrayList();
        QTest::newRow("If-Match: already quoted unchanged")
            << QByteArray("DELETE") << QString() << QString() << u"\"abc\""_s << Headers{{"If-Match", "\"abc\""}}
            << QByteArrayList();
        QTest::newRow("If-Match: a weak ETag exactly as the server gave it")
            << QByteArray("PUT") << QString() << QString() << u"W/\"v1\""_s << Headers{{"If-Match", "W/\"v1\""}}
            << QByteArrayList();
        QTest::newRow("If-Match: none for an empty ETag")
            << QByteArray("DELETE") << QString() << QString() << QString() << Headers() << QByteArrayList{"If-Match"};
    }

    void requestHeaders()
    {
        QFETCH(QByteArray, method);
        QFETCH(QString, userName);
        QFETCH(QString, password);
        QFETCH(QString, etag);
        QFETCH(Headers, present);
        QFETCH(QByteArrayList, absent);

        ScriptedHttpServer server;
        QVERIFY(server.start());
        server.expect(method.chopped(method.endsWith('-') ? 1 : 0), "/cal/x.ics").reply(204);
        CalDavClient client;
        client.setCredentials(userName, password);
        QCOMPARE(send(client, method, server.url(u"/cal/x.ics"_s), etag).status, 204);
        QCOMPARE(server.problems(), QStringList());

        const ScriptedHttpServer::Request request = server.requests().value(0);
        for (const auto &[name, value] : present)
            QCOMPARE(request.header(name), value);
        for (const QByteArray &name : absent)
            QVERIFY2(!request.hasHeader(name), name.constData());
    }

    void statuses_data()
    {
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("success");
        QTest::addColumn<bool>("writeSuccess");
        QTest::addColumn<bool>("conflict");

        QTest::newRow("207 with an empty body is an answer")
            << QByteArray("PROPFIND") << 207 << QByteArray() << true << false << false;
        QTest::newRow("207 to PUT reports a failure inside")
            << QByteArray("PUT") << 207 << QByteArray("<d:multistatus/>") << true << false << false;
        QTest::newRow("401: status, no error text")
            << QByteArray("PROPFIND") << 401 << QByteArray("denied") << false << false << false;
        QTest::newRow("412: stale If-Match is a conflict")
            << QByteArray("PUT") << 412 << QByteArray() << false << false << true;
    }

    void statuses()
    {
        QFETCH(QByteArray, method);
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(bool, success);
        QFETCH(bool, writeSuccess);
        QFETCH(bool, conflict);

        ScriptedHttpServer server;
        QVERIFY(server.start());
        server.expect(method, "/r").reply(status, body);
        CalDavClient client;
        const Response response = send(client, method, server.url(u"/r"_s));
        QCOMPARE(server.problems(), QStringList());
        QCOMPARE(response.status, status);
        QCOMPARE(response.error, QString());
        QCOMPARE(response.body, body);
        QCOMPARE(response.isSuccess(), success);
        QCOMPARE(response.isWriteSuccess(), writeSuccess);
        QCOMPARE(response.hasConflict(), conflict);
    }

    // Following would turn a PROPFIND or PUT into a GET and carry the
    // Authorization header to whichever host the Location names.
    void redirectsAreNotFollowed_data()
    {
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<int>("status");
        QTest::newRow("301 to a PROPFIND") << QByteArray("PROPFIND") << 301;
        QTest::newRow("307 to a PUT") << QByteArray("PUT") << 307;
    }

    void redirectsAreNotFollowed()
    {
        QFETCH(QByteArray, method);
        QFETCH(int, status);
        ScriptedHttpServer other;
        QVERIFY(other.start());
        ScriptedHttpServer server;
        QVERIFY(server.start());
        const QByteArray location = other.url(u"/stolen/"_s).toEncoded();
        server.expect(method, "/cal/").reply(status, {}, {{"Location", location}});

        CalDavClient client;
        client.setCredentials(u"alice"_s, u"secret"_s);
        const Response response = send(client, method, server.url(u"/cal/"_s));
        QCOMPARE(response.status, status);
        QCOMPARE(response.header("Location"), location);
        QVERIFY(!response.isSuccess());
        QCOMPARE(server.problems(), QStringList());
        QTest::qWait(50);
        QCOMPARE(other.requests().size(), 0);
    }

    void noAnswerAtAll()
    {
        CalDavClient client;
        const LoopbackPort::ClosedPort closed;
        const Response response = send(client, "PROPFIND", LoopbackPort::url(u"http"_s, closed.port(), u"/cal/"_s));
        QCOMPARE(response.status, 0);
        QVERIFY(!response.error.isEmpty());
        QCOMPARE(response.body, QByteArray());
        QVERIFY(!response.isSuccess());
    }

    // A server that takes the request and never answers: the request fails
    // instead of holding its sync run under way for good.
    void silentServerTimesOut()
    {
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        CalDavClient client;
        client.setTransferTimeout(300);
        const Response response = send(client, "REPORT", QUrl(u"http://127.0.0.1:%1/cal/"_s.arg(silent.serverPort())));
        QCOMPARE(response.status, 0);
        QCOMPARE(response.error, u"The server did not answer for 1 second(s)."_s);
        QVERIFY(!response.isSuccess());
    }

    // What a write's answer leaves to be stored and sent back in If-Match.
    void etagsAsStored_data()
    {
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<QString>("stored");
        QTest::newRow("strong: without its quotes") << QByteArray("\"v1\"") << u"v1"_s;
        QTest::newRow("weak: as it is") << QByteArray("W/\"v1\"") << u"W/\"v1\""_s;
        QTest::newRow("unquoted: as it is") << QByteArray("v1") << u"v1"_s;
    }

    void etagsAsStored()
    {
        QFETCH(QByteArray, header);
        QFETCH(QString, stored);
        ScriptedHttpServer server;
        QVERIFY(server.start());
        server.expect("PUT", "/r").reply(204, {}, {{"ETag", header}});
        CalDavClient client;
        const Response response = send(client, "PUT", server.url(u"/r"_s));
        QCOMPARE(response.etag(), stored);
    }

    // A server that sends a byte now and then never trips the transfer
    // timeout; the request deadline still ends the request.
    void tricklingServerMeetsTheDeadline()
    {
        QTcpServer trickle;
        QVERIFY(trickle.listen(QHostAddress::LocalHost));
        QList<QTcpSocket *> sockets;
        QTimer drip;
        drip.setInterval(100);
        connect(&drip, &QTimer::timeout, &trickle, [&sockets] {
            for (QTcpSocket *socket : std::as_const(sockets))
                socket->write("x");
        });
        connect(&trickle, &QTcpServer::newConnection, &trickle, [&] {
            QTcpSocket *socket = trickle.nextPendingConnection();
            socket->write("HTTP/1.1 207 Multi-Status\r\nContent-Length: 100000\r\n\r\n");
            sockets.append(socket);
        });
        drip.start();
        CalDavClient client;
        client.setTransferTimeout(1000);
        client.setRequestDeadline(700);
        QElapsedTimer took;
        took.start();
        const Response response = send(client, "REPORT", QUrl(u"http://127.0.0.1:%1/cal/"_s.arg(trickle.serverPort())));
        QCOMPARE(response.error, u"The server did not finish its answer within 1 second(s)."_s);
        QVERIFY(!response.isSuccess());
        QCOMPARE(response.body, QByteArray());
        QVERIFY2(took.elapsed() < 5000, qPrintable(QString::number(took.elapsed())));
    }

    // A listing that broke off must never pass for the whole collection.
    void answerCutOffMidBodyIsAnError()
    {
        ScriptedHttpServer server;
        QVERIFY(server.start());
        server.expect("REPORT", "/cal/").reply(207, "<d:multistatus xmlns:d=\"DAV:\"><d:response>...").cutOffAfter(20);
        CalDavClient client;
        const Response response = send(client, "REPORT", server.url(u"/cal/"_s));
        QCOMPARE(response.status, 207);
        QVERIFY(!response.error.isEmpty());
        QVERIFY(!response.isSuccess());
    }

    // Hrefs come from servers; nothing but HTTP(S) is ever opened.
    void onlyHttpUrlsAreOpened_data()
    {
        QTest::addColumn<QUrl>("url");
        QTest::newRow("local file") << QUrl(u"file:///etc/hostname"_s);
        QTest::newRow("FTP") << QUrl(u"ftp://127.0.0.1/cal/"_s);
        QTest::newRow("relative reference") << QUrl(u"cal/a.ics"_s);
        QTest::newRow("empty") << QUrl();
    }

    void onlyHttpUrlsAreOpened()
    {
        QFETCH(QUrl, url);
        CalDavClient client;
        const Response response = send(client, "PUT", url);
        QCOMPARE(response.status, 0);
        QVERIFY(!response.error.isEmpty());
    }

    // Callbacks come through the event loop, once each, and the replies go.
    void eachCallbackRunsOnceAndRepliesAreDeleted()
    {
        ScriptedHttpServer server;
        QVERIFY(server.start());
        server.expect("PROPFIND", "/a").reply(207);
        CalDavClient client;
        QList<int> statuses;
        client.propfind(server.url(u"/a"_s), {}, 0, [&statuses](const Response &r) { statuses.append(r.status); });
        client.put(QUrl(u"file:///tmp/x"_s), "x", calendarType,
                   [&statuses](const Response &r) { statuses.append(r.status); });
        QCOMPARE(statuses, QList<int>());
        QTRY_COMPARE(statuses.size(), 2);
        QTRY_COMPARE(client.findChildren<QNetworkReply *>().size(), 0);
        QTest::qWait(20);
        QCOMPARE(statuses.size(), 2);
        QVERIFY(statuses.contains(207));
        QCOMPARE(server.problems(), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestCalDavClient)
#include "tst_caldavclient.moc"
