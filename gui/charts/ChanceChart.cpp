#include "gui/charts/ChanceChart.h"

#include <QFontMetricsF>
#include <QRegularExpression>
#include <QtCharts/QBarSet>
#include <QtCharts/QCategoryAxis>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QStackedBarSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>

#include "gui/charts/AxisLabels.h"
#include "gui/charts/ChartBasics.h"
#include "gui/common/QtConversions.h"

namespace rumone {

namespace {

const QColor kBandColour(170, 200, 255, 150);
const QColor kWithinColour(30, 60, 200);
const QColor kOutsideColour(210, 0, 0);

// What the picture plots for a count of an item: the count itself, or the
// share of the item's trials in percent.
double plotted(const ChanceFigures& f, const ChanceItem& item, double count)
{
    if (f.scale == ChanceScale::Count)
        return count;
    return item.trials > 0 ? 100.0 * count / static_cast<double>(item.trials) : 0.0;
}

// An item's name on the axis: "第1数字+3" short as "1:+3".
QString axisLabel(const std::string& label)
{
    static const QRegularExpression position(QStringLiteral("第(\\d)数字"));
    return toQString(label).replace(position, QStringLiteral("\\1:"));
}

// The items' axis: one place per item, named at every item that has room
// (fitItemAxis), smaller names where they are many.
QCategoryAxis* itemAxis(const ChanceFigures& f, int count)
{
    auto* names = new QCategoryAxis;
    names->setRange(-0.5, count - 0.5);
    names->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    names->setGridLineVisible(false);
    if (count > 12) {
        QFont font = names->labelsFont();
        font.setPointSizeF(std::max(font.pointSizeF() * 0.8, 6.0));
        names->setLabelsFont(font);
    }
    names->setTitleText(toQString(f.axisTitle));
    return names;
}

QScatterSeries* pointSeries(const QString& name, const QColor& colour)
{
    auto* s = new QScatterSeries;
    s->setName(name);
    s->setColor(colour);
    s->setBorderColor(colour);
    s->setMarkerSize(9);
    return s;
}

}  // namespace

ChanceChart::ChanceChart(QWidget* parent) : QChartView(parent)
{
    setUpChartView(*this);
    // The items' names are thinned for the width the plot has, so that no
    // name is cut to "...".
    connect(chart(), &QChart::plotAreaChanged, this, [this](const QRectF& area) { fitItemAxis(area.width()); });
}

void ChanceChart::fitItemAxis(double plotWidth)
{
    if (!itemAxis_)
        return;
    const QFontMetricsF metrics(itemAxis_->labelsFont());
    double widest = 0;
    for (const QString& label : itemLabels_)
        widest = std::max(widest, metrics.horizontalAdvance(label));
    const int stride = categoryLabelStride(static_cast<int>(itemLabels_.size()), plotWidth, widest);
    if (stride == itemStride_)
        return;
    itemStride_ = stride;
    for (const QString& label : itemAxis_->categoriesLabels())
        itemAxis_->remove(label);
    for (qsizetype i = 0; i < itemLabels_.size(); i += stride)
        itemAxis_->append(itemLabels_[i], static_cast<double>(i));
}

void ChanceChart::clear()
{
    clearChart(*chart());
    itemAxis_ = nullptr;
    itemLabels_.clear();
    itemStride_ = 0;
    outsidePoints_ = 0;
    itemCount_ = 0;
}

void ChanceChart::setTitle(const QString& title)
{
    chart()->setTitle(title);
}

void ChanceChart::showFigures(const ChanceFigures& f)
{
    clear();
    if (f.items.empty())
        return;
    QChart* c = chart();
    // The band stands on an invisible bar up to the low end of the range.
    auto* base = new QBarSet(QString());
    base->setColor(Qt::transparent);
    base->setBorderColor(Qt::transparent);
    auto* band = new QBarSet(QStringLiteral("偶然の範囲（全項目同時に95%）"));
    band->setColor(kBandColour);
    band->setBorderColor(kBandColour.darker(130));
    auto* expected = new QLineSeries;
    expected->setName(QStringLiteral("偶然の期待値"));
    QPen dashed(QColor(90, 90, 90));
    dashed.setStyle(Qt::DashLine);
    dashed.setWidthF(1.5);
    expected->setPen(dashed);
    auto* within = pointSeries(QStringLiteral("観測値（範囲内）"), kWithinColour);
    auto* outside = pointSeries(QStringLiteral("観測値（範囲外）"), kOutsideColour);

    QStringList labels;
    double top = 0, bottom = 0;
    bool first = true;
    for (std::size_t i = 0; i < f.items.size(); ++i) {
        const ChanceItem& item = f.items[i];
        const double low = plotted(f, item, static_cast<double>(item.range.low));
        const double high = plotted(f, item, static_cast<double>(item.range.high));
        const double seen = plotted(f, item, static_cast<double>(item.observed));
        const double mean = plotted(f, item, item.expected());
        base->append(low);
        band->append(high - low);
        expected->append(static_cast<double>(i), mean);
        (item.verdict == ChanceVerdict::Within ? within : outside)->append(static_cast<double>(i), seen);
        labels << axisLabel(item.label);
        top = first ? std::max(high, seen) : std::max({top, high, seen});
        bottom = first ? std::min(low, seen) : std::min({bottom, low, seen});
        first = false;
    }
    outsidePoints_ = outside->count();
    itemCount_ = static_cast<int>(f.items.size());

    auto* bars = new QStackedBarSeries;
    bars->append(base);
    bars->append(band);
    bars->setBarWidth(0.6);
    c->addSeries(bars);
    c->addSeries(expected);
    c->addSeries(within);
    c->addSeries(outside);
    c->legend()->markers(bars).first()->setVisible(false);

    QCategoryAxis* xAxis = itemAxis(f, static_cast<int>(labels.size()));
    itemAxis_ = xAxis;
    itemLabels_ = labels;
    fitItemAxis(c->plotArea().width());
    auto* yAxis = new QValueAxis;
    const double pad = std::max((top - bottom) * 0.08, 1.0);
    yAxis->setRange(std::max(0.0, bottom - pad), top + pad);
    yAxis->applyNiceNumbers();
    yAxis->setLabelFormat(f.scale == ChanceScale::Rate ? QStringLiteral("%.0f%%") : QStringLiteral("%.0f"));
    yAxis->setTitleText(f.scale == ChanceScale::Rate ? QStringLiteral("率") : QStringLiteral("回数"));
    attachAxes(*c, xAxis, yAxis);
}

}  // namespace rumone
