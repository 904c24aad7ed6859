// Draw lists as CSV text: read for bulk entry, written for export.
// Header line with the columns 回数, 第1数字, 第2数字, 第3数字, 第4数字 in
// any positions (other columns, such as 抽せん日, are ignored); UTF-8 with
// an optional byte order mark; LF or CRLF line ends; fields may be quoted.
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

// Every data line as a draw: 回数 a whole number 0-32767 (each at most
// once), digits 0-9 or empty (no value). Blank lines are skipped. The
// first bad line throws DrawCsvError, so that nothing is half-read.
std::vector<EditRow> parseDrawCsv(std::string_view text);

// The header line and one line per row, LF-terminated, values as stored.
std::string writeDrawCsv(const std::vector<EditRow>& rows);

}  // namespace rumone
