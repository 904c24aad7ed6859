// The per-draw tables: running appearance counts and the dispersion chart.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "analysis/AnalysisView.h"
#include "analysis/frequency/AppearanceCount.h"
#include "analysis/frequency/Dispersion.h"
#include "support/TestSupport.h"
#include "ui/GridDump.h"

namespace rumone {
namespace {

using test::RowTexts;
using test::BackOf;
using test::HistoryOf;
using test::TextColourOf;

const std::string kLine = "#88c4ff";
const std::string kMarkColour = "#3e9eff";

ResultGrid CountTable(const DrawHistory& h)
{
    ResultGrid g;
    BuildCountView(g, h);
    return g;
}

ResultGrid DispersionChart(const DrawHistory& h)
{
    ResultGrid g;
    BuildDispersionView(g, h);
    return g;
}

// --- running appearance counts

TEST(AppearanceCount, HeaderRowsReadAndLookAsDesigned)
{
    const ResultGrid g = CountTable(HistoryOf({{1, {1, 2, 3, 4}}}));
    EXPECT_EQ(RowTexts(g, 1), (std::vector<std::string>{"", "", "  当 選 数 字", "", "", "", "",
                                                         "前回までの出現回数合計(回)", ""}));
    EXPECT_EQ(RowTexts(g, 2), (std::vector<std::string>{"回数", "第1数字", "第2数字", "第3数字", "第4数字",
                                                         "第1数字", "第2数字", "第3数字", "第4数字"}));
    EXPECT_EQ(g.Style(3, 1).hAlign, HAlign::Left);
    EXPECT_EQ(g.Style(8, 1).hAlign, HAlign::Centre);
    for (int r = 1; r <= 2; ++r) {
        for (int c = 2; c <= 5; ++c) {
            EXPECT_EQ(TextColourOf(g, c, r), "#0000ff");
            EXPECT_EQ(BackOf(g, c, r), "#c8ffff");
        }
        for (int c = 6; c <= 9; ++c) {
            EXPECT_EQ(TextColourOf(g, c, r), "#ff0000");
            EXPECT_EQ(BackOf(g, c, r), "#c8ffc8");
        }
    }
    EXPECT_EQ(TextColourOf(g, 1, 3), "#ff0000");
    EXPECT_EQ(BackOf(g, 1, 3), "#ffffc8");
    // Each title box has a single line, on its right.
    for (int c = 2; c <= 9; ++c) {
        const CellStyle& s = g.Style(c, 1);
        EXPECT_EQ(DumpBorder(s.top), "-") << c;
        EXPECT_EQ(DumpBorder(s.left), "-") << c;
        EXPECT_EQ(DumpBorder(s.right), c == 5 || c == 9 ? "default" : "-") << c;
    }
    EXPECT_EQ(DumpBorder(g.Style(1, 1).right), "default");
    EXPECT_EQ(DumpBorder(g.Style(4, 2).top), "default");
    EXPECT_EQ(g.RowHeight(1), 20);
}

TEST(AppearanceCount, EachRowShowsTheCountsOverEarlierDrawsOnly)
{
    const ResultGrid g = CountTable(HistoryOf({{1, {7, 1, 2, 7}}, {2, {3, 7, 1, 9}}, {3, {7, 7, 0, 1}}}));
    ASSERT_EQ(g.Rows(), 5);
    EXPECT_EQ(RowTexts(g, 3), (std::vector<std::string>{"1", "7", "1", "2", "7", "0", "0", "0", "0"}));
    EXPECT_EQ(RowTexts(g, 4), (std::vector<std::string>{"2", "3", "7", "1", "9", "0", "2", "1", "0"}));
    EXPECT_EQ(RowTexts(g, 5), (std::vector<std::string>{"3", "7", "7", "0", "1", "3", "3", "0", "2"}));
}

TEST(AppearanceCount, RowsFollowTheCompleteDrawsWhateverTheirNumbers)
{
    // Starts at 100, has a gap and an incomplete row in between.
    const ResultGrid g =
        CountTable(HistoryOf({{100, {1, 2, 3, 4}}, {101, {5, -1, 5, 5}}, {105, {1, 1, 1, 1}}}));
    ASSERT_EQ(g.Rows(), 4);
    EXPECT_EQ(RowTexts(g, 3), (std::vector<std::string>{"100", "1", "2", "3", "4", "0", "0", "0", "0"}));
    EXPECT_EQ(RowTexts(g, 4), (std::vector<std::string>{"105", "1", "1", "1", "1", "1", "1", "1", "1"}));

    const ResultGrid empty = CountTable(DrawHistory{});
    EXPECT_EQ(empty.Rows(), 2);
    EXPECT_EQ(empty.GetText(1, 2), "回数");
}

TEST(AppearanceCount, RealHistoryLastRowHoldsTheCountsOverAllEarlierDraws)
{
    const auto rows = test::RealDraws();
    if (!rows)
        GTEST_SKIP() << "no real history at " << test::RealDrawsPath();
    const DrawHistory h = HistoryOf(*rows);
    const auto& draws = h.CompleteDraws();
    ASSERT_FALSE(draws.empty());
    const ResultGrid g = CountTable(h);
    ASSERT_EQ(g.Rows(), static_cast<int>(draws.size()) + 2);

    std::array<int, 10> before{};
    for (std::size_t i = 0; i + 1 < draws.size(); ++i)
        for (int d : draws[i].digits)
            ++before[d];
    const Draw& last = draws.back();
    const int row = g.Rows();
    EXPECT_EQ(g.GetText(1, row), std::to_string(last.number));
    for (int p = 0; p < 4; ++p)
        EXPECT_EQ(g.GetText(6 + p, row), std::to_string(before[last.digits[p]])) << "position " << p + 1;
}

// --- dispersion chart

TEST(Dispersion, MarksOneCellPerDistinctDigitInTheMarkColour)
{
    const ResultGrid g = DispersionChart(HistoryOf({{1, {3, 3, 3, 3}}, {2, {0, 9, 1, 8}}}));
    ASSERT_EQ(g.Columns(), 12);
    ASSERT_EQ(g.Rows(), 5);
    EXPECT_EQ(RowTexts(g, 3), (std::vector<std::string>{"1", "", "", "", "●", "", "", "", "", "", "", "1"}));
    EXPECT_EQ(RowTexts(g, 4), (std::vector<std::string>{"2", "●", "●", "", "", "", "", "", "", "●", "●", "2"}));
    for (int c = 2; c <= 11; ++c) {
        EXPECT_EQ(TextColourOf(g, c, 3), c == 5 ? kMarkColour : "-") << c;
        EXPECT_EQ(TextColourOf(g, c, 4), c == 2 || c == 3 || c == 10 || c == 11 ? kMarkColour : "-") << c;
    }
    EXPECT_EQ(TextColourOf(g, 1, 3), "#ff0000");
    EXPECT_EQ(BackOf(g, 12, 4), "#ffffc8");
    EXPECT_EQ(DumpBorder(g.Style(7, 4).left), kLine);
}

TEST(Dispersion, TitleCaptionsAndFooterRowReadAsDesigned)
{
    const ResultGrid g = DispersionChart(HistoryOf({{1, {1, 2, 3, 4}}}));
    ASSERT_EQ(g.Rows(), 4);
    std::vector<std::string> title(12);
    title[5] = "数\u3000\u3000\u3000\u3000\u3000\u3000\u3000字";
    EXPECT_EQ(RowTexts(g, 1), title);
    const std::vector<std::string> captions{"回", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "回"};
    EXPECT_EQ(RowTexts(g, 2), captions);
    EXPECT_EQ(RowTexts(g, 4), captions);
    for (int r : {2, 4})
        for (int c = 2; c <= 11; ++c) {
            EXPECT_EQ(TextColourOf(g, c, r), "#0000ff") << c << "," << r;
            EXPECT_EQ(BackOf(g, c, r), "#defefd") << c << "," << r;
        }
    EXPECT_EQ(TextColourOf(g, 6, 1), "#0000ff");
    EXPECT_EQ(BackOf(g, 2, 1), "#defefd");
    EXPECT_EQ(DumpBorder(g.Style(2, 1).left), kLine);
    EXPECT_EQ(DumpBorder(g.Style(6, 1).left), "-");
    EXPECT_EQ(DumpBorder(g.Style(11, 1).right), kLine);
    EXPECT_EQ(DumpBorder(g.Style(1, 1).right), kLine);
}

TEST(Dispersion, FooterFollowsTheLastDrawForEveryHistory)
{
    const ResultGrid empty = DispersionChart(DrawHistory{});
    ASSERT_EQ(empty.Rows(), 3);
    EXPECT_EQ(empty.GetText(6, 1), "数\u3000\u3000\u3000\u3000\u3000\u3000\u3000字");
    EXPECT_EQ(empty.GetText(2, 2), "0");
    EXPECT_EQ(empty.GetText(2, 3), "0");

    // 100 draws, a gap and an incomplete row: one row each for the 99
    // complete draws, directly followed by the footer.
    std::vector<test::Row> rows;
    for (int n = 1; n <= 101; ++n)
        if (n != 50)
            rows.push_back({n, {n % 10, 0, 0, n == 70 ? -1 : 0}});
    const ResultGrid g = DispersionChart(HistoryOf(rows));
    ASSERT_EQ(g.Rows(), 99 + 3);
    EXPECT_EQ(g.GetText(1, 3), "1");
    EXPECT_EQ(g.GetText(1, 50), "48");
    EXPECT_EQ(g.GetText(1, 51), "49");
    EXPECT_EQ(g.GetText(1, 52), "51");
    EXPECT_EQ(g.GetText(1, 70), "69");
    EXPECT_EQ(g.GetText(1, 71), "71");
    EXPECT_EQ(g.GetText(12, 101), "101");
    EXPECT_EQ(g.GetText(1, 102), "回");
    EXPECT_EQ(g.GetText(11, 102), "9");
    EXPECT_EQ(g.LastDataRow(), 102);
}

// --- how the windows present themselves

TEST(FrequencyViews, RegisteredWithTheirWindows)
{
    struct Expected {
        const char* name;
        const char* caption;
        const char* menu;
        bool print;
    };
    const Expected expected[] = {
        {"出現頻度分析", "出現頻度分析", "mnuSyutugenHindo", false},
        {"回数別出現分析", "回数別頻度分析", "mnuSyutugenKaisu", true},
        {"出現回数分析", "出現回数分析", "mnuZenkaiSyutugen", false},
        {"バラツキ分析", "バラツキ分析", "mnuBaratsuki", false},
    };
    for (const Expected& e : expected) {
        const AnalysisViewSpec* v = FindAnalysisView(e.name);
        ASSERT_NE(v, nullptr) << e.name;
        EXPECT_EQ(v->caption, e.caption);
        EXPECT_EQ(v->menuAction, e.menu);
        EXPECT_EQ(v->hasPrintButton, e.print);
        EXPECT_NE(v->build, nullptr);
    }
}

}  // namespace
}  // namespace rumone
