// 低数字高数字の組合せパターン分析: each draw's mix of low (0-4) and high
// (5-9) digits.
#pragma once

#include "core/analysis/AnalysisView.h"

namespace rumone {

AnalysisViewSpec lowHighPatternView();
void buildLowHighPatternTable(ResultGrid& grid, const DrawHistory& history);

}  // namespace rumone
