#include <gtest/gtest.h>

#include "core/calendar/HistoryDates.h"
#include "core/store/DrawCsv.h"
#include "core/store/DrawImport.h"
#include "core/store/ReliabilityHelpers.h"
#include "core/store/StoreTestHelpers.h"

namespace rumone {
namespace {

using test::Row;

DrawDetails detailsOf(CivilDate date, std::optional<PrizeLine> straight = std::nullopt,
                      std::optional<PrizeLine> box = std::nullopt)
{
    DrawDetails d;
    d.date = date;
    d.prizes[0] = straight;
    d.prizes[1] = box;
    return d;
}

ImportPreview previewAgainst(DrawEditSet& set, const std::vector<Row>& rows, const DrawDetailsList& details)
{
    return previewImport(test::editRowsOf(rows), details, set.rows(), set.readDetails());
}

// Written with the draws, read back; a second source's differing date and
// prize are listed as changes, the parts it leaves out stay as stored.
TEST(DrawDetails, StoredBesideTheDrawsAndChangesListed)
{
    test::TempDir dir;
    const std::string db = test::makeDatabase(dir.file("d.db"), {{7054, {9, 5, 7, 7}}});
    DrawEditSet set = openDrawEditSet(drawDatabaseAt(db));
    const DrawDetailsList first = {{7054, detailsOf({2026, 8, 21})},
                                   {7055, detailsOf({2026, 8, 24}, PrizeLine{18, 986400}, PrizeLine{0, 0, true})}};
    const ImportPreview p1 = previewAgainst(set, {{7055, {6, 9, 1, 6}}}, first);
    EXPECT_EQ(detailCountsLine(p1.details), "dates 2 prizes 1");
    set.importPreviewed(p1);
    EXPECT_EQ(set.readDetails().at(7055), first[1].second);

    const DrawDetailsList second = {{7055, detailsOf({2026, 8, 25}, PrizeLine{18, 986400}, PrizeLine{3, 82200})}};
    const ImportPreview p2 = previewAgainst(set, {{7055, {6, 9, 1, 6}}}, second);
    EXPECT_EQ(importCountsLine(p2), "new 0 changed 0 unchanged 1");
    EXPECT_FALSE(p2.writesNothing());
    EXPECT_EQ(detailLines(p2.details), (std::vector<std::string>{"第7055回 抽せん日 2026年8月24日 → 2026年8月25日",
                                                                 "第7055回 ボックス 該当なし → 3口 82,200円"}));
    set.importPreviewed(p2);
    EXPECT_EQ(set.readDetails().at(7054).date, (CivilDate{2026, 8, 21}));
    EXPECT_EQ(set.readDetails().at(7055), second[0].second);
}

// Details written later for an earlier draw are read back under their own
// draw, and the dates alone match the dates of the details; read from a
// draw on, only that draw's and the later ones come.
TEST(DrawDetails, ReadBackInDrawOrderWhateverTheWriteOrder)
{
    test::TempDir dir;
    const std::string db = test::makeDatabase(dir.file("d.db"), {{7054, {9, 5, 7, 7}}});
    DrawEditSet set = openDrawEditSet(drawDatabaseAt(db));
    const DrawDetailsList later = {{7056, detailsOf({2026, 8, 25}, PrizeLine{7, 900000}, PrizeLine{2, 37500})}};
    const DrawDetailsList earlier = {{7054, detailsOf({2026, 8, 21}, PrizeLine{0, 0, true}, PrizeLine{5, 41200})},
                                     {7055, detailsOf({2026, 8, 24})}};
    set.importPreviewed(previewAgainst(set, {{7056, {1, 2, 3, 4}}}, later));
    set.importPreviewed(previewAgainst(set, {{7055, {6, 9, 1, 6}}}, earlier));
    const StoredDetails expected = {{7054, earlier[0].second}, {7055, earlier[1].second}, {7056, later[0].second}};
    EXPECT_EQ(set.readDetails(), expected);
    EXPECT_EQ(set.readDates(), storedDatesOf(expected));
    EXPECT_EQ(readStoredDetails(drawDatabaseAt(db), 7055),
              (StoredDetails{{7055, earlier[1].second}, {7056, later[0].second}}));
}

// A preview made before another writer changed a stored date writes
// nothing, the draws included.
TEST(DrawDetails, StaleDetailsPreviewWritesNothing)
{
    test::TempDir dir;
    const std::string db = test::makeDatabase(dir.file("d.db"), {{1, {1, 1, 4, 9}}});
    DrawEditSet set = openDrawEditSet(drawDatabaseAt(db));
    const ImportPreview preview = previewAgainst(set, {{2, {7, 9, 2, 1}}}, {{1, detailsOf({1994, 10, 7})}});
    {
        DrawEditSet other = openDrawEditSet(drawDatabaseAt(db));
        other.importPreviewed(previewAgainst(other, {}, {{1, detailsOf({1994, 10, 8})}}));
    }
    EXPECT_THROW(set.importPreviewed(preview), StoreError);
    DrawEditSet reread = openDrawEditSet(drawDatabaseAt(db));
    EXPECT_EQ(reread.recordCount(), 1u);
    EXPECT_EQ(reread.readDetails().at(1).date, (CivilDate{1994, 10, 8}));
}

TEST(DrawDetails, ToolImportsDatesAndExportsEveryColumn)
{
    test::TempDir dir;
    const std::string db = test::makeDatabase(dir.file("d.db"), {});
    test::writeBytes(dir.file("in.csv"), "回数,抽せん日,当せん番号\n7054,2026/08/21,9577\n7055,,1111\n");
    const test::ToolRun run = test::runToolCapturing("rumone-db", {"import", dir.file("in.csv"), db});
    EXPECT_NE(run.output.find("new 2 changed 0 unchanged 0\ndates 1 prizes 0\n"), std::string::npos) << run.output;
    {
        DrawEditSet set = openDrawEditSet(drawDatabaseAt(db));
        set.importPreviewed(
            previewAgainst(set, {}, {{7055, detailsOf({2026, 8, 24}, std::nullopt, PrizeLine{0, 0, true})}}));
    }
    ASSERT_EQ(test::runToolCapturing("rumone-db", {"export", "--with-dates", "--with-prizes", db, dir.file("out.csv")})
                  .exitCode,
              0);
    EXPECT_EQ(test::readBytes(dir.file("out.csv")),
              "\xEF\xBB\xBF回数,抽せん日,第1数字,第2数字,第3数字,第4数字,ストレート口数,ストレート当せん金,"
              "ボックス口数,ボックス当せん金,セット（ストレート）口数,セット（ストレート）当せん金,"
              "セット（ボックス）口数,セット（ボックス）当せん金\n"
              "7054,2026-08-21,9,5,7,7,,,,,,,,\n"
              "7055,2026-08-24,1,1,1,1,,,0,該当なし,,,,\n");
}

}  // namespace

// A results page read by the tool keeps its date and prize lines: written
// once, unchanged when read again, and a prize that differs is a change.
TEST(DrawDetails, APublishedPageBringsItsPrizesThroughTheTool)
{
    test::TempDir dir;
    const std::string db = test::makeDatabase(dir.file("d.db"), {});
    const auto page = [](const char* straightYen) {
        return std::string(
                   "回別\t第7073回\n抽せん日\t2026年9月17日\n抽せん数字\t6916\n"
                   "ストレート\t18口\t") +
               straightYen +
               "円\nボックス\t153口\t82,200円\nセット（ストレート）\t51口\t534,300円\n"
               "セット（ボックス）\t680口\t41,100円\n";
    };
    const struct {
        const char* straightYen;
        const char* counts;
    } kImports[] = {
        {"986,400", "new 1 changed 0 unchanged 0\ndates 1 prizes 1\n"},
        {"986,400", "new 0 changed 0 unchanged 1\ndates 0 prizes 0\n"},
        {"986,500", "new 0 changed 0 unchanged 1\ndates 0 prizes 1\n"},
    };
    for (const auto& import : kImports) {
        test::writeBytes(dir.file("page.txt"), page(import.straightYen));
        const test::ToolRun run = test::runToolCapturing("rumone-db", {"import", dir.file("page.txt"), db});
        EXPECT_NE(run.output.find(import.counts), std::string::npos) << import.straightYen << "\n" << run.output;
    }
    ASSERT_EQ(test::runToolCapturing("rumone-db", {"export", "--with-dates", "--with-prizes", db, dir.file("out.csv")})
                  .exitCode,
              0);
    const std::string out = test::readBytes(dir.file("out.csv"));
    EXPECT_NE(out.find("7073,2026-09-17,6,9,1,6,18,986500,153,82200,51,534300,680,41100\n"), std::string::npos) << out;
}

}  // namespace rumone
