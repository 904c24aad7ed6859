#include "core/backtest/PredictionLog.h"

#include <ctime>
#include <sstream>

#include "core/store/DrawDatabase.h"
#include "core/store/StoreFailure.h"

namespace rumone {

namespace {

using Cause = StoreError::Cause;

const char* const kCreateLog =
    "CREATE TABLE IF NOT EXISTS 予想記録 ("
    " 対象回数 INTEGER PRIMARY KEY,"
    " 記録日時 TEXT NOT NULL,"
    " 反映数 INTEGER NOT NULL,"
    " \"周期7\" TEXT NOT NULL, \"周期9\" TEXT NOT NULL, \"周期11\" TEXT NOT NULL, \"周期12\" TEXT NOT NULL,"
    " 消去法 TEXT NOT NULL, 連発 TEXT NOT NULL, 一発 TEXT NOT NULL);"
    "CREATE TRIGGER IF NOT EXISTS 予想記録_変更禁止 BEFORE UPDATE ON 予想記録 BEGIN"
    " SELECT RAISE(ABORT, '記録した予想は変更できません');"
    " END;"
    "CREATE TRIGGER IF NOT EXISTS 予想記録_削除禁止 BEFORE DELETE ON 予想記録 BEGIN"
    " SELECT RAISE(ABORT, '記録した予想は削除できません');"
    " END;";

const char* const kInsert =
    "INSERT INTO 予想記録 (対象回数, 記録日時, 反映数, \"周期7\", \"周期9\", \"周期11\", \"周期12\","
    " 消去法, 連発, 一発) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";

const char* const kSelect =
    "SELECT 対象回数, 記録日時, 反映数, \"周期7\", \"周期9\", \"周期11\", \"周期12\", 消去法, 連発, 一発"
    " FROM 予想記録 ORDER BY 対象回数";

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

// One write, rolled back unless committed.
class LogTransaction {
public:
    LogTransaction(sqlite3* db, std::string path) : db_(db), path_(std::move(path))
    {
        check(sqlite::exec(db_, "BEGIN IMMEDIATE"));
    }
    ~LogTransaction()
    {
        if (!committed_ && !sqlite3_get_autocommit(db_))
            sqlite::exec(db_, "ROLLBACK");
    }
    LogTransaction(const LogTransaction&) = delete;
    LogTransaction& operator=(const LogTransaction&) = delete;

    void check(int rc) const
    {
        if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
            throw storeErrorFor(rc, path_, true);
    }
    void commit()
    {
        check(sqlite::exec(db_, "COMMIT"));
        committed_ = true;
    }
    // The first column of the first row of `sql` with ?1 = `number`.
    long long count(const std::string& sql, int number) const
    {
        sqlite::Statement st(db_, sql);
        check(st.prepareCode());
        st.bindInt(1, number);
        const int rc = st.step();
        check(rc);
        return rc == SQLITE_ROW ? st.columnInt(0) : 0;
    }

private:
    sqlite3* db_;
    std::string path_;
    bool committed_ = false;
};

std::string drawName(int number)
{
    return "第" + std::to_string(number) + "回";
}

}  // namespace

PredictionLogRead readPredictionLog(const std::string& connectionString)
{
    const ConnectionInfo info = parseConnectionString(connectionString);
    sqlite::Connection db = openKeyedDatabase(info, OpenAccess::ReadOnly);
    PredictionLogRead read;
    {
        sqlite::Statement st(db.get(), "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = '予想記録'");
        const int rc = st.step();
        if (rc != SQLITE_ROW)
            throw storeErrorFor(rc, info.path, false);
        if (st.columnInt(0) == 0)
            return read;
    }
    sqlite::Statement st(db.get(), kSelect);
    if (!st.ok())
        throw storeErrorFor(st.prepareCode(), info.path, false);
    int rc;
    while ((rc = st.step()) == SQLITE_ROW) {
        LoggedPrediction entry;
        entry.target = static_cast<int>(st.columnInt(0));
        entry.recordedAt = st.columnText(1);
        entry.reflect = static_cast<int>(st.columnInt(2));
        bool ok = entry.target >= 0 && entry.target <= kMaxDrawNumber && entry.reflect >= 0 && entry.reflect <= 10;
        for (std::size_t i = 0; i < kPredictorCount && ok; ++i)
            ok = parseSets(st.columnText(static_cast<int>(3 + i)), entry.sets.sets[i]);
        if (ok)
            read.entries.push_back(std::move(entry));
        else
            ++read.unreadable;
    }
    if (rc != SQLITE_DONE)
        throw storeErrorFor(rc, info.path, false);
    return read;
}

void recordPrediction(const std::string& connectionString, const LoggedPrediction& entry)
{
    const ConnectionInfo info = parseConnectionString(connectionString);
    if (entry.target < 1 || entry.target > kMaxDrawNumber)
        throw StoreError(Cause::Other, info.path, drawName(entry.target) + "は記録できる回数（1〜32767）の外です。");
    sqlite::Connection db = openKeyedDatabase(info, OpenAccess::ReadWrite);
    requireDrawQuery(db.get(), info.path);
    // The same durability as every other write of the program.
    int rc = sqlite::exec(db.get(), "PRAGMA journal_mode = DELETE");
    if (rc == SQLITE_OK)
        rc = sqlite::exec(db.get(), "PRAGMA synchronous = EXTRA");
    if (rc != SQLITE_OK)
        throw storeErrorFor(rc, info.path, true);

    LogTransaction tx(db.get(), info.path);
    // A prediction is only worth keeping while its draw is still unknown.
    if (tx.count("SELECT count(*) FROM 全データ選択クエリ WHERE 回数 = ?1 AND 第1数字 IS NOT NULL"
                 " AND 第2数字 IS NOT NULL AND 第3数字 IS NOT NULL AND 第4数字 IS NOT NULL",
                 entry.target) > 0)
        throw StoreError(Cause::Constraint, info.path,
                         drawName(entry.target) + "の当選数字はすでに入力されています。予想は記録しませんでした。");
    tx.check(sqlite::exec(db.get(), kCreateLog));
    if (tx.count("SELECT count(*) FROM 予想記録 WHERE 対象回数 = ?1", entry.target) > 0)
        throw StoreError(Cause::Constraint, info.path,
                         drawName(entry.target) + "の予想はすでに記録されています。記録した予想は変更できません。");

    sqlite::Statement insert(db.get(), kInsert);
    tx.check(insert.prepareCode());
    insert.bindInt(1, entry.target);
    insert.bind(2, DbValue::fromText(entry.recordedAt));
    insert.bindInt(3, entry.reflect);
    for (std::size_t i = 0; i < kPredictorCount; ++i)
        insert.bind(static_cast<int>(4 + i), DbValue::fromText(setsText(entry.sets.sets[i])));
    tx.check(insert.step());
    tx.commit();
}

std::string currentTimeText()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

}  // namespace rumone
