#include "core/store/DatabaseLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace rumone {

namespace {

// The identity /proc/locks gives a file: "major:minor:inode", the device
// numbers in two-digit hex.
std::string lockedFileId(const struct stat& st)
{
    char id[64] = {};
    std::snprintf(id, sizeof id, "%02x:%02x:%lu", major(st.st_dev), minor(st.st_dev),
                  static_cast<unsigned long>(st.st_ino));
    return id;
}

std::string programNameOf(long pid)
{
    std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

}  // namespace

DatabaseLock::DatabaseLock(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK))
{
    if (!fd_.valid())
        return;
    int rc = 0;
    do
        rc = ::flock(fd_.get(), LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    held_ = rc == 0 || errno != EWOULDBLOCK;
}

std::optional<LockHolder> findLockHolder(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    const std::string id = lockedFileId(st);
    // "1: FLOCK  ADVISORY  WRITE 1907 fe:00:10952748 0 EOF"; a waiting
    // request's line has "->" after its number.
    std::ifstream locks("/proc/locks");
    for (std::string line; std::getline(locks, line);) {
        std::istringstream fields(line);
        std::string number, kind, mode, access, file;
        long pid = 0;
        if (!(fields >> number >> kind) || kind != "FLOCK")
            continue;
        if (fields >> mode >> access >> pid >> file && file == id && access == "WRITE" && pid > 0)
            return LockHolder{pid, programNameOf(pid)};
    }
    return std::nullopt;
}

std::string lockHolderText(const std::string& path)
{
    const std::optional<LockHolder> holder = findLockHolder(path);
    if (!holder)
        return "ほかのプログラム";
    const std::string process = "プロセス " + std::to_string(holder->pid);
    return holder->program.empty() ? process : holder->program + "（" + process + "）";
}

}  // namespace rumone
