#include "core/analysis/pattern/DigitSum.h"

#include "core/analysis/chance/ChanceLaws.h"
#include "core/analysis/pattern/DrawRows.h"
#include "core/grid/GridSteps.h"

namespace rumone {

namespace {

constexpr int kColumns = 6;
constexpr int kSumColumn = 6;
constexpr const char* kTitle = "　当 選 数 字";

void setupDigitSumGrid(ResultGrid& g, int rows)
{
    layOutGrid(g, kColumns, rows, 9, 51, ScrollBars::Vertical, 0, 1);
    g.setRowHeight(-1, 10);
    g.setRowHeight(1, 20);
    g.setColumnWidth(-1, 5);
    g.setColumnWidth(1, 7);
    g.setColumnWidth(kSumColumn, 7);
    g.restrictToDataRows(true);
    centreAllCells(g);

    g.setTextColour({1, 2, 1, -1}, kRed);
    g.setBackColour({1, 2, 1, -1}, kLightYellow);
    g.setTextColour({kSumColumn, 2, kSumColumn, -1}, kBlue);
    g.setBackColour({kSumColumn, 2, kSumColumn, -1}, kLightCyan);
    g.setBorder({1, -1, kColumns, -1}, BorderSides::All, std::nullopt);
}

void writeDigitSumHeader(ResultGrid& g)
{
    g.setBorder({2, 1, 5, 1}, BorderSides::None, std::nullopt);
    g.setBorder({2, 1, kSumColumn, 1}, BorderSides::Outline, std::nullopt);
    g.setTextColour({1, 1, kColumns, 1}, kBlack);
    g.setBackColour({1, 1, kColumns, 1}, kPink);

    g.setAlignment(Block::cell(3, 1), HAlign::Left, VAlign::Centre);
    g.setOverflow(true);
    g.setText(3, 1, kTitle);
    g.setRowHeight(1, 20);
    g.setText(1, 1, "回数");
    g.setDrawColumn(1);
    g.setText(kSumColumn, 1, "合計");
}

void fillDigitSumTable(ResultGrid& g, const DrawHistory& history)
{
    int row = 2;
    for (const Draw& draw : history.completeDraws()) {
        g.setText(1, row, static_cast<long>(draw.number));
        long sum = 0;
        for (int k = 0; k < 4; ++k) {
            g.setText(k + 2, row, static_cast<long>(draw.digits[k]));
            sum += draw.digits[k];
        }
        g.setText(kSumColumn, row, sum);
        ++row;
    }
}

}  // namespace

void buildDigitSumTable(ResultGrid& grid, const DrawHistory& history)
{
    setupDigitSumGrid(grid, rowsForDraws(history, 1));
    writeDigitSumHeader(grid);
    fillDigitSumTable(grid, history);
}

AnalysisViewSpec digitSumView()
{
    return {
        .objectName = "数字合計分析",
        .caption = "数字合計分析",
        .menuAction = "mnuHonsuji",
        .menuCaption = "数字合計分析",
        .submenu = kTopLevelMenu,
        .helpKeyword = "数字合計分析",
        .label1 = "過去の当選番号の各数字の合計を分析します",
        .widthTwips = 4860,
        .heightTwips = 13680,
        .hasPrintButton = true,
        .letMessagesRunAfterBuild = false,
        .legend = {},
        .build = &buildDigitSumTable,
        .chance = digitSumChance,
    };
}

}  // namespace rumone
