#include "core/analysis/chance/ChanceFigures.h"

#include <algorithm>

namespace rumone {

namespace {

constexpr double kFamilyLevel = 0.05;

}  // namespace

bool ChanceFigures::allWithin() const
{
    return std::all_of(items.begin(), items.end(),
                       [](const ChanceItem& i) { return i.verdict == ChanceVerdict::Within; });
}

double simultaneousLevel(std::size_t items)
{
    return kFamilyLevel / static_cast<double>(std::max<std::size_t>(items, 1));
}

void judgeSimultaneously(ChanceFigures& figures)
{
    const double level = simultaneousLevel(figures.items.size());
    figures.judged = figures.draws >= kMinVerdictDraws;
    for (ChanceItem& item : figures.items) {
        item.range = binomialRange(item.trials, item.p, level);
        item.verdict = !figures.judged                   ? ChanceVerdict::Within
                       : item.observed > item.range.high ? ChanceVerdict::Above
                       : item.observed < item.range.low  ? ChanceVerdict::Below
                                                         : ChanceVerdict::Within;
    }
}

std::span<const Draw> latestDraws(const DrawHistory& history, int lastN)
{
    std::span<const Draw> all(history.completeDraws());
    if (lastN <= 0 || static_cast<std::size_t>(lastN) >= all.size())
        return all;
    return all.subspan(all.size() - static_cast<std::size_t>(lastN));
}

const char* verdictWord(const ChanceFigures& figures, ChanceVerdict verdict)
{
    if (!figures.judged)
        return "none";
    switch (verdict) {
        case ChanceVerdict::Above:
            return "above";
        case ChanceVerdict::Below:
            return "below";
        case ChanceVerdict::Within:
            break;
    }
    return "within";
}

}  // namespace rumone
