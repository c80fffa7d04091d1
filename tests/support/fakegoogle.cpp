#include "fakegoogle.h"

#include "serverprocess.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkReply>
#include <QTest>

using namespace Qt::StringLiterals;

FakeGoogle::FakeGoogle() = default;

FakeGoogle::~FakeGoogle()
{
    ServerProcess::stop(m_process);
}

bool FakeGoogle::start()
{
    ServerProcess::endWithParent(m_process);
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start(u"/usr/bin/python3"_s,
                    {QStringLiteral(CALENDAR_SUPPORT_DIR "/fakegoogle.py"),
                     u"--client-id="_s + QLatin1StringView(kClientId),
                     u"--client-secret="_s + QLatin1StringView(kClientSecret)});
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

QUrl FakeGoogle::baseUrl() const
{
    return QUrl(u"http://127.0.0.1:%1"_s.arg(m_port));
}

QJsonObject FakeGoogle::call(const QByteArray &verb, const QString &what, const QJsonObject &body)
{
    QNetworkRequest request(QUrl(baseUrl().toString() + u"/_control/"_s + what));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    QNetworkReply *reply = m_network.sendCustomRequest(request, verb, QJsonDocument(body).toJson(QJsonDocument::Compact));
    if (!QTest::qWaitFor([reply] { return reply->isFinished(); }, 10000))
        qFatal("the fake Google did not answer a control request");
    const QJsonObject out = QJsonDocument::fromJson(reply->readAll()).object();
    delete reply;
    return out;
}

QJsonObject FakeGoogle::control(const QString &what, const QJsonObject &body)
{
    return call("POST", what, body);
}

namespace {

QList<QJsonObject> objects(const QJsonArray &array)
{
    QList<QJsonObject> out;
    for (const QJsonValue &value : array)
        out.append(value.toObject());
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

void FakeGoogle::setCalendars(const QList<QJsonObject> &entries)
{
    control(u"calendars"_s, {{"items"_L1, array(entries)}});
}

QList<QJsonObject> FakeGoogle::changeEvents(const QString &calendarId, const QList<QJsonObject> &items)
{
    return objects(control(u"events"_s, {{"calendar"_L1, calendarId}, {"items"_L1, array(items)}})
                       .value("items"_L1)
                       .toArray());
}

QList<QJsonObject> FakeGoogle::events(const QString &calendarId)
{
    return objects(call("POST", u"dump?calendar="_s + QString::fromLatin1(QUrl::toPercentEncoding(calendarId)), {})
                       .value("items"_L1)
                       .toArray());
}

QList<QJsonObject> FakeGoogle::requests()
{
    return objects(control(u"log"_s).value("requests"_L1).toArray());
}

QPair<QString, QString> FakeGoogle::grantTokens()
{
    const QJsonObject tokens = control(u"tokens"_s);
    return {tokens.value("access_token"_L1).toString(), tokens.value("refresh_token"_L1).toString()};
}
