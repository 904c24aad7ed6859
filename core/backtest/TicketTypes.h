// The ticket types of the four-digit game, one row each: its name, the
// prize it wins when its number is drawn as written and when drawn in
// another order, and whether it is sold for a number of four equal digits.
// A draw's prize outcomes for any list of tickets follow from the rows and
// the prize rule.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <vector>

#include "core/history/DrawResults.h"
#include "core/prizes/PrizeTheory.h"

namespace rumone {

using FourDigits = std::array<int, 4>;

struct TicketType {
    const char* name;
    PrizeKind exact;                    // won when drawn as written
    std::optional<PrizeKind> anyOrder;  // won when drawn in another order
    bool soldForFourAlike;
};

inline constexpr std::array kTicketTypes = {
    TicketType{"ストレート", PrizeKind::Straight, std::nullopt, true},
    TicketType{"ボックス", PrizeKind::Box, PrizeKind::Box, false},
    TicketType{"セット", PrizeKind::SetStraight, PrizeKind::SetBox, false},
};
inline constexpr std::size_t kTicketTypeCount = kTicketTypes.size();
// Rows of kTicketTypes.
inline constexpr std::size_t kStraightTicket = 0;
inline constexpr std::size_t kBoxTicket = 1;

inline constexpr long kTicketPrice = 200;
inline constexpr long kStraightPrize = kTheoreticalStraightPrize;
// The share of the ticket price paid back on average.
inline constexpr double kPayoutShare = 0.45;
// How many numbers a draw may come out as; chances of a draw are counts
// of them.
inline constexpr int kNumbers = 10000;

struct Ticket {
    std::size_t type = kStraightTicket;
    FourDigits digits{};
};

// The distinct orderings of four digits: 24, 12, 6, 4 or 1.
int orderingsOf(FourDigits digits);
bool isSold(const Ticket& ticket);
// The prize kind `ticket` wins when `drawn` comes, if any.
std::optional<PrizeKind> prizeKindWon(const Ticket& ticket, const FourDigits& drawn);
// The prize of `kind` at the 45 % payout ratio for a number of those
// digits: ストレート 900,000 yen, ボックス 900,000 / P for P orderings, a set
// half of each (straight and box, or box), every prize cut to 100 yen.
long theoreticalPrize(PrizeKind kind, const FourDigits& number);
// What `kind` paid at a draw: the prize its source gave, else the
// theoretical one.
long paidPrize(PrizeKind kind, const FourDigits& drawn, const DrawPrizes& stored);
// The largest amount every theoretical prize the types can win is a whole
// number of.
long prizeUnitOf(std::span<const std::size_t> types);

// One total prize a list of tickets pays, and on how many of the numbers.
struct PrizeOutcome {
    long yen = 0;
    int numbers = 0;
};

// What a list of tickets may win at one draw, over every number that may
// come, at the theoretical prizes.
struct DrawOutcomes {
    // On how many numbers a ticket of each type wins.
    std::array<int, kTicketTypeCount> winningNumbers{};
    // The total prizes, highest first; nothing on the other numbers.
    std::vector<PrizeOutcome> prizes;
};

DrawOutcomes drawOutcomesOf(std::span<const Ticket> tickets);

// What a list of tickets wins on one number that wins any of them: the
// types that win and the theoretical prizes of each type.
struct NumberWin {
    int number = 0;  // the digits read as a four-digit number
    unsigned types = 0;
    std::array<long, kTicketTypeCount> paid{};
};
// Every number that wins any of `tickets`, ascending: a ticket wins only
// on an order of its own digits.
std::vector<NumberWin> winsByNumber(std::span<const Ticket> tickets);
// What they win on `drawn`; nullptr for nothing.
const NumberWin* winOn(const std::vector<NumberWin>& wins, const FourDigits& drawn);

}  // namespace rumone
