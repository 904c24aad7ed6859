// The elimination method: fifteen formulas over the latest draws, each switch
// set moving them one draw further back.
#include <gtest/gtest.h>

#include "PredictionTestHelpers.h"

namespace rumone::test {
namespace {

using Texts = std::vector<std::string>;

// What the fifteen formulas give when every digit they read is 0, and the
// grid that shows the new ones in table order.
const Texts kAllZeroCandidates = {"1", "8", "9", "2", "8", "4", "3", "1", "4", "7", "6", "0", "4", "1", "9"};
const Texts kAllZeroGrid = {"1", "8", "9", "2", "4", "3", "7", "6", "0", "", "", ""};

TEST(Elimination, WrapDigitFoldsByNineOnce)
{
    const std::vector<std::pair<int, int>> cases = {
        {17, 8}, {-5, 4}, {-9, 0}, {10, 1}, {0, 9}, {18, 9}, {-1, 8}, {1, 1}, {9, 9}, {5, 5},
    };
    for (const auto& [value, digit] : cases)
        EXPECT_EQ(wrapDigit(value), digit) << value;
}

TEST(Elimination, LatestDrawGivesTheFirstTwoRows)
{
    Prediction p = predictionOf(historyOf({{1234, {5, 0, 7, 2}}}), 0);
    EXPECT_EQ(candidateTexts(p)[0], "6");  // 5 + 1
    EXPECT_EQ(candidateTexts(p)[1], "8");  // 0 + 8
    const ResultGrid& g = *p.grid(Prediction::kEliminationGrid);
    EXPECT_EQ(g.getText(2, 2), "6");
    EXPECT_EQ(g.getText(3, 2), "8");
}

TEST(Elimination, DuplicatesArePlacedOnceInTableOrder)
{
    Prediction p = predictionOf(historyOf({{100, {0, 0, 0, 0}}}), 0);
    EXPECT_EQ(candidateTexts(p), kAllZeroCandidates);
    EXPECT_EQ(dataTexts(p, Prediction::kEliminationGrid), kAllZeroGrid);
}

TEST(Elimination, EverySwitchCountsTheSame)
{
    const DrawHistory h = randomHistory(300, 11);
    Prediction reference = predictionOf(h, 0);
    reference.setFlag(0, true);
    for (int i = 1; i < kOptionCount; ++i) {
        SCOPED_TRACE(i);
        Prediction p = predictionOf(h, 0);
        p.setFlag(i, true);
        for (int g = 1; g < kPredictionGridCount; ++g)
            EXPECT_EQ(dumpGridText(p, g), dumpGridText(reference, g)) << "grid " << g;
    }
}

TEST(Elimination, TwoSwitchesReadTwoDrawsFurtherBack)
{
    // Without the last two draws and no switch, the formulas read the same
    // draws as the whole history with two switches set.
    std::vector<Row> rows;
    for (int n = 1; n <= 60; ++n)
        rows.push_back({n, {(n * 7) % 10, (n * 3 + 1) % 10, (n * n) % 10, (n * 9 + 4) % 10}});
    Prediction two = predictionOf(historyOf(rows), 0);
    two.setFlag(3, true);
    two.setFlag(8, true);
    rows.resize(rows.size() - 2);
    Prediction shorter = predictionOf(historyOf(rows), 0);
    EXPECT_EQ(candidateTexts(two), candidateTexts(shorter));
    EXPECT_EQ(dumpGridText(two, Prediction::kEliminationGrid), dumpGridText(shorter, Prediction::kEliminationGrid));
}

TEST(Elimination, SwitchClickRecomputesWithoutRescan)
{
    Prediction p = predictionOf(historyOf({{20, {5, 0, 7, 2}}}), 0);
    EXPECT_EQ(candidateTexts(p)[0], "6");
    p.setFlag(4, true);  // draw 19 is missing: zeros
    EXPECT_EQ(candidateTexts(p), kAllZeroCandidates);
    EXPECT_TRUE(p.flag(4));
    p.setFlag(4, false);
    EXPECT_EQ(candidateTexts(p)[0], "6");
}

TEST(Elimination, FormulasBeforeTheFirstDrawReadZeros)
{
    // Latest draw 5 with all switches set: every formula points below 0.
    std::vector<Row> rows;
    appendRun(rows, 1, 5, {3, 6, 2, 7});
    Prediction p = predictionOf(historyOf(rows), kOptionCount);
    EXPECT_EQ(p.countReflectedOptions(), 10);
    EXPECT_EQ(candidateTexts(p), kAllZeroCandidates);
    EXPECT_EQ(dataTexts(p, Prediction::kEliminationGrid), kAllZeroGrid);

    // An empty history: latest draw 0, every reading zero.
    Prediction empty = predictionOf(DrawHistory{}, 3);
    EXPECT_EQ(candidateTexts(empty), kAllZeroCandidates);
    EXPECT_TRUE(placedTexts(empty, Prediction::kRapidFireGrid).empty());
    EXPECT_TRUE(placedTexts(empty, Prediction::kOneShotGrid).empty());
}

}  // namespace
}  // namespace rumone::test
