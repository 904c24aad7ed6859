#include "analysis/pattern/OddEvenPattern.h"

#include "analysis/Common.h"
#include "analysis/pattern/DrawRows.h"
#include "analysis/pattern/PatternTable.h"

namespace rumone {

namespace {

bool IsEvenDigit(int digit)
{
    return digit % 2 == 0;
}

// Unlike the low/high marking, every digit cell gets a background.
void MarkEvenDigit(ResultGrid& g, int digit, int column, int row)
{
    g.SetBackColour(Block::Cell(column, row), IsEvenDigit(digit) ? kLightCyan : kWhite);
}

void SetupOddEvenGrid(ResultGrid& g, const DrawHistory& history)
{
    SetupPatternGrid(g, RowsForDraws(history, 1));
}

void WriteOddEvenHeader(ResultGrid& g, int row)
{
    WritePatternHeader(g, row, "偶数", "奇数");
}

// The letter goes by the odd count: "A" is a draw without an odd digit.
void FillOddEvenTable(ResultGrid& g, const DrawHistory& history)
{
    FillPatternTable(g, history, PatternRule{&IsEvenDigit, &MarkEvenDigit, true});
}

}  // namespace

void BuildOddEvenPatternTable(ResultGrid& grid, const DrawHistory& history)
{
    SetupOddEvenGrid(grid, history);
    WriteOddEvenHeader(grid, 1);
    FillOddEvenTable(grid, history);
}

AnalysisViewSpec OddEvenPatternView()
{
    AnalysisViewSpec spec;
    spec.objectName = "偶数奇数の組合せパターン分析";
    spec.caption = "偶数・奇数の組合せパターン分析";
    spec.menuAction = "mnuKisuGusuPattern";
    spec.label1 = "過去の当選番号を偶数と奇数に分類して分析します";
    spec.widthTwips = 5900;
    spec.heightTwips = 13600;
    spec.hasPrintButton = true;
    spec.build = &BuildOddEvenPatternTable;
    return spec;
}

}  // namespace rumone
