// One copy of the program writes a database at a time. The first copy holds
// an advisory lock (flock) on the database file for as long as it runs; the
// system drops it when the process ends, killed or not. A second copy sees
// the lock taken and opens the database read-only.
#pragma once

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

}  // namespace rumone
