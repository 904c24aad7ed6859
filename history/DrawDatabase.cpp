#include "history/DrawDatabase.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "history/StoreFailure.h"

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

StoreError ErrorWithMessage(Cause cause, const std::string& path, const std::string& message, int code = 0)
{
    return StoreError(cause, path, message, code);
}

// What can be told about the file before SQLite sees it. Returns its size.
long long CheckDatabaseFile(const std::string& path)
{
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            throw StoreErrorOf(Cause::FileMissing, path);
        throw ErrorWithMessage(Cause::Other, path, "データベース「" + path + "」を調べられません。");
    }
    if (!S_ISREG(st.st_mode))
        throw StoreErrorOf(Cause::NotADatabase, path);
    if (st.st_size == 0)
        throw StoreErrorOf(Cause::EmptyFile, path);

    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw ErrorWithMessage(Cause::Other, path, "データベース「" + path + "」を読み取れません（アクセスが許可されていません）。");
    char head[sizeof kPlainHeader] = {};
    const ssize_t got = read(fd, head, sizeof head);
    close(fd);
    if (got == static_cast<ssize_t>(sizeof head) && std::memcmp(head, kPlainHeader, sizeof head) == 0)
        throw StoreErrorOf(Cause::Unencrypted, path);
    return static_cast<long long>(st.st_size);
}

sqlite::Connection OpenConnection(const std::string& path, OpenAccess access)
{
    const int flags = access == OpenAccess::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    sqlite::Connection db(raw);
    if (rc != SQLITE_OK)
        throw StoreErrorFor(rc, path, false);
    sqlite3_extended_result_codes(db.get(), 1);
    sqlite3_busy_timeout(db.get(), kBusyTimeoutMs);
    return db;
}

void Key(sqlite3* db, const ConnectionInfo& info)
{
    const int rc = sqlite3_key(db, info.password.data(), static_cast<int>(info.password.size()));
    if (rc != SQLITE_OK)
        throw StoreErrorFor(rc, info.path, false);
}

// The first read decrypts page 1: a wrong key or foreign bytes fail here.
int ProbeSchema(sqlite3* db)
{
    sqlite::Statement st(db, "SELECT count(*) FROM sqlite_master");
    if (!st.ok())
        return st.prepareCode();
    const int rc = st.Step();
    return rc == SQLITE_ROW ? SQLITE_OK : rc;
}

int PageSize(sqlite3* db)
{
    sqlite::Statement st(db, "PRAGMA page_size");
    return st.Step() == SQLITE_ROW ? static_cast<int>(st.ColumnInt(0)) : 0;
}

StoreError ProbeFailure(int rc, const std::string& path, long long size)
{
    if ((rc & 0xff) == SQLITE_NOTADB) {
        // The first page does not decrypt: a wrong key or foreign bytes,
        // unless the file was cut short inside a page.
        const bool wholePages = size % kCipherPageSize == 0;
        return StoreErrorOf(wholePages ? Cause::NotADatabase : Cause::Damaged, path, rc);
    }
    return StoreErrorFor(rc, path, false);
}

// A read-only connection cannot roll back what a crashed writer left in
// the journal; a read-write connection does it on its first read.
void RollBackInterruptedWrite(const ConnectionInfo& info)
{
    sqlite::Connection db = OpenConnection(info.path, OpenAccess::ReadWrite);
    Key(db.get(), info);
    const int rc = ProbeSchema(db.get());
    if ((rc & 0xff) == SQLITE_READONLY)
        throw ErrorWithMessage(Cause::ReadOnly, info.path,
            "データベース「" + info.path + "」には中断された書き込みが残っていますが、"
            "ファイルまたはフォルダーが読み取り専用のため元に戻せません。", rc);
    if (rc != SQLITE_OK)
        throw ProbeFailure(rc, info.path, CheckDatabaseFile(info.path));
}

}  // namespace

std::string ConnectionStringFor(const std::string& databasePath)
{
    const std::string cs = BuildConnectionString(".");
    const std::string source = ";Data Source=";
    return cs.substr(0, cs.find(source)) + source + databasePath;
}

