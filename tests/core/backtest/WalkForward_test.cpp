// The walk-forward engine: advancing the methods one draw at a time gives
// the same sets as computing the prediction afresh from the truncated
// history, and nothing at or after a target reaches its prediction.
#include <gtest/gtest.h>

#include <random>

#include "core/backtest/WalkForward.h"
#include "support/TestSupport.h"

namespace rumone::test {
namespace {

// Rows with gaps in the numbering (some long), about one row in twelve
// incomplete, starting at a low number so that the elimination formulas
// reach before draw 0.
std::vector<Row> roughRows(unsigned seed, int count)
{
    std::mt19937 gen(seed);
    std::uniform_int_distribution<int> digit(0, 9), step(1, 20), chance(0, 11);
    std::vector<Row> rows;
    int number = std::uniform_int_distribution<int>(0, 3)(gen);
    for (int i = 0; i < count; ++i) {
        Row r{number, {digit(gen), digit(gen), digit(gen), digit(gen)}};
        if (chance(gen) == 0)
            r.digits[static_cast<std::size_t>(digit(gen) % 4)] = -1;
        rows.push_back(r);
        const int s = step(gen);
        number += s == 20 ? 23 : (s == 19 ? 2 : 1);
    }
    return rows;
}

std::vector<Row> rowsBelow(const std::vector<Row>& rows, int target)
{
    std::vector<Row> out;
    for (const Row& r : rows)
        if (r.number < target)
            out.push_back(r);
    return out;
}

std::vector<int> allReflectCounts()
{
    std::vector<int> k;
    for (int i = 0; i <= 10; ++i)
        k.push_back(i);
    return k;
}

TEST(WalkForward, EqualsRecomputingTheTruncatedHistoryForEveryReflectCount)
{
    int fullRapidFire = 0;  // the caps of eight and four digits must be reached
    int fullOneShot = 0;
    for (const unsigned seed : {1u, 2u}) {
        const std::vector<Row> rows = roughRows(seed, 300);
        const DrawHistory history = historyOf(rows);
        int targets = 0;
        walkForward(history, allReflectCounts(), {}, [&](const WalkStep& step) {
            ++targets;
            fullRapidFire += setSize(step.sets[0].sets[5][0]) == 8;
            fullOneShot += setSize(step.sets[0].sets[6][0]) == 4;
            if (targets % 3 != 0 && targets > 30)
                return;  // every target early on, every third later
            const DrawHistory truncated = historyOf(rowsBelow(rows, step.target));
            for (int k = 0; k <= 10; ++k)
                ASSERT_EQ(step.sets[static_cast<std::size_t>(k)], recomputePredictorSets(truncated, k))
                    << "seed " << seed << " target " << step.target << " reflect " << k;
        });
        EXPECT_EQ(targets, static_cast<int>(history.completeDraws().size()) - 1);
        EXPECT_EQ(targets, countTargets(history, {}));
    }
    EXPECT_GT(fullRapidFire, 0);
    EXPECT_GT(fullOneShot, 0);
}

TEST(WalkForward, EqualsRecomputingOnTheRealHistoryAtSampledTargets)
{
    const auto rows = realDraws();
    if (!rows)
        GTEST_SKIP() << "no real history at " << realDrawsPath();
    const DrawHistory history = historyOf(*rows);
    const std::vector<int> reflects = {0, 5, 10};
    int checked = 0;
    walkForward(history, reflects, {}, [&](const WalkStep& step) {
        if (step.target % 1000 != 0 && step.target != history.latestDrawNumber())
            return;
        ++checked;
        const DrawHistory truncated = historyOf(rowsBelow(*rows, step.target));
        for (std::size_t k = 0; k < reflects.size(); ++k)
            ASSERT_EQ(step.sets[k], recomputePredictorSets(truncated, reflects[k])) << step.target;
    });
    EXPECT_GE(checked, 7);
}

// The prediction for t from the walk over `rows`, with 2 switches on.
PredictorSets predictionFor(const std::vector<Row>& rows, int target)
{
    PredictorSets sets;
    walkForward(historyOf(rows), {2}, {target, target}, [&](const WalkStep& step) { sets = step.sets.front(); });
    return sets;
}

TEST(WalkForward, DrawsAtOrAfterTheTargetNeverChangeItsPrediction)
{
    const std::vector<Row> rows = roughRows(7, 120);
    const int target = rows[60].number;
    const PredictorSets before = predictionFor(rows, target);

    std::vector<Row> changed = rows;
    for (Row& r : changed)
        if (r.number >= target)
            for (int& d : r.digits)
                d = (d < 0 ? 0 : d) * 7 % 10;
    changed[60].digits = {9, 8, 7, 6};  // the target itself stays complete
    EXPECT_EQ(predictionFor(changed, target), before);

    std::vector<Row> cut(rows.begin(), rows.begin() + 61);
    cut.push_back({target + 1, {1, 1, 1, 1}});
    EXPECT_EQ(predictionFor(cut, target), before);
}

TEST(WalkForward, RangeAndCancellation)
{
    const DrawHistory history = randomHistory(1000, 3);
    std::vector<int> seen;
    walkForward(history, {0}, {500, 520}, [&](const WalkStep& s) { seen.push_back(s.target); });
    ASSERT_EQ(seen.size(), 21u);
    EXPECT_EQ(seen.front(), 500);
    EXPECT_EQ(seen.back(), 520);

    int steps = 0;
    const bool finished = walkForward(
        history, {0}, {}, [&](const WalkStep&) { ++steps; }, [](int done, int) { return done < 256; });
    EXPECT_FALSE(finished);
    EXPECT_EQ(steps, 256);
}

}  // namespace
}  // namespace rumone::test
