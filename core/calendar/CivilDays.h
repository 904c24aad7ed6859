// Days of the Gregorian calendar: counting, weekdays and the ways a date
// is written (2026-08-21 in files, 2026年8月21日（金） on screen).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/history/DrawResults.h"

namespace rumone {

// Whether the date names a real day (1 February 2026 yes, 30 February no).
bool isValidDate(const CivilDate& date);
// Days since 1970-01-01 (negative before it), and back.
long long dayNumberOf(const CivilDate& date);
CivilDate dateOfDayNumber(long long days);
CivilDate nextDay(const CivilDate& date);
// 0 Sunday, 1 Monday, ... 6 Saturday.
int weekdayOf(const CivilDate& date);

// "2026-08-21".
std::string isoDateText(const CivilDate& date);
// "2026年8月21日", with "（金）" after it when `withWeekday`.
std::string japaneseDateText(const CivilDate& date, bool withWeekday = false);
// "2026-08-21" or "2026/8/21" (month and day of one or two digits); a day
// that does not exist reads as none.
std::optional<CivilDate> parseDateText(std::string_view text);

}  // namespace rumone
