#include "caldavclient.h"
#include "loopbackport.h"
#include "scriptedhttpserver.h"

#include <QNetworkReply>
#include <QTest>

using namespace Qt::StringLiterals;
using Response = CalDavClient::Response;
using Headers = ScriptedHttpServer::Headers;

namespace {

enum class Operation { PropfindWithBody, PropfindEmpty, Report, Proppatch, Mkcalendar, PutCalendar, Delete };

const QByteArray xmlBody = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<d:propfind xmlns:d=\"DAV:\">Café</d:propfind>\n";

// Runs one request to its callback; counts the calls so that a second one shows.
struct Call
{
    std::optional<Response> response;
    int calls = 0;
    CalDavClient::Callback callback()
    {
        return [this](const Response &r) {
            response = r;
            ++calls;
        };
    }
    bool wait() { return QTest::qWaitFor([this] { return calls > 0; }, 10000); }
};

void send(CalDavClient &client, Operation operation, const QUrl &url, const QString &etag, Call &call)
{
    switch (operation) {
    case Operation::PropfindWithBody: client.propfind(url, xmlBody, 1, call.callback()); break;
    case Operation::PropfindEmpty: client.propfind(url, {}, 0, call.callback()); break;
    case Operation::Report: client.report(url, xmlBody, 1, call.callback()); break;
    case Operation::Proppatch: client.proppatch(url, xmlBody, call.callback()); break;
    case Operation::Mkcalendar: client.mkcalendar(url, xmlBody, call.callback()); break;
    case Operation::PutCalendar:
        client.put(url, "BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n", u"text/calendar; charset=utf-8"_s, call.callback(), etag);
        break;
    case Operation::Delete: client.deleteResource(url, call.callback(), etag); break;
    }
}

void sendVerb(CalDavClient &client, const QByteArray &method, const QUrl &url, Call &call)
{
    static const QHash<QByteArray, Operation> byMethod{
        {"PUT", Operation::PutCalendar}, {"DELETE", Operation::Delete}, {"REPORT", Operation::Report},
        {"PROPFIND", Operation::PropfindWithBody}};
    send(client, byMethod.value(method), url, QString(), call);
}

} // namespace

Q_DECLARE_METATYPE(Operation)

