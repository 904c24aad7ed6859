// 数字合計分析: every complete draw with its four digits and their sum.
#pragma once

#include "core/analysis/AnalysisView.h"

namespace rumone {

AnalysisViewSpec digitSumView();
void buildDigitSumTable(ResultGrid& grid, const DrawHistory& history);

}  // namespace rumone
