#include "fakeproviderserver.h"

#include "serverprocess.h"

#include <QJsonDocument>
#include <QNetworkReply>
#include <QTest>

using namespace Qt::StringLiterals;

FakeProviderServer::FakeProviderServer(QString script, QStringList arguments, QString name)
    : m_script(std::move(script))
    , m_arguments(std::move(arguments))
    , m_name(std::move(name))
{
}

FakeProviderServer::~FakeProviderServer()
{
    ServerProcess::stop(m_process);
}

bool FakeProviderServer::start()
{
    ServerProcess::endWithParent(m_process);
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start(u"/usr/bin/python3"_s,
                    QStringList{QStringLiteral(CALENDAR_SUPPORT_DIR "/") + m_script} + m_arguments);
    if (!m_process.waitForStarted(10000)) {
        m_error = m_process.errorString();
        return false;
    }
    if (!QTest::qWaitFor([this] { return m_process.canReadLine() || m_process.state() != QProcess::Running; }, 20000)
        || !m_process.canReadLine()) {
        m_error = QString::fromUtf8(m_process.readAllStandardError());
        return false;
    }
    m_port = m_process.readLine().trimmed().toInt();
    return m_port > 0;
}

QUrl FakeProviderServer::baseUrl() const
{
    return QUrl(u"http://127.0.0.1:%1"_s.arg(m_port));
}

QJsonObject FakeProviderServer::control(const QString &what, const QJsonObject &body)
{
    QNetworkRequest request(QUrl(baseUrl().toString() + u"/_control/"_s + what));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    QNetworkReply *reply = m_network.post(request, QJsonDocument(body).toJson(QJsonDocument::Compact));
    if (!QTest::qWaitFor([reply] { return reply->isFinished(); }, 10000))
        qFatal("the fake %s did not answer a control request", qPrintable(m_name));
    const QJsonObject out = QJsonDocument::fromJson(reply->readAll()).object();
    delete reply;
    return out;
}

QList<QJsonObject> FakeProviderServer::objects(const QJsonValue &value)
{
    QList<QJsonObject> out;
    for (const QJsonValue &entry : value.toArray())
        out.append(entry.toObject());
    return out;
}

QJsonArray FakeProviderServer::array(const QList<QJsonObject> &list)
{
    QJsonArray out;
    for (const QJsonObject &object : list)
        out.append(object);
    return out;
}

void FakeProviderServer::setCalendars(const QList<QJsonObject> &entries)
{
    control(u"calendars"_s, {{"items"_L1, array(entries)}});
}

QList<QJsonObject> FakeProviderServer::changeEvents(const QString &calendarId, const QList<QJsonObject> &items)
{
    return objects(control(u"events"_s, {{"calendar"_L1, calendarId}, {"items"_L1, array(items)}})["items"_L1]);
}

QList<QJsonObject> FakeProviderServer::requests()
{
    return objects(control(u"log"_s)["requests"_L1]);
}

FakeProviderServer::Answer FakeProviderServer::api(const QByteArray &verb, const QString &path,
                                                   const QString &accessToken, const QJsonObject &body,
                                                   const QString &etag)
{
    QNetworkRequest request(QUrl(baseUrl().toString() + path, QUrl::TolerantMode));
    request.setRawHeader("Authorization", "Bearer " + accessToken.toUtf8());
    if (!etag.isEmpty())
        request.setRawHeader("If-Match", etag.toUtf8());
    QNetworkReply *reply;
    if (body.isEmpty()) {
        reply = m_network.sendCustomRequest(request, verb);
    } else {
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
        reply = m_network.sendCustomRequest(request, verb, QJsonDocument(body).toJson(QJsonDocument::Compact));
    }
    if (!QTest::qWaitFor([reply] { return reply->isFinished(); }, 10000))
        qFatal("the fake %s did not answer an API request", qPrintable(m_name));
    Answer answer{reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                  QJsonDocument::fromJson(reply->readAll()).object()};
    delete reply;
    return answer;
}
