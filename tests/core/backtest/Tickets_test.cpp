// The tickets each predictor buys at one target, their wins and
// theoretical prizes; the tallies, the conclusion over the comparisons and
// the prediction view's line, all from the figures.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "core/backtest/BandTargets.h"
#include "core/backtest/Comparisons.h"
#include "core/backtest/TicketGrid.h"
#include "core/backtest/Tickets.h"
#include "support/TestSupport.h"

namespace rumone::test {
namespace {

PositionSets rowOf(std::array<int, 4> digits)
{
    PositionSets sets{};
    for (std::size_t p = 0; p < 4; ++p)
        sets[p] = digits[p] < 0 ? 0 : digitBit(digits[p]);
    return sets;
}

PositionSets poolOf(std::initializer_list<int> digits)
{
    DigitSet pool = 0;
    for (const int d : digits)
        pool |= digitBit(d);
    return {pool, pool, pool, pool};
}

TEST(Tickets, EachPredictorBuysAndWinsByTheRules)
{
    struct Case {
        const char* what;
        int predictor;
        PositionSets sets;
        std::array<int, 4> actual;
        TargetTickets straight, box;
    };
    const std::vector<Case> cases = {
        {"the very number", 0, rowOf({1, 2, 3, 4}), {1, 2, 3, 4}, {1, 1, 1, 900000}, {1, 24, 1, 37500}},
        {"another order", 1, rowOf({1, 2, 3, 4}), {4, 3, 2, 1}, {1, 1, 0, 0}, {1, 24, 1, 37500}},
        {"a pair: 12 orders", 2, rowOf({1, 1, 3, 4}), {3, 1, 4, 1}, {1, 1, 0, 0}, {1, 12, 1, 75000}},
        {"two pairs: 6 orders", 3, rowOf({1, 1, 3, 3}), {3, 3, 1, 1}, {1, 1, 0, 0}, {1, 6, 1, 150000}},
        {"a triple: 4 orders", 0, rowOf({7, 7, 7, 2}), {7, 2, 7, 7}, {1, 1, 0, 0}, {1, 4, 1, 225000}},
        {"four alike: no box", 0, rowOf({5, 5, 5, 5}), {5, 5, 5, 5}, {1, 1, 1, 900000}, {}},
        {"a position empty", 0, rowOf({1, 2, -1, 4}), {1, 2, 3, 4}, {}, {}},
        {"a pool of 6", 4, poolOf({0, 1, 2, 3, 4, 5}), {5, 0, 3, 1}, {}, {15, 360, 1, 37500}},
        {"drawn digits repeat", 5, poolOf({0, 1, 2, 3, 4, 5}), {5, 5, 3, 1}, {}, {15, 360, 0, 0}},
        {"a digit off the pool", 4, poolOf({0, 1, 2, 3, 4, 5}), {6, 0, 3, 1}, {}, {15, 360, 0, 0}},
        {"one-shot of four", 6, poolOf({2, 4, 6, 8}), {8, 6, 4, 2}, {}, {1, 24, 1, 37500}},
        {"one-shot of three", 6, poolOf({2, 4, 6}), {8, 6, 4, 2}, {}, {}},
        {"every digit", 5, poolOf({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}), {9, 8, 0, 1}, {}, {210, 5040, 1, 37500}},
    };
    for (const Case& c : cases) {
        const TargetPurchase t = ticketsOf(c.predictor, c.sets, c.actual);
        for (const auto& [got, want] :
             {std::pair{t.byType[kStraightTicket], c.straight}, std::pair{t.byType[kBoxTicket], c.box}}) {
            EXPECT_EQ(got.count, want.count) << c.what;
            EXPECT_EQ(got.chance, want.chance) << c.what;
            EXPECT_EQ(got.wins, want.wins) << c.what;
            EXPECT_EQ(got.paid, want.paid) << c.what;
        }
    }
}

// Every ticket's expected prize is 90 yen: the track's expectation, and
// the walk's tallies add up to the tickets of the targets.
TEST(Tickets, WalkTalliesAndTracksTheNetYen)
{
    PredictorSets sets;
    sets.sets[0] = rowOf({1, 2, 3, 4});
    sets.sets[4] = poolOf({0, 1, 2, 3, 4});
    TicketWalk walk;
    walk.add(10, sets, {1, 2, 3, 4});  // straight and box of 周期7, a box of 消去法
    walk.add(11, sets, {9, 9, 9, 9});
    walk.add(12, sets, {4, 3, 2, 1});
    const TicketBoard& board = walk.board();
    EXPECT_EQ(board[0][0].wins, 1);
    EXPECT_EQ(board[0][1].wins, 2);
    EXPECT_EQ(board[0][1].paid, 75000);
    EXPECT_EQ(board[4][1].count, 15);  // C(5, 4) a target
    EXPECT_EQ(board[4][1].wins, 2);
    EXPECT_DOUBLE_EQ(board[4][1].returnShare(), 75000.0 / 3000);
    const YenTrack track = walk.track();
    ASSERT_EQ(track.net[0].size(), 3u);
    EXPECT_FLOAT_EQ(track.net[0][0], 900000 + 37500 - 400);
    EXPECT_FLOAT_EQ(track.expected[0][2], -110 * 6);
    EXPECT_FLOAT_EQ(track.expected[4][2], -110 * 15);
    ASSERT_EQ(track.bandAt.size(), 3u);
    EXPECT_FLOAT_EQ(track.bandLow[1][2], 0);  // nothing bought
    // One box of four distinct digits a target, three targets: nothing is
    // won with 99.3 %, so the range is 0 prizes, less the cost.
    EXPECT_FLOAT_EQ(track.bandHigh[6][2], 0);
    EXPECT_FLOAT_EQ(track.bandLow[0][2], -1200);
}

// The prizes of a row over a few targets, every number of every target
// drawn in turn: the return's range and the chance of paid >= cost.
TEST(Tickets, ReturnFiguresAgreeWithEveryOutcomeEnumerated)
{
    const std::vector<PredictorSets> targets = [] {
        std::vector<PredictorSets> out(3);
        const std::array<std::initializer_list<int>, 3> pools = {
            std::initializer_list<int>{0, 1, 2, 3, 4, 5}, {0, 1, 2, 3, 4}, {1, 2, 3, 4}};
        for (std::size_t t = 0; t < out.size(); ++t) {
            out[t].sets[0] = rowOf({1, 1, 2, 3});
            out[t].sets[5] = poolOf(pools[t]);
        }
        return out;
    }();
    TicketWalk walk;
    for (const PredictorSets& sets : targets)
        walk.add(1, sets, {9, 9, 9, 9});
    for (const auto& [predictor, type] :
         {std::pair{0, kStraightTicket}, std::pair{0, kBoxTicket}, std::pair{5, kBoxTicket}}) {
        std::map<long long, double> paid = {{0, 1.0}};  // yen -> chance, over the targets so far
        for (const PredictorSets& sets : targets) {
            std::map<long long, double> next;
            const std::vector<Ticket> tickets =
                ticketsBoughtWith(predictor, sets.sets[static_cast<std::size_t>(predictor)]);
            for (int n = 0; n < kNumbers; ++n) {
                const FourDigits drawn = {n / 1000, n / 100 % 10, n / 10 % 10, n % 10};
                long yen = 0;
                for (const Ticket& t : tickets)
                    if (const auto kind = prizeKindWon(t, drawn); kind && t.type == type)
                        yen += theoreticalPrize(*kind, drawn);
                for (const auto& [sum, chance] : paid)
                    next[sum + yen] += chance / kNumbers;
            }
            paid.swap(next);
        }
        const TicketTally& tally = walk.board()[static_cast<std::size_t>(predictor)][type];
        const double cost = double(tally.cost());
        double below = 0, low = -1, high = -1, ahead = 0;
        for (const auto& [sum, chance] : paid) {
            if (low < 0 && below + chance > 0.025)
                low = double(sum);
            below += chance;
            if (high < 0 && 1 - below <= 0.025)
                high = double(sum);
            ahead += double(sum) >= cost ? chance : 0;
        }
        const ReturnFigures r = tally.returnFigures();
        EXPECT_NEAR(r.low * cost, low, 1e-6) << predictor << " " << type;
        EXPECT_NEAR(r.high * cost, high, 1e-6) << predictor << " " << type;
        EXPECT_NEAR(r.ahead, ahead, 1e-12) << predictor << " " << type;
    }
}

// A year of three draws of a pool of every digit (210 boxes, one wins on
// 5,040 of the numbers): the wins are Binomial(3, 0.504), 37,500 yen each.
TEST(Tickets, AYearOfTicketsIsTheBinomialOfItsDraws)
{
    PrizeMix mix;
    mix.add({{37500, 5040}}, 210);
    const YearFigures y = mix.yearOf(3, 37500);
    EXPECT_EQ(y.spend, 3 * 210 * kTicketPrice);
    EXPECT_EQ(y.lowNet, -y.spend);                // P(0 wins) = 12.2 %
    EXPECT_EQ(y.medianNet, 2 * 37500 - y.spend);  // P(<= 1 win) = 49.5 %
    EXPECT_EQ(y.highNet, 3 * 37500 - y.spend);
    EXPECT_DOUBLE_EQ(y.ahead, 0);
    EXPECT_NEAR(mix.yearOf(1, 37500).ahead, 0, 1e-12);
    PrizeMix straight;  // one straight a draw: ahead once it wins at all
    straight.add({{900000, 1}}, 1);
    EXPECT_NEAR(straight.yearOf(260, 37500).ahead, 1 - std::pow(0.9999, 260), 1e-12);
}

Tally tallyOf(std::initializer_list<std::pair<int, int>> counts, int targets, int hits)
{
    Tally t;
    for (const auto& [chance, trials] : counts)
        t.hitTrials.add(chance, trials);
    t.targets = targets;
    t.hits = hits;
    return t;
}

TEST(Tickets, TheConclusionAndThePredictionLineFollowTheFigures)
{
    struct Case {
        int hits;  // of every pool predictor at every reflect count
        std::string conclusion;
        std::string line;  // reflect count 3
    };
    // 1,000 targets of single digits: expected 400 hits a predictor.
    const std::vector<Case> cases = {
        {400,
         "37通りの比較のうち偶然の範囲外は0通り（偶然だけでも平均1.7通り）。偶然と区別できる予想手法はありません。",
         "これまでの検証（反映数3、1000回、反映数0～10の37通りを補正して比較）：どの予想も偶然と区別できません（予想"
         "の検証）"},
        {520,
         "37通りの比較のうち偶然の範囲外は33通り（偶然だけでも平均1.7通り）。比較の数で補正しても偶然と区別できるのは、"
         "消去法（反映数0、偶然より多い的中）",
         "これまでの検証（反映数3、1000回、反映数0～10の37通りを補正して比較）：消去法（偶然より多い的中）、"
         "連発（偶然より多い的中）、一発（偶然より多い的中）は偶然と区別できます（予想の検証）"},
    };
    for (const Case& c : cases) {
        ReflectBoards boards;
        for (Scoreboard& board : boards)
            for (std::size_t i = 0; i < kPredictorCount; ++i)
                board[i] = tallyOf({{1000, 4000}}, 1000, i < 4 ? 400 : c.hits);
        const std::string conclusion = conclusionText(compareAll(boards));
        EXPECT_EQ(conclusion.substr(0, c.conclusion.size()), c.conclusion);
        EXPECT_EQ(predictionCheckText(compareAll(boards), 3), c.line);
    }
    ReflectBoards few;
    for (Scoreboard& board : few)
        for (Tally& t : board)
            t = tallyOf({{1000, 4}}, 1, 4);
    EXPECT_EQ(predictionCheckText(compareAll(few), 0),
              "これまでの検証（反映数0、1回、反映数0～10の37通りを補正して比較）：判定には回数が足りません（1回）（予想"
              "の検証）");
    EXPECT_EQ(compareAll(ReflectBoards{}).comparisons.size(), 37u);
}

TEST(Tickets, YenTextGroupsThousands)
{
    for (const auto& [yen, text] : {std::pair{0LL, "0円"}, std::pair{900LL, "900円"}, std::pair{37500LL, "37,500円"},
                                    std::pair{-1393000LL, "−1,393,000円"}, std::pair{123456789LL, "123,456,789円"}})
        EXPECT_EQ(yenText(yen), text);
}

TEST(BandTargets, EvenlySpreadKeepsTheEnds)
{
    EXPECT_EQ(evenlySpread(5, 48), (std::vector<std::size_t>{0, 1, 2, 3, 4}));
    EXPECT_EQ(evenlySpread(101, 5), (std::vector<std::size_t>{0, 25, 50, 75, 100}));
    EXPECT_TRUE(evenlySpread(0, 5).empty());
}

}  // namespace
}  // namespace rumone::test
