// What the charts' axes say: labels thinned to those that fit, yen grouped
// in threes and in 万円 from 10,000 on.
#include <gtest/gtest.h>

#include "gui/charts/AxisLabels.h"

namespace rumone {
namespace {

TEST(AxisLabels, CategoryLabelsThinToTheFirstStrideThatFits)
{
    const struct {
        int count;
        double length, widest;
        int stride;
    } cases[] = {
        {10, 1000, 40, 1},   // 100 a slot: all fit
        {76, 600, 30, 5},    // 7.9 a slot: 2 gives 15.8, 5 gives 39.5 >= 37.5
        {76, 1500, 30, 2},   // 19.7 a slot: 2 gives 39.5
        {400, 400, 30, 50},  // 1 a slot: 50 is the first of 1, 2, 5, 10, 20, 50 with room
        {1, 10, 300, 1},     // one label is always shown
        {20, 0, 30, 1},      // not laid out yet
    };
    for (const auto& c : cases)
        EXPECT_EQ(categoryLabelStride(c.count, c.length, c.widest), c.stride)
            << c.count << " in " << c.length << ", widest " << c.widest;
}

TEST(AxisLabels, YenInThreesAndInManFromTenThousand)
{
    const struct {
        double yen;
        const char* label;
    } cases[] = {
        {0, "0円"},         {-3000, "-3,000円"},  {9999, "9,999円"},           {10000, "1万円"}, {-3000000, "-300万円"},
        {15000, "1.5万円"}, {-25000, "-2.5万円"}, {123456789, "12,345.7万円"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(yenAxisLabel(c.yen), c.label) << c.yen;
}

}  // namespace
}  // namespace rumone
