// One walk-forward run on a thread of its own, in three steps: the reflect
// count shown (its hit table and chart), its tickets (their table and
// chart), then every reflect count and the comparisons over them. The
// thread hands its progress over in atomics and each step's result through
// a future; the receiver's thread looks for them every two milliseconds
// and makes the calls, so nothing but standard synchronisation crosses the
// threads. Destroying the job cancels the run and waits for its thread.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <atomic>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "core/backtest/Outlook.h"
#include "core/backtest/Scoring.h"
#include "core/grid/ResultGrid.h"

namespace rumone {

class WalkKeeper;

// The first step, with its table filled on the job's thread; the
// result's tickets are still empty.
struct BacktestShown {
    BacktestResult result;
    ResultGrid score;
};

// The second step: the tickets of the reflect count shown, their track and
// years, with their table filled on the job's thread.
struct BacktestTickets {
    TicketBoard board;
    YenTrack yen;
    std::array<YearFigures, kPredictorCount> years;
    ResultGrid grid;
    std::string note;
};

// The last step: every reflect count's boards, their same rows, the
// conclusion over the comparisons and the outlook's table.
struct BacktestEnd {
    ReflectBoards boards;
    SameRows sameRows;
    std::string conclusion;
    ResultGrid outlook;
};

class BacktestJob {
public:
    using Progress = std::function<void(int done, int total)>;
    // The first step: the board and hit track of the reflect count asked
    // for (its tickets and the boards of every count still empty).
    using Shown = std::function<void(BacktestShown)>;
    // The second step: that count's tickets.
    using Tickets = std::function<void(BacktestTickets)>;
    // The last step; nullopt when the run was cancelled or failed.
    using Done = std::function<void(std::optional<BacktestEnd>)>;
    // Called on the job's own thread at every progress report (tests use it
    // to hold a run under way).
    using WorkerStep = std::function<void()>;

    // `history` must outlive the job; `keeper`, when given, lends the walks
    // of earlier runs and keeps this run's. The callbacks run on the
    // receiver's thread, and never once the receiver or the job is gone.
    BacktestJob(const DrawHistory& history, std::shared_ptr<WalkKeeper> keeper, int reflect, TargetRange range,
                QObject* receiver, Progress onProgress, Shown onShown, Tickets onTickets, Done onDone,
                WorkerStep onWorkerStep = {});
    ~BacktestJob();
    BacktestJob(const BacktestJob&) = delete;
    BacktestJob& operator=(const BacktestJob&) = delete;

    void cancel() { cancelled_ = true; }
    // Cancels the run and waits until its thread has ended; the history may
    // go once this returns.
    void stop();

private:
    // The thread's work: the three steps, each handed over as it ends.
    void run(const DrawHistory& history, int reflect, TargetRange range, const WorkerStep& onWorkerStep);
    // On the receiver's thread: the progress reported since the last look,
    // and each step's result once it is in.
    void poll();
    void stopPolling();

    std::atomic<bool> cancelled_{false};
    // done and total of the latest report, packed so that they are read together.
    std::atomic<long long> progress_{-1};
    long long progressShown_ = -1;
    std::shared_ptr<WalkKeeper> keeper_;
    std::promise<std::optional<BacktestShown>> shownPromise_;
    std::promise<std::optional<BacktestTickets>> ticketsPromise_;
    std::promise<std::optional<BacktestEnd>> endPromise_;
    std::future<std::optional<BacktestShown>> shown_;
    std::future<std::optional<BacktestTickets>> tickets_;
    std::future<std::optional<BacktestEnd>> end_;
    Progress onProgress_;
    Shown onShown_;
    Tickets onTickets_;
    Done onDone_;
    QPointer<QTimer> poller_;
    std::thread thread_;
};

}  // namespace rumone
