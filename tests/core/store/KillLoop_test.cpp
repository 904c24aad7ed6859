// Writers killed at random moments: an import, the creation of a database
// and the building of the sample database. Syncs are slowed down so that
// many kills land while the journal is on the disk; the kills of the
// import and the create come after the write's first sync has begun. Each kill ends with
// the old or the new content, sound, and never a half-made file under the
// database's name.
#include <dirent.h>

#include <iostream>
#include <map>
#include <random>

#include "ReliabilityHelpers.h"

namespace rumone::test {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kSlowSyncMs = 15;

std::vector<Row> oldRows()
{
    std::vector<Row> rows;
    for (int n = 1; n <= 300; ++n)
        rows.push_back({n, {n % 10, n / 10 % 10, n / 100 % 10, 0}});
    return rows;
}

// Replaces 150-300 and adds 301-450.
std::vector<Row> importedRows()
{
    std::vector<Row> rows;
    for (int n = 150; n <= 450; ++n)
        rows.push_back({n, {9, 9, n % 10, 1}});
    return rows;
}

std::map<long long, std::array<long long, 4>> contentOf(const std::vector<DrawRecord>& records)
{
    std::map<long long, std::array<long long, 4>> m;
    for (const DrawRecord& r : records)
        m[r.number.integer] = {r.digits[0].integer, r.digits[1].integer, r.digits[2].integer, r.digits[3].integer};
    return m;
}

std::map<long long, std::array<long long, 4>> contentOf(const std::vector<Row>& rows)
{
    std::map<long long, std::array<long long, 4>> m;
    for (const Row& r : rows)
        m[r.number] = {r.digits[0], r.digits[1], r.digits[2], r.digits[3]};
    return m;
}

bool exists(const std::string& path)
{
    return access(path.c_str(), F_OK) == 0;
}

// Names in `folder` that start with `prefix`.
int countNamesStartingWith(const std::string& folder, const std::string& prefix)
{
    int n = 0;
    if (DIR* d = opendir(folder.c_str())) {
        while (const dirent* e = readdir(d))
            if (std::string(e->d_name).rfind(prefix, 0) == 0)
                ++n;
        closedir(d);
    }
    return n;
}

// How long `body` takes in a child, in microseconds: the shortest of three
// runs, so that a busy moment of the shared machine does not make the
// kills come too late.
std::chrono::microseconds timeInChild(const std::function<void()>& body, const std::function<void()>& undo)
{
    auto shortest = std::chrono::microseconds::max();
    for (int run = 0; run < 3; ++run) {
        const auto start = Clock::now();
        EXPECT_EQ(runInChild(body), 0);
        shortest = std::min(shortest, std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start));
        undo();
    }
    return shortest;
}

std::chrono::microseconds randomDelay(std::mt19937& gen, std::chrono::microseconds whole)
{
    return std::chrono::microseconds(std::uniform_int_distribution<long long>(0, whole.count() * 9 / 10)(gen));
}

// Rounds until `wanted` kills have cut the body short (at most 3 x wanted).
template <typename Round>
int killRounds(int wanted, Round round)
{
    int kills = 0;
    for (int r = 0; r < 3 * wanted && kills < wanted; ++r)
        kills += round(r) ? 1 : 0;
    return kills;
}

