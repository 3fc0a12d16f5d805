#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <functional>

// The main of a benchmark that needs a QApplication: on the given window-system platform, or
// on the one QT_QPA_PLATFORM names, else offscreen. atEnd runs while the application still
// lives (for windows the benchmarks kept).
inline int runQtBenchmarks(int argc, char** argv, const char* platform = nullptr,
                           const std::function<void()>& atEnd = {}) {
    if (platform != nullptr) {
        qputenv("QT_QPA_PLATFORM", platform);
    } else if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (atEnd) {
        atEnd();
    }
    return 0;
}
