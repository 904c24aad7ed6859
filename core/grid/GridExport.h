// What leaves a ResultGrid for other programs: a block of cells as
// tab-separated text and as an HTML table with the cells' colours (the
// clipboard), and the whole table as CSV (export and rumone-griddump).
// Every form holds the texts as the grid shows them.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/grid/ResultGrid.h"
#include "core/text/TextEncoding.h"

namespace rumone {

// A block of cells as it stood when it was taken (the clipboard's copy):
// the cells' text and style ids and the grid's pools of texts and styles,
// so that its text and HTML can be made later, when a program asks for
// them, whatever happens to the grid meanwhile. Taking it copies two
// integers a cell and makes no text.
class CopiedBlock {
public:
    CopiedBlock(const ResultGrid& grid, CellRange block);  // cut at the table's edge

    int columns() const { return columns_; }
    int rows() const { return rows_; }

    // Rows by lines (each ended by LF), cells of a row separated by tabs. A
    // tab or line break inside a text becomes a blank, so that the block
    // keeps its shape.
    std::string tsv() const;
    // An HTML document with a <table> of the block (UTF-8): every cell with
    // its text and a class; each class, one for every alignment and pair of
    // colours the block uses, sets the alignment and the colours in a style
    // sheet. A coloured cell also carries its background as a bgcolor
    // attribute and its text colour as <font color>, the forms spreadsheets
    // that ignore style sheets read.
    std::string html() const;

    // The same forms written into room the caller provides: `room(size)`
    // gives the address of `size` bytes, asked for once, and the form
    // fills them.
    using Room = std::function<char*(std::size_t size)>;
    void writeTsv(const Room& room) const;
    void writeHtml(const Room& room) const;

private:
    std::uint32_t textId(int index) const { return textIds_[static_cast<std::size_t>(index)]; }

    int columns_ = 0, rows_ = 0;
    std::unique_ptr<std::uint32_t[]> textIds_;   // row by row
    std::unique_ptr<std::uint32_t[]> styleIds_;  // row by row
    std::vector<std::string> texts_;
    std::vector<CellStyle> styles_;
};

// The same forms made at once, from the grid as it stands.
std::string blockTsv(const ResultGrid& grid, CellRange block);
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
