// The reminder poll over the generated stores (bench/support/
// generatedstore.h): the steady poll every 30 s, the first poll after start
// (nothing kept yet) and the poll after an edit of one event, at 100k and
// 200k events, at 9:30 on the first Monday of the month the events surround,
// where every reminder of the three years before was never shown. Each row
// prints its target beside the time. The third argument adds that many
// weekly series with a reminder each (the generated stores hold a few
// hundred), as a user with years of standing meetings has.

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

    explicit CopiedState(int count, int series)
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
        if (series > 0)
            addRemindingSeries(series);
    }

    void addRemindingSeries(int series)
    {
        QSqlQuery add(state->database()->database());
        const QString start = QDateTime(GeneratedStore::anchor().addYears(-2), QTime(8, 0), Qt::UTC)
                                  .toString(Qt::ISODate);
        const bool ok = add.exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n "
                                                "WHERE i + 1 < %1) "
                                                "INSERT INTO events (id, calendar_id, uid, title, start_time, end_time, "
                                                "recurrence_rule, raw_icalendar, created, last_modified) "
                                                "SELECT 'rs-' || i, (SELECT id FROM calendars LIMIT 1), 'rs-' || i, "
                                                "'Standing ' || i, strftime('%Y-%m-%dT%H:%M:%SZ', '%2', "
                                                "(i % 7) || ' days', (i % 9) || ' hours'), "
                                                "strftime('%Y-%m-%dT%H:%M:%SZ', '%2', (i % 7) || ' days', "
                                                "(i % 9 + 1) || ' hours'), 'FREQ=WEEKLY', '', '%2', '%2' FROM n")
                                     .arg(series)
                                     .arg(start))
            && add.exec(QStringLiteral("INSERT INTO reminders (id, event_id, minutes_before) "
                                       "SELECT 'rr-' || id, id, 15 FROM events WHERE id LIKE 'rs-%'"));
        if (!ok)
            qFatal("cannot add the reminding series");
    }
};

std::unique_ptr<CopiedState> current;
int currentCount = 0;
int currentSeries = 0;

AppState *copiedState(int count, int series, bool fresh = false)
{
    if (fresh || !current || currentCount != count || currentSeries != series) {
        current.reset();
        current = std::make_unique<CopiedState>(count, series);
        currentCount = count;
        currentSeries = series;
    }
    return current->state.get();
}

enum class Poll { Steady, First, AfterEdit };

// events, poll kind.
void BM_ReminderPoll(benchmark::State &state)
{
    const int count = int(state.range(0));
    const auto kind = Poll(state.range(1));
    const int series = int(state.range(2));
    const QDateTime now = pollTime();
    std::unique_ptr<NotificationService> service;
    qsizetype shown = 0;
    for (auto _ : state) {
        if (kind == Poll::First || !service) {
            // A new service over a store whose due reminders were never
            // shown: what the poll meets after the program starts.
            state.PauseTiming();
            service.reset();
            AppState *appState = copiedState(count, series, kind == Poll::First);
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
    ->ArgNames({"events", "poll", "series"})
    ->Args({100000, int(Poll::Steady), 0})
    ->Args({100000, int(Poll::AfterEdit), 0})
    ->Args({200000, int(Poll::Steady), 0})
    ->Args({200000, int(Poll::AfterEdit), 0})
    ->Args({200000, int(Poll::First), 0})
    ->Args({200000, int(Poll::AfterEdit), 3000})
    ->Args({200000, int(Poll::First), 3000})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(BenchRunner::quietInfo);
    // The state applies the theme, which needs a widget application.
    return BenchRunner::run<QApplication>(argc, argv, [] { current.reset(); });
}
