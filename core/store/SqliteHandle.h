// Owning wrappers for SQLCipher connections and statements, and the few
// helpers the draw store needs to bind and read dynamic values.
#pragma once

#include <sqlite3.h>

#include <memory>
#include <string>

#include "core/history/DbValue.h"

namespace rumone::sqlite {

struct ConnectionCloser {
    void operator()(sqlite3* db) const noexcept { sqlite3_close_v2(db); }
};
struct StatementFinalizer {
    void operator()(sqlite3_stmt* st) const noexcept { sqlite3_finalize(st); }
};

using Connection = std::unique_ptr<sqlite3, ConnectionCloser>;
using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// A prepared statement. step() returns SQLite's result code (SQLITE_ROW,
// SQLITE_DONE or an error); nothing here throws.
class Statement {
public:
    Statement() = default;
    Statement(sqlite3* db, const std::string& sql);

    int prepareCode() const { return prepareCode_; }
    bool ok() const { return prepareCode_ == SQLITE_OK; }
    sqlite3_stmt* get() const { return handle_.get(); }

    int bind(int index, const DbValue& value);
    int bindInt(int index, long long value);
    int step();
    void reset();

    int columnCount() const;
    std::string columnName(int column) const;
    DbValue column(int column) const;
    long long columnInt(int column) const;
    std::string columnText(int column) const;

private:
    StatementHandle handle_;
    int prepareCode_ = SQLITE_MISUSE;
};

// Runs SQL without results; returns SQLite's result code.
int exec(sqlite3* db, const std::string& sql);

// Whether the file at `path` (named in the StoreError a failed query
// throws) holds a table of that name.
bool hasTable(sqlite3* db, const std::string& path, const char* name);

}  // namespace rumone::sqlite
