// The comparisons against chance taken together, and the lines that read
// them.
#include <gtest/gtest.h>

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

}  // namespace
}  // namespace rumone::test
