// The chance laws of the interval views: what follows an absence, a step
// or a run does not depend on it.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/analysis/chance/ChanceLaws.h"

namespace rumone {

namespace {

// A digit is among the four of a draw with chance 1 - 0.9^4.
const double kAppearChance = 1.0 - std::pow(0.9, 4);

struct Tally {
    long trials = 0;
    long successes = 0;
};

std::string bucketLabel(int bucket, int buckets)
{
    return bucket + 1 < buckets ? std::to_string(bucket) : std::to_string(bucket) + "以上";
}

ChanceFigures rateFigures(std::string noun, std::string quantity, std::string axis, int draws)
{
    ChanceFigures f;
    f.itemNoun = std::move(noun);
    f.quantity = std::move(quantity);
    f.axisTitle = std::move(axis);
    f.scale = ChanceScale::Rate;
    f.draws = draws;
    return f;
}

bool holds(const Draw& draw, int digit)
{
    for (int x : draw.digits)
        if (x == digit)
            return true;
    return false;
}

}  // namespace

ChanceFigures appearanceIntervalChance(std::span<const Draw> draws)
{
    ChanceFigures f =
        rateFigures("間隔", "次回の出現率", "前回までに続けて出ていない回数", static_cast<int>(draws.size()));
    std::array<Tally, kAbsenceBuckets> tally{};
    // The last draw (index) holding each digit; -1 while not yet seen, whose
    // absence is not known.
    std::array<long, 10> last;
    last.fill(-1);
    long longestAbsence = 0;
    for (std::size_t i = 0; i < draws.size(); ++i) {
        const long now = static_cast<long>(i);
        for (int digit = 0; digit < 10; ++digit) {
            long& seen = last[static_cast<std::size_t>(digit)];
            const bool present = holds(draws[i], digit);
            if (seen >= 0) {
                const long absence = std::min<long>(now - seen - 1, kAbsenceBuckets - 1);
                Tally& t = tally[static_cast<std::size_t>(absence)];
                ++t.trials;
                t.successes += present ? 1 : 0;
            }
            if (present) {
                longestAbsence = std::max(longestAbsence, now - seen - 1);
                seen = now;
            }
        }
    }
    for (int g = 0; g < kAbsenceBuckets; ++g) {
        const Tally& t = tally[static_cast<std::size_t>(g)];
        if (t.trials > 0)
            f.items.push_back({bucketLabel(g, kAbsenceBuckets), t.successes, t.trials, kAppearChance, {}, {}});
    }
    long longest = 0;
    for (const long seen : last)
        longest = std::max(longest, static_cast<long>(draws.size()) - seen - 1);
    longest = std::max(longest, longestAbsence);
    f.longest =
        longestFigure("不出現", longest, longestRunLaw(static_cast<long>(draws.size()), 1.0 - kAppearChance, 10));
    judgeSimultaneously(f);
    return f;
}

ChanceFigures digitStepChance(std::span<const Draw> draws)
{
    ChanceFigures f = rateFigures("", "出現率", "桁ごとの前回からの差", static_cast<int>(draws.size()));
    f.scale = ChanceScale::Count;
    std::array<std::array<long, 19>, 4> steps{};
    for (std::size_t i = 1; i < draws.size(); ++i)
        for (std::size_t k = 0; k < 4; ++k)
            ++steps[k][static_cast<std::size_t>(draws[i].digits[k] - draws[i - 1].digits[k] + 9)];
    const long pairs = draws.size() > 1 ? static_cast<long>(draws.size()) - 1 : 0;
    for (std::size_t k = 0; k < 4; ++k)
        for (int s = -9; s <= 9; ++s) {
            const std::string sign = s > 0 ? "+" : "";
            f.items.push_back({"第" + std::to_string(k + 1) + "数字" + sign + std::to_string(s),
                               steps[k][static_cast<std::size_t>(s + 9)],
                               pairs,
                               (10 - std::abs(s)) / 100.0,
                               {},
                               {}});
        }
    f.quantity = "出現回数";
    judgeSimultaneously(f);
    return f;
}

ChanceFigures lastDigitRunChance(std::span<const Draw> draws)
{
    constexpr int kRunBuckets = 4;  // runs of 1, 2, 3, then 4 or more
    ChanceFigures f = rateFigures("連続", "次回も続く率", "下一桁が続いた回数", static_cast<int>(draws.size()));
    std::array<Tally, kRunBuckets> tally{};
    int run = 0;
    long longest = 0;
    for (std::size_t i = 0; i < draws.size(); ++i) {
        const bool continues = i > 0 && draws[i].digits[3] == draws[i - 1].digits[3];
        if (run > 0) {
            Tally& t = tally[static_cast<std::size_t>(std::min(run, kRunBuckets) - 1)];
            ++t.trials;
            t.successes += continues ? 1 : 0;
        }
        run = continues ? run + 1 : 1;
        longest = std::max<long>(longest, run);
    }
    for (int r = 0; r < kRunBuckets; ++r) {
        const Tally& t = tally[static_cast<std::size_t>(r)];
        if (t.trials > 0)
            f.items.push_back({bucketLabel(r + 1, kRunBuckets + 1), t.successes, t.trials, 0.1, {}, {}});
    }
    // A run is one draw and every draw after it that continues it.
    std::vector<double> atMost = longestRunLaw(static_cast<long>(draws.size()) - 1, 0.1, 1);
    atMost.insert(atMost.begin(), draws.empty() ? 1.0 : 0.0);
    f.longest = longestFigure("連続", longest, atMost);
    judgeSimultaneously(f);
    return f;
}

}  // namespace rumone
