// The comparisons against chance taken together, and the lines that read
// them.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "core/backtest/Comparisons.h"

namespace rumone::test {
namespace {

// 1,000 targets of single digits at every reflect count: 400 hits
// expected a predictor, hits as given.
ReflectBoards boardsWithHits(const std::function<int(int reflect, int predictor)>& hits)
{
    ReflectBoards boards;
    for (int k = 0; k < kReflectCounts; ++k)
        for (int i = 0; i < kPredictorCount; ++i) {
            Tally& t = boards[static_cast<std::size_t>(k)][static_cast<std::size_t>(i)];
            t.hitTrials.add(1000, 4000);
            t.targets = 1000;
            t.hits = hits(k, i);
        }
    return boards;
}

// 一発 at reflect 3 stands out among 7 (p about 0.005) but not among 37;
// at reflect 5 it stands out among all of them.
TEST(Comparisons, ThePredictionLineJudgesItsReflectCountAmongAllThirtySeven)
{
    const ComparisonSummary all = compareAll(boardsWithHits([](int k, int i) {
        return i != 6 ? 400 : k == 3 ? 453 : k == 5 ? 480 : 400;
    }));
    EXPECT_EQ(comparisonsAt(all, 3).different, 0);
    EXPECT_EQ(comparisonsAt(all, 3).comparisons.size(), 7u);
    EXPECT_EQ(comparisonsAt(all, 5).different, 1);
    EXPECT_NE(predictionCheckText(all, 3).find("どの予想も"), std::string::npos);
    EXPECT_NE(predictionCheckText(all, 5).find("一発"), std::string::npos);
}

PredictorSets setsWithPool(DigitSet pool)
{
    PredictorSets sets;
    for (PositionSets& position : sets.sets)
        position = {pool, pool, pool, pool};
    return sets;
}

// 連発's sets differ at reflect 7 at one target only: 7 is a row of its
// own, and every other count repeats reflect 0.
TEST(Comparisons, RowsWithTheSameSetsAtEveryTargetAreOneComparison)
{
    SameRows same;
    std::vector<PredictorSets> sets(kReflectCounts, setsWithPool(0x0f));
    same.add(sets);
    sets[7].sets[5][2] = 0x1f;
    same.add(sets);
    EXPECT_EQ(same.firstEqual(5, 3), 0);
    EXPECT_EQ(same.firstEqual(5, 7), 7);
    EXPECT_EQ(same.firstEqual(5, 8), 0);
    EXPECT_EQ(same.firstEqual(6, 10), 0);

    // 消去法, 連発 and 一発 far above chance at every count.
    const ComparisonSummary s = compareAll(boardsWithHits([](int, int i) { return i < 4 ? 400 : 520; }), same);
    EXPECT_EQ(s.distinct, 4 + 1 + 2 + 1);
    EXPECT_EQ(s.outside, 4);
    EXPECT_EQ(s.different, 33);  // the correction is over all 37 still
    const std::string prefix = "37通りの比較（どの回も同じ予想だった行を1つと数えて8通り）のうち偶然の範囲外は4通り";
    EXPECT_EQ(conclusionText(s).rfind(prefix, 0), 0u) << conclusionText(s);
}

// Cells with a verdict count; a cycle row's straight wins are its all-four
// cell, and rows under 30 targets give no verdict.
TEST(Comparisons, ChanceOfAColouredCellCountsEachVerdictCellOnce)
{
    const ReflectBoards boards = boardsWithHits([](int, int) { return 400; });
    TicketBoard tickets;
    for (std::size_t i = 0; i < kPredictorCount; ++i)
        for (std::size_t type = i < 4 ? 0 : 1; type < 2; ++type) {  // the pools buy boxes only
            tickets[i][type].count = 1000;
            tickets[i][type].winTrials.add(24, 1000);
        }
    tickets[6][1].winTrials = TrialCounts{};
    tickets[6][1].winTrials.add(24, 29);
    const ColouredChance c = colouredChance(boards[0], tickets);
    EXPECT_EQ(c.cells, 14 + 7 - 1);
    double none = std::pow(1 - boards[0][0].hitFigures().outsideChance, 7) *
                  std::pow(1 - boards[0][0].allFourFigures().outsideChance, 7) *
                  std::pow(1 - tickets[0][1].winFigures().outsideChance, 6);
    EXPECT_NEAR(c.any, 1 - none, 1e-12);
    EXPECT_EQ(colouredChanceText(ColouredChance{}), "");
}

}  // namespace
}  // namespace rumone::test
