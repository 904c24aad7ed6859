// A rule's tickets for the draw after the ones given, as the purchases the
// book records: one unit of each ticket for that draw, in a group named
// after the rule. The window 自分の条件 offers them (the rule its controls
// make and every saved rule) for the player to confirm.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "core/backtest/PredictorSets.h"
#include "core/history/DrawHistory.h"
#include "core/rules/Rule.h"
#include "core/tickets/PredictionPurchases.h"

namespace rumone {

// The tickets `rule` buys for the draw after `before`, ascending;
// `methodSets` are that draw's sets of the rule's method (nullptr when it
// has none).
std::vector<Ticket> nextDrawTickets(const Rule& rule, std::span<const Draw> before, const PositionSets* methodSets);

// Those tickets as purchases for the draw after `before` (the first draw
// when there is none), named `label` followed by the rule's text.
PurchaseGroup purchasesOfRule(const Rule& rule, std::span<const Draw> before, const PositionSets* methodSets,
                              const std::string& label);

}  // namespace rumone
