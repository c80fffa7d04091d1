#pragma once

#include <QJsonObject>
#include <QList>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QString>
#include <QUrl>

// tests/support/fakegraph.py run as a child process on a free 127.0.0.1
// port: Microsoft Graph's calendar endpoints and the Microsoft identity token
// endpoint as their documentation describes them, with a control API to
// seed data, change it behind the client's back, inject failures and read
// the request log. Every call below blocks until the server answered.
class FakeGraph
{
public:
    static constexpr const char *kClientId = "test-client";

    FakeGraph() = default;
    ~FakeGraph();
    FakeGraph(const FakeGraph &) = delete;
    FakeGraph &operator=(const FakeGraph &) = delete;

    bool start();
    QString errorString() const { return m_error; }
    QUrl baseUrl() const;
    // The Graph base: the server and the /v1.0 segment.
    QUrl graphUrl() const;

    // POST /_control/<what> with `body`; the answer's object.
    QJsonObject control(const QString &what, const QJsonObject &body = {});
    void setCalendars(const QList<QJsonObject> &entries);
    // Creates or merges events as another client would; the stored resources.
    QList<QJsonObject> changeEvents(const QString &calendarId, const QList<QJsonObject> &items);
    void removeEvents(const QString &calendarId, const QStringList &ids);
    QList<QJsonObject> events(const QString &calendarId);
    // The requests to the identity and Graph endpoints so far.
    QList<QJsonObject> requests();
    // An access token the server accepts.
    QString grantAccessToken();

private:
    QProcess m_process;
    QNetworkAccessManager m_network;
    int m_port = 0;
    QString m_error;
};
