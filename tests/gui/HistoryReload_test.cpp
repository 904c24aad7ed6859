// The frame's history follows the file: after the entry view wrote draws
// the views show the new ones, as a restart would; a second copy on the
// same database only reads; a close during an open or a reload ends the
// frame cleanly.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QMdiArea>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <random>

#include "core/analysis/AnalysisView.h"
#include "core/grid/GridDump.h"
#include "core/predict/Prediction.h"
#include "core/predict/PredictionOptions.h"
#include "core/store/DatabaseLock.h"
#include "core/store/DrawImport.h"
#include "core/store/DrawStore.h"
#include "core/store/StartingLoad.h"
#include "core/tickets/TicketBook.h"
#include "entry/EntryTestHelpers.h"
#include "gui/MainWindow.h"
#include "gui/analysis/ChanceChartWindow.h"
#include "gui/backtest/BacktestView.h"
#include "gui/grid/GridWidget.h"
#include "gui/predict/PredictionView.h"
#include "gui/prizes/PrizeView.h"

namespace rumone::test {
namespace {

std::vector<Row> draws(int count)
{
    std::vector<Row> rows;
    for (int n = 1; n <= count; ++n)
        rows.push_back({n, {n % 10, (n * 3) % 10, (n * 7) % 10, (n * 9) % 10}});
    return rows;
}

std::vector<std::string> gridDumps(const Prediction& prediction)
{
    std::vector<std::string> out;
    for (int g = 0; g < 4; ++g)
        out.push_back(dumpGrid(*prediction.grid(g)));
    return out;
}

// Draw 41 typed into a new row of the entry view, which then closes.
void enterNextDraw(MainWindow& frame)
{
    frame.mdiArea()->closeAllSubWindows();
    QApplication::processEvents();
    frame.runEntryCommand();
    auto* entry = qobject_cast<EntryView*>(frame.findView(QStringLiteral("当選データ入力")));
    ASSERT_NE(entry, nullptr);
    const int row = entry->model()->insertRowAfter(entry->model()->rowCount() - 1);
    ASSERT_GE(row, 0);
    for (int c = 1; c <= 4; ++c)
        ASSERT_TRUE(entry->model()->setData(entry->model()->index(row, c), QString::number(c)));
    EXPECT_TRUE(entry->closeChecked());
}

// The clock the start reads tells how many draws are missing; the entry
// view marks a date it has only from the draw rule.
TEST(HistoryReload, TheStartTellsTheMissingDrawsAndTheEntryViewTheirDates)
{
    TempDir dir;
    InFolder inDir(dir.path());
    makeDatabase(dir.path(), draws(40));
    {
        DrawEditSet set = openDrawEditSet(drawDatabaseAt(dir.file("Rumone.mdb")));
        set.importPreviewed(previewImport({}, {{40, DrawDetails{CivilDate{1995, 4, 7}, {}}}}, set.rows(), {}));
    }
    MainWindow frame;
    frame.setStartClock({{1995, 4, 14}, 21, 0});
    ASSERT_TRUE(frame.load(QString::fromStdString(dir.path())));
    EXPECT_EQ(frame.statusBar()->currentMessage(),
              QStringLiteral("最新は第40回（1995年4月7日）です。今日までの抽せんは第42回まで：2回分が未入力です"
                             "（データ管理 › 貼り付けて取込）"));
    frame.runEntryCommand();
    auto* entry = qobject_cast<EntryView*>(frame.findView(QStringLiteral("当選データ入力")));
    ASSERT_NE(entry, nullptr);
    const int last = entry->model()->rowCount() - 1;
    EXPECT_EQ(entry->model()->cellText(last, EntryTableModel::kDateColumn), QStringLiteral("1995-04-07"));
    EXPECT_EQ(entry->model()->cellText(last - 1, EntryTableModel::kDateColumn), QStringLiteral("1995-04-04（推定）"));
}

// A won ticket not yet received whose deadline is near is told once every
// draw is in, before the missing draws' note, which it leaves standing; a
// lost ticket tells nothing.
TEST(HistoryReload, TheStartTellsAWinNearItsDeadlineBeforeTheMissingDraws)
{
    std::map<bool, QString> shown;  // by whether the ticket won
    for (const bool won : {false, true}) {
        TempDir dir;
        InFolder inDir(dir.path());
        makeDatabase(dir.path(), draws(40));  // draw 40 is 0000
        const DrawDatabaseRef database = drawDatabaseAt(dir.file("Rumone.mdb"));
        {
            DrawEditSet set = openDrawEditSet(database);
            set.importPreviewed(previewImport({}, {{40, DrawDetails{CivilDate{1995, 4, 7}, {}}}}, set.rows(), {}));
        }
        recordPurchases(
            database,
            {Purchase{0, 40, 1, Ticket{kStraightTicket, won ? FourDigits{0, 0, 0, 0} : FourDigits{1, 2, 3, 4}}}});
        MainWindow frame;
        frame.setStartClock({{1996, 3, 20}, 21, 0});  // 18 days before the deadline
        ASSERT_TRUE(frame.load(QString::fromStdString(dir.path())));
        shown[won] = frame.statusBar()->currentMessage();
        frame.drawsWritten();  // a reload says it no more
        ASSERT_TRUE(QTest::qWaitFor([&] { return !frame.reloadPending(); }, 10000));
        EXPECT_FALSE(frame.statusBar()->currentMessage().contains(QStringLiteral("0000"))) << won;
    }
    EXPECT_FALSE(shown[false].isEmpty());
    EXPECT_FALSE(shown[false].contains(QStringLiteral("0000")));
    EXPECT_TRUE(shown[true].contains(QStringLiteral("0000")));
    EXPECT_TRUE(shown[true].endsWith(shown[false]));
    EXPECT_FALSE(shown[true].startsWith(shown[false]));
}

// データ管理 › 当せん金 lists the draws whose prizes were stored.
TEST(HistoryReload, ThePrizeViewListsTheStoredPrizes)
{
    TempDir dir;
    InFolder inDir(dir.path());
    makeDatabase(dir.path(), draws(40));
    {
        DrawEditSet set = openDrawEditSet(drawDatabaseAt(dir.file("Rumone.mdb")));
        DrawDetails details;
        details.prizes[0] = PrizeLine{12, 645500};
        set.importPreviewed(previewImport({}, {{39, details}}, set.rows(), {}));
    }
    MainWindow frame;
    ASSERT_TRUE(frame.load(QString::fromStdString(dir.path())));
    frame.findChild<QAction*>("mnuPrizes")->trigger();
    auto* view = qobject_cast<PrizeView*>(frame.findView(PrizeView::windowName()));
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->gridWidget()->grid()->rows(), 3);
    EXPECT_EQ(view->gridWidget()->grid()->getText(1, 3), "39");
    EXPECT_EQ(view->gridWidget()->grid()->getText(6, 3), "645,500");
}

// On a longer history the latest draws are shown at once and the whole
// table after they painted, the current cell kept on its draw and the
// table at its latest rows.
TEST(HistoryReload, ThePrizeViewShowsTheLatestDrawsFirstAndTheWholeTableAfter)
{
    TempDir dir;
    InFolder inDir(dir.path());
    constexpr int kDraws = 100;
    makeDatabase(dir.path(), draws(kDraws));
    {
        DrawEditSet set = openDrawEditSet(drawDatabaseAt(dir.file("Rumone.mdb")));
        DrawDetailsList details;
        for (int n = 1; n <= kDraws; ++n) {
            DrawDetails d;
            d.prizes[0] = PrizeLine{10, 800000 + n * 100};
            details.emplace_back(n, d);
        }
        set.importPreviewed(previewImport({}, details, set.rows(), {}));
    }
    MainWindow frame;
    ASSERT_TRUE(frame.load(QString::fromStdString(dir.path())));
    frame.show();  // the rest is read once the latest rows have painted
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    frame.findChild<QAction*>("mnuPrizes")->trigger();
    auto* view = qobject_cast<PrizeView*>(frame.findView(PrizeView::windowName()));
    ASSERT_NE(view, nullptr);
    const ResultGrid* first = view->gridWidget()->grid();
    constexpr int kFirst = static_cast<int>(PrizeView::kFirstDraws);
    ASSERT_EQ(first->rows(), kFirst + 2);
    EXPECT_EQ(first->getText(1, 3), std::to_string(kDraws - kFirst + 1));
    EXPECT_EQ(first->getText(1, kFirst + 2), std::to_string(kDraws));
    EXPECT_TRUE(view->readingRest());
    EXPECT_TRUE(view->picture()->reading());
    view->gridWidget()->setCurrentCell(6, kFirst + 2);  // the latest draw's prize

    ASSERT_TRUE(QTest::qWaitFor([&] { return !view->readingRest(); }, 10000));
    const GridWidget& grid = *view->gridWidget();
    ASSERT_EQ(grid.grid()->rows(), kDraws + 2);
    EXPECT_EQ(grid.grid()->getText(1, 3), "1");
    EXPECT_EQ(grid.grid()->getText(1, grid.currentRow()), std::to_string(kDraws));
    EXPECT_EQ(grid.currentColumn(), 6);
    EXPECT_EQ(grid.verticalScrollBar()->value(), grid.verticalScrollBar()->maximum());
    EXPECT_FALSE(view->picture()->reading());
}

TEST(HistoryReload, AfterTheEntryViewWroteTheViewsShowTheNewDrawAsARestartWould)
{
    TempDir dir;
    InFolder inDir(dir.path());
    makeDatabase(dir.path(), draws(40));
    MainWindow frame;
    ASSERT_TRUE(frame.load(QString::fromStdString(dir.path())));
    auto* prediction = qobject_cast<PredictionView*>(frame.showView(QStringLiteral("一発ルモーネ")));
    ASSERT_NE(prediction, nullptr);
    EXPECT_EQ(prediction->targetLabel()->text(), QStringLiteral("第41回（1995年4月11日（火））の予想"));

    enterNextDraw(frame);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !frame.reloadPending(); }, 10000));
    EXPECT_EQ(frame.drawHistory().latestDrawNumber(), 41);
    // The entry view gave way to the prediction of the next draw.
    ASSERT_TRUE(QTest::qWaitFor([&] { return frame.findView(QStringLiteral("一発ルモーネ")) != nullptr; }, 1000));
    prediction = qobject_cast<PredictionView*>(frame.findView(QStringLiteral("一発ルモーネ")));
    EXPECT_EQ(prediction->targetLabel()->text(), QStringLiteral("第42回（1995年4月14日（金））の予想"));
    // A verification run under way when the draws change is run again on them.
    auto* backtest = qobject_cast<BacktestView*>(frame.showView(QStringLiteral("予想検証")));
    ASSERT_NE(backtest, nullptr);
    prediction = qobject_cast<PredictionView*>(frame.showView(QStringLiteral("一発ルモーネ")));
    EXPECT_EQ(prediction->targetLabel()->text(), QStringLiteral("第42回（1995年4月14日（金））の予想"));

    Prediction restarted;
    restarted.readInitFile();
    restarted.layOutGrids();
    restarted.scanDraws(loadDrawHistory(parseConnectionString(buildConnectionString(dir.path()))));
    EXPECT_EQ(gridDumps(frame.prediction()), gridDumps(restarted));

    // Written again behind the open views: they follow, the run restarts.
    frame.drawsWritten();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !frame.reloadPending(); }, 10000));
    EXPECT_EQ(backtest->toBox()->value(), 41);
    EXPECT_TRUE(backtest->running() || backtest->result());
    EXPECT_EQ(prediction->targetLabel()->text(), QStringLiteral("第42回（1995年4月14日（金））の予想"));
}

