#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPair>
#include <QSslCertificate>
#include <QSslKey>
#include <QStringList>
#include <QTcpServer>
#include <QUrl>

#include <deque>
#include <functional>

class QSslSocket;

// An HTTP/1.1 peer on 127.0.0.1 that answers from a script, over plain TCP or
// TLS. Each expectation names the method and request target it wants, may
// check headers and body, and carries the canned reply. Requests are answered
// in order; a request that does not match the next expectation is answered
// 500 and noted. After the exchange a test asserts
//     QCOMPARE(server.problems(), QStringList());
// which also lists expectations that were never consumed.
class ScriptedHttpServer : public QTcpServer
{
    Q_OBJECT
public:
    using Headers = QList<QPair<QByteArray, QByteArray>>;

    struct Request
    {
        QByteArray method;
        QByteArray target; // path and query exactly as sent
        Headers headers;
        QByteArray body;

        // Case-insensitive lookup; empty when absent.
        QByteArray header(const QByteArray &name) const;
        bool hasHeader(const QByteArray &name) const;
    };

    class Expectation
    {
    public:
        // The request must carry `name` with exactly `value`.
        Expectation &header(const QByteArray &name, const QByteArray &value);
        Expectation &noHeader(const QByteArray &name);
        Expectation &bodyContains(const QByteArray &text);
        // Any other check: returns a problem text, empty when fine.
        Expectation &check(std::function<QString(const Request &)> check);

        Expectation &reply(int status, const QByteArray &body = {}, const Headers &headers = {});
        // Announces the whole body's length but closes the connection after
        // `bytes` of it, as a server that dies mid-answer does.
        Expectation &cutOffAfter(int bytes);
        // Sends no Content-Length and ends the body by closing the
        // connection: the client cannot tell a body cut short from a whole one.
        Expectation &endByClosing();
        // Takes the request and never answers it, as a server that hangs.
        Expectation &silent();

    private:
        friend class ScriptedHttpServer;
        bool targets(const QByteArray &target) const;
        QByteArray m_method;
        QByteArray m_target;
        std::vector<std::function<QString(const Request &)>> m_checks;
        int m_status = 200;
        Headers m_replyHeaders;
        QByteArray m_replyBody;
        int m_cutOffAfter = -1;
        bool m_endByClosing = false;
        bool m_silent = false;
    };

    explicit ScriptedHttpServer(QObject *parent = nullptr);
    ~ScriptedHttpServer() override;

    // Listens on 127.0.0.1 on a free port.
    bool start();
    // The same over TLS with this certificate.
    bool startTls(const QSslCertificate &certificate, const QSslKey &key);
    // Serves new connections with another certificate and drops open ones,
    // so the next request makes a fresh handshake.
    void setCertificate(const QSslCertificate &certificate, const QSslKey &key);

    // "http(s)://127.0.0.1:<port>" followed by `path`.
    QUrl url(const QString &path = QStringLiteral("/")) const;

    // Queues the next expected request; the reference stays valid until the
    // request arrives. A target ending in "*" takes any target it begins
    // (for resources whose names the client makes up).
    Expectation &expect(const QByteArray &method, const QByteArray &target);
    // For clients that send concurrent requests, whose arrival order is not
    // fixed: each request takes the first queued expectation with its method
    // and target instead of the next one.
    void setAnyOrder(bool anyOrder) { m_anyOrder = anyOrder; }

    QList<Request> requests() const { return m_requests; }
    // Takes one complete request (head and Content-Length body) off the
    // bytes a connection has sent; false while it is incomplete.
    static bool takeRequest(QByteArray &buffer, Request &request);
    // Mismatches, failed checks and expectations never consumed.
    QStringList problems() const;

protected:
    void incomingConnection(qintptr socketDescriptor) override;

private:
    void onReadyRead(QSslSocket *socket);
    void answer(QSslSocket *socket, const Request &request);

    bool m_tls = false;
    bool m_anyOrder = false;
    QSslCertificate m_certificate;
    QSslKey m_key;
    std::deque<Expectation> m_expectations;
    QList<Request> m_requests;
    QStringList m_problems;
    QList<QSslSocket *> m_sockets;
    QHash<QSslSocket *, QByteArray> m_buffers; // bytes of requests not yet complete
};
