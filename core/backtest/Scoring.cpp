#include "core/backtest/Scoring.h"

#include "core/backtest/BandTargets.h"

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

namespace {

// The chance range of the hits so far, less their expectation, for the
// chart.
void addBandPoint(ExcessTrack& track, const Scoreboard& board)
{
    track.bandAt.push_back(track.targets.size() - 1);
    for (std::size_t i = 0; i < kPredictorCount; ++i) {
        const CountFigures f = board[i].hitFigures();
        track.bandLow[i].push_back(static_cast<float>(double(f.low) - f.expected));
        track.bandHigh[i].push_back(static_cast<float>(double(f.high) - f.expected));
    }
}

}  // namespace

std::optional<BacktestResult> runBacktest(const DrawHistory& history, int reflect, TargetRange range,
                                          const std::function<bool(int done, int total)>& keepGoing)
{
    BacktestResult result;
    result.reflect = reflect;
    std::vector<int> reflects;
    for (int k = 0; k < kReflectCounts; ++k)
        reflects.push_back(k);
    const auto chosen = static_cast<std::size_t>(reflect);
    const std::size_t total = static_cast<std::size_t>(countTargets(history, range));
    const std::vector<std::size_t> bandAt = evenlySpread(total, kBandPoints);
    std::size_t nextBand = 0;
    TicketWalk tickets(total);
    const auto onStep = [&](const WalkStep& step) {
        for (std::size_t k = 0; k < reflects.size(); ++k)
            for (std::size_t i = 0; i < kPredictorCount; ++i)
                result.boards[k][i].add(step.sets[k].sets[i], step.actual);
        result.sameRows.add(step.sets);
        const Scoreboard& board = result.boards[chosen];
        result.track.targets.push_back(step.target);
        for (std::size_t i = 0; i < kPredictorCount; ++i)
            result.track.excess[i].push_back(static_cast<float>(board[i].hits - board[i].expected));
        if (nextBand < bandAt.size() && bandAt[nextBand] == result.track.targets.size() - 1) {
            addBandPoint(result.track, board);
            ++nextBand;
        }
        tickets.add(step.target, step.sets[chosen], step.actual);
    };
    if (!walkForward(history, reflects, range, onStep, keepGoing))
        return std::nullopt;
    result.board = result.boards[chosen];
    result.tickets = tickets.board();
    result.years = tickets.years();
    result.yen = tickets.takeTrack();
    return result;
}

}  // namespace rumone
