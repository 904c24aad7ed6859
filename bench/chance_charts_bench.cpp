// Opening every analysis view's picture (グラフ) at 32,767 draws and on the
// real draws: the figures beside chance counted, the chart built, laid out
// and painted once, as the user first sees it. Medians of several rounds,
// wall time and the thread's CPU time (the machine is shared); a target is
// met or missed on the wall time.
//
// Run:  build/bench/bin/chance_charts_bench [ROUNDS]     (default 7)
#include <time.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchData.h"
#include "BenchViews.h"
#include "core/analysis/AnalysisView.h"
#include "gui/analysis/ChanceChartWindow.h"

namespace {

using namespace rumone;
using namespace rumone::bench;

void runOn(const char* title, const DrawHistory& history, double targetMs, int rounds)
{
    BenchHost host(history);
    std::printf("\n%s: %zu draws, medians of %d rounds\n", title, history.completeDraws().size(), rounds);
    std::printf("%-34s %8s %8s %6s\n", "picture", "open ms", "CPU ms", targetMs < 100 ? "<=50" : "<=200");
    for (const AnalysisViewSpec& spec : analysisViews()) {
        if (!spec.chance)
            continue;
        std::vector<double> wall, cpu;
        for (int r = 0; r < rounds; ++r) {
            const auto start = std::chrono::steady_clock::now();
            const double startCpu = threadCpuMs();
            ChanceChartWindow w(host, spec);
            w.resize(720, 560);
            w.load();
            w.grab();
            wall.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
            cpu.push_back(threadCpuMs() - startCpu);
        }
        const double wallMs = median(wall);  // the player waits the wall clock
        std::printf("%s %8.2f %8.2f %6s\n", padded(spec.objectName, 34).c_str(), wallMs, median(cpu),
                    wallMs <= targetMs ? "met" : "MISS");
    }
}

}  // namespace

int main(int argc, char** argv)
{
    bench::startLikeTheProgram();
    QApplication app(argc, argv);
    startQtLikeTheProgram();
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    paintOnceUntimed<ChanceChartWindow>(maxHistory(), analysisViews().front());
    runOn("32,767 random draws", maxHistory(), 200.0, rounds);
    if (realHistory())
        runOn("real draws", *realHistory(), 50.0, rounds);
    else
        std::printf("\nreal draws absent (%s)\n", realDrawsCsv());
    std::printf("\nopen: figures counted, chart built, window loaded and painted once (grab).\n");
    return 0;
}
