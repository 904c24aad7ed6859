// The log draw by draw: what was predicted and drawn, the hits beside the
// chance of that many, and the tickets' cost and theoretical prizes.
#include <gtest/gtest.h>

#include "core/backtest/LogDrawGrid.h"

namespace rumone::test {
namespace {

WalkStep stepOf(int target, std::array<int, 4> actual, PositionSets cycle, DigitSet pool)
{
    WalkStep step;
    step.target = target;
    step.actual = actual;
    step.sets.resize(1);
    for (std::size_t i = 0; i < kPredictorCount; ++i)
        step.sets[0].sets[i] = i < 4 ? cycle : PositionSets{pool, pool, pool, pool};
    return step;
}

TEST(LogDrawGrid, EachPredictionShowsItsDrawHitsChanceAndTickets)
{
    const PositionSets row{digitBit(6), digitBit(4), digitBit(2), digitBit(3)};
    const DigitSet pool = digitBit(0) | digitBit(1) | digitBit(2) | digitBit(9);
    const std::vector<LoggedOutcome> out =
        loggedOutcomes({stepOf(10, {6, 4, 2, 9}, row, pool), stepOf(11, {2, 9, 1, 0}, row, pool)});
    ASSERT_EQ(out.size(), 14u);
    struct Case {
        std::size_t at;
        int target;
        std::string text;
        int hits;
        double chance;
        long long cost, paid;
    };
    const std::vector<Case> cases = {
        // latest first; 3 of 4 single digits: 4 * 0.1^3 * 0.9; a straight and a box
        {7, 10, "予想 6423 → 当選 6429", 3, 0.0036, 400, 0},
        // the pool's one box of four distinct digits wins 900,000 / 24
        {6, 11, "予想 各位置0129 → 当選 2910", 4, 0.0256, 200, 37500},
        {4, 11, "予想 各位置0129 → 当選 2910", 4, 0.0256, 200, 37500},
        {0, 11, "予想 6423 → 当選 2910", 0, 0.6561, 400, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.at);
        EXPECT_EQ(out[c.at].target, c.target);
        EXPECT_EQ(out[c.at].text, c.text);
        EXPECT_EQ(out[c.at].hits, c.hits);
        EXPECT_NEAR(out[c.at].chanceOfHits, c.chance, 1e-12);
        EXPECT_EQ(out[c.at].cost, c.cost);
        EXPECT_EQ(out[c.at].paid, c.paid);
    }
    EXPECT_EQ(predictedAndDrawnText({digitBit(6), 0, digitBit(3) | digitBit(9), digitBit(1)}, {6, 0, 3, 1}),
              "予想 6/-/39/1 → 当選 6031");
}

}  // namespace
}  // namespace rumone::test
