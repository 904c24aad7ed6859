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
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>

#include <unistd.h>
#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "BenchViews.h"
#include "core/grid/ResultGrid.h"
#include "gui/grid/GridWidget.h"

using namespace rumone;

namespace {

constexpr int kDraws = 32767;  // the largest history a table can hold
constexpr Rgb kLineBlue = rgb(136, 196, 255);
constexpr Rgb kMarkBlue = rgb(62, 158, 255);
constexpr Rgb kRed = rgb(255, 0, 0);
constexpr Rgb kBlue = rgb(0, 0, 255);
constexpr Rgb kBlack = rgb(0, 0, 0);
constexpr Rgb kYellow = rgb(255, 255, 200);
constexpr Rgb kPink = rgb(255, 200, 200);
constexpr Rgb kCyan = rgb(200, 255, 255);
constexpr Rgb kGreen = rgb(200, 255, 200);

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// Bytes in use on the heap, small blocks and mapped large ones alike.
std::size_t heapBytes()
{
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

std::size_t rssBytes()
{
    std::ifstream statm("/proc/self/statm");
    std::size_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}

using Draws = std::vector<std::array<int, 4>>;

Draws randomDraws(int count)
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

void setupGroupGrid(ResultGrid& g, int n)
{
    g.setSize(42, n + 3);
    g.setVisibleSize(42, 53);
    g.setAutoSize(true);
    g.showBuiltInHeaders(false, false);
    g.setScrollBars(ScrollBars::Both, true);
    g.setFrozen(0, 3);
    g.setEnterAction(EnterAction::NextCell);
    g.setRowHeight(-1, 9);
    g.setRowHeight(1, 15);
    g.setRowHeight(2, 12);
    g.setColumnWidth(-1, 2);
    g.setColumnWidth(1, 6);
    g.setColumnWidth(42, 6);
    g.restrictToDataRows(true);
    g.setCellKind(Block::allCells(), CellKind::StaticText);
    g.setAlignment(Block::allCells(), HAlign::Centre, VAlign::Centre);
    g.setBorder({1, 3, 42, -1}, BorderSides::All, kLineBlue);
    for (int b = 0; b < 4; ++b)
        g.setBorder({2 + 10 * b, 1, 11 + 10 * b, 1}, BorderSides::Outline, kLineBlue);
    g.setOverflow(true);
    for (int b = 0; b < 4; ++b)
        g.setText(2 + 10 * b, 1, "　　　　当選数字(第" + std::to_string(b + 1) + "数字)　　　　");
    g.setAlignment({2, 1, 41, 1}, HAlign::Left, VAlign::Centre);
    g.setBackColour({2, 1, 41, 1}, kPink);
    for (int c : {1, 42}) {
        g.setTextColour({c, 1, c, -1}, kRed);
        g.setBackColour({c, 1, c, -1}, kYellow);
    }
    for (int b = 0; b < 4; ++b) {
        g.setBackColour({2 + 10 * b, 2, 4 + 10 * b, -1}, kCyan);
        g.setBackColour({8 + 10 * b, 2, 11 + 10 * b, -1}, kGreen);
    }
    g.setActiveCell(0, 0);
}

void writeGroupHeader(ResultGrid& g)
{
    const int firsts[] = {0, 3, 6};
    const int lasts[] = {2, 5, 9};
    const char* labels[] = {"　　 Ａ ", "　　 Ｂ ", "　　　 Ｃ 　　"};
    for (int b = 0; b < 4; ++b)
        for (int k = 0; k < 3; ++k) {
            const Block group{2 + 10 * b + firsts[k], 2, 2 + 10 * b + lasts[k], 2};
            g.setBorder(group, BorderSides::None, std::nullopt);
            g.setBorder(group, BorderSides::Outline, kLineBlue);
            g.setText(group.col1, 2, labels[k]);
            g.setAlignment(Block::cell(group.col1, 2), HAlign::Left, VAlign::Centre);
        }
    g.setText(1, 3, "回数");
    g.setText(42, 3, "回数");
    for (int b = 0; b < 4; ++b)
        for (int d = 0; d <= 9; ++d)
            g.setText(2 + 10 * b + d, 3, static_cast<long>(d));
    g.setTextColour({2, 3, 11, 3}, kBlue);
}

void fillGroupTable(ResultGrid& g, const Draws& draws)
{
    int r = 4;
    for (std::size_t i = 0; i < draws.size(); ++i, ++r) {
        const long number = static_cast<long>(i) + 1;
        g.setText(1, r, number);
        g.setText(42, r, number);
        for (int p = 0; p < 4; ++p)
            g.setText(10 * p + draws[i][p] + 2, r, "●");
        for (int p = 0; p < 4; ++p)
            g.setTextColour(Block::cell(10 * p + draws[i][p] + 2, r), kMarkBlue);
    }
}

std::shared_ptr<ResultGrid> buildGroupTable(const Draws& draws)
{
    auto g = std::make_shared<ResultGrid>();
    setupGroupGrid(*g, static_cast<int>(draws.size()));
    writeGroupHeader(*g);
    fillGroupTable(*g, draws);
    return g;
}

// ---- the appearance interval table: 9 columns, N + 4 rows

void writeIntervalHeader(ResultGrid& g, int titleRow, int captionRow)
{
    const Block title{2, titleRow, 9, titleRow};
    g.setBorder(title, BorderSides::None, std::nullopt);
    g.setBorder(title, BorderSides::Outline, std::nullopt);
    for (int row : {titleRow, captionRow}) {
        g.setTextColour({2, row, 9, row}, kBlack);
        g.setBackColour({2, row, 9, row}, kPink);
    }
    g.setOverflow(true);
    g.setText(5, titleRow, "    当 選 数 字     ");
    g.setAlignment(Block::cell(5, titleRow), HAlign::Left, VAlign::Centre);
    g.setText(1, captionRow, "回数");
    for (int p = 1; p <= 4; ++p) {
        g.setText(2 * p, captionRow, "第" + std::to_string(p) + "数字");
        g.setText(2 * p + 1, captionRow, "出現");
    }
}

// "初回", or the interval followed by "回前", formatted into `buffer`.
std::string_view intervalText(int interval, char (&buffer)[32])
{
    if (interval == 0)
        return "初回";
    char* end = std::to_chars(buffer, buffer + 16, interval).ptr;
    static constexpr std::string_view kBefore = "回前";
    std::memcpy(end, kBefore.data(), kBefore.size());
    return {buffer, static_cast<std::size_t>(end - buffer) + kBefore.size()};
}

std::shared_ptr<ResultGrid> buildIntervalTable(const Draws& draws)
{
    const int n = static_cast<int>(draws.size());
    auto g = std::make_shared<ResultGrid>();
    g->setSize(9, n + 4);
    g->setVisibleSize(9, 52);
    g->setAutoSize(true);
    g->showBuiltInHeaders(false, false);
    g->setScrollBars(ScrollBars::Vertical, true);
    g->setFrozen(0, 2);
    g->setEnterAction(EnterAction::NextCell);
    g->restrictToDataRows(true);
    g->setRowHeight(-1, 10);
    g->setRowHeight(1, 15);
    g->setRowHeight(2, 12);
    g->setColumnWidth(-1, 5);
    g->setCellKind(Block::allCells(), CellKind::StaticText);
    g->setAlignment(Block::allCells(), HAlign::Centre, VAlign::Centre);
    g->setTextColour(Block::columns(1, 1), kRed);
    g->setBackColour(Block::columns(1, 1), kYellow);
    for (int c : {2, 4, 6, 8})
        g->setBackColour({c, 3, c, -1}, kCyan);
    g->setBorder(Block::columns(1, 9), BorderSides::All, std::nullopt);
    g->setActiveCell(0, 0);
    writeIntervalHeader(*g, 1, 2);
    writeIntervalHeader(*g, n + 4, n + 3);

    // The last draw in which each digit stood anywhere: the same answer as
    // the backward search, for a gapless history of complete draws.
    int lastSeen[10] = {};
    char text[32];
    int r = 3;
    for (int i = 0; i < n; ++i, ++r) {
        const int number = i + 1;
        g->setText(1, r, static_cast<long>(number));
        for (int p = 0; p < 4; ++p) {
            const int d = draws[i][p];
            g->setText(2 * p + 2, r, static_cast<long>(d));
            const int interval = lastSeen[d] ? number - lastSeen[d] : 0;
            g->setText(2 * p + 3, r, intervalText(interval, text));
        }
        for (int p = 0; p < 4; ++p)
            lastSeen[draws[i][p]] = number;
    }
    return g;
}

// ---- QTableWidget, one item per cell

QColor toQColor(const OptColour& c, QColor fallback)
{
    return c ? QColor(c->r, c->g, c->b) : fallback;
}

Qt::Alignment alignmentOf(const CellStyle& s)
{
    Qt::Alignment a = s.hAlign == HAlign::Left    ? Qt::AlignLeft
                      : s.hAlign == HAlign::Right ? Qt::AlignRight
                                                  : Qt::AlignHCenter;
    a |= s.vAlign == VAlign::Top ? Qt::AlignTop : s.vAlign == VAlign::Bottom ? Qt::AlignBottom : Qt::AlignVCenter;
    return a;
}

void fillTableWidget(QTableWidget& t, const ResultGrid& g, const GridWidget& sizes)
{
    t.horizontalHeader()->hide();
    t.verticalHeader()->hide();
    t.setColumnCount(g.columns());
    t.setRowCount(g.rows());
    t.verticalHeader()->setDefaultSectionSize(sizes.rowHeightPx(g.rows()));
    for (int r = 1; r <= std::min(g.rows(), 3); ++r)
        t.setRowHeight(r - 1, sizes.rowHeightPx(r));
    for (int c = 1; c <= g.columns(); ++c)
        t.setColumnWidth(c - 1, sizes.columnWidthPx(c));
    for (int r = 1; r <= g.rows(); ++r)
        for (int c = 1; c <= g.columns(); ++c) {
            const CellStyle& s = g.style(c, r);
            auto* item = new QTableWidgetItem(QString::fromStdString(g.getText(c, r)));
            item->setForeground(toQColor(s.text, Qt::black));
            item->setBackground(toQColor(s.back, Qt::white));
            item->setTextAlignment(alignmentOf(s));
            t.setItem(r - 1, c - 1, item);
        }
}

// ---- QTableView over a model of the same cells: the table a Qt developer
// would write, the cells computed once and handed out by data()

class GridTableModel : public QAbstractTableModel {
public:
    explicit GridTableModel(std::shared_ptr<const ResultGrid> grid) : grid_(std::move(grid)) {}
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : grid_->rows(); }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : grid_->columns(); }
    QVariant data(const QModelIndex& index, int role) const override
    {
        const int c = index.column() + 1, r = index.row() + 1;
        switch (role) {
            case Qt::DisplayRole:
                return QString::fromStdString(grid_->getText(c, r));
            case Qt::ForegroundRole:
                return toQColor(grid_->style(c, r).text, Qt::black);
            case Qt::BackgroundRole:
                return toQColor(grid_->style(c, r).back, Qt::white);
            case Qt::TextAlignmentRole:
                return QVariant::fromValue(alignmentOf(grid_->style(c, r)));
            default:
                return {};
        }
    }

private:
    std::shared_ptr<const ResultGrid> grid_;
};

