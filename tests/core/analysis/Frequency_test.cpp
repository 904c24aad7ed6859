// The appearance frequency chart and the table of digits by appearance count.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/analysis/AnalysisView.h"
#include "core/analysis/frequency/AppearanceByCount.h"
#include "core/analysis/frequency/AppearanceFrequency.h"
#include "core/grid/GridDump.h"
#include "support/TestSupport.h"

namespace rumone {
namespace {

using test::backOf;
using test::historyOf;
using test::rowTexts;
using test::textColourOf;

using test::hex::kBlueText;
using test::hex::kLine;
using test::hex::kMarkColour;
using test::hex::kPaleCyanBack;
using test::hex::kRedText;
using test::hex::kYellow;

std::vector<std::string> columnTexts(const ResultGrid& g, int col)
{
    std::vector<std::string> texts;
    for (int r = 1; r <= g.rows(); ++r)
        texts.push_back(g.getText(col, r));
    return texts;
}

ResultGrid frequencyChart(const DrawHistory& h)
{
    ResultGrid g;
    buildFrequencyView(g, h);
    return g;
}

ResultGrid byCountTable(const DrawHistory& h)
{
    ResultGrid g;
    buildByCountView(g, h);
    return g;
}

// --- appearance frequency chart

TEST(AppearanceFrequency, TwoDrawsGiveOneMarkPerAppearanceAndAScaleToTheTallestColumn)
{
    const ResultGrid g = frequencyChart(historyOf({{1, {1, 1, 1, 1}}, {2, {2, 3, 4, 5}}}));
    ASSERT_EQ(g.columns(), 11);
    ASSERT_EQ(g.rows(), 6);
    EXPECT_EQ(g.visibleColumns(), 11);
    EXPECT_EQ(g.visibleRows(), 6);
    EXPECT_EQ(columnTexts(g, 1), (std::vector<std::string>{"", "出現数", "1", "2", "3", "4"}));
    EXPECT_EQ(columnTexts(g, 3), (std::vector<std::string>{"", "1", "●", "●", "●", "●"}));
    for (int digit = 0; digit <= 9; ++digit) {
        if (digit == 1)
            continue;
        const std::string mark = digit >= 2 && digit <= 5 ? "●" : "";
        std::vector<std::string> column{"", std::to_string(digit), mark, "", "", ""};
        if (digit == 3)
            column[0] = "\u3000\u3000当 選 数 字";  // the title sits over digit 3
        EXPECT_EQ(columnTexts(g, digit + 2), column) << "digit " << digit;
    }
    for (int r = 3; r <= 6; ++r)
        for (int c = 2; c <= 11; ++c)
            EXPECT_EQ(textColourOf(g, c, r), kMarkColour) << c << "," << r;
}

TEST(AppearanceFrequency, TitleAndCaptionRowsReadAndLookAsDesigned)
{
    const ResultGrid g = frequencyChart(historyOf({{1, {1, 1, 1, 1}}, {2, {2, 3, 4, 5}}}));
    std::vector<std::string> title(11);
    title[4] = "\u3000\u3000当 選 数 字";
    EXPECT_EQ(rowTexts(g, 1), title);
    EXPECT_EQ(rowTexts(g, 2), (std::vector<std::string>{"出現数", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}));

    EXPECT_TRUE(g.overflow());
    EXPECT_EQ(textColourOf(g, 5, 1), kRedText);
    EXPECT_EQ(g.style(5, 1).hAlign, HAlign::Left);
    EXPECT_EQ(g.style(6, 1).hAlign, HAlign::Centre);
    for (int c = 2; c <= 11; ++c) {
        EXPECT_EQ(backOf(g, c, 1), kYellow) << c;
        EXPECT_EQ(backOf(g, c, 2), kYellow) << c;
        EXPECT_EQ(textColourOf(g, c, 2), kRedText) << c;
        EXPECT_EQ(dumpBorder(g.style(c, 1).top), kLine) << c;
        EXPECT_EQ(dumpBorder(g.style(c, 2).left), kLine) << c;
    }
    EXPECT_EQ(dumpBorder(g.style(11, 1).right), kLine);
    EXPECT_EQ(dumpBorder(g.style(5, 1).left), "-");  // the title row is one box
    for (int r = 1; r <= 6; ++r) {
        EXPECT_EQ(textColourOf(g, 1, r), kBlueText) << r;
        EXPECT_EQ(backOf(g, 1, r), kPaleCyanBack) << r;
        EXPECT_EQ(dumpBorder(g.style(1, r).right), kLine) << r;
    }
}

TEST(AppearanceFrequency, EmptyHistoryAndIncompleteRowsGiveNoMarks)
{
    const ResultGrid empty = frequencyChart(DrawHistory{});
    EXPECT_EQ(empty.rows(), 2);
    EXPECT_EQ(empty.getText(5, 1), "\u3000\u3000当 選 数 字");
    EXPECT_EQ(empty.getText(1, 2), "出現数");

    const ResultGrid g = frequencyChart(historyOf({{1, {0, 0, 0, 5}}, {2, {9, -1, 9, 9}}}));
    ASSERT_EQ(g.rows(), 5);  // digit 0 three times: the tallest column reaches the last row
    EXPECT_EQ(columnTexts(g, 2), (std::vector<std::string>{"", "0", "●", "●", "●"}));
    EXPECT_EQ(columnTexts(g, 11), (std::vector<std::string>{"", "9", "", "", ""}));
}

TEST(AppearanceFrequency, RealHistoryColumnHeightsEqualDigitCounts)
{
    const auto rows = test::realDraws();
    ASSERT_TRUE(rows) << "the real history is missing: " << test::realDrawsPath();
    const DrawHistory h = historyOf(*rows);
    const ResultGrid g = frequencyChart(h);
    ASSERT_EQ(g.rows(), h.maxDigitCount() + 2);
    for (int d = 0; d <= 9; ++d) {
        int height = 0;
        while (height + 3 <= g.rows() && g.getText(d + 2, height + 3) == "●")
            ++height;
        EXPECT_EQ(height, h.digitCounts(d)) << "digit " << d;
        for (int r = height + 3; r <= g.rows(); ++r)
            ASSERT_FALSE(g.hasText(d + 2, r)) << "digit " << d << " row " << r;
    }
}

TEST(AppearanceFrequency, LegendFitsInsideTheWindowBesideTheDescription)
{
    const AnalysisViewSpec v = appearanceFrequencyView();
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
    const ResultGrid g = byCountTable(historyOf(rows));
    ASSERT_EQ(g.columns(), 2);
    ASSERT_EQ(g.rows(), 2);
    EXPECT_EQ(rowTexts(g, 1), (std::vector<std::string>{"出 現", "数 字"}));
    EXPECT_EQ(rowTexts(g, 2), (std::vector<std::string>{"400回", "0,1,2,3,4,5,6,7,8,9"}));
    EXPECT_EQ(backOf(g, 1, 1), "#ffc8c8");
    EXPECT_EQ(backOf(g, 2, 1), "#ffc8c8");
    EXPECT_EQ(backOf(g, 1, 2), kYellow);
    EXPECT_EQ(backOf(g, 2, 2), "-");
    EXPECT_EQ(dumpBorder(g.style(2, 2).bottom), "default");
}

TEST(AppearanceByCount, CountsAscendFromZeroAndEveryDigitRowIsBlueAndLeftAligned)
{
    const ResultGrid g = byCountTable(historyOf({{1, {1, 1, 1, 1}}, {2, {2, 3, 4, 5}}}));
    ASSERT_EQ(g.rows(), 4);
    EXPECT_EQ(columnTexts(g, 1), (std::vector<std::string>{"出 現", "0回", "1回", "4回"}));
    EXPECT_EQ(columnTexts(g, 2), (std::vector<std::string>{"数 字", "0,6,7,8,9", "2,3,4,5", "1"}));

    // The largest count (1) is smaller than the last row: that row still
    // reads like the others.
    const ResultGrid few = byCountTable(historyOf({{1, {0, 1, 2, 3}}}));
    ASSERT_EQ(few.rows(), 3);
    for (int r = 2; r <= 3; ++r) {
        EXPECT_EQ(textColourOf(few, 2, r), kBlueText) << r;
        EXPECT_EQ(few.style(2, r).hAlign, HAlign::Left) << r;
        EXPECT_EQ(few.style(1, r).hAlign, HAlign::Centre) << r;
    }
}

TEST(AppearanceByCount, EmptyHistoryGivesAnEmptyTable)
{
    const ResultGrid g = byCountTable(DrawHistory{});
    EXPECT_EQ(g.rows(), 0);
    EXPECT_EQ(g.columns(), 2);
    // Stored rows without a complete draw: every digit 0 times.
    const ResultGrid none = byCountTable(historyOf({{1, {1, -1, 2, 3}}}));
    ASSERT_EQ(none.rows(), 2);
    EXPECT_EQ(rowTexts(none, 2), (std::vector<std::string>{"0回", "0,1,2,3,4,5,6,7,8,9"}));
}

}  // namespace
}  // namespace rumone
