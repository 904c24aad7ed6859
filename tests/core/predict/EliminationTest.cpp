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

Texts Candidates(const Prediction& p)
{
    Texts out;
    for (int i = 0; i < kEliminationRowCount; ++i)
        out.push_back(p.EliminationCandidates(i));
    return out;
}

TEST(Elimination, WrapDigitFoldsByNineOnce)
{
    const std::vector<std::pair<int, std::string>> cases = {
        {17, "8"}, {-5, "4"}, {-9, "0"}, {10, "1"}, {0, "9"}, {18, "9"}, {-1, "8"}, {1, "1"}, {9, "9"}, {5, "5"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(Prediction::WrapDigit(value), text) << value;
}

TEST(Elimination, LatestDrawGivesTheFirstTwoRows)
{
    Prediction p;
    Prepare(p, HistoryOf({{1234, {5, 0, 7, 2}}}));
    EXPECT_EQ(p.EliminationCandidates(0), "6");  // 5 + 1
    EXPECT_EQ(p.EliminationCandidates(1), "8");  // 0 + 8
    const ResultGrid& g = *p.Grid(Prediction::kEliminationGrid);
    EXPECT_EQ(g.GetText(2, 2), "6");
    EXPECT_EQ(g.GetText(3, 2), "8");
}

TEST(Elimination, DuplicatesArePlacedOnceInTableOrder)
{
    Prediction p;
    Prepare(p, HistoryOf({{100, {0, 0, 0, 0}}}));
    EXPECT_EQ(Candidates(p), kAllZeroCandidates);
    EXPECT_EQ(DataTexts(p, Prediction::kEliminationGrid), kAllZeroGrid);
}

TEST(Elimination, EverySwitchCountsTheSame)
{
    const DrawHistory h = RandomHistory(300, 11);
    Prediction reference;
    Prepare(reference, h);
    reference.SetFlag(0, true);
    for (int i = 1; i < kOptionCount; ++i) {
        SCOPED_TRACE(i);
        Prediction p;
        Prepare(p, h);
        p.SetFlag(i, true);
        for (int g = 1; g < kPredictionGridCount; ++g)
            EXPECT_EQ(DumpGridText(p, g), DumpGridText(reference, g)) << "grid " << g;
    }
}

TEST(Elimination, TwoSwitchesReadTwoDrawsFurtherBack)
{
    // Without the last two draws and no switch, the formulas read the same
    // draws as the whole history with two switches set.
    std::vector<Row> rows;
    for (int n = 1; n <= 60; ++n)
        rows.push_back({n, {(n * 7) % 10, (n * 3 + 1) % 10, (n * n) % 10, (n * 9 + 4) % 10}});
    Prediction two;
    Prepare(two, HistoryOf(rows));
    two.SetFlag(3, true);
    two.SetFlag(8, true);
    rows.resize(rows.size() - 2);
    Prediction shorter;
    Prepare(shorter, HistoryOf(rows));
    EXPECT_EQ(Candidates(two), Candidates(shorter));
    EXPECT_EQ(DumpGridText(two, Prediction::kEliminationGrid), DumpGridText(shorter, Prediction::kEliminationGrid));
}

TEST(Elimination, SwitchClickRecomputesWithoutRescan)
{
    Prediction p;
    Prepare(p, HistoryOf({{20, {5, 0, 7, 2}}}));
    EXPECT_EQ(p.EliminationCandidates(0), "6");
    p.SetFlag(4, true);  // draw 19 is missing: zeros
    EXPECT_EQ(Candidates(p), kAllZeroCandidates);
    EXPECT_TRUE(p.Flag(4));
    p.SetFlag(4, false);
    EXPECT_EQ(p.EliminationCandidates(0), "6");
}

TEST(Elimination, FormulasBeforeTheFirstDrawReadZeros)
{
    // Latest draw 5 with all switches set: every formula points below 0.
    std::vector<Row> rows;
    AppendRun(rows, 1, 5, {3, 6, 2, 7});
    Prediction p;
    Prepare(p, HistoryOf(rows), kOptionCount);
    EXPECT_EQ(p.CountReflectedOptions(), 10);
    EXPECT_EQ(Candidates(p), kAllZeroCandidates);
    EXPECT_EQ(DataTexts(p, Prediction::kEliminationGrid), kAllZeroGrid);

    // An empty history: latest draw 0, every reading zero.
    Prediction empty;
    Prepare(empty, DrawHistory{}, 3);
    EXPECT_EQ(Candidates(empty), kAllZeroCandidates);
    EXPECT_TRUE(PlacedTexts(empty, Prediction::kRapidFireGrid).empty());
    EXPECT_TRUE(PlacedTexts(empty, Prediction::kOneShotGrid).empty());
}

}  // namespace
}  // namespace rumone::test
