// 引っ張り分析: every draw with the digits that the draw before it also
// held, in any position, highlighted.
#pragma once

#include "core/analysis/AnalysisView.h"

namespace rumone {

AnalysisViewSpec carryOverView();
void buildCarryOverTable(ResultGrid& grid, const DrawHistory& history);

}  // namespace rumone
