#include <gtest/gtest.h>

#include "core/calendar/CivilDays.h"
#include "core/calendar/DrawCalendar.h"
#include "core/calendar/HistoryDates.h"
#include "core/store/CsvFile.h"
#include "core/store/DrawCsv.h"
#include "core/store/ReliabilityHelpers.h"
#include "support/TestSupport.h"

namespace rumone {
namespace {

// The rule must give every date the shipped history holds, not only most.
TEST(DrawCalendar, RuleGivesEveryShippedDate)
{
    const DrawsWithDetails shipped = parseDrawCsvWithDetails(readCsvFile(test::realDrawsPath()));
    ASSERT_EQ(shipped.details.size(), shipped.rows.size());
    const DrawCalendar calendar(storedDatesOf({shipped.details.begin(), shipped.details.end()}));
    // Each date is judged from the one before it, the first from draw 1.
    EXPECT_TRUE(calendar.mismatches().empty());
}

// A date far from the last stored one is stepped a week at a time; it must
// be the day stepping one draw at a time gives, across the rule's changes,
// year ends and stored dates, one of them a day the rule does not give.
TEST(DrawCalendar, ADistantDateIsTheDayOfStepOneDrawAtATime)
{
    for (const std::map<int, CivilDate>& stored :
         {std::map<int, CivilDate>{}, std::map<int, CivilDate>{{3000, {2010, 12, 25}}, {3400, {2012, 7, 2}}}}) {
        const DrawCalendar calendar(stored);
        const std::vector<std::optional<DrawDate>> oneByOne = calendar.datesThrough(kMaxDrawNumber);
        for (int number = 1; number <= kMaxDrawNumber; number += number < 4000 ? 13 : 97)
            ASSERT_EQ(calendar.dateOf(number)->date, oneByOne[static_cast<std::size_t>(number)]->date) << number;
    }
}

// The forms a file writes a date in; a day that does not exist is none.
TEST(CivilDays, DateTextsReadOnlyAsRealDays)
{
    struct Case {
        const char* text;
        std::optional<CivilDate> date;
    };
    const Case cases[] = {
        {"2026-08-21", CivilDate{2026, 8, 21}},
        {"2026/8/1", CivilDate{2026, 8, 1}},
        {"2024-02-29", CivilDate{2024, 2, 29}},
        {"2026-02-29", std::nullopt},
        {"26-08-21", std::nullopt},
        {"2026-08-21x", std::nullopt},
        {"2026-08/21", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseDateText(c.text), c.date) << c.text;
}

TEST(DrawCalendar, NextDrawDayAcrossTheRulesBreaks)
{
    struct Case {
        CivilDate after;
        CivilDate next;
    };
    const Case cases[] = {
        {{1994, 10, 7}, {1994, 10, 14}},  // Fridays only
        {{1995, 1, 6}, {1995, 1, 10}},    // Tuesdays begin
        {{1997, 9, 30}, {1997, 10, 3}},   // Monday, Wednesday, Friday from the 3rd
        {{2004, 7, 1}, {2004, 7, 2}},     // every weekday
        {{2026, 8, 21}, {2026, 8, 24}},   // over a weekend
        {{2025, 12, 30}, {2026, 1, 5}},   // over the year's end
    };
    for (const Case& c : cases)
        EXPECT_EQ(nextDrawDay(c.after), c.next) << isoDateText(c.after);
}

TEST(DrawCalendar, ResultsCountFromEightInTheEvening)
{
    const DrawCalendar calendar({{7054, {2026, 8, 21}}});
    EXPECT_EQ(calendar.lastHeldBy({{2026, 8, 24}, 19, 59}, 7054), 7054);
    EXPECT_EQ(calendar.lastHeldBy({{2026, 8, 24}, 20, 0}, 7054), 7055);
    EXPECT_EQ(calendar.lastHeldBy({{2026, 8, 20}, 12, 0}, 7054), 7054);  // a clock behind the history
}

TEST(DrawCalendar, ADateTheRuleDoesNotGiveIsReportedOnce)
{
    // 7055 on a Tuesday: the rule gives Monday; 7056 follows the rule again.
    const DrawCalendar calendar({{7054, {2026, 8, 21}}, {7055, {2026, 8, 25}}, {7056, {2026, 8, 25}}});
    const std::vector<DateMismatch> found = calendar.mismatches();
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].number, 7055);
    EXPECT_EQ(found[0].byRule, (CivilDate{2026, 8, 24}));
}

TEST(HistoryDates, TellsTheDrawsMissingAtStart)
{
    const HistoryDates dates = historyDates(7054, {{7054, {CivilDate{2026, 8, 21}, {}}}}, {{2026, 12, 9}, 10, 30});
    EXPECT_EQ(dates.held, 7131);
    EXPECT_EQ(missingDrawsText(dates),
              "最新は第7054回（2026年8月21日）です。今日までの抽せんは第7131回まで：77回分が未入力です"
              "（データ管理 › 貼り付けて取込）");
    EXPECT_EQ(predictionTitleText(7055, DrawCalendar({{7054, {2026, 8, 21}}}).dateOf(7055)),
              "第7055回（2026年8月24日（月））の予想");
    EXPECT_EQ(missingDrawsText(historyDates(7054, {}, {{2026, 8, 21}, 21, 0})), "");
}

TEST(HistoryDates, ToolTellsTheDatesOfTheShippedHistory)
{
    test::TempDir dir;
    ASSERT_EQ(test::runToolCapturing("rumone-db", {"sample", dir.file("s.db")}).exitCode, 0);
    const test::ToolRun run =
        test::runToolCapturing("rumone-db", {"dates", dir.file("s.db"), "--now", "2026-12-09 10:30"});
    EXPECT_EQ(run.output, "latest 7054 2026-08-21\nnext 7055 2026-08-24\nheld 7131\nmissing 77\n");
}

}  // namespace
}  // namespace rumone
