#include "core/backtest/BandTargets.h"

namespace rumone {

std::vector<std::size_t> evenlySpread(std::size_t count, std::size_t points)
{
    std::vector<std::size_t> at;
    if (count == 0 || points == 0)
        return at;
    if (count <= points || points == 1) {
        for (std::size_t i = 0; i < count; ++i)
            at.push_back(i);
        return points == 1 ? std::vector<std::size_t>{count - 1} : at;
    }
    for (std::size_t j = 0; j < points; ++j)
        at.push_back(j * (count - 1) / (points - 1));
    return at;
}

}  // namespace rumone

namespace rumone {

void BandGrid::add(std::size_t index, const std::array<float, kPredictorCount>& lows,
                   const std::array<float, kPredictorCount>& highs)
{
    at.push_back(index);
    for (std::size_t i = 0; i < kPredictorCount; ++i) {
        low[i].push_back(lows[i]);
        high[i].push_back(highs[i]);
    }
    if (at.size() < kBandPoints)
        return;
    step *= 2;
    std::size_t kept = 0;
    for (std::size_t j = 0; j < at.size(); ++j) {
        if (!due(at[j]))
            continue;
        at[kept] = at[j];
        for (std::size_t i = 0; i < kPredictorCount; ++i) {
            low[i][kept] = low[i][j];
            high[i][kept] = high[i][j];
        }
        ++kept;
    }
    at.resize(kept);
    for (std::size_t i = 0; i < kPredictorCount; ++i) {
        low[i].resize(kept);
        high[i].resize(kept);
    }
}

}  // namespace rumone
