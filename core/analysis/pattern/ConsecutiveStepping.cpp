#include "core/analysis/pattern/ConsecutiveStepping.h"

#include <cstdlib>

#include "core/analysis/chance/ChanceLaws.h"
#include "core/analysis/pattern/DrawRows.h"
#include "core/grid/GridSteps.h"

namespace rumone {

namespace {

constexpr int kColumns = 10;
// First column (the draw number) of each half.
constexpr int kConsecutiveHalf = 1;
constexpr int kSteppingHalf = 6;

void setupConsecutiveGrid(ResultGrid& g, int rows)
{
    layOutGrid(g, kColumns, rows, 10, 51, ScrollBars::Vertical, 1, 1);
    g.setRowHeight(-1, 10);
    g.setColumnWidth(-1, 5);
    g.setColumnWidth(kConsecutiveHalf, 6);
    g.setColumnWidth(kSteppingHalf, 6);
    g.restrictToDataRows(true);
    centreAllCells(g);
    g.setBorder({1, 1, kColumns, -1}, BorderSides::All, std::nullopt);
    for (int column : {kConsecutiveHalf, kSteppingHalf}) {
        g.setTextColour(Block::columns(column, column), kRed);
        g.setBackColour(Block::columns(column, column), kLightYellow);
    }
}

// One half's header: "回数" over the draw numbers and a titled band over the
// four digit columns.
void writeHalfHeader(ResultGrid& g, int half, Rgb bandColour, const char* title)
{
    const Block band{half + 1, 1, half + 4, 1};
    g.setText(half, 1, "回数");
    g.setBorder(band, BorderSides::None, std::nullopt);
    g.setBorder(band, BorderSides::Outline, std::nullopt);
    g.setBackColour(band, bandColour);
    g.setTextColour(band, kRed);
    g.setAlignment(Block::cell(half + 2, 1), HAlign::Left, VAlign::Centre);
    g.setText(half + 2, 1, title);
}

void writeConsecutiveHeader(ResultGrid& g)
{
    g.setDrawColumn(kConsecutiveHalf);
    g.setOverflow(true);
    writeHalfHeader(g, kConsecutiveHalf, kLightMagenta, "連番(当選数字)");
    writeHalfHeader(g, kSteppingHalf, kPink, "飛び石(当選数字)");
}

// Writes the draw into one half and colours both cells of every neighbouring
// pair whose digits differ by `gap`; the draw-number cell turns grey when no
// pair matches.
void writeHalf(ResultGrid& g, const Draw& draw, int half, int row, int gap, const OptColour& pairColour)
{
    g.setText(half, row, static_cast<long>(draw.number));
    for (int k = 0; k < 4; ++k)
        g.setText(half + 1 + k, row, static_cast<long>(draw.digits[k]));
    int pairs = 0;
    for (int k = 0; k < 3; ++k) {
        if (std::abs(draw.digits[k] - draw.digits[k + 1]) != gap)
            continue;
        g.setBackColour({half + 1 + k, row, half + 2 + k, row}, pairColour);
        ++pairs;
    }
    static constexpr OptColour kNoPair = kGrey;  // kept whole, as the grid takes it
    if (pairs == 0)
        g.setBackColour(Block::cell(half, row), kNoPair);
}

void fillConsecutiveTable(ResultGrid& g, const DrawHistory& history)
{
    // The pair colours made once: a colour made afresh for every call costs
    // more than the call.
    const OptColour consecutivePairs = kLightCyan;
    const OptColour steppingPairs = kLightGreen;
    int row = 2;
    for (const Draw& draw : history.completeDraws()) {
        writeHalf(g, draw, kConsecutiveHalf, row, 1, consecutivePairs);
        writeHalf(g, draw, kSteppingHalf, row, 2, steppingPairs);
        ++row;
    }
}

}  // namespace

void buildConsecutiveSteppingTable(ResultGrid& grid, const DrawHistory& history)
{
    setupConsecutiveGrid(grid, rowsForDraws(history, 1));
    writeConsecutiveHeader(grid);
    fillConsecutiveTable(grid, history);
}

AnalysisViewSpec consecutiveSteppingView()
{
    return {
        .objectName = "連番飛び石分析",
        .caption = "連番・飛び石分析",
        .menuAction = "mnuRenbanTobiishi",
        .menuCaption = "連番・飛び石分析",
        .submenu = kTopLevelMenu,
        .helpKeyword = "連番・飛び石分析",
        .label1 = "過去の当選番号の連続数字と一つ飛び数字の傾向を分析します",
        .widthTwips = 7000,
        .heightTwips = 13400,
        .hasPrintButton = true,
        .letMessagesRunAfterBuild = false,
        .legend = {},
        .build = &buildConsecutiveSteppingTable,
        .chance = consecutiveSteppingChance,
    };
}

}  // namespace rumone
