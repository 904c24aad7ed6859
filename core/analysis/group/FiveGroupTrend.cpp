#include "core/analysis/group/FiveGroupTrend.h"

#include <array>
#include <string_view>

#include "core/analysis/chance/ChanceLaws.h"
#include "core/grid/GridSteps.h"

namespace rumone {

namespace {

constexpr int kColumns = 10;
constexpr int kGroups = 5;
constexpr int kFirstCountColumn = 6;  // group g counts in column g + 5
constexpr int kFirstDrawRow = 2;

struct TrendGroup {
    std::string_view caption;
    OptColour digitBack;  // background of a digit cell of the group
    OptColour countBack;  // background of the group's count column
};

// Groups 1 to 5 at indices 0 to 4.
constexpr std::array<TrendGroup, kGroups> kTrendGroups = {{
    {"0～1", kWhite, std::nullopt},
    {"2～3", kLightCyan, kLightCyan},
    {"4～5", kLightGreen, kLightGreen},
    {"6～7", kLightYellow, kLightYellow},
    {"8～9", kLightMagenta, kLightMagenta},
}};

constexpr std::string_view kTrendTitle = "   当 選 数 字";

// How many of one draw's digits fall into each group; entry g - 1 for group g.
using TrendGroupCounts = std::array<int, kGroups>;

// Group 1 to 5 of a digit; every value above 7 falls into group 5.
int trendGroupOf(int digit)
{
    if (digit >= 0 && digit <= 7)
        return digit / 2 + 1;
    return kGroups;
}

void countTrendGroup(TrendGroupCounts& trendGroupCounts, int digit)
{
    ++trendGroupCounts[trendGroupOf(digit) - 1];
}

void colourTrendDigit(ResultGrid& g, int digit, int column, int row)
{
    g.setBackColour(Block::cell(column, row), kTrendGroups[trendGroupOf(digit) - 1].digitBack);
}

void setupTrendGrid(ResultGrid& g, int rows)
{
    layOutGrid(g, kColumns, rows, kColumns, 51, ScrollBars::Vertical, 0, 1);
    g.restrictToDataRows(true);
    centreAllCells(g);

    g.setRowHeight(-1, 10);
    g.setRowHeight(1, 20);
    g.setColumnWidth(-1, 5);
    g.setColumnWidth(1, 6);

    g.setTextColour({1, 2, 1, -1}, kRed);
    g.setBackColour({1, 2, 1, -1}, kLightYellow);

    for (int i = 0; i < kGroups; ++i)
        if (kTrendGroups[i].countBack)
            g.setBackColour({kFirstCountColumn + i, 2, kFirstCountColumn + i, -1}, kTrendGroups[i].countBack);

    g.setBorder({1, 1, kColumns, -1}, BorderSides::All, std::nullopt);
    g.setBorder({kFirstCountColumn, 1, kFirstCountColumn, -1}, BorderSides::Left, kRed);

    g.setActiveCell(0, 0);
}

void writeTrendHeader(ResultGrid& g, int row)
{
    g.setBorder({2, row, 5, row}, BorderSides::None, kBlack);
    g.setBorder({2, row, kFirstCountColumn, row}, BorderSides::Bottom, std::nullopt);

    g.setTextColour({1, row, kColumns, row}, kBlack);
    g.setBackColour({1, row, kColumns, row}, kPink);
    g.setTextColour({kFirstCountColumn, row, kColumns, row}, kBlue);
    g.setBackColour({kFirstCountColumn, row, kColumns, row}, kLavender);

    g.setOverflow(true);
    g.setAlignment(Block::cell(3, row), HAlign::Left, VAlign::Centre);
    g.setText(3, row, kTrendTitle);

    g.setRowHeight(row, 20);

    g.setText(1, row, "回数");
    g.setDrawColumn(1);
    for (int i = 0; i < kGroups; ++i)
        g.setText(kFirstCountColumn + i, row, kTrendGroups[i].caption);
}

// One row per complete draw from row 2 on: the draw number, the digits on
// the colour of their groups and the five group counts.
void fillTrendTable(ResultGrid& g, const DrawHistory& history)
{
    int row = kFirstDrawRow;
    for (const Draw& draw : history.completeDraws()) {
        TrendGroupCounts trendGroupCounts{};
        g.setText(1, row, static_cast<long>(draw.number));
        for (int k = 1; k <= 4; ++k) {
            g.setText(k + 1, row, static_cast<long>(draw.digits[k - 1]));
            colourTrendDigit(g, draw.digits[k - 1], k + 1, row);
        }
        for (int k = 1; k <= 4; ++k)
            countTrendGroup(trendGroupCounts, draw.digits[k - 1]);
        for (int i = 0; i < kGroups; ++i)
            g.setText(kFirstCountColumn + i, row, static_cast<long>(trendGroupCounts[i]));
        ++row;
    }
}

// One row per complete draw between the two header rows, so the bottom
// header stands directly below the last draw whatever the draw numbers.
void buildFiveGroupTrend(ResultGrid& g, const DrawHistory& history)
{
    const int drawRows = static_cast<int>(history.completeDraws().size());
    const int bottomHeaderRow = drawRows + 2;
    setupTrendGrid(g, bottomHeaderRow);
    writeTrendHeader(g, 1);
    writeTrendHeader(g, bottomHeaderRow);
    fillTrendTable(g, history);
}

}  // namespace

AnalysisViewSpec fiveGroupTrendView()
{
    return {
        .objectName = "分割5傾向分析",
        .caption = "5分割傾向分析",
        .menuAction = "mnu5BunkatsuKeiko",
        .menuCaption = "5分割傾向分析",
        .submenu = kTopLevelMenu,
        .helpKeyword = "5分割傾向分析",
        .label1 = "過去の当選番号の５グループに分類して分析します",
        .widthTwips = 6900,
        .heightTwips = 13750,
        .hasPrintButton = true,
        .letMessagesRunAfterBuild = false,
        .legend = {},
        .build = &buildFiveGroupTrend,
        .chance = fiveGroupTrendChance,
    };
}

}  // namespace rumone
