// Hostile calendars through the ways they reach the program: the .ics import
// (on its own thread, as the window runs it), a webcal refresh from a
// loopback feed, a CalDAV pull of the file as one object from a scripted
// loopback server (in a store of its own), and the week list showing the
// week they fall in. For each
// file the figures are the peak resident memory of the process during the
// step (VmHWM, reset before it), the longest gap between two turns of a 1 ms
// timer on the GUI thread, and for the week the rows it lists; the tray's
// next occurrence is measured as well.
//
// Run one file at a time for a peak of its own, offscreen:
//   QT_QPA_PLATFORM=offscreen ./bench_hostile --benchmark_filter='hostile/0/'
//
// 0 to 7, in this order:
//   exdates     one daily series with 100,000 EXDATE values on one line
//   count       FREQ=SECONDLY;COUNT=1000000000, begun a year before the week
//   secondly    20 series FREQ=SECONDLY without an end
//   emptyset    rules whose sets are always empty (BYSETPOS, Feb 30)
//   longline    a DESCRIPTION of 10 MB
//   nesting     100,000 nested components inside an event
//   tzrdates    a VTIMEZONE with 10,000 RDATEs, a weekly series in it
//   large       a legitimate feed of 130,000 events (about 18 MB)
//
// On the 8-core build machine under a load of about 20 (RelWithDebInfo),
// longest GUI stall in ms for import / pull / tray / week, and the highest
// peak of the four:
//   exdates    6 /  5 / 42 /  18    68 MB   (before: pull 13,675 ms)
//   count      1 /  1 /  1 /  33    39 MB   (before: the week showed nothing)
//   secondly   3 /  1 / 30 / 128    65 MB   (before: tray 1,242 ms and 567 MB;
//                                            week 70,964 ms, 3.1 GB, 400,001 rows)
//   emptyset   1 /  1 /  4 /  21    32 MB
//   longline   3 /  7 / 59 /  79   205 MB   (before: pull 247 ms)
//   nesting    4 / 11 /  5 /  13    62 MB   (before: pull 57 ms)
//   tzrdates   1 /  1 / 11 /  27    37 MB
//   large     10 / 19 /  0 /  85   409 MB   (before: pull 7,177 ms)
//
// The CalDAV pull, longest GUI stall in ms and its peak, now that it reads,
// compares and writes on a thread and connection of its own / when it wrote
// in slices on the GUI thread / before that (under a load of about 7):
//   exdates     3 /  34 /    180    67 MB    nesting     1 /  26 /     61    74 MB
//   count       1 /   1 /      1    34 MB    tzrdates    1 /   3 /      7    37 MB
//   secondly    1 /   2 /      4    34 MB    longline    2 / 169 /    411   262 MB
//   emptyset    1 /   1 /      2    34 MB    large      15 / 559 / 14,537   450 MB
// Part of what the peaks gained is the second connection's page cache
// (at most 64 MiB): 20 MB of longline's, 64 MB of large's.

#include "accountrepository.h"
#include "appstate.h"
#include "benchrunner.h"
#include "caldavsyncclient.h"
#include "calendarrepository.h"
#include "eventrepository.h"
#include "icsimportjob.h"
#include "peakmemory.h"
#include "scriptedhttpserver.h"
#include "stallmeter.h"
#include "tempappstate.h"
#include "upcomingoccurrences.h"
#include "webcalsyncclient.h"
#include "weekagenda.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QListWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUuid>

#include <benchmark/benchmark.h>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QDate kWeekDay(2026, 3, 4);
const QString kPersonal = u"quillmarten-personal-default"_s;

QByteArray calendar(const QByteArray &body)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Bench//Hostile//EN\r\n" + body + "END:VCALENDAR\r\n";
}

QByteArray event(const QByteArray &uid, const QByteArray &start, const QByteArray &extra)
{
    return "BEGIN:VEVENT\r\nUID:" + uid + "\r\nDTSTAMP:20260101T000000Z\r\nDTSTART" + start
        + "\r\nDURATION:PT30M\r\nSUMMARY:Hostile " + uid + "\r\n" + extra + "END:VEVENT\r\n";
}

QByteArray exdates()
{
    QByteArray list = "EXDATE:";
    QDate day(2026, 3, 10);
    for (int i = 0; i < 100000; ++i, day = day.addDays(1))
        list += (i ? "," : "") + day.toString(u"yyyyMMdd"_s).toLatin1() + "T090000Z";
    return calendar(event("exdates", ":20260302T090000Z", "RRULE:FREQ=DAILY\r\n" + list + "\r\n"));
}

QByteArray secondly(int series, const QByteArray &start, const QByteArray &rule)
{
    QByteArray body;
    for (int i = 0; i < series; ++i)
        body += event("secondly-" + QByteArray::number(i), start, "RRULE:" + rule + "\r\n");
    return calendar(body);
}

