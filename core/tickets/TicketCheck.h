// Checking the purchase book against the draws: one line per purchase and
// draw it covers, with what it won for all its units, and the account over
// the decided lines beside what chance gives those exact tickets.
#pragma once

#include <map>
#include <optional>
#include <vector>

#include "core/backtest/TicketTypes.h"
#include "core/history/DrawHistory.h"
#include "core/store/DrawDetailsStore.h"
#include "core/tickets/TicketBook.h"

namespace rumone {

enum class TicketResult { Pending, None, Straight, Box, SetStraight, SetBox };
// "pending", "none", "straight", "box", "set-straight", "set-box".
const char* ticketResultWord(TicketResult result);
// The prize kind of a win (Straight .. SetBox): TicketResult lists the kinds
// in PrizeKind's order after Pending and None.
PrizeKind prizeKindOf(TicketResult won);

// Where a prize came from: the draw's stored prize, the theoretical one, or
// no prize at all.
enum class PrizeSource { None, Actual, Theory };
const char* prizeSourceWord(PrizeSource source);  // "-", "actual", "theory"

struct TicketCheck {
    int draw = 0;
    Purchase purchase;
    TicketResult result = TicketResult::Pending;
    long long prize = 0;  // for all its units
    PrizeSource source = PrizeSource::None;

    bool decided() const { return result != TicketResult::Pending; }
};

// `ticket` × `units` against the draw: pending without `drawn`; the prize
// is the stored one of its kind when `stored` holds it, else the
// theoretical one.
TicketCheck checkTicket(const Ticket& ticket, int units, const std::optional<FourDigits>& drawn,
                        const DrawPrizes& stored);

// The complete draws of `history` by number, as checkBook takes them.
std::map<int, FourDigits> drawnOf(const DrawHistory& history);

// Every purchase against each draw it covers, in draw order then recording
// order. `drawn` holds the complete draws by number.
std::vector<TicketCheck> checkBook(const std::vector<Purchase>& book, const std::map<int, FourDigits>& drawn,
                                   const StoredDetails& details);

struct TicketAccount {
    long long units = 0;
    long long cost = 0;
    long long won = 0;
    long long net = 0;
    // The theoretical yen those decided tickets win by chance: expectation
    // and exact 95 % range.
    double winExpected = 0;
    long long winLow = 0;
    long long winHigh = 0;
};

TicketAccount accountOf(const std::vector<TicketCheck>& checks);

// The stored book checked against the stored draws and prizes. Throws
// StoreError.
std::vector<TicketCheck> checkStoredBook(const DrawDatabaseRef& database);

}  // namespace rumone
