// Scoring the predictors' sets against the draws that came: hits per
// position, what chance alone would give, and the verdict that follows from
// the chance band, never from the hit rate alone.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "core/backtest/PredictorSets.h"
#include "core/backtest/WalkForward.h"

namespace rumone {

// Positions whose actual digit lies in that position's set (0-4).
int hitsOf(const PositionSets& sets, const std::array<int, 4>& actual);

// One predictor's figures over its targets. A position whose set holds s
// digits hits by chance with q = s/10.
struct Tally {
    int targets = 0;
    int hits = 0;
    double expected = 0;  // sum of q
    double variance = 0;  // sum of q(1-q)
    int allFourHits = 0;
    double allFourExpected = 0;  // sum over targets of the product of q

    void add(const PositionSets& sets, const std::array<int, 4>& actual);
    // expected -/+ 1.96 standard deviations.
    double low() const;
    double high() const;
    // Shares of the positions scored (4 per target); 0 without targets.
    double hitRate() const;
    double chanceRate() const;
};

enum class Verdict { NoTargets, Below, Within, Above };
Verdict verdictOf(const Tally& tally);
// "偶然の範囲内です" and its kin.
const char* verdictText(Verdict verdict);

using Scoreboard = std::array<Tally, kPredictorCount>;

// hits minus expected, accumulated, and the half width of the chance band
// at each target, per predictor: what the chart draws.
struct ExcessTrack {
    std::vector<int> targets;
    std::array<std::vector<float>, kPredictorCount> excess;
    std::array<std::vector<float>, kPredictorCount> halfBand;
};

struct BacktestResult {
    int reflect = 0;
    Scoreboard board;
    ExcessTrack track;
};

// The walk-forward with one reflect count, scored. nullopt when
// `keepGoing` stopped it.
std::optional<BacktestResult> runBacktest(const DrawHistory& history, int reflect, TargetRange range,
                                          const std::function<bool(int done, int total)>& keepGoing = {});

}  // namespace rumone