// The refusal's second button closes the open views and opens the entry
// view; closed without writing, the entry view leaves the workspace empty.
TEST(HistoryReload, TheRefusalCanCloseTheOpenViewsAndOpenTheEntryView)
{
    TempDir dir;
    InFolder inDir(dir.path());
    makeDatabase(dir.path(), draws(40));
    MainWindow frame;
    ASSERT_TRUE(frame.load(QString::fromStdString(dir.path())));
    frame.showView(QStringLiteral("一発ルモーネ"));
    frame.showView(QStringLiteral("出現頻度分析"));
    {
        ScriptedAnswers closeAndOpen({QMessageBox::Retry});
        frame.runEntryCommand();
        ASSERT_TRUE(closeAndOpen.seen());
        EXPECT_EQ(closeAndOpen.first().text, QStringLiteral("表示中のウィンドウを閉じないと実行できません。"));
        EXPECT_EQ(closeAndOpen.first().defaultButton, QMessageBox::Ok);
    }
    QApplication::processEvents();
    ASSERT_NE(frame.findView(QStringLiteral("当選データ入力")), nullptr);
    EXPECT_EQ(frame.findView(QStringLiteral("一発ルモーネ")), nullptr);
    EXPECT_EQ(frame.findView(QStringLiteral("出現頻度分析")), nullptr);

    frame.closeAllViews();
    QApplication::processEvents();
    EXPECT_EQ(frame.findView(QStringLiteral("一発ルモーネ")), nullptr);
}

