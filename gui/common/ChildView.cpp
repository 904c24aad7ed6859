#include "gui/common/ChildView.h"

#include <QCloseEvent>
#include <QMdiSubWindow>

#include "gui/common/Twips.h"
#include "gui/common/WaitCursor.h"

namespace rumone {

ChildView::ChildView(ViewHost& host, const QString& objectName, const QString& caption, QWidget* parent)
    : QWidget(parent), host_(host)
{
    setObjectName(objectName);
    setWindowTitle(caption);
}

ChildView::~ChildView()
{
    unload();
}

void ChildView::load()
{
    WaitCursor wait;
    if (!letMessagesRunAfterBuild())
        letPendingMessagesRun();
    // Decided once: the unload step may run from the destructor, where the
    // view's own answer can no longer be asked.
    reportsOpen_ = reportsOpenState();
    if (reportsOpen_)
        host_.setPropEnd(false);
    loaded_ = true;
    placeAtTopLeft();
    build();
    ++buildCount_;
    if (letMessagesRunAfterBuild())
        letPendingMessagesRun();
}

void ChildView::placeAtTopLeft()
{
    const QSize twips = sizeInTwips();
    const QSize px(twipsToPixels(twips.width()), twipsToPixels(twips.height()));
    QWidget* frame = parentWidget();
    auto* sub = qobject_cast<QMdiSubWindow*>(frame);
    if (!sub) {
        resize(px);
        openedSize_ = px;
        return;
    }
    QSize outer = px;
    if (sizeIsClientArea()) {
        resize(px);
        sub->adjustSize();
        // The frame adds its title bar and borders around the client area.
        outer = px + (sub->size() - sub->contentsRect().size());
    }
    // Where the frame's client area is smaller, the largest size that fits:
    // the view lays itself out for it, its buttons in sight.
    if (const QWidget* area = sub->parentWidget(); area && area->isVisible())
        outer = outer.boundedTo(area->size());
    sub->resize(outer);
    sub->move(0, 0);
    openedSize_ = sub->size();
}

void ChildView::closeEvent(QCloseEvent* event)
{
    unload();
    QWidget::closeEvent(event);
}

void ChildView::unload()
{
    if (!loaded_ || unloaded_)
        return;
    unloaded_ = true;
    if (reportsOpen_)
        host_.setPropEnd(true);
}

void ChildView::closeWindow()
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

}  // namespace rumone