sqlite::Connection OpenKeyedDatabase(const ConnectionInfo& info, OpenAccess access)
{
    for (int attempt = 0;; ++attempt) {
        const long long size = CheckDatabaseFile(info.path);
        sqlite::Connection db = OpenConnection(info.path, access);
        Key(db.get(), info);
        const int rc = ProbeSchema(db.get());
        if (rc == SQLITE_READONLY_ROLLBACK && attempt == 0) {
            db.reset();
            RollBackInterruptedWrite(info);
            continue;
        }
        if (rc != SQLITE_OK)
            throw ProbeFailure(rc, info.path, size);
        const int pageSize = PageSize(db.get());
        if (pageSize <= 0 || size % pageSize != 0)
            throw StoreErrorOf(Cause::Damaged, info.path);
        return db;
    }
}

void RequireDrawQuery(sqlite3* db, const std::string& path)
{
    sqlite::Statement st(db, "SELECT count(*) FROM sqlite_master WHERE type IN ('view', 'table') AND name = '全データ選択クエリ'");
    const int rc = st.Step();
    if (rc != SQLITE_ROW)
        throw StoreErrorFor(rc, path, false);
    if (st.ColumnInt(0) == 0)
        throw StoreErrorOf(Cause::QueryMissing, path);
}

std::vector<DrawRecord> ReadDrawQuery(sqlite3* db, const std::string& path)
{
    sqlite::Statement st(db, kDrawQuery);
    if (!st.ok())
        throw StoreErrorFor(st.prepareCode(), path, false);

    static const char* const kColumns[5] = {"回数", "第1数字", "第2数字", "第3数字", "第4数字"};
    int index[5] = {-1, -1, -1, -1, -1};
    for (int c = 0; c < st.ColumnCount(); ++c)
        for (int k = 0; k < 5; ++k)
            if (index[k] < 0 && st.ColumnName(c) == kColumns[k])
                index[k] = c;
    for (int k = 0; k < 5; ++k)
        if (index[k] < 0)
            throw ErrorWithMessage(Cause::QueryMissing, path,
                "データベース「" + path + "」のクエリ「全データ選択クエリ」に列「" + kColumns[k] + "」がありません。");

    std::vector<DrawRecord> rows;
    int rc;
    while ((rc = st.Step()) == SQLITE_ROW) {
        DrawRecord r;
        r.number = st.Column(index[0]);
        for (int p = 0; p < 4; ++p)
            r.digits[p] = st.Column(index[p + 1]);
        rows.push_back(std::move(r));
    }
    if (rc != SQLITE_DONE)
        throw StoreErrorFor(rc, path, false);
    return rows;
}

std::vector<std::string> CheckDatabaseIntegrity(const std::string& connectionString)
{
    const ConnectionInfo info = ParseConnectionString(connectionString);
    sqlite::Connection db = OpenKeyedDatabase(info, OpenAccess::ReadOnly);
    sqlite::Statement st(db.get(), "PRAGMA integrity_check");
    std::vector<std::string> lines;
    int rc;
    while ((rc = st.Step()) == SQLITE_ROW)
        lines.push_back(st.ColumnText(0));
    if (rc != SQLITE_DONE)
        throw StoreErrorFor(rc, info.path, false);
    return lines;
}

void CreateDrawDatabase(const std::string& path)
{
    // O_EXCL: an existing file is never touched, not even by a race.
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        const int err = errno;
        if (err == EEXIST)
            throw ErrorWithMessage(Cause::Other, path, "データベース「" + path + "」は既にあります。上書きはしません。");
        if (err == EACCES || err == EROFS)
            throw StoreErrorOf(Cause::ReadOnly, path);
        throw ErrorWithMessage(Cause::Other, path, "データベース「" + path + "」を作成できません（" + std::strerror(err) + "）。");
    }
    close(fd);

    try {
        const ConnectionInfo info = ParseConnectionString(ConnectionStringFor(path));
        sqlite3* raw = nullptr;
        const int openCode = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
        sqlite::Connection db(raw);
        if (openCode != SQLITE_OK)
            throw StoreErrorFor(openCode, path, true);
        sqlite3_extended_result_codes(db.get(), 1);
        Key(db.get(), info);
        int rc = sqlite::Exec(db.get(), "PRAGMA journal_mode = DELETE; PRAGMA synchronous = EXTRA;");
        if (rc == SQLITE_OK)
            rc = sqlite::Exec(db.get(), std::string("BEGIN IMMEDIATE;") + kSchema + "COMMIT;");
        if (rc != SQLITE_OK) {
            if (!sqlite3_get_autocommit(db.get()))
                sqlite::Exec(db.get(), "ROLLBACK");
            throw StoreErrorFor(rc, path, true);
        }
    } catch (...) {
        unlink(path.c_str());
        unlink((path + "-journal").c_str());
        throw;
    }
}

}  // namespace rumone
