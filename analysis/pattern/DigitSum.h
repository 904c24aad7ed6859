// 数字合計分析: every complete draw with its four digits and their sum.
#pragma once

#include "analysis/AnalysisView.h"

namespace rumone {

AnalysisViewSpec DigitSumView();
void BuildDigitSumTable(ResultGrid& grid, const DrawHistory& history);

}  // namespace rumone
