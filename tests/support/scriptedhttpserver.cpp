#include "scriptedhttpserver.h"

#include "loopbackport.h"

#include <QHostAddress>
#include <QSslSocket>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 201: return "Created";
    case 204: return "No Content";
    case 207: return "Multi-Status";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 307: return "Temporary Redirect";
    case 308: return "Permanent Redirect";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 409: return "Conflict";
    case 412: return "Precondition Failed";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Status";
    }
}

QByteArray headerIn(const ScriptedHttpServer::Headers &headers, const QByteArray &name, bool *found = nullptr)
{
    for (const auto &[key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0) {
            if (found)
                *found = true;
            return value;
        }
    }
    if (found)
        *found = false;
    return {};
}

QString describe(const ScriptedHttpServer::Request &request)
{
    return QString::fromLatin1(request.method + ' ' + request.target);
}

} // namespace

QByteArray ScriptedHttpServer::Request::header(const QByteArray &name) const
{
    return headerIn(headers, name);
}

bool ScriptedHttpServer::Request::hasHeader(const QByteArray &name) const
{
    bool found = false;
    headerIn(headers, name, &found);
    return found;
}

ScriptedHttpServer::Expectation &ScriptedHttpServer::Expectation::header(const QByteArray &name,
                                                                         const QByteArray &value)
{
    return check([name, value](const Request &request) {
        if (!request.hasHeader(name))
            return u"header %1 missing"_s.arg(QString::fromLatin1(name));
        const QByteArray actual = request.header(name);
        if (actual != value)
            return u"header %1 is \"%2\", expected \"%3\""_s.arg(QString::fromLatin1(name), QString::fromUtf8(actual),
                                                                 QString::fromUtf8(value));
        return QString();
    });
}

ScriptedHttpServer::Expectation &ScriptedHttpServer::Expectation::noHeader(const QByteArray &name)
{
    return check([name](const Request &request) {
        return request.hasHeader(name) ? u"unexpected header %1"_s.arg(QString::fromLatin1(name)) : QString();
    });
}

ScriptedHttpServer::Expectation &ScriptedHttpServer::Expectation::bodyContains(const QByteArray &text)
{
    return check([text](const Request &request) {
        return request.body.contains(text) ? QString() : u"body lacks \"%1\""_s.arg(QString::fromUtf8(text));
    });
}

ScriptedHttpServer::Expectation &ScriptedHttpServer::Expectation::check(std::function<QString(const Request &)> check)
{
    m_checks.push_back(std::move(check));
    return *this;
}

ScriptedHttpServer::Expectation &ScriptedHttpServer::Expectation::reply(int status, const QByteArray &body,
                                                                        const Headers &headers)
{
    m_status = status;
    m_replyBody = body;
    m_replyHeaders = headers;
    return *this;
}

ScriptedHttpServer::Expectation &ScriptedHttpServer::Expectation::endByClosing()
{
    m_endByClosing = true;
    return *this;
}

ScriptedHttpServer::Expectation &ScriptedHttpServer::Expectation::cutOffAfter(int bytes)
{
    m_cutOffAfter = bytes;
    return *this;
}

ScriptedHttpServer::Expectation &ScriptedHttpServer::Expectation::silent()
{
    m_silent = true;
    return *this;
}

ScriptedHttpServer::ScriptedHttpServer(QObject *parent)
    : QTcpServer(parent)
{
}

ScriptedHttpServer::~ScriptedHttpServer() = default;

bool ScriptedHttpServer::start()
{
    return listen(QHostAddress::LocalHost, 0);
}

bool ScriptedHttpServer::startTls(const QSslCertificate &certificate, const QSslKey &key)
{
    m_tls = true;
    m_certificate = certificate;
    m_key = key;
    return start();
}

void ScriptedHttpServer::setCertificate(const QSslCertificate &certificate, const QSslKey &key)
{
    m_certificate = certificate;
    m_key = key;
    const QList<QSslSocket *> open = m_sockets;
    for (QSslSocket *socket : open)
        socket->abort();
}

QUrl ScriptedHttpServer::url(const QString &path) const
{
    return LoopbackPort::url(m_tls ? u"https"_s : u"http"_s, serverPort(), path);
}

bool ScriptedHttpServer::Expectation::targets(const QByteArray &target) const
{
    return m_target.endsWith('*') ? target.startsWith(m_target.chopped(1)) : m_target == target;
}

