// 連番飛び石分析: every draw twice side by side, neighbouring positions whose
// digits differ by 1 highlighted on the left, by 2 on the right.
#pragma once

#include "core/analysis/AnalysisView.h"

namespace rumone {

AnalysisViewSpec consecutiveSteppingView();
void buildConsecutiveSteppingTable(ResultGrid& grid, const DrawHistory& history);

}  // namespace rumone
