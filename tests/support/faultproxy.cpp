#include "faultproxy.h"

#include "loopbackport.h"

#include <QHostAddress>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QTcpSocket>

using namespace Qt::StringLiterals;

namespace {

// Headers the proxy sets itself, or that describe one side's connection or
// coding: the answer passes on decoded.
bool isHopByHop(const QByteArray &name)
{
    static const QList<QByteArray> names{
        "connection",      "keep-alive", "transfer-encoding", "content-length", "content-encoding",
        "accept-encoding", "host"};
    return names.contains(name.toLower());
}

QByteArray statusLine(int status, const QByteArray &reason)
{
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + (reason.isEmpty() ? QByteArray("Status") : reason) + "\r\n";
}

} // namespace

FaultProxy::FaultProxy(const QUrl &upstream, QObject *parent)
    : QTcpServer(parent)
    , m_upstream(upstream)
{
}

FaultProxy::~FaultProxy()
{
    close();
}

bool FaultProxy::start()
{
    return listen(QHostAddress::LocalHost);
}

QUrl FaultProxy::url(const QString &path) const
{
    return LoopbackPort::url(u"http"_s, serverPort(), path);
}

void FaultProxy::addRule(const QByteArray &method, const QByteArray &target, const QByteArray &body, Fault fault,
                         int keep, const QByteArray &payload)
{
    m_rules.append({method, target, body, fault, keep, payload});
}

void FaultProxy::incomingConnection(qintptr socketDescriptor)
{
    auto *socket = new QTcpSocket(this);
    socket->setSocketDescriptor(socketDescriptor);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
        m_buffers[socket] += socket->readAll();
        serve(socket);
    });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
        m_buffers.remove(socket);
        m_busy.remove(socket);
        socket->deleteLater();
    });
}

void FaultProxy::serve(QTcpSocket *socket)
{
    ScriptedHttpServer::Request request;
    if (m_busy.value(socket) || !ScriptedHttpServer::takeRequest(m_buffers[socket], request))
        return;
    const Rule *rule = nullptr;
    for (const Rule &candidate : std::as_const(m_rules)) {
        if (candidate.method == request.method && request.target.contains(candidate.target)
            && request.body.contains(candidate.body)) {
            rule = &candidate;
            break;
        }
    }
    if (rule)
        ++m_faultsServed;
    const QByteArray streamHead = statusLine(207, "Multi-Status") + "Content-Type: application/xml; charset=utf-8\r\n";
    if (rule && rule->fault == Fault::PreconditionFailed) {
        socket->write(statusLine(412, "Precondition Failed") + "Content-Length: 0\r\n\r\n");
        serve(socket);
    } else if (rule && rule->fault == Fault::Endless) {
        stream(socket, streamHead + "Connection: close\r\n\r\n");
    } else if (rule && rule->fault == Fault::AnnouncedHuge) {
        stream(socket, streamHead + "Content-Length: 1099511627776\r\n\r\n");
    } else if (rule && rule->fault == Fault::Answer) {
        socket->write(streamHead + "Content-Length: " + QByteArray::number(rule->payload.size()) + "\r\n\r\n"
                      + rule->payload);
        serve(socket);
    } else {
        forward(socket, request, rule);
    }
}

void FaultProxy::forward(QTcpSocket *socket, const ScriptedHttpServer::Request &request, const Rule *rule)
{
    // The target as it came, percent-encoding and query included.
    const QUrl target = m_upstream.resolved(QUrl::fromEncoded(request.target));
    QNetworkRequest upstream(target);
    for (const auto &[name, value] : request.headers) {
        if (!isHopByHop(name))
            upstream.setRawHeader(name, value);
    }
    upstream.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    const int keep = rule && rule->fault == Fault::CutListing ? rule->keep : -1;
    const QByteArray extra = rule && rule->fault == Fault::ExtraResponses ? rule->payload : QByteArray();
    m_busy[socket] = true;
    QNetworkReply *reply = m_network.sendCustomRequest(upstream, request.method, request.body);
    connect(reply, &QNetworkReply::finished, this, [this, socket, reply, keep, extra] {
        reply->deleteLater();
        if (!m_busy.contains(socket))
            return; // the client hung up meanwhile
        m_busy[socket] = false;
        QByteArray body = reply->readAll();
        if (keep >= 0)
            body = cutListing(body, keep);
        if (!extra.isEmpty())
            body = withResponses(body, extra);
        QByteArray head = statusLine(reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                                     reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray());
        for (const auto &[name, value] : reply->rawHeaderPairs()) {
            if (!isHopByHop(name))
                head += name + ": " + value + "\r\n";
        }
        socket->write(head + "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        serve(socket);
    });
}

void FaultProxy::stream(QTcpSocket *socket, const QByteArray &head)
{
    m_busy[socket] = true;
    socket->write(head + "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<multistatus xmlns=\"DAV:\">\n");
    const QByteArray filler = QByteArray("<response><href>/endless/</href></response>\n").repeated(4096);
    const auto more = [this, socket, filler] {
        // Enough in flight to keep the client reading, never the whole answer.
        while (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() < 4 * filler.size()) {
            socket->write(filler);
            m_streamed += filler.size();
        }
    };
    connect(socket, &QTcpSocket::bytesWritten, this, more);
    more();
}

// `responses` (written with the prefix "d" for DAV:) added before the
// multistatus closes; the prefix is bound on each of them.
QByteArray FaultProxy::withResponses(const QByteArray &body, const QByteArray &responses)
{
    static const QRegularExpression closing(u"</([A-Za-z0-9_]+:)?multistatus>"_s);
    const QString text = QString::fromUtf8(body);
    const QRegularExpressionMatch end = closing.match(text);
    if (!end.hasMatch())
        return body;
    QString added = QString::fromUtf8(responses);
    added.replace(u"<d:response>"_s, u"<d:response xmlns:d=\"DAV:\">"_s);
    return (text.left(end.capturedStart()) + added + text.mid(end.capturedStart())).toUtf8();
}

// Keeps the first `keep` responses of a multistatus and puts the 507
// response a server at its result limit sends in place of the rest.
QByteArray FaultProxy::cutListing(const QByteArray &body, int keep)
{
    static const QRegularExpression closing(u"</([A-Za-z0-9_]+:)?multistatus>"_s);
    static const QRegularExpression empty(u"<(([A-Za-z0-9_]+:)?multistatus)([^>]*)/>"_s);
    // An empty listing may close itself: opened and closed apart, it takes the mark.
    const QString text = QString::fromUtf8(body).replace(empty, u"<\\1\\3></\\1>"_s);
    const QRegularExpressionMatch end = closing.match(text);
    if (!end.hasMatch())
        return body;
    const QString prefix = end.captured(1);
    const QString close = "</"_L1 + prefix + "response>"_L1;
    // After the `keep`th response; at the end when there are no more.
    qsizetype cut = text.indexOf('<'_L1 + prefix + "response"_L1);
    for (int i = 0; i < keep && cut >= 0; ++i) {
        cut = text.indexOf(close, cut);
        if (cut >= 0)
            cut += close.size();
    }
    if (cut < 0)
        cut = end.capturedStart();
    const QString mark = u"<%1response><%1href>/</%1href><%1status>HTTP/1.1 507 Insufficient Storage</%1status>"
                         "</%1response>"_s.arg(prefix);
    return (text.left(cut) + mark + text.mid(end.capturedStart())).toUtf8();
}
