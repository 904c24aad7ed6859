// The main window: an MDI frame captioned "ルモーネ" whose menu bar opens
// every other window as a child view. It owns start-up, the life of the
// child views, the rule that keeps the entry view away from open views,
// window arrangement, help, the version window and exit.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <vector>

#include "core/history/DrawHistory.h"
#include "core/store/DrawStore.h"
#include "gui/common/ChildView.h"

class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace rumone {

class GridWidget;
class Prediction;
class WaitCursor;
class DatabaseLock;

class MainWindow : public QMainWindow, public ViewHost {
    Q_OBJECT
public:
    MainWindow();
    ~MainWindow() override;

    // Start-up: options read, hourglass, connection text, loadDrawHistory,
    // cursor restored. On failure shows the message and returns false.
    bool load(const QString& programFolder);
    // The same for the database of a connection text built and parsed
    // before Qt started, its history's load under way when `begun` is
    // valid (startLoadingDrawHistory). Then it returns without waiting for
    // the draws: the frame is shown and painted while they are read, and
    // the first view waits for them (finishStart); a load that fails there
    // is told and ends the program with exit code 1.
    bool load(DrawDatabaseRef database, std::future<DrawHistory> begun);
    // The database named in the version window (path and place).
    void setDatabaseInUse(const QString& text) { databaseInUse_ = text; }
    // Start-up with a history already in memory (tests, tools).
    void loadWithHistory(DrawHistory history);
    // The moment the start compares the history with (the clock is read
    // once, when the history is in, unless set before).
    void setStartClock(const LocalMoment& now) { startClock_ = now; }

    // ViewHost
    void setPropEnd(bool value) override;
    const DrawHistory& drawHistory() const override { return history_; }
    std::optional<DrawDate> drawDateOf(int number) const override { return drawCalendar_.dateOf(number); }
    void showStatusNote(const QString& text) override;
    // Reads the history again off the window thread; the views follow it
    // once it is in (see adoptReloadedHistory).
    void drawsWritten() override;
    bool reloadPending() const { return reload_.valid(); }
    // Another copy of the program holds the database: this one only reads.
    bool readOnly() const { return readOnly_; }

    // The common open sequence: hourglass, let messages run, show the view
    // (created and loaded when it has no window, brought forward otherwise).
    ChildView* showView(const QString& objectName) override;
    ChildView* findView(const QString& objectName) const;
    int openViewCount() const { return openViews_; }
    QMdiArea* mdiArea() const { return mdi_; }
    Prediction& prediction() { return *prediction_; }
    const DrawDatabaseRef& database() const { return database_; }

    // Menu commands (public for tests; the menu calls them).
    void runPredictionCommand();
    void runEntryCommand();
    void runHelpCommand();
    void tileOneAboveTheOther();
    void tileSideBySide();
    // Every child at its own size, each one title bar lower and further
    // right than the one before.
    void cascade();
    void arrangeIcons();
    void closeAllViews();
    // F1: the help page of the active view, the program's help without one.
    void runActiveViewHelp();
    // The zoom of every table, kept for the next run (percent).
    int gridZoom() const { return gridZoom_; }
    void setGridZoom(int percent);
    // The table of the active view that the export and print commands use:
    // the one with the focus, else its first; nullptr for none.
    GridWidget* activeGrid() const;

    // The size that shows the tallest and widest child view whole.
    QSize preferredSize() const;
    // Shown at that size, or maximised where the screen is smaller.
    void showAtStart();

signals:
    void entryMenuChanged();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct ViewKind {
        QString objectName;
        std::function<ChildView*()> create;
    };
    void registerViewKinds();
    void buildMenus();
    QAction* addCommand(QMenu* menu, const QString& caption, const QString& name, std::function<void()> run);
    void showError(const QString& text);
    void showInformation(const QString& text);
    void updateViewMenu(QMdiSubWindow* active);
    void unload();
    void reportOptionsNotSaved();
    void noteActivation(QWidget* window);
    void adoptGrids(ChildView* view);
    bool cameFromAnotherWindowOfTheProgram() const;
    bool claimDatabase();
    QString readOnlyRefusal(const QString& what) const;
    void pollReload();
    void finishReload();
    void adoptReloadedHistory(DrawHistory fresh);
    bool finishStart();
    // The stored dates read for drawDateOf; at start also the status line
    // telling how many draws held by now are not yet entered.
    void noteHistoryDates(bool atStart);

    DrawHistory history_;
    DrawDatabaseRef database_;
    QString databaseInUse_;
    std::unique_ptr<Prediction> prediction_;
    QMdiArea* mdi_ = nullptr;
    std::vector<ViewKind> kinds_;
    std::vector<std::pair<QString, QPointer<QMdiSubWindow>>> windows_;
    int openViews_ = 0;
    bool started_ = false;  // the history was loaded; only then is there anything to save
    bool unloaded_ = false;
    int suppressActivation_ = 0;
    // The program's active top-level window and the one active before it;
    // both empty while another application is active.
    QPointer<QWidget> activeWindow_;
    bool activeWindowIsModal_ = false;
    QPointer<QWidget> previousWindow_;
    bool previousWindowWasModal_ = false;
    QMenu* viewMenu_ = nullptr;  // the active child's own menu, when it has one
    std::unique_ptr<DatabaseLock> lock_;
    bool readOnly_ = false;
    std::future<DrawHistory> starting_;       // the start's load, until the first view takes it
    bool startFailed_ = false;                // that load failed: the program is ending
    std::future<DrawHistory> reload_;         // a reload under way
    std::unique_ptr<WaitCursor> reloadWait_;  // shown once the reload takes longer than a frame
    std::optional<LocalMoment> startClock_;
    DrawCalendar drawCalendar_;
    int gridZoom_ = 100;
};

}  // namespace rumone
