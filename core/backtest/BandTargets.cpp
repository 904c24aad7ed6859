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
