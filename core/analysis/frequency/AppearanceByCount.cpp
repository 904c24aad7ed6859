#include "core/analysis/frequency/AppearanceByCount.h"

#include <string>

#include "core/analysis/chance/ChanceLaws.h"
#include "core/grid/GridSteps.h"

namespace rumone {

namespace {

constexpr int kColumns = 2;  // the count, the digits with that count

// Captions plus one row per distinct count; the widget keeps its designed
// size, so no auto-size.
void setupByCountGrid(ResultGrid& g, int rows)
{
    layOutGrid(g, kColumns, rows, kColumns, rows, ScrollBars::Horizontal, 0, 0, /*autoSize=*/false);
    g.setRowHeight(-1, 10);
    g.setColumnWidth(-1, 5);
    g.setColumnWidth(2, 20);
    g.restrictToDataRows(true);
    g.setBorder(Block::allCells(), BorderSides::All, std::nullopt);
    centreAllCells(g);
    g.setBackColour({1, 2, 1, -1}, kLightYellow);
    g.setActiveCell(0, 0);
}

void writeByCountCaptions(ResultGrid& g)
{
    g.setText(1, 1, "出 現");
    g.setBackColour(Block::cell(1, 1), kPink);
    g.setText(2, 1, "数 字");
    g.setBackColour(Block::cell(2, 1), kPink);
    g.setOverflow(true);
    // Every row of digits reads alike, however few draws there are.
    g.setTextColour({2, 2, 2, -1}, kBlue);
    g.setAlignment({2, 2, 2, -1}, HAlign::Left, VAlign::Centre);
}

// Counts from 0 up; a count that no digit has takes no row.
void fillByCountRows(ResultGrid& g, const DrawHistory& history)
{
    int row = 1;
    for (int c = 0; c <= history.maxDigitCount(); ++c) {
        const std::string& digits = history.digitsByCount(c);
        if (digits.empty())
            continue;
        ++row;
        g.setText(1, row, std::to_string(c) + "回");
        g.setText(2, row, digits);
    }
}

}  // namespace

void buildByCountView(ResultGrid& grid, const DrawHistory& history)
{
    setupByCountGrid(grid, history.distinctCountRows());
    writeByCountCaptions(grid);
    fillByCountRows(grid, history);
}

AnalysisViewSpec appearanceByCountView()
{
    return {
        .objectName = "回数別出現分析",
        .caption = "回数別頻度分析",
        .menuAction = "mnuSyutugenKaisu",
        .menuCaption = "回数別出現分析",
        .submenu = kFrequencySubmenu,
        .helpKeyword = "回数別出現分析",
        .label1 = "過去の当選番号から出現回数別の数字を分析します",
        .widthTwips = 3405,
        .heightTwips = 6700,
        .hasPrintButton = true,
        .letMessagesRunAfterBuild = false,
        .legend = {},
        .build = &buildByCountView,
        .chance = digitsByCountChance,
    };
}

}  // namespace rumone
