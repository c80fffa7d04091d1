#include "fakegraph.h"

#include "serverprocess.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkReply>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QList<QJsonObject> objects(const QJsonValue &value)
{
    QList<QJsonObject> out;
    for (const QJsonValue &entry : value.toArray())
        out.append(entry.toObject());
    return out;
}

QJsonArray array(const QList<QJsonObject> &list)
{
    QJsonArray out;
    for (const QJsonObject &object : list)
        out.append(object);
    return out;
}

} // namespace

FakeGraph::~FakeGraph()
{
    ServerProcess::stop(m_process);
}

bool FakeGraph::start()
{
    ServerProcess::endWithParent(m_process);
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start(u"/usr/bin/python3"_s, {QStringLiteral(CALENDAR_SUPPORT_DIR "/fakegraph.py"),
                                            u"--client-id="_s + QLatin1StringView(kClientId)});
    if (!m_process.waitForStarted(10000)) {
        m_error = m_process.errorString();
        return false;
    }
    if (!QTest::qWaitFor([this] { return m_process.canReadLine() || m_process.state() != QProcess::Running; },
                         20000)
        || !m_process.canReadLine()) {
        m_error = QString::fromUtf8(m_process.readAllStandardError());
        return false;
    }
    m_port = m_process.readLine().trimmed().toInt();
    return m_port > 0;
}

QUrl FakeGraph::baseUrl() const
{
    return QUrl(u"http://127.0.0.1:%1"_s.arg(m_port));
}

QUrl FakeGraph::graphUrl() const
{
    return QUrl(u"http://127.0.0.1:%1/v1.0"_s.arg(m_port));
}

QJsonObject FakeGraph::control(const QString &what, const QJsonObject &body)
{
    QNetworkRequest request(QUrl(baseUrl().toString() + u"/_control/"_s + what));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    QNetworkReply *reply = m_network.post(request, QJsonDocument(body).toJson(QJsonDocument::Compact));
    if (!QTest::qWaitFor([reply] { return reply->isFinished(); }, 10000))
        qFatal("the fake Graph did not answer a control request");
    const QJsonObject out = QJsonDocument::fromJson(reply->readAll()).object();
    delete reply;
    return out;
}

void FakeGraph::setCalendars(const QList<QJsonObject> &entries)
{
    control(u"calendars"_s, {{"items"_L1, array(entries)}});
}

QList<QJsonObject> FakeGraph::changeEvents(const QString &calendarId, const QList<QJsonObject> &items)
{
    return objects(control(u"events"_s, {{"calendar"_L1, calendarId}, {"items"_L1, array(items)}})["items"_L1]);
}

void FakeGraph::removeEvents(const QString &calendarId, const QStringList &ids)
{
    control(u"remove"_s, {{"calendar"_L1, calendarId}, {"ids"_L1, QJsonArray::fromStringList(ids)}});
}

QList<QJsonObject> FakeGraph::events(const QString &calendarId)
{
    return objects(control(u"dump"_s, {{"calendar"_L1, calendarId}})["items"_L1]);
}

QList<QJsonObject> FakeGraph::requests()
{
    return objects(control(u"log"_s)["requests"_L1]);
}

QString FakeGraph::grantAccessToken()
{
    return control(u"tokens"_s).value("access_token"_L1).toString();
}
