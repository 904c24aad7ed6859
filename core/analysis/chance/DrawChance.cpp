// The chance laws of figures counted once per draw, or once per position.
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <string>

#include "core/analysis/chance/ChanceLaws.h"

namespace rumone {

namespace {

using Digits = std::array<int, 4>;

// The law of a figure of one draw, from all 10,000 equally likely draws.
std::vector<double> drawLaw(int outcomes, const std::function<int(const Digits&)>& figure)
{
    std::vector<double> law(static_cast<std::size_t>(outcomes), 0.0);
    for (int n = 0; n < 10000; ++n) {
        const Digits d{n / 1000, n / 100 % 10, n / 10 % 10, n % 10};
        law[static_cast<std::size_t>(figure(d))] += 1.0 / 10000.0;
    }
    return law;
}

ChanceFigures figuresOf(std::string noun, std::string quantity, std::string axis, int draws)
{
    ChanceFigures f;
    f.itemNoun = std::move(noun);
    f.quantity = std::move(quantity);
    f.axisTitle = std::move(axis);
    f.draws = draws;
    return f;
}

int drawCount(std::span<const Draw> draws)
{
    return static_cast<int>(draws.size());
}

// One item per outcome of a per-draw figure: observed draws with that
// outcome out of all the draws.
ChanceFigures perDrawFigures(std::span<const Draw> draws, ChanceFigures f, const std::vector<double>& law,
                             const std::function<int(const Digits&)>& figure,
                             const std::function<std::string(int)>& label)
{
    std::vector<long> observed(law.size(), 0);
    for (const Draw& d : draws)
        ++observed[static_cast<std::size_t>(figure(d.digits))];
    for (std::size_t k = 0; k < law.size(); ++k)
        f.items.push_back({label(static_cast<int>(k)), observed[k], drawCount(draws), law[k], {}, {}});
    judgeSimultaneously(f);
    return f;
}

std::string plain(int k)
{
    return std::to_string(k);
}

int lowDigits(const Digits& d)
{
    return static_cast<int>(std::count_if(d.begin(), d.end(), [](int x) { return x <= 4; }));
}

int evenDigits(const Digits& d)
{
    return static_cast<int>(std::count_if(d.begin(), d.end(), [](int x) { return x % 2 == 0; }));
}

int distinctDigits(const Digits& d)
{
    Digits s = d;
    std::sort(s.begin(), s.end());
    return static_cast<int>(std::unique(s.begin(), s.end()) - s.begin());
}

int neighbourPairs(const Digits& d, int gap)
{
    int pairs = 0;
    for (int k = 0; k < 3; ++k)
        pairs += std::abs(d[k] - d[k + 1]) == gap ? 1 : 0;
    return pairs;
}

// Full-width letters name the groups, as the tables do.
std::string groupLetter(int group)
{
    static const std::array<const char*, 10> letters = {"Ａ", "Ｂ", "Ｃ", "Ｄ", "Ｅ", "Ｆ", "Ｇ", "Ｈ", "Ｉ", "Ｊ"};
    return letters[static_cast<std::size_t>(group)];
}

// Per position and group: positions holding a digit of the group, n trials
// of chance (group size) / 10. `bounds` lists each group's first digit.
ChanceFigures groupFigures(std::span<const Draw> draws, const std::vector<int>& bounds)
{
    ChanceFigures f = figuresOf("", "出現数", "桁とグループ", drawCount(draws));
    const int groups = static_cast<int>(bounds.size());
    auto groupOf = [&](int digit) {
        return static_cast<int>(std::upper_bound(bounds.begin(), bounds.end(), digit) - bounds.begin()) - 1;
    };
    for (int position = 0; position < 4; ++position) {
        std::vector<long> observed(static_cast<std::size_t>(groups), 0);
        for (const Draw& d : draws)
            ++observed[static_cast<std::size_t>(groupOf(d.digits[position]))];
        for (int g = 0; g < groups; ++g) {
            const int last = g + 1 < groups ? bounds[static_cast<std::size_t>(g) + 1] : 10;
            const double p = (last - bounds[static_cast<std::size_t>(g)]) / 10.0;
            f.items.push_back({"第" + std::to_string(position + 1) + "数字" + groupLetter(g),
                               observed[static_cast<std::size_t>(g)],
                               drawCount(draws),
                               p,
                               {},
                               {}});
        }
    }
    judgeSimultaneously(f);
    return f;
}

std::array<long, 10> digitCounts(std::span<const Draw> draws)
{
    std::array<long, 10> counts{};
    for (const Draw& d : draws)
        for (int x : d.digits)
            ++counts[static_cast<std::size_t>(x)];
    return counts;
}

}  // namespace

ChanceFigures digitFrequencyChance(std::span<const Draw> draws)
{
    ChanceFigures f = figuresOf("数字", "出現数", "数字", drawCount(draws));
    const std::array<long, 10> counts = digitCounts(draws);
    for (int digit = 0; digit < 10; ++digit)
        f.items.push_back({plain(digit), counts[static_cast<std::size_t>(digit)], 4L * drawCount(draws), 0.1, {}, {}});
    judgeSimultaneously(f);
    return f;
}

ChanceFigures digitsByCountChance(std::span<const Draw> draws)
{
    ChanceFigures f = digitFrequencyChance(draws);
    f.axisTitle = "数字（出現数の多い順）";
    std::stable_sort(f.items.begin(), f.items.end(),
                     [](const ChanceItem& a, const ChanceItem& b) { return a.observed > b.observed; });
    return f;
}

ChanceFigures digitSumChance(std::span<const Draw> draws)
{
    auto sum = [](const Digits& d) { return d[0] + d[1] + d[2] + d[3]; };
    return perDrawFigures(draws, figuresOf("合計", "出現回数", "4つの数字の合計", drawCount(draws)), drawLaw(37, sum),
                          sum, plain);
}

ChanceFigures lowHighChance(std::span<const Draw> draws)
{
    return perDrawFigures(draws, figuresOf("低数字", "出現回数", "低数字（0～4）の個数", drawCount(draws)),
                          drawLaw(5, lowDigits), lowDigits, [](int k) { return plain(k); });
}

ChanceFigures oddEvenChance(std::span<const Draw> draws)
{
    return perDrawFigures(draws, figuresOf("偶数", "出現回数", "偶数の個数", drawCount(draws)), drawLaw(5, evenDigits),
                          evenDigits, [](int k) { return plain(k); });
}

ChanceFigures dispersionChance(std::span<const Draw> draws)
{
    // Items 4, 3, 2, 1 distinct digits: outcome 4 - distinct.
    auto figure = [](const Digits& d) { return 4 - distinctDigits(d); };
    return perDrawFigures(draws, figuresOf("種類数", "出現回数", "異なる数字の個数", drawCount(draws)),
                          drawLaw(4, figure), figure, [](int k) { return plain(4 - k); });
}

ChanceFigures carryOverChance(std::span<const Draw> draws)
{
    ChanceFigures f = figuresOf("引っ張り", "出現回数", "前回の数字を含む個数", 0);
    // Given D distinct digits in the draw before, each digit is one of them
    // with chance D / 10, independently.
    const std::vector<double> distinct = drawLaw(5, distinctDigits);
    std::array<double, 5> law{};
    for (int d = 1; d <= 4; ++d) {
        const double share = d / 10.0;
        for (int k = 0; k <= 4; ++k) {
            const double ways = k == 0 || k == 4 ? 1 : k == 2 ? 6 : 4;
            law[static_cast<std::size_t>(k)] +=
                distinct[static_cast<std::size_t>(d)] * ways * std::pow(share, k) * std::pow(1 - share, 4 - k);
        }
    }
    std::array<long, 5> observed{};
    for (std::size_t i = 1; i < draws.size(); ++i) {
        const Digits& before = draws[i - 1].digits;
        int carried = 0;
        for (int x : draws[i].digits)
            carried += std::find(before.begin(), before.end(), x) != before.end() ? 1 : 0;
        ++observed[static_cast<std::size_t>(carried)];
    }
    const long pairs = draws.size() > 1 ? static_cast<long>(draws.size()) - 1 : 0;
    f.draws = drawCount(draws);
    for (int k = 0; k <= 4; ++k)
        f.items.push_back(
            {plain(k), observed[static_cast<std::size_t>(k)], pairs, law[static_cast<std::size_t>(k)], {}, {}});
    judgeSimultaneously(f);
    return f;
}

ChanceFigures consecutiveSteppingChance(std::span<const Draw> draws)
{
    ChanceFigures f = figuresOf("", "出現回数", "隣り合う数字の組の数", drawCount(draws));
    for (const auto& [gap, name] : {std::pair{1, std::string("連番")}, std::pair{2, std::string("飛び石")}}) {
        auto figure = [gap](const Digits& d) { return neighbourPairs(d, gap); };
        const std::vector<double> law = drawLaw(4, figure);
        std::array<long, 4> observed{};
        for (const Draw& d : draws)
            ++observed[static_cast<std::size_t>(figure(d.digits))];
        for (int k = 0; k < 4; ++k)
            f.items.push_back({name + plain(k) + "組",
                               observed[static_cast<std::size_t>(k)],
                               drawCount(draws),
                               law[static_cast<std::size_t>(k)],
                               {},
                               {}});
    }
    judgeSimultaneously(f);
    return f;
}

ChanceFigures groupDivision3Chance(std::span<const Draw> draws)
{
    return groupFigures(draws, {0, 3, 6});
}

ChanceFigures groupDivision5Chance(std::span<const Draw> draws)
{
    return groupFigures(draws, {0, 2, 4, 6, 8});
}

ChanceFigures groupDivision10Chance(std::span<const Draw> draws)
{
    return groupFigures(draws, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
}

ChanceFigures fiveGroupTrendChance(std::span<const Draw> draws)
{
    ChanceFigures f = figuresOf("グループ", "出現数", "グループ", drawCount(draws));
    const std::array<long, 10> counts = digitCounts(draws);
    for (int g = 0; g < 5; ++g)
        f.items.push_back({plain(2 * g) + "～" + plain(2 * g + 1),
                           counts[static_cast<std::size_t>(2 * g)] + counts[static_cast<std::size_t>(2 * g + 1)],
                           4L * drawCount(draws),
                           0.2,
                           {},
                           {}});
    judgeSimultaneously(f);
    return f;
}

}  // namespace rumone
