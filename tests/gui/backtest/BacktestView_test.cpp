// The verification window 予想検証: the walk runs off the window's thread
// and lands in the table and the chart, a run can be cancelled or the
// window closed under it, and a prediction recorded on the prediction view
// is scored here once its draw is entered.
#include <gtest/gtest.h>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPdfWriter>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <chrono>
#include <filesystem>
#include <thread>

#include "core/backtest/BacktestGrid.h"
#include "core/backtest/Comparisons.h"
#include "core/backtest/PredictionLog.h"
#include "core/backtest/TicketGrid.h"
#include "core/predict/Prediction.h"
#include "core/store/DrawDatabase.h"
#include "core/store/DrawStore.h"
#include "gui/MainWindow.h"
#include "gui/backtest/BacktestView.h"
#include "gui/charts/ChartsModule.h"
#include "gui/common/Messages.h"
#include "gui/grid/GridWidget.h"
#include "gui/predict/PredictionView.h"
#include "support/TestSupport.h"

using namespace rumone;

namespace {

class FakeHost : public ViewHost {
public:
    explicit FakeHost(DrawHistory h) : history(std::move(h)) {}
    void setPropEnd(bool value) override { propEnd = value; }
    const DrawHistory& drawHistory() const override { return history; }
    bool propEnd = true;
    DrawHistory history;
};

// A view in an MDI area of its own, loaded as the main window does it.
template <typename View>
class Hosted {
public:
    explicit Hosted(View* view) : view_(view)
    {
        area_.resize(1000, 900);
        area_.show();
        sub_ = area_.addSubWindow(view_);
        view_->load();
        sub_->show();
    }
    View& view() const { return *view_; }
    QMdiSubWindow* sub() const { return sub_; }

private:
    QMdiArea area_;
    View* view_;
    QMdiSubWindow* sub_ = nullptr;
};

bool waitForRun(BacktestView& view)
{
    QSignalSpy spy(&view, &BacktestView::runFinished);
    return !view.running() || spy.wait(20000);
}

TEST(BacktestView, TheWalkLandsInTheTableAndTheChartAndFollowsTheReflectCount)
{
    FakeHost host(test::randomHistory(400, 11));
    Prediction prediction;
    prediction.setFlag(4, true);
    auto* view = new BacktestView(host, prediction, {});
    Hosted<BacktestView> h(view);
    EXPECT_FALSE(host.propEnd);
    EXPECT_EQ(view->reflectBox()->value(), 1);
    ASSERT_TRUE(waitForRun(*view));
    ASSERT_TRUE(view->result().has_value());

    const auto expected = runBacktest(host.history, 1, {});
    ResultGrid grid;
    fillScoreGrid(grid, expected->board);
    for (int row = 1; row <= grid.rows(); ++row)
        EXPECT_EQ(test::rowTexts(*view->scoreGrid()->grid(), row), test::rowTexts(grid, row));
    EXPECT_GT(view->chart()->pointCount(), 100);
    ResultGrid tickets;
    fillTicketGrid(tickets, expected->tickets);
    for (int row = 1; row <= tickets.rows(); ++row)
        EXPECT_EQ(test::rowTexts(*view->ticketGrid()->grid(), row), test::rowTexts(tickets, row));
    EXPECT_EQ(view->conclusionLabel()->text().toStdString(), resultConclusionText(*expected));
    EXPECT_GT(view->yenChart()->pointCount(), 100);
    test::TempDir dir;
    {
        QPdfWriter pdf(QString::fromStdString(dir.file("print.pdf")));
        EXPECT_TRUE(view->printTo(pdf));
    }
    EXPECT_GT(std::filesystem::file_size(dir.file("print.pdf")), 1000u);

    view->reflectBox()->setValue(3);  // starts a fresh run after a pause
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->running(); }, 5000));
    ASSERT_TRUE(waitForRun(*view));
    EXPECT_EQ(view->result()->reflect, 3);
    EXPECT_EQ(view->result()->board[4].hits, runBacktest(host.history, 3, {})->board[4].hits);
}

