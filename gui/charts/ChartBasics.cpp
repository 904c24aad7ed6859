#include "gui/charts/ChartBasics.h"

#include <QtCharts/QAbstractAxis>
#include <QtCharts/QAbstractSeries>
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

void attachAxes(QChart& chart, QAbstractAxis* x, QAbstractAxis* y)
{
    chart.addAxis(x, Qt::AlignBottom);
    chart.addAxis(y, Qt::AlignLeft);
    for (QAbstractSeries* s : chart.series()) {
        s->attachAxis(x);
        s->attachAxis(y);
    }
}

}  // namespace rumone
