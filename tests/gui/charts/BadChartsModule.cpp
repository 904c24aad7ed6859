// Charts modules the program must refuse without calling into them, one per
// definition given by the test build: the old entry only, a function under
// the entry's name, an entry of another version.
#include <cstdlib>

#include "gui/charts/ChartsModule.h"

#if defined(BAD_CHARTS_OLD_ENTRY)
extern "C" Q_DECL_EXPORT const rumone::ChartMakers* rumoneChartMakers()
{
    std::abort();
}
#elif defined(BAD_CHARTS_FUNCTION_ENTRY)
extern "C" Q_DECL_EXPORT void rumoneChartsModule()
{
    std::abort();
}
#elif defined(BAD_CHARTS_OTHER_VERSION)
namespace {

[[noreturn]] rumone::ChancePicture* refuseChance(QWidget*)
{
    std::abort();
}

[[noreturn]] rumone::ExcessPicture* refuseExcess(QWidget*)
{
    std::abort();
}

}  // namespace

extern "C" Q_DECL_EXPORT const rumone::ChartsModuleEntry rumoneChartsModule = {
    rumone::kChartsEntryMark,
    rumone::kChartsAbiVersion + 1,
    sizeof(rumone::ChartsModuleEntry),
    {refuseChance, refuseExcess},
};
#endif
