#include "core/backtest/Tickets.h"

#include <algorithm>
#include <bit>
#include <iterator>

#include "core/backtest/BandTargets.h"
#include "core/predict/Prediction.h"

namespace rumone {

namespace {

constexpr std::array<std::size_t, 2> kCycleTypes = {kStraightTicket, kBoxTicket};
constexpr std::array<std::size_t, 1> kPoolTypes = {kBoxTicket};

// The row's digits when all four positions hold one.
std::vector<FourDigits> cycleNumbers(const PositionSets& sets)
{
    FourDigits row{};
    for (std::size_t p = 0; p < 4; ++p) {
        if (setSize(sets[p]) != 1)
            return {};
        row[p] = std::countr_zero(static_cast<unsigned>(sets[p]));
    }
    return {row};
}

// Every four distinct digits of the pool.
std::vector<FourDigits> poolNumbers(DigitSet pool)
{
    std::vector<int> digits;
    for (int d = 0; d < 10; ++d)
        if (pool & digitBit(d))
            digits.push_back(d);
    std::vector<FourDigits> out;
    const std::size_t n = digits.size();
    for (std::size_t a = 0; a < n; ++a)
        for (std::size_t b = a + 1; b < n; ++b)
            for (std::size_t c = b + 1; c < n; ++c)
                for (std::size_t d = c + 1; d < n; ++d)
                    out.push_back({digits[a], digits[b], digits[c], digits[d]});
    return out;
}

std::vector<UnitOutcome> unitsOf(const std::vector<PrizeOutcome>& prizes, long unit)
{
    std::vector<UnitOutcome> out;
    for (const auto& [yen, numbers] : prizes)
        out.push_back({static_cast<int>(yen / unit), double(numbers) / kNumbers});
    return out;
}

}  // namespace

std::span<const std::size_t> typesBoughtBy(int predictor)
{
    if (predictor < kCycleMethodCount)
        return kCycleTypes;
    return kPoolTypes;
}

std::vector<Ticket> ticketsBoughtWith(int predictor, const PositionSets& sets)
{
    const std::vector<FourDigits> numbers = predictor < kCycleMethodCount ? cycleNumbers(sets) : poolNumbers(sets[0]);
    std::vector<Ticket> tickets;
    for (const std::size_t type : typesBoughtBy(predictor))
        for (const FourDigits& number : numbers)
            if (const Ticket t{type, number}; isSold(t))
                tickets.push_back(t);
    return tickets;
}

namespace {

// What `tickets` may win, whatever is drawn: wins and paid left 0.
TargetPurchase purchaseOf(const std::vector<Ticket>& tickets)
{
    TargetPurchase out;
    const DrawOutcomes outcomes = drawOutcomesOf(tickets);
    out.prizes = outcomes.prizes;
    for (std::size_t type = 0; type < kTicketTypeCount; ++type) {
        std::vector<Ticket> ofType;
        std::copy_if(tickets.begin(), tickets.end(), std::back_inserter(ofType),
                     [type](const Ticket& t) { return t.type == type; });
        if (ofType.size() == tickets.size())
            out.prizesByType[type] = outcomes.prizes;
        else if (!ofType.empty())
            out.prizesByType[type] = drawOutcomesOf(ofType).prizes;
    }
    for (const Ticket& t : tickets) {
        TargetTickets& type = out.byType[t.type];
        ++type.count;
        type.chance = outcomes.winningNumbers[t.type] * kChanceScale / kNumbers;
    }
    return out;
}

// What `tickets` won on `actual`, into `byType`.
void addWins(std::array<TargetTickets, kTicketTypeCount>& byType, const std::vector<Ticket>& tickets,
             const FourDigits& actual)
{
    for (const Ticket& t : tickets)
        if (const auto kind = prizeKindWon(t, actual)) {
            byType[t.type].wins = 1;
            byType[t.type].paid += theoreticalPrize(*kind, actual);
        }
}

bool validDigits(const FourDigits& digits)
{
    return std::all_of(digits.begin(), digits.end(), [](int d) { return d >= 0 && d <= 9; });
}

}  // namespace

TargetPurchase ticketsOf(int predictor, const PositionSets& sets, const FourDigits& actual)
{
    if (!validDigits(actual))
        return {};
    const std::vector<Ticket> tickets = ticketsBoughtWith(predictor, sets);
    TargetPurchase out = purchaseOf(tickets);
    addWins(out.byType, tickets, actual);
    return out;
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

ReturnFigures TicketTally::returnFigures() const
{
    if (count == 0)
        return {};
    const auto [low, high] = paidUnits.range();
    const double yen = double(unit);
    return {double(low) * yen / double(cost()), double(high) * yen / double(cost()),
            paidUnits.atLeast((cost() + unit - 1) / unit)};
}

namespace {

long walkPrizeUnit()
{
    std::vector<std::size_t> types;
    for (int i = 0; i < kPredictorCount; ++i)
        for (const std::size_t type : typesBoughtBy(i))
            types.push_back(type);
    return prizeUnitOf(types);
}

}  // namespace

TicketWalk::TicketWalk() : unit_(walkPrizeUnit()) {}

const TicketWalk::PricedPurchase& TicketWalk::pricedFor(std::size_t predictor, const PositionSets& sets)
{
    std::uint64_t key = 0;
    for (const DigitSet set : sets)
        key = key << 16 | set;
    auto& kept = priced_[predictor];
    const auto found = kept.find(key);
    if (found != kept.end())
        return found->second;
    PricedPurchase priced;
    const std::vector<Ticket> tickets = ticketsBoughtWith(static_cast<int>(predictor), sets);
    priced.wins = winsByNumber(tickets);
    priced.purchase = purchaseOf(tickets);
    for (std::size_t type = 0; type < kTicketTypeCount; ++type)
        priced.unitsByType[type] = unitsOf(priced.purchase.prizesByType[type], unit_);
    priced.units = unitsOf(priced.purchase.prizes, unit_);
    return kept.emplace(key, std::move(priced)).first->second;
}

void TicketWalk::add(int target, const PredictorSets& sets, const FourDigits& actual)
{
    const std::size_t index = track_.targets.size();
    track_.targets.push_back(target);
    const bool valid = validDigits(actual);
    static const PricedPurchase nothing;
    for (std::size_t i = 0; i < kPredictorCount; ++i) {
        // The same sets buy the same tickets: what they may win is counted once.
        const PricedPurchase& priced = valid ? pricedFor(i, sets.sets[i]) : nothing;
        std::array<TargetTickets, kTicketTypeCount> byType = priced.purchase.byType;
        if (const NumberWin* win = winOn(priced.wins, actual))
            for (std::size_t type = 0; type < kTicketTypeCount; ++type)
                if ((win->types >> type) & 1u) {
                    byType[type].wins = 1;
                    byType[type].paid += win->paid[type];
                }
        for (std::size_t type = 0; type < kTicketTypeCount; ++type) {
            TicketTally& tally = board_[i][type];
            tally.add(byType[type]);
            tally.unit = unit_;
            if (typesBoughtBy(static_cast<int>(i)).size() > 1)
                tally.paidUnits.add(priced.unitsByType[type]);
            bought_[i] += byType[type].count;
            net_[i] += byType[type].paid - byType[type].count * kTicketPrice;
        }
        payout_[i].add(priced.units);
        long count = 0;
        for (const TargetTickets& t : byType)
            count += t.count;
        mix_[i].add(priced.purchase.prizes, count);
        const double cost = double(bought_[i] * kTicketPrice);
        track_.net[i].push_back(static_cast<float>(net_[i]));
        track_.expected[i].push_back(static_cast<float>(cost * (kPayoutShare - 1)));
    }
    boardBehind_ = true;
    if (grid_.due(index)) {
        std::array<float, kPredictorCount> lows{}, highs{};
        netRanges(lows, highs);
        grid_.add(index, lows, highs);
    }
}

const TicketBoard& TicketWalk::board() const
{
    if (boardBehind_) {
        for (std::size_t i = 0; i < kPredictorCount; ++i)
            if (const auto types = typesBoughtBy(static_cast<int>(i)); types.size() == 1)
                board_[i][types.front()].paidUnits = payout_[i];
        boardBehind_ = false;
    }
    return board_;
}

void TicketWalk::netRanges(std::array<float, kPredictorCount>& lows, std::array<float, kPredictorCount>& highs) const
{
    for (std::size_t i = 0; i < kPredictorCount; ++i) {
        const double cost = double(bought_[i] * kTicketPrice);
        const auto [low, high] = payout_[i].range();
        lows[i] = static_cast<float>(double(low * unit_) - cost);
        highs[i] = static_cast<float>(double(high * unit_) - cost);
    }
}

YenTrack TicketWalk::track() const
{
    YenTrack out = track_;
    if (!out.targets.empty())
        grid_.readInto(out, out.targets.size() - 1, [this](auto& lows, auto& highs) { netRanges(lows, highs); });
    return out;
}

std::array<YearFigures, kPredictorCount> TicketWalk::years() const
{
    std::array<YearFigures, kPredictorCount> out;
    for (std::size_t i = 0; i < kPredictorCount; ++i)
        out[i] = mix_[i].yearOf(kDrawsAYear, unit_);
    return out;
}

}  // namespace rumone
