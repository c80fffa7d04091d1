// The store at 10k, 200k and 1M generated events (bench/support/
// generatedstore.h, kept under the build folder): the month a view reads,
// warm and right after a write to an event, the week view's data load
// (range read, expansion, filters) and the due-reminders statement. Each row
// prints its target beside the time; the month's rows show that its cost
// grows with what it returns, not with the store.

#include "benchrunner.h"
#include "filterengine.h"
#include "generatedstore.h"
#include "recurrence.h"
#include "reminderrepository.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QSqlQuery>

namespace {

std::unique_ptr<GeneratedStore::Store> current;
int currentCount = 0;

GeneratedStore::Store &store(int count)
{
    if (!current || currentCount != count) {
        current.reset();
        current = std::make_unique<GeneratedStore::Store>(count);
        currentCount = count;
    }
    return *current;
}

// The windows open on the first Monday of the month the events surround.
QDate firstMonday()
{
    QDate day = GeneratedStore::anchor();
    while (day.dayOfWeek() != Qt::Monday)
        day = day.addDays(1);
    return day;
}

// A write to one of the window's own events, as a save from the view.
void touchEvent(GeneratedStore::Store &data, const QDateTime &from, const QDateTime &to)
{
    QSqlQuery touch(data.database().database());
    touch.prepare(QStringLiteral("UPDATE events SET etag = etag WHERE rowid = (SELECT rowid FROM events "
                                 "WHERE start_time >= ? AND start_time < ? AND recurrence_rule IS NULL LIMIT 1)"));
    touch.addBindValue(from.toUTC().toString(Qt::ISODate));
    touch.addBindValue(to.toUTC().toString(Qt::ISODate));
    if (!touch.exec() || touch.numRowsAffected() != 1)
        qFatal("benchmark write failed");
}

// events, write (1: one of the window's events is written before each read,
// as after a save; 0: warm), view (1: the light rows a view reads; 0: full
// records).
void BM_Month(benchmark::State &state)
{
    GeneratedStore::Store &data = store(int(state.range(0)));
    const QDateTime from = firstMonday().startOfDay();
    const QDateTime to = from.addMonths(1);
    const bool afterWrite = state.range(1) != 0;
    const bool view = state.range(2) != 0;
    qsizetype rows = 0;
    data.events().getInRange(from, to);
    for (auto _ : state) {
        if (afterWrite) {
            state.PauseTiming();
            touchEvent(data, from, to);
            state.ResumeTiming();
        }
        const QList<Event> events = view ? data.events().getViewRowsInRange(from, to)
                                         : data.events().getInRange(from, to);
        rows = events.size();
        benchmark::DoNotOptimize(events.constData());
    }
    state.counters["rows"] = double(rows);
    // The growth from 10k to 1M: this stays flat while the cost grows with
    // the rows returned, not with the store.
    state.counters["per_row"] =
        benchmark::Counter(double(rows), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    BenchRunner::target(state, 5);
}
BENCHMARK(BM_Month)
    ->ArgNames({"events", "write", "view"})
    ->Apply([](benchmark::internal::Benchmark *b) {
        for (const int events : {10000, 200000, 1000000}) {
            for (const int view : {0, 1}) {
                b->Args({events, 0, view});
                b->Args({events, 1, view});
            }
        }
    })
    ->Unit(benchmark::kMillisecond);

// A month not read before, as when a view moves to it: four months in turn,
// more than the windows the store keeps.
void BM_MonthUnread(benchmark::State &state)
{
    GeneratedStore::Store &data = store(int(state.range(0)));
    const QDateTime first = firstMonday().startOfDay();
    int month = 0;
    for (auto _ : state) {
        const QDateTime from = first.addMonths(month);
        month = (month + 1) % 4;
        const QList<Event> events = data.events().getViewRowsInRange(from, from.addMonths(1));
        benchmark::DoNotOptimize(events.constData());
    }
}
BENCHMARK(BM_MonthUnread)->ArgName("events")->Arg(10000)->Arg(200000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// What the week view loads: the range read over its calendars, the
// expansion and the filters (none enabled). events, write (0: a week not
// shown before, four weeks in turn, more than the windows the store keeps;
// 1: the same week after a write to one of its events, as after a save).
void BM_WeekViewLoad(benchmark::State &state)
{
    GeneratedStore::Store &data = store(int(state.range(0)));
    const bool afterWrite = state.range(1) != 0;
    qsizetype shown = 0;
    int week = 0;
    for (auto _ : state) {
        const QDateTime from = firstMonday().addDays(7 * week).startOfDay();
        const QDateTime to = from.addDays(7);
        if (afterWrite) {
            state.PauseTiming();
            touchEvent(data, from, to);
            state.ResumeTiming();
        } else {
            week = (week + 1) % 4;
        }
        // As the week list loads: light rows, light occurrences.
        const QList<Event> rows = data.events().getViewRowsInRange(from, to, GeneratedStore::calendars());
        const OccurrenceFilterOutcome outcome =
            FilterEngine::applyToOccurrences(Recurrence::expandOccurrences(rows, from, to), {});
        shown = outcome.occurrences.size();
        benchmark::DoNotOptimize(outcome.occurrences.constData());
    }
    state.counters["shown"] = double(shown);
    BenchRunner::target(state, 16);
}
BENCHMARK(BM_WeekViewLoad)
    ->ArgNames({"events", "write"})
    ->ArgsProduct({{10000, 200000, 1000000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// The same with full records and occurrences copied from them, as views
// loaded before: the figure to compare.
void BM_WeekViewLoadRecords(benchmark::State &state)
{
    GeneratedStore::Store &data = store(int(state.range(0)));
    const QDateTime from = firstMonday().startOfDay();
    const QDateTime to = from.addDays(7);
    qsizetype shown = 0;
    for (auto _ : state) {
        const QList<Event> rows = data.events().getInRange(from, to, GeneratedStore::calendars());
        const FilterOutcome outcome = FilterEngine::apply(Recurrence::expandEvents(rows, from, to), {});
        shown = outcome.events.size();
        benchmark::DoNotOptimize(outcome.events.constData());
    }
    state.counters["shown"] = double(shown);
}
BENCHMARK(BM_WeekViewLoadRecords)
    ->ArgName("events")
    ->Arg(10000)
    ->Arg(200000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);

// The statement the reminder poll asks for due reminders, at 9:30 on the
// first Monday: every reminder of the three years before was never shown.
void BM_DueReminders(benchmark::State &state)
{
    GeneratedStore::Store &data = store(int(state.range(0)));
    const QDateTime now(firstMonday(), QTime(9, 30));
    const ReminderRepository reminders(&data.database());
    qsizetype due = 0;
    for (auto _ : state) {
        const auto rows = reminders.unacknowledged(now.addSecs(-3600), now);
        due = rows.size();
        benchmark::DoNotOptimize(rows.constData());
    }
    state.counters["due"] = double(due);
    BenchRunner::target(state, 2);
}
BENCHMARK(BM_DueReminders)->ArgName("events")->Arg(10000)->Arg(200000)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_LOGGING_RULES", "calendar.store.info=false");
    // The repository's change timer needs an application object.
    return BenchRunner::run<QCoreApplication>(argc, argv, [] { current.reset(); });
}
