// The waits no other bench covers, each as the player meets it in the main
// window, with a target of one frame (16 ms) or progress shown:
//   - the verification view opened until its chart is drawn (the real draws
//     and 32,767 draws), until its progress bar is first on screen and until
//     every reflect count is in, with the longest the window thread worked
//     at a time; then opened again after one more draw;
//   - CSV import through the entry view of the 7,054 real draws and of
//     32,767 draws, into an empty database (progress shown when longer),
//     and through the frame (no entry view open) of 32,767 draws over the
//     real ones, with the longest time the window goes without an event;
//   - exit with nineteen views open (the sixteen analysis views, the
//     prediction view, the verification view and the version window);
//   - the first open of the help window, in a process of its own each round,
//     a second after the start, beside the second open in the same process.
//
// Run:  build/bench/bin/waits_bench [ROUNDS] [PART]   (default 5 rounds, every
//       part; PART is one of help, verification, import, exit)
//       build/bench/bin/waits_bench [ROUNDS] [PART] --draws=N|real ...  (the
//       verification, the import and the exit on each of those draws in
//       place of their own; the help window stays on the real draws)
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QMdiArea>
#include <QProgressBar>
#include <QProgressDialog>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "BenchFrame.h"
#include "BenchViews.h"
#include "core/analysis/AnalysisView.h"
#include "core/store/DrawCsv.h"
#include "gui/backtest/BacktestView.h"
#include "gui/charts/ChartsModule.h"
#include "gui/common/Messages.h"
#include "gui/entry/EntryView.h"
#include "gui/help/HelpWindow.h"

namespace {

using namespace rumone;
using namespace rumone::bench;

constexpr double kFrameMs = 16.0;

// Notes each progress dialog shown.
class ProgressWatch : public QObject {
public:
    ProgressWatch() { qApp->installEventFilter(this); }
    ~ProgressWatch() override { qApp->removeEventFilter(this); }
    bool seen() const { return seen_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<QProgressDialog*>(watched))
            seen_ = true;
        return false;
    }

private:
    bool seen_ = false;
};

// The moment the player first sees the run's progress bar: the end of the
// repaint that drew it (the first event after its paint that is no paint of
// the same repaint), or the moment asked for when that repaint is the last
// thing that ran.
class ProgressPaintWatch : public QObject {
public:
    explicit ProgressPaintWatch(const Clocks& clocks) : clocks_(clocks) { qApp->installEventFilter(this); }
    ~ProgressPaintWatch() override { qApp->removeEventFilter(this); }
    bool painted() const { return painted_; }
    // The wall time of that moment and the window thread's CPU time until
    // then; `now` once the repaint has ended.
    double shownMs()
    {
        note();
        return shownMs_;
    }
    double shownCpuMs()
    {
        note();
        return shownCpuMs_;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            if (watched->objectName() == QLatin1String("ProgressRun"))
                painted_ = true;
        } else {
            note();
        }
        return false;
    }

private:
    void note()
    {
        if (painted_ && shownMs_ < 0) {
            shownMs_ = clocks_.wallMs();
            shownCpuMs_ = clocks_.cpuMs();
        }
    }

    const Clocks& clocks_;
    bool painted_ = false;
    double shownMs_ = -1;
    double shownCpuMs_ = -1;
};

// The longest the window thread went without coming back to its event
// loop: the widest gap between the ticks of a 1 ms timer, less the tick,
// on the wall clock and in the thread's CPU time (under load the wall
// gap also holds the time other processes had the core).
class LongestSlice : public QObject {
public:
    LongestSlice()
    {
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] {
            const auto now = std::chrono::steady_clock::now();
            const double cpu = threadCpuMs();
            longest_ = std::max(longest_, std::chrono::duration<double, std::milli>(now - last_).count() - 1);
            longestCpu_ = std::max(longestCpu_, cpu - lastCpu_);
            last_ = now;
            lastCpu_ = cpu;
        });
        timer_.start();
    }
    double ms()
    {
        QApplication::processEvents();  // the slice under way ends here
        return longest_;
    }
    double cpuMs() const { return longestCpu_; }

