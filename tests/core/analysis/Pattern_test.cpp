// Digit sum and the two combination-pattern tables.
#include <gtest/gtest.h>

#include <array>
#include <map>
#include <string>
#include <vector>

#include "core/analysis/AnalysisView.h"
#include "core/analysis/pattern/DigitSum.h"
#include "core/analysis/pattern/LowHighPattern.h"
#include "core/analysis/pattern/OddEvenPattern.h"
#include "core/grid/GridDump.h"
#include "support/TestSupport.h"

namespace rumone {
namespace {

using test::rowTexts;

using Texts = std::vector<std::string>;

ResultGrid built(void (*build)(ResultGrid&, const DrawHistory&), const DrawHistory& history)
{
    ResultGrid g;
    build(g, history);
    return g;
}

using test::hex::kCyan;
using test::hex::kGreen;
using test::hex::kMagenta;
using test::hex::kNone;
using test::hex::kPink;
using test::hex::kWhite;
using test::hex::kYellow;

// ---- digit sum

TEST(DigitSum, EmptyHistoryShowsTheCaptionRowOnly)
{
    const ResultGrid g = built(&buildDigitSumTable, test::historyOf({}));
    EXPECT_EQ(g.columns(), 6);
    EXPECT_EQ(g.rows(), 1);
    EXPECT_EQ(rowTexts(g, 1), (Texts{"回数", "", "　当 選 数 字", "", "", "合計"}));
}

TEST(DigitSum, CaptionRowLayout)
{
    const ResultGrid g = built(&buildDigitSumTable, test::historyOf({{1, {1, 2, 3, 4}}}));
    EXPECT_EQ(g.rowHeight(1), 20);
    EXPECT_EQ(g.rowHeight(2), 10);
    EXPECT_EQ(g.columnWidth(1), 7);
    EXPECT_EQ(g.columnWidth(3), 5);
    EXPECT_EQ(g.columnWidth(6), 7);
    EXPECT_EQ(g.frozenRows(), 1);
    EXPECT_TRUE(g.overflow());
    EXPECT_EQ(g.style(3, 1).hAlign, HAlign::Left);
    for (int c = 1; c <= 6; ++c) {
        EXPECT_EQ(test::backOf(g, c, 1), kPink) << c;
        EXPECT_EQ(test::textColourOf(g, c, 1), "#000000") << c;
    }
    // The title box: no lines inside columns 2-5, an outline round 2-6.
    EXPECT_EQ(dumpBorder(g.style(2, 1).left), "default");
    EXPECT_EQ(dumpBorder(g.style(2, 1).right), "-");
    EXPECT_EQ(dumpBorder(g.style(3, 1).left), "-");
    EXPECT_EQ(dumpBorder(g.style(3, 1).top), "default");
    EXPECT_EQ(dumpBorder(g.style(5, 1).right), "-");
    EXPECT_EQ(dumpBorder(g.style(6, 1).right), "default");
    EXPECT_EQ(dumpBorder(g.style(4, 2).left), "default");
}

TEST(DigitSum, SumsExtremesAndSkipsIncompleteRows)
{
    const ResultGrid g =
        built(&buildDigitSumTable,
              test::historyOf({{1, {9, 9, 9, 9}}, {2, {1, -1, 2, 3}}, {3, {0, 0, 0, 0}}, {32767, {1, 2, 3, 4}}}));
    ASSERT_EQ(g.rows(), 4);
    EXPECT_EQ(rowTexts(g, 2), (Texts{"1", "9", "9", "9", "9", "36"}));
    EXPECT_EQ(rowTexts(g, 3), (Texts{"3", "0", "0", "0", "0", "0"}));
    EXPECT_EQ(rowTexts(g, 4), (Texts{"32767", "1", "2", "3", "4", "10"}));
    EXPECT_EQ(test::textColourOf(g, 1, 3), "#ff0000");
    EXPECT_EQ(test::backOf(g, 1, 3), kYellow);
    EXPECT_EQ(test::textColourOf(g, 6, 3), "#0000ff");
    EXPECT_EQ(test::backOf(g, 6, 3), kCyan);
    EXPECT_EQ(test::backOf(g, 3, 3), kNone);
}

// ---- combination patterns

struct PatternCase {
    std::array<int, 4> digits;
    std::array<std::string, 4> digitBacks;
    std::string first, second, letter, letterBack;
};

void expectPatternRow(const ResultGrid& g, int row, const PatternCase& c)
{
    SCOPED_TRACE(std::to_string(c.digits[0]) + "-" + std::to_string(c.digits[1]) + "-" + std::to_string(c.digits[2]) +
                 "-" + std::to_string(c.digits[3]));
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(g.getText(k + 2, row), std::to_string(c.digits[k]));
        EXPECT_EQ(test::backOf(g, k + 2, row), c.digitBacks[k]) << "position " << k + 1;
    }
    EXPECT_EQ(g.getText(6, row), c.first);
    EXPECT_EQ(g.getText(7, row), c.second);
    EXPECT_EQ(g.getText(8, row), c.letter);
    EXPECT_EQ(test::backOf(g, 8, row), c.letterBack);
}

void expectPatternCases(void (*build)(ResultGrid&, const DrawHistory&), const std::vector<PatternCase>& cases)
{
    std::vector<test::Row> rows;
    for (std::size_t i = 0; i < cases.size(); ++i)
        rows.push_back({static_cast<int>(i) + 1, cases[i].digits});
    const ResultGrid g = built(build, test::historyOf(rows));
    ASSERT_EQ(g.rows(), static_cast<int>(cases.size()) + 1);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(g.getText(1, static_cast<int>(i) + 2), std::to_string(i + 1));
        expectPatternRow(g, static_cast<int>(i) + 2, cases[i]);
    }
}

