// Run with the offscreen platform: QT_QPA_PLATFORM=offscreen ./bench_caldavsync
//
//   parseMultistatus/10000      one calendar-query answer of 10,000 objects
//   applyChangedObjects/5000    5,000 changed objects applied as a run does,
//                               100 per transaction; max_batch_ms is the
//                               longest the event loop was held by one batch
//   dropUnlisted/5000           5,000 rows another device deleted, removed
//                               after a whole listing (one transaction)
//   unchangedRun/5000/0         a run over an unchanged 5,000-event calendar
//                               on Radicale whose ctag did not move
//   unchangedRun/5000/1         the same after the stored ctag was lost: the
//                               ETag listing alone, nothing fetched
//   (rows_written counts the database changes of one run: 0 is the target)
//   changedOnServerRun/5000/50  the same calendar after another device edited
//                               50 of its objects: the listing, one multiget
//                               of the 50, and their rows
//   endlessListing              a listing that never ends, cut off at its
//                               bound: peak_RSS_MB of the process during it
#include "accountrepository.h"
#include "appstate.h"
#include "benchrunner.h"
#include "caldavclient.h"
#include "caldaveventstore.h"
#include "caldavhref.h"
#include "caldavparse.h"
#include "caldavsyncclient.h"
#include "caldavxml.h"
#include "calendarrepository.h"
#include "database.h"
#include "eventrepository.h"
#include "faultproxy.h"
#include "peakmemory.h"
#include "radicaleserver.h"
#include "tempappstate.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include <benchmark/benchmark.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

QString eventText(int i, const QString &summary)
{
    return u"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Bench//EN\r\nBEGIN:VEVENT\r\nUID:bench-%1\r\n"
           "DTSTAMP:20260301T090000Z\r\nDTSTART:20260302T100000Z\r\nDTEND:20260302T110000Z\r\n"
           "SUMMARY:%2 %1\r\nLOCATION:Room %1\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"_s.arg(i)
               .arg(summary);
}

QByteArray multistatus(int count, const QString &etagPrefix, const QString &summary)
{
    QByteArray out = "<?xml version=\"1.0\"?>\n<d:multistatus xmlns:d=\"DAV:\" "
                     "xmlns:c=\"urn:ietf:params:xml:ns:caldav\">";
    for (int i = 0; i < count; ++i) {
        out += "<d:response><d:href>/cal/bench-" + QByteArray::number(i)
            + ".ics</d:href><d:propstat><d:prop>"
              "<d:getetag>\""
            + etagPrefix.toUtf8() + QByteArray::number(i) + "\"</d:getetag><c:calendar-data>"
            + eventText(i, summary).toUtf8()
            + "</c:calendar-data></d:prop><d:status>HTTP/1.1 200 OK</d:status></d:propstat></d:response>";
    }
    return out + "</d:multistatus>";
}

// An AppState over a temporary data directory, with one CalDAV calendar.
struct Store : TempAppState
{
    Calendar calendar;

    explicit Store(const QUrl &collection)
    {
        const QDateTime now = QDateTime::currentDateTimeUtc();
        Account account;
        account.id = u"bench-account"_s;
        account.name = account.id;
        account.type = u"caldav"_s;
        account.created_at = account.updated_at = now;
        state->accounts()->insert(account);
        calendar.id = u"bench-calendar"_s;
        calendar.account_id = account.id;
        calendar.url = collection.toString();
        calendar.name = u"Bench"_s;
        calendar.sync_enabled = true;
        calendar.created_at = calendar.updated_at = now;
        state->calendars()->insert(calendar);
    }

    int totalChanges()
    {
        QSqlQuery query(state->database()->database());
        query.exec(u"SELECT total_changes()"_s);
        return query.next() ? query.value(0).toInt() : -1;
    }
};

void parseMultistatus(benchmark::State &state)
{
    const QByteArray body = multistatus(int(state.range(0)), u"e"_s, u"Event"_s);
    const QUrl base(u"http://127.0.0.1/cal/"_s);
    for (auto _ : state)
        benchmark::DoNotOptimize(CalDavParse::parseResources(body, base));
    state.SetBytesProcessed(int64_t(state.iterations()) * body.size());
}
BENCHMARK(parseMultistatus)->Arg(10000)->Unit(benchmark::kMillisecond);

