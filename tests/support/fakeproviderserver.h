#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QUrl>

// A fake provider script from tests/support run as a child process on a free
// 127.0.0.1 port, steered through its /_control/ API. Every call blocks until
// the server answered.
class FakeProviderServer
{
public:
    ~FakeProviderServer();
    FakeProviderServer(const FakeProviderServer &) = delete;
    FakeProviderServer &operator=(const FakeProviderServer &) = delete;

    bool start();
    QString errorString() const { return m_error; }
    QUrl baseUrl() const;

    // POST /_control/<what> with `body`; the answer's object.
    QJsonObject control(const QString &what, const QJsonObject &body = {});
    void setCalendars(const QList<QJsonObject> &entries);
    // Creates or merges events as another client would; the stored resources.
    QList<QJsonObject> changeEvents(const QString &calendarId, const QList<QJsonObject> &items);
    // The requests to the provider's endpoints so far.
    QList<QJsonObject> requests();

    // One request to the provider's API as another device would send it,
    // with `accessToken`; the status and the answer's object.
    struct Answer
    {
        int status = 0;
        QJsonObject body;
    };
    Answer api(const QByteArray &verb, const QString &path, const QString &accessToken, const QJsonObject &body = {},
               const QString &etag = {});

protected:
    // `script`: the file name in tests/support; `name`: how failures name it.
    FakeProviderServer(QString script, QStringList arguments, QString name);

    static QList<QJsonObject> objects(const QJsonValue &value);
    static QJsonArray array(const QList<QJsonObject> &list);

    int port() const { return m_port; }

private:
    QString m_script;
    QStringList m_arguments;
    QString m_name;
    QProcess m_process;
    QNetworkAccessManager m_network;
    int m_port = 0;
    QString m_error;
};
