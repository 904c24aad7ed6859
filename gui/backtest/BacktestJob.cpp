#include "gui/backtest/BacktestJob.h"

#include "core/backtest/BacktestGrid.h"
#include "core/backtest/Comparisons.h"
#include "core/backtest/TicketGrid.h"
#include "core/backtest/WalkKeeper.h"
#include "gui/common/FutureReady.h"

namespace rumone {

namespace {

constexpr int kPollMs = 2;

long long packed(int done, int total)
{
    return (static_cast<long long>(done) << 32) | static_cast<unsigned>(total);
}

BacktestShown shownOf(const BacktestResult& result)
{
    BacktestShown shown;
    shown.result = result;
    fillScoreGrid(shown.score, result.board);
    return shown;
}

BacktestTickets ticketsOf(const BacktestResult& result)
{
    BacktestTickets tickets{result.tickets, result.yen, result.years, {}, straightWinNote(result.tickets)};
    fillTicketGrid(tickets.grid, result.tickets);
    return tickets;
}

// Takes a step's result once it is in; a step that could not finish (out
// of memory) gives none.
template <typename T>
std::optional<T> taken(std::future<std::optional<T>>& future)
{
    try {
        return future.get();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace

BacktestJob::BacktestJob(const DrawHistory& history, std::shared_ptr<WalkKeeper> keeper, int reflect, TargetRange range,
                         QObject* receiver, Progress onProgress, Shown onShown, Tickets onTickets, Done onDone,
                         WorkerStep onWorkerStep)
    : keeper_(std::move(keeper)),
      onProgress_(std::move(onProgress)),
      onShown_(std::move(onShown)),
      onTickets_(std::move(onTickets)),
      onDone_(std::move(onDone))
{
    shown_ = shownPromise_.get_future();
    tickets_ = ticketsPromise_.get_future();
    end_ = endPromise_.get_future();
    poller_ = new QTimer(receiver);
    poller_->setInterval(kPollMs);
    QObject::connect(poller_, &QTimer::timeout, poller_, [this] { poll(); });
    poller_->start();
    thread_ =
        std::thread([this, &history, reflect, range, onWorkerStep] { run(history, reflect, range, onWorkerStep); });
}

BacktestJob::~BacktestJob()
{
    stop();
}

void BacktestJob::run(const DrawHistory& history, int reflect, TargetRange range, const WorkerStep& onWorkerStep)
{
    const auto keepGoing = [&](int done, int total) {
        if (onWorkerStep)
            onWorkerStep();
        if (cancelled_)
            return false;
        progress_ = packed(done, total);
        return true;
    };
    bool shownSet = false;
    bool ticketsSet = false;
    try {
        BacktestSteps steps(keeper_.get(), history, reflect, range, keepGoing);
        std::optional<BacktestResult> result = steps.walkHits();
        shownPromise_.set_value(result ? std::optional(shownOf(*result)) : std::nullopt);
        shownSet = true;
        if (result && !steps.walkTickets(*result))
            result.reset();
        ticketsPromise_.set_value(result ? std::optional(ticketsOf(*result)) : std::nullopt);
        ticketsSet = true;
        if (!result || !steps.walkEvery(*result) || cancelled_) {
            endPromise_.set_value(std::nullopt);
            return;
        }
        BacktestEnd end;
        end.conclusion = resultConclusionText(*result);
        fillOutlookGrid(end.outlook, outlookOf(*result));
        end.boards = result->boards;
        end.sameRows = result->sameRows;
        endPromise_.set_value(std::move(end));
    } catch (...) {
        if (!shownSet)
            shownPromise_.set_exception(std::current_exception());
        if (!ticketsSet)
            ticketsPromise_.set_exception(std::current_exception());
        endPromise_.set_exception(std::current_exception());
    }
}

// The poller stops at once and goes once its own call, if any, is over.
void BacktestJob::stopPolling()
{
    if (!poller_)
        return;
    poller_->stop();
    poller_->deleteLater();
    poller_ = nullptr;
}

void BacktestJob::stop()
{
    cancelled_ = true;
    stopPolling();
    if (thread_.joinable())
        thread_.join();
}

void BacktestJob::poll()
{
    const long long progress = progress_;
    if (progress >= 0 && progress != progressShown_) {
        progressShown_ = progress;
        onProgress_(static_cast<int>(progress >> 32), static_cast<int>(progress & 0xffffffff));
    }
    // Each step in a turn of its own: the window thread draws one at a time.
    if (futureReady(shown_)) {
        if (std::optional<BacktestShown> shown = taken(shown_)) {
            onShown_(std::move(*shown));
            return;
        }
    }
    if (futureReady(tickets_)) {
        if (std::optional<BacktestTickets> tickets = taken(tickets_)) {
            onTickets_(std::move(*tickets));
            return;
        }
    }
    if (!futureReady(end_) || shown_.valid() || tickets_.valid())
        return;
    stopPolling();
    onDone_(taken(end_));  // may destroy this job
}

}  // namespace rumone
