// The week list as the user waits for it: the week agenda of the main window
// over the generated store of 200,000 events (bench/support/generatedstore.h),
// with four filter rules on (a phrase, a time range, all-day rows and one
// named event), built with its rows, icons and layout and painted once.
// week (0: a week not shown before, four weeks in turn, more than the
// windows the store keeps, as paging or a new current date; 1: the same week
// after a write to one of its events, as after a save; never_listed: a week
// the list has not shown yet, each in turn over three years). Such a week is
// read on a thread of its own; one listed before, light and barely changed
// since, at once. The time is until its rows are drawn, and
// `longest_turn_ms` the longest the GUI thread was held at a time meanwhile.
// Target: one frame.
#include "appstate.h"
#include "benchrunner.h"
#include "filterrulerepository.h"
#include "generatedstore.h"
#include "stallmeter.h"
#include "weekagenda.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

struct Seeded
{
    QTemporaryDir dir;
    std::unique_ptr<AppState> state;
};

std::unique_ptr<Seeded> seeded;

FilterRule rule(const QString &id, int priority, const QString &action, const QString &conditions)
{
    FilterRule r;
    r.id = r.name = id;
    r.priority = priority;
    r.enabled = true;
    r.action = action;
    r.conditions = conditions;
    r.calendar_ids = u"[]"_s;
    r.created_at = r.updated_at = QDateTime::currentDateTimeUtc();
    return r;
}

// The generated store copied into a data folder of its own, opened as the
// program opens it, with the filter rules.
AppState *state()
{
    if (seeded)
        return seeded->state.get();
    seeded = std::make_unique<Seeded>();
    QString path;
    {
        const GeneratedStore::Store store(200000);
        path = store.path();
    }
    QDir().mkpath(seeded->dir.filePath(u"data"_s));
    if (!QFile::copy(path, seeded->dir.filePath(u"data/calendar.db"_s)))
        qFatal("cannot copy the generated store");
    qputenv("CALENDAR_DATA_DIR", seeded->dir.filePath(u"data"_s).toUtf8());
    qputenv("XDG_DATA_HOME", seeded->dir.filePath(u"xdg"_s).toUtf8());
    qputenv("XDG_CONFIG_HOME", seeded->dir.filePath(u"config"_s).toUtf8());
    seeded->state = std::make_unique<AppState>();
    AppState *state = seeded->state.get();
    if (!state->initialize())
        qFatal("cannot open the database");
    FilterRuleRepository *rules = state->filterRules();
    rules->insert(rule(u"standups"_s, 1, FilterAction::Dim,
                       uR"({"runtimeType":"pattern","titleContains":["standup"],"locationContains":["Room 7"]})"_s));
    rules->insert(rule(u"early"_s, 2, FilterAction::Dim,
                       uR"({"runtimeType":"time","timeRange":{"start":"06:00","end":"07:30"}})"_s));
    rules->insert(rule(u"all-day"_s, 3, FilterAction::Dim, uR"({"runtimeType":"allDay","recurringOnly":false})"_s));
    FilterRule named = rule(u"named"_s, 0, FilterAction::Hide, uR"({"runtimeType":"specific"})"_s);
    named.event_uid = u"ev-17@example.org"_s;
    named.event_calendar_id = u"cal-2"_s;
    rules->insert(named);
    return state;
}

QDate firstMonday()
{
    QDate day = GeneratedStore::anchor();
    while (day.dayOfWeek() != Qt::Monday)
        day = day.addDays(1);
    return day;
}

// A write to one of the week's own events, as a save from the list.
void touchEvent(AppState *state, const QDate &weekStart)
{
    QSqlQuery touch(state->database()->database());
    touch.prepare(u"UPDATE events SET etag = etag WHERE rowid = (SELECT rowid FROM events "
                  "WHERE start_time >= ? AND start_time < ? AND recurrence_rule IS NULL LIMIT 1)"_s);
    touch.addBindValue(weekStart.startOfDay().toUTC().toString(Qt::ISODate));
    touch.addBindValue(weekStart.addDays(7).startOfDay().toUTC().toString(Qt::ISODate));
    if (!touch.exec() || touch.numRowsAffected() != 1)
        qFatal("benchmark write failed");
}

void BM_WeekList(benchmark::State &benchState)
{
    AppState *app = state();
    const bool afterWrite = benchState.range(0) == 1;
    const bool unlisted = benchState.range(0) == 2;
    app->setCurrentDate(firstMonday());
    WeekAgenda agenda(app);
    agenda.resize(420, 900);
    agenda.show();
    QCoreApplication::processEvents();
    int week = 0;
    QElapsedTimer restTimer;
    double restMs = 0;
    bool shown = false;
    QObject::connect(&agenda, &WeekAgenda::weekShown, &agenda, [&shown] { shown = true; });
    qint64 longestTurnMs = 0;
    for (auto _ : benchState) {
        shown = false;
        std::optional<StallMeter> turns;
        if (afterWrite) {
            benchState.PauseTiming();
            touchEvent(app, agenda.weekStart());
            benchState.ResumeTiming();
            // The write's own commit (now and then a checkpoint) not counted.
            turns.emplace();
            agenda.reload();
        } else {
            week = (week + 1) % (unlisted ? 150 : 4);
            turns.emplace();
            // The agenda reloads on the signal.
            app->setCurrentDate(firstMonday().addDays(unlisted ? -7 * (week + 1) : 7 * week));
        }
        // Laid out and drawn: what the next frame shows.
        while (!shown)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::processEvents();
        agenda.repaint();
        // The rows below the window, laid out in the turns after it, are
        // counted apart (rest_ms): each of those turns is shorter.
        benchState.PauseTiming();
        restTimer.start();
        for (int turn = 0; turn < 20; ++turn)
            QCoreApplication::processEvents();
        restMs += restTimer.nsecsElapsed() / 1e6;
        longestTurnMs = std::max(longestTurnMs, turns->longestMs());
        benchState.ResumeTiming();
    }
    benchState.counters["rest_ms"] = restMs / double(benchState.iterations());
    qsizetype rows = 0;
    for (int i = 0; i < agenda.list()->count(); ++i)
        rows += agenda.list()->item(i)->data(Qt::UserRole).toString().isEmpty() ? 0 : 1;
    benchState.counters["rows"] = double(rows);
    benchState.counters["longest_turn_ms"] = double(longestTurnMs);
    BenchRunner::target(benchState, 16);
}
BENCHMARK(BM_WeekList)->ArgName("write")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WeekList)->ArgName("never_listed")->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(BenchRunner::quietInfo);
    return BenchRunner::run<QApplication>(argc, argv, [] { seeded.reset(); });
}
