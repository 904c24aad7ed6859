// Edits made through the entry view survive the process being killed, and
// writes the file refuses (another program holds it, the file is
// read-only) are reported and lose nothing. Killing and dropping the
// privilege to write happen in a child: this test program run again with
// one of the helper tests below.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QPushButton>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "EntryTestHelpers.h"

extern char** environ;

namespace rumone::test {
namespace {

constexpr const char* kFolderVariable = "RUMONE_ENTRY_TEST_FOLDER";
constexpr const char* kReportVariable = "RUMONE_ENTRY_TEST_REPORT_FD";
constexpr int kStartRows = 20;
constexpr uid_t kNobody = 65534;

std::vector<Row> startRows()
{
    std::vector<Row> rows;
    for (int n = 1; n <= kStartRows; ++n)
        rows.push_back({n, {n % 10, -1, -1, (n * 3) % 10}});
    return rows;
}

// Edit number i of the killed helper: every eighth adds a row at the end,
// the others set one digit somewhere.
struct Edit {
    bool addRow = false;
    int row = 0, column = 0, digit = 0;
};

Edit editAt(int i, int rowCount)
{
    if (i % 8 == 7)
        return {true};
    return {false, (i * 5) % rowCount, i % 4 + 1, (i * 3) % 10};
}

// The file's lines after the first `count` edits.
Lines expectedAfter(int count)
{
    std::vector<std::pair<int, std::array<std::string, 4>>> rows;
    for (const Row& r : startRows()) {
        std::array<std::string, 4> d;
        for (int p = 0; p < 4; ++p)
            d[p] = r.digits[p] < 0 ? "-" : std::to_string(r.digits[p]);
        rows.push_back({r.number, d});
    }
    for (int i = 0; i < count; ++i) {
        const Edit e = editAt(i, static_cast<int>(rows.size()));
        if (e.addRow)
            rows.push_back({rows.back().first + 1, {"-", "-", "-", "-"}});
        else
            rows[e.row].second[e.column - 1] = std::to_string(e.digit);
    }
    Lines out;
    for (const auto& [n, d] : rows)
        out.push_back(std::to_string(n) + ": " + d[0] + " " + d[1] + " " + d[2] + " " + d[3]);
    return out;
}

// This program again, running only `test`, with `extra` in its environment.
pid_t spawnHelper(const std::string& test, const std::vector<std::string>& extra)
{
    std::vector<std::string> env;
    bool asan = false;
    for (char** e = environ; *e; ++e) {
        std::string s = *e;
        if (s.rfind("ASAN_OPTIONS=", 0) == 0) {
            s += ":detect_leaks=0";
            asan = true;
        }
        env.push_back(s);
    }
    if (!asan)
        env.push_back("ASAN_OPTIONS=detect_leaks=0");
    env.insert(env.end(), extra.begin(), extra.end());
    env.push_back("QT_QPA_PLATFORM=offscreen");
    std::vector<std::string> args = {"gui_tests", "--gtest_filter=" + test, "--gtest_also_run_disabled_tests"};
    auto pointers = [](std::vector<std::string>& v) {
        std::vector<char*> p;
        for (std::string& s : v)
            p.push_back(s.data());
        p.push_back(nullptr);
        return p;
    };
    std::vector<char*> argv = pointers(args);
    std::vector<char*> envp = pointers(env);
    pid_t pid = 0;
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    if (posix_spawn(&pid, self.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0)
        return -1;
    return pid;
}

// Reads numbered lines from `fd` until `wanted` have come, the pipe
// closes or half a minute has passed; the highest number read, or -1.
int readReports(int fd, int wanted)
{
    int highest = -1, seen = 0;
    std::string buffer;
    while (seen < wanted) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 30000) <= 0)
            break;
        char chunk[256];
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n <= 0)
            break;
        buffer.append(chunk, static_cast<std::size_t>(n));
        std::size_t end;
        while ((end = buffer.find('\n')) != std::string::npos) {
            highest = std::max(highest, std::stoi(buffer.substr(0, end)));
            ++seen;
            buffer.erase(0, end + 1);
        }
    }
    return highest;
}

