#include <gtest/gtest.h>
#include <unistd.h>
#include <QAction>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QTest>
#include <QTimer>
#include <QTranslator>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "core/predict/Prediction.h"
#include "core/predict/PredictionTexts.h"
#include "gui/MainWindow.h"
#include "gui/analysis/AnalysisWindow.h"
#include "gui/backtest/BacktestView.h"
#include "gui/common/Messages.h"
#include "gui/common/ProgramIcon.h"
#include "gui/common/QtJapanese.h"
#include "gui/help/HtmlHelp.h"
#include "support/TestSupport.h"

using namespace rumone;

namespace {

// The menu tree as "depth|caption|objectName" lines, in display order.
void walk(const QList<QAction*>& actions, int depth, std::vector<std::string>& out)
{
    for (QAction* a : actions) {
        if (a->isSeparator())
            continue;
        out.push_back(std::to_string(depth) + "|" + a->text().toStdString() + "|" + a->objectName().toStdString());
        if (QMenu* m = a->menu())
            walk(m->actions(), depth + 1, out);
    }
}

// Runs a test in a folder of its own, so that the options file written at
// exit lands there.
class InTempFolder {
public:
    InTempFolder() : old_(std::filesystem::current_path()) { std::filesystem::current_path(dir_.path()); }
    ~InTempFolder() { std::filesystem::current_path(old_); }
    const test::TempDir& dir() const { return dir_; }

private:
    test::TempDir dir_;
    std::filesystem::path old_;
};

std::unique_ptr<MainWindow> startedFrame()
{
    auto frame = std::make_unique<MainWindow>();
    frame->loadWithHistory(test::randomHistory(60));
    return frame;
}

}  // namespace

TEST(MainFrm, MenuTreeHasEveryCaptionAndNameInDisplayOrder)
{
    InTempFolder folder;  // the frame writes its options file on exit
    MainWindow frame;
    std::vector<std::string> tree;
    walk(frame.menuBar()->actions(), 0, tree);
    const std::vector<std::string> expected = {
        "0|終了(&X)|mnuEnd",
        "0|一発ルモーネ予想(&D)|mnuYoso",
        "0|予想の検証(&V)|mnuKensyo",
        "0|自分の条件(&J)|mnuJibun",
        "0|データ分析(&S)|mnuMain",
        "1|頻度分析(&1)|mnuHindo",
        "2|出現頻度分析(&1)|mnuSyutugenHindo",
        "2|回数別出現分析(&2)|mnuSyutugenKaisu",
        "1|間隔分析(&2)|mnuKankaku",
        "2|出現間隔分析(&1)|mnuSyutugenKankaku",
        "2|数字間隔分析(&2)|mnuNumberKankaku",
        "2|下一桁連続出現回数分析(&3)|mnuShimoHitoketa",
        "1|出現回数分析(&3)|mnuZenkaiSyutugen",
        "1|バラツキ分析(&4)|mnuBaratsuki",
        "1|引っ張り分析(&5)|mnuHippari",
        "1|連番・飛び石分析(&6)|mnuRenbanTobiishi",
        "1|数字合計分析(&7)|mnuHonsuji",
        "1|組合せパターン分析(&8)|mnuPattern",
        "2|低数字・高数字の組合せパターン分析(&1)|mnuLowHightPattern",
        "2|偶数・奇数の組合せパターン分析(&2)|mnuKisuGusuPattern",
        "1|5分割傾向分析(&9)|mnu5BunkatsuKeiko",
        "1|分割データ分析(&A)|mnuBunkatsuData",
        "2|3分割データ分析(&1)|mnu3BunkatsuData",
        "2|5分割データ分析(&2)|mnu6BunkatsuData",
        "2|10分割データ分析(&3)|mnu11BunkatsuData",
        "0|データ管理(&M)|mnuHosyu",
        "1|当選データ入力(&I)|mnuMasterInput",
        "1|当せん金(&K)|mnuPrizes",
        "1|購入記録(&B)|mnuTickets",
        "1|当選データ保守(&D)|mnuMasterKanri",
        "1|CSV取込(&R)…|mnuImportCsv",
        "1|貼り付けて取込(&T)|mnuPasteImport",
        "1|CSV出力(&S)…|mnuViewCsv",
        "1|印刷(&P)…|mnuViewPrint",
        "0|表示(&Z)|mnuHyoji",
        "1|拡大(&I)|mnuZoomIn",
        "1|縮小(&O)|mnuZoomOut",
        "1|標準(&R)|mnuZoomReset",
        "0|ウィンドウ(&W)|mnuWindow",
        "1|上下に並べて表示(&H)|mnuWindowHorizontal",
        "1|左右に並べて表示(&V)|mnuWindowVertical",
        "1|重ねて表示(&C)|mnuWindowCascade",
        "1|アイコンの整列(&A)|mnuWindowArrangeIcon",
        "1|すべて閉じる(&L)|mnuWindowCloseAll",
        "0|ヘルプ(&H)|mnuHelp",
        "1|ヘルプ(&H)|mnuHelpFile",
        "1|バージョン情報(&A)|mnuAbout",
    };
    EXPECT_EQ(tree, expected);
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("ルモーネ"));
}

