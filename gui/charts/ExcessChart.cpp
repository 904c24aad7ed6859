#include "gui/charts/ExcessChart.h"

#include <QFontMetricsF>
#include <QtCharts/QAreaSeries>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>
#include <cmath>

#include "gui/charts/AxisLabels.h"
#include "gui/charts/ChartBasics.h"

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

// Below this height, in lines of the chart's font, the legend stands
// beside the plot instead of under it: a short chart gives its height to
// the plot and the time axis, whose labels and title would otherwise be cut
// to "...".
constexpr double kLegendBesideBelowLines = 16;

const QString kBandName = QStringLiteral("偶然の範囲（95%、各時点でのもの）");

}  // namespace

ExcessChart::ExcessChart(QWidget* parent) : QChartView(parent)
{
    setUpChartView(*this);
    // The value axis is spaced for the height the plot has: in a short
    // chart finer steps would leave each label less room than its own
    // height, and the chart would show "..." for every value.
    connect(chart(), &QChart::plotAreaChanged, this, [this](const QRectF& area) { fitValueAxis(area.height()); });
}

void ExcessChart::resizeEvent(QResizeEvent* event)
{
    const double lines = height() / QFontMetricsF(chart()->font()).height();
    const Qt::Alignment place = lines < kLegendBesideBelowLines ? Qt::AlignRight : Qt::AlignBottom;
    if (chart()->legend()->alignment() != place)
        chart()->legend()->setAlignment(place);
    QChartView::resizeEvent(event);
}

void ExcessChart::clear()
{
    clearChart(*chart());
    valueAxis_ = nullptr;
    pointCount_ = 0;
}

void ExcessChart::fitValueAxis(double plotHeight)
{
    if (!valueAxis_)
        return;
    const double top = valueExtent_.top, bottom = valueExtent_.bottom;
    const double reach = std::max(top, -bottom) * 1.05;
    // The finest steps: eight about 0, or six between the lowest and the
    // highest; coarser ones until each value has room for its label.
    double step = valueExtent_.symmetric ? niceStep(reach / 4) : niceStep((top - bottom) / 6);
    // A label is drawn whole only with some room beyond its own height.
    const double room = 1.2 * QFontMetricsF(valueAxis_->labelsFont()).height() + 4;
    double low = -1, high = 1;
    for (;;) {
        if (valueExtent_.symmetric) {
            // Symmetric about 0, so that the range reads as an even envelope.
            high = std::ceil(reach / step) * step;
            low = -high;
        } else {
            low = std::floor(bottom / step) * step;
            high = std::ceil(top / step) * step;
        }
        const double steps = (high - low) / step;
        if (plotHeight <= 0 || steps <= 2 || plotHeight / steps >= room)
            break;
        step = niceStep(step * 1.5);  // the next of 1, 2, 5 times a power of ten
    }
    if (step != valueAxis_->tickInterval() || low != valueAxis_->min() || high != valueAxis_->max()) {
        valueAxis_->setRange(low, high);
        valueAxis_->setTickInterval(step);
        if (auto* yen = qobject_cast<QCategoryAxis*>(valueAxis_))
            labelYen(*yen, low, high, step);
    }
}

void ExcessChart::labelYen(QCategoryAxis& axis, double low, double high, double step)
{
    for (const QString& label : axis.categoriesLabels())
        axis.remove(label);
    const int steps = static_cast<int>(std::lround((high - low) / step));
    for (int i = 0; i <= steps; ++i) {
        const double value = low + i * step;
        axis.append(QString::fromStdString(yenAxisLabel(value)), value);
    }
}

void ExcessChart::showTrack(const ExcessTrack& track, int index)
{
    clear();
    if (track.targets.empty() || index < 0 || index >= kPredictorCount)
        return;
    const auto i = static_cast<std::size_t>(index);
    Plot p;
    p.lineName = QStringLiteral("%1：的中数 − 偶然の期待値（累積）").arg(QString::fromUtf8(kPredictorNames[i]));
    p.targets = &track.targets;
    p.line = &track.excess[i];
    p.bandAt = &track.bandAt;
    p.low = &track.bandLow[i];
    p.high = &track.bandHigh[i];
    plot(p);
}

