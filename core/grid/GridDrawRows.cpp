#include "core/grid/GridDrawRows.h"

#include <algorithm>

namespace rumone {

namespace {

// The rows below the frozen ones that hold a draw number, in table order.
// Draw rows follow each other in draw order, so searches may halve.
struct DrawRows {
    int column = 0, first = 1, last = 0;
};

DrawRows drawRows(const ResultGrid& grid)
{
    DrawRows rows;
    rows.column = grid.drawColumn();
    if (rows.column == 0)
        return rows;
    int first = grid.frozenRows() + 1;
    int last = grid.rows();
    while (first <= last && !grid.numberAt(rows.column, first))
        ++first;
    while (last >= first && !grid.numberAt(rows.column, last))
        --last;
    rows.first = first;
    rows.last = last;
    return rows;
}

long drawAt(const ResultGrid& grid, const DrawRows& rows, int row)
{
    // Rows without a number inside the run count as the draw before them.
    for (int r = row; r >= rows.first; --r)
        if (const auto n = grid.numberAt(rows.column, r))
            return *n;
    return -1;
}

// The first row of the run whose draw is at least `number`.
int lowerRow(const ResultGrid& grid, const DrawRows& rows, long number)
{
    int lo = rows.first, hi = rows.last + 1;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (drawAt(grid, rows, mid) < number)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

}  // namespace

std::optional<int> rowOfDraw(const ResultGrid& grid, long number)
{
    const DrawRows rows = drawRows(grid);
    if (rows.column == 0 || rows.first > rows.last)
        return std::nullopt;
    const int row = lowerRow(grid, rows, number);
    if (row <= rows.last && grid.numberAt(rows.column, row) == number)
        return row;
    return std::nullopt;
}

std::optional<long> firstDrawShown(const ResultGrid& grid)
{
    const DrawRows rows = drawRows(grid);
    if (rows.column == 0 || rows.first > rows.last)
        return std::nullopt;
    return grid.numberAt(rows.column, rows.first);
}

std::optional<long> lastDrawShown(const ResultGrid& grid)
{
    const DrawRows rows = drawRows(grid);
    if (rows.column == 0 || rows.first > rows.last)
        return std::nullopt;
    return grid.numberAt(rows.column, rows.last);
}

RowRun latestDrawRows(const ResultGrid& grid, int count)
{
    const DrawRows rows = drawRows(grid);
    if (rows.column == 0 || rows.first > rows.last || count < 1)
        return {};
    int first = rows.last;
    for (int seen = 1; first > rows.first; --first) {
        if (grid.numberAt(rows.column, first - 1) && ++seen > count)
            break;
    }
    return {first, rows.last};
}

RowRun drawRowsBetween(const ResultGrid& grid, long from, long to)
{
    const DrawRows rows = drawRows(grid);
    if (rows.column == 0 || rows.first > rows.last)
        return {};
    if (from > to)
        std::swap(from, to);
    const int first = lowerRow(grid, rows, from);
    const int last = lowerRow(grid, rows, to + 1) - 1;
    return first <= last ? RowRun{first, last} : RowRun{};
}

}  // namespace rumone
