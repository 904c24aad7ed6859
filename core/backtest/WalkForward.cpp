#include "core/backtest/WalkForward.h"

#include "core/predict/PredictionRules.h"

namespace rumone {

int countTargets(const DrawHistory& history, TargetRange range)
{
    const auto& draws = history.completeDraws();
    int count = 0;
    for (std::size_t i = 1; i < draws.size(); ++i)
        if (draws[i].number >= range.from && draws[i].number <= range.to)
            ++count;
    return count;
}

bool walkForward(const DrawHistory& history, const std::vector<int>& reflects, TargetRange range,
                 const std::function<void(const WalkStep&)>& onStep,
                 const std::function<bool(int done, int total)>& keepGoing)
{
    const int total = keepGoing ? countTargets(history, range) : 0;
    int done = 0;
    MethodState state;
    WalkStep step;
    step.sets.resize(reflects.size());
    for (const Draw& draw : history.completeDraws()) {
        if (draw.number > range.to)
            break;
        if (state.started() && draw.number >= range.from) {
            step.target = draw.number;
            step.actual = draw.digits;
            for (std::size_t k = 0; k < reflects.size(); ++k)
                step.sets[k] = predictorSetsOf(predictDigits(state, reflects[k]));
            onStep(step);
            ++done;
            if (keepGoing && done % kProgressStep == 0 && !keepGoing(done, total))
                return false;
        }
        state.advance(draw);
    }
    if (keepGoing)
        return keepGoing(done, total);
    return true;
}

}  // namespace rumone
