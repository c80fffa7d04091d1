// The tray's question, "what is on today and tomorrow", against a store of
// 10,000 events (2% of them repeating) spread over two years, with three
// enabled filter rules. Each call runs the range query, the expansion and
// the filters anew, as the tray does on its timers. Also the reminder poll
// that runs every 30 s over the same store, where every fifth event has a
// reminder and those of the past year were never shown (synced in, or the
// program was not running). And the poll over a store where 3,000 of the
// 10,000 events repeat, each with a reminder that fires per occurrence.
#include "appstate.h"
#include "benchrunner.h"
#include "database.h"
#include "eventrepository.h"
#include "icalendar.h"
#include "notificationservice.h"
#include "seededstate.h"
#include "upcomingoccurrences.h"

#include <QApplication>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QDateTime kNow(QDate(2024, 6, 12), QTime(9, 30));
constexpr int kCalendars = 5;

// Every 50th event repeats (`repeatingPerMille` 20), or as many per
// thousand as asked: daily, weekly or monthly, from before the window.
std::unique_ptr<SeededState> seed(int count, int repeatingPerMille)
{
    auto seeded = startSeededState(kCalendars);
    AppState *state = seeded->state.get();
    exec(
        state,
        u"INSERT INTO filter_rules (id, name, type, conditions, action) VALUES "
        "('r1', 'Lunch', 'pattern', '{\"runtimeType\":\"pattern\",\"titleContains\":[\"lunch\"]}', 'hide'),"
        "('r2', 'Early', 'time', '{\"runtimeType\":\"time\",\"timeRange\":{\"start\":\"06:00\",\"end\":\"07:00\"}}', 'dim'),"
        "('r3', 'All day', 'all_day', '{\"runtimeType\":\"allDay\",\"recurringOnly\":true}', 'hide')"_s);

    static const QStringList rules = {u"FREQ=DAILY"_s, u"FREQ=WEEKLY;BYDAY=MO,WE,FR"_s, u"FREQ=MONTHLY"_s};
    QRandomGenerator random(42);
    state->database()->database().transaction();
    for (int i = 0; i < count; ++i) {
        const QDate day = kNow.date().addDays(int(random.bounded(730)) - 365);
        Event e = seededEvent(i, kCalendars, day, random);
        const bool repeating = repeatingPerMille == 20 ? i % 50 == 0 : i % 1000 < repeatingPerMille;
        if (repeating) {
            e.recurrence_rule = rules.at((i / 50) % rules.size());
            e.start_time = e.start_time.addDays(-400);
            e.end_time = e.end_time->addDays(-400);
        } else if (i % 17 == 0) {
            e.is_all_day = true;
            e.start_time = QDateTime(day, QTime(0, 0), Qt::UTC);
            e.end_time = e.start_time.addDays(1);
        }
        if (i % 5 == 0 || (repeating && repeatingPerMille != 20)) {
            Reminder reminder;
            reminder.minutes_before = 15;
            e.reminders = {reminder};
        }
        insertSeeded(state, e, kNow.toUTC());
    }
    state->database()->database().commit();
    return seeded;
}

// One seeded store per size for the whole run (only one database may be
// open); main() closes it while the application still exists.
std::unique_ptr<SeededState> runSeed;

AppState *seededState(int count, int repeatingPerMille = 20)
{
    static std::pair<int, int> seededAs{-1, -1};
    if (seededAs != std::pair(count, repeatingPerMille)) {
        runSeed.reset();
        runSeed = seed(count, repeatingPerMille);
        seededAs = {count, repeatingPerMille};
    }
    return runSeed->state.get();
}

void upcoming(benchmark::State &benchState)
{
    AppState *state = seededState(int(benchState.range(0)));
    qsizetype listed = 0;
    for (auto _ : benchState) {
        const QList<Event> occurrences = upcomingOccurrences(state, kNow);
        listed = occurrences.size();
        benchmark::DoNotOptimize(occurrences);
    }
    benchState.counters["listed"] = double(listed);
}

// The range query alone, for comparison: what the store contributes.
void rangeQueryOnly(benchmark::State &benchState)
{
    AppState *state = seededState(int(benchState.range(0)));
    const QStringList ids = upcomingCalendarIds(state);
    const QDateTime from = kNow.date().startOfDay();
    const QDateTime to(kNow.date().addDays(1), QTime(23, 59, 59));
    qsizetype rows = 0;
    for (auto _ : benchState) {
        const QList<Event> events = state->events()->getInRange(from, to, ids);
        rows = events.size();
        benchmark::DoNotOptimize(events);
    }
    benchState.counters["rows"] = double(rows);
}

// One poll with nothing due: the steady cost the GUI thread pays every 30 s.
void reminderPoll(benchmark::State &benchState)
{
    AppState *state = seededState(int(benchState.range(0)));
    NotificationService service(state, nullptr);
    service.setClock([] { return kNow; });
    service.poll(); // presents and acknowledges what is due now
    for (auto _ : benchState)
        benchmark::DoNotOptimize(service.poll());
    BenchRunner::target(benchState, 10);
}

// The poll over 10,000 events of which 3,000 repeat with a reminder each,
// polled every 30 s of a working day: the steady cost, and the poll that
// follows a change to an event, which expands the series again.
void reminderPollSeries(benchmark::State &benchState)
{
    AppState *state = seededState(10000, 300);
    const bool afterChange = benchState.range(0) != 0;
    NotificationService service(state, nullptr);
    QDateTime now = kNow;
    service.setClock([&now] { return now; });
    service.poll();
    qsizetype shown = 0;
    int step = 0;
    for (auto _ : benchState) {
        now = kNow.addSecs(30 * (++step % 960));
        if (afterChange) {
            benchState.PauseTiming();
            exec(state, u"UPDATE events SET sequence = sequence + 1 WHERE id = 'ev-1'"_s);
            benchState.ResumeTiming();
        }
        shown += service.poll().size();
    }
    benchState.counters["shown"] = double(shown);
    BenchRunner::target(benchState, 10);
}

BENCHMARK(upcoming)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(rangeQueryOnly)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(reminderPoll)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(reminderPollSeries)->ArgName("afterChange")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(BenchRunner::quietInfo);
    // The state applies the theme, which needs a widget application.
    return BenchRunner::run<QApplication>(argc, argv, [] { runSeed.reset(); });
}
