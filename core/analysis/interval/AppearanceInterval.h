// 出現間隔分析: for every draw and each of its four digits, how many draws
// earlier that digit was last drawn, in any position.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "core/analysis/AnalysisView.h"

namespace rumone {

AnalysisViewSpec appearanceIntervalView();

// Lays out and fills the appearance interval table.
void buildAppearanceIntervalView(ResultGrid& grid, const DrawHistory& history);

// The intervals of each stored row, in the order of storedRows(): for a
// complete draw numbered n, entry p is n - i for the highest draw number
// i < n whose complete draw holds digit p in any position, or 0 when no
// earlier draw holds it; nullopt for an incomplete row. Draw numbers that
// have no complete draw match nothing.
using DrawIntervals = std::optional<std::array<int, 4>>;
std::vector<DrawIntervals> appearanceIntervals(const DrawHistory& history);

}  // namespace rumone
