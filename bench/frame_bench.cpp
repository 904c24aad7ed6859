// The views as the player opens them: inside the main window, with the
// prediction view open, each of the sixteen analysis views and the entry
// view opened twice in a row (closed between), at 32,767 draws and on the
// real draws; so is the 当せん金 view, in a frame of its own whose database
// holds a prize of every kind for every draw. An open is the view built,
// laid out and painted once (the 当せん金 view: its latest rows; its whole
// table, made on a thread of its own, is timed until it has painted too).
// Beside the times: the page faults of the window thread and the peak
// memory after the first round and after the last (it must not grow with
// the opens).
//
// Run:  build/bench/bin/frame_bench [ROUNDS] [--allocator=program|glibc|mmap-only|trim-only] [--view=NAME]
//                                   [--draws=N|real ...]   (each of those draws in place of 32,767 and the real
//                                   draws; the peak memory of one is its own only when it runs alone)
// The program's own start is the default; the others start without its
// allocator setting (glibc's defaults) or with half of it, for comparison.
#include <malloc.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "BenchFrame.h"
#include "BenchViews.h"
#include "core/analysis/AnalysisView.h"
#include "core/store/DrawImport.h"
#include "gui/common/Messages.h"
#include "gui/entry/EntryGrid.h"
#include "gui/entry/EntryTableModel.h"
#include "gui/entry/EntryView.h"
#include "gui/grid/GridWidget.h"
#include "gui/prizes/PrizeView.h"

namespace {

using namespace rumone;
using namespace rumone::bench;

constexpr double kOpenTargetMs = 8.0;

struct Opens {
    std::vector<double> wall[2], cpu[2], faults[2];
    std::vector<double> allRows;  // the entry and 当せん金 views: until every row is in
    int unpainted = 0;
};

// Calls `seen` once when `target` gets its first queued call after
// `painted` has painted.
class QueuedCallAfterPaint : public QObject {
public:
    QueuedCallAfterPaint(QObject* target, QWidget* painted, std::function<void()> seen)
        : target_(target), painted_(painted), seen_(std::move(seen))
    {
        qApp->installEventFilter(this);
    }
    ~QueuedCallAfterPaint() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched == painted_)
            paintedOnce_ = true;
        else if (event->type() == QEvent::MetaCall && watched == target_ && paintedOnce_ && seen_)
            std::exchange(seen_, nullptr)();
        return false;
    }

private:
    QObject* target_;
    QWidget* painted_;
    std::function<void()> seen_;
    bool paintedOnce_ = false;
};

// Runs the window's events until the 当せん金 view has its whole table
// (a timer wakes the wait now and then, should nothing else come).
void waitForTheRest(const PrizeView& view)
{
    QTimer wake;
    wake.start(50);
    for (int i = 0; view.readingRest() && i < 600; ++i)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// One open: from the command to the first paint done.
void openOnce(MainWindow& frame, const QString& name, Opens& into, int which)
{
    const long faults0 = minorFaults();
    const Clocks c;
    // The entry view too through the frame's open sequence (its menu command
    // asks first that the prediction view be closed).
    ChildView* view = frame.showView(name);
    if (!view) {
        ++into.unpainted;
        return;
    }
    // The entry view reads the rows before those shown, and the 当せん金
    // view starts making its whole table, in a queued call right after the
    // first paint of their grid: the open ends where that call begins.
    double wall = -1, cpu = 0;
    const auto opened = [&] {
        wall = c.wallMs();
        cpu = c.cpuMs();
    };
    std::unique_ptr<QueuedCallAfterPaint> watch;
    auto* prizes = qobject_cast<PrizeView*>(view);
    if (auto* entry = qobject_cast<EntryView*>(view))
        watch = std::make_unique<QueuedCallAfterPaint>(entry, entry->grid()->viewport(), opened);
    else if (prizes)
        watch = std::make_unique<QueuedCallAfterPaint>(prizes, prizes->gridWidget()->viewport(), opened);
    if (!letPaint(view))
        ++into.unpainted;
    // The whole 当せん金 table, made on a thread of its own, ends where it
    // has painted.
    if (prizes) {
        waitForTheRest(*prizes);
        if (!letPaint(prizes))
            ++into.unpainted;
    }
    if (wall < 0)
        opened();
    else
        into.allRows.push_back(c.wallMs());
    into.wall[which].push_back(wall);
    into.cpu[which].push_back(cpu);
    into.faults[which].push_back(static_cast<double>(minorFaults() - faults0));
    closeView(view);
}

// A prize of every kind for every draw of `rows`, as a results file brings
// them, stored in the folder's database.
void storePrizes(const ProgramFolder& folder, const std::vector<EditRow>& rows)
{
    DrawDetailsList details;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        DrawDetails d;
        const long long step = static_cast<long long>(i % 97) * 100;
        d.prizes[static_cast<std::size_t>(PrizeKind::Straight)] = PrizeLine{40, 850000 + step * 10, false};
        d.prizes[static_cast<std::size_t>(PrizeKind::Box)] = PrizeLine{900, 35000 + step, false};
        d.prizes[static_cast<std::size_t>(PrizeKind::SetStraight)] = PrizeLine{30, 440000 + step * 5, false};
        d.prizes[static_cast<std::size_t>(PrizeKind::SetBox)] = PrizeLine{800, 17000 + step, false};
        details.emplace_back(static_cast<int>(i + 1), d);
    }
    DrawEditSet set = openDrawEditSet(drawDatabaseAt(folder.path() + "/" + kDatabaseFileName));
    set.importPreviewed(previewImport({}, details, set.rows(), set.readDetails()));
}

