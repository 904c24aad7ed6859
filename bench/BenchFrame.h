// The main window as the player has it: started on a database in a folder
// of its own, shown, with the prediction view open. The benches of waits a
// player meets inside the frame share it.
#pragma once

#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QEvent>
#include <QMdiSubWindow>
#include <QThread>
#include <QWidget>

#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchData.h"
#include "gui/MainWindow.h"
#include "gui/predict/PredictionView.h"

namespace rumone::bench {

inline const QString kPredictionView = QStringLiteral("一発ルモーネ");
inline const QString kEntryView = QStringLiteral("当選データ入力");
inline const QString kBacktestView = QStringLiteral("予想検証");
inline const QString kVersionView = QStringLiteral("バージョン情報");

// A folder holding a database of `rows`, the program's settings and options
// files (the frame writes both); the working folder while it lives.
class ProgramFolder {
public:
    explicit ProgramFolder(const std::vector<EditRow>& rows) : old_(std::filesystem::current_path())
    {
        makeDatabase(tmp_.path() + "/" + kDatabaseFileName, rows);
        setenv("XDG_CONFIG_HOME", tmp_.path().c_str(), 1);
        std::filesystem::current_path(tmp_.path());
    }
    ~ProgramFolder()
    {
        std::error_code ec;
        std::filesystem::current_path(old_, ec);
    }
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;
    const std::string& path() const { return tmp_.path(); }

private:
    TempFolder tmp_;
    std::filesystem::path old_;
};

// Counts the paint events of one widget and its children.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* root) : root_(root) { qApp->installEventFilter(this); }
    ~PaintCounter() override { qApp->removeEventFilter(this); }
    int paints() const { return paints_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            (watched == root_ || root_->isAncestorOf(static_cast<QWidget*>(watched))))
            ++paints_;
        return false;
    }

private:
    QWidget* root_;
    int paints_ = 0;
};

// Lets the window system run until `root` has painted (at most a few
// rounds of pending events); whether it did.
inline bool letPaint(QWidget* root)
{
    const PaintCounter counter(root);
    for (int i = 0; i < 4 && counter.paints() == 0; ++i)
        QApplication::processEvents();
    QApplication::processEvents();  // the rest of the same update
    return counter.paints() > 0;
}

// The prediction view walks the history for its check line on a thread of
// its own after its first paint (about a second at 32,767 draws). The opens
// are timed once that walk is over, as a player meets them after the start;
// RUMONE_BENCH_DURING_CHECK=1 times them while it still runs.
inline void waitForTheCheck(MainWindow& frame)
{
    if (qEnvironmentVariableIsSet("RUMONE_BENCH_DURING_CHECK"))
        return;
    auto* prediction = qobject_cast<PredictionView*>(frame.findView(kPredictionView));
    for (int i = 0; prediction && prediction->checking() && i < 6000; ++i) {
        QApplication::processEvents();
        QThread::msleep(5);
    }
}

// The main window started on the folder's database and shown, the
// prediction view open as at start.
inline std::unique_ptr<MainWindow> startFrame(const ProgramFolder& folder)
{
    auto frame = std::make_unique<MainWindow>();
    if (!frame->load(QString::fromStdString(folder.path())))
        throw std::runtime_error("the main window did not start on " + folder.path());
    frame->showAtStart();
    for (int i = 0; i < 20 && !frame->findView(kPredictionView); ++i)
        QApplication::processEvents();
    if (!frame->findView(kPredictionView))
        frame->showView(kPredictionView);
    letPaint(frame.get());
    waitForTheCheck(*frame);
    return frame;
}

// Closes a view as its window's close button does, and lets the deletion run.
inline void closeView(ChildView* view)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(view->parentWidget()))
        sub->close();
    else
        view->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

inline long minorFaults()
{
    struct rusage u {};
    getrusage(RUSAGE_THREAD, &u);
    return u.ru_minflt;
}

// A field of /proc/self/status in MB ("VmHWM", "VmRSS").
inline double statusMB(const std::string& field)
{
    std::ifstream in("/proc/self/status");
    std::string key;
    double kb = 0;
    while (in >> key) {
        if (key == field + ":") {
            in >> kb;
            return kb / 1024.0;
        }
        in.ignore(4096, '\n');
    }
    return 0;
}

}  // namespace rumone::bench
