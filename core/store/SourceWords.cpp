#include "core/store/SourceShapes.h"

#include "core/history/DrawHistory.h"

namespace rumone::shapes {

std::string narrowed(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
        if (i + 2 < text.size() && b(0) == 0xEF && b(1) == 0xBC && b(2) >= 0x90 && b(2) <= 0x99) {
            out += static_cast<char>('0' + (b(2) - 0x90));  // U+FF10-FF19
            i += 2;
        } else if (i + 2 < text.size() && b(0) == 0xEF && b(1) == 0xBC && b(2) == 0x8C) {
            out += ',';  // U+FF0C
            i += 2;
        } else if (i + 2 < text.size() && b(0) == 0xE3 && b(1) == 0x80 && b(2) == 0x80) {
            out += ' ';  // U+3000
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool allAsciiDigits(std::string_view s)
{
    if (s.empty())
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

long long readWhole(std::string_view s, long long maxValue)
{
    if (!allAsciiDigits(s) || s.size() > 9)
        return -1;
    const long long v = std::stoll(std::string(s));
    return v <= maxValue ? v : -1;
}

long long readDrawNumber(std::string_view s)
{
    if (s.substr(0, 3) == "第")
        s.remove_prefix(3);
    if (s.size() >= 3 && s.substr(s.size() - 3) == "回")
        s.remove_suffix(3);
    return readWhole(s, kMaxDrawNumber);
}

std::optional<std::array<int, 4>> readWinningNumber(std::string_view s)
{
    if (!allAsciiDigits(s) || s.size() > 4)
        return std::nullopt;
    std::array<int, 4> digits{};
    const std::size_t pad = 4 - s.size();
    for (std::size_t p = 0; p < s.size(); ++p)
        digits[pad + p] = s[p] - '0';
    return digits;
}

std::vector<std::string_view> wordsOf(std::string_view line)
{
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < line.size()) {
        const auto start = line.find_first_not_of(" \t,\r", i);
        if (start == std::string_view::npos)
            break;
        auto end = line.find_first_of(" \t,\r", start);
        if (end == std::string_view::npos)
            end = line.size();
        words.push_back(line.substr(start, end - start));
        i = end;
    }
    return words;
}

}  // namespace rumone::shapes
