// A rule walked forward over the history: for every target draw t from the
// first with as many draws before it as the rule needs (Rule::drawsNeeded),
// the allowed digits come from the draws numbered below t only, the tickets
// are bought at 200 yen each and scored against t as the verification
// scores tickets: a target's chance q_t is the share of the 10,000 numbers
// on which one of its tickets wins, the wins are judged against the exact
// Poisson-binomial range of the q_t, and the prizes are the theoretical
// ones (every ticket's expected prize 90 yen, so the net yen expected is
// -110 yen a ticket), with the prizes the draws carry added apart.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/backtest/WalkForward.h"
#include "core/rules/RuleNumbers.h"
#include "core/stats/CountChance.h"
#include "core/store/DrawDetailsStore.h"

namespace rumone {

// The digits `rule` allows at each position for the draw after `before`
// (complete draws, ascending), with `methodSets` the sets the fixed
// methods offer for it (needed only when the rule has a method).
AllowedDigits allowedDigitsAfter(const Rule& rule, std::span<const Draw> before, const PositionSets* methodSets);

// What the fixed methods offer for the draw after the history's latest.
PredictorSets nextMethodSets(const DrawHistory& history, int reflect);

struct RuleWalkResult {
    int firstTarget = 0;  // 0: no target
    int targets = 0;
    long tickets = 0;
    long wins = 0;
    TrialCounts winTrials;  // one trial per target with tickets
    long long cost = 0;
    long long paid = 0;                        // theoretical prizes
    long long realPaid = 0;                    // the wins' prizes as their draws carry them
    int realWins = 0;                          // wins whose draw carries its prize
    std::pair<long long, long long> netRange;  // the exact 95 % range of paid - cost
    // Net yen (paid - cost) and its expectation after each target.
    std::vector<int> trackTargets;
    std::vector<float> trackNet;
    std::vector<float> trackExpected;
    // At some of the targets (indexes, ascending), the exact 95 % range of
    // the net yen so far.
    std::vector<std::size_t> bandAt;
    std::vector<float> bandLow;
    std::vector<float> bandHigh;

    CountFigures winFigures() const { return chanceFiguresOf(winTrials, wins); }
    long long net() const { return paid - cost; }
    double expectedNet() const;
};

// What the walk shows, in plain Japanese: the targets and where they
// start, tickets, wins beside their expectation and exact range (no verdict
// below kMinVerdictTargets targets), cost, prizes and the net yen beside
// -110 yen a ticket and its range, and the stored prizes apart.
std::string walkSummaryText(const RuleWalkResult& walk);
// "第7055回: 120枚 24,000円" for the next draw's tickets.
std::string nextDrawText(int draw, const RuleDraw& tickets);

// Walks `rule` over the targets in `range`; `details`, when given, prices
// the wins as their draws paid.
RuleWalkResult walkRule(const DrawHistory& history, const Rule& rule, TargetRange range = {},
                        const StoredDetails* details = nullptr);

}  // namespace rumone
