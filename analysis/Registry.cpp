#include "analysis/AnalysisView.h"

// One include and one line per view.
// frequency and count analyses
#include "analysis/frequency/AppearanceByCount.h"
#include "analysis/frequency/AppearanceCount.h"
#include "analysis/frequency/AppearanceFrequency.h"
#include "analysis/frequency/Dispersion.h"
// interval analyses
#include "analysis/interval/AppearanceInterval.h"
#include "analysis/interval/DigitInterval.h"
#include "analysis/interval/LastDigitStreak.h"
// sum, pattern and carry-over analyses
#include "analysis/pattern/CarryOver.h"
#include "analysis/pattern/ConsecutiveStepping.h"
#include "analysis/pattern/DigitSum.h"
#include "analysis/pattern/LowHighPattern.h"
#include "analysis/pattern/OddEvenPattern.h"
// group analyses
#include "analysis/group/FiveGroupTrend.h"
#include "analysis/group/GroupDivision.h"

namespace rumone {

const std::vector<AnalysisViewSpec>& AnalysisViews()
{
    static const std::vector<AnalysisViewSpec> views = {
        // frequency and count analyses
        AppearanceFrequencyView(),
        AppearanceByCountView(),
        AppearanceCountView(),
        DispersionView(),
        // interval analyses
        AppearanceIntervalView(),
        DigitIntervalView(),
        LastDigitStreakView(),
        // sum, pattern and carry-over analyses
        CarryOverView(),
        ConsecutiveSteppingView(),
        DigitSumView(),
        LowHighPatternView(),
        OddEvenPatternView(),
        // group analyses
        GroupDivision3View(),
        GroupDivision5View(),
        GroupDivision10View(),
        FiveGroupTrendView(),
    };
    return views;
}

LegendItem LegendBall(std::string objectName, int left, int top, int width, int height, Rgb body, Rgb highlight,
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

LegendItem LegendSwatch(std::string objectName, int left, int top, int width, int height, Rgb colour)
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

LegendItem LegendLabel(std::string objectName, int left, int top, int width, int height, std::string text)
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

const AnalysisViewSpec* FindAnalysisView(std::string_view objectName)
{
    for (const AnalysisViewSpec& v : AnalysisViews())
        if (v.objectName == objectName)
            return &v;
    return nullptr;
}

}  // namespace rumone
