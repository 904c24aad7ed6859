#include "gui/tickets/PurchaseConfirmDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/text/TextParts.h"

namespace rumone {

PurchaseConfirmDialog::PurchaseConfirmDialog(std::vector<PurchaseGroup> groups, const QString& intro, QWidget* parent)
    : QDialog(parent), groups_(std::move(groups))
{
    setObjectName("購入記録へ");
    setWindowTitle(QStringLiteral("購入記録へ"));
    auto* layout = new QVBoxLayout(this);
    auto* introLabel = new QLabel(intro + QStringLiteral("記録する行に印を付けてください。"), this);
    introLabel->setWordWrap(true);
    layout->addWidget(introLabel);
    list_ = new QListWidget(this);
    list_->setObjectName("ListPurchases");
    for (const PurchaseGroup& g : groups_) {
        const QString text = QString::fromStdString(purchaseGroupText(g));
        auto* item = new QListWidgetItem(text, list_);
        item->setToolTip(text);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(g.offeredChecked ? Qt::Checked : Qt::Unchecked);
    }
    list_->setCurrentRow(0);
    layout->addWidget(list_, 1);
    total_ = new QLabel(this);
    total_->setObjectName("LabelTotal");
    total_->setWordWrap(true);
    layout->addWidget(total_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    record_ = buttons->button(QDialogButtonBox::Ok);
    record_->setText(QStringLiteral("記録(&R)"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(list_, &QListWidget::itemChanged, this, [this] { showTotal(); });
    showTotal();
    resize(720, 360);
}

std::vector<Purchase> PurchaseConfirmDialog::chosen() const
{
    std::vector<Purchase> out;
    for (int i = 0; i < list_->count(); ++i)
        if (list_->item(i)->checkState() == Qt::Checked)
            out.insert(out.end(), groups_[static_cast<std::size_t>(i)].purchases.begin(),
                       groups_[static_cast<std::size_t>(i)].purchases.end());
    return out;
}

void PurchaseConfirmDialog::showTotal()
{
    const std::vector<Purchase> purchases = chosen();
    const long long units = static_cast<long long>(purchases.size());
    const std::optional<std::string> tooMany = tooManyPurchasesProblem(purchases);
    record_->setEnabled(!tooMany);
    total_->setText(QStringLiteral("合計 %1口・%2円（平均で戻るのはその 45 %）。どの数字を選んで"
                                   "買っても、当せんの確率は同じです（ストレート 1万分の1）。")
                        .arg(QString::fromStdString(groupedDigits(units)),
                             QString::fromStdString(groupedDigits(units * kTicketPrice))) +
                    (tooMany ? u'\n' + QString::fromStdString(*tooMany) : QString()));
}

}  // namespace rumone
