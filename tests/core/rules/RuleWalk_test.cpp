#include "core/rules/RuleWalk.h"

#include <algorithm>
#include <set>

#include <gtest/gtest.h>

#include "core/prizes/PrizeTheory.h"
#include "support/TestSupport.h"

namespace rumone {
namespace {

FourDigits digitsOf(int n)
{
    return {n / 1000, n / 100 % 10, n / 10 % 10, n % 10};
}

// Each condition as the rule's text says it, number by number.
bool meetsDirectly(const Rule& rule, const FourDigits& d, const std::vector<Draw>& before,
                   const std::optional<PositionSets>& method)
{
    const int sum = d[0] + d[1] + d[2] + d[3];
    const long even = std::count_if(d.begin(), d.end(), [](int x) { return x % 2 == 0; });
    const long low = std::count_if(d.begin(), d.end(), [](int x) { return x <= 4; });
    if (rule.sum && (sum < rule.sum->low || sum > rule.sum->high))
        return false;
    if (rule.even && !rule.even->contains(static_cast<int>(even)))
        return false;
    if (rule.low && !rule.low->contains(static_cast<int>(low)))
        return false;
    if (rule.kinds && !(rule.kinds & (1 << static_cast<int>(numberKindOf(d)))))
        return false;
    for (std::size_t p = 0; p < 4; ++p) {
        if (!(rule.positions[p] & (1 << d[p])))
            return false;
        for (int back = 1; back <= rule.recent && back <= static_cast<int>(before.size()); ++back)
            if (before[before.size() - static_cast<std::size_t>(back)].digits[p] == d[p])
                return false;
        if (rule.method && !((*method)[p] & (1 << d[p])))
            return false;
    }
    return true;
}

struct Direct {
    long tickets = 0;
    long wins = 0;
    double expected = 0;
    int targets = 0;
};

// The walk by enumeration of the 10,000 numbers at each target, the
// methods' sets computed afresh from the draws before it.
Direct walkDirectly(const std::vector<test::Row>& rows, const Rule& rule)
{
    Direct direct;
    const DrawHistory history = test::historyOf(rows);
    const std::vector<Draw>& draws = history.completeDraws();
    for (std::size_t t = static_cast<std::size_t>(std::max(rule.drawsNeeded(), 0)); t < draws.size(); ++t) {
        const std::vector<Draw> before(draws.begin(), draws.begin() + static_cast<long>(t));
        std::optional<PositionSets> method;
        if (rule.method)
            method = recomputePredictorSets(
                         test::historyOf(std::vector<test::Row>(rows.begin(), rows.begin() + static_cast<long>(t))),
                         rule.reflectCount())
                         .sets[static_cast<std::size_t>(*rule.method)];
        std::set<FourDigits> boxes;
        int picked = 0;
        bool won = false;
        for (int n = 0; n < kNumbers; ++n) {
            FourDigits d = digitsOf(n);
            if (!meetsDirectly(rule, d, before, method))
                continue;
            ++picked;
            won = won || d == draws[t].digits;
            std::sort(d.begin(), d.end());
            if (numberKindOf(d) != NumberKind::FourOfAKind)
                boxes.insert(d);
        }
        ++direct.targets;
        if (rule.type == kStraightTicket) {
            direct.tickets += picked;
            direct.expected += picked / 10000.0;
            direct.wins += won ? 1 : 0;
            continue;
        }
        FourDigits drawn = draws[t].digits;
        std::sort(drawn.begin(), drawn.end());
        direct.tickets += static_cast<long>(boxes.size());
        for (const FourDigits& b : boxes)
            direct.expected += orderingsOf(b) / 10000.0;
        direct.wins += boxes.count(drawn);
    }
    return direct;
}

std::vector<test::Row> rowsOf(const DrawHistory& history)
{
    std::vector<test::Row> rows;
    for (const Draw& d : history.completeDraws())
        rows.push_back({d.number, d.digits});
    return rows;
}

TEST(RuleWalk, EachConditionPicksWhatEnumerationPicks)
{
    const std::vector<test::Row> rows = rowsOf(test::randomHistory(24, 7));
    for (const char* text : {"type=straight", "sum=14-22", "sum=0-3 type=box", "kinds=double,triple",
                             "kinds=single type=box", "kinds=quad type=box", "even=2 low=1-3", "pos1=0-4 pos3=2,7,9",
                             "pos2=5 type=box", "recent=1", "recent=5 type=box", "method=周期7",
                             "method=連発 reflect=4 type=box", "sum=10-26 kinds=single recent=3 type=box"}) {
        const Rule rule = *parseRule(text).rule;
        const Direct direct = walkDirectly(rows, rule);
        const RuleWalkResult walk = walkRule(test::historyOf(rows), rule);
        EXPECT_EQ(walk.targets, direct.targets) << text;
        EXPECT_EQ(walk.tickets, direct.tickets) << text;
        EXPECT_EQ(walk.wins, direct.wins) << text;
        EXPECT_NEAR(walk.winTrials.mean(), direct.expected, 1e-9) << text;
        EXPECT_EQ(walk.cost, walk.tickets * 200) << text;
    }
}

TEST(RuleWalk, ADrawLaterChangesNothingBeforeIt)
{
    std::vector<test::Row> rows = rowsOf(test::randomHistory(40, 3));
    const Rule rule = *parseRule("recent=4 method=消去法 reflect=2 sum=8-30 type=box").rule;
    const TargetRange upTo{0, 30};
    const RuleWalkResult before = walkRule(test::historyOf(rows), rule, upTo);
    for (std::size_t changed : {29u, 30u, 35u}) {
        std::vector<test::Row> altered = rows;
        altered[changed].digits = {(rows[changed].digits[0] + 3) % 10, 0, 0, (rows[changed].digits[3] + 1) % 10};
        const RuleWalkResult after = walkRule(test::historyOf(altered), rule, upTo);
        EXPECT_EQ(after.tickets, before.tickets) << changed;
        EXPECT_DOUBLE_EQ(after.winTrials.mean(), before.winTrials.mean()) << changed;
        if (changed != 29u) {  // draw 30 is the last target: its own digits decide only its win
            EXPECT_EQ(after.wins, before.wins) << changed;
            EXPECT_EQ(after.trackNet, before.trackNet) << changed;
        }
    }
}

TEST(RuleWalk, NetYenStandsBesideMinus110ATicket)
{
    const RuleWalkResult walk = walkRule(test::randomHistory(200, 5), *parseRule("sum=10-20 type=box").rule);
    EXPECT_DOUBLE_EQ(walk.expectedNet(), -110.0 * walk.tickets);
    EXPECT_NEAR(walk.trackExpected.back(), walk.expectedNet(), 1.0);
    EXPECT_LT(walk.netRange.first, walk.expectedNet());
    EXPECT_GT(walk.netRange.second, walk.expectedNet());
    EXPECT_EQ(walk.trackNet.back(), static_cast<float>(walk.net()));
}

}  // namespace
}  // namespace rumone
