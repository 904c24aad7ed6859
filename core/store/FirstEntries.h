// When each draw number's four digits were first in the database: the table
// 当選数字入力日時, written by every write of the program and never changed
// (its triggers refuse updates, deletions and a second row for a number).
// It lets the prediction log tell a prediction made before its draw was
// known from one recorded after the draw was entered, deleted and entered
// again. A database from before the table reads as holding no times; the
// first write creates the table and stamps the draws complete by then with
// that moment, later than they really came, never earlier.
#pragma once

#include <map>
#include <string>

#include "core/store/StoredTime.h"
#include "core/store/WriteTransaction.h"

namespace rumone {

inline constexpr const char* kFirstEntryTable = "当選数字入力日時";
// The table and its triggers, each created only when missing (a new
// database has them from the start).
extern const char* const kFirstEntrySchema;

// Creates the table when missing and stamps every complete draw not yet in
// it with the time now (core/store/StoredTime.h). Runs inside `tx`.
void noteFirstEntries(const WriteTransaction& tx);

// Draw number → first time; empty without the table. A time that cannot
// be read (not written by the program) is left out, as unknown. Throws
// StoreError.
std::map<int, StoredTime> readFirstEntries(sqlite3* db, const std::string& path);

// Whether something recorded at `recorded` for draw `target` could only
// have been made once the draw was known: that draw or a later one was
// first entered no later than `recorded`.
bool recordedAfterTheDraw(const std::map<int, StoredTime>& firstEntries, int target, StoredTime recorded);

}  // namespace rumone
