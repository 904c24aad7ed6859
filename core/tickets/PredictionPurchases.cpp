#include "core/tickets/PredictionPurchases.h"

#include "core/backtest/Tickets.h"
#include "core/text/TextParts.h"

namespace rumone {

namespace {

constexpr std::size_t kTicketsNamed = 6;

}  // namespace

std::vector<PredictorPurchases> purchasesOfPrediction(const PredictorSets& sets, int draw)
{
    std::vector<PredictorPurchases> out;
    for (int predictor = 0; predictor < kPredictorCount; ++predictor) {
        PredictorPurchases group{predictor, {}};
        for (const Ticket& t : ticketsBoughtWith(predictor, sets.sets[static_cast<std::size_t>(predictor)])) {
            Purchase p;
            p.firstDraw = draw;
            p.ticket = t;
            group.purchases.push_back(p);
        }
        if (!group.purchases.empty())
            out.push_back(std::move(group));
    }
    return out;
}

std::string predictorPurchasesText(const PredictorPurchases& group)
{
    std::string s = std::string(kPredictorNames[static_cast<std::size_t>(group.predictor)]) + "：";
    for (std::size_t i = 0; i < group.purchases.size() && i < kTicketsNamed; ++i)
        s += (i == 0 ? "" : "・") + numberText(group.purchases[i].ticket.digits) + " " +
             kTicketTypes[group.purchases[i].ticket.type].name;
    if (group.purchases.size() > kTicketsNamed)
        s += "…";
    const long long units = static_cast<long long>(group.purchases.size());
    return s + "（" + groupedDigits(units) + "口・" + groupedDigits(units * kTicketPrice) + "円）";
}

}  // namespace rumone
