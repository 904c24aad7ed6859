// What the benchmarks of windows share: the process started as the program
// starts, a host for a view opened on its own, and the clocks they read.
#pragma once

#include <time.h>

#include <QByteArray>
#include <QtGlobal>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "core/analysis/AnalysisView.h"
#include "core/history/DrawHistory.h"
#include "gui/common/ChildView.h"
#include "gui/common/JapaneseFont.h"
#include "gui/common/ProcessMemory.h"

namespace rumone::bench {

// Before the QApplication: the program's own start (its allocator setting),
// with windows painting offscreen unless QT_QPA_PLATFORM says otherwise.
inline void startLikeTheProgram()
{
    keepFreedMemoryForReuse();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// Once the QApplication is made: the windows' texts in the program's face,
// as the program sets them.
inline void startQtLikeTheProgram()
{
    useJapaneseFontForWindows();
}

// The host of a view opened without a main window.
class BenchHost : public ViewHost {
public:
    explicit BenchHost(const DrawHistory& history) : history_(history) {}
    void setPropEnd(bool) override {}
    const DrawHistory& drawHistory() const override { return history_; }

private:
    const DrawHistory& history_;
};

// One `Window` of `spec` built, loaded and painted, then let go: the
// process's one-time start-up (fonts, style, chart theme) done before the
// first timed open, so that it is no view's cost.
template <class Window>
void paintOnceUntimed(const DrawHistory& history, const AnalysisViewSpec& spec)
{
    BenchHost host(history);
    Window window(host, spec);
    window.load();
    window.grab();
}

inline double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Wall time and this thread's CPU time since construction.
struct Clocks {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    double cpu = threadCpuMs();
    double wallMs() const
    {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall).count();
    }
    double cpuMs() const { return threadCpuMs() - cpu; }
};

// `name` padded to `columns` terminal columns (a Japanese character takes two).
inline std::string padded(const std::string& name, int columns)
{
    int width = 0;
    for (unsigned char ch : name)
        if ((ch & 0xC0) != 0x80)
            width += ch >= 0x80 ? 2 : 1;
    return name + std::string(static_cast<std::size_t>(std::max(0, columns - width)), ' ');
}

// Milliseconds as the WAIT lines' texts give them, to two decimals.
inline std::string ms(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// A line for bench/waits.sh: wait | median ms | floor or peer | target | met.
// A target is met or missed on the wall clock; CPU time goes beside it.
inline void printWaitLine(const std::string& wait, double medianMs, const std::string& peer, const std::string& target,
                          const std::string& met)
{
    std::printf("WAIT\t%s\t%.2f\t%s\t%s\t%s\n", wait.c_str(), medianMs, peer.c_str(), target.c_str(), met.c_str());
}
inline void printWaitLine(const std::string& wait, double medianMs, const std::string& peer, const std::string& target,
                          bool met)
{
    printWaitLine(wait, medianMs, peer, target, std::string(met ? "met" : "missed"));
}

}  // namespace rumone::bench
