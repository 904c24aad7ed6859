// Reading and writing draw lists as CSV, bulk import through the edit set
// and through rumone-db, and the round trip of the real history.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <numeric>

#include "StoreTestHelpers.h"
#include "history/DrawCsv.h"

namespace rumone::test {
namespace {

// The text of a parse failure, "" when the text parses.
std::string ParseError(const std::string& text, int* line = nullptr)
{
    try {
        ParseDrawCsv(text);
    } catch (const DrawCsvError& e) {
        if (line)
            *line = e.line();
        return e.reason();
    }
    return {};
}

TEST(DrawCsv, ReadsTheDrawColumnsWhereverTheyStand)
{
    const std::string text =
        "\xEF\xBB\xBF" "第4数字,抽せん日,回数,第1数字,第2数字,第3数字\r\n"
        "4,1994-10-07,1,1,2,3\r\n"
        "\r\n"
        ",\"2024-01-01, Fri\",2, 9 ,,\r\n";
    const std::vector<EditRow> rows = ParseDrawCsv(text);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].number.integer, 1);
    EXPECT_EQ(rows[0].digits[0].integer, 1);
    EXPECT_EQ(rows[0].digits[3].integer, 4);
    EXPECT_EQ(rows[1].number.integer, 2);
    EXPECT_EQ(rows[1].digits[0].integer, 9);
    EXPECT_TRUE(rows[1].digits[1].IsNull());
    EXPECT_TRUE(rows[1].digits[3].IsNull());
}

TEST(DrawCsv, FirstBadLineIsNamedWithItsReason)
{
    const std::string head = "回数,第1数字,第2数字,第3数字,第4数字\n1,1,2,3,4\n";
    struct Case {
        std::string text;
        int line;
    };
    const std::vector<Case> cases = {
        {"回数,第1数字,第2数字,第4数字\n1,1,2,3\n", 1},
        {"", 1},
        {head + "2,1,10,3,4\n", 3},
        {head + "2,1,1.5,3,4\n", 3},
        {head + "2,1,a,3,4\n", 3},
        {head + "2,1,2,3\n", 3},
        {head + "2,1,2,3,4,5\n", 3},
        {head + "\n\n1,5,5,5,5\n", 5},  // 回数 1 twice
        {head + ",1,2,3,4\n", 3},
        {head + "32768,1,2,3,4\n", 3},
        {head + "-1,1,2,3,4\n", 3},
        {head + "2,\"1,2,3,4\n", 3},
    };
    for (const Case& c : cases) {
        int line = 0;
        EXPECT_NE(ParseError(c.text, &line), "") << c.text;
        EXPECT_EQ(line, c.line) << c.text;
    }
    try {
        ParseDrawCsv(head + "2,1,10,3,4\n");
    } catch (const DrawCsvError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("3行目: ", 0), 0u) << e.what();
        EXPECT_NE(e.reason().find("第2数字"), std::string::npos) << e.reason();
    }
}

TEST(DrawCsv, WrittenTextReadsBackAndKeepsForeignValuesVisible)
{
    std::vector<EditRow> rows = EditRowsOf({{1, {1, 2, 3, 4}}, {2, {-1, -1, 0, -1}}});
    EXPECT_EQ(WriteDrawCsv(rows), "回数,第1数字,第2数字,第3数字,第4数字\n1,1,2,3,4\n2,,,0,\n");
    const std::vector<EditRow> back = ParseDrawCsv(WriteDrawCsv(rows));
    ASSERT_EQ(back.size(), 2u);
    EXPECT_TRUE(back[1].digits[0].IsNull());
    EXPECT_EQ(back[1].digits[2].integer, 0);

    rows[0].digits[1] = DbValue::Real(1.5);
    rows[0].digits[2] = DbValue::Text("a,\"b\"");
    const std::string text = WriteDrawCsv(rows);
    EXPECT_NE(text.find("\n1,1,1.5,\"a,\"\"b\"\"\",4\n"), std::string::npos) << text;
}

std::string RumoneDb()
{
    return std::string(RUMONE_BIN_DIR) + "/rumone-db";
}

