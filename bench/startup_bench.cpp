// Cold start: process start to the main window with the prediction view
// painted (the program's --quit-after-first-paint), on the real draws and
// on 32,767 draws, beside its two floors measured in the same run, both
// started and painted the same way after one keyed open of the database
// (startup_floor): an empty main window, which paints no text, and the text
// floor, the same window with the program's font, menus, a label and a
// status line. On one core the start is judged against the text floor
// (+20 ms), on more against the empty one (+30 ms). The wait is the player's: from the start to
// the moment the first paint is flushed, as the program reports it (wall
// and CPU time of all its threads until then); the whole run, exit
// included, is shown beside it. Rounds interleave the cases so that the
// load of a shared machine falls on all of them alike.
//
// Run:  build/bench/bin/startup_bench [ROUNDS]     (default 9)
//       taskset -c 1 build/bench/bin/startup_bench  (the start on one core)
//       build/bench/bin/startup_bench [ROUNDS] --draws=N|real ...  (the
//       program on each of those draws in place of its own two, the floors
//       opening the first one's database)
// The windows paint on the offscreen platform unless QT_QPA_PLATFORM is set
// (QT_QPA_PLATFORM=xcb with DISPLAY for a real X server).
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "BenchData.h"

namespace {

using namespace rumone;
using namespace rumone::bench;
namespace fs = std::filesystem;

struct Run {
    double paintWallMs = 0;  // start to the first paint flushed
    double paintCpuMs = 0;   // the child's CPU time until then
    double wallMs = 0;       // start to exit
    bool ok = false;
};

long long monotonicNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

// The child's "first-paint MONOTONIC_NS CPU_NS" line, read to its end.
std::string readAll(int fd)
{
    std::string text;
    char buffer[512];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            break;
        text.append(buffer, static_cast<size_t>(n));
    }
    return text;
}