TEST(LowHighPattern, HeaderAndLayout)
{
    const ResultGrid g = built(&buildLowHighPatternTable, test::historyOf({{1, {1, 2, 3, 4}}}));
    EXPECT_EQ(rowTexts(g, 1), (Texts{"回数", "", "    当 選 数 字      ", "", "", "低数字", "高数字", "パターン"}));
    EXPECT_EQ(g.columns(), 8);
    EXPECT_EQ(g.rowHeight(1), 20);
    EXPECT_EQ(g.columnWidth(1), 6);
    EXPECT_EQ(g.columnWidth(5), 5);
    EXPECT_EQ(g.columnWidth(8), 7);
    EXPECT_EQ(g.activeColumn(), 0);
    EXPECT_EQ(g.activeRow(), 0);
    for (int c = 1; c <= 8; ++c) {
        EXPECT_EQ(test::textColourOf(g, c, 1), "#0000ff") << c;
        EXPECT_EQ(test::backOf(g, c, 1), kPink) << c;
    }
    EXPECT_EQ(dumpBorder(g.style(2, 1).left), "default");
    EXPECT_EQ(dumpBorder(g.style(3, 1).right), "-");
    EXPECT_EQ(dumpBorder(g.style(5, 1).right), "default");
    EXPECT_EQ(test::textColourOf(g, 7, 2), "#0000ff");
    EXPECT_EQ(test::backOf(g, 7, 2), kWhite);
}

TEST(LowHighPattern, CountsLettersAndMarks)
{
    expectPatternCases(&buildLowHighPatternTable,
                       {
                           {{0, 4, 5, 9}, {kCyan, kCyan, kNone, kNone}, "2", "2", "C", kGreen},
                           {{5, 6, 7, 8}, {kNone, kNone, kNone, kNone}, "0", "4", "A", kNone},
                           {{9, 0, 0, 0}, {kNone, kCyan, kCyan, kCyan}, "3", "1", "D", kYellow},
                           {{7, 8, 3, 9}, {kNone, kNone, kCyan, kNone}, "1", "3", "B", kCyan},
                           {{0, 1, 2, 3}, {kCyan, kCyan, kCyan, kCyan}, "4", "0", "E", kMagenta},
                       });
}

