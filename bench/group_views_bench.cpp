// The group views: the three group division views (42 columns, one row per
// draw) and the five-group trend view, on the real draws when they are
// present and on 32,767 random draws. buildView fills the grid alone;
// openView opens the whole window (grid filled, laid out and painted once,
// as the user first sees it); scrollPage repaints it after scrolling one
// page further.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>

#include <fstream>
#include <iostream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "BenchData.h"
#include "BenchMain.h"
#include "BenchViews.h"
#include "core/analysis/AnalysisView.h"
#include "core/analysis/group/FiveGroupTrend.h"
#include "core/analysis/group/GroupDivision.h"
#include "gui/analysis/AnalysisWindow.h"
#include "gui/grid/GridWidget.h"

namespace {

using namespace rumone;
using bench::BenchHost;

const DrawHistory* historyFor(benchmark::State& state, bool real)
{
    const DrawHistory* history =
        real ? (bench::realHistory() ? &*bench::realHistory() : nullptr) : &bench::maxHistory();
    if (!history)
        state.SkipWithError("the real draws are absent (" RUMONE_DRAWS_CSV ")");
    return history;
}

void openView(benchmark::State& state, AnalysisViewSpec (*view)(), bool real)
{
    const DrawHistory* history = historyFor(state, real);
    if (!history)
        return;
    const AnalysisViewSpec spec = view();
    BenchHost host(*history);
    for (auto _ : state) {
        AnalysisWindow window(host, spec);
        window.load();
        const QImage first = window.grab().toImage();
        benchmark::DoNotOptimize(first.constBits());
    }
}

void scrollPage(benchmark::State& state, AnalysisViewSpec (*view)(), bool real)
{
    const DrawHistory* history = historyFor(state, real);
    if (!history)
        return;
    const AnalysisViewSpec spec = view();
    BenchHost host(*history);
    AnalysisWindow window(host, spec);
    window.load();
    QScrollBar* bar = window.gridWidget()->verticalScrollBar();
    QWidget* viewport = window.gridWidget()->viewport();
    QImage image(viewport->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        int next = bar->value() + bar->pageStep();
        if (next > bar->maximum())
            next = 0;
        bar->setValue(next);
        viewport->render(&image);
    }
    state.counters["pageRows"] = bar->pageStep();
}

void buildView(benchmark::State& state, AnalysisViewSpec (*view)(), bool real)
{
    const DrawHistory* history = historyFor(state, real);
    if (!history)
        return;
    const AnalysisViewSpec spec = view();
    for (auto _ : state) {
        ResultGrid grid;
        spec.build(grid, *history);
        benchmark::DoNotOptimize(grid);
        benchmark::ClobberMemory();
    }
    ResultGrid grid;
    spec.build(grid, *history);
    state.counters["rows"] = grid.rows();
    state.counters["cells"] = static_cast<double>(grid.rows()) * grid.columns();
    state.counters["styles"] = static_cast<double>(grid.distinctStyles());
    state.counters["storageKiB"] = static_cast<double>(grid.cellStorageBytes()) / 1024.0;
}

}  // namespace

BENCHMARK_CAPTURE(buildView, GroupDivision3_real, groupDivision3View, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(buildView, GroupDivision3_random32767, groupDivision3View, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(buildView, GroupDivision5_real, groupDivision5View, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(buildView, GroupDivision5_random32767, groupDivision5View, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(buildView, GroupDivision10_real, groupDivision10View, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(buildView, GroupDivision10_random32767, groupDivision10View, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(buildView, FiveGroupTrend_real, fiveGroupTrendView, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(buildView, FiveGroupTrend_random32767, fiveGroupTrendView, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(openView, GroupDivision3_real, groupDivision3View, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(openView, GroupDivision3_random32767, groupDivision3View, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(openView, GroupDivision5_real, groupDivision5View, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(openView, GroupDivision5_random32767, groupDivision5View, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(openView, GroupDivision10_real, groupDivision10View, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(openView, GroupDivision10_random32767, groupDivision10View, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(openView, FiveGroupTrend_real, fiveGroupTrendView, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(openView, FiveGroupTrend_random32767, fiveGroupTrendView, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(scrollPage, GroupDivision3_real, groupDivision3View, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(scrollPage, GroupDivision3_random32767, groupDivision3View, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(scrollPage, GroupDivision5_real, groupDivision5View, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(scrollPage, GroupDivision5_random32767, groupDivision5View, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(scrollPage, GroupDivision10_real, groupDivision10View, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(scrollPage, GroupDivision10_random32767, groupDivision10View, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(scrollPage, FiveGroupTrend_real, fiveGroupTrendView, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(scrollPage, FiveGroupTrend_random32767, fiveGroupTrendView, false)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return rumone::bench::runBenchmarksInQt(argc, argv);
}
