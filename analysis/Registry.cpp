#include "analysis/AnalysisView.h"

// One include and one line per view.
// frequency and count analyses
// interval analyses
// sum, pattern and carry-over analyses
// group analyses
#include "analysis/group/FiveGroupTrend.h"
#include "analysis/group/GroupDivision.h"

namespace rumone {

const std::vector<AnalysisViewSpec>& AnalysisViews()
{
    static const std::vector<AnalysisViewSpec> views = {
        // frequency and count analyses
        // interval analyses
        // sum, pattern and carry-over analyses
        // group analyses
        GroupDivision3View(),
        GroupDivision5View(),
        GroupDivision10View(),
        FiveGroupTrendView(),
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
