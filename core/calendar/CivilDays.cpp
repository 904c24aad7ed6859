#include "core/calendar/CivilDays.h"

#include <array>
#include <charconv>

namespace rumone {

namespace {

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

std::string twoDigits(int v)
{
    return (v < 10 ? "0" : "") + std::to_string(v);
}

std::optional<int> wholeNumber(std::string_view s, std::size_t maxLength)
{
    if (s.empty() || s.size() > maxLength)
        return std::nullopt;
    int v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size())
        return std::nullopt;
    return v;
}

}  // namespace

bool isValidDate(const CivilDate& date)
{
    return date.year >= 1 && date.year <= 9999 && date.month >= 1 && date.month <= 12 && date.day >= 1 &&
           date.day <= daysInMonth(date.year, date.month);
}

// The civil-from-days and days-from-civil algorithms over 400-year eras.
long long dayNumberOf(const CivilDate& date)
{
    const long long y = date.year - (date.month <= 2 ? 1 : 0);
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yearOfEra = y - era * 400;
    const long long dayOfYear = (153 * (date.month + (date.month > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

CivilDate dateOfDayNumber(long long days)
{
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long mp = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day};
}

CivilDate nextDay(const CivilDate& date)
{
    return dateOfDayNumber(dayNumberOf(date) + 1);
}

int weekdayOf(const CivilDate& date)
{
    const long long d = dayNumberOf(date);  // 1970-01-01 was a Thursday
    return static_cast<int>(((d + 4) % 7 + 7) % 7);
}

std::string isoDateText(const CivilDate& date)
{
    return std::to_string(date.year) + "-" + twoDigits(date.month) + "-" + twoDigits(date.day);
}

std::string japaneseDateText(const CivilDate& date, bool withWeekday)
{
    static constexpr std::array<const char*, 7> kWeekdays = {"日", "月", "火", "水", "木", "金", "土"};
    std::string text =
        std::to_string(date.year) + "年" + std::to_string(date.month) + "月" + std::to_string(date.day) + "日";
    if (withWeekday)
        text += std::string("（") + kWeekdays[static_cast<std::size_t>(weekdayOf(date))] + "）";
    return text;
}

std::optional<CivilDate> parseDateText(std::string_view text)
{
    const std::size_t first = text.find_first_of("-/");
    if (first == std::string_view::npos)
        return std::nullopt;
    const char sep = text[first];
    const std::size_t second = text.find(sep, first + 1);
    if (second == std::string_view::npos)
        return std::nullopt;
    const auto year = wholeNumber(text.substr(0, first), 4);
    const auto month = wholeNumber(text.substr(first + 1, second - first - 1), 2);
    const auto day = wholeNumber(text.substr(second + 1), 2);
    if (!year || !month || !day || text.substr(0, first).size() != 4)
        return std::nullopt;
    const CivilDate date{*year, *month, *day};
    return isValidDate(date) ? std::optional<CivilDate>(date) : std::nullopt;
}

}  // namespace rumone
