#include "core/rules/RuleRecords.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/digest/Fingerprint.h"
#include "core/rules/RecordExport.h"
#include "core/store/StoreTestHelpers.h"
#include "core/text/TextParts.h"

namespace rumone::test {
namespace {

TEST(RuleRecords, FingerprintIsTheStartOfSha256)
{
    EXPECT_EQ(fingerprintOf("abc"), "ba7816bf8f01");
    EXPECT_NE(randomSalt(), randomSalt());
}

// A saved rule records the next draw's tickets once, frozen; its export
// verifies, and a tampered or shortened export does not.
TEST(RuleRecords, SavedRuleIsRecordedOnceAndItsExportChecks)
{
    TempDir dir;
    const std::string path = makeDatabase(dir.file("t.db"), {{1, {1, 2, 3, 4}}, {2, {4, 3, 2, 1}}, {3, {5, 5, 7, 9}}});
    const DrawDatabaseRef db = drawDatabaseAt(path);
    const DrawHistory history = loadDrawHistory(db);
    EXPECT_EQ(saveRule(db, *parseRule("pos1=0 pos2=0 pos3=0-1 recent=1 type=box").rule, history), 1);
    EXPECT_EQ(saveRule(db, *parseRule("sum=0-1").rule, history), 1);
    EXPECT_EQ(recordSavedRules(db, history), 0);
    const RuleRecordsRead read = readRuleRecords(db);
    ASSERT_EQ(read.records.size(), 2u);
    EXPECT_TRUE(read.leftOut.empty());
    const RuleRecord& box = read.records[0];
    EXPECT_EQ(box.target, 4);
    EXPECT_EQ(recordNumbersText(box.tickets),
              "0001 0002 0003 0004 0005 0006 0007 0008 0011 0012 0013 0014 0015 0016 0017 0018");
    EXPECT_EQ(recordNumbersText(read.records[1].tickets), "0000 0001 0010 0100 1000");
    EXPECT_EQ(read.records[1].previous, box.hash);
    EXPECT_EQ(box.fingerprint().size(), kFingerprintLength);

    const std::string exported = recordExportText(read.records);
    const RecordCheck genuine = verifyRecordExport(exported);
    ASSERT_EQ(genuine.records.size(), 2u);
    EXPECT_TRUE(genuine.records[0].matches() && genuine.records[1].matches());

    std::string tampered = exported;
    tampered.replace(tampered.find("0011"), 4, "0022");
    const RecordCheck changed = verifyRecordExport(tampered);
    EXPECT_FALSE(changed.records[0].fingerprintMatches);
    EXPECT_TRUE(changed.records[1].fingerprintMatches);

    std::string shortened = exported;
    const std::size_t first = shortened.find('\n') + 1;
    shortened.erase(first, shortened.find('\n', first) + 1 - first);
    const RecordCheck cut = verifyRecordExport(shortened);
    ASSERT_EQ(cut.records.size(), 1u);
    EXPECT_TRUE(cut.records[0].fingerprintMatches);
    EXPECT_FALSE(cut.records[0].chainMatches);
}

// What the program never does to a record is refused by the file itself,
// and a record changed, removed or made after its draw was entered behind
// the program's back is named and leaves the score; the rest still counts.
TEST(RuleRecords, ARecordChangedOrMadeAfterItsDrawLeavesTheScore)
{
    struct Case {
        const char* name;
        const char* sql;  // run with the guards dropped
        bool savedWithAnOldHistory;
        std::vector<int> scoredWins;  // per rule with a counted record, in the order saved
        std::size_t leftOut;
    };
    const std::vector<Case> cases = {
        {"nothing changed", "", false, {1, 0}, 0},
        {"numbers changed", "UPDATE 自分の条件の記録 SET 数字 = '0005' WHERE 番号 = 2", false, {1}, 1},
        {"first record removed", "DELETE FROM 自分の条件の記録 WHERE 番号 = 1", false, {0}, 1},
        {"recorded after the draw was entered", "", true, {}, 2},
    };
    const char* const dropGuards = "DROP TRIGGER 自分の条件の記録_変更不可; DROP TRIGGER 自分の条件の記録_削除不可;";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string path =
            makeDatabase(dir.file("t.db"), {{1, {1, 2, 3, 4}}, {2, {4, 3, 2, 1}}, {3, {5, 5, 7, 9}}});
        const DrawDatabaseRef db = drawDatabaseAt(path);
        const DrawHistory before = loadDrawHistory(db);
        const auto enterDraw4 = [&](const std::string& firstEntered) {
            rawExec(path,
                    "INSERT INTO 結果マスタ VALUES (4, 0, 0, 0, 5);"
                    "INSERT INTO 当選数字入力日時 VALUES (4, '" +
                        firstEntered + "')");
        };
        if (c.savedWithAnOldHistory)
            enterDraw4("2000-01-01T00:00:00Z");
        for (const char* rule : {"pos1=0 pos2=0 pos3=0", "pos1=1 pos2=1 pos3=1"})
            saveRule(db, *parseRule(rule).rule, before);
        if (!c.savedWithAnOldHistory)
            enterDraw4("2100-01-01T00:00:00Z");
        {
            sqlite::Connection file = openKeyedDatabase(db, OpenAccess::ReadWrite);
            for (const char* sql : {"UPDATE 自分の条件の記録 SET 数字 = '0005'", "DELETE FROM 自分の条件の記録",
                                    "INSERT OR REPLACE INTO 自分の条件の記録 SELECT * FROM 自分の条件の記録",
                                    "INSERT INTO 自分の条件の記録 (条件, 対象回, 数字, 記録時刻, 塩, 前の鎖, 鎖)"
                                    " SELECT 条件, 対象回, 数字, 記録時刻, 塩, 前の鎖, 鎖 FROM 自分の条件の記録"})
                EXPECT_NE(sqlite::exec(file.get(), sql), SQLITE_OK) << sql;
        }
        if (*c.sql)
            rawExec(path, std::string(dropGuards) + c.sql);

        const RuleRecordsRead read = readRuleRecords(db);
        EXPECT_EQ(read.leftOut.size(), c.leftOut);
        for (const std::string& sentence : read.leftOut)
            EXPECT_NE(sentence.find("第4回"), std::string::npos) << sentence;
        std::vector<int> scoredWins;
        for (const SavedRuleScore& score : scoreSavedRules(read, loadDrawHistory(db)))
            if (score.targets > 0)
                scoredWins.push_back(static_cast<int>(score.wins));
        EXPECT_EQ(scoredWins, c.scoredWins);
    }
}

// A log row chained by an older version (no salt) keeps its hash and
// counts; a new row gets a salt and a fingerprint, is exported with its
// chain and verifies, and a changed set in its line is caught.
TEST(RuleRecords, PredictionLogRowHasAFingerprintAndItsExportChecks)
{
    TempDir dir;
    const std::string path = makeDatabase(dir.file("t.db"), {{1, {1, 2, 3, 4}}});
    const DrawDatabaseRef db = drawDatabaseAt(path);
    rawExec(path,
            "CREATE TABLE 予想記録 (対象回数 INTEGER PRIMARY KEY, 記録日時 TEXT NOT NULL, 反映数 INTEGER NOT NULL,"
            " \"周期7\" TEXT NOT NULL, \"周期9\" TEXT NOT NULL, \"周期11\" TEXT NOT NULL, \"周期12\" TEXT NOT NULL,"
            " 消去法 TEXT NOT NULL, 連発 TEXT NOT NULL, 一発 TEXT NOT NULL, 記録順 INTEGER, 前の鎖 TEXT, 鎖 TEXT);"
            "INSERT INTO 予想記録 VALUES (2, '2000-01-01T00:00:00Z', 0, '- - - -', '- - - -', '- - - -', '- - - -',"
            " '- - - -', '- - - -', '- - - -', 1, '',"
            " 'e91d0dc85139f91079db04af69f1f67d5b1a03050c018695de7936b3439c4549');");
    LoggedPrediction entry{3, storedTimeNow(), 2, {}};
    entry.sets.sets[0] = {digitBit(1), digitBit(2), digitBit(3), digitBit(4)};
    const std::string fingerprint = recordPrediction(db, entry);
    EXPECT_EQ(fingerprint.size(), kFingerprintLength);

    const PredictionLogRead read = readPredictionLog(db);
    EXPECT_EQ(read.entries.size(), 2u);
    EXPECT_TRUE(read.leftOut.empty() && read.breaksBefore.empty());
    ASSERT_EQ(read.salted.size(), 1u);
    EXPECT_EQ(read.salted[0].fingerprint(), fingerprint);

    const std::string exported = recordExportText({}, read.salted);
    const RecordCheck genuine = verifyRecordExport(exported);
    ASSERT_EQ(genuine.records.size(), 1u);
    EXPECT_TRUE(genuine.records[0].matches());
    EXPECT_EQ(genuine.records[0].fingerprint, fingerprint);

    std::string tampered = exported;
    tampered.replace(tampered.find("\t1 2 3 4\t"), 9, "\t1 2 3 5\t");
    const RecordCheck changed = verifyRecordExport(tampered);
    ASSERT_EQ(changed.records.size(), 1u);
    EXPECT_FALSE(changed.records[0].fingerprintMatches);
    EXPECT_FALSE(changed.records[0].chainMatches);
}

// A written export checks line by line: the rules' records and the log's
// rows each form a chain of their own, so a line removed from one breaks
// only the next line of that chain; line ends written by another system
// do not matter, and a line or file that cannot be read is named.
TEST(RuleRecords, AnExportsTwoChainsAreCheckedApart)
{
    TempDir dir;
    const DrawDatabaseRef db = drawDatabaseAt(makeDatabase(dir.file("t.db"), {{1, {1, 2, 3, 4}}}));
    for (const int target : {2, 3, 4})
        recordPrediction(db, {target, storedTimeNow(), 0, {}});
    for (const char* rule : {"pos1=0 pos2=0 pos3=0", "pos1=1 pos2=1 pos3=1"})
        saveRule(db, *parseRule(rule).rule, loadDrawHistory(db));
    // Draw 2 comes: both rules' records for draw 3 are written together.
    rawExec(db.path,
            "INSERT INTO 結果マスタ VALUES (2, 0, 0, 0, 5);"
            "INSERT INTO 当選数字入力日時 VALUES (2, '2100-01-01T00:00:00Z')");
    ASSERT_EQ(recordSavedRules(db, loadDrawHistory(db)), 2);
    const std::string exported = recordExportText(readRuleRecords(db).records, readPredictionLog(db).salted);
    const std::vector<bool> all(7, true);

    using Lines = std::vector<std::string>;
    struct Case {
        const char* name;
        std::function<void(Lines&)> edit;  // lines: header, 4 records, 3 log rows
        std::vector<bool> matches;
        std::size_t problems;
    };
    const std::vector<Case> cases = {
        {"as written", [](Lines&) {}, all, 0},
        {"lines ended by CR LF",
         [](Lines& l) {
             for (std::string& line : l)
                 line += '\r';
         },
         all, 0},
        {"the middle log row removed",
         [](Lines& l) { l.erase(l.begin() + 6); },
         {true, true, true, true, true, false},
         0},
        {"the first record removed",
         [](Lines& l) { l.erase(l.begin() + 1); },
         {false, true, true, true, true, true},
         0},
        {"a record cut short",
         [](Lines& l) { l[2].resize(l[2].find('\t')); },
         {true, false, true, true, true, true},
         1},
        {"not an export", [](Lines& l) { l[0] = "rumone-rule-records 3"; }, {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Lines lines;
        for (const std::string_view line : splitLines(exported))
            lines.emplace_back(line);
        ASSERT_EQ(lines.size(), 8u);
        c.edit(lines);
        std::string text;
        for (const std::string& line : lines)
            text += line + '\n';
        const RecordCheck check = verifyRecordExport(text);
        std::vector<bool> matches;
        for (const VerifiedRecord& v : check.records)
            matches.push_back(v.matches());
        EXPECT_EQ(matches, c.matches);
        EXPECT_EQ(check.problems.size(), c.problems);
    }
}

}  // namespace
}  // namespace rumone::test