// Every command is in reach of the keyboard: each menu item has its access
// key, and the view keys work from anywhere in the frame.
TEST(MainFrm, KeysCloseAndSwitchViewsAndEveryMenuItemHasAnAccessKey)
{
    InTempFolder folder;
    auto frame = startedFrame();
    frame->show();
    QApplication::setActiveWindow(frame.get());
    std::vector<std::string> tree;
    walk(frame->menuBar()->actions(), 0, tree);
    // ...and no two items of one menu share it, or the key only moves
    // between them.
    std::vector<std::set<char>> keysAtDepth;
    for (const std::string& item : tree) {
        const std::size_t amp = item.find("(&");
        ASSERT_NE(amp, std::string::npos) << item;
        const std::size_t depth = std::stoul(item.substr(0, item.find('|')));
        keysAtDepth.resize(depth + 1);  // a deeper menu that ended starts afresh
        EXPECT_TRUE(keysAtDepth[depth].insert(item[amp + 2]).second) << "access key used twice: " << item;
    }

    frame->showView(QStringLiteral("出現頻度分析"));
    frame->showView(QStringLiteral("出現間隔分析"));
    const auto active = [&] { return frame->mdiArea()->activeSubWindow()->widget()->objectName(); };
    ASSERT_EQ(active(), QStringLiteral("出現間隔分析"));
    QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : frame.get();
    QTest::keyClick(focus, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(active(), QStringLiteral("出現頻度分析"));
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : frame.get(), Qt::Key_Backtab,
                    Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(active(), QStringLiteral("出現間隔分析"));
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : frame.get(), Qt::Key_F4,
                    Qt::ControlModifier);
    QApplication::processEvents();
    EXPECT_EQ(frame->findView(QStringLiteral("出現間隔分析")), nullptr);
    EXPECT_NE(frame->findView(QStringLiteral("出現頻度分析")), nullptr);
}