// Starts `program` with `args` in `folder` and waits for it to end.
Run runProcess(const std::string& program, const std::vector<std::string>& args, const std::string& folder)
{
    int out[2];
    if (pipe(out) != 0)
        return {};
    const long long startNs = monotonicNs();
    const pid_t pid = fork();
    if (pid == 0) {
        close(out[0]);
        if (dup2(out[1], STDOUT_FILENO) < 0 || chdir(folder.c_str()) != 0)
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
    close(out[1]);
    Run run;
    const std::string said = pid < 0 ? std::string() : readAll(out[0]);
    close(out[0]);
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid)
        return run;
    run.wallMs = (monotonicNs() - startNs) / 1e6;
    long long paintNs = 0, cpuNs = 0;
    const size_t at = said.find("first-paint ");
    if (at == std::string::npos || std::sscanf(said.c_str() + at, "first-paint %lld %lld", &paintNs, &cpuNs) != 2)
        return run;
    run.paintWallMs = (paintNs - startNs) / 1e6;
    run.paintCpuMs = cpuNs / 1e6;
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
    Case(const char* caseName, std::string programPath, std::vector<std::string> arguments, std::string inFolder)
        : name(caseName), program(std::move(programPath)), args(std::move(arguments)), folder(std::move(inFolder))
    {
    }
    const char* name;
    std::string program;
    std::vector<std::string> args;
    std::string folder;
    std::vector<double> paintWall, paintCpu, wall;
    int failures = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<ChosenDraws> chosen = takeDrawsOptions(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    TempFolder tmp;
    const auto real = chosen.empty() ? realDrawRows() : std::nullopt;
    // With --draws the floors open the first of those databases.
    const std::string maxFolder =
        programFolder(tmp, "max", chosen.empty() ? sampleDraws(kMaxDrawNumber) : chosen.front().rows);
    std::vector<std::string> chosenCases;
    for (const ChosenDraws& draws : chosen)
        chosenCases.push_back("program, " + draws.name);
    std::vector<Case> cases;
    // The floor: the program's own key derivation; beside it the same with
    // SQLCipher deriving the key from the password (as every open did before
    // the program derived it), for reference.
    cases.emplace_back(
        Case{"floor (empty window + key)", RUMONE_FLOOR_PROGRAM, {maxFolder + "/" + kDatabaseFileName}, maxFolder});
    cases.emplace_back(Case{"text floor (+ font, menus)",
                            RUMONE_FLOOR_PROGRAM,
                            {maxFolder + "/" + kDatabaseFileName, "--text"},
                            maxFolder});
    constexpr std::size_t kFloors = 3;  // the two floors and the reference beside them
    cases.emplace_back(Case{"  SQLCipher deriving the key",
                            RUMONE_FLOOR_PROGRAM,
                            {maxFolder + "/" + kDatabaseFileName, "--sqlcipher-key"},
                            maxFolder});
    for (std::size_t i = 0; i < chosen.size(); ++i)  // interleaved in each round, as the other cases
        cases.emplace_back(Case{chosenCases[i].c_str(),
                                "",
                                {"--quit-after-first-paint"},
                                i == 0 ? maxFolder : programFolder(tmp, "draws" + std::to_string(i), chosen[i].rows)});
    if (chosen.empty() && real)
        cases.push_back({"program, real draws", "", {"--quit-after-first-paint"}, programFolder(tmp, "real", *real)});
    else if (chosen.empty())
        std::printf("real draws absent (%s): that case is skipped\n", realDrawsCsv());
    if (chosen.empty())
        cases.emplace_back(Case{"program, 32767 draws", "", {"--quit-after-first-paint"}, maxFolder});
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
            c.paintWall.push_back(run.paintWallMs);
            c.paintCpu.push_back(run.paintCpuMs);
            c.wall.push_back(run.wallMs);
        }

    // One core waits for the loading thread as well: judged against the
    // floor that draws text. More cores load beside the window thread.
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    const int cores = sched_getaffinity(0, sizeof allowed, &allowed) == 0 ? CPU_COUNT(&allowed) : 0;
    const double floorWall = median(cases[0].paintWall);
    const double floorCpu = median(cases[0].paintCpu);
    const double textFloorWall = median(cases[1].paintWall);
    const bool oneCore = cores == 1;
    const double judgedFloor = oneCore ? textFloorWall : floorWall;
    const double allowance = oneCore ? 20 : 30;
    char target[64];
    std::snprintf(target, sizeof target, "<= %s + %.0f ms", oneCore ? "text floor" : "floor", allowance);
    std::printf("\nCold start to the first paint, medians of %d rounds (platform %s, %d core%s)\n", rounds,
                std::getenv("QT_QPA_PLATFORM"), cores, oneCore ? "" : "s");
    std::printf("%-28s %9s %9s %9s %9s %11s %11s %9s  target %s\n", "", "wall ms", "min", "max", "CPU ms", "wall-floor",
                "CPU-floor", "exit ms", target);
    for (const Case& c : cases) {
        if (c.paintWall.empty()) {
            std::printf("%-28s failed every round\n", c.name);
            continue;
        }
        const double wall = median(c.paintWall), cpu = median(c.paintCpu);
        const auto [lo, hi] = std::minmax_element(c.paintWall.begin(), c.paintWall.end());
        const bool judged = &c >= &cases[kFloors];
        std::printf("%-28s %9.1f %9.1f %9.1f %9.1f %+11.1f %+11.1f %9.1f  %s%s\n", c.name, wall, *lo, *hi, cpu,
                    wall - floorWall, cpu - floorCpu, median(c.wall),
                    !judged ? "" : (wall - judgedFloor <= allowance ? "met" : "MISSED"),
                    c.failures ? " (some runs failed)" : "");
    }
    // One line each for the table of every wait (bench/waits.sh), naming
    // the cores the runs had (taskset -c 1 gives one), both floors beside.
    char peer[128];
    std::snprintf(peer, sizeof peer, "floor %.1f, text floor %.1f ms in the same run", floorWall, textFloorWall);
    for (const Case& c : cases)
        if (&c >= &cases[kFloors] && !c.paintWall.empty()) {
            const double wall = median(c.paintWall);
            char plus[48];
            std::snprintf(plus, sizeof plus, " (%+.1f against the %s)", wall - judgedFloor,
                          oneCore ? "text floor" : "floor");
            std::printf("WAIT\tcold start to the first paint, %s, %d core%s\t%.2f\t%s%s\t%s\t%s\n",
                        c.name + std::strlen("program, "), cores, oneCore ? "" : "s", wall, peer, plus, target,
                        wall - judgedFloor <= allowance ? "met" : "missed");
        }
    return 0;
}
