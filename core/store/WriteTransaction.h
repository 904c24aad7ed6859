// One write to a database: BEGIN IMMEDIATE on construction, ROLLBACK unless
// committed. Every result code it is handed that is not a success throws
// StoreError for the file it writes.
#pragma once

#include <string>

#include "core/store/SqliteHandle.h"

namespace rumone {

class WriteTransaction {
public:
    WriteTransaction(sqlite3* db, std::string path);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;

    sqlite3* db() const { return db_; }
    const std::string& path() const { return path_; }

    void commit();
    // Throws unless `rc` is SQLITE_OK, SQLITE_DONE or SQLITE_ROW.
    void check(int rc) const;
    void exec(const std::string& sql) const { check(sqlite::exec(db_, sql)); }
    sqlite::Statement prepare(const std::string& sql) const;
    // Steps `st` once and resets it for the next bindings.
    void run(sqlite::Statement& st) const;
    // The first column of the first row of `sql`, ?1 bound to `number`; 0
    // for no row.
    long long count(const std::string& sql, long long number) const;

private:
    sqlite3* db_;
    std::string path_;
    bool committed_ = false;
};

}  // namespace rumone
