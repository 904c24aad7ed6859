#include "analysis/pattern/CarryOver.h"

#include <algorithm>
#include <array>
#include <optional>

#include "analysis/Common.h"
#include "analysis/pattern/DrawRows.h"

namespace rumone {

namespace {

constexpr int kColumns = 5;
constexpr const char* kTitle = "　　当 選 数 字";

void SetupCarryOverGrid(ResultGrid& g, int rows)
{
    LayOutGrid(g, kColumns, rows, 5, 51, ScrollBars::Vertical, 1, 1);
    g.SetRowHeight(-1, 10);
    g.SetRowHeight(1, 15);
    g.SetColumnWidth(-1, 6);
    g.RestrictToDataRows(true);
    CentreAllCells(g);
    g.SetBorder({1, 1, kColumns, -1}, BorderSides::All, std::nullopt);
    g.SetTextColour({1, 2, 1, -1}, kRed);
    g.SetBackColour({1, 2, 1, -1}, kLightYellow);
}

void WriteCarryOverHeader(ResultGrid& g)
{
    g.SetBorder({2, 1, 5, 1}, BorderSides::None, std::nullopt);
    g.SetBorder({2, 1, 5, 1}, BorderSides::Bottom, std::nullopt);
    g.SetTextColour({1, 1, kColumns, 1}, kBlack);
    g.SetBackColour({1, 1, kColumns, 1}, kPink);
    g.SetText(1, 1, "回数");
    g.SetOverflow(true);
    g.SetAlignment(Block::Cell(3, 1), HAlign::Left, VAlign::Centre);
    g.SetText(3, 1, kTitle);
}

// Highlights each current digit that equals any digit of the previous draw.
void MarkCarriedDigits(ResultGrid& g, const std::array<int, 4>& previous, const std::array<int, 4>& current, int row)
{
    for (int j = 0; j < 4; ++j)
        if (std::find(previous.begin(), previous.end(), current[j]) != previous.end())
            g.SetBackColour(Block::Cell(j + 2, row), kLightCyan);
}

void FillCarryOverTable(ResultGrid& g, const DrawHistory& history)
{
    std::optional<std::array<int, 4>> previousDigits;
    int row = 2;
    for (const Draw& draw : history.CompleteDraws()) {
        g.SetText(1, row, static_cast<long>(draw.number));
        for (int k = 0; k < 4; ++k)
            g.SetText(k + 2, row, static_cast<long>(draw.digits[k]));
        if (previousDigits)
            MarkCarriedDigits(g, *previousDigits, draw.digits, row);
        previousDigits = draw.digits;
        ++row;
    }
}

std::vector<LegendItem> CarryOverLegend()
{
    return {LegendSwatch("Label2", 5040, 120, 375, 255, RGB(128, 255, 255)),
            LegendLabel("Label3", 5460, 120, 1335, 255, ":前回の数字")};
}

}  // namespace

void BuildCarryOverTable(ResultGrid& grid, const DrawHistory& history)
{
    SetupCarryOverGrid(grid, RowsForDraws(history, 1));
    WriteCarryOverHeader(grid);
    FillCarryOverTable(grid, history);
}

AnalysisViewSpec CarryOverView()
{
    AnalysisViewSpec spec;
    spec.objectName = "引っ張り分析";
    spec.caption = "引っ張り分析";
    spec.menuAction = "mnuHippari";
    spec.label1 = "過去の当選数字に前回の数字が入っているか分析します";
    spec.widthTwips = 7000;
    spec.heightTwips = 13500;
    spec.legend = CarryOverLegend();
    spec.build = &BuildCarryOverTable;
    return spec;
}

}  // namespace rumone
