// rumone-backtest DB [--reflect K] [--from F] [--to T] [--detail] [--log]
//                    [--all-reflect] [--tickets] [--rule 'RULE']
// rumone-backtest --verify FILE
// Scores the seven predictors walk-forward over the draw database DB: for
// every complete draw t with F <= t <= T (and a complete draw before it)
// the predictions are computed from the draws numbered below t only.
//
// With --detail, first one line per target and predictor:
//   target  t  predictor  S1  S2  S3  S4  actual  hits
// then always one line per predictor:
//   summary  predictor  targets  hits  expected  low  high  all4hits
//            all4expected  all4low  all4high
// (low and high: the exact 95 % chance range of the count). With
// --all-reflect the summaries of reflect counts 0-10, each line starting
// "summary  K", then the comparisons taken together:
//   overall  comparisons  outside  expectedoutside  different
// (outside and expectedoutside count each distinct comparison once: rows
// whose sets were equal at every target are one)
// and one line per reflect count K with how many predictors the prediction
// view's line calls different from chance at K (0: none differs):
//   check  K  different
// With --tickets, for the reflect count of --reflect, one line per
// predictor and ticket type that has tickets (200 yen each, theoretical
// prizes at 45 %):
//   tickets  predictor  type  count  cost  wins  expected  low  high  paid
//            returnlow  returnhigh  pahead
// (the exact 95 % chance range of paid / cost in percent and the chance
// that paid reaches cost).
// With --rule, the player's rule (core/rules/Rule.h) is walked instead,
// its method with the reflect count of --reflect unless the rule says
// reflect=K, and one line printed:
//   rule  text  targets  tickets  wins  expected  low  high  cost  paid
// (the rule's canonical text; the targets start at the first draw with as
// many draws before it as the rule needs; paid at the theoretical prizes).
// The walk is added to the database's list of tried rules (not while
// another process holds the database), and the conclusion over that list
// is written to standard error.
// --verify reads a file of saved rules' records (予想記録の書き出し,
// core/rules/RecordExport.h), recomputes every fingerprint and the chain
// and prints which records match; exit 0 when every record matches, 1
// otherwise.
// With --log, the predictions frozen in the database's log are scored
// instead, against the draws entered since; the totals are "log" lines.
// Fields are tab-separated. Exit 2 for a bad argument, 1 for a database
// that cannot be read.
#include <iostream>
#include <optional>
#include <string>

#include <cstdio>

#include "core/backtest/BacktestGrid.h"
#include "core/backtest/Comparisons.h"
#include "core/backtest/LogScoring.h"
#include "core/backtest/PredictionLog.h"
#include "core/backtest/Scoring.h"
#include "core/rules/RecordExport.h"
#include "core/rules/RuleWalk.h"
#include "core/rules/TriedRules.h"
#include "core/store/DatabaseLock.h"
#include "core/store/DrawDatabase.h"
#include "core/store/DrawStore.h"
#include "core/store/SafeFile.h"

using namespace rumone;

