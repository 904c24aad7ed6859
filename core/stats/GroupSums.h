// A sum of independent terms that come in groups of alike terms (identical
// tickets win alike), on a grid of whole units, and its range. The groups
// whose sums all fall on one coarser step are carried densely on that step
// (UnitSums), the others sparsely, sum by sum; the range reads the two
// together, so the whole sum is never laid out on the finest grid. As exact
// as UnitSums: only chances lighter than kNegligibleChance are cut.
#pragma once

#include <span>
#include <utility>
#include <vector>

#include "core/stats/UnitSums.h"

namespace rumone {

class GroupSums {
public:
    // `copies` terms alike, each one of `outcomes` or nothing.
    void add(std::span<const UnitOutcome> outcomes, long copies);
    // As UnitSums::range: the smallest k with P(X <= k) > level / 2 and the
    // largest k with P(X >= k) > level / 2.
    std::pair<long long, long long> range(double level = 0.05) const;

private:
    std::vector<std::vector<UnitSum>> groups_;  // each group's sumOfCopies
};

}  // namespace rumone
