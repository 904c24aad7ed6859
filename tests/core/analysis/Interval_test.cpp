#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/analysis/interval/AppearanceInterval.h"
#include "core/analysis/interval/DigitInterval.h"
#include "core/grid/GridDump.h"
#include "support/TestSupport.h"

namespace rumone {
namespace {

using test::backOf;
using test::historyOf;
using test::rowTexts;
using test::textColourOf;
using Texts = std::vector<std::string>;

ResultGrid appearance(const DrawHistory& h)
{
    ResultGrid g;
    buildAppearanceIntervalView(g, h);
    return g;
}

ResultGrid steps(const DrawHistory& h)
{
    ResultGrid g;
    buildDigitIntervalView(g, h);
    return g;
}

// "left top right bottom" of one cell.
std::string borders(const ResultGrid& g, int col, int row)
{
    const CellStyle& s = g.style(col, row);
    return dumpBorder(s.left) + " " + dumpBorder(s.top) + " " + dumpBorder(s.right) + " " + dumpBorder(s.bottom);
}

// The interval of every complete draw the plain way: the whole history up
// to the row in a table by draw number, searched downwards.
std::vector<DrawIntervals> searchedIntervals(const std::vector<test::Row>& rows)
{
    std::map<int, std::array<int, 4>> drawn;
    std::vector<DrawIntervals> out;
    for (const test::Row& r : rows) {
        if (std::count(r.digits.begin(), r.digits.end(), -1) > 0) {
            out.emplace_back(std::nullopt);
            continue;
        }
        drawn[r.number] = r.digits;
        std::array<int, 4> iv{};
        for (int p = 0; p < 4; ++p)
            for (int i = r.number - 1; i >= 0 && iv[p] == 0; --i) {
                auto it = drawn.find(i);
                if (it != drawn.end() && std::count(it->second.begin(), it->second.end(), r.digits[p]) > 0)
                    iv[p] = r.number - i;
            }
        out.emplace_back(iv);
    }
    return out;
}

TEST(AppearanceInterval, IntervalTextsPerDigit)
{
    const ResultGrid g = appearance(
        historyOf({{1, {1, 1, 4, 9}}, {2, {9, 2, 1, 3}}, {3, {5, 0, 5, 2}}, {4, {0, 6, 7, 8}}, {5, {7, 7, 5, 0}}}));
    EXPECT_EQ(rowTexts(g, 3), (Texts{"1", "1", "初回", "1", "初回", "4", "初回", "9", "初回"}));
    EXPECT_EQ(rowTexts(g, 4), (Texts{"2", "9", "1回前", "2", "初回", "1", "1回前", "3", "初回"}));
    // a repeated digit shows one text twice; 0 is new until drawn
    EXPECT_EQ(rowTexts(g, 5), (Texts{"3", "5", "初回", "0", "初回", "5", "初回", "2", "1回前"}));
    EXPECT_EQ(rowTexts(g, 6), (Texts{"4", "0", "1回前", "6", "初回", "7", "初回", "8", "初回"}));
    EXPECT_EQ(rowTexts(g, 7), (Texts{"5", "7", "1回前", "7", "1回前", "5", "2回前", "0", "1回前"}));
}

TEST(AppearanceInterval, EveryStoredRowTakesOneRowAndTheFooterFollows)
{
    // a start above draw 1, a gap (draw 3) and an incomplete row
    const ResultGrid g =
        appearance(historyOf({{2, {5, 6, 7, 0}}, {4, {-1, 5, 6, 7}}, {5, {4, 4, 4, 0}}, {6, {5, 6, 7, 1}}}));
    ASSERT_EQ(g.rows(), 8);
    EXPECT_EQ(rowTexts(g, 3), (Texts{"2", "5", "初回", "6", "初回", "7", "初回", "0", "初回"}));
    EXPECT_EQ(rowTexts(g, 4), Texts(9, ""));
    EXPECT_EQ(backOf(g, 2, 4), "#c8ffff");
    EXPECT_EQ(backOf(g, 8, 4), "#c8ffff");
    EXPECT_EQ(backOf(g, 3, 4), "-");
    EXPECT_EQ(rowTexts(g, 5), (Texts{"5", "4", "初回", "4", "初回", "4", "初回", "0", "3回前"}));
    // the incomplete draw 4 holds no digit: 5, 6 and 7 were last drawn in draw 2
    EXPECT_EQ(rowTexts(g, 6), (Texts{"6", "5", "4回前", "6", "4回前", "7", "4回前", "1", "初回"}));
    EXPECT_EQ(rowTexts(g, 7)[1], "第1数字");
    EXPECT_EQ(rowTexts(g, 8)[4], "    当 選 数 字     ");
}

TEST(AppearanceInterval, OnlyCompleteDrawsMatchOverTheWholeNumberRange)
{
    // numbers below draw 3 hold no complete draw: an earlier 0 is not there
    ResultGrid g = appearance(historyOf({{1, {0, -1, -1, -1}}, {3, {0, 0, 1, 2}}}));
    EXPECT_EQ(rowTexts(g, 4), (Texts{"3", "0", "初回", "0", "初回", "1", "初回", "2", "初回"}));

    g = appearance(historyOf({{0, {7, 7, 7, 7}}, {1, {7, 1, 2, 3}}, {20000, {1, 2, 3, 4}}, {32767, {4, 5, 6, 7}}}));
    EXPECT_EQ(rowTexts(g, 4)[2], "1回前");
    EXPECT_EQ(rowTexts(g, 5), (Texts{"20000", "1", "19999回前", "2", "19999回前", "3", "19999回前", "4", "初回"}));
    EXPECT_EQ(rowTexts(g, 6), (Texts{"32767", "4", "12767回前", "5", "初回", "6", "初回", "7", "32766回前"}));
}

TEST(AppearanceInterval, OnePassAgreesWithTheDownwardSearch)
{
    for (unsigned seed = 1; seed <= 6; ++seed) {
        std::mt19937 gen(seed);
        std::uniform_int_distribution<int> digit(0, 9), roll(0, 99);
        std::vector<test::Row> rows;
        for (int n = roll(gen) % 3; n <= kMaxDrawNumber && rows.size() < 4000; ++n) {
            if (roll(gen) < 15)
                continue;                              // a gap
            const int copies = roll(gen) < 5 ? 2 : 1;  // a number stored twice
            for (int c = 0; c < copies; ++c) {
                test::Row r{n, {digit(gen), digit(gen), digit(gen), digit(gen)}};
                if (roll(gen) < 8)
                    r.digits[static_cast<std::size_t>(roll(gen) % 4)] = -1;
                rows.push_back(r);
            }
            if (seed > 4)
                n += roll(gen) * 2;  // wide gaps up to the last draw number
        }
        if (seed == 6)
            std::shuffle(rows.begin(), rows.end(), gen);  // rows out of order
        EXPECT_EQ(appearanceIntervals(historyOf(rows)), searchedIntervals(rows)) << "seed " << seed;
    }
}

TEST(AppearanceInterval, HeaderAndFooterBlocks)
{
    const ResultGrid g = appearance(historyOf({{1, {1, 2, 3, 4}}}));
    ASSERT_EQ(g.rows(), 5);
    EXPECT_EQ(std::vector<int>({g.columns(), g.visibleColumns(), g.visibleRows(), g.frozenColumns(), g.frozenRows(),
                                g.activeColumn(), g.activeRow(), g.columnWidth(1), g.columnWidth(9)}),
              std::vector<int>({9, 9, 52, 0, 2, 0, 0, 5, 5}));
    EXPECT_EQ(std::vector<int>({g.rowHeight(1), g.rowHeight(2), g.rowHeight(3), g.rowHeight(4), g.rowHeight(5)}),
              std::vector<int>({15, 12, 10, 10, 10}));
    EXPECT_TRUE(g.restrictedToDataRows() && g.overflow());

    const Texts title{"", "", "", "", "    当 選 数 字     ", "", "", "", ""};
    const Texts captions{"回数", "第1数字", "出現", "第2数字", "出現", "第3数字", "出現", "第4数字", "出現"};
    for (auto [titleRow, captionRow] : {std::pair{1, 2}, std::pair{5, 4}}) {
        SCOPED_TRACE(titleRow);
        EXPECT_EQ(rowTexts(g, titleRow), title);
        EXPECT_EQ(rowTexts(g, captionRow), captions);
        EXPECT_EQ(g.style(5, titleRow).hAlign, HAlign::Left);
        for (int row : {titleRow, captionRow}) {
            EXPECT_EQ(textColourOf(g, 1, row) + backOf(g, 1, row), "#ff0000#ffffc8");
            for (int c = 2; c <= 9; ++c)
                EXPECT_EQ(textColourOf(g, c, row) + backOf(g, c, row), "#000000#ffc8c8") << c;
        }
        // the title cells read as one box
        EXPECT_EQ(borders(g, 1, titleRow), "default default default default");
        EXPECT_EQ(borders(g, 2, titleRow), "default default - default");
        EXPECT_EQ(borders(g, 5, titleRow), "- default - default");
        EXPECT_EQ(borders(g, 9, titleRow), "- default default default");
        EXPECT_EQ(borders(g, 4, captionRow), "default default default default");
    }
    EXPECT_EQ(g.style(5, 3).hAlign, HAlign::Centre);
    EXPECT_EQ(textColourOf(g, 1, 3) + backOf(g, 1, 3), "#ff0000#ffffc8");
    EXPECT_EQ(backOf(g, 4, 3) + backOf(g, 5, 3), "#c8ffff-");
    EXPECT_EQ(borders(g, 5, 3), "default default default default");
}

TEST(IntervalViews, EmptyHistoryShowsHeaderAndFooterOnly)
{
    const ResultGrid a = appearance(historyOf({}));
    ASSERT_EQ(a.rows(), 4);
    EXPECT_EQ(rowTexts(a, 3)[2], "出現");
    EXPECT_EQ(rowTexts(a, 4)[4], "    当 選 数 字     ");
    const ResultGrid s = steps(historyOf({}));
    ASSERT_EQ(s.rows(), 4);
    EXPECT_EQ(rowTexts(s, 4)[4], "   当 選 数 字");
}

TEST(DigitInterval, SignedStepsFromThePreviousCompleteDraw)
{
    const ResultGrid g =
        steps(historyOf({{1, {9, 0, 5, 2}}, {2, {1, 0, 7, 7}}, {3, {-1, 3, 3, 3}}, {4, {1, 0, 7, 7}}}));
    EXPECT_EQ(rowTexts(g, 3), (Texts{"1", "9", "", "0", "", "5", "", "2", ""}));
    EXPECT_EQ(rowTexts(g, 4), (Texts{"2", "1", "-8", "0", "0", "7", "+2", "7", "+5"}));
    EXPECT_EQ(backOf(g, 3, 4) + backOf(g, 5, 4) + backOf(g, 7, 4) + backOf(g, 9, 4), "#ffc8ff---");
    EXPECT_EQ(rowTexts(g, 5), Texts(9, ""));
    // compared with draw 2, across the incomplete row
    EXPECT_EQ(rowTexts(g, 6), (Texts{"4", "1", "0", "0", "0", "7", "0", "7", "0"}));
    EXPECT_EQ(g.rows(), 8);

    // nothing to compare the first complete draw with, even below an incomplete row
    const ResultGrid h = steps(historyOf({{1, {5, -1, 5, 5}}, {2, {1, 2, 3, 4}}, {3, {0, 2, 4, 9}}}));
    EXPECT_EQ(rowTexts(h, 4), (Texts{"2", "1", "", "2", "", "3", "", "4", ""}));
    EXPECT_EQ(rowTexts(h, 5), (Texts{"3", "0", "-1", "2", "0", "4", "+1", "9", "+5"}));
}

TEST(DigitInterval, HeaderBlocksHaveNoOutline)
{
    const ResultGrid g = steps(historyOf({{1, {1, 2, 3, 4}}}));
    const Texts captions{"回数", "第1数字", "差分", "第2数字", "差分", "第3数字", "差分", "第4数字", "差分"};
    for (auto [titleRow, captionRow] : {std::pair{1, 2}, std::pair{5, 4}}) {
        SCOPED_TRACE(titleRow);
        EXPECT_EQ(rowTexts(g, titleRow), (Texts{"", "", "", "", "   当 選 数 字", "", "", "", ""}));
        EXPECT_EQ(rowTexts(g, captionRow), captions);
        EXPECT_EQ(borders(g, 1, titleRow), "default default default default");
        for (int c = 2; c <= 9; ++c) {
            EXPECT_EQ(borders(g, c, titleRow), "- - - -") << c;
            EXPECT_EQ(textColourOf(g, c, captionRow) + backOf(g, c, captionRow), "#000000#ffc8c8") << c;
        }
    }
    EXPECT_EQ(std::vector<int>({g.rowHeight(1), g.rowHeight(2), g.frozenRows(), g.activeRow()}),
              std::vector<int>({15, 12, 2, 0}));
    const AnalysisViewSpec v = digitIntervalView();
    EXPECT_TRUE(v.letMessagesRunAfterBuild);
    EXPECT_FALSE(v.hasPrintButton);
}

TEST(IntervalViews, RealHistory)
{
    const auto rows = test::realDraws();
    ASSERT_TRUE(rows) << "the real history is missing: " << test::realDrawsPath();
    const DrawHistory h = historyOf(*rows);
    const ResultGrid g = appearance(h);
    ASSERT_EQ(g.rows(), static_cast<int>(rows->size()) + 4);

    // each digit's draws, to look up the last one before a draw
    std::array<std::vector<int>, 10> drawsOf;
    for (const test::Row& r : *rows)
        for (int d : r.digits)
            if (d >= 0 && (drawsOf[d].empty() || drawsOf[d].back() != r.number))
                drawsOf[d].push_back(r.number);
    std::array<int, 10> firstShown{};
    firstShown.fill(-1);
    for (std::size_t k = 0; k < rows->size(); ++k) {
        const test::Row& r = (*rows)[k];
        const int row = static_cast<int>(k) + 3;
        for (int p = 0; p < 4; ++p) {
            const int d = r.digits[p];
            const auto& list = drawsOf[d];
            const auto it = std::lower_bound(list.begin(), list.end(), r.number);
            const std::string expected =
                it == list.begin() ? "初回" : std::to_string(r.number - *std::prev(it)) + "回前";
            ASSERT_EQ(g.getText(2 * p + 3, row), expected) << "draw " << r.number << " position " << p + 1;
            if (expected == "初回") {
                EXPECT_TRUE(firstShown[d] == -1 || firstShown[d] == r.number) << "digit " << d;
                firstShown[d] = r.number;
            }
        }
    }
    for (int d = 0; d <= 9; ++d)
        EXPECT_EQ(firstShown[d], drawsOf[d].front()) << "digit " << d;

    // draw 14 (1, 4, 0, 9): 1 last in draw 4, 4 in 13, 0 in 11, 9 in 12
    EXPECT_EQ(rowTexts(g, 16), (Texts{"14", "1", "10回前", "4", "1回前", "0", "3回前", "9", "2回前"}));
    // draw 2 (7, 9, 2, 1) after draw 1 (1, 1, 4, 9)
    EXPECT_EQ(rowTexts(steps(h), 4), (Texts{"2", "7", "+6", "9", "+8", "2", "-2", "1", "-8"}));
}

}  // namespace
}  // namespace rumone
