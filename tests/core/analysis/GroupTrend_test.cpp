// The five-group trend view: header rows, digit colours and group counts.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "core/analysis/group/FiveGroupTrend.h"
#include "core/grid/GridDump.h"
#include "core/grid/GridSteps.h"
#include "support/TestSupport.h"

namespace rumone {
namespace {

using test::backOf;
using test::historyOf;
using test::textColourOf;

ResultGrid build(const DrawHistory& history)
{
    ResultGrid g;
    fiveGroupTrendView().build(g, history);
    return g;
}

std::string sides(const ResultGrid& g, int col, int row)
{
    const CellStyle& s = g.style(col, row);
    return dumpBorder(s.left) + " " + dumpBorder(s.top) + " " + dumpBorder(s.right) + " " + dumpBorder(s.bottom);
}

std::array<std::string, 5> counts(const ResultGrid& g, int row)
{
    return {g.getText(6, row), g.getText(7, row), g.getText(8, row), g.getText(9, row), g.getText(10, row)};
}

void expectHeaderRow(const ResultGrid& g, int row)
{
    SCOPED_TRACE("header row " + std::to_string(row));
    const std::array<std::string, 10> texts = {"回数", "",     "   当 選 数 字", "",     "",
                                               "0～1", "2～3", "4～5",           "6～7", "8～9"};
    for (int c = 1; c <= 10; ++c) {
        EXPECT_EQ(g.getText(c, row), texts[c - 1]) << c;
        EXPECT_EQ(textColourOf(g, c, row), c >= 6 ? "#0000ff" : "#000000") << c;
        EXPECT_EQ(backOf(g, c, row), c >= 6 ? "#c8c8ff" : "#ffc8c8") << c;
    }
    EXPECT_EQ(g.style(3, row).hAlign, HAlign::Left);
    EXPECT_EQ(g.style(3, row).vAlign, VAlign::Centre);
    EXPECT_EQ(g.style(2, row).hAlign, HAlign::Centre);
    EXPECT_EQ(g.rowHeight(row), 20);
    EXPECT_EQ(sides(g, 1, row), "default default default default");
    for (int c = 2; c <= 5; ++c)
        EXPECT_EQ(sides(g, c, row), "- - - default") << c;
    EXPECT_EQ(sides(g, 6, row), "#ff0000 default default default");
    EXPECT_EQ(sides(g, 7, row), "default default default default");
}

TEST(FiveGroupTrend, Window)
{
    const AnalysisViewSpec v = fiveGroupTrendView();
    EXPECT_EQ(v.objectName, "分割5傾向分析");
    EXPECT_EQ(v.caption, "5分割傾向分析");
    EXPECT_EQ(v.menuAction, "mnu5BunkatsuKeiko");
    EXPECT_EQ(v.label1, "過去の当選番号の５グループに分類して分析します");
    EXPECT_EQ(v.widthTwips, 6900);
    EXPECT_EQ(v.heightTwips, 13750);
    EXPECT_TRUE(v.hasPrintButton);
    EXPECT_TRUE(v.legend.empty());
    EXPECT_NE(findAnalysisView("分割5傾向分析"), nullptr);
}

TEST(FiveGroupTrend, LayoutAndBothHeaderRows)
{
    const ResultGrid g = build(historyOf({{1, {0, 2, 4, 6}}, {2, {9, 8, 9, 8}}, {3, {1, 1, 3, 3}}}));
    EXPECT_EQ(g.columns(), 10);
    EXPECT_EQ(g.rows(), 5);
    EXPECT_EQ(g.visibleRows(), 51);
    EXPECT_EQ(g.scrollBarsShown(), ScrollBars::Vertical);
    EXPECT_EQ(g.frozenRows(), 1);
    EXPECT_TRUE(g.overflow());
    EXPECT_EQ(g.activeColumn(), 0);
    EXPECT_EQ(g.activeRow(), 0);
    EXPECT_EQ(g.columnWidth(1), 6);
    EXPECT_EQ(g.columnWidth(2), 5);
    EXPECT_EQ(g.rowHeight(2), 10);
    expectHeaderRow(g, 1);
    expectHeaderRow(g, 5);

    // Draw rows: red numbers on light yellow, a red line before the counts.
    EXPECT_EQ(textColourOf(g, 1, 2), "#ff0000");
    EXPECT_EQ(backOf(g, 1, 2), "#ffffc8");
    EXPECT_EQ(sides(g, 6, 3), "#ff0000 default default default");
    EXPECT_EQ(sides(g, 3, 3), "default default default default");
    const std::array<const char*, 5> countBacks = {"-", "#c8ffff", "#c8ffc8", "#ffffc8", "#ffc8ff"};
    for (int c = 6; c <= 10; ++c)
        EXPECT_EQ(backOf(g, c, 4), countBacks[c - 6]) << c;
}

TEST(FiveGroupTrend, DigitsAreColouredAndCountedByGroup)
{
    const ResultGrid g = build(historyOf({{1, {0, 2, 4, 6}}, {2, {9, 8, 9, 8}}, {3, {1, 1, 3, 3}}}));
    using Backs = std::array<std::string, 4>;
    using Texts = std::array<std::string, 5>;
    auto backs = [&](int row) {
        return Backs{backOf(g, 2, row), backOf(g, 3, row), backOf(g, 4, row), backOf(g, 5, row)};
    };

    EXPECT_EQ(g.getText(1, 2), "1");
    EXPECT_EQ(g.getText(2, 2), "0");
    EXPECT_EQ(g.getText(5, 2), "6");
    EXPECT_EQ(backs(2), (Backs{"#ffffff", "#c8ffff", "#c8ffc8", "#ffffc8"}));
    EXPECT_EQ(counts(g, 2), (Texts{"1", "1", "1", "1", "0"}));

    EXPECT_EQ(backs(3), (Backs{"#ffc8ff", "#ffc8ff", "#ffc8ff", "#ffc8ff"}));
    EXPECT_EQ(counts(g, 3), (Texts{"0", "0", "0", "0", "4"}));

    EXPECT_EQ(backs(4), (Backs{"#ffffff", "#ffffff", "#c8ffff", "#c8ffff"}));
    EXPECT_EQ(counts(g, 4), (Texts{"2", "2", "0", "0", "0"}));
}

TEST(FiveGroupTrend, NoCompleteDrawLeavesTheTwoHeaderRows)
{
    for (const DrawHistory& h : {historyOf({}), historyOf({{1, {1, 2, -1, 4}}})}) {
        const ResultGrid g = build(h);
        ASSERT_EQ(g.rows(), 2);
        expectHeaderRow(g, 1);
        expectHeaderRow(g, 2);
    }
}

TEST(FiveGroupTrend, BottomHeaderFollowsTheLastDraw)
{
    // Starts at draw 100, has gaps and an incomplete row.
    const ResultGrid g =
        build(historyOf({{100, {1, 2, 3, 4}}, {101, {5, -1, 7, 8}}, {150, {9, 9, 9, 9}}, {200, {0, 0, 0, 0}}}));
    ASSERT_EQ(g.rows(), 5);
    EXPECT_EQ(g.getText(1, 2), "100");
    EXPECT_EQ(g.getText(1, 3), "150");
    EXPECT_EQ(g.getText(1, 4), "200");
    EXPECT_EQ(counts(g, 4)[0], "4");
    expectHeaderRow(g, 5);
}

TEST(FiveGroupTrend, EveryRowCountsItsOwnFourDigits)
{
    const auto real = test::realDraws();
    const DrawHistory h = real ? historyOf(*real) : test::randomHistory(3000, 7);
    const ResultGrid g = build(h);
    const auto& draws = h.completeDraws();
    ASSERT_EQ(g.rows(), static_cast<int>(draws.size()) + 2);
    for (std::size_t i = 0; i < draws.size(); ++i) {
        const int row = static_cast<int>(i) + 2;
        std::array<int, 5> expected{};
        for (int d : draws[i].digits)
            ++expected[d / 2];
        int sum = 0;
        for (int gi = 0; gi < 5; ++gi) {
            ASSERT_EQ(g.getText(6 + gi, row), std::to_string(expected[gi])) << "row " << row;
            sum += std::stoi(g.getText(6 + gi, row));
        }
        ASSERT_EQ(sum, 4) << "row " << row;
    }
    expectHeaderRow(g, g.rows());
}

}  // namespace
}  // namespace rumone
