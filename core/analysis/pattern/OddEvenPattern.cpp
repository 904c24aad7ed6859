#include "core/analysis/pattern/OddEvenPattern.h"

#include "core/analysis/chance/ChanceLaws.h"
#include "core/analysis/pattern/DrawRows.h"
#include "core/analysis/pattern/PatternTable.h"
#include "core/grid/GridSteps.h"

namespace rumone {

namespace {

bool isEvenDigit(int digit)
{
    return digit % 2 == 0;
}

// Unlike the low/high marking, every digit cell gets a background. The
// colours are kept whole, as the grid takes them, once for every cell.
constexpr OptColour kEvenBack = kLightCyan;
constexpr OptColour kOddBack = kWhite;

void markEvenDigit(ResultGrid& g, int digit, int column, int row)
{
    g.setBackColour(Block::cell(column, row), isEvenDigit(digit) ? kEvenBack : kOddBack);
}

void setupOddEvenGrid(ResultGrid& g, const DrawHistory& history)
{
    setupPatternGrid(g, rowsForDraws(history, 1));
}

void writeOddEvenHeader(ResultGrid& g, int row)
{
    writePatternHeader(g, row, "偶数", "奇数");
}

// The letter goes by the odd count: "A" is a draw without an odd digit.
void fillOddEvenTable(ResultGrid& g, const DrawHistory& history)
{
    fillPatternTable(g, history, PatternRule{&isEvenDigit, &markEvenDigit, true});
}

}  // namespace

void buildOddEvenPatternTable(ResultGrid& grid, const DrawHistory& history)
{
    setupOddEvenGrid(grid, history);
    writeOddEvenHeader(grid, 1);
    fillOddEvenTable(grid, history);
}

AnalysisViewSpec oddEvenPatternView()
{
    return {
        .objectName = "偶数奇数の組合せパターン分析",
        .caption = "偶数・奇数の組合せパターン分析",
        .menuAction = "mnuKisuGusuPattern",
        .menuCaption = "偶数・奇数の組合せパターン分析",
        .submenu = kPatternSubmenu,
        .helpKeyword = "偶数・奇数の組合せパターン分析",
        .label1 = "過去の当選番号を偶数と奇数に分類して分析します",
        .widthTwips = 5900,
        .heightTwips = 13600,
        .hasPrintButton = true,
        .letMessagesRunAfterBuild = false,
        // What the pattern letters stand for: the count of 奇数 in the draw.
        .legend = {legendLabel("Label2", 3400, 120, 1940, 480, "A～E：奇数の個数\n（A が 0 個、E が 4 個）")},
        .build = &buildOddEvenPatternTable,
        .chance = oddEvenChance,
    };
}

}  // namespace rumone
