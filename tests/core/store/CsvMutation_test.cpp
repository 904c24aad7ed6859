// Seeded mutations of good CSV files (the real history and small ones):
// bytes flipped and inserted, lines cut and doubled, fields swapped, the
// encoding and line ends changed. Every outcome is either a refusal with a
// line number (and the database unchanged) or a list of valid draws that
// survives export and import unchanged. Nothing else: no crash, no other
// exception, no raw control byte in a message.
#include <iconv.h>
#include <sys/stat.h>

#include <iostream>
#include <map>
#include <random>
#include <set>

#include "ReliabilityHelpers.h"
#include "core/store/CsvFile.h"
#include "core/store/DrawCsv.h"

namespace rumone::test {
namespace {

const std::vector<std::string> kSmallFiles = {
    "回数,第1数字,第2数字,第3数字,第4数字\n1,1,2,3,4\n2,5,6,7,8\n3,9,0,1,2\n",
    "\xEF\xBB\xBF回数,抽せん日,第1数字,第2数字,第3数字,第4数字\r\n10,2020/01/01,0,0,0,0\r\n11,\"2020/01/02\",9,9,9,"
    "9\r\n\r\n12,,1,,3,\r\n",
    "第4数字,第3数字,第2数字,第1数字,回数\n4,3,2,1,100\n\"8\",7,6,5,101\n",
    "回数,第1数字,第2数字,第3数字,第4数字,備考\n32767,1,1,1,1,\"a,b\"\n0,2,2,2,2,\"\"\"x\"\"\"\n",
};

std::string convert(const std::string& text, const char* to)
{
    iconv_t cd = iconv_open(to, "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return text;
    std::string out(text.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* o = out.data();
    std::size_t outLeft = out.size();
    const std::size_t rc = iconv(cd, &in, &inLeft, &o, &outLeft);
    iconv_close(cd);
    if (rc == static_cast<std::size_t>(-1))
        return text;
    out.resize(out.size() - outLeft);
    return out;
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const auto end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

std::string joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += (i ? "\n" : "") + lines[i];
    return text;
}

// One seeded mutation of `text`.
std::string mutate(std::string text, std::mt19937& gen)
{
    auto pick = [&](std::size_t n) { return n ? std::uniform_int_distribution<std::size_t>(0, n - 1)(gen) : 0; };
    static const char kInserted[] = {'"', ',', '\0', '\r', '\n', '\x1b', '9', '-', ' ', '\xff', '\xe3', 'e'};
    switch (pick(10)) {
        case 0:  // flip a byte
            if (!text.empty())
                text[pick(text.size())] ^= static_cast<char>(1 << pick(8));
            return text;
        case 1:  // insert a byte
            text.insert(pick(text.size() + 1), 1, kInserted[pick(sizeof kInserted)]);
            return text;
        case 2:  // cut the text short
            return text.substr(0, pick(text.size() + 1));
        case 3: {  // drop a line
            auto lines = linesOf(text);
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(pick(lines.size())));
            return joined(lines);
        }
        case 4: {  // double a line
            auto lines = linesOf(text);
            const std::size_t i = pick(lines.size());
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(i), lines[i]);
            return joined(lines);
        }
        case 5: {  // swap two fields of a line
            auto lines = linesOf(text);
            std::string& line = lines[pick(lines.size())];
            std::vector<std::string> fields;
            std::size_t start = 0;
            for (auto comma = line.find(','); comma != std::string::npos; comma = line.find(',', start)) {
                fields.push_back(line.substr(start, comma - start));
                start = comma + 1;
            }
            fields.push_back(line.substr(start));
            std::swap(fields[pick(fields.size())], fields[pick(fields.size())]);
            line.clear();
            for (std::size_t f = 0; f < fields.size(); ++f)
                line += (f ? "," : "") + fields[f];
            return joined(lines);
        }
        case 6:  // another encoding
            return convert(text, pick(2) ? "CP932" : "UTF-16LE");
        case 7:  // line ends
            return pick(2) ? joined(linesOf(text)) + "\r\n" : std::string("\xEF\xBB\xBF") + text;
        case 8: {  // a number made huge or odd
            static const char* const kOdd[] = {"99999999999999999999", "1e3", "-0", "٣", "１", "0x1", " 7 ", "3.0"};
            const auto digit = text.find_first_of("0123456789", pick(text.size()));
            if (digit != std::string::npos)
                text.replace(digit, 1, kOdd[pick(std::size(kOdd))]);
            return text;
        }
        default: {  // two mutations
            return mutate(mutate(text, gen), gen);
        }
    }
}

bool sameValue(const DbValue& a, const DbValue& b)
{
    return a.type == b.type && a.integer == b.integer;
}

bool sameRows(const std::vector<EditRow>& a, const std::vector<EditRow>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!sameValue(a[i].number, b[i].number))
            return false;
        for (int p = 0; p < 4; ++p)
            if (!sameValue(a[i].digits[p], b[i].digits[p]))
                return false;
    }
    return true;
}

struct Tally {
    int mutations = 0;
    int rejected = 0;
    int accepted = 0;
    int throughDatabase = 0;
};

