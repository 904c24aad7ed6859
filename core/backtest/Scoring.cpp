#include "core/backtest/Scoring.h"

#include "core/backtest/WalkKeeper.h"

namespace rumone {

namespace {

// A set of s digits: s * 1,000 over 10,000.
int chanceOf(DigitSet set)
{
    return setSize(set) * (kChanceScale / 10);
}

}  // namespace

int hitsOf(const PositionSets& sets, const std::array<int, 4>& actual)
{
    int hits = 0;
    for (std::size_t p = 0; p < 4; ++p)
        if (actual[p] >= 0 && actual[p] <= 9 && (sets[p] & digitBit(actual[p])))
            ++hits;
    return hits;
}

void Tally::add(const PositionSets& sets, const std::array<int, 4>& actual)
{
    const int h = hitsOf(sets, actual);
    ++targets;
    hits += h;
    if (h == 4)
        ++allFourHits;
    int all = 1;  // product of the set sizes: the chance over 10,000
    for (const DigitSet set : sets) {
        hitTrials.add(chanceOf(set));
        expected += setSize(set) / 10.0;
        all *= setSize(set);
    }
    allFourTrials.add(all);
    allFourExpected += double(all) / kChanceScale;
}

CountFigures Tally::hitFigures() const
{
    return chanceFiguresOf(hitTrials, hits);
}

CountFigures Tally::allFourFigures() const
{
    return chanceFiguresOf(allFourTrials, allFourHits);
}

double Tally::hitRate() const
{
    return targets > 0 ? hits / (4.0 * targets) : 0;
}

double Tally::chanceRate() const
{
    return targets > 0 ? expected / (4.0 * targets) : 0;
}

Verdict verdictOf(int targets, const CountFigures& figures)
{
    if (targets == 0)
        return Verdict::NoTargets;
    if (targets < kMinVerdictTargets)
        return Verdict::TooFew;
    if (figures.observed < figures.low)
        return Verdict::Below;
    if (figures.observed > figures.high)
        return Verdict::Above;
    return Verdict::Within;
}

std::string verdictText(Verdict verdict, int targets)
{
    switch (verdict) {
        case Verdict::NoTargets:
            return "検証できる回がありません";
        case Verdict::TooFew:
            return "判定には回数が足りません（" + std::to_string(targets) + "回）";
        case Verdict::Below:
            return "偶然の範囲を下回っています";
        case Verdict::Within:
            return "偶然の範囲内です";
        case Verdict::Above:
            return "偶然の範囲を上回っています";
    }
    return "";
}

std::optional<BacktestResult> runBacktest(const DrawHistory& history, int reflect, TargetRange range,
                                          const std::function<bool(int done, int total)>& keepGoing)
{
    BacktestSteps steps(nullptr, history, reflect, range, keepGoing);
    std::optional<BacktestResult> result = steps.walkShown();
    if (!result || !steps.walkEvery(*result))
        return std::nullopt;
    return result;
}

}  // namespace rumone
