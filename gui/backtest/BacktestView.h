// 予想検証: how the seven predictors would have done, walk-forward over the
// history, beside what chance gives; and how the predictions frozen in the
// log did once their draws were entered. The walk runs on a thread of its
// own with progress and a cancel button, so the window stays responsive.
// The frame with the settings and the progress is painted first; the two
// pages (tables, charts, the log's score) are built right after that first
// paint, or when the walk's result arrives if that comes sooner.
#pragma once

#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/backtest/Scoring.h"
#include "core/store/DrawStore.h"
#include "gui/common/ChildView.h"

class QComboBox;
class QLabel;
class QPagedPaintDevice;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTabWidget;

namespace rumone {

class BacktestJob;
struct BacktestEnd;
struct BacktestShown;
struct BacktestTickets;
class ExcessPicture;
class GridWidget;
class Prediction;
class ResultGrid;

class BacktestView : public ChildView {
    Q_OBJECT
public:
    // `database` is the one whose log is scored; no path for none.
    BacktestView(ViewHost& host, const Prediction& prediction, DrawDatabaseRef database, QWidget* parent = nullptr);
    ~BacktestView() override;

    QSpinBox* reflectBox() const { return reflect_; }
    QSpinBox* fromBox() const { return from_; }
    QSpinBox* toBox() const { return to_; }
    // The widgets of the pages: nullptr until the pages are built.
    GridWidget* scoreGrid() const { return scoreGrid_; }
    GridWidget* logGrid() const { return logGrid_; }
    GridWidget* logDrawGrid() const { return logDrawGrid_; }
    ExcessPicture* chart() const { return chart_; }
    GridWidget* ticketGrid() const { return ticketGrid_; }
    ExcessPicture* yenChart() const { return yenChart_; }
    QTabWidget* tabs() const { return tabs_; }
    QLabel* conclusionLabel() const { return conclusion_; }
    QLabel* statusLabel() const { return status_; }
    QLabel* logStatusLabel() const { return logStatus_; }
    bool running() const { return job_ != nullptr; }
    bool pagesBuilt() const { return pagesBuilt_; }
    const std::optional<BacktestResult>& result() const { return result_; }

    // Starts the walk afresh with the settings shown (a run under way is
    // cancelled first); cancelRun stops it.
    void startRun();
    void cancelRun();
    void stopReadingHistory() override;
    // The settings start again from the new history, the log is scored
    // anew and the walk runs again.
    bool rebuildOnNewHistory() override
    {
        build();
        return true;
    }
    // Called on the run's own thread at each progress report of the runs
    // started from now on (tests hold a run under way with it).
    void setWorkerStep(std::function<void()> step) { workerStep_ = std::move(step); }

    // The window's content on one page under its caption.
    bool printTo(QPagedPaintDevice& device);

signals:
    // A run ended; `completed` is false when it was cancelled.
    void runFinished(bool completed);

protected:
    QSize sizeInTwips() const override;
    void build() override;
    // Closing stops the run and waits for it: the history it walks may go
    // right after.
    void closeEvent(QCloseEvent* event) override;
    // The first paint asks for the pages in the next turn of the event loop.
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* createSettingsRow();
    // Builds both pages once (and scores the log); later calls do nothing.
    void buildPages();
    void fillHitsPage(QWidget* page);
    void fillTicketsPage(QWidget* page);
    void fillLogPage(QWidget* page);
    void fillOutlookPage(QWidget* page);
    void showResult();
    void showRange();
    void scoreLog();
    void onProgress(int generation, int done, int total);
    void onShown(int generation, BacktestShown shown);
    void onTickets(int generation, BacktestTickets tickets);
    void onFinished(int generation, std::optional<BacktestEnd> end);
    void showChart();
    void onPrintClicked();

    const Prediction& prediction_;
    DrawDatabaseRef database_;
    QWidget* body_ = nullptr;
    QSpinBox* reflect_ = nullptr;
    QSpinBox* from_ = nullptr;
    QSpinBox* to_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* conclusion_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QWidget* hitsPage_ = nullptr;
    QWidget* ticketsPage_ = nullptr;
    QWidget* logPage_ = nullptr;
    QWidget* outlookPage_ = nullptr;
    bool pagesBuilt_ = false;
    bool pagesAsked_ = false;
    GridWidget* scoreGrid_ = nullptr;
    std::shared_ptr<ResultGrid> scoreModel_;
    QComboBox* chartChoice_ = nullptr;
    ExcessPicture* chart_ = nullptr;
    GridWidget* ticketGrid_ = nullptr;
    std::shared_ptr<ResultGrid> ticketModel_;
    QLabel* ticketNote_ = nullptr;
    QLabel* outlookLabel_ = nullptr;
    GridWidget* outlookGrid_ = nullptr;
    std::shared_ptr<ResultGrid> outlookModel_;
    QComboBox* yenChoice_ = nullptr;
    ExcessPicture* yenChart_ = nullptr;
    QLabel* logStatus_ = nullptr;
    GridWidget* logGrid_ = nullptr;
    std::shared_ptr<ResultGrid> logModel_;
    GridWidget* logDrawGrid_ = nullptr;
    std::shared_ptr<ResultGrid> logDrawModel_;
    QTimer rerun_;
    std::unique_ptr<BacktestJob> job_;
    std::function<void()> workerStep_;
    int generation_ = 0;
    std::optional<BacktestResult> result_;
};

}  // namespace rumone
