#include "core/analysis/frequency/AppearanceCount.h"

#include <array>

#include "core/analysis/chance/ChanceLaws.h"
#include "core/grid/GridSteps.h"

namespace rumone {

namespace {

constexpr int kColumns = 9;  // draw number, four digits, four counts
constexpr int kHeaderRows = 2;
constexpr int kFirstCountColumn = 6;

// One row per complete draw below the two header rows, so that a history
// with gaps or incomplete rows neither drops a draw nor leaves empty rows.
void setupCountGrid(ResultGrid& g, int drawRows)
{
    layOutGrid(g, kColumns, drawRows + kHeaderRows, kColumns, 52, ScrollBars::Vertical, 0, kHeaderRows);
    g.restrictToDataRows(true);
    g.setRowHeight(-1, 10);
    g.setRowHeight(1, 15);
    g.setRowHeight(2, 12);
    g.setColumnWidth(-1, 5);
    g.setColumnWidth(1, 6);
    centreAllCells(g);
    g.setTextColour(Block::columns(1, 1), kRed);
    g.setBackColour(Block::columns(1, 1), kLightYellow);
    g.setBorder(Block::allCells(), BorderSides::All, std::nullopt);
    g.setActiveCell(0, 0);
}

// Two title boxes over the digit and count columns, and the captions.
void writeCountHeader(ResultGrid& g)
{
    g.setTextColour({2, 1, 5, 2}, kBlue);
    g.setBackColour({2, 1, 5, 2}, kLightCyan);
    g.setTextColour({6, 1, 9, 2}, kRed);
    g.setBackColour({6, 1, 9, 2}, kLightGreen);
    g.setRowHeight(1, 20);

    g.setBorder({2, 1, 5, 1}, BorderSides::None, std::nullopt);
    g.setBorder(Block::cell(5, 1), BorderSides::Right, std::nullopt);
    g.setBorder({6, 1, 9, 1}, BorderSides::None, std::nullopt);
    g.setBorder(Block::cell(9, 1), BorderSides::Right, std::nullopt);

    g.setOverflow(true);
    g.setText(3, 1, "  当 選 数 字");
    g.setAlignment(Block::cell(3, 1), HAlign::Left, VAlign::Centre);
    g.setText(8, 1, "前回までの出現回数合計(回)");
    g.setAlignment(Block::cell(8, 1), HAlign::Centre, VAlign::Centre);

    g.setText(1, 2, kDrawColumnNames[0]);
    g.setDrawColumn(1);
    for (int p = 0; p < 4; ++p) {
        g.setText(2 + p, 2, kDrawColumnNames[p + 1]);
        g.setText(kFirstCountColumn + p, 2, kDrawColumnNames[p + 1]);
    }
}

// Each draw with the counts of its digits over all earlier draws; the
// draw's own digits are counted only after its row is written.
void fillCountTable(ResultGrid& g, const DrawHistory& history)
{
    std::array<int, 10> digitRunningCount{};
    int row = kHeaderRows + 1;
    for (const Draw& draw : history.completeDraws()) {
        g.setText(1, row, static_cast<long>(draw.number));
        for (int p = 0; p < 4; ++p) {
            g.setText(2 + p, row, static_cast<long>(draw.digits[p]));
            g.setText(kFirstCountColumn + p, row, static_cast<long>(digitRunningCount[draw.digits[p]]));
        }
        for (int d : draw.digits)
            ++digitRunningCount[d];
        ++row;
    }
}

}  // namespace

void buildCountView(ResultGrid& grid, const DrawHistory& history)
{
    setupCountGrid(grid, static_cast<int>(history.completeDraws().size()));
    writeCountHeader(grid);
    fillCountTable(grid, history);
}

AnalysisViewSpec appearanceCountView()
{
    return {
        .objectName = "出現回数分析",
        .caption = "出現回数分析",
        .menuAction = "mnuZenkaiSyutugen",
        .menuCaption = "出現回数分析",
        .submenu = kTopLevelMenu,
        .helpKeyword = "出現回数分析",
        .label1 = "過去の当選数字が何回出現したか分析します",
        .widthTwips = 6280,
        .heightTwips = 13850,
        .hasPrintButton = false,
        .letMessagesRunAfterBuild = false,
        .legend = {},
        .build = &buildCountView,
        .chance = earlierCountRankChance,
    };
}

}  // namespace rumone
