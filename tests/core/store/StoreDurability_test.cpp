// A writer killed at any moment loses no write it reported done, and the
// next open (even the read-only start-up snapshot) finds a sound file.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>
#include <set>

#include "ReliabilityHelpers.h"

namespace rumone::test {
namespace {

std::array<int, 4> digitsFor(int n)
{
    return {n % 10, n / 10 % 10, n / 100 % 10, n * 7 % 10};
}

// A child process that runs `body` with the write end of a pipe; the
// parent gets the child's pid and the read end.
struct Child {
    pid_t pid = -1;
    int reports = -1;
};

Child spawnChild(const std::function<void(int reportFd)>& body)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    const pid_t pid = forkRunning([&] {
        close(fds[0]);
        body(fds[1]);
    });
    close(fds[1]);
    return {pid, fds[0]};
}

void reportValue(int fd, int value)
{
    if (write(fd, &value, sizeof value) != static_cast<ssize_t>(sizeof value))
        std::_Exit(3);
}

bool nextReport(int fd, int& value)
{
    return read(fd, &value, sizeof value) == static_cast<ssize_t>(sizeof value);
}

void killChild(Child& c)
{
    kill(c.pid, SIGKILL);
    int status = 0;
    waitpid(c.pid, &status, 0);
}

TEST(StoreDurability, WriteInterruptedBeforeCommitIsRolledBackByTheSnapshot)
{
    TempDir dir;
    const std::string path = makeDatabase(dir.file("Rumone.mdb"), {{1, {1, 1, 1, 1}}, {2, {2, 2, 2, 2}}});
    const DrawDatabaseRef cs = drawDatabaseAt(path);

    Child child = spawnChild([&](int fd) {
        sqlite::Connection db = openKeyedDatabase(cs, OpenAccess::ReadWrite);
        // A one-page cache spills changed pages into the file before commit.
        sqlite::exec(db.get(), "PRAGMA cache_size = 1; BEGIN IMMEDIATE; UPDATE 結果マスタ SET 第1数字 = 9;");
        for (int n = 3; n < 400; ++n)
            sqlite::exec(db.get(), "INSERT INTO 結果マスタ VALUES (" + std::to_string(n) + ", 0, 0, 0, 0)");
        reportValue(fd, 1);
        pause();
    });
    ASSERT_GT(child.pid, 0);
    int ready = 0;
    ASSERT_TRUE(nextReport(child.reports, ready));
    killChild(child);
    close(child.reports);
    ASSERT_EQ(access((path + "-journal").c_str(), F_OK), 0) << "the test meant to leave a hot journal";

    const DrawSnapshot s = openDrawSnapshot(cs);
    ASSERT_EQ(s.recordCount(), 2u);
    EXPECT_EQ(s.rows()[0].digits[0].integer, 1);
    EXPECT_EQ(s.rows()[1].digits[0].integer, 2);
    EXPECT_EQ(checkDatabaseIntegrity(cs), std::vector<std::string>{"ok"});
}

TEST(StoreDurability, KilledWriterLosesNoReportedWrite)
{
    TempDir dir;
    const std::string path = makeDatabase(dir.file("Rumone.mdb"), {});
    const DrawDatabaseRef cs = drawDatabaseAt(path);
    std::mt19937 gen(20261208);
    std::set<int> reported;

    for (int round = 0; round < 6; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        // Each row: a new row, then its four digits, five commits in all.
        Child child = spawnChild([&](int fd) {
            DrawEditSet set = openDrawEditSet(cs);
            for (int i = 0; i < 200; ++i) {
                set.insertRow(set.recordCount());
                const std::size_t row = set.recordCount() - 1;
                const int n = static_cast<int>(set.rows()[row].number.integer);
                const auto digits = digitsFor(n);
                for (int p = 0; p < 4; ++p)
                    set.setDigit(row, p + 1, digits[p]);
                reportValue(fd, n);
            }
        });
        ASSERT_GT(child.pid, 0);
        const int waitFor = std::uniform_int_distribution<int>(1, 12)(gen);
        int n = 0;
        for (int i = 0; i < waitFor && nextReport(child.reports, n); ++i)
            reported.insert(n);
        usleep(std::uniform_int_distribution<unsigned>(0, 3000)(gen));
        killChild(child);
        while (nextReport(child.reports, n))  // reports sent before the kill
            reported.insert(n);
        close(child.reports);

        const DrawSnapshot s = openDrawSnapshot(cs);
        EXPECT_EQ(checkDatabaseIntegrity(cs), std::vector<std::string>{"ok"});
        std::map<long long, const DrawRecord*> stored;
        for (const DrawRecord& r : s.rows())
            stored[r.number.integer] = &r;
        for (int number : reported) {
            ASSERT_TRUE(stored.count(number)) << "reported draw " << number << " is lost";
            const auto digits = digitsFor(number);
            for (int p = 0; p < 4; ++p)
                EXPECT_EQ(stored[number]->digits[p].integer, digits[p]) << "draw " << number;
        }
        // At most the row in flight when the writer died is not reported.
        EXPECT_LE(s.recordCount(), reported.size() + static_cast<std::size_t>(round + 1));
    }
    EXPECT_GE(reported.size(), 6u);
}

}  // namespace
}  // namespace rumone::test
