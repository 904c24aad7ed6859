#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "core/prizes/PrizeTable.h"
#include "core/prizes/PrizeTableRead.h"
#include "core/prizes/PrizeTheory.h"
#include "support/TestSupport.h"

namespace rumone {
namespace {

// Every digit pattern's kind and theoretical prizes, each cut to 100 yen.
TEST(PrizeTheory, EachPatternsKindAndTheoreticalPrizes)
{
    struct Case {
        std::array<int, 4> digits;
        const char* kind;
        long long box, setStraight, setBox;  // -1: not sold
    };
    const Case cases[] = {
        {{6, 9, 1, 6}, "ダブル", 75000, 487500, 37500},
        {{1, 2, 3, 4}, "シングル", 37500, 468700, 18700},
        {{1, 1, 2, 2}, "ダブルダブル", 150000, 525000, 75000},
        {{7, 7, 7, 1}, "トリプル", 225000, 562500, 112500},
        {{7, 7, 7, 7}, "フォーカード", -1, -1, -1},
    };
    for (const Case& c : cases) {
        const NumberKind kind = numberKindOf(c.digits);
        EXPECT_STREQ(numberKindName(kind), c.kind);
        EXPECT_EQ(theoreticalPrize(PrizeKind::Straight, kind), 900000);
        const auto orNone = [](long long v) { return v < 0 ? std::nullopt : std::optional<long long>(v); };
        EXPECT_EQ(theoreticalPrize(PrizeKind::Box, kind), orNone(c.box)) << c.kind;
        EXPECT_EQ(theoreticalPrize(PrizeKind::SetStraight, kind), orNone(c.setStraight)) << c.kind;
        EXPECT_EQ(theoreticalPrize(PrizeKind::SetBox, kind), orNone(c.setBox)) << c.kind;
    }
}

// Only draws with stored prizes are listed; 該当なし stands where the
// results say so, and the ratio beside each prize paid.
TEST(PrizeTable, ListsPrizedDrawsWithTheirRatios)
{
    const DrawHistory history = test::historyOf({{4368, {1, 2, 3, 4}}, {4369, {7, 7, 7, 7}}});
    DrawDetails details;
    details.prizes[0] = PrizeLine{485, 238900};
    details.prizes[1] = PrizeLine{0, 0, true};
    const std::vector<PrizedDraw> draws = prizedDraws(history, {{4369, details}});
    ASSERT_EQ(draws.size(), 1u);
    ResultGrid grid;
    fillPrizeTable(grid, draws);
    const std::vector<std::string> row = test::rowTexts(grid, 3);
    EXPECT_EQ(std::vector<std::string>(row.begin(), row.begin() + 12),
              (std::vector<std::string>{"4369", "", "7777", "フォーカード", "485", "238,900", "900,000", "0.27",
                                        "該当なし", "", "", ""}));
    ASSERT_EQ(straightRatios(draws).size(), 1u);
    EXPECT_NEAR(straightRatios(draws)[0].ratio, 238900.0 / 900000.0, 1e-12);
}

// A bar by pixel column covers what a bar by draw covered: every draw in
// the column it was drawn in, each column with its draws' highest ratio.
TEST(PrizeTable, RatioColumnsKeepTheHighestDrawOfEachColumn)
{
    struct Case {
        std::vector<RatioPoint> points;
        int width;
        std::vector<std::pair<int, double>> columns;  // offset, ratio
    };
    const Case cases[] = {
        {{}, 100, {}},
        {{{7, 0.5}}, 100, {{49, 0.5}}},  // a lone draw in the middle column
        {{{7, 0.5}}, 101, {{50, 0.5}}},
        {{{1, 0.2}, {2, 1.5}, {3, 0.7}}, 10, {{0, 0.2}, {5, 1.5}, {10, 0.7}}},
        {{{1, 0.2}, {2, 1.5}, {3, 0.7}, {4, 0.1}, {5, 0.9}}, 2, {{0, 1.5}, {1, 0.7}, {2, 0.9}}},
        {{{10, 1.0}, {11, 3.0}, {40, 0.4}}, 3, {{0, 3.0}, {3, 0.4}}},  // a gap in the numbers
    };
    for (const Case& c : cases) {
        std::vector<std::pair<int, double>> got;
        for (const RatioColumn& column : ratioColumns(c.points, c.width))
            got.emplace_back(column.offset, column.ratio);
        EXPECT_EQ(got, c.columns) << c.width;
    }
    // Every draw of the largest history, drawn one by one at its own place.
    std::vector<RatioPoint> points;
    for (int n = 1; n <= kMaxDrawNumber; ++n)
        points.push_back({n, static_cast<double>((n * 7919) % 1013) / 400.0});
    constexpr int kWidth = 1234;
    std::map<int, double> drawn;
    for (const RatioPoint& pt : points) {
        const int x = static_cast<int>(static_cast<double>(pt.number - 1) / (kMaxDrawNumber - 1) * kWidth);
        drawn[x] = std::max(drawn[x], pt.ratio);
    }
    std::map<int, double> columns;
    for (const RatioColumn& column : ratioColumns(points, kWidth))
        EXPECT_TRUE(columns.emplace(column.offset, column.ratio).second) << column.offset;
    EXPECT_EQ(columns, drawn);
}

// A database that cannot be read gives the table without a draw and the
// reason, not an exception (the whole table is made on a thread of its own).
TEST(PrizeTable, AFailedReadListsNoDrawAndSaysWhy)
{
    test::TempDir dir;
    const DrawHistory history = test::historyOf({{1, {1, 2, 3, 4}}});
    const PrizeTableContent content = readPrizeTable(drawDatabaseAt(dir.file("missing.mdb")),
                                                     std::span<const Draw>(history.completeDraws()), std::nullopt);
    EXPECT_FALSE(content.problem.empty());
    ASSERT_NE(content.grid, nullptr);
    EXPECT_EQ(content.grid->rows(), 2);
    EXPECT_EQ(content.prizedDrawCount, 0u);
}

}  // namespace
}  // namespace rumone
