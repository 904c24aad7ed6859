// The entry point of the charts module (rumone-charts.so): the program
// opens it the first time it makes a chart (gui/common/ChartsModule.h).
#include <QtGlobal>

#include "gui/analysis/ChanceChart.h"
#include "gui/backtest/ExcessChart.h"
#include "gui/common/ChartsModule.h"

namespace {

rumone::ChancePicture* makeChancePicture(QWidget* parent)
{
    return new rumone::ChanceChart(parent);
}

rumone::ExcessPicture* makeExcessPicture(QWidget* parent)
{
    return new rumone::ExcessChart(parent);
}

}  // namespace

extern "C" Q_DECL_EXPORT const rumone::ChartMakers* rumoneChartMakers()
{
    static const rumone::ChartMakers makers{makeChancePicture, makeExcessPicture};
    return &makers;
}
