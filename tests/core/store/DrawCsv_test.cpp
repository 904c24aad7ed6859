// Reading and writing draw lists as CSV, bulk import through the edit set
// and through rumone-db, and the round trip of the real history.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <numeric>

#include "StoreTestHelpers.h"
#include "core/store/DrawCsv.h"

namespace rumone::test {
namespace {

// The text of a parse failure, "" when the text parses.
std::string parseError(const std::string& text, int* line = nullptr)
{
    try {
        parseDrawCsv(text);
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
        "\xEF\xBB\xBF"
        "第4数字,抽せん日,回数,第1数字,第2数字,第3数字\r\n"
        "4,1994-10-07,1,1,2,3\r\n"
        "\r\n"
        ",\"2024-01-01, Fri\",2, 9 ,,\r\n";
    const std::vector<EditRow> rows = parseDrawCsv(text);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].number.integer, 1);
    EXPECT_EQ(rows[0].digits[0].integer, 1);
    EXPECT_EQ(rows[0].digits[3].integer, 4);
    EXPECT_EQ(rows[1].number.integer, 2);
    EXPECT_EQ(rows[1].digits[0].integer, 9);
    EXPECT_TRUE(rows[1].digits[1].isNull());
    EXPECT_TRUE(rows[1].digits[3].isNull());
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
        EXPECT_NE(parseError(c.text, &line), "") << c.text;
        EXPECT_EQ(line, c.line) << c.text;
    }
    try {
        parseDrawCsv(head + "2,1,10,3,4\n");
    } catch (const DrawCsvError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("3行目: ", 0), 0u) << e.what();
        EXPECT_NE(e.reason().find("第2数字"), std::string::npos) << e.reason();
    }
}

TEST(DrawCsv, WrittenTextReadsBackAndKeepsForeignValuesVisible)
{
    std::vector<EditRow> rows = editRowsOf({{1, {1, 2, 3, 4}}, {2, {-1, -1, 0, -1}}});
    EXPECT_EQ(writeDrawCsv(rows), "回数,第1数字,第2数字,第3数字,第4数字\n1,1,2,3,4\n2,,,0,\n");
    const std::vector<EditRow> back = parseDrawCsv(writeDrawCsv(rows));
    ASSERT_EQ(back.size(), 2u);
    EXPECT_TRUE(back[1].digits[0].isNull());
    EXPECT_EQ(back[1].digits[2].integer, 0);

    rows[0].digits[1] = DbValue::fromReal(1.5);
    rows[0].digits[2] = DbValue::fromText("a,\"b\"");
    const std::string text = writeDrawCsv(rows);
    EXPECT_NE(text.find("\n1,1,1.5,\"a,\"\"b\"\"\",4\n"), std::string::npos) << text;
}

// Excel in Japan writes CP932; the program writes UTF-8 with a byte order
// mark by default. Both read back to the same draws.
TEST(DrawCsv, ReadsAndWritesUtf8WithBomAndCp932)
{
    const std::vector<EditRow> rows = editRowsOf({{1, {1, 2, 3, 4}}, {2, {-1, 0, 0, 9}}});
    const std::string utf8 = drawCsvFile(rows);
    EXPECT_EQ(utf8.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(utf8.substr(3), writeDrawCsv(rows));
    const std::string cp932 = drawCsvFile(rows, CsvEncoding::Cp932);
    EXPECT_EQ(cp932.substr(0, 4), "\x89\xf1\x90\x94");  // 回数
    for (const std::string& file : {utf8, cp932, writeDrawCsv(rows)})
        EXPECT_EQ(writeDrawCsv(parseDrawCsv(file)), writeDrawCsv(rows));

    // Bytes that are neither: the line is named, nothing is read.
    int line = 0;
    EXPECT_NE(parseError(cp932 + "3,1,2,3,\x82\n", &line), "");
    EXPECT_EQ(line, 4);

    // A stored text CP932 cannot hold is named by its line.
    std::vector<EditRow> odd = rows;
    odd[1].digits[0] = DbValue::fromText("😀");
    try {
        drawCsvFile(odd, CsvEncoding::Cp932);
        ADD_FAILURE() << "no error for a character outside CP932";
    } catch (const DrawCsvError& e) {
        EXPECT_EQ(e.line(), 3);
    }
}

std::string rumoneDb()
{
    return std::string(RUMONE_BIN_DIR) + "/rumone-db";
}

int runTool(const std::vector<std::string>& args)
{
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argv;
        std::string tool = rumoneDb();
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
    const std::string path = makeDatabase(dir.file("Rumone.mdb"), {{1, {1, 2, 3, 4}}});
    const std::string bytes = readBytes(path);
    const std::string csv = dir.file("draws.csv");
    writeBytes(csv, "回数,第1数字,第2数字,第3数字,第4数字\n1,9,9,9,9\n2,2,2,2,2\n3,3,x,3,3\n");

    EXPECT_THROW(parseDrawCsv(readBytes(csv)), DrawCsvError);
    if (access(rumoneDb().c_str(), X_OK) != 0)
        GTEST_SKIP() << "rumone-db is not built: " << rumoneDb();
    EXPECT_NE(runTool({"import", csv, path}), 0);
    EXPECT_TRUE(readBytes(path) == bytes);

    writeBytes(csv, "回数,第1数字,第2数字,第3数字,第4数字\n1,9,9,9,9\n2,2,2,2,\n");
    EXPECT_EQ(runTool({"import", csv, path}), 0);
    const DrawSnapshot s = openDrawSnapshot(connectionStringForFile(path));
    ASSERT_EQ(s.recordCount(), 2u);
    EXPECT_EQ(s.rows()[0].digits[0].integer, 9);
    EXPECT_TRUE(s.rows()[1].digits[3].isNull());
}

// Import into a database that is not there makes it first; export writes
// UTF-8 with a byte order mark, or CP932 when asked, and both import again.
TEST(DrawCsvImport, ImportCreatesAMissingDatabaseAndExportChoosesTheEncoding)
{
    if (access(rumoneDb().c_str(), X_OK) != 0)
        GTEST_SKIP() << "rumone-db is not built: " << rumoneDb();
    TempDir dir;
    const std::vector<EditRow> rows = editRowsOf({{1, {1, 2, 3, 4}}, {2, {5, 6, 7, -1}}});
    const std::string csv = dir.file("draws.csv");
    writeBytes(csv, drawCsvFile(rows, CsvEncoding::Cp932));
    const std::string db = dir.file("new.mdb");
    ASSERT_EQ(runTool({"import", csv, db}), 0);
    EXPECT_EQ(runTool({"check", db}), 0);

    ASSERT_EQ(runTool({"export", db, dir.file("utf8.csv")}), 0);
    EXPECT_EQ(readBytes(dir.file("utf8.csv")), drawCsvFile(rows));
    ASSERT_EQ(runTool({"export", "--cp932", db, dir.file("sjis.csv")}), 0);
    EXPECT_EQ(readBytes(dir.file("sjis.csv")), drawCsvFile(rows, CsvEncoding::Cp932));

    // A file that cannot be read leaves no database behind.
    writeBytes(csv, "\x89\xf1\x90");
    EXPECT_NE(runTool({"import", csv, dir.file("none.mdb")}), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.file("none.mdb")));
}

