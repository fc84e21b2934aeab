#ifndef BENCHMAIN_H
#define BENCHMAIN_H

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QtGlobal>

#include <memory>

// Every benchmark registers a pair named "<path>/project" and "<path>/baseline": the plug-in's
// code and the same work written plainly with Qt, measured in the same process. scripts/bench.sh
// pairs them by that name.

// Runs the registered benchmarks once the application object exists.
inline int runRegisteredBenchmarks(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// Widget benchmarks need an application object and run on the offscreen platform unless the
// caller chose another one.
inline int runBenchmarks(int argc, char **argv, bool widgets)
{
    if (widgets && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app;
    if (widgets)
        app.reset(new QApplication(argc, argv));
    else
        app.reset(new QCoreApplication(argc, argv));
    return runRegisteredBenchmarks(argc, argv);
}

#define CORVEX_BENCHMARK_MAIN(widgets)                                                             \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        return runBenchmarks(argc, argv, widgets);                                                 \
    }

#endif // BENCHMAIN_H
