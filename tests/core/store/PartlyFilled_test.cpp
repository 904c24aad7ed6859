// The closing check for draws typed only in part.
#include <gtest/gtest.h>

#include "core/store/PartlyFilled.h"
#include "support/TestSupport.h"

namespace rumone::test {
namespace {

struct PartlyCase {
    const char* name;
    std::vector<Row> rows;  // -1: no digit
    std::optional<std::size_t> row;
    int firstEmpty;
    const char* message;
};

void PrintTo(const PartlyCase& c, std::ostream* os)
{
    *os << c.name;
}

class PartlyFilled : public testing::TestWithParam<PartlyCase> {};

TEST_P(PartlyFilled, NamesTheFirstRowWithSomeButNotAllDigits)
{
    const PartlyCase& c = GetParam();
    const std::optional<PartlyFilledRow> found = firstPartlyFilledRow(editRowsOf(c.rows));
    ASSERT_EQ(found.has_value(), c.row.has_value());
    if (!found)
        return;
    EXPECT_EQ(found->row, *c.row);
    EXPECT_EQ(found->firstEmptyPosition, c.firstEmpty);
    EXPECT_EQ(found->message, c.message);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PartlyFilled,
    testing::Values(
        PartlyCase{"CompleteAndEmptyRowsPass", {{7055, {1, 2, 3, 4}}, {7056, {-1, -1, -1, -1}}}, {}, 0, ""},
        PartlyCase{"OnlyTheLastDigit",
                   {{7055, {1, 2, 3, 4}}, {7056, {-1, -1, -1, 4}}},
                   1,
                   1,
                   "第7056回は第4数字だけが入っています。"},
        PartlyCase{"TwoDigits", {{12, {-1, 5, -1, 4}}}, 0, 1, "第12回は第2数字と第4数字だけが入っています。"},
        PartlyCase{"ThreeDigitsAndTheFirstOfSeveral",
                   {{1, {1, 1, -1, -1}}, {2, {3, 3, 3, -1}}},
                   0,
                   3,
                   "第1回は第1数字と第2数字だけが入っています。"},
        PartlyCase{"ThreeDigits", {{9, {0, 0, -1, 0}}}, 0, 3, "第9回は第1数字、第2数字と第4数字だけが入っています。"}),
    [](const testing::TestParamInfo<PartlyCase>& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace rumone::test
