// Draw lists as CSV text: written for export, and read back as rows of the
// draw table (the reading itself is DrawSource.h's). Files are read as
// UTF-8 (with or without a byte order mark) or CP932, the encoding Excel
// uses in Japan, and written as UTF-8 with a byte order mark (which Excel
// recognises) or CP932.
#pragma once

#include <array>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/DrawDetailsStore.h"
#include "core/store/DrawSource.h"
#include "core/store/DrawStore.h"

namespace rumone {

inline constexpr const char* kDrawCsvHeader = "回数,第1数字,第2数字,第3数字,第4数字";

// A line that cannot be read. what() is "N行目: reason".
using DrawCsvError = DrawSourceError;

// The encodings a CSV file can be written in.
enum class CsvEncoding { Utf8WithBom, Cp932 };

// Every data line as a row of the draw table (parseDrawSourceBytes), from the bytes of a file in UTF-8 or CP932
// (decided by the bytes; bytes that are neither throw DrawCsvError with
// the line they stand on): 回数 a whole number 0-32767 (each at most
// once), digits 0-9 or empty (no value). Blank lines are skipped. The
// first bad line throws DrawCsvError, so that nothing is half-read.
// A winning-number column holds four digits; three, two or one digits are
// the number with its leading zeros lost (123 is 0123).
std::vector<EditRow> parseDrawCsv(std::string_view bytes);

// The same rows and, by draw number, what the file gives beyond them (the
// dates of a 抽せん日 column, prize columns).
struct DrawsWithDetails {
    std::vector<EditRow> rows;
    DrawDetailsList details;
};
DrawsWithDetails parseDrawCsvWithDetails(std::string_view bytes);

// Bytes pasted from a results page or a spreadsheet, as rows (the pasted
// text itself goes to parseDrawSource): with a header line it
// reads as a CSV file does; without one, each line that holds a draw
// (第7055回, 7055回, or a plain number first on the line) takes the first
// four-digit word after it as its winning number. Lines without a draw
// (headings, dates) are passed over; a draw without a winning number, or
// given twice, throws DrawCsvError naming its line.
std::vector<EditRow> parsePastedDraws(std::string_view bytes);

// The header line and one line per row, LF-terminated, values as stored,
// as UTF-8 text.
std::string writeDrawCsv(const std::vector<EditRow>& rows);
// The bytes of a CSV file holding `rows` in `encoding`. Throws DrawCsvError
// naming the first line with a stored text that CP932 cannot hold.
std::string drawCsvFile(const std::vector<EditRow>& rows, CsvEncoding encoding = CsvEncoding::Utf8WithBom);
// UTF-8 text as the bytes of a CSV file in `encoding` (as drawCsvFile).
std::string encodedCsvFile(const std::string& text, CsvEncoding encoding);

inline constexpr const char* kDrawDateColumn = "抽せん日";
struct DetailColumns {
    bool dates = false;
    bool prizes = false;
};
// writeDrawCsv with, after 回数, the column 抽せん日 (2026-08-21; empty
// without a stored date) and, after the digits, for each prize kind the
// columns <kind>口数 and <kind>当せん金 (whole numbers; both empty
// without a stored line; 0 and 該当なし for 該当なし).
std::string writeDrawCsvWithDetails(const std::vector<EditRow>& rows, const StoredDetails& details,
                                    DetailColumns columns);

}  // namespace rumone
