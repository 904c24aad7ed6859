#include "core/rules/RuleRecords.h"

#include <gtest/gtest.h>

#include "core/digest/Fingerprint.h"
#include "core/rules/RecordExport.h"
#include "core/store/StoreTestHelpers.h"

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

}  // namespace
}  // namespace rumone::test
