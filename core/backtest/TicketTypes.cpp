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

namespace {

struct Priced {
    int digits = 0;  // the number of its digits sorted: the multiset
    const Ticket* ticket = nullptr;
    long exact = 0;  // the prize on its own order
    long other = 0;  // on any other order of its digits
};

// The totals of the numbers won so far: on how many numbers each type wins
// and how many numbers pay each total.
struct WonNumbers {
    DrawOutcomes out;

    void add(long yen, unsigned types, int numbers)
    {
        if (numbers == 0 || types == 0)
            return;
        for (std::size_t type = 0; type < kTicketTypeCount; ++type)
            out.winningNumbers[type] += static_cast<int>((types >> type) & 1u) * numbers;
        const auto found =
            std::find_if(out.prizes.begin(), out.prizes.end(), [yen](const PrizeOutcome& p) { return p.yen == yen; });
        if (found != out.prizes.end())
            found->numbers += numbers;
        else
            out.prizes.push_back({yen, numbers});
    }
};

// One ticket alone on its digits: its own order and the others.
void addAlone(WonNumbers& won, const Priced& p)
{
    const unsigned type = 1u << p.ticket->type;
    won.add(p.exact, p.exact != 0 ? type : 0, 1);
    won.add(p.other, p.other != 0 ? type : 0, orderingsOf(numberKindOf(p.ticket->digits)) - 1);
}

// Tickets on the same digits: each order summed over them.
void addTogether(WonNumbers& won, std::span<const Priced> group)
{
    FourDigits drawn = sorted(group.front().ticket->digits);
    do {
        long yen = 0;
        unsigned types = 0;  // a bit per type that wins
        for (const Priced& p : group) {
            const long prize = drawn == p.ticket->digits ? p.exact : p.other;
            if (prize != 0) {
                yen += prize;
                types |= 1u << p.ticket->type;
            }
        }
        won.add(yen, types, 1);
    } while (std::next_permutation(drawn.begin(), drawn.end()));
}

}  // namespace

// Tickets of different digits (as a multiset) never win on the same
// number, so each multiset's orders are summed over its own tickets alone,
// and a ticket alone on its digits is counted without going through them.
DrawOutcomes drawOutcomesOf(std::span<const Ticket> tickets)
{
    std::vector<Priced> priced;
    priced.reserve(tickets.size());
    for (const Ticket& t : tickets) {
        const TicketType& type = kTicketTypes[t.type];
        priced.push_back({numberOf(sorted(t.digits)), &t, theoreticalPrize(type.exact, t.digits),
                          type.anyOrder ? theoreticalPrize(*type.anyOrder, t.digits) : 0});
    }
    std::sort(priced.begin(), priced.end(), [](const Priced& a, const Priced& b) { return a.digits < b.digits; });
    WonNumbers won;
    for (std::size_t first = 0; first < priced.size();) {
        std::size_t end = first + 1;
        while (end < priced.size() && priced[end].digits == priced[first].digits)
            ++end;
        if (end == first + 1)
            addAlone(won, priced[first]);
        else
            addTogether(won, std::span(priced).subspan(first, end - first));
        first = end;
    }
    std::sort(won.out.prizes.begin(), won.out.prizes.end(),
              [](const PrizeOutcome& a, const PrizeOutcome& b) { return a.yen > b.yen; });
    return won.out;
}

std::vector<NumberWin> winsByNumber(std::span<const Ticket> tickets)
{
    std::vector<NumberWin> wins;
    for (const Ticket& t : tickets) {
        FourDigits drawn = sorted(t.digits);
        do {
            if (const auto kind = prizeKindWon(t, drawn)) {
                NumberWin win{numberOf(drawn), 1u << t.type, {}};
                win.paid[t.type] = theoreticalPrize(*kind, drawn);
                wins.push_back(win);
            }
        } while (std::next_permutation(drawn.begin(), drawn.end()));
    }
    std::sort(wins.begin(), wins.end(), [](const NumberWin& a, const NumberWin& b) { return a.number < b.number; });
    std::vector<NumberWin> merged;
    for (const NumberWin& win : wins) {
        if (merged.empty() || merged.back().number != win.number) {
            merged.push_back(win);
            continue;
        }
        merged.back().types |= win.types;
        for (std::size_t type = 0; type < kTicketTypeCount; ++type)
            merged.back().paid[type] += win.paid[type];
    }
    return merged;
}

const NumberWin* winOn(const std::vector<NumberWin>& wins, const FourDigits& drawn)
{
    const int number = numberOf(drawn);
    const auto found =
        std::lower_bound(wins.begin(), wins.end(), number, [](const NumberWin& win, int n) { return win.number < n; });
    return found != wins.end() && found->number == number ? &*found : nullptr;
}

}  // namespace rumone
