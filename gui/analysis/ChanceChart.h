// The picture of a view's figures: per item the range chance alone gives
// (a pale band), the chance expectation (a dashed line) and what was
// observed (a point, red where it lies outside the range).
#pragma once

#include <QtCharts/QChartView>

#include "core/analysis/chance/ChanceFigures.h"

namespace rumone {

class ChanceChart : public QChartView {
    Q_OBJECT
public:
    explicit ChanceChart(QWidget* parent = nullptr);

    void showFigures(const ChanceFigures& figures);
    // Points drawn for items outside their range (tests).
    int outsidePoints() const { return outsidePoints_; }
    int itemCount() const { return itemCount_; }

private:
    void clear();

    int outsidePoints_ = 0;
    int itemCount_ = 0;
};

}  // namespace rumone
