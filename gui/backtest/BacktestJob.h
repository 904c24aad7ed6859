// One walk-forward run on a thread of its own. The thread hands its
// progress over in atomics and its result through a future; the receiver's
// thread looks for both every few milliseconds and makes the calls, so
// nothing but standard synchronisation crosses the threads. Destroying the
// job cancels the run and waits for its thread.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <atomic>
#include <functional>
#include <future>
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
    // thread, and never once the receiver or the job is gone.
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
    // On the receiver's thread: the progress reported since the last look,
    // and the result once it is in.
    void poll();
    void stopPolling();

    std::atomic<bool> cancelled_{false};
    // done and total of the latest report, packed so that they are read together.
    std::atomic<long long> progress_{-1};
    long long progressShown_ = -1;
    std::future<std::optional<BacktestResult>> result_;
    Progress onProgress_;
    Done onDone_;
    QPointer<QTimer> poller_;
    std::thread thread_;
};

}  // namespace rumone
