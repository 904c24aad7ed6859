#include "analysis/pattern/LowHighPattern.h"

#include "analysis/Common.h"
#include "analysis/pattern/DrawRows.h"
#include "analysis/pattern/PatternTable.h"

namespace rumone {

namespace {

bool IsLowDigit(int digit)
{
    return digit <= 4;
}

void MarkLowDigit(ResultGrid& g, int digit, int column, int row)
{
    if (IsLowDigit(digit))
        g.SetBackColour(Block::Cell(column, row), kLightCyan);
}

void SetupLowHighGrid(ResultGrid& g, const DrawHistory& history)
{
    SetupPatternGrid(g, RowsForDraws(history, 1));
}

void WriteLowHighHeader(ResultGrid& g, int row)
{
    WritePatternHeader(g, row, "低数字", "高数字");
}

void FillLowHighTable(ResultGrid& g, const DrawHistory& history)
{
    FillPatternTable(g, history, PatternRule{&IsLowDigit, &MarkLowDigit, false});
}

}  // namespace

void BuildLowHighPatternTable(ResultGrid& grid, const DrawHistory& history)
{
    SetupLowHighGrid(grid, history);
    WriteLowHighHeader(grid, 1);
    FillLowHighTable(grid, history);
}

AnalysisViewSpec LowHighPatternView()
{
    AnalysisViewSpec spec;
    spec.objectName = "低数字高数字の組合せパターン分析";
    spec.caption = "低数字・高数字の組合せパターン分析";
    spec.menuAction = "mnuLowHightPattern";
    spec.label1 = "過去の当選番号を低数字（０～４）と高数字（５～９）に分けて組合せパターンを分析します";
    spec.widthTwips = 5900;
    spec.heightTwips = 13600;
    spec.hasPrintButton = true;
    spec.build = &BuildLowHighPatternTable;
    return spec;
}

}  // namespace rumone