TEST(MainFrm, EachViewCommandOpensItsOwnWindow)
{
    InTempFolder folder;
    auto frame = startedFrame();
    const std::vector<std::pair<const char*, const char*>> commands = {
        {"mnuYoso", "一発ルモーネ"},
        {"mnuSyutugenHindo", "出現頻度分析"},
        {"mnuSyutugenKaisu", "回数別出現分析"},
        {"mnuSyutugenKankaku", "出現間隔分析"},
        {"mnuNumberKankaku", "数字間隔分析"},
        {"mnuShimoHitoketa", "下一桁連続出現回数分析"},
        {"mnuZenkaiSyutugen", "出現回数分析"},
        {"mnuBaratsuki", "バラツキ分析"},
        {"mnuHippari", "引っ張り分析"},
        {"mnuRenbanTobiishi", "連番飛び石分析"},
        {"mnuHonsuji", "数字合計分析"},
        {"mnuLowHightPattern", "低数字高数字の組合せパターン分析"},
        {"mnuKisuGusuPattern", "偶数奇数の組合せパターン分析"},
        {"mnu5BunkatsuKeiko", "分割5傾向分析"},
        {"mnu3BunkatsuData", "分割3データ分析"},
        {"mnu6BunkatsuData", "分割5データ分析"},
        {"mnu11BunkatsuData", "分割10データ分析"},
        {"mnuAbout", "バージョン情報"},
    };
    for (const auto& [action, view] : commands) {
        auto* a = frame->findChild<QAction*>(QString::fromLatin1(action));
        ASSERT_NE(a, nullptr) << action;
        a->trigger();
        ChildView* opened = frame->findView(QString::fromUtf8(view));
        ASSERT_NE(opened, nullptr) << action << " opened nothing";
        EXPECT_EQ(frame->mdiArea()->activeSubWindow()->widget(), opened) << action;
        // The version window is no view of the draws: it does not count.
        EXPECT_EQ(frame->openViewCount(), std::string(action) == "mnuAbout" ? 0 : 1) << action;
        // Legend texts show whole, inside the window.
        const bool analysis = qobject_cast<AnalysisWindow*>(opened) != nullptr;
        for (const QLabel* label : opened->findChildren<QLabel*>()) {
            if (!analysis)
                break;
            if (label->objectName() == QLatin1String("Label1") || label->wordWrap())
                continue;
            EXPECT_GE(label->width(), label->sizeHint().width()) << action << " " << label->text().toStdString();
            EXPECT_LE(label->geometry().right(), opened->width()) << action << " " << label->text().toStdString();
        }
        frame->mdiArea()->closeAllSubWindows();
        QApplication::processEvents();
    }
    // 当選データ保守 has no action.
    frame->findChild<QAction*>("mnuMasterKanri")->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(frame->mdiArea()->subWindowList().isEmpty());
}

TEST(MainFrm, EntryCommandIsRefusedWhileAnyViewIsOpen)
{
    InTempFolder folder;
    auto frame = startedFrame();
    frame->runPredictionCommand();  // what the first activation does
    ASSERT_NE(frame->findView(QStringLiteral("一発ルモーネ")), nullptr);
    ASSERT_EQ(frame->openViewCount(), 1);

    {
        ScriptedAnswers catcher;
        frame->runEntryCommand();
        ASSERT_TRUE(catcher.seen());
        EXPECT_EQ(catcher.first().text, QStringLiteral("表示中のウィンドウを閉じないと実行できません。"));
        EXPECT_EQ(catcher.first().caption, QStringLiteral("メッセ－ジ"));
        EXPECT_EQ(catcher.first().icon, QMessageBox::Critical);
        EXPECT_EQ(catcher.first().buttons, QMessageBox::Ok | QMessageBox::Retry);  // Retry: すべて閉じて開く
    }
    EXPECT_EQ(frame->findView(QStringLiteral("当選データ入力")), nullptr);

    // Two views open, one closed: still refused.
    frame->showView(QStringLiteral("出現頻度分析"));
    ASSERT_EQ(frame->openViewCount(), 2);
    frame->mdiArea()->subWindowList().last()->close();
    QApplication::processEvents();
    EXPECT_EQ(frame->openViewCount(), 1);
    {
        ScriptedAnswers catcher;
        frame->runEntryCommand();
        EXPECT_TRUE(catcher.seen());
    }

    // All closed but the version window: no refusal. There is no database
    // in this folder, so the entry view itself may report that; the guard
    // must not.
    frame->mdiArea()->closeAllSubWindows();
    frame->showView(QStringLiteral("バージョン情報"));
    QApplication::processEvents();
    EXPECT_EQ(frame->openViewCount(), 0);
    ScriptedAnswers catcher;
    frame->runEntryCommand();
    QApplication::processEvents();
    EXPECT_NE(catcher.first().text, QStringLiteral("表示中のウィンドウを閉じないと実行できません。"));
}

