// rumone-backtest DB [--reflect K] [--from F] [--to T] [--detail] [--log]
// Scores the seven predictors walk-forward over the draw database DB: for
// every complete draw t with F <= t <= T (and a complete draw before it)
// the predictions are computed from the draws numbered below t only.
//
// With --detail, first one line per target and predictor:
//   target  t  predictor  S1  S2  S3  S4  actual  hits
// then always one line per predictor:
//   summary  predictor  targets  hits  expected  low  high  all4hits  all4expected
// With --log, the predictions frozen in the database's log are scored
// instead, against the draws entered since; the totals are "log" lines.
// Fields are tab-separated. Exit 2 for a bad argument, 1 for a database
// that cannot be read.
#include <iostream>
#include <optional>
#include <string>

#include "core/backtest/BacktestGrid.h"
#include "core/backtest/LogScoring.h"
#include "core/backtest/PredictionLog.h"
#include "core/backtest/Scoring.h"
#include "core/store/DrawDatabase.h"
#include "core/store/DrawStore.h"

using namespace rumone;

namespace {

struct Arguments {
    std::string database;
    int reflect = 0;
    TargetRange range;
    bool detail = false;
    bool log = false;
};

int usage(const std::string& why)
{
    std::cerr << why << "\nusage: rumone-backtest DB [--reflect K] [--from F] [--to T] [--detail] [--log]\n";
    return 2;
}

// A whole number lo-hi written in plain digits, or nullopt.
std::optional<int> parseCount(const std::string& text, int lo, int hi)
{
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const int value = std::stoi(text);
    if (value < lo || value > hi)
        return std::nullopt;
    return value;
}

// Reads the arguments; returns an error text, empty when they are fine.
std::string parseArguments(int argc, char** argv, Arguments& args)
{
    if (argc < 2)
        return "no database given";
    args.database = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--detail") {
            args.detail = true;
            continue;
        }
        if (option == "--log") {
            args.log = true;
            continue;
        }
        int* target = option == "--reflect" ? &args.reflect
                      : option == "--from"  ? &args.range.from
                      : option == "--to"    ? &args.range.to
                                            : nullptr;
        if (!target)
            return "unknown argument: " + option;
        if (i + 1 >= argc)
            return option + " needs a value";
        const auto value = parseCount(argv[++i], 0, option == "--reflect" ? 10 : kMaxDrawNumber);
        if (!value)
            return option + (option == "--reflect" ? " takes a count 0-10: " : " takes a draw number 0-32767: ") +
                   argv[i];
        *target = *value;
    }
    if (args.range.from > args.range.to)
        return "--from is above --to";
    return {};
}

void printDetail(const WalkStep& step)
{
    std::string actual;
    for (const int d : step.actual)
        actual += static_cast<char>('0' + d);
    for (std::size_t i = 0; i < kPredictorCount; ++i) {
        const PositionSets& sets = step.sets.front().sets[i];
        std::cout << "target\t" << step.target << '\t' << kPredictorNames[i];
        for (const DigitSet set : sets)
            std::cout << '\t' << setText(set);
        std::cout << '\t' << actual << '\t' << hitsOf(sets, step.actual) << '\n';
    }
}

void printTotals(const char* kind, const Scoreboard& board)
{
    for (std::size_t i = 0; i < kPredictorCount; ++i) {
        const Tally& t = board[i];
        std::cout << kind << '\t' << kPredictorNames[i] << '\t' << t.targets << '\t' << t.hits << '\t'
                  << twoDecimals(t.expected) << '\t' << twoDecimals(t.low()) << '\t' << twoDecimals(t.high()) << '\t'
                  << t.allFourHits << '\t' << twoDecimals(t.allFourExpected) << '\n';
    }
}

void walk(const DrawHistory& history, const Arguments& args)
{
    Scoreboard board;
    walkForward(history, {args.reflect}, args.range, [&](const WalkStep& step) {
        if (args.detail)
            printDetail(step);
        for (std::size_t i = 0; i < kPredictorCount; ++i)
            board[i].add(step.sets.front().sets[i], step.actual);
    });
    printTotals("summary", board);
}

void scoreLog(const DrawHistory& history, const Arguments& args)
{
    const PredictionLogRead log = readPredictionLog(connectionStringForFile(args.database));
    if (log.unreadable > 0)
        std::cerr << log.unreadable << " logged predictions could not be read and were left out\n";
    if (const std::string why = leftOutText(log); !why.empty())
        std::cerr << why << "\n";
    const std::vector<WalkStep> steps = loggedSteps(log.entries, history, args.range);
    if (args.detail)
        for (const WalkStep& step : steps)
            printDetail(step);
    printTotals("log", scoreSteps(steps));
}

}  // namespace

int main(int argc, char** argv)
{
    Arguments args;
    if (const std::string why = parseArguments(argc, argv, args); !why.empty())
        return usage(why);
    try {
        const DrawHistory history = loadDrawHistory(connectionStringForFile(args.database));
        if (args.log)
            scoreLog(history, args);
        else
            walk(history, args);
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
