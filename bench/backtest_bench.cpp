// The walk-forward backtest: all seven predictors scored for all eleven
// reflect counts in one walk, over the real history and over 32767
// generated draws; the verification's two steps on their own (the reflect
// count shown, with its chart's ranges and tickets; every reflect count)
// and both continued over one more draw; beside it, its peer, the plain recomputation of the
// prediction from the truncated history for one target; and the
// verification view opened on the real history until its chart is drawn.
//
// Build:  cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release
//           -DRUMONE_BENCH=ON -DRUMONE_TESTS=OFF
//         cmake --build build/bench --target backtest_bench
// Run:    build/bench/bin/backtest_bench
#include <benchmark/benchmark.h>
#include <QApplication>
#include <QImage>

#include <optional>

#include "BenchData.h"
#include "BenchMain.h"
#include "BenchViews.h"
#include "core/backtest/Comparisons.h"
#include "core/backtest/Scoring.h"
#include "core/backtest/WalkForward.h"
#include "core/backtest/WalkKeeper.h"
#include "core/predict/Prediction.h"
#include "core/store/SampleDatabase.h"
#include "gui/backtest/BacktestView.h"
#include "gui/charts/ChartsModule.h"

namespace {

using namespace rumone;
using bench::BenchHost;

const DrawHistory* historyFor(benchmark::State& state, bool useReal)
{
    if (!useReal)
        return &bench::maxHistory();
    if (!bench::realHistory())
        state.SkipWithError("the real draws are absent (" RUMONE_DRAWS_CSV ")");
    return bench::realHistory() ? &*bench::realHistory() : nullptr;
}

// One walk, eleven reflect counts, every predictor scored.
void walkAllReflectCounts(benchmark::State& state, bool useReal)
{
    const DrawHistory* history = historyFor(state, useReal);
    if (!history)
        return;
    std::vector<int> reflects;
    for (int k = 0; k <= kOptionCount; ++k)
        reflects.push_back(k);
    int targets = 0;
    for (auto _ : state) {
        std::vector<Scoreboard> boards(reflects.size());
        targets = 0;
        walkForward(*history, reflects, {}, [&](const WalkStep& step) {
            ++targets;
            for (std::size_t k = 0; k < reflects.size(); ++k)
                for (std::size_t i = 0; i < kPredictorCount; ++i)
                    boards[k][i].add(step.sets[k].sets[i], step.actual);
        });
        benchmark::DoNotOptimize(boards.data());
    }
    state.counters["targets"] = targets;
    state.counters["per_target_all_K"] = benchmark::Counter(
        static_cast<double>(targets), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// What the view and rumone-backtest --all-reflect --tickets compute: the
// walk for all eleven reflect counts, the tickets and the net-yen track,
// then the exact ranges of all 37 comparisons with Holm's correction, the
// all-four ranges and the ticket ranges.
void comparisonsAndTickets(benchmark::State& state, bool useReal)
{
    const DrawHistory* history = historyFor(state, useReal);
    if (!history)
        return;
    int different = 0;
    for (auto _ : state) {
        const std::optional<BacktestResult> result = runBacktest(*history, 0, {});
        const ComparisonSummary summary = compareAll(result->boards);
        different = summary.different;
        long sum = 0;
        for (const Tally& t : result->board)
            sum += t.allFourFigures().high;
        for (const auto& types : result->tickets)
            for (const TicketTally& t : types)
                sum += t.count > 0 ? t.winFigures().high : 0;
        benchmark::DoNotOptimize(sum);
    }
    state.counters["different"] = different;
}

// The walk of one reflect count with its board, chart tracks (chance
// bands included) and tickets; then the step that follows it, every
// reflect count's boards.
void walkShownReflectCount(benchmark::State& state, bool useReal)
{
    const DrawHistory* history = historyFor(state, useReal);
    if (!history)
        return;
    std::size_t bands = 0;
    for (auto _ : state) {
        BacktestSteps steps(nullptr, *history, 0, {}, {});
        const std::optional<BacktestResult> result = steps.walkShown();
        bands = result->track.bandAt.size();
        benchmark::DoNotOptimize(result->yen.bandLow.data());
    }
    state.counters["bands"] = static_cast<double>(bands);
}

// The step the hit chart now waits for: the hits and their bands alone,
// the tickets' yen track left to the step after.
void walkHitsReflectCount(benchmark::State& state, bool useReal)
{
    const DrawHistory* history = historyFor(state, useReal);
    if (!history)
        return;
    for (auto _ : state) {
        BacktestSteps steps(nullptr, *history, 0, {}, {});
        const std::optional<BacktestResult> result = steps.walkHits();
        benchmark::DoNotOptimize(result->track.bandLow.data());
    }
}

void walkEveryReflectCount(benchmark::State& state, bool useReal)
{
    const DrawHistory* history = historyFor(state, useReal);
    if (!history)
        return;
    for (auto _ : state) {
        ReflectBoards boards;
        SameRows same;
        walkEveryReflect(nullptr, *history, {}, {}, boards, same);
        benchmark::DoNotOptimize(boards.data());
    }
}

// After one more draw: the kept walks go on over the one new target, and
// the result is read out of them.
void walkAfterOneMoreDraw(benchmark::State& state)
{
    const std::vector<EditRow> rows = sampleDraws(kMaxDrawNumber);
    const DrawHistory before = bench::historyOf({rows.begin(), rows.end() - 1});
    const DrawHistory after = bench::historyOf(rows);
    for (auto _ : state) {
        state.PauseTiming();
        WalkKeeper keeper;
        {
            BacktestSteps steps(&keeper, before, 0, {}, {});
            std::optional<BacktestResult> result = steps.walkShown();
            steps.walkEvery(*result);
        }
        state.ResumeTiming();
        BacktestSteps steps(&keeper, after, 0, {}, {});
        std::optional<BacktestResult> result = steps.walkShown();
        steps.walkEvery(*result);
        benchmark::DoNotOptimize(result->track.bandLow.data());
    }
}

// The peer: the prediction for the last target computed the plain way, from
// the history below it, for one reflect count.
void recomputeOneTarget(benchmark::State& state, bool useReal)
{
    const DrawHistory* history = historyFor(state, useReal);
    if (!history)
        return;
    for (auto _ : state) {
        const PredictorSets sets = recomputePredictorSets(*history, 0);
        benchmark::DoNotOptimize(sets);
    }
}

// From the load to the table filled and the window, chart included, drawn.
void openView(benchmark::State& state)
{
    const DrawHistory* history = historyFor(state, true);
    if (!history)
        return;
    BenchHost host(*history);
    Prediction prediction;
    int points = 0;
    for (auto _ : state) {
        BacktestView view(host, prediction, {});
        view.resize(900, 760);
        bool finished = false;
        QObject::connect(&view, &BacktestView::runFinished, [&finished] { finished = true; });
        view.load();
        while (!finished)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const QImage shown = view.grab().toImage();
        benchmark::DoNotOptimize(shown.constBits());
        points = view.chart()->pointCount();
    }
    state.counters["chart_points"] = points;
}

BENCHMARK_CAPTURE(walkAllReflectCounts, real7054, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(walkAllReflectCounts, generated32767, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(comparisonsAndTickets, real7054, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(comparisonsAndTickets, generated32767, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(walkShownReflectCount, real7054, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(walkShownReflectCount, generated32767, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(walkHitsReflectCount, real7054, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(walkHitsReflectCount, generated32767, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(walkEveryReflectCount, real7054, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(walkEveryReflectCount, generated32767, false)->Unit(benchmark::kMillisecond);
BENCHMARK(walkAfterOneMoreDraw)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK_CAPTURE(recomputeOneTarget, real7054, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(recomputeOneTarget, generated32767, false)->Unit(benchmark::kMicrosecond);
BENCHMARK(openView)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    return rumone::bench::runBenchmarksInQt(argc, argv);
}
