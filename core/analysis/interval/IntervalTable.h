// The nine-column table that the appearance interval and digit interval
// views share: two header rows, one row per stored row, a two-row footer
// that mirrors the header.
#pragma once

#include <string>

#include "core/grid/ResultGrid.h"
#include "core/history/DrawHistory.h"

namespace rumone {

// The three steps of an interval view, run in this order by
// buildIntervalView: set-up, header (top and footer), filling.
struct IntervalViewOperations {
    void (*setup)(ResultGrid& grid, const DrawHistory& history);
    // startRow, mode: mode -1 writes the footer (caption row first), any
    // other mode the top header (title row first).
    void (*writeHeader)(ResultGrid& grid, int startRow, int mode);
    void (*fill)(ResultGrid& grid, const DrawHistory& history);
};

// Set-up, top header at row 1, footer at the last two rows, filling.
void buildIntervalView(ResultGrid& grid, const DrawHistory& history, const IntervalViewOperations& ops);

// First table row of the stored rows; the k-th stored row (k from 0) lands
// on row kFirstDrawRow + k.
inline constexpr int kFirstDrawRow = 3;

// Two header rows, one row per stored row (complete or not), two footer
// rows: the footer stands directly below the last stored row.
int intervalTableRows(const DrawHistory& history);

// Sizes and styles the nine-column table with `rows` rows: row heights,
// widths, centred static cells, the draw-number column, the coloured digit
// columns, lines around every cell and no current cell.
void setupNineColumnTable(ResultGrid& grid, int rows);

// The title and caption rows of a header block.
struct HeaderRows {
    int title;
    int caption;
};
HeaderRows headerRowsAt(int startRow, int mode);

// Writes one header block: the title row without inner lines (with an
// outline around columns 2-9 when `outline`), black on pink in columns 2-9
// of both rows, the title in column 5 running to the right, the captions
// "回数", "第1数字".."第4数字" and `stepCaption` in the step columns.
void writeHeaderBlock(ResultGrid& grid, HeaderRows rows, const std::string& title, const std::string& stepCaption,
                      bool outline);

}  // namespace rumone
