#include "gui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <algorithm>
#include <iostream>
#include <map>

#include "core/analysis/AnalysisView.h"
#include "core/backtest/WalkKeeper.h"
#include "core/calendar/HistoryDates.h"
#include "core/predict/Prediction.h"
#include "core/store/DatabaseLock.h"
#include "core/store/DrawDetailsStore.h"
#include "core/store/DrawStore.h"
#include "core/tickets/BookLines.h"
#include "gui/VersionWindow.h"
#include "gui/analysis/AnalysisWindow.h"
#include "gui/analysis/ChanceChartWindow.h"
#include "gui/backtest/BacktestView.h"
#include "gui/common/AppSettings.h"
#include "gui/common/FileDialogs.h"
#include "gui/common/Messages.h"
#include "gui/common/ProgramIcon.h"
#include "gui/common/Twips.h"
#include "gui/common/WaitCursor.h"
#include "gui/entry/DrawImportSteps.h"
#include "gui/entry/EntryView.h"
#include "gui/grid/GridCommands.h"
#include "gui/grid/GridWidget.h"
#include "gui/help/HtmlHelp.h"
#include "gui/predict/PredictionView.h"
#include "gui/prizes/PrizeView.h"
#include "gui/rules/RuleView.h"
#include "gui/tickets/PurchaseConfirmDialog.h"
#include "gui/tickets/TicketBookView.h"