TEST(BacktestView, ARunCanBeCancelledAndTheWindowClosedUnderARun)
{
    FakeHost host(test::randomHistory(kMaxDrawNumber, 2));
    Prediction prediction;
    {
        auto* view = new BacktestView(host, prediction, {});
        Hosted<BacktestView> h(view);
        ASSERT_TRUE(view->running());
        view->cancelRun();
        ASSERT_TRUE(waitForRun(*view));
        EXPECT_FALSE(view->result().has_value());
        EXPECT_EQ(view->statusLabel()->text(), QStringLiteral("検証を中止しました。"));
        EXPECT_EQ(view->chart()->pointCount(), 0);
    }
    auto* view = new BacktestView(host, prediction, {});
    Hosted<BacktestView> h(view);
    ASSERT_TRUE(view->running());
    h.sub()->close();  // waits for the walk's thread; nothing arrives afterwards
    QApplication::processEvents();
    EXPECT_TRUE(host.propEnd);
}

// The frame and the progress are painted before the pages are built; the
// pages, with the log's score, follow in a later turn while the walk still
// runs.
TEST(BacktestView, ThePagesFollowTheFirstPaintWhileTheWalkRuns)
{
    auto frame = std::make_unique<MainWindow>();
    frame->loadWithHistory(test::randomHistory(kMaxDrawNumber, 5));
    frame->resize(1200, 900);
    frame->show();
    auto* view = qobject_cast<BacktestView*>(frame->showView(QStringLiteral("予想検証")));
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(view->pagesBuilt());
    EXPECT_EQ(view->scoreGrid(), nullptr);
    view->setWorkerStep([] { std::this_thread::sleep_for(std::chrono::milliseconds(20)); });
    view->startRun();  // held, so that the pages come while it runs
    ASSERT_TRUE(view->running());
    EXPECT_TRUE(view->findChild<QProgressBar*>("ProgressRun")->isVisibleTo(view));

    ASSERT_TRUE(QTest::qWaitFor([&] { return view->pagesBuilt(); }, 5000));
    EXPECT_TRUE(view->running());
    EXPECT_TRUE(view->scoreGrid()->isVisibleTo(view));
    EXPECT_EQ(view->logStatusLabel()->text(), QStringLiteral("記録した予想を読むデータベースがありません。"));
    view->cancelRun();
    ASSERT_TRUE(waitForRun(*view));
}

TEST(BacktestView, APredictionRecordedBeforeItsDrawIsScoredOnceTheDrawIsEntered)
{
    test::TempDir dir;
    const std::string path = dir.file("Rumone.mdb");
    createDrawDatabase(path);
    const DrawDatabaseRef cs = drawDatabaseAt(path);
    std::vector<EditRow> rows;
    const DrawHistory drawn = test::randomHistory(60, 4);
    for (const Draw& d : drawn.completeDraws()) {
        EditRow r;
        r.number = DbValue::fromInt(d.number);
        for (int p = 0; p < 4; ++p)
            r.digits[p] = DbValue::fromInt(d.digits[p]);
        rows.push_back(r);
    }
    openDrawEditSet(cs).importDraws(rows);

    FakeHost host(loadDrawHistory(cs));
    Prediction prediction;
    {
        auto* predictionView = new PredictionView(host, prediction);
        predictionView->setLogDatabase(cs);
        Hosted<PredictionView> h(predictionView);
        ScriptedAnswers answers({QMessageBox::Ok, QMessageBox::Ok});
        QTest::mouseClick(predictionView->findChild<QPushButton*>("Cmd予想記録"), Qt::LeftButton);
        QTest::mouseClick(predictionView->findChild<QPushButton*>("Cmd予想記録"), Qt::LeftButton);
        ASSERT_EQ(answers.shown().size(), 2u);
        EXPECT_EQ(answers.shown()[0].icon, QMessageBox::Information);
        EXPECT_EQ(answers.shown()[1].icon, QMessageBox::Warning);  // a second record is refused
    }
    const auto log = readPredictionLog(cs).entries;
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].target, 61);
    EXPECT_EQ(log[0].sets, setsOfPrediction(prediction));

    // Draw 61 entered, in a later second than the record: the log has one
    // scored target.
    while (storedTimeNow() == log[0].recordedAt)
        QTest::qWait(50);
    openDrawEditSet(cs).importDraws({EditRow{
        DbValue::fromInt(61), {DbValue::fromInt(1), DbValue::fromInt(2), DbValue::fromInt(3), DbValue::fromInt(4)}}});
    host.history = loadDrawHistory(cs);
    auto* view = new BacktestView(host, prediction, cs);
    Hosted<BacktestView> h(view);
    ASSERT_TRUE(waitForRun(*view));
    EXPECT_EQ(view->logGrid()->grid()->getText(2, 2), "1");  // targets of 周期7
    for (int row = 2; row <= 8; ++row)
        EXPECT_EQ(view->logGrid()->grid()->getText(7, row), "判定には回数が足りません（1回）") << row;
    EXPECT_TRUE(view->logStatusLabel()->text().contains(QStringLiteral("1 件")));
    // Draw by draw: the seven predictors of draw 61 against 1234.
    const ResultGrid& draws = *view->logDrawGrid()->grid();
    EXPECT_EQ(draws.rows(), 1 + kPredictorCount);
    EXPECT_EQ(draws.getText(1, 2), "61");
    EXPECT_TRUE(draws.getText(3, 2).ends_with("→ 当選 1234")) << draws.getText(3, 2);
}

}  // namespace

