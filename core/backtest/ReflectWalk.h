// The walks a verification is made of, each able to go on later over the
// targets a longer history adds: the walk of the reflect count shown (its
// scores, its chart's track with the chance ranges, its tickets), and the
// walk of every reflect count that the comparisons read.
#pragma once

#include <array>
#include <vector>

#include "core/backtest/BandTargets.h"
#include "core/backtest/Scoring.h"
#include "core/backtest/WalkCursor.h"

namespace rumone {

class ReflectWalk {
public:
    ReflectWalk(int reflect, int from);
    int reflect() const { return reflect_; }
    const WalkCursor& cursor() const { return cursor_; }
    // The hits of the targets not yet walked; their tickets wait for
    // walkTickets.
    bool walkOn(const DrawHistory& history, TargetRange range, WalkProgress& progress);
    // The tickets of the targets walked since; false when `progress`
    // stopped it (those left wait for the next call).
    bool walkTickets(WalkProgress& progress);
    // The reflect count, board and track of the targets walked.
    BacktestResult hitsResult() const;
    // Adds the tickets, their track and years of the targets walked.
    void addTicketsTo(BacktestResult& result) const;

private:
    // A target walked whose tickets are not yet added.
    struct TicketsDue {
        int target = 0;
        PredictorSets sets;
        FourDigits digits{};
    };

    void addTarget(const Draw& draw, const MethodState& state);
    // Predictor i's hits' distribution after the targets walked.
    CountDistribution hitsNow(std::size_t i) const;
    // Its range less the hits' expectation.
    void noteRange(std::size_t i, const CountDistribution& hits, std::array<float, kPredictorCount>& lows,
                   std::array<float, kPredictorCount>& highs) const;

    int reflect_;
    WalkCursor cursor_;
    Scoreboard board_;
    ExcessTrack track_;  // the bands are in grid_
    BandGrid grid_;
    // The hits' distribution at the latest grid point, and the trials
    // since: the next point convolves only those.
    std::array<CountDistribution, kPredictorCount> atGrid_;
    std::array<TrialCounts, kPredictorCount> sinceGrid_;
    TicketWalk tickets_;
    std::vector<TicketsDue> ticketsDue_;
};

class EveryReflectWalk {
public:
    explicit EveryReflectWalk(int from) : cursor_(from) {}
    const WalkCursor& cursor() const { return cursor_; }
    bool walkOn(const DrawHistory& history, TargetRange range, WalkProgress& progress);
    const ReflectBoards& boards() const { return boards_; }
    const SameRows& sameRows() const { return same_; }

private:
    WalkCursor cursor_;
    ReflectBoards boards_;
    SameRows same_;
};

}  // namespace rumone
