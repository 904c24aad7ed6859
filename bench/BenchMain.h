// main() of a benchmark whose cases need a QApplication, started the way the
// program starts (bench::startLikeTheProgram).
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>

#include "BenchViews.h"

namespace rumone::bench {

inline int runBenchmarksInQt(int argc, char** argv)
{
    startLikeTheProgram();
    QApplication app(argc, argv);
    startQtLikeTheProgram();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace rumone::bench