TEST(EntryDurability, EditsCommittedThroughTheViewSurviveSigkill)
{
    TempDir dir;
    const std::string db = makeDatabase(dir.path(), startRows());
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    const pid_t pid = spawnHelper(
        "EntryHelper.DISABLED_EditUntilKilled",
        {std::string(kFolderVariable) + "=" + dir.path(), std::string(kReportVariable) + "=" + std::to_string(fds[1])});
    close(fds[1]);
    ASSERT_GT(pid, 0);
    const int lastReported = readReports(fds[0], 40);
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    close(fds[0]);
    ASSERT_GE(lastReported, 20) << "the helper reported too few edits";
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

    // Every reported edit is in the file; edits made after the last report
    // may be there too, but only whole and in order.
    const Lines stored = onDisk(db);
    int matching = -1;
    for (int count = lastReported + 1; count <= lastReported + 500 && matching < 0; ++count)
        if (expectedAfter(count) == stored)
            matching = count;
    EXPECT_GE(matching, lastReported + 1) << "the file holds no state reached after the reported edits";
    EXPECT_EQ(checkDatabaseIntegrity(drawDatabaseAt(db)), Lines{"ok"});
}

// The child of the test above: edits through the view's model without end
// and reports each one once the model has accepted it.
TEST(EntryHelper, DISABLED_EditUntilKilled)
{
    const char* folder = std::getenv(kFolderVariable);
    const char* report = std::getenv(kReportVariable);
    if (!folder || !report)
        GTEST_SKIP() << "runs only as the child of EntryDurability";
    const int out = std::atoi(report);
    HostedEntryView h(folder);
    EntryTableModel& model = h.model();
    for (int i = 0;; ++i) {
        const Edit e = editAt(i, model.rowCount());
        const bool done = e.addRow ? model.insertRowAfter(model.rowCount() - 1) >= 0
                                   : model.setData(h.cell(e.row, e.column), QString::number(e.digit));
        ASSERT_TRUE(done) << "edit " << i;
        const std::string line = std::to_string(i) + "\n";
        ASSERT_EQ(write(out, line.data(), line.size()), static_cast<ssize_t>(line.size()));
    }
}

// ---------------------------------------------------------------- refusals

TEST(EntryRefusal, ADatabaseHeldByAnotherProgramIsReportedAndNothingIsLost)
{
    TempDir dir;
    const std::string db = makeDatabase(dir.path(), startRows());
    HostedEntryView h(dir.path());
    const Lines before = onDisk(db);

    sqlite::Connection other = openKeyedDatabase(drawDatabaseAt(db), OpenAccess::ReadWrite);
    ASSERT_EQ(sqlite::exec(other.get(), "BEGIN EXCLUSIVE"), SQLITE_OK);
    {
        ScriptedAnswers ok;
        EXPECT_FALSE(h.model().setData(h.cell(0, 2), "9"));
        ASSERT_TRUE(waitFor(ok));
        EXPECT_EQ(ok.first().caption, QStringLiteral("メッセ－ジ"));
        EXPECT_EQ(ok.first().icon, QMessageBox::Critical);
        EXPECT_TRUE(ok.first().text.contains(QStringLiteral("使用中"))) << ok.first().text.toStdString();
        EXPECT_EQ(h.model().cellText(0, 2), "");
    }
    {
        ScriptedAnswers ok;
        EXPECT_FALSE(h.model().removeRow(3));
        ASSERT_TRUE(waitFor(ok));
        EXPECT_TRUE(ok.first().text.contains(QStringLiteral("削除できませんでした")));
    }
    ASSERT_EQ(sqlite::exec(other.get(), "ROLLBACK"), SQLITE_OK);
    EXPECT_EQ(onDisk(db), before);
    EXPECT_EQ(inGrid(h.model()), before);

    // Once the other program lets go, writing works again.
    EXPECT_TRUE(h.model().setData(h.cell(0, 2), "9"));
    EXPECT_EQ(onDisk(db)[0], "1: 1 9 - 3");
}

