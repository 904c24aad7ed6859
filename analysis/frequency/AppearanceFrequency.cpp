#include "analysis/frequency/AppearanceFrequency.h"

#include <array>

#include "analysis/Common.h"

namespace rumone {

namespace {

constexpr int kColumns = 11;  // the scale, then one column per digit 0-9
constexpr int kHeaderRows = 2;

int DigitColumn(int digit) { return digit + 2; }

// Table of M + 2 rows, M the largest appearance count of any digit.
void SetupFrequencyGrid(ResultGrid& g, int maxCount)
{
    const int rows = maxCount + kHeaderRows;
    LayOutGrid(g, kColumns, rows, kColumns, rows, ScrollBars::Both, 1, kHeaderRows);
    g.SetRowHeight(-1, 10);
    g.SetRowHeight(1, 15);
    g.SetRowHeight(2, 15);
    g.SetColumnWidth(-1, 3);
    g.SetColumnWidth(1, 5);
    g.RestrictToDataRows(true);
    CentreAllCells(g);

    g.SetBorder({1, 1, kColumns, 1}, BorderSides::Outline, kLineBlue);
    g.SetBackColour({1, 1, kColumns, 1}, kLightYellow);
    g.SetBorder(Block::Columns(1, 1), BorderSides::Right, kLineBlue);

    g.SetOverflow(true);
    g.SetText(5, 1, "\u3000\u3000当 選 数 字");
    g.SetTextColour(Block::Cell(5, 1), kRed);
    g.SetAlignment(Block::Cell(5, 1), HAlign::Left, VAlign::Centre);

    g.SetTextColour(Block::Columns(1, 1), kBlue);
    g.SetBackColour(Block::Columns(1, 1), kPaleCyan);
    g.SetBorder({-1, 2, -1, rows}, BorderSides::All, kLineBlue);
    g.SetTextColour({2, 2, kColumns, 2}, kRed);
    g.SetBackColour({2, 2, kColumns, 2}, kLightYellow);
    g.SetTextColour({2, 3, kColumns, rows}, kMarkBlue);
    g.SetActiveCell(0, 0);
}

// The digits over their columns and the scale 1..M down column 1.
void WriteFrequencyCaptions(ResultGrid& g, int maxCount)
{
    g.SetText(1, 2, "出現数");
    for (int d = 0; d <= 9; ++d)
        g.SetText(DigitColumn(d), 2, static_cast<long>(d));
    for (int n = 1; n <= maxCount; ++n)
        g.SetText(1, n + kHeaderRows, static_cast<long>(n));
}

// One mark per appearance, each digit's column filled from row 3 down.
void PlaceFrequencyMarks(ResultGrid& g, const DrawHistory& history)
{
    std::array<int, 10> seen{};
    for (const Draw& draw : history.CompleteDraws())
        for (int d : draw.digits) {
            g.SetText(DigitColumn(d), seen[d] + kHeaderRows + 1, kMark);
            ++seen[d];
        }
}

}  // namespace

void BuildFrequencyView(ResultGrid& grid, const DrawHistory& history)
{
    const int maxCount = history.maxDigitCount();
    SetupFrequencyGrid(grid, maxCount);
    WriteFrequencyCaptions(grid, maxCount);
    PlaceFrequencyMarks(grid, history);
}

AnalysisViewSpec AppearanceFrequencyView()
{
    AnalysisViewSpec v;
    v.objectName = "出現頻度分析";
    v.caption = "出現頻度分析";
    v.menuAction = "mnuSyutugenHindo";
    v.label1 = "過去の当選番号の出現回数を数字別に分析します";
    v.widthTwips = 5280;
    v.heightTwips = 13200;
    v.hasPrintButton = false;

    // The marks' legend, at the right end of the top band. The label ends a
    // margin inside the client area and is wide enough for its five
    // full-width characters.
    v.legend = {
        LegendBall("Picture1", 3840, 120, 255, 255, kBallBlueBody, kBallBlueHighlight, 13),
        LegendLabel("Label2", 4095, 120, 945, 255, "：当選数字"),
    };

    v.build = &BuildFrequencyView;
    return v;
}

}  // namespace rumone
