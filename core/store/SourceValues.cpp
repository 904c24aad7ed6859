// The values a source gives beside a draw: its date (western or Japanese
// era), a count of units (18口), an amount (986,400円) and a winning number
// written with spaces between its digits.
#include "core/calendar/CivilDays.h"
#include "core/store/SourceShapes.h"
#include "core/text/TextParts.h"

namespace rumone::shapes {

namespace {

struct Era {
    const char* name;
    int firstYear;  // the western year of its 元年
};
constexpr Era kEras[] = {{"令和", 2019}, {"平成", 1989}};

// A run of ASCII digits at the start of `s` (blanks before it skipped),
// consumed; -1 when there is none.
long long takeNumber(std::string_view& s)
{
    s = trim(s, " \t");
    std::size_t n = 0;
    while (n < s.size() && n < 9 && s[n] >= '0' && s[n] <= '9')
        ++n;
    if (n == 0)
        return -1;
    const long long v = std::stoll(std::string(s.substr(0, n)));
    s.remove_prefix(n);
    return v;
}

bool takeText(std::string_view& s, std::string_view what)
{
    s = trim(s, " \t");
    if (s.substr(0, what.size()) != what)
        return false;
    s.remove_prefix(what.size());
    return true;
}

std::optional<CivilDate> validDate(long long year, long long month, long long day)
{
    if (year < 1900 || year > 2999 || month < 1 || month > 12 || day < 1 || day > 31)
        return std::nullopt;
    const CivilDate date{static_cast<int>(year), static_cast<int>(month), static_cast<int>(day)};
    return isValidDate(date) ? std::optional<CivilDate>(date) : std::nullopt;
}

// 2026年9月17日, 2026/09/17, 2026-09-17 or 2026 09 21.
std::optional<CivilDate> westernDate(std::string_view s)
{
    const long long year = takeNumber(s);
    for (const auto& [afterYear, afterMonth, afterDay] :
         {std::array<std::string_view, 3>{"年", "月", "日"}, {"/", "/", ""}, {"-", "-", ""}, {"", "", ""}}) {
        std::string_view rest = s;
        if (!takeText(rest, afterYear))
            continue;
        const long long month = takeNumber(rest);
        if (month < 0 || !takeText(rest, afterMonth))
            continue;
        const long long day = takeNumber(rest);
        if (day < 0 || !takeText(rest, afterDay))
            continue;
        return validDate(year, month, day);
    }
    return std::nullopt;
}

// 令和8年9月17日, 令和元年5月1日, 平成31年4月30日.
std::optional<CivilDate> eraDate(std::string_view s)
{
    for (const Era& era : kEras) {
        std::string_view rest = trim(s, " \t");
        if (!takeText(rest, era.name))
            continue;
        const long long year = takeText(rest, "元") ? 1 : takeNumber(rest);
        if (year < 1 || !takeText(rest, "年"))
            return std::nullopt;
        const long long month = takeNumber(rest);
        if (month < 0 || !takeText(rest, "月"))
            return std::nullopt;
        const long long day = takeNumber(rest);
        if (day < 0 || !takeText(rest, "日"))
            return std::nullopt;
        return validDate(era.firstYear + year - 1, month, day);
    }
    return std::nullopt;
}

// A whole number written with thousands commas (986,400) or without.
long long readGrouped(std::string_view s)
{
    std::string digits;
    std::size_t group = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != ',') {
            digits += s[i];
            ++group;
            continue;
        }
        if (digits.empty() || (group > 3 && digits.size() == group) || (group != 3 && digits.size() != group))
            return -1;
        group = 0;
    }
    if (digits.size() != group && group != 3)
        return -1;
    return readWhole(digits, 999'999'999);
}

}  // namespace

std::optional<CivilDate> readDate(std::string_view text)
{
    if (auto date = eraDate(text))
        return date;
    return westernDate(text);
}

std::optional<long long> readCount(std::string_view word, std::string_view unit)
{
    word = trim(word, " \t");
    if (word.size() <= unit.size() || word.substr(word.size() - unit.size()) != unit)
        return std::nullopt;
    const long long v = readGrouped(word.substr(0, word.size() - unit.size()));
    return v < 0 ? std::nullopt : std::optional<long long>(v);
}

std::optional<std::array<int, 4>> readSpacedNumber(const std::vector<std::string_view>& words)
{
    if (words.size() == 1 && words[0].size() == 4)
        return readWinningNumber(words[0]);
    if (words.size() != 4)
        return std::nullopt;
    std::array<int, 4> digits{};
    for (int p = 0; p < 4; ++p) {
        if (words[p].size() != 1 || !allAsciiDigits(words[p]))
            return std::nullopt;
        digits[p] = words[p][0] - '0';
    }
    return digits;
}

std::optional<PrizeLine> readPrizeWords(const std::vector<std::string_view>& words)
{
    PrizeLine prize;
    bool units = false, yen = false;
    for (const std::string_view w : words) {
        if (w == "該当なし") {
            prize.notApplicable = true;
            return prize;
        }
        if (const auto n = readCount(w, "口")) {
            prize.units = *n;
            units = true;
        } else if (const auto y = readCount(w, "円")) {
            prize.yenPerUnit = *y;
            yen = true;
        }
    }
    return units && yen ? std::optional<PrizeLine>(prize) : std::nullopt;
}

int prizeKindOf(std::string_view word)
{
    for (int k = 0; k < kPrizeKindCount; ++k)
        if (word == kPrizeKindNames[k])
            return k;
    return -1;
}

}  // namespace rumone::shapes
