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

// The names a winning number goes by, as a label or a column heading.
inline constexpr const char* kNumberLabels[] = {"当せん番号", "当選番号", "当選数字", "抽せん数字"};

// True when `word` is one of `names`.
template <std::size_t N>
bool isOneOf(std::string_view word, const char* const (&names)[N])
{
    for (const char* name : names)
        if (word == name)
            return true;
    return false;
}

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
// The words of a line: what stands between blanks, tabs and commas (a
// comma that groups the thousands of an amount, 986,400円, parts nothing).
std::vector<std::string_view> wordsOf(std::string_view line);

// A date at the start of `text`: 2026年9月17日, 2026/09/17, 2026-09-17,
// 2026 09 17 (anything after it, such as a weekday, is passed over), or in
// the Japanese era, 令和8年9月17日, 令和元年5月1日, 平成31年4月30日.
std::optional<CivilDate> readDate(std::string_view text);
// The whole number of "18口" or "986,400円" for the unit 口 or 円.
std::optional<long long> readCount(std::string_view word, std::string_view unit);
// A winning number as one four-digit word or four one-digit words (6 9 1 6).
std::optional<std::array<int, 4>> readSpacedNumber(const std::vector<std::string_view>& words);
// A prize line from the words after its label: "18口 986,400円" (in any
// order, other words passed over) or "該当なし".
std::optional<PrizeLine> readPrizeWords(const std::vector<std::string_view>& words);
// The PrizeKind a label names (ストレート ...), or -1.
int prizeKindOf(std::string_view label);

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
bool looksLikeMarkedLines(std::string_view text);
std::vector<SourceDraw> readDrawLines(std::string_view text, const SourceProgress& progress);
// A results page copied with the mouse: a block of labelled lines a draw.
bool looksLikeBlocks(std::string_view text);
std::vector<SourceDraw> readDrawBlocks(std::string_view text, const SourceProgress& progress);
// The bank's per-draw results file.
bool looksLikeBankFile(std::string_view text);
std::vector<SourceDraw> readBankFile(std::string_view text);

}  // namespace rumone::shapes