private:
    QTimer timer_;
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
    double lastCpu_ = threadCpuMs();
    double longest_ = 0;
    double longestCpu_ = 0;
};

struct VerificationTimes {
    double progressShown = 0;
    double progressCpu = 0;
    bool progressWhileRunning = false;
    double chartDrawn = 0;
    double ended = 0;  // every reflect count and the conclusion in
    double cpu = 0;    // the window thread's, until the end
    double longestSlice = 0;
    double longestSliceCpu = 0;
};

// Opens the verification view and times it until its chart is drawn and
// until the whole run has ended; the view is closed after.
VerificationTimes openVerification(MainWindow& frame)
{
    VerificationTimes t;
    LongestSlice slices;
    const Clocks c;
    ProgressPaintWatch watch(c);
    auto* view = qobject_cast<BacktestView*>(frame.showView(kBacktestView));
    if (!view)
        return t;
    for (int i = 0; i < 8 && !watch.painted(); ++i)
        QApplication::processEvents();
    t.progressShown = watch.shownMs();
    t.progressCpu = watch.shownCpuMs();
    t.progressWhileRunning = watch.painted() && view->running();
    while (view->running() && !(view->chart() && view->chart()->pointCount() > 0))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    letPaint(view);
    t.chartDrawn = c.wallMs();
    while (view->running())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    letPaint(view);
    t.ended = c.wallMs();
    t.cpu = c.cpuMs();
    t.longestSlice = slices.ms();
    t.longestSliceCpu = slices.cpuMs();
    closeView(view);
    return t;
}

// The verification view opened the first time after the start (the walk
// of every reflect count kept from the prediction view's check line, the
// walk of the count shown made afresh), each round in a frame of its own;
// then, in the same frame, opened again after one more draw came in.
void verificationView(const char* name, std::vector<EditRow> rows, int rounds)
{
    const EditRow entered = rows.back();
    rows.pop_back();
    ProgramFolder folder(rows);
    std::vector<VerificationTimes> first, again;
    for (int r = 0; r < rounds; ++r) {
        const auto frame = startFrame(folder);
        first.push_back(openVerification(*frame));
        rows.push_back(entered);
        frame->loadWithHistory(historyOf(rows));
        rows.pop_back();
        letPaint(frame.get());
        waitForTheCheck(*frame);
        again.push_back(openVerification(*frame));
    }
    const auto med = [](const std::vector<VerificationTimes>& times, double VerificationTimes::*field) {
        std::vector<double> values;
        for (const VerificationTimes& t : times)
            values.push_back(t.*field);
        return median(values);
    };
    const auto whileRunning = [](const std::vector<VerificationTimes>& times) {
        return static_cast<int>(
            std::count_if(times.begin(), times.end(), [](const auto& t) { return t.progressWhileRunning; }));
    };
    for (const auto& [when, times] : {std::pair{"first open", &first}, std::pair{"after one more draw", &again}})
        std::printf(
            "verification view, %s, %s: progress on screen %.2f ms (window thread CPU %.2f ms; while the walk ran in "
            "%d of %d), chart drawn %.2f ms, every reflect count in %.2f ms (window thread CPU %.2f ms), longest "
            "window-thread slice %.2f ms (CPU %.2f ms)\n",
            name, when, med(*times, &VerificationTimes::progressShown), med(*times, &VerificationTimes::progressCpu),
            whileRunning(*times), rounds, med(*times, &VerificationTimes::chartDrawn),
            med(*times, &VerificationTimes::ended), med(*times, &VerificationTimes::cpu),
            med(*times, &VerificationTimes::longestSlice), med(*times, &VerificationTimes::longestSliceCpu));
    const bool large = rows.size() + 1 >= static_cast<std::size_t>(kMaxDrawNumber);
    const double chartTarget = large ? 200 : 50;
    const std::string chartTargetText = large ? "<= 200 ms" : "<= 50 ms";
    printWaitLine(std::string("verification view until its chart is drawn, ") + name,
                  med(first, &VerificationTimes::chartDrawn),
                  "every reflect count in " + ms(med(first, &VerificationTimes::ended)) + "; window thread CPU " +
                      ms(med(first, &VerificationTimes::cpu)),
                  chartTargetText, med(first, &VerificationTimes::chartDrawn) <= chartTarget);
    printWaitLine(std::string("verification view reopened after one more draw, chart drawn, ") + name,
                  med(again, &VerificationTimes::chartDrawn),
                  "first open " + ms(med(first, &VerificationTimes::chartDrawn)) + "; every reflect count in " +
                      ms(med(again, &VerificationTimes::ended)),
                  chartTargetText, med(again, &VerificationTimes::chartDrawn) <= chartTarget);
    if (!large)
        return;
    printWaitLine(
        std::string("verification view, progress on screen, ") + name, med(first, &VerificationTimes::progressShown),
        "while running " + std::to_string(whileRunning(first)) + "/" + std::to_string(rounds) + "; window thread CPU " +
            ms(med(first, &VerificationTimes::progressCpu)),
        "<= 16 ms", med(first, &VerificationTimes::progressShown) <= kFrameMs && whileRunning(first) == rounds);
    const double slice =
        std::max(med(first, &VerificationTimes::longestSlice), med(again, &VerificationTimes::longestSlice));
    printWaitLine(std::string("verification view, longest window-thread slice while it fills, ") + name, slice,
                  "first open " + ms(med(first, &VerificationTimes::longestSlice)) + " (CPU " +
                      ms(med(first, &VerificationTimes::longestSliceCpu)) + "), after one more draw " +
                      ms(med(again, &VerificationTimes::longestSlice)) + " (CPU " +
                      ms(med(again, &VerificationTimes::longestSliceCpu)) + ")",
                  "<= 8 ms", slice <= 8);
}

