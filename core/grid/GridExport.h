// What leaves a ResultGrid for other programs: a block of cells as
// tab-separated text and as an HTML table with the cells' colours (the
// clipboard), and the whole table as CSV (export and rumone-griddump).
// Every form holds the texts as the grid shows them.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "core/grid/ResultGrid.h"
#include "core/text/TextEncoding.h"

namespace rumone {

// Rows by lines (each ended by LF), cells of a row separated by tabs. A
// tab or line break inside a text becomes a blank, so that the block
// keeps its shape.
std::string blockTsv(const ResultGrid& grid, CellRange block);

// A <table> of the block: every cell with its text, its background and
// text colour where the grid sets one, and its alignment. UTF-8.
std::string blockHtml(const ResultGrid& grid, CellRange block);

// The rows a CSV of the table holds: every row, or up to the last row with
// data where the table restricts itself to its data rows.
CellRange csvRange(const ResultGrid& grid);

// The table as CSV text (UTF-8, LF line ends): a field holding a comma, a
// quote, a line break or a leading or trailing blank is quoted.
std::string gridCsv(const ResultGrid& grid);

// The rows of the table's data alone, for a spreadsheet: the headings once
// (the last of the frozen rows; none without frozen rows), then each row
// below the frozen ones that holds a text and repeats none of the frozen
// rows. Titles above the headings, blank rows
// and the frozen rows repeated at the end are left out.
std::vector<int> dataCsvRows(const ResultGrid& grid);
// Those rows as CSV text, in the form gridCsv writes.
std::string gridDataCsv(const ResultGrid& grid);

// What a CSV file of the table holds: the table as shown, or its data alone.
enum class CsvContent { AsShown, DataOnly };

// A text that CP932 cannot hold. what() names the line.
class GridCsvError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The bytes of a CSV file of the table: UTF-8 with a byte order mark, or
// CP932 (throws GridCsvError). UTF-8 without a mark is written as asked.
std::string gridCsvFile(const ResultGrid& grid, TextEncoding encoding = TextEncoding::Utf8WithBom,
                        CsvContent content = CsvContent::AsShown);

}  // namespace rumone
