// Pieces of plain text: its lines, its fields, a word without the blanks
// around it, a whole number and ASCII letters compared without regard to
// case.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rumone {

// The lines of `text`: LF ends a line and one CR at a line's end is dropped; a
// last line without LF counts, an LF at the very end starts none.
std::vector<std::string_view> splitLines(std::string_view text);
// The pieces of `text` between `separator`s: n separators give n + 1
// pieces, empty ones included ("" gives one empty piece).
std::vector<std::string_view> splitAt(std::string_view text, char separator);
// `text` as a decimal number in lo..hi, nothing else in it.
std::optional<int> wholeNumberIn(std::string_view text, int lo, int hi);

// `text` without the `blanks` at either end.
std::string_view trim(std::string_view text, std::string_view blanks = " \t");

// True when `a` and `b` differ at most in the case of ASCII letters.
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);

// "1,234,567" (a minus sign before a negative number).
std::string groupedDigits(long long value);

// groupedDigits followed by "円".
std::string groupedYen(long long yen);

// groupedDigits kept in a buffer of its own, for a caller that writes many
// numbers and keeps none of their texts.
class GroupedDigits {
public:
    explicit GroupedDigits(long long value);
    std::string_view text() const { return {bytes_.data() + start_, bytes_.size() - start_}; }

private:
    std::array<char, 32> bytes_{};
    std::size_t start_ = bytes_.size();
};

}  // namespace rumone
