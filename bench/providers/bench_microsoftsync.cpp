// Run with the offscreen platform: QT_QPA_PLATFORM=offscreen ./bench_microsoftsync
//
// Each is applied as the sync client does, on a thread of its own in one
// transaction; max_stall_ms is the longest the event loop went without
// turning meanwhile.
//
//   applyDelta/5000/0    a first delta of 5,000 new events into an empty
//                        calendar
//   applyDelta/5000/1    a delta changing every one of those 5,000 events
//   applyDelta/5000/2    a delta removing all 5,000
//   applyDelta/5000/3    a delta moving every one of them a day later (their
//                        reminders' triggers with them)
//   applyCalendarView/200
//                        a first round over a calendar view of two years
//                        holding 200 weekly series (about 21,000 occurrences),
//                        their masters read
#include "accountrepository.h"
#include "appstate.h"
#include "benchrunner.h"
#include "calendarrepository.h"
#include "database.h"
#include "microsofteventstore.h"
#include "providerapplyjob.h"
#include "stallmeter.h"
#include "storetransaction.h"
#include "tempappstate.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTimeZone>

#include <benchmark/benchmark.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

QJsonObject graphEvent(int i, const QString &subject, int daysLater = 0)
{
    const QDateTime start =
        QDateTime(QDate(2026, 3, 2), QTime(8, 0), QTimeZone::utc()).addSecs(qint64(i) * 3600).addDays(daysLater);
    const auto at = [](const QDateTime &t) {
        return QJsonObject{{"dateTime"_L1, t.toString(u"yyyy-MM-ddTHH:mm:ss.0000000"_s)}, {"timeZone"_L1, u"UTC"_s}};
    };
    return QJsonObject{{"id"_L1, u"AAMk-%1"_s.arg(i)},
                       {"changeKey"_L1, u"ck-%1-%2"_s.arg(i).arg(subject)},
                       {"subject"_L1, u"%1 %2"_s.arg(subject).arg(i)},
                       {"body"_L1, QJsonObject{{"contentType"_L1, u"html"_s}, {"content"_L1, u"<p>Agenda</p>"_s}}},
                       {"location"_L1, QJsonObject{{"displayName"_L1, u"Room %1"_s.arg(i % 40)}}},
                       {"start"_L1, at(start)},
                       {"end"_L1, at(start.addSecs(1800))},
                       {"isReminderOn"_L1, true},
                       {"reminderMinutesBeforeStart"_L1, 15},
                       {"lastModifiedDateTime"_L1, u"2026-03-01T09:00:00.0000000Z"_s}};
}

QList<QJsonObject> delta(int count, const QString &subject, int daysLater = 0)
{
    QList<QJsonObject> out;
    out.reserve(count);
    for (int i = 0; i < count; ++i)
        out.append(graphEvent(i, subject, daysLater));
    return out;
}

QList<QJsonObject> removals(int count)
{
    QList<QJsonObject> out;
    out.reserve(count);
    for (int i = 0; i < count; ++i)
        out.append(
            QJsonObject{{"id"_L1, u"AAMk-%1"_s.arg(i)}, {"@removed"_L1, QJsonObject{{"reason"_L1, u"deleted"_s}}}});
    return out;
}

// An AppState over a temporary data directory, with one Microsoft calendar.
struct Store : TempAppState
{
    QString calendarId = u"ms-calendar"_s;

    Store()
    {
        const QDateTime now = QDateTime::currentDateTimeUtc();
        Account account;
        account.id = u"ms-account"_s;
        account.name = u"Work"_s;
        account.type = u"microsoft"_s;
        account.created_at = account.updated_at = now;
        Calendar calendar;
        calendar.id = calendarId;
        calendar.account_id = account.id;
        calendar.url = u"AAMkTeam"_s;
        calendar.name = u"Team"_s;
        calendar.sync_enabled = true;
        calendar.created_at = calendar.updated_at = now;
        if (!state->accounts()->insert(account) || !state->calendars()->insert(calendar))
            qFatal("calendar not stored");
    }
};

// Runs `work` on a job's thread while this thread's event loop turns; the
// longest this thread went without turning goes to `stall`.
ProviderApplyJob::Outcome onJob(AppState *app, ProviderApplyJob::Access access, ProviderApplyJob::Work work,
                                qint64 &stall)
{
    ProviderApplyJob job(app->database()->fileName(), access, std::move(work));
    ProviderApplyJob::Outcome outcome;
    QEventLoop loop;
    QObject::connect(&job, &ProviderApplyJob::finished, &loop, [&](const ProviderApplyJob::Outcome &done) {
        outcome = done;
        loop.quit();
    });
    StallMeter stalls;
    job.start();
    loop.exec();
    stall = std::max(stall, stalls.longestMs());
    return outcome;
}

// One round applied as the sync client applies it.
ProviderApplyJob::Outcome applyRound(AppState *app, const QString &calendarId, const QList<QJsonObject> &items,
                                     const QList<QJsonObject> &masters, qint64 &stall)
{
    return onJob(
        app, ProviderApplyJob::Access::Write,
        [&](const ProviderStore &store, ProviderApplyJob::Outcome &outcome, const std::atomic<bool> &) {
        outcome.failed = Microsoft::EventStore(store, calendarId).apply(items, masters, {}).failed;
        },
        stall);
}