ScriptedHttpServer::Expectation &ScriptedHttpServer::expect(const QByteArray &method, const QByteArray &target)
{
    Expectation &expectation = m_expectations.emplace_back();
    expectation.m_method = method;
    expectation.m_target = target;
    return expectation;
}

QStringList ScriptedHttpServer::problems() const
{
    QStringList all = m_problems;
    for (const Expectation &expectation : m_expectations)
        all.append(u"never requested: %1 %2"_s.arg(QString::fromLatin1(expectation.m_method),
                                                   QString::fromLatin1(expectation.m_target)));
    return all;
}

void ScriptedHttpServer::incomingConnection(qintptr socketDescriptor)
{
    auto *socket = new QSslSocket(this);
    if (!socket->setSocketDescriptor(socketDescriptor)) {
        delete socket;
        return;
    }
    m_sockets.append(socket);
    connect(socket, &QSslSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
    connect(socket, &QSslSocket::disconnected, this, [this, socket] {
        m_sockets.removeOne(socket);
        m_buffers.remove(socket);
        socket->deleteLater();
    });
    if (m_tls) {
        socket->setLocalCertificate(m_certificate);
        socket->setPrivateKey(m_key);
        socket->setPeerVerifyMode(QSslSocket::VerifyNone);
        socket->startServerEncryption();
    }
}

void ScriptedHttpServer::onReadyRead(QSslSocket *socket)
{
    QByteArray &buffer = m_buffers[socket];
    buffer += socket->readAll();
    Request request;
    while (takeRequest(buffer, request)) {
        m_requests.append(request);
        answer(socket, request);
        if (socket->state() != QAbstractSocket::ConnectedState)
            return;
    }
}

bool ScriptedHttpServer::takeRequest(QByteArray &buffer, Request &request)
{
    const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0)
        return false;
    const QList<QByteArray> lines = buffer.left(headEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    request = Request();
    request.method = requestLine.value(0);
    request.target = requestLine.value(1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            request.headers.append({lines[i].left(colon).trimmed(), lines[i].mid(colon + 1).trimmed()});
    }
    const qsizetype length = request.header("Content-Length").toLongLong();
    const qsizetype bodyStart = headEnd + 4;
    if (buffer.size() < bodyStart + length)
        return false;
    request.body = buffer.mid(bodyStart, length);
    buffer.remove(0, bodyStart + length);
    return true;
}

void ScriptedHttpServer::answer(QSslSocket *socket, const Request &request)
{
    int status = 500;
    Headers headers;
    QByteArray body = "unexpected request";
    int cutOffAfter = -1;
    bool endByClosing = false;

    auto match = m_expectations.begin();
    if (m_anyOrder) {
        match = std::find_if(m_expectations.begin(), m_expectations.end(), [&request](const Expectation &e) {
            return e.m_method == request.method && e.targets(request.target);
        });
    }
    if (m_expectations.empty() || (m_anyOrder && match == m_expectations.end())) {
        m_problems.append(u"unexpected request: %1"_s.arg(describe(request)));
    } else if (match->m_method != request.method || !match->targets(request.target)) {
        m_problems.append(u"expected %1 %2, got %3"_s.arg(QString::fromLatin1(match->m_method),
                                                          QString::fromLatin1(match->m_target), describe(request)));
    } else {
        const Expectation expectation = std::move(*match);
        m_expectations.erase(match);
        for (const auto &check : expectation.m_checks) {
            const QString problem = check(request);
            if (!problem.isEmpty())
                m_problems.append(describe(request) + u": "_s + problem);
        }
        status = expectation.m_status;
        headers = expectation.m_replyHeaders;
        body = expectation.m_replyBody;
        cutOffAfter = expectation.m_cutOffAfter;
        endByClosing = expectation.m_endByClosing;
        if (expectation.m_silent)
            return;
    }

    QByteArray out = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reasonPhrase(status) + "\r\n";
    bool hasLength = false;
    headerIn(headers, "Content-Length", &hasLength);
    if (!hasLength && !endByClosing)
        headers.append(qMakePair(QByteArray("Content-Length"), QByteArray::number(body.size())));
    if (endByClosing)
        cutOffAfter = int(body.size());
    if (cutOffAfter >= 0)
        headers.append(qMakePair(QByteArray("Connection"), QByteArray("close")));
    for (const auto &[name, value] : headers)
        out += name + ": " + value + "\r\n";
    out += "\r\n";
    out += cutOffAfter >= 0 ? body.left(cutOffAfter) : body;
    socket->write(out);
    if (cutOffAfter >= 0) {
        socket->flush();
        socket->disconnectFromHost();
    }
}
