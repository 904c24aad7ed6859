// The shared figures that DrawHistory derives from the stored rows, and
// how it judges rows that fall outside the model.
#include <gtest/gtest.h>

#include "history/DrawHistory.h"
#include "support/TestSupport.h"

namespace rumone::test {
namespace {

DrawRecord Record(DbValue number, std::array<DbValue, 4> digits)
{
    return DrawRecord{std::move(number), std::move(digits)};
}

std::array<DbValue, 4> Digits(int a, int b, int c, int d)
{
    return {DbValue::Int(a), DbValue::Int(b), DbValue::Int(c), DbValue::Int(d)};
}

TEST(DrawHistory, EmptyTableLeavesEveryFigureAtZero)
{
    const DrawHistory h = HistoryOf({});
    EXPECT_TRUE(h.CompleteDraws().empty());
    EXPECT_TRUE(h.StoredRows().empty());
    EXPECT_EQ(h.latestDrawNumber(), 0);
    EXPECT_EQ(h.maxDigitCount(), 0);
    EXPECT_EQ(h.distinctCountRows(), 0);
    EXPECT_EQ(h.digitsByCountSize(), 0);
    EXPECT_EQ(h.digitsByCount(0), "");
}

TEST(DrawHistory, IncompleteRowsCountForNothing)
{
    const DrawHistory all = HistoryOf({{1, {1, -1, 3, 4}}, {2, {-1, -1, -1, -1}}});
    EXPECT_TRUE(all.CompleteDraws().empty());
    EXPECT_EQ(all.StoredRows().size(), 2u);
    EXPECT_EQ(all.latestDrawNumber(), 0);
    EXPECT_EQ(all.distinctCountRows(), 2);
    EXPECT_EQ(all.digitsByCount(0), "0,1,2,3,4,5,6,7,8,9");

    const DrawHistory trailing = HistoryOf({{1, {1, 2, 3, 4}}, {2, {5, 6, 7, 8}}, {3, {-1, -1, -1, -1}}, {4, {9, -1, -1, -1}}});
    EXPECT_EQ(trailing.latestDrawNumber(), 2);
    EXPECT_EQ(trailing.CompleteDraws().size(), 2u);
    EXPECT_FALSE(trailing.StoredRows()[3].complete);
    EXPECT_EQ(trailing.StoredRows()[3].digits[0], 9);
}

TEST(DrawHistory, CountsEveryPositionAndGroupsDigitsByCount)
{
    const DrawHistory h = HistoryOf({{1, {1, 1, 2, 2}}});
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
    const DrawHistory equal = HistoryOf(rows);
    EXPECT_EQ(equal.digitCounts(3), 412);
    EXPECT_EQ(equal.digitsByCount(412), "3,7");
    EXPECT_EQ(equal.digitsByCount(0), "0,1,2,4,5,6,8,9");
    EXPECT_EQ(equal.distinctCountRows(), 3);
    EXPECT_EQ(equal.latestDrawNumber(), 206);
}

TEST(DrawHistory, ForeignValuesAreJudgedNotTrusted)
{
    const std::vector<DrawRecord> records = {
        Record(DbValue::Int(1), Digits(1, 2, 3, 4)),
        Record(DbValue::Int(2), Digits(1, 2, 10, 4)),                                                // digit 10
        Record(DbValue::Int(3), {DbValue::Real(1.5), DbValue::Int(2), DbValue::Int(3), DbValue::Int(4)}),  // digit 1.5
        Record(DbValue::Int(4), {DbValue::Text(""), DbValue::Int(2), DbValue::Int(3), DbValue::Int(4)}),   // empty text
        Record(DbValue::Null(), Digits(5, 5, 5, 5)),
        Record(DbValue::Real(1.5), Digits(5, 5, 5, 5)),
        Record(DbValue::Int(40000), Digits(5, 5, 5, 5)),
        Record(DbValue::Real(5.0), {DbValue::Text("6"), DbValue::Real(6.0), DbValue::Int(6), DbValue::Int(6)}),
    };
    const DrawHistory h = DrawHistory::FromRecords(records);
    ASSERT_EQ(h.StoredRows().size(), 5u);  // the three unusable draw numbers are dropped
    EXPECT_FALSE(h.StoredRows()[1].complete);
    EXPECT_FALSE(h.StoredRows()[1].digits[2].has_value());
    EXPECT_FALSE(h.StoredRows()[2].complete);
    EXPECT_FALSE(h.StoredRows()[3].complete);
    ASSERT_EQ(h.CompleteDraws().size(), 2u);
    EXPECT_EQ(h.CompleteDraws()[1].number, 5);
    EXPECT_EQ(h.CompleteDraws()[1].digits, (std::array<int, 4>{6, 6, 6, 6}));
    EXPECT_EQ(h.latestDrawNumber(), 5);
    EXPECT_EQ(h.digitCounts(5), 0);
    EXPECT_EQ(h.digitCounts(6), 4);

    const std::vector<DrawRecord> text = {Record(DbValue::Text("abc"), Digits(1, 2, 3, 4))};
    EXPECT_THROW(DrawHistory::FromRecords(text), std::runtime_error);
}

}  // namespace
}  // namespace rumone::test
