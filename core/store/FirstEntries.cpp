#include "core/store/FirstEntries.h"

#include "core/store/StoreFailure.h"

namespace rumone {

const char* const kFirstEntrySchema =
    "CREATE TABLE IF NOT EXISTS 当選数字入力日時 (回数 INTEGER PRIMARY KEY, 入力日時 TEXT NOT NULL);"
    "CREATE TRIGGER IF NOT EXISTS 当選数字入力日時_二重禁止 BEFORE INSERT ON 当選数字入力日時"
    " WHEN EXISTS (SELECT 1 FROM 当選数字入力日時 WHERE 回数 = NEW.回数) BEGIN"
    " SELECT RAISE(ABORT, '入力日時は一度しか記録できません');"
    " END;"
    "CREATE TRIGGER IF NOT EXISTS 当選数字入力日時_変更禁止 BEFORE UPDATE ON 当選数字入力日時 BEGIN"
    " SELECT RAISE(ABORT, '入力日時は変更できません');"
    " END;"
    "CREATE TRIGGER IF NOT EXISTS 当選数字入力日時_削除禁止 BEFORE DELETE ON 当選数字入力日時 BEGIN"
    " SELECT RAISE(ABORT, '入力日時は削除できません');"
    " END;";

namespace {

const char* const kStamp =
    "INSERT INTO 当選数字入力日時 (回数, 入力日時)"
    " SELECT 回数, ?1 FROM 全データ選択クエリ"
    " WHERE typeof(回数) = 'integer' AND 第1数字 IS NOT NULL AND 第2数字 IS NOT NULL"
    " AND 第3数字 IS NOT NULL AND 第4数字 IS NOT NULL"
    " AND 回数 NOT IN (SELECT 回数 FROM 当選数字入力日時)";

}  // namespace

void noteFirstEntries(const WriteTransaction& tx)
{
    tx.exec(kFirstEntrySchema);
    sqlite::Statement stamp = tx.prepare(kStamp);
    stamp.bind(1, DbValue::fromText(storedTimeText(storedTimeNow())));
    tx.run(stamp);
}

std::map<int, StoredTime> readFirstEntries(sqlite3* db, const std::string& path)
{
    std::map<int, StoredTime> times;
    sqlite::Statement exists(db,
                             "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = '当選数字入力日時'");
    int rc = exists.step();
    if (rc != SQLITE_ROW)
        throw storeErrorFor(rc, path, false);
    if (exists.columnInt(0) == 0)
        return times;
    sqlite::Statement st(db, "SELECT 回数, 入力日時 FROM 当選数字入力日時");
    while ((rc = st.step()) == SQLITE_ROW)
        if (const std::optional<StoredTime> time = parseStoredTime(st.columnText(1)))
            times.emplace(static_cast<int>(st.columnInt(0)), *time);
    if (rc != SQLITE_DONE)
        throw storeErrorFor(rc, path, false);
    return times;
}

bool recordedAfterTheDraw(const std::map<int, StoredTime>& firstEntries, int target, StoredTime recorded)
{
    for (auto it = firstEntries.lower_bound(target); it != firstEntries.end(); ++it)
        if (it->second <= recorded)
            return true;
    return false;
}

}  // namespace rumone
