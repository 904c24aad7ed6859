// The cycle method: the digit of each position that came back after exactly
// 7, 9, 11 or 12 draws, its previous appearance in any position.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "PredictionTestHelpers.h"

namespace rumone::test {
namespace {

constexpr std::array<int, 4> kFiller = {1, 1, 1, 1};

// Draw 1 holds `digit` in position 3 only; draws 2 .. gap hold 1s; draw
// gap + 1 holds `digit` in position 2.
DrawHistory reappearanceAfter(int gap, int digit)
{
    std::vector<Row> rows;
    rows.push_back({1, {3, 3, digit, 3}});
    appendRun(rows, 2, gap, kFiller);
    rows.push_back({gap + 1, {1, digit, 1, 1}});
    return historyOf(rows);
}

int filledCycleCells(const Prediction& p)
{
    int n = 0;
    for (int m = 0; m < 4; ++m)
        for (int pos = 1; pos <= 4; ++pos)
            n += cycleText(p, m, pos).empty() ? 0 : 1;
    return n;
}

TEST(CycleMethod, OnlyGapsOf7_9_11_12RecordAndAnyEarlierPositionCounts)
{
    for (int gap = 2; gap <= 14; ++gap) {
        SCOPED_TRACE(gap);
        Prediction p = predictionOf(reappearanceAfter(gap, 5), 0);
        int m = -1;
        for (int i = 0; i < 4; ++i)
            if (kCycleGaps[static_cast<std::size_t>(i)] == gap)
                m = i;
        // The 1s come back after one draw and the 3s never: only the 5 can
        // record, and only in position 2.
        EXPECT_EQ(filledCycleCells(p), m < 0 ? 0 : 1);
        if (m >= 0) {
            EXPECT_EQ(cycleText(p, m, 2), "5");
            EXPECT_EQ(p.grid(Prediction::kCycleGrid)->getText(3, m + 2), "5");
        }
    }
}

TEST(CycleMethod, TheLaterQualifyingDrawWins)
{
    std::vector<Row> rows{{1, {3, 3, 3, 3}}, {2, {4, 4, 4, 4}}};
    appendRun(rows, 3, 7, kFiller);
    rows.push_back({8, {1, 3, 1, 1}});  // 3 after 7 draws
    rows.push_back({9, {1, 4, 1, 1}});  // 4 after 7 draws
    Prediction p = predictionOf(historyOf(rows), 0);
    EXPECT_EQ(cycleText(p, 0, 2), "4");
    EXPECT_EQ(filledCycleCells(p), 1);
}

TEST(CycleMethod, DrawZeroIsNeverSearched)
{
    std::vector<Row> rows{{0, {5, 5, 5, 5}}};
    appendRun(rows, 1, 6, kFiller);
    rows.push_back({7, {1, 5, 1, 1}});
    Prediction p = predictionOf(historyOf(rows), 0);
    EXPECT_EQ(filledCycleCells(p), 0);
    EXPECT_EQ(methodStateOf(historyOf(rows)).digitAt(0, 1), 5);  // stored all the same
}

TEST(CycleMethod, MissingAndIncompleteDrawsReadAsZerosAndStopOnlyTheSearchForZero)
{
    // Draw 2 is missing (or incomplete); draw 9 holds a 0, draw 10 a 5 last
    // seen in draw 1.
    for (bool incomplete : {false, true}) {
        SCOPED_TRACE(incomplete);
        std::vector<Row> rows{{1, {5, 1, 1, 1}}};
        if (incomplete)
            rows.push_back({2, {0, 0, -1, 0}});
        appendRun(rows, 3, 8, kFiller);
        rows.push_back({9, {1, 0, 1, 1}});   // 0: stops at draw 2, gap 7
        rows.push_back({10, {1, 1, 1, 5}});  // 5: runs past draw 2 to draw 1, gap 9
        Prediction p = predictionOf(historyOf(rows), 0);
        EXPECT_EQ(cycleText(p, 0, 2), "0");
        EXPECT_EQ(cycleText(p, 1, 4), "5");
        EXPECT_EQ(filledCycleCells(p), 2);
        EXPECT_EQ(methodStateOf(historyOf(rows)).digitAt(2, 1), 0);
    }
}

TEST(CycleMethod, RepeatedScansGiveTheSameTables)
{
    const DrawHistory h = randomHistory(500, 7);
    Prediction p = predictionOf(h, 0);
    std::vector<std::string> first;
    for (int i = 0; i < kPredictionGridCount; ++i)
        first.push_back(dumpGridText(p, i));
    p.layOutGrids();
    p.scanDraws(h);
    for (int i = 0; i < kPredictionGridCount; ++i)
        EXPECT_EQ(dumpGridText(p, i), first[static_cast<std::size_t>(i)]) << "grid " << i;
}

TEST(CycleMethod, ARescanReadsOnlyTheDrawsStillThere)
{
    // The view object outlives a reload: a draw deleted since the last scan
    // reads as four 0s, exactly as after a restart.
    std::vector<Row> rows;
    for (int n = 1; n <= 200; ++n)
        rows.push_back({n, {(n * 7) % 10, (n * 3 + 1) % 10, (n * n) % 10, (n * 9 + 4) % 10}});
    Prediction p = predictionOf(historyOf(rows), 5);
    rows.erase(rows.begin() + 194);  // draw 195, which the first formula reads with five switches
    const DrawHistory deleted = historyOf(rows);
    p.scanDraws(deleted);
    EXPECT_EQ(candidateTexts(p)[0], "1");  // 0 + 1
    const Prediction restarted = predictionOf(deleted, 5);
    for (int i = 0; i < kPredictionGridCount; ++i)
        EXPECT_EQ(dumpGridText(p, i), dumpGridText(restarted, i)) << "grid " << i;
}

TEST(CycleMethod, DrawNumbersUpTo32767AreStored)
{
    std::vector<Row> rows{{32760, {2, 2, 2, 2}}};
    appendRun(rows, 32761, 32766, kFiller);
    rows.push_back({32767, {1, 2, 1, 1}});
    Prediction p = predictionOf(historyOf(rows), 10);
    EXPECT_EQ(p.latestDrawNumber(), 32767);
    const MethodState state = methodStateOf(historyOf(rows));
    EXPECT_EQ(state.digitAt(32767, 2), 2);
    EXPECT_EQ(state.digitAt(32768, 2), 0);
    EXPECT_EQ(state.digitAt(-1, 2), 0);
    EXPECT_EQ(cycleText(p, 0, 2), "2");
}

// The state of a whole history is read from the latest draw back; it must be
// the state of taking every draw in one by one, with gaps in the numbers,
// incomplete rows, long and short histories, and numbers out of order (a
// text number the store sorts after the others).
TEST(CycleMethod, TheWholeHistoryReadsAsEveryDrawTakenInOneByOne)
{
    struct Case {
        int rows;
        unsigned seed;
        bool outOfOrder;
    };
    for (const Case c :
         {Case{1, 1, false}, Case{13, 2, false}, Case{400, 3, false}, Case{5000, 4, false}, Case{400, 5, true}}) {
        SCOPED_TRACE(testing::Message() << c.rows << " rows, seed " << c.seed);
        std::mt19937 random(c.seed);
        std::vector<Row> rows;
        int number = 0;
        for (int i = 0; i < c.rows; ++i) {
            number += 1 + (random() % 20 == 0 ? static_cast<int>(random() % 15) : 0);
            Row row{number, {}};
            for (int& d : row.digits)
                d = random() % 50 == 0 ? -1 : static_cast<int>(random() % 10);
            rows.push_back(row);
        }
        if (c.outOfOrder) {
            // A draw a dozen before the latest comes last: the draws after
            // it searched past its empty place, reading 0s there.
            const auto late = rows.end() - 13;
            const Row moved{late->number, {7, 7, 7, 7}};
            rows.erase(late);
            rows.push_back(moved);
        }
        const DrawHistory history = historyOf(rows);
        MethodState oneByOne;
        for (const Draw& draw : history.completeDraws())
            oneByOne.advance(draw);
        const MethodState whole = methodStateOf(history);
        EXPECT_EQ(whole.cycleDigits(), oneByOne.cycleDigits());
        EXPECT_EQ(whole.latestDrawNumber(), oneByOne.latestDrawNumber());
        EXPECT_EQ(whole.started(), oneByOne.started());
        for (int n = 0; n <= number + 1; ++n)
            for (int pos = 1; pos <= 4; ++pos)
                ASSERT_EQ(whole.digitAt(n, pos), oneByOne.digitAt(n, pos)) << "draw " << n << " position " << pos;
    }
}

// The start paints its prediction from the latest rows alone. Whatever
// rows it reads, the latest draws give the whole history's prediction at
// every reflect count, or nothing when they cannot tell it (too few to look
// back, a cycle digit not named among them, numbers out of order).
TEST(CycleMethod, TheLatestDrawsGiveTheWholePredictionOrNothing)
{
    struct Case {
        int rows;
        unsigned seed;
        std::size_t tail;
        bool settles;  // whether these rows must settle it
    };
    for (const Case c : {Case{3000, 11, 12, false}, Case{3000, 12, 60, false}, Case{3000, 13, 150, false},
                         Case{3000, 14, 400, false}, Case{5000, 15, 1024, false}, Case{32767, 16, 4096, true},
                         Case{32767, 17, 16384, true}, Case{800, 18, 800, true}}) {
        SCOPED_TRACE(testing::Message() << c.rows << " rows, seed " << c.seed << ", the latest " << c.tail);
        std::mt19937 random(c.seed);
        std::vector<Row> rows;
        for (int n = 1; n <= c.rows; ++n) {
            if (random() % 40 == 0)
                continue;  // a draw number never stored
            Row row{n, {}};
            for (int& d : row.digits)
                d = random() % 60 == 0 ? -1 : static_cast<int>(random() % 10);
            rows.push_back(row);
        }
        const std::size_t tail = std::min(c.tail, rows.size());
        const LatestDraws latest(
            historyOf(std::vector<Row>(rows.end() - static_cast<std::ptrdiff_t>(tail), rows.end())),
            tail == rows.size());
        const DrawHistory whole = historyOf(rows);
        int settled = 0;
        for (int reflect = 0; reflect <= kOptionCount; ++reflect) {
            Prediction fromLatest;
            for (int i = 0; i < reflect; ++i)
                fromLatest.setFlag(i, true);
            fromLatest.layOutGrids();
            if (!fromLatest.scanLatestDraws(latest))
                continue;
            ++settled;
            const Prediction expected = predictionOf(whole, reflect);
            EXPECT_EQ(fromLatest.latestDrawNumber(), expected.latestDrawNumber());
            for (int g = 0; g < kPredictionGridCount; ++g)
                EXPECT_EQ(dumpGridText(fromLatest, g), dumpGridText(expected, g)) << "reflect " << reflect;
        }
        EXPECT_TRUE(settled == 0 || settled == kOptionCount + 1);
        if (c.settles) {
            EXPECT_GT(settled, 0);
        }
    }
    // Rows out of order (a text number sorted after the others) tell nothing.
    std::vector<Row> rows;
    for (int n = 1; n <= 3000; ++n)
        rows.push_back({n, {n % 10, (n * 3) % 10, (n * 7) % 10, (n / 10) % 10}});
    std::swap(rows[2990], rows[2999]);
    Prediction p;
    p.layOutGrids();
    EXPECT_FALSE(p.scanLatestDraws(LatestDraws(historyOf(std::vector<Row>(rows.end() - 2000, rows.end())), false)));
}

}  // namespace
}  // namespace rumone::test
