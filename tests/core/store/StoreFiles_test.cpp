// What the tools leave on the disk: an export never follows or deletes a
// file that was already there, a database is made whole or not at all
// (also through a link that points nowhere yet), and the counts of an
// import are those of the write itself; the import tool takes the
// program's lock.
#include <sys/file.h>
#include <sys/stat.h>

#include <filesystem>

#include "ReliabilityHelpers.h"
#include "core/store/DatabaseLock.h"
#include "core/store/SafeFile.h"

namespace rumone::test {
namespace {

namespace fs = std::filesystem;

TEST(StoreFiles, ExportTouchesNothingButItsTarget)
{
    if (!toolsBuilt())
        GTEST_SKIP() << "the tools are not built";
    TempDir dir;
    const std::string db = makeDatabase(dir.file("Rumone.mdb"), {{1, {1, 2, 3, 4}}});
    // A link at "X.tmp" to a user's file, and a plain "Y.tmp".
    const std::string victim = dir.file("victim.txt");
    writeBytes(victim, "the user's file");
    ASSERT_EQ(symlink(victim.c_str(), dir.file("x.csv.tmp").c_str()), 0);
    writeBytes(dir.file("y.csv.tmp"), "kept");
    EXPECT_EQ(runToolCapturing("rumone-db", {"export", db, dir.file("x.csv")}).exitCode, 0);
    EXPECT_EQ(runToolCapturing("rumone-db", {"export", db, dir.file("y.csv")}).exitCode, 0);
    EXPECT_EQ(readBytes(victim), "the user's file");
    EXPECT_TRUE(fs::is_symlink(dir.file("x.csv.tmp")));
    EXPECT_EQ(readBytes(dir.file("y.csv.tmp")), "kept");
    EXPECT_EQ(readBytes(dir.file("x.csv")), "\xEF\xBB\xBF回数,第1数字,第2数字,第3数字,第4数字\n1,1,2,3,4\n");
    // With the permissions of any new file of the user's.
    struct stat made {
    }, usual{};
    ASSERT_EQ(stat(dir.file("x.csv").c_str(), &made), 0);
    ASSERT_EQ(stat(victim.c_str(), &usual), 0);
    EXPECT_EQ(made.st_mode & 0777, usual.st_mode & 0777);

    // The target itself a link: the file it names gets the CSV, the link stays.
    const std::string real = dir.file("real.csv");
    writeBytes(real, "old");
    ASSERT_EQ(symlink("real.csv", dir.file("link.csv").c_str()), 0);
    EXPECT_EQ(runToolCapturing("rumone-db", {"export", db, dir.file("link.csv")}).exitCode, 0);
    EXPECT_TRUE(fs::is_symlink(dir.file("link.csv")));
    EXPECT_EQ(readBytes(real), readBytes(dir.file("x.csv")));
    // Nothing but the files made above.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 8);
}

// The import tool and the program take the same lock: the tool refuses to
// import while another process holds the database, naming it, and a
// program started while the tool imports finds the database held by it.
TEST(StoreFiles, TheImportToolAndTheProgramTakeTheSameLock)
{
    if (!toolsBuilt())
        GTEST_SKIP() << "the tools are not built";
    TempDir dir;
    const std::string db = makeDatabase(dir.file("Rumone.mdb"), {{1, {1, 2, 3, 4}}});
    std::string csv = "回数,第1数字,第2数字,第3数字,第4数字\n";
    for (int n = 1; n <= kMaxDrawNumber; ++n)
        csv += std::to_string(n) + ",1,2,3," + std::to_string(n % 10) + "\n";
    writeBytes(dir.file("draws.csv"), csv);

    {
        const DatabaseLock program(db);
        const std::string bytes = readBytes(db);
        const ToolRun refused = runToolCapturing("rumone-db", {"import", dir.file("draws.csv"), db});
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_NE(refused.output.find("（プロセス " + std::to_string(getpid()) + "）"), std::string::npos)
            << refused.output;
        EXPECT_TRUE(readBytes(db) == bytes);
    }

    const pid_t tool = startTool("rumone-db", {"import", dir.file("draws.csv"), db}, dir.file("output"));
    std::optional<LockHolder> holder;
    int status = 0;
    while (!(holder = findLockHolder(db)) && waitpid(tool, &status, WNOHANG) == 0)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    ASSERT_TRUE(holder) << "the import ended before its lock was seen";
    kill(tool, SIGSTOP);
    EXPECT_EQ(holder->pid, tool);
    EXPECT_EQ(holder->program, "rumone-db");
    EXPECT_FALSE(DatabaseLock(db).held());
    kill(tool, SIGCONT);
    waitpid(tool, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << readBytes(dir.file("output"));
}

// Two imports of the same rows: the second one's counts come from the rows
// stored when it writes, not from what its set read when it was opened.
TEST(StoreFiles, OverlappingImportsCountWhatIsStoredAtTheWrite)
{
    TempDir dir;
    const std::string path = makeDatabase(dir.file("Rumone.mdb"), {{1, {1, 1, 1, 1}}});
    const DrawDatabaseRef cs = drawDatabaseAt(path);
    const std::vector<EditRow> draws = editRowsOf({{1, {2, 2, 2, 2}}, {2, {2, 2, 2, 2}}, {3, {3, 3, 3, 3}}});
    DrawEditSet early = openDrawEditSet(cs);
    DrawEditSet other = openDrawEditSet(cs);
    const ImportCounts first = other.importDraws(draws);
    EXPECT_EQ(first.replaced, 1u);
    EXPECT_EQ(first.added, 2u);
    const ImportCounts second = early.importDraws(draws);
    EXPECT_EQ(second.replaced, 3u);
    EXPECT_EQ(second.added, 0u);
    EXPECT_EQ(early.recordCount(), 3u);
}

// A link that points nowhere is no database for any reader; the tools that
// make one make it where the link points.
TEST(StoreFiles, DanglingLinkIsMissingAndMadeWhereItPoints)
{
    if (!toolsBuilt())
        GTEST_SKIP() << "the tools are not built";
    for (const char* command : {"create", "sample"}) {
        SCOPED_TRACE(command);
        TempDir dir;
        const std::string link = dir.file("Rumone.mdb");
        ASSERT_EQ(symlink("target.mdb", link.c_str()), 0);
        EXPECT_EQ(causeOf([&] { openDrawSnapshot(drawDatabaseAt(link)); }), StoreError::Cause::FileMissing);
        const ToolRun run = runToolCapturing("rumone-db", {command, link});
        EXPECT_EQ(run.exitCode, 0) << run.output;
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_TRUE(fs::is_regular_file(dir.file("target.mdb")));
        EXPECT_EQ(runToolCapturing("rumone-db", {"check", link}).exitCode, 0);
    }
}

// A temporary of a build that died is removed by the next build beside it;
// one that a running build holds is left to it.
TEST(StoreFiles, StaleBuildTemporariesGoAndLiveOnesStay)
{
    TempDir dir;
    const std::string path = dir.file("Rumone.mdb");
    writeBytes(path + ".new-dead01", "half made");
    writeBytes(path + ".new-dead01-journal", "journal");
    writeBytes(path + ".new-gone02-journal", "journal of a file already gone");
    writeBytes(path + ".new-live03", "being built");
    const int live = open((path + ".new-live03").c_str(), O_RDONLY);
    ASSERT_EQ(flock(live, LOCK_EX), 0);
    writeBytes(path + ".other", "not ours");

    createDrawDatabase(path);
    EXPECT_FALSE(fs::exists(path + ".new-dead01"));
    EXPECT_FALSE(fs::exists(path + ".new-dead01-journal"));
    EXPECT_FALSE(fs::exists(path + ".new-gone02-journal"));
    EXPECT_TRUE(fs::exists(path + ".new-live03"));
    EXPECT_TRUE(fs::exists(path + ".other"));
    close(live);
}

}  // namespace
}  // namespace rumone::test
