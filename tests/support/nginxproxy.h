#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>

// nginx-light on a free 127.0.0.1 port, terminating TLS with HTTP/2 in front
// of a plain HTTP server on loopback: what users meet behind real proxies,
// with every response header name in lower case. Stops with the object.
class NginxProxy
{
public:
    NginxProxy();
    ~NginxProxy();

    // Blocks until nginx accepts connections; false with errorString() otherwise.
    bool start(const QUrl &upstream, const QString &certificatePath, const QString &keyPath);
    void stop();
    QString errorString() const { return m_error; }

    // "https://127.0.0.1:<port>" followed by `path`.
    QUrl url(const QString &path = QStringLiteral("/")) const;

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
    QString m_error;
};
