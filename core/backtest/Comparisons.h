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
// How often chance alone colours a verdict cell of the two tables: each
// cell with a verdict (hits and all-four hits per predictor, wins per
// ticket row) falls outside its range with its exact outside chance. A
// cycle row's straight wins are its all-four hits, one cell.
struct ColouredChance {
    int cells = 0;
    // 1 - the product of (1 - outside chance) over the cells: each cell
    // taken on its own.
    double any = 0;
};
ColouredChance colouredChance(const Scoreboard& board, const TicketBoard& tickets);
// "判定した21マスのどれかが偶然だけで色付きになる確率は、マスを互いに無関係とみなした概算で約58%です（…）。"
std::string colouredChanceText(const ColouredChance& chance);

// The verification view's line over its tables: the conclusion, then how
// often chance alone colours a cell.
std::string resultConclusionText(const BacktestResult& result);

// The prediction view's line under its grids: the comparisons of
// compareAll, read at `reflect`, so that clicking through the switches
// shows the verdicts the verification view gives, corrected over all 37.
std::string predictionCheckText(const ComparisonSummary& all, int reflect);

}  // namespace rumone
