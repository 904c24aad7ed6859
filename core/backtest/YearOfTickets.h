// What following a method for a year costs: its tickets over 260 draws of
// random results, bought as it bought them over the history (each draw's
// tickets those of a target of the history taken at random), with the
// year's prizes from the exact per-draw prize distribution.
#pragma once

#include <map>
#include <vector>

#include "core/backtest/TicketTypes.h"

namespace rumone {

inline constexpr int kDrawsAYear = 260;

struct YearFigures {
    long long spend = 0;  // yen, at the history's mean tickets a draw
    long long medianNet = 0;
    long long lowNet = 0;   // the 5th percentile
    long long highNet = 0;  // the 95th percentile
    double ahead = 0;       // P(prizes >= spend)
};

// The prizes of a target, mixed over every target of the history.
class PrizeMix {
public:
    void add(const std::vector<PrizeOutcome>& prizes, long tickets);
    // `draws` draws, the prizes counted in whole numbers of `unit` yen.
    YearFigures yearOf(int draws, long unit) const;

private:
    std::map<long, long long> numbersByYen_;  // over every target
    long long tickets_ = 0;
    long targets_ = 0;
};

}  // namespace rumone
