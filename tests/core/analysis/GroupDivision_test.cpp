// The three group division views: header rows, bands, marks and sizes.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "core/analysis/group/GroupDivision.h"
#include "core/grid/GridDump.h"
#include "core/grid/GridSteps.h"
#include "support/TestSupport.h"

namespace rumone {
namespace {

using test::backOf;
using test::historyOf;
using test::textColourOf;

constexpr const char* kCyan = "#c8ffff";
constexpr const char* kGreen = "#c8ffc8";
constexpr const char* kMagenta = "#ffc8ff";
constexpr const char* kLavender = "#c8c8ff";
constexpr const char* kNone = "-";
constexpr const char* kLine = "#88c4ff";

ResultGrid build(const AnalysisViewSpec& view, const DrawHistory& history)
{
    ResultGrid g;
    view.build(g, history);
    return g;
}

int marksInRow(const ResultGrid& g, int row)
{
    int marks = 0;
    for (int c = 1; c <= g.columns(); ++c)
        marks += g.getText(c, row) == kMark ? 1 : 0;
    return marks;
}

// "LTRB" sides of a cell, each as dumpBorder gives it.
std::string sides(const ResultGrid& g, int col, int row)
{
    const CellStyle& s = g.style(col, row);
    return dumpBorder(s.left) + " " + dumpBorder(s.top) + " " + dumpBorder(s.right) + " " + dumpBorder(s.bottom);
}

// What each member shows: its group labels by first digit, the band of
// each digit value and how many blocks have blue digit labels.
struct Expected {
    AnalysisViewSpec (*view)();
    std::string objectName, caption, menuAction, label1;
    std::vector<std::pair<int, std::string>> labels;  // first digit, label
    std::array<const char*, 10> bands;
    int blueBlocks;
};

std::vector<Expected> members()
{
    return {
        {groupDivision3View,
         "分割3データ分析",
         "3分割データ分析",
         "mnu3BunkatsuData",
         "過去の当選番号の第１～４数字をＡ～Ｃの３グループに分類して分析します",
         {{0, "　　 Ａ "}, {3, "　　 Ｂ "}, {6, "　　　 Ｃ 　　"}},
         {kCyan, kCyan, kCyan, kNone, kNone, kNone, kGreen, kGreen, kGreen, kGreen},
         1},
        {groupDivision5View,
         "分割5データ分析",
         "5分割データ分析",
         "mnu6BunkatsuData",
         "過去の当選番号の第１～４数字をＡ～Ｅの５グループに分類して分析します",
         {{0, "　Ａ "}, {2, "　Ｂ "}, {4, "　Ｃ "}, {6, "　Ｄ "}, {8, "　Ｅ "}},
         {kCyan, kCyan, kNone, kNone, kGreen, kGreen, kNone, kNone, kMagenta, kMagenta},
         1},
        {groupDivision10View,
         "分割10データ分析",
         "10分割データ分析",
         "mnu11BunkatsuData",
         "過去の当選番号の第１～４数字をＡ～Ｊの１０グループに分類して分析します",
         {{0, "Ａ"}, {1, "Ｂ"}, {2, "Ｃ"}, {3, "Ｄ"}, {4, "Ｅ"}, {5, "Ｆ"}, {6, "Ｇ"}, {7, "Ｈ"}, {8, "Ｉ"}, {9, "Ｊ"}},
         {kCyan, kGreen, kMagenta, kLavender, kNone, kCyan, kGreen, kMagenta, kLavender, kNone},
         4},
    };
}

TEST(GroupDivision, WindowOfEachMember)
{
    for (const Expected& e : members()) {
        SCOPED_TRACE(e.objectName);
        const AnalysisViewSpec v = e.view();
        EXPECT_EQ(v.objectName, e.objectName);
        EXPECT_EQ(v.caption, e.caption);
        EXPECT_EQ(v.menuAction, e.menuAction);
        EXPECT_EQ(v.label1, e.label1);
        EXPECT_EQ(v.widthTwips, 12300);
        EXPECT_EQ(v.heightTwips, 12400);
        EXPECT_FALSE(v.hasPrintButton);
        ASSERT_EQ(v.legend.size(), 2u);
        EXPECT_EQ(v.legend[0].objectName, "Picture1");
        EXPECT_EQ(v.legend[0].kind, LegendItem::Kind::Ball);
        EXPECT_EQ(v.legend[0].ballPixels, 19);
        EXPECT_EQ(v.legend[0].body, kBallBlueBody);
        EXPECT_EQ(v.legend[1].objectName, "Label2");
        EXPECT_EQ(v.legend[1].text, "：当選数字");
        EXPECT_LT(v.legend[1].left + v.legend[1].width, v.widthTwips);
        ASSERT_NE(findAnalysisView(e.objectName), nullptr);
    }
}

TEST(GroupDivision, LayoutOfEachMember)
{
    const DrawHistory h = historyOf({{1, {1, 2, 3, 4}}, {2, {5, 6, 7, 8}}});
    for (const Expected& e : members()) {
        SCOPED_TRACE(e.objectName);
        const ResultGrid g = build(e.view(), h);
        EXPECT_EQ(g.columns(), 42);
        EXPECT_EQ(g.rows(), 5);
        EXPECT_EQ(g.visibleColumns(), 42);
        EXPECT_EQ(g.visibleRows(), 53);
        EXPECT_EQ(g.scrollBarsShown(), ScrollBars::Both);
        EXPECT_EQ(g.frozenRows(), 3);
        EXPECT_TRUE(g.overflow());
        EXPECT_EQ(g.activeColumn(), 0);
        EXPECT_EQ(g.activeRow(), 0);
        EXPECT_EQ(g.rowHeight(1), 15);
        EXPECT_EQ(g.rowHeight(2), 12);
        EXPECT_EQ(g.rowHeight(3), 9);
        EXPECT_EQ(g.columnWidth(1), 6);
        EXPECT_EQ(g.columnWidth(2), 2);
        EXPECT_EQ(g.columnWidth(42), 6);
    }
}

TEST(GroupDivision, HeaderRowsOfEachMember)
{
    const std::string title[4] = {"　　　　当選数字(第1数字)　　　　", "　　　　当選数字(第2数字)　　　　",
                                  "　　　　当選数字(第3数字)　　　　", "　　　　当選数字(第4数字)　　　　"};
    for (const Expected& e : members()) {
        SCOPED_TRACE(e.objectName);
        const ResultGrid g = build(e.view(), historyOf({}));

        // Row 1: one title per block on pink, one outline per block.
        for (int c = 1; c <= 42; ++c) {
            const bool first = c >= 2 && c <= 41 && (c - 2) % 10 == 0;
            EXPECT_EQ(g.getText(c, 1), first ? title[(c - 2) / 10] : "") << c;
        }
        EXPECT_EQ(backOf(g, 2, 1), "#ffc8c8");
        EXPECT_EQ(backOf(g, 41, 1), "#ffc8c8");
        EXPECT_EQ(g.style(12, 1).hAlign, HAlign::Left);
        EXPECT_EQ(sides(g, 12, 1), std::string(kLine) + " " + kLine + " - " + kLine);
        EXPECT_EQ(sides(g, 15, 1), std::string("- ") + kLine + " - " + kLine);
        EXPECT_EQ(sides(g, 21, 1), std::string("- ") + kLine + " " + kLine + " " + kLine);
        EXPECT_EQ(sides(g, 1, 1), "- - - -");
        EXPECT_EQ(sides(g, 42, 1), "- - - -");

        // Row 2: each group's label in its first column, one box per group.
        for (int p = 0; p < 4; ++p) {
            std::vector<std::string> row2(10);
            for (const auto& [digit, label] : e.labels)
                row2[digit] = label;
            for (int d = 0; d <= 9; ++d) {
                const int c = 10 * p + d + 2;
                EXPECT_EQ(g.getText(c, 2), row2[d]) << c;
                const bool starts = !row2[d].empty();
                const bool ends = d == 9 || !row2[d + 1].empty();
                EXPECT_EQ(sides(g, c, 2),
                          std::string(starts ? kLine : "-") + " " + kLine + " " + (ends ? kLine : "-") + " " + kLine)
                    << c;
                if (starts) {
                    EXPECT_EQ(g.style(c, 2).hAlign, HAlign::Left) << c;
                }
            }
        }
        EXPECT_EQ(g.getText(1, 2), "");
        EXPECT_EQ(g.getText(42, 2), "");

        // Row 3: digit labels, blue in the member's blocks, boxed cells.
        EXPECT_EQ(g.getText(1, 3), "回数");
        EXPECT_EQ(g.getText(42, 3), "回数");
        for (int c = 2; c <= 41; ++c) {
            EXPECT_EQ(g.getText(c, 3), std::to_string((c - 2) % 10)) << c;
            EXPECT_EQ(textColourOf(g, c, 3), c <= 10 * e.blueBlocks + 1 ? "#0000ff" : "-") << c;
        }
        for (int c = 1; c <= 42; ++c)
            EXPECT_EQ(sides(g, c, 3), std::string(kLine) + " " + kLine + " " + kLine + " " + kLine) << c;

        // Bands from row 2 down; the number columns red on light yellow.
        for (int row : {2, 3})
            for (int c = 2; c <= 41; ++c)
                EXPECT_EQ(backOf(g, c, row), e.bands[(c - 2) % 10]) << c << "," << row;
        for (int row : {1, 2, 3})
            for (int c : {1, 42}) {
                EXPECT_EQ(textColourOf(g, c, row), "#ff0000");
                EXPECT_EQ(backOf(g, c, row), "#ffffc8");
            }
    }
}

TEST(GroupDivision, NoCompleteDrawLeavesTheHeaderOnly)
{
    for (const Expected& e : members()) {
        SCOPED_TRACE(e.objectName);
        const ResultGrid empty = build(e.view(), historyOf({}));
        EXPECT_EQ(empty.rows(), 3);
        const ResultGrid incomplete = build(e.view(), historyOf({{1, {1, -1, 3, 4}}, {2, {-1, -1, -1, -1}}}));
        EXPECT_EQ(incomplete.rows(), 3);
        EXPECT_EQ(dumpGrid(incomplete), dumpGrid(empty));
    }
}

// Marks of 0-5-9-3 in columns 2, 17, 31 and 35, on the band of their digit.
TEST(GroupDivision, MarksLieOnTheBandOfTheirDigit)
{
    const DrawHistory h = historyOf({{1, {0, 5, 9, 3}}});
    const std::array<int, 4> columns = {2, 17, 31, 35};
    const std::vector<std::pair<AnalysisViewSpec (*)(), std::array<const char*, 4>>> cases = {
        {groupDivision3View, {kCyan, kNone, kGreen, kNone}},
        {groupDivision10View, {kCyan, kCyan, kNone, kLavender}},
    };
    for (const auto& [view, backs] : cases) {
        const ResultGrid g = build(view(), h);
        SCOPED_TRACE(view().objectName);
        EXPECT_EQ(marksInRow(g, 4), 4);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(g.getText(columns[i], 4), kMark);
            EXPECT_EQ(textColourOf(g, columns[i], 4), "#3e9eff");
            EXPECT_EQ(backOf(g, columns[i], 4), backs[i]);
        }
        EXPECT_EQ(textColourOf(g, 3, 4), "-");
    }
}

TEST(GroupDivision, OneRowPerCompleteDraw)
{
    // Not starting at draw 1, with a gap and an incomplete row: the rows
    // follow each other with no empty row and no draw lost.
    const DrawHistory h = historyOf({{5, {7, 7, 7, 7}}, {6, {1, -1, 2, 3}}, {9, {0, 1, 2, 3}}, {12, {9, 9, 0, 0}}});
    const ResultGrid g = build(groupDivision5View(), h);
    ASSERT_EQ(g.rows(), 6);
    const std::array<int, 3> numbers = {5, 9, 12};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(g.getText(1, 4 + i), std::to_string(numbers[i]));
        EXPECT_EQ(g.getText(42, 4 + i), std::to_string(numbers[i]));
        EXPECT_EQ(marksInRow(g, 4 + i), 4);
    }
    for (int p = 0; p < 4; ++p)
        EXPECT_EQ(g.getText(10 * p + 9, 4), kMark) << "block " << p + 1;
    EXPECT_EQ(g.getText(41, 6), "");
    EXPECT_EQ(g.getText(32, 6), kMark);
    EXPECT_EQ(g.lastDataRow(), 6);
}

