// The book as the window reads it: tickets recorded before and after their
// draw was first entered, claim deadlines and the start's warning, the
// account by month, which draws came in and the status line for them, and the
// received ticks and budget kept beside an older book.
#include <gtest/gtest.h>

#include "core/calendar/CivilDays.h"
#include "core/store/StoreTestHelpers.h"
#include "core/tickets/BookAccount.h"

namespace rumone::test {
namespace {

using namespace std::chrono;

constexpr std::size_t kSet = 2;

TicketCheck checked(int draw, std::size_t type, FourDigits number, int units, std::optional<FourDigits> drawn,
                    StoredTime recorded = {}, long long id = 1)
{
    TicketCheck c = checkTicket(Ticket{type, number}, units, drawn, DrawPrizes{});
    c.draw = draw;
    c.purchase.id = id;
    c.purchase.ticket = Ticket{type, number};
    c.purchase.units = units;
    c.purchase.recorded = recorded;
    return c;
}

TEST(BookLines, TicketsRecordedAfterTheirDrawAreMarkedAndLeftOutOfChance)
{
    const StoredTime entered = sys_days{2026y / 8 / 21} + 20h;
    struct Case {
        StoredTime recorded;
        bool drawEntered;  // the draw has a first-entry time
        std::optional<FourDigits> drawn;
        bool afterTheFact;
    };
    for (const Case& c : {
             Case{entered - 1s, true, FourDigits{1, 2, 3, 4}, false}, Case{entered, true, FourDigits{1, 2, 3, 4}, true},
             Case{entered + 1h, true, FourDigits{1, 2, 3, 4}, true},
             Case{entered - 1h, false, FourDigits{1, 2, 3, 4}, true},  // no proof it came first
             Case{entered + 1h, false, std::nullopt, false},           // still to be drawn
         }) {
        std::map<int, StoredTime> firstEntries;
        if (c.drawEntered)
            firstEntries[7055] = entered;
        const auto lines = bookLinesOf({checked(7055, kBoxTicket, {1, 2, 3, 4}, 1, c.drawn, c.recorded)}, firstEntries,
                                       {}, DrawCalendar());
        EXPECT_EQ(lines.at(0).afterTheFact, c.afterTheFact) << storedTimeText(c.recorded);
        const BookAccount account = bookAccountOf(lines);
        EXPECT_EQ(account.evidence.units, c.drawn && !c.afterTheFact ? 1 : 0);
        EXPECT_EQ(account.total.units, c.drawn ? 1 : 0);
    }
}

TEST(BookLines, ClaimDeadlineIsOneYearFromTheDayAfterTheDraw)
{
    struct Case {
        CivilDate draw, deadline;
    };
    for (const Case& c : {
             Case{{2026, 8, 21}, {2027, 8, 21}}, Case{{2026, 12, 30}, {2027, 12, 30}},
             Case{{2026, 12, 31}, {2027, 12, 31}}, Case{{2028, 2, 28}, {2029, 2, 28}},  // from 29 February
             Case{{2028, 2, 29}, {2029, 2, 28}},                                        // from 1 March
         })
        EXPECT_EQ(claimDeadlineOf(c.draw), c.deadline) << isoDateText(c.draw);
}

TEST(BookLines, StartWarnsOfUnreceivedWinsWithinThirtyDaysOfTheirDeadline)
{
    const DrawCalendar calendar({{100, {2025, 9, 1}}});
    std::vector<TicketCheck> checks = {
        checked(100, kStraightTicket, {1, 2, 3, 4}, 1, FourDigits{1, 2, 3, 4}, {}, 1),
        checked(100, kBoxTicket, {1, 2, 3, 4}, 2, FourDigits{1, 2, 3, 4}, {}, 2),
        checked(100, kBoxTicket, {5, 6, 7, 8}, 1, FourDigits{1, 2, 3, 4}, {}, 3),  // lost: no deadline
    };
    const auto lines = bookLinesOf(checks, {}, {{2, 100}}, calendar);  // the box was received
    ASSERT_EQ(lines[0].deadline, (CivilDate{2026, 9, 1}));
    EXPECT_FALSE(lines[2].deadline);
    EXPECT_EQ(nearDeadlineText(lines, {2026, 8, 1}), "");  // 31 days before
    const std::string warned = nearDeadlineText(lines, {2026, 8, 2});
    EXPECT_NE(warned.find("1件"), std::string::npos) << warned;
    EXPECT_NE(warned.find("第100回 1234 900,000円（2026年9月1日まで）"), std::string::npos) << warned;
    EXPECT_NE(nearDeadlineText(lines, {2026, 9, 1}), "");
    EXPECT_EQ(nearDeadlineText(lines, {2026, 9, 2}), "");  // past: the grid says 期限切れ
}

TEST(BookAccount, ByMonthOfTheDrawsDateAndOnlyDecided)
{
    // Draws 1 and 2 in October 1994 (Fridays), 13 in January 1995; 14 still to come.
    const DrawCalendar calendar({{1, {1994, 10, 7}}, {13, {1995, 1, 6}}});
    const auto lines = bookLinesOf(
        {
            checked(1, kStraightTicket, {1, 2, 3, 4}, 2, FourDigits{1, 2, 3, 4}),
            checked(2, kBoxTicket, {1, 2, 3, 4}, 1, FourDigits{0, 0, 0, 0}),
            checked(13, kSet, {1, 2, 3, 4}, 3, FourDigits{4, 3, 2, 1}),
            checked(14, kSet, {1, 2, 3, 4}, 3, std::nullopt),
        },
        {}, {}, calendar);
    const std::vector<MonthAccount> months = accountByMonth(lines);
    ASSERT_EQ(months.size(), 2u);
    EXPECT_EQ(std::tie(months[0].year, months[0].month, months[0].units, months[0].cost, months[0].won, months[0].net),
              std::make_tuple(1994, 10, 3LL, 600LL, 1800000LL, 1799400LL));
    EXPECT_EQ(std::tie(months[1].year, months[1].month, months[1].units, months[1].won),
              std::make_tuple(1995, 1, 3LL, 3 * 18700LL));
    const BudgetFigures budget = budgetFiguresOf(lines, 1000, {1995, 1, 20});
    EXPECT_EQ(budget.spent, 1200);  // the pending draw counts
    EXPECT_TRUE(budget.over());
    EXPECT_EQ(std::tie(budget.lossLow, budget.lossHigh), std::make_tuple(1200LL, 1200LL));  // a win is below 2.5 %
    EXPECT_NEAR(budget.expectedLoss, 1200 - 6 * (468700 + 23 * 18700) / 10000.0, 1e-6);
}

TEST(BookAccount, NoVerdictFromFewerThanThirtyDraws)
{
    for (const int draws : {29, 30}) {
        std::vector<TicketCheck> checks;
        for (int d = 1; d <= draws; ++d)
            checks.push_back(checked(d, kBoxTicket, {1, 2, 3, 4}, 1, FourDigits{0, 0, 0, 0}));
        const std::map<int, StoredTime> entered = [&] {
            std::map<int, StoredTime> m;
            for (int d = 1; d <= draws; ++d)
                m[d] = StoredTime{} + 1s;
            return m;
        }();
        const std::string s = accountSentence(bookAccountOf(bookLinesOf(checks, entered, {}, DrawCalendar())));
        EXPECT_EQ(s.find("偶然の範囲内です") != std::string::npos, draws >= kMinBookVerdictDraws) << s;
        EXPECT_NE(s.find("偶然だけでも 95% はこの範囲：0～"), std::string::npos) << s;
    }
}

TEST(BookLines, StatusLineSaysWhatTheDrawsThatCameInWon)
{
    const auto lines = bookLinesOf(
        {
            checked(7055, kBoxTicket, {1, 2, 3, 4}, 1, FourDigits{4, 3, 2, 1}),
            checked(7055, kStraightTicket, {1, 2, 3, 5}, 2, FourDigits{4, 3, 2, 1}),
            checked(7056, kStraightTicket, {1, 2, 3, 5}, 2, FourDigits{4, 3, 2, 1}),
            checked(7057, kStraightTicket, {1, 2, 3, 5}, 2, std::nullopt),
        },
        {}, {}, DrawCalendar());
    const std::vector<int> came = {7055, 7056, 7057, 7058};
    EXPECT_EQ(drawsCheckedText(lines, came),
              "第7055回：3口のうちボックス1口が当せん（37,500円・理論配当）　第7056回：2口とも当せんなし");
}

// The draws whose tickets the status line reports after a reload: those
// completed or corrected since, not those unchanged, still incomplete or
// gone.
TEST(BookLines, DrawsCameInAreTheNewlyCompleteAndTheCorrected)
{
    const DrawHistory before = historyOf({{1, {1, 2, 3, 4}}, {2, {5, 6, 7, 8}}, {3, {1, -1, 3, 4}}, {4, {9, 9, 9, 9}}});
    struct Case {
        std::vector<Row> after;
        std::vector<int> came;
    };
    for (const Case& c : {
             Case{{{1, {1, 2, 3, 4}}, {2, {5, 6, 7, 8}}, {3, {1, -1, 3, 4}}, {4, {9, 9, 9, 9}}}, {}},
             Case{{{1, {1, 2, 3, 4}}, {2, {5, 6, 7, 9}}, {3, {1, 2, 3, 4}}, {4, {9, 9, 9, 9}}, {5, {0, 0, 0, 0}}},
                  {2, 3, 5}},
             Case{{{1, {1, 2, 3, 4}}, {3, {1, -1, 3, 4}}}, {}},
         })
        EXPECT_EQ(drawsCameIn(before, historyOf(c.after)), c.came) << c.came.size();
}

TEST(TicketBook, ReceivedTicksAndBudgetKeptBesideAnOlderBook)
{
    TempDir dir;
    const DrawDatabaseRef db = drawDatabaseAt(makeDatabase(dir.file("t.db"), {{1, {1, 2, 3, 4}}}));
    Purchase p;
    p.firstDraw = 1;
    p.ticket = Ticket{kBoxTicket, {4, 3, 2, 1}};
    const Purchase stored = recordPurchase(db, p);
    EXPECT_TRUE(readClaimedPrizes(db).empty());  // a book from before the ticks
    EXPECT_FALSE(readMonthlyBudget(db));
    storeClaimedPrize(db, stored.id, 1, true);
    storeClaimedPrize(db, stored.id, 1, true);
    EXPECT_EQ(readClaimedPrizes(db), (ClaimedPrizes{{stored.id, 1}}));
    storeMonthlyBudget(db, 5000);
    EXPECT_EQ(readMonthlyBudget(db), 5000);
    const auto lines = readBookLines(db, loadDrawHistory(db));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].claimed && lines[0].afterTheFact && lines[0].deadline);
    storeClaimedPrize(db, stored.id, 1, false);
    storeMonthlyBudget(db, std::nullopt);
    EXPECT_TRUE(readClaimedPrizes(db).empty());
    EXPECT_FALSE(readMonthlyBudget(db));
    EXPECT_EQ(causeOf([&] { storeMonthlyBudget(db, 0); }), StoreError::Cause::Constraint);
}

}  // namespace
}  // namespace rumone::test
