// The shared figures that DrawHistory derives from the stored rows, and
// how it judges rows that fall outside the model.
#include <gtest/gtest.h>

#include <optional>

#include "core/history/DrawHistory.h"
#include "support/TestSupport.h"

namespace rumone::test {
namespace {

DrawRecord record(DbValue number, std::array<DbValue, 4> digits)
{
    return DrawRecord{std::move(number), std::move(digits)};
}

std::array<DbValue, 4> digits(int a, int b, int c, int d)
{
    return {DbValue::fromInt(a), DbValue::fromInt(b), DbValue::fromInt(c), DbValue::fromInt(d)};
}

TEST(DrawHistory, EmptyTableLeavesEveryFigureAtZero)
{
    const DrawHistory h = historyOf({});
    EXPECT_TRUE(h.completeDraws().empty());
    EXPECT_TRUE(h.storedRows().empty());
    EXPECT_EQ(h.latestDrawNumber(), 0);
    EXPECT_EQ(h.maxDigitCount(), 0);
    EXPECT_EQ(h.distinctCountRows(), 0);
    EXPECT_EQ(h.digitsByCountSize(), 0);
    EXPECT_EQ(h.digitsByCount(0), "");
}

TEST(DrawHistory, IncompleteRowsCountForNothing)
{
    const DrawHistory all = historyOf({{1, {1, -1, 3, 4}}, {2, {-1, -1, -1, -1}}});
    EXPECT_TRUE(all.completeDraws().empty());
    EXPECT_EQ(all.storedRows().size(), 2u);
    EXPECT_EQ(all.latestDrawNumber(), 0);
    EXPECT_EQ(all.distinctCountRows(), 2);
    EXPECT_EQ(all.digitsByCount(0), "0,1,2,3,4,5,6,7,8,9");

    const DrawHistory trailing =
        historyOf({{1, {1, 2, 3, 4}}, {2, {5, 6, 7, 8}}, {3, {-1, -1, -1, -1}}, {4, {9, -1, -1, -1}}});
    EXPECT_EQ(trailing.latestDrawNumber(), 2);
    EXPECT_EQ(trailing.completeDraws().size(), 2u);
    EXPECT_FALSE(trailing.storedRows()[3].complete);
    EXPECT_EQ(trailing.storedRows()[3].digits[0], 9);
}

TEST(DrawHistory, CountsEveryPositionAndGroupsDigitsByCount)
{
    const DrawHistory h = historyOf({{1, {1, 1, 2, 2}}});
    EXPECT_EQ(h.digitCounts(1), 2);
    EXPECT_EQ(h.digitCounts(2), 2);
    EXPECT_EQ(h.maxDigitCount(), 2);
    EXPECT_EQ(h.digitsByCount(0), "0,3,4,5,6,7,8,9");
    EXPECT_EQ(h.digitsByCount(1), "");
    EXPECT_EQ(h.digitsByCount(2), "1,2");
    EXPECT_EQ(h.digitsByCountSize(), 3);
    EXPECT_EQ(h.distinctCountRows(), 3);

    // Digits 3 and 7 drawn equally often, and no other digit drawn.
    std::vector<Row> rows;
    for (int n = 1; n <= 206; ++n)
        rows.push_back({n, {3, 7, 3, 7}});
    const DrawHistory equal = historyOf(rows);
    EXPECT_EQ(equal.digitCounts(3), 412);
    EXPECT_EQ(equal.digitsByCount(412), "3,7");
    EXPECT_EQ(equal.digitsByCount(0), "0,1,2,4,5,6,8,9");
    EXPECT_EQ(equal.distinctCountRows(), 3);
    EXPECT_EQ(equal.latestDrawNumber(), 206);
}

TEST(DrawHistory, ForeignValuesAreJudgedNotTrusted)
{
    const std::vector<DrawRecord> records = {
        record(DbValue::fromInt(1), digits(1, 2, 3, 4)),
        record(DbValue::fromInt(2), digits(1, 2, 10, 4)),  // digit 10
        record(DbValue::fromInt(3),
               {DbValue::fromReal(1.5), DbValue::fromInt(2), DbValue::fromInt(3), DbValue::fromInt(4)}),  // digit 1.5
        record(DbValue::fromInt(4),
               {DbValue::fromText(""), DbValue::fromInt(2), DbValue::fromInt(3), DbValue::fromInt(4)}),  // empty text
        record(DbValue::null(), digits(5, 5, 5, 5)),
        record(DbValue::fromReal(1.5), digits(5, 5, 5, 5)),
        record(DbValue::fromInt(40000), digits(5, 5, 5, 5)),
        record(DbValue::fromReal(5.0),
               {DbValue::fromText("6"), DbValue::fromReal(6.0), DbValue::fromInt(6), DbValue::fromInt(6)}),
    };
    const DrawHistory h = DrawHistory::fromRecords(records);
    ASSERT_EQ(h.storedRows().size(), 5u);  // the three unusable draw numbers are dropped
    EXPECT_FALSE(h.storedRows()[1].complete);
    EXPECT_FALSE(h.storedRows()[1].digits[2].has_value());
    EXPECT_FALSE(h.storedRows()[2].complete);
    EXPECT_FALSE(h.storedRows()[3].complete);
    ASSERT_EQ(h.completeDraws().size(), 2u);
    EXPECT_EQ(h.completeDraws()[1].number, 5);
    EXPECT_EQ(h.completeDraws()[1].digits, (std::array<int, 4>{6, 6, 6, 6}));
    EXPECT_EQ(h.latestDrawNumber(), 5);
    EXPECT_EQ(h.digitCounts(5), 0);
    EXPECT_EQ(h.digitCounts(6), 4);

    const std::vector<DrawRecord> text = {record(DbValue::fromText("abc"), digits(1, 2, 3, 4))};
    EXPECT_THROW(DrawHistory::fromRecords(text), std::runtime_error);
}

// One rule for a stored 回数, shared by the history and the database check:
// a text counts only as a plain decimal integer; a real's range is judged
// before it is converted.
TEST(DrawHistory, DrawNumberRuleIsOneForEveryReader)
{
    const struct {
        DbValue value;
        std::optional<int> number;
    } cases[] = {
        {DbValue::fromInt(7), 7},         {DbValue::fromReal(8.0), 8},     {DbValue::fromText(" 12 "), 12},
        {DbValue::fromText("1e3"), {}},   {DbValue::fromText("12.0"), {}}, {DbValue::fromText("-1"), {}},
        {DbValue::fromText("40000"), {}}, {DbValue::fromReal(1e300), {}},  {DbValue::fromReal(-1e300), {}},
        {DbValue::fromInt(32768), {}},    {DbValue::null(), {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(drawNumberOf(c.value), c.number) << c.value.text << c.value.real << c.value.integer;

    const DrawHistory h = DrawHistory::fromRecords(
        {record(DbValue::fromInt(1), digits(1, 2, 3, 4)), record(DbValue::fromText("1e3"), digits(5, 5, 5, 5))});
    EXPECT_EQ(h.latestDrawNumber(), 1);  // "1e3" is no draw 1000
    EXPECT_EQ(h.storedRows().size(), 1u);
}

// One text for a stored value wherever the program shows or writes one.
TEST(DrawHistory, StoredValuesReadTheSameEverywhere)
{
    EXPECT_EQ(valueText(DbValue::null()), "");
    EXPECT_EQ(valueText(DbValue::fromInt(-7)), "-7");
    EXPECT_EQ(valueText(DbValue::fromReal(5.0)), "5");
    EXPECT_EQ(valueText(DbValue::fromReal(0.1)), "0.1");
    EXPECT_EQ(valueText(DbValue::fromReal(1e20)), "1e+20");
    EXPECT_EQ(valueText(DbValue::fromText(" 5\t")), " 5\t");
}

}  // namespace
}  // namespace rumone::test
