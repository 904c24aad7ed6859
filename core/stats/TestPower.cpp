#include "core/stats/TestPower.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace rumone {

namespace {

constexpr long kMostDraws = 1L << 40;

std::vector<BinomialPart> scaledTo(const TrialCounts& history, long draws, long to)
{
    std::vector<BinomialPart> parts = history.parts();
    for (BinomialPart& part : parts)
        part.trials = std::llround(double(part.trials) * double(to) / double(draws));
    return parts;
}

}  // namespace

double powerOf(std::span<const BinomialPart> parts, double better, double level)
{
    const ChanceRange range = rangeOf(CountDistribution(parts), level);
    std::vector<BinomialPart> shifted(parts.begin(), parts.end());
    for (BinomialPart& part : shifted)
        part.chance = std::min(1.0, part.chance * better);
    const CountDistribution d(shifted);
    return d.below(range.low) + d.above(range.high);
}

// Doubled until the power is reached, then halved back to the fewest.
long drawsToTell(const TrialCounts& history, long draws, double better, double level, double power)
{
    if (draws <= 0)
        return 0;
    const auto reaches = [&](long n) { return powerOf(scaledTo(history, draws, n), better, level) >= power; };
    long high = 1;
    while (!reaches(high)) {
        if (high >= kMostDraws)
            return 0;
        high *= 2;
    }
    long low = high / 2;  // does not reach, or 0
    while (high - low > 1) {
        const long mid = low + (high - low) / 2;
        (reaches(mid) ? high : low) = mid;
    }
    return high;
}

}  // namespace rumone