// The frame's activation runs the prediction command only when the focus
// comes from another top-level window of the program: not when the user
// comes back from another application, nor on the return from a box.
TEST(MainFrm, ActivationFromAnotherWindowOfTheProgramOpensThePredictionViewButNotFromOutside)
{
    InTempFolder folder;
    auto frame = startedFrame();
    frame->show();
    QWidget helpWindow;  // stands for any other top-level window of the program
    helpWindow.show();
    const QString prediction = QStringLiteral("一発ルモーネ");
    auto activate = [](QWidget* window) {
        QApplication::setActiveWindow(window);
        QApplication::processEvents();
    };

    activate(&helpWindow);
    activate(frame.get());
    ASSERT_NE(frame->findView(prediction), nullptr);
    frame->mdiArea()->closeAllSubWindows();
    QApplication::processEvents();

    // Another application had the focus: nothing.
    activate(nullptr);
    activate(frame.get());
    EXPECT_EQ(frame->findView(prediction), nullptr);
    activate(&helpWindow);
    activate(nullptr);
    activate(frame.get());
    EXPECT_EQ(frame->findView(prediction), nullptr);

    // A real modal box of a view, closed as soon as it is up: nothing.
    ChildView* version = frame->showView(QStringLiteral("バージョン情報"));
    ASSERT_NE(version, nullptr);
    {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("ルモーネ"), QStringLiteral("?"),
                        QMessageBox::Yes | QMessageBox::No, version);
        QTimer::singleShot(0, &box, [&box] {
            QApplication::setActiveWindow(&box);
            box.done(QMessageBox::No);
        });
        box.exec();
    }
    activate(frame.get());
    EXPECT_EQ(frame->findView(prediction), nullptr);

    // Back from the other window of the program, however long after.
    activate(&helpWindow);
    activate(frame.get());
    EXPECT_NE(frame->findView(prediction), nullptr);
}

TEST(MainFrm, SecondCommandBringsTheViewForwardWithoutRebuildingIt)
{
    InTempFolder folder;
    auto frame = startedFrame();
    ChildView* first = frame->showView(QStringLiteral("一発ルモーネ"));
    ASSERT_NE(first, nullptr);
    frame->showView(QStringLiteral("出現頻度分析"));
    ChildView* again = frame->showView(QStringLiteral("一発ルモーネ"));
    EXPECT_EQ(again, first);
    EXPECT_EQ(again->buildCount(), 1);
    EXPECT_EQ(frame->mdiArea()->activeSubWindow()->widget(), first);
    EXPECT_EQ(frame->openViewCount(), 2);

    // Closing and opening again builds a new window.
    first->findChild<QPushButton*>(QStringLiteral("Cmd閉じる"))->click();
    QApplication::processEvents();
    EXPECT_EQ(frame->findView(QStringLiteral("一発ルモーネ")), nullptr);
    ChildView* reopened = frame->showView(QStringLiteral("一発ルモーネ"));
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->buildCount(), 1);
    EXPECT_EQ(frame->openViewCount(), 2);
}

// F1 looks up the view's own help keyword: this view's window name lacks
// the "・" of its index keyword.
TEST(MainFrm, HelpKeyAsksForTheActiveAnalysisViewsKeyword)
{
    InTempFolder folder;
    auto frame = startedFrame();
    QStringList asked;
    const ScopedHtmlHelpHook hook([&](QWidget*, const char*, unsigned command, std::uintptr_t data) -> QWidget* {
        if (command == HH_KEYWORD_LOOKUP)
            asked << QString::fromUtf8(reinterpret_cast<const HH_AKLINK*>(data)->pszKeywords);
        return nullptr;
    });
    frame->showView(QStringLiteral("連番飛び石分析"));
    emit frame->findChild<QShortcut*>(QStringLiteral("keyHelpActiveView"))->activated();
    EXPECT_EQ(asked, QStringList{QStringLiteral("連番・飛び石分析")});
}

