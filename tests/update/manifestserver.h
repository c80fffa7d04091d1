#pragma once

#include <QByteArray>
#include <QHash>
#include <QStringList>
#include <QTcpServer>
#include <QUrl>

// Answers every HTTP request on 127.0.0.1 with one canned response and
// records the request paths. Silent mode accepts connections and never answers.
class QTcpSocket;

class ManifestServer : public QTcpServer
{
    Q_OBJECT
public:
    explicit ManifestServer(QObject *parent = nullptr);

    bool start() { return listen(QHostAddress::LocalHost, 0); }
    QUrl baseUrl(const QString &path = QStringLiteral("/calendar/stable/")) const;

    void respond(int status, const QByteArray &body)
    {
        m_status = status;
        m_body = body;
    }
    void setSilent(bool silent) { m_silent = silent; }
    const QStringList &requestedPaths() const { return m_paths; }

private:
    void serve(QTcpSocket *socket);

    int m_status = 200;
    QByteArray m_body;
    bool m_silent = false;
    QStringList m_paths;
    QHash<QTcpSocket *, QByteArray> m_requests;
};