TEST(EntryRefusal, ARowChangedByAnotherProgramIsShownAsStoredAfterTheRefusal)
{
    TempDir dir;
    const std::string db = makeDatabase(dir.path(), startRows());
    HostedEntryView h(dir.path());
    rawExec(db, "UPDATE 結果マスタ SET 第2数字 = 4 WHERE 回数 = 2");
    ScriptedAnswers ok;
    EXPECT_FALSE(h.model().setData(h.cell(1, 3), "5"));
    ASSERT_TRUE(waitFor(ok));
    EXPECT_EQ(h.model().cellText(1, 2), "4");
    EXPECT_EQ(h.model().cellText(1, 3), "");
    EXPECT_EQ(inGrid(h.model()), onDisk(db));
}

// A read-only file stops even root only by its permissions, so the edits
// run in a child that gives up root first.
TEST(EntryRefusal, AReadOnlyFileIsReportedAndNothingIsLost)
{
    TempDir dir;
    const std::string db = makeDatabase(dir.path(), startRows());
    std::ifstream in(db, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    ASSERT_EQ(chmod(db.c_str(), 0444), 0);
    if (geteuid() == 0) {
        ASSERT_EQ(chown(dir.path().c_str(), kNobody, kNobody), 0);
        ASSERT_EQ(chown(db.c_str(), kNobody, kNobody), 0);
    }
    const pid_t pid =
        spawnHelper("EntryHelper.DISABLED_EditReadOnlyFile", {std::string(kFolderVariable) + "=" + dir.path()});
    ASSERT_GT(pid, 0);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the helper's checks failed (see its output)";
    std::ifstream after(db, std::ios::binary);
    EXPECT_TRUE(std::string((std::istreambuf_iterator<char>(after)), {}) == bytes);
    EXPECT_EQ(onDisk(db), expectedAfter(0));
}

TEST(EntryHelper, DISABLED_EditReadOnlyFile)
{
    const char* folder = std::getenv(kFolderVariable);
    if (!folder)
        GTEST_SKIP() << "runs only as the child of EntryRefusal";
    if (geteuid() == 0) {
        ASSERT_TRUE(setgid(kNobody) == 0 && setuid(kNobody) == 0);
    }
    HostedEntryView h(folder);
    const Lines before = inGrid(h.model());
    ASSERT_EQ(before.size(), static_cast<std::size_t>(kStartRows));

    ScriptedAnswers ok;
    EXPECT_FALSE(h.model().setData(h.cell(0, 1), "9"));
    ASSERT_TRUE(waitFor(ok));
    EXPECT_EQ(ok.first().caption, QStringLiteral("メッセ－ジ"));
    EXPECT_TRUE(ok.first().text.contains(QStringLiteral("読み取り専用"))) << ok.first().text.toStdString();
    EXPECT_EQ(h.model().cellText(0, 1), "1");

    h.grid().setCurrentIndex(h.cell(4, 1));
    for (void (EntryView::*command)() : {&EntryView::addLine, &EntryView::deleteLine}) {
        ScriptedAnswers answers({QMessageBox::Yes, QMessageBox::Ok});
        (h.view().*command)();
        ASSERT_TRUE(QTest::qWaitFor([&] { return answers.shown().size() == 2; }, 10000));
        EXPECT_TRUE(answers.shown()[1].text.contains(QStringLiteral("読み取り専用")));
    }
    EXPECT_EQ(inGrid(h.model()), before);
    EXPECT_EQ(h.grid().currentIndex(), h.cell(4, 1));
}

}  // namespace
}  // namespace rumone::test
