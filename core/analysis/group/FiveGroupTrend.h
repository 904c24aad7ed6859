// The five-group trend view: every past draw with its four digits coloured
// by the group of two neighbouring values each belongs to, and how many of
// them fall into each group.
#pragma once

#include "core/analysis/AnalysisView.h"

namespace rumone {

AnalysisViewSpec fiveGroupTrendView();  // 分割5傾向分析

}  // namespace rumone