TEST(KillLoop, KilledImportEndsOldOrNew)
{
    TempDir dir;
    const std::string path = makeDatabase(dir.file("Rumone.mdb"), oldRows());
    const std::string oldBytes = readBytes(path);
    const DrawDatabaseRef cs = drawDatabaseAt(path);
    const std::vector<EditRow> draws = editRowsOf(importedRows());
    auto before = contentOf(oldRows());
    auto after = before;
    for (auto& [n, d] : contentOf(importedRows()))
        after[n] = d;
    auto import = [&] { openDrawEditSet(cs).importDraws(draws); };
    const auto whole = timeFromFirstSync(import, kSlowSyncMs, [&] {
        ASSERT_EQ(contentOf(openDrawSnapshot(cs).rows()), after);
        writeBytes(path, oldBytes);
    });

    std::mt19937 gen(4242);
    int journals = 0, olds = 0, news = 0, lost = 0;
    const int kills = killRounds(20, [&](int round) {
        SCOPED_TRACE("round " + std::to_string(round));
        writeBytes(path, oldBytes);
        ::unlink((path + "-journal").c_str());
        if (!killAfterFirstSync(import, kSlowSyncMs, randomDelay(gen, whole)))
            return false;
        journals += exists(path + "-journal");
        const auto now = contentOf(openDrawSnapshot(cs).rows());
        olds += now == before;
        news += now == after;
        lost += now != before && now != after;
        EXPECT_EQ(checkDatabaseIntegrity(cs), std::vector<std::string>{"ok"});
        return true;
    });
    EXPECT_EQ(lost, 0) << "a kill left neither the old nor the new content";
    EXPECT_GE(kills, 10);
    EXPECT_GE(journals, 1) << "no kill hit the journal window";
    std::cout << "[ figures  ] import kills: " << kills << " (" << journals << " with a live journal; " << olds
              << " old, " << news << " new, " << lost << " other)\n";
}

TEST(KillLoop, KilledCreateLeavesNoHalfMadeDatabase)
{
    TempDir dir;
    const std::string path = dir.file("Rumone.mdb");
    auto create = [&] { createDrawDatabase(path); };
    const auto whole = timeFromFirstSync(create, kSlowSyncMs, [&] { ::unlink(path.c_str()); });

    std::mt19937 gen(99);
    int made = 0;
    const int kills = killRounds(20, [&](int round) {
        SCOPED_TRACE("round " + std::to_string(round));
        if (!killAfterFirstSync(create, kSlowSyncMs, randomDelay(gen, whole))) {
            ::unlink(path.c_str());  // it ran to its end
            return false;
        }
        if (!exists(path))
            return true;  // killed before the link: the name was never used
        ++made;
        const DrawDatabaseRef cs = drawDatabaseAt(path);
        EXPECT_EQ(openDrawSnapshot(cs).recordCount(), 0u);
        EXPECT_EQ(checkDatabaseIntegrity(cs), std::vector<std::string>{"ok"});
        ::unlink(path.c_str());
        return true;
    });
    // The next create finds the name free and clears what killed ones left.
    createDrawDatabase(path);
    EXPECT_EQ(countNamesStartingWith(dir.path(), "Rumone.mdb.new-"), 0);
    EXPECT_GE(kills, 10);
    std::cout << "[ figures  ] create kills: " << kills << " (" << made << " had linked the whole database)\n";
}

TEST(KillLoop, KilledSampleLeavesNoHalfMadeDatabaseNorTemporaries)
{
    if (!toolsBuilt())
        GTEST_SKIP() << "the tools are not built";
    TempDir dir;
    const std::string path = dir.file("Rumone.mdb");
    const std::string tool = toolPath("rumone-db");
    auto sample = [&] {
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, 1);
        execl(tool.c_str(), tool.c_str(), "sample", path.c_str(), static_cast<char*>(nullptr));
        std::_Exit(127);
    };
    std::size_t rows = 0;
    const auto whole = timeInChild(sample, [&] {
        rows = openDrawSnapshot(drawDatabaseAt(path)).recordCount();
        ::unlink(path.c_str());
    });

    std::mt19937 gen(7);
    const int kills = killRounds(8, [&](int round) {
        SCOPED_TRACE("round " + std::to_string(round));
        if (!runAndKill(sample, randomDelay(gen, whole))) {
            ::unlink(path.c_str());  // it ran to its end
            return false;
        }
        if (!exists(path))
            return true;
        const DrawDatabaseRef cs = drawDatabaseAt(path);
        EXPECT_EQ(openDrawSnapshot(cs).recordCount(), rows);
        EXPECT_EQ(checkDatabaseIntegrity(cs), std::vector<std::string>{"ok"});
        ::unlink(path.c_str());
        return true;
    });
    EXPECT_EQ(runToolCapturing("rumone-db", {"sample", path}).exitCode, 0);
    EXPECT_EQ(countNamesStartingWith(dir.path(), "Rumone.mdb.new-"), 0) << "a killed build left its temporaries";
    EXPECT_GE(kills, 4);
    std::cout << "[ figures  ] sample kills: " << kills << "\n";
}

}  // namespace
}  // namespace rumone::test
