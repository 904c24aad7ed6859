// Working with the widest table (the 10-group division view, 42 columns) at
// 32,767 draws: each step as the player sees it, the change and the
// repaint of the table's viewport. extendSelection grows a block by one cell
// (a drag or Shift+arrow), selectAll is Ctrl+A, copyBlock/Screenful and copyBlock/All
// put a screenful and the whole data area on the clipboard (Ctrl+C), and
// zoomStep is one Ctrl++ or Ctrl+− with its new layout. pasteText and
// pasteHtml are the copy and then what a program that pastes asks for: the
// clipboard makes each form only then.
//
// Before the cases, the copy of the whole data area against one screenful
// (the same run) gives bench/waits.sh its line, judged on wall time.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QScrollBar>

#include "BenchData.h"
#include "BenchViews.h"
#include "core/analysis/AnalysisView.h"
#include "core/analysis/group/GroupDivision.h"
#include "gui/analysis/AnalysisWindow.h"
#include "gui/grid/GridWidget.h"

namespace {

using namespace rumone;
using bench::BenchHost;

// The view opened on the largest history, its grid and a picture to paint on.
struct OpenWidest {
    AnalysisViewSpec spec = groupDivision10View();
    BenchHost host{bench::maxHistory()};
    AnalysisWindow window{host, spec};
    GridWidget* grid = nullptr;
    QImage image;
    OpenWidest()
    {
        window.load();
        grid = window.gridWidget();
        image = QImage(grid->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    }
    void repaint() { grid->viewport()->render(&image); }
};

void extendSelection(benchmark::State& state)
{
    OpenWidest v;
    const int first = v.grid->verticalScrollBar()->value() + v.grid->grid()->frozenRows() + 1;
    int row = first;
    for (auto _ : state) {
        v.grid->selectBlock(2, first, 20, ++row);
        v.repaint();
        if (row > first + 20)
            row = first;
    }
}

void selectAll(benchmark::State& state)
{
    OpenWidest v;
    for (auto _ : state) {
        v.grid->setCurrentCell(2, v.grid->currentRow() > 0 ? v.grid->currentRow() : 10);
        v.grid->selectDataArea();
        v.repaint();
    }
}

// The whole data area, or one screenful of rows across every column.
void selectWholeOrScreenful(OpenWidest& v, bool whole)
{
    if (whole)
        v.grid->selectDataArea();
    else
        v.grid->selectBlock(1, 3, v.grid->grid()->columns(), 3 + v.grid->verticalScrollBar()->pageStep());
}

void copyBlock(benchmark::State& state, bool whole)
{
    OpenWidest v;
    selectWholeOrScreenful(v, whole);
    const CellRange chosen = v.grid->selection();
    for (auto _ : state)
        v.grid->copySelection();
    state.counters["cells"] = static_cast<double>(chosen.col2 - chosen.col1 + 1) * (chosen.row2 - chosen.row1 + 1);
}

// A copy of the whole data area or a screenful, then one form asked for.
void paste(benchmark::State& state, bool whole, const char* format)
{
    OpenWidest v;
    selectWholeOrScreenful(v, whole);
    std::size_t bytes = 0;
    for (auto _ : state) {
        v.grid->copySelection();
        bytes = static_cast<std::size_t>(QApplication::clipboard()->mimeData()->data(format).size());
    }
    state.counters["MB"] = static_cast<double>(bytes) / 1e6;
}

// Medians of `rounds` copies (Ctrl+C) of the whole data area and of one
// screenful, wall and CPU, and of the text and HTML made afterwards.
void printCopyWait(int rounds)
{
    OpenWidest v;
    const int page = v.grid->verticalScrollBar()->pageStep();
    std::vector<double> wall[2], cpu[2], made[2];
    for (int i = 0; i < rounds; ++i) {
        for (int whole = 0; whole < 2; ++whole) {
            if (whole)
                v.grid->selectDataArea();
            else
                v.grid->selectBlock(1, 3, v.grid->grid()->columns(), 3 + page);
            QApplication::clipboard()->clear();  // the last copy freed outside the time
            const bench::Clocks c;
            v.grid->copySelection();
            wall[whole].push_back(c.wallMs());
            cpu[whole].push_back(c.cpuMs());
        }
        const QMimeData* copied = QApplication::clipboard()->mimeData();
        for (int form = 0; form < 2; ++form) {
            const bench::Clocks c;
            copied->data(form ? "text/html" : "text/plain");
            made[form].push_back(c.wallMs());
        }
    }
    const double copyMs = bench::median(wall[1]);
    char peer[200];
    std::snprintf(
        peer, sizeof peer, "one screenful %.2f ms; CPU %.2f; first copy %.2f ms; then text %.1f ms, HTML %.1f ms",
        bench::median(wall[0]), bench::median(cpu[1]), wall[1].front(), bench::median(made[0]), bench::median(made[1]));
    std::printf("copy of the whole widest view: %.2f ms (CPU %.2f), %s\n", copyMs, bench::median(cpu[1]), peer);
    bench::printWaitLine("copy the whole widest view (Ctrl+A, Ctrl+C), 32767", copyMs, peer, "<= 8 ms", copyMs <= 8.0);
}

void zoomStep(benchmark::State& state)
{
    OpenWidest v;
    bool in = true;
    for (auto _ : state) {
        v.grid->setZoom(v.grid->zoom() + (in ? GridWidget::kZoomStep : -GridWidget::kZoomStep));
        in = !in;
        v.repaint();
    }
}

}  // namespace

BENCHMARK(extendSelection)->Unit(benchmark::kMillisecond);
BENCHMARK(selectAll)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(copyBlock, Screenful, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(copyBlock, All, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(paste, Text / Screenful, false, "text/plain")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(paste, Text / All, true, "text/plain")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(paste, Html / Screenful, false, "text/html")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(paste, Html / All, true, "text/html")->Unit(benchmark::kMillisecond);
BENCHMARK(zoomStep)->Unit(benchmark::kMillisecond);

// selection_bench [ROUNDS] [benchmark flags]: ROUNDS (default 5) copies for
// the line of bench/waits.sh, then the cases.
int main(int argc, char** argv)
{
    rumone::bench::startLikeTheProgram();
    QApplication app(argc, argv);
    rumone::bench::startQtLikeTheProgram();
    benchmark::Initialize(&argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    printCopyWait(rounds);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
