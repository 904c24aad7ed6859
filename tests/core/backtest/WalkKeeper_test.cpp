// The verification's walks: the chart's chance ranges convolved only with
// the trials since the last point equal the ranges made from every trial,
// the points depend on the count of targets alone, and a kept walk goes on
// over a draw entered later (or over the tickets a stopped run left) but
// starts afresh when an older draw changed.
#include <gtest/gtest.h>

#include <random>

#include "core/backtest/WalkKeeper.h"
#include "support/TestSupport.h"

namespace rumone::test {
namespace {

std::vector<Row> randomRows(int count, unsigned seed)
{
    std::mt19937 gen(seed);
    std::uniform_int_distribution<int> digit(0, 9);
    std::vector<Row> rows;
    for (int n = 1; n <= count; ++n)
        rows.push_back({n, {digit(gen), digit(gen), digit(gen), digit(gen)}});
    return rows;
}

TEST(WalkKeeper, BandPointsAreSpreadOverTheTrackWhateverItsLength)
{
    for (const std::size_t count : {1u, 2u, 47u, 48u, 49u, 100u, 1000u, 32767u}) {
        BandGrid grid;
        for (std::size_t index = 0; index < count; ++index)
            if (grid.due(index))
                grid.add(index, {}, {});
        YenTrack track;
        grid.readInto(track, count - 1, [](auto&, auto&) {});
        const auto& at = track.bandAt;
        ASSERT_FALSE(at.empty());
        EXPECT_LE(at.size(), kBandPoints) << count;
        EXPECT_GE(at.size(), std::min(count, kBandPoints / 2)) << count;
        EXPECT_EQ(at.front(), 0u);
        EXPECT_EQ(at.back(), count - 1);
        for (std::size_t j = 1; j + 1 < at.size(); ++j)
            EXPECT_EQ(at[j] - at[j - 1], at[1] - at[0]) << count;
        EXPECT_EQ(track.bandLow[3].size(), at.size());
    }
}

TEST(WalkKeeper, EachBandEqualsTheRangeOfEveryTrialUpToItsTarget)
{
    const DrawHistory history = historyOf(randomRows(400, 5));
    const auto result = runBacktest(history, 2, {});
    ASSERT_TRUE(result);
    const ExcessTrack& track = result->track;
    Scoreboard board;
    std::size_t index = 0, band = 0;
    walkForward(history, {2}, {}, [&](const WalkStep& step) {
        for (std::size_t i = 0; i < kPredictorCount; ++i)
            board[i].add(step.sets[0].sets[i], step.actual);
        if (band < track.bandAt.size() && track.bandAt[band] == index) {
            for (std::size_t i = 0; i < kPredictorCount; ++i) {
                const CountFigures f = board[i].hitFigures();
                EXPECT_EQ(track.bandLow[i][band], static_cast<float>(double(f.low) - f.expected)) << index;
                EXPECT_EQ(track.bandHigh[i][band], static_cast<float>(double(f.high) - f.expected)) << index;
            }
            ++band;
        }
        ++index;
    });
    EXPECT_EQ(band, track.bandAt.size());
    EXPECT_GT(band, kBandPoints / 2);
}

// The targets both walks of a run have left, and its result.
struct KeptRun {
    int total = 0;
    BacktestResult result;
};

KeptRun runKept(WalkKeeper& keeper, const DrawHistory& history, int reflect, TargetRange range = {})
{
    KeptRun run;
    BacktestSteps steps(&keeper, history, reflect, range, [&run](int, int total) {
        run.total = total;
        return true;
    });
    run.result = *steps.walkShown();
    EXPECT_TRUE(steps.walkEvery(run.result));
    return run;
}

void expectSameResult(const BacktestResult& a, const BacktestResult& b)
{
    EXPECT_EQ(a.track.targets, b.track.targets);
    EXPECT_EQ(a.track.bandAt, b.track.bandAt);
    EXPECT_EQ(a.track.bandLow, b.track.bandLow);
    EXPECT_EQ(a.track.excess, b.track.excess);
    EXPECT_EQ(a.yen.bandAt, b.yen.bandAt);
    EXPECT_EQ(a.yen.bandHigh, b.yen.bandHigh);
    EXPECT_EQ(a.yen.net, b.yen.net);
    for (std::size_t i = 0; i < kPredictorCount; ++i) {
        EXPECT_EQ(a.board[i].hits, b.board[i].hits);
        EXPECT_EQ(a.tickets[i][kBoxTicket].paid, b.tickets[i][kBoxTicket].paid);
        EXPECT_EQ(a.years[i].medianNet, b.years[i].medianNet);
        for (int k = 0; k < kReflectCounts; ++k) {
            EXPECT_EQ(a.boards[static_cast<std::size_t>(k)][i].hits, b.boards[static_cast<std::size_t>(k)][i].hits);
            EXPECT_EQ(a.sameRows.firstEqual(static_cast<int>(i), k), b.sameRows.firstEqual(static_cast<int>(i), k));
        }
    }
}

TEST(WalkKeeper, AnEnteredDrawIsOneTargetAndAnEditedOlderDrawStartsAfresh)
{
    std::vector<Row> rows = randomRows(200, 8);
    WalkKeeper keeper;
    EXPECT_EQ(runKept(keeper, historyOf(rows), 4).total, 2 * 199);

    rows.push_back({201, {1, 2, 3, 4}});
    const DrawHistory entered = historyOf(rows);
    const KeptRun afterEntry = runKept(keeper, entered, 4);
    EXPECT_EQ(afterEntry.total, 2);  // one target in each walk
    expectSameResult(afterEntry.result, *runBacktest(entered, 4, {}));
    EXPECT_EQ(runKept(keeper, entered, 6).total, 200);  // the shown walk of another count only
    // From the second draw on: the same targets as from draw 0.
    EXPECT_EQ(runKept(keeper, entered, 6, {2, kMaxDrawNumber}).total, 0);

    rows[100].digits[2] = (rows[100].digits[2] + 1) % 10;
    const DrawHistory edited = historyOf(rows);
    const KeptRun afterEdit = runKept(keeper, edited, 4);
    EXPECT_EQ(afterEdit.total, 2 * 200);
    expectSameResult(afterEdit.result, *runBacktest(edited, 4, {}));
}

// A kept walk goes on only over a range that starts where it started and
// reaches at least as far as it walked; otherwise the run walks afresh.
TEST(WalkKeeper, AKeptWalkGoesOnOnlyOverARangeThatHoldsWhatItWalked)
{
    const DrawHistory history = historyOf(randomRows(200, 9));
    struct Case {
        TargetRange first;
        TargetRange second;
        int secondTotal;  // the targets both walks of the second run have left
    };
    const Case cases[] = {
        {{0, 150}, {0, kMaxDrawNumber}, 2 * 50},               // goes on past where it stopped
        {{0, 150}, {0, 150}, 0},                               // nothing left
        {{0, kMaxDrawNumber}, {0, 150}, 2 * 149},              // walked past the end: afresh
        {{0, kMaxDrawNumber}, {50, kMaxDrawNumber}, 2 * 151},  // starts later: afresh
        {{50, kMaxDrawNumber}, {0, kMaxDrawNumber}, 2 * 199},  // starts earlier: afresh
    };
    for (const Case& c : cases) {
        WalkKeeper keeper;
        runKept(keeper, history, 4, c.first);
        const KeptRun second = runKept(keeper, history, 4, c.second);
        EXPECT_EQ(second.total, c.secondTotal) << c.first.from << "-" << c.first.to << " then " << c.second.from;
        expectSameResult(second.result, *runBacktest(history, 4, c.second));
    }
}

TEST(WalkKeeper, TicketsAStoppedRunLeftAreAddedByTheNextRun)
{
    const DrawHistory history = historyOf(randomRows(700, 11));
    WalkKeeper keeper;
    {
        bool stop = false;
        BacktestSteps steps(&keeper, history, 3, {}, [&stop](int, int) { return !stop; });
        std::optional<BacktestResult> hits = steps.walkHits();
        ASSERT_TRUE(hits);
        EXPECT_TRUE(hits->yen.targets.empty());
        stop = true;
        EXPECT_FALSE(steps.walkTickets(*hits));
    }
    const KeptRun again = runKept(keeper, history, 3);
    EXPECT_EQ(again.total, 699);  // the walk of every count only
    expectSameResult(again.result, *runBacktest(history, 3, {}));
}

}  // namespace
}  // namespace rumone::test
