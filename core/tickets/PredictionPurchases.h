// Purchases offered to the book in named groups, for the player to confirm:
// the tickets the purchase simulation buys for the shown prediction, one
// group a predictor, as purchases of one unit for the next draw (and a
// rule's tickets, core/rules/RulePurchases.h). However many are offered, one
// recording takes at most kMaxPurchasesAtOnce.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/backtest/PredictorSets.h"
#include "core/tickets/TicketBook.h"

namespace rumone {

inline constexpr long long kMaxPurchasesAtOnce = 1000;

struct PurchaseGroup {
    std::string name;  // a predictor's name, or the rule's
    std::vector<Purchase> purchases;
    bool offeredChecked = true;  // whether the confirmation starts with it chosen
};

// Every predictor that buys anything with `sets`, in kPredictorNames order.
std::vector<PurchaseGroup> purchasesOfPrediction(const PredictorSets& sets, int draw);

// "周期7（2口・400円）：0061 ストレート・0061 ボックス"; a long list ends in "…".
std::string purchaseGroupText(const PurchaseGroup& group);

// Why `purchases` are too many to record at once (their units and cost
// named), as a plain Japanese sentence; nullopt when they are not.
std::optional<std::string> tooManyPurchasesProblem(const std::vector<Purchase>& purchases);

}  // namespace rumone
