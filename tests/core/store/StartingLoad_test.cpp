// The start's two-step read: the latest rows, more of them while they are
// not enough, then every row once let go on.
#include <gtest/gtest.h>

#include "core/store/StartingLoad.h"
#include "core/store/StoreTestHelpers.h"

namespace rumone {
namespace {

std::vector<test::Row> rowsUpTo(int last)
{
    std::vector<test::Row> rows;
    for (int n = 1; n <= last; ++n)
        rows.push_back({n, {n % 10, n / 10 % 10, n / 100 % 10, n / 1000 % 10}});
    return rows;
}

// The latest rows grow fourfold until they are enough or are every row;
// either way the whole read that follows is every row.
TEST(StartingLoad, TheLatestRowsGrowUntilEnoughAndTheWholeReadHoldsEveryRow)
{
    test::TempDir dir;
    const DrawDatabaseRef small = drawDatabaseAt(test::makeDatabase(dir.file("small.db"), rowsUpTo(500)));
    const DrawDatabaseRef large = drawDatabaseAt(test::makeDatabase(dir.file("large.db"), rowsUpTo(5000)));
    struct Case {
        const DrawDatabaseRef& database;
        std::size_t needed;  // the rows `enough` asks for
        std::size_t latestRead;
        bool whole;
    };
    const Case cases[] = {
        {small, 0, 500, true},       // no more than the first read: read once
        {large, 1000, 1024, false},  // the first read is enough
        {large, 2000, 4096, false},  // one more, four times as long
        {large, 9000, 5000, true},   // never enough: every row
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.needed);
        StartingLoad load = StartingLoad::begin(
            c.database, [&c](const LatestDraws& latest) { return latest.completeDraws().size() >= c.needed; });
        const LatestDraws latest = load.takeLatest();
        const std::size_t stored = loadDrawHistory(c.database).completeDraws().size();
        EXPECT_EQ(latest.completeDraws().size(), c.latestRead);
        EXPECT_EQ(latest.whole(), c.whole);
        EXPECT_EQ(latest.latestDrawNumber(), static_cast<int>(stored));
        EXPECT_EQ(load.takeWhole().completeDraws().size(), stored);
    }
    // A load never let go on ends with its owner instead of waiting forever.
    StartingLoad untaken = StartingLoad::begin(large, {});
    EXPECT_EQ(untaken.takeLatest().completeDraws().size(), kLatestRowsReadFirst);
}

}  // namespace
}  // namespace rumone
