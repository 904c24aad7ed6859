#include "gui/common/ChartBasics.h"

#include <QtCharts/QAbstractAxis>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLegend>

namespace rumone {

void setUpChartView(QChartView& view)
{
    view.setRenderHint(QPainter::Antialiasing);
    view.chart()->legend()->setAlignment(Qt::AlignBottom);
    view.chart()->setMargins(QMargins(4, 4, 4, 4));
}

void clearChart(QChart& chart)
{
    chart.removeAllSeries();
    for (QAbstractAxis* axis : chart.axes()) {
        chart.removeAxis(axis);
        delete axis;
    }
}

}  // namespace rumone
