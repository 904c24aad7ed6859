#include "core/backtest/Tickets.h"

#include <algorithm>
#include <bit>

#include "core/backtest/BandTargets.h"
#include "core/predict/Prediction.h"

namespace rumone {

namespace {

constexpr int kStraightUnits = static_cast<int>(kStraightPrize / kPrizeUnit);  // 24

// The distinct orderings of four digits: 24, 12, 6, 4 or 1.
int orderingsOf(std::array<int, 4> digits)
{
    std::sort(digits.begin(), digits.end());
    int orderings = 24;
    for (std::size_t i = 0; i < 4;) {
        std::size_t j = i;
        while (j < 4 && digits[j] == digits[i])
            ++j;
        for (std::size_t k = 2; k <= j - i; ++k)
            orderings /= static_cast<int>(k);
        i = j;
    }
    return orderings;
}

bool sameDigits(std::array<int, 4> a, std::array<int, 4> b)
{
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return a == b;
}

int fourOf(int n)
{
    return n < 4 ? 0 : n * (n - 1) * (n - 2) * (n - 3) / 24;
}

TargetTicketPair cycleTickets(const PositionSets& sets, const std::array<int, 4>& actual)
{
    TargetTicketPair out;
    std::array<int, 4> row{};
    for (std::size_t p = 0; p < 4; ++p) {
        if (setSize(sets[p]) != 1)
            return out;  // not all four positions filled
        row[p] = std::countr_zero(static_cast<unsigned>(sets[p]));
    }
    TargetTickets& straight = out[static_cast<std::size_t>(TicketType::Straight)];
    straight.count = 1;
    straight.chance = 1;
    straight.wins = row == actual ? 1 : 0;
    straight.paid = straight.wins * kStraightPrize;
    const int orderings = orderingsOf(row);
    if (orderings > 1) {
        TargetTickets& box = out[static_cast<std::size_t>(TicketType::Box)];
        box.count = 1;
        box.chance = orderings;
        box.wins = sameDigits(row, actual) ? 1 : 0;
        box.paid = box.wins * (kStraightPrize / orderings);
    }
    return out;
}

TargetTicketPair poolTickets(DigitSet pool, const std::array<int, 4>& actual)
{
    TargetTicketPair out;
    TargetTickets& box = out[static_cast<std::size_t>(TicketType::Box)];
    box.count = fourOf(setSize(pool));
    if (box.count == 0)
        return out;
    box.chance = 24 * box.count;
    DigitSet drawn = 0;
    for (const int d : actual)
        drawn |= digitBit(d);
    box.wins = setSize(drawn) == 4 && (drawn & pool) == drawn ? 1 : 0;
    box.paid = box.wins * kPrizeUnit;
    return out;
}

// The prize outcomes of one target in prize units, with their chances:
// at most two besides nothing.
std::array<UnitOutcome, 2> outcomesOf(const TargetTicketPair& t)
{
    const TargetTickets& straight = t[static_cast<std::size_t>(TicketType::Straight)];
    const TargetTickets& box = t[static_cast<std::size_t>(TicketType::Box)];
    std::array<UnitOutcome, 2> out{};
    if (straight.count == 0) {
        if (box.count > 0)
            out[0] = {1, double(box.chance) / kChanceScale};  // pools: boxes of four distinct digits
        return out;
    }
    const double one = 1.0 / kChanceScale;
    if (box.count == 0) {
        out[0] = {kStraightUnits, one};
        return out;
    }
    const int boxUnits = kStraightUnits / box.chance;
    out[0] = {kStraightUnits + boxUnits, one};          // the very number: both win
    out[1] = {boxUnits, double(box.chance - 1) * one};  // another ordering: the box only
    return out;
}

}  // namespace

const char* ticketTypeName(TicketType type)
{
    return type == TicketType::Straight ? "ストレート" : "ボックス";
}

TargetTicketPair ticketsOf(int predictor, const PositionSets& sets, const std::array<int, 4>& actual)
{
    for (const int d : actual)
        if (d < 0 || d > 9)
            return {};
    return predictor < kCycleMethodCount ? cycleTickets(sets, actual) : poolTickets(sets[0], actual);
}

void TicketTally::add(const TargetTickets& tickets)
{
    if (tickets.count == 0)
        return;
    count += tickets.count;
    wins += tickets.wins;
    paid += tickets.paid;
    winTrials.add(tickets.chance);
}

CountFigures TicketTally::winFigures() const
{
    return chanceFiguresOf(winTrials, wins);
}

double TicketTally::returnShare() const
{
    return count > 0 ? double(paid) / double(cost()) : 0;
}

TicketWalk::TicketWalk(std::size_t targets) : bandAt_(evenlySpread(targets, kBandPoints)) {}

void TicketWalk::add(int target, const PredictorSets& sets, const std::array<int, 4>& actual)
{
    const bool band = next_ < bandAt_.size() && bandAt_[next_] == added_;
    track_.targets.push_back(target);
    if (band)
        track_.bandAt.push_back(added_);
    for (std::size_t i = 0; i < kPredictorCount; ++i) {
        const TargetTicketPair tickets = ticketsOf(static_cast<int>(i), sets.sets[i], actual);
        for (std::size_t type = 0; type < kTicketTypeCount; ++type) {
            board_[i][type].add(tickets[type]);
            bought_[i] += tickets[type].count;
            net_[i] += tickets[type].paid - tickets[type].count * kTicketPrice;
        }
        payout_[i].add(outcomesOf(tickets));
        const double cost = double(bought_[i] * kTicketPrice);
        track_.net[i].push_back(static_cast<float>(net_[i]));
        track_.expected[i].push_back(static_cast<float>(cost * (kPayoutShare - 1)));
        if (band) {
            const auto [low, high] = payout_[i].range();
            track_.bandLow[i].push_back(static_cast<float>(double(low * kPrizeUnit) - cost));
            track_.bandHigh[i].push_back(static_cast<float>(double(high * kPrizeUnit) - cost));
        }
    }
    if (band)
        ++next_;
    ++added_;
}

}  // namespace rumone
