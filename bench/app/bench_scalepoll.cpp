// The reminder poll over the generated stores (bench/support/
// generatedstore.h): the steady poll every 30 s, the first poll after start
// (nothing kept yet) and the poll after an edit of one event, at 100k and
// 200k events, at 9:30 on the first Monday of the month the events surround,
// where every reminder of the three years before was never shown. Each row
// prints its target beside the time.

#include "appstate.h"
#include "benchrunner.h"
#include "generatedstore.h"
#include "notificationservice.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <memory>

namespace {

QDateTime pollTime()
{
    QDate day = GeneratedStore::anchor();
    while (day.dayOfWeek() != Qt::Monday)
        day = day.addDays(1);
    return QDateTime(day, QTime(9, 30));
}

// A started state over a copy of the generated store of `count` events.
struct CopiedState
{
    QTemporaryDir dir;
    std::unique_ptr<AppState> state;

    explicit CopiedState(int count)
    {
        QString source;
        {
            // Generated (once) and closed again before the copy.
            GeneratedStore::Store generated(count);
            source = generated.path();
        }
        const QString data = dir.filePath(QStringLiteral("data"));
        QDir().mkpath(data);
        if (!QFile::copy(source, data + QStringLiteral("/calendar.db")))
            qFatal("cannot copy the generated store");
        qputenv("CALENDAR_DATA_DIR", data.toUtf8());
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("xdg")).toUtf8());
        state = std::make_unique<AppState>();
        if (!state->initialize())
            qFatal("cannot open the copied store");
    }
};

std::unique_ptr<CopiedState> current;
int currentCount = 0;

AppState *copiedState(int count, bool fresh = false)
{
    if (fresh || !current || currentCount != count) {
        current.reset();
        current = std::make_unique<CopiedState>(count);
        currentCount = count;
    }
    return current->state.get();
}

enum class Poll { Steady, First, AfterEdit };

// events, poll kind.
void BM_ReminderPoll(benchmark::State &state)
{
    const int count = int(state.range(0));
    const auto kind = Poll(state.range(1));
    const QDateTime now = pollTime();
    std::unique_ptr<NotificationService> service;
    qsizetype shown = 0;
    for (auto _ : state) {
        if (kind == Poll::First || !service) {
            // A new service over a store whose due reminders were never
            // shown: what the poll meets after the program starts.
            state.PauseTiming();
            service.reset();
            AppState *appState = copiedState(count, kind == Poll::First);
            service = std::make_unique<NotificationService>(appState, nullptr);
            service->setClock([now] { return now; });
            if (kind != Poll::First)
                service->poll();
            state.ResumeTiming();
        }
        if (kind == Poll::AfterEdit) {
            state.PauseTiming();
            QSqlQuery edit(current->state->database()->database());
            if (!edit.exec(QStringLiteral("UPDATE events SET sequence = sequence + 1 WHERE rowid = 1")))
                qFatal("benchmark write failed");
            state.ResumeTiming();
        }
        shown = service->poll().size();
    }
    state.counters["shown"] = double(shown);
    BenchRunner::target(state, 10);
    service.reset();
}
BENCHMARK(BM_ReminderPoll)
    ->ArgNames({"events", "poll"})
    ->Args({100000, int(Poll::Steady)})
    ->Args({100000, int(Poll::AfterEdit)})
    ->Args({200000, int(Poll::Steady)})
    ->Args({200000, int(Poll::AfterEdit)})
    ->Args({200000, int(Poll::First)})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(BenchRunner::quietInfo);
    // The state applies the theme, which needs a widget application.
    return BenchRunner::run<QApplication>(argc, argv, [] { current.reset(); });
}
