// バラツキ分析: a dot chart of the whole history, one row per draw and one
// narrow column per digit value, marked where the draw contains the digit.
#pragma once

#include "core/analysis/AnalysisView.h"

namespace rumone {

AnalysisViewSpec dispersionView();

// Runs setupDispersionGrid, writeDispersionHeader and fillDispersionTable.
void buildDispersionView(ResultGrid& grid, const DrawHistory& history);

}  // namespace rumone
