// 回数別出現分析: the digits grouped by how often each has been drawn, one
// row per distinct appearance count in ascending order.
#pragma once

#include "core/analysis/AnalysisView.h"

namespace rumone {

AnalysisViewSpec appearanceByCountView();

// Lays out the table and writes one row per appearance count.
void buildByCountView(ResultGrid& grid, const DrawHistory& history);

}  // namespace rumone
