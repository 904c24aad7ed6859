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

namespace {

// A comma at `at` that groups the thousands of an amount (986,400円,
// 1,041,200口) rather than parting two words.
bool groupsAnAmount(std::string_view line, std::size_t at)
{
    if (at == 0 || line[at - 1] < '0' || line[at - 1] > '9')
        return false;
    std::size_t i = at;
    while (i + 3 < line.size() && line[i] == ',' && allAsciiDigits(line.substr(i + 1, 3)))
        i += 4;
    return i > at && (line.substr(i, 3) == "円" || line.substr(i, 3) == "口");
}

}  // namespace

std::vector<std::string_view> wordsOf(std::string_view line)
{
    std::vector<std::string_view> words;
    std::size_t start = std::string_view::npos;
    for (std::size_t i = 0; i <= line.size(); ++i) {
        const bool parts = i == line.size() || line[i] == ' ' || line[i] == '\t' || line[i] == '\r' ||
                           (line[i] == ',' && !groupsAnAmount(line, i));
        if (!parts && start == std::string_view::npos)
            start = i;
        if (parts && start != std::string_view::npos) {
            words.push_back(line.substr(start, i - start));
            start = std::string_view::npos;
        }
    }
    return words;
}

}  // namespace rumone::shapes