namespace {

struct Arguments {
    std::string database;
    int reflect = 0;
    TargetRange range;
    bool detail = false;
    bool log = false;
    bool allReflect = false;
    bool tickets = false;
    std::optional<Rule> rule;
};

int usage(const std::string& why)
{
    std::cerr << why
              << "\nusage: rumone-backtest DB [--reflect K] [--from F] [--to T] [--detail] [--log] [--all-reflect]"
                 " [--tickets] [--rule 'RULE']\n       rumone-backtest --verify FILE\n";
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
        if (option == "--all-reflect") {
            args.allReflect = true;
            continue;
        }
        if (option == "--tickets") {
            args.tickets = true;
            continue;
        }
        if (option == "--rule") {
            if (i + 1 >= argc)
                return option + " needs a value";
            const RuleParse read = parseRule(argv[++i]);
            if (!read.rule)
                return read.problem;
            args.rule = read.rule;
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

// `kind` is "summary", "summary\tK" or "log".
void printTotals(const std::string& kind, const Scoreboard& board)
{
    for (std::size_t i = 0; i < kPredictorCount; ++i) {
        const Tally& t = board[i];
        const CountFigures hits = t.hitFigures();
        const CountFigures allFour = t.allFourFigures();
        std::cout << kind << '\t' << kPredictorNames[i] << '\t' << t.targets << '\t' << t.hits << '\t'
                  << twoDecimals(t.expected) << '\t' << hits.low << '\t' << hits.high << '\t' << t.allFourHits << '\t'
                  << twoDecimals(t.allFourExpected) << '\t' << allFour.low << '\t' << allFour.high << '\n';
    }
}

// "returnlow returnhigh pahead": the range in percent, two decimals, and
// P(paid >= cost), four.
std::string returnFields(const ReturnFigures& r)
{
    char text[96];
    std::snprintf(text, sizeof text, "%.2f\t%.2f\t%.4f", r.low * 100, r.high * 100, r.ahead);
    return text;
}

void printTickets(const TicketBoard& board)
{
    for (std::size_t i = 0; i < kPredictorCount; ++i)
        for (std::size_t type = 0; type < kTicketTypeCount; ++type) {
            const TicketTally& t = board[i][type];
            if (t.count == 0)
                continue;
            const CountFigures wins = t.winFigures();
            char expected[48];
            std::snprintf(expected, sizeof expected, "%.4f", wins.expected);
            std::cout << "tickets\t" << kPredictorNames[i] << '\t' << kTicketTypes[type].name << '\t' << t.count << '\t'
                      << t.cost() << '\t' << t.wins << '\t' << expected << '\t' << wins.low << '\t' << wins.high << '\t'
                      << t.paid << '\t' << returnFields(t.returnFigures()) << '\n';
        }
}

void walk(const DrawHistory& history, const Arguments& args)
{
    if (args.detail)
        walkForward(history, {args.reflect}, args.range, printDetail);
    const std::optional<BacktestResult> result = runBacktest(history, args.reflect, args.range);
    if (!result)
        return;
    if (!args.allReflect) {
        printTotals("summary", result->board);
    } else {
        for (int k = 0; k < kReflectCounts; ++k)
            printTotals("summary\t" + std::to_string(k), result->boards[static_cast<std::size_t>(k)]);
        const ComparisonSummary overall = compareAll(result->boards, result->sameRows);
        std::cout << "overall\t" << overall.comparisons.size() << '\t' << overall.outside << '\t'
                  << twoDecimals(overall.expectedOutside) << '\t' << overall.different << '\n';
        for (int k = 0; k < kReflectCounts; ++k)
            std::cout << "check\t" << k << '\t' << comparisonsAt(overall, k).different << '\n';
    }
    if (args.tickets)
        printTickets(result->tickets);
}

void walkOwnRule(const DrawHistory& history, const Arguments& args)
{
    Rule rule = *args.rule;
    if (rule.method && !rule.reflect)
        rule.reflect = args.reflect;
    const RuleWalkResult walk = walkRule(history, rule, args.range);
    const CountFigures wins = walk.winFigures();
    char expected[48];
    std::snprintf(expected, sizeof expected, "%.4f", wins.expected);
    std::cout << "rule\t" << ruleText(rule) << '\t' << walk.targets << '\t' << walk.tickets << '\t' << walk.wins << '\t'
              << expected << '\t' << wins.low << '\t' << wins.high << '\t' << walk.cost << '\t' << walk.paid << '\n';
    const DrawDatabaseRef database = drawDatabaseAt(args.database);
    const DatabaseLock lock(args.database);
    if (!lock.held()) {
        std::cerr << args.database << ": " << lockHolderText(args.database)
                  << "が開いているため、試した条件に記録していません。\n";
        return;
    }
    recordTriedRule(database, triedRuleOf(rule, walk));
    std::cerr << triedRulesText(readTriedRules(database)) << '\n';
}

void scoreLog(const DrawHistory& history, const Arguments& args)
{
    const PredictionLogRead log = readPredictionLog(drawDatabaseAt(args.database));
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

int verifyFile(const std::string& path)
{
    try {
        const RecordCheck check = verifyRecordExport(readRegularFile(path, std::size_t{256} << 20));
        std::cout << recordCheckText(check) << '\n';
        for (const VerifiedRecord& v : check.records)
            if (!v.matches())
                return 1;
        return check.problems.empty() && !check.records.empty() ? 0 : 1;
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--verify")
        return verifyFile(argv[2]);
    Arguments args;
    if (const std::string why = parseArguments(argc, argv, args); !why.empty())
        return usage(why);
    try {
        const DrawHistory history = loadDrawHistory(drawDatabaseAt(args.database));
        if (args.rule)
            walkOwnRule(history, args);
        else if (args.log)
            scoreLog(history, args);
        else
            walk(history, args);
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 1;
    }
    return 0;
}
