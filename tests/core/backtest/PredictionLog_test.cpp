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
    LoggedPrediction e{target, *parseStoredTime("2026-12-08T09:00:00Z"), reflect, {}};
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
    const DrawDatabaseRef cs = drawDatabaseAt(path);
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
    const DrawDatabaseRef cs = drawDatabaseAt(path);
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
    sqlite::Connection db = openKeyedDatabase(cs, OpenAccess::ReadWrite);
    EXPECT_NE(sqlite::exec(db.get(), "UPDATE 予想記録 SET 反映数 = 9"), SQLITE_OK);
    EXPECT_NE(sqlite::exec(db.get(), "DELETE FROM 予想記録"), SQLITE_OK);
    db.reset();

    EXPECT_TRUE(sameEntries(readPredictionLog(cs).entries, {entryFor(3, 2)}));
}

// Changing the log behind the program's back: INSERT OR REPLACE is
// refused outright; with the guards dropped, each change is named when the
// log is read and the changed rows are left out.
TEST(PredictionLog, ChangesBehindTheProgramsBackAreNamedWhenTheLogIsRead)
{
    struct Case {
        const char* name;
        const char* sql;
        std::vector<int> counted;
        std::vector<std::pair<int, LeftOutReason>> leftOut;
        std::vector<int> breaksBefore;
    };
    const char* const dropGuards =
        "DROP TRIGGER 予想記録_変更禁止; DROP TRIGGER 予想記録_削除禁止; DROP TRIGGER 予想記録_上書き禁止;";
    const std::vector<Case> cases = {
        {"nothing changed", "", {3, 4, 5}, {}, {}},
        {"a row changed",
         "UPDATE 予想記録 SET 反映数 = 9 WHERE 対象回数 = 4",
         {3, 5},
         {{4, LeftOutReason::Changed}},
         {}},
        {"a row's salt changed",
         "UPDATE 予想記録 SET 塩 = '00' || 塩 WHERE 対象回数 = 4",
         {3, 5},
         {{4, LeftOutReason::Changed}},
         {}},
        {"a row's salt taken away",
         "UPDATE 予想記録 SET 塩 = NULL WHERE 対象回数 = 4",
         {3, 5},
         {{4, LeftOutReason::Changed}},
         {}},
        {"a row removed", "DELETE FROM 予想記録 WHERE 対象回数 = 4", {3, 5}, {}, {5}},
        {"a row put in without the chain",
         "INSERT INTO 予想記録 (対象回数, 記録日時, 反映数, \"周期7\", \"周期9\", \"周期11\", \"周期12\", 消去法, 連発,"
         " 一発) SELECT 6, 記録日時, 反映数, \"周期7\", \"周期9\", \"周期11\", \"周期12\", 消去法, 連発, 一発"
         " FROM 予想記録 WHERE 対象回数 = 3",
         {3, 4, 5},
         {{6, LeftOutReason::Unchained}},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string path = makeDatabase(dir.file("Rumone.mdb"), {{1, {1, 2, 3, 4}}, {2, {5, 6, 7, 8}}});
        const DrawDatabaseRef cs = drawDatabaseAt(path);
        for (const int target : {3, 4, 5})
            recordPrediction(cs, entryFor(target, 1));
        {
            sqlite::Connection db = openKeyedDatabase(cs, OpenAccess::ReadWrite);
            EXPECT_NE(
                sqlite::exec(db.get(), "INSERT OR REPLACE INTO 予想記録 SELECT * FROM 予想記録 WHERE 対象回数 = 4"),
                SQLITE_OK);
        }
        if (*c.sql)
            rawExec(path, std::string(dropGuards) + c.sql);
        const PredictionLogRead read = readPredictionLog(cs);
        std::vector<int> counted;
        for (const LoggedPrediction& e : read.entries)
            counted.push_back(e.target);
        std::vector<std::pair<int, LeftOutReason>> leftOut;
        for (const LeftOutPrediction& l : read.leftOut)
            leftOut.emplace_back(l.target, l.reason);
        EXPECT_EQ(counted, c.counted);
        EXPECT_EQ(leftOut, c.leftOut);
        EXPECT_EQ(read.breaksBefore, c.breaksBefore);
        EXPECT_EQ(leftOutText(read).empty(), c.leftOut.empty() && c.breaksBefore.empty());
        for (const auto& [target, reason] : c.leftOut)
            EXPECT_NE(leftOutText(read).find("第" + std::to_string(target) + "回"), std::string::npos);
    }
}

// A prediction counts only when it was recorded before its draw, and
// before any later draw, was first entered; deleting a draw and entering
// it again does not move that time.
TEST(PredictionLog, APredictionCountsOnlyWhenRecordedBeforeItsDrawWasFirstEntered)
{
    TempDir dir;
    const std::string path = makeDatabase(dir.file("Rumone.mdb"), {{1, {1, 2, 3, 4}}, {2, {5, 6, 7, 8}}});
    const DrawDatabaseRef cs = drawDatabaseAt(path);
    auto entered = [&](std::initializer_list<Row> rows) { openDrawEditSet(cs).importDraws(editRowsOf(rows)); };
    const StoredTime longAgo = *parseStoredTime("2000-01-01T00:00:00Z");
    recordPrediction(cs, {3, longAgo, 0, {}});
    entered({{3, {1, 1, 1, 1}}, {4, {2, 2, 2, 2}}});
    // Draw 4 deleted, a prediction recorded for it now, draw 4 entered again.
    {
        DrawEditSet set = openDrawEditSet(cs);
        set.deleteRow(3);
    }
    recordPrediction(cs, {4, storedTimeNow(), 0, {}});
    entered({{4, {2, 2, 2, 2}}});
    // Draw 6 known before draw 5 was recorded.
    entered({{6, {3, 3, 3, 3}}});
    recordPrediction(cs, {5, storedTimeNow(), 0, {}});
    entered({{5, {4, 4, 4, 4}}});
    // Draw 8 entered by an older version, which notes no time.
    recordPrediction(cs, {8, longAgo, 0, {}});
    rawExec(path, "INSERT INTO 結果マスタ VALUES (8, 1, 2, 3, 4)");

    const PredictionLogRead read = readPredictionLog(cs);
    ASSERT_EQ(read.entries.size(), 1u);
    EXPECT_EQ(read.entries[0].target, 3);
    std::vector<std::pair<int, LeftOutReason>> leftOut;
    for (const LeftOutPrediction& l : read.leftOut)
        leftOut.emplace_back(l.target, l.reason);
    const std::vector<std::pair<int, LeftOutReason>> expected = {{4, LeftOutReason::RecordedAfterTheDraw},
                                                                 {5, LeftOutReason::RecordedAfterTheDraw},
                                                                 {8, LeftOutReason::EntryTimeUnknown}};
    EXPECT_EQ(leftOut, expected);
    // The first times stay as they were.
    sqlite::Connection db = openKeyedDatabase(cs, OpenAccess::ReadWrite);
    for (const char* sql :
         {"UPDATE 当選数字入力日時 SET 入力日時 = '2100-01-01 00:00:00'", "DELETE FROM 当選数字入力日時",
          "INSERT OR REPLACE INTO 当選数字入力日時 VALUES (4, '2100-01-01 00:00:00')"})
        EXPECT_NE(sqlite::exec(db.get(), sql), SQLITE_OK) << sql;
}

// Times written under different zones compare as the moments they are: a
// prediction recorded under UTC-12 a moment after its draw was first
// entered under UTC+9 (whose local text reads almost a day later) is made
// after its draw.
TEST(PredictionLog, ARecordAfterTheFirstEntryCountsAsAfterWhateverTheZones)
{
    TempDir dir;
    const std::string path = makeDatabase(dir.file("Rumone.mdb"), {{1, {1, 2, 3, 4}}, {2, {5, 6, 7, 8}}});
    const DrawDatabaseRef cs = drawDatabaseAt(path);
    {
        const EnvForTest tokyo("TZ", "Asia/Tokyo");
        openDrawEditSet(cs).importDraws(editRowsOf({{3, {1, 1, 1, 1}}}));
        openDrawEditSet(cs).deleteRow(2);
    }
    const EnvForTest west("TZ", "Etc/GMT+12");
    recordPrediction(cs, {3, storedTimeNow(), 0, {}});
    openDrawEditSet(cs).importDraws(editRowsOf({{3, {1, 1, 1, 1}}}));

    const PredictionLogRead read = readPredictionLog(cs);
    EXPECT_TRUE(read.entries.empty());
    ASSERT_EQ(read.leftOut.size(), 1u);
    EXPECT_EQ(read.leftOut[0].reason, LeftOutReason::RecordedAfterTheDraw);
}

// A log from before the chain: its rows stay readable but count for
// nothing (whether they came before their draws cannot be told), and the
// next record extends the table and counts.
TEST(PredictionLog, RowsFromBeforeTheChainAreLeftOutAndTheNextRecordCounts)
{
    TempDir dir;
    const std::string path = makeDatabase(dir.file("Rumone.mdb"), {{1, {1, 2, 3, 4}}});
    const DrawDatabaseRef cs = drawDatabaseAt(path);
    rawExec(path,
            "CREATE TABLE 予想記録 (対象回数 INTEGER PRIMARY KEY, 記録日時 TEXT NOT NULL, 反映数 INTEGER NOT NULL,"
            " \"周期7\" TEXT NOT NULL, \"周期9\" TEXT NOT NULL, \"周期11\" TEXT NOT NULL, \"周期12\" TEXT NOT NULL,"
            " 消去法 TEXT NOT NULL, 連発 TEXT NOT NULL, 一発 TEXT NOT NULL);"
            "INSERT INTO 予想記録 VALUES (2, '2000-01-01 00:00:00', 0, '- - - -', '- - - -', '- - - -', '- - - -',"
            " '- - - -', '- - - -', '- - - -');");
    PredictionLogRead read = readPredictionLog(cs);
    EXPECT_TRUE(read.entries.empty());
    ASSERT_EQ(read.leftOut.size(), 1u);
    EXPECT_EQ(read.leftOut[0].reason, LeftOutReason::Unchained);

    recordPrediction(cs, entryFor(3, 2));
    read = readPredictionLog(cs);
    EXPECT_TRUE(sameEntries(read.entries, {entryFor(3, 2)}));
    EXPECT_EQ(read.leftOut.size(), 1u);
    EXPECT_TRUE(read.breaksBefore.empty());
}

// Root ignores file permissions: the write runs as an ordinary user.
TEST(PredictionLog, AReadOnlyFileIsReportedAndLeftAsItWas)
{
    TempDir dir;
    const std::string path = makeDatabase(dir.file("Rumone.mdb"), {{1, {1, 2, 3, 4}}});
    const DrawDatabaseRef cs = drawDatabaseAt(path);
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
