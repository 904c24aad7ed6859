// One walk-forward run on a thread of its own. Progress and the result are
// delivered to the receiver's thread as queued calls; destroying the job
// cancels the run and waits for its thread.
#pragma once

#include <QObject>
#include <QPointer>
#include <atomic>
#include <functional>
#include <optional>
#include <thread>

#include "core/backtest/Scoring.h"

namespace rumone {

class BacktestJob {
public:
    using Progress = std::function<void(int done, int total)>;
    using Done = std::function<void(std::optional<BacktestResult>)>;
    // Called on the job's own thread at every progress report (tests use it
    // to hold a run under way).
    using WorkerStep = std::function<void()>;

    // `history` must outlive the job. The callbacks run on the receiver's
    // thread, and never once the receiver is gone.
    BacktestJob(const DrawHistory& history, int reflect, TargetRange range, QObject* receiver, Progress onProgress,
                Done onDone, WorkerStep onWorkerStep = {});
    ~BacktestJob();
    BacktestJob(const BacktestJob&) = delete;
    BacktestJob& operator=(const BacktestJob&) = delete;

    void cancel() { cancelled_ = true; }
    // Cancels the run and waits until its thread has ended; the history may
    // go once this returns.
    void stop();

private:
    std::atomic<bool> cancelled_{false};
    std::thread thread_;
};

}  // namespace rumone
