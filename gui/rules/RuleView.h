// 自分の条件: the player's own rule built with controls, the next draw's
// tickets and cost as the controls change, the rule walked forward over the
// past with its chance range, the net yen beside -110 yen a ticket, and
// the conclusion over every rule tried (core/rules).
#pragma once

#include <QString>
#include <array>
#include <map>
#include <optional>

#include "core/backtest/PredictorSets.h"
#include "core/rules/Rule.h"
#include "core/store/DrawStore.h"
#include "gui/common/ChildView.h"

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QSpinBox;

namespace rumone {

class ExcessPicture;

class RuleView : public ChildView {
    Q_OBJECT
public:
    static QString windowName();

    // `reflect`: the prediction view's switches on, for a method's digits.
    RuleView(ViewHost& host, DrawDatabaseRef database, int reflect, QWidget* parent = nullptr);
    ~RuleView() override;

    // Writing (the tried list, a saved rule) is refused with `why`.
    void refuseWriting(const QString& why) { refusal_ = why; }
    bool rebuildOnNewHistory() override
    {
        methodSets_.clear();
        build();
        return true;
    }
    QLabel* savedLabel() const { return saved_; }

    // The rule the controls make, and the widgets tests drive.
    Rule rule() const;
    void setRule(const Rule& rule);
    QLabel* nextDrawLabel() const { return next_; }
    QLabel* resultLabel() const { return result_; }
    QLabel* triedLabel() const { return tried_; }
    QPushButton* walkButton() const { return walk_; }

    // Walks the rule and adds it to the tried list.
    void walkRuleNow();
    // Saves the rule and records its next draw's tickets.
    void saveRuleNow();
    // The next draw's tickets of the controls' rule and of every saved rule,
    // offered to the purchase book for confirmation.
    void offerPurchasesNow();
    QPushButton* buyButton() const { return buy_; }
    // 予想記録の書き出し, and the check of such a file.
    void exportRecords();
    void verifyRecords();

protected:
    QSize sizeInTwips() const override;
    void build() override;

private:
    struct RangeControls {
        QCheckBox* on = nullptr;
        QSpinBox* low = nullptr;
        QSpinBox* high = nullptr;
    };
    QWidget* makeConditions();
    RangeControls makeRange(const QString& caption, int top, QWidget* parent, QGridLayout* grid, int row);
    void showNextDraw();
    void showTried();
    void clearTried();
    // Records the saved rules' next draw (unless refused) and shows their
    // records.
    void showSaved(bool record);
    const PositionSets* methodSetsFor(const Rule& rule);

    DrawDatabaseRef database_;
    QString refusal_;
    std::map<int, PredictorSets> methodSets_;  // by reflect count, for the next draw

    RangeControls sum_, even_, low_;
    std::array<QCheckBox*, kNumberKindCount> kinds_{};
    std::array<std::array<QCheckBox*, 10>, 4> positions_{};
    QCheckBox* recentOn_ = nullptr;
    QSpinBox* recent_ = nullptr;
    QCheckBox* methodOn_ = nullptr;
    QComboBox* method_ = nullptr;
    QSpinBox* reflect_ = nullptr;
    QComboBox* type_ = nullptr;
    QLabel* text_ = nullptr;
    QLabel* next_ = nullptr;
    QLabel* result_ = nullptr;
    QLabel* tried_ = nullptr;
    QLabel* saved_ = nullptr;
    ExcessPicture* chart_ = nullptr;
    QPushButton* walk_ = nullptr;
    QPushButton* clear_ = nullptr;
    QPushButton* buy_ = nullptr;
    bool settingRule_ = false;
};

}  // namespace rumone
