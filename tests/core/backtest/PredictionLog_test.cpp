// The frozen prediction log: stored once, read back as stored, untouched
// by edits of past draws, refused for a known draw or a second time, and
// a read-only file left exactly as it was.
#include <sys/stat.h>
#include <unistd.h>

#include "core/backtest/PredictionLog.h"
#include "core/store/StoreFailure.h"
#include "core/store/StoreTestHelpers.h"

namespace rumone::test {
namespace {

using Cause = StoreError::Cause;

LoggedPrediction entryFor(int target, int reflect)
{
    LoggedPrediction e{target, "2026-12-08 09:00:00", reflect, {}};
    for (std::size_t i = 0; i < kPredictorCount; ++i)
        e.sets.sets[i] = {digitBit(static_cast<int>(i)), 0, static_cast<DigitSet>(0x3ff), digitBit(9)};
    return e;
}

Cause causeOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const StoreError& e) {
        return e.cause();
    }
    return Cause::Other;
}

bool sameEntries(const std::vector<LoggedPrediction>& a, const std::vector<LoggedPrediction>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].target != b[i].target || a[i].recordedAt != b[i].recordedAt || a[i].reflect != b[i].reflect ||
            !(a[i].sets == b[i].sets))
            return false;
    return true;
}

TEST(PredictionLog, AnOlderDatabaseReadsAsAnEmptyLogAndTheFirstRecordCreatesTheTable)
{
    TempDir dir;
    const std::string path = makeDatabase(dir.file("Rumone.mdb"), {{1, {1, 2, 3, 4}}, {2, {5, 6, 7, 8}}});
    const std::string cs = connectionStringForFile(path);
    const std::string bytes = readBytes(path);
    EXPECT_TRUE(readPredictionLog(cs).entries.empty());
    EXPECT_TRUE(readBytes(path) == bytes);  // reading creates nothing

    recordPrediction(cs, entryFor(3, 4));
    recordPrediction(cs, entryFor(5, 0));
    const PredictionLogRead read = readPredictionLog(cs);
    EXPECT_EQ(read.unreadable, 0);
    EXPECT_TRUE(sameEntries(read.entries, {entryFor(3, 4), entryFor(5, 0)}));
    EXPECT_EQ(openDrawSnapshot(cs).recordCount(), 2u);  // the draws are as they were
}

TEST(PredictionLog, AStoredPredictionNeverChanges)
{
    TempDir dir;
    const std::string path = makeDatabase(dir.file("Rumone.mdb"), {{1, {1, 2, 3, 4}}, {2, {5, 6, 7, 8}}});
    const std::string cs = connectionStringForFile(path);
    recordPrediction(cs, entryFor(3, 2));

    // A second record for the same draw is refused.
    EXPECT_EQ(causeOf([&] { recordPrediction(cs, entryFor(3, 7)); }), Cause::Constraint);
    // So is a record for a draw already entered.
    EXPECT_EQ(causeOf([&] { recordPrediction(cs, entryFor(2, 0)); }), Cause::Constraint);

    // Past draws edited, deleted, and the target entered.
    {
        DrawEditSet set = openDrawEditSet(cs);
        set.setDigit(0, 1, 9);
        set.deleteRow(1);
        set.importDraws(editRowsOf({{3, {0, 0, 0, 0}}}));
    }
    // Changing the table behind the program's back is refused too.
    const ConnectionInfo info = parseConnectionString(cs);
    sqlite::Connection db = openKeyedDatabase(info, OpenAccess::ReadWrite);
    EXPECT_NE(sqlite::exec(db.get(), "UPDATE 予想記録 SET 反映数 = 9"), SQLITE_OK);
    EXPECT_NE(sqlite::exec(db.get(), "DELETE FROM 予想記録"), SQLITE_OK);
    db.reset();

    EXPECT_TRUE(sameEntries(readPredictionLog(cs).entries, {entryFor(3, 2)}));
}

// Root ignores file permissions: the write runs as an ordinary user.
TEST(PredictionLog, AReadOnlyFileIsReportedAndLeftAsItWas)
{
    TempDir dir;
    const std::string path = makeDatabase(dir.file("Rumone.mdb"), {{1, {1, 2, 3, 4}}});
    const std::string cs = connectionStringForFile(path);
    const std::string bytes = readBytes(path);
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    EXPECT_EXIT(
        {
            if (geteuid() == 0) {
                (void)!chown(path.c_str(), 65534, 65534);
                (void)!chown(dir.path().c_str(), 65534, 65534);
                if (setgid(65534) != 0 || setuid(65534) != 0)
                    std::_Exit(3);
            }
            const bool refused = causeOf([&] { recordPrediction(cs, entryFor(2, 0)); }) == Cause::ReadOnly;
            std::_Exit(refused && readPredictionLog(cs).entries.empty() ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_TRUE(readBytes(path) == bytes);
}

}  // namespace
}  // namespace rumone::test
