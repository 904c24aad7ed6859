#include "gui/backtest/BacktestJob.h"

#include <QMetaObject>

namespace rumone {

BacktestJob::BacktestJob(const DrawHistory& history, int reflect, TargetRange range, QObject* receiver,
                         Progress onProgress, Done onDone, WorkerStep onWorkerStep)
{
    thread_ = std::thread([this, &history, reflect, range, receiver, onProgress, onDone, onWorkerStep] {
        const auto keepGoing = [&](int done, int total) {
            if (onWorkerStep)
                onWorkerStep();
            if (cancelled_)
                return false;
            QMetaObject::invokeMethod(
                receiver, [onProgress, done, total] { onProgress(done, total); }, Qt::QueuedConnection);
            return true;
        };
        std::optional<BacktestResult> result = runBacktest(history, reflect, range, keepGoing);
        if (cancelled_)
            result.reset();
        auto shared = std::make_shared<std::optional<BacktestResult>>(std::move(result));
        QMetaObject::invokeMethod(
            receiver, [onDone, shared] { onDone(std::move(*shared)); }, Qt::QueuedConnection);
    });
}

BacktestJob::~BacktestJob()
{
    stop();
}

void BacktestJob::stop()
{
    cancelled_ = true;
    if (thread_.joinable())
        thread_.join();
}

}  // namespace rumone
