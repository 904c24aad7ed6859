// What the purchase book says of a typed number and of a choice of
// purchases: the number's history as written and in any order against
// chance, and the cap on what one recording takes.
#include <gtest/gtest.h>

#include "core/tickets/NumberFacts.h"
#include "core/tickets/PredictionPurchases.h"
#include "support/TestSupport.h"

namespace rumone::test {
namespace {

TEST(NumberFacts, HistoryCountsTheNumberAsWrittenAndInAnyOrder)
{
    const DrawHistory history = historyOf({{1, {1, 2, 3, 4}},
                                           {2, {4, 3, 2, 1}},
                                           {3, {1, 2, 3, 4}},
                                           {4, {1, 2, 4, 3}},
                                           {5, {1, 1, 3, 4}},
                                           {6, {4, -1, 2, 1}},
                                           {7, {5, 6, 7, 8}}});
    struct Case {
        FourDigits number;
        long inOrder, anyOrder;
        std::optional<int> lastInOrder, lastAnyOrder;
        int orderings;
    };
    for (const Case& c : {
             Case{{1, 2, 3, 4}, 2, 4, 3, 4, 24},
             Case{{4, 3, 1, 2}, 0, 4, std::nullopt, 4, 24},
             Case{{4, 1, 3, 1}, 0, 1, std::nullopt, 5, 12},
             Case{{0, 0, 0, 0}, 0, 0, std::nullopt, std::nullopt, 1},
         }) {
        const NumberHistory h = numberHistoryOf(c.number, history);
        EXPECT_EQ(h.draws, 6);
        EXPECT_EQ(h.inOrder.observed, c.inOrder);
        EXPECT_EQ(h.anyOrder.observed, c.anyOrder);
        EXPECT_EQ(h.lastInOrder, c.lastInOrder);
        EXPECT_EQ(h.lastAnyOrder, c.lastAnyOrder);
        EXPECT_DOUBLE_EQ(h.inOrder.expected, 6.0 / kNumbers);
        EXPECT_DOUBLE_EQ(h.anyOrder.expected, 6.0 * c.orderings / kNumbers);
    }
}

// Units count once for each draw a purchase runs: the cap holds the tickets
// a recording adds, however they are split.
TEST(PredictionPurchases, ARecordingTakesAtMostTheCapOfTickets)
{
    const auto purchase = [](int units, int draws) {
        Purchase p;
        p.units = units;
        p.draws = draws;
        return p;
    };
    struct Case {
        std::vector<Purchase> purchases;
        bool tooMany;
    };
    for (const Case& c : {
             Case{{purchase(1000, 1)}, false},
             Case{{purchase(1001, 1)}, true},
             Case{{purchase(50, 20)}, false},
             Case{{purchase(51, 20)}, true},
             Case{{purchase(600, 1), purchase(400, 1)}, false},
             Case{{purchase(600, 1), purchase(401, 1)}, true},
         })
        EXPECT_EQ(tooManyPurchasesProblem(c.purchases).has_value(), c.tooMany) << c.purchases.size();
}

}  // namespace
}  // namespace rumone::test
