#include "core/backtest/Scoring.h"

#include <cmath>

namespace rumone {

namespace {

// Two-sided 95 %.
constexpr double kBandSigmas = 1.96;

double chanceOf(DigitSet set)
{
    return setSize(set) / 10.0;
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
    double all = 1;
    for (const DigitSet set : sets) {
        const double q = chanceOf(set);
        expected += q;
        variance += q * (1 - q);
        all *= q;
    }
    allFourExpected += all;
}

double Tally::low() const
{
    return expected - kBandSigmas * std::sqrt(variance);
}

double Tally::high() const
{
    return expected + kBandSigmas * std::sqrt(variance);
}

double Tally::hitRate() const
{
    return targets > 0 ? hits / (4.0 * targets) : 0;
}

double Tally::chanceRate() const
{
    return targets > 0 ? expected / (4.0 * targets) : 0;
}

Verdict verdictOf(const Tally& tally)
{
    if (tally.targets == 0)
        return Verdict::NoTargets;
    if (tally.hits < tally.low())
        return Verdict::Below;
    if (tally.hits > tally.high())
        return Verdict::Above;
    return Verdict::Within;
}

const char* verdictText(Verdict verdict)
{
    switch (verdict) {
        case Verdict::NoTargets:
            return "検証できる回がありません";
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
    BacktestResult result;
    result.reflect = reflect;
    const auto onStep = [&result](const WalkStep& step) {
        result.track.targets.push_back(step.target);
        for (std::size_t i = 0; i < kPredictorCount; ++i) {
            Tally& tally = result.board[i];
            tally.add(step.sets.front().sets[i], step.actual);
            result.track.excess[i].push_back(static_cast<float>(tally.hits - tally.expected));
            result.track.halfBand[i].push_back(static_cast<float>(kBandSigmas * std::sqrt(tally.variance)));
        }
    };
    if (!walkForward(history, {reflect}, range, onStep, keepGoing))
        return std::nullopt;
    return result;
}

}  // namespace rumone