namespace rumone {

namespace {

const QString kPredictionView = QStringLiteral("一発ルモーネ");
const QString kEntryView = QStringLiteral("当選データ入力");
const QString kVersionView = QStringLiteral("バージョン情報");
const QString kBacktestView = QStringLiteral("予想検証");
// The help window is made ready this long after the start, once the first
// paint and the prediction view's opening are over.
constexpr int kPrepareHelpAfterMs = 250;

}  // namespace

MainWindow::MainWindow() : prediction_(std::make_unique<Prediction>()), walkKeeper_(std::make_shared<WalkKeeper>())
{
    setObjectName("MainFrm");
    setWindowTitle(programCaption());
    setWindowIcon(programIcon());
    mdi_ = new QMdiArea(this);
    mdi_->setObjectName("MDIClient");
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    statusBar()->setObjectName("StatusBar");
    connect(mdi_, &QMdiArea::subWindowActivated, this, &MainWindow::updateViewMenu);
    gridZoom_ = std::clamp(AppSettings().gridZoom(), GridWidget::kMinZoom, GridWidget::kMaxZoom);
    registerViewKinds();
    buildMenus();
    // F1 also while a view's own menu stands in the menu bar.
    auto* help = new QShortcut(QKeySequence::HelpContents, this);
    help->setObjectName("keyHelpActiveView");
    connect(help, &QShortcut::activated, this, [this] { runActiveViewHelp(); });
    addViewKeys();
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow()
{
    unload();
}

// The keys that act on the views from anywhere in the frame: closing the
// active one, moving between them, and 指定の回へ移動 on the active view's
// table of draws (a table with the focus handles Ctrl+G itself).
void MainWindow::addViewKeys()
{
    const auto add = [this](const QKeySequence& keys, const char* name, auto run) {
        auto* key = new QShortcut(keys, this);
        key->setObjectName(QString::fromLatin1(name));
        connect(key, &QShortcut::activated, this, run);
    };
    add(QKeySequence(Qt::CTRL | Qt::Key_F4), "keyCloseView", [this] {
        if (QMdiSubWindow* active = mdi_->activeSubWindow())
            active->close();
    });
    add(QKeySequence(Qt::CTRL | Qt::Key_Tab), "keyNextView", [this] { mdi_->activateNextSubWindow(); });
    add(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), "keyPreviousView",
        [this] { mdi_->activatePreviousSubWindow(); });
    add(QKeySequence(Qt::CTRL | Qt::Key_G), "keyGoToDraw", [this] {
        if (GridWidget* grid = activeDrawGrid())
            askAndGoToDraw(*grid);
    });
}

// Where the platform gives a sub-window's system menu Ctrl+F4 as well, the
// two would cancel each other out (an ambiguous shortcut does nothing):
// the frame's key closes the active view, the menu keeps its other keys.
void MainWindow::leaveCloseKeyToTheFrame(QMdiSubWindow* sub)
{
    if (QMenu* menu = sub->systemMenu())
        for (QAction* action : menu->actions()) {
            QList<QKeySequence> keys = action->shortcuts();
            if (keys.removeAll(QKeySequence(Qt::CTRL | Qt::Key_F4)) > 0)
                action->setShortcuts(keys);
        }
}

// ---------------------------------------------------------------- start-up

bool MainWindow::load(const QString& programFolder)
{
    return load(parseConnectionString(buildConnectionString(programFolder.toStdString())), {});
}

bool MainWindow::load(DrawDatabaseRef database, StartingLoad begun)
{
    prediction_->readInitFile();
    WaitCursor wait;
    letPendingMessagesRun();
    openViews_ = 0;
    if (!document_.open(std::move(database), std::move(begun)))
        return false;
    if (document_.readOnly())
        setWindowTitle(programCaption() + QStringLiteral("（読み取り専用）"));
    if (document_.loadingAtStart()) {
        // While the draws are still being read, the menu bar and the
        // status bar are measured: that loads the fonts the first paint
        // needs, on this thread, which would otherwise only wait.
        menuBar()->sizeHint();
        statusBar()->sizeHint();
    }
    return true;
}

// The draws of the start could not be read: told over the frame, which
// closes, saving nothing; startFailed tells the program to end with a
// failure.
void MainWindow::endAfterFailedStart(const QString& reason)
{
    showError(reason);
    close();
}

// Dates the file cannot give leave the rule's alone: a missing date is no
// reason to hold up the start. The dates alone are read (the prize lines
// are not needed here), since the start reads them before its first paint.
void MainWindow::noteHistoryDates(std::optional<int> latestAtStart)
{
    std::map<int, CivilDate> dates;
    try {
        if (!document_.database().path.empty())
            dates = readStoredDates(document_.database());
    } catch (const std::exception&) {
    }
    drawCalendar_ = DrawCalendar(std::move(dates));
    if (!latestAtStart)
        return;
    startDatesNoted_ = true;
    if (!startClock_)
        startClock_ = localMomentNow();
    const std::string missing = missingDrawsText(historyDatesIn(drawCalendar_, *latestAtStart, *startClock_));
    if (!missing.empty())
        statusBar()->showMessage(QString::fromStdString(missing));
}

// Once every draw of the start is in: unreceived wins near their deadline,
// said once before whatever the status line already says.
void MainWindow::noteNearDeadlines()
{
    if (startDeadlinesNoted_)
        return;
    startDeadlinesNoted_ = true;
    if (!startClock_)
        startClock_ = localMomentNow();
    const std::string deadlines = nearDeadlineText(bookLinesIfAny(), startClock_->date);
    if (deadlines.empty())
        return;
    const QString shown = statusBar()->currentMessage();
    statusBar()->showMessage(QString::fromStdString(deadlines) +
                             (shown.isEmpty() ? QString() : QStringLiteral("　") + shown));
}

// The purchase book against the draws shown; empty when it cannot be
// read (the book's own window says why).
std::vector<BookLine> MainWindow::bookLinesIfAny() const
{
    if (document_.database().path.empty())
        return {};
    try {
        return readBookLines(document_.database(), document_.history());
    } catch (const std::exception&) {
        return {};
    }
}

// The prediction's tickets for the next draw, recorded once the player
// confirms them; the book then shows them.
void MainWindow::offerPurchases(const PredictorSets& sets)
{
    const int next = document_.history().latestDrawNumber() + 1;
    offerPurchaseGroups(next > kMaxDrawNumber ? std::vector<PurchaseGroup>{} : purchasesOfPrediction(sets, next),
                        QStringLiteral("予想の数字で買う組み合わせです（各 1口・次の回）。"));
}

void MainWindow::offerPurchaseGroups(std::vector<PurchaseGroup> groups, const QString& intro)
{
    if (document_.readOnly()) {
        showError(document_.readOnlyRefusal(QStringLiteral("購入の記録")));
        return;
    }
    std::erase_if(groups, [](const PurchaseGroup& g) { return g.purchases.empty(); });
    if (groups.empty() || groups.front().purchases.front().firstDraw > kMaxDrawNumber) {
        showStatusNote(QStringLiteral("買う組み合わせはありません。"));
        return;
    }
    PurchaseConfirmDialog dialog(std::move(groups), intro, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::vector<Purchase> chosen = dialog.chosen();
    if (chosen.empty())
        return;
    if (const auto problem = tooManyPurchasesProblem(chosen)) {
        showError(QString::fromStdString(*problem));
        return;
    }
    try {
        recordPurchases(document_.database(), chosen);
    } catch (const StoreError& e) {
        showError(QString::fromStdString(e.what()));
        return;
    }
    ChildView* book = showView(TicketBookView::windowName());
    if (book && book->buildCount() > 0)
        book->rebuildOnNewHistory();
    showStatusNote(
        QStringLiteral("%1口を第%2回の購入として記録しました。").arg(chosen.size()).arg(chosen.front().firstDraw));
}

// What the player's tickets for `draws` won, for the status line.
QString MainWindow::checkedTicketsText(const std::vector<int>& draws) const
{
    if (draws.empty())
        return {};
    return QString::fromStdString(drawsCheckedText(bookLinesIfAny(), draws));
}

// A second copy on a database, or one started while `rumone-db import`
// writes, is told who holds it before anything else and either opens the
// database read-only or ends.
bool MainWindow::askToOpenReadOnly(const std::string& path)
{
    ++suppressActivation_;
    const QMessageBox::StandardButton answer = showMessage(
        nullptr, QMessageBox::Warning, messageCaption(),
        QStringLiteral("データベース「%1」は、%2が書き込みのために開いています。\n\n"
                       "読み取り専用で開くと、データ分析・予想・予想の検証は使えますが、"
                       "当選データの入力と取込、予想の記録はできません。\n\n"
                       "読み取り専用で開きますか？ 「終了」を選ぶと、このルモーネを終わります。")
            .arg(QString::fromStdString(path), QString::fromStdString(lockHolderText(path))),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes,
        {{QMessageBox::Yes, QStringLiteral("読み取り専用で開く")}, {QMessageBox::No, QStringLiteral("終了")}});
    --suppressActivation_;
    return answer == QMessageBox::Yes;
}

void MainWindow::loadWithHistory(DrawHistory history)
{
    prediction_->readInitFile();
    openViews_ = 0;
    document_.openWithHistory(std::move(history));
}

// ---------------------------------------------------------------- views

void MainWindow::registerViewKinds()
{
    for (const AnalysisViewSpec& spec : analysisViews()) {
        const AnalysisViewSpec* s = &spec;
        kinds_.push_back({QString::fromStdString(spec.objectName),
                          [this, s]() -> ChildView* { return new AnalysisWindow(*this, *s); }});
        if (spec.chance)
            kinds_.push_back({ChanceChartWindow::windowNameFor(spec),
                              [this, s]() -> ChildView* { return new ChanceChartWindow(*this, *s); }});
    }
    kinds_.push_back({kPredictionView,
                      [this]() -> ChildView* {
                          auto* view = new PredictionView(*this, *prediction_);
                          view->setLogDatabase(document_.database());
                          if (document_.readOnly())
                              view->refuseRecording(document_.readOnlyRefusal(QStringLiteral("予想の記録")));
                          return view;
                      },
                      true});
    kinds_.push_back({kBacktestView,
                      [this]() -> ChildView* { return new BacktestView(*this, *prediction_, document_.database()); }});
    kinds_.push_back({RuleView::windowName(), [this]() -> ChildView* {
                          auto* view = new RuleView(*this, document_.database(), prediction_->countReflectedOptions());
                          if (document_.readOnly())
                              view->refuseWriting(document_.readOnlyRefusal(QStringLiteral("試した条件の記録")));
                          return view;
                      }});
    kinds_.push_back({kEntryView, [this]() -> ChildView* { return new EntryView(*this, document_.database()); }});
    kinds_.push_back(
        {kVersionView, [this]() -> ChildView* { return new VersionWindow(*this, document_.databaseInUse()); }});
    kinds_.push_back(
        {PrizeView::windowName(), [this]() -> ChildView* { return new PrizeView(*this, document_.database()); }});
    kinds_.push_back({TicketBookView::windowName(), [this]() -> ChildView* {
                          auto* view = new TicketBookView(*this, document_.database());
                          if (document_.readOnly())
                              view->refuseWriting(document_.readOnlyRefusal(QStringLiteral("購入の記録")));
                          return view;
                      }});
}

ChildView* MainWindow::findView(const QString& objectName) const
{
    for (const auto& [name, window] : windows_)
        if (name == objectName && window)
            if (auto* view = qobject_cast<ChildView*>(window->widget()); view && !view->isUnloaded())
                return view;
    return nullptr;
}

namespace {

// Counts an open for as long as it runs, left normally or by a throw.
class OpenUnderWay {
public:
    explicit OpenUnderWay(int& count) : count_(count) { ++count_; }
    ~OpenUnderWay() { --count_; }
    OpenUnderWay(const OpenUnderWay&) = delete;
    OpenUnderWay& operator=(const OpenUnderWay&) = delete;

private:
    int& count_;
};

}  // namespace

// The open lets pending messages run, the user's among them. A close that
// comes meanwhile is held back (closeEvent) and taken once the outermost
// open is over; no view is made once the frame began to unload.
ChildView* MainWindow::showView(const QString& objectName)
{
    if (unloaded_)
        return nullptr;
    ChildView* view = nullptr;
    {
        const OpenUnderWay open(opening_);
        view = openView(objectName);
    }
    if (opening_ > 0 || !closeHeldBack_)
        return view;
    closeHeldBack_ = false;
    close();
    return nullptr;
}

ChildView* MainWindow::openView(const QString& objectName)
{
    WaitCursor wait;
    letPendingMessagesRun();
    if (closeHeldBack_)
        return nullptr;  // the frame closes: nothing more is opened
    if (!openOnLatestDraws(objectName) && !document_.finishStart())
        return nullptr;
    document_.finishReload();  // a view opened from now on shows the new draws
    if (ChildView* existing = findView(objectName)) {
        auto* sub = qobject_cast<QMdiSubWindow*>(existing->parentWidget());
        if (sub->isMinimized())
            sub->showNormal();
        mdi_->setActiveSubWindow(sub);
        sub->raise();
        return existing;
    }
    for (const ViewKind& kind : kinds_) {
        if (kind.objectName != objectName)
            continue;
        ChildView* view = kind.create();
        QMdiSubWindow* sub = mdi_->addSubWindow(view);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setWindowTitle(view->windowTitle());
        sub->setWindowIcon(programIcon());
        leaveCloseKeyToTheFrame(sub);
        windows_.erase(
            std::remove_if(windows_.begin(), windows_.end(), [](const auto& w) { return w.second.isNull(); }),
            windows_.end());
        windows_.emplace_back(objectName, sub);
        view->load();
        adoptGrids(view);
        sub->show();
        mdi_->setActiveSubWindow(sub);
        return view;
    }
    return nullptr;
}

// Only a view that paints from the latest draws opens before every draw
// is in, and only when it is not open yet and they settle it; then the
// dates are read for its title.
bool MainWindow::openOnLatestDraws(const QString& objectName)
{
    if (!document_.loadingAtStart() || findView(objectName))
        return false;
    const auto kind = std::find_if(kinds_.begin(), kinds_.end(),
                                   [&objectName](const ViewKind& k) { return k.objectName == objectName; });
    if (kind == kinds_.end() || !kind->paintsFromLatestDraws)
        return false;
    const LatestDraws* latest = document_.takeLatestAtStart();
    if (!latest || !latestDrawsSettlePrediction(*latest))
        return false;
    if (!startDatesNoted_)
        noteHistoryDates(latest->latestDrawNumber());
    return true;
}

// Every draw is in: the views that painted from the latest alone show
// them all.
void MainWindow::startDrawsRead()
{
    if (!startDatesNoted_)
        noteHistoryDates(document_.history().latestDrawNumber());
    noteNearDeadlines();
    for (QMdiSubWindow* sub : mdi_->subWindowList())
        if (auto* view = qobject_cast<ChildView*>(sub->widget()); view && view->isLoaded() && !view->isUnloaded())
            view->rebuildOnNewHistory();
}

void MainWindow::setPropEnd(bool value)
{
    if (value)
        openViews_ = std::max(openViews_ - 1, 0);
    else
        ++openViews_;
}

// ---------------------------------------------------------------- reload

// Every open view lets go of the old history before it is replaced, then
// shows the new one or, where it cannot, is closed with a note.
void MainWindow::changeHistory(const std::function<void()>& swap)
{
    std::vector<std::pair<QMdiSubWindow*, ChildView*>> open;
    for (QMdiSubWindow* sub : mdi_->subWindowList())
        if (auto* view = qobject_cast<ChildView*>(sub->widget()); view && view->isLoaded() && !view->isUnloaded())
            open.emplace_back(sub, view);
    for (const auto& entry : open)
        entry.second->stopReadingHistory();
    const DrawHistory before = document_.history();
    swap();
    noteHistoryDates(std::nullopt);
    const QString checked = checkedTicketsText(drawsCameIn(before, document_.history()));
    QStringList closed;
    for (const auto& [sub, view] : open) {
        if (view->rebuildOnNewHistory())
            continue;
        closed << QStringLiteral("「%1」").arg(view->windowTitle());
        sub->close();
    }
    QString note =
        QStringLiteral("当選データを読み直しました（第%1回まで）。").arg(document_.history().latestDrawNumber());
    if (!closed.isEmpty())
        note += closed.join(QString()) + QStringLiteral("は新しいデータで表示し直せないため閉じました。");
    if (checked.isEmpty())
        showStatusNote(note);
    else
        statusBar()->showMessage(checked + QStringLiteral("　") + note);  // stays until the next message
}

// ---------------------------------------------------------------- menus

QAction* MainWindow::addCommand(QMenu* menu, const QString& caption, const QString& name, std::function<void()> run)
{
    QAction* action = menu ? menu->addAction(caption) : menuBar()->addAction(caption);
    action->setObjectName(name);
    if (run)
        connect(action, &QAction::triggered, this, [run] { run(); });
    return action;
}

void MainWindow::buildMenus()
{
    auto view = [this](const std::string& name) {
        return [this, name = QString::fromStdString(name)] { showView(name); };
    };
    auto submenu = [](QMenu* parent, const QString& caption, const QString& name) {
        QMenu* m = parent->addMenu(caption);
        m->setObjectName(name);
        m->menuAction()->setObjectName(name);
        return m;
    };
    QMenuBar* bar = menuBar();
    addCommand(nullptr, QStringLiteral("終了(&X)"), "mnuEnd", [this] { close(); });
    addCommand(nullptr, QStringLiteral("一発ルモーネ予想(&D)"), "mnuYoso", [this] { runPredictionCommand(); });
    addCommand(nullptr, QStringLiteral("予想の検証(&V)"), "mnuKensyo", [this] { showView(kBacktestView); });
    addCommand(nullptr, QStringLiteral("自分の条件(&J)"), "mnuJibun", [this] { showView(RuleView::windowName()); });

    QMenu* main = bar->addMenu(QStringLiteral("データ分析(&S)"));
    main->setObjectName("mnuMain");
    main->menuAction()->setObjectName("mnuMain");
    std::map<std::string, QMenu*> submenus;
    for (const AnalysisViewSpec& spec : analysisViews()) {
        QMenu* target = main;
        if (!spec.submenu.objectName.empty()) {
            QMenu*& sub = submenus[spec.submenu.objectName];
            if (!sub)
                sub = submenu(main, QString::fromStdString(spec.submenu.caption),
                              QString::fromStdString(spec.submenu.objectName));
            target = sub;
        }
        addCommand(target, QString::fromStdString(spec.menuCaption), QString::fromStdString(spec.menuAction),
                   view(spec.objectName));
    }
    giveNumberedAccessKeys(main);

    QMenu* hosyu = bar->addMenu(QStringLiteral("データ管理(&M)"));
    hosyu->setObjectName("mnuHosyu");
    hosyu->menuAction()->setObjectName("mnuHosyu");
    addCommand(hosyu, QStringLiteral("当選データ入力(&I)"), "mnuMasterInput", [this] { runEntryCommand(); });
    addCommand(hosyu, QStringLiteral("当せん金(&K)"), "mnuPrizes", [this] { showView(PrizeView::windowName()); });
    addCommand(hosyu, QStringLiteral("購入記録(&B)"), "mnuTickets", [this] {
        showView(TicketBookView::windowName());
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    addCommand(hosyu, QStringLiteral("当選データ保守(&D)"), "mnuMasterKanri", nullptr);  // no action
    addCommand(hosyu, QStringLiteral("CSV取込(&R)…"), "mnuImportCsv", [this] { runImportCsvCommand(); });
    addCommand(hosyu, QStringLiteral("貼り付けて取込(&T)"), "mnuPasteImport",
               [this] { importPastedText(QApplication::clipboard()->text()); });
    // The table of the active view, as its context menu offers them.
    hosyu->addSeparator();
    addCommand(hosyu, QStringLiteral("CSV出力(&S)…"), "mnuViewCsv", [this] {
        if (GridWidget* g = activeGrid())
            chooseFileAndExportCsv(*g);
    });
    addCommand(hosyu, QStringLiteral("印刷(&P)…"), "mnuViewPrint", [this] {
        if (GridWidget* g = activeGrid())
            printWithPreview(*g);
    });

    QMenu* zoom = bar->addMenu(QStringLiteral("表示(&Z)"));
    zoom->setObjectName("mnuHyoji");
    zoom->menuAction()->setObjectName("mnuHyoji");
    addCommand(zoom, QStringLiteral("拡大(&I)"), "mnuZoomIn", [this] {
        setGridZoom(gridZoom_ + GridWidget::kZoomStep);
    })->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    addCommand(zoom, QStringLiteral("縮小(&O)"), "mnuZoomOut", [this] {
        setGridZoom(gridZoom_ - GridWidget::kZoomStep);
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    addCommand(zoom, QStringLiteral("標準(&R)"), "mnuZoomReset", [this] {
        setGridZoom(100);
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));

    QMenu* window = bar->addMenu(QStringLiteral("ウィンドウ(&W)"));
    window->setObjectName("mnuWindow");
    window->menuAction()->setObjectName("mnuWindow");
    addCommand(window, QStringLiteral("上下に並べて表示(&H)"), "mnuWindowHorizontal",
               [this] { tileOneAboveTheOther(); });
    addCommand(window, QStringLiteral("左右に並べて表示(&V)"), "mnuWindowVertical", [this] { tileSideBySide(); });
    addCommand(window, QStringLiteral("重ねて表示(&C)"), "mnuWindowCascade", [this] { cascade(); });
    addCommand(window, QStringLiteral("アイコンの整列(&A)"), "mnuWindowArrangeIcon", [this] { arrangeIcons(); });
    window->addSeparator();
    addCommand(window, QStringLiteral("すべて閉じる(&L)"), "mnuWindowCloseAll", [this] { closeAllViews(); });

    QMenu* help = helpMenu_ = bar->addMenu(QStringLiteral("ヘルプ(&H)"));
    help->setObjectName("mnuHelp");
    help->menuAction()->setObjectName("mnuHelp");
    addCommand(help, QStringLiteral("ヘルプ(&H)"), "mnuHelpFile", [this] { runHelpCommand(); });
    addCommand(help, QStringLiteral("バージョン情報(&A)"), "mnuAbout", [this] { showView(kVersionView); });
}

namespace {

// "(&1)" … "(&9)", then "(&A)" …: the access key of the n-th item.
QString numberedAccessKey(int n)
{
    const QChar key = n < 9 ? QChar(u'1' + n) : QChar(u'A' + (n - 9));
    return QStringLiteral("(&%1)").arg(key);
}

}  // namespace

// The analyses' captions carry no access key of their own: each item of
// the menu and of its submenus is given one by its place.
void MainWindow::giveNumberedAccessKeys(QMenu* menu)
{
    int n = 0;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator())
            continue;
        if (!a->text().contains(u'&'))
            a->setText(a->text() + numberedAccessKey(n));
        ++n;
        if (QMenu* sub = a->menu())
            giveNumberedAccessKeys(sub);
    }
}

namespace {

// Holds back the menu bar's ActionChanged events while the visibility of its
// actions changes: the bar measures the text of every visible item again on
// each one. The removal or addition that follows lays it out once.
class ActionChangesHeldBack : public QObject {
public:
    explicit ActionChangesHeldBack(QMenuBar* bar) : bar_(bar->isNativeMenuBar() ? nullptr : bar)
    {
        if (bar_)
            bar_->installEventFilter(this);
    }
    ~ActionChangesHeldBack() override
    {
        if (bar_)
            bar_->removeEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        return watched == bar_ && event->type() == QEvent::ActionChanged;
    }

private:
    QMenuBar* bar_;
};

}  // namespace

// 終了 and ヘルプ stay in the menu bar beside a view's own menu.
bool MainWindow::keptBesideViewMenu(const QAction* action) const
{
    return action->objectName() == QLatin1String("mnuEnd") || (helpMenu_ && action == helpMenu_->menuAction());
}

// While a child with a menu of its own is active, its menu stands in the
// menu bar in place of the main window's other menus.
void MainWindow::updateViewMenu(QMdiSubWindow* active)
{
    QMenu* wanted = nullptr;
    if (active)
        if (auto* view = qobject_cast<ChildView*>(active->widget()))
            wanted = view->viewMenu();
    if (wanted == viewMenu_)
        return;
    QMenuBar* bar = menuBar();
    {
        const ActionChangesHeldBack heldBack(bar);
        for (QAction* a : bar->actions())
            if ((!viewMenu_ || a != viewMenu_->menuAction()) && !keptBesideViewMenu(a))
                a->setVisible(!wanted);
        if (wanted)
            wanted->menuAction()->setVisible(true);
    }
    // At least one of the two follows the changes above: the bar is laid
    // out anew with the actions now visible. The view's menu stands before
    // ヘルプ.
    if (viewMenu_)
        bar->removeAction(viewMenu_->menuAction());
    viewMenu_ = wanted;
    if (wanted)
        bar->insertAction(helpMenu_ ? helpMenu_->menuAction() : nullptr, wanted->menuAction());
    emit entryMenuChanged();
}

// ---------------------------------------------------------------- commands

void MainWindow::runPredictionCommand()
{
    showView(kPredictionView);
}

void MainWindow::runEntryCommand()
{
    if (document_.readOnly()) {
        showError(document_.readOnlyRefusal(QStringLiteral("当選データの入力と取込")));
        return;
    }
    if (openViews_ > 0 && !closeViewsForEntry())
        return;
    showView(kEntryView);
}

// ---------------------------------------------------------------- import

void MainWindow::runImportCsvCommand()
{
    const QStringList paths =
        chooseFilesToRead(this, QStringLiteral("取り込むファイル"),
                          QStringLiteral("当選データ (*.csv *.txt *.tsv);;CSV ファイル (*.csv);;すべてのファイル (*)"));
    if (!paths.isEmpty())
        importFiles(paths);
}

void MainWindow::importFiles(const QStringList& paths)
{
    importDraws([this, &paths] { return readDrawsFromFiles(this, paths); },
                [&paths](EntryView& entry) { entry.importFiles(paths); });
}

void MainWindow::importPastedText(const QString& text)
{
    importDraws([this, &text] { return readDrawsFromPastedText(this, text); },
                [&text](EntryView& entry) { entry.importPastedText(text); });
}

// The frame imports with views open; the history is then read again and
// the views follow it, as after the entry view. An open entry view imports
// itself, so that its rows stay those of the file.
void MainWindow::importDraws(const std::function<std::optional<std::vector<SourceDraw>>()>& read,
                             const std::function<void(EntryView&)>& intoEntryView)
{
    if (document_.readOnly()) {
        showError(document_.readOnlyRefusal(QStringLiteral("当選データの入力と取込")));
        return;
    }
    if (auto* entry = qobject_cast<EntryView*>(findView(kEntryView))) {
        showView(kEntryView);
        intoEntryView(*entry);
        return;
    }
    if (!document_.finishStart())
        return;
    ++suppressActivation_;
    const std::optional<std::vector<SourceDraw>> draws = read();
    const bool wrote = draws && importDrawsIntoDatabase(this, document_.database(), *draws);
    --suppressActivation_;
    if (wrote)
        drawsWritten();
}

// The refusal offers to close the open views itself; true when they closed.
bool MainWindow::closeViewsForEntry()
{
    ++suppressActivation_;
    const QMessageBox::StandardButton answer = showMessage(
        this, QMessageBox::Critical, messageCaption(), QStringLiteral("表示中のウィンドウを閉じないと実行できません。"),
        QMessageBox::Ok | QMessageBox::Retry, QMessageBox::Ok,
        {{QMessageBox::Retry, QStringLiteral("すべて閉じて開く")}});
    --suppressActivation_;
    if (answer != QMessageBox::Retry)
        return false;
    closeAllViews();
    return openViews_ == 0;
}

// Closed after it wrote draws, the entry view gives way to the prediction
// for the next draw, on the history read again.
void MainWindow::entryViewClosed(bool wroteDraws)
{
    if (!wroteDraws || unloaded_)
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!unloaded_)
                runPredictionCommand();
        },
        Qt::QueuedConnection);
}

void MainWindow::runHelpCommand()
{
    ++suppressActivation_;
    showProgramHelp(this);
    --suppressActivation_;
}

void MainWindow::runActiveViewHelp()
{
    QMdiSubWindow* active = mdi_->activeSubWindow();
    const auto* view = active ? qobject_cast<const ChildView*>(active->widget()) : nullptr;
    if (!view) {
        runHelpCommand();
        return;
    }
    ++suppressActivation_;
    showHelpFor(this, view->helpKeywords());
    --suppressActivation_;
}

void MainWindow::closeAllViews()
{
    mdi_->closeAllSubWindows();
}

// ---------------------------------------------------------------- tables

void MainWindow::adoptGrids(ChildView* view)
{
    for (GridWidget* grid : view->findChildren<GridWidget*>()) {
        grid->setZoom(gridZoom_);
        connect(grid, &GridWidget::zoomChanged, this, &MainWindow::setGridZoom);
    }
}

void MainWindow::setGridZoom(int percent)
{
    percent = std::clamp(percent, GridWidget::kMinZoom, GridWidget::kMaxZoom);
    if (percent == gridZoom_)
        return;
    gridZoom_ = percent;
    for (GridWidget* grid : mdi_->findChildren<GridWidget*>())
        grid->setZoom(percent);
    AppSettings().setGridZoom(percent);
}

GridWidget* MainWindow::activeDrawGrid() const
{
    if (GridWidget* grid = activeGrid(); grid && grid->grid()->drawColumn() != 0)
        return grid;
    QMdiSubWindow* active = mdi_->activeSubWindow();
    if (!active || !active->widget())
        return nullptr;
    for (GridWidget* grid : active->widget()->findChildren<GridWidget*>())
        if (grid->grid() && grid->grid()->drawColumn() != 0)
            return grid;
    return nullptr;
}

GridWidget* MainWindow::activeGrid() const
{
    QMdiSubWindow* active = mdi_->activeSubWindow();
    if (!active || !active->widget())
        return nullptr;
    if (auto* focused = qobject_cast<GridWidget*>(active->widget()->focusWidget()); focused && focused->grid())
        return focused;
    for (GridWidget* grid : active->widget()->findChildren<GridWidget*>())
        if (grid->grid())
            return grid;
    return nullptr;
}

void MainWindow::showStatusNote(const QString& text)
{
    constexpr int kNoteMs = 5000;
    statusBar()->showMessage(text, kNoteMs);
}

void MainWindow::showInformation(const QString& text)
{
    ++suppressActivation_;
    showMessage(this, QMessageBox::Information, messageCaption(), text);
    --suppressActivation_;
}

void MainWindow::showError(const QString& text)
{
    ++suppressActivation_;
    showMessage(isVisible() ? this : nullptr, QMessageBox::Critical, messageCaption(), text);
    --suppressActivation_;
}

// The switches could not be kept for the next start: said in a box while
// the frame is on screen, on the error stream otherwise. Nothing else stops.
void MainWindow::reportOptionsNotSaved()
{
    const QString text = QStringLiteral(
        "予想の反映設定を「ルモーネ.ini」に保存できませんでした。"
        "次回の起動では、前回保存された設定が使われます。");
    if (isVisible()) {
        ++suppressActivation_;
        showMessage(this, QMessageBox::Warning, messageCaption(), text);
        --suppressActivation_;
    } else {
        std::cerr << text.toStdString() << std::endl;
    }
}

// ---------------------------------------------------------------- arrangement

namespace {

std::vector<QMdiSubWindow*> normalWindows(QMdiArea* mdi)
{
    std::vector<QMdiSubWindow*> out;
    for (QMdiSubWindow* w : mdi->subWindowList(QMdiArea::CreationOrder))
        if (w->isVisible() && !w->isMinimized())
            out.push_back(w);
    return out;
}

}  // namespace

void MainWindow::tileOneAboveTheOther()
{
    const auto windows = normalWindows(mdi_);
    if (windows.empty())
        return;
    const QRect area = mdi_->viewport()->rect();
    const int h = area.height() / static_cast<int>(windows.size());
    int y = 0;
    for (QMdiSubWindow* w : windows) {
        w->showNormal();
        w->setGeometry(0, y, area.width(), h);
        y += h;
    }
}

void MainWindow::tileSideBySide()
{
    const auto windows = normalWindows(mdi_);
    if (windows.empty())
        return;
    const QRect area = mdi_->viewport()->rect();
    const int w = area.width() / static_cast<int>(windows.size());
    int x = 0;
    for (QMdiSubWindow* sub : windows) {
        sub->showNormal();
        sub->setGeometry(x, 0, w, area.height());
        x += w;
    }
}

// The platform's cascade sizes every window by its minimum size hint, which
// leaves a bare title bar; each view keeps the size it opened at instead.
void MainWindow::cascade()
{
    QMdiSubWindow* active = mdi_->activeSubWindow();
    std::vector<QMdiSubWindow*> windows = normalWindows(mdi_);
    // The active window ends in front, the others in the order they opened.
    std::stable_partition(windows.begin(), windows.end(), [active](QMdiSubWindow* w) { return w != active; });
    int offset = 0;
    for (QMdiSubWindow* w : windows) {
        w->showNormal();
        QSize size = w->size();
        if (const auto* view = qobject_cast<const ChildView*>(w->widget()); view && view->openedSize().isValid())
            size = view->openedSize();
        w->setGeometry(offset, offset, size.width(), size.height());
        w->raise();
        offset += w->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, w);
    }
    if (active)
        mdi_->setActiveSubWindow(active);
}

