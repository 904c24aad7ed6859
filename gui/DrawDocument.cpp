#include "gui/DrawDocument.h"

#include <QTimer>
#include <exception>
#include <optional>

#include "core/store/DatabaseLock.h"
#include "gui/common/FutureReady.h"
#include "gui/common/WaitCursor.h"

namespace rumone {

DrawDocument::DrawDocument(DocumentWindows& windows) : windows_(windows) {}

DrawDocument::~DrawDocument() = default;

// ---------------------------------------------------------------- start-up

bool DrawDocument::open(DrawDatabaseRef database, StartingLoad begun)
{
    database_ = std::move(database);
    if (!claim())
        return false;
    if (begun.valid()) {
        starting_ = std::move(begun);
        return true;
    }
    try {
        history_ = loadDrawHistory(database_);
    } catch (const std::exception& e) {
        windows_.showError(QString::fromStdString(e.what()));
        return false;
    }
    started_ = true;
    windows_.startDrawsRead();
    return true;
}

void DrawDocument::openWithHistory(DrawHistory history)
{
    history_ = std::move(history);
    started_ = true;
}

// The first copy on a database holds its lock until it ends. A second copy
// is told so before anything else and either opens the database read-only
// or ends.
bool DrawDocument::claim()
{
    lock_ = std::make_unique<DatabaseLock>(database_.path);
    if (lock_->held())
        return true;
    if (!windows_.askToOpenReadOnly(database_.path))
        return false;
    readOnly_ = true;
    return true;
}

bool DrawDocument::finishStart()
{
    if (startFailed_)
        return false;
    if (!starting_.valid())
        return true;
    StartingLoad begun = std::move(starting_);
    latest_.reset();
    try {
        history_ = begun.takeWhole();
    } catch (const std::exception& e) {
        startFailed_ = true;
        windows_.endAfterFailedStart(QString::fromStdString(e.what()));
        return false;
    }
    started_ = true;
    windows_.startDrawsRead();
    return true;
}

// A latest read that failed is no failure yet: the whole read tells it.
const LatestDraws* DrawDocument::takeLatestAtStart()
{
    if (startFailed_ || !starting_.valid())
        return nullptr;
    if (!starting_.latestTaken()) {
        try {
            LatestDraws latest = starting_.takeLatest();
            if (!latest.whole())
                latest_ = std::move(latest);
        } catch (const std::exception&) {
        }
    }
    return latestAtStart();
}

// The window thread looks for the rest every few milliseconds, as for a
// reload; a view opened meanwhile waits for it (finishStart).
void DrawDocument::readTheRestOfTheStart()
{
    if (closed_ || !starting_.valid())
        return;
    starting_.readTheRest();
    pollStart();
}

void DrawDocument::pollStart()
{
    if (closed_ || !starting_.valid())
        return;
    if (!starting_.wholeReady()) {
        constexpr int kPollMs = 5;
        QTimer::singleShot(kPollMs, this, [this] { pollStart(); });
        return;
    }
    finishStart();
}

QString DrawDocument::readOnlyRefusal(const QString& what) const
{
    return QStringLiteral("ほかのルモーネがデータベースを開いているため、読み取り専用で開いています。%1はできません。")
        .arg(what);
}

// ---------------------------------------------------------------- reload

// The history follows the file: after the entry view wrote draws, the file
// is read again the way the start-up reads it, on a thread of its own. The
// window thread looks for the result every few milliseconds; the hourglass
// shows only when that takes longer than a frame.
void DrawDocument::drawsWritten()
{
    if (closed_ || database_.path.empty())
        return;
    finishReload();  // one reload at a time, the newer one wins
    reload_ = startLoadingDrawHistory(database_);
    constexpr int kFrameMs = 16;
    QTimer::singleShot(kFrameMs, this, [this] {
        if (reload_.valid())
            reloadWait_ = std::make_unique<WaitCursor>();
    });
    pollReload();
}

void DrawDocument::pollReload()
{
    if (!reload_.valid())
        return;
    if (!futureReady(reload_)) {
        constexpr int kPollMs = 5;
        QTimer::singleShot(kPollMs, this, [this] { pollReload(); });
        return;
    }
    finishReload();
}

void DrawDocument::finishReload()
{
    if (!reload_.valid())
        return;
    std::future<DrawHistory> done = std::move(reload_);
    std::optional<DrawHistory> loaded;
    try {
        loaded = done.get();
    } catch (const std::exception& e) {
        reloadWait_.reset();
        windows_.showError(QStringLiteral("当選データを読み直せませんでした。表示中のデータのままです。\n\n") +
                           QString::fromStdString(e.what()));
        return;
    }
    reloadWait_.reset();
    windows_.changeHistory([this, &loaded] { history_ = std::move(*loaded); });
}

// ---------------------------------------------------------------- exit

void DrawDocument::finishForExit()
{
    closed_ = true;
    // A frame closed before its first view took the start's draws still
    // saves its options once they were read.
    latest_.reset();
    if (starting_.valid()) {
        StartingLoad begun = std::move(starting_);
        try {
            history_ = begun.takeWhole();
            started_ = true;
        } catch (const std::exception&) {
            // nothing was read, so there is nothing to save
        }
    }
    if (reload_.valid()) {
        reload_.wait();
        reload_ = {};
    }
    reloadWait_.reset();
}

}  // namespace rumone
