// Start-up from the program's point of view: open and migrate the database,
// build the state with every repository and service, build the main window
// (the week's agenda queries, expands and filters the current week) and show
// it until it is exposed. Process creation and the Qt platform's own start
// are not part of it. Stores: empty, and 10,000 events over two years around
// today (2% repeating) in five calendars, so the shown week lists about a
// hundred occurrences; and the generated store of 200,000 around today.
#include "appstate.h"
#include "benchrunner.h"
#include "database.h"
#include "eventrepository.h"
#include "generatedstore.h"
#include "icalendar.h"
#include "mainwindow.h"
#include "seededstate.h"
#include "weekagenda.h"

#include <QApplication>
#include <QListWidget>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

constexpr int kCalendars = 5;

void seed(AppState *state, int count)
{
    seedCalendars(state, kCalendars);
    static const QStringList rules = {u"FREQ=DAILY"_s, u"FREQ=WEEKLY;BYDAY=MO,WE,FR"_s, u"FREQ=MONTHLY"_s};
    const QDate today = QDate::currentDate();
    QRandomGenerator random(7);
    state->database()->database().transaction();
    for (int i = 0; i < count; ++i) {
        Event e;
        e.id = e.uid = u"ev-%1"_s.arg(i);
        e.calendar_id = u"cal%1"_s.arg(i % kCalendars);
        e.title = u"Event %1"_s.arg(i);
        const QDate day = today.addDays(int(random.bounded(730)) - 365);
        e.start_time = QDateTime(day, QTime(7 + int(random.bounded(12)), 15 * int(random.bounded(4))));
        e.end_time = e.start_time.addSecs(3600);
        if (i % 50 == 0)
            e.recurrence_rule = rules.at((i / 50) % rules.size());
        insertSeeded(state, e, QDateTime::currentDateTimeUtc());
    }
    state->database()->database().commit();
}

// One data folder per size, seeded once, reused by every iteration.
QString dataFolder(int count)
{
    static std::map<int, std::unique_ptr<QTemporaryDir>> folders;
    auto &folder = folders[count];
    if (!folder && count >= 100000) {
        // The generated store of that size, around the current month.
        folder = std::make_unique<QTemporaryDir>();
        QString path;
        {
            const GeneratedStore::Store store(count);
            path = store.path();
        }
        QDir().mkpath(folder->filePath(u"data"_s));
        if (!QFile::copy(path, folder->filePath(u"data/calendar.db"_s)))
            qFatal("cannot copy the generated store");
    }
    if (!folder) {
        folder = std::make_unique<QTemporaryDir>();
        qputenv("CALENDAR_DATA_DIR", folder->filePath(u"data"_s).toUtf8());
        AppState state;
        if (!state.initialize())
            qFatal("cannot open the database");
        seed(&state, count);
    }
    return folder->filePath(u"data"_s);
}

// To the window exposed, and with `listed` on until the week's rows are in
// its list too (the window is drawn before they are read).
void startUpTo(benchmark::State &benchState, bool listed)
{
    qputenv("CALENDAR_DATA_DIR", dataFolder(int(benchState.range(0))).toUtf8());
    for (auto _ : benchState) {
        auto state = std::make_unique<AppState>();
        if (!state->initialize())
            qFatal("cannot open the database");
        auto window = std::make_unique<MainWindow>(state.get());
        window->show();
        while (!window->windowHandle() || !window->windowHandle()->isExposed())
            QCoreApplication::processEvents();
        // The agenda's own list, asked for without making it load.
        const auto *agenda = window->findChild<WeekAgenda *>();
        const auto *list = agenda ? agenda->findChild<QListWidget *>() : nullptr;
        while (listed && list && list->count() == 0)
            QCoreApplication::processEvents();

        benchState.PauseTiming();
        if (agenda)
            benchState.counters["rows"] = agenda->list()->count();
        window.reset();
        state.reset();
        benchState.ResumeTiming();
    }
    BenchRunner::target(benchState, 100);
}

void startUp(benchmark::State &benchState)
{
    startUpTo(benchState, false);
}

void startUpListed(benchmark::State &benchState)
{
    startUpTo(benchState, true);
}

BENCHMARK(startUp)->Arg(0)->Arg(10000)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(startUpListed)->Arg(10000)->Arg(200000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(BenchRunner::quietInfo);
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.filePath(u"xdg"_s).toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(u"config"_s).toUtf8());
    qputenv("SYNC_API_URL", "http://127.0.0.1:9/calendar/v1");
    return BenchRunner::run<QApplication>(argc, argv);
}
