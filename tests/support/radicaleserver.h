#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>

// Debian's Radicale run as a child process on a free 127.0.0.1 port, with its
// storage in a temporary folder that goes away with the object. The server is
// configured from the command line alone (no system or user config is read).
//
// Without a user, anyone may read and write everything. With a user and
// password, requests need HTTP Basic authentication (htpasswd, plain text) and
// each user owns the collections under "/<user>/". With a certificate and key
// (PEM files), the server speaks HTTPS only.
//
// Collections do not exist up front: create them with MKCOL or MKCALENDAR.
// The process is stopped by stop() or the destructor; only this object's own
// process is ever signalled.
class RadicaleServer
{
public:
    struct Options
    {
        QString user;
        QString password;
        QString certificatePath;
        QString keyPath;
    };

    RadicaleServer();
    explicit RadicaleServer(const Options &options);
    ~RadicaleServer();
    RadicaleServer(const RadicaleServer &) = delete;
    RadicaleServer &operator=(const RadicaleServer &) = delete;

    // Blocks until the server accepts connections; false with errorString()
    // (including the server's own output) when it did not come up.
    bool start(int timeoutMs = 20000);
    void stop();
    bool isRunning() const;
    QString errorString() const { return m_error; }

    // "http://127.0.0.1:<port>/" or "https://...", valid once started.
    QUrl baseUrl() const;
    QUrl url(const QString &path) const;
    int port() const { return m_port; }
    // Where the collections are stored on disk.
    QString storagePath() const;
    // What the server printed so far (warnings and errors).
    QString output();

    // Whether /usr/bin/python3 can run Radicale at all; tests QSKIP otherwise.
    static bool isAvailable();

private:
    Options m_options;
    QTemporaryDir m_dir;
    QProcess m_process;
    QByteArray m_output;
    int m_port = 0;
    QString m_error;
};
