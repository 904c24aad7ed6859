#include "core/predict/Prediction.h"

#include <algorithm>
#include <string>

namespace rumone {

namespace {

// The data area of every prediction grid starts at column 2, row 2.
constexpr int kFirstDataColumn = 2;
constexpr int kLastDataColumn = 5;
constexpr int kFirstDataRow = 2;

std::string digitText(int digit)
{
    return digit == kNoDigit ? std::string() : std::to_string(digit);
}

// Clears the data area (columns 2-5 of rows 2 to the last) and writes the
// digits into it, four cells a row, left to right, then down.
void placeDigits(ResultGrid& grid, const PlacedDigits& digits)
{
    grid.clearText(Block{kFirstDataColumn, kFirstDataRow, kLastDataColumn, grid.rows()});
    int cell = 0;
    for (const int d : digits) {
        grid.setText(kFirstDataColumn + cell % 4, kFirstDataRow + cell / 4, digitText(d));
        ++cell;
    }
}

}  // namespace

Prediction::Prediction() : digits_(predictDigits(state_, 0))
{
    for (auto& grid : grids_)
        grid = std::make_shared<ResultGrid>();
}

bool Prediction::flag(int index) const
{
    return index >= 0 && index < kOptionCount && options_.flags[static_cast<std::size_t>(index)];
}

void Prediction::setFlag(int index, bool reflect)
{
    if (index < 0 || index >= kOptionCount)
        return;
    options_.flags[static_cast<std::size_t>(index)] = reflect;
    computePredictions();
}

int Prediction::countReflectedOptions() const
{
    return static_cast<int>(std::count(options_.flags.begin(), options_.flags.end(), true));
}

std::shared_ptr<ResultGrid> Prediction::grid(int index) const
{
    if (index < 0 || index >= kPredictionGridCount)
        return nullptr;
    return grids_[static_cast<std::size_t>(index)];
}

void Prediction::scanDraws(const DrawHistory& history)
{
    state_ = methodStateOf(history);
    computePredictions();
}

bool Prediction::scanLatestDraws(const LatestDraws& latest)
{
    std::optional<MethodState> state = methodStateOf(latest);
    if (!state)
        return false;
    state_ = std::move(*state);
    computePredictions();
    return true;
}

void Prediction::computePredictions()
{
    digits_ = predictDigits(state_, countReflectedOptions());
    fillGrids();
}

// Grid 0 shows all sixteen cycle digits, an empty cell for none; grids 1-3
// their digits in placement order.
void Prediction::fillGrids() const
{
    ResultGrid& cycle = *grids_[kCycleGrid];
    for (int m = 0; m < kCycleMethodCount; ++m)
        for (int p = 0; p < 4; ++p)
            cycle.setText(p + 2, m + 2,
                          digitText(digits_.cycle[static_cast<std::size_t>(m)][static_cast<std::size_t>(p)]));
    placeDigits(*grids_[kEliminationGrid], digits_.elimination);
    placeDigits(*grids_[kRapidFireGrid], digits_.rapidFire);
    placeDigits(*grids_[kOneShotGrid], digits_.oneShot);
}

bool latestDrawsSettlePrediction(const LatestDraws& latest)
{
    return methodStateOf(latest).has_value();
}

Prediction predictionOf(const DrawHistory& history, int reflect)
{
    Prediction prediction;
    for (int i = 0; i < reflect && i < kOptionCount; ++i)
        prediction.setFlag(i, true);
    prediction.layOutGrids();
    prediction.scanDraws(history);
    return prediction;
}

}  // namespace rumone