void applyChangedObjects(benchmark::State &state)
{
    const int count = int(state.range(0));
    Store store(QUrl(u"http://127.0.0.1/cal/"_s));
    CalDavEventStore events(store.state->database(), store.state->events(), store.calendar.id);
    int round = 0;
    double maxBatchMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // New ETags and titles every round: every object is a change.
        const QList<CalDavParse::Resource> resources = CalDavParse::parseResources(
            multistatus(count, u"r%1-"_s.arg(round), u"Round %1"_s.arg(round)), QUrl(u"http://127.0.0.1/cal/"_s));
        ++round;
        state.ResumeTiming();
        for (qsizetype at = 0; at < resources.size(); at += 100) {
            QElapsedTimer batch;
            batch.start();
            events.inTransaction([&] { events.apply(resources.mid(at, 100)); });
            maxBatchMs = std::max(maxBatchMs, double(batch.nsecsElapsed()) / 1e6);
        }
    }
    state.counters["max_batch_ms"] = maxBatchMs;
}
BENCHMARK(applyChangedObjects)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(3);

void dropUnlisted(benchmark::State &state)
{
    const int count = int(state.range(0));
    Store store(QUrl(u"http://127.0.0.1/cal/"_s));
    CalDavEventStore events(store.state->database(), store.state->events(), store.calendar.id);
    const QList<CalDavParse::Resource> resources = CalDavParse::parseResources(multistatus(count, u"e"_s, u"Event"_s),
                                                                               QUrl(u"http://127.0.0.1/cal/"_s));
    for (auto _ : state) {
        state.PauseTiming();
        events.inTransaction([&] { events.apply(resources); });
        state.ResumeTiming();
        events.inTransaction([&] { events.dropUnlisted({}); });
    }
}
BENCHMARK(dropUnlisted)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(3);

// Radicale on loopback holding `count` events written straight into its
// storage (5,000 PUTs would take minutes), and a store that pulled them all.
struct SeededServer
{
    RadicaleServer radicale{RadicaleServer::Options{u"bench"_s, u"pw"_s, {}, {}}};
    QString folder;
    std::unique_ptr<Store> store;

    explicit SeededServer(int count)
    {
        if (!radicale.start())
            qFatal("%s", qPrintable(radicale.errorString()));
        const QUrl collection = radicale.url(u"/bench/big/"_s);
        CalDavClient client;
        client.setCredentials(u"bench"_s, u"pw"_s);
        bool made = false;
        client.mkcalendar(collection, CalDavXml::mkcalendarBody(u"Big"_s, {}, {}),
                          [&made](const CalDavClient::Response &r) { made = r.isSuccess(); });
        if (!QTest::qWaitFor([&made] { return made; }, 10000))
            qFatal("no collection");
        folder = radicale.storagePath() + u"/collection-root/bench/big/"_s;
        for (int i = 0; i < count; ++i)
            write(i, u"Event"_s);
        store = std::make_unique<Store>(collection);
        runOnce(); // the first run pulls everything
    }

    void write(int i, const QString &summary)
    {
        QFile file(folder + u"bench-%1.ics"_s.arg(i));
        if (!file.open(QIODevice::WriteOnly) || file.write(eventText(i, summary).toUtf8()) < 0)
            qFatal("cannot seed %s", qPrintable(file.fileName()));
    }

    void runOnce()
    {
        const Calendar calendar = *store->state->calendars()->getById(store->calendar.id);
        CalDavSyncClient sync(store->state.get());
        bool done = false;
        QObject::connect(&sync, &CalDavSyncClient::calendarSyncCompleted, [&done] { done = true; });
        QObject::connect(&sync, &CalDavSyncClient::calendarSyncFailed, &sync,
                         [](const QString &, const SyncResult &result) {
            qFatal("%s", qPrintable(result.describe()));
        });
        sync.syncCalendar(calendar, u"bench"_s, u"pw"_s, {});
        if (!QTest::qWaitFor([&done] { return done; }, 120000))
            qFatal("run did not end");
    }
};

