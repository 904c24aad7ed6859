// What buying the predictions would have cost and returned, target by
// target, with the sets the walk-forward scores (200 yen a ticket):
//   周期7/9/11/12  with all four positions filled, the row's digits in
//                  position order as a ストレート and a ボックス ticket (no
//                  box when all four are equal);
//   消去法 連発 一発 one ボックス ticket for every four distinct digits of
//                  the pool (none when it holds fewer than four).
// Prizes are the theoretical ones (TicketTypes.h); every ticket's expected
// prize is then 90 yen. At one target at most one ticket of a type wins,
// so a type's wins count one trial per target whose chance is how many of
// the numbers make one of its tickets win.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

#include "core/backtest/BandTargets.h"
#include "core/backtest/PredictorSets.h"
#include "core/backtest/TicketTypes.h"
#include "core/backtest/YearOfTickets.h"
#include "core/stats/CountChance.h"
#include "core/stats/UnitSums.h"

namespace rumone {

// One predictor's tickets of one type at one target.
struct TargetTickets {
    int count = 0;
    int chance = 0;  // the chance that one of them wins, over kChanceScale
    int wins = 0;    // 0 or 1
    long paid = 0;   // yen
};

// One predictor's purchase at one target: by type, and what it all may
// pay at that draw.
struct TargetPurchase {
    std::array<TargetTickets, kTicketTypeCount> byType{};
    std::vector<PrizeOutcome> prizes;
    std::array<std::vector<PrizeOutcome>, kTicketTypeCount> prizesByType;
};

// The types predictor `predictor` buys each of its numbers as.
std::span<const std::size_t> typesBoughtBy(int predictor);
// The tickets predictor `predictor` buys with `sets`.
std::vector<Ticket> ticketsBoughtWith(int predictor, const PositionSets& sets);
// Those tickets scored against `actual`.
TargetPurchase ticketsOf(int predictor, const PositionSets& sets, const FourDigits& actual);

// What chance alone gives the return (paid / cost).
struct ReturnFigures {
    double low = 0;  // the 95 % range
    double high = 0;
    double ahead = 0;  // P(paid >= cost)
};

struct TicketTally {
    long count = 0;
    long wins = 0;
    long long paid = 0;
    TrialCounts winTrials;
    UnitSums paidUnits;  // the prizes' exact distribution, in units of `unit` yen
    long unit = 1;

    void add(const TargetTickets& tickets);
    long long cost() const { return count * kTicketPrice; }
    CountFigures winFigures() const;
    // paid / cost; 0 without tickets.
    double returnShare() const;
    ReturnFigures returnFigures() const;
};
using TicketBoard = std::array<std::array<TicketTally, kTicketTypeCount>, kPredictorCount>;

// Accumulated net yen (prizes less cost) per predictor at each target,
// every type together, beside its chance expectation (-110 yen a ticket)
// and, at the band targets, its exact 95 % chance range.
struct YenTrack {
    std::vector<int> targets;
    std::array<std::vector<float>, kPredictorCount> net;
    std::array<std::vector<float>, kPredictorCount> expected;
    std::vector<std::size_t> bandAt;
    std::array<std::vector<float>, kPredictorCount> bandLow;
    std::array<std::vector<float>, kPredictorCount> bandHigh;
};

// The tickets of every predictor, target after target; the range of the
// prizes is carried along exactly, in whole numbers of the prize unit.
class TicketWalk {
public:
    TicketWalk();
    void add(int target, const PredictorSets& sets, const FourDigits& actual);
    const TicketBoard& board() const;
    // A year of each predictor's tickets at its mix over the targets added.
    std::array<YearFigures, kPredictorCount> years() const;
    // The track so far, with the range at its last target.
    YenTrack track() const;

private:
    // A predictor's tickets for one set of sets and what they may win,
    // whatever is drawn, in prize units.
    struct PricedPurchase {
        std::vector<NumberWin> wins;
        TargetPurchase purchase;  // no wins
        std::array<std::vector<UnitOutcome>, kTicketTypeCount> unitsByType;
        std::vector<UnitOutcome> units;
    };
    const PricedPurchase& pricedFor(std::size_t predictor, const PositionSets& sets);
    // Each predictor's net range after the targets added.
    void netRanges(std::array<float, kPredictorCount>& lows, std::array<float, kPredictorCount>& highs) const;

    long unit_;  // yen of one prize unit
    // A predictor that buys one type has that type's prizes in payout_:
    // its tally's distribution is copied from there when the board is read.
    mutable TicketBoard board_;
    mutable bool boardBehind_ = false;
    YenTrack track_;  // the bands are in grid_
    BandGrid grid_;
    std::array<UnitSums, kPredictorCount> payout_;  // the prizes so far, in units
    std::array<PrizeMix, kPredictorCount> mix_;
    std::array<long long, kPredictorCount> net_{};
    std::array<long long, kPredictorCount> bought_{};
    // By the predictor's sets, packed: a pool is bought again and again.
    std::array<std::unordered_map<std::uint64_t, PricedPurchase>, kPredictorCount> priced_;
};

}  // namespace rumone
