#include "gui/charts/ChanceChart.h"

#include <QRegularExpression>
#include <QtCharts/QBarCategoryAxis>
#include <QtCharts/QBarSet>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QStackedBarSeries>
#include <QtCharts/QValueAxis>
#include <algorithm>

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

// Whether the items are named by their place, 0, 1, 2 ... (the last may
// read "20以上").
bool numberedByPlace(const QStringList& labels)
{
    for (int i = 0; i < labels.size(); ++i)
        if (!labels[i].startsWith(QString::number(i)))
            return false;
    return true;
}

// The items' axis: a number scale with a tick every five where the items
// are many and numbered by their place, else one name per item (smaller
// where they are many).
QAbstractAxis* itemAxis(const ChanceFigures& f, const QStringList& labels)
{
    QAbstractAxis* axis = nullptr;
    if (labels.size() > 24 && numberedByPlace(labels)) {
        auto* numbers = new QValueAxis;
        numbers->setRange(-0.5, labels.size() - 0.5);
        numbers->setTickType(QValueAxis::TicksDynamic);
        numbers->setTickAnchor(0);
        numbers->setTickInterval(5);
        numbers->setLabelFormat(QStringLiteral("%.0f"));
        numbers->setGridLineVisible(false);
        axis = numbers;
    } else {
        auto* names = new QBarCategoryAxis;
        names->append(labels);
        if (labels.size() > 12) {
            QFont font = names->labelsFont();
            font.setPointSizeF(std::max(font.pointSizeF() * 0.8, 6.0));
            names->setLabelsFont(font);
        }
        axis = names;
    }
    axis->setTitleText(toQString(f.axisTitle));
    return axis;
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
}

void ChanceChart::clear()
{
    clearChart(*chart());
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

    QAbstractAxis* xAxis = itemAxis(f, labels);
    auto* yAxis = new QValueAxis;
    const double pad = std::max((top - bottom) * 0.08, 1.0);
    yAxis->setRange(std::max(0.0, bottom - pad), top + pad);
    yAxis->applyNiceNumbers();
    yAxis->setLabelFormat(f.scale == ChanceScale::Rate ? QStringLiteral("%.0f%%") : QStringLiteral("%.0f"));
    yAxis->setTitleText(f.scale == ChanceScale::Rate ? QStringLiteral("率") : QStringLiteral("回数"));
    attachAxes(*c, xAxis, yAxis);
}

}  // namespace rumone
