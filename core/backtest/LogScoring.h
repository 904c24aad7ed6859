// Scoring the frozen prediction log against the draws entered since.
#pragma once

#include <vector>

#include "core/backtest/PredictionLog.h"
#include "core/backtest/Scoring.h"

namespace rumone {

// The logged predictions whose target is a complete draw of `history` and
// lies in `range`, as steps with one set of sets each (ascending target).
std::vector<WalkStep> loggedSteps(const std::vector<LoggedPrediction>& log, const DrawHistory& history,
                                  TargetRange range = {});

Scoreboard scoreSteps(const std::vector<WalkStep>& steps);

}  // namespace rumone
