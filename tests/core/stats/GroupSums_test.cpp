// The range of a sum carried in groups of alike terms against the same sum
// convolved term by term, for groups that go on a coarse step, groups that
// stay sparse and both together.
#include <gtest/gtest.h>

#include <vector>

#include "core/stats/GroupSums.h"

namespace rumone::test {
namespace {

struct Group {
    std::vector<UnitOutcome> outcomes;
    long copies;
};

TEST(GroupSums, RangeMatchesTermByTermSum)
{
    // In 100 yen: a set of 24 orderings wins 4687 or 187 a unit, a box of 12
    // orderings 750, a straight 9000; sets of three units, boxes of two.
    const std::vector<UnitOutcome> set24{{4687, 0.0001}, {187, 0.0023}};
    const std::vector<UnitOutcome> set24x3{{14061, 0.0001}, {561, 0.0023}};
    const std::vector<UnitOutcome> box12x2{{1500, 0.0012}};
    const std::vector<UnitOutcome> straight{{9000, 0.0001}};
    for (const std::vector<Group>& groups : {
             std::vector<Group>{{box12x2, 300}, {straight, 40}},
             std::vector<Group>{{set24, 150}},
             std::vector<Group>{{set24, 120}, {set24x3, 40}, {box12x2, 100}, {straight, 40}},
             std::vector<Group>{{{{3, 0.5}}, 40}, {{{1, 0.25}, {2, 0.25}}, 30}},
         }) {
        GroupSums grouped;
        UnitSums direct;
        for (const Group& g : groups) {
            grouped.add(g.outcomes, g.copies);
            for (long i = 0; i < g.copies; ++i)
                direct.add(g.outcomes);
        }
        for (const double level : {0.05, 0.5}) {
            const auto [low, high] = direct.range(level);
            EXPECT_EQ(grouped.range(level), (std::pair<long long, long long>{low, high}))
                << groups.size() << " groups at " << level;
        }
    }
    EXPECT_EQ(GroupSums{}.range(), (std::pair<long long, long long>{0, 0}));
}

}  // namespace
}  // namespace rumone::test
