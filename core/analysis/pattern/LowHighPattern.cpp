#include "core/analysis/pattern/LowHighPattern.h"

#include "core/analysis/chance/ChanceLaws.h"
#include "core/analysis/pattern/DrawRows.h"
#include "core/analysis/pattern/PatternTable.h"
#include "core/grid/GridSteps.h"

namespace rumone {

namespace {

bool isLowDigit(int digit)
{
    return digit <= 4;
}

constexpr OptColour kLowBack = kLightCyan;  // kept whole, as the grid takes it

void markLowDigit(ResultGrid& g, int digit, int column, int row)
{
    if (isLowDigit(digit))
        g.setBackColour(Block::cell(column, row), kLowBack);
}

void setupLowHighGrid(ResultGrid& g, const DrawHistory& history)
{
    setupPatternGrid(g, rowsForDraws(history, 1));
}

void writeLowHighHeader(ResultGrid& g, int row)
{
    writePatternHeader(g, row, "低数字", "高数字");
}

void fillLowHighTable(ResultGrid& g, const DrawHistory& history)
{
    fillPatternTable(g, history, PatternRule{&isLowDigit, &markLowDigit, false});
}

}  // namespace

void buildLowHighPatternTable(ResultGrid& grid, const DrawHistory& history)
{
    setupLowHighGrid(grid, history);
    writeLowHighHeader(grid, 1);
    fillLowHighTable(grid, history);
}

AnalysisViewSpec lowHighPatternView()
{
    return {
        .objectName = "低数字高数字の組合せパターン分析",
        .caption = "低数字・高数字の組合せパターン分析",
        .menuAction = "mnuLowHightPattern",
        .menuCaption = "低数字・高数字の組合せパターン分析",
        .submenu = kPatternSubmenu,
        .helpKeyword = "低数字・高数字の組合せパターン分析",
        .label1 = "過去の当選番号を低数字（０～４）と高数字（５～９）に分けて組合せパターンを分析します",
        .widthTwips = 5900,
        .heightTwips = 13600,
        .hasPrintButton = true,
        .letMessagesRunAfterBuild = false,
        // What the pattern letters stand for: the count of 低数字 in the draw.
        .legend = {legendLabel("Label2", 3400, 120, 1940, 480, "A～E：低数字の個数\n（A が 0 個、E が 4 個）")},
        .build = &buildLowHighPatternTable,
        .chance = lowHighChance,
    };
}

}  // namespace rumone
