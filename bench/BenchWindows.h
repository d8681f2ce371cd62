#pragma once

// The main() of a benchmark that measures real windows: they need no screen (offscreen unless
// QT_QPA_PLATFORM says otherwise), the benchmarks run, then the summary, and `release` drops
// the windows before the application object goes.
#include <QApplication>

#include <benchmark/benchmark.h>

#include <functional>

namespace BenchSupport {

inline int runWithWindows(int argc, char** argv, const std::function<void()>& summary,
                          const std::function<void()>& release) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    summary();
    release();
    return 0;
}

} // namespace BenchSupport
