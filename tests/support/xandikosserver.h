#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>

// Debian's Xandikos (no authentication) on a free 127.0.0.1 port, serving a
// temporary folder with its default principal "/user/", calendar home
// "/user/calendars/" and one calendar "/user/calendars/calendar/". Start it
// once per test class; it stops with the object.
class XandikosServer
{
public:
    XandikosServer();
    ~XandikosServer();

    // Blocks until the server listens; false with errorString() otherwise.
    bool start();
    void stop();
    QString errorString() const { return m_error; }

    QUrl url(const QString &path = QStringLiteral("/")) const;
    QUrl calendarUrl() const { return url(QStringLiteral("/user/calendars/calendar/")); }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
    QString m_error;
};
