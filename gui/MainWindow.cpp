#include "gui/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>

#include "core/analysis/AnalysisView.h"
#include "core/predict/Prediction.h"
#include "core/store/DrawStore.h"
#include "gui/VersionWindow.h"
#include "gui/analysis/AnalysisWindow.h"
#include "gui/common/Twips.h"
#include "gui/common/WaitCursor.h"
#include "gui/entry/EntryView.h"
#include "gui/help/HtmlHelp.h"
#include "gui/predict/PredictionView.h"

namespace rumone {

namespace {

const QString kCaption = QStringLiteral("ルモーネ");
const QString kMessageCaption = QStringLiteral("メッセ－ジ");
const QString kPredictionView = QStringLiteral("一発ルモーネ");
const QString kEntryView = QStringLiteral("当選データ入力");
const QString kVersionView = QStringLiteral("バージョン情報");

// Arrangement codes of the frame's arrange operation.
enum ArrangeCode { Cascade = 0, TileHorizontal = 1, TileVertical = 2, ArrangeIconsCode = 3 };

}  // namespace

MainWindow::MainWindow() : prediction_(std::make_unique<Prediction>())
{
    setObjectName("MainFrm");
    setWindowTitle(kCaption);
    mdi_ = new QMdiArea(this);
    mdi_->setObjectName("MDIClient");
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    connect(mdi_, &QMdiArea::subWindowActivated, this, &MainWindow::updateViewMenu);
    registerViewKinds();
    buildMenus();
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow()
{
    unload();
}

// ---------------------------------------------------------------- start-up

bool MainWindow::load(const QString& programFolder)
{
    prediction_->readInitFile();
    WaitCursor wait;
    letPendingMessagesRun();
    openViews_ = 0;
    connectionString_ = buildConnectionString(programFolder.toStdString());
    try {
        history_ = loadDrawHistory(connectionString_);
    } catch (const std::exception& e) {
        showError(QString::fromStdString(e.what()));
        return false;
    }
    return true;
}

void MainWindow::loadWithHistory(DrawHistory history)
{
    prediction_->readInitFile();
    openViews_ = 0;
    history_ = std::move(history);
}

// ---------------------------------------------------------------- views

void MainWindow::registerViewKinds()
{
    for (const AnalysisViewSpec& spec : analysisViews()) {
        const AnalysisViewSpec* s = &spec;
        kinds_.push_back({QString::fromStdString(spec.objectName),
                          [this, s]() -> ChildView* { return new AnalysisWindow(*this, *s); }});
    }
    kinds_.push_back({kPredictionView, [this]() -> ChildView* { return new PredictionView(*this, *prediction_); }});
    kinds_.push_back({kEntryView, [this]() -> ChildView* { return new EntryView(*this, connectionString_); }});
    kinds_.push_back({kVersionView, [this]() -> ChildView* { return new VersionWindow(*this); }});
}

ChildView* MainWindow::findView(const QString& objectName) const
{
    for (const auto& [name, window] : windows_)
        if (name == objectName && window)
            if (auto* view = qobject_cast<ChildView*>(window->widget()); view && !view->isUnloaded())
                return view;
    return nullptr;
}

ChildView* MainWindow::showView(const QString& objectName)
{
    WaitCursor wait;
    letPendingMessagesRun();
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
        windows_.erase(
            std::remove_if(windows_.begin(), windows_.end(), [](const auto& w) { return w.second.isNull(); }),
            windows_.end());
        windows_.emplace_back(objectName, sub);
        view->load();
        sub->show();
        mdi_->setActiveSubWindow(sub);
        return view;
    }
    return nullptr;
}

void MainWindow::setPropEnd(bool value)
{
    if (value)
        openViews_ = std::max(openViews_ - 1, 0);
    else
        ++openViews_;
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
    auto view = [this](const char* name) { return [this, name] { showView(QString::fromUtf8(name)); }; };
    auto submenu = [](QMenu* parent, const QString& caption, const QString& name) {
        QMenu* m = parent->addMenu(caption);
        m->setObjectName(name);
        m->menuAction()->setObjectName(name);
        return m;
    };
    QMenuBar* bar = menuBar();
    addCommand(nullptr, QStringLiteral("終了(&X)"), "mnuEnd", [this] { close(); });
    addCommand(nullptr, QStringLiteral("一発ルモーネ予想(&D)"), "mnuYoso", [this] { runPredictionCommand(); });

    QMenu* main = bar->addMenu(QStringLiteral("データ分析(&S)"));
    main->setObjectName("mnuMain");
    main->menuAction()->setObjectName("mnuMain");
    QMenu* hindo = submenu(main, QStringLiteral("頻度分析"), "mnuHindo");
    addCommand(hindo, QStringLiteral("出現頻度分析"), "mnuSyutugenHindo", view("出現頻度分析"));
    addCommand(hindo, QStringLiteral("回数別出現分析"), "mnuSyutugenKaisu", view("回数別出現分析"));
    QMenu* kankaku = submenu(main, QStringLiteral("間隔分析"), "mnuKankaku");
    addCommand(kankaku, QStringLiteral("出現間隔分析"), "mnuSyutugenKankaku", view("出現間隔分析"));
    addCommand(kankaku, QStringLiteral("数字間隔分析"), "mnuNumberKankaku", view("数字間隔分析"));
    addCommand(kankaku, QStringLiteral("下一桁連続出現回数分析"), "mnuShimoHitoketa", view("下一桁連続出現回数分析"));
    addCommand(main, QStringLiteral("出現回数分析"), "mnuZenkaiSyutugen", view("出現回数分析"));
    addCommand(main, QStringLiteral("バラツキ分析"), "mnuBaratsuki", view("バラツキ分析"));
    addCommand(main, QStringLiteral("引っ張り分析"), "mnuHippari", view("引っ張り分析"));
    addCommand(main, QStringLiteral("連番・飛び石分析"), "mnuRenbanTobiishi", view("連番飛び石分析"));
    addCommand(main, QStringLiteral("数字合計分析"), "mnuHonsuji", view("数字合計分析"));
    QMenu* pattern = submenu(main, QStringLiteral("組合せパターン分析"), "mnuPattern");
    addCommand(pattern, QStringLiteral("低数字・高数字の組合せパターン分析"), "mnuLowHightPattern",
               view("低数字高数字の組合せパターン分析"));
    addCommand(pattern, QStringLiteral("偶数・奇数の組合せパターン分析"), "mnuKisuGusuPattern",
               view("偶数奇数の組合せパターン分析"));
    addCommand(main, QStringLiteral("5分割傾向分析"), "mnu5BunkatsuKeiko", view("分割5傾向分析"));
    QMenu* bunkatsu = submenu(main, QStringLiteral("分割データ分析"), "mnuBunkatsuData");
    addCommand(bunkatsu, QStringLiteral("3分割データ分析"), "mnu3BunkatsuData", view("分割3データ分析"));
    addCommand(bunkatsu, QStringLiteral("5分割データ分析"), "mnu6BunkatsuData", view("分割5データ分析"));
    addCommand(bunkatsu, QStringLiteral("10分割データ分析"), "mnu11BunkatsuData", view("分割10データ分析"));

    QMenu* hosyu = bar->addMenu(QStringLiteral("データ管理(&M)"));
    hosyu->setObjectName("mnuHosyu");
    hosyu->menuAction()->setObjectName("mnuHosyu");
    addCommand(hosyu, QStringLiteral("当選データ入力(&I)"), "mnuMasterInput", [this] { runEntryCommand(); });
    addCommand(hosyu, QStringLiteral("当選データ保守(&D)"), "mnuMasterKanri", nullptr);  // no action

    QMenu* window = bar->addMenu(QStringLiteral("ウィンドウ(&W)"));
    window->setObjectName("mnuWindow");
    window->menuAction()->setObjectName("mnuWindow");
    addCommand(window, QStringLiteral("上下に並べて表示(&H)"), "mnuWindowHorizontal",
               [this] { tileOneAboveTheOther(); });
    addCommand(window, QStringLiteral("左右に並べて表示(&V)"), "mnuWindowVertical", [this] { tileSideBySide(); });
    addCommand(window, QStringLiteral("重ねて表示(&C)"), "mnuWindowCascade", [this] { mdi_->cascadeSubWindows(); });
    addCommand(window, QStringLiteral("アイコンの整列(&A)"), "mnuWindowArrangeIcon", [this] { arrangeIcons(); });

    QMenu* help = bar->addMenu(QStringLiteral("ヘルプ(&H)"));
    help->setObjectName("mnuHelp");
    help->menuAction()->setObjectName("mnuHelp");
    addCommand(help, QStringLiteral("ヘルプ(&H)"), "mnuHelpFile", [this] { runHelpCommand(); });
    addCommand(help, QStringLiteral("バージョン情報(&A)"), "mnuAbout", [this] { showView(kVersionView); });
}

// While a child with a menu of its own is active, its menu stands in the
// menu bar in place of the main window's menus.
void MainWindow::updateViewMenu(QMdiSubWindow* active)
{
    QMenu* wanted = nullptr;
    if (active)
        if (auto* view = qobject_cast<ChildView*>(active->widget()))
            wanted = view->viewMenu();
    if (wanted == viewMenu_)
        return;
    QMenuBar* bar = menuBar();
    if (viewMenu_)
        bar->removeAction(viewMenu_->menuAction());
    viewMenu_ = wanted;
    for (QAction* a : bar->actions())
        a->setVisible(!wanted);
    if (wanted) {
        bar->addAction(wanted->menuAction());
        wanted->menuAction()->setVisible(true);
    }
    emit entryMenuChanged();
}

// ---------------------------------------------------------------- commands

void MainWindow::runPredictionCommand()
{
    showView(kPredictionView);
}

void MainWindow::runEntryCommand()
{
    if (openViews_ > 0) {
        showError(QStringLiteral("表示中のウィンドウを閉じないと実行できません。"));
        return;
    }
    showView(kEntryView);
}

void MainWindow::runHelpCommand()
{
    ++suppressActivation_;
    showProgramHelp(this);
    --suppressActivation_;
}

void MainWindow::showInformation(const QString& text)
{
    ++suppressActivation_;
    QMessageBox::information(this, kMessageCaption, text, QMessageBox::Ok);
    --suppressActivation_;
}

void MainWindow::showError(const QString& text)
{
    ++suppressActivation_;
    QMessageBox::critical(isVisible() ? this : nullptr, kMessageCaption, text, QMessageBox::Ok);
    --suppressActivation_;
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
    return QSize(twipsToPixels(12300) + frameExtra, twipsToPixels(13980) + frameExtra);
}

void MainWindow::showAtStart()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize wanted = preferredSize();
    if (screen && (wanted.width() > screen->availableGeometry().width() ||
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
            if (prediction_->initFileReadOnly())
                showInformation(
                    QStringLiteral("設定ファイル「%1」は読み取り専用のため、反映の設定を変えても保存されません。")
                        .arg(QString::fromUtf8(kOptionsFileName)));
        },
        Qt::QueuedConnection);
}