// データ管理's imports write with views open; the views follow the file.
TEST(HistoryReload, TheFrameImportsPastedDrawsWithViewsOpen)
{
    TempDir dir;
    InFolder inDir(dir.path());
    const std::string db = makeDatabase(dir.path(), draws(40));
    MainWindow frame;
    ASSERT_TRUE(frame.load(QString::fromStdString(dir.path())));
    auto* prediction = qobject_cast<PredictionView*>(frame.showView(QStringLiteral("一発ルモーネ")));
    ASSERT_NE(prediction, nullptr);
    ScriptedAnswers answers({QMessageBox::Ok, QMessageBox::Ok});
    frame.importPastedText(QStringLiteral("第41回 2026年8月24日 ０１２３\n"));
    ASSERT_EQ(answers.shown().size(), 2u);
    EXPECT_TRUE(answers.shown()[0].text.contains(QStringLiteral("新しい回: 1")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !frame.reloadPending(); }, 10000));
    EXPECT_EQ(onDisk(db).back(), "41: 0 1 2 3");
    EXPECT_EQ(frame.findView(QStringLiteral("一発ルモーネ")), prediction);
    // The pasted date is stored: the next draw is dated from it.
    EXPECT_EQ(prediction->targetLabel()->text(), QStringLiteral("第42回（2026年8月25日（火））の予想"));
}

