// The two figures a player needs beside a method's record, per predictor:
// how many draws it takes to tell a method a tenth better than chance from
// chance (hits, straight wins), and what a year of following it costs.
#pragma once

#include <string>

#include "core/backtest/Scoring.h"
#include "core/grid/ResultGrid.h"

namespace rumone {

inline constexpr double kBetterThanChance = 1.1;
inline constexpr double kPowerWanted = 0.8;

struct Outlook {
    long hitDraws = 0;       // 0: no hits scored
    long straightDraws = 0;  // 0: no straight tickets
    YearFigures year;
};
using OutlookBoard = std::array<Outlook, kPredictorCount>;

// At the level every comparison of the verification is corrected to.
OutlookBoard outlookOf(const BacktestResult& result);
void fillOutlookGrid(ResultGrid& grid, const OutlookBoard& board);
// The line above the table, with the history's length.
std::string outlookText(int targets);

}  // namespace rumone
