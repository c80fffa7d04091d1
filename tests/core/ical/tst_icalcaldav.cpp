#include "icalendar.h"
#include "icalfields.h"
#include "icalsamples.h"
#include "radicaleserver.h"

#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

struct HttpResult
{
    int status = 0;
    QByteArray body;
    QString error;
};

using namespace IcalSamples;

} // namespace

// What the writers produce is stored by a real CalDAV server and read back
// equal, by our reader and by python3-icalendar.
class TestIcalCalDav : public QObject
{
    Q_OBJECT
private:
    RadicaleServer m_server{{u"alice"_s, u"secret"_s, QString(), QString()}};
    QNetworkAccessManager m_network;
    QTemporaryDir m_dir;
    bool m_pythonIcalendar = false;
    int m_resources = 0;

    HttpResult request(const QByteArray &verb, const QString &path, const QByteArray &body = {},
                       const QList<QPair<QByteArray, QByteArray>> &headers = {})
    {
        QNetworkRequest req(m_server.url(path));
        req.setRawHeader("Authorization", "Basic " + QByteArrayLiteral("alice:secret").toBase64());
        for (const auto &h : headers)
            req.setRawHeader(h.first, h.second);
        QNetworkReply *reply = m_network.sendCustomRequest(req, verb, body);
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(15000, &loop, &QEventLoop::quit);
        loop.exec();
        HttpResult result;
        if (!reply->isFinished()) {
            result.error = u"timeout"_s;
            reply->abort();
        }
        result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        result.body = reply->readAll();
        if (result.error.isEmpty() && reply->error() != QNetworkReply::NoError)
            result.error = reply->errorString();
        reply->deleteLater();
        return result;
    }

    QJsonObject readWithPython(const QByteArray &text)
    {
        const QString path = m_dir.filePath(u"back.ics"_s);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write(text);
        file.close();
        QProcess py;
        py.start(u"/usr/bin/python3"_s, {QStringLiteral(CALENDAR_SOURCE_DIR "/tests/core/ical/ics_to_json.py"), path});
        if (!py.waitForFinished(30000) || py.exitCode() != 0) {
            qWarning() << py.readAllStandardError();
            return {};
        }
        return QJsonDocument::fromJson(py.readAllStandardOutput()).object();
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!RadicaleServer::isAvailable())
            QSKIP("/usr/bin/python3 cannot run radicale");
        QVERIFY(m_dir.isValid());
        QVERIFY2(m_server.start(), qPrintable(m_server.errorString()));
        const HttpResult made = request("MKCALENDAR", u"/alice/calendar/"_s);
        QVERIFY2(made.status == 201, qPrintable(made.error + QString::fromUtf8(made.body)));
        QProcess probe;
        probe.start(u"/usr/bin/python3"_s, {u"-c"_s, u"import icalendar"_s});
        m_pythonIcalendar = probe.waitForFinished(30000) && probe.exitCode() == 0;
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<Event>>("events");
        QTest::addColumn<QList<Task>>("tasks");

        const Event rich = richEvent();
        QTest::newRow("event with every field in a DST zone")
            << ICalendar::serializeEvent(rich) << QList<Event>{rich} << QList<Task>();

        Event plain;
        plain.uid = u"new-1@test"_s;
        plain.title = u"Quick add"_s;
        plain.start_time = utc(2024, 7, 1, 12);
        const QString newText = ICalendar::serializeNewEvent(plain);
        plain.end_time = plain.start_time; // written as DTEND equal to DTSTART
        QTest::newRow("new event without end, in UTC") << newText << QList<Event>{plain} << QList<Task>();

        const Event allDay = allDaySeries();
        QTest::newRow("all-day series over three days")
            << ICalendar::serializeEvent(allDay) << QList<Event>{allDay} << QList<Task>();

        Event master = rich;
        master.uid = u"series-1@test"_s; // one UID per resource in a collection
        Event moved = overrideOf(master, u"20240418T073000Z"_s, zoned("America/New_York", 2024, 4, 19, 8),
                                 zoned("America/New_York", 2024, 4, 19, 9));
        moved.title = u"Review (moved)"_s;
        moved.timezone = u"America/New_York"_s;
        moved.reminders.clear();
        QTest::newRow("series and override in one resource")
            << ICalendar::serializeEvents({master, moved}) << QList<Event>{master, moved} << QList<Task>();

        QFile invitation(QStringLiteral(CALENDAR_TEST_DATA_DIR "/custom-zones.ics"));
        QVERIFY(invitation.open(QIODevice::ReadOnly));
        const QList<Event> defined = ICalendar::parseEvents(QString::fromUtf8(invitation.readAll())).mid(0, 2);
        QTest::newRow("series and override in a zone only their VTIMEZONE defines")
            << ICalendar::serializeEvents(defined) << defined << QList<Task>();

        Task task = richTask();
        QTest::newRow("task with every field") << ICalendar::serializeTask(task) << QList<Event>() << QList<Task>{task};
        Task dateOnly;
        dateOnly.uid = u"task-2@test"_s;
        dateOnly.title = u"Buy milk"_s;
        dateOnly.due_date = utc(2024, 5, 1);
        dateOnly.completed_date = utc(2024, 4, 30, 18);
        dateOnly.status = u"completed"_s;
        dateOnly.percent_complete = 100;
        QTest::newRow("completed task with a date-only due")
            << ICalendar::serializeTask(dateOnly) << QList<Event>() << QList<Task>{dateOnly};
    }
    void roundTrip()
    {
        QFETCH(QString, text);
        QFETCH(QList<Event>, events);
        QFETCH(QList<Task>, tasks);
        const QString path = u"/alice/calendar/item-%1.ics"_s.arg(++m_resources);

        const HttpResult put = request("PUT", path, text.toUtf8(), {{"Content-Type", "text/calendar; charset=utf-8"}});
        QVERIFY2(put.status == 201 || put.status == 204,
                 qPrintable(u"%1 %2 %3"_s.arg(put.status).arg(put.error, QString::fromUtf8(put.body))
                            + m_server.output()));
        const HttpResult get = request("GET", path);
        QCOMPARE(get.status, 200);

        const QString back = QString::fromUtf8(get.body);
        const QJsonArray wantEvents = IcalFields::fieldsOf(events);
        const QJsonArray wantTasks = IcalFields::fieldsOf(tasks);
        QCOMPARE(IcalFields::differences(wantEvents, IcalFields::fieldsOf(ICalendar::parseEvents(back))), QString());
        QCOMPARE(IcalFields::differences(wantTasks, IcalFields::fieldsOf(ICalendar::parseTasks(back))), QString());

        if (!m_pythonIcalendar)
            QSKIP("/usr/bin/python3 cannot import icalendar");
        const QJsonObject theirs = readWithPython(get.body);
        QCOMPARE(IcalFields::differences(theirs.value("events"_L1).toArray(), wantEvents), QString());
        QCOMPARE(IcalFields::differences(theirs.value("tasks"_L1).toArray(), wantTasks), QString());
    }
};

QTEST_GUILESS_MAIN(TestIcalCalDav)
#include "tst_icalcaldav.moc"
