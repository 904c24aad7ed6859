#include "analysis/frequency/AppearanceCount.h"

#include <array>

#include "analysis/Common.h"

namespace rumone {

namespace {

constexpr int kColumns = 9;  // draw number, four digits, four counts
constexpr int kHeaderRows = 2;
constexpr int kFirstCountColumn = 6;

// One row per complete draw below the two header rows, so that a history
// with gaps or incomplete rows neither drops a draw nor leaves empty rows.
void SetupCountGrid(ResultGrid& g, int drawRows)
{
    LayOutGrid(g, kColumns, drawRows + kHeaderRows, kColumns, 52, ScrollBars::Vertical, 0, kHeaderRows);
    g.RestrictToDataRows(true);
    g.SetRowHeight(-1, 10);
    g.SetRowHeight(1, 15);
    g.SetRowHeight(2, 12);
    g.SetColumnWidth(-1, 5);
    g.SetColumnWidth(1, 6);
    CentreAllCells(g);
    g.SetTextColour(Block::Columns(1, 1), kRed);
    g.SetBackColour(Block::Columns(1, 1), kLightYellow);
    g.SetBorder(Block::AllCells(), BorderSides::All, std::nullopt);
    g.SetActiveCell(0, 0);
}

// Two title boxes over the digit and count columns, and the captions.
void WriteCountHeader(ResultGrid& g)
{
    g.SetTextColour({2, 1, 5, 2}, kBlue);
    g.SetBackColour({2, 1, 5, 2}, kLightCyan);
    g.SetTextColour({6, 1, 9, 2}, kRed);
    g.SetBackColour({6, 1, 9, 2}, kLightGreen);
    g.SetRowHeight(1, 20);

    g.SetBorder({2, 1, 5, 1}, BorderSides::None, std::nullopt);
    g.SetBorder(Block::Cell(5, 1), BorderSides::Right, std::nullopt);
    g.SetBorder({6, 1, 9, 1}, BorderSides::None, std::nullopt);
    g.SetBorder(Block::Cell(9, 1), BorderSides::Right, std::nullopt);

    g.SetOverflow(true);
    g.SetText(3, 1, "  当 選 数 字");
    g.SetAlignment(Block::Cell(3, 1), HAlign::Left, VAlign::Centre);
    g.SetText(8, 1, "前回までの出現回数合計(回)");
    g.SetAlignment(Block::Cell(8, 1), HAlign::Centre, VAlign::Centre);

    static constexpr const char* kPositions[4] = {"第1数字", "第2数字", "第3数字", "第4数字"};
    g.SetText(1, 2, "回数");
    for (int p = 0; p < 4; ++p) {
        g.SetText(2 + p, 2, kPositions[p]);
        g.SetText(kFirstCountColumn + p, 2, kPositions[p]);
    }
}

// Each draw with the counts of its digits over all earlier draws; the
// draw's own digits are counted only after its row is written.
void FillCountTable(ResultGrid& g, const DrawHistory& history)
{
    std::array<int, 10> digitRunningCount{};
    int row = kHeaderRows + 1;
    for (const Draw& draw : history.CompleteDraws()) {
        g.SetText(1, row, static_cast<long>(draw.number));
        for (int p = 0; p < 4; ++p) {
            g.SetText(2 + p, row, static_cast<long>(draw.digits[p]));
            g.SetText(kFirstCountColumn + p, row, static_cast<long>(digitRunningCount[draw.digits[p]]));
        }
        for (int d : draw.digits)
            ++digitRunningCount[d];
        ++row;
    }
}

}  // namespace

void BuildCountView(ResultGrid& grid, const DrawHistory& history)
{
    SetupCountGrid(grid, static_cast<int>(history.CompleteDraws().size()));
    WriteCountHeader(grid);
    FillCountTable(grid, history);
}

AnalysisViewSpec AppearanceCountView()
{
    AnalysisViewSpec v;
    v.objectName = "出現回数分析";
    v.caption = "出現回数分析";
    v.menuAction = "mnuZenkaiSyutugen";
    v.label1 = "過去の当選数字が何回出現したか分析します";
    v.widthTwips = 6280;
    v.heightTwips = 13850;
    v.hasPrintButton = false;
    v.build = &BuildCountView;
    return v;
}

}  // namespace rumone
