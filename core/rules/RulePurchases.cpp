#include "core/rules/RulePurchases.h"

#include "core/rules/RuleNumbers.h"
#include "core/rules/RuleWalk.h"

namespace rumone {

std::vector<Ticket> nextDrawTickets(const Rule& rule, std::span<const Draw> before, const PositionSets* methodSets)
{
    RuleNumbers numbers(rule);
    return numbers.ticketsAt(allowedDigitsAfter(rule, before, methodSets));
}

PurchaseGroup purchasesOfRule(const Rule& rule, std::span<const Draw> before, const PositionSets* methodSets,
                              const std::string& label)
{
    PurchaseGroup group{label + ruleText(rule), {}};
    const int draw = before.empty() ? 1 : before.back().number + 1;
    for (const Ticket& t : nextDrawTickets(rule, before, methodSets)) {
        Purchase p;
        p.firstDraw = draw;
        p.ticket = t;
        group.purchases.push_back(p);
    }
    return group;
}

}  // namespace rumone
