// The rapid-fire and one-shot predictions: cycle digits near an elimination
// digit, at most eight and four of them.
#include <gtest/gtest.h>

#include <set>

#include "PredictionTestHelpers.h"

namespace rumone::test {
namespace {

using Texts = std::vector<std::string>;

// Latest draw 100 whose formulas give 2 everywhere except row 11, which
// gives 5.
DrawHistory candidatesTwoAndFive()
{
    return historyOf({
        {91, {1, 1, 1, 2}},
        {93, {1, 1, 1, 1}},
        {94, {7, 1, 1, 1}},
        {95, {1, 1, 1, 5}},
        {96, {4, 1, 1, 7}},
        {97, {8, 1, 1, 1}},
        {98, {1, 7, 1, 3}},
        {99, {2, 1, 1, 0}},
        {100, {1, 3, 1, 1}},
    });
}

TEST(RapidFireOneShot, ToleranceThreeAgainstTwoAndEmptyFirstPositionEndsAMethod)
{
    Prediction p;
    prepare(p, candidatesTwoAndFive());
    ASSERT_EQ(dataTexts(p, Prediction::kEliminationGrid), (Texts{"2", "5", "", "", "", "", "", "", "", "", "", ""}));
    setCycleDigits(p, {{
                          {"8", "9", "5", ""},  // 8 is 3 from 5, 9 is 4 from 5, 5 equals 5
                          {"", "2", "2", "2"},  // would match 2, but its first position is empty
                          {"", "", "", ""},
                          {"", "", "", ""},
                      }});
    p.computePredictions();
    EXPECT_EQ(p.grid(Prediction::kCycleGrid)->getText(3, 3), "2");  // shown in grid 0 all the same
    // For the 2s: only the 5 (3 away); for the 5: the 8 (3 away).
    EXPECT_EQ(dataTexts(p, Prediction::kRapidFireGrid), (Texts{"5", "8", "", "", "", "", "", ""}));
    // Within 2 only the 5 itself.
    EXPECT_EQ(dataTexts(p, Prediction::kOneShotGrid), (Texts{"5", "", "", ""}));
}

TEST(RapidFireOneShot, AtMostEightAndFourDistinctDigitsInPlacementOrder)
{
    Prediction p;
    prepare(p, historyOf({{100, {0, 0, 0, 0}}}));  // candidates 1 8 9 2 8 4 3 1 4 7 6 0 4 1 9
    setCycleDigits(p, {{
                          {"0", "1", "2", "3"},
                          {"4", "5", "6", "7"},
                          {"8", "9", "0", "1"},
                          {"2", "3", "4", "5"},
                      }});
    p.computePredictions();
    // Candidate 1 takes 0-4, candidate 8 then 5, 6 and 7.
    EXPECT_EQ(dataTexts(p, Prediction::kRapidFireGrid), (Texts{"0", "1", "2", "3", "4", "5", "6", "7"}));
    EXPECT_EQ(dataTexts(p, Prediction::kOneShotGrid), (Texts{"0", "1", "2", "3"}));
}

TEST(RapidFireOneShot, NoDigitTwiceOnRandomHistories)
{
    for (unsigned seed = 1; seed <= 30; ++seed) {
        SCOPED_TRACE(seed);
        Prediction p;
        prepare(p, randomHistory(400, seed), static_cast<int>(seed % 11));
        for (int g : {Prediction::kRapidFireGrid, Prediction::kOneShotGrid}) {
            const Texts placed = placedTexts(p, g);
            EXPECT_LE(placed.size(), g == Prediction::kRapidFireGrid ? 8u : 4u);
            EXPECT_EQ(std::set<std::string>(placed.begin(), placed.end()).size(), placed.size());
            // Placed from the first cell on, without holes.
            const Texts all = dataTexts(p, g);
            for (std::size_t i = 0; i < placed.size(); ++i)
                EXPECT_EQ(all[i], placed[i]);
        }
        const Texts elimination = placedTexts(p, Prediction::kEliminationGrid);
        EXPECT_EQ(std::set<std::string>(elimination.begin(), elimination.end()).size(), elimination.size());
    }
}

TEST(RapidFireOneShot, IsNotInGridLooksAtTheDataAreaOnly)
{
    ResultGrid g;
    g.setSize(5, 3);
    g.setText(1, 2, "7");  // label column
    g.setText(3, 1, "7");  // header row
    EXPECT_TRUE(Prediction::isNotInGrid(g, "7"));
    g.setText(5, 3, "7");
    EXPECT_FALSE(Prediction::isNotInGrid(g, "7"));
    EXPECT_TRUE(Prediction::isNotInGrid(g, "77"));
}

}  // namespace
}  // namespace rumone::test
