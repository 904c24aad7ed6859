// The group views: the three group division views (42 columns, one row per
// draw) and the five-group trend view, on the real draws when they are
// present and on 32,767 random draws. BuildView fills the grid alone;
// OpenView opens the whole window (grid filled, laid out and painted once,
// as the user first sees it); ScrollPage repaints it after scrolling one
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

#include "analysis/AnalysisView.h"
#include "analysis/group/FiveGroupTrend.h"
#include "analysis/group/GroupDivision.h"
#include "app/AnalysisWindow.h"
#include "ui/GridWidget.h"

namespace {

using namespace rumone;

DrawRecord RecordOf(int number, const std::vector<std::optional<int>>& digits)
{
    DrawRecord rec;
    rec.number = DbValue::Int(number);
    for (int p = 0; p < 4; ++p)
        rec.digits[p] = digits[p] ? DbValue::Int(*digits[p]) : DbValue::Null();
    return rec;
}

// The real draws (回数,抽せん日,第1数字..第4数字), or nothing when absent.
std::optional<DrawHistory> RealHistory()
{
    std::ifstream in(std::string(RUMONE_SHARED_DIR) + "/data/draws.csv");
    if (!in)
        return std::nullopt;
    std::vector<DrawRecord> records;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::vector<std::string> fields;
        std::stringstream ss(line);
        for (std::string f; std::getline(ss, f, ',');)
            fields.push_back(f);
        if (fields.size() < 6)
            continue;
        std::vector<std::optional<int>> digits;
        for (int p = 0; p < 4; ++p)
            digits.push_back(fields[2 + p].empty() ? std::nullopt : std::optional<int>(std::stoi(fields[2 + p])));
        records.push_back(RecordOf(std::stoi(fields[0]), digits));
    }
    return DrawHistory::FromRecords(records);
}

DrawHistory RandomHistory(int count)
{
    std::mt19937 gen(1);
    std::uniform_int_distribution<int> digit(0, 9);
    std::vector<DrawRecord> records;
    for (int n = 1; n <= count; ++n)
        records.push_back(RecordOf(n, {digit(gen), digit(gen), digit(gen), digit(gen)}));
    return DrawHistory::FromRecords(records);
}

const std::optional<DrawHistory>& Real()
{
    static const std::optional<DrawHistory> history = RealHistory();
    return history;
}

const DrawHistory& Random32767()
{
    static const DrawHistory history = RandomHistory(kMaxDrawNumber);
    return history;
}

const DrawHistory* HistoryFor(benchmark::State& state, bool real)
{
    const DrawHistory* history = real ? (Real() ? &*Real() : nullptr) : &Random32767();
    if (!history)
        state.SkipWithError("the real draws are absent (" RUMONE_SHARED_DIR "/data/draws.csv)");
    return history;
}

// What the main window offers a view: the history, and nothing to record.
class BenchHost : public ViewHost {
public:
    explicit BenchHost(const DrawHistory& history) : history_(history) {}
    void setPropEnd(bool) override {}
    const DrawHistory& drawHistory() const override { return history_; }

private:
    const DrawHistory& history_;
};

void OpenView(benchmark::State& state, AnalysisViewSpec (*view)(), bool real)
{
    const DrawHistory* history = HistoryFor(state, real);
    if (!history)
        return;
    const AnalysisViewSpec spec = view();
    BenchHost host(*history);
    for (auto _ : state) {
        AnalysisWindow window(host, spec);
        window.Load();
        const QImage first = window.grab().toImage();
        benchmark::DoNotOptimize(first.constBits());
    }
}

void ScrollPage(benchmark::State& state, AnalysisViewSpec (*view)(), bool real)
{
    const DrawHistory* history = HistoryFor(state, real);
    if (!history)
        return;
    const AnalysisViewSpec spec = view();
    BenchHost host(*history);
    AnalysisWindow window(host, spec);
    window.Load();
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

void BuildView(benchmark::State& state, AnalysisViewSpec (*view)(), bool real)
{
    const DrawHistory* history = HistoryFor(state, real);
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
    state.counters["rows"] = grid.Rows();
    state.counters["cells"] = static_cast<double>(grid.Rows()) * grid.Columns();
    state.counters["styles"] = static_cast<double>(grid.DistinctStyles());
    state.counters["storageKiB"] = static_cast<double>(grid.CellStorageBytes()) / 1024.0;
}

}  // namespace

BENCHMARK_CAPTURE(BuildView, GroupDivision3_real, GroupDivision3View, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BuildView, GroupDivision3_random32767, GroupDivision3View, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BuildView, GroupDivision5_real, GroupDivision5View, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BuildView, GroupDivision5_random32767, GroupDivision5View, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BuildView, GroupDivision10_real, GroupDivision10View, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BuildView, GroupDivision10_random32767, GroupDivision10View, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BuildView, FiveGroupTrend_real, FiveGroupTrendView, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BuildView, FiveGroupTrend_random32767, FiveGroupTrendView, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenView, GroupDivision3_real, GroupDivision3View, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenView, GroupDivision3_random32767, GroupDivision3View, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenView, GroupDivision5_real, GroupDivision5View, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenView, GroupDivision5_random32767, GroupDivision5View, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenView, GroupDivision10_real, GroupDivision10View, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenView, GroupDivision10_random32767, GroupDivision10View, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenView, FiveGroupTrend_real, FiveGroupTrendView, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(OpenView, FiveGroupTrend_random32767, FiveGroupTrendView, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ScrollPage, GroupDivision3_real, GroupDivision3View, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ScrollPage, GroupDivision3_random32767, GroupDivision3View, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ScrollPage, GroupDivision5_real, GroupDivision5View, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ScrollPage, GroupDivision5_random32767, GroupDivision5View, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ScrollPage, GroupDivision10_real, GroupDivision10View, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ScrollPage, GroupDivision10_random32767, GroupDivision10View, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ScrollPage, FiveGroupTrend_real, FiveGroupTrendView, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ScrollPage, FiveGroupTrend_random32767, FiveGroupTrendView, false)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
