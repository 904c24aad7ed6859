// What every chart of the program shares: its look and how it is emptied
// before it is drawn anew.
#pragma once

class QAbstractAxis;
class QChart;
class QChartView;

namespace rumone {

// Smooth lines, the legend under the plot, narrow margins.
void setUpChartView(QChartView& view);
// Takes every series and axis off the chart and deletes them (an axis taken
// off is given back to its caller, so it is deleted here).
void clearChart(QChart& chart);
// Puts `x` under the plot and `y` at its left, and measures every series of
// the chart against both.
void attachAxes(QChart& chart, QAbstractAxis* x, QAbstractAxis* y);

}  // namespace rumone
