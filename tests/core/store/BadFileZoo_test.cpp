// Every kind of bad database file, opened by every reader: the store, the
// history, the entry view's edit set, rumone-db check and rumone-griddump
// (export and import open the file as check and the edit set do). Each gets its own
// clear message (never a bare SQLite code), the tools exit non-zero where
// they must, and the file's bytes stay exactly as they were.
#include <sys/stat.h>

#include <iostream>
#include <optional>
#include <random>

#include "ReliabilityHelpers.h"

namespace rumone::test {
namespace {

using Cause = StoreError::Cause;

std::vector<Row> severalPages()
{
    std::vector<Row> rows;
    for (int n = 1; n <= 600; ++n)
        rows.push_back({n, {n % 10, n / 10 % 10, n / 100 % 10, n * 3 % 10}});
    return rows;
}

void truncateTo(const std::string& path, std::size_t size)
{
    makeDatabase(path, severalPages());
    writeBytes(path, readBytes(path).substr(0, size));
}

// The database with byte `at` (negative: from the end) inverted.
void flipByte(const std::string& path, long at)
{
    makeDatabase(path, severalPages());
    std::string bytes = readBytes(path);
    const std::size_t i = at >= 0 ? static_cast<std::size_t>(at) : bytes.size() - static_cast<std::size_t>(-at);
    bytes[i] = static_cast<char>(~bytes[i]);
    writeBytes(path, bytes);
}

// A keyed database whose saved query reads a table made by another tool,
// without type rules, holding the rows in `values`.
void foreignRows(const std::string& path, const std::string& values)
{
    makeDatabase(path, {});
    rawExec(path,
            "DROP VIEW 全データ選択クエリ;"
            "CREATE TABLE t (回数, 第1数字, 第2数字, 第3数字, 第4数字);"
            "INSERT INTO t VALUES " +
                values +
                ";"
                "CREATE VIEW 全データ選択クエリ AS SELECT * FROM t;"
                "CREATE TRIGGER a INSTEAD OF INSERT ON 全データ選択クエリ BEGIN SELECT 1; END;"
                "CREATE TRIGGER b INSTEAD OF UPDATE ON 全データ選択クエリ BEGIN SELECT 1; END;"
                "CREATE TRIGGER c INSTEAD OF DELETE ON 全データ選択クエリ BEGIN SELECT 1; END;");
}

struct BadFile {
    const char* name;
    std::function<void(const std::string& path)> make;
    std::optional<Cause> snapshot;  // none: it reads
    std::optional<Cause> history;
    std::optional<Cause> editSet;
    int checkExit;          // rumone-db check
    const char* checkSays;  // a piece of check's output ("" for none)
};

const std::vector<BadFile>& zoo()
{
    static const std::vector<BadFile> cases = {
        {"zero-length", [](const std::string& p) { writeBytes(p, ""); }, Cause::EmptyFile, Cause::EmptyFile,
         Cause::EmptyFile, 1, "空のファイル"},
        {"cut at 16 bytes", [](const std::string& p) { truncateTo(p, 16); }, Cause::Damaged, Cause::Damaged,
         Cause::Damaged, 1, "途中で切れて"},
        {"cut at 1 page", [](const std::string& p) { truncateTo(p, 1024); }, Cause::Damaged, Cause::Damaged,
         Cause::Damaged, 1, "途中で切れて"},
        {"cut inside page 4", [](const std::string& p) { truncateTo(p, 3 * 1024 + 7); }, Cause::Damaged, Cause::Damaged,
         Cause::Damaged, 1, "途中で切れて"},
        {"cut at 8 pages", [](const std::string& p) { truncateTo(p, 8 * 1024); }, Cause::Damaged, Cause::Damaged,
         Cause::Damaged, 1, "途中で切れて"},
        {"random bytes",
         [](const std::string& p) {
             std::mt19937 gen(17);
             std::string s(6 * 1024, '\0');
             for (char& c : s)
                 c = static_cast<char>(gen());
             writeBytes(p, s);
         },
         Cause::NotADatabase, Cause::NotADatabase, Cause::NotADatabase, 1, "開けません"},
        {"plain SQLite",
         [](const std::string& p) {
             sqlite3* raw = nullptr;
             sqlite3_open(p.c_str(), &raw);
             sqlite::Connection db(raw);
             sqlite::exec(db.get(), "CREATE TABLE x (a); INSERT INTO x VALUES (1);");
         },
         Cause::Unencrypted, Cause::Unencrypted, Cause::Unencrypted, 1, "保護されていない"},
        {"wrong key",
         [](const std::string& p) {
             sqlite3* raw = nullptr;
             sqlite3_open(p.c_str(), &raw);
             sqlite::Connection db(raw);
             sqlite3_key(db.get(), "000000", 6);
             sqlite::exec(db.get(), "CREATE TABLE x (a); INSERT INTO x VALUES (1);");
         },
         Cause::NotADatabase, Cause::NotADatabase, Cause::NotADatabase, 1, "パスワード"},
        {"byte flipped in page 1", [](const std::string& p) { flipByte(p, 40); }, Cause::NotADatabase,
         Cause::NotADatabase, Cause::NotADatabase, 1, "開けません"},
        {"byte flipped in page 6", [](const std::string& p) { flipByte(p, 5 * 1024 + 300); }, Cause::Damaged,
         Cause::Damaged, Cause::Damaged, 1, "壊れて"},
        {"byte flipped in page 3", [](const std::string& p) { flipByte(p, 2 * 1024 + 700); }, Cause::Damaged,
         Cause::Damaged, Cause::Damaged, 1, "壊れて"},
        {"directory", [](const std::string& p) { mkdir(p.c_str(), 0755); }, Cause::NotADatabase, Cause::NotADatabase,
         Cause::NotADatabase, 1, "通常のファイルではありません"},
        {"FIFO", [](const std::string& p) { mkfifo(p.c_str(), 0644); }, Cause::NotADatabase, Cause::NotADatabase,
         Cause::NotADatabase, 1, "通常のファイルではありません"},
        {"dangling symlink", [](const std::string& p) { symlink((p + ".gone").c_str(), p.c_str()); },
         Cause::FileMissing, Cause::FileMissing, Cause::FileMissing, 1, "見つかりません"},
        {"table missing",
         [](const std::string& p) {
             makeDatabase(p, {{1, {1, 2, 3, 4}}});
             rawExec(p, "DROP TABLE 結果マスタ");
         },
         Cause::QueryMissing, Cause::QueryMissing, Cause::QueryMissing, 1, "参照する表"},
        {"saved query missing",
         [](const std::string& p) {
             makeDatabase(p, {{1, {1, 2, 3, 4}}});
             rawExec(p, "DROP VIEW 全データ選択クエリ");
         },
         Cause::QueryMissing, Cause::QueryMissing, Cause::QueryMissing, 1, "全データ選択クエリ"},
        {"column missing",
         [](const std::string& p) {
             makeDatabase(p, {{1, {1, 2, 3, 4}}});
             rawExec(p,
                     "DROP VIEW 全データ選択クエリ; CREATE VIEW 全データ選択クエリ AS"
                     " SELECT 回数, 第1数字, 第2数字, 第3数字 FROM 結果マスタ");
         },
         Cause::QueryMissing, Cause::QueryMissing, Cause::QueryMissing, 1, "第4数字"},
        {"query without write triggers",
         [](const std::string& p) {
             makeDatabase(p, {{1, {1, 2, 3, 4}}});
             rawExec(p, "DROP TRIGGER 全データ選択クエリ_更新; DROP TRIGGER 全データ選択クエリ_削除");
         },
         std::nullopt, std::nullopt, Cause::QueryNotWritable, 0, "integrity_check: ok"},
        {"text draw numbers", [](const std::string& p) { foreignRows(p, "(1, 1, 2, 3, 4), ('1e3', 5, 5, 5, 5)"); },
         std::nullopt, std::nullopt, std::nullopt, 1, "回数 \"1e3\""},
        {"draw number that is no number",
         [](const std::string& p) { foreignRows(p, "(1, 1, 2, 3, 4), ('abc', 5, 5, 5, 5)"); }, std::nullopt,
         Cause::BadDrawNumber, std::nullopt, 1, "回数 \"abc\""},
        {"out-of-range values",
         [](const std::string& p) {
             foreignRows(
                 p,
                 "(1, 1, 2, 3, 4), (40000, 1, 1, 1, 1), (-1, 1, 1, 1, 1), (2, 12, 1, 1, 1), (1e300, 1, 1, 1, 1),"
                 " (3, -1e300, 1, 1, 1)");
         },
         std::nullopt, std::nullopt, std::nullopt, 1, "範囲外の値を持つ行: 5"},
        // Digits held as texts read as the history reads them.
        {"digits stored as texts",
         [](const std::string& p) { foreignRows(p, "(1, '5', ' 6 ', '7.0', 8), (2, '', 1, 2, 3)"); }, std::nullopt,
         std::nullopt, std::nullopt, 0, "完全な行: 1\n  不完全な行（数字が未入力）: 1\n  範囲外の値を持つ行: 0"},
        {"control bytes in a text",
         [](const std::string& p) { foreignRows(p, "(1, 1, 2, 3, 4), (CAST(X'410142' AS TEXT), 1, 1, 1, 1)"); },
         std::nullopt, Cause::BadDrawNumber, std::nullopt, 1, "A\\x01B"},
    };
    return cases;
}

// The bytes of a regular file; the kind of anything else (a pipe is never
// opened: that would wait for a writer).
std::string contentOf(const std::string& path)
{
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0)
        return "(none)";
    if (!S_ISREG(st.st_mode))
        return "(mode " + std::to_string(st.st_mode) + ")";
    return readBytes(path);
}

std::optional<Cause> causeThrownBy(const std::function<void()>& action, std::string& message)
{
    try {
        action();
    } catch (const StoreError& e) {
        message = e.what();
        return e.cause();
    }
    return std::nullopt;
}

void expectClearMessage(const std::string& message)
{
    EXPECT_EQ(message.find("SQLite コード"), std::string::npos) << message;
    for (const char c : message)
        EXPECT_FALSE(static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t')
            << "raw control byte in: " << message;
}

TEST(BadFileZoo, EveryReaderRefusesClearlyAndLeavesTheBytes)
{
    if (!toolsBuilt())
        GTEST_SKIP() << "the tools are not built";
    int cases = 0;
    for (const BadFile& bad : zoo()) {
        SCOPED_TRACE(bad.name);
        TempDir dir;
        const std::string path = dir.file("Rumone.mdb");
        bad.make(path);
        const std::string before = contentOf(path);
        const DrawDatabaseRef cs = drawDatabaseAt(path);

        std::string message;
        EXPECT_EQ(causeThrownBy([&] { openDrawSnapshot(cs); }, message), bad.snapshot) << message;
        if (bad.snapshot) {
            EXPECT_NE(message.find(path), std::string::npos) << message;
        }
        expectClearMessage(message);
        DrawHistory history;
        EXPECT_EQ(causeThrownBy([&] { history = loadDrawHistory(cs); }, message), bad.history) << message;
        expectClearMessage(message);
        EXPECT_EQ(causeThrownBy([&] { openDrawEditSet(cs); }, message), bad.editSet) << message;
        expectClearMessage(message);

        const ToolRun check = runToolCapturing("rumone-db", {"check", path});
        EXPECT_EQ(check.exitCode, bad.checkExit) << check.output;
        EXPECT_NE(check.output.find(bad.checkSays), std::string::npos) << check.output;
        expectClearMessage(check.output);
        const ToolRun dumped = runToolCapturing("rumone-griddump", {path, "出現回数分析"});
        EXPECT_EQ(dumped.exitCode != 0, bad.history.has_value()) << dumped.output;
        expectClearMessage(dumped.output);

        EXPECT_TRUE(contentOf(path) == before) << "the file was changed";
        EXPECT_NE(access((path + "-journal").c_str(), F_OK), 0) << "a journal was left behind";
        ++cases;
    }
    std::cout << "[ figures  ] bad-file zoo: " << cases << " kinds of file, each read by 5 readers\n";
}

// A write cut short leaves its journal; when the folder is read-only the
// rollback restores the file but cannot delete the journal. Every reader
// says so and names the folder, and nothing is lost once the folder is
// writable again.
TEST(BadFileZoo, InterruptedWriteInReadOnlyFolderIsExplained)
{
    TempDir top;
    chmod(top.path().c_str(), 0755);
    const std::string folder = top.file("db");
    mkdir(folder.c_str(), 0777);
    const std::string path = folder + "/Rumone.mdb";
    makeDatabase(path, {{1, {1, 1, 1, 1}}, {2, {2, 2, 2, 2}}});
    const DrawDatabaseRef cs = drawDatabaseAt(path);
    // A writer dies with changed pages already in the file.
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t writer = fork();
    if (writer == 0) {
        sqlite::Connection db = openKeyedDatabase(cs, OpenAccess::ReadWrite);
        sqlite::exec(db.get(), "PRAGMA cache_size = 1; BEGIN IMMEDIATE; UPDATE 結果マスタ SET 第1数字 = 9;");
        for (int n = 3; n < 400; ++n)
            sqlite::exec(db.get(), "INSERT INTO 結果マスタ VALUES (" + std::to_string(n) + ", 0, 0, 0, 0)");
        const char done = 1;
        if (write(ready[1], &done, 1) != 1)
            std::_Exit(3);
        pause();
    }
    close(ready[1]);
    char done = 0;
    ASSERT_EQ(read(ready[0], &done, 1), 1);
    close(ready[0]);
    kill(writer, SIGKILL);
    waitpid(writer, nullptr, 0);
    ASSERT_EQ(access((path + "-journal").c_str(), F_OK), 0) << "the test meant to leave a journal";
    chmod(path.c_str(), 0666);
    chmod((path + "-journal").c_str(), 0666);
    chmod(folder.c_str(), 0555);

    const std::string said = runUnprivileged([&] {
        std::string all;
        for (const auto& read :
             std::vector<std::function<void()>>{[&] { openDrawSnapshot(cs); }, [&] { openDrawEditSet(cs); }}) {
            try {
                read();
                all += "opened;";
            } catch (const StoreError& e) {
                all += std::string(e.what()) + (e.cause() == Cause::ReadOnly ? "[ReadOnly];" : "[?];");
            }
        }
        return all;
    });
    EXPECT_EQ(said.find("SQLite コード"), std::string::npos) << said;
    EXPECT_EQ(said.find("opened"), std::string::npos) << said;
    EXPECT_NE(said.find("中断された書き込みが残っています"), std::string::npos) << said;
    EXPECT_NE(said.find("フォルダー「" + folder + "」"), std::string::npos) << said;
    EXPECT_EQ(said.find("[?]"), std::string::npos) << said;

    chmod(folder.c_str(), 0755);
    const DrawSnapshot s = openDrawSnapshot(cs);
    ASSERT_EQ(s.recordCount(), 2u);
    EXPECT_EQ(s.rows()[0].digits[0].integer, 1);
    EXPECT_EQ(checkDatabaseIntegrity(cs), std::vector<std::string>{"ok"});
}

}  // namespace
}  // namespace rumone::test
