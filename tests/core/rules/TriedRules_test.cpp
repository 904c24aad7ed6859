#include "core/rules/TriedRules.h"

#include <gtest/gtest.h>

#include "core/store/StoreTestHelpers.h"

namespace rumone::test {
namespace {

TriedRule tried(const char* text, double p, int targets = 5000)
{
    return TriedRule{text, {}, targets, 10, 5.0, p};
}

struct HolmCase {
    std::vector<TriedRule> rules;
    int tried;
    std::size_t standOut;
};

TEST(TriedRules, HolmCorrectsOverEveryDistinctRule)
{
    const HolmCase cases[] = {
        {{}, 0, 0},
        {{tried("a", 0.01)}, 1, 1},
        // 0.01 alone stands out; beside five others it needs 0.05/6.
        {{tried("a", 0.01), tried("b", 0.5), tried("c", 0.9), tried("d", 0.3), tried("e", 0.7), tried("f", 0.2)}, 6, 0},
        {{tried("a", 0.001), tried("b", 0.02), tried("c", 0.9)}, 3, 2},
        // A rule walked again counts once, at its latest walk.
        {{tried("a", 0.001), tried("a", 0.6), tried("b", 0.02)}, 2, 1},
        // Too few targets for a verdict: counted, never standing out.
        {{tried("a", 0.0001, 12)}, 1, 0},
    };
    for (const HolmCase& c : cases) {
        const TriedVerdict v = judgeTriedRules(c.rules);
        EXPECT_EQ(v.tried, c.tried);
        EXPECT_EQ(v.standOut.size(), c.standOut) << c.tried;
    }
}

TEST(TriedRules, ClearingIsKeptAndSaid)
{
    TempDir dir;
    const std::string path = makeDatabase(dir.file("t.db"), {{1, {1, 2, 3, 4}}});
    const DrawDatabaseRef db = drawDatabaseAt(path);
    EXPECT_EQ(triedRulesText(readTriedRules(db)), "まだ条件を試していません。");
    for (const char* text : {"sum=1-9 type=straight", "recent=2 type=box", "sum=1-9 type=straight"})
        recordTriedRule(db, tried(text, 0.4));
    const std::string before = triedRulesText(readTriedRules(db));
    EXPECT_EQ(before.rfind("これまでに試した条件は2通り。補正すると、偶然と区別できる条件はありません。", 0), 0u)
        << before;
    clearTriedRules(db);
    recordTriedRule(db, tried("kinds=single type=box", 0.4));
    const TriedRules after = readTriedRules(db);
    ASSERT_EQ(after.rules.size(), 1u);
    ASSERT_EQ(after.clearings.size(), 1u);
    EXPECT_EQ(after.clearings[0].removed, 3);
    EXPECT_NE(triedRulesText(after).find("に3通りを消去しました。これまでに試した条件は1通り。"), std::string::npos);
}

}  // namespace
}  // namespace rumone::test
