// The targets of a chart's track that carry a chance range.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "core/backtest/PredictorSets.h"

namespace rumone {

// How many targets of a chart's track carry a chance range.
inline constexpr std::size_t kBandPoints = 48;

// Up to `points` indexes of 0..count-1, evenly spread, first and last
// included.
std::vector<std::size_t> evenlySpread(std::size_t count, std::size_t points);

// The ranges of a track chosen as a walk goes, without knowing how long it
// will be: every step-th target, the step doubling (and every other point
// dropped) once more than kBandPoints - 1 are kept; the last target is
// added when the track is read. The points depend on the count of targets
// alone, so a walk continued later has the points of one made at once.
struct BandGrid {
    std::size_t step = 1;
    std::vector<std::size_t> at;  // indexes into the track's targets, ascending
    std::array<std::vector<float>, kPredictorCount> low;
    std::array<std::vector<float>, kPredictorCount> high;

    bool due(std::size_t index) const { return index % step == 0; }
    // Adds the point at `index` (due) with each predictor's range, then
    // thins the grid if it has grown too long.
    void add(std::size_t index, const std::array<float, kPredictorCount>& lows,
             const std::array<float, kPredictorCount>& highs);
    // The grid with the point at `last` added when it is not on it.
    template <typename Track, typename RangeAtLast>
    void readInto(Track& track, std::size_t last, RangeAtLast rangeAtLast) const
    {
        track.bandAt = at;
        track.bandLow = low;
        track.bandHigh = high;
        if (!at.empty() && at.back() == last)
            return;
        std::array<float, kPredictorCount> lows{}, highs{};
        rangeAtLast(lows, highs);
        track.bandAt.push_back(last);
        for (std::size_t i = 0; i < kPredictorCount; ++i) {
            track.bandLow[i].push_back(lows[i]);
            track.bandHigh[i].push_back(highs[i]);
        }
    }
};

}  // namespace rumone
