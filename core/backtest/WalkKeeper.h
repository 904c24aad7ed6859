// The walks of the latest verifications, kept so that a run over a history
// that only adds draws walks only the new targets: after a draw is entered,
// the verification costs one target, not the whole history. A kept walk is
// continued only by a history that begins with exactly the draws it walked,
// so an edited or added older draw starts the walk afresh. Safe to use from
// several threads: a walk is lent out whole and given back.
#pragma once

#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "core/backtest/ReflectWalk.h"

namespace rumone {

class WalkKeeper {
public:
    // A kept walk that `history` and `range` continue, taken out of the
    // keeper, or a new one.
    std::unique_ptr<ReflectWalk> lendReflectWalk(const DrawHistory& history, int reflect, TargetRange range);
    std::unique_ptr<EveryReflectWalk> lendEveryReflectWalk(const DrawHistory& history, TargetRange range);
    // Keeps the walk, the latest few of each kind.
    void giveBack(std::unique_ptr<ReflectWalk> walk);
    void giveBack(std::unique_ptr<EveryReflectWalk> walk);

private:
    std::mutex mutex_;
    std::vector<std::unique_ptr<ReflectWalk>> reflectWalks_;  // oldest first
    std::vector<std::unique_ptr<EveryReflectWalk>> everyWalks_;
};

// Every reflect count's boards and their same rows over `range`, going on
// from a walk lent from `keeper` (when there is one); false when
// `keepGoing` stopped it.
bool walkEveryReflect(WalkKeeper* keeper, const DrawHistory& history, TargetRange range,
                      std::function<bool(int done, int total)> keepGoing, ReflectBoards& boards, SameRows& sameRows);

// The verification in its steps, each continuing a walk lent from a keeper
// (when there is one) and giving it back at the end: first the reflect
// count shown, its hits and then its tickets, then every reflect count for
// the comparisons. The progress counts the targets both walks have left.
class BacktestSteps {
public:
    BacktestSteps(WalkKeeper* keeper, const DrawHistory& history, int reflect, TargetRange range,
                  std::function<bool(int done, int total)> keepGoing);
    ~BacktestSteps();
    BacktestSteps(const BacktestSteps&) = delete;
    BacktestSteps& operator=(const BacktestSteps&) = delete;

    // The board and hit track of the reflect count shown, its tickets
    // left empty; nullopt when stopped.
    std::optional<BacktestResult> walkHits();
    // Adds the tickets of the targets walkHits walked to `result`; false
    // when stopped.
    bool walkTickets(BacktestResult& result);
    // walkHits and walkTickets together.
    std::optional<BacktestResult> walkShown();
    // Adds every reflect count's boards and their same rows to `result`;
    // false when stopped.
    bool walkEvery(BacktestResult& result);

private:
    WalkKeeper* keeper_;
    const DrawHistory& history_;
    TargetRange range_;
    WalkProgress progress_;
    std::unique_ptr<ReflectWalk> shown_;
    std::unique_ptr<EveryReflectWalk> every_;
    int exceptionsAtStart_ = std::uncaught_exceptions();
};

}  // namespace rumone