struct Worst {
    double first = 0, second = 0, firstCpu = 0, secondCpu = 0;
    std::string firstName, secondName;
};

void runOn(const char* title, const std::vector<EditRow>& rows, int rounds, const char* tag, const QString& only)
{
    ProgramFolder folder(rows);
    const auto frame = startFrame(folder);
    std::vector<std::pair<std::string, QString>> views;
    for (const AnalysisViewSpec& spec : analysisViews())
        views.emplace_back(spec.objectName, QString::fromStdString(spec.objectName));
    views.emplace_back("当選データ入力 (entry)", kEntryView);
    if (!only.isEmpty())  // one view alone, for a profile
        std::erase_if(views, [&](const auto& v) { return v.second != only; });
    if (views.empty())
        return;

    std::printf("\n%s: %zu rows, in the main window with the prediction view open, medians of %d rounds\n", title,
                rows.size(), rounds);
    std::printf("%-34s %9s %9s %8s | %9s %9s %8s\n", "view", "1st ms", "CPU ms", "faults", "2nd ms", "CPU ms",
                "faults");
    double peakAfterFirst = 0;
    std::vector<Opens> all(views.size());
    for (int r = 0; r < rounds; ++r) {
        for (std::size_t v = 0; v < views.size(); ++v) {
            openOnce(*frame, views[v].second, all[v], 0);
            openOnce(*frame, views[v].second, all[v], 1);
        }
        if (r == 0)
            peakAfterFirst = statusMB("VmHWM");
    }
    Worst analysis;
    for (std::size_t v = 0; v < views.size(); ++v) {
        const Opens& o = all[v];
        std::printf("%s %9.2f %9.2f %8.0f | %9.2f %9.2f %8.0f%s\n", padded(views[v].first, 34).c_str(),
                    median(o.wall[0]), median(o.cpu[0]), median(o.faults[0]), median(o.wall[1]), median(o.cpu[1]),
                    median(o.faults[1]), o.unpainted ? "  (not painted in some opens)" : "");
        if (views[v].second == kEntryView)
            continue;
        if (median(o.wall[0]) > analysis.first) {
            analysis.first = median(o.wall[0]);
            analysis.firstName = views[v].first;
            analysis.firstCpu = median(o.cpu[0]);
        }
        if (median(o.wall[1]) > analysis.second) {
            analysis.second = median(o.wall[1]);
            analysis.secondName = views[v].first;
            analysis.secondCpu = median(o.cpu[1]);
        }
    }
    if (!all.back().allRows.empty())
        std::printf("entry view: every row in after %.2f ms\n", median(all.back().allRows));
    const double peakAtEnd = statusMB("VmHWM");
    std::printf("peak memory (VmHWM): %.1f MB after the first round, %.1f MB after round %d\n", peakAfterFirst,
                peakAtEnd, rounds);
    const std::string target = "<= " + std::to_string(static_cast<int>(kOpenTargetMs)) + " ms";
    const auto cpuOf = [](double ms) {
        char text[32];
        std::snprintf(text, sizeof text, "CPU %.2f", ms);
        return std::string(text);
    };
    printWaitLine(std::string("slowest analysis view, 1st open, ") + tag + " (" + analysis.firstName + ")",
                  analysis.first, cpuOf(analysis.firstCpu), target, analysis.first <= kOpenTargetMs);
    printWaitLine(std::string("slowest analysis view, 2nd open, ") + tag + " (" + analysis.secondName + ")",
                  analysis.second, cpuOf(analysis.secondCpu), target, analysis.second <= kOpenTargetMs);
    const Opens& entry = all.back();
    for (int which = 0; which < 2; ++which)
        printWaitLine(std::string("entry view, ") + (which ? "2nd" : "1st") + " open, " + tag,
                      median(entry.wall[which]), cpuOf(median(entry.cpu[which])), target,
                      median(entry.wall[which]) <= kOpenTargetMs);
    char growth[64];
    std::snprintf(growth, sizeof growth, "%.1f MB after round 1", peakAfterFirst);
    printWaitLine(std::string("peak memory after all opens, MB, ") + tag, peakAtEnd, growth, "no growth",
                  peakAtEnd <= peakAfterFirst + 1.0);
}

