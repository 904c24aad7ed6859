// The picture of a view's figures: per item the range chance alone gives
// (a pale band), the chance expectation (a dashed line) and what was
// observed (a point, red where it lies outside the range).
#pragma once

#include <QStringList>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChartView>

#include "core/analysis/chance/ChanceFigures.h"
#include "gui/charts/ChartsModule.h"

namespace rumone {

// Built into the charts module only; the program reaches it as a
// ChancePicture.
class ChanceChart : public QChartView, public ChancePicture {
    Q_OBJECT
public:
    explicit ChanceChart(QWidget* parent = nullptr);

    QWidget* widget() override { return this; }
    void showFigures(const ChanceFigures& figures) override;
    void setTitle(const QString& title) override;
    int outsidePoints() const override { return outsidePoints_; }
    int itemCount() const override { return itemCount_; }

private:
    void clear();
    void fitItemAxis(double plotWidth);

    // The items' axis, every item's name and every how many a name stands.
    QCategoryAxis* itemAxis_ = nullptr;
    QStringList itemLabels_;
    int itemStride_ = 0;

    int outsidePoints_ = 0;
    int itemCount_ = 0;
};

}  // namespace rumone
