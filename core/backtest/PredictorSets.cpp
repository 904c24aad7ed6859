#include "core/backtest/PredictorSets.h"

#include <bit>

#include "core/predict/Prediction.h"

namespace rumone {

namespace {

// The digit of a one-digit cell text, or -1.
int cellDigit(const std::string& text)
{
    return text.size() == 1 && text[0] >= '0' && text[0] <= '9' ? text[0] - '0' : -1;
}

// Every distinct digit in columns 2-5 of rows 2 to the last.
DigitSet poolOf(const ResultGrid& grid)
{
    DigitSet pool = 0;
    for (int row = 2; row <= grid.rows(); ++row)
        for (int column = 2; column <= 5; ++column)
            if (const int d = cellDigit(grid.getText(column, row)); d >= 0)
                pool |= digitBit(d);
    return pool;
}

}  // namespace

int setSize(DigitSet set)
{
    return std::popcount(static_cast<unsigned>(set));
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

PredictorSets setsOfPrediction(const Prediction& prediction)
{
    PredictorSets out;
    const ResultGrid& cycle = *prediction.grid(Prediction::kCycleGrid);
    for (int m = 0; m < kCycleMethodCount; ++m)
        for (int p = 0; p < 4; ++p)
            if (const int d = cellDigit(cycle.getText(p + 2, m + 2)); d >= 0)
                out.sets[static_cast<std::size_t>(m)][static_cast<std::size_t>(p)] = digitBit(d);
    for (int g = Prediction::kEliminationGrid; g <= Prediction::kOneShotGrid; ++g) {
        const DigitSet pool = poolOf(*prediction.grid(g));
        out.sets[static_cast<std::size_t>(kCycleMethodCount + g - 1)].fill(pool);
    }
    return out;
}

PredictorSets recomputePredictorSets(const DrawHistory& history, int reflect)
{
    Prediction prediction;
    for (int i = 0; i < reflect && i < kOptionCount; ++i)
        prediction.setFlag(i, true);
    prediction.layOutGrids();
    prediction.scanDraws(history);
    return setsOfPrediction(prediction);
}

}  // namespace rumone
