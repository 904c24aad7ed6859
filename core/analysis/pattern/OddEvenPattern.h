// 偶数奇数の組合せパターン分析: each draw's mix of even and odd digits.
#pragma once

#include "core/analysis/AnalysisView.h"

namespace rumone {

AnalysisViewSpec oddEvenPatternView();
void buildOddEvenPatternTable(ResultGrid& grid, const DrawHistory& history);

}  // namespace rumone
