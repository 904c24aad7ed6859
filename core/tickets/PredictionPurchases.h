// The tickets the purchase simulation buys for the shown prediction, one
// group a predictor, as purchases of one unit for the next draw: what the
// prediction view offers to record in the book after the player confirms.
#pragma once

#include <string>
#include <vector>

#include "core/backtest/PredictorSets.h"
#include "core/tickets/TicketBook.h"

namespace rumone {

struct PredictorPurchases {
    int predictor = 0;  // row of kPredictorNames
    std::vector<Purchase> purchases;
};

// Every predictor that buys anything with `sets`, in kPredictorNames order.
std::vector<PredictorPurchases> purchasesOfPrediction(const PredictorSets& sets, int draw);

// "周期7：0061 ストレート・0061 ボックス（2口・400円）"; a long list ends in "…".
std::string predictorPurchasesText(const PredictorPurchases& group);

}  // namespace rumone