TEST(MainFrm, ViewSitsAtTheTopLeftAtItsSizeInTwips)
{
    InTempFolder folder;
    auto frame = startedFrame();
    frame->resize(1600, 1200);  // room for the view's design size
    frame->show();
    ChildView* view = frame->showView(QStringLiteral("一発ルモーネ"));
    auto* sub = qobject_cast<QMdiSubWindow*>(view->parentWidget());
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->pos(), QPoint(0, 0));
    const double dpi = sub->logicalDpiX();
    EXPECT_NEAR(sub->width(), 9360 * dpi / 1440, 1.0);
    EXPECT_NEAR(sub->height(), kPredictionHeightTwips * dpi / 1440, 1.0);
}

TEST(MainFrm, ExitClosesEveryViewThenWritesTheOptionsFile)
{
    InTempFolder folder;
    auto frame = startedFrame();
    frame->showView(QStringLiteral("一発ルモーネ"));
    frame->showView(QStringLiteral("バージョン情報"));
    frame->prediction().setFlag(3, true);
    frame->close();
    EXPECT_EQ(frame->openViewCount(), 0);
    std::ifstream in(folder.dir().file("ルモーネ.ini"), std::ios::binary);
    ASSERT_TRUE(in) << "the options file was not written at exit";
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(content.find("=True\r\n"), std::string::npos);
}

TEST(MainFrm, ExitEndsEvenWhenTheOptionsFileCannotBeWritten)
{
    InTempFolder folder;
    // A folder in the way of the file: no write can succeed, even as root.
    std::filesystem::create_directory(folder.dir().file("ルモーネ.ini"));
    {
        auto frame = startedFrame();
        frame->show();
        frame->showView(QStringLiteral("一発ルモーネ"));
        frame->prediction().setFlag(0, true);
        ScriptedAnswers catcher;
        EXPECT_NO_THROW(frame->close());
        EXPECT_EQ(frame->openViewCount(), 0);
        EXPECT_TRUE(catcher.first().text.contains(QStringLiteral("保存できませんでした")));
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder.dir().file("ルモーネ.ini")));
    // With no window up, the failure goes to the error stream.
    testing::internal::CaptureStderr();
    startedFrame().reset();
    EXPECT_NE(testing::internal::GetCapturedStderr().find("保存できませんでした"), std::string::npos);
}

// A start that fails (here: no database) shows its message and writes no
// options file at the end.
TEST(MainFrm, AFailedStartWritesNoOptionsFile)
{
    InTempFolder folder;
    {
        ScriptedAnswers catcher;
        MainWindow frame;
        EXPECT_FALSE(frame.load(QString::fromStdString(folder.dir().path())));
        EXPECT_TRUE(catcher.seen());
    }
    EXPECT_FALSE(std::filesystem::exists(folder.dir().file("ルモーネ.ini")));
}

// Qt's own cascade shrinks every window to a bare title bar. Each view
// keeps its own size, one title bar lower and further right than the one
// before; so does a maximised one, restored.
TEST(MainFrm, CascadeKeepsEveryViewAtItsOwnSize)
{
    InTempFolder folder;
    auto frame = startedFrame();
    frame->resize(1400, 1200);
    frame->show();
    std::vector<QMdiSubWindow*> subs;
    std::vector<QSize> sizes;
    for (const char* name : {"一発ルモーネ", "出現頻度分析", "バージョン情報"}) {
        ChildView* view = frame->showView(QString::fromUtf8(name));
        ASSERT_NE(view, nullptr) << name;
        subs.push_back(qobject_cast<QMdiSubWindow*>(view->parentWidget()));
        sizes.push_back(subs.back()->size());
    }
    subs[1]->showMaximized();
    frame->mdiArea()->setActiveSubWindow(subs[0]);
    frame->findChild<QAction*>("mnuWindowCascade")->trigger();
    QApplication::processEvents();
    // In the order they were opened, the active one last, in front.
    int offset = 0;
    for (std::size_t i : {1, 2, 0}) {
        SCOPED_TRACE(i);
        EXPECT_FALSE(subs[i]->isMaximized());
        EXPECT_EQ(subs[i]->size(), sizes[i]);
        EXPECT_EQ(subs[i]->pos(), QPoint(offset, offset));
        const int titleBar = subs[i]->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, subs[i]);
        EXPECT_GT(titleBar, 0);
        offset += titleBar;
    }
    EXPECT_EQ(frame->mdiArea()->activeSubWindow(), subs[0]);
}

