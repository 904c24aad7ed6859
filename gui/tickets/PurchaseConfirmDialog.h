// The purchases of a prediction shown for confirmation: a checkable line a
// predictor, the total of the checked ones, and the reminder that no
// choice of numbers changes the chance of winning.
#pragma once

#include <QDialog>
#include <vector>

#include "core/tickets/PredictionPurchases.h"

class QLabel;
class QListWidget;

namespace rumone {

class PurchaseConfirmDialog : public QDialog {
    Q_OBJECT
public:
    PurchaseConfirmDialog(std::vector<PredictorPurchases> groups, QWidget* parent = nullptr);

    // The purchases of the checked lines.
    std::vector<Purchase> chosen() const;
    QListWidget* list() const { return list_; }

private:
    void showTotal();

    std::vector<PredictorPurchases> groups_;
    QListWidget* list_ = nullptr;
    QLabel* total_ = nullptr;
};

}  // namespace rumone