void MainWindow::arrangeIcons()
{
    const QRect area = mdi_->viewport()->rect();
    int x = 0;
    int y = area.height();
    for (QMdiSubWindow* w : mdi_->subWindowList(QMdiArea::CreationOrder)) {
        if (!w->isMinimized())
            continue;
        const QSize size = w->size();
        if (x > 0 && x + size.width() > area.width()) {
            x = 0;
            y -= size.height();
        }
        w->move(x, y - size.height());
        x += size.width();
    }
}

QSize MainWindow::preferredSize() const
{
    // The tallest child view is 13980 twips high, the widest 12300 wide;
    // the frame adds its menu bar and borders.
    const int frameExtra = 80;
    return QSize(twipsToPixels(12300) + frameExtra,
                 twipsToPixels(13980) + frameExtra + statusBar()->sizeHint().height());
}

void MainWindow::showAtStart()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize wanted = preferredSize();
    if (const QByteArray kept = AppSettings().frameGeometry(); !kept.isEmpty() && restoreGeometry(kept)) {
        show();
    } else if (screen && (wanted.width() > screen->availableGeometry().width() ||
                          wanted.height() > screen->availableGeometry().height())) {
        showMaximized();
    } else {
        resize(wanted);
        show();
    }
    activateWindow();
    // Where the platform sends no activation at start (no window manager),
    // the prediction view still opens as the first view.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!findView(kPredictionView))
                runPredictionCommand();
            if (unloaded_)  // the start failed, or the frame closed meanwhile
                return;
            QTimer::singleShot(kPrepareHelpAfterMs, this, [this] { prepareProgramHelp(this); });
            if (prediction_->initFileReadOnly())
                showInformation(
                    QStringLiteral("設定ファイル「%1」は読み取り専用のため、反映の設定を変えても保存されません。")
                        .arg(QString::fromUtf8(kOptionsFileName)));
        },
        Qt::QueuedConnection);
}

