// 購入記録: the player's purchases and their results over the book of
// core/tickets, with the typing area (the number's facts as it is typed,
// the quick pick), the account beside chance, the received ticks and the
// monthly budget.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "core/store/DrawStore.h"
#include "core/tickets/BookLines.h"
#include "gui/common/ChildView.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace rumone {

class GridWidget;
class ResultGrid;

class TicketBookView : public ChildView {
    Q_OBJECT
public:
    static QString windowName();

    TicketBookView(ViewHost& host, DrawDatabaseRef database, QWidget* parent = nullptr);
    ~TicketBookView() override;

    // Writing refused (another copy holds the database): the reason.
    void refuseWriting(const QString& reason) { writeRefusal_ = reason; }
    // The day the deadlines and the budget's month are taken at (tests).
    void setToday(const CivilDate& today) { today_ = today; }

    GridWidget* bookGrid() const { return book_; }
    GridWidget* monthGrid() const { return months_; }
    QLineEdit* numberEdit() const { return number_; }
    QLabel* factsLabel() const { return facts_; }
    QLabel* accountLabel() const { return account_; }
    const std::vector<BookLine>& lines() const { return lines_; }

    // The typed purchase recorded; false with the reason in the status line.
    bool recordTyped();
    void quickPick();
    // The current row's win ticked as received, or the tick taken off.
    void toggleReceived();
    void saveBudget();

protected:
    QSize sizeInTwips() const override;
    void build() override;
    // The book follows new draws; it does not keep the entry view away.
    bool reportsOpenState() const override { return false; }

private:
    void createTypingArea();
    void showNumberFacts();
    bool writable();
    CivilDate today() const;

    DrawDatabaseRef database_;
    std::optional<QString> writeRefusal_;
    std::optional<CivilDate> today_;
    std::vector<BookLine> lines_;
    int nextDraw_ = 0;  // the draw after the latest, when last built
    std::shared_ptr<ResultGrid> bookModel_;
    std::shared_ptr<ResultGrid> monthModel_;
    QWidget* typing_ = nullptr;
    QLineEdit* number_ = nullptr;
    QComboBox* type_ = nullptr;
    QSpinBox* firstDraw_ = nullptr;
    QSpinBox* draws_ = nullptr;
    QSpinBox* units_ = nullptr;
    QPushButton* record_ = nullptr;
    QPushButton* quickPick_ = nullptr;
    QLabel* facts_ = nullptr;
    GridWidget* book_ = nullptr;
    GridWidget* months_ = nullptr;
    QLabel* account_ = nullptr;
    QWidget* budgetRow_ = nullptr;
    QSpinBox* budget_ = nullptr;
    QLabel* budgetText_ = nullptr;
    QPushButton* received_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace rumone
