#include "core/backtest/LogDrawGrid.h"

#include <algorithm>

#include "core/backtest/BacktestGrid.h"
#include "core/backtest/TicketGrid.h"
#include "core/backtest/Tickets.h"
#include "core/grid/GridSteps.h"
#include "core/stats/CountChance.h"

namespace rumone {

namespace {

constexpr std::array<const char*, kLogDrawGridColumns> kHeaders = {
    "回数", "予想手法", "予想と当選", "的中", "偶然でこの的中数になる確率", "購入額", "理論配当",
};
constexpr std::array<int, kLogDrawGridColumns> kWidths = {6, 8, 30, 5, 24, 12, 12};

// The chance that the four positions hit exactly `hits` times.
double chanceOfExactly(const PositionSets& sets, int hits)
{
    TrialCounts trials;
    for (const DigitSet set : sets)
        trials.add(setSize(set) * (kChanceScale / 10));
    const CountDistribution law(trials);
    return std::max(0.0, 1.0 - law.below(hits) - law.above(hits));
}

}  // namespace

std::string predictedAndDrawnText(const PositionSets& sets, const std::array<int, 4>& actual)
{
    std::string predicted;
    if (std::all_of(sets.begin(), sets.end(), [](DigitSet s) { return setSize(s) == 1; })) {
        for (const DigitSet set : sets)
            predicted += setText(set);
    } else if (std::all_of(sets.begin(), sets.end(), [&sets](DigitSet s) { return s == sets[0]; })) {
        predicted = "各位置" + setText(sets[0]);
    } else {
        for (std::size_t p = 0; p < sets.size(); ++p)
            predicted += (p > 0 ? "/" : "") + setText(sets[p]);
    }
    std::string drawn;
    for (const int d : actual)
        drawn += static_cast<char>('0' + d);
    return "予想 " + predicted + " → 当選 " + drawn;
}

std::vector<LoggedOutcome> loggedOutcomes(const std::vector<WalkStep>& steps)
{
    std::vector<LoggedOutcome> out;
    for (auto step = steps.rbegin(); step != steps.rend(); ++step)
        for (int i = 0; i < kPredictorCount; ++i) {
            const PositionSets& sets = step->sets.front().sets[static_cast<std::size_t>(i)];
            LoggedOutcome o;
            o.target = step->target;
            o.predictor = i;
            o.text = predictedAndDrawnText(sets, step->actual);
            o.hits = hitsOf(sets, step->actual);
            o.chanceOfHits = chanceOfExactly(sets, o.hits);
            for (const TargetTickets& t : ticketsOf(i, sets, step->actual).byType) {
                o.cost += t.count * kTicketPrice;
                o.paid += t.paid;
            }
            out.push_back(std::move(o));
        }
    return out;
}

void fillLogDrawGrid(ResultGrid& grid, const std::vector<LoggedOutcome>& outcomes)
{
    const int rows = static_cast<int>(outcomes.size()) + 1;
    layOutGrid(grid, kLogDrawGridColumns, rows, kLogDrawGridColumns, std::min(rows, kLogDrawRowsShown + 1),
               ScrollBars::Vertical, 1, 1);
    centreAllCells(grid);
    grid.setActiveCell(0, 0);
    grid.setRowHeight(-1, ResultGrid::kDefaultRowHeight);
    for (int c = 0; c < kLogDrawGridColumns; ++c) {
        grid.setColumnWidth(c + 1, kWidths[static_cast<std::size_t>(c)]);
        grid.setText(c + 1, 1, kHeaders[static_cast<std::size_t>(c)]);
    }
    grid.setBorder(Block::allCells(), BorderSides::All, OptColour{});
    grid.setTextColour(Block::rows(1, 1), kBlue);
    grid.setBackColour(Block::rows(1, 1), kPink);
    for (const int column : {6, 7})
        grid.setAlignment(Block{column, 2, column, rows}, HAlign::Right, VAlign::Centre);
    for (std::size_t r = 0; r < outcomes.size(); ++r) {
        const LoggedOutcome& o = outcomes[r];
        const int row = static_cast<int>(r) + 2;
        grid.setText(1, row, static_cast<long>(o.target));
        grid.setText(2, row, kPredictorNames[static_cast<std::size_t>(o.predictor)]);
        grid.setText(3, row, o.text);
        grid.setText(4, row, std::to_string(o.hits) + "/4");
        grid.setText(5, row, percentText(o.chanceOfHits));
        grid.setText(6, row, yenText(o.cost));
        grid.setText(7, row, yenText(o.paid));
    }
}

}  // namespace rumone
