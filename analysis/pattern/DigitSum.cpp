#include "analysis/pattern/DigitSum.h"

#include "analysis/Common.h"
#include "analysis/pattern/DrawRows.h"

namespace rumone {

namespace {

constexpr int kColumns = 6;
constexpr int kSumColumn = 6;
constexpr const char* kTitle = "　当 選 数 字";

void SetupDigitSumGrid(ResultGrid& g, int rows)
{
    LayOutGrid(g, kColumns, rows, 9, 51, ScrollBars::Vertical, 0, 1);
    g.SetRowHeight(-1, 10);
    g.SetRowHeight(1, 20);
    g.SetColumnWidth(-1, 5);
    g.SetColumnWidth(1, 7);
    g.SetColumnWidth(kSumColumn, 7);
    g.RestrictToDataRows(true);
    CentreAllCells(g);

    g.SetTextColour({1, 2, 1, -1}, kRed);
    g.SetBackColour({1, 2, 1, -1}, kLightYellow);
    g.SetTextColour({kSumColumn, 2, kSumColumn, -1}, kBlue);
    g.SetBackColour({kSumColumn, 2, kSumColumn, -1}, kLightCyan);
    g.SetBorder({1, -1, kColumns, -1}, BorderSides::All, std::nullopt);
}

void WriteDigitSumHeader(ResultGrid& g)
{
    g.SetBorder({2, 1, 5, 1}, BorderSides::None, std::nullopt);
    g.SetBorder({2, 1, kSumColumn, 1}, BorderSides::Outline, std::nullopt);
    g.SetTextColour({1, 1, kColumns, 1}, kBlack);
    g.SetBackColour({1, 1, kColumns, 1}, kPink);

    g.SetAlignment(Block::Cell(3, 1), HAlign::Left, VAlign::Centre);
    g.SetOverflow(true);
    g.SetText(3, 1, kTitle);
    g.SetRowHeight(1, 20);
    g.SetText(1, 1, "回数");
    g.SetText(kSumColumn, 1, "合計");
}

void FillDigitSumTable(ResultGrid& g, const DrawHistory& history)
{
    int row = 2;
    for (const Draw& draw : history.CompleteDraws()) {
        g.SetText(1, row, static_cast<long>(draw.number));
        long sum = 0;
        for (int k = 0; k < 4; ++k) {
            g.SetText(k + 2, row, static_cast<long>(draw.digits[k]));
            sum += draw.digits[k];
        }
        g.SetText(kSumColumn, row, sum);
        ++row;
    }
}

}  // namespace

void BuildDigitSumTable(ResultGrid& grid, const DrawHistory& history)
{
    SetupDigitSumGrid(grid, RowsForDraws(history, 1));
    WriteDigitSumHeader(grid);
    FillDigitSumTable(grid, history);
}

AnalysisViewSpec DigitSumView()
{
    AnalysisViewSpec spec;
    spec.objectName = "数字合計分析";
    spec.caption = "数字合計分析";
    spec.menuAction = "mnuHonsuji";
    spec.label1 = "過去の当選番号の各数字の合計を分析します";
    spec.widthTwips = 4860;
    spec.heightTwips = 13680;
    spec.hasPrintButton = true;
    spec.build = &BuildDigitSumTable;
    return spec;
}

}  // namespace rumone