TEST(GroupDivision, RealHistoryMarksEveryDigitByPosition)
{
    const auto rows = test::realDraws();
    ASSERT_TRUE(rows) << "the real history is missing: " << test::realDrawsPath();
    std::array<std::array<int, 10>, 4> expected{};
    std::vector<int> numbers;
    for (const test::Row& r : *rows) {
        bool complete = true;
        for (int d : r.digits)
            complete = complete && d >= 0 && d <= 9;
        if (!complete)
            continue;
        numbers.push_back(r.number);
        for (int p = 0; p < 4; ++p)
            ++expected[p][r.digits[p]];
    }
    const ResultGrid g = build(groupDivision10View(), test::historyOf(*rows));
    ASSERT_EQ(g.rows(), static_cast<int>(numbers.size()) + 3);
    for (int row = 4; row <= g.rows(); ++row) {
        ASSERT_EQ(marksInRow(g, row), 4) << row;
        ASSERT_EQ(g.getText(1, row), std::to_string(numbers[row - 4]));
    }
    for (int p = 0; p < 4; ++p)
        for (int d = 0; d <= 9; ++d) {
            int marks = 0;
            for (int row = 4; row <= g.rows(); ++row)
                marks += g.getText(10 * p + d + 2, row) == kMark ? 1 : 0;
            EXPECT_EQ(marks, expected[p][d]) << "position " << p + 1 << " digit " << d;
        }
}

}  // namespace
}  // namespace rumone
