// The rows of a table that stand for draws: found through the table's draw
// column (ResultGrid::setDrawColumn), for going to a draw and for printing
// a run of draws.
#pragma once

#include <optional>

#include "core/grid/ResultGrid.h"

namespace rumone {

// A run of rows from first to last; empty when first > last.
struct RowRun {
    int first = 1, last = 0;
    bool empty() const { return first > last; }
    friend bool operator==(const RowRun&, const RowRun&) = default;
};

// The row that shows draw `number`; nullopt where the table has no draw
// column or does not show that draw.
std::optional<int> rowOfDraw(const ResultGrid& grid, long number);

// The first and the last draw the table shows; nullopt without draws.
std::optional<long> firstDrawShown(const ResultGrid& grid);
std::optional<long> lastDrawShown(const ResultGrid& grid);

// The rows of the latest `count` draws (all of them where there are
// fewer); empty without draws or for a count below 1.
RowRun latestDrawRows(const ResultGrid& grid, int count);

// The rows of the draws from `from` to `to` (in either order), cut to the
// draws the table shows; empty where none of them is shown.
RowRun drawRowsBetween(const ResultGrid& grid, long from, long to);

}  // namespace rumone
