// Purchases shown for confirmation: a checkable line a group (a predictor
// of the prediction, a rule of 自分の条件), the total of the checked ones,
// and the reminder that no choice of numbers changes the chance of winning;
// too many checked to record at once turn 記録 off and say why.
#pragma once

#include <QDialog>
#include <vector>

#include "core/tickets/PredictionPurchases.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace rumone {

class PurchaseConfirmDialog : public QDialog {
    Q_OBJECT
public:
    // `intro`: where the groups come from, above the list.
    PurchaseConfirmDialog(std::vector<PurchaseGroup> groups, const QString& intro, QWidget* parent = nullptr);

    // The purchases of the checked lines.
    std::vector<Purchase> chosen() const;
    QListWidget* list() const { return list_; }

private:
    void showTotal();

    std::vector<PurchaseGroup> groups_;
    QListWidget* list_ = nullptr;
    QLabel* total_ = nullptr;
    QPushButton* record_ = nullptr;  // off while the checked lines are too many to record
};

}  // namespace rumone
