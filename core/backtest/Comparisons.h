// The predictors against chance taken together. The cycle rows do not
// change with the reflect count, so each is one comparison; 消去法, 連発 and
// 一発 are one for every reflect count: 4 + 3 * 11 = 37 over the whole
// range. Holm's correction over their two-sided p decides whether any of
// them differs from chance.
#pragma once

#include <string>
#include <vector>

#include "core/backtest/Scoring.h"

namespace rumone {

struct Comparison {
    int predictor = 0;
    int reflect = -1;  // -1: the same for every reflect count
    int targets = 0;
    CountFigures figures;
    bool different = false;  // after the correction
    // The same sets as an earlier row at every target: the same comparison
    // again, left out of the counts below.
    bool repeats = false;
};

struct ComparisonSummary {
    std::vector<Comparison> comparisons;
    int targets = 0;
    int distinct = 0;            // comparisons that do not repeat an earlier one
    int outside = 0;             // of those, observed outside its range
    double expectedOutside = 0;  // what chance alone gives on average
    int different = 0;           // after the correction
};

// The 37 comparisons of every reflect count; with `same`, a row whose sets
// equalled an earlier row's at every target repeats it. The correction is
// taken over all 37 either way.
ComparisonSummary compareAll(const ReflectBoards& boards);
ComparisonSummary compareAll(const ReflectBoards& boards, const SameRows& same);
// The comparisons of `summary` that stand for reflect count `reflect`: the
// cycle rows and the pool rows of that count, each still judged by the
// correction over the whole summary.
ComparisonSummary comparisonsAt(const ComparisonSummary& summary, int reflect);

// The one line over all comparisons, e.g. "37通りの比較のうち偶然の範囲外は
// 1通り（偶然だけでも平均1.7通り）。偶然と区別できる予想手法はありません。"
std::string conclusionText(const ComparisonSummary& summary);
// The prediction view's line under its grids: the comparisons of
// compareAll, read at `reflect`, so that clicking through the switches
// shows the verdicts the verification view gives, corrected over all 37.
std::string predictionCheckText(const ComparisonSummary& all, int reflect);

}  // namespace rumone