// ---------------------------------------------------------------- events

namespace {

// How long after a modal dialog closes the frame's activation is taken as
// the return from that dialog rather than the user coming back to it.
constexpr qint64 kModalReturnMs = 1000;

}  // namespace

// Every activation of the frame runs the prediction command, except the
// frame getting its activation back from one of the program's own message
// boxes or dialogs (a confirmation in a child view must not open a window
// beside it).
bool MainWindow::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate && suppressActivation_ == 0 && !unloaded_ && !returningFromModal())
        QMetaObject::invokeMethod(
            this, [this] { runPredictionCommand(); }, Qt::QueuedConnection);
    return QMainWindow::event(e);
}

bool MainWindow::returningFromModal() const
{
    if (QApplication::activeModalWidget())
        return true;
    return modalClosed_.isValid() && modalClosed_.elapsed() < kModalReturnMs;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::Hide && watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        if (w->isWindow() && w->isModal())
            modalClosed_.start();
    }
    return QMainWindow::eventFilter(watched, e);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
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
    for (QMdiSubWindow* w : mdi_->subWindowList()) {
        if (QWidget* content = w->widget())
            content->close();
        w->close();
    }
    try {
        prediction_->writeInitFile();
    } catch (...) {
    }
    history_.releaseDrawHistory();
    WaitCursor wait;
    letPendingMessagesRun();
}

}  // namespace rumone
