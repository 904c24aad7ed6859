// The player's own rules: one rule walked forward over the real history and
// over 32,767 generated draws, beside the fixed methods' walk of one reflect
// count in the same run (its peer: the walk a method= rule rides on); and
// the window's next-draw size after one change of a control, beside the
// same size computed without the window.
//
// Build:  cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release
//           -DRUMONE_BENCH=ON -DRUMONE_TESTS=OFF
//         cmake --build build/bench --target rules_bench
// Run:    build/bench/bin/rules_bench [ROUNDS]
#include <QApplication>
#include <QCheckBox>
#include <QLabel>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "BenchData.h"
#include "BenchViews.h"
#include "core/backtest/WalkForward.h"
#include "core/rules/RuleWalk.h"
#include "gui/rules/RuleView.h"

namespace {

using namespace rumone;

// Rules of every kind of condition; the slowest one is the figure.
const std::vector<const char*> kRules = {
    "type=straight",
    "sum=14-22 kinds=single recent=3 type=box",
    "pos1=0-4 pos3=2,7,9 recent=1",
    "even=1-3 low=1-3 recent=20 type=box",
    "method=連発 recent=2 type=box",
    "kinds=single,double method=周期7 sum=10-26",
};

double medianMs(int rounds, const std::function<void()>& work)
{
    std::vector<double> ms;
    for (int r = 0; r < rounds; ++r) {
        const bench::Clocks clocks;
        work();
        ms.push_back(clocks.wallMs());
    }
    return bench::median(ms);
}

void walks(const std::string& name, const DrawHistory& history, int rounds, double targetMs)
{
    double slowest = 0;
    std::string slowestRule;
    for (const char* text : kRules) {
        const Rule rule = *parseRule(text).rule;
        long tickets = 0;
        const double ms = medianMs(rounds, [&] { tickets = walkRule(history, rule).tickets; });
        std::printf("%s\t%s\t%.2f ms\t%ld tickets\n", name.c_str(), text, ms, tickets);
        if (ms > slowest) {
            slowest = ms;
            slowestRule = text;
        }
    }
    const double peer = medianMs(rounds, [&] {
        int targets = 0;
        walkForward(history, {0}, {}, [&](const WalkStep&) { ++targets; });
    });
    char peerText[160];
    std::snprintf(peerText, sizeof peerText, "the fixed methods' walk, one reflect count: %.2f ms", peer);
    char target[32];
    std::snprintf(target, sizeof target, "<= %.0f ms", targetMs);
    bench::printWaitLine("自分の条件: 1本の検証, " + name + " (slowest: " + slowestRule + ")", slowest, peerText,
                         target, slowest <= targetMs);
}

void nextDrawSize(const DrawHistory& history, int rounds)
{
    bench::BenchHost host(history);
    RuleView view(host, {}, 0);
    view.resize(1300, 660);
    view.load();
    view.setRule(*parseRule("sum=14-22 recent=3 method=連発 type=box").rule);
    auto* check = view.findChild<QCheckBox*>("CheckPos2Digit5");
    const double ms = medianMs(rounds * 6, [&] { check->toggle(); });
    const Rule rule = view.rule();
    int tickets = 0;
    const double core = medianMs(rounds * 6, [&] {
        RuleNumbers numbers(rule);
        const PredictorSets sets = nextMethodSets(history, 0);
        tickets = numbers.at(allowedDigitsAfter(rule, history.completeDraws(), &sets.sets[5])).tickets;
    });
    std::printf("next draw: %d tickets; the window says %s\n", tickets,
                view.nextDrawLabel()->text().toStdString().c_str());
    char peer[160];
    std::snprintf(peer, sizeof peer, "the same size without the window (methods' sets computed afresh): %.2f ms", core);
    bench::printWaitLine("自分の条件: 次の回の枚数, 1変更", ms, peer, "<= 8 ms", ms <= 8.0);
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    bench::startLikeTheProgram();
    QApplication app(argc, argv);
    bench::startQtLikeTheProgram();
    if (const auto& real = bench::realHistory()) {
        walks("real", *real, rounds, 50);
        nextDrawSize(*real, rounds);
    }
    walks("32,767 draws", bench::maxHistory(), rounds, 250);
    return 0;
}
