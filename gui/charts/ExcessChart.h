// The charts of the verification view. showTrack: hits minus the chance
// expectation, accumulated over the targets, for one predictor, inside the
// shaded exact 95 % chance range of each point. showYen: the accumulated
// net yen of buying the predictor's tickets beside its chance expectation
// (-110 yen a ticket) and range. Each range holds at its own point; a
// line leaving it somewhere along the way is common by chance alone.
#pragma once

#include <QtCharts/QCategoryAxis>
#include <QtCharts/QChartView>
#include <QtCharts/QValueAxis>
#include <vector>

#include "core/backtest/Scoring.h"
#include "gui/charts/ChartsModule.h"

namespace rumone {

// Built into the charts module only; the program reaches it as an
// ExcessPicture.
class ExcessChart : public QChartView, public ExcessPicture {
    Q_OBJECT
public:
    explicit ExcessChart(QWidget* parent = nullptr);

    QWidget* widget() override { return this; }
    // Shows predictor `index` of `track`; an empty track clears the chart.
    void showTrack(const ExcessTrack& track, int index) override;
    void showYen(const YenTrack& track, int index) override;
    void showNetYen(const YenTrack& track, int index, const QString& lineName) override;
    // Points drawn for the line (the track is thinned to at most this).
    int pointCount() const override { return pointCount_; }

    static constexpr int kMaxPoints = 1500;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Plot {
        QString lineName;
        const std::vector<int>* targets = nullptr;
        const std::vector<float>* line = nullptr;
        const std::vector<float>* expected = nullptr;  // none: 0 throughout
        const std::vector<std::size_t>* bandAt = nullptr;
        const std::vector<float>* low = nullptr;
        const std::vector<float>* high = nullptr;
        QString yTitle;
        bool symmetric = true;
        bool yen = false;  // the values are yen
    };
    void plot(const Plot& p);
    void clear();
    void fitValueAxis(double plotHeight);
    static void labelYen(QCategoryAxis& axis, double low, double high, double step);

    // The value axis of the plot, and the values it must show.
    QValueAxis* valueAxis_ = nullptr;
    struct {
        double top = 1, bottom = -1;
        bool symmetric = true;
    } valueExtent_;
    int pointCount_ = 0;
};

}  // namespace rumone