// Judges one mutated text in memory: a refusal with a sensible line or a
// list of valid draws that reads back the same from its CSV.
void judge(const std::string& text, Tally& tally, std::vector<std::string>& rejectedSamples,
           std::vector<std::string>& acceptedSamples)
{
    ++tally.mutations;
    std::vector<EditRow> rows;
    try {
        rows = parseDrawCsv(text);
    } catch (const DrawCsvError& e) {
        ++tally.rejected;
        const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
        EXPECT_GE(e.line(), 1);
        EXPECT_LE(e.line(), lines);
        for (const char c : std::string(e.what()))
            ASSERT_FALSE(static_cast<unsigned char>(c) < 0x20) << "raw control byte in: " << e.what();
        if (rejectedSamples.size() < 4)
            rejectedSamples.push_back(text);
        return;
    } catch (const std::exception& e) {
        ADD_FAILURE() << "neither accepted nor refused with a line: " << e.what();
        return;
    }
    ++tally.accepted;
    std::set<long long> seen;
    for (const EditRow& r : rows) {
        ASSERT_EQ(r.number.type, DbValue::Type::Integer);
        EXPECT_TRUE(r.number.integer >= 0 && r.number.integer <= kMaxDrawNumber);
        EXPECT_TRUE(seen.insert(r.number.integer).second) << "draw " << r.number.integer << " twice";
        for (const DbValue& d : r.digits)
            EXPECT_TRUE(d.isNull() || (d.type == DbValue::Type::Integer && d.integer >= 0 && d.integer <= 9));
    }
    EXPECT_TRUE(sameRows(parseDrawCsv(writeDrawCsv(rows)), rows)) << "no round trip";
    if (acceptedSamples.size() < 4 && !rows.empty())
        acceptedSamples.push_back(text);
}

TEST(CsvMutation, EveryMutantIsRefusedWithALineOrRoundTrips)
{
    if (!toolsBuilt())
        GTEST_SKIP() << "the tools are not built";
    std::mt19937 gen(20261208);
    Tally tally;
    std::vector<std::string> rejectedSamples, acceptedSamples;
    for (int i = 0; i < 3000; ++i)
        judge(mutate(kSmallFiles[static_cast<std::size_t>(i) % kSmallFiles.size()], gen), tally, rejectedSamples,
              acceptedSamples);
    if (auto real = realDraws()) {
        const std::string realText = readBytes(realDrawsPath());
        for (int i = 0; i < 40; ++i)
            judge(mutate(realText, gen), tally, rejectedSamples, acceptedSamples);
    }
    EXPECT_GT(tally.rejected, 100);
    EXPECT_GT(tally.accepted, 100);

    // Through the tool and the database, for a sample of each outcome.
    TempDir dir;
    const std::string base = makeDatabase(dir.file("base.mdb"), {{1, {1, 1, 1, 1}}, {500, {5, 0, 0, 5}}});
    const std::string baseBytes = readBytes(base);
    for (const std::string& text : rejectedSamples) {
        const std::string csv = dir.file("in.csv");
        writeBytes(csv, text);
        const ToolRun run = runToolCapturing("rumone-db", {"import", csv, base});
        EXPECT_NE(run.exitCode, 0) << run.output;
        EXPECT_NE(run.output.find("line "), std::string::npos) << run.output;
        EXPECT_TRUE(readBytes(base) == baseBytes) << "a refused CSV changed the database";
        ++tally.throughDatabase;
    }
    for (const std::string& text : acceptedSamples) {
        const std::string db = dir.file("copy.mdb");
        writeBytes(db, baseBytes);
        const std::string csv = dir.file("in.csv");
        writeBytes(csv, text);
        const ToolRun imported = runToolCapturing("rumone-db", {"import", csv, db});
        ASSERT_EQ(imported.exitCode, 0) << imported.output;
        const ToolRun exported = runToolCapturing("rumone-db", {"export", db, dir.file("out.csv")});
        ASSERT_EQ(exported.exitCode, 0) << exported.output;
        // The export holds the base rows overlaid with the imported ones.
        std::map<long long, EditRow> expected;
        for (const EditRow& r : parseDrawCsv(writeDrawCsv(editRowsOf({{1, {1, 1, 1, 1}}, {500, {5, 0, 0, 5}}}))))
            expected[r.number.integer] = r;
        for (const EditRow& r : parseDrawCsv(text))
            expected[r.number.integer] = r;
        std::vector<EditRow> want;
        for (auto& [n, r] : expected)
            want.push_back(r);
        EXPECT_TRUE(sameRows(parseDrawCsv(readBytes(dir.file("out.csv"))), want)) << text;
        ::unlink(db.c_str());
        ++tally.throughDatabase;
    }
    std::cout << "[ figures  ] CSV mutations: " << tally.mutations << " (" << tally.rejected << " refused with a line, "
              << tally.accepted << " accepted and round-tripped; " << tally.throughDatabase
              << " of them through rumone-db and a database)\n";
}

// Files that are no CSV at all are refused before a byte is parsed.
TEST(CsvMutation, WhatIsNoRegularFileOrHasEndlessLinesIsRefused)
{
    TempDir dir;
    const std::string longLine = dir.file("long.csv");
    writeBytes(longLine, "回数,第1数字,第2数字,第3数字,第4数字\n1,1,1,1," + std::string(kMaxCsvLineBytes, '1') + "\n");
    const std::string fifo = dir.file("fifo.csv");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
    const struct {
        std::string path;
        const char* says;
    } refusals[] = {
        {dir.path(), "フォルダー"},
        {"/dev/zero", "通常のファイルではありません"},
        {fifo, "通常のファイルではありません"},
        {longLine, "2行目が長すぎます"},
        {dir.file("missing.csv"), "読み取れません"},
    };
    for (const auto& r : refusals) {
        SCOPED_TRACE(r.path);
        try {
            readCsvFile(r.path);
            ADD_FAILURE() << "read";
        } catch (const CsvFileError& e) {
            EXPECT_NE(std::string(e.what()).find(r.says), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find(r.path), std::string::npos) << e.what();
        }
    }
}

}  // namespace
}  // namespace rumone::test
