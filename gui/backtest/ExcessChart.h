// The chart under the verification table: hits minus the chance
// expectation, accumulated over the targets, for one predictor, inside the
// shaded 95 % chance band. A line that stays inside the band is what
// random picks would give.
#pragma once

#include <QtCharts/QChartView>

#include "core/backtest/Scoring.h"

namespace rumone {

class ExcessChart : public QChartView {
    Q_OBJECT
public:
    explicit ExcessChart(QWidget* parent = nullptr);

    // Shows predictor `index` of `track`; an empty track clears the chart.
    void showTrack(const ExcessTrack& track, int index);
    // Points drawn for the line (the track is thinned to at most this).
    int pointCount() const { return pointCount_; }

    static constexpr int kMaxPoints = 1500;

private:
    int pointCount_ = 0;
};

}  // namespace rumone
