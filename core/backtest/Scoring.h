// Scoring the predictors' sets against the draws that came: hits per
// position, what chance alone would give, and the verdict that follows from
// the exact chance range, never from the hit rate alone.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/backtest/PredictorSets.h"
#include "core/backtest/SameRows.h"
#include "core/backtest/Tickets.h"
#include "core/backtest/WalkForward.h"
#include "core/predict/PredictionOptions.h"
#include "core/stats/CountChance.h"

namespace rumone {

// Positions whose actual digit lies in that position's set (0-4).
int hitsOf(const PositionSets& sets, const std::array<int, 4>& actual);

// One predictor's figures over its targets. A position whose set holds s
// digits hits by chance with q = s/10; all four positions together with the
// product of the four q.
struct Tally {
    int targets = 0;
    int hits = 0;
    double expected = 0;  // sum of q
    int allFourHits = 0;
    double allFourExpected = 0;  // sum over targets of the product of q
    TrialCounts hitTrials;       // one trial per target and position
    TrialCounts allFourTrials;   // one trial per target

    void add(const PositionSets& sets, const std::array<int, 4>& actual);
    CountFigures hitFigures() const;
    CountFigures allFourFigures() const;
    // Shares of the positions scored (4 per target); 0 without targets.
    double hitRate() const;
    double chanceRate() const;
};

// Below this many targets no verdict is given.
inline constexpr int kMinVerdictTargets = 30;

enum class Verdict { NoTargets, TooFew, Below, Within, Above };
Verdict verdictOf(int targets, const CountFigures& figures);
// "偶然の範囲内です" and its kin; TooFew names the count of targets.
std::string verdictText(Verdict verdict, int targets);

using Scoreboard = std::array<Tally, kPredictorCount>;

using ReflectBoards = std::array<Scoreboard, kReflectCounts>;

// hits minus expected, accumulated at each target, per predictor, and at
// some of the targets (bandAt) the exact chance range of the hits so far
// less their expectation: what the chart draws. The range holds at each of
// those targets on its own, not along the whole line.
struct ExcessTrack {
    std::vector<int> targets;
    std::array<std::vector<float>, kPredictorCount> excess;
    std::vector<std::size_t> bandAt;  // indexes into targets, ascending
    std::array<std::vector<float>, kPredictorCount> bandLow;
    std::array<std::vector<float>, kPredictorCount> bandHigh;
};

struct BacktestResult {
    int reflect = 0;
    Scoreboard board;      // the reflect count asked for
    ReflectBoards boards;  // every reflect count, for the comparisons
    SameRows sameRows;     // which of their rows are one comparison
    ExcessTrack track;
    TicketBoard tickets;  // the reflect count asked for
    YenTrack yen;
    std::array<YearFigures, kPredictorCount> years;  // of those tickets
};

// The walk-forward, scored for every reflect count; the board, track and
// tickets are those of `reflect`. nullopt when `keepGoing` stopped it.
std::optional<BacktestResult> runBacktest(const DrawHistory& history, int reflect, TargetRange range,
                                          const std::function<bool(int done, int total)>& keepGoing = {});

}  // namespace rumone
