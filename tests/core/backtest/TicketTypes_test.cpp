// The prize rule of each ticket type, and a draw's prize outcomes for a
// list of tickets against every number that may come.
#include <gtest/gtest.h>

#include <map>

#include "core/backtest/TicketTypes.h"

namespace rumone::test {
namespace {

constexpr std::size_t kSet = 2;

TEST(TicketTypes, TheoreticalPrizesFollowTheRule)
{
    struct Case {
        FourDigits number;
        long straight, box, setStraight, setBox;
    };
    for (const Case& c : {
             Case{{1, 2, 3, 4}, 900000, 37500, 468700, 18700},
             Case{{1, 1, 3, 4}, 900000, 75000, 487500, 37500},
             Case{{1, 1, 3, 3}, 900000, 150000, 525000, 75000},
             Case{{7, 7, 7, 2}, 900000, 225000, 562500, 112500},
         }) {
        EXPECT_EQ(theoreticalPrize(PrizeKind::Straight, c.number), c.straight);
        EXPECT_EQ(theoreticalPrize(PrizeKind::Box, c.number), c.box);
        EXPECT_EQ(theoreticalPrize(PrizeKind::SetStraight, c.number), c.setStraight);
        EXPECT_EQ(theoreticalPrize(PrizeKind::SetBox, c.number), c.setBox);
    }
    DrawPrizes stored;
    stored[static_cast<std::size_t>(PrizeKind::Box)] = PrizeLine{12, 41200, false};
    EXPECT_EQ(paidPrize(PrizeKind::Box, {1, 2, 3, 4}, stored), 41200);
    EXPECT_EQ(paidPrize(PrizeKind::Straight, {1, 2, 3, 4}, stored), 900000);
    const std::array<std::size_t, 2> walkTypes = {kStraightTicket, kBoxTicket};
    EXPECT_EQ(prizeUnitOf(walkTypes), 37500);
}

// Every number 0000-9999 drawn in turn, the tickets' prizes summed.
DrawOutcomes enumerated(const std::vector<Ticket>& tickets)
{
    DrawOutcomes out;
    std::map<long, int, std::greater<>> prizes;
    for (int n = 0; n < kNumbers; ++n) {
        const FourDigits drawn = {n / 1000, n / 100 % 10, n / 10 % 10, n % 10};
        std::array<bool, kTicketTypeCount> won{};
        long yen = 0;
        for (const Ticket& t : tickets)
            if (const auto kind = prizeKindWon(t, drawn)) {
                yen += theoreticalPrize(*kind, drawn);
                won[t.type] = true;
            }
        for (std::size_t type = 0; type < kTicketTypeCount; ++type)
            out.winningNumbers[type] += won[type] ? 1 : 0;
        if (yen > 0)
            prizes[yen] += 1;
    }
    for (const auto& [yen, numbers] : prizes)
        out.prizes.push_back({yen, numbers});
    return out;
}

TEST(TicketTypes, DrawOutcomesAgreeWithEveryNumberDrawn)
{
    const std::vector<std::vector<Ticket>> cases = {
        {{kStraightTicket, {1, 2, 3, 4}}, {kBoxTicket, {1, 2, 3, 4}}},
        {{kStraightTicket, {5, 5, 5, 5}}},
        {{kSet, {1, 1, 2, 3}}, {kSet, {3, 2, 1, 1}}, {kStraightTicket, {1, 1, 2, 3}}},
        {{kBoxTicket, {0, 1, 2, 3}}, {kBoxTicket, {4, 5, 6, 7}}, {kBoxTicket, {3, 2, 1, 0}}},
        {},
    };
    for (const auto& tickets : cases) {
        const DrawOutcomes got = drawOutcomesOf(tickets);
        const DrawOutcomes want = enumerated(tickets);
        EXPECT_EQ(got.winningNumbers, want.winningNumbers) << tickets.size();
        ASSERT_EQ(got.prizes.size(), want.prizes.size()) << tickets.size();
        for (std::size_t i = 0; i < got.prizes.size(); ++i) {
            EXPECT_EQ(got.prizes[i].yen, want.prizes[i].yen);
            EXPECT_EQ(got.prizes[i].numbers, want.prizes[i].numbers);
        }
    }
}

}  // namespace
}  // namespace rumone::test