TEST(OddEvenPattern, HeaderDiffersOnlyInTheCountCaptions)
{
    const ResultGrid g = built(&buildOddEvenPatternTable, test::historyOf({{1, {1, 2, 3, 4}}}));
    EXPECT_EQ(rowTexts(g, 1), (Texts{"回数", "", "    当 選 数 字      ", "", "", "偶数", "奇数", "パターン"}));
    const ResultGrid twin = built(&buildLowHighPatternTable, test::historyOf({{1, {1, 2, 3, 4}}}));
    for (int c = 1; c <= 8; ++c) {
        EXPECT_EQ(g.columnWidth(c), twin.columnWidth(c)) << c;
        EXPECT_TRUE(g.style(c, 1) == twin.style(c, 1)) << c;
    }
}

TEST(OddEvenPattern, LetterFollowsTheOddCount)
{
    expectPatternCases(&buildOddEvenPatternTable,
                       {
                           {{2, 4, 6, 8}, {kCyan, kCyan, kCyan, kCyan}, "4", "0", "A", kNone},
                           {{0, 0, 0, 1}, {kCyan, kCyan, kCyan, kWhite}, "3", "1", "B", kCyan},
                           {{1, 2, 3, 4}, {kWhite, kCyan, kWhite, kCyan}, "2", "2", "C", kGreen},
                           {{9, 7, 2, 5}, {kWhite, kWhite, kCyan, kWhite}, "1", "3", "D", kYellow},
                           {{1, 3, 5, 7}, {kWhite, kWhite, kWhite, kWhite}, "0", "4", "E", kMagenta},
                       });
}

TEST(PatternTables, IncompleteRecordTakesNoRow)
{
    const DrawHistory h = test::historyOf({{7, {5, 6, 7, 8}}, {8, {1, 2, -1, 4}}, {9, {0, 4, 5, 9}}});
    for (auto build : {&buildLowHighPatternTable, &buildOddEvenPatternTable}) {
        const ResultGrid g = built(build, h);
        ASSERT_EQ(g.rows(), 3);
        EXPECT_EQ(g.getText(1, 2), "7");
        EXPECT_EQ(g.getText(1, 3), "9");
        EXPECT_EQ(g.getText(2, 3), "0");
    }
    for (auto build : {&buildLowHighPatternTable, &buildOddEvenPatternTable}) {
        const ResultGrid g = built(build, test::historyOf({{1, {1, -1, 1, 1}}}));
        EXPECT_EQ(g.rows(), 1);
    }
}

TEST(PatternTables, RealHistoryGivesEveryDrawOneLetter)
{
    const auto rows = test::realDraws();
    ASSERT_TRUE(rows) << "the real history is missing: " << test::realDrawsPath();
    const DrawHistory h = test::historyOf(*rows);
    const int draws = static_cast<int>(h.completeDraws().size());
    for (auto build : {&buildLowHighPatternTable, &buildOddEvenPatternTable}) {
        const ResultGrid g = built(build, h);
        ASSERT_EQ(g.rows(), draws + 1);
        std::map<std::string, int> letters;
        for (int r = 2; r <= g.rows(); ++r) {
            ++letters[g.getText(8, r)];
            EXPECT_EQ(std::stoi(g.getText(6, r)) + std::stoi(g.getText(7, r)), 4) << r;
        }
        // Only the five letters occur, each of them (every mix shows up in
        // thousands of draws), and together once per draw.
        EXPECT_EQ(letters.size(), 5u);
        int total = 0;
        for (const char* l : {"A", "B", "C", "D", "E"}) {
            EXPECT_GT(letters[l], 0) << l;
            total += letters[l];
        }
        EXPECT_EQ(total, draws);
    }
}

TEST(PatternViews, AreRegisteredUnderTheirWindowNames)
{
    for (const char* name : {"数字合計分析", "低数字高数字の組合せパターン分析", "偶数奇数の組合せパターン分析",
                             "連番飛び石分析", "引っ張り分析"}) {
        const AnalysisViewSpec* spec = findAnalysisView(name);
        ASSERT_NE(spec, nullptr) << name;
        EXPECT_NE(spec->build, nullptr) << name;
    }
}

}  // namespace
}  // namespace rumone