// The 当せん金 view opened twice a round in a frame of its own, on a prize of
// every kind stored for every draw (the other views open without them).
void runPrizeView(const std::vector<EditRow>& rows, int rounds, const char* tag)
{
    ProgramFolder folder(rows);
    storePrizes(folder, rows);
    const auto frame = startFrame(folder);
    Opens opens, entry;
    for (int r = 0; r < rounds; ++r) {
        openOnce(*frame, PrizeView::windowName(), opens, 0);
        openOnce(*frame, PrizeView::windowName(), opens, 1);
        openOnce(*frame, kEntryView, entry, 0);
    }
    // The entry view's date column on the same database: the prizes stored
    // beside the dates must cost its open nothing.
    char entryCpu[32];
    std::snprintf(entryCpu, sizeof entryCpu, "CPU %.2f", median(entry.cpu[0]));
    printWaitLine(std::string("entry view, prizes at every draw, 1st open, ") + tag, median(entry.wall[0]), entryCpu,
                  "<= 8 ms", median(entry.wall[0]) <= kOpenTargetMs);
    std::printf(
        "当せん金 view, a prize of every kind at each of %zu draws: %.2f ms (CPU %.2f), again %.2f ms (CPU %.2f)\n",
        rows.size(), median(opens.wall[0]), median(opens.cpu[0]), median(opens.wall[1]), median(opens.cpu[1]));
    for (int which = 0; which < 2; ++which) {
        char cpu[32];
        std::snprintf(cpu, sizeof cpu, "CPU %.2f", median(opens.cpu[which]));
        printWaitLine(std::string("当せん金 view, ") + (which ? "2nd" : "1st") + " open, " + tag,
                      median(opens.wall[which]), cpu, "<= 8 ms", median(opens.wall[which]) <= kOpenTargetMs);
    }
    // The rest of the table, off the window thread: shown, not judged.
    char firstPaint[48];
    std::snprintf(firstPaint, sizeof firstPaint, "latest rows painted after %.2f", median(opens.wall[0]));
    printWaitLine(std::string("当せん金 view, whole table painted, from the command, ") + tag, median(opens.allRows),
                  firstPaint, "-", std::string("shown"));
}

// How the allocator starts: the program's way, or one to compare with.
void startAllocator(const std::string& which)
{
    if (which == "program") {
        startLikeTheProgram();
        return;
    }
    if (which == "mmap-only")
        mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    else if (which == "trim-only")
        mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<ChosenDraws> chosen = takeDrawsOptions(argc, argv);
    int rounds = 5;
    std::string allocator = "program";
    QString only;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--allocator=", 12) == 0)
            allocator = argv[i] + 12;
        else if (std::strncmp(argv[i], "--view=", 7) == 0)
            only = QString::fromUtf8(argv[i] + 7);
        else
            rounds = std::max(1, std::atoi(argv[i]));
    }
    startAllocator(allocator);
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    startQtLikeTheProgram();
    std::printf("allocator: %s\n", allocator.c_str());
    const ScriptedAnswers noBoxes;  // a box would stop the run: each is answered as Escape and listed
    std::fflush(stdout);
    const std::string tag = allocator == "program" ? "" : ", " + allocator;
    for (const ChosenDraws& draws : chosen) {
        runOn(draws.name.c_str(), draws.rows, rounds, (draws.tag + tag).c_str(), only);
        if (only.isEmpty() || only == PrizeView::windowName())
            runPrizeView(draws.rows, rounds, (draws.tag + tag).c_str());
    }
    if (!chosen.empty())
        return 0;
    runOn("32,767 random draws", sampleDraws(kMaxDrawNumber), rounds, ("32767" + tag).c_str(), only);
    if (only.isEmpty() || only == PrizeView::windowName())
        runPrizeView(sampleDraws(kMaxDrawNumber), rounds, ("32767" + tag).c_str());
    if (const auto real = realDrawRows()) {
        runOn("real draws", *real, rounds, ("real" + tag).c_str(), only);
        if (only.isEmpty() || only == PrizeView::windowName())
            runPrizeView(*real, rounds, ("real" + tag).c_str());
    } else
        std::printf("\nreal draws absent (%s)\n", realDrawsCsv());
    std::printf(
        "\nopen: from the menu command to the view's first paint done; faults: minor page faults "
        "of the window thread.\n");
    return 0;
}
