#include "core/backtest/PredictorSets.h"

#include <array>
#include <bit>
#include <cstdint>

#include "core/predict/Prediction.h"

namespace rumone {

namespace {

// The size of every set of the ten digits, looked up: a walk asks for it
// at every target, and std::popcount is a library call where the
// processor's instruction is not assumed.
constexpr std::array<std::uint8_t, 1024> kSetSizes = [] {
    std::array<std::uint8_t, 1024> sizes{};
    for (unsigned set = 0; set < sizes.size(); ++set)
        sizes[set] = static_cast<std::uint8_t>(std::popcount(set));
    return sizes;
}();

}  // namespace

int setSize(DigitSet set)
{
    const auto bits = static_cast<unsigned>(set);
    return bits < kSetSizes.size() ? kSetSizes[bits] : std::popcount(bits);
}

std::string setText(DigitSet set)
{
    std::string text;
    for (int d = 0; d <= 9; ++d)
        if (set & digitBit(d))
            text += static_cast<char>('0' + d);
    return text.empty() ? "-" : text;
}

std::optional<DigitSet> parseSetText(std::string_view text)
{
    if (text == "-")
        return DigitSet{0};
    if (text.empty())
        return std::nullopt;
    DigitSet set = 0;
    int previous = -1;
    for (const char c : text) {
        const int d = c - '0';
        if (c < '0' || c > '9' || d <= previous)
            return std::nullopt;
        set |= digitBit(d);
        previous = d;
    }
    return set;
}

PredictorSets predictorSetsOf(const PredictedDigits& digits)
{
    PredictorSets out;
    for (std::size_t m = 0; m < digits.cycle.size(); ++m)
        for (std::size_t p = 0; p < 4; ++p)
            if (const int d = digits.cycle[m][p]; d != kNoDigit)
                out.sets[m][p] = digitBit(d);
    const std::array<const PlacedDigits*, 3> pools = {&digits.elimination, &digits.rapidFire, &digits.oneShot};
    for (std::size_t i = 0; i < pools.size(); ++i) {
        DigitSet pool = 0;
        for (const int d : *pools[i])
            pool |= digitBit(d);
        out.sets[kCycleMethodCount + i].fill(pool);
    }
    return out;
}

PredictorSets setsOfPrediction(const Prediction& prediction)
{
    return predictorSetsOf(prediction.digits());
}

PredictorSets recomputePredictorSets(const DrawHistory& history, int reflect)
{
    return setsOfPrediction(predictionOf(history, reflect));
}

}  // namespace rumone
