#include "gui/backtest/ExcessChart.h"

#include <QtCharts/QAreaSeries>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <cmath>

namespace rumone {

namespace {

// 1, 2 or 5 times a power of ten, at least `rough`.
double niceStep(double rough)
{
    if (!(rough > 0))
        return 1;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double m : {1.0, 2.0, 5.0})
        if (m * power >= rough)
            return m * power;
    return 10 * power;
}

}  // namespace

ExcessChart::ExcessChart(QWidget* parent) : QChartView(parent)
{
    setRenderHint(QPainter::Antialiasing);
    chart()->legend()->setAlignment(Qt::AlignBottom);
    chart()->setMargins(QMargins(4, 4, 4, 4));
}

void ExcessChart::showTrack(const ExcessTrack& track, int index)
{
    QChart* c = chart();
    c->removeAllSeries();
    for (QAbstractAxis* axis : c->axes()) {
        c->removeAxis(axis);  // gives the axis back to its caller
        delete axis;
    }
    pointCount_ = 0;
    const std::size_t n = track.targets.size();
    if (n == 0 || index < 0 || index >= kPredictorCount)
        return;
    const auto& excess = track.excess[static_cast<std::size_t>(index)];
    const auto& band = track.halfBand[static_cast<std::size_t>(index)];

    auto* line = new QLineSeries;
    line->setName(QStringLiteral("%1：的中数 − 偶然の期待値（累積）").arg(QString::fromUtf8(kPredictorNames[index])));
    auto* upper = new QLineSeries;
    auto* lower = new QLineSeries;
    const std::size_t stride = std::max<std::size_t>(1, (n + kMaxPoints - 1) / kMaxPoints);
    double top = 1, bottom = -1;
    const auto addPoint = [&](std::size_t at) {
        const double x = track.targets[at];
        line->append(x, excess[at]);
        upper->append(x, band[at]);
        lower->append(x, -band[at]);
        top = std::max({top, double(excess[at]), double(band[at])});
        bottom = std::min({bottom, double(excess[at]), -double(band[at])});
        ++pointCount_;
    };
    for (std::size_t i = 0; i < n; i += stride)
        addPoint(i);
    if ((n - 1) % stride != 0)
        addPoint(n - 1);  // the line always ends at the last target
    auto* area = new QAreaSeries(upper, lower);
    // The area does not own its edges; they go with it.
    upper->setParent(area);
    lower->setParent(area);
    area->setName(QStringLiteral("偶然の範囲（95%）"));
    area->setColor(QColor(180, 200, 255, 110));
    area->setBorderColor(QColor(120, 150, 230));
    line->setColor(QColor(200, 0, 0));
    c->addSeries(area);
    c->addSeries(line);

    auto* xAxis = new QValueAxis;
    xAxis->setRange(track.targets.front(), track.targets.back());
    xAxis->setTickType(QValueAxis::TicksDynamic);
    xAxis->setTickAnchor(0);
    xAxis->setTickInterval(niceStep((track.targets.back() - track.targets.front()) / 5.0));
    xAxis->setLabelFormat("%d");
    xAxis->setTitleText(QStringLiteral("回"));
    auto* yAxis = new QValueAxis;
    // Symmetric about 0, so that the band reads as an even envelope.
    const double reach = std::max(top, -bottom) * 1.05;
    const double step = niceStep(reach / 4);
    yAxis->setRange(-std::ceil(reach / step) * step, std::ceil(reach / step) * step);
    yAxis->setTickType(QValueAxis::TicksDynamic);
    yAxis->setTickAnchor(0);
    yAxis->setTickInterval(step);
    yAxis->setLabelFormat("%d");
    c->addAxis(xAxis, Qt::AlignBottom);
    c->addAxis(yAxis, Qt::AlignLeft);
    for (QAbstractSeries* s : c->series()) {
        s->attachAxis(xAxis);
        s->attachAxis(yAxis);
    }
}

}  // namespace rumone
