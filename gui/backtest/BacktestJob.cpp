#include "gui/backtest/BacktestJob.h"

#include <chrono>

namespace rumone {

namespace {

constexpr int kPollMs = 5;

long long packed(int done, int total)
{
    return (static_cast<long long>(done) << 32) | static_cast<unsigned>(total);
}

}  // namespace

BacktestJob::BacktestJob(const DrawHistory& history, int reflect, TargetRange range, QObject* receiver,
                         Progress onProgress, Done onDone, WorkerStep onWorkerStep)
    : onProgress_(std::move(onProgress)), onDone_(std::move(onDone))
{
    std::promise<std::optional<BacktestResult>> promise;
    result_ = promise.get_future();
    poller_ = new QTimer(receiver);
    poller_->setInterval(kPollMs);
    QObject::connect(poller_, &QTimer::timeout, poller_, [this] { poll(); });
    poller_->start();
    thread_ = std::thread([this, &history, reflect, range, onWorkerStep, promise = std::move(promise)]() mutable {
        const auto keepGoing = [&](int done, int total) {
            if (onWorkerStep)
                onWorkerStep();
            if (cancelled_)
                return false;
            progress_ = packed(done, total);
            return true;
        };
        std::optional<BacktestResult> result;
        try {
            result = runBacktest(history, reflect, range, keepGoing);
        } catch (...) {
            promise.set_exception(std::current_exception());
            return;
        }
        if (cancelled_)
            result.reset();
        promise.set_value(std::move(result));
    });
}

BacktestJob::~BacktestJob()
{
    stop();
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
    if (!result_.valid() || result_.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return;
    stopPolling();
    std::optional<BacktestResult> result;
    try {
        result = result_.get();
    } catch (const std::exception&) {
        // A run that could not finish (out of memory) shows no result.
    }
    onDone_(std::move(result));  // may destroy this job
}

}  // namespace rumone
