#include "core/backtest/TicketTypes.h"

#include <algorithm>
#include <map>
#include <numeric>

#include "core/prizes/PrizeTheory.h"

namespace rumone {

namespace {

FourDigits sorted(FourDigits digits)
{
    std::sort(digits.begin(), digits.end());
    return digits;
}

int numberOf(const FourDigits& d)
{
    return ((d[0] * 10 + d[1]) * 10 + d[2]) * 10 + d[3];
}

}  // namespace

int orderingsOf(FourDigits digits)
{
    return orderingsOf(numberKindOf(digits));
}

bool isSold(const Ticket& ticket)
{
    return kTicketTypes[ticket.type].soldForFourAlike || orderingsOf(ticket.digits) > 1;
}

std::optional<PrizeKind> prizeKindWon(const Ticket& ticket, const FourDigits& drawn)
{
    const TicketType& type = kTicketTypes[ticket.type];
    if (ticket.digits == drawn)
        return type.exact;
    if (sorted(ticket.digits) == sorted(drawn))
        return type.anyOrder;
    return std::nullopt;
}

// The prize rule is PrizeTheory's; a box or set of four equal digits,
// never sold, counts as a straight here so that prizeUnitOf can take every
// pattern alike.
long theoreticalPrize(PrizeKind kind, const FourDigits& number)
{
    return static_cast<long>(theoreticalPrize(kind, numberKindOf(number)).value_or(kTheoreticalStraightPrize));
}

long paidPrize(PrizeKind kind, const FourDigits& drawn, const DrawPrizes& stored)
{
    const auto& line = stored[static_cast<std::size_t>(kind)];
    if (line && !line->notApplicable)
        return static_cast<long>(line->yenPerUnit);
    return theoreticalPrize(kind, drawn);
}

long prizeUnitOf(std::span<const std::size_t> types)
{
    constexpr std::array<FourDigits, 5> kEachPattern = {
        FourDigits{0, 1, 2, 3}, {0, 0, 1, 2}, {0, 0, 1, 1}, {0, 0, 0, 1}, {0, 0, 0, 0}};
    long unit = 0;
    for (const std::size_t type : types)
        for (const FourDigits& number : kEachPattern) {
            unit = std::gcd(unit, theoreticalPrize(kTicketTypes[type].exact, number));
            if (const auto& any = kTicketTypes[type].anyOrder)
                unit = std::gcd(unit, theoreticalPrize(*any, number));
        }
    return unit;
}

// Every ordering of every ticket's digits, with what the ticket wins on
// it, summed per number.
DrawOutcomes drawOutcomesOf(std::span<const Ticket> tickets)
{
    struct Number {
        long yen = 0;
        unsigned types = 0;  // a bit per type that wins
    };
    std::vector<Number> byNumber(static_cast<std::size_t>(kNumbers));
    std::vector<std::size_t> won;
    for (const Ticket& t : tickets) {
        const TicketType& type = kTicketTypes[t.type];
        const long exact = theoreticalPrize(type.exact, t.digits);
        const long other = type.anyOrder ? theoreticalPrize(*type.anyOrder, t.digits) : 0;
        FourDigits drawn = sorted(t.digits);
        do {
            const long yen = drawn == t.digits ? exact : other;
            Number& n = byNumber[static_cast<std::size_t>(numberOf(drawn))];
            if (yen == 0)
                continue;
            if (n.types == 0)
                won.push_back(static_cast<std::size_t>(numberOf(drawn)));
            n.yen += yen;
            n.types |= 1u << t.type;
        } while (std::next_permutation(drawn.begin(), drawn.end()));
    }
    DrawOutcomes out;
    std::map<long, int, std::greater<>> prizes;
    for (const std::size_t number : won) {
        for (std::size_t type = 0; type < kTicketTypeCount; ++type)
            out.winningNumbers[type] += (byNumber[number].types >> type) & 1u;
        ++prizes[byNumber[number].yen];
    }
    for (const auto& [yen, numbers] : prizes)
        out.prizes.push_back({yen, numbers});
    return out;
}

}  // namespace rumone
