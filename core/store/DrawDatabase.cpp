#include "core/store/DrawDatabase.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/store/DatabaseKey.h"
#include "core/store/FirstEntries.h"
#include "core/store/SafeFile.h"
#include "core/store/StoreFailure.h"

namespace rumone {

namespace {

using Cause = StoreError::Cause;

constexpr char kPlainHeader[16] = {'S', 'Q', 'L', 'i', 't', 'e', ' ', 'f', 'o', 'r', 'm', 'a', 't', ' ', '3', '\0'};
constexpr int kBusyTimeoutMs = 3000;
// SQLCipher's page size; the key is needed to read it from the file itself.
constexpr long long kCipherPageSize = 1024;

const char* const kSchema =
    "CREATE TABLE 結果マスタ ("
    " 回数 INTEGER PRIMARY KEY,"
    " 第1数字 INTEGER, 第2数字 INTEGER, 第3数字 INTEGER, 第4数字 INTEGER);"
    "CREATE VIEW 全データ選択クエリ AS"
    " SELECT 回数, 第1数字, 第2数字, 第3数字, 第4数字 FROM 結果マスタ;"
    // The saved query is updatable: writes through it reach the table.
    "CREATE TRIGGER 全データ選択クエリ_追加 INSTEAD OF INSERT ON 全データ選択クエリ BEGIN"
    " SELECT RAISE(ABORT, '回数がありません') WHERE NEW.回数 IS NULL;"
    " INSERT INTO 結果マスタ (回数, 第1数字, 第2数字, 第3数字, 第4数字)"
    " VALUES (NEW.回数, NEW.第1数字, NEW.第2数字, NEW.第3数字, NEW.第4数字);"
    " END;"
    "CREATE TRIGGER 全データ選択クエリ_更新 INSTEAD OF UPDATE ON 全データ選択クエリ BEGIN"
    " SELECT RAISE(ABORT, '回数がありません') WHERE NEW.回数 IS NULL;"
    " UPDATE 結果マスタ SET 回数 = NEW.回数, 第1数字 = NEW.第1数字, 第2数字 = NEW.第2数字,"
    " 第3数字 = NEW.第3数字, 第4数字 = NEW.第4数字 WHERE 回数 IS OLD.回数;"
    " END;"
    "CREATE TRIGGER 全データ選択クエリ_削除 INSTEAD OF DELETE ON 全データ選択クエリ BEGIN"
    " DELETE FROM 結果マスタ WHERE 回数 IS OLD.回数;"
    " END;";

StoreError errorWithMessage(Cause cause, const std::string& path, const std::string& message, int code = 0)
{
    return StoreError(cause, path, message, code);
}

// What can be told about the file before SQLite sees it. Returns its size;
// `firstBytes`, when given, receives its first 16 bytes (an encrypted file's salt).
long long checkDatabaseFile(const std::string& path, DatabaseSalt* firstBytes = nullptr)
{
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            throw storeErrorOf(Cause::FileMissing, path);
        throw errorWithMessage(Cause::Other, path, "データベース「" + path + "」を調べられません。");
    }
    if (!S_ISREG(st.st_mode))  // never opened: a pipe would not even return
        throw errorWithMessage(
            Cause::NotADatabase, path,
            "データベース「" + path + "」は通常のファイルではありません（フォルダー、デバイス、パイプなど）。");
    if (st.st_size == 0)
        throw storeErrorOf(Cause::EmptyFile, path);

    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw errorWithMessage(Cause::Other, path,
                               "データベース「" + path + "」を読み取れません（アクセスが許可されていません）。");
    char head[sizeof kPlainHeader] = {};
    const ssize_t got = read(fd, head, sizeof head);
    close(fd);
    if (got == static_cast<ssize_t>(sizeof head) && std::memcmp(head, kPlainHeader, sizeof head) == 0)
        throw storeErrorOf(Cause::Unencrypted, path);
    if (firstBytes && got == static_cast<ssize_t>(sizeof head))
        std::memcpy(firstBytes->data(), head, firstBytes->size());
    return static_cast<long long>(st.st_size);
}

sqlite::Connection openConnection(const std::string& path, OpenAccess access)
{
    // Each connection is used by one thread at a time (the edit set's may be
    // opened on a thread of its own and then handed over): SQLite's per-call
    // locking of the connection is not needed.
    const int flags =
        (access == OpenAccess::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    sqlite::Connection db(raw);
    if (rc != SQLITE_OK)
        throw storeErrorFor(rc, path, false);
    sqlite3_extended_result_codes(db.get(), 1);
    sqlite3_busy_timeout(db.get(), kBusyTimeoutMs);
    return db;
}

void applyKey(sqlite3* db, const std::string& key, const std::string& path)
{
    const int rc = sqlite3_key(db, key.data(), static_cast<int>(key.size()));
    if (rc != SQLITE_OK)
        throw storeErrorFor(rc, path, false);
}

// The first read decrypts page 1: a wrong key or foreign bytes fail here.
int probeSchema(sqlite3* db)
{
    sqlite::Statement st(db, "SELECT count(*) FROM sqlite_master");
    if (!st.ok())
        return st.prepareCode();
    const int rc = st.step();
    return rc == SQLITE_ROW ? SQLITE_OK : rc;
}

int pageSizeOf(sqlite3* db)
{
    sqlite::Statement st(db, "PRAGMA page_size");
    return st.step() == SQLITE_ROW ? static_cast<int>(st.columnInt(0)) : 0;
}

StoreError probeFailure(int rc, const std::string& path, long long size)
{
    if ((rc & 0xff) == SQLITE_NOTADB) {
        // The first page does not decrypt: a wrong key or foreign bytes,
        // unless the file was cut short inside a page.
        const bool wholePages = size % kCipherPageSize == 0;
        return storeErrorOf(wholePages ? Cause::NotADatabase : Cause::Damaged, path, rc);
    }
    return storeErrorFor(rc, path, false);
}

// The journal of an interrupted write cannot be played back or removed:
// the file is read-only, or the rollback rewrote the file but the folder
// does not let it delete the journal. Other codes: no such case.
bool isStuckRollback(int rc)
{
    return (rc & 0xff) == SQLITE_READONLY || rc == SQLITE_IOERR_DELETE;
}

StoreError stuckRollbackError(int rc, const std::string& path)
{
    const std::string where =
        rc == SQLITE_IOERR_DELETE
            ? "フォルダー「" + folderOf(path) + "」が読み取り専用のため、残った記録（" + path + "-journal）を消せず"
            : "ファイルまたはフォルダーが読み取り専用のため";
    return errorWithMessage(Cause::ReadOnly, path,
                            "データベース「" + path + "」には中断された書き込みが残っていますが、" + where +
                                "元に戻せません。フォルダーとファイルに書き込みを許可してから開き直してください。",
                            rc);
}

// A read-only connection cannot roll back what a crashed writer left in
// the journal; a read-write connection does it on its first read.
void rollBackInterruptedWrite(const DrawDatabaseRef& info)
{
    sqlite::Connection db = openConnection(info.path, OpenAccess::ReadWrite);
    applyKey(db.get(), info.password, info.path);
    const int rc = probeSchema(db.get());
    if (isStuckRollback(rc))
        throw stuckRollbackError(rc, info.path);
    if (rc != SQLITE_OK)
        throw probeFailure(rc, info.path, checkDatabaseFile(info.path));
}

}  // namespace

void writeEmptyDrawDatabase(const std::string& path)
{
    const DrawDatabaseRef info = drawDatabaseAt(path);
    sqlite3* raw = nullptr;
    const int openCode = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    sqlite::Connection db(raw);
    if (openCode != SQLITE_OK)
        throw storeErrorFor(openCode, path, true);
    sqlite3_extended_result_codes(db.get(), 1);
    applyKey(db.get(), info.password, path);
    int rc = sqlite::exec(db.get(), "PRAGMA journal_mode = DELETE; PRAGMA synchronous = EXTRA;");
    if (rc == SQLITE_OK)
        rc = sqlite::exec(db.get(), std::string("BEGIN IMMEDIATE;") + kSchema + kFirstEntrySchema + "COMMIT;");
    if (rc != SQLITE_OK) {
        if (!sqlite3_get_autocommit(db.get()))
            sqlite::exec(db.get(), "ROLLBACK");
        throw storeErrorFor(rc, path, true);
    }
}

namespace {

StoreError alreadyThere(const std::string& path)
{
    return errorWithMessage(Cause::Other, path, "データベース「" + path + "」は既にあります。上書きはしません。");
}

}  // namespace

sqlite::Connection openKeyedDatabase(const DrawDatabaseRef& database, OpenAccess access)
{
    const std::string& path = database.path;
    for (int attempt = 0;; ++attempt) {
        DatabaseSalt salt{};
        const long long size = checkDatabaseFile(path, &salt);
        const std::optional<std::string> known = database.keys ? database.keys->find(path, salt) : std::nullopt;
        std::string rawKey = known ? *known : deriveRawKey(database.password, salt);
        sqlite::Connection db = openConnection(path, access);
        applyKey(db.get(), rawKey.empty() ? database.password : rawKey, path);
        int rc = probeSchema(db.get());
        if ((rc & 0xff) == SQLITE_NOTADB && !rawKey.empty()) {
            // A file keyed some other way than SQLCipher's password
            // derivation: the password decides, as it always did.
            rawKey.clear();
            db = openConnection(path, access);
            applyKey(db.get(), database.password, path);
            rc = probeSchema(db.get());
        }
        if (rc == SQLITE_READONLY_ROLLBACK && attempt == 0) {
            db.reset();
            rollBackInterruptedWrite(database);
            continue;
        }
        if (rc == SQLITE_IOERR_DELETE)  // a read-write open rolled back but kept the journal
            throw stuckRollbackError(rc, path);
        if (rc != SQLITE_OK)
            throw probeFailure(rc, path, size);
        const int pageSize = pageSizeOf(db.get());
        if (pageSize <= 0 || size % pageSize != 0)
            throw storeErrorOf(Cause::Damaged, path);
        if (database.keys && !known)
            database.keys->remember(path, salt, rawKey);
        return db;
    }
}

sqlite::Connection openDurableDatabase(const DrawDatabaseRef& database, bool writing)
{
    sqlite::Connection db = openKeyedDatabase(database, OpenAccess::ReadWrite);
    requireDrawQuery(db.get(), database.path);
    // Every commit reaches the disk before it returns. With a rollback
    // journal the commit is the removal of the journal; EXTRA is FULL plus
    // a sync of the folder after that removal, so a power cut right after
    // a commit cannot bring the journal back and undo it.
    int rc = sqlite::exec(db.get(), "PRAGMA journal_mode = DELETE");
    if (rc == SQLITE_OK)
        rc = sqlite::exec(db.get(), "PRAGMA synchronous = EXTRA");
    if (rc != SQLITE_OK)
        throw storeErrorFor(rc, database.path, writing);
    return db;
}

void requireDrawQuery(sqlite3* db, const std::string& path)
{
    sqlite::Statement st(
        db, "SELECT count(*) FROM sqlite_master WHERE type IN ('view', 'table') AND name = '全データ選択クエリ'");
    const int rc = st.step();
    if (rc != SQLITE_ROW)
        throw storeErrorFor(rc, path, false);
    if (st.columnInt(0) == 0)
        throw storeErrorOf(Cause::QueryMissing, path);
}

namespace {

// A column's value into `to`, which keeps its text buffer from row to row.
void readColumn(const sqlite::Statement& st, int column, DbValue& to)
{
    sqlite3_stmt* raw = st.get();
    switch (sqlite3_column_type(raw, column)) {
        case SQLITE_INTEGER:
            to.type = DbValue::Type::Integer;
            to.integer = sqlite3_column_int64(raw, column);
            to.real = 0.0;
            to.text.clear();
            return;
        case SQLITE_NULL:
            to = DbValue::null();
            return;
        default:
            to = st.column(column);
    }
}

// The rows of `sql`, a query over the draw query, one at a time.
void readDrawRows(sqlite3* db, const std::string& path, const std::string& sql,
                  const std::function<void(const DrawRecord&)>& take)
{
    sqlite::Statement st(db, sql);
    if ((st.prepareCode() & 0xff) == SQLITE_ERROR)  // the query names what the file does not hold
        throw errorWithMessage(Cause::QueryMissing, path,
                               "データベース「" + path +
                                   "」のクエリ「全データ選択クエリ」を実行できません。"
                                   "クエリが参照する表または列がありません。");
    if (!st.ok())
        throw storeErrorFor(st.prepareCode(), path, false);

    int index[5] = {-1, -1, -1, -1, -1};
    for (int c = 0; c < st.columnCount(); ++c)
        for (int k = 0; k < 5; ++k)
            if (index[k] < 0 && st.columnName(c) == kDrawColumnNames[k])
                index[k] = c;
    for (int k = 0; k < 5; ++k)
        if (index[k] < 0)
            throw errorWithMessage(Cause::QueryMissing, path,
                                   "データベース「" + path + "」のクエリ「全データ選択クエリ」に列「" +
                                       kDrawColumnNames[k] + "」がありません。");

    DrawRecord r;
    int rc;
    while ((rc = st.step()) == SQLITE_ROW) {
        readColumn(st, index[0], r.number);
        for (int p = 0; p < 4; ++p)
            readColumn(st, index[p + 1], r.digits[p]);
        take(r);
    }
    if (rc != SQLITE_DONE)
        throw storeErrorFor(rc, path, false);
}

}  // namespace

void readDrawQuery(sqlite3* db, const std::string& path, const std::function<void(const DrawRecord&)>& take)
{
    readDrawRows(db, path, kDrawQuery, take);
}

// One pass: the rows are counted as they come (a count(*) before them
// would read the table twice).
std::vector<DrawRecord> readDrawQuery(sqlite3* db, const std::string& path, std::size_t expectedRows)
{
    std::vector<DrawRecord> rows;
    rows.reserve(expectedRows);
    readDrawQuery(db, path, [&rows](const DrawRecord& r) { rows.push_back(r); });
    return rows;
}

std::vector<DrawRecord> readDrawQueryLast(sqlite3* db, const std::string& path, std::size_t count)
{
    std::vector<DrawRecord> rows;
    readDrawRows(db, path, std::string(kDrawQuery) + " desc limit " + std::to_string(count),
                 [&rows](const DrawRecord& r) { rows.push_back(r); });
    std::reverse(rows.begin(), rows.end());
    return rows;
}

std::vector<std::string> checkDatabaseIntegrity(const DrawDatabaseRef& database)
{
    sqlite::Connection db = openKeyedDatabase(database, OpenAccess::ReadOnly);
    sqlite::Statement st(db.get(), "PRAGMA integrity_check");
    std::vector<std::string> lines;
    int rc;
    while ((rc = st.step()) == SQLITE_ROW)
        lines.push_back(st.columnText(0));
    if (rc != SQLITE_DONE)
        throw storeErrorFor(rc, database.path, false);
    return lines;
}

void requireWritableDrawQuery(sqlite3* db, const std::string& path)
{
    sqlite::Statement view(db,
                           "SELECT count(*) FROM sqlite_master WHERE type = 'view' AND name = '全データ選択クエリ'");
    if (view.step() != SQLITE_ROW || view.columnInt(0) == 0)
        return;  // a table: written directly
    static const char* const kEvents[3][2] = {{"INSERT", "追加"}, {"UPDATE", "更新"}, {"DELETE", "削除"}};
    std::string missing;
    for (const auto& [event, name] : kEvents) {
        sqlite::Statement st(db,
                             "SELECT count(*) FROM sqlite_master WHERE type = 'trigger' AND tbl_name = "
                             "'全データ選択クエリ' AND upper(sql) LIKE '%INSTEAD OF ' || ?1 || ' ON%'");
        st.bind(1, DbValue::fromText(event));
        const int rc = st.step();
        if (rc != SQLITE_ROW)
            throw storeErrorFor(rc, path, false);
        if (st.columnInt(0) == 0)
            missing += missing.empty() ? name : std::string("・") + name;
    }
    if (!missing.empty())
        throw errorWithMessage(Cause::QueryNotWritable, path,
                               "データベース「" + path + "」のクエリ「全データ選択クエリ」には書き込み用のトリガー（" +
                                   missing +
                                   "）がありません。このデータベースには書き込めません（読み取りはできます）。");
}

void createDrawDatabase(const std::string& path)
{
    struct stat st {};
    if (stat(path.c_str(), &st) == 0)  // a link that points nowhere counts as no file
        throw alreadyThere(path);
    BuildOutcome outcome = BuildOutcome::Linked;
    try {
        outcome = buildThenLink(path, writeEmptyDrawDatabase);
    } catch (const FileWriteError& e) {
        const bool readOnly = e.error() == EACCES || e.error() == EROFS || e.error() == EPERM;
        throw errorWithMessage(readOnly              ? Cause::ReadOnly
                               : e.error() == ENOSPC ? Cause::DiskFull
                                                     : Cause::Other,
                               path, "データベース「" + path + "」を作成できません。" + e.what());
    }
    if (outcome == BuildOutcome::AlreadyThere)
        throw alreadyThere(path);
}

}  // namespace rumone
