// Reading draws from every source through one entry: the limits each kind
// of source is held to, every shape a source comes in (a small file each,
// in data/), several files at once, and the lines refused rather than
// guessed.
#include <unistd.h>

#include "ReliabilityHelpers.h"
#include "core/store/DrawSource.h"

namespace rumone::test {
namespace {

// A line or a whole text over the limits is refused before it is read, the
// same for pasted text as for a file.
TEST(DrawSource, PastedTextIsHeldToTheLimitsOfAFile)
{
    const SourceLimits limits = sourceLimits(SourceKind::File);
    const std::string head = "回数,当せん番号\n1,1234\n";
    struct Case {
        std::string text;
        int line;  // -1: reads
    };
    const std::vector<Case> cases = {
        {head + std::string(limits.lineBytes, ' ') + "\n", -1},
        {head + std::string(limits.lineBytes + 1, ' ') + "\n", 3},
        {head + std::string(limits.totalBytes, '\n'), 0},
    };
    for (const SourceKind kind : {SourceKind::File, SourceKind::Pasted})
        for (const Case& c : cases) {
            SCOPED_TRACE(c.text.size());
            int line = -1;
            try {
                kind == SourceKind::File ? parseDrawSourceBytes(c.text) : parseDrawSource(c.text, kind);
            } catch (const DrawSourceError& e) {
                line = e.line();
                EXPECT_NE(e.reason().find("当選データではないようです"), std::string::npos) << e.reason();
            }
            EXPECT_EQ(line, c.line);
        }
}

std::string dataFile(const std::string& name)
{
    return std::string(RUMONE_SOURCE_DIR) + "/tests/core/store/data/" + name;
}

std::string digitsOf(const SourceDraw& d)
{
    std::string s;
    for (const auto& digit : d.digits)
        s += digit ? std::to_string(*digit) : "-";
    return s;
}

const SourceDraw* findDraw(const std::vector<SourceDraw>& draws, int number)
{
    for (const SourceDraw& d : draws)
        if (d.number == number)
            return &d;
    return nullptr;
}

// Each shape, one file: how many draws, and one draw's digits, date and
// straight and box prizes as the file gives them.
TEST(DrawSource, EveryShapeGivesItsDrawsDatesAndPrizes)
{
    using P = std::optional<PrizeLine>;
    struct Case {
        const char* file;
        std::size_t count;
        int number;
        const char* digits;
        std::optional<CivilDate> date;
        P straight, box;
    };
    const std::vector<Case> cases = {
        {"results-page.txt", 3, 7073, "6916", CivilDate{2026, 9, 17}, PrizeLine{18, 986400}, PrizeLine{153, 82200}},
        {"results-page.txt", 3, 7072, "3058", CivilDate{2026, 9, 16}, PrizeLine{25, 611900}, PrizeLine{214, 25400}},
        {"results-page.txt", 3, 7071, "7777", CivilDate{2026, 9, 15}, PrizeLine{412, 281300}, PrizeLine{0, 0, true}},
        {"bank-7073.csv", 1, 7073, "6916", CivilDate{2026, 9, 17}, PrizeLine{18, 986400}, PrizeLine{153, 82200}},
        {"bank-5170.csv", 1, 5170, "0529", CivilDate{2019, 5, 7}, PrizeLine{95, 102300}, PrizeLine{1056, 4200}},
        {"back-numbers.csv", 2, 7072, "3058", CivilDate{2026, 9, 16}, P{}, P{}},
        {"shop.tsv", 2, 7071, "7777", CivilDate{2026, 9, 15}, PrizeLine{412, 281300}, PrizeLine{0, 0, true}},
        {"fan-site.md", 2, 7073, "6916", CivilDate{2026, 9, 17}, P{}, P{}},
        {"lines.txt", 2, 7073, "6916", CivilDate{2026, 9, 17}, P{}, P{}},
        {"lines.txt", 2, 7072, "3058", CivilDate{2026, 9, 16}, P{}, P{}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + std::to_string(c.number));
        const std::vector<SourceDraw> draws = readDrawSource(dataFile(c.file));
        EXPECT_EQ(draws.size(), c.count);
        const SourceDraw* d = findDraw(draws, c.number);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(digitsOf(*d), c.digits);
        EXPECT_EQ(d->details.date, c.date);
        EXPECT_EQ(d->details.prizes[static_cast<int>(PrizeKind::Straight)], c.straight);
        EXPECT_EQ(d->details.prizes[static_cast<int>(PrizeKind::Box)], c.box);
    }
    const std::vector<SourceDraw> page = readDrawSource(dataFile("results-page.txt"));
    EXPECT_EQ(sourceDrawText(*findDraw(page, 7071)),
              "第7071回 7777（2026年9月15日、ストレート 412口 281,300円、ボックス 該当なし、"
              "セット（ストレート） 該当なし、セット（ボックス） 該当なし）");
}

// A line where more than one word could be the number is read only where
// a label says which; otherwise it is refused with its line, as is a block
// or a file that lacks what it must hold.
TEST(DrawSource, WhatCouldBeReadTwoWaysIsRefusedWithItsLine)
{
    struct Case {
        std::string text;
        int line;  // 0: reads as `reads`
        std::string says;
        std::string reads = {};
    };
    const std::vector<Case> cases = {
        {"7066\t2026/09/08\t72\t1311\t1041200\n", 1, "決められません"},
        {"見出し\n第7055回 2026 年 8 月 21 日 1234\n", 2, "決められません"},
        {"1234\n", 1, "だけの行"},
        {"第7055回 抽せん日 2026 08 21 当せん番号 1234\n", 0, "", "第7055回 1234（2026年8月21日）"},
        {"第7055回 2026年8月21日(金) 1234 ストレート 900,000円\n", 0, "", "第7055回 1234（2026年8月21日）"},
        {"回別\t第7073回\n抽せん日\t2026年9月17日\n", 1, "抽せん数字"},
        {"回別\t第7073回\n抽せん数字\t6916\nストレート\t18口\n", 3, "口数"},
        {"回別\t第7073回\n抽せん数字\t69160\n", 2, "4 桁"},
        {"第7073回くじ,令和8年9月17日\nくじ抽せん数字,188\n", 1, "4 桁の抽せん数字"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            const std::vector<SourceDraw> draws = parseDrawSource(c.text, SourceKind::Pasted);
            EXPECT_EQ(c.line, 0);
            ASSERT_EQ(draws.size(), 1u);
            EXPECT_EQ(sourceDrawText(draws[0]), c.reads);
        } catch (const DrawSourceError& e) {
            EXPECT_EQ(e.line(), c.line) << e.what();
            EXPECT_NE(e.reason().find(c.says), std::string::npos) << e.what();
        }
    }
}

// Several files are one import: a draw two of them give refuses the import,
// naming both files; rumone-db takes them all.
TEST(DrawSource, SeveralFilesAreReadAsOne)
{
    EXPECT_EQ(readDrawSources({dataFile("bank-7073.csv"), dataFile("bank-5170.csv")}).size(), 2u);
    try {
        readDrawSources({dataFile("results-page.txt"), dataFile("bank-7073.csv")});
        ADD_FAILURE() << "draw 7073 given twice was read";
    } catch (const DrawSourceError& e) {
        EXPECT_EQ(e.path(), dataFile("bank-7073.csv"));
        EXPECT_NE(e.reason().find("results-page.txt"), std::string::npos) << e.what();
    }
    if (access(toolPath("rumone-db").c_str(), X_OK) != 0)
        GTEST_SKIP() << "rumone-db is not built";
    TempDir dir;
    const ToolRun run = runToolCapturing(
        "rumone-db", {"import", "--dry-run", dataFile("bank-5170.csv"), dataFile("shop.tsv"), dir.file("new.mdb")});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("new 3 changed 0 unchanged 0"), std::string::npos) << run.output;
}

}  // namespace
}  // namespace rumone::test
