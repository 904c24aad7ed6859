#include "core/backtest/WalkForward.h"

#include <algorithm>

#include "core/predict/Prediction.h"

namespace rumone {

namespace {

// The methods' own fold: by 9, once.
int wrapped(int value)
{
    if (value > 9)
        return value - 9;
    if (value <= 0)
        return value + 9;
    return value;
}

// How often the walk reports its progress, in targets.
constexpr int kProgressStep = 256;

}  // namespace

WalkForward::WalkForward() : digitsByDraw_(static_cast<std::size_t>(kMaxDrawNumber) + 1, std::array<std::int8_t, 4>{})
{
    for (auto& method : cycle_)
        method.fill(-1);
}

int WalkForward::digitAt(int drawNumber, int position) const
{
    if (drawNumber < 0 || drawNumber > kMaxDrawNumber)
        return 0;
    return digitsByDraw_[static_cast<std::size_t>(drawNumber)][static_cast<std::size_t>(position - 1)];
}

void WalkForward::advance(const Draw& draw)
{
    const int n = draw.number;
    if (n < 0 || n > kMaxDrawNumber)
        return;
    auto& stored = digitsByDraw_[static_cast<std::size_t>(n)];
    for (std::size_t i = 0; i < 4; ++i)
        stored[i] = static_cast<std::int8_t>(draw.digits[i]);
    // The nearest earlier draw (down to draw 1) holding the digit in any
    // position; numbers without a draw read as four 0s.
    for (std::size_t p = 0; p < 4; ++p) {
        const auto wanted = static_cast<std::int8_t>(draw.digits[p]);
        for (int k = n - 1; k >= 1; --k) {
            const auto& d = digitsByDraw_[static_cast<std::size_t>(k)];
            if (d[0] == wanted || d[1] == wanted || d[2] == wanted || d[3] == wanted) {
                if (const int m = cycleMethodOf(n - k); m >= 0)
                    cycle_[static_cast<std::size_t>(m)][p] = wanted;
                break;
            }
        }
    }
    latest_ = n;
    started_ = true;
}

PredictorSets WalkForward::predict(int reflect) const
{
    PredictorSets out;
    for (std::size_t m = 0; m < 4; ++m)
        for (std::size_t p = 0; p < 4; ++p)
            if (cycle_[m][p] >= 0)
                out.sets[m][p] = digitBit(cycle_[m][p]);

    std::array<int, kEliminationRowCount> candidates{};
    DigitSet elimination = 0;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const EliminationRow& row = EliminationTable[i];
        candidates[i] = wrapped(digitAt(latest_ - row.lookBack - reflect, row.position) + row.addend);
        elimination |= digitBit(candidates[i]);
    }

    // Cycle digits within `tolerance` of a candidate, in the order
    // candidate, method, position, until `cells` are placed; a method's
    // positions end at its first empty one.
    auto matching = [&](int tolerance, int cells) {
        DigitSet placed = 0;
        int count = 0;
        for (const int e : candidates)
            for (const auto& method : cycle_)
                for (const std::int8_t s : method) {
                    if (s < 0)
                        break;
                    if (e < s - tolerance || e > s + tolerance || (placed & digitBit(s)))
                        continue;
                    placed |= digitBit(s);
                    if (++count >= cells)
                        return placed;
                }
        return placed;
    };
    out.sets[4].fill(elimination);
    out.sets[5].fill(matching(3, 8));
    out.sets[6].fill(matching(2, 4));
    return out;
}

int countTargets(const DrawHistory& history, TargetRange range)
{
    const auto& draws = history.completeDraws();
    int count = 0;
    for (std::size_t i = 1; i < draws.size(); ++i)
        if (draws[i].number >= range.from && draws[i].number <= range.to)
            ++count;
    return count;
}

bool walkForward(const DrawHistory& history, const std::vector<int>& reflects, TargetRange range,
                 const std::function<void(const WalkStep&)>& onStep,
                 const std::function<bool(int done, int total)>& keepGoing)
{
    const int total = keepGoing ? countTargets(history, range) : 0;
    int done = 0;
    WalkForward walk;
    WalkStep step;
    step.sets.resize(reflects.size());
    for (const Draw& draw : history.completeDraws()) {
        if (draw.number > range.to)
            break;
        if (walk.started() && draw.number >= range.from) {
            step.target = draw.number;
            step.actual = draw.digits;
            for (std::size_t k = 0; k < reflects.size(); ++k)
                step.sets[k] = walk.predict(reflects[k]);
            onStep(step);
            ++done;
            if (keepGoing && done % kProgressStep == 0 && !keepGoing(done, total))
                return false;
        }
        walk.advance(draw);
    }
    if (keepGoing)
        return keepGoing(done, total);
    return true;
}

}  // namespace rumone
