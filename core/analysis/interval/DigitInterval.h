// 数字間隔分析: for every draw, the signed step of each digit from the digit
// in the same position of the previous complete draw.
#pragma once

#include "core/analysis/AnalysisView.h"

namespace rumone {

AnalysisViewSpec digitIntervalView();

// Lays out and fills the digit interval table.
void buildDigitIntervalView(ResultGrid& grid, const DrawHistory& history);

}  // namespace rumone
