// The main window: an MDI frame captioned "ルモーネ" whose menu bar opens
// every other window as a child view. It owns start-up, the life of the
// child views, the rule that keeps the entry view away from open views,
// window arrangement, help, the version window and exit; the draws it
// shows are its DrawDocument's.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/history/DrawHistory.h"
#include "core/store/DrawSource.h"
#include "core/store/DrawStore.h"
#include "core/tickets/BookLines.h"
#include "gui/DrawDocument.h"
#include "gui/common/ChildView.h"

class QMdiArea;
class QMdiSubWindow;
class QMenu;

namespace rumone {

class GridWidget;
class Prediction;
class EntryView;

class MainWindow : public QMainWindow, public ViewHost, private DocumentWindows {
    Q_OBJECT
public:
    MainWindow();
    ~MainWindow() override;

    // Start-up: options read, hourglass, connection text, loadDrawHistory,
    // cursor restored. On failure shows the message and returns false.
    bool load(const QString& programFolder);
    // The same for the database of a connection text built and parsed
    // before Qt started, its history's load under way when `begun` is
    // valid (startLoadingDraws). Then it returns without waiting for the
    // draws: the frame is shown and painted while they are read. The
    // prediction view opens on the latest draws alone when they settle it
    // and asks for the rest once it has painted; every other view waits
    // for every draw (DrawDocument::finishStart); a load that fails there
    // is told and closes the frame.
    bool load(DrawDatabaseRef database, StartingLoad begun);
    // That load failed: the frame closed, and the program ends with a
    // failure (app/main.cpp decides the exit code; no window ends the
    // application itself).
    bool startFailed() const { return document_.startFailed(); }
    // The database named in the version window (path and place).
    void setDatabaseInUse(const QString& text) { document_.setDatabaseInUse(text); }
    // Start-up with a history already in memory (tests, tools).
    void loadWithHistory(DrawHistory history);
    // The moment the start compares the history with (the clock is read
    // once, when the history is in, unless set before).
    void setStartClock(const LocalMoment& now) { startClock_ = now; }

    // ViewHost
    void setPropEnd(bool value) override;
    const DrawHistory& drawHistory() const override { return document_.history(); }
    const LatestDraws* latestDrawsAtStart() const override { return document_.latestAtStart(); }
    void readRestOfStart() override { document_.readTheRestOfTheStart(); }
    // Every draw is in (the start's whole read is over).
    bool everyDrawRead() const { return !document_.loadingAtStart(); }
    std::optional<DrawDate> drawDateOf(int number) const override { return drawCalendar_.dateOf(number); }
    void offerPurchases(const PredictorSets& sets) override;
    std::shared_ptr<WalkKeeper> walkKeeper() const override { return walkKeeper_; }
    void offerPurchaseGroups(std::vector<PurchaseGroup> groups, const QString& intro) override;
    void showStatusNote(const QString& text) override;
    // Reads the history again off the window thread; the views follow it
    // once it is in (see changeHistory).
    void drawsWritten() override { document_.drawsWritten(); }
    void entryViewClosed(bool wroteDraws) override;
    bool reloadPending() const { return document_.reloadPending(); }
    // Another copy of the program holds the database: this one only reads.
    bool readOnly() const { return document_.readOnly(); }

    // The common open sequence: hourglass, let messages run, show the view
    // (created and loaded when it has no window, brought forward otherwise).
    // nullptr when the frame closes meanwhile or has closed.
    ChildView* showView(const QString& objectName) override;
    ChildView* findView(const QString& objectName) const;
    int openViewCount() const { return openViews_; }
    QMdiArea* mdiArea() const { return mdi_; }
    Prediction& prediction() { return *prediction_; }
    const DrawDatabaseRef& database() const { return document_.database(); }

    // Menu commands (public for tests; the menu calls them).
    void runPredictionCommand();
    void runEntryCommand();
    // CSV取込 and 貼り付けて取込 of the frame, with views open or not.
    void runImportCsvCommand();
    void importFiles(const QStringList& paths);
    void importPastedText(const QString& text);
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
    // The active view's table of draws (the focused one first); nullptr
    // for none.
    GridWidget* activeDrawGrid() const;

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
        // Opens on the start's latest draws while the rest is read.
        bool paintsFromLatestDraws = false;
    };
    void registerViewKinds();
    ChildView* openView(const QString& objectName);
    bool openOnLatestDraws(const QString& objectName);
    void buildMenus();
    void addViewKeys();
    static void leaveCloseKeyToTheFrame(QMdiSubWindow* sub);
    void giveNumberedAccessKeys(QMenu* menu);
    bool keptBesideViewMenu(const QAction* action) const;
    QAction* addCommand(QMenu* menu, const QString& caption, const QString& name, std::function<void()> run);
    void showError(const QString& text) override;
    void showInformation(const QString& text);
    void updateViewMenu(QMdiSubWindow* active);
    void unload();
    void reportOptionsNotSaved();
    void noteActivation(QWidget* window);
    void adoptGrids(ChildView* view);
    bool cameFromAnotherWindowOfTheProgram() const;
    // DocumentWindows
    bool askToOpenReadOnly(const std::string& path) override;
    void endAfterFailedStart(const QString& reason) override;
    void changeHistory(const std::function<void()>& swap) override;
    bool closeViewsForEntry();
    void importDraws(const std::function<std::optional<std::vector<SourceDraw>>()>& read,
                     const std::function<void(EntryView&)>& intoEntryView);
    void startDrawsRead() override;
    // The stored dates read for drawDateOf; at start (given the latest
    // draw number) also the status line telling how many draws held by now
    // are not yet entered.
    void noteHistoryDates(std::optional<int> latestAtStart);
    void noteNearDeadlines();
    std::vector<BookLine> bookLinesIfAny() const;
    QString checkedTicketsText(const std::vector<int>& draws) const;

    DrawDocument document_{*this};
    std::unique_ptr<Prediction> prediction_;
    std::shared_ptr<WalkKeeper> walkKeeper_;
    QMdiArea* mdi_ = nullptr;
    std::vector<ViewKind> kinds_;
    std::vector<std::pair<QString, QPointer<QMdiSubWindow>>> windows_;
    int openViews_ = 0;
    bool unloaded_ = false;
    int opening_ = 0;             // showView calls under way, nested ones included
    bool closeHeldBack_ = false;  // a close came during an open
    int suppressActivation_ = 0;
    // The program's active top-level window and the one active before it;
    // both empty while another application is active.
    QPointer<QWidget> activeWindow_;
    bool activeWindowIsModal_ = false;
    QPointer<QWidget> previousWindow_;
    bool previousWindowWasModal_ = false;
    QMenu* viewMenu_ = nullptr;  // the active child's own menu, when it has one
    QMenu* helpMenu_ = nullptr;
    std::optional<LocalMoment> startClock_;
    bool startDeadlinesNoted_ = false;
    bool startDatesNoted_ = false;
    DrawCalendar drawCalendar_;
    int gridZoom_ = 100;
};

}  // namespace rumone