void unchangedRun(benchmark::State &state)
{
    const bool lostMarkers = state.range(1) != 0;
    SeededServer server(int(state.range(0)));
    Store &store = *server.store;
    int written = 0;
    for (auto _ : state) {
        if (lostMarkers) {
            state.PauseTiming();
            Calendar calendar = *store.state->calendars()->getById(store.calendar.id);
            calendar.ctag.clear();
            calendar.sync_token.clear();
            store.state->calendars()->update(calendar);
            state.ResumeTiming();
        }
        const int before = store.totalChanges();
        server.runOnce();
        written = store.totalChanges() - before - (lostMarkers ? 1 : 0); // the markers written back
    }
    state.counters["rows_written"] = written;
}
BENCHMARK(unchangedRun)->Args({5000, 0})->Args({5000, 1})->Unit(benchmark::kMillisecond)->Iterations(3);

void changedOnServerRun(benchmark::State &state)
{
    const int changed = int(state.range(1));
    SeededServer server(int(state.range(0)));
    int round = 0;
    int stored = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // Every 100th object, edited by another device.
        ++round;
        for (int i = 0; i < changed; ++i)
            server.write(i * 100, u"Round %1"_s.arg(round));
        state.ResumeTiming();
        server.runOnce();
        state.PauseTiming();
        const Event event = *server.store->state->events()->getByUid(u"bench-0"_s, server.store->calendar.id);
        stored = event.title == u"Round %1 0"_s.arg(round) ? changed : -1;
        state.ResumeTiming();
    }
    state.counters["objects_stored"] = stored;
}
BENCHMARK(changedOnServerRun)->Args({5000, 50})->Unit(benchmark::kMillisecond)->Iterations(3);

// A run whose event listing never ends (Radicale behind a proxy that
// streams it): the time until the run fails at the multistatus bound, the
// process's peak memory during it (VmHWM, reset first) and what was sent.
void endlessListing(benchmark::State &state)
{
    RadicaleServer radicale{RadicaleServer::Options{u"bench"_s, u"pw"_s, {}, {}}};
    if (!radicale.start())
        qFatal("%s", qPrintable(radicale.errorString()));
    FaultProxy proxy(radicale.baseUrl());
    if (!proxy.start())
        qFatal("no proxy");
    proxy.addRule("REPORT", {}, "calendar-query", FaultProxy::Fault::Endless);
    CalDavClient client;
    client.setCredentials(u"bench"_s, u"pw"_s);
    bool made = false;
    client.mkcalendar(radicale.url(u"/bench/endless/"_s), CalDavXml::mkcalendarBody(u"Endless"_s, {}, {}),
                      [&made](const CalDavClient::Response &r) { made = r.isSuccess(); });
    if (!QTest::qWaitFor([&made] { return made; }, 10000))
        qFatal("no collection");
    Store store(proxy.url(u"/bench/endless/"_s));
    qint64 peakKb = 0;
    for (auto _ : state) {
        PeakMemory::reset();
        CalDavSyncClient sync(store.state.get());
        std::optional<SyncResult> failed;
        QObject::connect(&sync, &CalDavSyncClient::calendarSyncFailed, &sync,
                         [&failed](const QString &, const SyncResult &result) { failed = result; });
        sync.syncCalendar(store.calendar, u"bench"_s, u"pw"_s, {});
        if (!QTest::qWaitFor([&failed] { return failed.has_value(); }, 120000)
            || failed->kind != SyncResult::Kind::TooLarge)
            qFatal("the run was not cut off");
        peakKb = PeakMemory::statusKilobytes("VmHWM:");
    }
    state.counters["peak_RSS_MB"] = double(peakKb) / 1024;
    state.counters["streamed_MB"] = double(proxy.streamed()) / double(state.iterations()) / (1024 * 1024);
}
BENCHMARK(endlessListing)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    BenchRunner::quietSync();
    return BenchRunner::run<QCoreApplication>(argc, argv);
}
