#include "core/analysis/pattern/CarryOver.h"

#include <algorithm>
#include <array>
#include <optional>

#include "core/analysis/chance/ChanceLaws.h"
#include "core/analysis/pattern/DrawRows.h"
#include "core/grid/GridSteps.h"

namespace rumone {

namespace {

constexpr int kColumns = 5;
constexpr const char* kTitle = "　　当 選 数 字";

void setupCarryOverGrid(ResultGrid& g, int rows)
{
    layOutGrid(g, kColumns, rows, 5, 51, ScrollBars::Vertical, 1, 1);
    g.setRowHeight(-1, 10);
    g.setRowHeight(1, 15);
    g.setColumnWidth(-1, 6);
    g.restrictToDataRows(true);
    centreAllCells(g);
    g.setBorder({1, 1, kColumns, -1}, BorderSides::All, std::nullopt);
    g.setTextColour({1, 2, 1, -1}, kRed);
    g.setBackColour({1, 2, 1, -1}, kLightYellow);
}

void writeCarryOverHeader(ResultGrid& g)
{
    g.setBorder({2, 1, 5, 1}, BorderSides::None, std::nullopt);
    g.setBorder({2, 1, 5, 1}, BorderSides::Bottom, std::nullopt);
    g.setTextColour({1, 1, kColumns, 1}, kBlack);
    g.setBackColour({1, 1, kColumns, 1}, kPink);
    g.setText(1, 1, "回数");
    g.setDrawColumn(1);
    g.setOverflow(true);
    g.setAlignment(Block::cell(3, 1), HAlign::Left, VAlign::Centre);
    g.setText(3, 1, kTitle);
}

// Highlights each current digit that equals any digit of the previous draw.
void markCarriedDigits(ResultGrid& g, const std::array<int, 4>& previous, const std::array<int, 4>& current, int row)
{
    static constexpr OptColour kCarried = kLightCyan;  // kept whole, as the grid takes it
    for (int j = 0; j < 4; ++j)
        if (std::find(previous.begin(), previous.end(), current[j]) != previous.end())
            g.setBackColour(Block::cell(j + 2, row), kCarried);
}

void fillCarryOverTable(ResultGrid& g, const DrawHistory& history)
{
    std::optional<std::array<int, 4>> previousDigits;
    int row = 2;
    for (const Draw& draw : history.completeDraws()) {
        g.setText(1, row, static_cast<long>(draw.number));
        for (int k = 0; k < 4; ++k)
            g.setText(k + 2, row, static_cast<long>(draw.digits[k]));
        if (previousDigits)
            markCarriedDigits(g, *previousDigits, draw.digits, row);
        previousDigits = draw.digits;
        ++row;
    }
}

std::vector<LegendItem> carryOverLegend()
{
    return {legendSwatch("Label2", 5040, 120, 375, 255, rgb(128, 255, 255)),
            legendLabel("Label3", 5460, 120, 1335, 255, ":前回の数字")};
}

}  // namespace

void buildCarryOverTable(ResultGrid& grid, const DrawHistory& history)
{
    setupCarryOverGrid(grid, rowsForDraws(history, 1));
    writeCarryOverHeader(grid);
    fillCarryOverTable(grid, history);
}

AnalysisViewSpec carryOverView()
{
    return {
        .objectName = "引っ張り分析",
        .caption = "引っ張り分析",
        .menuAction = "mnuHippari",
        .menuCaption = "引っ張り分析",
        .submenu = kTopLevelMenu,
        .helpKeyword = "引っ張り分析",
        .label1 = "過去の当選数字に前回の数字が入っているか分析します",
        .widthTwips = 7000,
        .heightTwips = 13500,
        .hasPrintButton = false,
        .letMessagesRunAfterBuild = false,
        .legend = carryOverLegend(),
        .build = &buildCarryOverTable,
        .chance = carryOverChance,
    };
}

}  // namespace rumone
