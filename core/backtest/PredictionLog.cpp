#include "core/backtest/PredictionLog.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "core/digest/Fingerprint.h"
#include "core/store/DrawDatabase.h"
#include "core/store/FirstEntries.h"
#include "core/store/StoreFailure.h"
#include "core/store/WriteTransaction.h"

namespace rumone {

namespace {

using Cause = StoreError::Cause;

const char* const kCreateLog =
    "CREATE TABLE IF NOT EXISTS 予想記録 ("
    " 対象回数 INTEGER PRIMARY KEY,"
    " 記録日時 TEXT NOT NULL,"
    " 反映数 INTEGER NOT NULL,"
    " \"周期7\" TEXT NOT NULL, \"周期9\" TEXT NOT NULL, \"周期11\" TEXT NOT NULL, \"周期12\" TEXT NOT NULL,"
    " 消去法 TEXT NOT NULL, 連発 TEXT NOT NULL, 一発 TEXT NOT NULL,"
    " 記録順 INTEGER, 前の鎖 TEXT, 鎖 TEXT, 塩 TEXT);"
    "CREATE TRIGGER IF NOT EXISTS 予想記録_変更禁止 BEFORE UPDATE ON 予想記録 BEGIN"
    " SELECT RAISE(ABORT, '記録した予想は変更できません');"
    " END;"
    "CREATE TRIGGER IF NOT EXISTS 予想記録_削除禁止 BEFORE DELETE ON 予想記録 BEGIN"
    " SELECT RAISE(ABORT, '記録した予想は削除できません');"
    " END;"
    // Fires before INSERT OR REPLACE resolves its conflict by a deletion
    // that the deletion trigger would not see.
    "CREATE TRIGGER IF NOT EXISTS 予想記録_上書き禁止 BEFORE INSERT ON 予想記録"
    " WHEN EXISTS (SELECT 1 FROM 予想記録 WHERE 対象回数 = NEW.対象回数) BEGIN"
    " SELECT RAISE(ABORT, '記録した予想は上書きできません');"
    " END;";

// The chain's columns, added to a log created before them.
const char* const kAddChain =
    "ALTER TABLE 予想記録 ADD COLUMN 記録順 INTEGER;"
    "ALTER TABLE 予想記録 ADD COLUMN 前の鎖 TEXT;"
    "ALTER TABLE 予想記録 ADD COLUMN 鎖 TEXT;";

// The salt's column, added to a log created before it.
const char* const kAddSalt = "ALTER TABLE 予想記録 ADD COLUMN 塩 TEXT;";

const char* const kInsert =
    "INSERT INTO 予想記録 (対象回数, 記録日時, 反映数, \"周期7\", \"周期9\", \"周期11\", \"周期12\","
    " 消去法, 連発, 一発, 記録順, 前の鎖, 鎖, 塩) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";

const char* const kSelectFields =
    "SELECT 対象回数, 記録日時, 反映数, \"周期7\", \"周期9\", \"周期11\", \"周期12\", 消去法, 連発, 一発";

// A predictor's four sets in one text: "S1 S2 S3 S4".
std::string setsText(const PositionSets& sets)
{
    std::string text;
    for (const DigitSet set : sets) {
        if (!text.empty())
            text += ' ';
        text += setText(set);
    }
    return text;
}

bool parseSets(const std::string& text, PositionSets& sets)
{
    std::istringstream in(text);
    std::string word;
    std::size_t p = 0;
    while (in >> word) {
        const auto set = parseSetText(word);
        if (!set || p >= sets.size())
            return false;
        sets[p++] = *set;
    }
    return p == sets.size();
}

using RowFields = PredictionFields;

std::optional<LoggedPrediction> parseRow(const RowFields& fields, long long target, long long reflect)
{
    LoggedPrediction entry;
    entry.target = static_cast<int>(target);
    const std::optional<StoredTime> recordedAt = parseStoredTime(fields[1]);
    entry.recordedAt = recordedAt.value_or(StoredTime{});
    entry.reflect = static_cast<int>(reflect);
    bool ok = recordedAt && target >= 0 && target <= kMaxDrawNumber && reflect >= 0 && reflect <= 10;
    for (std::size_t i = 0; i < kPredictorCount && ok; ++i)
        ok = parseSets(fields[3 + i], entry.sets.sets[i]);
    if (!ok)
        return std::nullopt;
    return entry;
}

bool hasColumn(sqlite3* db, const char* table, const std::string& column)
{
    sqlite::Statement st(db, std::string("PRAGMA table_info(") + table + ")");
    while (st.step() == SQLITE_ROW)
        if (st.columnText(1) == column)
            return true;
    return false;
}

// The numbers of the draws that hold four digits.
std::set<int> completeDrawNumbers(sqlite3* db, const std::string& path)
{
    std::set<int> numbers;
    readDrawQuery(db, path, [&numbers](const DrawRecord& r) {
        if (r.number.type == DbValue::Type::Integer &&
            std::all_of(r.digits.begin(), r.digits.end(), [](const DbValue& d) { return !d.isNull(); }))
            numbers.insert(static_cast<int>(r.number.integer));
    });
    return numbers;
}

std::string drawName(int number)
{
    return "第" + std::to_string(number) + "回";
}

// The chain's last place and hash: 0 and "" for none yet.
std::pair<long long, std::string> chainEnd(const WriteTransaction& tx)
{
    sqlite::Statement st = tx.prepare(
        "SELECT 記録順, 鎖 FROM 予想記録 WHERE 記録順 IS NOT NULL AND 鎖 IS NOT NULL ORDER BY 記録順 DESC LIMIT 1");
    const int rc = st.step();
    tx.check(rc);
    if (rc != SQLITE_ROW)
        return {0, ""};
    return {st.columnInt(0), st.columnText(1)};
}

}  // namespace

PredictionLogRead readPredictionLog(const DrawDatabaseRef& info)
{
    sqlite::Connection db = openKeyedDatabase(info, OpenAccess::ReadOnly);
    PredictionLogRead read;
    if (!sqlite::hasTable(db.get(), info.path, kPredictionLogTable))
        return read;
    const std::map<int, StoredTime> firstEntries = readFirstEntries(db.get(), info.path);
    const std::set<int> complete = completeDrawNumbers(db.get(), info.path);
    const bool chained = hasColumn(db.get(), kPredictionLogTable, "鎖");
    const bool salted = hasColumn(db.get(), kPredictionLogTable, "塩");
    sqlite::Statement st(
        db.get(), std::string(kSelectFields) + (chained ? ", 記録順, 前の鎖, 鎖" : ", NULL, NULL, NULL") +
                      (salted ? ", 塩" : ", NULL") +
                      (chained ? " FROM 予想記録 ORDER BY 記録順, 対象回数" : " FROM 予想記録 ORDER BY 対象回数"));
    if (!st.ok())
        throw storeErrorFor(st.prepareCode(), info.path, false);
    long long lastOrder = 0;
    std::string lastHash;
    int rc;
    while ((rc = st.step()) == SQLITE_ROW) {
        RowFields fields;
        for (std::size_t i = 0; i < fields.size(); ++i)
            fields[i] = st.columnText(static_cast<int>(i));
        const std::optional<LoggedPrediction> entry = parseRow(fields, st.columnInt(0), st.columnInt(2));
        const DbValue order = st.column(10);
        const DbValue hash = st.column(12);
        const std::string salt = st.columnText(13);
        std::optional<LeftOutReason> reason;
        std::string previous;
        if (order.type != DbValue::Type::Integer || hash.type != DbValue::Type::Text) {
            reason = LeftOutReason::Unchained;
        } else {
            previous = st.columnText(11);
            if (order.integer != lastOrder + 1 || previous != lastHash)
                read.breaksBefore.push_back(static_cast<int>(st.columnInt(0)));
            lastOrder = order.integer;
            lastHash = hash.text;
            if (predictionChainHash(fields, order.integer, previous, salt) != hash.text)
                reason = LeftOutReason::Changed;
        }
        if (!entry) {
            ++read.unreadable;
            continue;
        }
        if (!reason && recordedAfterTheDraw(firstEntries, entry->target, entry->recordedAt))
            reason = LeftOutReason::RecordedAfterTheDraw;
        if (!reason && complete.count(entry->target) && !firstEntries.count(entry->target))
            reason = LeftOutReason::EntryTimeUnknown;
        if (reason) {
            read.leftOut.push_back({entry->target, *reason});
            continue;
        }
        read.entries.push_back(*entry);
        if (!salt.empty())
            read.salted.push_back({fields, salt, order.integer, previous, hash.text});
    }
    if (rc != SQLITE_DONE)
        throw storeErrorFor(rc, info.path, false);
    std::sort(read.entries.begin(), read.entries.end(),
              [](const LoggedPrediction& a, const LoggedPrediction& b) { return a.target < b.target; });
    std::sort(read.leftOut.begin(), read.leftOut.end(),
              [](const LeftOutPrediction& a, const LeftOutPrediction& b) { return a.target < b.target; });
    return read;
}

std::string recordPrediction(const DrawDatabaseRef& info, const LoggedPrediction& entry)
{
    if (entry.target < 1 || entry.target > kMaxDrawNumber)
        throw StoreError(Cause::Other, info.path, drawName(entry.target) + "は記録できる回数（1〜32767）の外です。");
    sqlite::Connection db = openDurableDatabase(info, true);

    WriteTransaction tx(db.get(), info.path);
    // A prediction is only worth keeping while its draw is still unknown.
    if (tx.count("SELECT count(*) FROM 全データ選択クエリ WHERE 回数 = ?1 AND 第1数字 IS NOT NULL"
                 " AND 第2数字 IS NOT NULL AND 第3数字 IS NOT NULL AND 第4数字 IS NOT NULL",
                 entry.target) > 0)
        throw StoreError(Cause::Constraint, info.path,
                         drawName(entry.target) + "の当選数字はすでに入力されています。予想は記録しませんでした。");
    noteFirstEntries(tx);
    tx.exec(kCreateLog);
    if (!hasColumn(db.get(), kPredictionLogTable, "鎖"))
        tx.exec(kAddChain);
    if (!hasColumn(db.get(), kPredictionLogTable, "塩"))
        tx.exec(kAddSalt);
    if (tx.count("SELECT count(*) FROM 予想記録 WHERE 対象回数 = ?1", entry.target) > 0)
        throw StoreError(Cause::Constraint, info.path,
                         drawName(entry.target) + "の予想はすでに記録されています。記録した予想は変更できません。");

    const auto [lastOrder, lastHash] = chainEnd(tx);
    const RowFields fields = predictionFieldsOf(entry);
    const std::string salt = randomSalt();
    sqlite::Statement insert = tx.prepare(kInsert);
    insert.bindInt(1, entry.target);
    insert.bind(2, DbValue::fromText(fields[1]));
    insert.bindInt(3, entry.reflect);
    for (std::size_t i = 0; i < kPredictorCount; ++i)
        insert.bind(static_cast<int>(4 + i), DbValue::fromText(fields[3 + i]));
    insert.bindInt(11, lastOrder + 1);
    insert.bind(12, DbValue::fromText(lastHash));
    insert.bind(13, DbValue::fromText(predictionChainHash(fields, lastOrder + 1, lastHash, salt)));
    insert.bind(14, DbValue::fromText(salt));
    tx.run(insert);
    tx.commit();
    return fingerprintOf(canonicalPredictionText(fields, salt));
}

PredictionFields predictionFieldsOf(const LoggedPrediction& entry)
{
    PredictionFields fields{std::to_string(entry.target), storedTimeText(entry.recordedAt),
                            std::to_string(entry.reflect)};
    for (std::size_t i = 0; i < kPredictorCount; ++i)
        fields[3 + i] = setsText(entry.sets.sets[i]);
    return fields;
}

std::string canonicalPredictionText(const PredictionFields& fields, std::string_view salt)
{
    static const char* const kFirstNames[] = {"target", "recorded", "reflect"};
    std::string text;
    for (std::size_t i = 0; i < fields.size(); ++i)
        text += std::string(i < 3 ? kFirstNames[i] : kPredictorNames[i - 3]) + '\t' + fields[i] + '\n';
    return text + "salt\t" + std::string(salt) + '\n';
}

std::string predictionChainHash(const PredictionFields& fields, long long order, std::string_view previous,
                                std::string_view salt)
{
    std::string data;
    for (const std::string& field : fields)
        data += field + '\n';
    data += std::to_string(order) + '\n' + std::string(previous) + '\n';
    if (!salt.empty())
        data += std::string(salt) + '\n';
    try {
        return sha256Hex(data);
    } catch (const std::runtime_error&) {
        throw StoreError(Cause::Other, "", "記録した予想の確認に使うハッシュを計算できません。");
    }
}

std::string SaltedPrediction::fingerprint() const
{
    return fingerprintOf(canonicalPredictionText(fields, salt));
}

std::string leftOutText(const PredictionLogRead& read)
{
    static const std::pair<LeftOutReason, const char*> kReasons[] = {
        {LeftOutReason::Unchained,
         "抽せん前の記録と確かめる鎖がありません（以前の版で記録されたか、外から書き加えられた記録）"},
        {LeftOutReason::Changed, "記録の後で書き換えられています"},
        {LeftOutReason::RecordedAfterTheDraw, "その回かそれより後の回の当選数字が入力された後に記録されています"},
        {LeftOutReason::EntryTimeUnknown, "当選数字が入力された日時が分かりません"},
    };
    std::string text;
    for (const auto& [reason, why] : kReasons) {
        std::string draws;
        for (const LeftOutPrediction& l : read.leftOut)
            if (l.reason == reason)
                draws += (draws.empty() ? "" : "・") + drawName(l.target);
        if (!draws.empty())
            text += "成績から除いた記録：" + draws + "（" + why + "）。";
    }
    if (!read.breaksBefore.empty()) {
        std::string draws;
        for (const int target : read.breaksBefore)
            draws += (draws.empty() ? "" : "・") + drawName(target);
        text += draws + "の記録の前で、記録が消されたか間に書き加えられています。";
    }
    return text;
}

}  // namespace rumone
