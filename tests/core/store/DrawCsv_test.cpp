// Reading and writing draw lists as CSV, bulk import through the edit set
// and through rumone-db, and the round trip of the real history.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <numeric>

#include "ReliabilityHelpers.h"
#include "core/store/DatabaseLock.h"
#include "core/store/DrawCsv.h"
#include "core/store/DrawImport.h"

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
    return toolPath("rumone-db");
}

int runTool(const std::vector<std::string>& args)
{
    return runToolCapturing("rumone-db", args).exitCode;
}

// What rumone-db prints on its standard output, and its exit status.
std::pair<std::string, int> toolOutput(const std::vector<std::string>& args)
{
    std::string command = rumoneDb();
    for (const std::string& a : args)
        command += " '" + a + "'";
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    std::string out;
    char buffer[256];
    while (pipe && fgets(buffer, sizeof buffer, pipe))
        out += buffer;
    const int status = pipe ? pclose(pipe) : -1;
    return {out, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

// The formats players have, a file each, against draws 7053 (1234) and
// 7054 (0567): the dry run counts without writing, the import writes and
// prints the same counts, and a second dry run finds everything stored
// (the dates of a 抽せん日 column too).
TEST(DrawCsvImport, EveryFormatCountsTheSameBeforeAndAfterWriting)
{
    if (access(rumoneDb().c_str(), X_OK) != 0)
        GTEST_SKIP() << "rumone-db is not built: " << rumoneDb();
    struct Case {
        const char* name;
        std::string text;
        const char* counts;
    };
    const std::vector<Case> cases = {
        {"columns", "回数,第1数字,第2数字,第3数字,第4数字\n7055,1,1,1,1\n7054,0,5,6,7\n",
         "new 1 changed 0 unchanged 1\ndates 0 prizes 0"},
        {"results page", "回号,抽せん日,当せん番号\n第7055回,2026/08/24,0123\n第7054回,2026/08/21,567\n",
         "new 1 changed 0 unchanged 1\ndates 2 prizes 0"},
        {"tabs and full width", "当選番号\t回\n１２３４\t7053回\n9\t7056回\n",
         "new 1 changed 0 unchanged 1\ndates 0 prizes 0"},
        {"full-width comma, changed", "回数，当選数字，賞金\n7054，5670，900000\n7053，1234，1\n",
         "new 0 changed 1 unchanged 1\ndates 0 prizes 0"},
        {"quoted line break", "回数,メモ,当せん番号\n7055,\"a\nb\",1111\n7056,\"x,\"\"y\"\"\",2222\n",
         "new 2 changed 0 unchanged 0\ndates 0 prizes 0"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string db = makeDatabase(dir.file("Rumone.mdb"), {{7053, {1, 2, 3, 4}}, {7054, {0, 5, 6, 7}}});
        const std::string csv = dir.file(std::string(c.name) + ".csv");
        writeBytes(csv, c.text);
        const std::string before = readBytes(db);
        const auto dry = toolOutput({"import", "--dry-run", csv, db});
        EXPECT_EQ(dry, std::make_pair(std::string(c.counts) + "\n", 0)) << c.name;
        EXPECT_TRUE(readBytes(db) == before) << c.name;
        const auto done = toolOutput({"import", csv, db});
        EXPECT_EQ(done.second, 0) << c.name;
        EXPECT_TRUE(done.first.ends_with(std::string(c.counts) + "\n")) << c.name << ": " << done.first;
        const std::size_t all = parseDrawCsv(c.text).size();
        EXPECT_EQ(toolOutput({"import", "--dry-run", csv, db}).first,
                  "new 0 changed 0 unchanged " + std::to_string(all) + "\ndates 0 prizes 0\n")
            << c.name;
    }
}

// A winning number is four digits, or fewer with the leading zeros lost;
// anything else is refused with its line, as is a draw that is no number.
TEST(DrawCsv, WinningNumberAndDrawColumnsRefuseWhatTheyCannotRead)
{
    struct Case {
        std::string text;
        int line;  // 0: reads
        std::string first;
    };
    const std::string head = "回,当せん番号\n1,0001\n";
    const std::vector<Case> cases = {
        {head + "2,7\n", 0, "0007"},
        {head + "2,12345\n", 3, ""},
        {head + "2,12a\n", 3, ""},
        {head + "2,\n", 3, ""},
        {head + "第x回,1234\n", 3, ""},
        {"日付,当せん番号\n1,1234\n", 1, ""},
        {"回数,回号,当せん番号\n1,1,1234\n", 1, ""},
        {"回数,当せん番号,第1数字\n1,1234,5\n", 0, "1234"},  // a lone digit column does not count
    };
    for (const Case& c : cases) {
        int line = 0;
        const std::string error = parseError(c.text, &line);
        EXPECT_EQ(error.empty() ? 0 : line, c.line) << c.text << error;
        if (c.line == 0 && error.empty()) {
            const EditRow last = parseDrawCsv(c.text).back();
            std::string digits;
            for (const DbValue& d : last.digits)
                digits += std::to_string(d.integer);
            EXPECT_EQ(digits, c.first) << c.text;
        }
    }
}

// Pasted lines: a header reads as a file does; without one, each line with
// a draw gives the first four-digit word after it.
TEST(DrawCsv, PastedLinesGiveTheirDrawAndWinningNumber)
{
    struct Case {
        std::string text;
        std::vector<std::string> draws;  // "7055:1234"; empty with errorLine set
        int errorLine = 0;
    };
    const std::vector<Case> cases = {
        {"回号 抽せん日 当せん番号\n第7055回 2026年8月24日(月) 0123 ストレート "
         "900,000円\n\n第7054回\t2026/8/21\t5678\n",
         {"7055:0123", "7054:5678"}},
        {"7055\t2026/8/24\t4321\n", {"7055:4321"}},
        {"回数\t当選番号\n7055\t12\n", {"7055:0012"}},
        {"第7055回 当せん番号なし\n", {}, 1},
        {"第7055回 1111\n第7055回 2222\n", {}, 2},
    };
    for (const Case& c : cases) {
        std::vector<std::string> got;
        int line = 0;
        try {
            for (const EditRow& r : parsePastedDraws(c.text)) {
                std::string s = std::to_string(r.number.integer) + ":";
                for (const DbValue& d : r.digits)
                    s += std::to_string(d.integer);
                got.push_back(s);
            }
        } catch (const DrawCsvError& e) {
            line = e.line();
        }
        EXPECT_EQ(got, c.draws) << c.text;
        EXPECT_EQ(line, c.errorLine) << c.text;
    }
}

// A quoted field may hold a line break: what the writer quotes reads back,
// and the lines after it keep their numbers.
TEST(DrawCsv, QuotedLineBreaksReadBackAndKeepTheLineNumbers)
{
    std::vector<EditRow> rows = editRowsOf({{1, {1, 2, 3, 4}}, {2, {5, 6, 7, 8}}});
    rows[0].digits[1] = DbValue::fromText("a\r\nb");
    int line = 0;
    const std::string reason = parseError(writeDrawCsv(rows), &line);
    EXPECT_EQ(line, 2);
    EXPECT_NE(reason.find("第2数字"), std::string::npos) << reason;
    EXPECT_EQ(parseError("回数,メモ,第1数字,第2数字,第3数字,第4数字\n1,\"x\ny\nz\",1,2,3,4\n2,,1,2,x,4\n", &line) != "",
              true);
    EXPECT_EQ(line, 5);
}

// A preview is written only while the file holds what it was made from.
TEST(DrawCsvImport, APreviewIsRefusedOnceTheFileChanged)
{
    TempDir dir;
    const std::string path = makeDatabase(dir.file("Rumone.mdb"), {{1, {1, 2, 3, 4}}});
    DrawEditSet set = openDrawEditSet(drawDatabaseAt(path));
    const ImportPreview preview = previewImport(editRowsOf({{1, {9, 9, 9, 9}}, {2, {2, 2, 2, 2}}}), set.rows());
    EXPECT_EQ(importCountsLine(preview), "new 1 changed 1 unchanged 0");
    EXPECT_EQ(changedLines(preview), std::vector<std::string>{"第1回 1234 → 9999"});
    DrawEditSet other = openDrawEditSet(drawDatabaseAt(path));
    other.importDraws(editRowsOf({{2, {0, 0, 0, 0}}}));
    const std::string bytes = readBytes(path);
    EXPECT_THROW(set.importPreviewed(preview), StoreError);
    EXPECT_TRUE(readBytes(path) == bytes);
    DrawEditSet fresh = openDrawEditSet(drawDatabaseAt(path));
    const ImportCounts counts = fresh.importPreviewed(previewImport(preview.rowsToWrite(), fresh.rows()));
    EXPECT_EQ(counts.replaced, 2u);
}

// The first holder keeps the database; a second is refused until the
// first lets go (the system lets go for a killed process too).
TEST(DatabaseLock, OneHolderAtATime)
{
    TempDir dir;
    const std::string path = makeDatabase(dir.file("Rumone.mdb"), {});
    auto first = std::make_unique<DatabaseLock>(path);
    EXPECT_TRUE(first->held());
    EXPECT_FALSE(DatabaseLock(path).held());
    first.reset();
    EXPECT_TRUE(DatabaseLock(path).held());
    EXPECT_TRUE(DatabaseLock(dir.file("none.mdb")).held());  // nothing to keep; the load says why
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
    const DrawSnapshot s = openDrawSnapshot(drawDatabaseAt(path));
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
    const DrawHistory r = loadDrawHistory(drawDatabaseAt(real));
    ASSERT_EQ(r.completeDraws().size(), expected->size());
    EXPECT_EQ(r.latestDrawNumber(), expected->back().number);
    for (std::size_t i = 0; i < expected->size(); i += 997)
        EXPECT_EQ(r.completeDraws()[i].digits, (*expected)[i].digits) << "draw " << (*expected)[i].number;

    const std::string path = dir.file("Rumone.mdb");
    EXPECT_NE(runTool({"sample", path, "30", "5"}), 0) << "the old form without --generated is refused";
    ASSERT_EQ(runTool({"sample", path, "--generated", "30", "5"}), 0);
    const DrawHistory h = [&] {
        DrawHistory x;
        x = loadDrawHistory(drawDatabaseAt(path));
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
        DrawEditSet set = openDrawEditSet(drawDatabaseAt(path));
        set.importDraws(parsed);
        EXPECT_EQ(set.recordCount(), real->size());
    }

    DrawHistory history;
    history = loadDrawHistory(drawDatabaseAt(path));
    EXPECT_EQ(history.latestDrawNumber(), 7054);
    int sum = 0;
    for (int d = 0; d <= 9; ++d)
        sum += history.digitCounts(d);
    EXPECT_EQ(sum, 4 * 7054);
    EXPECT_EQ(history.completeDraws().size(), 7054u);
    const auto& last = history.completeDraws().back();
    EXPECT_EQ(last.digits, (std::array<int, 4>{9, 5, 7, 7}));

    // Export and import again into a fresh database: the same rows.
    const DrawSnapshot snapshot = openDrawSnapshot(drawDatabaseAt(path));
    std::vector<EditRow> stored;
    for (const DrawRecord& r : snapshot.rows())
        stored.push_back(EditRow{r.number, r.digits});
    const std::string exported = writeDrawCsv(stored);
    EXPECT_EQ(exported, writeDrawCsv(parsed));
    const std::string copy = dir.file("copy.mdb");
    createDrawDatabase(copy);
    openDrawEditSet(drawDatabaseAt(copy)).importDraws(parseDrawCsv(exported));
    std::vector<EditRow> again;
    const DrawSnapshot copied = openDrawSnapshot(drawDatabaseAt(copy));
    for (const DrawRecord& r : copied.rows())
        again.push_back(EditRow{r.number, r.digits});
    EXPECT_EQ(writeDrawCsv(again), exported);
}

}  // namespace
}  // namespace rumone::test
