#include "core/tickets/PredictionPurchases.h"

#include "core/backtest/Tickets.h"
#include "core/text/TextParts.h"

namespace rumone {

namespace {

constexpr std::size_t kTicketsNamed = 6;

}  // namespace

std::vector<PurchaseGroup> purchasesOfPrediction(const PredictorSets& sets, int draw)
{
    std::vector<PurchaseGroup> out;
    for (int predictor = 0; predictor < kPredictorCount; ++predictor) {
        PurchaseGroup group{std::string(kPredictorNames[static_cast<std::size_t>(predictor)]), {}};
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

std::string purchaseGroupText(const PurchaseGroup& group)
{
    // The count and the cost come before the tickets: a long rule's line
    // is cut at the list's right edge, and they must stay in sight.
    const long long units = static_cast<long long>(group.purchases.size());
    std::string s = group.name + "（" + groupedDigits(units) + "口・" + groupedDigits(units * kTicketPrice) + "円）：";
    for (std::size_t i = 0; i < group.purchases.size() && i < kTicketsNamed; ++i)
        s += (i == 0 ? "" : "・") + numberText(group.purchases[i].ticket.digits) + " " +
             kTicketTypes[group.purchases[i].ticket.type].name;
    if (group.purchases.size() > kTicketsNamed)
        s += "…";
    return s;
}

std::optional<std::string> tooManyPurchasesProblem(const std::vector<Purchase>& purchases)
{
    long long units = 0;
    for (const Purchase& p : purchases)
        units += static_cast<long long>(p.units) * p.draws;
    if (units <= kMaxPurchasesAtOnce)
        return std::nullopt;
    return "選んだ購入は " + groupedDigits(units) + "口・" + groupedDigits(units * kTicketPrice) +
           "円です。一度に記録できるのは " + groupedDigits(kMaxPurchasesAtOnce) +
           "口までです。条件を絞るか、記録する行を減らしてください。";
}

}  // namespace rumone
