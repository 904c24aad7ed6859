// 当せん金: the prizes stored with the draws beside the theoretical ones
// (core/prizes/PrizeTable), with a picture of the straight's ratio.
#pragma once

#include <memory>
#include <vector>

#include "core/prizes/PrizeTable.h"
#include "core/store/DrawStore.h"
#include "gui/common/ChildView.h"

class QLabel;
class QPushButton;

namespace rumone {

class GridWidget;
class ResultGrid;

// The straight's prize ÷ its theoretical prize, draw by draw, with the
// line of 1 (the theoretical prize).
class RatioPicture : public QWidget {
    Q_OBJECT
public:
    explicit RatioPicture(QWidget* parent = nullptr) : QWidget(parent) {}
    void setPoints(std::vector<RatioPoint> points);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<RatioPoint> points_;
};

class PrizeView : public ChildView {
    Q_OBJECT
public:
    static QString windowName();

    PrizeView(ViewHost& host, DrawDatabaseRef database, QWidget* parent = nullptr);
    ~PrizeView() override;

    GridWidget* gridWidget() const { return grid_; }
    QLabel* noteLabel() const { return note_; }
    bool rebuildOnNewHistory() override
    {
        build();
        return true;
    }

protected:
    QSize sizeInTwips() const override;
    void build() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void arrangeControls();

    DrawDatabaseRef database_;
    std::shared_ptr<ResultGrid> model_;
    QLabel* note_ = nullptr;
    GridWidget* grid_ = nullptr;
    RatioPicture* picture_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace rumone
