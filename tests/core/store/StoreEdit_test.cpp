// The snapshot and the edit set over one database: order, values as
// stored, snapshot isolation, write-as-you-go and all-or-nothing failures.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <functional>

#include "StoreTestHelpers.h"
#include "core/store/DrawImport.h"

namespace rumone::test {
namespace {

using Cause = StoreError::Cause;

std::string digitsText(const std::array<DbValue, 4>& digits)
{
    std::string s;
    for (const DbValue& d : digits) {
        if (!s.empty())
            s += ' ';
        switch (d.type) {
            case DbValue::Type::Null:
                s += '-';
                break;
            case DbValue::Type::Integer:
                s += std::to_string(d.integer);
                break;
            case DbValue::Type::Real:
                s += std::to_string(d.real).substr(0, 3);
                break;
            default:
                s += d.text;
                break;
        }
    }
    return s;
}

// "回数:d d d d" for every row, as the file holds it now.
std::vector<std::string> onDisk(const std::string& path)
{
    std::vector<std::string> out;
    const DrawSnapshot snapshot = openDrawSnapshot(drawDatabaseAt(path));
    for (const DrawRecord& r : snapshot.rows())
        out.push_back(std::to_string(r.number.integer) + ":" + digitsText(r.digits));
    return out;
}

std::vector<std::string> inSet(const DrawEditSet& set)
{
    std::vector<std::string> out;
    for (const EditRow& r : set.rows())
        out.push_back(std::to_string(r.number.integer) + ":" + digitsText(r.digits));
    return out;
}

using Lines = std::vector<std::string>;

TEST(StoreSnapshot, DeliversRowsInDrawOrderWithValuesAsStored)
{
    TempDir dir;
    const std::string path = makeDatabase(dir.file("Rumone.mdb"), {});
    EXPECT_EQ(openDrawSnapshot(drawDatabaseAt(path)).recordCount(), 0u);

    rawExec(path,
            "INSERT INTO 結果マスタ VALUES (3, 10, 1.5, NULL, '');"
            "INSERT INTO 結果マスタ VALUES (1, 1, 2, 3, 4);"
            "INSERT INTO 結果マスタ VALUES (2, NULL, NULL, NULL, NULL);");
    const DrawSnapshot s = openDrawSnapshot(drawDatabaseAt(path));
    ASSERT_EQ(s.recordCount(), 3u);
    EXPECT_EQ(numbersOf(s.rows()), (Lines{"1", "2", "3"}));
    EXPECT_TRUE(s.rows()[1].digits[0].isNull());
    const auto& foreign = s.rows()[2].digits;
    EXPECT_EQ(foreign[0].type, DbValue::Type::Integer);
    EXPECT_EQ(foreign[0].integer, 10);
    EXPECT_EQ(foreign[1].type, DbValue::Type::Real);
    EXPECT_DOUBLE_EQ(foreign[1].real, 1.5);
    EXPECT_EQ(foreign[3].type, DbValue::Type::Text);
}

TEST(StoreSnapshot, IsNotChangedByLaterWritesOfTheEditSet)
{
    TempDir dir;
    const std::string path = makeDatabase(dir.file("Rumone.mdb"), {{1, {1, 2, 3, 4}}, {2, {5, 6, 7, 8}}});
    const DrawSnapshot snapshot = openDrawSnapshot(drawDatabaseAt(path));
    DrawEditSet set = openDrawEditSet(drawDatabaseAt(path));
    set.setDigit(0, 1, 9);
    set.deleteRow(1);
    set.insertRow(1);

    ASSERT_EQ(snapshot.recordCount(), 2u);
    EXPECT_EQ(snapshot.rows()[0].digits[0].integer, 1);
    EXPECT_EQ(snapshot.rows()[1].number.integer, 2);
    EXPECT_EQ(onDisk(path), (Lines{"1:9 2 3 4", "2:- - - -"}));
}

TEST(StoreEditSet, EveryChangeIsInTheFileWhenTheCallReturns)
{
    TempDir dir;
    const std::string path = makeDatabase(dir.file("Rumone.mdb"), {});
    DrawEditSet set = openDrawEditSet(drawDatabaseAt(path));
    EXPECT_EQ(set.recordCount(), 0u);

    set.insertRow(0);  // an empty table starts at 1
    EXPECT_EQ(onDisk(path), (Lines{"1:- - - -"}));
    set.setDigit(0, 1, 7);
    set.setDigit(0, 4, 0);
    EXPECT_EQ(onDisk(path), (Lines{"1:7 - - 0"}));
    set.setDigit(0, 1, std::nullopt);
    EXPECT_EQ(onDisk(path), (Lines{"1:- - - 0"}));

    set.importDraws(editRowsOf({{5, {5, 5, 5, 5}}, {3, {3, 3, 3, 3}}}));
    EXPECT_EQ(inSet(set), (Lines{"1:- - - 0", "3:3 3 3 3", "5:5 5 5 5"}));
    EXPECT_EQ(onDisk(path), inSet(set));

    // A new row after draw 1 fills the missed draw 2, where it was asked.
    EXPECT_EQ(set.insertRow(1), 1u);
    EXPECT_EQ(inSet(set), (Lines{"1:- - - 0", "2:- - - -", "3:3 3 3 3", "5:5 5 5 5"}));
    EXPECT_EQ(onDisk(path), inSet(set));

    set.deleteRow(2);
    EXPECT_EQ(onDisk(path), (Lines{"1:- - - 0", "2:- - - -", "5:5 5 5 5"}));

    // Import replaces stored draws and adds the others, then rereads in order.
    const auto draws = editRowsOf({{6, {6, 6, 6, -1}}, {2, {2, 2, 2, 2}}});
    EXPECT_EQ(set.countExisting(draws), 1u);
    set.importDraws(draws);
    EXPECT_EQ(inSet(set), (Lines{"1:- - - 0", "2:2 2 2 2", "5:5 5 5 5", "6:6 6 6 -"}));
    EXPECT_EQ(onDisk(path), inSet(set));
    EXPECT_EQ(checkDatabaseIntegrity(drawDatabaseAt(path)), Lines{"ok"});
}

// An import's progress runs over its reads and its rows as one count:
// never backwards, never past its total, and at the total when it returns.
TEST(StoreEditSet, AnImportsProgressRisesToItsTotal)
{
    TempDir dir;
    const std::string path = makeDatabase(dir.file("Rumone.mdb"), {{1, {1, 1, 1, 1}}});
    std::vector<Row> rows;
    for (int n = 2; n <= 600; ++n)
        rows.push_back({n, {n % 10, 0, 0, 0}});
    DrawEditSet set = openDrawEditSet(drawDatabaseAt(path));
    std::vector<std::pair<std::size_t, std::size_t>> told;
    set.importPreviewed(previewImport(editRowsOf(rows), set.rows()),
                        [&told](std::size_t done, std::size_t total) { told.emplace_back(done, total); });
    ASSERT_FALSE(told.empty());
    for (std::size_t i = 1; i < told.size(); ++i) {
        EXPECT_GE(told[i].first, told[i - 1].first) << i;
        EXPECT_EQ(told[i].second, told[0].second) << i;
    }
    EXPECT_GT(told[0].second, rows.size());
    EXPECT_EQ(told.back().first, told.back().second);
}

// Opened on its last rows: the rest comes with readAllRows; a write by row
// index waits for them, an import reads them itself; rowsBefore tells how
// the rows shown first sit in all of them.
TEST(StoreEditSet, OpenedOnItsLastRowsItReadsTheRestWhenAsked)
{
    TempDir dir;
    const std::string path =
        makeDatabase(dir.file("Rumone.mdb"), {{1, {1, 1, 1, 1}}, {2, {2, 2, 2, 2}}, {3, {3, 3, 3, 3}}});
    DrawEditSet set = openDrawEditSet(drawDatabaseAt(path), 2);
    EXPECT_FALSE(set.complete());
    EXPECT_EQ(inSet(set), (Lines{"2:2 2 2 2", "3:3 3 3 3"}));
    EXPECT_THROW(set.setDigit(0, 1, 5), std::logic_error);
    std::vector<EditRow> all = set.readAllRows();
    EXPECT_EQ(rowsBefore(all, set.rows()), std::optional<std::size_t>(1));
    set.adoptAllRows(std::move(all));
    EXPECT_TRUE(set.complete());
    EXPECT_EQ(inSet(set), onDisk(path));

    EXPECT_FALSE(openDrawEditSet(drawDatabaseAt(path), 3).complete());  // more may follow
    EXPECT_TRUE(openDrawEditSet(drawDatabaseAt(path), 4).complete());
    DrawEditSet importing = openDrawEditSet(drawDatabaseAt(path), 1);
    importing.importDraws(editRowsOf({{4, {4, 4, 4, 4}}}));
    EXPECT_TRUE(importing.complete());
    EXPECT_EQ(inSet(importing), onDisk(path));

    const std::vector<EditRow> rows = editRowsOf({{1, {1, 1, 1, 1}}, {2, {2, 2, 2, 2}}});
    EXPECT_EQ(rowsBefore(rows, {}), std::optional<std::size_t>(2));
    EXPECT_EQ(rowsBefore(rows, editRowsOf({{1, {1, 1, 1, 1}}})), std::nullopt);   // not the end
    EXPECT_EQ(rowsBefore(rows, editRowsOf({{2, {2, 2, 2, -1}}})), std::nullopt);  // changed since
    EXPECT_EQ(rowsBefore(editRowsOf({{2, {2, 2, 2, 2}}}), rows), std::nullopt);
}

// Opened on a thread of its own (or by the taker, when that thread has not
// run yet) and handed to the caller: the same rows, written from the
// caller's thread, another program's write since the open refused as after
// any open, and a failed open thrown by take().
TEST(StoreEditSet, OpenedOnAThreadItIsUsedByTheThreadThatTakesIt)
{
    TempDir dir;
    const std::string path = makeDatabase(dir.file("Rumone.mdb"), {{1, {1, 1, 1, 1}}, {2, {2, 2, 2, 2}}});
    DrawEditSetOpening opening(drawDatabaseAt(path), 1);
    DrawEditSet set = opening.take();
    EXPECT_THROW(opening.take(), std::logic_error);
    EXPECT_EQ(inSet(set), (Lines{"2:2 2 2 2"}));
    set.adoptAllRows(set.readAllRows());
    set.setDigit(1, 4, 7);
    EXPECT_EQ(onDisk(path), (Lines{"1:1 1 1 1", "2:2 2 2 7"}));

    DrawEditSet stale = DrawEditSetOpening(drawDatabaseAt(path)).take();
    set.setDigit(0, 1, 0);
    try {
        stale.setDigit(1, 1, 5);
        ADD_FAILURE() << "a write after another's was not refused";
    } catch (const StoreError& e) {
        EXPECT_EQ(e.cause(), Cause::Other);
    }
    EXPECT_EQ(onDisk(path), (Lines{"1:0 1 1 1", "2:2 2 2 7"}));

    DrawEditSetOpening missing(drawDatabaseAt(dir.file("none.mdb")));
    try {
        missing.take();
        ADD_FAILURE() << "a missing file was opened";
    } catch (const StoreError& e) {
        EXPECT_EQ(e.cause(), Cause::FileMissing);
    }
}

// Where a new row stands and which number it takes: the missed draw after
// the row it follows, or the next draw at the end; the file gives the rows
// back in the same order.
TEST(StoreEditSet, ANewRowFillsAMissedDrawOrFollowsTheHighest)
{
    struct Case {
        std::size_t askedAt;
        std::size_t standsAt;
        Lines numbers;
    };
    const std::vector<Case> cases = {
        {2, 2, {"1", "2", "3", "5", "6"}},  // after 2: the missed 3
        {1, 4, {"1", "2", "5", "6", "7"}},  // after 1: 2 is there, so 7 at the end
        {4, 4, {"1", "2", "5", "6", "7"}},  // after the last row
        {0, 4, {"1", "2", "5", "6", "7"}},  // at the top: nothing before it
        {3, 4, {"1", "2", "5", "6", "7"}},  // after 5: 6 is there
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string path = makeDatabase(
            dir.file("Rumone.mdb"), {{1, {1, 1, 1, 1}}, {2, {2, 2, 2, 2}}, {5, {5, 5, 5, 5}}, {6, {6, 6, 6, 6}}});
        DrawEditSet set = openDrawEditSet(drawDatabaseAt(path));
        EXPECT_EQ(set.insertRow(c.askedAt), c.standsAt) << "asked at " << c.askedAt;
        Lines numbers;
        for (const EditRow& r : set.rows())
            numbers.push_back(std::to_string(r.number.integer));
        EXPECT_EQ(numbers, c.numbers) << "asked at " << c.askedAt;
        EXPECT_EQ(onDisk(path), inSet(set)) << "asked at " << c.askedAt;
    }
}

TEST(StoreEditSet, RefusedWritesLeaveFileAndRowsAlone)
{
    TempDir dir;
    const std::string path = makeDatabase(dir.file("Rumone.mdb"), {{1, {1, 2, 3, 4}}, {32767, {0, 0, 0, 0}}});
    DrawEditSet set = openDrawEditSet(drawDatabaseAt(path));
    const Lines rows = inSet(set);
    const std::string bytes = readBytes(path);
    auto unchanged = [&] {
        EXPECT_EQ(inSet(set), rows);
        EXPECT_TRUE(readBytes(path) == bytes);
    };

    EXPECT_EQ(causeOf([&] { set.insertRow(0); }), Cause::Constraint);  // past 32767
    unchanged();

    auto bad = editRowsOf({{2, {2, 2, 2, 2}}});
    bad.push_back(EditRow{DbValue::null(), {}});
    EXPECT_EQ(causeOf([&] { set.importDraws(bad); }), Cause::Constraint);
    unchanged();

    // A bad index or position is the caller's mistake, not a store failure.
    EXPECT_THROW(set.setDigit(5, 1, 1), std::logic_error);
    EXPECT_THROW(set.setDigit(0, 5, 1), std::logic_error);
    EXPECT_THROW(set.deleteRow(2), std::logic_error);
    unchanged();

    // Another writer changed the row since this set read it.
    rawExec(path, "UPDATE 結果マスタ SET 第2数字 = 9 WHERE 回数 = 1");
    const std::string changed = readBytes(path);
    EXPECT_THROW(set.setDigit(0, 1, 5), StoreError);
    EXPECT_THROW(set.deleteRow(0), StoreError);
    EXPECT_EQ(inSet(set), rows);
    EXPECT_TRUE(readBytes(path) == changed);
}

// What another process did to the file since the set read it stops the
// next write, every kind of write, with nothing written: a commit through
// another connection, or another file renamed over the path.
TEST(StoreEditSet, AFileChangedOrReplacedSinceTheReadRefusesTheNextWrite)
{
    struct Case {
        const char* what;
        std::function<void(const TempDir&, const std::string&)> change;
    };
    const std::vector<Case> changes = {
        {"another writer's commit, on another row",
         [](const TempDir&, const std::string& path) {
             rawExec(path, "UPDATE 結果マスタ SET 第1数字 = 0 WHERE 回数 = 2");
         }},
        {"another file renamed over the path",
         [](const TempDir& dir, const std::string& path) {
             makeDatabase(dir.file("other.mdb"), {{1, {9, 9, 9, 9}}, {2, {0, 0, 0, 0}}});
             ASSERT_EQ(std::rename(dir.file("other.mdb").c_str(), path.c_str()), 0);
         }},
    };
    const std::vector<std::pair<const char*, std::function<void(DrawEditSet&)>>> writes = {
        {"setDigit", [](DrawEditSet& set) { set.setDigit(0, 1, 5); }},
        {"insertRow", [](DrawEditSet& set) { set.insertRow(2); }},
        {"deleteRow", [](DrawEditSet& set) { set.deleteRow(0); }},
    };
    for (const Case& c : changes)
        for (const auto& [name, write] : writes) {
            TempDir dir;
            const std::string path = makeDatabase(dir.file("Rumone.mdb"), {{1, {1, 2, 3, 4}}, {2, {5, 6, 7, 8}}});
            DrawEditSet set = openDrawEditSet(drawDatabaseAt(path));
            c.change(dir, path);
            const Lines after = onDisk(path);
            std::string message;
            EXPECT_EQ(causeOf([&] { write(set); }, &message), Cause::Other) << c.what << " / " << name;
            EXPECT_EQ(onDisk(path), after) << c.what << " / " << name;
            EXPECT_EQ(inSet(set), (Lines{"1:1 2 3 4", "2:5 6 7 8"})) << c.what << " / " << name;
            // Opened again, the set writes to the file the path names now.
            DrawEditSet again = openDrawEditSet(drawDatabaseAt(path));
            again.setDigit(0, 4, 0);
            EXPECT_EQ(onDisk(path)[0].back(), '0') << c.what << " / " << name;
        }
}

TEST(StoreEditSet, LockedDatabaseIsReportedAndNothingIsWritten)
{
    TempDir dir;
    const std::string path = makeDatabase(dir.file("Rumone.mdb"), {{1, {1, 2, 3, 4}}});
    DrawEditSet set = openDrawEditSet(drawDatabaseAt(path));

    const DrawDatabaseRef info = drawDatabaseAt(path);
    sqlite::Connection other = openKeyedDatabase(info, OpenAccess::ReadWrite);
    ASSERT_EQ(sqlite::exec(other.get(), "BEGIN IMMEDIATE"), SQLITE_OK);
    EXPECT_EQ(causeOf([&] { set.setDigit(0, 1, 9); }), Cause::Locked);
    ASSERT_EQ(sqlite::exec(other.get(), "ROLLBACK"), SQLITE_OK);

    EXPECT_EQ(inSet(set), Lines{"1:1 2 3 4"});
    EXPECT_EQ(onDisk(path), Lines{"1:1 2 3 4"});
    set.setDigit(0, 1, 9);  // works again once the other writer is gone
    EXPECT_EQ(onDisk(path), Lines{"1:9 2 3 4"});
}

// Runs `body` in a child process without the privilege to override file
// permissions (the tests may run as root), for read-only checks.
void asUnprivilegedUser(const TempDir& dir, const std::function<bool()>& body)
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
    const std::string path = makeDatabase(dir.file("Rumone.mdb"), {{1, {1, 2, 3, 4}}, {2, {5, 6, 7, 8}}});
    const std::string bytes = readBytes(path);
    const DrawDatabaseRef cs = drawDatabaseAt(path);

    // A read-only file.
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    asUnprivilegedUser(dir, [&] {
        DrawEditSet set = openDrawEditSet(cs);
        bool ok = causeOf([&] { set.setDigit(0, 1, 9); }) == Cause::ReadOnly;
        ok = causeOf([&] { set.insertRow(2); }) == Cause::ReadOnly && ok;
        ok = causeOf([&] { set.deleteRow(0); }) == Cause::ReadOnly && ok;
        ok = set.recordCount() == 2 && openDrawSnapshot(cs).recordCount() == 2 && ok;
        return ok;
    });
    EXPECT_TRUE(readBytes(path) == bytes);

    // A writable file in a read-only folder: no journal can be made.
    ASSERT_EQ(chmod(path.c_str(), 0644), 0);
    ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
    asUnprivilegedUser(dir, [&] {
        DrawEditSet set = openDrawEditSet(cs);
        const bool ok = causeOf([&] { set.setDigit(0, 1, 9); }) == Cause::ReadOnly;
        return ok && set.rows()[0].digits[0].integer == 1;
    });
    EXPECT_TRUE(readBytes(path) == bytes);
}

}  // namespace
}  // namespace rumone::test