QByteArray emptySets()
{
    return calendar(event("setpos", ":19000105T090000Z", "RRULE:FREQ=DAILY;BYMONTH=2;BYMONTHDAY=30;BYSETPOS=1\r\n")
                    + event("feb30", ":19000105T090000Z", "RRULE:FREQ=MINUTELY;BYMONTH=2;BYMONTHDAY=30;COUNT=5\r\n")
                    + event("weekly", ":19000105T090000Z", "RRULE:FREQ=WEEKLY;BYDAY=MO;BYMONTHDAY=31;BYMONTH=2\r\n"));
}

QByteArray longLine()
{
    return calendar(event("long", ":20260303T090000Z", "DESCRIPTION:" + QByteArray(10 << 20, 'x') + "\r\n"));
}

QByteArray nesting()
{
    QByteArray open;
    QByteArray close;
    for (int i = 0; i < 100000; ++i) {
        open += "BEGIN:X-NEST\r\n";
        close += "END:X-NEST\r\n";
    }
    return calendar(event("nested", ":20260303T090000Z", open + close));
}

QByteArray zoneRdates()
{
    QByteArray zone = "BEGIN:VTIMEZONE\r\nTZID:Hostile/Zone\r\nBEGIN:STANDARD\r\nDTSTART:19700101T000000\r\n"
                      "TZOFFSETFROM:+0100\r\nTZOFFSETTO:+0100\r\n";
    for (int i = 0; i < 10000; ++i)
        zone += "RDATE:" + QByteArray::number(1980 + i % 50) + "0101T000000\r\n";
    zone += "END:STANDARD\r\nEND:VTIMEZONE\r\n";
    return calendar(zone + event("zoned", ";TZID=Hostile/Zone:20250303T090000", "RRULE:FREQ=WEEKLY\r\n"));
}

QByteArray large()
{
    QByteArray body;
    body.reserve(19 << 20);
    for (int i = 0; i < 130000; ++i) {
        const QByteArray n = QByteArray::number(i);
        const QByteArray day = QByteArray::number(20260201 + i % 28);
        body += event("large-" + n, ":" + day + "T090000Z", {});
    }
    return calendar(body);
}

const std::function<QByteArray()> kFiles[] = {
    exdates,
    [] {
    return secondly(1, ":20250302T000000Z", "FREQ=SECONDLY;COUNT=1000000000");
    },
    [] {
    return secondly(20, ":20260302T000000Z", "FREQ=SECONDLY");
},
                                  emptySets, longLine, nesting, zoneRdates, large,
                                  };
const char *const kNames[] = {"exdates", "count", "secondly", "emptyset", "longline", "nesting", "tzrdates", "large"};

// Serves one body as text/calendar to every GET.
class FeedServer : public QTcpServer
{
public:
    explicit FeedServer(const QByteArray &body)
        : m_body(body)
    {
        listen(QHostAddress::LocalHost);
    }
    QString url() const { return u"http://127.0.0.1:%1/feed.ics"_s.arg(serverPort()); }

protected:
    void incomingConnection(qintptr descriptor) override
    {
        auto *socket = new QTcpSocket(this);
        socket->setSocketDescriptor(descriptor);
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            if (!socket->readAll().contains("\r\n\r\n"))
                return;
            socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/calendar\r\nConnection: close\r\nContent-Length: "
                          + QByteArray::number(m_body.size()) + "\r\n\r\n");
            socket->write(m_body);
            socket->disconnectFromHost();
        });
    }

private:
    QByteArray m_body;
};

QByteArray multistatus(const QByteArray &responses)
{
    return "<?xml version=\"1.0\"?>\n<d:multistatus xmlns:d=\"DAV:\" xmlns:c=\"urn:ietf:params:xml:ns:caldav\" "
           "xmlns:cs=\"http://calendarserver.org/ns/\">"
        + responses + "</d:multistatus>";
}

QByteArray davResponse(const QByteArray &href, const QByteArray &props)
{
    return "<d:response><d:href>" + href + "</d:href><d:propstat><d:prop>" + props
        + "</d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>";
}

// A CalDAV collection "/cal/" holding the file as one object: its markers,
// the listing and the multiget that fetches it.
void scriptCollection(ScriptedHttpServer &server, const QByteArray &bytes)
{
    const QByteArray href = "/cal/hostile.ics";
    const QByteArray etag = "<d:getetag>\"e1\"</d:getetag>";
    server.expect("PROPFIND", "/cal/").reply(207, multistatus(davResponse("/cal/", "<cs:getctag>c2</cs:getctag>")));
    server.expect("REPORT", "/cal/").bodyContains("calendar-query").reply(207, multistatus(davResponse(href, etag)));
    const QByteArray data = QString::fromUtf8(bytes).toHtmlEscaped().toUtf8();
    server.expect("REPORT", "/cal/")
        .bodyContains("calendar-multiget")
        .reply(207, multistatus(davResponse(href, etag + "<c:calendar-data>" + data + "</c:calendar-data>")));
}

struct Step
{
    qint64 peakKb = 0;
    qint64 stallMs = 0;
};

template<typename Run>
Step measured(Run run)
{
    PeakMemory::reset();
    Step step;
    {
        StallMeter stalls;
        run();
        // A step that ran on this thread alone shows as one gap.
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        step.stallMs = stalls.longestMs();
    }
    step.peakKb = PeakMemory::statusKilobytes("VmHWM:");
    return step;
}

