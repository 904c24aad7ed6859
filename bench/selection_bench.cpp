// Working with the widest table (the 10-group division view, 42 columns) at
// 32,767 draws: each step as the player sees it, the change and the
// repaint of the table's viewport. extendSelection grows a block by one cell
// (a drag or Shift+arrow), selectAll is Ctrl+A, copyBlock/Screenful and copyBlock/All
// put a screenful and the whole data area on the clipboard (Ctrl+C), and
// zoomStep is one Ctrl++ or Ctrl+− with its new layout.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QScrollBar>

#include "BenchData.h"
#include "BenchMain.h"
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

void copyBlock(benchmark::State& state, bool whole)
{
    OpenWidest v;
    const int rows = v.grid->verticalScrollBar()->pageStep();
    if (whole)
        v.grid->selectDataArea();
    else
        v.grid->selectBlock(1, 3, v.grid->grid()->columns(), 3 + rows);
    const CellRange chosen = v.grid->selection();
    for (auto _ : state)
        v.grid->copySelection();
    state.counters["cells"] = static_cast<double>(chosen.col2 - chosen.col1 + 1) * (chosen.row2 - chosen.row1 + 1);
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
BENCHMARK(zoomStep)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    return rumone::bench::runBenchmarksInQt(argc, argv);
}
