// Files the store must refuse: each with its own cause, a message that
// names the file, and the file's bytes left exactly as they were.
#include <sys/stat.h>
#include <unistd.h>

#include <random>

#include "StoreTestHelpers.h"

namespace rumone::test {
namespace {

using Cause = StoreError::Cause;

// A database made by plain SQLite calls, keyed with `key` (none when empty).
void makeForeignDatabase(const std::string& path, const std::string& key, const std::string& sql)
{
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr), SQLITE_OK);
    sqlite::Connection db(raw);
    if (!key.empty()) {
        ASSERT_EQ(sqlite3_key(db.get(), key.data(), static_cast<int>(key.size())), SQLITE_OK);
    }
    ASSERT_EQ(sqlite::exec(db.get(), sql), SQLITE_OK) << sqlite3_errmsg(db.get());
}

const char* const kForeignSchema =
    "CREATE TABLE t (回数 INTEGER PRIMARY KEY, 第1数字, 第2数字, 第3数字, 第4数字);"
    "CREATE VIEW 全データ選択クエリ AS SELECT * FROM t;"
    "INSERT INTO t VALUES (1, 1, 2, 3, 4);";

// Enough draws for several pages when the real history is absent.
std::vector<Row> manyDraws()
{
    if (auto real = realDraws())
        return *real;
    std::vector<Row> rows;
    for (int n = 1; n <= 3000; ++n)
        rows.push_back({n, {n % 10, n / 10 % 10, n / 100 % 10, n / 1000 % 10}});
    return rows;
}

std::string randomBytes(std::size_t n)
{
    std::mt19937 gen(7);
    std::string s(n, '\0');
    for (char& c : s)
        c = static_cast<char>(gen() & 0xff);
    return s;
}

struct Refusal {
    const char* name;
    std::function<void(const std::string& path)> make;
    Cause cause;
};

void expectRefused(const Refusal& r)
{
    SCOPED_TRACE(r.name);
    TempDir dir;
    const std::string path = dir.file("Rumone.mdb");
    r.make(path);
    const std::string before = readBytes(path);
    const DrawDatabaseRef cs = drawDatabaseAt(path);

    std::string message;
    EXPECT_EQ(causeOf([&] { openDrawSnapshot(cs); }, &message), r.cause);
    EXPECT_NE(message.find(path), std::string::npos) << message;
    EXPECT_EQ(causeOf([&] { openDrawEditSet(cs); }), r.cause);
    DrawHistory history;
    EXPECT_EQ(causeOf([&] { history = loadDrawHistory(cs); }), r.cause);

    EXPECT_TRUE(readBytes(path) == before) << "the refused file was changed";
    EXPECT_NE(access((path + "-journal").c_str(), F_OK), 0) << "a journal was left behind";
}

TEST(StoreRefusal, EachBadFileHasItsOwnCauseAndKeepsItsBytes)
{
    const std::vector<Refusal> refusals = {
        {"empty file", [](const std::string& p) { writeBytes(p, ""); }, Cause::EmptyFile},
        {"random bytes", [](const std::string& p) { writeBytes(p, randomBytes(8192)); }, Cause::NotADatabase},
        {"plain SQLite", [](const std::string& p) { makeForeignDatabase(p, "", kForeignSchema); }, Cause::Unencrypted},
        {"wrong key", [](const std::string& p) { makeForeignDatabase(p, "123456", kForeignSchema); },
         Cause::NotADatabase},
        {"truncated inside a page",
         [](const std::string& p) {
             makeDatabase(p, manyDraws());
             const std::string bytes = readBytes(p);
             writeBytes(p, bytes.substr(0, bytes.size() - 100));
         },
         Cause::Damaged},
        {"truncated at a page boundary",
         [](const std::string& p) {
             makeDatabase(p, manyDraws());
             const std::string bytes = readBytes(p);
             writeBytes(p, bytes.substr(0, bytes.size() / 2048 * 1024));
         },
         Cause::Damaged},
        {"truncated inside the first page",
         [](const std::string& p) {
             makeDatabase(p, {{1, {1, 2, 3, 4}}});
             writeBytes(p, readBytes(p).substr(0, 500));
         },
         Cause::Damaged},
        {"saved query missing",
         [](const std::string& p) {
             makeDatabase(p, {{1, {1, 2, 3, 4}}});
             rawExec(p, "DROP VIEW 全データ選択クエリ");
         },
         Cause::QueryMissing},
    };
    for (const Refusal& r : refusals)
        expectRefused(r);
}

TEST(StoreRefusal, DamagedPagesAreReportedAsDamaged)
{
    TempDir dir;
    const std::string path = dir.file("Rumone.mdb");
    makeDatabase(path, manyDraws());
    std::string bytes = readBytes(path);
    ASSERT_GT(bytes.size(), 16 * 1024u);
    // Scramble a page among the draws (the schema and the tables' roots come
    // first): its authentication code no longer fits.
    for (std::size_t i = 12 * 1024; i < 13 * 1024; ++i)
        bytes[i] = static_cast<char>(bytes[i] ^ 0x5a);
    writeBytes(path, bytes);

    EXPECT_EQ(causeOf([&] { openDrawSnapshot(drawDatabaseAt(path)); }), Cause::Damaged);
    EXPECT_TRUE(readBytes(path) == bytes);
}

TEST(StoreRefusal, MissingFileIsReportedAndNeverCreated)
{
    TempDir dir;
    const std::string path = dir.file("Rumone.mdb");
    const DrawDatabaseRef cs = drawDatabaseAt(path);
    std::string message;
    EXPECT_EQ(causeOf([&] { openDrawSnapshot(cs); }, &message), Cause::FileMissing);
    EXPECT_NE(message.find(path), std::string::npos);
    EXPECT_EQ(causeOf([&] { openDrawEditSet(cs); }), Cause::FileMissing);
    EXPECT_NE(access(path.c_str(), F_OK), 0);
}

TEST(StoreRefusal, ProgramConnectionStringFindsTheDatabaseInTheFolder)
{
    TempDir dir;
    makeDatabase(dir.file(kDatabaseFileName), {{1, {1, 2, 3, 4}}});
    EXPECT_EQ(openDrawSnapshot(parseConnectionString(buildConnectionString(dir.path()))).recordCount(), 1u);
}

TEST(StoreCreate, NewDatabaseIsKeyedEmptyAndNeverOverwritesAFile)
{
    TempDir dir;
    const std::string path = dir.file("new.mdb");
    createDrawDatabase(path);
    const std::string bytes = readBytes(path);
    ASSERT_GE(bytes.size(), 16u);
    EXPECT_NE(bytes.substr(0, 16), std::string("SQLite format 3\0", 16));
    EXPECT_EQ(openDrawSnapshot(drawDatabaseAt(path)).recordCount(), 0u);
    EXPECT_EQ(checkDatabaseIntegrity(drawDatabaseAt(path)), std::vector<std::string>{"ok"});

    EXPECT_THROW(createDrawDatabase(path), StoreError);
    EXPECT_TRUE(readBytes(path) == bytes);

    const std::string other = dir.file("other.mdb");
    writeBytes(other, "keep me");
    EXPECT_THROW(createDrawDatabase(other), StoreError);
    EXPECT_EQ(readBytes(other), "keep me");
}

}  // namespace
}  // namespace rumone::test
