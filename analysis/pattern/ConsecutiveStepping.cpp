#include "analysis/pattern/ConsecutiveStepping.h"

#include <cstdlib>

#include "analysis/Common.h"
#include "analysis/pattern/DrawRows.h"

namespace rumone {

namespace {

constexpr int kColumns = 10;
// First column (the draw number) of each half.
constexpr int kConsecutiveHalf = 1;
constexpr int kSteppingHalf = 6;

void SetupConsecutiveGrid(ResultGrid& g, int rows)
{
    LayOutGrid(g, kColumns, rows, 10, 51, ScrollBars::Vertical, 1, 1);
    g.SetRowHeight(-1, 10);
    g.SetColumnWidth(-1, 5);
    g.SetColumnWidth(kConsecutiveHalf, 6);
    g.SetColumnWidth(kSteppingHalf, 6);
    g.RestrictToDataRows(true);
    CentreAllCells(g);
    g.SetBorder({1, 1, kColumns, -1}, BorderSides::All, std::nullopt);
    for (int column : {kConsecutiveHalf, kSteppingHalf}) {
        g.SetTextColour(Block::Columns(column, column), kRed);
        g.SetBackColour(Block::Columns(column, column), kLightYellow);
    }
}

// One half's header: "回数" over the draw numbers and a titled band over the
// four digit columns.
void WriteHalfHeader(ResultGrid& g, int half, Rgb bandColour, const char* title)
{
    const Block band{half + 1, 1, half + 4, 1};
    g.SetText(half, 1, "回数");
    g.SetBorder(band, BorderSides::None, std::nullopt);
    g.SetBorder(band, BorderSides::Outline, std::nullopt);
    g.SetBackColour(band, bandColour);
    g.SetTextColour(band, kRed);
    g.SetAlignment(Block::Cell(half + 2, 1), HAlign::Left, VAlign::Centre);
    g.SetText(half + 2, 1, title);
}

void WriteConsecutiveHeader(ResultGrid& g)
{
    g.SetOverflow(true);
    WriteHalfHeader(g, kConsecutiveHalf, kLightMagenta, "連番(当選数字)");
    WriteHalfHeader(g, kSteppingHalf, kPink, "飛び石(当選数字)");
}

// Writes the draw into one half and colours both cells of every neighbouring
// pair whose digits differ by `gap`; the draw-number cell turns grey when no
// pair matches.
void WriteHalf(ResultGrid& g, const Draw& draw, int half, int row, int gap, Rgb pairColour)
{
    g.SetText(half, row, static_cast<long>(draw.number));
    for (int k = 0; k < 4; ++k)
        g.SetText(half + 1 + k, row, static_cast<long>(draw.digits[k]));
    int pairs = 0;
    for (int k = 0; k < 3; ++k) {
        if (std::abs(draw.digits[k] - draw.digits[k + 1]) != gap)
            continue;
        g.SetBackColour({half + 1 + k, row, half + 2 + k, row}, pairColour);
        ++pairs;
    }
    if (pairs == 0)
        g.SetBackColour(Block::Cell(half, row), kGrey);
}

void FillConsecutiveTable(ResultGrid& g, const DrawHistory& history)
{
    int row = 2;
    for (const Draw& draw : history.CompleteDraws()) {
        WriteHalf(g, draw, kConsecutiveHalf, row, 1, kLightCyan);
        WriteHalf(g, draw, kSteppingHalf, row, 2, kLightGreen);
        ++row;
    }
}

}  // namespace

void BuildConsecutiveSteppingTable(ResultGrid& grid, const DrawHistory& history)
{
    SetupConsecutiveGrid(grid, RowsForDraws(history, 1));
    WriteConsecutiveHeader(grid);
    FillConsecutiveTable(grid, history);
}

AnalysisViewSpec ConsecutiveSteppingView()
{
    AnalysisViewSpec spec;
    spec.objectName = "連番飛び石分析";
    spec.caption = "連番・飛び石分析";
    spec.menuAction = "mnuRenbanTobiishi";
    spec.label1 = "過去の当選番号の連続数字と一つ飛び数字の傾向を分析します";
    spec.widthTwips = 7000;
    spec.heightTwips = 13400;
    spec.hasPrintButton = true;
    spec.build = &BuildConsecutiveSteppingTable;
    return spec;
}

}  // namespace rumone
