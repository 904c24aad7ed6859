// 予想検証: how the seven predictors would have done, walk-forward over the
// history, beside what chance gives; and how the predictions frozen in the
// log did once their draws were entered. The walk runs on a thread of its
// own with progress and a cancel button, so the window stays responsive.
// The frame with the settings and the progress is painted first, then the
// page of the hits in a turn of its own, once the charts' module (opened on
// a thread of its own after that first paint) is in. What the hidden tabs
// show (their pages, the yen chart, the log's score) is done a piece at a
// time, each some milliseconds after the last piece of work the player
// sees, so that the window thread never works long at a time and the chart
// of the count shown waits for nothing hidden. Whatever reads a hidden page
// (its accessor here, a print) has it done at once.
#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>

#include "core/backtest/PredictionLog.h"
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
    // The widgets of the page of the hits: nullptr until it is built.
    GridWidget* scoreGrid() const { return scoreGrid_; }
    ExcessPicture* chart() const { return chart_; }
    // The widgets of the hidden pages, with everything they show.
    GridWidget* logGrid() { return settled(logGrid_); }
    GridWidget* logDrawGrid() { return settled(logDrawGrid_); }
    GridWidget* ticketGrid() { return settled(ticketGrid_); }
    ExcessPicture* yenChart() { return settled(yenChart_); }
    QLabel* logStatusLabel() { return settled(logStatus_); }
    // What the page of the tickets says of its table while a run works
    // them out; empty once they are in.
    QLabel* ticketStateLabel() { return settled(ticketState_); }
    QTabWidget* tabs() const { return tabs_; }
    QLabel* conclusionLabel() const { return conclusion_; }
    QLabel* statusLabel() const { return status_; }
    bool running() const { return job_ != nullptr; }
    bool pagesBuilt() const { return pagesMade_ == kPageCount; }
    const std::optional<BacktestResult>& result() const { return result_; }

    // Starts the walk afresh with the settings shown (a run under way is
    // cancelled first); cancelRun stops it.
    void startRun();
    void cancelRun();
    void stopReadingHistory() override;
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
    // On a new history too: the settings start again from it, the log is
    // scored anew and the walk runs again.
    void build() override;
    // Closing stops the run and waits for it: the history it walks may go
    // right after.
    void closeEvent(QCloseEvent* event) override;
    // The first paint asks for the pages in the next turn of the event loop.
    void paintEvent(QPaintEvent* event) override;

private:
    static constexpr int kPageCount = 4;
    enum class Drawn { Now, Later };
    struct RunSettings {
        int reflect = 0;
        TargetRange range;
    };

    QWidget* createSettingsRow();
    // The prediction view's switches and the whole history.
    RunSettings settingsAtStart() const;
    // The job alone; showRunStarting puts it on screen.
    void launchRun(int reflect, TargetRange range);
    void showRunStarting(TargetRange range);
    // Builds the pages not built yet and does their pending work, at once
    // (a print, a tab chosen, an accessor).
    void settlePages();
    template <typename Widget>
    Widget* settled(Widget*& widget)
    {
        settlePages();
        return widget;
    }
    // The page of the hits in a later turn, once the charts' module is open.
    void askHitsPage();
    bool chartsOpen() const;
    // The pages in their order: hits, tickets, outlook, log.
    void buildNextPage(Drawn charts);
    // One piece of the hidden pages' work, then the next one later.
    bool hasHiddenWork() const;
    void doHiddenWork();
    void fillHitsPage(QWidget* page, Drawn chart);
    void fillTicketsPage(QWidget* page, Drawn chart);
    void fillLogPage(QWidget* page, Drawn score);
    void fillOutlookPage(QWidget* page);
    void showResult();
    void scoreLog();
    bool logReadIn() const;
    void showLog();
    void onProgress(int generation, int done, int total);
    void onShown(int generation, BacktestShown shown);
    void onTickets(int generation, BacktestTickets tickets);
    void onFinished(int generation, std::optional<BacktestEnd> end);
    void showEnd(std::optional<BacktestEnd> end);
    // Each chart from the figures its page's table shows.
    void showHitsChart();
    void showYenChart();
    // In a turn of its own; the hidden work waits for it.
    void askHitsChart();
    void setTicketState(const QString& text);
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
    int pagesMade_ = 0;
    bool hitsPageAsked_ = false;
    bool launchedAhead_ = false;
    bool yenChartStale_ = false;
    bool logStale_ = false;
    QTimer hiddenWork_;
    std::future<void> chartsOpened_;
    GridWidget* scoreGrid_ = nullptr;
    std::shared_ptr<ResultGrid> scoreModel_;
    QComboBox* chartChoice_ = nullptr;
    ExcessPicture* chart_ = nullptr;
    GridWidget* ticketGrid_ = nullptr;
    std::shared_ptr<ResultGrid> ticketModel_;
    QLabel* ticketNote_ = nullptr;
    QString ticketNoteText_;
    QLabel* ticketState_ = nullptr;
    QString ticketStateText_;
    // The yen of the tickets the table still shows from an earlier run
    // while this run works out its own; the chart beside it draws these.
    std::optional<YenTrack> earlierYen_;
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
    std::future<PredictionLogRead> logRead_;
    QElapsedTimer progressShown_;
    QElapsedTimer hitsChartAsked_;
    QTimer rerun_;
    std::unique_ptr<BacktestJob> job_;
    std::function<void()> workerStep_;
    int generation_ = 0;
    std::optional<BacktestResult> result_;
};

}  // namespace rumone
