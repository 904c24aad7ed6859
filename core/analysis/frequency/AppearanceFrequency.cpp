#include "core/analysis/frequency/AppearanceFrequency.h"

#include <array>

#include "core/analysis/chance/ChanceLaws.h"
#include "core/grid/GridSteps.h"

namespace rumone {

namespace {

constexpr int kColumns = 11;  // the scale, then one column per digit 0-9
constexpr int kHeaderRows = 2;

int digitColumn(int digit)
{
    return digit + 2;
}

// Table of M + 2 rows, M the largest appearance count of any digit.
void setupFrequencyGrid(ResultGrid& g, int maxCount)
{
    const int rows = maxCount + kHeaderRows;
    layOutGrid(g, kColumns, rows, kColumns, rows, ScrollBars::Both, 1, kHeaderRows);
    g.setRowHeight(-1, 10);
    g.setRowHeight(1, 15);
    g.setRowHeight(2, 15);
    g.setColumnWidth(-1, 3);
    g.setColumnWidth(1, 5);
    g.restrictToDataRows(true);
    centreAllCells(g);

    g.setBorder({1, 1, kColumns, 1}, BorderSides::Outline, kLineBlue);
    g.setBackColour({1, 1, kColumns, 1}, kLightYellow);
    g.setBorder(Block::columns(1, 1), BorderSides::Right, kLineBlue);

    g.setOverflow(true);
    g.setText(5, 1, "\u3000\u3000当 選 数 字");
    g.setTextColour(Block::cell(5, 1), kRed);
    g.setAlignment(Block::cell(5, 1), HAlign::Left, VAlign::Centre);

    g.setTextColour(Block::columns(1, 1), kBlue);
    g.setBackColour(Block::columns(1, 1), kPaleCyan);
    g.setBorder({-1, 2, -1, rows}, BorderSides::All, kLineBlue);
    g.setTextColour({2, 2, kColumns, 2}, kRed);
    g.setBackColour({2, 2, kColumns, 2}, kLightYellow);
    g.setTextColour({2, 3, kColumns, rows}, kMarkBlue);
    g.setActiveCell(0, 0);
}

// The digits over their columns and the scale 1..M down column 1.
void writeFrequencyCaptions(ResultGrid& g, int maxCount)
{
    g.setText(1, 2, "出現数");
    for (int d = 0; d <= 9; ++d)
        g.setText(digitColumn(d), 2, static_cast<long>(d));
    for (int n = 1; n <= maxCount; ++n)
        g.setText(1, n + kHeaderRows, static_cast<long>(n));
}

// One mark per appearance, each digit's column filled from row 3 down.
void placeFrequencyMarks(ResultGrid& g, const DrawHistory& history)
{
    std::array<int, 10> seen{};
    for (const Draw& draw : history.completeDraws())
        for (int d : draw.digits) {
            g.setText(digitColumn(d), seen[d] + kHeaderRows + 1, kMark);
            ++seen[d];
        }
}

}  // namespace

void buildFrequencyView(ResultGrid& grid, const DrawHistory& history)
{
    const int maxCount = history.maxDigitCount();
    setupFrequencyGrid(grid, maxCount);
    writeFrequencyCaptions(grid, maxCount);
    placeFrequencyMarks(grid, history);
}

AnalysisViewSpec appearanceFrequencyView()
{
    return {
        .objectName = "出現頻度分析",
        .caption = "出現頻度分析",
        .menuAction = "mnuSyutugenHindo",
        .menuCaption = "出現頻度分析",
        .submenu = kFrequencySubmenu,
        .helpKeyword = "出現頻度分析",
        .label1 = "過去の当選番号の出現回数を数字別に分析します",
        .widthTwips = 5280,
        .heightTwips = 13200,
        .hasPrintButton = false,
        .letMessagesRunAfterBuild = false,
        // The marks' legend, at the right end of the top band. The label ends a
        // margin inside the client area and is wide enough for its five
        // full-width characters.
        .legend =
            {
                legendBall("Picture1", 3840, 120, 255, 255, kBallBlueBody, kBallBlueHighlight, 13),
                legendLabel("Label2", 4095, 120, 945, 255, "：当選数字"),
            },
        .build = &buildFrequencyView,
        .chance = digitFrequencyChance,
    };
}

}  // namespace rumone