TEST(HistoryReload, ASecondCopyOpensReadOnlyOrEnds)
{
    TempDir dir;
    InFolder inDir(dir.path());
    const std::string db = makeDatabase(dir.path(), draws(10));
    const DatabaseLock first(db);
    ASSERT_TRUE(first.held());
    {
        ScriptedAnswers quit({QMessageBox::No});
        MainWindow frame;
        EXPECT_FALSE(frame.load(QString::fromStdString(dir.path())));
        EXPECT_TRUE(quit.first().text.contains(QStringLiteral("gui_tests（プロセス %1）").arg(getpid())))
            << quit.first().text.toStdString();
    }
    ScriptedAnswers answers({QMessageBox::Yes, QMessageBox::Ok, QMessageBox::Ok});
    MainWindow frame;
    ASSERT_TRUE(frame.load(QString::fromStdString(dir.path())));
    EXPECT_TRUE(frame.readOnly());
    EXPECT_EQ(frame.drawHistory().latestDrawNumber(), 10);
    frame.runEntryCommand();
    EXPECT_EQ(frame.findView(QStringLiteral("当選データ入力")), nullptr);
    auto* prediction = qobject_cast<PredictionView*>(frame.showView(QStringLiteral("一発ルモーネ")));
    ASSERT_NE(prediction, nullptr);
    prediction->recordShownPrediction();
    const auto caught = answers.shown();
    ASSERT_EQ(caught.size(), 3u);
    EXPECT_TRUE(caught[1].text.contains(QStringLiteral("当選データの入力と取込はできません")));
    EXPECT_TRUE(caught[2].text.contains(QStringLiteral("予想の記録はできません")));
    EXPECT_EQ(onDisk(db).size(), 10u);
}

