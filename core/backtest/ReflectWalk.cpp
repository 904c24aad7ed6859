#include "core/backtest/ReflectWalk.h"

namespace rumone {

namespace {

std::array<CountDistribution, kPredictorCount> noTrials()
{
    const CountDistribution none{std::span<const BinomialPart>{}};
    std::array<CountDistribution, kPredictorCount> out{none, none, none, none, none, none, none};
    return out;
}

}  // namespace

ReflectWalk::ReflectWalk(int reflect, int from) : reflect_(reflect), cursor_(from), atGrid_(noTrials()) {}

bool ReflectWalk::walkOn(const DrawHistory& history, TargetRange range, WalkProgress& progress)
{
    return cursor_.walkOn(
        history, range, [this](const Draw& draw, const MethodState& state) { addTarget(draw, state); }, progress);
}

void ReflectWalk::addTarget(const Draw& draw, const MethodState& state)
{
    const PredictorSets sets = predictorSetsOf(predictDigits(state, reflect_));
    const std::size_t index = track_.targets.size();
    track_.targets.push_back(draw.number);
    for (std::size_t i = 0; i < kPredictorCount; ++i) {
        Tally& tally = board_[i];
        tally.add(sets.sets[i], draw.digits);
        for (const DigitSet set : sets.sets[i])
            sinceGrid_[i].add(setSize(set) * (kChanceScale / 10));
        track_.excess[i].push_back(static_cast<float>(tally.hits - tally.expected));
    }
    if (grid_.due(index)) {
        std::array<float, kPredictorCount> lows{}, highs{};
        for (std::size_t i = 0; i < kPredictorCount; ++i) {
            atGrid_[i] = hitsNow(i);
            sinceGrid_[i] = TrialCounts{};
            noteRange(i, atGrid_[i], lows, highs);
        }
        grid_.add(index, lows, highs);
    }
    ticketsDue_.push_back({draw.number, sets, draw.digits});
}

bool ReflectWalk::walkTickets(WalkProgress& progress)
{
    std::size_t added = 0;
    for (; added < ticketsDue_.size(); ++added) {
        if (added % kProgressStep == 0 && added > 0 && progress.keepGoing &&
            !progress.keepGoing(progress.done, progress.total))
            break;
        const TicketsDue& due = ticketsDue_[added];
        tickets_.add(due.target, due.sets, due.digits);
    }
    ticketsDue_.erase(ticketsDue_.begin(), ticketsDue_.begin() + static_cast<std::ptrdiff_t>(added));
    return ticketsDue_.empty();
}

CountDistribution ReflectWalk::hitsNow(std::size_t i) const
{
    const std::vector<BinomialPart> since = sinceGrid_[i].parts();
    return CountDistribution(atGrid_[i], since);
}

void ReflectWalk::noteRange(std::size_t i, const CountDistribution& hits, std::array<float, kPredictorCount>& lows,
                            std::array<float, kPredictorCount>& highs) const
{
    const ChanceRange range = rangeOf(hits, 0.05);
    const double expected = board_[i].hitTrials.mean();
    lows[i] = static_cast<float>(double(range.low) - expected);
    highs[i] = static_cast<float>(double(range.high) - expected);
}

BacktestResult ReflectWalk::hitsResult() const
{
    BacktestResult r;
    r.reflect = reflect_;
    r.board = board_;
    r.track = track_;
    if (!track_.targets.empty())
        grid_.readInto(r.track, track_.targets.size() - 1, [this](auto& lows, auto& highs) {
            for (std::size_t i = 0; i < kPredictorCount; ++i)
                noteRange(i, hitsNow(i), lows, highs);
        });
    return r;
}

void ReflectWalk::addTicketsTo(BacktestResult& result) const
{
    result.tickets = tickets_.board();
    result.yen = tickets_.track();
    result.years = tickets_.years();
}

bool EveryReflectWalk::walkOn(const DrawHistory& history, TargetRange range, WalkProgress& progress)
{
    std::vector<PredictorSets> sets(kReflectCounts);
    return cursor_.walkOn(
        history, range,
        [&](const Draw& draw, const MethodState& state) {
            for (std::size_t k = 0; k < sets.size(); ++k) {
                sets[k] = predictorSetsOf(predictDigits(state, static_cast<int>(k)));
                for (std::size_t i = 0; i < kPredictorCount; ++i)
                    boards_[k][i].add(sets[k].sets[i], draw.digits);
            }
            same_.add(sets);
        },
        progress);
}

}  // namespace rumone
