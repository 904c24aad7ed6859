#include "core/analysis/AnalysisView.h"

// One include and one line per view.
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

const std::vector<AnalysisViewSpec>& analysisViews()
{
    static const std::vector<AnalysisViewSpec> views = {
        // frequency and count analyses
        appearanceFrequencyView(),
        appearanceByCountView(),
        appearanceCountView(),
        dispersionView(),
        // interval analyses
        appearanceIntervalView(),
        digitIntervalView(),
        lastDigitStreakView(),
        // sum, pattern and carry-over analyses
        carryOverView(),
        consecutiveSteppingView(),
        digitSumView(),
        lowHighPatternView(),
        oddEvenPatternView(),
        // group analyses
        groupDivision3View(),
        groupDivision5View(),
        groupDivision10View(),
        fiveGroupTrendView(),
    };
    return views;
}

LegendItem legendBall(std::string objectName, int left, int top, int width, int height, Rgb body, Rgb highlight,
                      int ballPixels)
{
    LegendItem item;
    item.kind = LegendItem::Kind::Ball;
    item.objectName = std::move(objectName);
    item.left = left;
    item.top = top;
    item.width = width;
    item.height = height;
    item.body = body;
    item.highlight = highlight;
    item.ballPixels = ballPixels;
    return item;
}

LegendItem legendSwatch(std::string objectName, int left, int top, int width, int height, Rgb colour)
{
    LegendItem item;
    item.kind = LegendItem::Kind::Swatch;
    item.objectName = std::move(objectName);
    item.left = left;
    item.top = top;
    item.width = width;
    item.height = height;
    item.body = colour;
    return item;
}

LegendItem legendLabel(std::string objectName, int left, int top, int width, int height, std::string text)
{
    LegendItem item;
    item.kind = LegendItem::Kind::Label;
    item.objectName = std::move(objectName);
    item.left = left;
    item.top = top;
    item.width = width;
    item.height = height;
    item.text = std::move(text);
    return item;
}

const AnalysisViewSpec* findAnalysisView(std::string_view objectName)
{
    for (const AnalysisViewSpec& v : analysisViews())
        if (v.objectName == objectName)
            return &v;
    return nullptr;
}

}  // namespace rumone
