#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/analysis/interval/LastDigitStreak.h"
#include "core/grid/GridDump.h"
#include "support/TestSupport.h"

namespace rumone {
namespace {

using test::backOf;
using test::historyOf;
using test::textColourOf;
using Texts = std::vector<std::string>;

ResultGrid streaks(const DrawHistory& h)
{
    ResultGrid g;
    buildLastDigitStreakView(g, h);
    return g;
}

// Column `col` from row 3 to the last draw row.
Texts drawColumn(const ResultGrid& g, int col)
{
    Texts t;
    for (int r = 3; r <= g.rows() - 2; ++r)
        t.push_back(g.getText(col, r));
    return t;
}

TEST(LastDigitStreak, RunsAreCountedAtTheLaterDraw)
{
    // 7 only in draws 5-7, 4 only in 10 and 12, 3 twice in draw 20 and not in 19
    std::vector<test::Row> rows;
    for (int n = 1; n <= 20; ++n)
        rows.push_back({n, {n % 2 ? 1 : 2, 0, 0, 0}});
    for (int n : {5, 6, 7})
        rows[n - 1].digits[3] = 7;
    for (int n : {10, 12})
        rows[n - 1].digits[3] = 4;
    rows[19].digits = {3, 3, 5, 6};
    const ResultGrid g = streaks(historyOf(rows));
    ASSERT_EQ(g.rows(), 24);

    Texts sevens(20, "");
    sevens[5] = "1";
    sevens[6] = "2";
    EXPECT_EQ(drawColumn(g, 9), sevens);
    EXPECT_EQ(backOf(g, 9, 8) + backOf(g, 9, 9), "#ffffff#c8ffff");
    EXPECT_EQ(dumpBorder(g.style(9, 8).bottom), "default");
    EXPECT_EQ(drawColumn(g, 6), Texts(20, ""));
    EXPECT_EQ(g.getText(5, 22), "1");
    EXPECT_EQ(drawColumn(g, 3), Texts(20, ""));  // 1 every other draw only
    EXPECT_EQ(g.getText(2, 22), "");             // the run of 0 ends at draw 19
    EXPECT_EQ(g.getText(2, 21), "51");           // 52 entries: three per draw, two in five
}

TEST(LastDigitStreak, BackgroundByCounter)
{
    const std::vector<std::string> expected{"#ffffff", "#c8ffff", "#c8ffff", "#c8ffc8", "#c8ffc8",
                                            "#ffffc8", "#ffffc8", "#ffc8ff", "#ffc8ff", "#ffc8c8",
                                            "#ffc8c8", "#e1e1e1", "#ffc8c8", "#ffc8c8"};
    for (int counter = 1; counter <= 14; ++counter)
        EXPECT_EQ(test::colourOf(streakBackground(counter)), expected[counter - 1]) << counter;
}

TEST(LastDigitStreak, EveryPairIsWalkedAndOnlyDrawRowsAreWritten)
{
    // 8 in every position of three draws: eleven pairs for three draws
    ResultGrid g = streaks(historyOf({{1, {8, 8, 8, 8}}, {2, {8, 8, 8, 8}}, {3, {8, 8, 8, 8}}}));
    EXPECT_EQ(drawColumn(g, 10), (Texts{"3", "7", "11"}));
    EXPECT_EQ(backOf(g, 10, 5), "#ffc8c8");

    // draw 0 has no row: its runs must not reach the digits row
    g = streaks(historyOf({{0, {5, 5, 1, 2}}, {1, {5, 3, 4, 6}}}));
    ASSERT_EQ(g.rows(), 5);
    EXPECT_EQ(g.getText(7, 2), "5");
    EXPECT_EQ(g.getText(7, 3), "2");
}

TEST(LastDigitStreak, HeaderFooterAndLayout)
{
    const ResultGrid g = streaks(historyOf({{1, {1, 2, 3, 4}}, {3, {5, 6, 7, 8}}}));
    ASSERT_EQ(g.rows(), 7);
    ASSERT_EQ(g.columns(), 11);
    const std::string title =
        std::string(43, ' ') + "下一桁数字" + std::string(27, ' ') + "\u3000\u3000\u3000" + std::string(18, ' ');
    const Texts digits{"", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    for (auto [titleRow, digitsRow] : {std::pair{1, 2}, std::pair{7, 6}}) {
        SCOPED_TRACE(titleRow);
        EXPECT_EQ(g.getText(1, titleRow), "回数");
        EXPECT_EQ(g.getText(2, titleRow), title);
        EXPECT_EQ(g.style(2, titleRow).hAlign, HAlign::Left);
        EXPECT_EQ(g.rowHeight(titleRow), 20);
        EXPECT_EQ(g.rowHeight(digitsRow), 10);
        Texts row;
        for (int c = 1; c <= 11; ++c)
            row.push_back(g.getText(c, digitsRow));
        EXPECT_EQ(row, digits);
        for (int r : {titleRow, digitsRow}) {
            EXPECT_EQ(textColourOf(g, 1, r) + backOf(g, 1, r), "#ff0000#ffffc8");
            for (int c = 2; c <= 11; ++c)
                EXPECT_EQ(textColourOf(g, c, r) + backOf(g, c, r), "#0000ff#ffc8c8") << c;
        }
    }
    EXPECT_EQ(drawColumn(g, 1), (Texts{"1", "2", "3"}));
    EXPECT_EQ(textColourOf(g, 1, 4) + backOf(g, 1, 4), "#ff0000#ffffc8");
    EXPECT_EQ(dumpBorder(g.style(11, 7).right), "default");
    EXPECT_EQ(g.style(4, 4).hAlign, HAlign::Centre);
    EXPECT_EQ(std::vector<int>({g.columnWidth(1), g.columnWidth(11), g.visibleColumns(), g.visibleRows()}),
              std::vector<int>({5, 5, 29, 52}));
    EXPECT_TRUE(g.overflow());
    EXPECT_TRUE(lastDigitStreakView().hasPrintButton);

    EXPECT_EQ(streaks(historyOf({})).rows(), 4);
}

TEST(LastDigitStreak, RealHistory)
{
    const auto rows = test::realDraws();
    ASSERT_TRUE(rows) << "the real history is missing: " << test::realDrawsPath();
    const ResultGrid g = streaks(historyOf(*rows));
    // draws 1-7: 1,1,4,9 / 7,9,2,1 / 0,0,9,7 / 0,1,7,1 / 0,2,6,5 / 5,4,8,2 / 3,9,5,0
    const Texts zeros = drawColumn(g, 2);
    EXPECT_EQ(Texts(zeros.begin(), zeros.begin() + 7), (Texts{"", "", "1", "2", "3", "", ""}));
    const Texts ones = drawColumn(g, 3);
    EXPECT_EQ(Texts(ones.begin(), ones.begin() + 7), (Texts{"1", "2", "", "1", "", "", ""}));
}

}  // namespace
}  // namespace rumone
