// The calendar core on a 20,000-event export: reading it (MB/s) and expanding
// every event over one year (occurrences/s), as a view reload does.
// Compare with bench_libical, which reads and iterates the same calendar.
//
// A year of this calendar is some 190 MB of Event records. glibc maps a block
// that large afresh on every call, so first-touch page faults take a good
// share of the expansion figures. With MALLOC_MMAP_THRESHOLD_=1000000000 and
// MALLOC_TRIM_THRESHOLD_=1000000000 in the environment the heap is reused, as
// it is for the smaller results of a month or a week.
#include "benchcalendar.h"
#include "icalendar.h"
#include "peakmemory.h"
#include "recurrence.h"

#include <QTimeZone>

#include <benchmark/benchmark.h>

namespace {

const QByteArray &calendarText()
{
    static const QByteArray text = BenchCalendar::make();
    return text;
}

const QList<Event> &allEvents()
{
    static const QList<Event> events = [] {
        QList<Event> parsed = ICalendar::parseEvents(QString::fromUtf8(calendarText()));
        for (Event &e : parsed)
            e.calendar_id = QStringLiteral("bench");
        return parsed;
    }();
    return events;
}

const QList<Event> &repeatingEvents()
{
    static const QList<Event> events = [] {
        QList<Event> out;
        for (const Event &e : allEvents()) {
            if (!e.recurrence_rule.isEmpty())
                out.append(e);
        }
        return out;
    }();
    return events;
}

void parseEvents(benchmark::State &state)
{
    const QByteArray &text = calendarText();
    qsizetype events = 0;
    for (auto _ : state) {
        const QList<Event> parsed = ICalendar::parseEventBytes(text);
        events = parsed.size();
        benchmark::DoNotOptimize(parsed.constData());
    }
    state.SetBytesProcessed(qint64(state.iterations()) * text.size());
    state.counters["events"] = double(events);
}

void expand(benchmark::State &state, const QList<Event> &events)
{
    const QDateTime from = BenchCalendar::windowStart();
    const QDateTime to = BenchCalendar::windowEnd();
    qsizetype occurrences = 0;
    for (auto _ : state) {
        const QList<Event> result = Recurrence::expandEvents(events, from, to);
        occurrences = result.size();
        benchmark::DoNotOptimize(result.constData());
    }
    state.counters["rows"] = double(events.size());
    state.counters["occurrences"] = double(occurrences);
    state.counters["occurrences/s"] = benchmark::Counter(double(occurrences),
                                                         benchmark::Counter::kIsIterationInvariantRate);
}

// Every row of the calendar, one-off events included.
void expandAllEvents(benchmark::State &state)
{
    expand(state, allEvents());
}

// Every row's occurrences light, counted as they come: what a view that
// places or counts them pays. Its memory is one series' starts, whatever the
// window; `peak_MB` is the growth of the process's peak over the run.
void expandAllOccurrences(benchmark::State &state)
{
    const QList<Event> &events = allEvents();
    const QDateTime from = BenchCalendar::windowStart();
    const QDateTime to = from.addYears(int(state.range(0)));
    PeakMemory::reset();
    const qint64 before = PeakMemory::statusKilobytes("VmHWM:");
    qint64 occurrences = 0;
    for (auto _ : state) {
        occurrences = 0;
        Recurrence::forEachOccurrence(events, from, to, [&occurrences](const Occurrence &o) {
            benchmark::DoNotOptimize(o.startMs());
            ++occurrences;
        });
    }
    state.counters["peak_MB"] = double(PeakMemory::statusKilobytes("VmHWM:") - before) / 1024.0;
    state.counters["occurrences"] = double(occurrences);
    state.counters["occurrences/s"] = benchmark::Counter(double(occurrences),
                                                         benchmark::Counter::kIsIterationInvariantRate);
}

// The repeating rows alone: what bench_libical's iterator is given.
void expandRepeatingEvents(benchmark::State &state)
{
    expand(state, repeatingEvents());
}

// Rules no client writes but a feed may hold (every second of a year, with
// and without BYSETPOS; positions no period reaches; huge COUNT and
// INTERVAL), begun decades before a one-year window: each must cost about
// what an ordinary series does.
void expandHostileRules(benchmark::State &state)
{
    const auto list = [](int last) {
        QStringList values;
        for (int i = 0; i <= last; ++i)
            values.append(QString::number(i));
        return values.join(QLatin1Char(','));
    };
    const QString everySecond = QStringLiteral("FREQ=YEARLY;BYDAY=MO,TU,WE,TH,FR,SA,SU;BYHOUR=") + list(23)
        + QStringLiteral(";BYMINUTE=") + list(59) + QStringLiteral(";BYSECOND=") + list(59);
    const QStringList rules = {everySecond,
                               everySecond + QStringLiteral(";BYSETPOS=-1"),
                               QStringLiteral("FREQ=SECONDLY;BYSETPOS=2"),
                               QStringLiteral("FREQ=MINUTELY;BYSETPOS=-3"),
                               QStringLiteral("FREQ=SECONDLY;COUNT=2147483647"),
                               QStringLiteral("FREQ=SECONDLY;INTERVAL=2147483647"),
                               QStringLiteral("FREQ=SECONDLY;BYMONTH=2;BYMONTHDAY=30")};
    QList<Event> events;
    for (const QString &rule : rules) {
        Event e;
        e.uid = rule;
        e.calendar_id = QStringLiteral("bench");
        e.start_time = QDateTime(QDate(1990, 1, 1), QTime(9, 0), QTimeZone("Europe/Berlin"));
        e.end_time = e.start_time.addSecs(1);
        e.recurrence_rule = rule;
        events.append(e);
    }
    expand(state, events);
}

} // namespace

BENCHMARK(parseEvents)->Unit(benchmark::kMillisecond);
BENCHMARK(expandAllEvents)->Unit(benchmark::kMillisecond);
BENCHMARK(expandAllOccurrences)->ArgName("years")->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(expandRepeatingEvents)->Unit(benchmark::kMillisecond);
BENCHMARK(expandHostileRules)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
