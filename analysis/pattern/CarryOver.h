// 引っ張り分析: every draw with the digits that the draw before it also
// held, in any position, highlighted.
#pragma once

#include "analysis/AnalysisView.h"

namespace rumone {

AnalysisViewSpec CarryOverView();
void BuildCarryOverTable(ResultGrid& grid, const DrawHistory& history);

}  // namespace rumone
