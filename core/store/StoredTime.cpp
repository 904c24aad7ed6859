#include "core/store/StoredTime.h"

#include <charconv>
#include <cstdio>
#include <ctime>

namespace rumone {

namespace {

using namespace std::chrono;

// The six numbers of "YYYY-MM-DD?HH:MM:SS" with `separator` at "?", or
// false for any other text.
bool readFields(std::string_view text, char separator, std::tm& fields)
{
    static constexpr std::string_view kShape = "0000-00-00?00:00:00";
    if (text.size() != kShape.size())
        return false;
    for (std::size_t i = 0; i < kShape.size(); ++i) {
        const char expected = kShape[i] == '?' ? separator : kShape[i];
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (expected == '0' ? !digit : text[i] != expected)
            return false;
    }
    auto number = [&text](std::size_t at, std::size_t length) {
        int value = 0;
        std::from_chars(text.data() + at, text.data() + at + length, value);
        return value;
    };
    fields = {};
    fields.tm_year = number(0, 4) - 1900;
    fields.tm_mon = number(5, 2) - 1;
    fields.tm_mday = number(8, 2);
    fields.tm_hour = number(11, 2);
    fields.tm_min = number(14, 2);
    fields.tm_sec = number(17, 2);
    const year_month_day date{year{fields.tm_year + 1900}, month{static_cast<unsigned>(fields.tm_mon + 1)},
                              day{static_cast<unsigned>(fields.tm_mday)}};
    return date.ok() && fields.tm_hour < 24 && fields.tm_min < 60 && fields.tm_sec < 60;
}

std::string formatted(const std::tm& fields, const char* format)
{
    char text[32] = {};
    std::strftime(text, sizeof text, format, &fields);
    return text;
}

}  // namespace

StoredTime storedTimeNow()
{
    return floor<seconds>(system_clock::now());
}

std::string storedTimeText(StoredTime time)
{
    const std::time_t t = system_clock::to_time_t(time);
    std::tm utc{};
    gmtime_r(&t, &utc);
    return formatted(utc, "%Y-%m-%dT%H:%M:%SZ");
}

std::optional<StoredTime> parseStoredTime(std::string_view text)
{
    std::tm fields{};
    if (text.size() == 20 && text.back() == 'Z' && readFields(text.substr(0, 19), 'T', fields))
        return StoredTime{seconds{timegm(&fields)}};
    if (readFields(text, ' ', fields)) {
        fields.tm_isdst = -1;  // as the zone's rules had it on that day
        return StoredTime{seconds{std::mktime(&fields)}};
    }
    return std::nullopt;
}

std::string localTimeText(StoredTime time)
{
    const std::time_t t = system_clock::to_time_t(time);
    std::tm local{};
    localtime_r(&t, &local);
    return formatted(local, "%Y-%m-%d %H:%M:%S");
}

}  // namespace rumone
