// Opening, keying, reading and creating the encrypted draw database.
// The pieces shared by the snapshot, the edit set and the rumone-db tool.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/store/DrawStore.h"
#include "core/store/SqliteHandle.h"

namespace rumone {

enum class OpenAccess { ReadOnly, ReadWrite };

// Checks the file, opens it without ever creating it, keys it and proves
// the key by reading the schema. A write interrupted by a crash is rolled
// back first (also before a read-only open, which could not read the file
// otherwise). The key is the one that opened this file (path and salt)
// before, from the keys of `database`; else the program derives it from
// the password (in half the time SQLCipher takes) and, when that key does
// not open the file, the password is given to SQLCipher as it is. What
// opened the file is kept for the next open. Throws StoreError.
sqlite::Connection openKeyedDatabase(const DrawDatabaseRef& database, OpenAccess access);

// openKeyedDatabase for writing, with the saved query required, set up so
// that every commit reaches the disk before it returns (the edit set and
// the prediction log write alike). A failure of the set-up is reported as
// a failed write when `writing`, else as a failed open. Throws StoreError.
sqlite::Connection openDurableDatabase(const DrawDatabaseRef& database, bool writing);

// Throws StoreError(QueryMissing) unless the saved query exists.
void requireDrawQuery(sqlite3* db, const std::string& path);

// Writes the empty draw database (keyed, with the table, the saved query
// and its triggers) into the existing empty file at `path`: the build step
// for buildThenLink (core/store/SafeFile.h). Throws StoreError.
void writeEmptyDrawDatabase(const std::string& path);

// Throws StoreError(QueryNotWritable) when the saved query is a view that
// lacks one of its write triggers (a database made by another tool).
void requireWritableDrawQuery(sqlite3* db, const std::string& path);

// The ordered result of the draw query, room made for `expectedRows` (a
// guess; 0 for none). Throws StoreError.
std::vector<DrawRecord> readDrawQuery(sqlite3* db, const std::string& path, std::size_t expectedRows = 0);
// The same rows one at a time, each in the same record (valid during the
// call), for a reader that keeps only what it makes of them.
void readDrawQuery(sqlite3* db, const std::string& path, const std::function<void(const DrawRecord&)>& take);
// The last `count` rows of the ordered result (all of them when it has no
// more), in its order: what a view opened at the end shows first.
std::vector<DrawRecord> readDrawQueryLast(sqlite3* db, const std::string& path, std::size_t count);
// Every row of the draw query straight into a history (loadDrawHistory on
// a connection already open); throws StoreError.
DrawHistory readDrawHistory(sqlite3* db, const std::string& path);

// The lines of SQLite's integrity check: the single line "ok" when sound.
// Throws StoreError when the database cannot be opened.
std::vector<std::string> checkDatabaseIntegrity(const DrawDatabaseRef& database);

}  // namespace rumone
