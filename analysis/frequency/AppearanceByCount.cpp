#include "analysis/frequency/AppearanceByCount.h"

#include <string>

#include "analysis/Common.h"

namespace rumone {

namespace {

constexpr int kColumns = 2;  // the count, the digits with that count

// Captions plus one row per distinct count; the widget keeps its designed
// size, so no auto-size.
void SetupByCountGrid(ResultGrid& g, int rows)
{
    LayOutGrid(g, kColumns, rows, kColumns, rows, ScrollBars::Horizontal, 0, 0, /*autoSize=*/false);
    g.SetRowHeight(-1, 10);
    g.SetColumnWidth(-1, 5);
    g.SetColumnWidth(2, 20);
    g.RestrictToDataRows(true);
    g.SetBorder(Block::AllCells(), BorderSides::All, std::nullopt);
    CentreAllCells(g);
    g.SetBackColour({1, 2, 1, -1}, kLightYellow);
    g.SetActiveCell(0, 0);
}

void WriteByCountCaptions(ResultGrid& g)
{
    g.SetText(1, 1, "出 現");
    g.SetBackColour(Block::Cell(1, 1), kPink);
    g.SetText(2, 1, "数 字");
    g.SetBackColour(Block::Cell(2, 1), kPink);
    g.SetOverflow(true);
    // Every row of digits reads alike, however few draws there are.
    g.SetTextColour({2, 2, 2, -1}, kBlue);
    g.SetAlignment({2, 2, 2, -1}, HAlign::Left, VAlign::Centre);
}

// Counts from 0 up; a count that no digit has takes no row.
void FillByCountRows(ResultGrid& g, const DrawHistory& history)
{
    int row = 1;
    for (int c = 0; c <= history.maxDigitCount(); ++c) {
        const std::string& digits = history.digitsByCount(c);
        if (digits.empty())
            continue;
        ++row;
        g.SetText(1, row, std::to_string(c) + "回");
        g.SetText(2, row, digits);
    }
}

}  // namespace

void BuildByCountView(ResultGrid& grid, const DrawHistory& history)
{
    SetupByCountGrid(grid, history.distinctCountRows());
    WriteByCountCaptions(grid);
    FillByCountRows(grid, history);
}

AnalysisViewSpec AppearanceByCountView()
{
    AnalysisViewSpec v;
    v.objectName = "回数別出現分析";
    v.caption = "回数別頻度分析";
    v.menuAction = "mnuSyutugenKaisu";
    v.label1 = "過去の当選番号から出現回数別の数字を分析します";
    v.widthTwips = 3405;
    v.heightTwips = 6700;
    v.hasPrintButton = true;
    v.build = &BuildByCountView;
    return v;
}

}  // namespace rumone
