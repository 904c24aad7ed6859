// The per-draw tables: running appearance counts and the dispersion chart.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "core/analysis/AnalysisView.h"
#include "core/analysis/frequency/AppearanceCount.h"
#include "core/analysis/frequency/Dispersion.h"
#include "core/grid/GridDump.h"
#include "support/TestSupport.h"

namespace rumone {
namespace {

using test::backOf;
using test::historyOf;
using test::rowTexts;
using test::textColourOf;

using test::hex::kLine;
using test::hex::kMarkColour;

ResultGrid countTable(const DrawHistory& h)
{
    ResultGrid g;
    buildCountView(g, h);
    return g;
}

ResultGrid dispersionChart(const DrawHistory& h)
{
    ResultGrid g;
    buildDispersionView(g, h);
    return g;
}

// --- running appearance counts

TEST(AppearanceCount, HeaderRowsReadAndLookAsDesigned)
{
    const ResultGrid g = countTable(historyOf({{1, {1, 2, 3, 4}}}));
    EXPECT_EQ(rowTexts(g, 1),
              (std::vector<std::string>{"", "", "  当 選 数 字", "", "", "", "", "前回までの出現回数合計(回)", ""}));
    EXPECT_EQ(rowTexts(g, 2), (std::vector<std::string>{"回数", "第1数字", "第2数字", "第3数字", "第4数字", "第1数字",
                                                        "第2数字", "第3数字", "第4数字"}));
    EXPECT_EQ(g.style(3, 1).hAlign, HAlign::Left);
    EXPECT_EQ(g.style(8, 1).hAlign, HAlign::Centre);
    for (int r = 1; r <= 2; ++r) {
        for (int c = 2; c <= 5; ++c) {
            EXPECT_EQ(textColourOf(g, c, r), "#0000ff");
            EXPECT_EQ(backOf(g, c, r), "#c8ffff");
        }
        for (int c = 6; c <= 9; ++c) {
            EXPECT_EQ(textColourOf(g, c, r), "#ff0000");
            EXPECT_EQ(backOf(g, c, r), "#c8ffc8");
        }
    }
    EXPECT_EQ(textColourOf(g, 1, 3), "#ff0000");
    EXPECT_EQ(backOf(g, 1, 3), "#ffffc8");
    // Each title box has a single line, on its right.
    for (int c = 2; c <= 9; ++c) {
        const CellStyle& s = g.style(c, 1);
        EXPECT_EQ(dumpBorder(s.top), "-") << c;
        EXPECT_EQ(dumpBorder(s.left), "-") << c;
        EXPECT_EQ(dumpBorder(s.right), c == 5 || c == 9 ? "default" : "-") << c;
    }
    EXPECT_EQ(dumpBorder(g.style(1, 1).right), "default");
    EXPECT_EQ(dumpBorder(g.style(4, 2).top), "default");
    EXPECT_EQ(g.rowHeight(1), 20);
}

TEST(AppearanceCount, EachRowShowsTheCountsOverEarlierDrawsOnly)
{
    const ResultGrid g = countTable(historyOf({{1, {7, 1, 2, 7}}, {2, {3, 7, 1, 9}}, {3, {7, 7, 0, 1}}}));
    ASSERT_EQ(g.rows(), 5);
    EXPECT_EQ(rowTexts(g, 3), (std::vector<std::string>{"1", "7", "1", "2", "7", "0", "0", "0", "0"}));
    EXPECT_EQ(rowTexts(g, 4), (std::vector<std::string>{"2", "3", "7", "1", "9", "0", "2", "1", "0"}));
    EXPECT_EQ(rowTexts(g, 5), (std::vector<std::string>{"3", "7", "7", "0", "1", "3", "3", "0", "2"}));
}

TEST(AppearanceCount, RowsFollowTheCompleteDrawsWhateverTheirNumbers)
{
    // Starts at 100, has a gap and an incomplete row in between.
    const ResultGrid g = countTable(historyOf({{100, {1, 2, 3, 4}}, {101, {5, -1, 5, 5}}, {105, {1, 1, 1, 1}}}));
    ASSERT_EQ(g.rows(), 4);
    EXPECT_EQ(rowTexts(g, 3), (std::vector<std::string>{"100", "1", "2", "3", "4", "0", "0", "0", "0"}));
    EXPECT_EQ(rowTexts(g, 4), (std::vector<std::string>{"105", "1", "1", "1", "1", "1", "1", "1", "1"}));

    const ResultGrid empty = countTable(DrawHistory{});
    EXPECT_EQ(empty.rows(), 2);
    EXPECT_EQ(empty.getText(1, 2), "回数");
}

TEST(AppearanceCount, RealHistoryLastRowHoldsTheCountsOverAllEarlierDraws)
{
    const auto rows = test::realDraws();
    ASSERT_TRUE(rows) << "the real history is missing: " << test::realDrawsPath();
    const DrawHistory h = historyOf(*rows);
    const auto& draws = h.completeDraws();
    ASSERT_FALSE(draws.empty());
    const ResultGrid g = countTable(h);
    ASSERT_EQ(g.rows(), static_cast<int>(draws.size()) + 2);

    std::array<int, 10> before{};
    for (std::size_t i = 0; i + 1 < draws.size(); ++i)
        for (int d : draws[i].digits)
            ++before[d];
    const Draw& last = draws.back();
    const int row = g.rows();
    EXPECT_EQ(g.getText(1, row), std::to_string(last.number));
    for (int p = 0; p < 4; ++p)
        EXPECT_EQ(g.getText(6 + p, row), std::to_string(before[last.digits[p]])) << "position " << p + 1;
}

// --- dispersion chart

TEST(Dispersion, MarksOneCellPerDistinctDigitInTheMarkColour)
{
    const ResultGrid g = dispersionChart(historyOf({{1, {3, 3, 3, 3}}, {2, {0, 9, 1, 8}}}));
    ASSERT_EQ(g.columns(), 12);
    ASSERT_EQ(g.rows(), 5);
    EXPECT_EQ(rowTexts(g, 3), (std::vector<std::string>{"1", "", "", "", "●", "", "", "", "", "", "", "1"}));
    EXPECT_EQ(rowTexts(g, 4), (std::vector<std::string>{"2", "●", "●", "", "", "", "", "", "", "●", "●", "2"}));
    for (int c = 2; c <= 11; ++c) {
        EXPECT_EQ(textColourOf(g, c, 3), c == 5 ? kMarkColour : "-") << c;
        EXPECT_EQ(textColourOf(g, c, 4), c == 2 || c == 3 || c == 10 || c == 11 ? kMarkColour : "-") << c;
    }
    EXPECT_EQ(textColourOf(g, 1, 3), "#ff0000");
    EXPECT_EQ(backOf(g, 12, 4), "#ffffc8");
    EXPECT_EQ(dumpBorder(g.style(7, 4).left), kLine);
}

TEST(Dispersion, TitleCaptionsAndFooterRowReadAsDesigned)
{
    const ResultGrid g = dispersionChart(historyOf({{1, {1, 2, 3, 4}}}));
    ASSERT_EQ(g.rows(), 4);
    std::vector<std::string> title(12);
    title[5] = "数\u3000\u3000\u3000\u3000\u3000\u3000\u3000字";
    EXPECT_EQ(rowTexts(g, 1), title);
    const std::vector<std::string> captions{"回", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "回"};
    EXPECT_EQ(rowTexts(g, 2), captions);
    EXPECT_EQ(rowTexts(g, 4), captions);
    for (int r : {2, 4})
        for (int c = 2; c <= 11; ++c) {
            EXPECT_EQ(textColourOf(g, c, r), "#0000ff") << c << "," << r;
            EXPECT_EQ(backOf(g, c, r), "#defefd") << c << "," << r;
        }
    EXPECT_EQ(textColourOf(g, 6, 1), "#0000ff");
    EXPECT_EQ(backOf(g, 2, 1), "#defefd");
    EXPECT_EQ(dumpBorder(g.style(2, 1).left), kLine);
    EXPECT_EQ(dumpBorder(g.style(6, 1).left), "-");
    EXPECT_EQ(dumpBorder(g.style(11, 1).right), kLine);
    EXPECT_EQ(dumpBorder(g.style(1, 1).right), kLine);
}

TEST(Dispersion, FooterFollowsTheLastDrawForEveryHistory)
{
    const ResultGrid empty = dispersionChart(DrawHistory{});
    ASSERT_EQ(empty.rows(), 3);
    EXPECT_EQ(empty.getText(6, 1), "数\u3000\u3000\u3000\u3000\u3000\u3000\u3000字");
    EXPECT_EQ(empty.getText(2, 2), "0");
    EXPECT_EQ(empty.getText(2, 3), "0");

    // 100 draws, a gap and an incomplete row: one row each for the 99
    // complete draws, directly followed by the footer.
    std::vector<test::Row> rows;
    for (int n = 1; n <= 101; ++n)
        if (n != 50)
            rows.push_back({n, {n % 10, 0, 0, n == 70 ? -1 : 0}});
    const ResultGrid g = dispersionChart(historyOf(rows));
    ASSERT_EQ(g.rows(), 99 + 3);
    EXPECT_EQ(g.getText(1, 3), "1");
    EXPECT_EQ(g.getText(1, 50), "48");
    EXPECT_EQ(g.getText(1, 51), "49");
    EXPECT_EQ(g.getText(1, 52), "51");
    EXPECT_EQ(g.getText(1, 70), "69");
    EXPECT_EQ(g.getText(1, 71), "71");
    EXPECT_EQ(g.getText(12, 101), "101");
    EXPECT_EQ(g.getText(1, 102), "回");
    EXPECT_EQ(g.getText(11, 102), "9");
    EXPECT_EQ(g.lastDataRow(), 102);
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
        const AnalysisViewSpec* v = findAnalysisView(e.name);
        ASSERT_NE(v, nullptr) << e.name;
        EXPECT_EQ(v->caption, e.caption);
        EXPECT_EQ(v->menuAction, e.menu);
        EXPECT_EQ(v->hasPrintButton, e.print);
        EXPECT_NE(v->build, nullptr);
    }
}

}  // namespace
}  // namespace rumone
