// The targets of a chart's track that carry a chance range.
#pragma once

#include <cstddef>
#include <vector>

namespace rumone {

// How many targets of a chart's track carry a chance range.
inline constexpr std::size_t kBandPoints = 48;

// Up to `points` indexes of 0..count-1, evenly spread, first and last
// included.
std::vector<std::size_t> evenlySpread(std::size_t count, std::size_t points);

}  // namespace rumone
