#pragma once

#include <QApplication>
#include <QtGlobal>

#include <benchmark/benchmark.h>

// The benchmarks that build windows need an application object; they run under the offscreen
// platform unless the caller chose another, so they need no display.
inline void useOffscreenUnlessChosen() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

inline int runBenchmarksWithApplication(int argc, char** argv) {
    useOffscreenUnlessChosen();
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
