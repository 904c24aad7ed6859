// The appearance frequency chart and the table of digits by appearance count.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/AnalysisView.h"
#include "analysis/frequency/AppearanceByCount.h"
#include "analysis/frequency/AppearanceFrequency.h"
#include "support/TestSupport.h"
#include "ui/GridDump.h"

namespace rumone {
namespace {

using test::RowTexts;
using test::BackOf;
using test::HistoryOf;
using test::TextColourOf;

const std::string kRedText = "#ff0000";
const std::string kBlueText = "#0000ff";
const std::string kYellow = "#ffffc8";
const std::string kPaleCyanBack = "#defefd";
const std::string kLine = "#88c4ff";
const std::string kMarkColour = "#3e9eff";

std::vector<std::string> ColumnTexts(const ResultGrid& g, int col)
{
    std::vector<std::string> texts;
    for (int r = 1; r <= g.Rows(); ++r)
        texts.push_back(g.GetText(col, r));
    return texts;
}

ResultGrid FrequencyChart(const DrawHistory& h)
{
    ResultGrid g;
    BuildFrequencyView(g, h);
    return g;
}

ResultGrid ByCountTable(const DrawHistory& h)
{
    ResultGrid g;
    BuildByCountView(g, h);
    return g;
}

// --- appearance frequency chart

TEST(AppearanceFrequency, TwoDrawsGiveOneMarkPerAppearanceAndAScaleToTheTallestColumn)
{
    const ResultGrid g = FrequencyChart(HistoryOf({{1, {1, 1, 1, 1}}, {2, {2, 3, 4, 5}}}));
    ASSERT_EQ(g.Columns(), 11);
    ASSERT_EQ(g.Rows(), 6);
    EXPECT_EQ(g.VisibleColumns(), 11);
    EXPECT_EQ(g.VisibleRows(), 6);
    EXPECT_EQ(ColumnTexts(g, 1), (std::vector<std::string>{"", "出現数", "1", "2", "3", "4"}));
    EXPECT_EQ(ColumnTexts(g, 3), (std::vector<std::string>{"", "1", "●", "●", "●", "●"}));
    for (int digit = 0; digit <= 9; ++digit) {
        if (digit == 1)
            continue;
        const std::string mark = digit >= 2 && digit <= 5 ? "●" : "";
        std::vector<std::string> column{"", std::to_string(digit), mark, "", "", ""};
        if (digit == 3)
            column[0] = "\u3000\u3000当 選 数 字";  // the title sits over digit 3
        EXPECT_EQ(ColumnTexts(g, digit + 2), column) << "digit " << digit;
    }
    for (int r = 3; r <= 6; ++r)
        for (int c = 2; c <= 11; ++c)
            EXPECT_EQ(TextColourOf(g, c, r), kMarkColour) << c << "," << r;
}

TEST(AppearanceFrequency, TitleAndCaptionRowsReadAndLookAsDesigned)
{
    const ResultGrid g = FrequencyChart(HistoryOf({{1, {1, 1, 1, 1}}, {2, {2, 3, 4, 5}}}));
    std::vector<std::string> title(11);
    title[4] = "\u3000\u3000当 選 数 字";
    EXPECT_EQ(RowTexts(g, 1), title);
    EXPECT_EQ(RowTexts(g, 2), (std::vector<std::string>{"出現数", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}));

    EXPECT_TRUE(g.Overflow());
    EXPECT_EQ(TextColourOf(g, 5, 1), kRedText);
    EXPECT_EQ(g.Style(5, 1).hAlign, HAlign::Left);
    EXPECT_EQ(g.Style(6, 1).hAlign, HAlign::Centre);
    for (int c = 2; c <= 11; ++c) {
        EXPECT_EQ(BackOf(g, c, 1), kYellow) << c;
        EXPECT_EQ(BackOf(g, c, 2), kYellow) << c;
        EXPECT_EQ(TextColourOf(g, c, 2), kRedText) << c;
        EXPECT_EQ(DumpBorder(g.Style(c, 1).top), kLine) << c;
        EXPECT_EQ(DumpBorder(g.Style(c, 2).left), kLine) << c;
    }
    EXPECT_EQ(DumpBorder(g.Style(11, 1).right), kLine);
    EXPECT_EQ(DumpBorder(g.Style(5, 1).left), "-");  // the title row is one box
    for (int r = 1; r <= 6; ++r) {
        EXPECT_EQ(TextColourOf(g, 1, r), kBlueText) << r;
        EXPECT_EQ(BackOf(g, 1, r), kPaleCyanBack) << r;
        EXPECT_EQ(DumpBorder(g.Style(1, r).right), kLine) << r;
    }
}

TEST(AppearanceFrequency, EmptyHistoryAndIncompleteRowsGiveNoMarks)
{
    const ResultGrid empty = FrequencyChart(DrawHistory{});
    EXPECT_EQ(empty.Rows(), 2);
    EXPECT_EQ(empty.GetText(5, 1), "\u3000\u3000当 選 数 字");
    EXPECT_EQ(empty.GetText(1, 2), "出現数");

    const ResultGrid g = FrequencyChart(HistoryOf({{1, {0, 0, 0, 5}}, {2, {9, -1, 9, 9}}}));
    ASSERT_EQ(g.Rows(), 5);  // digit 0 three times: the tallest column reaches the last row
    EXPECT_EQ(ColumnTexts(g, 2), (std::vector<std::string>{"", "0", "●", "●", "●"}));
    EXPECT_EQ(ColumnTexts(g, 11), (std::vector<std::string>{"", "9", "", "", ""}));
}

TEST(AppearanceFrequency, RealHistoryColumnHeightsEqualDigitCounts)
{
    const auto rows = test::RealDraws();
    if (!rows)
        GTEST_SKIP() << "no real history at " << test::RealDrawsPath();
    const DrawHistory h = HistoryOf(*rows);
    const ResultGrid g = FrequencyChart(h);
    ASSERT_EQ(g.Rows(), h.maxDigitCount() + 2);
    for (int d = 0; d <= 9; ++d) {
        int height = 0;
        while (height + 3 <= g.Rows() && g.GetText(d + 2, height + 3) == "●")
            ++height;
        EXPECT_EQ(height, h.digitCounts(d)) << "digit " << d;
        for (int r = height + 3; r <= g.Rows(); ++r)
            ASSERT_FALSE(g.HasText(d + 2, r)) << "digit " << d << " row " << r;
    }
}

TEST(AppearanceFrequency, LegendFitsInsideTheWindowBesideTheDescription)
{
    const AnalysisViewSpec v = AppearanceFrequencyView();
    ASSERT_EQ(v.legend.size(), 2u);
    const LegendItem& ball = v.legend[0];
    const LegendItem& label = v.legend[1];
    EXPECT_EQ(ball.kind, LegendItem::Kind::Ball);
    EXPECT_EQ(ball.ballPixels, 13);
    EXPECT_TRUE(ball.body == kBallBlueBody);
    EXPECT_EQ(label.kind, LegendItem::Kind::Label);
    EXPECT_EQ(label.text, "：当選数字");
    for (const LegendItem& item : v.legend) {
        EXPECT_EQ(item.top, 120) << item.objectName;
        EXPECT_EQ(item.height, 255) << item.objectName;
    }
    EXPECT_GE(label.left, ball.left + ball.width);
    // Five full-width characters of a 9-point font take 5 x 180 twips; the
    // window's frame and a margin (120 twips each) lie right of the label.
    EXPECT_GE(label.width, 5 * 180);
    EXPECT_LE(label.left + label.width, v.widthTwips - 240);
    EXPECT_GT(ball.left, v.widthTwips / 2);  // room for the description on the left
}

// --- digits by appearance count

TEST(AppearanceByCount, EvenHistoryGivesOneRowWithEveryDigit)
{
    std::vector<test::Row> rows;
    for (int n = 1; n <= 1000; ++n) {
        test::Row r{n, {}};
        for (int p = 0; p < 4; ++p)
            r.digits[p] = ((n - 1) * 4 + p) % 10;
        rows.push_back(r);
    }
    const ResultGrid g = ByCountTable(HistoryOf(rows));
    ASSERT_EQ(g.Columns(), 2);
    ASSERT_EQ(g.Rows(), 2);
    EXPECT_EQ(RowTexts(g, 1), (std::vector<std::string>{"出 現", "数 字"}));
    EXPECT_EQ(RowTexts(g, 2), (std::vector<std::string>{"400回", "0,1,2,3,4,5,6,7,8,9"}));
    EXPECT_EQ(BackOf(g, 1, 1), "#ffc8c8");
    EXPECT_EQ(BackOf(g, 2, 1), "#ffc8c8");
    EXPECT_EQ(BackOf(g, 1, 2), kYellow);
    EXPECT_EQ(BackOf(g, 2, 2), "-");
    EXPECT_EQ(DumpBorder(g.Style(2, 2).bottom), "default");
}

TEST(AppearanceByCount, CountsAscendFromZeroAndEveryDigitRowIsBlueAndLeftAligned)
{
    const ResultGrid g = ByCountTable(HistoryOf({{1, {1, 1, 1, 1}}, {2, {2, 3, 4, 5}}}));
    ASSERT_EQ(g.Rows(), 4);
    EXPECT_EQ(ColumnTexts(g, 1), (std::vector<std::string>{"出 現", "0回", "1回", "4回"}));
    EXPECT_EQ(ColumnTexts(g, 2), (std::vector<std::string>{"数 字", "0,6,7,8,9", "2,3,4,5", "1"}));

    // The largest count (1) is smaller than the last row: that row still
    // reads like the others.
    const ResultGrid few = ByCountTable(HistoryOf({{1, {0, 1, 2, 3}}}));
    ASSERT_EQ(few.Rows(), 3);
    for (int r = 2; r <= 3; ++r) {
        EXPECT_EQ(TextColourOf(few, 2, r), kBlueText) << r;
        EXPECT_EQ(few.Style(2, r).hAlign, HAlign::Left) << r;
        EXPECT_EQ(few.Style(1, r).hAlign, HAlign::Centre) << r;
    }
}

TEST(AppearanceByCount, EmptyHistoryGivesAnEmptyTable)
{
    const ResultGrid g = ByCountTable(DrawHistory{});
    EXPECT_EQ(g.Rows(), 0);
    EXPECT_EQ(g.Columns(), 2);
    // Stored rows without a complete draw: every digit 0 times.
    const ResultGrid none = ByCountTable(HistoryOf({{1, {1, -1, 2, 3}}}));
    ASSERT_EQ(none.Rows(), 2);
    EXPECT_EQ(RowTexts(none, 2), (std::vector<std::string>{"0回", "0,1,2,3,4,5,6,7,8,9"}));
}

}  // namespace
}  // namespace rumone
