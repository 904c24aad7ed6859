// rumone-backtest's lines with --all-reflect and --tickets: their fields,
// and the figures the library gives for the same draws.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "core/backtest/BacktestGrid.h"
#include "core/backtest/Comparisons.h"
#include "core/store/DrawDatabase.h"
#include "core/store/DrawStore.h"
#include "core/store/ReliabilityHelpers.h"
#include "support/TestSupport.h"

namespace rumone::test {
namespace {

std::vector<std::vector<std::string>> linesOf(const std::string& output, const std::string& kind)
{
    std::vector<std::vector<std::string>> lines;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> fields;
        std::istringstream row(line);
        for (std::string field; std::getline(row, field, '\t');)
            fields.push_back(field);
        if (!fields.empty() && fields[0] == kind)
            lines.push_back(fields);
    }
    return lines;
}

TEST(BacktestTool, AllReflectAndTicketLinesCarryTheExactFigures)
{
    TempDir dir;
    const std::string db = dir.file("Rumone.mdb");
    createDrawDatabase(db);
    const DrawHistory history = randomHistory(150, 9);
    std::vector<EditRow> rows;
    for (const Draw& d : history.completeDraws()) {
        EditRow r;
        r.number = DbValue::fromInt(d.number);
        for (std::size_t p = 0; p < 4; ++p)
            r.digits[p] = DbValue::fromInt(d.digits[p]);
        rows.push_back(r);
    }
    openDrawEditSet(drawDatabaseAt(db)).importDraws(rows);
    const ToolRun run = runToolCapturing("rumone-backtest", {db, "--all-reflect", "--tickets", "--reflect", "2"});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const auto result = runBacktest(history, 2, {});

    const auto summaries = linesOf(run.output, "summary");
    ASSERT_EQ(summaries.size(), 77u);
    for (const auto& fields : summaries)
        ASSERT_EQ(fields.size(), 12u);
    const auto& line = summaries[7 * 2 + 4];  // K = 2, 消去法
    const Tally& t = result->boards[2][4];
    EXPECT_EQ(line[1], "2");
    EXPECT_EQ(line[2], "消去法");
    EXPECT_EQ(line[6], std::to_string(t.hitFigures().low));
    EXPECT_EQ(line[7], std::to_string(t.hitFigures().high));
    EXPECT_EQ(line[10], std::to_string(t.allFourFigures().low));
    EXPECT_EQ(line[11], std::to_string(t.allFourFigures().high));

    const auto overall = linesOf(run.output, "overall");
    ASSERT_EQ(overall.size(), 1u);
    const ComparisonSummary s = compareAll(result->boards, result->sameRows);
    EXPECT_EQ(overall[0], (std::vector<std::string>{"overall", "37", std::to_string(s.outside),
                                                    twoDecimals(s.expectedOutside), std::to_string(s.different)}));
    const auto checks = linesOf(run.output, "check");
    ASSERT_EQ(checks.size(), 11u);
    for (int k = 0; k < 11; ++k)
        EXPECT_EQ(
            checks[static_cast<std::size_t>(k)],
            (std::vector<std::string>{"check", std::to_string(k), std::to_string(comparisonsAt(s, k).different)}));

    const auto tickets = linesOf(run.output, "tickets");
    std::size_t bought = 0;  // only a predictor and type with tickets has a line
    for (const auto& types : result->tickets)
        for (const TicketTally& tally : types)
            bought += tally.count > 0 ? 1 : 0;
    ASSERT_EQ(tickets.size(), bought);
    const TicketTally& box = result->tickets[4][1];
    const auto found = std::find_if(tickets.begin(), tickets.end(), [](const auto& f) { return f[1] == "消去法"; });
    ASSERT_NE(found, tickets.end());
    const auto& pool = *found;
    EXPECT_EQ(pool,
              (std::vector<std::string>{"tickets", "消去法", "ボックス", std::to_string(box.count),
                                        std::to_string(box.cost()), std::to_string(box.wins), pool[6],
                                        std::to_string(box.winFigures().low), std::to_string(box.winFigures().high),
                                        std::to_string(box.paid), pool[10], pool[11], pool[12]}));
    EXPECT_NEAR(std::stod(pool[6]), box.winFigures().expected, 5e-5);
    const ReturnFigures r = box.returnFigures();  // checked against every outcome in Tickets_test
    EXPECT_EQ(pool[10], twoDecimals(r.low * 100));
    EXPECT_EQ(pool[11], twoDecimals(r.high * 100));
    EXPECT_NEAR(std::stod(pool[12]), r.ahead, 5e-5);
}

}  // namespace
}  // namespace rumone::test
