// Figures beside chance: the exact binomial range, the laws of the views and
// the verdict written under a picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>
#include <tuple>
#include <vector>

#include "core/analysis/AnalysisView.h"
#include "core/analysis/chance/ChanceLaws.h"
#include "core/analysis/chance/ChanceVerdict.h"
#include "core/analysis/chance/LongestRun.h"
#include "core/store/ReliabilityHelpers.h"
#include "support/TestSupport.h"

namespace rumone {
namespace {

using test::historyOf;

// The range by its definition, every term summed afresh.
ChanceRange rangeBySummation(long n, double p, double level)
{
    std::vector<long double> pmf(static_cast<std::size_t>(n) + 1);
    for (long k = 0; k <= n; ++k) {
        long double c = 1;
        for (long j = 1; j <= k; ++j)
            c = c * (n - k + j) / j;
        pmf[static_cast<std::size_t>(k)] =
            c * std::pow(static_cast<long double>(p), k) * std::pow(1.0L - static_cast<long double>(p), n - k);
    }
    auto below = [&](long k) {  // P(X < k)
        return std::accumulate(pmf.begin(), pmf.begin() + k, 0.0L);
    };
    auto above = [&](long k) {  // P(X > k)
        return std::accumulate(pmf.begin() + k + 1, pmf.end(), 0.0L);
    };
    ChanceRange r;
    for (long k = 0; k <= n; ++k)
        if (below(k) <= level / 2)
            r.low = k;
    for (long k = n; k >= 0; --k)
        if (above(k) <= level / 2)
            r.high = k;
    r.outsideChance = static_cast<double>(below(r.low) + above(r.high));
    return r;
}

TEST(ChanceRange, MatchesDirectSummationOfTheBinomial)
{
    struct Case {
        long trials;
        double p;
        int items;
    };
    const Case cases[] = {{1, 0.5, 1},     {10, 0.1, 1},  {10, 0.5, 5},     {20, 0.3, 10},  {40, 0.1, 10},
                          {50, 0.0625, 5}, {30, 0.9, 37}, {60, 0.3439, 21}, {99, 0.01, 76}, {120, 0.5, 2}};
    for (const Case& c : cases) {
        const double level = simultaneousLevel(static_cast<std::size_t>(c.items));
        const ChanceRange got = binomialRange(c.trials, c.p, level);
        const ChanceRange want = rangeBySummation(c.trials, c.p, level);
        SCOPED_TRACE(std::to_string(c.trials) + " trials, p " + std::to_string(c.p));
        EXPECT_EQ(got.low, want.low);
        EXPECT_EQ(got.high, want.high);
        EXPECT_NEAR(got.outsideChance, want.outsideChance, 1e-12);
        EXPECT_LE(got.outsideChance, level);
    }
}

TEST(ChanceRange, DegenerateTrialsAndChances)
{
    struct Case {
        long trials;
        double p;
        long low, high;
    };
    const Case cases[] = {{0, 0.5, 0, 0}, {-3, 0.5, 0, 0}, {12, 0.0, 0, 0}, {12, 1.0, 12, 12}, {12, 1.5, 12, 12}};
    for (const Case& c : cases) {
        const ChanceRange r = binomialRange(c.trials, c.p, 0.05);
        EXPECT_EQ(r.low, c.low) << c.trials << " " << c.p;
        EXPECT_EQ(r.high, c.high) << c.trials << " " << c.p;
    }
}

TEST(ChanceLaws, PerDrawChancesAreTheExactOnes)
{
    const DrawHistory none;
    struct Case {
        ChanceFigures (*figures)(std::span<const Draw>);
        std::vector<double> chances;  // of the first items, in order
    };
    const Case cases[] = {
        {dispersionChance, {0.504, 0.432, 0.063, 0.001}},
        {lowHighChance, {1 / 16.0, 4 / 16.0, 6 / 16.0, 4 / 16.0, 1 / 16.0}},
        {oddEvenChance, {1 / 16.0, 4 / 16.0, 6 / 16.0}},
        {digitSumChance, {0.0001, 0.0004, 0.0010}},
        {groupDivision3Chance, {0.3, 0.3, 0.4, 0.3}},
    };
    for (const Case& c : cases) {
        const ChanceFigures f = c.figures(latestDraws(none, 0));
        ASSERT_GE(f.items.size(), c.chances.size());
        for (std::size_t i = 0; i < c.chances.size(); ++i)
            EXPECT_NEAR(f.items[i].p, c.chances[i], 1e-12) << f.axisTitle << " item " << i;
    }
    const ChanceFigures sums = digitSumChance(latestDraws(none, 0));
    EXPECT_NEAR(sums.items[18].p, 0.067, 1e-12);
    const ChanceFigures carried = carryOverChance(latestDraws(none, 0));
    double mean = 0, total = 0;
    for (std::size_t k = 0; k < carried.items.size(); ++k) {
        mean += static_cast<double>(k) * carried.items[k].p;
        total += carried.items[k].p;
    }
    EXPECT_NEAR(mean, 1.3756, 1e-9);
    EXPECT_NEAR(total, 1.0, 1e-12);
}

TEST(ChanceLaws, AbsenceTallyCountsEachDigitAfterItsFirstAppearance)
{
    // 1234, then none of them, then 1 and 2 again after one draw away.
    const DrawHistory h = historyOf({{1, {1, 2, 3, 4}}, {2, {5, 6, 7, 8}}, {3, {1, 2, 9, 9}}});
    const ChanceFigures f = appearanceIntervalChance(latestDraws(h, 0));
    ASSERT_EQ(f.items.size(), 2u);
    EXPECT_EQ(f.items[0].label, "0");
    EXPECT_EQ(f.items[0].trials, 8);  // 1-4 after draw 1, 5-8 after draw 2
    EXPECT_EQ(f.items[0].observed, 0);
    EXPECT_EQ(f.items[1].label, "1");
    EXPECT_EQ(f.items[1].trials, 4);
    EXPECT_EQ(f.items[1].observed, 2);
    EXPECT_NEAR(f.items[1].p, 0.3439, 1e-12);

    const ChanceFigures lastTwo = appearanceIntervalChance(latestDraws(h, 2));
    ASSERT_EQ(lastTwo.items.size(), 1u);  // absences begin inside the period
    EXPECT_EQ(lastTwo.items[0].trials, 4);
    EXPECT_EQ(lastTwo.draws, 2);
}

TEST(ChanceLaws, RealHistoryDigitNineIsJustOutsideItsRange)
{
    const auto rows = test::realDraws();
    ASSERT_TRUE(rows) << "the real history is missing: " << test::realDrawsPath();
    const DrawHistory h = historyOf(*rows);
    const ChanceFigures f = digitFrequencyChance(latestDraws(h, 0));
    ASSERT_EQ(f.items.size(), 10u);
    for (const ChanceItem& item : f.items) {
        SCOPED_TRACE("digit " + item.label);
        EXPECT_EQ(item.verdict, item.label == "9" ? ChanceVerdict::Above : ChanceVerdict::Within);
    }
    EXPECT_EQ(f.items[9].observed, 2985);
    EXPECT_NEAR(f.items[9].expected(), 2821.6, 1e-9);

    const ChanceOverview all = chanceOverview(h, 0);
    EXPECT_EQ(all.pictures, 15);  // 回数別出現 is 出現頻度 again
    EXPECT_GT(all.anyOutside, 0.05);
    const std::string line = chanceVerdictLine(f, all);
    EXPECT_NE(line.find("数字9の出現数は偶然の範囲より多い（2,985回、偶然なら2,821.6回）"), std::string::npos) << line;
    EXPECT_NE(line.find("約" + groupedDecimal(100 * all.anyOutside, 0) + "%"), std::string::npos) << line;
}

TEST(ChanceVerdict, EvenHistorySaysEveryItemIsWithin)
{
    std::vector<test::Row> rows;
    for (int i = 0; i < 50; ++i)
        rows.push_back({i + 1, {(2 * i) % 10, (2 * i + 1) % 10, (2 * i + 5) % 10, (2 * i + 8) % 10}});
    const DrawHistory h = historyOf(rows);
    const ChanceFigures f = digitFrequencyChance(latestDraws(h, 0));
    EXPECT_EQ(chanceVerdictLine(f, chanceOverview(h, 0)), "10個の数字の出現数はすべて偶然の範囲内です");
    EXPECT_EQ(chanceVerdictLine(digitFrequencyChance(latestDraws(h, 1)), {}),
              "この期間には偶然と比べられるだけの抽せんがありません");
}

TEST(ChanceVerdict, NumbersAreGroupedByThousands)
{
    EXPECT_EQ(groupedCount(2985), "2,985");
    EXPECT_EQ(groupedCount(1234567), "1,234,567");
    EXPECT_EQ(groupedCount(-1000), "-1,000");
    EXPECT_EQ(groupedDecimal(2821.6, 1), "2,821.6");
    EXPECT_EQ(groupedDecimal(34.39, 2), "34.39");
    EXPECT_EQ(groupedDecimal(0.05, 1), "0.1");
    EXPECT_EQ(groupedDecimal(99.6, 0), "100");
}

// The first draw sees every count 0 (ranks by digit), the second sees 1
// drawn four times.
TEST(ChanceLaws, EachDrawnDigitIsRankedByItsCountBefore)
{
    const ChanceFigures f = earlierCountRankChance(latestDraws(historyOf({{1, {1, 1, 1, 1}}, {2, {1, 2, 3, 4}}}), 0));
    ASSERT_EQ(f.items.size(), 10u);
    std::vector<long> observed;
    for (const ChanceItem& item : f.items) {
        observed.push_back(item.observed);
        EXPECT_EQ(item.trials, 8);
        EXPECT_DOUBLE_EQ(item.p, 0.1);
    }
    EXPECT_EQ(observed, (std::vector<long>{1, 4, 1, 1, 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(f.items[0].label, "1位");
}

TEST(ChanceVerdict, BelowThirtyDrawsAPictureGivesNoVerdict)
{
    std::vector<test::Row> rows;
    for (int i = 0; i < 30; ++i)
        rows.push_back({i + 1, {7, 7, 7, i % 10}});  // far from chance
    const DrawHistory h = historyOf(rows);
    for (const int draws : {29, 30}) {
        SCOPED_TRACE(draws);
        const ChanceFigures f = digitFrequencyChance(latestDraws(h, draws));
        EXPECT_EQ(f.judged, draws >= 30);
        EXPECT_EQ(f.allWithin(), draws < 30);
        EXPECT_EQ(chanceVerdictLine(f, chanceOverview(h, draws)) == "対象29回では回数が少なく判断できません",
                  draws < 30);
        EXPECT_STREQ(verdictWord(f, f.items[7].verdict), draws < 30 ? "none" : "above");
    }
}

// Every outcome of a few trials enumerated: the longest run of successes.
TEST(LongestRun, SmallCasesAgreeWithEveryOutcomeEnumerated)
{
    for (const auto& [trials, chance, sequences] :
         std::vector<std::tuple<int, double, int>>{{6, 0.3, 1}, {7, 0.6561, 1}, {5, 0.1, 3}, {1, 0.5, 1}}) {
        SCOPED_TRACE(trials);
        std::vector<double> exact(static_cast<std::size_t>(trials) + 1, 0.0);  // P(longest = k)
        for (int outcome = 0; outcome < (1 << trials); ++outcome) {
            int run = 0, longest = 0, successes = 0;
            for (int t = 0; t < trials; ++t) {
                const bool success = outcome >> t & 1;
                run = success ? run + 1 : 0;
                longest = std::max(longest, run);
                successes += success;
            }
            exact[static_cast<std::size_t>(longest)] +=
                std::pow(chance, successes) * std::pow(1 - chance, trials - successes);
        }
        const std::vector<double> law = longestRunLaw(trials, chance, sequences);
        double atMost = 0;
        for (std::size_t k = 0; k < exact.size(); ++k) {
            atMost += exact[k];
            EXPECT_NEAR(k < law.size() ? law[k] : 1.0, std::pow(atMost, sequences), 1e-12) << k;
        }
    }
}

// The real history's longest absence and the law of a random one as long.
TEST(LongestRun, RealHistoryLongestAbsenceBesideChance)
{
    const auto rows = test::realDraws();
    ASSERT_TRUE(rows) << "the real history is missing: " << test::realDrawsPath();
    const ChanceFigures f = appearanceIntervalChance(latestDraws(historyOf(*rows), 0));
    ASSERT_TRUE(f.longest);
    EXPECT_EQ(f.longest->observed, 26);
    EXPECT_EQ(f.longest->median, 24);
    EXPECT_EQ(f.longest->low, 20);
    EXPECT_EQ(f.longest->high, 32);
    EXPECT_NE(chanceVerdictLine(f, {}).find("最も長い不出現は26回で、同じ回数の無作為な履歴では中央値24回"),
              std::string::npos);
}

TEST(ChanceTool, PrintsOneLinePerItemAndRefusesWhatItCannotShow)
{
    test::TempDir dir;
    const std::string db = dir.file("real.mdb");
    ASSERT_EQ(test::runToolCapturing("rumone-db", {"sample", db}).exitCode, 0);

    const test::ToolRun recent = test::runToolCapturing("rumone-chance", {db, "出現頻度分析", "--last", "100"});
    ASSERT_EQ(recent.exitCode, 0) << recent.output;
    EXPECT_EQ(recent.output.substr(0, recent.output.find('\n')), "chance\t0\t36\t40.00\t24\t58\twithin");
    EXPECT_EQ(std::count(recent.output.begin(), recent.output.end(), '\n'), 10);

    const test::ToolRun all = test::runToolCapturing("rumone-chance", {db, "出現頻度分析"});
    EXPECT_NE(all.output.find("chance\t9\t2985\t2821.60\t2681\t2964\tabove\n"), std::string::npos) << all.output;

    for (const std::vector<std::string>& refused : std::vector<std::vector<std::string>>{
             {db, "一発ルモーネ"}, {db, "出現頻度分析", "--last", "0"}, {db, "出現頻度分析", "--last"}})
        EXPECT_EQ(test::runToolCapturing("rumone-chance", refused).exitCode, 2) << refused[1];
}

}  // namespace
}  // namespace rumone
