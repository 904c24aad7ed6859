#include "core/backtest/WalkKeeper.h"

#include <algorithm>
#include <exception>

namespace rumone {

namespace {

// Walks kept of each kind: a few reflect counts clicked through.
constexpr std::size_t kKeptWalks = 4;

template <typename Walk, typename Fits>
std::unique_ptr<Walk> takeFitting(std::vector<std::unique_ptr<Walk>>& kept, Fits fits)
{
    const auto found = std::find_if(kept.rbegin(), kept.rend(), [&](const auto& walk) { return fits(*walk); });
    if (found == kept.rend())
        return nullptr;
    std::unique_ptr<Walk> walk = std::move(*found);
    kept.erase(std::next(found).base());
    return walk;
}

template <typename Walk>
void keepLatest(std::vector<std::unique_ptr<Walk>>& kept, std::unique_ptr<Walk> walk)
{
    if (!walk)
        return;
    kept.push_back(std::move(walk));
    if (kept.size() > kKeptWalks)
        kept.erase(kept.begin());
}

}  // namespace

std::unique_ptr<ReflectWalk> WalkKeeper::lendReflectWalk(const DrawHistory& history, int reflect, TargetRange range)
{
    {
        const std::lock_guard lock(mutex_);
        if (auto walk = takeFitting(reflectWalks_, [&](const ReflectWalk& w) {
                return w.reflect() == reflect && w.cursor().continues(history, range);
            }))
            return walk;
    }
    return std::make_unique<ReflectWalk>(reflect, range.from);
}

std::unique_ptr<EveryReflectWalk> WalkKeeper::lendEveryReflectWalk(const DrawHistory& history, TargetRange range)
{
    {
        const std::lock_guard lock(mutex_);
        if (auto walk = takeFitting(everyWalks_,
                                    [&](const EveryReflectWalk& w) { return w.cursor().continues(history, range); }))
            return walk;
    }
    return std::make_unique<EveryReflectWalk>(range.from);
}

void WalkKeeper::giveBack(std::unique_ptr<ReflectWalk> walk)
{
    const std::lock_guard lock(mutex_);
    keepLatest(reflectWalks_, std::move(walk));
}

void WalkKeeper::giveBack(std::unique_ptr<EveryReflectWalk> walk)
{
    const std::lock_guard lock(mutex_);
    keepLatest(everyWalks_, std::move(walk));
}

bool walkEveryReflect(WalkKeeper* keeper, const DrawHistory& history, TargetRange range,
                      std::function<bool(int done, int total)> keepGoing, ReflectBoards& boards, SameRows& sameRows)
{
    std::unique_ptr<EveryReflectWalk> walk =
        keeper ? keeper->lendEveryReflectWalk(history, range) : std::make_unique<EveryReflectWalk>(range.from);
    WalkProgress progress{std::move(keepGoing), 0, walk->cursor().targetsLeft(history, range)};
    const bool walked = walk->walkOn(history, range, progress);
    if (walked) {
        boards = walk->boards();
        sameRows = walk->sameRows();
    }
    if (keeper)
        keeper->giveBack(std::move(walk));
    return walked;
}

BacktestSteps::BacktestSteps(WalkKeeper* keeper, const DrawHistory& history, int reflect, TargetRange range,
                             std::function<bool(int done, int total)> keepGoing)
    : keeper_(keeper), history_(history), range_(range)
{
    progress_.keepGoing = std::move(keepGoing);
    shown_ =
        keeper ? keeper->lendReflectWalk(history, reflect, range) : std::make_unique<ReflectWalk>(reflect, range.from);
    every_ = keeper ? keeper->lendEveryReflectWalk(history, range) : std::make_unique<EveryReflectWalk>(range.from);
    progress_.total = shown_->cursor().targetsLeft(history, range) + every_->cursor().targetsLeft(history, range);
}

// A walk left by an exception may be half through a target: it is not
// kept.
BacktestSteps::~BacktestSteps()
{
    if (!keeper_ || std::uncaught_exceptions() > exceptionsAtStart_)
        return;
    keeper_->giveBack(std::move(shown_));
    keeper_->giveBack(std::move(every_));
}

std::optional<BacktestResult> BacktestSteps::walkHits()
{
    if (!shown_->walkOn(history_, range_, progress_))
        return std::nullopt;
    return shown_->hitsResult();
}

bool BacktestSteps::walkTickets(BacktestResult& result)
{
    if (!shown_->walkTickets(progress_))
        return false;
    shown_->addTicketsTo(result);
    return true;
}

std::optional<BacktestResult> BacktestSteps::walkShown()
{
    std::optional<BacktestResult> result = walkHits();
    if (!result || !walkTickets(*result))
        return std::nullopt;
    return result;
}

bool BacktestSteps::walkEvery(BacktestResult& result)
{
    if (!every_->walkOn(history_, range_, progress_))
        return false;
    if (progress_.keepGoing && !progress_.keepGoing(progress_.total, progress_.total))
        return false;
    result.boards = every_->boards();
    result.sameRows = every_->sameRows();
    return true;
}

}  // namespace rumone
