// The chance law of the appearance count view: does a digit drawn often
// before come again more often? Each drawn digit's rank among the ten by
// the count before its draw.
#include <algorithm>
#include <array>
#include <numeric>
#include <string>

#include "core/analysis/chance/ChanceLaws.h"

namespace rumone {

namespace {

constexpr std::size_t kDigitValues = 10;

// rank[d]: 0 for the digit drawn most often so far, a tie to the smaller.
std::array<std::size_t, kDigitValues> ranksOf(const std::array<long, kDigitValues>& counts)
{
    std::array<std::size_t, kDigitValues> byCount{};
    std::iota(byCount.begin(), byCount.end(), std::size_t{0});
    std::stable_sort(byCount.begin(), byCount.end(),
                     [&counts](std::size_t a, std::size_t b) { return counts[a] > counts[b]; });
    std::array<std::size_t, kDigitValues> rank{};
    for (std::size_t r = 0; r < kDigitValues; ++r)
        rank[byCount[r]] = r;
    return rank;
}

}  // namespace

ChanceFigures earlierCountRankChance(std::span<const Draw> draws)
{
    ChanceFigures f;
    f.itemNoun = "順位";
    f.quantity = "当選数";
    f.axisTitle = "前回までの出現回数の順位（多い順、同数は小さい数字が先）";
    f.draws = static_cast<int>(draws.size());
    std::array<long, kDigitValues> counts{};
    std::array<long, kDigitValues> drawnAtRank{};
    for (const Draw& draw : draws) {
        const auto rank = ranksOf(counts);
        for (const int digit : draw.digits)
            ++drawnAtRank[rank[static_cast<std::size_t>(digit)]];
        for (const int digit : draw.digits)
            ++counts[static_cast<std::size_t>(digit)];
    }
    const long trials = 4L * static_cast<long>(draws.size());
    for (std::size_t r = 0; r < kDigitValues; ++r)
        f.items.push_back({std::to_string(r + 1) + "位", drawnAtRank[r], trials, 0.1, {}, {}});
    judgeSimultaneously(f);
    return f;
}

}  // namespace rumone
