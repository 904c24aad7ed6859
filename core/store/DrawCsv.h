// Draw lists as CSV text: read for bulk entry, written for export.
// Header line with the columns 回数, 第1数字, 第2数字, 第3数字, 第4数字 in
// any positions (other columns, such as 抽せん日, are ignored); LF or CRLF
// line ends; fields may be quoted. Files are read as UTF-8 (with or without
// a byte order mark) or CP932, the encoding Excel uses in Japan, and written
// as UTF-8 with a byte order mark (which Excel recognises) or CP932.
#pragma once

#include <array>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/DrawStore.h"

namespace rumone {

inline constexpr const char* kDrawCsvHeader = "回数,第1数字,第2数字,第3数字,第4数字";

// A line that cannot be read. what() is "N行目: reason".
class DrawCsvError : public std::runtime_error {
public:
    DrawCsvError(int line, const std::string& reason);
    int line() const { return line_; }
    const std::string& reason() const { return reason_; }

private:
    int line_;
    std::string reason_;
};

// The encodings a CSV file can be written in.
enum class CsvEncoding { Utf8WithBom, Cp932 };

// Every data line as a draw, from the bytes of a file in UTF-8 or CP932
// (decided by the bytes; bytes that are neither throw DrawCsvError with
// the line they stand on): 回数 a whole number 0-32767 (each at most
// once), digits 0-9 or empty (no value). Blank lines are skipped. The
// first bad line throws DrawCsvError, so that nothing is half-read.
std::vector<EditRow> parseDrawCsv(std::string_view bytes);

// The header line and one line per row, LF-terminated, values as stored,
// as UTF-8 text.
std::string writeDrawCsv(const std::vector<EditRow>& rows);
// The bytes of a CSV file holding `rows` in `encoding`. Throws DrawCsvError
// naming the first line with a stored text that CP932 cannot hold.
std::string drawCsvFile(const std::vector<EditRow>& rows, CsvEncoding encoding = CsvEncoding::Utf8WithBom);

}  // namespace rumone
