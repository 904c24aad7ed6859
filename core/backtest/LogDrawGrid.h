// The frozen log draw by draw: for each recorded prediction whose draw is
// entered, one row per predictor with what was predicted and what was
// drawn, the hits beside the chance of exactly that many, and what its
// tickets cost and would have paid at the theoretical prizes.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/backtest/WalkForward.h"
#include "core/grid/ResultGrid.h"

namespace rumone {

inline constexpr int kLogDrawGridColumns = 7;
// Rows shown at once; the rest scroll.
inline constexpr int kLogDrawRowsShown = 8;

struct LoggedOutcome {
    int target = 0;
    int predictor = 0;
    std::string text;  // "予想 6423 → 当選 6429"
    int hits = 0;
    double chanceOfHits = 0;  // P(exactly `hits`) for digits drawn at random
    long long cost = 0;       // yen
    long long paid = 0;       // yen, theoretical prizes
};

// One outcome per step and predictor, latest target first.
std::vector<LoggedOutcome> loggedOutcomes(const std::vector<WalkStep>& steps);

// "予想 6423 → 当選 6429"; a pool reads "予想 各位置0129", sets that differ
// by position "予想 6/4/-/39".
std::string predictedAndDrawnText(const PositionSets& sets, const std::array<int, 4>& actual);

// Lays out `grid` and writes the outcomes into it.
void fillLogDrawGrid(ResultGrid& grid, const std::vector<LoggedOutcome>& outcomes);

}  // namespace rumone
