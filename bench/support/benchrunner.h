#pragma once

#include <QString>
#include <QtGlobal>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>

// The part of every benchmark program's main() that does not differ: the
// application object the measured code needs, and the benchmarks named on the
// command line run inside it.
namespace BenchRunner {

// Keeps warnings on stderr but drops the info and debug lines the store and the
// state print per write, which would bury the figures.
inline void quietInfo(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtInfoMsg && type != QtDebugMsg)
        fprintf(stderr, "%s\n", qPrintable(message));
}

// Sync runs log every request; the benchmarks run headless without those lines.
inline void quietSync()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "calendar.*=false;*.info=false");
}

// Prints the target beside the measured figure (a counter next to the time
// column), so a run shows at a glance which rows meet theirs.
inline void target(benchmark::State &state, double milliseconds)
{
    state.counters["target_ms"] = milliseconds;
}

// Runs the benchmarks inside an `App`; `release` drops what the benchmarks kept
// between runs while that application object still exists.
template<typename App>
int run(int argc, char **argv, const std::function<void()> &release = {})
{
    App app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (release)
        release();
    return 0;
}

} // namespace BenchRunner