// ---------------------------------------------------------------- events

// The frame's activation runs the prediction command when the focus comes
// back to it from another top-level window of this program (the help
// window, say). Coming back from another application does nothing, nor
// does the return from one of the program's own message boxes or dialogs
// (a confirmation in a child view must not open a window beside it).
bool MainWindow::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate && suppressActivation_ == 0 && !unloaded_ &&
        !QApplication::activeModalWidget() && cameFromAnotherWindowOfTheProgram())
        QMetaObject::invokeMethod(
            this, [this] { runPredictionCommand(); }, Qt::QueuedConnection);
    return QMainWindow::event(e);
}

// Called (through the filter below) before the frame sees its own
// activation, so that previousWindow_ is the window the focus came from.
bool MainWindow::cameFromAnotherWindowOfTheProgram() const
{
    return activeWindow_ == this && previousWindow_ && previousWindow_ != this && !previousWindowWasModal_;
}

void MainWindow::noteActivation(QWidget* window)
{
    if (window == activeWindow_)
        return;
    previousWindow_ = activeWindow_;
    previousWindowWasModal_ = activeWindowIsModal_;
    activeWindow_ = window;
    // A modal window is modal while it is up; remember that, it may be
    // gone or no longer modal by the time the frame is active again.
    activeWindowIsModal_ = window && (window->isModal() || QApplication::activeModalWidget() == window);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* e)
{
    const bool window = watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow();
    if (e->type() == QEvent::WindowActivate && window) {
        noteActivation(static_cast<QWidget*>(watched));
    } else if (e->type() == QEvent::WindowDeactivate && window && !QApplication::activeWindow()) {
        // No window of the program took the focus: another application has it.
        activeWindow_ = previousWindow_ = nullptr;
        activeWindowIsModal_ = previousWindowWasModal_ = false;
    }
    return QMainWindow::eventFilter(watched, e);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (opening_ > 0) {
        closeHeldBack_ = true;  // taken when the open is over (showView)
        event->ignore();
        return;
    }
    unload();
    event->accept();
}

// Exit: the child views unload first, then the options file is written,
// then the history is released. From the writing on, nothing may stop the
// program from ending.
void MainWindow::unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    // The threads are done before anything goes.
    document_.finishForExit();
    const bool started = document_.started();
    if (started && isVisible())
        AppSettings().setFrameGeometry(saveGeometry());
    for (QMdiSubWindow* w : mdi_->subWindowList()) {
        if (QWidget* content = w->widget())
            content->close();
        w->close();
    }
    // A start that failed has nothing to save: the options file is left
    // as it was.
    bool saved = !started;
    if (started)
        saved = prediction_->writeInitFile();
    // A read-only options file was told about at start; it is left alone.
    if (!saved && !prediction_->initFileReadOnly())
        reportOptionsNotSaved();
    document_.releaseHistory();
    WaitCursor wait;
    letPendingMessagesRun();
}

}  // namespace rumone
