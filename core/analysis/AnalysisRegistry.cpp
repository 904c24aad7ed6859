#include "core/analysis/AnalysisView.h"

#include "core/analysis/chance/ChanceLaws.h"

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

namespace {

const AnalysisSubmenu kTopLevel{};
const AnalysisSubmenu kFrequency{"mnuHindo", "頻度分析"};
const AnalysisSubmenu kInterval{"mnuKankaku", "間隔分析"};
const AnalysisSubmenu kPattern{"mnuPattern", "組合せパターン分析"};
const AnalysisSubmenu kDivision{"mnuBunkatsuData", "分割データ分析"};

AnalysisViewSpec placed(AnalysisViewSpec spec, const AnalysisSubmenu& submenu, std::string menuCaption,
                        ChanceFigures (*chance)(std::span<const Draw>))
{
    spec.submenu = submenu;
    spec.chance = chance;
    spec.menuCaption = std::move(menuCaption);
    return spec;
}

}  // namespace

// One line per view, in menu order: the view, its submenu, the caption of
// its command and its figures beside chance.
const std::vector<AnalysisViewSpec>& analysisViews()
{
    static const std::vector<AnalysisViewSpec> views = {
        placed(appearanceFrequencyView(), kFrequency, "出現頻度分析", digitFrequencyChance),
        placed(appearanceByCountView(), kFrequency, "回数別出現分析", digitsByCountChance),
        placed(appearanceIntervalView(), kInterval, "出現間隔分析", appearanceIntervalChance),
        placed(digitIntervalView(), kInterval, "数字間隔分析", digitStepChance),
        placed(lastDigitStreakView(), kInterval, "下一桁連続出現回数分析", lastDigitRunChance),
        placed(appearanceCountView(), kTopLevel, "出現回数分析", earlierCountRankChance),
        placed(dispersionView(), kTopLevel, "バラツキ分析", dispersionChance),
        placed(carryOverView(), kTopLevel, "引っ張り分析", carryOverChance),
        placed(consecutiveSteppingView(), kTopLevel, "連番・飛び石分析", consecutiveSteppingChance),
        placed(digitSumView(), kTopLevel, "数字合計分析", digitSumChance),
        placed(lowHighPatternView(), kPattern, "低数字・高数字の組合せパターン分析", lowHighChance),
        placed(oddEvenPatternView(), kPattern, "偶数・奇数の組合せパターン分析", oddEvenChance),
        placed(fiveGroupTrendView(), kTopLevel, "5分割傾向分析", fiveGroupTrendChance),
        placed(groupDivision3View(), kDivision, "3分割データ分析", groupDivision3Chance),
        placed(groupDivision5View(), kDivision, "5分割データ分析", groupDivision5Chance),
        placed(groupDivision10View(), kDivision, "10分割データ分析", groupDivision10Chance),
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
