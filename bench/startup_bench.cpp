// Cold start: process start to the main window with the prediction view
// painted, then quit (the program's --quit-after-first-paint), on the real
// draws and on 32,767 draws, beside its floor measured in the same run: an
// empty main window started, painted and quit the same way after one keyed
// open of the database (startup_floor). Rounds interleave the three so that
// the load of a shared machine falls on all of them alike.
//
// Run:  build/bench/bin/startup_bench [ROUNDS]     (default 9)
// The windows paint on the offscreen platform unless QT_QPA_PLATFORM is set
// (QT_QPA_PLATFORM=xcb with DISPLAY for a real X server).
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchData.h"

namespace {

using namespace rumone;
using namespace rumone::bench;
namespace fs = std::filesystem;

struct Run {
    double wallMs = 0;
    double cpuMs = 0;  // user + system time of the child
    bool ok = false;
};

// Starts `program` with `args` in `folder` and waits for it to end.
Run runProcess(const std::string& program, const std::vector<std::string>& args, const std::string& folder)
{
    const auto t0 = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder.c_str()) != 0)
            _exit(126);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        if (FILE* quiet = std::freopen("/dev/null", "w", stderr); !quiet)
            _exit(125);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    Run run;
    int status = 0;
    struct rusage usage {};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid)
        return run;
    run.wallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    run.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

// A folder as the program finds itself in: the program and its database.
std::string programFolder(const TempFolder& tmp, const std::string& name, const std::vector<EditRow>& rows)
{
    const std::string folder = tmp.path() + "/" + name;
    fs::create_directories(folder);
    fs::copy_file(RUMONE_PROGRAM, folder + "/rumone", fs::copy_options::overwrite_existing);
    makeDatabase(folder + "/" + kDatabaseFileName, rows);
    return folder;
}

struct Case {
    const char* name;
    std::string program;
    std::vector<std::string> args;
    std::string folder;
    std::vector<double> wall, cpu;
    int failures = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    TempFolder tmp;
    const auto real = realDrawRows();
    const std::string maxFolder = programFolder(tmp, "max", sampleDraws(kMaxDrawNumber));
    std::vector<Case> cases;
    // The floor: the program's own key derivation; beside it the same with
    // SQLCipher deriving the key from the password (as every open did before
    // the program derived it), for reference.
    cases.push_back({"floor (empty window + key)",
                     RUMONE_FLOOR_PROGRAM,
                     {maxFolder + "/" + kDatabaseFileName},
                     maxFolder,
                     {},
                     {},
                     0});
    cases.push_back({"  SQLCipher deriving the key",
                     RUMONE_FLOOR_PROGRAM,
                     {maxFolder + "/" + kDatabaseFileName, "--sqlcipher-key"},
                     maxFolder,
                     {},
                     {},
                     0});
    if (real)
        cases.push_back(
            {"program, real draws", "", {"--quit-after-first-paint"}, programFolder(tmp, "real", *real), {}, {}, 0});
    else
        std::printf("real draws absent (%s): that case is skipped\n", realDrawsCsv());
    cases.push_back({"program, 32767 draws", "", {"--quit-after-first-paint"}, maxFolder, {}, {}, 0});
    for (Case& c : cases)
        if (c.program.empty())
            c.program = c.folder + "/rumone";

    for (Case& c : cases)  // one start each to warm the file cache
        runProcess(c.program, c.args, c.folder);
    for (int round = 0; round < rounds; ++round)
        for (Case& c : cases) {
            const Run run = runProcess(c.program, c.args, c.folder);
            if (!run.ok) {
                ++c.failures;
                continue;
            }
            c.wall.push_back(run.wallMs);
            c.cpu.push_back(run.cpuMs);
        }

    const double floorWall = median(cases[0].wall);
    const double floorCpu = median(cases[0].cpu);
    std::printf("\nCold start, medians of %d rounds (platform %s)\n", rounds, std::getenv("QT_QPA_PLATFORM"));
    std::printf("%-28s %9s %9s %9s %9s %11s %11s  %s\n", "", "wall ms", "min", "max", "CPU ms", "wall-floor",
                "CPU-floor", "target floor+30 ms");
    for (const Case& c : cases) {
        if (c.wall.empty()) {
            std::printf("%-28s failed every round\n", c.name);
            continue;
        }
        const double wall = median(c.wall), cpu = median(c.cpu);
        const auto [lo, hi] = std::minmax_element(c.wall.begin(), c.wall.end());
        std::printf("%-28s %9.1f %9.1f %9.1f %9.1f %+11.1f %+11.1f  %s%s\n", c.name, wall, *lo, *hi, cpu,
                    wall - floorWall, cpu - floorCpu,
                    &c <= &cases[1] ? "" : (wall - floorWall <= 30 ? "met" : "MISSED"),
                    c.failures ? " (some runs failed)" : "");
    }
    return 0;
}
