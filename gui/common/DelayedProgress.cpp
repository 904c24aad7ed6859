#include "gui/common/DelayedProgress.h"

#include <QProgressDialog>
#include <algorithm>

#include "gui/common/Messages.h"

namespace rumone {

DelayedProgress::DelayedProgress(QWidget* owner, QString label) : owner_(owner), label_(std::move(label))
{
    clock_.start();
}

DelayedProgress::~DelayedProgress() = default;

void DelayedProgress::step(std::size_t done, std::size_t total)
{
    if (!dialog_) {
        if (clock_.elapsed() < kShowAfterMs)
            return;
        dialog_ = std::make_unique<QProgressDialog>(label_, QString(), 0, 1, owner_);
        dialog_->setObjectName("progressDialog");
        dialog_->setWindowTitle(programCaption());
        dialog_->setWindowModality(Qt::WindowModal);
        dialog_->setCancelButton(nullptr);  // the step runs to its end
        dialog_->setMinimumDuration(0);
        dialog_->setAutoClose(false);
        dialog_->setAutoReset(false);
        dialog_->show();
    }
    dialog_->setMaximum(static_cast<int>(std::max<std::size_t>(total, 1)));
    dialog_->setValue(static_cast<int>(std::min(done, total)));  // paints it: the dialog is modal
}

}  // namespace rumone
