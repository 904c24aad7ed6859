// The shapes in which draws are published, copied and saved, each read by
// a reader of its own, and the words they share. parseDrawSource
// (DrawSource.h) decides the shape; nothing else includes this header.
#pragma once

#include <array>
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/store/DrawSource.h"

namespace rumone::shapes {

// Full-width digits, comma and space as a spreadsheet or a results page
// may give them, in their ASCII forms.
std::string narrowed(std::string_view text);

bool allAsciiDigits(std::string_view s);
// A whole number of at most `maxValue` (at most nine digits), or -1.
long long readWhole(std::string_view s, long long maxValue);
// A draw number written 7055, 第7055回 or 7055回; -1 when it is none.
long long readDrawNumber(std::string_view s);
// A four-digit winning number; three, two or one digits are the same
// number with its leading zeros lost by a spreadsheet.
std::optional<std::array<int, 4>> readWinningNumber(std::string_view s);
// The words of a line: what stands between blanks, tabs and commas.
std::vector<std::string_view> wordsOf(std::string_view line);

// Calls `progress` every few hundred steps with the bytes read so far.
class ProgressTicker {
public:
    ProgressTicker(const SourceProgress& progress, std::size_t total) : progress_(progress), total_(total) {}
    void at(std::size_t done)
    {
        if (progress_ && ++steps_ % 256 == 0)
            progress_(done, total_);
    }

private:
    const SourceProgress& progress_;
    std::size_t total_;
    std::size_t steps_ = 0;
};

// A table with a header line naming its columns (CSV, tab-separated).
bool looksLikeTableHeader(std::string_view text);
std::vector<SourceDraw> readDrawTable(std::string_view text, const SourceProgress& progress);
// Lines without a header, each holding a draw and its winning number.
std::vector<SourceDraw> readDrawLines(std::string_view text, const SourceProgress& progress);

}  // namespace rumone::shapes
