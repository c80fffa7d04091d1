#pragma once

#include "scriptedhttpserver.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QNetworkAccessManager>
#include <QTcpServer>
#include <QUrl>

class QTcpSocket;

// An HTTP/1.1 proxy on 127.0.0.1 in front of a real server (Radicale) that
// passes every request through unchanged except those a fault rule names:
// a rule matches a method, a piece of the request target and a piece of the
// request body, and then the proxy
//   - answers 412 itself, as a server whose resource keeps changing;
//   - passes the answer on with only its first `keep` multistatus responses
//     and a 507 response in their place, as a server at its result limit;
//   - answers 207 with a multistatus that never ends, or one announcing a
//     length far past any bound, and streams until the client hangs up;
//   - answers 207 with a body of the test's own (a DTD that expands);
//   - passes the answer on with the test's responses added at its end.
// Rules hold for every request they match, in the order they were added.
class FaultProxy : public QTcpServer
{
    Q_OBJECT
public:
    enum class Fault { PreconditionFailed, CutListing, Endless, AnnouncedHuge, Answer, ExtraResponses };

    explicit FaultProxy(const QUrl &upstream, QObject *parent = nullptr);
    ~FaultProxy() override;

    bool start();
    // "http://127.0.0.1:<port>" followed by `path`.
    QUrl url(const QString &path) const;

    // `payload`: the body of Answer, the responses of ExtraResponses.
    void addRule(const QByteArray &method, const QByteArray &target, const QByteArray &body, Fault fault, int keep = 0,
                 const QByteArray &payload = {});
    // Requests a rule answered or changed.
    int faultsServed() const { return m_faultsServed; }
    // Bytes of never-ending answers written so far.
    qint64 streamed() const { return m_streamed; }

protected:
    void incomingConnection(qintptr socketDescriptor) override;

private:
    struct Rule
    {
        QByteArray method;
        QByteArray target;
        QByteArray body;
        Fault fault;
        int keep;
        QByteArray payload;
    };
    void serve(QTcpSocket *socket);
    void forward(QTcpSocket *socket, const ScriptedHttpServer::Request &request, const Rule *rule);
    void stream(QTcpSocket *socket, const QByteArray &head);
    static QByteArray cutListing(const QByteArray &body, int keep);
    static QByteArray withResponses(const QByteArray &body, const QByteArray &responses);

    QUrl m_upstream;
    QNetworkAccessManager m_network;
    QList<Rule> m_rules;
    QHash<QTcpSocket *, QByteArray> m_buffers;
    QHash<QTcpSocket *, bool> m_busy; // a request of this connection is under way
    int m_faultsServed = 0;
    qint64 m_streamed = 0;
};
