// Helpers for the reliability tests: running the tools, child processes to
// kill, a file system that syncs slowly, and running as an ordinary user.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "StoreTestHelpers.h"

namespace rumone::test {

inline std::string toolPath(const std::string& name)
{
    return std::string(RUMONE_BIN_DIR) + "/" + name;
}

struct ToolRun {
    int exitCode = -1;   // -1 when it did not exit normally
    std::string output;  // stdout and stderr together
};

// Starts a tool of the build with `args`, its output going to `outFile`;
// returns its pid.
inline pid_t startTool(const std::string& tool, const std::vector<std::string>& args, const std::string& outFile)
{
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<std::string> copy = args;
        std::string path = toolPath(tool);
        std::vector<char*> argv{path.data()};
        for (std::string& a : copy)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        const int fd = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, 1);
        dup2(fd, 2);
        execv(argv[0], argv.data());
        std::_Exit(127);
    }
    return pid;
}

// Runs a tool of the build with `args`, its output captured.
inline ToolRun runToolCapturing(const std::string& tool, const std::vector<std::string>& args)
{
    TempDir out;
    const std::string outFile = out.file("output");
    const pid_t pid = startTool(tool, args, outFile);
    int status = 0;
    waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readBytes(outFile)};
}

inline bool toolsBuilt()
{
    return access(toolPath("rumone-db").c_str(), X_OK) == 0 && access(toolPath("rumone-griddump").c_str(), X_OK) == 0;
}

// Starts a child process that runs `body` and exits 0 after it, 2 on an
// exception; returns its pid.
inline pid_t forkRunning(const std::function<void()>& body)
{
    const pid_t pid = fork();
    if (pid == 0) {
        try {
            body();
        } catch (...) {
            std::_Exit(2);
        }
        std::_Exit(0);
    }
    return pid;
}

// Runs `body` in a child process (forkRunning) and returns its exit code
// (-1 when it was killed).
inline int runInChild(const std::function<void()>& body)
{
    const pid_t pid = forkRunning(body);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Starts `body` in a child, lets it run for `delay` and kills it (if it has
// not ended). True when the kill cut it short.
inline bool runAndKill(const std::function<void()>& body, std::chrono::microseconds delay)
{
    const pid_t pid = forkRunning(body);
    std::this_thread::sleep_for(delay);
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFSIGNALED(status);
}

// Makes every sync of SQLite in this process take `ms` milliseconds more,
// so that a write spends most of its time with its journal on the disk.
// When `notifyFd` is given, one byte is written to it as the first sync
// begins. For a child process about to be killed: it cannot be undone.
void slowDownSyncs(int ms, int notifyFd = -1);

// Runs `body` in a child whose syncs are slowed by `syncMs`, waits until
// its first sync begins (the write is under way), lets it run `delay` more
// and kills it. True when the kill cut it short.
bool killAfterFirstSync(const std::function<void()>& body, int syncMs, std::chrono::microseconds delay);

// How long `body`, run as above but not killed, takes from its first sync
// to its end: the shortest of three runs; `undo` runs after each.
std::chrono::microseconds timeFromFirstSync(const std::function<void()>& body, int syncMs,
                                            const std::function<void()>& undo);

// The name and ids of an ordinary user, for tests that need permissions to
// count while they run as root.
inline constexpr uid_t kNobody = 65534;

// Runs `body` with the permissions of an ordinary user: in a child that
// drops root first when the tests run as root. Returns what `body`
// returned, or a text starting with "!" when the child failed.
std::string runUnprivileged(const std::function<std::string()>& body);

}  // namespace rumone::test
