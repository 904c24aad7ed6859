// The group division views: every past draw as one row with a mark in the
// column of each of its four digits, the digit values divided into groups
// of neighbouring values that are banded in colour. Three members share one
// design and differ only in the division (three, five or ten groups).
#pragma once

#include "core/analysis/AnalysisView.h"

namespace rumone {

AnalysisViewSpec groupDivision3View();   // 分割3データ分析: groups Ａ-Ｃ
AnalysisViewSpec groupDivision5View();   // 分割5データ分析: groups Ａ-Ｅ
AnalysisViewSpec groupDivision10View();  // 分割10データ分析: groups Ａ-Ｊ

}  // namespace rumone
