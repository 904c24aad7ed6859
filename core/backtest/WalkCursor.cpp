#include "core/backtest/WalkCursor.h"

#include <algorithm>

namespace rumone {

namespace {

bool sameDraw(const Draw& a, const Draw& b)
{
    return a.number == b.number && a.digits == b.digits;
}

// No draw below the second is a target: ranges that start anywhere up to
// it walk the same targets.
int lowestTarget(const DrawHistory& history, int from)
{
    const auto& draws = history.completeDraws();
    return draws.size() > 1 ? std::max(from, draws[1].number) : from;
}

}  // namespace

bool WalkCursor::continues(const DrawHistory& history, TargetRange range) const
{
    const auto& draws = history.completeDraws();
    return lowestTarget(history, range.from) == lowestTarget(history, from_) && walked_.size() <= draws.size() &&
           (walked_.empty() || walked_.back().number <= range.to) &&
           std::equal(walked_.begin(), walked_.end(), draws.begin(), sameDraw);
}

int WalkCursor::targetsLeft(const DrawHistory& history, TargetRange range) const
{
    const auto& draws = history.completeDraws();
    int count = 0;
    for (std::size_t i = std::max<std::size_t>(walked_.size(), 1); i < draws.size(); ++i)
        if (draws[i].number >= from_ && draws[i].number <= range.to)
            ++count;
    return count;
}

bool WalkCursor::walkOn(const DrawHistory& history, TargetRange range,
                        const std::function<void(const Draw&, const MethodState&)>& onTarget, WalkProgress& progress)
{
    const auto& draws = history.completeDraws();
    for (std::size_t i = walked_.size(); i < draws.size(); ++i) {
        const Draw& draw = draws[i];
        if (draw.number > range.to)
            break;
        const bool target = state_.started() && draw.number >= from_;
        if (target)
            onTarget(draw, state_);
        state_.advance(draw);
        walked_.push_back(draw);
        if (target && ++progress.done % kProgressStep == 0 && progress.keepGoing &&
            !progress.keepGoing(progress.done, progress.total))
            return false;
    }
    return true;
}

}  // namespace rumone