Calendar addCalendar(AppState *state, const QString &accountId, const QString &url)
{
    Calendar calendar;
    calendar.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    calendar.account_id = accountId;
    calendar.url = url;
    calendar.name = u"Hostile"_s;
    calendar.is_read_only = true;
    calendar.sync_enabled = true;
    calendar.created_at = calendar.updated_at = QDateTime::currentDateTimeUtc();
    if (!state->calendars()->insert(calendar))
        qFatal("calendar not stored");
    return calendar;
}

void hostile(benchmark::State &state)
{
    const int index = int(state.range(0));
    state.SetLabel(kNames[index]);
    const QByteArray bytes = kFiles[index]();
    Step importing, pulling, caldav, upcoming, week;
    int rows = 0;
    int davRows = 0;
    for (auto _ : state) {
        {
            // A store of its own: the week and the tray below see the other two copies only.
            TempAppState davApp;
            ScriptedHttpServer davServer;
            if (!davServer.start())
                qFatal("no loopback CalDAV server");
            scriptCollection(davServer, bytes);
            Account davAccount;
            davAccount.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
            davAccount.name = u"Server"_s;
            davAccount.type = u"caldav"_s;
            davAccount.server_url = davServer.url(u"/cal/"_s).toString();
            davAccount.created_at = davAccount.updated_at = QDateTime::currentDateTimeUtc();
            if (!davApp.state->accounts()->insert(davAccount))
                qFatal("account not stored");
            Calendar dav = addCalendar(davApp.state.get(), davAccount.id, davServer.url(u"/cal/"_s).toString());
            dav.supported_components = u"[\"VEVENT\"]"_s;
            dav.ctag = u"c1"_s;
            if (!davApp.state->calendars()->update(dav))
                qFatal("calendar not stored");
            caldav = measured([&] {
                CalDavSyncClient client(davApp.state.get());
                QEventLoop loop;
                QObject::connect(&client, &CalDavSyncClient::calendarSyncCompleted, &loop, &QEventLoop::quit);
                QObject::connect(&client, &CalDavSyncClient::calendarSyncFailed, &loop, &QEventLoop::quit);
                client.syncCalendar(dav, {}, {}, {});
                loop.exec();
            });
            if (!davServer.problems().isEmpty())
                qFatal("CalDAV pull: %s", qPrintable(davServer.problems().join(u"; "_s)));
            davRows = int(davApp.state->events()->getByCalendar(dav.id).size());
        }
        TempAppState app;
        {
            // Fonts and styles load with the first widget, not with the week.
            WeekAgenda warm(app.state.get());
        }
        const QString path = app.dir.filePath(u"hostile.ics"_s);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the file");
        file.close();
        importing = measured([&] {
            IcsImportJob job(app.state->database()->fileName(), path, kPersonal);
            QEventLoop loop;
            QObject::connect(&job, &IcsImportJob::finished, &loop, [&loop] { loop.quit(); });
            job.start();
            loop.exec();
            app.state->events()->scheduleChanged(kPersonal);
        });

        FeedServer server(bytes);
        const Account account = Webcal::SyncClient::ensureSubscriptionsAccount(app.state.get());
        const Calendar feed = addCalendar(app.state.get(), account.id, server.url());
        pulling = measured([&] {
            Webcal::SyncClient client(app.state.get());
            QEventLoop loop;
            QObject::connect(&client, &Webcal::SyncClient::calendarSyncCompleted, &loop, &QEventLoop::quit);
            QObject::connect(&client, &Webcal::SyncClient::calendarSyncFailed, &loop, &QEventLoop::quit);
            client.syncCalendar(feed);
            loop.exec();
        });

        upcoming = measured([&] { nextUpcomingOccurrence(app.state.get(), QDateTime(kWeekDay, QTime(12, 0))); });

        WeekAgenda agenda(app.state.get());
        week = measured([&] {
            app.state->setCurrentDate(kWeekDay);
            rows = agenda.list()->count();
        });
    }
    state.counters["file_MB"] = double(bytes.size()) / (1 << 20);
    state.counters["import_peak_MB"] = double(importing.peakKb) / 1024;
    state.counters["import_stall_ms"] = double(importing.stallMs);
    state.counters["pull_peak_MB"] = double(pulling.peakKb) / 1024;
    state.counters["pull_stall_ms"] = double(pulling.stallMs);
    state.counters["caldav_peak_MB"] = double(caldav.peakKb) / 1024;
    state.counters["caldav_stall_ms"] = double(caldav.stallMs);
    state.counters["caldav_rows"] = davRows;
    state.counters["tray_peak_MB"] = double(upcoming.peakKb) / 1024;
    state.counters["tray_stall_ms"] = double(upcoming.stallMs);
    state.counters["week_peak_MB"] = double(week.peakKb) / 1024;
    state.counters["week_stall_ms"] = double(week.stallMs);
    state.counters["week_rows"] = rows;
}
BENCHMARK(hostile)->DenseRange(0, 7)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    BenchRunner::quietSync();
    return BenchRunner::run<QApplication>(argc, argv);
}