TEST(DrawCsvImport, SampleHoldsTheRealHistoryOrGeneratedDrawsAndAnExistingFileIsKept)
{
    if (access(rumoneDb().c_str(), X_OK) != 0)
        GTEST_SKIP() << "rumone-db is not built: " << rumoneDb();
    TempDir dir;
    const std::string real = dir.file("real.mdb");
    ASSERT_EQ(runTool({"sample", real}), 0);
    const auto expected = realDraws();
    ASSERT_TRUE(expected);
    const DrawHistory r = loadDrawHistory(connectionStringForFile(real));
    ASSERT_EQ(r.completeDraws().size(), expected->size());
    EXPECT_EQ(r.latestDrawNumber(), expected->back().number);
    for (std::size_t i = 0; i < expected->size(); i += 997)
        EXPECT_EQ(r.completeDraws()[i].digits, (*expected)[i].digits) << "draw " << (*expected)[i].number;

    const std::string path = dir.file("Rumone.mdb");
    EXPECT_NE(runTool({"sample", path, "30", "5"}), 0) << "the old form without --generated is refused";
    ASSERT_EQ(runTool({"sample", path, "--generated", "30", "5"}), 0);
    const DrawHistory h = [&] {
        DrawHistory x;
        x = loadDrawHistory(connectionStringForFile(path));
        return x;
    }();
    EXPECT_EQ(h.latestDrawNumber(), 30);
    EXPECT_EQ(h.completeDraws().size(), 30u);

    const std::string bytes = readBytes(path);
    EXPECT_EQ(runTool({"sample", path}), 0);
    EXPECT_TRUE(readBytes(path) == bytes);
    const std::string other = dir.file("odd.mdb");
    writeBytes(other, "");
    EXPECT_EQ(runTool({"sample", other}), 0);
    EXPECT_EQ(readBytes(other), "");
    EXPECT_EQ(runTool({"check", path}), 0);
    EXPECT_NE(runTool({"check", other}), 0);
}

TEST(DrawCsvImport, RealHistoryRoundTripsAndLoads)
{
    const auto real = realDraws();
    ASSERT_TRUE(real) << "the real history is missing: " << realDrawsPath();
    TempDir dir;
    const std::string path = dir.file("Rumone.mdb");
    createDrawDatabase(path);
    const std::vector<EditRow> parsed = parseDrawCsv(readBytes(realDrawsPath()));
    ASSERT_EQ(parsed.size(), real->size());
    {
        DrawEditSet set = openDrawEditSet(connectionStringForFile(path));
        set.importDraws(parsed);
        EXPECT_EQ(set.recordCount(), real->size());
    }

    DrawHistory history;
    history = loadDrawHistory(connectionStringForFile(path));
    EXPECT_EQ(history.latestDrawNumber(), 7054);
    int sum = 0;
    for (int d = 0; d <= 9; ++d)
        sum += history.digitCounts(d);
    EXPECT_EQ(sum, 4 * 7054);
    EXPECT_EQ(history.completeDraws().size(), 7054u);
    const auto& last = history.completeDraws().back();
    EXPECT_EQ(last.digits, (std::array<int, 4>{9, 5, 7, 7}));

    // Export and import again into a fresh database: the same rows.
    const DrawSnapshot snapshot = openDrawSnapshot(connectionStringForFile(path));
    std::vector<EditRow> stored;
    for (const DrawRecord& r : snapshot.rows())
        stored.push_back(EditRow{r.number, r.digits});
    const std::string exported = writeDrawCsv(stored);
    EXPECT_EQ(exported, writeDrawCsv(parsed));
    const std::string copy = dir.file("copy.mdb");
    createDrawDatabase(copy);
    openDrawEditSet(connectionStringForFile(copy)).importDraws(parseDrawCsv(exported));
    std::vector<EditRow> again;
    const DrawSnapshot copied = openDrawSnapshot(connectionStringForFile(copy));
    for (const DrawRecord& r : copied.rows())
        again.push_back(EditRow{r.number, r.digits});
    EXPECT_EQ(writeDrawCsv(again), exported);
}

}  // namespace
}  // namespace rumone::test
