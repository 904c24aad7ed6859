// Walk-forward: for every target draw t, the predictors' sets computed from
// the draws numbered below t only. The methods' state (the digits by draw
// number and the cycle digits) is advanced one draw at a time instead of
// being rebuilt from the whole history for every target.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/backtest/PredictorSets.h"
#include "core/history/DrawHistory.h"

namespace rumone {

class WalkForward {
public:
    WalkForward();

    // Takes in the next complete draw; draw numbers must ascend. A number
    // outside 0-32767 is left out, as the prediction's scan does.
    void advance(const Draw& draw);
    // Whether any draw has been taken in.
    bool started() const { return started_; }
    // The number of the last draw taken in (0 before any).
    int latestDrawNumber() const { return latest_; }
    // The sets the prediction view would show now, with `reflect` (0-10)
    // switches on.
    PredictorSets predict(int reflect) const;

private:
    int digitAt(int drawNumber, int position) const;

    // Indexed by draw number; a number with no draw reads as four 0s.
    std::vector<std::array<std::int8_t, 4>> digitsByDraw_;
    // [method][position]: the cycle digit, -1 when none.
    std::array<std::array<std::int8_t, 4>, 4> cycle_;
    int latest_ = 0;
    bool started_ = false;
};

// Which targets take part: every complete draw t with from <= t <= to that
// has a complete draw numbered below it.
struct TargetRange {
    int from = 0;
    int to = kMaxDrawNumber;
};

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
