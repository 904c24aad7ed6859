#include "core/tickets/TicketCheck.h"

#include <algorithm>
#include <numeric>
#include <tuple>
#include <unordered_map>

#include "core/stats/GroupSums.h"
#include "core/store/DrawStore.h"

namespace rumone {

namespace {

TicketResult resultOf(PrizeKind kind)
{
    switch (kind) {
        case PrizeKind::Straight:
            return TicketResult::Straight;
        case PrizeKind::Box:
            return TicketResult::Box;
        case PrizeKind::SetStraight:
            return TicketResult::SetStraight;
        case PrizeKind::SetBox:
            break;
    }
    return TicketResult::SetBox;
}

// What one ticket × units may win at a draw by chance, in yen, with the
// chance of each amount.
struct ChanceOutcome {
    long long yen = 0;
    double chance = 0;
};

std::vector<ChanceOutcome> chanceOutcomesOf(const Ticket& ticket, int units)
{
    const TicketType& type = kTicketTypes[ticket.type];
    const int orderings = orderingsOf(ticket.digits);
    std::vector<ChanceOutcome> outcomes;
    outcomes.push_back({theoreticalPrize(type.exact, ticket.digits) * static_cast<long long>(units), 1.0 / kNumbers});
    if (!type.anyOrder || orderings < 2)
        return outcomes;
    const double others = double(orderings - 1) / kNumbers;
    if (*type.anyOrder == type.exact)
        outcomes.front().chance += others;  // a box wins on every ordering alike
    else
        outcomes.push_back({theoreticalPrize(*type.anyOrder, ticket.digits) * static_cast<long long>(units), others});
    return outcomes;
}

}  // namespace

PrizeKind prizeKindOf(TicketResult won)
{
    return static_cast<PrizeKind>(static_cast<int>(won) - static_cast<int>(TicketResult::Straight));
}

const char* ticketResultWord(TicketResult result)
{
    switch (result) {
        case TicketResult::Pending:
            return "pending";
        case TicketResult::None:
            return "none";
        case TicketResult::Straight:
            return "straight";
        case TicketResult::Box:
            return "box";
        case TicketResult::SetStraight:
            return "set-straight";
        case TicketResult::SetBox:
            break;
    }
    return "set-box";
}

const char* prizeSourceWord(PrizeSource source)
{
    switch (source) {
        case PrizeSource::None:
            return "-";
        case PrizeSource::Actual:
            return "actual";
        case PrizeSource::Theory:
            break;
    }
    return "theory";
}

TicketCheck checkTicket(const Ticket& ticket, int units, const std::optional<FourDigits>& drawn,
                        const DrawPrizes& stored)
{
    TicketCheck check;
    if (!drawn)
        return check;
    const auto kind = prizeKindWon(ticket, *drawn);
    if (!kind) {
        check.result = TicketResult::None;
        return check;
    }
    check.result = resultOf(*kind);
    const auto& line = stored[static_cast<std::size_t>(*kind)];
    check.source = line && !line->notApplicable ? PrizeSource::Actual : PrizeSource::Theory;
    check.prize = static_cast<long long>(paidPrize(*kind, *drawn, stored)) * units;
    return check;
}

std::map<int, FourDigits> drawnOf(const DrawHistory& history)
{
    std::map<int, FourDigits> drawn;
    for (const Draw& d : history.completeDraws())
        drawn[d.number] = d.digits;
    return drawn;
}

std::vector<TicketCheck> checkBook(const std::vector<Purchase>& book, const std::map<int, FourDigits>& drawn,
                                   const StoredDetails& details)
{
    std::vector<Purchase> ordered = book;
    std::stable_sort(ordered.begin(), ordered.end(), [](const Purchase& a, const Purchase& b) { return a.id < b.id; });
    static const DrawPrizes kNoPrizes{};
    std::vector<TicketCheck> checks;
    for (const Purchase& p : ordered)
        for (int draw = p.firstDraw; draw < p.firstDraw + p.draws; ++draw) {
            const auto d = drawn.find(draw);
            const auto s = details.find(draw);
            TicketCheck check =
                checkTicket(p.ticket, p.units, d == drawn.end() ? std::nullopt : std::optional<FourDigits>(d->second),
                            s == details.end() ? kNoPrizes : s->second.prizes);
            check.draw = draw;
            check.purchase = p;
            checks.push_back(check);
        }
    std::stable_sort(checks.begin(), checks.end(),
                     [](const TicketCheck& a, const TicketCheck& b) { return a.draw < b.draw; });
    return checks;
}

std::vector<TicketCheck> checkStoredBook(const DrawDatabaseRef& database)
{
    const std::vector<Purchase> book = readPurchases(database);
    return checkBook(book, drawnOf(loadDrawHistory(database)), readStoredDetails(database));
}

TicketAccount accountOf(const std::vector<TicketCheck>& checks)
{
    // Identical tickets (type, digit pattern and units alike) win alike: each
    // such group is added to the sum at once, as its number of copies. The
    // tickets are first told apart by type, number and units, each with the
    // group of its pattern.
    struct Group {
        std::vector<ChanceOutcome> outcomes;
        long copies = 0;
    };
    std::map<std::tuple<std::size_t, int, int>, Group> groups;
    std::unordered_map<long long, Group*> groupOf;
    TicketAccount account;
    long long unit = 0;
    for (const TicketCheck& c : checks) {
        if (!c.decided())
            continue;
        account.units += c.purchase.units;
        account.won += c.prize;
        const Ticket& ticket = c.purchase.ticket;
        const FourDigits& d = ticket.digits;
        const long long number = ((d[0] * 10 + d[1]) * 10 + d[2]) * 10 + d[3];
        Group*& group =
            groupOf[(static_cast<long long>(c.purchase.units) * kTicketTypeCount + ticket.type) * kNumbers + number];
        if (!group) {
            group = &groups[{ticket.type, orderingsOf(d), c.purchase.units}];
            if (group->outcomes.empty())
                group->outcomes = chanceOutcomesOf(ticket, c.purchase.units);
        }
        ++group->copies;
        for (const auto& [yen, chance] : group->outcomes) {
            unit = std::gcd(unit, yen);
            account.winExpected += double(yen) * chance;
        }
    }
    account.cost = account.units * kTicketPrice;
    account.net = account.won - account.cost;
    if (groups.empty() || unit == 0)
        return account;
    GroupSums sums;
    std::vector<UnitOutcome> outcomes;
    for (const auto& [key, group] : groups) {
        outcomes.clear();
        for (const auto& [yen, chance] : group.outcomes)
            outcomes.push_back({static_cast<int>(yen / unit), chance});
        sums.add(outcomes, group.copies);
    }
    const auto [low, high] = sums.range(0.05);
    account.winLow = low * unit;
    account.winHigh = high * unit;
    return account;
}

}  // namespace rumone
