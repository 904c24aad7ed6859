// The exact chance range and p against a direct enumeration of every
// outcome for small cases, against the normal figures for large ones, and
// Holm's correction on p's worked out by hand; trials added to a
// distribution against the same trials taken at once.
#include <gtest/gtest.h>

#include <cmath>

#include "core/stats/CountChance.h"
#include "core/stats/TestPower.h"

namespace rumone::test {
namespace {

// P(X = k) for every k by walking all 2^n outcomes.
std::vector<double> enumerate(const std::vector<int>& chances)
{
    const std::size_t n = chances.size();
    std::vector<double> pmf(n + 1, 0.0);
    for (unsigned outcome = 0; outcome < (1u << n); ++outcome) {
        double p = 1;
        int count = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const double q = double(chances[i]) / kChanceScale;
            const bool yes = outcome & (1u << i);
            p *= yes ? q : 1 - q;
            count += yes ? 1 : 0;
        }
        pmf[static_cast<std::size_t>(count)] += p;
    }
    return pmf;
}

TEST(ChanceRange, SmallCasesAgreeWithEveryOutcomeEnumerated)
{
    const std::vector<std::vector<int>> cases = {
        {1000, 1000, 1000, 1000},                          // one target of four single digits
        {5000, 5000, 5000, 5000, 5000, 5000, 5000, 5000},  // fair coins
        {0, 10000, 3000, 7000, 1000, 9000, 24, 2000, 8000, 5000, 4000, 6000},
        {1, 4, 6, 12, 24, 5040, 2520, 840},  // tickets' chances
        {},
    };
    for (const auto& chances : cases) {
        TrialCounts trials;
        for (const int c : chances)
            trials.add(c);
        const std::vector<double> pmf = enumerate(chances);
        const auto below = [&](long k) {
            double s = 0;
            for (long i = 0; i < k && i < long(pmf.size()); ++i)
                s += pmf[static_cast<std::size_t>(i)];
            return s;
        };
        const auto above = [&](long k) {
            double s = 0;
            for (long i = std::max(k + 1, 0L); i < long(pmf.size()); ++i)
                s += pmf[static_cast<std::size_t>(i)];
            return s;
        };
        long low = 0, high = long(pmf.size()) - 1;
        while (below(low + 1) <= 0.025)
            ++low;
        while (high > 0 && above(high - 1) <= 0.025)
            --high;
        for (long observed = 0; observed < long(pmf.size()); ++observed) {
            const CountFigures f = chanceFiguresOf(trials, observed);
            EXPECT_EQ(f.low, low) << chances.size() << " trials";
            EXPECT_EQ(f.high, high) << chances.size() << " trials";
            const double p = std::min(1.0, 2 * std::min(below(observed + 1), above(observed - 1)));
            EXPECT_NEAR(f.p, p, 1e-12) << observed;
            EXPECT_NEAR(f.outsideChance, below(low) + above(high), 1e-12);
            EXPECT_EQ(f.within(), low <= observed && observed <= high);
        }
    }
}

TEST(ChanceRange, LargeCasesLieWhereTheNormalFiguresPutThem)
{
    struct Case {
        std::vector<std::pair<int, int>> counts;  // chance, trials
        bool nearlySymmetric;                     // the normal tail holds far out too
    };
    // The hits of a year of single digits, a pool's mixture over 7,000
    // targets, and 32,767 draws of a wide pool.
    const std::vector<Case> cases = {
        {{{1000, 1460}}, false},
        {{{5000, 6000}, {6000, 9000}, {7000, 8000}, {8000, 5000}}, true},
        {{{9000, 131068}}, false},
        {{{24, 7000}, {12, 2000}}, false},
    };
    for (const Case& c : cases) {
        TrialCounts trials;
        for (const auto& [chance, count] : c.counts)
            trials.add(chance, count);
        const double mean = trials.mean(), sd = std::sqrt(trials.variance());
        const CountFigures f = chanceFiguresOf(trials, std::lround(mean));
        EXPECT_NEAR(f.expected, mean, 1e-9);
        EXPECT_NEAR(double(f.low), mean - 1.96 * sd, 0.1 * sd + 1.5);
        EXPECT_NEAR(double(f.high), mean + 1.96 * sd, 0.1 * sd + 1.5);
        EXPECT_GT(f.p, 0.9);
        EXPECT_LT(f.outsideChance, 0.05 + 1e-12);
        EXPECT_GT(f.outsideChance, 0.03);
        if (!c.nearlySymmetric)
            continue;
        const double z = 3.5;  // 3.5 standard deviations out: p near 0.00047
        const CountFigures far = chanceFiguresOf(trials, std::lround(mean + z * sd));
        EXPECT_NEAR(far.p, std::erfc(z / std::sqrt(2.0)), 0.5 * std::erfc(z / std::sqrt(2.0)));
    }
}

TEST(ChanceRange, HolmStepsDownUntilTheFirstThatStays)
{
    struct Case {
        std::vector<double> ps;
        std::vector<bool> different;
    };
    for (const Case& c : {
             Case{{0.01, 0.04, 0.03, 0.005}, {true, false, false, true}},  // .005<.0125, .01<.0167, .03>.025
             Case{{0.001, 0.012, 0.02, 0.5}, {true, true, true, false}},
             Case{{0.03, 0.04}, {false, false}},
             Case{{}, {}},
         })
        EXPECT_EQ(holmDifferent(c.ps), c.different);
    std::vector<double> ps(37, 0.5);
    ps[5] = 0.05 / 37;  // exactly on the first bound
    EXPECT_TRUE(holmDifferent(ps)[5]);
}

// The power against a direct sum of the binomial under the better chance,
// and the draws to tell as the fewest that reach the power.
// Trials added to a distribution already made (as a walk adds each draw's
// to those before) give the tails of one made from every trial at once.
TEST(CountDistribution, TrialsAddedLaterGiveTheTailsOfAllAtOnce)
{
    const std::vector<BinomialPart> before{{0.1, 400}, {0.0024, 3000}, {1.0, 3}};
    for (const std::vector<BinomialPart>& more : {
             std::vector<BinomialPart>{{0.1, 4}},
             std::vector<BinomialPart>{{0.5, 60}, {0.0001, 20000}},
             std::vector<BinomialPart>{{1.0, 2}, {0.2, 1}},
         }) {
        std::vector<BinomialPart> all = before;
        all.insert(all.end(), more.begin(), more.end());
        const CountDistribution added(CountDistribution(before), more);
        const CountDistribution whole(all);
        EXPECT_DOUBLE_EQ(added.mean(), whole.mean());
        for (long k = 0; k <= 200; ++k) {
            EXPECT_NEAR(added.below(k), whole.below(k), 1e-12) << more.size() << " parts, " << k;
            EXPECT_NEAR(added.above(k), whole.above(k), 1e-12) << more.size() << " parts, " << k;
        }
    }
}

TEST(TestPower, PowerIsTheShiftedWeightOutsideTheRange)
{
    struct Case {
        long trials;
        int chance;
        double level;
    };
    for (const Case& c : {Case{40, 1000, 0.05}, Case{200, 5000, 0.05 / 37}, Case{500, 24, 0.01}}) {
        TrialCounts trials;
        trials.add(c.chance, c.trials);
        const ChanceRange range = rangeOf(CountDistribution(trials), c.level);
        const double q = 1.1 * c.chance / kChanceScale;
        double outside = 0;
        for (long k = 0; k <= c.trials; ++k)
            if (k < range.low || k > range.high)
                outside += std::exp(std::lgamma(c.trials + 1.0) - std::lgamma(k + 1.0) -
                                    std::lgamma(double(c.trials - k) + 1) + double(k) * std::log(q) +
                                    double(c.trials - k) * std::log1p(-q));
        EXPECT_NEAR(powerOf(trials.parts(), 1.1, c.level), outside, 1e-9) << c.trials;
    }
    TrialCounts perDraw;  // four single digits a draw, over 100 draws
    perDraw.add(1000, 400);
    const long n = drawsToTell(perDraw, 100, 1.1, 0.05 / 37, 0.8);
    const auto powerAt = [&](long draws) { return powerOf(std::vector{BinomialPart{0.1, 4 * draws}}, 1.1, 0.05 / 37); };
    EXPECT_GE(powerAt(n), 0.8);
    EXPECT_LT(powerAt(n - 1), 0.8);
    EXPECT_NEAR(double(n), 3700, 200);  // the normal figure
}

}  // namespace
}  // namespace rumone::test
