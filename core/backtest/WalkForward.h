// Walk-forward: for every target draw t, the predictors' sets computed from
// the draws numbered below t only. The methods' state is advanced one draw
// at a time instead of being rebuilt from the whole history for every
// target; the sets come from the same rules as the prediction view's.
#pragma once

#include <array>
#include <functional>
#include <vector>

#include "core/backtest/PredictorSets.h"
#include "core/history/DrawHistory.h"

namespace rumone {

// Which targets take part: every complete draw t with from <= t <= to that
// has a complete draw numbered below it.
struct TargetRange {
    int from = 0;
    int to = kMaxDrawNumber;
};

// How often a walk reports its progress and asks whether to go on, in
// targets.
inline constexpr int kProgressStep = 256;

// One target's actual digits and, for each reflect count asked for, the
// predictors' sets.
struct WalkStep {
    int target = 0;
    std::array<int, 4> actual{};
    std::vector<PredictorSets> sets;  // in the order of the reflect counts
};

// Walks the history's complete draws in order and calls `onStep` for every
// target in `range`. `keepGoing`, when given, is asked now and then with
// the targets done and their total; false stops the walk, and the function
// returns false.
bool walkForward(const DrawHistory& history, const std::vector<int>& reflects, TargetRange range,
                 const std::function<void(const WalkStep&)>& onStep,
                 const std::function<bool(int done, int total)>& keepGoing = {});

// How many targets `range` holds in `history`.
int countTargets(const DrawHistory& history, TargetRange range);

}  // namespace rumone
