// The start's read of the draws, on a thread of its own, in two steps: the
// latest rows first (as a LatestDraws, enough for what the start paints),
// then every row (the DrawHistory every other view reads) once the window
// lets it go on. On one core the second step would otherwise hold up the
// first paint.
#pragma once

#include <functional>
#include <future>

#include "core/history/DrawHistory.h"
#include "core/history/LatestDraws.h"
#include "core/store/DrawStore.h"

namespace rumone {

class StartingLoad {
public:
    // Whether the latest rows settle what the start shows from them.
    using Enough = std::function<bool(const LatestDraws&)>;

    StartingLoad() = default;
    // Reads kLatestRowsReadFirst of the latest rows, four times as many
    // while `enough` says no and the table holds more, then waits for
    // readTheRest before it reads every row. A table that holds no more
    // than the rows read first is read once.
    static StartingLoad begin(DrawDatabaseRef database, Enough enough);
    StartingLoad(StartingLoad&&) = default;
    // The load replaced is let go on first, then waited for.
    StartingLoad& operator=(StartingLoad&& other) noexcept;
    // Lets the thread go on (reading every row) and waits for it.
    ~StartingLoad() = default;

    bool valid() const { return whole_.valid(); }
    // Waits for the latest rows (once); throws what their read threw.
    LatestDraws takeLatest();
    bool latestTaken() const { return !latest_.valid(); }
    // Lets the thread read every row; more calls do nothing.
    void readTheRest();
    bool wholeReady() const;
    // readTheRest, then waits for every row; throws StoreError.
    DrawHistory takeWhole();

private:
    std::future<LatestDraws> latest_;
    std::future<DrawHistory> whole_;
    // Declared last, so destroyed first: a load never let go on goes on
    // then (a broken promise wakes the thread), and whole_ waits for it.
    std::promise<void> goOn_;
    bool goingOn_ = false;
};

}  // namespace rumone
