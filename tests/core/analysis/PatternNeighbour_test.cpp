// Consecutive/stepping-stone and carry-over tables: neighbouring digits of
// one draw, and digits shared with the draw before.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "core/analysis/pattern/CarryOver.h"
#include "core/analysis/pattern/ConsecutiveStepping.h"
#include "core/grid/GridDump.h"
#include "support/TestSupport.h"

namespace rumone {
namespace {

using test::rowTexts;

using Texts = std::vector<std::string>;
using Backs = std::array<std::string, 4>;

ResultGrid built(void (*build)(ResultGrid&, const DrawHistory&), const DrawHistory& history)
{
    ResultGrid g;
    build(g, history);
    return g;
}

Backs digitBacks(const ResultGrid& g, int firstColumn, int row)
{
    Backs b;
    for (int k = 0; k < 4; ++k)
        b[k] = test::backOf(g, firstColumn + k, row);
    return b;
}

const std::string C = "#c8ffff";  // consecutive pair, carried digit
const std::string S = "#c8ffc8";  // stepping-stone pair
const std::string Y = "#ffffc8";  // draw number
const std::string G = "#e1e1e1";  // draw number of a half without pairs
const std::string N = "-";

// ---- consecutive and stepping stones

TEST(ConsecutiveStepping, HeaderBands)
{
    const ResultGrid g = built(&buildConsecutiveSteppingTable, test::historyOf({}));
    EXPECT_EQ(g.rows(), 1);
    EXPECT_EQ(rowTexts(g, 1), (Texts{"回数", "", "連番(当選数字)", "", "", "回数", "", "飛び石(当選数字)", "", ""}));
    EXPECT_EQ(test::backOf(g, 1, 1), Y);
    EXPECT_EQ(test::textColourOf(g, 6, 1), "#ff0000");
    EXPECT_EQ(digitBacks(g, 2, 1), (Backs{"#ffc8ff", "#ffc8ff", "#ffc8ff", "#ffc8ff"}));
    EXPECT_EQ(digitBacks(g, 7, 1), (Backs{"#ffc8c8", "#ffc8c8", "#ffc8c8", "#ffc8c8"}));
    EXPECT_EQ(g.style(3, 1).hAlign, HAlign::Left);
    EXPECT_EQ(g.style(8, 1).hAlign, HAlign::Left);
    EXPECT_EQ(dumpBorder(g.style(7, 1).left), "default");
    EXPECT_EQ(dumpBorder(g.style(7, 1).right), "-");
    EXPECT_EQ(dumpBorder(g.style(10, 1).right), "default");
    EXPECT_EQ(g.columnWidth(1), 6);
    EXPECT_EQ(g.columnWidth(6), 6);
    EXPECT_EQ(g.columnWidth(7), 5);
}

TEST(ConsecutiveStepping, OnlyNeighbouringPositionsPair)
{
    struct Case {
        std::array<int, 4> digits;
        Backs left;
        std::string leftNumber;
        Backs right;
        std::string rightNumber;
    };
    const std::vector<Case> cases = {
        {{1, 2, 3, 4}, {C, C, C, C}, Y, {N, N, N, N}, G}, {{2, 1, 7, 7}, {C, C, N, N}, Y, {N, N, N, N}, G},
        {{1, 3, 5, 7}, {N, N, N, N}, G, {S, S, S, S}, Y}, {{3, 8, 4, 9}, {N, N, N, N}, G, {N, N, N, N}, G},
        {{9, 0, 5, 5}, {N, N, N, N}, G, {N, N, N, N}, G}, {{0, 2, 3, 3}, {N, C, C, N}, Y, {S, S, N, N}, Y},
    };
    std::vector<test::Row> rows;
    for (std::size_t i = 0; i < cases.size(); ++i)
        rows.push_back({static_cast<int>(i) + 1, cases[i].digits});
    const ResultGrid g = built(&buildConsecutiveSteppingTable, test::historyOf(rows));
    ASSERT_EQ(g.rows(), static_cast<int>(cases.size()) + 1);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const int r = static_cast<int>(i) + 2;
        const Case& c = cases[i];
        SCOPED_TRACE("row " + std::to_string(r));
        const std::string n = std::to_string(i + 1);
        const auto d = [&](int k) { return std::to_string(c.digits[k]); };
        EXPECT_EQ(rowTexts(g, r), (Texts{n, d(0), d(1), d(2), d(3), n, d(0), d(1), d(2), d(3)}));
        EXPECT_EQ(digitBacks(g, 2, r), c.left);
        EXPECT_EQ(test::backOf(g, 1, r), c.leftNumber);
        EXPECT_EQ(digitBacks(g, 7, r), c.right);
        EXPECT_EQ(test::backOf(g, 6, r), c.rightNumber);
    }
}

TEST(ConsecutiveStepping, IncompleteRecordTakesNoRow)
{
    const ResultGrid g = built(&buildConsecutiveSteppingTable,
                               test::historyOf({{10, {1, 2, 3, 4}}, {11, {-1, 2, 3, 4}}, {12, {1, 3, 5, 7}}}));
    ASSERT_EQ(g.rows(), 3);
    EXPECT_EQ(g.getText(1, 3), "12");
    EXPECT_EQ(g.getText(6, 3), "12");
    EXPECT_EQ(test::backOf(g, 1, 3), G);
}

// ---- carry-over

TEST(CarryOver, HeaderAndLegend)
{
    const ResultGrid g = built(&buildCarryOverTable, test::historyOf({}));
    EXPECT_EQ(g.rows(), 1);
    EXPECT_EQ(rowTexts(g, 1), (Texts{"回数", "", "　　当 選 数 字", "", ""}));
    EXPECT_EQ(g.rowHeight(1), 15);
    for (int c = 1; c <= 5; ++c) {
        EXPECT_EQ(g.columnWidth(c), 6) << c;
        EXPECT_EQ(test::backOf(g, c, 1), "#ffc8c8") << c;
        EXPECT_EQ(test::textColourOf(g, c, 1), "#000000") << c;
    }
    // Columns 2-5 of the header: a line below, none between.
    EXPECT_EQ(dumpBorder(g.style(3, 1).bottom), "default");
    EXPECT_EQ(dumpBorder(g.style(3, 1).left), "-");
    EXPECT_EQ(dumpBorder(g.style(4, 1).right), "-");
    EXPECT_EQ(dumpBorder(g.style(1, 1).right), "default");

    const AnalysisViewSpec spec = carryOverView();
    ASSERT_EQ(spec.legend.size(), 2u);
    const LegendItem& swatch = spec.legend[0];
    const LegendItem& label = spec.legend[1];
    EXPECT_EQ(swatch.objectName, "Label2");
    EXPECT_EQ(swatch.kind, LegendItem::Kind::Swatch);
    EXPECT_TRUE(swatch.body == rgb(128, 255, 255));
    EXPECT_EQ(label.objectName, "Label3");
    EXPECT_EQ(label.text, ":前回の数字");
    // Swatch first, then its label, both in the top band at the right.
    EXPECT_LT(swatch.left + swatch.width, label.left + 1);
    EXPECT_LE(label.left + label.width, spec.widthTwips);
    EXPECT_GT(swatch.left, spec.widthTwips / 2);
    EXPECT_EQ(swatch.top, 120);
}

TEST(CarryOver, HighlightsDigitsOfThePreviousCompleteDraw)
{
    const ResultGrid g = built(&buildCarryOverTable, test::historyOf({
                                                         {1, {1, 1, 2, 3}},
                                                         {2, {1, 4, 4, 4}},
                                                         {3, {5, 6, 7, 8}},
                                                         {4, {8, 7, 6, 5}},
                                                         {5, {9, -1, 9, 9}},
                                                         {6, {5, 9, 0, 9}},
                                                     }));
    ASSERT_EQ(g.rows(), 6);
    EXPECT_EQ(digitBacks(g, 2, 2), (Backs{N, N, N, N}));
    EXPECT_EQ(digitBacks(g, 2, 3), (Backs{C, N, N, N}));
    EXPECT_EQ(digitBacks(g, 2, 5), (Backs{C, C, C, C}));
    // Draw 5 is incomplete: draw 6 is compared with draw 4, so its nines
    // stay plain.
    EXPECT_EQ(rowTexts(g, 6), (Texts{"6", "5", "9", "0", "9"}));
    EXPECT_EQ(digitBacks(g, 2, 6), (Backs{C, N, N, N}));
    EXPECT_EQ(test::backOf(g, 1, 6), Y);
    EXPECT_EQ(test::textColourOf(g, 1, 6), "#ff0000");
}

TEST(CarryOver, RealHistoryAgreesWithAnIndependentCount)
{
    const auto rows = test::realDraws();
    ASSERT_TRUE(rows) << "the real history is missing: " << test::realDrawsPath();
    const ResultGrid g = built(&buildCarryOverTable, test::historyOf(*rows));

    // Expected highlights from the raw rows: a digit counts when the last
    // complete row before it holds the same value anywhere.
    int expectedRows = 1, expected = 0, mismatches = 0;
    unsigned previousSet = 0;  // bit d: digit d in the previous complete draw
    for (const test::Row& row : *rows) {
        bool complete = true;
        for (int d : row.digits)
            complete = complete && d >= 0 && d <= 9;
        if (!complete)
            continue;
        ++expectedRows;
        unsigned set = 0;
        for (int k = 0; k < 4; ++k) {
            set |= 1u << row.digits[k];
            const bool carried = (previousSet >> row.digits[k]) & 1u;
            expected += carried;
            if (carried != (test::backOf(g, k + 2, expectedRows) == C))
                ++mismatches;
        }
        previousSet = set;
    }
    ASSERT_EQ(g.rows(), expectedRows);
    int shown = 0;
    for (int r = 2; r <= g.rows(); ++r)
        for (int c = 2; c <= 5; ++c)
            shown += test::backOf(g, c, r) == C;
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(expected, 0);
}

}  // namespace
}  // namespace rumone
