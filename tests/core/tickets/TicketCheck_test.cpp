// The purchase book checked against draws: each type against each digit
// pattern, the account's chance range against a direct enumeration, and
// the tool's book and account for a small database.
#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "core/store/DrawImport.h"
#include "core/store/ReliabilityHelpers.h"
#include "core/store/StoreTestHelpers.h"
#include "core/tickets/TicketCheck.h"

namespace rumone::test {
namespace {

constexpr std::size_t kSet = 2;

TEST(TicketCheck, EveryTypeAgainstEveryDigitPattern)
{
    struct Case {
        std::size_t type;
        FourDigits number;
        FourDigits drawn;
        TicketResult result;
        long long prizeForTwoUnits;
    };
    using R = TicketResult;
    for (const Case& c : {
             Case{kStraightTicket, {1, 2, 3, 4}, {1, 2, 3, 4}, R::Straight, 1800000},
             Case{kStraightTicket, {1, 2, 3, 4}, {4, 3, 2, 1}, R::None, 0},
             Case{kStraightTicket, {5, 5, 5, 5}, {5, 5, 5, 5}, R::Straight, 1800000},
             Case{kStraightTicket, {5, 5, 5, 5}, {5, 5, 5, 6}, R::None, 0},
             Case{kBoxTicket, {1, 2, 3, 4}, {1, 2, 3, 4}, R::Box, 75000},
             Case{kBoxTicket, {1, 2, 3, 4}, {4, 3, 1, 2}, R::Box, 75000},
             Case{kBoxTicket, {1, 1, 3, 4}, {3, 1, 4, 1}, R::Box, 150000},
             Case{kBoxTicket, {1, 1, 3, 3}, {3, 1, 3, 1}, R::Box, 300000},
             Case{kBoxTicket, {7, 7, 7, 2}, {7, 2, 7, 7}, R::Box, 450000},
             Case{kBoxTicket, {7, 7, 7, 2}, {7, 2, 7, 2}, R::None, 0},
             Case{kSet, {1, 2, 3, 4}, {1, 2, 3, 4}, R::SetStraight, 937400},
             Case{kSet, {1, 2, 3, 4}, {2, 1, 3, 4}, R::SetBox, 37400},
             Case{kSet, {1, 1, 3, 3}, {1, 1, 3, 3}, R::SetStraight, 1050000},
             Case{kSet, {7, 7, 7, 2}, {7, 7, 7, 2}, R::SetStraight, 1125000},
             Case{kSet, {7, 7, 7, 2}, {2, 7, 7, 7}, R::SetBox, 225000},
             Case{kSet, {7, 7, 7, 2}, {0, 0, 0, 0}, R::None, 0},
         }) {
        const TicketCheck check = checkTicket(Ticket{c.type, c.number}, 2, c.drawn, DrawPrizes{});
        SCOPED_TRACE(std::to_string(c.type) + " " + std::to_string(c.number[0]) + std::to_string(c.number[3]));
        EXPECT_EQ(check.result, c.result);
        EXPECT_EQ(check.prize, c.prizeForTwoUnits);
        EXPECT_EQ(check.source, c.result == R::None ? PrizeSource::None : PrizeSource::Theory);
    }
    // A stored prize of the kind won is paid as it is; no draw is pending.
    DrawPrizes stored;
    stored[static_cast<std::size_t>(PrizeKind::SetBox)] = PrizeLine{40, 19300, false};
    const TicketCheck paid = checkTicket(Ticket{kSet, {1, 2, 3, 4}}, 3, FourDigits{4, 3, 2, 1}, stored);
    EXPECT_EQ(paid.prize, 3 * 19300);
    EXPECT_EQ(paid.source, PrizeSource::Actual);
    const TicketCheck pending = checkTicket(Ticket{kSet, {1, 2, 3, 4}}, 3, std::nullopt, stored);
    EXPECT_EQ(pending.result, TicketResult::Pending);
    EXPECT_EQ(pending.source, PrizeSource::None);
}

// The sum's distribution by yen, convolved term by term over a map: every
// amount the tickets can win together, with its chance.
std::map<long long, double> enumerated(const std::vector<TicketCheck>& checks)
{
    std::map<long long, double> sum{{0, 1.0}};
    std::map<std::tuple<std::size_t, FourDigits, int>, std::map<long long, double>> winsOf;
    for (const TicketCheck& c : checks) {
        auto& wins = winsOf[{c.purchase.ticket.type, c.purchase.ticket.digits, c.purchase.units}];  // yen -> chance
        if (wins.empty())
            for (int n = 0; n < kNumbers; ++n) {
                const FourDigits drawn{n / 1000, n / 100 % 10, n / 10 % 10, n % 10};
                wins[checkTicket(c.purchase.ticket, c.purchase.units, drawn, DrawPrizes{}).prize] += 1.0 / kNumbers;
            }
        std::map<long long, double> next;
        for (const auto& [s, ps] : sum)
            for (const auto& [w, pw] : wins)
                if (ps * pw > 1e-30)
                    next[s + w] += ps * pw;
        sum.swap(next);
    }
    return sum;
}

TEST(TicketAccount, ChanceRangeMatchesDirectEnumeration)
{
    struct Case {
        std::vector<Purchase> book;
        int draws;
    };
    const auto purchase = [](std::size_t type, FourDigits number, int units) {
        Purchase p;
        p.ticket = Ticket{type, number};
        p.units = units;
        return p;
    };
    for (const Case& c : {
             Case{{purchase(kBoxTicket, {1, 2, 3, 4}, 1)}, 400},
             Case{{purchase(kSet, {7, 7, 7, 2}, 2), purchase(kStraightTicket, {0, 0, 0, 0}, 1)}, 150},
             Case{{purchase(kSet, {1, 2, 3, 4}, 1), purchase(kBoxTicket, {1, 1, 3, 3}, 3)}, 120},
         }) {
        std::vector<TicketCheck> checks;
        long long units = 0;
        for (int d = 0; d < c.draws; ++d)
            for (const Purchase& p : c.book) {
                TicketCheck check = checkTicket(p.ticket, p.units, FourDigits{9, 8, 9, 8}, DrawPrizes{});
                check.purchase = p;
                checks.push_back(check);
                units += p.units;
            }
        const std::map<long long, double> exact = enumerated(checks);
        double expected = 0, below = 0;
        long long low = 0, high = 0;
        for (const auto& [yen, chance] : exact) {
            expected += double(yen) * chance;
            if (below + chance <= 0.025 + 1e-12)
                low = std::next(exact.find(yen))->first;
            below += chance;
        }
        double above = 0;
        for (auto it = exact.rbegin(); it != exact.rend(); ++it) {
            above += it->second;
            if (above > 0.025 + 1e-12) {
                high = it->first;
                break;
            }
        }
        const TicketAccount account = accountOf(checks);
        EXPECT_EQ(account.units, units);
        EXPECT_EQ(account.cost, units * 200);
        EXPECT_EQ(account.net, -account.cost);
        EXPECT_NEAR(account.winExpected, expected, 1e-6 * expected);
        EXPECT_EQ(account.winLow, low);
        EXPECT_EQ(account.winHigh, high);
        EXPECT_GT(account.winHigh, 0);
    }
}

// Draws 1 and 2 stored (2 with its box prize), a ticket run into draw 3
// still to come; then draw 3 entered after the tickets were recorded.
TEST(TicketBook, ToolRecordsChecksAndAccounts)
{
    TempDir dir;
    const std::string db = makeDatabase(dir.file("t.db"), {{1, {1, 2, 3, 4}}, {2, {4, 3, 2, 1}}});
    {
        DrawEditSet set = openDrawEditSet(drawDatabaseAt(db));
        DrawDetails box;
        box.prizes[static_cast<std::size_t>(PrizeKind::Box)] = PrizeLine{30, 41200, false};
        set.importPreviewed(previewImport({}, {{2, box}}, set.rows(), set.readDetails()));
    }
    for (const std::vector<std::string>& args : {
             std::vector<std::string>{"buy", db, "2", "1234", "box", "2", "2"},
             std::vector<std::string>{"buy", db, "1", "1234", "set", "1"},
             std::vector<std::string>{"buy", db, "1", "5555", "straight", "1"},
         })
        ASSERT_EQ(runToolCapturing("rumone-db", args).exitCode, 0);
    for (const char* type : {"box", "set"}) {
        const ToolRun refused = runToolCapturing("rumone-db", {"buy", db, "1", "5555", type, "1"});
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_NE(refused.output.find("販売されません"), std::string::npos) << refused.output;
    }
    EXPECT_EQ(runToolCapturing("rumone-db", {"buy", db, "1", "1234", "box", "1", "21"}).exitCode, 2);
    EXPECT_EQ(runToolCapturing("rumone-db", {"tickets", db}).output,
              "ticket 1 1234 set 1 set-straight 468700 theory\n"
              "ticket 1 5555 straight 1 none 0 -\n"
              "ticket 2 1234 box 2 box 82400 actual\n"
              "ticket 3 1234 box 2 pending 0 -\n"
              "account 4 800 551100 550300\n"
              "chance 360 0 0\n");
    openDrawEditSet(drawDatabaseAt(db)).importDraws(editRowsOf({{3, {2, 1, 4, 3}}}));
    const std::string after = runToolCapturing("rumone-db", {"tickets", db}).output;
    EXPECT_NE(after.find("ticket 3 1234 box 2 box 75000 theory\naccount 6 1200 626100 624900\n"), std::string::npos)
        << after;
}

}  // namespace
}  // namespace rumone::test
