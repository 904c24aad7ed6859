#include "core/stats/UnitSums.h"

#include <gtest/gtest.h>

namespace rumone {
namespace {

// Terms added to a sum of their own and that sum added at once give the
// distribution of the terms added one by one.
TEST(UnitSums, ASumAddedAtOnceEqualsItsTermsAddedOneByOne)
{
    const std::vector<std::vector<UnitOutcome>> terms = {
        {{1, 0.3}}, {{2, 0.1}, {6, 0.05}}, {{1, 0.5}, {4, 0.2}}, {{3, 0.9}}, {}, {{1, 0.25}, {2, 0.25}, {6, 0.25}}};
    UnitSums oneByOne, first, second;
    for (std::size_t i = 0; i < terms.size(); ++i) {
        oneByOne.add(terms[i]);
        (i < 3 ? first : second).add(terms[i]);
    }
    first.add(second);
    EXPECT_EQ(first.range(0.05), oneByOne.range(0.05));
    for (long k = 0; k <= 22; ++k)
        EXPECT_NEAR(first.atLeast(k), oneByOne.atLeast(k), 1e-12) << k;
    EXPECT_EQ(first.quantile(0.5), oneByOne.quantile(0.5));
}

}  // namespace
}  // namespace rumone
