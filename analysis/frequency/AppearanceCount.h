// 出現回数分析: every draw with, beside each of its digits, how many times
// that digit had been drawn in all earlier draws together.
#pragma once

#include "analysis/AnalysisView.h"

namespace rumone {

AnalysisViewSpec AppearanceCountView();

// Runs SetupCountGrid, WriteCountHeader and FillCountTable.
void BuildCountView(ResultGrid& grid, const DrawHistory& history);

}  // namespace rumone
