// Where a walk-forward stands: the methods' state after a run of a
// history's complete draws, with those draws, so that a later history that
// begins with the same draws goes on from there instead of from the start.
#pragma once

#include <functional>
#include <vector>

#include "core/backtest/WalkForward.h"
#include "core/predict/PredictionRules.h"

namespace rumone {

// The targets a run has walked and will walk, and the question asked now
// and then whether it goes on.
struct WalkProgress {
    std::function<bool(int done, int total)> keepGoing;
    int done = 0;
    int total = 0;
};

class WalkCursor {
public:
    explicit WalkCursor(int from) : from_(from) {}
    // Whether `range` starts where this walk started, `history` begins with
    // the draws walked, unchanged, and none of them lies past range.to.
    bool continues(const DrawHistory& history, TargetRange range) const;
    // The targets of `range` not yet walked (continues() must hold).
    int targetsLeft(const DrawHistory& history, TargetRange range) const;
    // Calls `onTarget` with each target of `range` not yet walked and the
    // state before it. False when `progress` stopped it; the cursor then
    // stands after the last target walked, so the walk may go on later.
    bool walkOn(const DrawHistory& history, TargetRange range,
                const std::function<void(const Draw&, const MethodState&)>& onTarget, WalkProgress& progress);

private:
    int from_;
    MethodState state_;
    std::vector<Draw> walked_;
};

}  // namespace rumone
