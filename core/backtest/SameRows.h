// Which rows of the comparisons are one: a pool predictor whose sets at
// two reflect counts were equal at every target scores the same hits at
// both, so the two rows are one comparison, not two.
#pragma once

#include <array>
#include <bitset>
#include <vector>

#include "core/backtest/PredictorSets.h"
#include "core/predict/PredictionOptions.h"

namespace rumone {

// Reflect counts 0-10.
inline constexpr int kReflectCounts = kOptionCount + 1;

class SameRows {
public:
    // Every row equal to every other until a target tells them apart.
    SameRows();
    // One target's sets, one entry per reflect count 0-10.
    void add(const std::vector<PredictorSets>& sets);
    // The lowest reflect count whose sets for `predictor` were equal to
    // those of `reflect` at every target added (`reflect` itself when none
    // lower was).
    int firstEqual(int predictor, int reflect) const;

private:
    // [predictor][k]: the reflect counts still equal to k.
    std::array<std::array<std::bitset<kReflectCounts>, kReflectCounts>, kPredictorCount> equal_;
};

}  // namespace rumone
