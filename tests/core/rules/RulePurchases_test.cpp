#include "core/rules/RulePurchases.h"

#include <gtest/gtest.h>

namespace rumone {
namespace {

TEST(RulePurchases, ARulesNextDrawTicketsBecomeOneUnitPurchasesForTheDrawAfterTheLast)
{
    const std::vector<Draw> history = {{40, {5, 5, 5, 5}}, {41, {0, 0, 0, 0}}};
    struct Case {
        const char* rule;
        std::size_t drawsBefore;
        int firstDraw;
        std::vector<Ticket> tickets;
    };
    const std::vector<Case> cases = {
        {"pos1=1 pos2=2 pos3=3 pos4=4", 2, 42, {{kStraightTicket, {1, 2, 3, 4}}}},
        {"pos1=4 pos2=3 pos3=2 pos4=1 type=box", 2, 42, {{kBoxTicket, {1, 2, 3, 4}}}},
        // recent looks at the latest draw only: 0 is out, 5 is not.
        {"recent=1 pos1=0,5 pos2=0,5 pos3=0,5 pos4=0,5", 2, 42, {{kStraightTicket, {5, 5, 5, 5}}}},
        {"recent=1 pos1=0,5 pos2=0,5 pos3=0,5 pos4=0,5", 1, 41, {{kStraightTicket, {0, 0, 0, 0}}}},
        {"kinds=quad type=box", 2, 42, {}},  // four equal digits are not sold as box
        {"pos1=9 pos2=9 pos3=9 pos4=9", 0, 1, {{kStraightTicket, {9, 9, 9, 9}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        const Rule rule = *parseRule(c.rule).rule;
        const PurchaseGroup group =
            purchasesOfRule(rule, std::span<const Draw>(history).first(c.drawsBefore), nullptr, "この条件 ");
        EXPECT_EQ(group.name, "この条件 " + ruleText(rule));
        ASSERT_EQ(group.purchases.size(), c.tickets.size());
        for (std::size_t i = 0; i < c.tickets.size(); ++i) {
            const Purchase& p = group.purchases[i];
            EXPECT_EQ(p.firstDraw, c.firstDraw);
            EXPECT_EQ(p.draws, 1);
            EXPECT_EQ(p.units, 1);
            EXPECT_EQ(p.ticket.type, c.tickets[i].type);
            EXPECT_EQ(p.ticket.digits, c.tickets[i].digits);
            EXPECT_FALSE(purchaseProblem(p)) << *purchaseProblem(p);
        }
    }
}

TEST(RulePurchases, RecordingAtOnceIsRefusedPastTheLimitCountingUnitsAndDraws)
{
    struct Case {
        int purchases, units, draws;
        bool refused;
    };
    for (const Case c :
         {Case{1000, 1, 1, false}, Case{1001, 1, 1, true}, Case{10, 5, 20, false}, Case{11, 5, 20, true}}) {
        Purchase p;
        p.firstDraw = 1;
        p.units = c.units;
        p.draws = c.draws;
        const auto problem = tooManyPurchasesProblem(std::vector<Purchase>(static_cast<std::size_t>(c.purchases), p));
        EXPECT_EQ(problem.has_value(), c.refused) << c.purchases << "x" << c.units << "x" << c.draws;
    }
    // The sentence names what was asked for, so the player sees how far over it is.
    EXPECT_NE(tooManyPurchasesProblem(std::vector<Purchase>(5000, Purchase{}))->find("5,000口・1,000,000円"),
              std::string::npos);
}

}  // namespace
}  // namespace rumone
