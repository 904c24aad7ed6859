#include "analysis/AnalysisView.h"

// One include and one line per view.
// frequency and count analyses
// interval analyses
#include "analysis/interval/AppearanceInterval.h"
#include "analysis/interval/DigitInterval.h"
#include "analysis/interval/LastDigitStreak.h"
// sum, pattern and carry-over analyses
// group analyses

namespace rumone {

const std::vector<AnalysisViewSpec>& AnalysisViews()
{
    static const std::vector<AnalysisViewSpec> views = {
        // frequency and count analyses
        // interval analyses
        AppearanceIntervalView(),
        DigitIntervalView(),
        LastDigitStreakView(),
        // sum, pattern and carry-over analyses
        // group analyses
    };
    return views;
}

const AnalysisViewSpec* FindAnalysisView(std::string_view objectName)
{
    for (const AnalysisViewSpec& v : AnalysisViews())
        if (v.objectName == objectName)
            return &v;
    return nullptr;
}

}  // namespace rumone
