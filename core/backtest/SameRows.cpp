#include "core/backtest/SameRows.h"

namespace rumone {

SameRows::SameRows()
{
    for (auto& rows : equal_)
        for (auto& row : rows)
            row.set();
}

void SameRows::add(const std::vector<PredictorSets>& sets)
{
    for (std::size_t i = 0; i < kPredictorCount; ++i)
        for (std::size_t k = 0; k < sets.size() && k < kReflectCounts; ++k)
            for (std::size_t other = k + 1; other < sets.size() && other < kReflectCounts; ++other)
                if (equal_[i][k][other] && sets[k].sets[i] != sets[other].sets[i]) {
                    equal_[i][k][other] = false;
                    equal_[i][other][k] = false;
                }
}

int SameRows::firstEqual(int predictor, int reflect) const
{
    const auto& row = equal_[static_cast<std::size_t>(predictor)][static_cast<std::size_t>(reflect)];
    for (int k = 0; k < reflect; ++k)
        if (row[static_cast<std::size_t>(k)])
            return k;
    return reflect;
}

}  // namespace rumone
