#include <gtest/gtest.h>

#include <climits>

#include "core/text/TextParts.h"

namespace rumone {
namespace {

// The grouped text, kept in its own buffer or made as a string, at the
// edges where a comma comes or goes and at both ends of the range.
TEST(TextParts, GroupedDigitsAtEveryEdge)
{
    const std::pair<long long, const char*> cases[] = {
        {0, "0"},
        {999, "999"},
        {1000, "1,000"},
        {-1000, "-1,000"},
        {986400, "986,400"},
        {1234567, "1,234,567"},
        {LLONG_MAX, "9,223,372,036,854,775,807"},
        {LLONG_MIN, "-9,223,372,036,854,775,808"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(GroupedDigits(value).text(), text) << value;
        EXPECT_EQ(groupedDigits(value), text) << value;
    }
}

}  // namespace
}  // namespace rumone