// At start the draws are read while the frame shows and paints; the first
// view waits for them. A load that fails is told over the frame, which
// then closes: no view opens, no options file is written, and the frame
// says the start failed. A frame closed before any view still saves its
// options once the draws are in.
TEST(HistoryReload, TheDrawsReadWhileTheFrameShowsReachTheFirstView)
{
    struct Case {
        bool databaseThere;
        bool viewOpened;
    };
    for (const Case c : {Case{true, true}, Case{false, true}, Case{true, false}}) {
        SCOPED_TRACE(testing::Message() << c.databaseThere << c.viewOpened);
        TempDir dir;
        InFolder inDir(dir.path());
        if (c.databaseThere)
            makeDatabase(dir.path(), draws(40));
        {
            ScriptedAnswers answers;
            DrawDatabaseRef database = parseConnectionString(buildConnectionString(dir.path()));
            StartingLoad begun = StartingLoad::begin(database, latestDrawsSettlePrediction);
            MainWindow frame;
            ASSERT_TRUE(frame.load(std::move(database), std::move(begun)));
            frame.show();
            if (c.viewOpened) {
                ChildView* view = frame.showView(QStringLiteral("一発ルモーネ"));
                EXPECT_EQ(view != nullptr, c.databaseThere);
                EXPECT_EQ(frame.isVisible(), c.databaseThere);
                if (c.databaseThere)
                    EXPECT_EQ(frame.drawHistory().latestDrawNumber(), 40);
                else
                    EXPECT_EQ(frame.showView(QStringLiteral("出現頻度分析")), nullptr);
            }
            EXPECT_EQ(answers.seen(), !c.databaseThere);
            EXPECT_EQ(frame.startFailed(), !c.databaseThere);
        }
        EXPECT_EQ(std::filesystem::exists(std::filesystem::path(dir.path()) / "ルモーネ.ini"), c.databaseThere);
    }
    // The failed start ended no application: an event loop still waits.
    QEventLoop loop;
    bool waited = false;
    QTimer::singleShot(0, &loop, [&] {
        waited = true;
        loop.quit();
    });
    loop.exec();
    EXPECT_TRUE(waited);
}

// On a long history the prediction view opens on the start's latest draws
// alone, with the prediction every draw gives, before the rest is read; the
// rest is read once it has painted. Any other view opened meanwhile waits
// for every draw.
TEST(HistoryReload, ThePredictionPaintsFromTheLatestDrawsAndOtherViewsWaitForAll)
{
    std::mt19937 random(3);
    std::vector<Row> rows;
    for (int n = 1; n <= 6000; ++n)
        rows.push_back({n, {int(random() % 10), int(random() % 10), int(random() % 10), int(random() % 10)}});
    TempDir dir;
    InFolder inDir(dir.path());
    makeDatabase(dir.path(), rows);
    for (const bool otherViewFirst : {false, true}) {
        SCOPED_TRACE(otherViewFirst);
        ScriptedAnswers answers;
        DrawDatabaseRef database = parseConnectionString(buildConnectionString(dir.path()));
        StartingLoad begun = StartingLoad::begin(database, latestDrawsSettlePrediction);
        MainWindow frame;
        ASSERT_TRUE(frame.load(std::move(database), std::move(begun)));
        for (int i = 0; i < kOptionCount; ++i)
            frame.prediction().setFlag(i, false);
        auto* view = qobject_cast<PredictionView*>(frame.showView(QStringLiteral("一発ルモーネ")));
        ASSERT_NE(view, nullptr);
        EXPECT_FALSE(frame.everyDrawRead());  // the rest waits for the first paint
        EXPECT_EQ(frame.drawHistory().completeDraws().size(), 0u);
        // A switch set meanwhile recomputes from the latest draws; its walk
        // waits for every draw.
        if (!otherViewFirst)
            view->reflectButton(0)->click();
        const std::vector<std::string> expected = gridDumps(predictionOf(historyOf(rows), otherViewFirst ? 0 : 1));
        EXPECT_EQ(gridDumps(frame.prediction()), expected);
        EXPECT_TRUE(view->targetLabel()->text().startsWith(QStringLiteral("第6001回")));
        QTest::qWait(50);
        EXPECT_TRUE(view->checkLabel()->text().contains(QStringLiteral("計算しています")));
        if (otherViewFirst) {
            ASSERT_NE(frame.showView(QStringLiteral("出現頻度分析")), nullptr);
            EXPECT_TRUE(frame.everyDrawRead());
        } else {
            frame.show();
            QTRY_VERIFY_WITH_TIMEOUT(frame.everyDrawRead(), 20000);
        }
        EXPECT_EQ(frame.drawHistory().latestDrawNumber(), 6000);
        EXPECT_EQ(gridDumps(frame.prediction()), expected);
        EXPECT_FALSE(answers.seen());
    }
}

