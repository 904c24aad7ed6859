#include "ReliabilityHelpers.h"

#include <grp.h>
#include <sqlite3.h>

namespace rumone::test {

namespace {

struct SlowVfs;

// A file of the slow file system: its own header, then the real file.
struct SlowFile {
    sqlite3_file base;
    SlowVfs* vfs;
    sqlite3_file* real() { return reinterpret_cast<sqlite3_file*>(reinterpret_cast<char*>(this) + sizeof(SlowFile)); }
};

SlowFile* slow(sqlite3_file* f)
{
    return reinterpret_cast<SlowFile*>(f);
}
sqlite3_file* realOf(sqlite3_file* f)
{
    return slow(f)->real();
}

int slowClose(sqlite3_file* f)
{
    return realOf(f)->pMethods->xClose(realOf(f));
}
int slowRead(sqlite3_file* f, void* buf, int n, sqlite3_int64 at)
{
    return realOf(f)->pMethods->xRead(realOf(f), buf, n, at);
}
int slowWrite(sqlite3_file* f, const void* buf, int n, sqlite3_int64 at)
{
    return realOf(f)->pMethods->xWrite(realOf(f), buf, n, at);
}
int slowTruncate(sqlite3_file* f, sqlite3_int64 size)
{
    return realOf(f)->pMethods->xTruncate(realOf(f), size);
}
struct SlowVfs {
    sqlite3_vfs vfs;
    sqlite3_vfs* real;
    int delayMs;
    int notifyFd;
};

int slowSync(sqlite3_file* f, int flags)
{
    SlowVfs* v = slow(f)->vfs;
    if (v->notifyFd >= 0) {
        const char started = 1;
        if (write(v->notifyFd, &started, 1) == 1)
            close(v->notifyFd);
        v->notifyFd = -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(v->delayMs));
    return realOf(f)->pMethods->xSync(realOf(f), flags);
}
int slowFileSize(sqlite3_file* f, sqlite3_int64* size)
{
    return realOf(f)->pMethods->xFileSize(realOf(f), size);
}
int slowLock(sqlite3_file* f, int level)
{
    return realOf(f)->pMethods->xLock(realOf(f), level);
}
int slowUnlock(sqlite3_file* f, int level)
{
    return realOf(f)->pMethods->xUnlock(realOf(f), level);
}
int slowCheckReservedLock(sqlite3_file* f, int* out)
{
    return realOf(f)->pMethods->xCheckReservedLock(realOf(f), out);
}
int slowFileControl(sqlite3_file* f, int op, void* arg)
{
    return realOf(f)->pMethods->xFileControl(realOf(f), op, arg);
}
int slowSectorSize(sqlite3_file* f)
{
    return realOf(f)->pMethods->xSectorSize(realOf(f));
}
int slowDeviceCharacteristics(sqlite3_file* f)
{
    return realOf(f)->pMethods->xDeviceCharacteristics(realOf(f));
}

const sqlite3_io_methods kSlowMethods = {
    1,
    slowClose,
    slowRead,
    slowWrite,
    slowTruncate,
    slowSync,
    slowFileSize,
    slowLock,
    slowUnlock,
    slowCheckReservedLock,
    slowFileControl,
    slowSectorSize,
    slowDeviceCharacteristics,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

sqlite3_vfs* realVfs(sqlite3_vfs* v)
{
    return static_cast<SlowVfs*>(v->pAppData)->real;
}

int slowOpen(sqlite3_vfs* v, const char* name, sqlite3_file* f, int flags, int* outFlags)
{
    SlowFile* file = slow(f);
    file->vfs = static_cast<SlowVfs*>(v->pAppData);
    const int rc = realVfs(v)->xOpen(realVfs(v), name, file->real(), flags, outFlags);
    file->base.pMethods = file->real()->pMethods ? &kSlowMethods : nullptr;
    return rc;
}
int slowDelete(sqlite3_vfs* v, const char* name, int syncDir)
{
    return realVfs(v)->xDelete(realVfs(v), name, syncDir);
}
int slowAccess(sqlite3_vfs* v, const char* name, int flags, int* out)
{
    return realVfs(v)->xAccess(realVfs(v), name, flags, out);
}
int slowFullPathname(sqlite3_vfs* v, const char* name, int n, char* out)
{
    return realVfs(v)->xFullPathname(realVfs(v), name, n, out);
}
void* slowDlOpen(sqlite3_vfs* v, const char* name)
{
    return realVfs(v)->xDlOpen(realVfs(v), name);
}
void slowDlError(sqlite3_vfs* v, int n, char* out)
{
    realVfs(v)->xDlError(realVfs(v), n, out);
}
void (*slowDlSym(sqlite3_vfs* v, void* lib, const char* sym))(void)
{
    return realVfs(v)->xDlSym(realVfs(v), lib, sym);
}
void slowDlClose(sqlite3_vfs* v, void* lib)
{
    realVfs(v)->xDlClose(realVfs(v), lib);
}
int slowRandomness(sqlite3_vfs* v, int n, char* out)
{
    return realVfs(v)->xRandomness(realVfs(v), n, out);
}
int slowSleep(sqlite3_vfs* v, int us)
{
    return realVfs(v)->xSleep(realVfs(v), us);
}
int slowCurrentTime(sqlite3_vfs* v, double* out)
{
    return realVfs(v)->xCurrentTime(realVfs(v), out);
}
int slowGetLastError(sqlite3_vfs* v, int n, char* out)
{
    return realVfs(v)->xGetLastError(realVfs(v), n, out);
}
int slowCurrentTimeInt64(sqlite3_vfs* v, sqlite3_int64* out)
{
    return realVfs(v)->xCurrentTimeInt64(realVfs(v), out);
}

}  // namespace

void slowDownSyncs(int ms, int notifyFd)
{
    sqlite3_initialize();
    sqlite3_vfs* real = sqlite3_vfs_find(nullptr);
    // Lives until the process ends (a child that is killed or _Exits).
    auto* s = new SlowVfs{};
    s->real = real;
    s->delayMs = ms;
    s->notifyFd = notifyFd;
    sqlite3_vfs& v = s->vfs;
    v.iVersion = 2;
    v.szOsFile = static_cast<int>(sizeof(SlowFile)) + real->szOsFile;
    v.mxPathname = real->mxPathname;
    v.zName = "rumone-slow-sync";
    v.pAppData = s;
    v.xOpen = slowOpen;
    v.xDelete = slowDelete;
    v.xAccess = slowAccess;
    v.xFullPathname = slowFullPathname;
    v.xDlOpen = slowDlOpen;
    v.xDlError = slowDlError;
    v.xDlSym = slowDlSym;
    v.xDlClose = slowDlClose;
    v.xRandomness = slowRandomness;
    v.xSleep = slowSleep;
    v.xCurrentTime = slowCurrentTime;
    v.xGetLastError = slowGetLastError;
    v.xCurrentTimeInt64 = slowCurrentTimeInt64;
    sqlite3_vfs_register(&v, 1);
}

namespace {

struct SyncedChild {
    pid_t pid = -1;
    bool synced = false;  // its first sync began
};

// Starts `body` in a child with slowed syncs and waits for its first sync
// (or its end, when it never syncs).
SyncedChild startAndAwaitFirstSync(const std::function<void()>& body, int syncMs)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    const pid_t pid = forkRunning([&] {
        close(fds[0]);
        slowDownSyncs(syncMs, fds[1]);
        body();
    });
    close(fds[1]);
    char started = 0;
    const bool synced = read(fds[0], &started, 1) == 1;
    close(fds[0]);
    return {pid, synced};
}

}  // namespace

bool killAfterFirstSync(const std::function<void()>& body, int syncMs, std::chrono::microseconds delay)
{
    const SyncedChild child = startAndAwaitFirstSync(body, syncMs);
    if (child.pid < 0)
        return false;
    std::this_thread::sleep_for(delay);
    kill(child.pid, SIGKILL);
    int status = 0;
    waitpid(child.pid, &status, 0);
    return WIFSIGNALED(status);
}

std::chrono::microseconds timeFromFirstSync(const std::function<void()>& body, int syncMs,
                                            const std::function<void()>& undo)
{
    auto shortest = std::chrono::microseconds::max();
    for (int run = 0; run < 3; ++run) {
        const SyncedChild child = startAndAwaitFirstSync(body, syncMs);
        const auto start = std::chrono::steady_clock::now();
        int status = 0;
        waitpid(child.pid, &status, 0);
        EXPECT_TRUE(child.synced && WIFEXITED(status) && WEXITSTATUS(status) == 0);
        shortest = std::min(
            shortest, std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start));
        undo();
    }
    return shortest;
}

std::string runUnprivileged(const std::function<std::string()>& body)
{
    int fds[2];
    if (pipe(fds) != 0)
        return "!pipe";
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        std::string result;
        int code = 0;
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0)) {
            result = "cannot drop root";
            code = 1;
        } else {
            try {
                result = body();
            } catch (const std::exception& e) {
                result = std::string("exception: ") + e.what();
                code = 1;
            }
        }
        const char* p = result.data();
        std::size_t left = result.size();
        while (left > 0) {
            const ssize_t n = write(fds[1], p, left);
            if (n <= 0)
                break;
            p += n;
            left -= static_cast<std::size_t>(n);
        }
        std::_Exit(code);
    }
    close(fds[1]);
    std::string out;
    char buf[4096];
    ssize_t n;
    while ((n = read(fds[0], buf, sizeof buf)) > 0)
        out.append(buf, static_cast<std::size_t>(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? out : "!" + out;
}

}  // namespace rumone::test
