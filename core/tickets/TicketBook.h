// The player's purchase book: every purchase the player recorded (first
// draw, how many consecutive draws it runs, the number, the ticket type,
// the units and when it was recorded), kept in a table of its own (購入記録)
// beside the draws. A database from before the table reads as holding no
// purchases; the first purchase recorded creates it.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/backtest/TicketTypes.h"
#include "core/store/DrawStore.h"
#include "core/store/StoredTime.h"

namespace rumone {

inline constexpr int kMaxPurchaseDraws = 20;
inline constexpr int kMaxPurchaseUnits = 9999;

struct Purchase {
    long long id = 0;  // the recording order; 0 before it is recorded
    int firstDraw = 0;
    int draws = 1;  // 継続 1-20
    Ticket ticket;
    int units = 1;
    StoredTime recorded{};
};

// "0123": a number as the book stores and the tool prints it.
std::string numberText(const FourDigits& digits);
// Four characters 0-9, else nullopt.
std::optional<FourDigits> parseNumberText(const std::string& text);

// Why a purchase cannot be recorded, as a plain Japanese sentence; nullopt
// when it can.
std::optional<std::string> purchaseProblem(const Purchase& purchase);

// Every recorded purchase, in recording order; empty without the table.
// Throws StoreError.
std::vector<Purchase> readPurchases(const DrawDatabaseRef& database);

// Records `purchase` (its time now) in one durable write and returns it as
// stored. Throws StoreError, with purchaseProblem's sentence for a purchase
// that cannot be recorded.
Purchase recordPurchase(const DrawDatabaseRef& database, Purchase purchase);
// Several purchases in one durable write, all or none, in their order.
std::vector<Purchase> recordPurchases(const DrawDatabaseRef& database, std::vector<Purchase> purchases);

// A purchase's prize at one draw the player has received (受取済み), kept as
// (purchase id, draw) in a table of its own, 受取済み, created by the first
// tick; a book without it reads as nothing received.
using ClaimedPrizes = std::set<std::pair<long long, int>>;
ClaimedPrizes readClaimedPrizes(const DrawDatabaseRef& database);
// Ticks (or clears) the prize of `purchaseId` at `draw` in one durable
// write. Throws StoreError.
void storeClaimedPrize(const DrawDatabaseRef& database, long long purchaseId, int draw, bool claimed);

// The player's monthly budget for tickets in yen (a table 購入予算 of one
// row); none when never set or cleared. Throws StoreError.
inline constexpr long long kMaxMonthlyBudget = 100'000'000;
std::optional<long long> readMonthlyBudget(const DrawDatabaseRef& database);
void storeMonthlyBudget(const DrawDatabaseRef& database, std::optional<long long> yen);

}  // namespace rumone