void ExcessChart::showYen(const YenTrack& track, int index)
{
    if (index < 0 || index >= kPredictorCount)
        return clear();
    showNetYen(track, index,
               QStringLiteral("%1：購入した場合の損益（理論配当、累積）")
                   .arg(QString::fromUtf8(kPredictorNames[static_cast<std::size_t>(index)])));
}

void ExcessChart::showNetYen(const YenTrack& track, int index, const QString& lineName)
{
    clear();
    if (track.targets.empty() || index < 0 || index >= kPredictorCount)
        return;
    const auto i = static_cast<std::size_t>(index);
    Plot p;
    p.lineName = lineName;
    p.targets = &track.targets;
    p.line = &track.net[i];
    p.expected = &track.expected[i];
    p.bandAt = &track.bandAt;
    p.low = &track.bandLow[i];
    p.high = &track.bandHigh[i];
    p.yTitle = QStringLiteral("損益");
    p.yen = true;
    p.symmetric = false;
    plot(p);
}

void ExcessChart::plot(const Plot& p)
{
    QChart* c = chart();
    const std::vector<int>& targets = *p.targets;
    const std::size_t n = targets.size();
    auto* line = new QLineSeries;
    line->setName(p.lineName);
    const std::size_t stride = std::max<std::size_t>(1, (n + kMaxPoints - 1) / kMaxPoints);
    double top = 1, bottom = -1;
    const auto extend = [&](double y) {
        top = std::max(top, y);
        bottom = std::min(bottom, y);
    };
    const auto addPoint = [&](std::size_t at) {
        line->append(targets[at], (*p.line)[at]);
        extend((*p.line)[at]);
        ++pointCount_;
    };
    for (std::size_t i = 0; i < n; i += stride)
        addPoint(i);
    if ((n - 1) % stride != 0)
        addPoint(n - 1);  // the line always ends at the last target

    auto* upper = new QLineSeries;
    auto* lower = new QLineSeries;
    for (std::size_t b = 0; b < p.bandAt->size() && b < p.low->size(); ++b) {
        const double x = targets[(*p.bandAt)[b]];
        upper->append(x, (*p.high)[b]);
        lower->append(x, (*p.low)[b]);
        extend((*p.high)[b]);
        extend((*p.low)[b]);
    }
    auto* area = new QAreaSeries(upper, lower);
    // The area does not own its edges; they go with it.
    upper->setParent(area);
    lower->setParent(area);
    area->setName(kBandName);
    area->setColor(QColor(180, 200, 255, 110));
    area->setBorderColor(QColor(120, 150, 230));
    line->setColor(QColor(60, 60, 60));
    c->addSeries(area);
    if (p.expected) {
        auto* expected = new QLineSeries;
        expected->setName(QStringLiteral("偶然の期待値（1枚あたり−110円）"));
        for (std::size_t i = 0; i < n; i += stride)
            expected->append(targets[i], (*p.expected)[i]);
        expected->append(targets[n - 1], (*p.expected)[n - 1]);
        extend((*p.expected)[n - 1]);
        expected->setPen(QPen(QColor(120, 150, 230), 1, Qt::DashLine));
        c->addSeries(expected);
    }
    c->addSeries(line);

    auto* xAxis = new QValueAxis;
    xAxis->setRange(targets.front(), targets.back());
    xAxis->setTickType(QValueAxis::TicksDynamic);
    xAxis->setTickAnchor(0);
    xAxis->setTickInterval(niceStep((targets.back() - targets.front()) / 5.0));
    xAxis->setLabelFormat("%d");
    xAxis->setTitleText(QStringLiteral("回"));
    // Yen read in threes and in 万円 (labelYen); other counts as plain numbers.
    QValueAxis* yAxis = nullptr;
    if (p.yen) {
        auto* yen = new QCategoryAxis;
        yen->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        yAxis = yen;
    } else {
        yAxis = new QValueAxis;
    }
    valueAxis_ = yAxis;
    valueExtent_ = {top, bottom, p.symmetric};
    fitValueAxis(c->plotArea().height());
    yAxis->setTickType(QValueAxis::TicksDynamic);
    yAxis->setTickAnchor(0);
    yAxis->setLabelFormat("%.0f");
    if (!p.yTitle.isEmpty())
        yAxis->setTitleText(p.yTitle);
    attachAxes(*c, xAxis, yAxis);
}

}  // namespace rumone