int RunTool(const std::vector<std::string>& args)
{
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argv;
        std::string tool = RumoneDb();
        argv.push_back(tool.data());
        std::vector<std::string> copy = args;
        for (std::string& a : copy)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        const int devnull = open("/dev/null", O_WRONLY);
        dup2(devnull, 1);
        dup2(devnull, 2);
        execv(argv[0], argv.data());
        std::_Exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(DrawCsvImport, BadLineImportsNothing)
{
    TempDir dir;
    const std::string path = MakeDatabase(dir.file("Rumone.mdb"), {{1, {1, 2, 3, 4}}});
    const std::string bytes = ReadBytes(path);
    const std::string csv = dir.file("draws.csv");
    WriteBytes(csv, "回数,第1数字,第2数字,第3数字,第4数字\n1,9,9,9,9\n2,2,2,2,2\n3,3,x,3,3\n");

    EXPECT_THROW(ParseDrawCsv(ReadBytes(csv)), DrawCsvError);
    if (access(RumoneDb().c_str(), X_OK) != 0)
        GTEST_SKIP() << "rumone-db is not built: " << RumoneDb();
    EXPECT_NE(RunTool({"import", csv, path}), 0);
    EXPECT_TRUE(ReadBytes(path) == bytes);

    WriteBytes(csv, "回数,第1数字,第2数字,第3数字,第4数字\n1,9,9,9,9\n2,2,2,2,\n");
    EXPECT_EQ(RunTool({"import", csv, path}), 0);
    const DrawSnapshot s = OpenDrawSnapshot(ConnectionStringFor(path));
    ASSERT_EQ(s.RecordCount(), 2u);
    EXPECT_EQ(s.Rows()[0].digits[0].integer, 9);
    EXPECT_TRUE(s.Rows()[1].digits[3].IsNull());
}

TEST(DrawCsvImport, SampleIsMadeOnceAndAnExistingFileIsKept)
{
    if (access(RumoneDb().c_str(), X_OK) != 0)
        GTEST_SKIP() << "rumone-db is not built: " << RumoneDb();
    TempDir dir;
    const std::string path = dir.file("Rumone.mdb");
    ASSERT_EQ(RunTool({"sample", path, "30", "5"}), 0);
    const DrawHistory h = [&] {
        DrawHistory x;
        x.LoadDrawHistory(ConnectionStringFor(path));
        return x;
    }();
    EXPECT_EQ(h.latestDrawNumber(), 30);
    EXPECT_EQ(h.CompleteDraws().size(), 30u);

    const std::string bytes = ReadBytes(path);
    EXPECT_EQ(RunTool({"sample", path}), 0);
    EXPECT_TRUE(ReadBytes(path) == bytes);
    const std::string other = dir.file("odd.mdb");
    WriteBytes(other, "");
    EXPECT_EQ(RunTool({"sample", other}), 0);
    EXPECT_EQ(ReadBytes(other), "");
    EXPECT_EQ(RunTool({"check", path}), 0);
    EXPECT_NE(RunTool({"check", other}), 0);
}

TEST(DrawCsvImport, RealHistoryRoundTripsAndLoads)
{
    const auto real = RealDraws();
    if (!real)
        GTEST_SKIP() << "real history absent: " << RealDrawsPath();
    TempDir dir;
    const std::string path = dir.file("Rumone.mdb");
    CreateDrawDatabase(path);
    const std::vector<EditRow> parsed = ParseDrawCsv(ReadBytes(RealDrawsPath()));
    ASSERT_EQ(parsed.size(), real->size());
    {
        DrawEditSet set = OpenDrawEditSet(ConnectionStringFor(path));
        set.ImportDraws(parsed);
        EXPECT_EQ(set.RecordCount(), real->size());
    }

    DrawHistory history;
    history.LoadDrawHistory(ConnectionStringFor(path));
    EXPECT_EQ(history.latestDrawNumber(), 7054);
    int sum = 0;
    for (int d = 0; d <= 9; ++d)
        sum += history.digitCounts(d);
    EXPECT_EQ(sum, 4 * 7054);
    EXPECT_EQ(history.CompleteDraws().size(), 7054u);
    const auto& last = history.CompleteDraws().back();
    EXPECT_EQ(last.digits, (std::array<int, 4>{9, 5, 7, 7}));

    // Export and import again into a fresh database: the same rows.
    const DrawSnapshot snapshot = OpenDrawSnapshot(ConnectionStringFor(path));
    std::vector<EditRow> stored;
    for (const DrawRecord& r : snapshot.Rows())
        stored.push_back(EditRow{r.number, r.digits});
    const std::string exported = WriteDrawCsv(stored);
    EXPECT_EQ(exported, WriteDrawCsv(parsed));
    const std::string copy = dir.file("copy.mdb");
    CreateDrawDatabase(copy);
    OpenDrawEditSet(ConnectionStringFor(copy)).ImportDraws(ParseDrawCsv(exported));
    std::vector<EditRow> again;
    const DrawSnapshot copied = OpenDrawSnapshot(ConnectionStringFor(copy));
    for (const DrawRecord& r : copied.Rows())
        again.push_back(EditRow{r.number, r.digits});
    EXPECT_EQ(WriteDrawCsv(again), exported);
}

}  // namespace
}  // namespace rumone::test