// The frame and every child window carry the program's own icon.
TEST(MainFrm, FrameAndChildWindowsCarryTheProgramsIcon)
{
    InTempFolder folder;
    auto frame = startedFrame();
    const QImage own = programIcon().pixmap(32, 32).toImage();
    ASSERT_FALSE(own.isNull());
    EXPECT_EQ(frame->windowIcon().pixmap(32, 32).toImage(), own);
    frame->showView(QStringLiteral("一発ルモーネ"));
    frame->showView(QStringLiteral("出現頻度分析"));
    for (QMdiSubWindow* sub : frame->mdiArea()->subWindowList())
        EXPECT_EQ(sub->windowIcon().pixmap(32, 32).toImage(), own) << sub->windowTitle().toStdString();
}

// Yes/No and the other standard buttons speak Japanese once Qt's own
// translations are loaded; without them the program still runs.
TEST(MainFrm, StandardButtonsAreJapaneseWhenQtsTranslationsAreInstalled)
{
    QDialogButtonBox before(QDialogButtonBox::Yes | QDialogButtonBox::No);
    const QString englishYes = before.button(QDialogButtonBox::Yes)->text();
    std::unique_ptr<QTranslator> japanese(installQtJapanese(*qApp));
    if (!japanese)
        GTEST_SKIP() << "Qt's Japanese translations are not installed";
    QDialogButtonBox after(QDialogButtonBox::Yes | QDialogButtonBox::No | QDialogButtonBox::Cancel);
    EXPECT_NE(after.button(QDialogButtonBox::Yes)->text(), englishYes);
    EXPECT_TRUE(after.button(QDialogButtonBox::Cancel)->text().contains(QStringLiteral("キャンセル")))
        << after.button(QDialogButtonBox::Cancel)->text().toStdString();
    QCoreApplication::removeTranslator(japanese.get());  // the other tests see Qt's own texts
}

TEST(MainFrm, ReadOnlyOptionsFileIsToldOnceTheFrameIsUpAndKeptAtExit)
{
    InTempFolder folder;
    const std::string ini = folder.dir().file("ルモーネ.ini");
    std::ofstream(ini, std::ios::binary) << "";
    std::filesystem::permissions(ini, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
    auto frame = startedFrame();
    {
        ScriptedAnswers catcher;
        frame->showAtStart();
        ASSERT_TRUE(QTest::qWaitFor([&] { return catcher.seen(); }, 3000))
            << "no message about the read-only options file";
        EXPECT_TRUE(catcher.first().text.contains(QStringLiteral("読み取り専用")));
        EXPECT_EQ(catcher.first().icon, QMessageBox::Information);
    }
    frame->prediction().setFlag(2, true);
    frame->close();
    EXPECT_EQ(std::filesystem::file_size(ini), 0u);
}

// Quitting while the verification walks the history: the walk is stopped
// and joined before the history goes (under the sanitizer a walk left
// running reads freed memory).
TEST(MainFrm, ExitDuringAVerificationRunStopsTheWalkBeforeTheHistoryGoes)
{
    InTempFolder folder;
    auto frame = std::make_unique<MainWindow>();
    frame->loadWithHistory(test::randomHistory(4000));
    frame->showView(QStringLiteral("予想検証"));
    QPointer<BacktestView> view = qobject_cast<BacktestView*>(frame->findView(QStringLiteral("予想検証")));
    ASSERT_NE(view, nullptr);
    view->setWorkerStep([] { std::this_thread::sleep_for(std::chrono::milliseconds(20)); });
    view->startRun();
    QTest::qWait(30);
    ASSERT_TRUE(view->running());
    frame->close();
    EXPECT_TRUE(!view || !view->running());
    QTest::qWait(200);
    frame.reset();
}
