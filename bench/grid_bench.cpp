// The grid model and widget on the two largest tables the views build, next
// to a QTableWidget filled the usual way with the same cells.
//
// Build:  cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release
//           -DRUMONE_BENCH=ON -DRUMONE_TESTS=OFF
//         cmake --build build/bench --target grid_bench
// Run:    build/bench/bin/grid_bench
//
// One run prints a summary of one-shot figures (model build, first paint,
// QTableWidget fill), then Google Benchmark's figures for the repaint after
// scrolling one page. "First paint" runs from setGrid (or from the filled
// QTableWidget) to a completed grab() of the widget at its size hint, before
// the widget gets a window of its own.
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QTableWidget>
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstring>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <tuple>
#include <unistd.h>
#include <vector>

#include "ui/GridWidget.h"
#include "ui/ResultGrid.h"

using namespace rumone;

namespace {

constexpr int kDraws = 32767;  // the largest history a table can hold
constexpr Rgb kLineBlue = RGB(136, 196, 255);
constexpr Rgb kMarkBlue = RGB(62, 158, 255);
constexpr Rgb kRed = RGB(255, 0, 0);
constexpr Rgb kBlue = RGB(0, 0, 255);
constexpr Rgb kBlack = RGB(0, 0, 0);
constexpr Rgb kYellow = RGB(255, 255, 200);
constexpr Rgb kPink = RGB(255, 200, 200);
constexpr Rgb kCyan = RGB(200, 255, 255);
constexpr Rgb kGreen = RGB(200, 255, 200);

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// Bytes in use on the heap, small blocks and mapped large ones alike.
std::size_t HeapBytes()
{
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

std::size_t RssBytes()
{
    std::ifstream statm("/proc/self/statm");
    std::size_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

using Draws = std::vector<std::array<int, 4>>;

Draws RandomDraws(int count)
{
    std::mt19937 rng(20240601);
    std::uniform_int_distribution<int> digit(0, 9);
    Draws draws(count);
    for (auto& d : draws)
        for (int& x : d)
            x = digit(rng);
    return draws;
}

// ---- the three-group division table: 42 columns, N + 3 rows

void SetupGroupGrid(ResultGrid& g, int n)
{
    g.SetSize(42, n + 3);
    g.SetVisibleSize(42, 53);
    g.SetAutoSize(true);
    g.ShowBuiltInHeaders(false, false);
    g.SetScrollBars(ScrollBars::Both, true);
    g.SetFrozen(0, 3);
    g.SetEnterAction(EnterAction::NextCell);
    g.SetRowHeight(-1, 9);
    g.SetRowHeight(1, 15);
    g.SetRowHeight(2, 12);
    g.SetColumnWidth(-1, 2);
    g.SetColumnWidth(1, 6);
    g.SetColumnWidth(42, 6);
    g.RestrictToDataRows(true);
    g.SetCellKind(Block::AllCells(), CellKind::StaticText);
    g.SetAlignment(Block::AllCells(), HAlign::Centre, VAlign::Centre);
    g.SetBorder({1, 3, 42, -1}, BorderSides::All, kLineBlue);
    for (int b = 0; b < 4; ++b)
        g.SetBorder({2 + 10 * b, 1, 11 + 10 * b, 1}, BorderSides::Outline, kLineBlue);
    g.SetOverflow(true);
    for (int b = 0; b < 4; ++b)
        g.SetText(2 + 10 * b, 1, "　　　　当選数字(第" + std::to_string(b + 1) + "数字)　　　　");
    g.SetAlignment({2, 1, 41, 1}, HAlign::Left, VAlign::Centre);
    g.SetBackColour({2, 1, 41, 1}, kPink);
    for (int c : {1, 42}) {
        g.SetTextColour({c, 1, c, -1}, kRed);
        g.SetBackColour({c, 1, c, -1}, kYellow);
    }
    for (int b = 0; b < 4; ++b) {
        g.SetBackColour({2 + 10 * b, 2, 4 + 10 * b, -1}, kCyan);
        g.SetBackColour({8 + 10 * b, 2, 11 + 10 * b, -1}, kGreen);
    }
    g.SetActiveCell(0, 0);
}

void WriteGroupHeader(ResultGrid& g)
{
    const int firsts[] = {0, 3, 6};
    const int lasts[] = {2, 5, 9};
    const char* labels[] = {"　　 Ａ ", "　　 Ｂ ", "　　　 Ｃ 　　"};
    for (int b = 0; b < 4; ++b)
        for (int k = 0; k < 3; ++k) {
            const Block group{2 + 10 * b + firsts[k], 2, 2 + 10 * b + lasts[k], 2};
            g.SetBorder(group, BorderSides::None, std::nullopt);
            g.SetBorder(group, BorderSides::Outline, kLineBlue);
            g.SetText(group.col1, 2, labels[k]);
            g.SetAlignment(Block::Cell(group.col1, 2), HAlign::Left, VAlign::Centre);
        }
    g.SetText(1, 3, "回数");
    g.SetText(42, 3, "回数");
    for (int b = 0; b < 4; ++b)
        for (int d = 0; d <= 9; ++d)
            g.SetText(2 + 10 * b + d, 3, static_cast<long>(d));
    g.SetTextColour({2, 3, 11, 3}, kBlue);
}

void FillGroupTable(ResultGrid& g, const Draws& draws)
{
    int r = 4;
    for (std::size_t i = 0; i < draws.size(); ++i, ++r) {
        const long number = static_cast<long>(i) + 1;
        g.SetText(1, r, number);
        g.SetText(42, r, number);
        for (int p = 0; p < 4; ++p)
            g.SetText(10 * p + draws[i][p] + 2, r, "●");
        for (int p = 0; p < 4; ++p)
            g.SetTextColour(Block::Cell(10 * p + draws[i][p] + 2, r), kMarkBlue);
    }
}

std::shared_ptr<ResultGrid> BuildGroupTable(const Draws& draws)
{
    auto g = std::make_shared<ResultGrid>();
    SetupGroupGrid(*g, static_cast<int>(draws.size()));
    WriteGroupHeader(*g);
    FillGroupTable(*g, draws);
    return g;
}

// ---- the appearance interval table: 9 columns, N + 4 rows

void WriteIntervalHeader(ResultGrid& g, int titleRow, int captionRow)
{
    const Block title{2, titleRow, 9, titleRow};
    g.SetBorder(title, BorderSides::None, std::nullopt);
    g.SetBorder(title, BorderSides::Outline, std::nullopt);
    for (int row : {titleRow, captionRow}) {
        g.SetTextColour({2, row, 9, row}, kBlack);
        g.SetBackColour({2, row, 9, row}, kPink);
    }
    g.SetOverflow(true);
    g.SetText(5, titleRow, "    当 選 数 字     ");
    g.SetAlignment(Block::Cell(5, titleRow), HAlign::Left, VAlign::Centre);
    g.SetText(1, captionRow, "回数");
    for (int p = 1; p <= 4; ++p) {
        g.SetText(2 * p, captionRow, "第" + std::to_string(p) + "数字");
        g.SetText(2 * p + 1, captionRow, "出現");
    }
}

// "初回", or the interval followed by "回前", formatted into `buffer`.
std::string_view IntervalText(int interval, char (&buffer)[32])
{
    if (interval == 0)
        return "初回";
    char* end = std::to_chars(buffer, buffer + 16, interval).ptr;
    static constexpr std::string_view kBefore = "回前";
    std::memcpy(end, kBefore.data(), kBefore.size());
    return {buffer, static_cast<std::size_t>(end - buffer) + kBefore.size()};
}

std::shared_ptr<ResultGrid> BuildIntervalTable(const Draws& draws)
{
    const int n = static_cast<int>(draws.size());
    auto g = std::make_shared<ResultGrid>();
    g->SetSize(9, n + 4);
    g->SetVisibleSize(9, 52);
    g->SetAutoSize(true);
    g->ShowBuiltInHeaders(false, false);
    g->SetScrollBars(ScrollBars::Vertical, true);
    g->SetFrozen(0, 2);
    g->SetEnterAction(EnterAction::NextCell);
    g->RestrictToDataRows(true);
    g->SetRowHeight(-1, 10);
    g->SetRowHeight(1, 15);
    g->SetRowHeight(2, 12);
    g->SetColumnWidth(-1, 5);
    g->SetCellKind(Block::AllCells(), CellKind::StaticText);
    g->SetAlignment(Block::AllCells(), HAlign::Centre, VAlign::Centre);
    g->SetTextColour(Block::Columns(1, 1), kRed);
    g->SetBackColour(Block::Columns(1, 1), kYellow);
    for (int c : {2, 4, 6, 8})
        g->SetBackColour({c, 3, c, -1}, kCyan);
    g->SetBorder(Block::Columns(1, 9), BorderSides::All, std::nullopt);
    g->SetActiveCell(0, 0);
    WriteIntervalHeader(*g, 1, 2);
    WriteIntervalHeader(*g, n + 4, n + 3);

    // The last draw in which each digit stood anywhere: the same answer as
    // the backward search, for a gapless history of complete draws.
    int lastSeen[10] = {};
    char text[32];
    int r = 3;
    for (int i = 0; i < n; ++i, ++r) {
        const int number = i + 1;
        g->SetText(1, r, static_cast<long>(number));
        for (int p = 0; p < 4; ++p) {
            const int d = draws[i][p];
            g->SetText(2 * p + 2, r, static_cast<long>(d));
            const int interval = lastSeen[d] ? number - lastSeen[d] : 0;
            g->SetText(2 * p + 3, r, IntervalText(interval, text));
        }
        for (int p = 0; p < 4; ++p)
            lastSeen[draws[i][p]] = number;
    }
    return g;
}

// ---- QTableWidget, one item per cell

QColor ToQColor(const OptColour& c, QColor fallback)
{
    return c ? QColor(c->r, c->g, c->b) : fallback;
}

Qt::Alignment AlignmentOf(const CellStyle& s)
{
    Qt::Alignment a = s.hAlign == HAlign::Left ? Qt::AlignLeft : s.hAlign == HAlign::Right ? Qt::AlignRight : Qt::AlignHCenter;
    a |= s.vAlign == VAlign::Top ? Qt::AlignTop : s.vAlign == VAlign::Bottom ? Qt::AlignBottom : Qt::AlignVCenter;
    return a;
}

void FillTableWidget(QTableWidget& t, const ResultGrid& g, const GridWidget& sizes)
{
    t.horizontalHeader()->hide();
    t.verticalHeader()->hide();
    t.setColumnCount(g.Columns());
    t.setRowCount(g.Rows());
    t.verticalHeader()->setDefaultSectionSize(sizes.rowHeightPx(g.Rows()));
    for (int r = 1; r <= std::min(g.Rows(), 3); ++r)
        t.setRowHeight(r - 1, sizes.rowHeightPx(r));
    for (int c = 1; c <= g.Columns(); ++c)
        t.setColumnWidth(c - 1, sizes.columnWidthPx(c));
    for (int r = 1; r <= g.Rows(); ++r)
        for (int c = 1; c <= g.Columns(); ++c) {
            const CellStyle& s = g.Style(c, r);
            auto* item = new QTableWidgetItem(QString::fromStdString(g.GetText(c, r)));
            item->setForeground(ToQColor(s.text, Qt::black));
            item->setBackground(ToQColor(s.back, Qt::white));
            item->setTextAlignment(AlignmentOf(s));
            t.setItem(r - 1, c - 1, item);
        }
}

// ---- measurements

struct Figures {
    const char* name = "";
    long cells = 0;
    double buildMs = 0, firstPaintMs = 0;
    double bytesPerCell = 0, heapMB = 0;
    double scrollAvgMs = 0, scrollMaxMs = 0;
    std::size_t styles = 0;
    double qtFillMs = 0, qtFirstPaintMs = 0, qtHeapMB = 0, qtRssMB = 0, qtScrollAvgMs = 0;
};

constexpr double kMB = 1024.0 * 1024.0;
constexpr int kScrollPages = 30;
constexpr int kRounds = 3;

// Paints the viewport into `image`, as the window system would have it
// painted after a scroll.
void RenderViewport(QAbstractScrollArea& area, QImage& image)
{
    if (image.size() != area.viewport()->size())
        image = QImage(area.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    area.viewport()->render(&image);
}

// Scrolls one page at a time and times each repaint of the viewport.
std::pair<double, double> TimeScrollRepaints(QAbstractScrollArea& area)
{
    double total = 0, worst = 0;
    QImage image;
    RenderViewport(area, image);
    for (int i = 0; i < kScrollPages; ++i) {
        QScrollBar* bar = area.verticalScrollBar();
        bar->setValue(bar->value() + bar->pageStep());
        const auto t0 = Clock::now();
        RenderViewport(area, image);
        const double ms = MsSince(t0);
        total += ms;
        worst = std::max(worst, ms);
    }
    return {total / kScrollPages, worst};
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Each one-shot figure is the median of kRounds rounds, each with a fresh
// model and widget; memory is taken in the first round. The grid widget's
// figures for every table are taken before any QTableWidget is filled:
// millions of freed table items would otherwise leave the allocator work
// to do (merging freed blocks) that the next grid's allocation pays for.
Figures MeasureGrid(const char* name, const std::function<std::shared_ptr<ResultGrid>()>& build,
                    std::vector<std::unique_ptr<GridWidget>>& keep)
{
    Figures f;
    f.name = name;
    std::vector<double> buildMs, paintMs, scrollAvg, scrollMax;
    std::unique_ptr<GridWidget> widget;
    for (int round = 0; round < kRounds; ++round) {
        widget.reset();  // the previous round's table is gone before this one is built
        const std::size_t heap0 = HeapBytes();
        auto t0 = Clock::now();
        std::shared_ptr<ResultGrid> grid = build();
        buildMs.push_back(MsSince(t0));
        if (round == 0) {
            f.heapMB = static_cast<double>(HeapBytes() - heap0) / kMB;
            f.cells = static_cast<long>(grid->Columns()) * grid->Rows();
            f.bytesPerCell = static_cast<double>(grid->CellStorageBytes()) / static_cast<double>(f.cells);
            f.styles = grid->DistinctStyles();
        }

        widget = std::make_unique<GridWidget>();
        t0 = Clock::now();
        widget->setGrid(grid);
        widget->resize(widget->sizeHint());
        const QImage first = widget->grab().toImage();
        paintMs.push_back(MsSince(t0));
        widget->show();
        const auto [avg, worst] = TimeScrollRepaints(*widget);
        scrollAvg.push_back(avg);
        scrollMax.push_back(worst);
    }
    f.buildMs = Median(buildMs);
    f.firstPaintMs = Median(paintMs);
    f.scrollAvgMs = Median(scrollAvg);
    f.scrollMaxMs = *std::max_element(scrollMax.begin(), scrollMax.end());
    widget->verticalScrollBar()->setValue(0);
    keep.push_back(std::move(widget));
    return f;
}

// The same table as a QTableWidget filled the usual way, one item per cell.
void MeasureTableWidget(Figures& f, const GridWidget& widget)
{
    const ResultGrid& grid = *widget.grid();
    std::vector<double> qtFillMs, qtPaintMs, qtScroll;
    for (int round = 0; round < kRounds; ++round) {
        const std::size_t qtHeap0 = HeapBytes();
        const std::size_t qtRss0 = RssBytes();
        QTableWidget table;
        auto t0 = Clock::now();
        FillTableWidget(table, grid, widget);
        qtFillMs.push_back(MsSince(t0));
        if (round == 0) {
            f.qtHeapMB = static_cast<double>(HeapBytes() - qtHeap0) / kMB;
            f.qtRssMB = static_cast<double>(RssBytes() - qtRss0) / kMB;
        }
        t0 = Clock::now();
        table.resize(widget.size());
        const QImage qtFirst = table.grab().toImage();
        qtPaintMs.push_back(MsSince(t0));
        table.show();
        qtScroll.push_back(TimeScrollRepaints(table).first);
    }
    f.qtFillMs = Median(qtFillMs);
    f.qtFirstPaintMs = Median(qtPaintMs);
    f.qtScrollAvgMs = Median(qtScroll);
}

void PrintSummary(const std::vector<Figures>& all)
{
    std::printf("\nMedians of %d rounds.\n%-22s %10s %10s %9s %9s %8s %12s %13s\n", kRounds, "table", "cells", "build ms", "B/cell", "heap MB",
                "styles", "1st paint ms", "scroll avg/max ms");
    for (const Figures& f : all)
        std::printf("%-22s %10ld %10.1f %9.2f %9.1f %8zu %12.1f %7.2f/%.2f\n", f.name, f.cells, f.buildMs, f.bytesPerCell,
                    f.heapMB, f.styles, f.firstPaintMs, f.scrollAvgMs, f.scrollMaxMs);
    std::printf("\n%-22s %10s %9s %9s %12s %10s | %9s %9s\n", "QTableWidget", "fill ms", "heap MB", "RSS MB",
                "1st paint ms", "scroll ms", "speed-up", "memory");
    for (const Figures& f : all) {
        const double speedUp = f.qtFillMs / (f.buildMs + f.firstPaintMs);
        const double memory = f.heapMB / f.qtHeapMB;
        std::printf("%-22s %10.1f %9.1f %9.1f %12.1f %10.2f | %8.1fx %8.3f\n", f.name, f.qtFillMs, f.qtHeapMB, f.qtRssMB,
                    f.qtFirstPaintMs, f.qtScrollAvgMs, speedUp, memory);
    }
    std::printf("(heap MB: bytes allocated while filling; RSS growth reads 0 where pages freed by an earlier\n"
                "table are reused.)\n");
    std::printf("\nTargets: build + first paint >= 30x faster than the QTableWidget fill; model heap <= 0.25 of "
                "QTableWidget's; scroll repaint < 16 ms.\n");
    for (const Figures& f : all) {
        const bool fast = f.qtFillMs / (f.buildMs + f.firstPaintMs) >= 30.0;
        const bool small = f.heapMB <= 0.25 * f.qtHeapMB;
        const bool smooth = f.scrollMaxMs < 16.0;
        std::printf("%-22s speed %s, memory %s, scroll %s\n", f.name, fast ? "met" : "MISSED", small ? "met" : "MISSED",
                    smooth ? "met" : "MISSED");
    }
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    // One-time start-up of the process (font database, style) is not part
    // of either widget's first paint.
    {
        GridWidget warmUp;
        auto small = std::make_shared<ResultGrid>();
        small->SetSize(2, 2);
        small->SetText(1, 1, "回数");
        warmUp.setGrid(small);
        warmUp.grab();
        QTableWidget table(2, 2);
        table.setItem(0, 0, new QTableWidgetItem(QStringLiteral("回数")));
        table.grab();
    }

    const Draws draws = RandomDraws(kDraws);
    std::vector<std::unique_ptr<GridWidget>> widgets;
    std::vector<Figures> all;
    all.push_back(MeasureGrid("group (42 x 32770)", [&] { return BuildGroupTable(draws); }, widgets));
    all.push_back(MeasureGrid("interval (9 x 32771)", [&] { return BuildIntervalTable(draws); }, widgets));
    for (std::size_t i = 0; i < all.size(); ++i)
        MeasureTableWidget(all[i], *widgets[i]);
    PrintSummary(all);

    const char* names[] = {"ScrollOnePage/group", "ScrollOnePage/interval"};
    for (std::size_t i = 0; i < widgets.size(); ++i) {
        GridWidget* w = widgets[i].get();
        benchmark::RegisterBenchmark(names[i], [w](benchmark::State& state) {
            QScrollBar* bar = w->verticalScrollBar();
            QImage image;
            for (auto _ : state) {
                const int next = bar->value() + bar->pageStep();
                bar->setValue(next > bar->maximum() ? 0 : next);
                RenderViewport(*w, image);
            }
        })->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
