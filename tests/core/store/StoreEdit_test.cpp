// The snapshot and the edit set over one database: order, values as
// stored, snapshot isolation, write-as-you-go and all-or-nothing failures.
#include <sys/stat.h>
#include <unistd.h>

#include "StoreTestHelpers.h"

namespace rumone::test {
namespace {

using Cause = StoreError::Cause;

std::string DigitsText(const std::array<DbValue, 4>& digits)
{
    std::string s;
    for (const DbValue& d : digits) {
        if (!s.empty())
            s += ' ';
        switch (d.type) {
        case DbValue::Type::Null: s += '-'; break;
        case DbValue::Type::Integer: s += std::to_string(d.integer); break;
        case DbValue::Type::Real: s += std::to_string(d.real).substr(0, 3); break;
        default: s += d.text; break;
        }
    }
    return s;
}

// "回数:d d d d" for every row, as the file holds it now.
std::vector<std::string> OnDisk(const std::string& path)
{
    std::vector<std::string> out;
    const DrawSnapshot snapshot = OpenDrawSnapshot(ConnectionStringFor(path));
    for (const DrawRecord& r : snapshot.Rows())
        out.push_back(std::to_string(r.number.integer) + ":" + DigitsText(r.digits));
    return out;
}

std::vector<std::string> InSet(const DrawEditSet& set)
{
    std::vector<std::string> out;
    for (const EditRow& r : set.Rows())
        out.push_back(std::to_string(r.number.integer) + ":" + DigitsText(r.digits));
    return out;
}

using Lines = std::vector<std::string>;

TEST(StoreSnapshot, DeliversRowsInDrawOrderWithValuesAsStored)
{
    TempDir dir;
    const std::string path = MakeDatabase(dir.file("Rumone.mdb"), {});
    EXPECT_EQ(OpenDrawSnapshot(ConnectionStringFor(path)).RecordCount(), 0u);

    RawExec(path,
        "INSERT INTO 結果マスタ VALUES (3, 10, 1.5, NULL, '');"
        "INSERT INTO 結果マスタ VALUES (1, 1, 2, 3, 4);"
        "INSERT INTO 結果マスタ VALUES (2, NULL, NULL, NULL, NULL);");
    const DrawSnapshot s = OpenDrawSnapshot(ConnectionStringFor(path));
    ASSERT_EQ(s.RecordCount(), 3u);
    EXPECT_EQ(NumbersOf(s.Rows()), (Lines{"1", "2", "3"}));
    EXPECT_TRUE(s.Rows()[1].digits[0].IsNull());
    const auto& foreign = s.Rows()[2].digits;
    EXPECT_EQ(foreign[0].type, DbValue::Type::Integer);
    EXPECT_EQ(foreign[0].integer, 10);
    EXPECT_EQ(foreign[1].type, DbValue::Type::Real);
    EXPECT_DOUBLE_EQ(foreign[1].real, 1.5);
    EXPECT_EQ(foreign[3].type, DbValue::Type::Text);
}

TEST(StoreSnapshot, IsNotChangedByLaterWritesOfTheEditSet)
{
    TempDir dir;
    const std::string path = MakeDatabase(dir.file("Rumone.mdb"), {{1, {1, 2, 3, 4}}, {2, {5, 6, 7, 8}}});
    const DrawSnapshot snapshot = OpenDrawSnapshot(ConnectionStringFor(path));
    DrawEditSet set = OpenDrawEditSet(ConnectionStringFor(path));
    set.SetDigit(0, 1, 9);
    set.DeleteRow(1);
    set.InsertRow(1);

    ASSERT_EQ(snapshot.RecordCount(), 2u);
    EXPECT_EQ(snapshot.Rows()[0].digits[0].integer, 1);
    EXPECT_EQ(snapshot.Rows()[1].number.integer, 2);
    EXPECT_EQ(OnDisk(path), (Lines{"1:9 2 3 4", "2:- - - -"}));
}

TEST(StoreEditSet, EveryChangeIsInTheFileWhenTheCallReturns)
{
    TempDir dir;
    const std::string path = MakeDatabase(dir.file("Rumone.mdb"), {});
    DrawEditSet set = OpenDrawEditSet(ConnectionStringFor(path));
    EXPECT_EQ(set.RecordCount(), 0u);

    set.InsertRow(0);  // an empty table starts at 1
    EXPECT_EQ(OnDisk(path), (Lines{"1:- - - -"}));
    set.SetDigit(0, 1, 7);
    set.SetDigit(0, 4, 0);
    EXPECT_EQ(OnDisk(path), (Lines{"1:7 - - 0"}));
    set.SetDigit(0, 1, std::nullopt);
    EXPECT_EQ(OnDisk(path), (Lines{"1:- - - 0"}));

    set.ImportDraws(EditRowsOf({{5, {5, 5, 5, 5}}, {3, {3, 3, 3, 3}}}));
    EXPECT_EQ(InSet(set), (Lines{"1:- - - 0", "3:3 3 3 3", "5:5 5 5 5"}));
    EXPECT_EQ(OnDisk(path), InSet(set));

    // A new row takes the highest number plus one, placed where it was asked.
    set.InsertRow(1);
    EXPECT_EQ(InSet(set), (Lines{"1:- - - 0", "6:- - - -", "3:3 3 3 3", "5:5 5 5 5"}));
    EXPECT_EQ(OnDisk(path), (Lines{"1:- - - 0", "3:3 3 3 3", "5:5 5 5 5", "6:- - - -"}));

    set.DeleteRow(2);
    EXPECT_EQ(OnDisk(path), (Lines{"1:- - - 0", "5:5 5 5 5", "6:- - - -"}));

    // Import replaces stored draws and adds the others, then rereads in order.
    const auto draws = EditRowsOf({{6, {6, 6, 6, -1}}, {2, {2, 2, 2, 2}}});
    EXPECT_EQ(set.CountExisting(draws), 1u);
    set.ImportDraws(draws);
    EXPECT_EQ(InSet(set), (Lines{"1:- - - 0", "2:2 2 2 2", "5:5 5 5 5", "6:6 6 6 -"}));
    EXPECT_EQ(OnDisk(path), InSet(set));
    EXPECT_EQ(CheckDatabaseIntegrity(ConnectionStringFor(path)), Lines{"ok"});
}

TEST(StoreEditSet, RefusedWritesLeaveFileAndRowsAlone)
{
    TempDir dir;
    const std::string path = MakeDatabase(dir.file("Rumone.mdb"), {{1, {1, 2, 3, 4}}, {32767, {0, 0, 0, 0}}});
    DrawEditSet set = OpenDrawEditSet(ConnectionStringFor(path));
    const Lines rows = InSet(set);
    const std::string bytes = ReadBytes(path);
    auto unchanged = [&] {
        EXPECT_EQ(InSet(set), rows);
        EXPECT_TRUE(ReadBytes(path) == bytes);
    };

    EXPECT_EQ(CauseOf([&] { set.InsertRow(0); }), Cause::Constraint);  // past 32767
    unchanged();

    auto bad = EditRowsOf({{2, {2, 2, 2, 2}}});
    bad.push_back(EditRow{DbValue::Null(), {}});
    EXPECT_EQ(CauseOf([&] { set.ImportDraws(bad); }), Cause::Constraint);
    unchanged();

    EXPECT_THROW(set.SetDigit(5, 1, 1), StoreError);
    EXPECT_THROW(set.SetDigit(0, 5, 1), StoreError);
    EXPECT_THROW(set.DeleteRow(2), StoreError);
    unchanged();

    // Another writer changed the row since this set read it.
    RawExec(path, "UPDATE 結果マスタ SET 第2数字 = 9 WHERE 回数 = 1");
    const std::string changed = ReadBytes(path);
    EXPECT_THROW(set.SetDigit(0, 1, 5), StoreError);
    EXPECT_THROW(set.DeleteRow(0), StoreError);
    EXPECT_EQ(InSet(set), rows);
    EXPECT_TRUE(ReadBytes(path) == changed);
}

TEST(StoreEditSet, LockedDatabaseIsReportedAndNothingIsWritten)
{
    TempDir dir;
    const std::string path = MakeDatabase(dir.file("Rumone.mdb"), {{1, {1, 2, 3, 4}}});
    DrawEditSet set = OpenDrawEditSet(ConnectionStringFor(path));

    const ConnectionInfo info = ParseConnectionString(ConnectionStringFor(path));
    sqlite::Connection other = OpenKeyedDatabase(info, OpenAccess::ReadWrite);
    ASSERT_EQ(sqlite::Exec(other.get(), "BEGIN IMMEDIATE"), SQLITE_OK);
    EXPECT_EQ(CauseOf([&] { set.SetDigit(0, 1, 9); }), Cause::Locked);
    ASSERT_EQ(sqlite::Exec(other.get(), "ROLLBACK"), SQLITE_OK);

    EXPECT_EQ(InSet(set), Lines{"1:1 2 3 4"});
    EXPECT_EQ(OnDisk(path), Lines{"1:1 2 3 4"});
    set.SetDigit(0, 1, 9);  // works again once the other writer is gone
    EXPECT_EQ(OnDisk(path), Lines{"1:9 2 3 4"});
}

// Runs `body` in a child process without the privilege to override file
// permissions (the tests may run as root), for read-only checks.
void AsUnprivilegedUser(const TempDir& dir, const std::function<bool()>& body)
{
    EXPECT_EXIT(
        {
            if (geteuid() == 0) {
                for (const auto& e : std::filesystem::recursive_directory_iterator(dir.path()))
                    (void)!chown(e.path().c_str(), 65534, 65534);
                (void)!chown(dir.path().c_str(), 65534, 65534);
                if (setgid(65534) != 0 || setuid(65534) != 0)
                    std::_Exit(3);
            }
            std::_Exit(body() ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

TEST(StoreEditSet, ReadOnlyFileOrFolderGivesReadOnlyAndLosesNothing)
{
    TempDir dir;
    const std::string path = MakeDatabase(dir.file("Rumone.mdb"), {{1, {1, 2, 3, 4}}, {2, {5, 6, 7, 8}}});
    const std::string bytes = ReadBytes(path);
    const std::string cs = ConnectionStringFor(path);

    // A read-only file.
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    AsUnprivilegedUser(dir, [&] {
        DrawEditSet set = OpenDrawEditSet(cs);
        bool ok = CauseOf([&] { set.SetDigit(0, 1, 9); }) == Cause::ReadOnly;
        ok = CauseOf([&] { set.InsertRow(2); }) == Cause::ReadOnly && ok;
        ok = CauseOf([&] { set.DeleteRow(0); }) == Cause::ReadOnly && ok;
        ok = set.RecordCount() == 2 && OpenDrawSnapshot(cs).RecordCount() == 2 && ok;
        return ok;
    });
    EXPECT_TRUE(ReadBytes(path) == bytes);

    // A writable file in a read-only folder: no journal can be made.
    ASSERT_EQ(chmod(path.c_str(), 0644), 0);
    ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
    AsUnprivilegedUser(dir, [&] {
        DrawEditSet set = OpenDrawEditSet(cs);
        const bool ok = CauseOf([&] { set.SetDigit(0, 1, 9); }) == Cause::ReadOnly;
        return ok && set.Rows()[0].digits[0].integer == 1;
    });
    EXPECT_TRUE(ReadBytes(path) == bytes);
}

}  // namespace
}  // namespace rumone::test