// The longest time the window thread went without handing out an event:
// what the player sees as the window not answering.
class EventGaps : public QObject {
public:
    EventGaps() { qApp->installEventFilter(this); }
    ~EventGaps() override { qApp->removeEventFilter(this); }
    double longestMs() const { return std::max(longest_, clocks_.wallMs() - last_); }

protected:
    bool eventFilter(QObject*, QEvent*) override
    {
        const double now = clocks_.wallMs();
        longest_ = std::max(longest_, now - last_);
        last_ = now;
        return false;
    }

private:
    Clocks clocks_;
    double last_ = 0;
    double longest_ = 0;
};

void csvImport(const char* name, const std::vector<EditRow>& rows, int rounds)
{
    std::vector<double> wall, cpu, stall;
    int withProgress = 0;
    for (int r = 0; r < rounds; ++r) {
        ProgramFolder folder({});
        const std::string csv = folder.path() + "/draws.csv";
        std::ofstream(csv, std::ios::binary) << drawCsvFile(rows);
        const auto frame = startFrame(folder);
        if (ChildView* prediction = frame->findView(kPredictionView))
            closeView(prediction);  // the entry view opens with no other view
        frame->runEntryCommand();
        auto* entry = qobject_cast<EntryView*>(frame->findView(kEntryView));
        if (!entry)
            return;
        letPaint(entry);
        const ScriptedAnswers answers({QMessageBox::Ok, QMessageBox::Ok});  // 取込, then the counts
        const ProgressWatch progress;
        const Clocks c;
        const EventGaps gaps;
        const bool imported = entry->importCsv(QString::fromStdString(csv));
        stall.push_back(gaps.longestMs());
        letPaint(entry);
        wall.push_back(c.wallMs());
        cpu.push_back(c.cpuMs());
        withProgress += progress.seen() ? 1 : 0;
        if (!imported)
            std::printf("the import of %s failed: %s\n", name, answers.first().text.toStdString().c_str());
        closeView(entry);
    }
    std::printf(
        "CSV import through the entry view, %s: %.2f ms (CPU %.2f ms), progress shown in %d of %d rounds, the "
        "window thread at most %.2f ms without an event\n",
        name, median(wall), median(cpu), withProgress, rounds, median(stall));
    const bool met = median(wall) <= kFrameMs || withProgress == rounds;
    printWaitLine(std::string("CSV import through the entry view, ") + name, median(wall),
                  "progress shown " + std::to_string(withProgress) + "/" + std::to_string(rounds) +
                      "; longest without an event " + ms(median(stall)),
                  "<= 16 ms or progress", met);
}

