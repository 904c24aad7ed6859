#include "core/backtest/LogScoring.h"

#include <algorithm>

namespace rumone {

std::vector<WalkStep> loggedSteps(const std::vector<LoggedPrediction>& log, const DrawHistory& history,
                                  TargetRange range)
{
    const auto& draws = history.completeDraws();
    std::vector<WalkStep> steps;
    for (const LoggedPrediction& entry : log) {
        if (entry.target < range.from || entry.target > range.to)
            continue;
        const auto found =
            std::find_if(draws.begin(), draws.end(), [&entry](const Draw& d) { return d.number == entry.target; });
        if (found == draws.end())
            continue;  // not drawn, or not entered yet
        WalkStep step;
        step.target = entry.target;
        step.actual = found->digits;
        step.sets = {entry.sets};
        steps.push_back(std::move(step));
    }
    std::sort(steps.begin(), steps.end(), [](const WalkStep& a, const WalkStep& b) { return a.target < b.target; });
    return steps;
}

Scoreboard scoreSteps(const std::vector<WalkStep>& steps)
{
    Scoreboard board;
    for (const WalkStep& step : steps)
        for (std::size_t i = 0; i < kPredictorCount; ++i)
            board[i].add(step.sets.front().sets[i], step.actual);
    return board;
}

}  // namespace rumone