void applyDelta(benchmark::State &state)
{
    const int count = int(state.range(0));
    const int kind = int(state.range(1));
    const QList<QJsonObject> fresh = delta(count, u"Meeting"_s);
    const QList<QJsonObject> changed = delta(count, u"Renamed"_s);
    const QList<QJsonObject> moved = delta(count, u"Moved"_s, 1);
    const QList<QJsonObject> gone = removals(count);
    int failed = 0;
    qint64 stall = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto store = std::make_unique<Store>();
        if (kind > 0) {
            StoreTransaction transaction(store->state->database());
            Microsoft::EventStore(store->state.get(), store->calendarId).apply(fresh, {}, {});
            transaction.keep();
        }
        state.ResumeTiming();
        const QList<QJsonObject> &items = kind == 0 ? fresh : kind == 1 ? changed : kind == 2 ? gone : moved;
        failed += applyRound(store->state.get(), store->calendarId, items, {}, stall).failed;
        state.PauseTiming();
        store.reset();
        state.ResumeTiming();
    }
    state.counters["failed"] = failed;
    state.counters["max_stall_ms"] = double(stall);
    state.counters["target_stall_ms"] = 16;
    // Changed events cost no more than new ones: both within 0.4 s.
    BenchRunner::target(state, kind == 2 ? 100 : 400);
}
BENCHMARK(applyDelta)
    ->Args({5000, 0})
    ->Args({5000, 1})
    ->Args({5000, 2})
    ->Args({5000, 3})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// Weekly series begun a year before the window, and each one's occurrences
// over the two years of the view, as Graph lists them.
struct CalendarView
{
    QList<QJsonObject> masters;
    QList<QJsonObject> instances;
};

CalendarView calendarView(int series)
{
    CalendarView out;
    const QDateTime windowStart(QDate(2026, 1, 5), QTime(0, 0), QTimeZone::utc());
    const auto at = [](const QDateTime &t) {
        return QJsonObject{{"dateTime"_L1, t.toString(u"yyyy-MM-ddTHH:mm:ss.0000000"_s)}, {"timeZone"_L1, u"UTC"_s}};
    };
    for (int s = 0; s < series; ++s) {
        const QString id = u"AAMk-series-%1"_s.arg(s);
        const QDateTime first = windowStart.addDays(-364 + s % 7).addSecs(3600 * (7 + s % 10));
        QJsonObject master = graphEvent(s, u"Weekly"_s);
        master.insert("id"_L1, id);
        master.insert("type"_L1, u"seriesMaster"_s);
        master.insert("start"_L1, at(first));
        master.insert("end"_L1, at(first.addSecs(1800)));
        master.insert("originalStartTimeZone"_L1, u"W. Europe Standard Time"_s);
        master.insert("recurrence"_L1,
                      QJsonObject{{"pattern"_L1,
                                   QJsonObject{{"type"_L1, u"weekly"_s},
                                               {"interval"_L1, 1},
                                               {"daysOfWeek"_L1, QJsonArray{u"monday"_s}}}},
                                  {"range"_L1,
                                   QJsonObject{{"type"_L1, u"noEnd"_s},
                                               {"startDate"_L1, first.date().toString(Qt::ISODate)},
                                               {"recurrenceTimeZone"_L1, u"UTC"_s}}}});
        out.masters.append(master);
        for (QDateTime start = first; start < windowStart.addYears(2); start = start.addDays(7)) {
            if (start < windowStart)
                continue;
            QJsonObject occurrence = master;
            occurrence.remove("recurrence"_L1);
            occurrence.insert("id"_L1, u"%1-%2"_s.arg(id, start.toString(u"yyyyMMdd"_s)));
            occurrence.insert("type"_L1, u"occurrence"_s);
            occurrence.insert("seriesMasterId"_L1, id);
            occurrence.insert("originalStart"_L1, start.toString(u"yyyy-MM-ddTHH:mm:ssZ"_s));
            occurrence.insert("start"_L1, at(start));
            occurrence.insert("end"_L1, at(start.addSecs(1800)));
            out.instances.append(occurrence);
        }
    }
    return out;
}

void applyCalendarView(benchmark::State &state)
{
    const CalendarView view = calendarView(int(state.range(0)));
    int failed = 0;
    qint64 stall = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto store = std::make_unique<Store>();
        state.ResumeTiming();
        AppState *app = store->state.get();
        QStringList series;
        onJob(
            app, ProviderApplyJob::Access::Read,
            [&](const ProviderStore &rows, ProviderApplyJob::Outcome &, const std::atomic<bool> &) {
            series = Microsoft::EventStore(rows, store->calendarId).seriesToRead(view.instances);
            },
            stall);
        if (series.size() != view.masters.size())
            ++failed;
        failed += applyRound(app, store->calendarId, view.instances, view.masters, stall).failed;
        state.PauseTiming();
        store.reset();
        state.ResumeTiming();
    }
    state.counters["failed"] = failed;
    state.counters["instances"] = double(view.instances.size());
    state.counters["max_stall_ms"] = double(stall);
}
BENCHMARK(applyCalendarView)->Arg(200)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char **argv)
{
    BenchRunner::quietSync();
    return BenchRunner::run<QCoreApplication>(argc, argv);
}
