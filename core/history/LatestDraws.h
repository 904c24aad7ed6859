// The latest stored rows of a draw table, read from the newest back before
// the rest: enough for what looks back a few hundred draws from the latest
// (the prediction), never for what counts over every draw. A type of its
// own, so that nothing taking a DrawHistory can be handed it.
#pragma once

#include <cstddef>
#include <vector>

#include "core/history/DrawHistory.h"

namespace rumone {

class LatestDraws {
public:
    LatestDraws() = default;
    // `tail`: the latest stored rows, judged as a history judges them, in
    // the store's order; `whole`: they are every row the table holds.
    LatestDraws(DrawHistory tail, bool whole) : tail_(std::move(tail)), whole_(whole) {}

    const std::vector<Draw>& completeDraws() const { return tail_.completeDraws(); }
    int latestDrawNumber() const { return tail_.latestDrawNumber(); }
    // The number of the earliest row read (complete or not); 0 for none.
    int firstRowNumber() const { return tail_.storedRows().empty() ? 0 : tail_.storedRows().front().number; }
    // The rows read are in ascending draw-number order, each number once:
    // then they are every stored row from firstRowNumber on.
    bool ascending() const;
    bool whole() const { return whole_; }

private:
    DrawHistory tail_;
    bool whole_ = false;
};

// How many of the latest rows the start reads first; four times as many
// each time they are not enough.
inline constexpr std::size_t kLatestRowsReadFirst = 1024;

}  // namespace rumone
