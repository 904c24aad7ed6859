// One program writes a database at a time. Every writer — the program for
// as long as it runs, `rumone-db import` while it imports — holds an
// advisory lock (flock) on the database file; the system drops it when the
// process ends, killed or not. A copy of the program that sees the lock
// taken opens the database read-only; the tool refuses to write.
#pragma once

#include <optional>
#include <string>

#include "core/store/SafeFile.h"

namespace rumone {

class DatabaseLock {
public:
    // Tries once, without waiting. A file that cannot be opened is not
    // locked here (the load reports it); held() is then true.
    explicit DatabaseLock(const std::string& path);
    DatabaseLock(const DatabaseLock&) = delete;
    DatabaseLock& operator=(const DatabaseLock&) = delete;

    // False when another process holds the database.
    bool held() const { return held_; }

private:
    FileDescriptor fd_;  // closing it drops the lock
    bool held_ = true;
};

// The process holding the lock on a database, as the system lists it.
struct LockHolder {
    long pid = 0;
    std::string program;  // the process's name; empty when it could not be read
};

// Who holds the lock on the file at `path` (from the system's list of
// locks, /proc/locks); nullopt when no one does or the system does not
// tell.
std::optional<LockHolder> findLockHolder(const std::string& path);

// "rumone-db（プロセス 1234）", or "ほかのプログラム" when the holder is
// unknown: for a sentence saying who has the database open.
std::string lockHolderText(const std::string& path);

}  // namespace rumone
