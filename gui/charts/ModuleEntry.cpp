// The entry point of the charts module (rumone-charts.so): the program
// opens it the first time it makes a chart (gui/charts/ChartsModule.h).
#include <QtGlobal>

#include "gui/charts/ChanceChart.h"
#include "gui/charts/ChartsModule.h"
#include "gui/charts/ExcessChart.h"

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
