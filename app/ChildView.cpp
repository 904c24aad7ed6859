#include "app/ChildView.h"

#include <QCloseEvent>
#include <QMdiSubWindow>

#include "app/Twips.h"
#include "app/WaitCursor.h"

namespace rumone {

ChildView::ChildView(ViewHost& host, const QString& objectName, const QString& caption, QWidget* parent)
    : QWidget(parent), host_(host)
{
    setObjectName(objectName);
    setWindowTitle(caption);
}

ChildView::~ChildView()
{
    Unload();
}

void ChildView::Load()
{
    WaitCursor wait;
    if (!LetMessagesRunAfterBuild())
        LetPendingMessagesRun();
    host_.setPropEnd(false);
    loaded_ = true;
    PlaceAtTopLeft();
    Build();
    ++buildCount_;
    if (LetMessagesRunAfterBuild())
        LetPendingMessagesRun();
}

void ChildView::PlaceAtTopLeft()
{
    const QSize twips = SizeInTwips();
    const QSize px(TwipsToPixels(twips.width()), TwipsToPixels(twips.height()));
    QWidget* frame = parentWidget();
    auto* sub = qobject_cast<QMdiSubWindow*>(frame);
    if (!sub) {
        resize(px);
        return;
    }
    if (SizeIsClientArea()) {
        resize(px);
        sub->adjustSize();
        // The frame adds its title bar and borders around the client area.
        const QSize extra = sub->size() - sub->contentsRect().size();
        sub->resize(px + extra);
    } else {
        sub->resize(px);
    }
    sub->move(0, 0);
}

void ChildView::closeEvent(QCloseEvent* event)
{
    Unload();
    QWidget::closeEvent(event);
}

void ChildView::Unload()
{
    if (!loaded_ || unloaded_)
        return;
    unloaded_ = true;
    host_.setPropEnd(true);
}

void ChildView::CloseWindow()
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

}  // namespace rumone
