// Scoring: hits against the chance figures, the band and the verdict, on
// sets known by hand.
#include <gtest/gtest.h>

#include "core/backtest/LogScoring.h"
#include "core/backtest/Scoring.h"
#include "support/TestSupport.h"

namespace rumone::test {
namespace {

DigitSet setOf(std::initializer_list<int> digits)
{
    DigitSet s = 0;
    for (const int d : digits)
        s |= digitBit(d);
    return s;
}

TEST(Scoring, TallyAddsHitsChanceBandAndAllFour)
{
    Tally t;
    // Sizes 1, 0, 10, 2: q = .1, 0, 1, .2.
    t.add({setOf({1}), 0, setOf({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}), setOf({2, 3})}, {1, 5, 7, 3});
    EXPECT_EQ(t.hits, 3);
    EXPECT_DOUBLE_EQ(t.expected, 1.3);
    EXPECT_DOUBLE_EQ(t.hitTrials.variance(), 0.09 + 0.16);
    // 1 for sure, and two trials of .1 and .2: P(1) = .72, P(2) = .26,
    // P(3) = .02, so P(X > 2) is under 2.5 %.
    EXPECT_EQ(t.hitFigures().low, 1);
    EXPECT_EQ(t.hitFigures().high, 2);
    EXPECT_EQ(t.allFourHits, 0);
    EXPECT_DOUBLE_EQ(t.allFourExpected, 0);

    t.add({setOf({1}), setOf({5}), setOf({7}), setOf({3, 4})}, {1, 5, 7, 3});
    EXPECT_EQ(t.targets, 2);
    EXPECT_EQ(t.hits, 7);
    EXPECT_EQ(t.allFourHits, 1);
    EXPECT_NEAR(t.allFourExpected, 0.1 * 0.1 * 0.1 * 0.2, 1e-15);
    EXPECT_DOUBLE_EQ(t.hitRate(), 7 / 8.0);
    EXPECT_DOUBLE_EQ(t.chanceRate(), (1.3 + 0.5) / 8);
}

TEST(Scoring, VerdictComesFromTheExactRangeAndNeedsThirtyTargets)
{
    struct Case {
        int targets;
        int hits;
        Verdict verdict;
    };
    // 120 positions with q = .4 (30 targets): the exact range is 38-59.
    for (const Case c : {Case{30, 37, Verdict::Below}, Case{30, 38, Verdict::Within}, Case{30, 59, Verdict::Within},
                         Case{30, 60, Verdict::Above}, Case{29, 70, Verdict::TooFew}, Case{0, 0, Verdict::NoTargets}}) {
        Tally t;
        t.targets = c.targets;
        t.hits = c.hits;
        t.hitTrials.add(4000, 120);
        EXPECT_EQ(verdictOf(t.targets, t.hitFigures()), c.verdict) << c.targets << " " << c.hits;
    }
    EXPECT_EQ(verdictText(Verdict::TooFew, 1), "判定には回数が足りません（1回）");
}

// Draw 1 holds a 1 that comes back in draw 8, seven draws later, with
// only 5s between: the 7-draw cycle shows 1 in position 1 and nothing
// else. The elimination formulas then give 2-9 (worked out by hand), and
// the rapid-fire and one-shot pools keep the cycle digit 1 (within 3 and
// 2 of the candidate 2).
TEST(Scoring, HandMadeHistoryGivesTheSetsWorkedOutByHand)
{
    std::vector<Row> rows = {{1, {1, 2, 3, 4}}};
    for (int n = 2; n <= 7; ++n)
        rows.push_back({n, {5, 5, 5, 5}});
    rows.push_back({8, {1, 6, 6, 6}});
    rows.push_back({9, {1, 2, 0, 0}});
    std::vector<WalkStep> steps;
    walkForward(historyOf(rows), {0}, {9, 9}, [&](const WalkStep& s) { steps.push_back(s); });
    ASSERT_EQ(steps.size(), 1u);
    const PredictorSets& sets = steps[0].sets[0];
    EXPECT_EQ(sets.sets[0], (PositionSets{setOf({1}), 0, 0, 0}));
    EXPECT_EQ(sets.sets[1], (PositionSets{0, 0, 0, 0}));
    const DigitSet eliminated = setOf({2, 3, 4, 5, 6, 7, 8, 9});
    EXPECT_EQ(sets.sets[4], (PositionSets{eliminated, eliminated, eliminated, eliminated}));
    EXPECT_EQ(sets.sets[5], (PositionSets{setOf({1}), setOf({1}), setOf({1}), setOf({1})}));
    EXPECT_EQ(sets.sets[6], sets.sets[5]);

    const Scoreboard board = scoreSteps(steps);
    EXPECT_EQ(board[0].hits, 1);
    EXPECT_DOUBLE_EQ(board[0].expected, 0.1);
    EXPECT_EQ(board[1].hits, 0);
    EXPECT_TRUE(board[1].hitFigures().within());  // an empty set can neither hit nor miss by chance
    EXPECT_EQ(board[4].hits, 1);                  // only the 2 in position 2
    EXPECT_DOUBLE_EQ(board[4].expected, 3.2);
    EXPECT_EQ(board[5].hits, 1);
}

TEST(Scoring, LoggedPredictionsCountOnlyOnceTheirDrawIsEntered)
{
    const DrawHistory history = historyOf({{1, {1, 2, 3, 4}}, {2, {5, 6, 7, -1}}, {3, {9, 9, 9, 9}}});
    PredictorSets all;
    for (PositionSets& s : all.sets)
        s.fill(setOf({9}));
    const std::vector<LoggedPrediction> log = {{3, {}, 0, all}, {2, {}, 0, all}, {4, {}, 0, all}};
    const std::vector<WalkStep> steps = loggedSteps(log, history);
    ASSERT_EQ(steps.size(), 1u);  // 2 is incomplete, 4 not entered
    EXPECT_EQ(steps[0].target, 3);
    EXPECT_EQ(scoreSteps(steps)[6].allFourHits, 1);
}

}  // namespace
}  // namespace rumone::test
