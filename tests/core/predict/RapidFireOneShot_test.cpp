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

Texts texts(const PlacedDigits& digits)
{
    Texts out;
    for (const int d : digits)
        out.push_back(std::to_string(d));
    return out;
}

constexpr std::int8_t kNone = kNoDigit;

TEST(RapidFireOneShot, ToleranceThreeAgainstTwoAndEmptyFirstPositionEndsAMethod)
{
    const Prediction p = predictionOf(candidatesTwoAndFive(), 0);
    ASSERT_EQ(dataTexts(p, Prediction::kEliminationGrid), (Texts{"2", "5", "", "", "", "", "", "", "", "", "", ""}));
    const CycleDigits cycle = {{
        {8, 9, 5, kNone},  // 8 is 3 from 5, 9 is 4 from 5, 5 equals 5
        {kNone, 2, 2, 2},  // would match 2, but its first position is empty
        {kNone, kNone, kNone, kNone},
        {kNone, kNone, kNone, kNone},
    }};
    // For the 2s: only the 5 (3 away); for the 5: the 8 (3 away).
    EXPECT_EQ(texts(matchingCycleDigits(cycle, p.digits().candidates, 3, 8)), (Texts{"5", "8"}));
    // Within 2 only the 5 itself.
    EXPECT_EQ(texts(matchingCycleDigits(cycle, p.digits().candidates, 2, 4)), (Texts{"5"}));
}

TEST(RapidFireOneShot, AtMostEightAndFourDistinctDigitsInPlacementOrder)
{
    // Candidates 1 8 9 2 8 4 3 1 4 7 6 0 4 1 9.
    const Prediction p = predictionOf(historyOf({{100, {0, 0, 0, 0}}}), 0);
    const CycleDigits cycle = {{{0, 1, 2, 3}, {4, 5, 6, 7}, {8, 9, 0, 1}, {2, 3, 4, 5}}};
    // Candidate 1 takes 0-4, candidate 8 then 5, 6 and 7.
    EXPECT_EQ(texts(matchingCycleDigits(cycle, p.digits().candidates, 3, 8)),
              (Texts{"0", "1", "2", "3", "4", "5", "6", "7"}));
    EXPECT_EQ(texts(matchingCycleDigits(cycle, p.digits().candidates, 2, 4)), (Texts{"0", "1", "2", "3"}));
}

TEST(RapidFireOneShot, ADigitOfTwoMethodsTakesOneCell)
{
    EliminationCandidates fives{};
    fives.fill(5);
    const CycleDigits cycle = {{{7, 3, kNone, kNone}, {3, 7, kNone, kNone}, {7, 7, 7, 7}, {kNone, 3, 3, 3}}};
    EXPECT_EQ(texts(matchingCycleDigits(cycle, fives, 2, 4)), (Texts{"7", "3"}));
}

TEST(RapidFireOneShot, NoDigitTwiceOnRandomHistories)
{
    for (unsigned seed = 1; seed <= 30; ++seed) {
        SCOPED_TRACE(seed);
        Prediction p = predictionOf(randomHistory(400, seed), static_cast<int>(seed % 11));
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

}  // namespace
}  // namespace rumone::test
