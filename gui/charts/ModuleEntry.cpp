// The entry point of the charts module (rumone-charts.so): the program
// opens it the first time it makes a chart and reads this entry before it
// calls anything (gui/charts/ChartsModule.h).
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

extern "C" Q_DECL_EXPORT const rumone::ChartsModuleEntry rumoneChartsModule = {
    rumone::kChartsEntryMark,
    rumone::kChartsAbiVersion,
    sizeof(rumone::ChartsModuleEntry),
    {makeChancePicture, makeExcessPicture},
};
