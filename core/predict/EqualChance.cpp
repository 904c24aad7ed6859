#include "core/predict/EqualChance.h"

#include <tuple>

#include "core/history/DrawHistory.h"

namespace rumone {

namespace {

// The values a position takes: digits 0-9.
constexpr long kDigitValues = 10;
constexpr std::size_t kPositions = std::tuple_size_v<decltype(Draw::digits)>;

}  // namespace

std::string equalChanceText()
{
    long numbers = 1;
    for (std::size_t p = 0; p < kPositions; ++p)
        numbers *= kDigitValues;
    return "各位置にどの数字も" + std::to_string(kDigitValues) + "分の1、" + std::to_string(kPositions) +
           "桁の並びはどれも" + std::to_string(numbers) + "分の1の確率で出ます。予想の数字も同じです。";
}

}  // namespace rumone
