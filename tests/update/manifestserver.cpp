#include "manifestserver.h"

#include <QTcpSocket>

ManifestServer::ManifestServer(QObject *parent)
    : QTcpServer(parent)
{
    connect(this, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                m_requests.remove(socket);
                socket->deleteLater();
            });
        }
    });
}

QUrl ManifestServer::baseUrl(const QString &path) const
{
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(serverPort());
    url.setPath(path);
    return url;
}

void ManifestServer::serve(QTcpSocket *socket)
{
    QByteArray &request = m_requests[socket];
    request += socket->readAll();
    if (!request.contains("\r\n\r\n") || m_silent)
        return;
    const QList<QByteArray> requestLine = request.left(request.indexOf("\r\n")).split(' ');
    m_paths.append(QString::fromLatin1(requestLine.value(1)));

    const QByteArray reason = m_status == 200 ? "OK" : "Error";
    socket->write("HTTP/1.1 " + QByteArray::number(m_status) + ' ' + reason
                  + "\r\n"
                    "Content-Type: application/json\r\n"
                    "Content-Length: "
                  + QByteArray::number(m_body.size())
                  + "\r\n"
                    "Connection: close\r\n\r\n"
                  + m_body);
    socket->disconnectFromHost();
}
