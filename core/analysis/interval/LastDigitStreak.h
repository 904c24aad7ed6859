// 下一桁連続出現回数分析: for every digit 0-9 and every draw, how many times
// in a row the digit has just been drawn.
#pragma once

#include "core/analysis/AnalysisView.h"

namespace rumone {

AnalysisViewSpec lastDigitStreakView();

// Lays out and fills the streak table.
void buildLastDigitStreakView(ResultGrid& grid, const DrawHistory& history);

// The background of a cell that shows the run counter `counter` (1 or more).
Rgb streakBackground(int counter);

}  // namespace rumone
