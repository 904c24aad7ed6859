// The seven predictors that the backtest scores, and the digit sets each of
// them offers for the four positions of the next draw.
//
//   周期7 周期9 周期11 周期12   a row of the cycle-method grid: position p's
//                               set is the digit in position p's column, or
//                               nothing when the cell is empty;
//   消去法 連発 一発             a digit pool (grids 1-3): every position's
//                               set is every distinct digit the grid shows.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rumone {

class DrawHistory;
class Prediction;
struct PredictedDigits;

inline constexpr int kPredictorCount = 7;
inline constexpr std::array<const char*, kPredictorCount> kPredictorNames = {
    "周期7", "周期9", "周期11", "周期12", "消去法", "連発", "一発",
};

// Bit d set: digit d belongs to the set.
using DigitSet = std::uint16_t;

inline constexpr DigitSet digitBit(int digit)
{
    return static_cast<DigitSet>(1u << digit);
}
int setSize(DigitSet set);
// The digits ascending ("0912" -> "0129"), or "-" for the empty set.
std::string setText(DigitSet set);
// The reverse of setText; nullopt for anything else.
std::optional<DigitSet> parseSetText(std::string_view text);

// [predictor][position 0-3]
using PositionSets = std::array<DigitSet, 4>;
struct PredictorSets {
    std::array<PositionSets, kPredictorCount> sets{};
    bool operator==(const PredictorSets&) const = default;
};

// The sets of the methods' digits: a cycle method's digit per position, a
// pool for every position.
PredictorSets predictorSetsOf(const PredictedDigits& digits);
// The sets as the prediction's four grids show them.
PredictorSets setsOfPrediction(const Prediction& prediction);

// The plain way: a prediction computed afresh from `history` with
// `reflect` switches on, exactly as the prediction view computes it.
PredictorSets recomputePredictorSets(const DrawHistory& history, int reflect);

}  // namespace rumone