// The frame's CSV取込 (データ管理) with no entry view open: `incoming` over a
// database holding `stored` (new draws and changed ones), until the import
// has returned.
void frameImport(const char* name, const std::vector<EditRow>& stored, const std::vector<EditRow>& incoming, int rounds)
{
    std::vector<double> wall, cpu, stall;
    int withProgress = 0;
    for (int r = 0; r < rounds; ++r) {
        ProgramFolder folder(stored);
        const std::string csv = folder.path() + "/draws.csv";
        std::ofstream(csv, std::ios::binary) << drawCsvFile(incoming);
        const auto frame = startFrame(folder);
        const ScriptedAnswers answers({QMessageBox::Ok, QMessageBox::Ok});  // 取込, then the counts
        const ProgressWatch progress;
        const Clocks c;
        const EventGaps gaps;
        frame->importFiles({QString::fromStdString(csv)});
        stall.push_back(gaps.longestMs());
        wall.push_back(c.wallMs());
        cpu.push_back(c.cpuMs());
        withProgress += progress.seen() ? 1 : 0;
    }
    std::printf(
        "CSV import through the frame, %s: %.2f ms (CPU %.2f ms), progress shown in %d of %d rounds, the window "
        "thread at most %.2f ms without an event\n",
        name, median(wall), median(cpu), withProgress, rounds, median(stall));
    printWaitLine(std::string("CSV import through the frame, ") + name, median(wall),
                  "progress shown " + std::to_string(withProgress) + "/" + std::to_string(rounds) +
                      "; longest without an event " + ms(median(stall)),
                  "<= 16 ms or progress", median(wall) <= kFrameMs || withProgress == rounds);
}

void exitWithNineteenViews(const char* name, const std::vector<EditRow>& rows, int rounds)
{
    ProgramFolder folder(rows);
    std::vector<double> wall;
    int open = 0;
    for (int r = 0; r < rounds; ++r) {
        auto frame = startFrame(folder);
        for (const AnalysisViewSpec& spec : analysisViews())
            frame->showView(QString::fromStdString(spec.objectName));
        auto* backtest = qobject_cast<BacktestView*>(frame->showView(kBacktestView));
        frame->showView(kVersionView);
        while (backtest && backtest->running())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        letPaint(frame.get());
        open = static_cast<int>(frame->mdiArea()->subWindowList().size());
        const Clocks c;
        frame->close();
        frame.reset();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        wall.push_back(c.wallMs());
    }
    std::printf("exit with %d views open, %s: %.2f ms\n", open, name, median(wall));
    printWaitLine("exit with " + std::to_string(open) + " views open, " + name, median(wall), "-", "<= 16 ms",
                  median(wall) <= kFrameMs);
}

// The child of helpFirstOpen: the frame on the real history, the help
// opened twice; prints both times, wall and window thread CPU. The first
// open comes a second after the start, as a player presses F1 at the
// earliest (the frame makes the help window ready once its start is over);
// RUMONE_BENCH_HELP_AT_ONCE=1 opens it right after the first paint.
int helpOnce(int argc, char** argv)
{
    startLikeTheProgram();
    QApplication app(argc, argv);
    startQtLikeTheProgram();
    const ScriptedAnswers noBoxes;
    MainWindow frame;
    frame.loadWithHistory(realHistory() ? *realHistory() : maxHistory());
    frame.showAtStart();
    letPaint(&frame);
    if (!qEnvironmentVariableIsSet("RUMONE_BENCH_HELP_AT_ONCE")) {
        const Clocks settle;
        while (settle.wallMs() < 1000) {
            QApplication::processEvents();
            QThread::msleep(5);
        }
    }
    double wall[2] = {}, cpu[2] = {};
    for (int i = 0; i < 2; ++i) {
        const Clocks c;
        frame.runHelpCommand();
        HelpWindow* help = HelpWindow::find();
        if (!help)
            return 1;
        letPaint(help);
        wall[i] = c.wallMs();
        cpu[i] = c.cpuMs();
        help->close();
        QApplication::processEvents();
    }
    std::printf("%.3f %.3f %.3f %.3f\n", wall[0], wall[1], cpu[0], cpu[1]);
    return 0;
}

