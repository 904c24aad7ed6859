// 出現回数分析: every draw with, beside each of its digits, how many times
// that digit had been drawn in all earlier draws together.
#pragma once

#include "core/analysis/AnalysisView.h"

namespace rumone {

AnalysisViewSpec appearanceCountView();

// Runs setupCountGrid, writeCountHeader and fillCountTable.
void buildCountView(ResultGrid& grid, const DrawHistory& history);

}  // namespace rumone
