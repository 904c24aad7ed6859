#include "core/store/DatabaseLock.h"

#include <fcntl.h>
#include <sys/file.h>

#include <cerrno>

namespace rumone {

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

}  // namespace rumone