void sizeTableView(QTableView& t, const ResultGrid& g, const GridWidget& sizes)
{
    t.horizontalHeader()->hide();
    t.verticalHeader()->hide();
    t.verticalHeader()->setDefaultSectionSize(sizes.rowHeightPx(g.rows()));
    for (int r = 1; r <= std::min(g.rows(), 3); ++r)
        t.setRowHeight(r - 1, sizes.rowHeightPx(r));
    for (int c = 1; c <= g.columns(); ++c)
        t.setColumnWidth(c - 1, sizes.columnWidthPx(c));
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
    double viewBuildMs = 0, viewFirstPaintMs = 0, viewScrollAvgMs = 0;
};

constexpr double kMB = 1024.0 * 1024.0;
constexpr int kScrollPages = 30;
constexpr int kRounds = 5;

// Paints the viewport into `image`, as the window system would have it
// painted after a scroll.
void renderViewport(QAbstractScrollArea& area, QImage& image)
{
    if (image.size() != area.viewport()->size())
        image = QImage(area.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    area.viewport()->render(&image);
}

// Scrolls one page at a time and times each repaint of the viewport.
std::pair<double, double> timeScrollRepaints(QAbstractScrollArea& area)
{
    double total = 0, worst = 0;
    QImage image;
    renderViewport(area, image);
    for (int i = 0; i < kScrollPages; ++i) {
        QScrollBar* bar = area.verticalScrollBar();
        bar->setValue(bar->value() + bar->pageStep());
        const auto t0 = Clock::now();
        renderViewport(area, image);
        const double ms = msSince(t0);
        total += ms;
        worst = std::max(worst, ms);
    }
    return {total / kScrollPages, worst};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Each one-shot figure is the median of kRounds rounds, each with a fresh
// model and widget; memory is taken in the first round. The grid widget's
// figures for every table are taken before any QTableWidget is filled:
// millions of freed table items would otherwise leave the allocator work
// to do (merging freed blocks) that the next grid's allocation pays for.
Figures measureGrid(const char* name, const std::function<std::shared_ptr<ResultGrid>()>& build,
                    std::vector<std::unique_ptr<GridWidget>>& keep)
{
    Figures f;
    f.name = name;
    std::vector<double> buildMs, paintMs, scrollAvg, scrollMax;
    std::unique_ptr<GridWidget> widget;
    for (int round = 0; round < kRounds; ++round) {
        widget.reset();  // the previous round's table is gone before this one is built
        const std::size_t heap0 = heapBytes();
        auto t0 = Clock::now();
        std::shared_ptr<ResultGrid> grid = build();
        buildMs.push_back(msSince(t0));
        if (round == 0) {
            f.heapMB = static_cast<double>(heapBytes() - heap0) / kMB;
            f.cells = static_cast<long>(grid->columns()) * grid->rows();
            f.bytesPerCell = static_cast<double>(grid->cellStorageBytes()) / static_cast<double>(f.cells);
            f.styles = grid->distinctStyles();
        }

        widget = std::make_unique<GridWidget>();
        t0 = Clock::now();
        widget->setGrid(grid);
        widget->resize(widget->sizeHint());
        const QImage first = widget->grab().toImage();
        paintMs.push_back(msSince(t0));
        widget->show();
        const auto [avg, worst] = timeScrollRepaints(*widget);
        scrollAvg.push_back(avg);
        scrollMax.push_back(worst);
    }
    f.buildMs = median(buildMs);
    f.firstPaintMs = median(paintMs);
    f.scrollAvgMs = median(scrollAvg);
    f.scrollMaxMs = *std::max_element(scrollMax.begin(), scrollMax.end());
    widget->verticalScrollBar()->setValue(0);
    keep.push_back(std::move(widget));
    return f;
}

// The same table as a QTableWidget filled the usual way, one item per cell.
void measureTableWidget(Figures& f, const GridWidget& widget)
{
    const ResultGrid& grid = *widget.grid();
    std::vector<double> qtFillMs, qtPaintMs, qtScroll;
    for (int round = 0; round < kRounds; ++round) {
        const std::size_t qtHeap0 = heapBytes();
        const std::size_t qtRss0 = rssBytes();
        QTableWidget table;
        auto t0 = Clock::now();
        fillTableWidget(table, grid, widget);
        qtFillMs.push_back(msSince(t0));
        if (round == 0) {
            f.qtHeapMB = static_cast<double>(heapBytes() - qtHeap0) / kMB;
            f.qtRssMB = static_cast<double>(rssBytes() - qtRss0) / kMB;
        }
        t0 = Clock::now();
        table.resize(widget.size());
        const QImage qtFirst = table.grab().toImage();
        qtPaintMs.push_back(msSince(t0));
        table.show();
        qtScroll.push_back(timeScrollRepaints(table).first);
    }
    f.qtFillMs = median(qtFillMs);
    f.qtFirstPaintMs = median(qtPaintMs);
    f.qtScrollAvgMs = median(qtScroll);
}

// The same table as a QTableView over a model: each round builds the cells
// afresh (as the grid's rounds do), sets the model and paints once.
void measureTableView(Figures& f, const GridWidget& widget, const std::function<std::shared_ptr<ResultGrid>()>& build)
{
    std::vector<double> buildMs, paintMs, scroll;
    for (int round = 0; round < kRounds; ++round) {
        QTableView view;
        auto t0 = Clock::now();
        const std::shared_ptr<ResultGrid> grid = build();
        GridTableModel model(grid);
        view.setModel(&model);
        sizeTableView(view, *grid, widget);
        buildMs.push_back(msSince(t0));
        t0 = Clock::now();
        view.resize(widget.size());
        const QImage first = view.grab().toImage();
        paintMs.push_back(msSince(t0));
        view.show();
        scroll.push_back(timeScrollRepaints(view).first);
        view.setModel(nullptr);
    }
    f.viewBuildMs = median(buildMs);
    f.viewFirstPaintMs = median(paintMs);
    f.viewScrollAvgMs = median(scroll);
}

void printSummary(const std::vector<Figures>& all)
{
    std::printf("\nMedians of %d rounds.\n%-22s %10s %10s %9s %9s %8s %12s %13s\n", kRounds, "table", "cells",
                "build ms", "B/cell", "heap MB", "styles", "1st paint ms", "scroll avg/max ms");
    for (const Figures& f : all)
        std::printf("%-22s %10ld %10.1f %9.2f %9.1f %8zu %12.1f %7.2f/%.2f\n", f.name, f.cells, f.buildMs,
                    f.bytesPerCell, f.heapMB, f.styles, f.firstPaintMs, f.scrollAvgMs, f.scrollMaxMs);
    std::printf("\n%-22s %10s %9s %9s %12s %10s | %9s %9s\n", "QTableWidget", "fill ms", "heap MB", "RSS MB",
                "1st paint ms", "scroll ms", "speed-up", "memory");
    // Both sides: the table built and painted once.
    const auto speedUpOf = [](const Figures& f) {
        return (f.qtFillMs + f.qtFirstPaintMs) / (f.buildMs + f.firstPaintMs);
    };
    for (const Figures& f : all) {
        const double speedUp = speedUpOf(f);
        const double memory = f.heapMB / f.qtHeapMB;
        std::printf("%-22s %10.1f %9.1f %9.1f %12.1f %10.2f | %8.1fx %8.3f\n", f.name, f.qtFillMs, f.qtHeapMB,
                    f.qtRssMB, f.qtFirstPaintMs, f.qtScrollAvgMs, speedUp, memory);
    }
    std::printf(
        "(heap MB: bytes allocated while filling; RSS growth reads 0 where pages freed by an earlier\n"
        "table are reused.)\n");
    std::printf("\n%-22s %10s %12s %10s | %9s\n", "QTableView + model", "build ms", "1st paint ms", "scroll ms",
                "speed-up");
    for (const Figures& f : all)
        std::printf("%-22s %10.1f %12.1f %10.2f | %8.2fx\n", f.name, f.viewBuildMs, f.viewFirstPaintMs,
                    f.viewScrollAvgMs, (f.viewBuildMs + f.viewFirstPaintMs) / (f.buildMs + f.firstPaintMs));
    std::printf("(both build the same cells; the model hands them to the view as it paints.)\n");
    std::printf(
        "\nTargets, for the group table: build + first paint >= 100x faster than the QTableWidget's fill + "
        "first paint; model heap <= 1/20 of QTableWidget's; scroll repaint < 16 ms. The interval table is "
        "shown for comparison.\n");
    const Figures& group = all.front();
    const double gridMs = group.buildMs + group.firstPaintMs;
    char peer[96];
    std::snprintf(peer, sizeof peer, "QTableView+model %.1f ms (%.2fx), QTableWidget %.1f ms (%.0fx)",
                  group.viewBuildMs + group.viewFirstPaintMs, (group.viewBuildMs + group.viewFirstPaintMs) / gridMs,
                  group.qtFillMs + group.qtFirstPaintMs, speedUpOf(group));
    bench::printWaitLine("grid build + first paint, 42 x 32770", gridMs, peer,
                         "QTableWidget >= 100x; QTableView reported", speedUpOf(group) >= 100.0);
    for (const Figures& f : all) {
        const bool fast = speedUpOf(f) >= 100.0;
        const bool small = f.heapMB <= f.qtHeapMB / 20;
        const bool smooth = f.scrollMaxMs < 16.0;
        std::printf("%-22s speed %s, memory %s, scroll %s\n", f.name, fast ? "met" : "MISSED", small ? "met" : "MISSED",
                    smooth ? "met" : "MISSED");
    }
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv)
{
    bench::startLikeTheProgram();
    QApplication app(argc, argv);
    rumone::bench::startQtLikeTheProgram();
    benchmark::Initialize(&argc, argv);

    // One-time start-up of the process (font database, style) is not part
    // of either widget's first paint.
    {
        GridWidget warmUp;
        auto small = std::make_shared<ResultGrid>();
        small->setSize(2, 2);
        small->setText(1, 1, "回数");
        warmUp.setGrid(small);
        warmUp.grab();
        QTableWidget table(2, 2);
        table.setItem(0, 0, new QTableWidgetItem(QStringLiteral("回数")));
        table.grab();
    }

    const Draws draws = randomDraws(kDraws);
    std::vector<std::unique_ptr<GridWidget>> widgets;
    std::vector<Figures> all;
    all.push_back(measureGrid(
        "group (42 x 32770)", [&] { return buildGroupTable(draws); }, widgets));
    all.push_back(measureGrid(
        "interval (9 x 32771)", [&] { return buildIntervalTable(draws); }, widgets));
    measureTableView(all[0], *widgets[0], [&] { return buildGroupTable(draws); });
    measureTableView(all[1], *widgets[1], [&] { return buildIntervalTable(draws); });
    for (std::size_t i = 0; i < all.size(); ++i)
        measureTableWidget(all[i], *widgets[i]);
    printSummary(all);

    const char* names[] = {"ScrollOnePage/group", "ScrollOnePage/interval"};
    for (std::size_t i = 0; i < widgets.size(); ++i) {
        GridWidget* w = widgets[i].get();
        benchmark::RegisterBenchmark(names[i], [w](benchmark::State& state) {
            QScrollBar* bar = w->verticalScrollBar();
            QImage image;
            for (auto _ : state) {
                const int next = bar->value() + bar->pageStep();
                bar->setValue(next > bar->maximum() ? 0 : next);
                renderViewport(*w, image);
            }
        })->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