// Every kind of view the frame opens, by window name.
std::vector<QString> everyViewKind()
{
    std::vector<QString> names = {QStringLiteral("一発ルモーネ"), QStringLiteral("予想検証"),
                                  QStringLiteral("当選データ入力"), QStringLiteral("バージョン情報")};
    for (const AnalysisViewSpec& spec : analysisViews()) {
        names.push_back(QString::fromStdString(spec.objectName));
        if (spec.chance)
            names.push_back(ChanceChartWindow::windowNameFor(spec));
    }
    return names;
}

// An open lets pending messages run. A close among them is taken once the
// open is over: the frame closes and saves its options, and no view is
// left behind it (under the sanitizer such a view calls into the frame
// after its end).
TEST(HistoryReload, ACloseThatComesDuringAnOpenIsTakenAfterIt)
{
    TempDir dir;
    InFolder inDir(dir.path());
    makeDatabase(dir.path(), draws(40));
    const std::filesystem::path options = std::filesystem::path(dir.path()) / "ルモーネ.ini";
    for (const QString& name : everyViewKind()) {
        SCOPED_TRACE(name.toStdString());
        ScriptedAnswers answers;
        std::filesystem::remove(options);
        auto frame = std::make_unique<MainWindow>();
        ASSERT_TRUE(frame->load(QString::fromStdString(dir.path())));
        frame->show();
        QTimer::singleShot(0, frame.get(), [&frame] { frame->close(); });
        frame->showView(name);
        EXPECT_FALSE(frame->isVisible());
        EXPECT_EQ(frame->openViewCount(), 0);
        EXPECT_EQ(frame->findView(name), nullptr);
        EXPECT_TRUE(std::filesystem::exists(options));
        frame.reset();
    }
}

// Quitting at any moment while the draws are read again, with views open
// and opening: the frame ends once, and nothing reads or adopts a history
// after it went.
TEST(HistoryReload, QuittingAtRandomMomentsOfAReloadWithViewsOpen)
{
    TempDir dir;
    InFolder inDir(dir.path());
    makeDatabase(dir.path(), draws(400));
    const std::vector<QString> kinds = everyViewKind();
    std::mt19937 random(36);
    std::uniform_int_distribution<int> delayMs(0, 60);
    ScriptedAnswers answers;
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        auto frame = std::make_unique<MainWindow>();
        ASSERT_TRUE(frame->load(QString::fromStdString(dir.path())));
        frame->show();
        frame->showView(QStringLiteral("予想検証"));
        frame->showView(QStringLiteral("一発ルモーネ"));
        frame->drawsWritten();
        QTimer::singleShot(delayMs(random), frame.get(), [&frame] { frame->close(); });
        // Views open until the frame closes, or (odd rounds) the reload's
        // own polling runs alone.
        for (std::size_t i = round; frame->isVisible(); i += 7) {
            if (round % 2 == 0)
                frame->showView(kinds[i % kinds.size()]);
            else
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        EXPECT_FALSE(frame->reloadPending());
        EXPECT_EQ(frame->openViewCount(), 0);
        frame.reset();
    }
}

}  // namespace
}  // namespace rumone::test
