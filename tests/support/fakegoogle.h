#pragma once

#include <QJsonObject>
#include <QList>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QString>
#include <QUrl>

// tests/support/fakegoogle.py run as a child process on a free 127.0.0.1
// port: Google's OAuth and Calendar v3 endpoints (and Microsoft's token
// endpoint shape) as their documentation describes them, with a control API
// to seed data, change it behind the client's back, inject failures and read
// the request log. Every call below blocks until the server answered.
class FakeGoogle
{
public:
    static constexpr const char *kClientId = "test-client";
    static constexpr const char *kClientSecret = "test-secret";

    FakeGoogle();
    ~FakeGoogle();
    FakeGoogle(const FakeGoogle &) = delete;
    FakeGoogle &operator=(const FakeGoogle &) = delete;

    bool start();
    QString errorString() const { return m_error; }
    QUrl baseUrl() const;

    // POST /_control/<what> with `body`; the answer's object.
    QJsonObject control(const QString &what, const QJsonObject &body = {});
    void setCalendars(const QList<QJsonObject> &entries);
    // Creates or merges events as another client would; the stored resources.
    QList<QJsonObject> changeEvents(const QString &calendarId, const QList<QJsonObject> &items);
    QList<QJsonObject> events(const QString &calendarId);
    // The requests to the OAuth and Calendar endpoints so far.
    QList<QJsonObject> requests();
    // An access and a refresh token the server accepts.
    QPair<QString, QString> grantTokens();

private:
    QJsonObject call(const QByteArray &verb, const QString &what, const QJsonObject &body);

    QProcess m_process;
    QNetworkAccessManager m_network;
    int m_port = 0;
    QString m_error;
};
