// 出現頻度分析: for each digit a column of marks, one per appearance in any
// position over the whole history, drawn as a bar chart of table cells.
#pragma once

#include "core/analysis/AnalysisView.h"

namespace rumone {

AnalysisViewSpec appearanceFrequencyView();

// Lays out the chart and places the marks.
void buildFrequencyView(ResultGrid& grid, const DrawHistory& history);

}  // namespace rumone
