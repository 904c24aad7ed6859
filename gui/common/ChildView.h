// The common life of every child view of the main window: the load step
// reports False through propEnd, places the window at the top-left corner
// of the MDI area at its design size (or the largest that fits the area)
// and builds the content; the unload step
// reports True. Each kind of view only says what it is and how it fills
// itself.
#pragma once

#include <QWidget>
#include <memory>
#include <optional>

#include "core/backtest/PredictorSets.h"
#include "core/calendar/DrawCalendar.h"
#include "core/tickets/PredictionPurchases.h"

class QMenu;

namespace rumone {

class ChildView;
class DrawHistory;
class LatestDraws;
class WalkKeeper;

// What a child view needs from the main window.
class ViewHost {
public:
    virtual ~ViewHost() = default;
    // The main window's write-only property: False when a view loads, True
    // when it unloads.
    virtual void setPropEnd(bool value) = 0;
    virtual const DrawHistory& drawHistory() const = 0;
    // While the start still reads the rest of the draws: its latest ones,
    // which settle the prediction and nothing else; nullptr once every draw
    // is in (drawHistory) or where the host has no such start.
    virtual const LatestDraws* latestDrawsAtStart() const { return nullptr; }
    // The view that painted from them has painted: the rest may be read.
    // Once it is in, every open view is rebuilt (rebuildOnNewHistory).
    virtual void readRestOfStart() {}
    // A short note in the frame's status line (refused input and the like).
    virtual void showStatusNote(const QString& /*text*/) {}
    // Shows the view with that window name, opening it when it has no
    // window; nullptr when there is no such view.
    virtual ChildView* showView(const QString& /*objectName*/) { return nullptr; }
    // A view wrote draws to the file: the history is to be read again.
    virtual void drawsWritten() {}
    // The entry view closed; `wroteDraws` when it wrote any while open.
    virtual void entryViewClosed(bool /*wroteDraws*/) {}
    // The date of draw `number`: stored, or by the draw rule from the last
    // stored one before it; none where the host knows no dates.
    virtual std::optional<DrawDate> drawDateOf(int /*number*/) const { return std::nullopt; }
    // The tickets a prediction's sets buy, shown for confirmation and
    // recorded in the purchase book.
    virtual void offerPurchases(const PredictorSets& /*sets*/) {}
    // The verification's walks kept between runs (shared with the runs'
    // threads, which may outlive the host's members); none: every run
    // walks the whole history.
    virtual std::shared_ptr<WalkKeeper> walkKeeper() const { return nullptr; }
    // Groups of purchases shown for confirmation (`intro` says where they
    // come from) and the chosen ones recorded in the purchase book in one
    // write; too many at once are refused with the reason.
    virtual void offerPurchaseGroups(std::vector<PurchaseGroup> /*groups*/, const QString& /*intro*/) {}
};

class ChildView : public QWidget {
    Q_OBJECT
public:
    ChildView(ViewHost& host, const QString& objectName, const QString& caption, QWidget* parent = nullptr);
    ~ChildView() override;

    // The load step; the window must already sit in its MDI sub-window.
    void load();
    bool isLoaded() const { return loaded_; }
    bool isUnloaded() const { return unloaded_; }
    // How many times the content was built (tests: a view brought forward
    // is not rebuilt).
    int buildCount() const { return buildCount_; }
    // The view's own menu, shown in place of the main window's menus while
    // the view is the active child; nullptr for none.
    virtual QMenu* viewMenu() const { return nullptr; }
    // The size of the MDI sub-window as the load step gave it (the view's
    // own size); invalid before the load step.
    QSize openedSize() const { return openedSize_; }
    // The help index's keywords of the view's page (F1), "a;b": the first
    // the index holds is shown.
    virtual QString helpKeywords() const { return objectName() + u';' + windowTitle(); }

    // Before the host replaces its history: nothing of the view may read
    // the old one any more (a worker thread is stopped and joined).
    virtual void stopReadingHistory() {}
    // After: the view shows the new history, by default built again; false
    // when it cannot, and the host closes it instead.
    virtual bool rebuildOnNewHistory()
    {
        build();
        return true;
    }

protected:
    ViewHost& host() const { return host_; }
    // Fixed window size in twips; by default the outer size of the window,
    // with sizeIsClientArea() true the size of its client area.
    virtual QSize sizeInTwips() const = 0;
    virtual bool sizeIsClientArea() const { return false; }
    // Builds and fills the content.
    virtual void build() = 0;
    // Whether pending window messages run after Build rather than before.
    virtual bool letMessagesRunAfterBuild() const { return false; }
    // Whether the view reports its life through propEnd, and so counts as
    // open for the entry command's guard. Only the analysis, prediction and
    // entry views do.
    virtual bool reportsOpenState() const { return true; }

    void closeEvent(QCloseEvent* event) override;
    // Closes the MDI sub-window that holds this view.
    void closeWindow();

private:
    void placeAtTopLeft();
    void unload();

    ViewHost& host_;
    bool loaded_ = false;
    bool unloaded_ = false;
    int buildCount_ = 0;
    bool reportsOpen_ = true;
    QSize openedSize_;
};

}  // namespace rumone