void helpFirstOpen(int rounds)
{
    std::vector<double> first, second, firstCpu, secondCpu;
    for (int r = 0; r < rounds; ++r) {
        const std::string command = std::filesystem::read_symlink("/proc/self/exe").string() + " --help-once";
        FILE* child = popen(command.c_str(), "r");
        double a = 0, b = 0, ac = 0, bc = 0;
        if (child && std::fscanf(child, "%lf %lf %lf %lf", &a, &b, &ac, &bc) == 4) {
            first.push_back(a);
            second.push_back(b);
            firstCpu.push_back(ac);
            secondCpu.push_back(bc);
        }
        if (child)
            pclose(child);
    }
    if (first.empty()) {
        std::printf("help window: the child process failed\n");
        return;
    }
    std::printf("help window, first open %.2f ms (CPU %.2f ms), second open %.2f ms (CPU %.2f ms)\n", median(first),
                median(firstCpu), median(second), median(secondCpu));
    printWaitLine("help window, first open", median(first),
                  "CPU " + ms(median(firstCpu)) + "; second open " + ms(median(second)), "<= 16 ms",
                  median(first) <= kFrameMs);
    printWaitLine("help window, second open", median(second),
                  "CPU " + ms(median(secondCpu)) + "; first open " + ms(median(first)), "<= the first open",
                  median(second) <= median(first));
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<ChosenDraws> chosen = takeDrawsOptions(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "--help-once") == 0) {
        int qtArgc = 1;
        return helpOnce(qtArgc, argv);
    }
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const std::string only = argc > 2 ? argv[2] : "";
    const auto runs = [&only](const char* part) { return only.empty() || only == part; };
    if (runs("help"))
        helpFirstOpen(rounds);  // before this process has a QApplication of its own
    startLikeTheProgram();
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    startQtLikeTheProgram();
    const ScriptedAnswers noBoxes;  // a box would stop the run: each is answered as Escape
    if (runs("verification"))
        for (const ChosenDraws& draws : chosen)
            verificationView(draws.name.c_str(), draws.rows, rounds);
    if (runs("verification") && chosen.empty()) {
        if (const auto real = realDrawRows())
            verificationView("real draws", *real, rounds);
        verificationView("32767", sampleDraws(kMaxDrawNumber), rounds);
    }
    if (runs("import"))
        for (const ChosenDraws& draws : chosen)
            csvImport(draws.name.c_str(), draws.rows, rounds);
    if (runs("import") && chosen.empty()) {
        if (const auto real = realDrawRows())
            csvImport("7054 real draws", *real, rounds);
        csvImport("32767 draws", sampleDraws(kMaxDrawNumber), rounds);
        if (const auto real = realDrawRows())
            frameImport("32767 draws over the 7054 real ones", *real, sampleDraws(kMaxDrawNumber), rounds);
    }
    if (runs("exit"))
        for (const ChosenDraws& draws : chosen)
            exitWithNineteenViews(draws.name.c_str(), draws.rows, rounds);
    if (runs("exit") && chosen.empty())
        exitWithNineteenViews("32767", sampleDraws(kMaxDrawNumber), rounds);
    for (const ShownMessage& m : noBoxes.shown())
        std::printf("message box: %s\n", m.text.toStdString().c_str());
    return 0;
}
