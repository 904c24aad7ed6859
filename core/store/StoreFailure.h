// The user's messages for store failures, and the classification of
// SQLite result codes into StoreError causes.
#pragma once

#include <string>

#include "core/store/DrawStore.h"

namespace rumone {

// The plain Japanese sentence for a cause, naming the database file.
std::string storeMessage(StoreError::Cause cause, const std::string& path);

// The cause for an SQLite result code (primary or extended) from a
// database whose key has been proved. `writing` marks a write, where a
// file that cannot be opened means a read-only file or folder.
StoreError::Cause causeOfCode(int code, bool writing);

// A StoreError for an SQLite result code.
StoreError storeErrorFor(int code, const std::string& path, bool writing);

// A StoreError with the standard message of its cause.
StoreError storeErrorOf(StoreError::Cause cause, const std::string& path, int code = 0);

}  // namespace rumone