// The reflect count asked for is walked first: its table and chart are in
// while the other ten are still walked; the conclusion over all of them
// follows.
TEST(BacktestView, TheChartComesBeforeTheOtherReflectCountsAreWalked)
{
    FakeHost host(test::randomHistory(600, 3));
    Prediction prediction;
    auto* view = new BacktestView(host, prediction, {});
    Hosted<BacktestView> h(view);
    view->setWorkerStep([] { std::this_thread::sleep_for(std::chrono::milliseconds(50)); });
    view->startRun();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->chart() && view->chart()->pointCount() > 0; }, 20000));
    EXPECT_TRUE(view->running());
    EXPECT_TRUE(view->conclusionLabel()->text().isEmpty());
    ASSERT_TRUE(waitForRun(*view));
    EXPECT_FALSE(view->conclusionLabel()->text().isEmpty());
    EXPECT_EQ(view->result()->boards[0][4].hits, view->result()->board[4].hits);
}

// While a changed setting is walked again, the page of the tickets keeps the
// earlier run's table and the chart of that same run, and says so, until
// the new tickets are in: another predictor chosen for the chart in that
// moment draws the earlier run's line, never an empty chart beside a
// filled table.
TEST(BacktestView, ARerunKeepsTheTicketsTableAndChartOfOneRunUntilItsOwnAreIn)
{
    FakeHost host(test::randomHistory(600, 8));
    Prediction prediction;
    auto* view = new BacktestView(host, prediction, {});
    Hosted<BacktestView> h(view);
    ASSERT_TRUE(waitForRun(*view));
    ASSERT_EQ(view->result()->reflect, 0);
    ResultGrid earlier;
    fillTicketGrid(earlier, runBacktest(host.history, 0, {})->tickets);
    EXPECT_TRUE(view->ticketStateLabel()->text().isEmpty());

    view->setWorkerStep([] { std::this_thread::sleep_for(std::chrono::milliseconds(100)); });
    view->reflectBox()->setValue(2);
    view->startRun();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->result() && view->result()->reflect == 2; }, 20000));
    ASSERT_TRUE(view->running());
    view->findChild<QComboBox*>("CboYenChart")->setCurrentIndex(3);
    EXPECT_GT(view->yenChart()->pointCount(), 100);
    for (int row = 1; row <= earlier.rows(); ++row)
        EXPECT_EQ(test::rowTexts(*view->ticketGrid()->grid(), row), test::rowTexts(earlier, row));
    EXPECT_FALSE(view->ticketStateLabel()->text().isEmpty());

    ASSERT_TRUE(waitForRun(*view));
    ResultGrid now;
    fillTicketGrid(now, runBacktest(host.history, 2, {})->tickets);
    for (int row = 1; row <= now.rows(); ++row)
        EXPECT_EQ(test::rowTexts(*view->ticketGrid()->grid(), row), test::rowTexts(now, row));
    EXPECT_GT(view->yenChart()->pointCount(), 100);
    EXPECT_TRUE(view->ticketStateLabel()->text().isEmpty());
}
