#include "core/analysis/AnalysisView.h"

// One include and one entry of the list per view.
// frequency and count analyses
#include "core/analysis/frequency/AppearanceByCount.h"
#include "core/analysis/frequency/AppearanceCount.h"
#include "core/analysis/frequency/AppearanceFrequency.h"
#include "core/analysis/frequency/Dispersion.h"
// interval analyses
#include "core/analysis/interval/AppearanceInterval.h"
#include "core/analysis/interval/DigitInterval.h"
#include "core/analysis/interval/LastDigitStreak.h"
// sum, pattern and carry-over analyses
#include "core/analysis/pattern/CarryOver.h"
#include "core/analysis/pattern/ConsecutiveStepping.h"
#include "core/analysis/pattern/DigitSum.h"
#include "core/analysis/pattern/LowHighPattern.h"
#include "core/analysis/pattern/OddEvenPattern.h"
// group analyses
#include "core/analysis/group/FiveGroupTrend.h"
#include "core/analysis/group/GroupDivision.h"

namespace rumone {

// Every view, in menu order; each says where its command stands.
const std::vector<AnalysisViewSpec>& analysisViews()
{
    static const std::vector<AnalysisViewSpec> views = {
        appearanceFrequencyView(), appearanceByCountView(), appearanceIntervalView(), digitIntervalView(),
        lastDigitStreakView(),     appearanceCountView(),   dispersionView(),         carryOverView(),
        consecutiveSteppingView(), digitSumView(),          lowHighPatternView(),     oddEvenPatternView(),
        fiveGroupTrendView(),      groupDivision3View(),    groupDivision5View(),     groupDivision10View(),
    };
    return views;
}

const AnalysisViewSpec* findAnalysisView(std::string_view objectName)
{
    for (const AnalysisViewSpec& v : analysisViews())
        if (v.objectName == objectName)
            return &v;
    return nullptr;
}

}  // namespace rumone
