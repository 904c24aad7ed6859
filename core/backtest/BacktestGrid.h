// The table of the verification view: one row per predictor with its
// targets, hits, hit rate beside the chance rate, the chance band, the
// all-four hits beside their expectation, and the verdict.
#pragma once

#include <string>

#include "core/backtest/Scoring.h"
#include "core/grid/ResultGrid.h"

namespace rumone {

inline constexpr int kScoreGridColumns = 9;

// Lays out `grid` and writes the board into it.
void fillScoreGrid(ResultGrid& grid, const Scoreboard& board);

// A figure with two decimal places ("12.50").
std::string twoDecimals(double value);
// A share as a percentage with two decimals ("27.34%").
std::string percentText(double share);

}  // namespace rumone
