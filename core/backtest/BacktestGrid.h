// The table of the verification view: one row per predictor with its
// targets, hits, hit rate beside the chance rate, the exact chance range,
// the verdict, and the all-four hits beside their expectation, range and
// verdict.
#pragma once

#include <span>
#include <string>

#include "core/backtest/Scoring.h"
#include "core/grid/ResultGrid.h"

namespace rumone {

inline constexpr int kScoreGridColumns = 11;

// A table of `rows` rows, the header row included: sized, centred and
// ruled, the header row in the view's colours.
void layOutTable(ResultGrid& grid, std::span<const char* const> headers, std::span<const int> widths, int rows);

// Lays out `grid` and writes the board into it.
void fillScoreGrid(ResultGrid& grid, const Scoreboard& board);

// The background of a verdict's cell: white within the range or without a
// verdict, and a plain marker colour, not one of success, outside it.
Rgb verdictColour(Verdict verdict);

// "12 〜 31".
std::string rangeText(const CountFigures& figures);

// A figure with two decimal places ("12.50").
std::string twoDecimals(double value);
// A share as a percentage with two decimals ("27.34%").
std::string percentText(double share);

}  // namespace rumone