class TestCalDavClient : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void requestHeaders_data()
    {
        QTest::addColumn<Operation>("operation");
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<QString>("userName");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("etag");
        QTest::addColumn<Headers>("present");
        QTest::addColumn<QByteArrayList>("absent");

        const QByteArray length = QByteArray::number(xmlBody.size());
        const QByteArray agent = "QuillmartenCalendar/1.3.0 (Qt)";
        const QByteArray xml = "application/xml; charset=utf-8";
        QTest::newRow("PROPFIND with a body: XML type, length in bytes, depth, agent")
            << Operation::PropfindWithBody << QByteArray("PROPFIND") << QString() << QString() << QString()
            << Headers{{"Content-Type", xml}, {"Content-Length", length}, {"Depth", "1"}, {"User-Agent", agent}}
            << QByteArrayList{"Authorization", "If-Match"};
        QTest::newRow("PROPFIND without a body: neither type nor length")
            << Operation::PropfindEmpty << QByteArray("PROPFIND") << QString() << QString() << QString()
            << Headers{{"Depth", "0"}} << QByteArrayList{"Content-Type", "Content-Length"};
        QTest::newRow("REPORT carries its depth") << Operation::Report << QByteArray("REPORT") << QString() << QString()
                                                  << QString() << Headers{{"Depth", "1"}, {"Content-Type", xml}}
                                                  << QByteArrayList();
        QTest::newRow("PROPPATCH has no depth") << Operation::Proppatch << QByteArray("PROPPATCH") << QString()
                                                << QString() << QString() << Headers{{"Content-Type", xml}}
                                                << QByteArrayList{"Depth"};
        QTest::newRow("MKCALENDAR") << Operation::Mkcalendar << QByteArray("MKCALENDAR") << QString() << QString()
                                    << QString() << Headers{{"Content-Type", xml}} << QByteArrayList{"Depth"};
        QTest::newRow("PUT sends its own content type, not the XML one")
            << Operation::PutCalendar << QByteArray("PUT") << QString() << QString() << QString()
            << Headers{{"Content-Type", "text/calendar; charset=utf-8"}} << QByteArrayList{"If-Match"};

        QTest::newRow("Credentials: Basic over UTF-8 user and password")
            << Operation::PropfindEmpty << QByteArray("PROPFIND") << u"jörg"_s << u"pä ss:word"_s << QString()
            << Headers{{"Authorization", "Basic " + "jörg:pä ss:word"_ba.toBase64()}} << QByteArrayList();
        QTest::newRow("Credentials: an empty password still sends the colon")
            << Operation::PropfindEmpty << QByteArray("PROPFIND") << u"alice"_s << QString() << QString()
            << Headers{{"Authorization", "Basic YWxpY2U6"}} << QByteArrayList();
        QTest::newRow("Credentials: no user name, no header, even with a password")
            << Operation::PropfindEmpty << QByteArray("PROPFIND") << QString() << u"secret"_s << QString()
            << Headers() << QByteArrayList{"Authorization"};

        QTest::newRow("If-Match: a stored ETag gets its quotes back")
            << Operation::PutCalendar << QByteArray("PUT") << QString() << QString() << u"abc"_s
            << Headers{{"If-Match", "\"abc\""}} << QByteArrayList();
        QTest::newRow("If-Match: star unchanged") << Operation::Delete << QByteArray("DELETE") << QString()
                                                  << QString() << u"*"_s << Headers{{"If-Match", "*"}}
                                                  << QByteArrayList{"Content-Type", "Content-Length"};
        QTest::newRow("If-Match: already quoted unchanged")
            << Operation::Delete << QByteArray("DELETE") << QString() << QString() << u"\"abc\""_s
            << Headers{{"If-Match", "\"abc\""}} << QByteArrayList();
        QTest::newRow("If-Match: a lone quote is wrapped")
            << Operation::Delete << QByteArray("DELETE") << QString() << QString() << u"\""_s
            << Headers{{"If-Match", "\"\"\""}} << QByteArrayList();
        QTest::newRow("If-Match: none for an empty ETag") << Operation::Delete << QByteArray("DELETE") << QString()
                                                          << QString() << QString() << Headers()
                                                          << QByteArrayList{"If-Match"};
    }

    void requestHeaders()
    {
        QFETCH(Operation, operation);
        QFETCH(QByteArray, method);
        QFETCH(QString, userName);
        QFETCH(QString, password);
        QFETCH(QString, etag);
        QFETCH(Headers, present);
        QFETCH(QByteArrayList, absent);

        ScriptedHttpServer server;
        QVERIFY(server.start());
        server.expect(method, "/cal/x.ics").reply(204);
        CalDavClient client;
        client.setCredentials(userName, password);
        Call call;
        send(client, operation, server.url(u"/cal/x.ics"_s), etag, call);
        QVERIFY(call.wait());
        QCOMPARE(server.problems(), QStringList());
        QCOMPARE(call.response->status, 204);

        const ScriptedHttpServer::Request request = server.requests().value(0);
        for (const auto &[name, value] : present)
            QCOMPARE(request.header(name), value);
        for (const QByteArray &name : absent)
            QVERIFY2(!request.hasHeader(name), name.constData());
        if (operation == Operation::PropfindWithBody)
            QCOMPARE(request.body, xmlBody);
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
        QTest::newRow("207 multistatus to REPORT") << QByteArray("REPORT") << 207 << QByteArray("<d:multistatus/>")
                                                   << true << false << false;
        QTest::newRow("201 to PUT confirms the write") << QByteArray("PUT") << 201 << QByteArray() << true << true
                                                       << false;
        QTest::newRow("204 to DELETE confirms it") << QByteArray("DELETE") << 204 << QByteArray() << true << true
                                                   << false;
        QTest::newRow("207 to PUT reports a failure inside")
            << QByteArray("PUT") << 207 << QByteArray("<d:multistatus/>") << true << false << false;
        QTest::newRow("401: status, no error text") << QByteArray("PROPFIND") << 401 << QByteArray("denied") << false
                                                    << false << false;
        QTest::newRow("403") << QByteArray("REPORT") << 403 << QByteArray() << false << false << false;
        QTest::newRow("404 to DELETE") << QByteArray("DELETE") << 404 << QByteArray() << false << false << false;
        QTest::newRow("412: stale If-Match is a conflict") << QByteArray("PUT") << 412 << QByteArray() << false
                                                           << false << true;
        QTest::newRow("500 with a body") << QByteArray("PUT") << 500 << QByteArray("oops") << false << false << false;
        QTest::newRow("503") << QByteArray("PROPFIND") << 503 << QByteArray() << false << false << false;
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
        server.expect(method, "/r").reply(status, body, {{"X-Trace", "1"}});
        CalDavClient client;
        Call call;
        sendVerb(client, method, server.url(u"/r"_s), call);
        QVERIFY(call.wait());
        QCOMPARE(server.problems(), QStringList());

        const Response &response = *call.response;
        QCOMPARE(response.status, status);
        QCOMPARE(response.error, QString());
        QCOMPARE(response.body, body);
        QCOMPARE(response.header("X-Trace"), QByteArray("1"));
        QCOMPARE(response.isSuccess(), success);
        QCOMPARE(response.isWriteSuccess(), writeSuccess);
        QCOMPARE(response.hasConflict(), conflict);
    }

    // HTTP/2 servers and proxies send every header name in lower case.
    void headerNamesIgnoreCase()
    {
        ScriptedHttpServer server;
        QVERIFY(server.start());
        server.expect("PUT", "/cal/a.ics").reply(201, {}, {{"etag", "\"v2\""}, {"DAV", "1, calendar-access"}});
        CalDavClient client;
        Call call;
        client.put(server.url(u"/cal/a.ics"_s), "x", u"text/calendar; charset=utf-8"_s, call.callback());
        QVERIFY(call.wait());
        QCOMPARE(call.response->etag(), u"v2"_s);
        QCOMPARE(call.response->header("ETAG"), QByteArray("\"v2\""));
        QCOMPARE(call.response->header("dav"), QByteArray("1, calendar-access"));
        QCOMPARE(call.response->header("Location"), QByteArray());
    }

    // Following would turn a PROPFIND or PUT into a GET and carry the
    // Authorization header to whichever host the Location names.
    void redirectsAreNotFollowed_data()
    {
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<int>("status");
        QTest::newRow("301 to a PROPFIND") << QByteArray("PROPFIND") << 301;
        QTest::newRow("302 to a PUT") << QByteArray("PUT") << 302;
        QTest::newRow("307 to a REPORT") << QByteArray("REPORT") << 307;
        QTest::newRow("308 to a DELETE") << QByteArray("DELETE") << 308;
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
        Call call;
        sendVerb(client, method, server.url(u"/cal/"_s), call);
        QVERIFY(call.wait());
        QCOMPARE(call.response->status, status);
        QCOMPARE(call.response->header("Location"), location);
        QVERIFY(!call.response->isSuccess());
        QCOMPARE(server.problems(), QStringList());
        QTest::qWait(50);
        QCOMPARE(other.requests().size(), 0);
    }

    void noAnswerAtAll()
    {
        const int port = LoopbackPort::pickFree();
        CalDavClient client;
        Call call;
        client.propfind(QUrl(u"http://127.0.0.1:%1/cal/"_s.arg(port)), xmlBody, 0, call.callback());
        QVERIFY(call.wait());
        QCOMPARE(call.response->status, 0);
        QVERIFY(!call.response->error.isEmpty());
        QCOMPARE(call.response->body, QByteArray());
        QVERIFY(!call.response->isSuccess());
    }

    // A listing that broke off must never pass for the whole collection.
    void answerCutOffMidBodyIsAnError()
    {
        ScriptedHttpServer server;
        QVERIFY(server.start());
        server.expect("REPORT", "/cal/").reply(207, "<d:multistatus xmlns:d=\"DAV:\"><d:response>...").cutOffAfter(20);
        CalDavClient client;
        Call call;
        client.report(server.url(u"/cal/"_s), xmlBody, 1, call.callback());
        QVERIFY(call.wait());
        QCOMPARE(call.response->status, 207);
        QVERIFY(!call.response->error.isEmpty());
        QVERIFY(!call.response->isSuccess());
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
        Call call;
        client.put(url, "x", u"text/calendar; charset=utf-8"_s, call.callback());
        QCOMPARE(call.calls, 0); // asynchronous like every answer
        QVERIFY(call.wait());
        QCOMPARE(call.response->status, 0);
        QVERIFY(!call.response->error.isEmpty());
    }

    void eachCallbackRunsOnceAndRepliesAreDeleted()
    {
        ScriptedHttpServer server;
        QVERIFY(server.start());
        server.expect("PROPFIND", "/a").reply(207);
        server.expect("PROPFIND", "/b").reply(404);
        CalDavClient client;
        Call first;
        Call second;
        client.propfind(server.url(u"/a"_s), {}, 0, first.callback());
        QVERIFY(first.wait());
        client.propfind(server.url(u"/b"_s), {}, 0, second.callback());
        QVERIFY(second.wait());
        QTRY_COMPARE(client.findChildren<QNetworkReply *>().size(), 0);
        QCOMPARE(first.calls, 1);
        QCOMPARE(second.calls, 1);
        QCOMPARE(first.response->status, 207);
        QCOMPARE(second.response->status, 404);
        QCOMPARE(server.problems(), QStringList());
    }

    void fingerprintForDisplay()
    {
        QCOMPARE(CalDavClient::formatFingerprint(u"AB12CD"_s), u"AB:12:CD"_s);
        QCOMPARE(CalDavClient::formatFingerprint(QString(64, u'F')).count(u':'), 31);
        QCOMPARE(CalDavClient::formatFingerprint(QString()), QString());
    }
};

QTEST_GUILESS_MAIN(TestCalDavClient)
#include "tst_caldavclient.moc"
